// The selection: its modes, how the block option forces them, extending it
// around caret moves, and the selected text.

#include "memosource.h"

#include <algorithm>

// -- selection -------------------------------------------------------------------

int TCustomMemoSource::SelectionType(int requested)
{
    switch (m_blockOption) {
    case bkStreamSel: requested = smStream; break;
    case bkBlockSel: requested = smBlock; break;
    case bkNone: requested = smNone; break;
    case bkBoth: break;
    }
    if (OnGetSelectionType)
        OnGetSelectionType(*this, requested);
    return std::clamp(requested, int(smNone), int(smBlock));
}

void TCustomMemoSource::SetSelectionMode(int mode)
{
    mode = std::clamp(mode, 0, 2);
    if (mode == m_selectionMode)
        return;
    BeginUpdate(Reason::kSelection);
    m_selectionMode = quint8(mode);
    NormalizeSelection();
    EndUpdate();
}

void TCustomMemoSource::NormalizeSelection()
{
    TTextPos begin = BlockBegin();
    TTextPos end = BlockEnd();
    if (m_selectionMode == smBlock) {
        TTextPos topLeft{std::min(begin.line, end.line), std::min(begin.column, end.column)};
        TTextPos bottomRight{std::max(begin.line, end.line), std::max(begin.column, end.column)};
        begin = topLeft;
        end = bottomRight;
    } else if (end < begin) {
        std::swap(begin, end);
    }
    SetPosition(kBlockBeginIndex, begin);
    SetPosition(kBlockEndIndex, end);
}

void TCustomMemoSource::SetSelection(TTextPos begin, TTextPos end, int mode)
{
    BeginUpdate(Reason::kSetSelection);
    if (mode == smNone)
        mode = m_selectionMode == smNone ? int(smStream) : int(m_selectionMode);
    m_selectionMode = quint8(SelectionType(mode));
    SetPosition(kBlockBeginIndex, begin);
    SetPosition(kBlockEndIndex, end);
    NormalizeSelection();
    EndUpdate();
}

void TCustomMemoSource::ExtendSelection(TTextPos oldCaret, TTextPos newCaret, int mode)
{
    BeginUpdate(Reason::kSelection);
    mode = SelectionType(mode);
    if (mode == smNone) {
        m_selectionMode = smNone;
        EndUpdate();
        return;
    }
    TTextPos anchor = oldCaret;
    if (m_selectionMode != smNone) {
        const TTextPos begin = BlockBegin();
        const TTextPos end = BlockEnd();
        if (m_selectionMode == smBlock) {
            // Any corner of the rectangle may be the one at the caret; the
            // opposite corner stays.
            const bool top = oldCaret.line == begin.line;
            const bool bottom = oldCaret.line == end.line;
            const bool left = oldCaret.column == begin.column;
            const bool right = oldCaret.column == end.column;
            if ((top || bottom) && (left || right))
                anchor = {top ? end.line : begin.line, left ? end.column : begin.column};
        } else if (oldCaret == begin) {
            anchor = end;
        } else if (oldCaret == end) {
            anchor = begin;
        }
    }
    m_selectionMode = quint8(mode);
    SetPosition(kBlockBeginIndex, anchor);
    SetPosition(kBlockEndIndex, newCaret);
    NormalizeSelection();
    EndUpdate();
}

bool TCustomMemoSource::SelectedColumns(int line, int& left, int& right) const
{
    if (m_selectionMode == smNone)
        return false;
    const TTextPos begin = BlockBegin();
    const TTextPos end = BlockEnd();
    if (line < begin.line || line > end.line)
        return false;
    if (m_selectionMode == smBlock) {
        // A column block takes its right edge column too.
        left = begin.column;
        right = end.column + 1;
        if (m_encoding == teUtf8) {
            // The block is a rectangle of cells: on every line the whole
            // characters under its cells.
            const int leftCell = CellOfColumn(begin.line, begin.column);
            const int rightCell = CellOfColumn(end.line, end.column);
            left = ColumnAtOffset(line, leftCell, 1, false);
            right = NextCharColumn(line, ColumnAtOffset(line, rightCell, 1, false));
        }
        return true;
    }
    left = line == begin.line ? begin.column : 0;
    right = line == end.line ? end.column : TMemoChange::kToEnd;
    return right > left || line != end.line;
}

bool TCustomMemoSource::IsSelected(int line, int column) const
{
    int left, right;
    return SelectedColumns(line, left, right) && column >= left && column < right;
}

QByteArray TCustomMemoSource::SelectedPart(int line) const
{
    int left, right;
    if (!SelectedColumns(line, left, right))
        return {};
    const QByteArray text = LineText(line);
    if (left >= text.size())
        return {};
    return text.mid(left, right == TMemoChange::kToEnd ? -1 : right - left);
}

QByteArray TCustomMemoSource::SelectedText() const
{
    if (m_selectionMode == smNone)
        return {};
    QByteArray text;
    const TTextPos begin = BlockBegin();
    const TTextPos end = BlockEnd();
    for (int line = begin.line; line <= end.line; ++line) {
        if (line > begin.line)
            text += "\r\n";
        text += SelectedPart(line);
    }
    return text;
}
