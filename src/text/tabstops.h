#pragma once

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <stdexcept>
#include <string_view>
#include <vector>

// Raised for a tab-stop list that is not a strictly increasing list of
// positive integers.
class EInvalidTabRack : public std::runtime_error {
public:
    EInvalidTabRack() : std::runtime_error("Invalid Tab Rack") {}
};

// A place in raw text: the index of a character and the display column it
// starts at. Walks along a line may start from any place known to be right
// (the line's start, or a place a column index kept; see tabcolumns.h).
struct TTabPlace {
    int index = 0;
    int column = 0;
};

// A tab-stop list such as "9,17": stops beyond the list repeat the interval
// of the last two (of the one stop; 8 without any).
class TTabStops {
public:
    // Stops lie within the first kMaxStop columns; display columns of a line
    // are counted no further than kMaxColumn, so that no line of tabs can
    // overflow them.
    static constexpr int kMaxStop = 1000;
    static constexpr int kMaxColumn = 0x3fffffff;

    TTabStops() { Set(QStringLiteral("9,17")); }

    // Throws EInvalidTabRack and keeps the old list on bad text (a stop that
    // is not above the one before it, or beyond kMaxStop).
    void Set(const QString& text);
    const QString& Text() const { return m_text; }

    // Stop number k, 0-based.
    int Stop(int k) const;
    // The first stop greater than column.
    int NextStop(int column) const;
    // The last stop smaller than column (0 when there is none).
    int PreviousStop(int column) const;

    int LastStop() const { return m_stops.back(); }
    int Interval() const { return m_interval; }

    // Display width of raw text (tabs expanded).
    int ExpandedLength(std::string_view raw) const;
    QByteArray Expand(std::string_view raw) const;
    // The display columns [from, to) of raw text, tabs expanded (shorter
    // where the text ends); walks the text from start up to the span.
    QByteArray ExpandSpan(std::string_view raw, int from, int to, TTabPlace start = {}) const;
    // The display column at which raw[index] starts (index may be past the
    // end); walks from start, which lies at or before index.
    int IndexToColumn(std::string_view raw, int index, TTabPlace start = {}) const;
    // The raw index of the first character that starts at or after column;
    // past the end, the raw length plus the blanks missing up to column.
    // Walks from start, which lies at or before column.
    int ColumnToIndex(std::string_view raw, int column, TTabPlace start = {}) const;

private:
    QString m_text;
    std::vector<int> m_stops;
    int m_interval = 8;
};

// Walks raw text one character at a time from a place, with the next tab
// stop at hand: a step costs a comparison, where NextStop looks the list
// up. Columns stop at TTabStops::kMaxColumn, as everywhere.
class TTabWalk {
public:
    explicit TTabWalk(const TTabStops& stops, TTabPlace from = {})
        : m_stops(stops), m_index(from.index), m_column(from.column), m_next(stops.NextStop(from.column))
    {
    }
    int Index() const { return m_index; }
    int Column() const { return m_column; }
    TTabPlace Place() const { return {m_index, m_column}; }
    // The column after c, the character at the current place.
    int ColumnAfter(char c) const { return std::min(c == '\t' ? m_next : m_column + 1, int(TTabStops::kMaxColumn)); }
    void Step(char c)
    {
        m_column = ColumnAfter(c);
        ++m_index;
        if (m_column >= m_next)
            m_next = m_next >= m_stops.LastStop() ? m_next + m_stops.Interval() : m_stops.NextStop(m_column);
    }

private:
    const TTabStops& m_stops;
    int m_index;
    int m_column;
    int m_next;
};
