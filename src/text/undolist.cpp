#include "undolist.h"

#include <algorithm>

void TUndoList::Add(TUndoRecord record)
{
    if (Count() == m_capacity)
        m_capacity = std::max(32, m_capacity * 2);
    record.textCount = (m_records.empty() ? 0 : m_records.back().textCount) + (record.ChangesText() ? 1 : 0);
    m_records.push_back(std::move(record));
}

TUndoRecord TUndoList::TakeLast()
{
    TUndoRecord record = std::move(m_records.back());
    m_records.pop_back();
    Shrink();
    return record;
}

void TUndoList::Clear()
{
    std::deque<TUndoRecord>().swap(m_records);
    m_capacity = 0;
}

void TUndoList::DropFront(int index)
{
    index = std::clamp(index, 0, Count());
    m_records.erase(m_records.begin(), m_records.begin() + index);
    Shrink();
}

int TUndoList::TextRecordsFrom(int index) const
{
    if (index >= Count())
        return 0;
    index = index < 0 ? 0 : index;
    const TUndoRecord& first = m_records[size_t(index)];
    const int before = first.textCount - (first.ChangesText() ? 1 : 0);
    return m_records.back().textCount - before;
}

void TUndoList::Shrink()
{
    if (m_capacity <= 32 || Count() >= m_capacity / 4)
        return;
    while (m_capacity > 32 && Count() < m_capacity / 4)
        m_capacity /= 2;
    m_records.shrink_to_fit();
}
