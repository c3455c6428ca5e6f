// Characters and display cells of the store's lines. Only a UTF-8 document
// looks at the bytes; a line is read in place unless it holds a tab, whose
// blanks are columns too.

#include "memosource.h"

#include "utf8cells.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The last character start a walk stopped at, with the bytes of the line up
// to it and the code point behind it (which decide that it is a character
// start and the cells in front of it): a later walk along a line that begins
// with the same bytes goes on from there. A view painting a row asks for the
// columns at both edges and the cells in front of the first: one walk from
// the line start instead of three. Interface thread only.
struct TCellMemo {
    std::string bytes;
    Utf8Cells::TCellMark mark;
};
TCellMemo g_memo;
// Lines longer than this are walked without the memo (its copy would cost
// more than the walk it saves).
constexpr int kMemoLimit = 1 << 16;
// Bytes behind the mark that the memo keeps: the longest code point.
constexpr int kBehind = 4;

Utf8Cells::TCellMark MemoFor(std::string_view text)
{
    const size_t kept = g_memo.bytes.size();
    const size_t wanted = std::min(text.size(), size_t(g_memo.mark.column) + kBehind);
    if (g_memo.mark.column <= 0 || kept != wanted || std::memcmp(text.data(), g_memo.bytes.data(), kept) != 0)
        return {};
    return g_memo.mark;
}

void Remember(std::string_view text, int column, int cells)
{
    if (column <= 0 || column >= int(text.size()) || int(text.size()) > kMemoLimit)
        return;
    g_memo.bytes.assign(text.data(), std::min(text.size(), size_t(column) + kBehind));
    g_memo.mark = {column, cells};
}

} // namespace

template <typename F>
static auto WithExpandedLine(const TCustomMemoSource& source, int line, F f)
{
    const TStringItem& item = source.Strings().Item(line);
    if (!item.Has(TStringItem::kHasTab))
        return f(item.Text());
    const QByteArray expanded = source.LineText(line);
    return f(std::string_view(expanded.constData(), size_t(expanded.size())));
}

int TCustomMemoSource::CellOfColumn(int line, int column) const
{
    if (m_encoding != teUtf8 || !InRealLine(line))
        return column;
    return WithExpandedLine(*this, line,
                            [&](std::string_view text) { return Utf8Cells::CellOf(text, column, MemoFor(text)); });
}

int TCustomMemoSource::ColumnAtOffset(int line, int offset, int cellWidth, bool nearest) const
{
    if (m_encoding != teUtf8 || !InRealLine(line)) {
        cellWidth = std::max(1, cellWidth);
        offset = std::max(0, offset);
        return nearest ? (offset + cellWidth / 2) / cellWidth : offset / cellWidth;
    }
    return WithExpandedLine(*this, line, [&](std::string_view text) {
        int cells = 0;
        const int column = Utf8Cells::ColumnAt(text, offset, cellWidth, nearest, MemoFor(text), &cells);
        Remember(text, column, cells);
        return column;
    });
}

int TCustomMemoSource::CharsBeforeColumn(int line, int column) const
{
    if (m_encoding != teUtf8 || !InRealLine(line))
        return column;
    return WithExpandedLine(*this, line, [&](std::string_view text) { return Utf8Cells::CharCount(text, column); });
}

int TCustomMemoSource::CharStartColumn(int line, int column) const
{
    if (m_encoding != teUtf8 || !InRealLine(line))
        return column;
    return WithExpandedLine(*this, line, [&](std::string_view text) { return Utf8Cells::CharStart(text, column); });
}

int TCustomMemoSource::NextCharColumn(int line, int column) const
{
    if (m_encoding != teUtf8 || !InRealLine(line))
        return column + 1;
    return WithExpandedLine(*this, line, [&](std::string_view text) { return Utf8Cells::NextChar(text, column); });
}

int TCustomMemoSource::SnapToChar(int line, int column, bool forward) const
{
    if (m_encoding != teUtf8 || !InRealLine(line))
        return column;
    return WithExpandedLine(*this, line, [&](std::string_view text) {
        const int start = Utf8Cells::CharStart(text, column);
        return start == column || !forward ? start : Utf8Cells::NextChar(text, start);
    });
}
