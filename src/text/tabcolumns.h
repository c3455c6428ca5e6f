#pragma once

#include "tabstops.h"

#include <string_view>
#include <vector>

// Display columns of long lines with tabs. A tab's width depends on the
// column it starts at, so the column of a place on such a line is found by
// walking the line from its start: fine for a line of a screen's width, but
// a view showing rows deep inside a line of megabytes would pay the whole
// line for every row it paints. For lines of at least kThreshold bytes this
// keeps the display length and the column of every kSpacing-th byte, built
// in one walk when first asked for; any question about a place then walks
// at most kSpacing bytes from the nearest kept place before it.
//
// Kept in step with the text by the line list (internalstrings.cpp): an
// edited line loses its index, inserted and deleted lines move the others.
// New tab stops make every index stale; the store clears them.
//
// invariant: m_lines is sorted by line, without duplicates.
class TTabColumns {
public:
    static constexpr int kThreshold = 1 << 14;
    static constexpr int kSpacing = 1 << 12;

    struct TIndex {
        int line = 0;
        int length = 0;            // display columns, capped as TTabStops caps them
        std::vector<int> columns;  // columns[k]: where byte k * kSpacing starts
    };

    // The index of line (whose raw text is raw), built when missing.
    const TIndex& Of(int line, std::string_view raw, const TTabStops& stops);
    // The kept place nearest before raw index, and strictly before display
    // column (or the line's start).
    static TTabPlace PlaceBeforeIndex(const TIndex& index, int rawIndex);
    static TTabPlace PlaceBeforeColumn(const TIndex& index, int column);

    void Drop(int line);
    void LinesInserted(int index, int count);
    void LinesDeleted(int index, int count);
    void Clear() { m_lines.clear(); }
    void Swap(TTabColumns& other) { m_lines.swap(other.m_lines); }
    int Count() const { return int(m_lines.size()); }

private:
    std::vector<TIndex>::iterator LowerBound(int line);

    std::vector<TIndex> m_lines;
};
