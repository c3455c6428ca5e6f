// Bookmarks and the per-line data the views show: line styles and outline
// (collapse) points.

#include "memosource.h"

#include <algorithm>

// -- bookmarks -----------------------------------------------------------------

namespace {

int bookmarkSlot(int n)
{
    if (n == 0)
        n = 10;
    return (n >= 1 && n <= 10) ? n - 1 : -1;
}

} // namespace

void TCustomMemoSource::ToggleBookmark(int n)
{
    const int slot = bookmarkSlot(n);
    if (slot < 0)
        return;
    if (m_bookmarkSet[slot] && m_bookmarks[slot].line == CaretLine())
        ClearBookmark(n);
    else
        SetBookmark(n, Caret());
}

void TCustomMemoSource::SetBookmark(int n, TTextPos pos)
{
    const int slot = bookmarkSlot(n);
    if (slot < 0)
        return;
    BeginUpdate(0);
    if (m_bookmarkSet[slot])
        MarkChanged(m_bookmarks[slot].line, m_bookmarks[slot].line);
    m_bookmarkSet[slot] = true;
    m_bookmarks[slot] = pos;
    MarkChanged(pos.line, pos.line);
    EndUpdate();
}

void TCustomMemoSource::ClearBookmark(int n)
{
    const int slot = bookmarkSlot(n);
    if (slot < 0 || !m_bookmarkSet[slot])
        return;
    BeginUpdate(0);
    m_bookmarkSet[slot] = false;
    MarkChanged(m_bookmarks[slot].line, m_bookmarks[slot].line);
    EndUpdate();
}

bool TCustomMemoSource::IsBookmarkSet(int n) const
{
    const int slot = bookmarkSlot(n);
    return slot >= 0 && m_bookmarkSet[slot];
}

TTextPos TCustomMemoSource::BookmarkPos(int n) const
{
    const int slot = bookmarkSlot(n);
    return slot >= 0 && m_bookmarkSet[slot] ? m_bookmarks[slot] : TTextPos{};
}

bool TCustomMemoSource::GotoBookmark(int n)
{
    if (!IsBookmarkSet(n))
        return false;
    // A jump to a place, not a move by lines: the view's caret hook (which
    // counts wrapped rows) stays out of it.
    TUpdate update(*this, Reason::kCaretMove);
    JumpCaret(ClampToText(BookmarkPos(n)));
    return true;
}

quint16 TCustomMemoSource::BookmarksOnLine(int line) const
{
    quint16 set = 0;
    for (int slot = 0; slot < kBookmarkCount; ++slot) {
        if (m_bookmarkSet[slot] && m_bookmarks[slot].line == line)
            set |= quint16(1u << slot);
    }
    return set;
}

std::vector<int> TCustomMemoSource::BookmarkedLines() const
{
    std::vector<int> lines;
    for (int slot = 0; slot < kBookmarkCount; ++slot) {
        if (m_bookmarkSet[slot])
            lines.push_back(m_bookmarks[slot].line);
    }
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

// -- per-line view data ----------------------------------------------------------

int TCustomMemoSource::LineStyle(int line) const
{
    return InRealLine(line) ? m_strings.Item(line).lineStyle : 0;
}

void TCustomMemoSource::SetLineStyle(int line, int style)
{
    if (!InRealLine(line))
        return;
    BeginUpdate(0);
    m_strings.Item(line).lineStyle = quint8(std::clamp(style, 0, 255));
    MarkChanged(line, line);
    EndUpdate();
}

int TCustomMemoSource::CollapseState(int line) const
{
    if (!InRealLine(line))
        return 2;
    switch (m_strings.Item(line).collapse) {
    case TStringItem::kExpanded: return 0;
    case TStringItem::kCollapsed: return 1;
    default: return 2;
    }
}

void TCustomMemoSource::SetCollapseState(int line, int state)
{
    if (!InRealLine(line))
        return;
    BeginUpdate(0);
    m_strings.Item(line).collapse = state == 0 ? TStringItem::kExpanded
                                    : state == 1 ? TStringItem::kCollapsed
                                                 : TStringItem::kNoCollapsePoint;
    // A collapsed point hides the lines up to the next collapse point.
    for (int i = line + 1; i < LineCount() && m_strings.Item(i).collapse == TStringItem::kNoCollapsePoint; ++i)
        m_strings.Item(i).Set(TStringItem::kHidden, state == 1);
    MarkChanged(line, TMemoChange::kToEnd);
    EndUpdate();
}

bool TCustomMemoSource::IsLineVisible(int line) const
{
    return !InRealLine(line) || !m_strings.Item(line).Has(TStringItem::kHidden);
}
