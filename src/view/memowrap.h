#pragma once

#include "position.h"
#include "wraplists.h"

#include <QtGlobal>

#include <functional>
#include <string_view>
#include <vector>

class TCustomMemoSource;

// One row of a line: its index among the line's rows and its columns
// [start, end); end is kToEnd on the line's last row, which also holds
// every column past the line's end.
struct TRowSegment {
    static constexpr int kToEnd = 0x7fffffff;
    int row = 0;
    int start = 0;
    int end = kToEnd;
};

// How rows are cut: off (one line, one row), or on with a row capacity in
// characters, or with a proportional font in pixels by the measured
// advances of each line.
struct TWrapLayout {
    bool on = false;
    int capacity = 2;
    // With a measure: the width of a row in pixels (capacity is then the
    // width in average characters, for estimates).
    int width = 0;
    // The advance of every displayed character of a line, in pixels; empty
    // for a monospaced font.
    std::function<void(int line, std::vector<qreal>& advances)> measure;
    // Called before lines first to last are measured (always, and before
    // any of them), so that their attributes, and with them their fonts,
    // are computed first.
    std::function<void(int first, int last)> prepare;

    bool SameCut(const TWrapLayout& other) const
    {
        return on == other.on && capacity == other.capacity && width == other.width
               && bool(measure) == bool(other.measure);
    }
};

// What a re-wrap changed, for the repaint: from line first, to the end of
// the window when a line's row count changed, the whole control after a
// full re-wrap, else the lines first to last.
struct TRewrapResult {
    int first = 0;
    int last = -1;
    bool rowsChanged = false;
    bool full = false;
};

// The word wrap of an editor control: the wrap points of the lines and the
// line info of the wrapped ones, computed from the attached text store,
// which it never changes.
//
// Wrapping is lazy. A re-wrap to the end computes the lines from the top
// line to 255 below it; every other line is wrapped the first time a row
// look-up reaches it, a chunk at a time, so a jump to the end of a million
// lines wraps the lines it shows and nothing in between. The known lines
// are therefore a set of ranges, and the rows of the others are estimated
// (for the scroll bar) from a sample taken at each full re-wrap.
class TMemoWordWrap {
public:
    static constexpr int kToEnd = TRowSegment::kToEnd;
    // A re-wrap to the end wraps this many lines below the top line.
    static constexpr int kLazyLines = 255;
    // A look-up of a line not wrapped yet wraps up to this many lines from
    // it down that are not wrapped either. Only downwards: the rows above a
    // line must not change while the scroll bar's thumb is dragged down to
    // it (its row index would move under the pointer).
    static constexpr int kChunk = 64;
    // A finite re-wrap over more lines than this forgets them instead, to be
    // wrapped lazily (a replace over the whole text must not wrap it all).
    static constexpr int kMaxEagerLines = 4 * (kLazyLines + 1);
    // Lines measured across the text to estimate the rows of lines not
    // wrapped yet.
    static constexpr int kSamples = 1024;
    // A sampled line longer than this many columns is estimated by its
    // length rather than cut.
    static constexpr int kExactEstimate = 1 << 16;

    // Forgets every wrap point; lines of the new store are wrapped by the
    // next re-wrap.
    void SetSource(const TCustomMemoSource* source);
    const TWrapLayout& Layout() const { return m_layout; }
    // Takes the layout; the caller re-wraps when the cut changed.
    void SetLayout(TWrapLayout layout) { m_layout = std::move(layout); }
    bool On() const { return m_layout.on && m_source; }
    // Whether lines are being cut right now (a measure may parse, and what
    // the parse reports must not look rows up meanwhile).
    bool Busy() const { return m_busy; }

    // Recomputes the wrap points of lines first to last (last kToEnd: to the
    // end, wrapping now only the lines up to topLine + kLazyLines).
    TRewrapResult Rewrap(int first, int last, int topLine);
    // Removes the entries of lines first to last from both lists (nothing
    // when last < first); those lines are wrapped again when looked up.
    void RemoveLines(int first, int last);
    // Wraps what is not wrapped yet of the count lines above line and line
    // itself, before the rows above a line are walked upwards.
    void WrapAbove(int line, int count);
    // -- row look-ups (each wraps the line first when it is not wrapped yet) ---
    // The rows of a line: its wrap points + 1; lines outside the text have
    // one.
    int RowsOfLine(int line);
    // The row holding a text position and that row's columns.
    TRowSegment SegmentOf(TTextPos pos);
    // Row row of a line (clamped to the line's rows).
    TRowSegment SegmentAt(int line, int row);
    // The text position of a column counted from the start of a line's row.
    TTextPos PositionAt(int line, int row, int column);

    // -- the lists -------------------------------------------------------------
    const TWordWrapList& WrapList() const { return m_wraps; }
    const TLineInfoList& LineInfo() const { return m_lineInfo; }
    // The highest line whose wrap points are known (-1: none).
    int WrappedUpTo() const { return m_known.Last(); }
    bool IsWrapped(int line) const { return m_known.Contains(line); }
    // How many lines are wrapped, and in how many separate ranges.
    int WrappedLines() const { return m_known.CountBefore(kToEnd); }
    int WrappedRanges() const { return m_known.RangeCount(); }

    // -- estimates for the scroll bar ---------------------------------------------
    // The rows above line: exact for wrapped lines, the sampled average for
    // the others. Strictly increasing in line; wrapping a line changes it
    // only for the lines below that one.
    qint64 RowIndex(int line) const;
    // The line whose rows hold the row index, and its row there (lines
    // counted up to lines, the rest of the text being past them).
    void LineAtRowIndex(qint64 index, int lines, int& line, int& row);
    // The extra rows of a line not wrapped yet, as the sample gave them.
    double ExtraRowsPerLine() const { return m_extraPerLine; }

private:
    // Cuts one line, appending its wrap points and line info; returns its
    // rows. An estimate cuts by the capacity without measuring.
    int CutLine(int line, std::vector<TWrapPoint>* wraps, std::vector<TWrapPoint>* info, bool estimate);
    // The first column of the row after a row of line that starts at start
    // and ends at end.
    int RowAfter(int line, int start, int end) const;
    // CutLine for a monospaced line with tabs, over its raw text.
    int CutTabLine(int line, std::string_view raw, int length, int capacity, std::vector<TWrapPoint>* wraps,
                   std::vector<TWrapPoint>* info);
    void WrapRange(int first, int last);
    void Forget(int first, int last);
    void Clear();
    void Sample();
    // Wraps line and the lines below it that are not wrapped yet (a chunk).
    void WrapFrom(int line);

    const TCustomMemoSource* m_source = nullptr;
    TWrapLayout m_layout;
    TWordWrapList m_wraps;
    TLineInfoList m_lineInfo;
    TLineRanges m_known;
    double m_extraPerLine = 0;
    // Set while lines are cut: the measure may parse, and a look-up from a
    // parse notice must not start a second cut inside this one.
    bool m_busy = false;
    std::vector<TWrapPoint> m_newWraps;
    std::vector<TWrapPoint> m_newInfo;
    std::vector<qreal> m_advances;
};
