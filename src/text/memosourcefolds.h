#pragma once

#include "foldranges.h"
#include "position.h"
#include "structurematch.h"

#include <QByteArray>

#include <utility>
#include <vector>

class TCustomMemoSource;
class TInternalStrings;
struct TStructureEntry;
struct TStructureEvent;

// The folding and the bracket and tag matching of a text store, worked out
// from the structure its parser reports. A part of the store itself (it is
// one of its bases), kept apart because neither needs the rest of the
// store's insides to be read.
//
// A fold point is a line that starts a block over several lines: one the
// parser's structure says opens a brace, a comment, a block or an element
// that ends on a later line, or a run of import lines. Fold points are known
// for the lines parsed so far; collapsing one hides the lines of its block
// after it. The caret never stays on a hidden line: an operation that leaves
// it there expands what hides it.
class TMemoFolding {
public:
    // 0 expanded, 1 collapsed, 2 not a collapse point.
    int CollapseState(int line) const;
    // 1 collapses the fold point at line, 0 expands it, 2 makes the line no
    // fold point. A line the structure makes no fold point becomes one by
    // hand with 0 or 1, folding up to the next fold point.
    void SetCollapseState(int line, int state);
    // Whether the text can have fold points: its parser reports structure,
    // or points were set by hand.
    bool HasOutline() const;
    // The last line of the block the fold point at line starts, parsing on
    // as far as needed; -1 when line is no fold point or its block does not
    // end.
    int FoldEnd(int line);
    // Collapse / expand the fold point at line; false when nothing changed.
    bool FoldLine(int line);
    bool UnfoldLine(int line);
    // The caret line's fold point, or else (or when it is collapsed
    // already) the innermost one around the caret; its line keeps the
    // caret.
    bool FoldAtCaret();
    bool UnfoldAtCaret();
    // Every fold point of the text (which is parsed to its end first), and
    // every one that starts a comment.
    void FoldAll();
    void FoldAllComments();
    void UnfoldAll();
    // What a collapsed fold point shows behind its line ("{...}",
    // "<div>...</div>"); empty when it is not collapsed.
    QByteArray FoldMarker(int line) const;
    // The collapsed fold points, and collapsing those of a list (a session).
    std::vector<int> CollapsedLines() const;
    void CollapseLines(const std::vector<int>& lines);

    // Brackets and tags are matched by the structure the parser reports, so
    // brackets in strings and comments take no part. A partner further than
    // this many lines away is not looked for.
    static constexpr int kMatchReach = 100'000;
    // The bracket at pos or just before it, or else the tag whose name holds
    // pos, and its partner.
    TStructureMatch MatchAt(TTextPos pos);
    // The innermost element open at pos: its name and the line of its
    // start tag; false when none is.
    bool OpenElementAt(TTextPos pos, QByteArray& name, int& line);

protected:
    TMemoFolding() = default;
    ~TMemoFolding() = default;

private:
    friend class TCustomMemoSource;

    TCustomMemoSource& Source();
    const TCustomMemoSource& Source() const;
    TInternalStrings& Strings();
    const TInternalStrings& Strings() const;

    // After a pass, the lines whose structure changed get their fold points
    // anew, and a collapsed fold whose lines changed what they open or close
    // is expanded; without structure nothing folds.
    void StructureChanged(const std::vector<std::pair<int, bool>>& lines);
    // The fold points of a text whose structure was put in whole while
    // nothing was folded (a text just read): a line's point depends on its
    // entry and its neighbours' only, so each entry's line and the line in
    // front of it are looked at once, and only where there is something to
    // find.
    void PlaceFoldPoints();
    void DropStructure();
    void UpdateCollapsePoint(int line);
    // Whether the line of entry is a fold point, given the entries before
    // and after it in the list (null: none).
    bool FoldsAt(const TStructureEntry& entry, const TStructureEntry* before, const TStructureEntry* after) const;
    // Whether the element entry's line opens ends on that line, as the next
    // line's entry (next, null when it has none) tells.
    bool EndsOnItsLine(const TStructureEntry& entry, const TStructureEntry* next) const;
    bool IsRunLine(int line) const;
    bool IsRun(const TStructureEntry& entry) const;
    int RunEnd(int line);
    // The line of the structure entry before / after line's (-1: none).
    int RunNeighbour(int line, int step) const;
    // Parses on until the structure of line is known (false: it is past the
    // text).
    bool KnowStructureOf(int line);
    TFoldRanges::TFold FoldOf(int line, int last) const;
    TFoldRanges::TFold FoldOf(const TStructureEntry& entry, int last) const;
    // Every block of the text that ends (parsed to its end first), sorted.
    std::vector<TFoldRanges::TFold> EveryFold();
    // Collapses folds, keeping the caret out of them.
    void CollapseFolds(std::vector<TFoldRanges::TFold> folds, bool replace);
    // An operation left the caret on a hidden line: the folds around it open.
    void KeepCaretShown();
    void MatchBracket(int line, const std::vector<TStructureEvent>& events, int index, TStructureMatch& match);
    void MatchTag(int line, const std::vector<TStructureEvent>& events, int index, TStructureMatch& match);

    // Fold points set by hand (SetCollapseState) were made.
    bool m_manualFolds = false;
};
