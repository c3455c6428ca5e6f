#include "rowmap.h"

#include "memosource.h"

#include <algorithm>

bool TRowMap::IsShown(int line) const
{
    return !m_skipHidden || !m_source || m_source->IsLineVisible(line);
}

int TRowMap::ShownLineFrom(int line) const
{
    if (!m_source || !m_skipHidden)
        return line;
    const int count = m_source->LineCount();
    while (line < count && !m_source->IsLineVisible(line))
        ++line;
    return line;
}

int TRowMap::RowsOfLine(int line) const
{
    return IsShown(line) ? 1 : 0;
}

std::vector<TRow> TRowMap::Rows(int topLine, int firstRow, int count) const
{
    std::vector<TRow> rows;
    if (count <= 0)
        return rows;
    rows.reserve(size_t(count));
    int line = ShownLineFrom(std::max(0, topLine));
    for (int row = 0; row < firstRow + count; ++row) {
        if (row >= firstRow)
            rows.push_back(TRow{line, 0, TRow::kToEnd, true});
        line = ShownLineFrom(line + 1);
    }
    return rows;
}

int TRowMap::RowOfLine(int topLine, int line, int limit) const
{
    if (line < topLine)
        return -1;
    if (!m_skipHidden)
        return std::min(line - topLine, limit);
    int row = 0;
    for (int l = ShownLineFrom(topLine); row < limit; l = ShownLineFrom(l + 1), ++row) {
        if (l >= line)
            return row;
    }
    return limit;
}

int TRowMap::LineAtRow(int topLine, int row) const
{
    if (!m_skipHidden)
        return topLine + row;
    int line = ShownLineFrom(std::max(0, topLine));
    for (int r = 0; r < row; ++r)
        line = ShownLineFrom(line + 1);
    return line;
}

int TRowMap::LineAbove(int line, int rows) const
{
    if (!m_skipHidden)
        return std::max(0, line - std::max(0, rows));
    for (int r = 0; r < rows && line > 0; ++r) {
        --line;
        while (line > 0 && !IsShown(line))
            --line;
    }
    return std::max(0, line);
}
