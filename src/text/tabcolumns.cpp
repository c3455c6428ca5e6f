#include "tabcolumns.h"

#include <algorithm>

std::vector<TTabColumns::TIndex>::iterator TTabColumns::LowerBound(int line)
{
    return std::lower_bound(m_lines.begin(), m_lines.end(), line,
                            [](const TIndex& index, int l) { return index.line < l; });
}

const TTabColumns::TIndex& TTabColumns::Of(int line, std::string_view raw, const TTabStops& stops)
{
    auto it = LowerBound(line);
    if (it != m_lines.end() && it->line == line)
        return *it;
    TIndex index;
    index.line = line;
    index.columns.reserve(raw.size() / kSpacing + 1);
    TTabWalk walk(stops);
    for (size_t i = 0; i < raw.size(); ++i) {
        if (i % kSpacing == 0)
            index.columns.push_back(walk.Column());
        walk.Step(raw[i]);
    }
    index.length = walk.Column();
    return *m_lines.insert(it, std::move(index));
}

TTabPlace TTabColumns::PlaceBeforeIndex(const TIndex& index, int rawIndex)
{
    if (rawIndex <= 0 || index.columns.empty())
        return {};
    const int k = std::min(rawIndex / kSpacing, int(index.columns.size()) - 1);
    return {k * kSpacing, index.columns[size_t(k)]};
}

TTabPlace TTabColumns::PlaceBeforeColumn(const TIndex& index, int column)
{
    // The last kept place strictly before column: a walk from there meets
    // the first character that starts at or after it, even where several
    // share the capped last column.
    auto it = std::lower_bound(index.columns.begin(), index.columns.end(), column);
    if (it == index.columns.begin())
        return {};
    --it;
    return {int(it - index.columns.begin()) * kSpacing, *it};
}

void TTabColumns::Drop(int line)
{
    auto it = LowerBound(line);
    if (it != m_lines.end() && it->line == line)
        m_lines.erase(it);
}

void TTabColumns::LinesInserted(int index, int count)
{
    for (auto it = LowerBound(index); it != m_lines.end(); ++it)
        it->line += count;
}

void TTabColumns::LinesDeleted(int index, int count)
{
    auto first = LowerBound(index);
    auto last = LowerBound(index + count);
    for (auto it = m_lines.erase(first, last); it != m_lines.end(); ++it)
        it->line -= count;
}
