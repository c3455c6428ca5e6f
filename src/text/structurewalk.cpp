// A walk over structure entries (see structurewalk.h). Braces are kept as a
// stack of their lines, since only where they open matters to a fold; the
// named kinds go through the element rules of TStructureStack.

#include "structurewalk.h"

#include <limits>

TStructureWalk::TStructureWalk(const TLineStructures& structures, int fromLine)
    : m_structures(structures), m_line(fromLine), m_next(structures.LowerBound(fromLine))
{
    m_ended = [this](const TStructureStack::TItem& item, bool explicitEnd, int line, const TStructureEvent&) {
        if (item.mark >= 0 && OnEnded)
            OnEnded(int(item.mark), explicitEnd ? line : line - 1);
    };
}

void TStructureWalk::WalkTo(int line)
{
    const size_t count = m_structures.Count();
    while (m_next < count) {
        const TStructureEntry& entry = m_structures.At(m_next);
        if (entry.line >= line)
            break;
        ApplyEntry(entry);
        ++m_next;
    }
    m_line = std::max(m_line, line);
}

void TStructureWalk::ApplyEntry(const TStructureEntry& entry)
{
    using namespace Structure;
    const int line = entry.line;
    for (int i = 0; i < entry.closes[skBrace] && !m_braces.empty(); ++i) {
        const TBrace brace = m_braces.back();
        m_braces.pop_back();
        if (brace.header >= 0 && OnEnded)
            OnEnded(brace.header, line);
    }
    const size_t braces = m_braces.size();
    for (int i = 0; i < entry.opens[skBrace]; ++i)
        m_braces.push_back(TBrace{line, -1});
    for (const TStructureEvent& event : m_structures.Events(entry))
        m_stack.Apply(event, line, -1, m_ended);
    if (entry.FoldKind() == skBrace && braces < m_braces.size())
        m_braces[braces].header = line;
    MarkFold(line, entry.FoldKind());
}

void TStructureWalk::ApplyLine(int line, int foldKind, const std::vector<TStructureEvent>& events, int stopColumn)
{
    using namespace Structure;
    const size_t braces = m_braces.size();
    for (const TStructureEvent& event : events) {
        if (event.column >= stopColumn)
            break;
        if (event.kind == skBrace) {
            if (event.IsOpen()) {
                m_braces.push_back(TBrace{line, -1});
            } else if (!m_braces.empty()) {
                const TBrace brace = m_braces.back();
                m_braces.pop_back();
                if (brace.header >= 0 && OnEnded)
                    OnEnded(brace.header, line);
            }
            continue;
        }
        m_stack.Apply(event, line, -1, m_ended);
    }
    if (stopColumn != std::numeric_limits<int>::max())
        return;
    // The first brace the line leaves open (pushed on it and still there).
    if (foldKind == skBrace) {
        for (size_t i = std::min(braces, m_braces.size()); i < m_braces.size(); ++i) {
            if (m_braces[i].line == line) {
                m_braces[i].header = line;
                break;
            }
        }
    }
    MarkFold(line, foldKind);
    m_line = std::max(m_line, line + 1);
    m_next = m_structures.LowerBound(m_line);
}

void TStructureWalk::MarkFold(int line, int foldKind)
{
    // Of the items the line opened and left open (the top of the stack),
    // the first of the line's fold kind carries the fold point.
    std::vector<TStructureStack::TItem>& items = m_stack.Items();
    TStructureStack::TItem* fold = nullptr;
    for (auto it = items.rbegin(); it != items.rend() && it->line == line; ++it) {
        if (it->kind == foldKind && (!fold || it->column < fold->column))
            fold = &*it;
    }
    if (fold)
        fold->mark = line;
}

void TStructureWalk::Finish(int last)
{
    for (const TStructureStack::TItem& item : m_stack.Items()) {
        if (item.kind == Structure::skTag && item.mark >= 0 && OnEnded)
            OnEnded(int(item.mark), last);
    }
    m_stack.Clear();
    m_braces.clear();
}
