#pragma once

#include "memorenderer.h"
#include "structuretyping.h"

#include <QtGlobal>

#include <vector>

class TCustomDCMemo;
struct TMemoChange;

// What the editor control does with the structure of its text: the outline
// column and the rows folds hide (shown while moHideInvisibleLines is on and
// word wrap off), the bracket or tag at the caret and
// its partner painted in the match colours (a bracket without one in the
// error colours), and typing by structure (structuretyping.h).
//
// The folds live in the text store; a view learns that they changed from
// their generation, whatever changed them (a command, a click, an edit, a
// parse that found a fold's lines changed), and lays its rows out again.
class TMemoStructure {
public:
    explicit TMemoStructure(TCustomDCMemo& memo) : m_memo(memo) {}

    // Whether the outline column is shown; true when that changed.
    bool UpdateOutline();
    // A store was attached.
    void Attached();
    void SourceChanged(const TMemoChange& change);
    // A parse pass ended (maybe inside a paint).
    void LinesParsed();
    // A paint ended: what a parse during it changed is laid out now.
    void AfterPaint();

    // The brackets or tags marked for the caret, for the renderer.
    void AddMarks(TRenderConfig& config) const;
    // Finds the marks for where the caret stands now, repainting the lines
    // of the old and the new ones.
    void UpdateMarks();

    TStructureTyping& Typing() { return m_typing; }

private:
    void FoldsChanged();
    void InvalidateMarks();

    TCustomDCMemo& m_memo;
    TStructureTyping m_typing;
    quint64 m_foldGeneration = 0;
    bool m_relayoutAfterPaint = false;
    std::vector<TMatchRange> m_matched;
    std::vector<TMatchRange> m_unmatched;
};
