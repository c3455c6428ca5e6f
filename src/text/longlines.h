#pragma once

#include "simpleparser.h"

#include <QtGlobal>

#include <algorithm>
#include <climits>
#include <vector>

// What the store keeps for a line too long to be parsed whole at every
// keystroke: resume points (places inside the line where the parser can
// start again, with all it carries there) every few kilobytes, and the
// attributes of one window of the line, the part last shown.
//
// After an edit the line is parsed again from the last point safely in front
// of it, and the pass stops at the first old point behind the edit that it
// reaches in the same state: from there on everything, the line's end state
// included, is as before. So a keystroke costs what lies between two points,
// not the line.
struct TLongLine {
    int line = 0;
    // The points belong to the line's text as parsed from startState, apart
    // from the edited columns below.
    bool valid = false;
    quint32 startState = 0;
    quint32 endState = 0;
    // invariant: sorted by pos, strictly increasing.
    std::vector<TResumePoint> points;
    // The columns [dirtyFrom, dirtyTo) were edited since the points were
    // found (dirtyFrom > dirtyTo: none); the points there were dropped and
    // the ones behind moved with the text.
    int dirtyFrom = INT_MAX;
    int dirtyTo = INT_MIN;
    // The attributes of columns [windowFrom, windowFrom + window.size());
    // windowValid is cleared by any edit of the line.
    std::vector<uchar> window;
    int windowFrom = 0;
    bool windowValid = false;

    bool Dirty() const { return dirtyFrom <= dirtyTo; }
};

// The long lines of a store, kept in step with its edits: inserted and
// deleted lines move them, and a splice inside a line moves its points.
//
// invariant: m_lines is sorted by line, without duplicates.
class TLongLines {
public:
    // Lines shorter than the threshold are parsed whole; points are found
    // spacing bytes apart. Both are settable so that tests can exercise
    // them on lines of some hundred kilobytes.
    static constexpr int kDefaultThreshold = 1 << 18;
    static constexpr int kDefaultSpacing = 4096;

    int Threshold() const { return m_threshold; }
    void SetThreshold(int threshold) { m_threshold = std::max(1, threshold); }
    int Spacing() const { return m_spacing; }
    void SetSpacing(int spacing) { m_spacing = std::max(1, spacing); }

    TLongLine* Find(int line);
    const TLongLine* Find(int line) const { return const_cast<TLongLines*>(this)->Find(line); }
    TLongLine& Get(int line);
    void Drop(int line);
    // count bytes at pos of line were replaced by inserted bytes.
    void Spliced(int line, int pos, int count, int inserted);
    void LinesInserted(int index, int count);
    void LinesDeleted(int index, int count);
    void Clear() { m_lines.clear(); }
    void Swap(TLongLines& other) { m_lines.swap(other.m_lines); }
    int Count() const { return int(m_lines.size()); }

private:
    std::vector<TLongLine>::iterator LowerBound(int line);

    std::vector<TLongLine> m_lines;
    int m_threshold = kDefaultThreshold;
    int m_spacing = kDefaultSpacing;
};
