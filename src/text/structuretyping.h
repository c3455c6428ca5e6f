#pragma once

#include "position.h"

#include <QByteArray>

#include <vector>

class TCustomMemoSource;

// Typing that knows the structure of the text, on top of a text store's own
// typing:
//
// - "</" is completed with the name of the innermost element still open and
//   its ">"; ">" that ends a start tag puts the element's end tag behind the
//   caret (CloseTags; never for void elements);
// - "(", "[", "{" and quotes come with their partner, typing the partner
//   steps over the one put in, and Backspace right after removes both
//   (CloseBrackets);
// - with soAutoIndent, Enter after "{" or a start tag indents one level more
//   (a tab, or BlockIndent blanks), and a "}" or "</" typed as the first
//   text of a line takes the indent of its partner's line.
//
// Each of these is one undo step together with the key typed. Without a
// parser that reports structure only the brackets and quotes apply. The
// object keeps the partners it put in, which it forgets when the caret
// leaves their line.
class TStructureTyping {
public:
    // Types ch (one byte) at the caret by these rules; false when none
    // applies, and nothing was done (the caller types it plainly).
    bool Type(TCustomMemoSource& source, char ch);
    // Enter; false when the store's own Enter is the right one.
    bool NewLine(TCustomMemoSource& source);
    // Backspace; false when the store's own is.
    bool Backspace(TCustomMemoSource& source);

private:
    struct TPending {
        TTextPos at; // where the partner put in stands
        char closer = 0;
    };

    bool StepOver(TCustomMemoSource& source, char ch);
    bool OpenPair(TCustomMemoSource& source, char ch);
    bool CompleteEndTag(TCustomMemoSource& source);
    bool CloseStartTag(TCustomMemoSource& source);
    bool AlignCloser(TCustomMemoSource& source, char ch);
    // The whitespace a line starts with, as stored.
    static QByteArray Indent(TCustomMemoSource& source, int line);
    // Gives line the indent text in place of its own.
    static void SetIndent(TCustomMemoSource& source, int line, const QByteArray& indent);
    void Forget(const TCustomMemoSource& source);

    std::vector<TPending> m_pending;
};
