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
    int column = 0;
    for (char c : raw)
        column = std::min(c == '\t' ? NextStop(column) : column + 1, kMaxColumn);
    return column;
}

QByteArray TTabStops::Expand(std::string_view raw) const
{
    if (raw.empty() || !std::memchr(raw.data(), '\t', raw.size()))
        return QByteArray(raw.data(), qsizetype(raw.size()));
    QByteArray out;
    out.reserve(qsizetype(raw.size()) + 16);
    for (char c : raw) {
        if (out.size() >= kMaxColumn)
            break;
        if (c == '\t')
            out.append(NextStop(int(out.size())) - int(out.size()), ' ');
        else
            out.append(c);
    }
    return out;
}

QByteArray TTabStops::ExpandSpan(std::string_view raw, int from, int to) const
{
    from = std::max(from, 0);
    if (to <= from)
        return {};
    QByteArray out;
    int column = 0;
    for (char c : raw) {
        if (column >= to)
            break;
        const int width = c == '\t' ? NextStop(column) - column : 1;
        // The part of this character's columns that falls into the span.
        const int left = std::max(column, from);
        const int right = std::min(column + width, to);
        if (right > left)
            out.append(right - left, c == '\t' ? ' ' : c);
        column += width;
    }
    return out;
}

int TTabStops::IndexToColumn(std::string_view raw, int index) const
{
    const int n = int(raw.size());
    if (index <= 0)
        return 0;
    // Tabs behind the index do not move it: only the text in front of it
    // is looked at, which keeps a caret near the start of a long line cheap.
    if (!std::memchr(raw.data(), '\t', std::min(raw.size(), size_t(index))))
        return index;
    int column = 0;
    for (int i = 0; i < index && i < n; ++i)
        column = std::min(raw[size_t(i)] == '\t' ? NextStop(column) : column + 1, kMaxColumn);
    return column + (index > n ? index - n : 0);
}

int TTabStops::ColumnToIndex(std::string_view raw, int column) const
{
    if (column <= 0)
        return 0;
    const int n = int(raw.size());
    // Without a tab in front of the column, columns are bytes up to it.
    if (!std::memchr(raw.data(), '\t', std::min(raw.size(), size_t(column))))
        return column;
    int start = 0;
    for (int i = 0; i < n; ++i) {
        if (start >= column)
            return i;
        start = std::min(raw[size_t(i)] == '\t' ? NextStop(start) : start + 1, kMaxColumn);
    }
    return n + (column > start ? column - start : 0);
}
