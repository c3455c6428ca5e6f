// The document list of the main window: creating, opening, saving and
// closing documents, and the tab row that shows them.

#include "mainform.h"

#include "autosave.h"
#include "builtinschemes.h"
#include "dcmemo.h"
#include "diskwatch.h"
#include "documentnames.h"
#include "documenttabbar.h"
#include "editorsettings.h"
#include "memosource.h"
#include "openprogress.h"
#include "preferenceform.h"
#include "recentlist.h"
#include "services.h"
#include "splitview.h"

#include <QFileInfo>
#include <QTabBar>

#include <algorithm>

namespace {

// A save starts a fresh undo history unless the preference keeps it; a kept
// history holds the save point, so that undoing past it marks the document
// modified again.
TTextEncoding newDocumentEncoding()
{
    return TPreferenceForm::StoredNewUtf8() ? MemoTypes::teUtf8 : MemoTypes::teWindows1252;
}

void keepOrClearUndo(TMemoSource& document)
{
    if (!TPreferenceForm::StoredKeepUndo())
        document.ClearUndo();
}

} // namespace

TMemoSource* TMainForm::Document(int index) const
{
    return index >= 0 && index < DocumentCount() ? m_documents[size_t(index)].get() : nullptr;
}

int TMainForm::ActiveIndex() const
{
    return m_documents.empty() ? -1 : m_tabs->currentIndex();
}

QStringList TMainForm::DocumentNames() const
{
    QStringList names;
    for (const auto& document : m_documents)
        names.append(document->FileName());
    return names;
}

int TMainForm::FindDocument(const QString& path) const
{
    for (int i = 0; i < DocumentCount(); ++i) {
        const QString name = m_documents[size_t(i)]->FileName();
        if (!DocumentNames::IsUntitled(name) && DocumentNames::SamePath(name, path))
            return i;
    }
    return -1;
}

TMemoSource* TMainForm::CreateDocumentStore() const
{
    auto* document = new TMemoSource();
    document->SetUseGlobalOptions(true);
    document->SetSyntaxParser(TarnelParser());
    const TCustomMemoSource* shown = m_editor->MemoSource();
    document->SetTemplatesType(shown->TemplatesType());
    document->SetCodeTemplates(shown->CodeTemplates());
    // A file of plain ASCII is as much UTF-8 as Windows-1252: it takes the
    // encoding of new documents, so that what is typed into it later is
    // saved the way a new document's would be.
    document->SetAsciiEncoding(newDocumentEncoding());
    // A new text ends its lines the platform's way; a loaded one keeps the
    // line ends it was written with.
#ifdef Q_OS_WIN
    document->SetOutFormat(ofWindows);
#else
    document->SetOutFormat(ofUnix);
#endif
    return document;
}

TMemoSource* TMainForm::NewDocument(const QString& path)
{
    std::unique_ptr<TMemoSource> document(CreateDocumentStore());
    if (!path.isEmpty()) {
        // The scheme of the file is there while it loads, so that its lines'
        // states are established as it is read.
        document->SetSyntaxParser(m_parsers->ForFileName(path));
        return LoadDocument(std::move(document), path);
    }
    // A new text is one empty line that ends the platform's way, so that
    // what is typed into it is saved with a final line end.
#ifdef Q_OS_WIN
    document->SetTextStr("\r\n");
#else
    document->SetTextStr("\n");
#endif
    document->SetSavePoint();
    document->SetEncoding(newDocumentEncoding());
    document->SetFileName(DocumentNames::Untitled(DocumentNames::NextUntitledNumber(DocumentNames())));
    return AddDocument(std::move(document), {});
}

TMemoSource* TMainForm::LoadDocument(std::unique_ptr<TMemoSource> document, const QString& path)
{
    const TDiskStamp stamp = TDiskStamp::Of(path);
    const int previous = ActiveIndex();
    // The file shows in a tab of its own as it comes in; the disk watch,
    // the journal and the session take it once it is all in.
    document->SetFileName(path);
    TMemoSource* loading = document.get();
    m_documents.push_back(std::move(document));
    ShowNewTab(loading);
    QString error;
    bool loaded;
    {
        TOpenProgress progress(*this, *loading, QFileInfo(path).fileName());
        loaded = loading->LoadFromFile(path, &error, std::nullopt, progress);
    }
    // A NUL byte marks binary data, which is no text to edit or show: such
    // a file is not opened at all.
    if (loaded && loading->LoadedNulBytes()) {
        loaded = false;
        error = QStringLiteral("Cannot open file \"%1\". It holds binary data, not text.").arg(path);
    }
    if (!loaded) {
        // A file that cannot be read adds nothing; nor does a cancelled
        // load, which has nothing to report: the tabs are as they were.
        const auto at = std::find_if(m_documents.begin(), m_documents.end(),
                                     [loading](const auto& open) { return open.get() == loading; });
        CloseDocument(int(at - m_documents.begin()));
        if (previous >= 0 && previous < DocumentCount())
            ActivateDocument(previous);
        if (!error.isEmpty())
            Services().ShowError(error);
        return nullptr;
    }
    // What the file held when read, to tell a later change of the same size
    // and time.
    WatchAdded(loading, stamp.WithChecksumOf(*loading));
    return loading;
}

TMemoSource* TMainForm::AddDocument(std::unique_ptr<TMemoSource> document, const TDiskStamp& stamp)
{
    TMemoSource* added = document.get();
    m_documents.push_back(std::move(document));
    ShowNewTab(added);
    WatchAdded(added, stamp);
    return added;
}

void TMainForm::ShowNewTab(TMemoSource* added)
{
    m_changingTabs = true;
    m_splitView->Show(added);
    if (m_editorSettings)
        m_editorSettings->FollowDocument();
    const int index = m_tabs->addTab(DocumentNames::WithoutFolder(added->FileName()));
    m_tabs->Follow(index, added);
    m_tabs->setCurrentIndex(index);
    m_changingTabs = false;
    UpdateTabRow();
    if (!isVisible())
        show();
}

void TMainForm::WatchAdded(TMemoSource* added, const TDiskStamp& stamp)
{
    m_diskWatch->Record(added, stamp);
    m_autosave->Watch(added);
    SessionChanged();
}

void TMainForm::ActivateDocument(int index)
{
    if (!Document(index))
        return;
    m_changingTabs = true;
    m_tabs->setCurrentIndex(index);
    m_changingTabs = false;
    ShowDocument(index);
    UpdateEnabling();
}

void TMainForm::ShowDocument(int index)
{
    m_splitView->Show(Document(index));
    if (m_editorSettings)
        m_editorSettings->FollowDocument();
    FocusEditor();
}

void TMainForm::EditorTabChange(int index)
{
    if (m_changingTabs)
        return;
    ShowDocument(index);
    UpdateEnabling();
}

void TMainForm::UpdateTabRow()
{
    const bool any = !m_documents.empty();
    m_tabs->setVisible(any);
    m_splitView->SetEnabled(any);
}

void TMainForm::OpenFile(const QString& path)
{
    const int open = FindDocument(path);
    if (open >= 0) {
        ActivateDocument(open);
    } else {
        if (!NewDocument(path))
            return;
        FocusEditor();
    }
    m_recent->Add(path);
    if (const TMemoSource* document = ActiveDocument())
        SetActiveScheme(SchemeForFile(*document));
    UpdateEnabling();
}

void TMainForm::OpenFiles(const QStringList& paths)
{
    const TMemoSource* pristine = PristineDocument();
    for (const QString& path : paths)
        OpenFile(path);
    ClosePristineDocument(pristine);
    UpdateEnabling();
}

TSyntaxParser* TMainForm::SchemeForFile(const TMemoSource& document) const
{
    // The head of the first line is all a "#!" or "<?xml" line needs.
    const QByteArray first = document.LineCount() > 0 ? document.LineSpan(0, 0, 256) : QByteArray();
    return m_parsers->ForFile(document.FileName(), std::string_view(first.constData(), size_t(first.size())));
}

void TMainForm::SetActiveScheme(TSyntaxParser* parser)
{
    if (TMemoSource* document = ActiveDocument())
        document->SetSyntaxParser(parser);
    if (m_editorSettings)
        m_editorSettings->FollowDocument();
}

bool TMainForm::SaveDocument(int index)
{
    TMemoSource* document = Document(index);
    if (!document)
        return false;
    if (DocumentNames::IsUntitled(document->FileName()))
        return SaveDocumentAs(index);
    switch (m_diskWatch->CheckBeforeSave(document)) {
    case TDiskWatch::TSaveCheck::Cancel: return false;
    case TDiskWatch::TSaveCheck::Reloaded: return true;
    default: break;
    }
    if (!ConfirmWriteReadOnly(document->FileName()))
        return false;
    QString error;
    if (!document->SaveToFile(document->FileName(), &error)) {
        // The document stays modified and keeps its undo history.
        Services().ShowError(error);
        return false;
    }
    m_diskWatch->Record(document);
    document->SetModified(false);
    keepOrClearUndo(*document);
    return true;
}

bool TMainForm::SaveDocumentAs(int index)
{
    TMemoSource* document = Document(index);
    if (!document)
        return false;
    m_saveDialog.filter = kOpenFilter;
    m_saveDialog.filterIndex = 1;
    m_saveDialog.fileName = document->FileName();
    if (!Services().SaveFileDialog(m_saveDialog))
        return false;
    const QString path = m_saveDialog.fileName;
    if (ActiveDocument() && ActiveDocument()->SyntaxParser() == TarnelParser())
        m_saveDialog.defaultExt = QStringLiteral(".jsp");
    return SaveDocumentTo(index, path);
}

bool TMainForm::SaveDocumentTo(int index, const QString& path)
{
    TMemoSource* document = Document(index);
    if (!document)
        return false;
    // Saving over its own file asks as a save does, instead of "already exists".
    const TDiskWatch::TSaveCheck check = m_diskWatch->CheckBeforeSaveAs(document, path);
    if (check == TDiskWatch::TSaveCheck::Cancel)
        return false;
    if (check == TDiskWatch::TSaveCheck::Reloaded)
        return true;
    if (check == TDiskWatch::TSaveCheck::Unchanged && QFileInfo::exists(path)
        && Services().Ask(QStringLiteral("File %1 already exists. Would you like to overwrite?").arg(path),
                          TServices::bsYesNoCancel)
               != TServices::anYes)
        return false;
    if (!ConfirmWriteReadOnly(path))
        return false;
    // The document takes the new name only once its text is safely there: a
    // failed write leaves it as it was. One write is enough; a second one
    // would turn the backup of the replaced file into a copy of the new one.
    QString error;
    if (!document->SaveToFile(path, &error)) {
        Services().ShowError(error);
        return false;
    }
    // The tab follows the new name by itself.
    document->SetFileName(path);
    m_diskWatch->Record(document);
    document->SetModified(false);
    keepOrClearUndo(*document);
    SessionChanged();
    return true;
}

TMainForm::TCloseAnswer TMainForm::AskAndClose(int index, bool close)
{
    TMemoSource* document = Document(index);
    if (!document)
        return TCloseAnswer::Stop;
    TCloseAnswer answer = TCloseAnswer::GoOn;
    if (document->Modified()) {
        switch (Services().Ask(
            QStringLiteral("File %1 is modified. Would you like to save it?").arg(document->FileName()),
            TServices::bsYesNoCancel)) {
        case TServices::anYes:
            answer = SaveDocument(index) ? TCloseAnswer::Saved : TCloseAnswer::Stop;
            break;
        case TServices::anNo:
            break;
        default:
            answer = TCloseAnswer::Stop;
            break;
        }
    }
    if (close && answer != TCloseAnswer::Stop)
        CloseDocument(index);
    return answer;
}

void TMainForm::CloseDocument(int index)
{
    std::unique_ptr<TMemoSource> closing = std::move(m_documents[size_t(index)]);
    m_diskWatch->Forget(closing.get());
    m_autosave->Forget(closing.get());
    m_documents.erase(m_documents.begin() + index);
    m_changingTabs = true;
    m_tabs->removeTab(index);
    // The tab that moved into the closed one's place, or the new last one.
    if (!m_documents.empty())
        m_tabs->setCurrentIndex(std::min(index, DocumentCount() - 1));
    m_changingTabs = false;
    // The editor shows another store (its own when none is left) before this
    // one goes.
    ShowDocument(ActiveIndex());
    closing.reset();
    UpdateTabRow();
    SessionChanged();
}

void TMainForm::FileItemsNewClick()
{
    NewDocument();
    FocusEditor();
    UpdateEnabling();
}

void TMainForm::FileItemsOpenClick()
{
    m_openDialog.filter = kOpenFilter;
    // Several files may be chosen at once; each opens as a single one does.
    m_openDialog.multiSelect = true;
    const bool confirmed = Services().OpenFileDialog(m_openDialog);
    m_openDialog.multiSelect = false;
    if (confirmed) {
        const QStringList chosen = m_openDialog.fileNames.isEmpty() ? QStringList{m_openDialog.fileName}
                                                                     : m_openDialog.fileNames;
        for (const QString& name : chosen)
            OpenFile(DocumentNames::OpenName(name, m_openDialog.defaultExt));
    }
    UpdateEnabling();
}

void TMainForm::FileItemsCloseClick()
{
    if (ActiveIndex() >= 0)
        AskAndClose(ActiveIndex(), true);
    UpdateEnabling();
}

void TMainForm::FileItemsCloseAllClick()
{
    for (int i = DocumentCount() - 1; i >= 0; --i) {
        if (AskAndClose(i, true) == TCloseAnswer::Stop)
            break;
    }
    UpdateEnabling();
}

void TMainForm::FileItemsSaveClick()
{
    if (ActiveIndex() >= 0)
        SaveDocument(ActiveIndex());
    UpdateEnabling();
}

void TMainForm::FileItemsSaveAsClick()
{
    if (ActiveIndex() < 0)
        return;
    SaveDocumentAs(ActiveIndex());
    // A generated name is no file, even when the current folder happens to
    // hold one of that name.
    const QString name = ActiveDocument()->FileName();
    if (!DocumentNames::IsUntitled(name))
        m_recent->Add(name);
    UpdateEnabling();
}

void TMainForm::FileItemsSaveAllClick()
{
    for (int i = 0; i < DocumentCount(); ++i) {
        if (!SaveDocument(i))
            break;
    }
    UpdateEnabling();
}

void TMainForm::FileItemsExitClick()
{
    close();
}
