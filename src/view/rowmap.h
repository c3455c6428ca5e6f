#pragma once

#include <vector>

class TCustomMemoSource;

// One screen row: the line it shows and the columns of that line in it.
struct TRow {
    static constexpr int kToEnd = 0x7fffffff;
    int line = 0;
    int startColumn = 0;
    int endColumn = kToEnd;
    bool firstOfLine = true; // only the first row of a line gets its number
};

// The one place where view rows and text lines meet. The view's top line is
// a line index; the rows below it take the following lines, skipping lines
// hidden by collapsing while the outline column is shown. Lines past the
// text still get rows (empty ones), so that the window is always filled.
class TRowMap {
public:
    void SetSource(const TCustomMemoSource* source) { m_source = source; }
    // Collapsed lines are skipped only while the outline column is shown.
    void SetSkipHidden(bool skip) { m_skipHidden = skip; }
    bool SkipHidden() const { return m_skipHidden; }

    // count rows starting firstRow rows below topLine.
    std::vector<TRow> Rows(int topLine, int firstRow, int count) const;
    // The row of line's first row counted from topLine: -1 when the line is
    // above topLine, limit when it is limit rows or more below it (or hidden
    // and nothing shown below it within the limit).
    int RowOfLine(int topLine, int line, int limit) const;
    // The number of rows a line takes (0 when hidden).
    int RowsOfLine(int line) const;
    // The first shown line at or after line (line itself past the text).
    int ShownLineFrom(int line) const;
    // The shown line rows rows below topLine.
    int LineAtRow(int topLine, int row) const;
    // The shown line rows rows above line (line 0 when there are fewer).
    int LineAbove(int line, int rows) const;

private:
    bool IsShown(int line) const;

    const TCustomMemoSource* m_source = nullptr;
    bool m_skipHidden = false;
};
