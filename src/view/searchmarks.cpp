#include "searchmarks.h"

#include "memosource.h"

#include <algorithm>

TSearchMarks::TSearchMarks() = default;
TSearchMarks::~TSearchMarks() = default;

bool TSearchMarks::Ready(const TCustomMemoSource& source)
{
    const TFoundMatch& found = source.FoundMatch();
    if (m_source != &source || m_serial != found.serial) {
        m_source = &source;
        m_serial = found.serial;
        m_prepared = m_matcher.Prepare(found.options, source.DelimiterSet(), nullptr, source.Encoding());
        m_gaveUp = false;
    }
    return m_prepared;
}

void TSearchMarks::Collect(const TCustomMemoSource& source, const std::vector<TRow>& rows, int leftColumn,
                           int columns, std::vector<TMatchRange>& ranges)
{
    const TFoundMatch& found = source.FoundMatch();
    if (!found.Valid() || rows.empty() || !Ready(source))
        return;
    for (size_t i = 0; i < rows.size();) {
        const int line = rows[i].line;
        // The columns the line's rows show.
        int first = rows[i].startColumn + leftColumn;
        int last = first + columns;
        for (; i < rows.size() && rows[i].line == line; ++i)
            last = std::max(last, rows[i].startColumn + leftColumn + columns);
        if (line < 0 || line >= source.LineCount())
            continue;
        const std::string_view text = source.Strings().RawText(line);
        const int size = int(text.size());
        int from = 0;
        int to = size;
        if (size > kWholeLine) {
            // A UTF-8 character takes up to four bytes for its two cells.
            from = std::clamp(source.RawIndex(line, first) - kMargin, 0, size);
            to = std::clamp(source.RawIndex(line, last) + 4 * columns + kMargin, from, size);
        }
        if (line == found.line) {
            TMatchRange range;
            range.line = line;
            range.left = source.DisplayColumn(line, found.start);
            range.right = source.DisplayColumn(line, found.end);
            if (range.right > range.left)
                ranges.push_back(range);
        }
        if (m_gaveUp)
            continue;
        m_matcher.SetLine(text.substr(size_t(from), size_t(to - from)), to - from);
        TLineMatch match;
        int at = 0;
        bool skipEmpty = false;
        while (m_matcher.FindForward(at, skipEmpty, match)) {
            at = match.End();
            skipEmpty = true;
            const int start = from + match.start;
            const int end = from + match.End();
            if (end == start || (line == found.line && start == found.start && end == found.end))
                continue;
            TMatchRange range;
            range.line = line;
            range.left = source.DisplayColumn(line, start);
            range.right = source.DisplayColumn(line, end);
            range.light = true;
            ranges.push_back(range);
        }
        m_gaveUp = m_matcher.GaveUp();
    }
}
