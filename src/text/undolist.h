#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <deque>

enum TUndoKind : quint8 {
    ukCaretMoved = 0,  // A line delta, B column delta
    ukInserted = 1,    // A characters inserted at the caret
    ukLineBreak = 2,   // a line break inserted at the caret
    ukJoined = 3,      // the caret line joined with the next
    ukDeleted = 4,     // T deleted at the caret, X its attribute bytes
    ukAttributes = 5,  // attributes of line A from column B were T
    ukLineEnd = 6,     // line A ended in B (a TStringItem::LineEnd)
};

struct TUndoRecord {
    TUndoKind kind = ukCaretMoved;
    qint32 a = 0;
    qint32 b = 0;
    QByteArray t;
    QByteArray x;
    bool groupStart = false;
    quint8 reason = 0;
    bool compound = false;
    // Which compound bracket wrote the record (0 outside any): one bracket
    // is one undo step, and two brackets in a row are two.
    qint32 compoundGroup = 0;
    // Records that change the text in the list up to and including this one.
    qint32 textCount = 0;

    bool ChangesText() const { return (kind >= ukInserted && kind <= ukDeleted) || kind == ukLineEnd; }
};

// An ordered list of undo records whose capacity doubles when full (at least
// 32 places) and halves when fewer than a quarter of the places are used.
// The records live in blocks that never move, so that a list growing to
// hundreds of thousands of records (one replace over a whole file) does not
// copy itself at every doubling.
class TUndoList {
public:
    int Count() const { return int(m_records.size()); }
    int Capacity() const { return m_capacity; }
    bool IsEmpty() const { return m_records.empty(); }

    const TUndoRecord& At(int index) const { return m_records[size_t(index)]; }
    const TUndoRecord& Last() const { return m_records.back(); }

    void Add(TUndoRecord record);
    TUndoRecord TakeLast();
    void Clear();
    // Drops the records before index.
    void DropFront(int index);
    // Records that change the text at index and after it.
    int TextRecordsFrom(int index) const;

private:
    void Shrink();

    std::deque<TUndoRecord> m_records;
    int m_capacity = 0;
};
