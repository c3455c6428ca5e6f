// Characters and display cells of the store's lines. Only a UTF-8 document
// looks at the bytes; a line is read in place unless it holds a tab, whose
// blanks are columns too.

#include "memosource.h"

#include "utf8cells.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {

// The last two character starts walks stopped at on a line, with the line's
// bytes up to the farther one and the code point behind it (which decide
// that each is a character start and the cells in front of it): a later walk
// along a line that begins with the same bytes goes on from the farthest one
// that lies in front of what it looks for. A view painting a row asks for the
// columns at both of its edges and the cells in front of the first, and a
// row scrolled sideways asks again a little further on: one short walk
// instead of three from the line start. A line's memo sits in the slot its
// text's address picks; the bytes decide whether it holds. Interface thread
// only.
struct TCellMemo {
    std::string bytes;
    int length = 0;
    Utf8Cells::TCellMark marks[2]; // the later last; column 0: none
};
std::array<TCellMemo, 64> g_memos;
// Lines longer than this are walked without the memo (its copy would cost
// more than the walk it saves).
constexpr int kMemoLimit = 1 << 16;
// Bytes behind a mark that decide it: the longest code point.
constexpr int kBehind = 4;

TCellMemo& SlotFor(std::string_view text)
{
    return g_memos[(reinterpret_cast<quintptr>(text.data()) >> 4) % g_memos.size()];
}

bool Holds(const TCellMemo& memo, std::string_view text, const Utf8Cells::TCellMark& mark)
{
    if (mark.column <= 0)
        return false;
    const size_t wanted = std::min(text.size(), size_t(mark.column) + kBehind);
    const size_t had = std::min(size_t(memo.length), size_t(mark.column) + kBehind);
    return wanted == had && memo.bytes.size() >= wanted && std::memcmp(text.data(), memo.bytes.data(), wanted) == 0;
}

// The farthest mark of text's memo that fits.
template <typename Fits>
Utf8Cells::TCellMark MemoFor(std::string_view text, Fits fits)
{
    const TCellMemo& memo = SlotFor(text);
    Utf8Cells::TCellMark best;
    for (const Utf8Cells::TCellMark& mark : memo.marks) {
        if (mark.column > best.column && fits(mark) && Holds(memo, text, mark))
            best = mark;
    }
    return best;
}

void Remember(std::string_view text, int column, int cells)
{
    if (column <= 0 || column >= int(text.size()) || int(text.size()) > kMemoLimit)
        return;
    TCellMemo& memo = SlotFor(text);
    Utf8Cells::TCellMark kept = memo.marks[1];
    if (kept.column == column && Holds(memo, text, kept))
        return;
    if (!Holds(memo, text, kept))
        kept = {};
    memo.marks[0] = kept;
    memo.marks[1] = {column, cells};
    const size_t farthest = size_t(std::max(kept.column, column)) + kBehind;
    memo.bytes.assign(text.data(), std::min(text.size(), farthest));
    memo.length = int(text.size());
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
    auto inFront = [column](const Utf8Cells::TCellMark& mark) { return mark.column <= column; };
    return WithExpandedLine(*this, line, [&](std::string_view text) {
        return Utf8Cells::CellOf(text, column, MemoFor(text, inFront));
    });
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
        const Utf8Cells::TCellMark from = MemoFor(text, [&](const Utf8Cells::TCellMark& mark) {
            return qint64(mark.cells) * std::max(1, cellWidth) <= offset;
        });
        const int column = Utf8Cells::ColumnAt(text, offset, cellWidth, nearest, from, &cells);
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
