// The enabling rule of the main window's menu items and buttons, and the
// status bar that follows the editor's state reports.

#include "mainform.h"

#include "builtinschemes.h"
#include "dcmemo.h"
#include "documentnames.h"
#include "findinfiles.h"
#include "memosource.h"
#include "preferenceform.h"
#include "searchstatus.h"
#include "services.h"

#include <QAction>
#include <QLabel>
#include <QToolBar>

#include <algorithm>

namespace {

bool hasText(const TCustomMemoSource& document)
{
    return document.LineCount() > 1 || (document.LineCount() == 1 && document.LineLength(0) > 0);
}

} // namespace

void TMainForm::Enable(std::initializer_list<const char*> names, bool enabled)
{
    for (const char* name : names) {
        if (QAction* action = Action(QString::fromLatin1(name)))
            action->setEnabled(enabled);
    }
}

void TMainForm::Check(std::initializer_list<const char*> names, bool checked)
{
    for (const char* name : names) {
        if (QAction* action = Action(QString::fromLatin1(name)))
            action->setChecked(checked);
    }
}

void TMainForm::UpdateEnabling()
{
    const TMemoSource* document = ActiveDocument();
    const bool d = document != nullptr;
    const bool t = d && hasText(*document);
    const bool s = d && document->HasSelection();
    const bool u = d && document->CanUndo();
    const bool r = d && document->CanRedo();
    const bool p = d && Services().ClipboardHasText();
    const TBuiltInScheme scheme = d ? m_parsers->SchemeOf(qobject_cast<TSyntaxParser*>(document->SyntaxParser()))
                                    : TBuiltInScheme::None;
    const bool j = d && scheme == TBuiltInScheme::Jsp;
    const bool v = d && scheme == TBuiltInScheme::Java;
    // Save is worth offering for a changed document, or one never saved. A
    // save that keeps the undo history leaves something to undo: then only
    // the modified flag tells.
    const bool save = d && (document->Modified() || !DocumentNames::HasFolder(document->FileName())
                            || (u && !TPreferenceForm::StoredKeepUndo()));
    // Save All looks at every document, not only the one shown.
    const bool saveAll = std::any_of(m_documents.begin(), m_documents.end(), [](const auto& each) {
        return each->Modified() || !DocumentNames::HasFolder(each->FileName());
    });

    Enable({"FileItemsClose", "FileItemsCloseAll", "FileItemsSaveAs", "SearchItemsBook", "ToolItemsColor",
            "ToolItemsHTMLTags", "ToolItemsLink", "ToolItemsForm", "ToolItemsTable", "ToolItemsBrowse",
            "OptionItemsSyntax", "OptionItemsWrap", "OptionItemsURL", "PopSyntax", "PopClose", "cmdClose", "cmdWrap"},
           d);
    for (QAction* button : std::as_const(m_documentBarButtons))
        button->setEnabled(d);
    Enable({"FileItemsSave", "cmdSave"}, save);
    Enable({"FileItemsSaveAll"}, saveAll);
    Enable({"FileItemsPrint", "FileItemsSaveTemplate", "EditItemsSelectAll", "EditItemsCharLowerLine",
            "EditItemsCharUpperLine", "EditItemsCharToggle", "SearchItemsFind", "SearchItemsFindAgain",
            "SearchItemsReplace", "SearchItemsLine", "cmdSearch", "cmdPrint"},
           t);
    Enable({"EditItemsCut", "EditItemsCopy", "EditItemsDelete", "EditItemsAtoO", "EditItemsOtoA",
            "EditItemsCharLower", "EditItemsCharUpper", "EditItemsSelection", "PopSelection", "PopCut", "PopCopy",
            "cmdCut", "cmdCopy"},
           s);
    // The OEM conversions map single bytes: in UTF-8 they would break
    // characters apart.
    Enable({"EditItemsAtoO", "EditItemsOtoA"}, s && document->Encoding() != MemoTypes::teUtf8);
    Enable({"FileItemsReopenEncoding"}, d && DocumentNames::HasFolder(document->FileName()));
    Enable({"FileItemsSaveEncoding"}, d);
    UpdateEncodingPanel();
    Enable({"EditItemsUndo", "PopUndo", "cmdUndo"}, u);
    Enable({"EditItemsRedo", "PopRedo", "cmdRedo"}, r);
    Enable({"EditItemsPaste", "PopPaste", "cmdPaste"}, p);
    Enable({"ToolItemsJSP", "cmdJSP", "cmdBrowse"}, j);
    Enable({"ToolItemsJava", "ToolItemsJavaPrint", "cmdJava", "cmdRun", "ToolItemsJavaRunProgram", "cmdRunJava"}, v);
    Enable({"cmdNew", "cmdOpen"}, true);
    const bool results = m_findInFiles && m_findInFiles->Pane()->ResultCount() > 0;
    Enable({"SearchItemsNextResult", "SearchItemsPreviousResult"}, results);
    // Folding needs the fold column: a text that can fold, shown unwrapped.
    const bool folds = d && document->HasOutline() && m_editor->Options().testFlag(moHideInvisibleLines)
                       && !m_editor->WordWrap();
    Enable({"OptionItemsFold", "OptionItemsFoldFold", "OptionItemsFoldUnfold", "OptionItemsFoldAll",
            "OptionItemsFoldUnfoldAll", "OptionItemsFoldComments"},
           folds);

    Check({"ToolItemsVisibleHTML"}, !ToolBar(QStringLiteral("ToolHTML"))->isHidden());
    Check({"ToolItemsVisibleForm"}, !ToolBar(QStringLiteral("ToolForm"))->isHidden());
    Check({"ToolItemsVisibleTable"}, !ToolBar(QStringLiteral("ToolTable"))->isHidden());
    Check({"ToolItemsVisibleBook"}, !ToolBar(QStringLiteral("ToolBook"))->isHidden());
    Check({"ToolItemsVisibleJSP"}, !ToolBar(QStringLiteral("ToolJSP"))->isHidden());
    // The "Syntax Highlight" items of both menus, one per scheme.
    for (int tag = 0; tag <= BuiltInSchemes::kCount; ++tag) {
        const QString caption = BuiltInSchemes::Caption(BuiltInSchemes::ForTag(tag));
        for (const QString& prefix : {QStringLiteral("OptionItemsSyntax"), QStringLiteral("PopSyntax")}) {
            if (QAction* item = Action(prefix + caption)) {
                item->setEnabled(d);
                item->setChecked(d && BuiltInSchemes::Tag(scheme) == tag);
            }
        }
    }
    Check({"OptionItemsWrap"}, m_editor->WordWrap());
    Check({"OptionItemsURL"}, d && document->HighlightUrls());
}

void TMainForm::TarnelEditorStateChange(TCustomDCMemo& sender, int state)
{
    UpdateStatusBar(state);
}

void TMainForm::UpdateStatusBar(int state)
{
    const TCustomMemoSource* source = m_editor->MemoSource();
    if (m_searchStatus)
        m_searchStatus->Update(ActiveIndex() >= 0 ? source : nullptr);
    if (!source || m_panels.size() < 3)
        return;
    if (state & Change::kCaretMoved) {
        // Characters, not bytes, in a UTF-8 document.
        const int line = source->CaretLine();
        const int column = source->CharsBeforeColumn(line, source->CaretColumn());
        m_panels[0]->setText(QStringLiteral("%1: %2").arg(line + 1).arg(column + 1));
    }
    const QString mode = m_editor->ReadOnly()        ? QStringLiteral("Read Only")
                         : ActiveDocument() && ActiveDocument()->Modified() ? QStringLiteral("Modified")
                                                                            : QString();
    if (m_panels[1]->text() != mode)
        m_panels[1]->setText(mode);
    // No report names a change of the insert mode, so the panel is compared
    // at every report.
    const QString insert = TCustomMemoSource::OverwriteMode() ? QStringLiteral("Overwrite") : QStringLiteral("Insert");
    if (m_panels[2]->text() != insert)
        m_panels[2]->setText(insert);
    UpdateEncodingPanel();
}
