#include "rowmap.h"

#include "memosource.h"
#include "memowrap.h"

#include <algorithm>
#include <climits>

bool TRowMap::Wrapping() const
{
    return m_wrap && m_wrap->On();
}

bool TRowMap::IsShown(int line) const
{
    return !m_skipHidden || !m_source || m_source->IsLineVisible(line);
}

int TRowMap::ShownLineFrom(int line) const
{
    if (!m_source || !m_skipHidden)
        return line;
    // Over a folded block in one step.
    return m_source->Folds().ShownFrom(line);
}

int TRowMap::ShownLineBefore(int line) const
{
    if (!m_source || !m_skipHidden)
        return line - 1;
    return std::max(0, m_source->Folds().ShownBefore(line - 1));
}

bool TRowMap::Folding() const
{
    return m_skipHidden && m_source && !m_source->Folds().Empty();
}

qint64 TRowMap::ShownIndex(int line) const
{
    return Folding() ? line - m_source->Folds().HiddenBefore(line) : line;
}

int TRowMap::LineOfShownIndex(qint64 index) const
{
    const int line = int(std::clamp<qint64>(index, 0, INT_MAX));
    return Folding() ? m_source->Folds().LineOfShownIndex(line) : line;
}

int TRowMap::RowsOfLine(int line) const
{
    if (!IsShown(line))
        return 0;
    return Wrapping() ? m_wrap->RowsOfLine(line) : 1;
}

TRow TRowMap::RowAt(TRowPos pos) const
{
    if (!Wrapping())
        return TRow{pos.line, 0, TRow::kToEnd, true};
    const TRowSegment segment = m_wrap->SegmentAt(pos.line, pos.row);
    return TRow{pos.line, segment.start, segment.end, segment.row == 0};
}

TRowPos TRowMap::RowPosOf(TTextPos pos) const
{
    return {pos.line, Wrapping() ? m_wrap->SegmentOf(pos).row : 0};
}

TRowPos TRowMap::Step(TRowPos from, int rows) const
{
    const bool plain = !Wrapping() && !m_skipHidden;
    if (Wrapping())
        from.row = std::clamp(from.row, 0, m_wrap->RowsOfLine(from.line) - 1);
    if (rows >= 0) {
        if (plain)
            return {from.line + rows, 0};
        TRowPos pos{ShownLineFrom(std::max(0, from.line)), from.line == ShownLineFrom(from.line) ? from.row : 0};
        while (rows > 0) {
            const int left = std::max(1, RowsOfLine(pos.line)) - 1 - pos.row;
            if (rows <= left) {
                pos.row += rows;
                break;
            }
            rows -= left + 1;
            pos = {ShownLineFrom(pos.line + 1), 0};
        }
        return pos;
    }
    rows = -rows;
    if (plain)
        return {std::max(0, from.line - rows), 0};
    if (Wrapping())
        m_wrap->WrapAbove(from.line - 1, rows);
    TRowPos pos = from;
    while (rows > 0) {
        if (pos.row >= rows) {
            pos.row -= rows;
            break;
        }
        rows -= pos.row + 1;
        if (pos.line <= 0)
            return {0, 0};
        pos.line = std::max(0, ShownLineBefore(pos.line));
        pos.row = RowsOfLine(pos.line) - 1;
    }
    return pos;
}

std::vector<TRow> TRowMap::Rows(TRowPos top, int firstRow, int count) const
{
    std::vector<TRow> rows;
    if (count <= 0)
        return rows;
    rows.reserve(size_t(count));
    TRowPos pos = Step(top, firstRow);
    for (int i = 0; i < count; ++i) {
        rows.push_back(RowAt(pos));
        pos = Step(pos, 1);
    }
    return rows;
}

int TRowMap::RowOfLine(TRowPos top, int line, int limit) const
{
    if (line < top.line)
        return -1;
    if (!Wrapping() && !m_skipHidden)
        return std::min(line - top.line, limit);
    int row = -top.row;
    for (int l = ShownLineFrom(top.line); row < limit; l = ShownLineFrom(l + 1)) {
        if (l >= line)
            return row;
        row += RowsOfLine(l);
    }
    return limit;
}

int TRowMap::RowOf(TRowPos top, TTextPos pos, int limit) const
{
    const int row = RowOfLine(top, pos.line, limit);
    if (row == -1 && pos.line < top.line)
        return -1;
    if (!Wrapping() || row >= limit)
        return row;
    return std::min(row + m_wrap->SegmentOf(pos).row, limit);
}

int TRowMap::Distance(TRowPos a, TRowPos b, int limit) const
{
    if (b.line == a.line)
        return std::min(b.row - a.row, limit);
    const int row = RowOfLine(a, b.line, limit);
    return std::min(row + b.row, limit);
}
