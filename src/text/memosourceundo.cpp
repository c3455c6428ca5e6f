// Undo and redo. Records are written to one list while editing; Undo replays
// the newest group backwards from the caret and writes each replayed record's
// inverse to the other list, which is what Redo replays.

#include "memosource.h"

#include <algorithm>
#include <cstring>

void TCustomMemoSource::AddUndo(TUndoKind kind, int a, int b, const QByteArray& t, const QByteArray& x)
{
    if (!m_allowUndo)
        return;
    // Records are relative to the caret: a redo list left behind by any new
    // record would replay in the wrong place.
    if (!m_replaying)
        ClearRedo();
    const int target = m_replaying ? 1 - m_undoIndex : m_undoIndex;
    TUndoRecord record;
    record.kind = kind;
    record.a = a;
    record.b = b;
    record.t = t;
    record.x = x;
    record.groupStart = m_groupStartPending;
    record.reason = quint8(m_updateReason);
    record.compound = m_compoundCount > 0;
    record.compoundGroup = record.compound ? m_compoundSerial : 0;
    m_groupStartPending = false;
    m_undoLists[target].Add(std::move(record));
    TrimUndo(m_undoLists[target], target);
}

void TCustomMemoSource::TrimUndo(TUndoList& list, int physicalIndex)
{
    if (m_undoLimit <= 0 || list.Count() <= m_undoLimit + 100)
        return;
    // Cut at the start of a whole operation outside any compound bracket, so
    // that no half of an operation stays behind to be undone.
    int cut = list.Count() - m_undoLimit - 1;
    while (cut > 0 && (list.At(cut).compound || !list.At(cut).groupStart))
        --cut;
    if (cut <= 0)
        return;
    list.DropFront(cut);
    if (m_saveList == physicalIndex) {
        m_saveIndex -= cut;
        if (m_saveIndex < 0)
            m_saveList = -1;
    }
}

void TCustomMemoSource::RollBack(int count)
{
    TUndoList& list = m_undoLists[m_undoIndex];
    if (list.Count() <= count)
        return;
    BeginUpdate(m_updateReason);
    m_replaying = true;
    while (list.Count() > count)
        ReplayRecord(list.TakeLast());
    m_replaying = false;
    // The inverse records went to the redo list, which the operation had
    // emptied: nothing of it is left to redo. The text is the one before
    // the operation, so whether it is modified is asked of the save point.
    m_undoLists[1 - m_undoIndex].Clear();
    if (m_saveList == 1 - m_undoIndex)
        m_saveList = -1;
    m_changeFlags |= Change::kUndoRedo;
    EndUpdate();
}

void TCustomMemoSource::ClearRedo()
{
    const int redo = 1 - m_undoIndex;
    if (m_undoLists[redo].IsEmpty())
        return;
    m_undoLists[redo].Clear();
    if (m_saveList == redo)
        m_saveList = -1;
}

void TCustomMemoSource::ClearUndo()
{
    m_undoLists[0].Clear();
    m_undoLists[1].Clear();
    // The state on disk stays reachable only when the text is still that state.
    m_saveList = m_modified ? -1 : m_undoIndex;
    m_saveIndex = 0;
}

void TCustomMemoSource::SetSavePoint()
{
    m_saveList = m_undoIndex;
    m_saveIndex = UndoList().Count();
    SetModified(false);
}

bool TCustomMemoSource::TextDiffersFromSave() const
{
    if (m_saveList < 0)
        return true;
    return m_undoLists[m_saveList].TextRecordsFrom(m_saveIndex) > 0;
}

void TCustomMemoSource::Undo()
{
    if (m_readOnly || UndoList().IsEmpty())
        return;
    UndoFrom(m_undoIndex);
}

void TCustomMemoSource::Redo()
{
    if (m_readOnly || RedoList().IsEmpty())
        return;
    m_undoIndex = 1 - m_undoIndex;
    UndoFrom(m_undoIndex);
    m_undoIndex = 1 - m_undoIndex;
}

void TCustomMemoSource::UndoFrom(int source)
{
    TUndoList& list = m_undoLists[source];
    const int other = 1 - source;
    const int reason = list.Last().reason;
    // A compound bracket is one step of its own, whatever the reasons of its
    // records; it is never folded into the step of a neighbouring operation.
    const int group = list.Last().compound ? list.Last().compoundGroup : 0;
    const bool groupUndo = m_options.testFlag(soGroupUndo);
    m_replaying = true;
    BeginUpdate(reason);
    m_changeFlags |= Change::kUndoRedo;
    bool first = true;
    while (!list.IsEmpty()) {
        const TUndoRecord& last = list.Last();
        if (!first) {
            if (group != 0 ? last.compoundGroup != group : (last.compound || last.reason != reason))
                break;
        }
        first = false;
        if (m_saveList == source && m_saveIndex == list.Count()) {
            // Stepping over the save point: it now lies among the records
            // about to be written to the other list.
            m_saveList = other;
            m_saveIndex = m_undoLists[other].Count();
        }
        const TUndoRecord record = list.TakeLast();
        ReplayRecord(record);
        if (group == 0 && record.groupStart && !groupUndo)
            break;
    }
    m_selectionMode = smNone;
    EndUpdate();
    m_replaying = false;
}

void TCustomMemoSource::ReplayRecord(const TUndoRecord& record)
{
    switch (record.kind) {
    case ukCaretMoved:
        MoveCaretExactly(-record.a, -record.b);
        break;
    case ukInserted:
        DeleteChars(record.a);
        break;
    case ukLineBreak: {
        // A break made behind the line's end is joined at the line's end;
        // the caret goes back to where the break was made, which is where
        // the records before it expect it.
        const int column = CaretColumn();
        JoinLines();
        if (CaretColumn() != column)
            MoveCaretExactly(0, column - CaretColumn());
        break;
    }
    case ukJoined:
        m_breakLineEnd = quint8(record.a);
        InsertLineBreak();
        m_breakLineEnd = TStringItem::kEndDocument;
        break;
    case ukLineEnd: {
        // An empty text reads as one empty line that ends nowhere, which is
        // what the record's inverse must put back.
        if (record.a == 0 && LineCount() == 0) {
            m_strings.InsertRaw(0, {});
            m_strings.Item(0).lineEnd = TStringItem::kEndNone;
        }
        if (InRealLine(record.a) && m_strings.Item(record.a).lineEnd == record.b)
            AddUndo(ukLineEnd, record.a, record.b); // no change, but the way back needs the record all the same
        else
            SetLineEnd(record.a, quint8(record.b));
        // And the other way round: the only line, empty and ending nowhere,
        // is the empty text that deleting the last line left behind, so
        // that redo gives back no lines at all.
        if (record.a == 0 && record.b == TStringItem::kEndNone && LineCount() == 1 && m_strings.RawText(0).empty()) {
            m_strings.Delete(0);
            MarkChanged(0, TMemoChange::kToEnd);
        }
        break;
    }
    case ukDeleted: {
        InsertString(record.t);
        // Put the removed characters' attributes back with them, so that the
        // line shows its colours until it is parsed again.
        const int line = CaretLine();
        int attrCount = 0;
        // Not on a long line: it is parsed again around the edit at once,
        // and copying its attributes would cost the line.
        const uchar* lineAttrs =
            m_parser && !record.x.isEmpty() && !ParsedAsLong(line) ? CachedAttributes(line, attrCount) : nullptr;
        if (lineAttrs) {
            const int column = CaretColumn();
            const int length = LineLength(line);
            QByteArray attrs(reinterpret_cast<const char*>(lineAttrs), attrCount);
            attrs.insert(std::min<qsizetype>(column, attrs.size()), record.x);
            attrs.resize(length, '\0');
            std::memcpy(m_strings.Attributes().Store(line, length, line), attrs.constData(), size_t(length));
        }
        break;
    }
    case ukAttributes: {
        if (!InRealLine(record.a))
            break;
        int attrCount = 0;
        uchar* lineAttrs = CachedAttributes(record.a, attrCount);
        const int column = record.b;
        const int length = std::min<int>(int(record.t.size()), attrCount - column);
        if (!lineAttrs || column < 0 || length <= 0)
            break;
        uchar* attrs = lineAttrs + column;
        AddUndo(ukAttributes, record.a, column, QByteArray(reinterpret_cast<const char*>(attrs), length));
        std::memcpy(attrs, record.t.constData(), size_t(length));
        MarkChanged(record.a, record.a);
        break;
    }
    }
}
