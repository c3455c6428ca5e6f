#pragma once

class TCustomMemoSource;

// The fixed texts the snippet commands put in at the caret. Each is data:
// the text (CR LF where it breaks lines; every piece goes in as a line of
// its own), how many columns the caret steps back afterwards to land inside
// the tags, and whether the placeholder word before the caret is then
// selected, so that typing replaces it.
struct TSnippet {
    const char* text;
    int moveBack;
    bool selectWord;
};

// One per snippet command; the six headers are consecutive, h1 first.
enum class TSnippetKind {
    HTMLForm,
    HTMLButton,
    HTMLFormImage,
    HTMLInput,
    HTMLRadio,
    HTMLCheck,
    HTMLSelect,
    HTMLText,
    HTMLImage,
    HTMLLink,
    HTMLMail,
    HTMLBold,
    HTMLItalic,
    HTMLUnderline,
    HTMLParagraph,
    HTMLBreak,
    HTMLHorizon,
    HTMLLeft,
    HTMLCenter,
    HTMLRight,
    HTMLOList,
    HTMLUOList,
    Head1,
    Head2,
    Head3,
    Head4,
    Head5,
    Head6,
    Table,
    TableRow,
    TableCol,
    JavaPrintLine,
    JavaPrintOnly,
    JavaClose,
    JSPFragment,
    JSPExpression,
    JSPDeclaration,
    JSPDirective,
    JSPComment,
    JSPTag,
    JSPOutPut,
    Count
};

namespace Snippets {

const TSnippet& Of(TSnippetKind kind);
// The header of a drop-down item's tag (0 for h1 ... 5 for h6); false for
// any other tag.
bool HeaderOfTag(int tag, TSnippetKind& kind);

// Inserts the snippet at the caret as one undo step: an existing selection
// is neither replaced nor moved off its text; the caret ends behind the
// text, steps back, and the placeholder word is selected where the snippet
// says so. Nothing happens on a read-only line.
void Insert(TCustomMemoSource& document, const TSnippet& snippet);

} // namespace Snippets
