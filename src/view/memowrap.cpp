// Word wrap: cutting lines into rows, the lazy wrap of long texts, the row
// look-ups, and the estimate of the rows not wrapped yet.
//
// Cost: a monospaced line no longer than a row is settled by its length
// alone (no text is read); a longer one is scanned once, backwards from each
// row's last column to its first break. A line with tabs is walked forwards
// over its raw bytes instead (a tab's width depends on where it starts), and
// never expanded: a line of megabytes of tabs would expand to gigabytes. A
// typed character re-wraps its own line, and the lists move nothing unless
// the line's row count changed.

#include "memowrap.h"

#include "memosource.h"

#include <algorithm>

void TMemoWordWrap::SetSource(const TCustomMemoSource* source)
{
    m_source = source;
    Clear();
}

void TMemoWordWrap::Clear()
{
    m_wraps.Clear();
    m_lineInfo.Clear();
    m_known.Clear();
    m_extraPerLine = 0;
}

void TMemoWordWrap::RemoveLines(int first, int last)
{
    m_wraps.RemoveLines(first, last);
    m_lineInfo.RemoveLines(first, last);
    m_known.Remove(first, last);
}

TRewrapResult TMemoWordWrap::Rewrap(int first, int last, int topLine)
{
    TRewrapResult result{first, last, false, false};
    first = std::max(0, first);
    const bool toEnd = last == kToEnd;
    if (!On() || m_source->LineCount() == 0) {
        result.rowsChanged = m_wraps.Count() > 0;
        result.full = first == 0 && toEnd;
        Clear();
        return result;
    }
    const int lastLine = m_source->LineCount() - 1;
    if (toEnd || last - first >= kMaxEagerLines) {
        // Lines may have come or gone: what follows first is forgotten and
        // wrapped again from the top of the window down.
        if (first == 0 && toEnd) {
            Clear();
            Sample();
            result.full = true;
        } else {
            RemoveLines(first, last);
        }
        const int from = std::max(first, topLine);
        const int to = std::min({lastLine, std::max(0, topLine) + kLazyLines, last});
        if (from <= to)
            WrapRange(from, to);
        result.rowsChanged = true;
        return result;
    }
    last = std::min(last, lastLine);
    if (last < first)
        return result;
    // The rows each line had, to tell whether anything below moves.
    std::vector<int> before;
    before.reserve(size_t(last - first + 1));
    for (int line = first; line <= last; ++line)
        before.push_back(m_known.Contains(line) ? m_wraps.CountIn(line, line) : -1);
    WrapRange(first, last);
    for (int line = first; line <= last; ++line) {
        if (!m_known.Contains(line) || before[size_t(line - first)] != m_wraps.CountIn(line, line)) {
            result.rowsChanged = true;
            break;
        }
    }
    return result;
}

void TMemoWordWrap::WrapRange(int first, int last)
{
    if (m_busy || last < first)
        return;
    m_busy = true;
    if (m_layout.measure && m_layout.prepare)
        m_layout.prepare(first, last);
    m_newWraps.clear();
    m_newInfo.clear();
    for (int line = first; line <= last; ++line)
        CutLine(line, &m_newWraps, &m_newInfo, false);
    m_wraps.ReplaceLines(first, last, m_newWraps);
    m_lineInfo.ReplaceLines(first, last, m_newInfo);
    m_known.Add(first, last);
    m_busy = false;
}

int TMemoWordWrap::CutLine(int line, std::vector<TWrapPoint>* wraps, std::vector<TWrapPoint>* info, bool estimate)
{
    const int length = m_source->LineLength(line);
    const int capacity = std::max(2, m_layout.capacity);
    const bool measured = m_layout.measure && !estimate;
    if (!measured && length <= capacity)
        return 1;
    // An estimate of a very long line goes by its length: cutting it exactly
    // costs the whole line, which the estimate is there to spare.
    if (estimate && length > kExactEstimate)
        return length / capacity + 1;
    QByteArray expanded;
    std::string_view text = m_source->Strings().RawText(line);
    if (!measured && int(text.size()) != length)
        return CutTabLine(line, text, length, capacity, wraps, info);
    if (int(text.size()) != length) {
        expanded = m_source->LineText(line);
        text = std::string_view(expanded.constData(), size_t(expanded.size()));
    }
    if (measured) {
        m_advances.clear();
        m_layout.measure(line, m_advances);
        // A hook may have shortened the displayed text: the rest is as wide
        // as an average character.
        const qreal average = qreal(m_layout.width) / qreal(capacity);
        if (int(m_advances.size()) < length)
            m_advances.resize(size_t(length), average);
    }
    int p = 0;
    int rows = 1;
    for (;;) {
        int c = capacity;
        if (measured) {
            // The characters from p that fit in the row's width.
            qreal x = 0;
            int fit = 0;
            while (p + fit < length && x + m_advances[size_t(p + fit)] <= m_layout.width)
                x += m_advances[size_t(p + fit++)];
            c = std::max(2, fit);
        }
        if (length - p <= c)
            break;
        // The row ends at the last break within it, the break included; a
        // row without a break is cut at its capacity.
        int end = p + c - 1;
        for (int q = end; q >= p; --q) {
            if (m_source->IsWordBreak(uchar(text[size_t(q)]))) {
                end = q;
                break;
            }
        }
        p = RowAfter(line, p, end);
        if (wraps)
            wraps->push_back({p, line});
        ++rows;
    }
    if (rows > 1 && info)
        info->push_back({p, line});
    return rows;
}

int TMemoWordWrap::RowAfter(int line, int start, int end) const
{
    // A row never ends inside a character of a UTF-8 line.
    const int next = m_source->SnapToChar(line, end + 1, false);
    return next > start ? next : m_source->SnapToChar(line, end + 1, true);
}

int TMemoWordWrap::CutTabLine(int line, std::string_view raw, int length, int capacity,
                              std::vector<TWrapPoint>* wraps, std::vector<TWrapPoint>* info)
{
    // The rows end where they would in the expanded text, whose tab cells
    // are blanks: at the last break cell of the row, or at its capacity.
    const TTabStops& stops = m_source->TabRack();
    const bool blankBreaks = m_source->IsWordBreak(uchar(' '));
    const auto size = int(raw.size());
    // The character holding the row's first column p.
    TTabWalk rowStart(stops);
    int p = 0;
    int rows = 1;
    while (length - p > capacity) {
        const int last = p + capacity - 1;
        int breakAt = -1;
        for (TTabWalk walk = rowStart; walk.Index() < size && walk.Column() <= last;) {
            const char c = raw[size_t(walk.Index())];
            const int next = walk.ColumnAfter(c);
            if (next == walk.Column())
                break;
            if (c == '\t' ? blankBreaks : m_source->IsWordBreak(uchar(c)))
                breakAt = std::min(next - 1, last);
            walk.Step(c);
        }
        p = RowAfter(line, p, breakAt >= p ? breakAt : last);
        for (char c; rowStart.Index() < size;) {
            c = raw[size_t(rowStart.Index())];
            const int next = rowStart.ColumnAfter(c);
            if (next > p || next == rowStart.Column())
                break;
            rowStart.Step(c);
        }
        if (wraps)
            wraps->push_back({p, line});
        ++rows;
    }
    if (rows > 1 && info)
        info->push_back({p, line});
    return rows;
}

void TMemoWordWrap::Sample()
{
    // Lines spread evenly over the text, cut by the capacity alone: with a
    // proportional font measuring would need their attributes, which means
    // parsing everything above them.
    m_extraPerLine = 0;
    const int count = m_source->LineCount();
    const int samples = std::min(count, kSamples);
    if (samples == 0)
        return;
    qint64 extra = 0;
    for (int i = 0; i < samples; ++i)
        extra += CutLine(int(qint64(i) * count / samples), nullptr, nullptr, true) - 1;
    m_extraPerLine = double(extra) / double(samples);
}

void TMemoWordWrap::WrapFrom(int line)
{
    if (m_busy)
        return;
    const int count = m_source->LineCount();
    int last = line;
    while (last + 1 < count && last - line + 1 < kChunk && !m_known.Contains(last + 1))
        ++last;
    WrapRange(line, last);
}

void TMemoWordWrap::WrapAbove(int line, int count)
{
    if (!On() || m_busy)
        return;
    line = std::min(line, m_source->LineCount() - 1);
    const int first = std::max(0, line - count);
    // Gap by gap, each in one piece.
    for (int l = line; l >= first;) {
        if (m_known.Contains(l)) {
            l = m_known.LastMissingBefore(l);
            continue;
        }
        int a = l;
        while (a > first && !m_known.Contains(a - 1))
            --a;
        WrapRange(a, l);
        l = a - 1;
    }
}

int TMemoWordWrap::RowsOfLine(int line)
{
    if (!On() || line < 0 || line >= m_source->LineCount())
        return 1;
    if (!m_known.Contains(line)) {
        WrapFrom(line);
        if (!m_known.Contains(line))
            return 1;
    }
    const auto [a, b] = m_wraps.RangeOf(line);
    return b - a + 1;
}

TRowSegment TMemoWordWrap::SegmentOf(TTextPos pos)
{
    if (RowsOfLine(pos.line) == 1)
        return {};
    const auto [a, b] = m_wraps.RangeOf(pos.line);
    // The line info holds where the last row starts: it takes every column
    // from there on, past the line's end too.
    const TWrapPoint& last = m_lineInfo.At(m_lineInfo.FirstOf(pos.line));
    if (pos.column >= last.column)
        return {b - a, last.column, kToEnd};
    int k = 0;
    while (k < b - a && m_wraps.At(a + k).column <= pos.column)
        ++k;
    return {k, k == 0 ? 0 : m_wraps.At(a + k - 1).column, m_wraps.At(a + k).column};
}

TRowSegment TMemoWordWrap::SegmentAt(int line, int row)
{
    const int rows = RowsOfLine(line);
    if (rows == 1)
        return {};
    row = std::clamp(row, 0, rows - 1);
    const int a = m_wraps.FirstOf(line);
    return {row, row == 0 ? 0 : m_wraps.At(a + row - 1).column, row == rows - 1 ? kToEnd : m_wraps.At(a + row).column};
}

TTextPos TMemoWordWrap::PositionAt(int line, int row, int column)
{
    return {line, SegmentAt(line, row).start + std::max(0, column)};
}

qint64 TMemoWordWrap::RowIndex(int line) const
{
    if (!On())
        return line;
    const int l = std::clamp(line, 0, m_source->LineCount());
    const qint64 unknown = l - m_known.CountBefore(l);
    return qint64(line) + m_wraps.FirstOf(l) + qint64(m_extraPerLine * double(unknown));
}

void TMemoWordWrap::LineAtRowIndex(qint64 index, int lines, int& line, int& row)
{
    int lo = 0;
    int hi = std::max(0, lines - 1);
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (RowIndex(mid) <= index)
            lo = mid;
        else
            hi = mid - 1;
    }
    line = lo;
    const qint64 rest = std::max<qint64>(0, index - RowIndex(lo));
    row = int(std::min<qint64>(rest, RowsOfLine(lo) - 1));
}
