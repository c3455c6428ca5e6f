#include "wraplists.h"

#include <algorithm>
#include <climits>

namespace {

bool before(const TWrapPoint& a, const TWrapPoint& b)
{
    return a.line != b.line ? a.line < b.line : a.column < b.column;
}

} // namespace

int TWrapPointList::FirstOf(int line) const
{
    const auto it = std::lower_bound(m_items.begin(), m_items.end(), TWrapPoint{INT_MIN, line}, before);
    return int(it - m_items.begin());
}

void TWrapPointList::RemoveLines(int first, int last)
{
    if (last < first)
        return;
    const int from = FirstOf(first);
    const int to = last == INT_MAX ? Count() : FirstOf(last + 1);
    m_items.erase(m_items.begin() + from, m_items.begin() + to);
}

void TWrapPointList::ReplaceLines(int first, int last, const std::vector<TWrapPoint>& entries)
{
    const int from = FirstOf(first);
    const int to = last < first ? from : last == INT_MAX ? Count() : FirstOf(last + 1);
    const int old = to - from;
    const int now = int(entries.size());
    // Typing in a wrapped line mostly keeps its rows: then nothing moves.
    if (now > old)
        m_items.insert(m_items.begin() + to, size_t(now - old), TWrapPoint{});
    else if (now < old)
        m_items.erase(m_items.begin() + from + now, m_items.begin() + to);
    std::copy(entries.begin(), entries.end(), m_items.begin() + from);
}

size_t TLineRanges::FirstEndingFrom(int line) const
{
    const auto it = std::lower_bound(m_ranges.begin(), m_ranges.end(), line,
                                     [](const std::pair<int, int>& range, int l) { return range.second < l; });
    return size_t(it - m_ranges.begin());
}

bool TLineRanges::Contains(int line) const
{
    const size_t i = FirstEndingFrom(line);
    return i < m_ranges.size() && m_ranges[i].first <= line;
}

void TLineRanges::Add(int first, int last)
{
    if (last < first)
        return;
    // Every range that overlaps or touches [first, last] merges into it.
    size_t i = FirstEndingFrom(first == INT_MIN ? first : first - 1);
    size_t j = i;
    while (j < m_ranges.size() && (last == INT_MAX || m_ranges[j].first <= last + 1)) {
        first = std::min(first, m_ranges[j].first);
        last = std::max(last, m_ranges[j].second);
        ++j;
    }
    m_ranges.erase(m_ranges.begin() + long(i), m_ranges.begin() + long(j));
    m_ranges.insert(m_ranges.begin() + long(i), {first, last});
}

void TLineRanges::Remove(int first, int last)
{
    if (last < first)
        return;
    std::vector<std::pair<int, int>> kept;
    size_t i = FirstEndingFrom(first);
    size_t j = i;
    while (j < m_ranges.size() && m_ranges[j].first <= last) {
        const auto [a, b] = m_ranges[j];
        if (a < first)
            kept.emplace_back(a, first - 1);
        if (b > last)
            kept.emplace_back(last + 1, b);
        ++j;
    }
    m_ranges.erase(m_ranges.begin() + long(i), m_ranges.begin() + long(j));
    m_ranges.insert(m_ranges.begin() + long(i), kept.begin(), kept.end());
}

int TLineRanges::CountBefore(int line) const
{
    int count = 0;
    for (const auto& [a, b] : m_ranges) {
        if (a >= line)
            break;
        count += std::min(b, line - 1) - a + 1;
    }
    return count;
}

int TLineRanges::FirstMissingFrom(int line) const
{
    const size_t i = FirstEndingFrom(line);
    if (i < m_ranges.size() && m_ranges[i].first <= line)
        return m_ranges[i].second + 1;
    return line;
}

int TLineRanges::LastMissingBefore(int line) const
{
    const size_t i = FirstEndingFrom(line);
    if (i < m_ranges.size() && m_ranges[i].first <= line)
        return m_ranges[i].first - 1;
    return line;
}
