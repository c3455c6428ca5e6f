// The main window's Find in Files: the Search Results pane under the editor,
// the search commands that open the dialogs on their files pages, F4 and
// Shift+F4 through the results, and the status bar's match count. The work
// is TFindInFiles' and TSearchStatus'; here the window hands them its
// documents and opens what they ask for.

#include "mainform.h"

#include "dcmemo.h"
#include "documentnames.h"
#include "findinfiles.h"
#include "memosource.h"
#include "paintfont.h"
#include "searchdialoghook.h"
#include "searchresultspane.h"
#include "searchstatus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSplitter>
#include <QStatusBar>

void TMainForm::CreateFileSearch()
{
    // Beside the Output pane, in the room under the editor.
    auto* split = centralWidget()->findChild<QSplitter*>(QStringLiteral("EditorSplit"));
    auto* pane = new TSearchResultsPane(split);
    split->addWidget(pane);
    split->setStretchFactor(split->indexOf(pane), 0);
    m_findInFiles = new TFindInFiles(pane, this);
    m_findInFiles->Documents = [this] {
        std::vector<TMemoSource*> documents;
        for (const auto& document : m_documents)
            documents.push_back(document.get());
        return documents;
    };
    m_findInFiles->OpenDocument = [this](const QString& path) -> TMemoSource* {
        OpenFile(path);
        TMemoSource* document = ActiveDocument();
        return document && DocumentNames::SamePath(document->FileName(), path) ? document : nullptr;
    };
    m_findInFiles->AfterOpen = [this] {
        UpdateEnabling();
        FocusEditor();
    };
    m_findInFiles->OnChanged = [this] { UpdateEnabling(); };
    // Its panel goes after the panels of the bar's left part.
    m_searchStatus = new TSearchStatus(statusBar(), int(m_panels.size()), this);
}

TSearchResultsPane* TMainForm::SearchResults() const
{
    return m_findInFiles->Pane();
}

QString TMainForm::HelpFile() const
{
    const QString help = m_programDir + QStringLiteral("tarnel.htm");
    return QFile::exists(help) ? help : QString();
}

QString TMainForm::FileSearchFolder() const
{
    // The folder the user works in, while the folder panel shows it.
    if (const QString panel = PanelFolder(); !panel.isEmpty())
        return QDir::toNativeSeparators(panel);
    const QString last = TFileSearchSettings::Last().folder;
    if (!last.isEmpty())
        return last;
    if (const TMemoSource* document = ActiveDocument(); document && DocumentNames::HasFolder(document->FileName()))
        return QFileInfo(document->FileName()).absolutePath();
    return QDir::homePath();
}

TFileSearchHooks TMainForm::FileSearchHooks()
{
    TFileSearchHooks hooks;
    hooks.defaultFolder = [this] { return FileSearchFolder(); };
    hooks.start = [this](const TFileSearchSettings& settings, bool replace) {
        // The matches are marked as the editor marks them now.
        SearchResults()->SetMatchColors(ToQColor(m_editor->MatchColor()), ToQColor(m_editor->MatchBackColor()));
        m_findInFiles->Start(settings, replace);
        UpdateEnabling();
    };
    return hooks;
}

void TMainForm::RunFilesDialog(TDialogKind kind)
{
    // The find page of the same dialog searches the active document, as
    // Find and Replace do.
    TSearchOptions options = TSearchOptions::Global();
    if (RunSearchDialog(kind, true, this, HelpFile(), FileSearchHooks(), options)) {
        TSearchOptions::Global() = options;
        if (TMemoSource* document = ActiveDocument())
            kind == dkReplace ? document->ReplaceText(options) : document->FindText(options);
    }
    UpdateEnabling();
}

void TMainForm::SearchItemsFindInFilesClick()
{
    RunFilesDialog(dkFind);
}

void TMainForm::SearchItemsReplaceInFilesClick()
{
    RunFilesDialog(dkReplace);
}

void TMainForm::SearchItemsNextResultClick()
{
    m_findInFiles->Step(true);
}

void TMainForm::SearchItemsPreviousResultClick()
{
    m_findInFiles->Step(false);
}
