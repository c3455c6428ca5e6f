// The main window's simple commands: editing, searching, the scheme and
// wrap options, the tool bars' visibility, and help.

#include "mainform.h"

#include "aboutform.h"
#include "builtinschemes.h"
#include "dcmemo.h"
#include "memosource.h"
#include "services.h"

#include <QToolBar>

void TMainForm::RunOnActiveDocument(void (TCustomMemoSource::*command)())
{
    if (TMemoSource* document = ActiveDocument())
        (document->*command)();
    UpdateEnabling();
}

void TMainForm::EditItemsUndoClick()
{
    RunOnActiveDocument(&TCustomMemoSource::Undo);
}

void TMainForm::EditItemsRedoClick()
{
    RunOnActiveDocument(&TCustomMemoSource::Redo);
}

void TMainForm::EditItemsCutClick()
{
    RunOnActiveDocument(&TCustomMemoSource::CutToClipboard);
}

void TMainForm::EditItemsCopyClick()
{
    // The enabling rule runs here too: the clipboard now holds text, and
    // Paste must not stay disabled until the next edit.
    RunOnActiveDocument(&TCustomMemoSource::CopyToClipboard);
}

void TMainForm::EditItemsPasteClick()
{
    RunOnActiveDocument(&TCustomMemoSource::PasteFromClipboard);
}

void TMainForm::EditItemsDeleteClick()
{
    RunOnActiveDocument(&TCustomMemoSource::DeleteBlock);
}

void TMainForm::EditItemsSelectAllClick()
{
    if (TMemoSource* document = ActiveDocument())
        document->SelectAll();
}

// The search commands are the active document's own operations: they open
// its dialogs through the hook the window installed for every store.
void TMainForm::SearchItemsFindClick()
{
    if (TMemoSource* document = ActiveDocument())
        document->Find();
    UpdateEnabling();
}

void TMainForm::SearchItemsFindAgainClick()
{
    if (TMemoSource* document = ActiveDocument())
        document->SearchAgain();
    UpdateEnabling();
}

void TMainForm::SearchItemsReplaceClick()
{
    if (TMemoSource* document = ActiveDocument())
        document->Replace();
    UpdateEnabling();
}

void TMainForm::SearchItemsLineClick()
{
    if (TMemoSource* document = ActiveDocument())
        document->GotoLine();
    UpdateEnabling();
}

void TMainForm::OptionItemsSyntaxNoneClick(int tag)
{
    SetActiveScheme(m_parsers->ForTag(tag));
    UpdateEnabling();
}

void TMainForm::OptionItemsURLClick()
{
    // Switches URL highlighting on; there is no switching it off here.
    if (TMemoSource* document = ActiveDocument())
        document->SetHighlightUrls(true);
    UpdateEnabling();
}

void TMainForm::OptionItemsWrapClick()
{
    // Wrap belongs to the editor, so it holds for every document; a wrapped
    // text never needs the horizontal scroll bar.
    const bool wrap = !m_editor->WordWrap();
    m_editor->SetWordWrap(wrap);
    m_editor->SetScrollBars(wrap ? ssVertical : ssBoth);
    UpdateEnabling();
}

void TMainForm::ToolItemsVisibleClick(const QString& barName)
{
    if (QToolBar* bar = ToolBar(barName))
        bar->setVisible(bar->isHidden());
    UpdateEnabling();
}

void TMainForm::HelpItemsHelpClick()
{
    ShellOpenOrReport(m_programDir + QStringLiteral("tarnel.htm"));
}

void TMainForm::HelpItemsHomeClick()
{
    ShellOpenOrReport(kHomePage);
}

void TMainForm::HelpItemsMailClick()
{
    ShellOpenOrReport(kAuthorMail);
}

void TMainForm::HelpItemsAboutClick()
{
    TAboutForm about(this);
    about.exec();
}
