// Positions the store keeps up to date: how edits at the caret shift them,
// and the read-only marks of lines.

#include "memosource.h"

#include <algorithm>

// -- positions -----------------------------------------------------------------

void TCustomMemoSource::ResetPositions()
{
    BeginUpdate(Reason::kResetPositions);
    for (int i = 0; i < m_positions.Count(); ++i)
        m_positions.At(i)->SetPos({0, 0});
    if (m_selectionMode != smNone || m_positions.At(kCaretIndex)->Pos() != TTextPos{0, 0})
        m_changeFlags |= Change::kCaretMoved;
    m_selectionMode = smNone;
    EndUpdate();
}

TPosition* TCustomMemoSource::AddPosition(TTextPos pos)
{
    auto* position = static_cast<TPosition*>(m_positions.Add());
    position->SetPos(pos);
    position->OnAllowUpdate = [](const TPosition&, bool&, bool&) {};
    return position;
}

void TCustomMemoSource::RemovePosition(TPosition* position)
{
    // The caret and the block ends are the store's own.
    const int index = m_positions.IndexOf(position);
    if (index > kSavedEndIndex)
        m_positions.Delete(index);
}

bool TCustomMemoSource::MayShift(const TPosition& position, bool& column, bool& line) const
{
    if (!position.OnAllowUpdate)
        return false;
    column = line = true;
    position.OnAllowUpdate(position, column, line);
    return column || line;
}

void TCustomMemoSource::ShiftForInsert(int count)
{
    const TTextPos caret = Caret();
    for (int i = 0; i < m_positions.Count(); ++i) {
        TPosition& p = *m_positions.At(i);
        bool column, line;
        if (p.Line() != caret.line || !MayShift(p, column, line) || !column)
            continue;
        // The block begin moves only when strictly behind the caret, so that
        // text typed at the start of a block stays outside it.
        const bool behind = i == kBlockBeginIndex ? p.Column() > caret.column : p.Column() >= caret.column;
        if (behind)
            p.SetColumn(p.Column() + count);
    }
    for (int n = 0; n < kBookmarkCount; ++n) {
        if (m_bookmarkSet[n] && m_bookmarks[n].line == caret.line && m_bookmarks[n].column > caret.column)
            m_bookmarks[n].column += count;
    }
}

void TCustomMemoSource::ShiftForDelete(int count)
{
    const TTextPos caret = Caret();
    for (int i = 0; i < m_positions.Count(); ++i) {
        TPosition& p = *m_positions.At(i);
        bool column, line;
        if (p.Line() != caret.line || !MayShift(p, column, line) || !column)
            continue;
        if (p.Column() > caret.column)
            p.SetColumn(std::max(caret.column, p.Column() - count));
    }
    for (int n = 0; n < kBookmarkCount; ++n) {
        TTextPos& b = m_bookmarks[n];
        if (m_bookmarkSet[n] && b.line == caret.line && b.column > caret.column)
            b.column = std::max(caret.column, b.column - count);
    }
}

void TCustomMemoSource::ShiftForLineBreak(int column)
{
    const TTextPos caret = Caret();
    for (int i = 0; i < m_positions.Count(); ++i) {
        TPosition& p = *m_positions.At(i);
        bool mayColumn, mayLine;
        if (p.Line() < caret.line || !MayShift(p, mayColumn, mayLine))
            continue;
        if (p.Line() > caret.line) {
            if (mayLine)
                p.SetLine(p.Line() + 1);
            continue;
        }
        const bool behind = i == kBlockBeginIndex ? p.Column() > column : p.Column() >= column;
        if (behind && mayLine) {
            p.SetLine(p.Line() + 1);
            if (mayColumn)
                p.SetColumn(p.Column() - column);
        }
    }
    for (int n = 0; n < kBookmarkCount; ++n) {
        TTextPos& b = m_bookmarks[n];
        if (!m_bookmarkSet[n] || b.line < caret.line)
            continue;
        if (b.line > caret.line) {
            ++b.line;
        } else if (b.column >= column && (column == 0 || b.column > column)) {
            // A bookmark at the start of a line that is pushed down follows
            // its text.
            ++b.line;
            b.column -= column;
        }
    }
}

void TCustomMemoSource::ShiftForJoin(int joinColumn)
{
    const int line = CaretLine();
    for (int i = 0; i < m_positions.Count(); ++i) {
        TPosition& p = *m_positions.At(i);
        bool mayColumn, mayLine;
        if (p.Line() <= line || !MayShift(p, mayColumn, mayLine) || !mayLine)
            continue;
        if (p.Line() == line + 1) {
            p.SetLine(line);
            if (mayColumn)
                p.SetColumn(p.Column() + joinColumn);
        } else {
            p.SetLine(p.Line() - 1);
        }
    }
    for (int n = 0; n < kBookmarkCount; ++n) {
        TTextPos& b = m_bookmarks[n];
        if (!m_bookmarkSet[n] || b.line <= line)
            continue;
        if (b.line == line + 1) {
            b.line = line;
            b.column += joinColumn;
        } else {
            --b.line;
        }
    }
}

bool TCustomMemoSource::IsLineReadOnly(int line) const
{
    if (m_readOnly)
        return true;
    // A line below the text can only come by breaking the last line at its
    // end, so it is as writable as the last line.
    if (line >= LineCount() && LineCount() > 0)
        line = LineCount() - 1;
    return InRealLine(line) && m_strings.Item(line).Has(TStringItem::kReadOnly);
}

void TCustomMemoSource::SetLineReadOnly(int line, bool readOnly)
{
    if (!InRealLine(line))
        return;
    BeginUpdate(Reason::kReadOnly);
    m_strings.Item(line).Set(TStringItem::kReadOnly, readOnly);
    MarkChanged(line, line);
    EndUpdate();
}
