// The long lines of a store, see longlines.h. A file has few lines long
// enough to be here, so they sit in a small sorted array; a splice moves
// the points behind it, which costs one pass over a few thousand points.

#include "longlines.h"

#include <algorithm>

std::vector<TLongLine>::iterator TLongLines::LowerBound(int line)
{
    return std::lower_bound(m_lines.begin(), m_lines.end(), line,
                            [](const TLongLine& entry, int value) { return entry.line < value; });
}

TLongLine* TLongLines::Find(int line)
{
    auto it = LowerBound(line);
    return it != m_lines.end() && it->line == line ? &*it : nullptr;
}

TLongLine& TLongLines::Get(int line)
{
    auto it = LowerBound(line);
    if (it == m_lines.end() || it->line != line) {
        it = m_lines.insert(it, TLongLine());
        it->line = line;
    }
    return *it;
}

void TLongLines::Drop(int line)
{
    auto it = LowerBound(line);
    if (it != m_lines.end() && it->line == line)
        m_lines.erase(it);
}

void TLongLines::Spliced(int line, int pos, int count, int inserted)
{
    TLongLine* entry = Find(line);
    if (!entry)
        return;
    entry->windowValid = false;
    if (!entry->valid)
        return;
    const int removedEnd = pos + count;
    const int shift = inserted - count;
    // Points inside the replaced bytes are gone; those behind them move.
    std::vector<TResumePoint>& points = entry->points;
    auto first = std::lower_bound(points.begin(), points.end(), pos,
                                  [](const TResumePoint& p, int value) { return p.pos < value; });
    auto last = std::lower_bound(first, points.end(), removedEnd,
                                 [](const TResumePoint& p, int value) { return p.pos < value; });
    first = points.erase(first, last);
    if (shift != 0) {
        for (auto it = first; it != points.end(); ++it)
            it->pos += shift;
    }
    // The edited columns, in today's columns: an earlier edit range moves
    // or grows with this one.
    int from = pos;
    int to = pos + inserted;
    if (entry->Dirty()) {
        from = std::min(from, entry->dirtyFrom);
        const int oldTo = entry->dirtyTo >= removedEnd ? entry->dirtyTo + shift : std::min(entry->dirtyTo, pos);
        to = std::max(to, oldTo);
    }
    entry->dirtyFrom = from;
    entry->dirtyTo = to;
}

void TLongLines::LinesInserted(int index, int count)
{
    for (auto it = LowerBound(index); it != m_lines.end(); ++it)
        it->line += count;
}

void TLongLines::LinesDeleted(int index, int count)
{
    auto first = LowerBound(index);
    first = m_lines.erase(first, LowerBound(index + count));
    for (auto it = first; it != m_lines.end(); ++it)
        it->line -= count;
}
