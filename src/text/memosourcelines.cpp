// Bookmarks and the per-line data the views show: line styles (fold points
// are memosourcefolds.cpp's).

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
