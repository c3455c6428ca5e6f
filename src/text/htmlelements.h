#pragma once

#include "linestructure.h"

#include <QtGlobal>

#include <functional>
#include <vector>

// How elements nest the way browsers read them, as far as folding and
// matching need it: void elements (br, img, input...) never open; li, p, dt,
// dd, option, tr, td, th and the table sections end without their closing
// tag where the next one of their kind (or a block that may not sit in a p)
// begins; a closing tag ends every element opened inside the one it names,
// and one that names no open element is ignored.
namespace HtmlElements {

// Per element name (a TStructureNames id, in lower case).
bool IsVoid(quint32 name);
// Opening element opening while top is the innermost open element ends top
// first.
bool OpenEnds(quint32 opening, quint32 top);
// An element whose end tag may be left out (li, p, td...).
bool EndsWithoutTag(quint32 name);
// An element that an opening of its own never ends and that ends no other:
// a pair of its tags next to each other changes nothing around them.
bool Inert(quint32 name);

} // namespace HtmlElements

// The open comments, blocks and elements at a place of a text, built by
// applying events in text order. Each item carries the caller's mark
// (what it stands for, -1 for nothing) and the column it opened at; every
// item that ends is reported with whether its own closing text ended it
// (explicit) or something around it (implicit).
class TStructureStack {
public:
    struct TItem {
        quint8 kind = 0;
        quint32 name = 0;
        int column = 0;
        int line = 0;
        qint64 mark = -1;
    };
    // Called for each item that ends, with the line and column of what
    // ended it.
    using TEnded = std::function<void(const TItem& item, bool explicitEnd, int line, const TStructureEvent& by)>;

    // Applies a named event (comments, blocks, elements; brackets and run
    // marks change nothing) of line; an open is pushed with mark.
    void Apply(const TStructureEvent& event, int line, qint64 mark, const TEnded& ended);
    const std::vector<TItem>& Items() const { return m_items; }
    std::vector<TItem>& Items() { return m_items; }
    void Clear() { m_items.clear(); }

private:
    void EndTop(bool explicitEnd, int line, const TStructureEvent& by, const TEnded& ended);

    std::vector<TItem> m_items;
};
