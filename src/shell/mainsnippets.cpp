// The main window's snippet and text commands: the handlers only name the
// snippet or the command; the texts are the table in snippets.cpp and the
// commands live in textcommands.cpp.

#include "mainform.h"

#include "dcmemo.h"
#include "memosource.h"
#include "services.h"
#include "snippets.h"
#include "textcommands.h"

void TMainForm::RunSnippet(TSnippetKind kind)
{
    if (TMemoSource* document = ActiveDocument())
        Snippets::Insert(*document, Snippets::Of(kind));
    UpdateEnabling();
    FocusEditor();
}

void TMainForm::RunTextCommand(void (*command)(TCustomMemoSource& document))
{
    if (TMemoSource* document = ActiveDocument())
        command(*document);
    UpdateEnabling();
    FocusEditor();
}

// -- snippets ------------------------------------------------------------------

void TMainForm::cmdHTMLFormClick() { RunSnippet(TSnippetKind::HTMLForm); }
void TMainForm::cmdHTMLButtonClick() { RunSnippet(TSnippetKind::HTMLButton); }
void TMainForm::cmdHTMLFormImageClick() { RunSnippet(TSnippetKind::HTMLFormImage); }
void TMainForm::cmdHTMLInputClick() { RunSnippet(TSnippetKind::HTMLInput); }
void TMainForm::cmdHTMLRadioClick() { RunSnippet(TSnippetKind::HTMLRadio); }
void TMainForm::cmdHTMLCheckClick() { RunSnippet(TSnippetKind::HTMLCheck); }
void TMainForm::cmdHTMLSelectClick() { RunSnippet(TSnippetKind::HTMLSelect); }
void TMainForm::cmdHTMLTextClick() { RunSnippet(TSnippetKind::HTMLText); }
void TMainForm::cmdHTMLImageClick() { RunSnippet(TSnippetKind::HTMLImage); }
void TMainForm::cmdHTMLLinkClick() { RunSnippet(TSnippetKind::HTMLLink); }
void TMainForm::cmdHTMLMailClick() { RunSnippet(TSnippetKind::HTMLMail); }
void TMainForm::cmdHTMLBoldClick() { RunSnippet(TSnippetKind::HTMLBold); }
void TMainForm::cmdHTMLItalicClick() { RunSnippet(TSnippetKind::HTMLItalic); }
void TMainForm::cmdHTMLUnderlineClick() { RunSnippet(TSnippetKind::HTMLUnderline); }
void TMainForm::cmdHTMLParagraphClick() { RunSnippet(TSnippetKind::HTMLParagraph); }
void TMainForm::cmdHTMLBreakClick() { RunSnippet(TSnippetKind::HTMLBreak); }
void TMainForm::cmdHTMLHorizonClick() { RunSnippet(TSnippetKind::HTMLHorizon); }
void TMainForm::cmdHTMLLeftClick() { RunSnippet(TSnippetKind::HTMLLeft); }
void TMainForm::cmdHTMLCenterClick() { RunSnippet(TSnippetKind::HTMLCenter); }
void TMainForm::cmdHTMLRightClick() { RunSnippet(TSnippetKind::HTMLRight); }
void TMainForm::cmdHTMLOListClick() { RunSnippet(TSnippetKind::HTMLOList); }
void TMainForm::cmdHTMLUOListClick() { RunSnippet(TSnippetKind::HTMLUOList); }
void TMainForm::cmdTableClick() { RunSnippet(TSnippetKind::Table); }
void TMainForm::cmdTableRowClick() { RunSnippet(TSnippetKind::TableRow); }
void TMainForm::cmdTableColClick() { RunSnippet(TSnippetKind::TableCol); }
void TMainForm::ToolItemsJavaWritePrintLineClick() { RunSnippet(TSnippetKind::JavaPrintLine); }
void TMainForm::ToolItemsJavaWritePrintOnlyClick() { RunSnippet(TSnippetKind::JavaPrintOnly); }
void TMainForm::ToolItemsJavaWriteCloseClick() { RunSnippet(TSnippetKind::JavaClose); }
void TMainForm::PopJSPFragmentClick() { RunSnippet(TSnippetKind::JSPFragment); }
void TMainForm::PopJSPExpressionClick() { RunSnippet(TSnippetKind::JSPExpression); }
void TMainForm::PopJSPDeclaraionClick() { RunSnippet(TSnippetKind::JSPDeclaration); }
void TMainForm::PopJSPDirectiveClick() { RunSnippet(TSnippetKind::JSPDirective); }
void TMainForm::PopJSPCommentClick() { RunSnippet(TSnippetKind::JSPComment); }
void TMainForm::PopJSPTagClick() { RunSnippet(TSnippetKind::JSPTag); }
void TMainForm::PopJSPOutPutClick() { RunSnippet(TSnippetKind::JSPOutPut); }

void TMainForm::PopHead1Click(int tag)
{
    // Only the six header items exist; any other tag is no header.
    TSnippetKind kind;
    if (Snippets::HeaderOfTag(tag, kind))
        RunSnippet(kind);
}

void TMainForm::cmdHTMLColorClick()
{
    // A cancelled dialog inserts nothing at all, not even an empty step.
    TColor color = m_paletteColor;
    if (ActiveDocument() && Services().ColorDialog(color)) {
        m_paletteColor = color;
        TextCommands::InsertAtCaret(*ActiveDocument(), TextCommands::ColorText(color));
    }
    UpdateEnabling();
    FocusEditor();
}

// -- text commands ---------------------------------------------------------------

void TMainForm::ToolItemsJavaWritePrintLineConvertClick()
{
    RunTextCommand(&TextCommands::ConvertLinesToPrintln);
}

void TMainForm::EditItemsCharLowerClick()
{
    RunTextCommand(&TextCommands::SelectionToLowerCase);
}

void TMainForm::EditItemsCharUpperClick()
{
    RunTextCommand(&TextCommands::SelectionToUpperCase);
}

void TMainForm::EditItemsCharLowerLineClick()
{
    RunTextCommand([](TCustomMemoSource& document) {
        TextCommands::AsOneStep(document, &TCustomMemoSource::LineToLowerCase);
    });
}

void TMainForm::EditItemsCharUpperLineClick()
{
    RunTextCommand([](TCustomMemoSource& document) {
        TextCommands::AsOneStep(document, &TCustomMemoSource::LineToUpperCase);
    });
}

void TMainForm::EditItemsCharToggleClick()
{
    RunTextCommand([](TCustomMemoSource& document) {
        TextCommands::AsOneStep(document, &TCustomMemoSource::LineToggleCase);
    });
}

void TMainForm::EditItemsAtoOClick()
{
    RunTextCommand(&TextCommands::ConvertToOem);
}

void TMainForm::EditItemsOtoAClick()
{
    RunTextCommand(&TextCommands::ConvertFromOem);
}

void TMainForm::EditItemsSelectionIndentClick()
{
    RunTextCommand([](TCustomMemoSource& document) {
        TextCommands::AsOneStep(document, &TCustomMemoSource::IndentBlock);
    });
}

void TMainForm::EditItemsSelectionOutdentClick()
{
    RunTextCommand([](TCustomMemoSource& document) {
        TextCommands::AsOneStep(document, &TCustomMemoSource::UnindentBlock);
    });
}
