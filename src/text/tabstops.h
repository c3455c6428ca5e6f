#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>
#include <string_view>
#include <vector>

// Raised for a tab-stop list that is not a strictly increasing list of
// positive integers.
class EInvalidTabRack : public std::runtime_error {
public:
    EInvalidTabRack() : std::runtime_error("Invalid Tab Rack") {}
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

    // Display width of raw text (tabs expanded).
    int ExpandedLength(std::string_view raw) const;
    QByteArray Expand(std::string_view raw) const;
    // The display columns [from, to) of raw text, tabs expanded (shorter
    // where the text ends); walks the text up to the span.
    QByteArray ExpandSpan(std::string_view raw, int from, int to) const;
    // The display column at which raw[index] starts (index may be past the end).
    int IndexToColumn(std::string_view raw, int index) const;
    // The raw index of the first character that starts at or after column;
    // past the end, the raw length plus the blanks missing up to column.
    int ColumnToIndex(std::string_view raw, int column) const;

private:
    QString m_text;
    std::vector<int> m_stops;
    int m_interval = 8;
};
