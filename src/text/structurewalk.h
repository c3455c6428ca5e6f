#pragma once

#include "htmlelements.h"
#include "linestructures.h"

#include <functional>
#include <vector>

// A walk over the structure entries of a text from a line on, in order,
// keeping what is open at the place it has reached: braces and the open
// comments, blocks and elements. Each open that makes its line a fold point
// carries that line; when it ends, the walk reports the fold point with the
// last line of its block: the line of its closing text, or for an element
// that something around it ended, the line before.
//
// A walk reads entries only: lines not yet parsed have none, so the caller
// walks no further than the lines whose structure is known.
class TStructureWalk {
public:
    struct TBrace {
        int line = 0;
        int header = -1; // the fold point it makes, -1 for none
    };
    using TEnded = std::function<void(int header, int last)>;

    TStructureWalk(const TLineStructures& structures, int fromLine);

    // Applies the entries of the lines up to (not including) line.
    void WalkTo(int line);
    // Applies events of line (all of them, as a parse reports them, or an
    // entry's), in text order; with stopColumn, only those that start
    // before it.
    void ApplyLine(int line, int foldKind, const std::vector<TStructureEvent>& events, int stopColumn = 0x7fffffff);
    int Reached() const { return m_line; }
    // Ends what is still open at the end of a text whose last line is
    // last: elements end there (as browsers end them); an open brace,
    // comment or block has no end.
    void Finish(int last);

    const std::vector<TBrace>& Braces() const { return m_braces; }
    const TStructureStack& Stack() const { return m_stack; }
    TStructureStack& Stack() { return m_stack; }

    TEnded OnEnded;

private:
    void ApplyEntry(const TStructureEntry& entry);
    void MarkFold(int line, int foldKind);

    const TLineStructures& m_structures;
    int m_line;
    size_t m_next;
    std::vector<TBrace> m_braces;
    TStructureStack m_stack;
    TStructureStack::TEnded m_ended;
    std::vector<TStructureEvent> m_scratch;
};
