// The snippet table: every text the HTML, form, table, JSP and Java snippet
// commands insert, kept as data so that a command is one line and a row of
// the table is all there is to change.

#include "snippets.h"

#include "memosource.h"

#include <iterator>

namespace {

struct TRow {
    TSnippetKind kind;
    TSnippet snippet;
};

// Each row names its kind, so the order is checked at compile time below.
constexpr TRow kRows[] = {
    {TSnippetKind::HTMLForm, {"<form action=\"myscript.jsp\" method=\"post\"></form>", 0, false}},
    {TSnippetKind::HTMLButton, {"<input type=\"submit\">", 0, false}},
    {TSnippetKind::HTMLFormImage, {"<input type=image src=\"image.gif\" name=\"sub\">", 0, false}},
    {TSnippetKind::HTMLInput, {"<input type=\"text\">", 0, false}},
    {TSnippetKind::HTMLRadio, {"<input type=\"radio\">", 0, false}},
    {TSnippetKind::HTMLCheck, {"<input type=\"checkbox\">", 0, false}},
    {TSnippetKind::HTMLSelect, {"<Select size=1>", 0, false}},
    {TSnippetKind::HTMLText, {"<textarea rows=0 cols=0 wrap=\"off\"></textarea>", 11, false}},
    {TSnippetKind::HTMLImage, {"<img src=\"\" width=\"\" height=\"\" alt=\"\" border=0>", 0, false}},
    {TSnippetKind::HTMLLink, {"<a href=\"\"></a>", 4, false}},
    {TSnippetKind::HTMLMail, {"<a href=\"mailto:\"></a>", 4, false}},
    {TSnippetKind::HTMLBold, {"<b></b>", 4, false}},
    {TSnippetKind::HTMLItalic, {"<i></i>", 4, false}},
    {TSnippetKind::HTMLUnderline, {"<u></u>", 4, false}},
    {TSnippetKind::HTMLParagraph, {"<p></p>", 4, false}},
    {TSnippetKind::HTMLBreak, {"<br>", 0, false}},
    {TSnippetKind::HTMLHorizon, {"<hr>", 0, false}},
    {TSnippetKind::HTMLLeft, {"<div align=\"left\"></div>", 6, false}},
    {TSnippetKind::HTMLCenter, {"<div align=\"center\"></div>", 6, false}},
    {TSnippetKind::HTMLRight, {"<div align=\"right\"></div>", 6, false}},
    {TSnippetKind::HTMLOList, {"<ol></ol>", 5, false}},
    {TSnippetKind::HTMLUOList, {"<ul></ul>", 5, false}},
    {TSnippetKind::Head1, {"<h1></h1>", 5, false}},
    {TSnippetKind::Head2, {"<h2></h2>", 5, false}},
    {TSnippetKind::Head3, {"<h3></h3>", 5, false}},
    {TSnippetKind::Head4, {"<h4></h4>", 5, false}},
    {TSnippetKind::Head5, {"<h5></h5>", 5, false}},
    {TSnippetKind::Head6, {"<h6></h6>", 5, false}},
    {TSnippetKind::Table,
     {"<TABLE BORDER=\"0\" WIDTH=\"100%\">\r\n"
      "   <TR>\r\n"
      "       <TD>&nbsp;</TD>\r\n"
      "   </TR>\r\n"
      "</TABLE>",
      0, false}},
    {TSnippetKind::TableRow,
     {"<TR>\r\n"
      "    <TD>&nbsp;</TD>\r\n"
      "</TR>",
      0, false}},
    {TSnippetKind::TableCol, {"<TD>&nbsp;</TD>", 0, false}},
    {TSnippetKind::JavaPrintLine, {"out.println(\"\");", 3, false}},
    {TSnippetKind::JavaPrintOnly, {"out.print(\"\");", 3, false}},
    {TSnippetKind::JavaClose, {"out.close();", 2, false}},
    {TSnippetKind::JSPFragment, {"<% code fragment %>", 3, true}},
    {TSnippetKind::JSPExpression, {"<%= expression %>", 3, true}},
    {TSnippetKind::JSPDeclaration, {"<%! declaration %>", 3, true}},
    {TSnippetKind::JSPDirective, {"<%@ page directive %>", 3, true}},
    {TSnippetKind::JSPComment, {"<%-- comment --%>", 5, true}},
    {TSnippetKind::JSPTag, {"<%  %>", 3, false}},
    {TSnippetKind::JSPOutPut, {"<%=  %>", 3, false}},
};

constexpr bool rowsInKindOrder()
{
    if (std::size(kRows) != size_t(TSnippetKind::Count))
        return false;
    for (size_t i = 0; i < std::size(kRows); ++i) {
        if (size_t(kRows[i].kind) != i)
            return false;
    }
    return true;
}
static_assert(rowsInKindOrder(), "one row per snippet kind, in the order of the kinds");

} // namespace

const TSnippet& Snippets::Of(TSnippetKind kind)
{
    return kRows[size_t(kind)].snippet;
}

bool Snippets::HeaderOfTag(int tag, TSnippetKind& kind)
{
    if (tag < 0 || tag > 5)
        return false;
    kind = TSnippetKind(int(TSnippetKind::Head1) + tag);
    return true;
}

void Snippets::Insert(TCustomMemoSource& document, const TSnippet& snippet)
{
    // InsertText refuses a read-only line; stepping back or selecting after
    // an insert that did not happen would move a caret the user placed.
    if (document.IsLineReadOnly(document.CaretLine()))
        return;
    TCustomMemoSource::TUpdate update(document, Reason::kInsertTextAtCaret);
    document.BeginCompound();
    const TTextPos at = document.Caret();
    const bool stream = document.SelectionMode() == smStream;
    const TTextPos begin = document.BlockBegin();
    const TTextPos end = document.BlockEnd();
    document.InsertText(snippet.text);
    if (stream) {
        // Typing at a block's end extends the block; a snippet does not: the
        // selected text stays selected, the snippet outside it, also when
        // it goes in right at the block's start or end.
        const TTextPos behind = document.Caret();
        auto follow = [&](TTextPos mark, bool movesAtCaret) -> TTextPos {
            if (mark < at || (mark == at && !movesAtCaret))
                return mark;
            if (mark.line == at.line)
                return {behind.line, behind.column + mark.column - at.column};
            return {mark.line + behind.line - at.line, mark.column};
        };
        document.SetSelection(follow(begin, true), follow(end, false));
    }
    // The caret is behind the text on its last line, so the step back stays
    // on that line.
    if (snippet.moveBack > 0)
        document.MoveCaret(0, -snippet.moveBack);
    if (snippet.selectWord)
        document.SelectPreviousWord();
    document.EndCompound();
}
