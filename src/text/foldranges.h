#pragma once

#include <QtGlobal>

#include <cstddef>
#include <vector>

// The collapsed fold points of a text and the lines they hide. A fold point
// collapsed at line header hides the lines header + 1 to last. Folds nest:
// a fold inside a collapsed one keeps its own state, and the lines hidden
// are the union of every collapsed fold's lines, kept as disjoint runs with
// the count of hidden lines in front of each, so that the views find the
// shown line after a hidden block, or the row of a line, by a binary search
// instead of a walk over its lines.
//
// Edits keep it in step: lines inserted or deleted in front of a fold move
// it, and an edit inside the lines a fold hides drops that fold (its lines
// are shown again), since what it hid is no longer what it folded.
//
// invariant: m_folds is sorted by header, without two of one header, and
// every fold hides at least one line (last > header).
class TFoldRanges {
public:
    struct TFold {
        int header = 0;
        int last = 0;
        // What it folds (a Structure kind, -1 for a point set by hand) and
        // its name or label (TStructureNames), for the marker it shows.
        int kind = -1;
        quint32 name = 0;
    };

    bool Empty() const { return m_folds.empty(); }
    const std::vector<TFold>& Folds() const { return m_folds; }
    // The collapsed fold at header, or null.
    const TFold* Find(int header) const;
    // Collapses fold (replacing one at its header); nothing when it hides
    // no line.
    void Collapse(const TFold& fold);
    // Replaces every fold by folds (sorted by header or not); those that
    // hide nothing are left out.
    void Assign(std::vector<TFold> folds);
    // Expands the fold at header; false when none was collapsed there.
    bool Expand(int header);
    void Clear();
    // Counts every change of the folds or of the lines they hide, so that a
    // view can tell whether its rows are still the hidden lines' it laid
    // out.
    quint64 Generation() const { return m_generation; }

    bool IsHidden(int line) const;
    // The first shown line at or after line (line itself when none is
    // hidden there), and the last shown one at or before it (-1: none).
    int ShownFrom(int line) const;
    int ShownBefore(int line) const;
    // The hidden lines in front of line.
    int HiddenBefore(int line) const;
    int HiddenCount() const;
    // The line at the shown index (lines counted without the hidden ones).
    int LineOfShownIndex(int index) const;
    // Expands every fold that hides line; the headers expanded.
    std::vector<int> ExpandAround(int line);

    // count lines were inserted at index (the old line index moved down),
    // or deleted from index on. Folds they fall inside are dropped (true
    // when any was).
    bool LinesInserted(int index, int count);
    bool LinesDeleted(int index, int count);
    // The text of line changed: a fold hiding it is dropped.
    bool LineChanged(int line);

private:
    struct TRun {
        int first = 0;
        int last = 0;
        int hiddenBefore = 0; // hidden lines in the runs in front of this one
    };
    void Rebuild() const;
    // The run holding line, or the first run behind it.
    size_t RunAt(int line) const;

    void Changed()
    {
        m_dirty = true;
        ++m_generation;
    }

    std::vector<TFold> m_folds;
    mutable std::vector<TRun> m_runs;
    mutable bool m_dirty = false;
    quint64 m_generation = 0;
};
