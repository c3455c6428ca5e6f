#pragma once

#include "charset.h"
#include "linematcher.h"
#include "memorenderer.h"
#include "rowmap.h"

#include <memory>
#include <vector>

class TCustomMemoSource;

// What a view shows of the last search in its text store: the match just
// found in the match colours, and every other match of the same search on
// the lines being painted in a lighter form of them.
//
// Only the lines of the rows being painted are searched, each once per
// paint however many rows it takes, so a text of any size costs what the
// window shows and nothing else; a very long line is searched only around
// the columns shown (a match reaching beyond kMargin bytes past them may be
// missed, never one that is shown whole).
class TSearchMarks {
public:
    // Lines longer than this are searched around the columns shown only.
    static constexpr int kWholeLine = 64 * 1024;
    static constexpr int kMargin = 1024;

    TSearchMarks();
    ~TSearchMarks();

    // Adds the marks of the lines of rows to ranges. leftColumn is the
    // view's horizontal scroll, columns how many a row shows.
    void Collect(const TCustomMemoSource& source, const std::vector<TRow>& rows, int leftColumn, int columns,
                 std::vector<TMatchRange>& ranges);

private:
    bool Ready(const TCustomMemoSource& source);

    TLineMatcher m_matcher;
    // What the matcher was prepared for.
    const TCustomMemoSource* m_source = nullptr;
    quint64 m_serial = 0;
    bool m_prepared = false;
    // The expression took too long on a line: the other matches of this
    // search are not looked for again, so that no paint waits on it.
    bool m_gaveUp = false;
};
