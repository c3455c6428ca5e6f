#pragma once

#include <cstddef>
#include <utility>
#include <vector>

// A column of a line: where a wrapped row starts.
struct TWrapPoint {
    int column = 0;
    int line = 0;
};

// A list of (column, line) entries sorted by line and then by column. It
// holds its entries by value, so removing them frees them. Edits replace the
// entries of a range of lines at once: a line that keeps its number of
// entries is rewritten in place, anything else moves the tail once.
class TWrapPointList {
public:
    int Count() const { return int(m_items.size()); }
    const TWrapPoint& At(int index) const { return m_items[std::size_t(index)]; }
    // The index of the first entry of line or of a later line (Count() when
    // there is none): also the number of entries of the lines above it.
    int FirstOf(int line) const;
    // The number of entries of lines first to last.
    int CountIn(int first, int last) const { return last < first ? 0 : FirstOf(last + 1) - FirstOf(first); }
    // The entries of one line, as a range of indices [first, second).
    std::pair<int, int> RangeOf(int line) const { return {FirstOf(line), FirstOf(line + 1)}; }
    // Removes the entries of lines first to last (nothing when last < first).
    void RemoveLines(int first, int last);
    // Replaces the entries of lines first to last by entries, which must be
    // sorted and lie within those lines.
    void ReplaceLines(int first, int last, const std::vector<TWrapPoint>& entries);
    void Clear() { m_items.clear(); }

private:
    // invariant: sorted by (line, column), no two entries equal.
    std::vector<TWrapPoint> m_items;
};

// The wrap points of a text: each the column at which a new row of its line
// starts.
class TWordWrapList : public TWrapPointList {};

// One entry for each wrapped line: the column where its last segment starts.
class TLineInfoList : public TWrapPointList {};

// Lines as a sorted list of disjoint ranges that never touch: the lines
// whose wrap points are known. A wrap runs lazily, so the known lines need
// not be one block: a jump to the end of a long text wraps what it shows
// there and nothing in between.
class TLineRanges {
public:
    bool Contains(int line) const;
    void Add(int first, int last);
    // Removes lines first to last (nothing when last < first).
    void Remove(int first, int last);
    // The number of lines of the ranges below line.
    int CountBefore(int line) const;
    // The highest line of a range, -1 when there is none.
    int Last() const { return m_ranges.empty() ? -1 : m_ranges.back().second; }
    // The first line at or after line that is not in a range.
    int FirstMissingFrom(int line) const;
    // The last line at or before line that is not in a range (-1: none).
    int LastMissingBefore(int line) const;
    void Clear() { m_ranges.clear(); }
    int RangeCount() const { return int(m_ranges.size()); }

private:
    // The index of the first range that ends at or after line.
    std::size_t FirstEndingFrom(int line) const;

    // invariant: first <= second in each range, and each range's first is
    // above the previous range's second + 1 (ranges neither overlap nor
    // touch).
    std::vector<std::pair<int, int>> m_ranges;
};
