#pragma once

#include <QtGlobal>

#include <compare>
#include <vector>

class TCustomMemoSource;
class TMemoWordWrap;
struct TTextPos;

// One screen row: the line it shows and the columns of that line in it.
struct TRow {
    static constexpr int kToEnd = 0x7fffffff;
    int line = 0;
    int startColumn = 0;
    int endColumn = kToEnd; // the line's last row holds every column from its start on
    bool firstOfLine = true; // only the first row of a line gets its number
    bool LastOfLine() const { return endColumn == kToEnd; }
};

// A place among the rows: a line and one of its rows (0 unless wrapped).
struct TRowPos {
    int line = 0;
    int row = 0;
    friend auto operator<=>(const TRowPos&, const TRowPos&) = default;
};

// The one place where view rows and text lines meet. The view's top is a
// row of a line; the rows below it take the rest of that line's rows and
// then the following lines', each line one row unless word wrap cuts it into
// several, skipping lines hidden by collapsing while the outline column is
// shown (never while wrapping). Lines past the text still get rows (empty
// ones), so that the window is always filled.
class TRowMap {
public:
    void SetSource(const TCustomMemoSource* source) { m_source = source; }
    // The wrap the rows follow while it is on; its look-ups wrap lines
    // lazily, which is why the map holds it mutable.
    void SetWrap(TMemoWordWrap* wrap) { m_wrap = wrap; }
    bool Wrapping() const;
    // Collapsed lines are skipped only while the outline column is shown.
    void SetSkipHidden(bool skip) { m_skipHidden = skip; }
    bool SkipHidden() const { return m_skipHidden; }

    // count rows starting firstRow rows below top.
    std::vector<TRow> Rows(TRowPos top, int firstRow, int count) const;
    // The row of line's first row counted from top: -top.row for top's own
    // line, -1 when the line is above it, limit when it is limit rows or
    // more below it (or hidden and nothing shown below it within the limit).
    int RowOfLine(TRowPos top, int line, int limit) const;
    // The row that shows a text position, counted from top (negative above
    // it, limit at limit rows or more below it).
    int RowOf(TRowPos top, TTextPos pos, int limit) const;
    // The rows from a down to b (b at or below a), at most limit.
    int Distance(TRowPos a, TRowPos b, int limit) const;
    // The number of rows a line takes (0 when hidden).
    int RowsOfLine(int line) const;
    // The first shown line at or after line (line itself past the text).
    int ShownLineFrom(int line) const;
    // The row rows below from (above it when negative; never above the
    // first row).
    TRowPos Step(TRowPos from, int rows) const;
    // The shown line rows rows below top.
    int LineAtRow(TRowPos top, int row) const { return Step(top, row).line; }
    // The row that shows a text position.
    TRowPos RowPosOf(TTextPos pos) const;
    // Whether rows skip folded lines now; the index of a line among the
    // shown ones (its row counted from the first line, unwrapped), and back.
    bool Folding() const;
    qint64 ShownIndex(int line) const;
    int LineOfShownIndex(qint64 index) const;
    // The columns of a row.
    TRow RowAt(TRowPos pos) const;

private:
    bool IsShown(int line) const;
    // The shown line before line, -1 when there is none.
    int ShownLineBefore(int line) const;

    const TCustomMemoSource* m_source = nullptr;
    TMemoWordWrap* m_wrap = nullptr;
    bool m_skipHidden = false;
};
