#pragma once

#include <QtGlobal>

#include <string_view>

// Characters and display cells of one line of a UTF-8 document. The store's
// columns stay byte offsets into the (tab-expanded) line, so that edits,
// undo and attribute strings work on bytes as in every other document; what
// this adds is where characters begin and how many cells they cover:
// - a character is a valid sequence (or one invalid byte) together with the
//   combining marks that follow it, at most kMaxMarks of them, so that a
//   caret stop never splits a letter from its accents;
// - a character covers 0, 1 or 2 cells: 2 for East Asian wide letters and
//   emoji, 1 for everything else, including an invalid byte (shown as a
//   replacement mark); a mark has none of its own.
// A line without bytes >= 0x80 has cells equal to columns: every function
// answers it from a scan for such bytes alone.
namespace Utf8Cells {

// Marks beyond this many in a row are characters of their own, which keeps
// finding the start of a character cheap on any input.
constexpr int kMaxMarks = 16;

// One code point (or invalid byte) of a line.
struct TCodePoint {
    int length = 1;       // bytes
    int cells = 1;        // 0 for a combining mark
    char32_t code = 0xFFFD;
    bool valid = false;   // false: a byte that is no valid sequence
};

// Whether text holds a byte >= 0x80.
bool HasHighBytes(std::string_view text);
// The cells a code point covers.
int Width(char32_t code);
// The code point starting at byte at (which must be inside text).
TCodePoint CodePointAt(std::string_view text, int at);

// The start of the character that holds byte at; at itself past the end.
int CharStart(std::string_view text, int at);
// The end of the character that starts at at (past the end: at + 1).
int NextChar(std::string_view text, int at);
// The start of the character before at (0 at 0; past the end: at - 1).
int PreviousChar(std::string_view text, int at);

// A character start of a text and the cells of the bytes in front of it:
// a walk along the text may begin there instead of at the line start.
struct TCellMark {
    int column = 0;
    int cells = 0;
};

// The cells of the bytes before column; past the end one cell per column.
// The walk begins at from when it lies at or before column.
int CellOf(std::string_view text, int column, TCellMark from = {});
// The column at offset units from the line start, one cell being cellWidth
// units: the start of the character under it, or with nearest the character
// boundary nearest to it. Past the end one column per cell. The walk begins
// at from when its cells lie at or before offset; cellsBefore, when given,
// gets the cells in front of the column returned.
int ColumnAt(std::string_view text, int offset, int cellWidth, bool nearest, TCellMark from = {},
             int* cellsBefore = nullptr);
// The number of characters before column; past the end one per column.
int CharCount(std::string_view text, int column);

} // namespace Utf8Cells
