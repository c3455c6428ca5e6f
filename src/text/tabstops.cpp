#include "tabstops.h"

#include <QStringList>

#include <algorithm>
#include <cstring>

void TTabStops::Set(const QString& text)
{
    std::vector<int> stops;
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty()) {
        for (const QString& part : trimmed.split(u',')) {
            bool ok = false;
            int stop = part.trimmed().toInt(&ok);
            if (!ok || stop <= 0 || stop > kMaxStop || (!stops.empty() && stop <= stops.back()))
                throw EInvalidTabRack();
            stops.push_back(stop);
        }
    }
    if (stops.empty())
        stops.push_back(8);
    m_interval = stops.size() == 1 ? stops[0] : stops.back() - stops[stops.size() - 2];
    m_stops = std::move(stops);
    m_text = text;
}

int TTabStops::Stop(int k) const
{
    const int count = int(m_stops.size());
    if (k < count)
        return m_stops[size_t(k)];
    return m_stops.back() + (k - count + 1) * m_interval;
}

int TTabStops::NextStop(int column) const
{
    for (int stop : m_stops) {
        if (stop > column)
            return stop;
    }
    const int last = m_stops.back();
    return last + ((column - last) / m_interval + 1) * m_interval;
}

int TTabStops::PreviousStop(int column) const
{
    int previous = 0;
    for (int stop : m_stops) {
        if (stop >= column)
            return previous;
        previous = stop;
    }
    const int last = m_stops.back();
    if (column <= last)
        return previous;
    return last + ((column - last - 1) / m_interval) * m_interval;
}

int TTabStops::ExpandedLength(std::string_view raw) const
{
    if (!std::memchr(raw.data(), '\t', raw.size()))
        return int(raw.size());
    TTabWalk walk(*this);
    for (char c : raw)
        walk.Step(c);
    return walk.Column();
}

QByteArray TTabStops::Expand(std::string_view raw) const
{
    if (raw.empty() || !std::memchr(raw.data(), '\t', raw.size()))
        return QByteArray(raw.data(), qsizetype(raw.size()));
    // The runs between tabs are copied whole; a tab becomes the blanks up
    // to its stop. Columns stop at kMaxColumn: nothing lies beyond it.
    QByteArray out;
    out.reserve(qsizetype(raw.size()) + 16);
    const char* p = raw.data();
    const char* const end = p + raw.size();
    qsizetype column = 0;
    while (p < end && column < kMaxColumn) {
        const char* tab = static_cast<const char*>(std::memchr(p, '\t', size_t(end - p)));
        const char* const runEnd = tab ? tab : end;
        const qsizetype run = std::min<qsizetype>(runEnd - p, kMaxColumn - column);
        out.append(p, run);
        column += run;
        if (!tab || column >= kMaxColumn)
            break;
        const int stop = std::min(NextStop(int(column)), kMaxColumn);
        out.append(stop - column, ' ');
        column = stop;
        p = tab + 1;
    }
    return out;
}

QByteArray TTabStops::ExpandSpan(std::string_view raw, int from, int to, TTabPlace start) const
{
    from = std::max(from, 0);
    if (to <= from)
        return {};
    QByteArray out;
    TTabWalk walk(*this, start);
    for (size_t i = size_t(start.index); i < raw.size(); ++i) {
        const int column = walk.Column();
        if (column >= to)
            break;
        const char c = raw[i];
        const int next = walk.ColumnAfter(c);
        // The part of this character's columns that falls into the span.
        const int left = std::max(column, from);
        const int right = std::min(next, to);
        if (right > left)
            out.append(right - left, c == '\t' ? ' ' : c);
        // A character at the column cap takes no columns: nothing follows.
        if (next == column)
            break;
        walk.Step(c);
    }
    return out;
}

int TTabStops::IndexToColumn(std::string_view raw, int index, TTabPlace start) const
{
    const int n = int(raw.size());
    if (index <= 0)
        return 0;
    // Tabs behind the index do not move it: only the text in front of it
    // is looked at, which keeps a caret near the start of a long line cheap.
    const int from = std::clamp(start.index, 0, n);
    if (!std::memchr(raw.data() + from, '\t', size_t(std::clamp(index, from, n) - from)))
        return start.column + (index - from);
    TTabWalk walk(*this, {from, start.column});
    for (int i = from; i < index && i < n; ++i)
        walk.Step(raw[size_t(i)]);
    return walk.Column() + (index > n ? index - n : 0);
}

int TTabStops::ColumnToIndex(std::string_view raw, int column, TTabPlace start) const
{
    if (column <= 0)
        return 0;
    const int n = int(raw.size());
    const int from = std::clamp(start.index, 0, n);
    // Without a tab in front of the column, columns are bytes up to it.
    const int span = std::clamp(column - start.column, 0, n - from);
    if (!std::memchr(raw.data() + from, '\t', size_t(span)))
        return from + (column - start.column);
    TTabWalk walk(*this, {from, start.column});
    for (int i = from; i < n; ++i) {
        if (walk.Column() >= column)
            return i;
        walk.Step(raw[size_t(i)]);
    }
    return n + (column > walk.Column() ? column - walk.Column() : 0);
}
