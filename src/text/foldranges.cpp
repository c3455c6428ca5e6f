// The collapsed folds of a text, see foldranges.h. A text has at most as
// many folds as it has lines that open a block, and the hidden runs are
// rebuilt from them (sort and merge) only when a fold changes, not when a
// view asks.

#include "foldranges.h"

#include <algorithm>

namespace {

bool byHeader(const TFoldRanges::TFold& fold, int header)
{
    return fold.header < header;
}

} // namespace

const TFoldRanges::TFold* TFoldRanges::Find(int header) const
{
    const auto it = std::lower_bound(m_folds.begin(), m_folds.end(), header, byHeader);
    return it != m_folds.end() && it->header == header ? &*it : nullptr;
}

void TFoldRanges::Collapse(const TFold& fold)
{
    if (fold.last <= fold.header || fold.header < 0)
        return;
    const auto it = std::lower_bound(m_folds.begin(), m_folds.end(), fold.header, byHeader);
    if (it != m_folds.end() && it->header == fold.header)
        *it = fold;
    else
        m_folds.insert(it, fold);
    Changed();
}

void TFoldRanges::Assign(std::vector<TFold> folds)
{
    folds.erase(std::remove_if(folds.begin(), folds.end(),
                               [](const TFold& fold) { return fold.last <= fold.header || fold.header < 0; }),
                folds.end());
    std::sort(folds.begin(), folds.end(), [](const TFold& a, const TFold& b) { return a.header < b.header; });
    folds.erase(std::unique(folds.begin(), folds.end(),
                            [](const TFold& a, const TFold& b) { return a.header == b.header; }),
                folds.end());
    m_folds = std::move(folds);
    Changed();
}

bool TFoldRanges::Expand(int header)
{
    const auto it = std::lower_bound(m_folds.begin(), m_folds.end(), header, byHeader);
    if (it == m_folds.end() || it->header != header)
        return false;
    m_folds.erase(it);
    Changed();
    return true;
}

void TFoldRanges::Clear()
{
    if (!m_folds.empty())
        ++m_generation;
    m_folds.clear();
    m_runs.clear();
    m_dirty = false;
}

void TFoldRanges::Rebuild() const
{
    m_dirty = false;
    m_runs.clear();
    int hidden = 0;
    // Sorted by header, a fold either lies inside the run being built,
    // reaches past it, or starts a new one.
    for (const TFold& fold : m_folds) {
        const int first = fold.header + 1;
        if (!m_runs.empty() && first <= m_runs.back().last + 1) {
            if (fold.last > m_runs.back().last) {
                hidden += fold.last - m_runs.back().last;
                m_runs.back().last = fold.last;
            }
            continue;
        }
        m_runs.push_back(TRun{first, fold.last, hidden});
        hidden += fold.last - first + 1;
    }
}

size_t TFoldRanges::RunAt(int line) const
{
    if (m_dirty)
        Rebuild();
    return size_t(std::lower_bound(m_runs.begin(), m_runs.end(), line,
                                   [](const TRun& run, int value) { return run.last < value; }) -
                  m_runs.begin());
}

bool TFoldRanges::IsHidden(int line) const
{
    if (m_folds.empty())
        return false;
    const size_t i = RunAt(line);
    return i < m_runs.size() && m_runs[i].first <= line;
}

int TFoldRanges::ShownFrom(int line) const
{
    if (m_folds.empty())
        return line;
    const size_t i = RunAt(line);
    return i < m_runs.size() && m_runs[i].first <= line ? m_runs[i].last + 1 : line;
}

int TFoldRanges::ShownBefore(int line) const
{
    if (m_folds.empty())
        return line;
    const size_t i = RunAt(line);
    return i < m_runs.size() && m_runs[i].first <= line ? m_runs[i].first - 1 : line;
}

int TFoldRanges::HiddenBefore(int line) const
{
    if (m_folds.empty())
        return 0;
    const size_t i = RunAt(line);
    if (i >= m_runs.size())
        return HiddenCount();
    const TRun& run = m_runs[i];
    return run.hiddenBefore + std::max(0, line - run.first);
}

int TFoldRanges::HiddenCount() const
{
    if (m_folds.empty())
        return 0;
    if (m_dirty)
        Rebuild();
    return m_runs.empty() ? 0 : m_runs.back().hiddenBefore + m_runs.back().last - m_runs.back().first + 1;
}

int TFoldRanges::LineOfShownIndex(int index) const
{
    if (m_folds.empty())
        return index;
    if (m_dirty)
        Rebuild();
    // The last run whose first line's shown index is at or before index.
    auto it = std::upper_bound(m_runs.begin(), m_runs.end(), index,
                               [](int value, const TRun& run) { return value < run.first - run.hiddenBefore; });
    if (it == m_runs.begin())
        return index;
    --it;
    return index + it->hiddenBefore + (it->last - it->first + 1);
}

std::vector<int> TFoldRanges::ExpandAround(int line)
{
    std::vector<int> expanded;
    if (!IsHidden(line))
        return expanded;
    const auto end = std::lower_bound(m_folds.begin(), m_folds.end(), line, byHeader);
    auto kept = m_folds.begin();
    for (auto it = m_folds.begin(); it != end; ++it) {
        if (line <= it->last)
            expanded.push_back(it->header);
        else
            *kept++ = *it;
    }
    m_folds.erase(kept, end);
    Changed();
    return expanded;
}

bool TFoldRanges::LinesInserted(int index, int count)
{
    if (m_folds.empty())
        return false;
    // Only a fold whose hidden lines hold the old line index can contain
    // the place: nothing needs looking at when that line is shown.
    const bool dropped = !ExpandAround(index).empty();
    for (auto it = std::lower_bound(m_folds.begin(), m_folds.end(), index, byHeader); it != m_folds.end(); ++it) {
        it->header += count;
        it->last += count;
    }
    Changed();
    return dropped;
}

bool TFoldRanges::LinesDeleted(int index, int count)
{
    if (m_folds.empty())
        return false;
    bool dropped = !ExpandAround(index).empty();
    const int end = index + count;
    auto first = std::lower_bound(m_folds.begin(), m_folds.end(), index, byHeader);
    auto last = std::lower_bound(first, m_folds.end(), end, byHeader);
    dropped = dropped || first != last;
    first = m_folds.erase(first, last);
    for (auto it = first; it != m_folds.end(); ++it) {
        it->header -= count;
        it->last -= count;
    }
    Changed();
    return dropped;
}

bool TFoldRanges::LineChanged(int line)
{
    return !ExpandAround(line).empty();
}
