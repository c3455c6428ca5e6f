// The five editing operations of the text store. Each works at the caret,
// opens its own update bracket and writes the undo records that let Undo
// replay it backwards from the caret.

#include "memosource.h"

#include <algorithm>
#include <string>

namespace {

bool editable(bool replaying, bool readOnly)
{
    // Undo and redo replay exactly what was recorded, read-only lines or not.
    return replaying || !readOnly;
}

} // namespace

void TCustomMemoSource::InsertString(const QByteArray& text)
{
    if (text.isEmpty() || !editable(m_replaying, IsLineReadOnly(CaretLine())))
        return;
    BeginUpdate(Reason::kInsertText);
    MaterializeCaretLine();
    const int line = CaretLine();
    const int column = CaretColumn();
    const int rawLength = int(m_strings.RawText(line).size());
    const int index = RawIndex(line, column);
    // Behind the line's end the gap is filled with blanks. The caret steps
    // back to the line end for the insert, so that undo deletes the blanks too.
    const int pad = std::max(0, index - rawLength);
    if (pad > 0)
        MoveCaretExactly(0, -pad);
    QByteArray inserted = pad > 0 ? QByteArray(pad, ' ') + text : text;
    const int at = std::min(index, rawLength);
    AddUndo(ukInserted, int(inserted.size()));
    m_strings.Splice(line, at, 0, std::string_view(inserted.constData(), size_t(inserted.size())));
    m_strings.Item(line).Set(TStringItem::kEdited, true);
    ShiftForInsert(DisplayColumn(line, at + int(inserted.size())) - DisplayColumn(line, at));
    MarkChanged(line, line);
    m_changeFlags |= Change::kText;
    m_parsedUpTo = std::min(m_parsedUpTo, line);
    if (pad > 0)
        MoveCaretExactly(0, pad);
    EndUpdate();
}

void TCustomMemoSource::DeleteChars(int count)
{
    const int line = CaretLine();
    if (count <= 0 || !InRealLine(line) || !editable(m_replaying, IsLineReadOnly(line)))
        return;
    const std::string_view raw = m_strings.RawText(line);
    const int index = RawIndex(line, CaretColumn());
    if (index >= int(raw.size()))
        return;
    count = std::min(count, int(raw.size()) - index);
    BeginUpdate(Reason::kDeleteChars);
    const QByteArray removed(raw.data() + index, count);
    const int fromColumn = DisplayColumn(line, index);
    const int toColumn = DisplayColumn(line, index + count);
    QByteArray removedAttrs;
    int attrCount = 0;
    const uchar* lineAttrs = m_parser ? CachedAttributes(line, attrCount) : nullptr;
    if (lineAttrs && toColumn <= attrCount)
        removedAttrs = QByteArray(reinterpret_cast<const char*>(lineAttrs) + fromColumn, toColumn - fromColumn);
    AddUndo(ukDeleted, 0, 0, removed, removedAttrs);
    ShiftForDelete(toColumn - fromColumn);
    m_strings.Splice(line, index, count, {});
    m_strings.Item(line).Set(TStringItem::kEdited, true);
    MarkChanged(line, line);
    m_changeFlags |= Change::kText;
    m_parsedUpTo = std::min(m_parsedUpTo, line);
    EndUpdate();
}

void TCustomMemoSource::InsertLineBreak()
{
    if (!editable(m_replaying, IsLineReadOnly(CaretLine())))
        return;
    BeginUpdate(Reason::kLineBreak);
    MaterializeCaretLine();
    const int line = CaretLine();
    const int column = CaretColumn();
    const std::string_view raw = m_strings.RawText(line);
    const int index = std::min(RawIndex(line, column), int(raw.size()));
    AddUndo(ukLineBreak);
    ShiftForLineBreak(column);
    // The tail keeps pointing at the line's own text block while the new
    // line is inserted: only the item array moves.
    const std::string tail(raw.substr(size_t(index)));
    const int rawLength = int(raw.size());
    m_strings.InsertRaw(line + 1, tail);
    m_strings.Splice(line, index, rawLength - index, {});
    // The tail keeps the line's own end and the head gets the one asked for
    // (the document's, or the one undo puts back). A part whose text stayed
    // as it was keeps the line's edited mark: only edited lines lose their
    // trailing blanks.
    TStringItem& head = m_strings.Item(line);
    TStringItem& next = m_strings.Item(line + 1);
    next.lineEnd = head.lineEnd;
    head.lineEnd = m_breakLineEnd;
    next.Set(TStringItem::kEdited, index > 0 || head.Has(TStringItem::kEdited));
    if (index < rawLength)
        head.Set(TStringItem::kEdited, true);
    MarkChanged(line, TMemoChange::kToEnd);
    m_changeFlags |= Change::kText;
    m_parsedUpTo = std::min(m_parsedUpTo, line);
    EndUpdate();
}

void TCustomMemoSource::JoinLines()
{
    const int line = CaretLine();
    if (line + 1 >= LineCount())
        return;
    if (!editable(m_replaying, IsLineReadOnly(line) || IsLineReadOnly(line + 1)))
        return;
    BeginUpdate(Reason::kJoin);
    // The join happens at the line's end; the caret goes there first so that
    // undo breaks the line at the same place.
    const int joinColumn = LineLength(line);
    if (CaretColumn() != joinColumn)
        MoveCaretExactly(0, joinColumn - CaretColumn());
    TStringItem& head = m_strings.Item(line);
    // Undo breaks the line again with the end it had.
    AddUndo(ukJoined, head.lineEnd);
    ShiftForJoin(joinColumn);
    const TStringItem& tail = m_strings.Item(line + 1);
    const std::string next(tail.Text());
    const bool headEmpty = head.length == 0;
    // A join that puts two texts together edits the line; one that only
    // removes an empty line leaves the other as it was.
    const bool edited = (!headEmpty && !next.empty()) || (headEmpty ? tail.Has(TStringItem::kEdited) : head.Has(TStringItem::kEdited));
    head.lineEnd = tail.lineEnd;
    m_strings.Splice(line, head.length, 0, next);
    m_strings.Item(line).Set(TStringItem::kEdited, edited);
    m_strings.Delete(line + 1);
    MarkChanged(line, TMemoChange::kToEnd);
    m_changeFlags |= Change::kText;
    m_parsedUpTo = std::min(m_parsedUpTo, line);
    EndUpdate();
}

void TCustomMemoSource::SetLineEnd(int line, quint8 end)
{
    if (!InRealLine(line) || m_strings.Item(line).lineEnd == end || !editable(m_replaying, IsLineReadOnly(line)))
        return;
    BeginUpdate(Reason::kLineEnd);
    TStringItem& item = m_strings.Item(line);
    AddUndo(ukLineEnd, line, item.lineEnd);
    item.lineEnd = end;
    MarkChanged(line, line);
    m_changeFlags |= Change::kText;
    EndUpdate();
}
