// The window's session across runs: the unsaved work a run that did not end
// cleanly left in the journal, offered back at the next start; and the
// files open when the run ended, reopened at the next start when the
// preference asks for it (it is off unless set, so that a start shows one
// new document as it always did). The file list is stored each time it
// changes and the carets with it, and all of it again at exit: a run that
// is killed leaves the files it had open.

#include "mainform.h"

#include "autosave.h"
#include "builtinschemes.h"
#include "diskwatch.h"
#include "documentnames.h"
#include "formstorage.h"
#include "journal.h"
#include "memosource.h"
#include "preferenceform.h"
#include "recoveryform.h"
#include "services.h"
#include "settingsstore.h"

#include <QFileInfo>
#include <QTabBar>

const QString TMainForm::kSessionSection = QStringLiteral("Tarnel\\Session");

namespace {

QString fileValue(int n)
{
    return QStringLiteral("File%1").arg(n);
}

QString caretValue(int n)
{
    return QStringLiteral("Caret%1").arg(n);
}

// The collapsed fold points of the document, as line numbers from 0.
QString foldsValue(int n)
{
    return QStringLiteral("Folds%1").arg(n);
}

} // namespace

void TMainForm::RestoreSession()
{
    const TMemoSource* pristine = PristineDocument();
    RestoreWorkspace();
    RecoverDocuments();
    ReopenSessionList();
    ClosePristineDocument(pristine);
    UpdateEnabling();
}

const TMemoSource* TMainForm::PristineDocument() const
{
    const TMemoSource* first = Document(0);
    const bool pristine = DocumentCount() == 1 && DocumentNames::IsUntitled(first->FileName()) && !first->Modified()
                          && !first->CanUndo() && first->SavedBytes().trimmed().isEmpty();
    return pristine ? first : nullptr;
}

void TMainForm::ClosePristineDocument(const TMemoSource* pristine)
{
    if (!pristine || DocumentCount() < 2 || Document(0) != pristine)
        return;
    const TMemoSource* active = ActiveDocument();
    CloseDocument(0);
    for (int i = 0; i < DocumentCount(); ++i) {
        if (Document(i) == active)
            ActivateDocument(i);
    }
}

void TMainForm::RecoverDocuments()
{
    const std::vector<TJournal::TLeftEntry> left = m_journal->TakeOverLeftovers();
    if (left.empty())
        return;
    TRecoveryForm form(left, this);
    // What cannot be done is said, and the row stays undecided.
    auto reported = [](bool (TSaveRecord::*act)(QString*) const) {
        return [act](const TSaveRecord& record) {
            QString error;
            const bool done = (record.*act)(&error);
            if (!done)
                Services().ShowError(error);
            return done;
        };
    };
    form.OnRestore = reported(&TSaveRecord::Restore);
    form.OnDiscard = reported(&TSaveRecord::Discard);
    switch (form.Execute()) {
    case TRecoveryForm::chLater:
        return;
    case TRecoveryForm::chDiscard:
        m_journal->DiscardLeftovers();
        return;
    case TRecoveryForm::chRecover:
        break;
    }
    const TMemoSource* pristine = PristineDocument();
    QStringList failures;
    for (const TJournal::TLeftEntry& entry : left) {
        // An interrupted save not decided in its row gets its old text back;
        // one that cannot stays for another try.
        if (entry.interrupted && QFileInfo::exists(entry.interrupted->path)) {
            QString error;
            if (!entry.interrupted->Restore(&error))
                failures.append(error);
            continue;
        }
        if (!entry.entry)
            continue;
        std::unique_ptr<TMemoSource> document(CreateDocumentStore());
        QString error;
        if (!entry.entry->RestoreInto(*document, &error)) {
            failures.append(QStringLiteral("%1: %2").arg(entry.entry->fileName, error));
            continue;
        }
        QString name = entry.entry->fileName;
        const bool untitled = DocumentNames::IsUntitled(name);
        if (untitled) {
            // Two runs may each have left an "Untitled1"; the start's own
            // untouched one gives way.
            QStringList taken = DocumentNames();
            if (pristine)
                taken.removeOne(pristine->FileName());
            if (taken.contains(name))
                name = DocumentNames::Untitled(DocumentNames::NextUntitledNumber(taken));
        }
        document->SetFileName(name);
        // The file as it was when the text was last loaded or saved: a file
        // changed since is asked about before it is overwritten.
        const std::optional<TDiskStamp> stamp = TDiskStamp::FromText(entry.entry->diskState);
        TMemoSource* added = AddDocument(std::move(document), stamp.value_or(TDiskStamp::Of(untitled ? QString() : name)));
        if (!untitled)
            SetActiveScheme(SchemeForFile(*added));
        m_autosave->Adopt(added, entry.path);
    }
    FocusEditor();
    // An entry that could not be taken stays in the journal for another try.
    if (failures.isEmpty())
        m_journal->DiscardLeftovers();
    else
        Services().ShowError(QStringLiteral("These documents could not be recovered:\n%1").arg(failures.join(u'\n')));
}

void TMainForm::SaveSessionList() const
{
    TSettingsStore& store = Services().Settings();
    const QString key = TFormStorage::Key(kSessionSection);
    // Entries of a longer list stored before must not come back.
    store.DeleteKey(key);
    int n = 0;
    for (const auto& document : m_documents) {
        if (DocumentNames::IsUntitled(document->FileName()))
            continue;
        const TTextPos caret = document->Caret();
        store.WriteString(key, fileValue(n), document->FileName());
        store.WriteString(key, caretValue(n), QStringLiteral("%1,%2").arg(caret.line).arg(caret.column));
        QStringList folds;
        for (int line : document->CollapsedLines())
            folds.append(QString::number(line));
        if (!folds.isEmpty())
            store.WriteString(key, foldsValue(n), folds.join(u','));
        ++n;
    }
    SaveWorkspace(store, key);
}

void TMainForm::SessionChanged()
{
    if (m_reopening)
        return;
    QStringList files;
    for (const auto& document : m_documents) {
        if (!DocumentNames::IsUntitled(document->FileName()))
            files.append(document->FileName());
    }
    if (files == m_sessionFiles)
        return;
    m_sessionFiles = files;
    SaveSessionList();
    Services().Settings().Flush();
}

void TMainForm::ReopenSessionList()
{
    if (!TPreferenceForm::StoredReopen())
        return;
    TSettingsStore& store = Services().Settings();
    const QString key = TFormStorage::Key(kSessionSection);
    m_reopening = true;
    for (int n = 0; store.ValueExists(key, fileValue(n)); ++n) {
        const QString path = store.ReadString(key, fileValue(n));
        // A file removed since is no longer part of the session.
        if (!QFileInfo(path).isFile() || FindDocument(path) >= 0)
            continue;
        TMemoSource* document = NewDocument(path);
        if (!document)
            continue;
        SetActiveScheme(SchemeForFile(*document));
        const QStringList caret = store.ReadString(key, caretValue(n)).split(u',');
        if (caret.size() == 2) {
            const int line = std::clamp(caret[0].toInt(), 0, std::max(0, document->LineCount() - 1));
            document->SetCaret({line, std::max(0, caret[1].toInt())});
        }
        // Lines that are no fold points any more (the file changed since)
        // fold nothing.
        std::vector<int> folds;
        for (const QString& item : store.ReadString(key, foldsValue(n)).split(u',', Qt::SkipEmptyParts)) {
            bool ok = false;
            const int line = item.trimmed().toInt(&ok);
            if (ok && line >= 0 && line < document->LineCount())
                folds.push_back(line);
        }
        document->CollapseLines(folds);
    }
    m_reopening = false;
    SessionChanged();
    FocusEditor();
}
