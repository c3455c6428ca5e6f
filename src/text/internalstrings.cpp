#include "internalstrings.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

TInternalStrings::~TInternalStrings()
{
    Clear();
}

QByteArray TInternalStrings::Get(int index) const
{
    if (index < 0 || index >= m_count)
        return {};
    std::string_view raw = RawText(index);
    if (!m_raw && OnGetTransform)
        return OnGetTransform(index, raw);
    return QByteArray(raw.data(), qsizetype(raw.size()));
}

std::string_view TInternalStrings::RawText(int index) const
{
    if (index < 0 || index >= m_count)
        return {};
    return Item(index).Text();
}

QByteArray TInternalStrings::Text() const
{
    qsizetype size = 0;
    for (int i = 0; i < m_count; ++i)
        size += Item(i).length + 2;
    QByteArray text;
    text.reserve(size);
    for (int i = 0; i < m_count; ++i) {
        if (i > 0)
            text += "\r\n";
        std::string_view raw = RawText(i);
        text.append(raw.data(), qsizetype(raw.size()));
    }
    return text;
}

void TInternalStrings::SetText(TStringItem& item, std::string_view text)
{
    const int n = int(text.size());
    const int oldCapacity = item.Capacity();
    if (oldCapacity < n || oldCapacity == 0) {
        // Grow by a quarter so that typing into a line does not copy it each time.
        const int capacity = std::max(n + n / 4, 16);
        char* block = TStringItem::AllocateText(capacity);
        if (!block)
            throw std::bad_alloc();
        if (n)
            std::memcpy(block, text.data(), size_t(n));
        item.AdoptText(block);
    } else if (n) {
        std::memmove(item.text, text.data(), size_t(n));
    }
    item.length = n;
    item.Set(TStringItem::kHasTab, n && std::memchr(item.text, '\t', size_t(n)));
    item.Set(TStringItem::kAttrsValid, false);
}

void TInternalStrings::PutRaw(int index, std::string_view text)
{
    if (index < 0 || index >= m_count)
        return;
    m_longLines.Drop(index);
    m_folds.LineChanged(index);
    m_tabColumns.Drop(index);
    SetText(Item(index), text);
}

void TInternalStrings::Splice(int index, int pos, int count, std::string_view text)
{
    if (index < 0 || index >= m_count)
        return;
    TStringItem& item = Item(index);
    pos = std::clamp(pos, 0, item.length);
    count = std::clamp(count, 0, item.length - pos);
    const int n = int(text.size());
    const int newLength = item.length - count + n;
    const int capacity = item.Capacity();
    m_longLines.Spliced(index, pos, count, n);
    m_folds.LineChanged(index);
    m_tabColumns.Drop(index);
    // The tab flag follows the splice: the line is searched again only
    // when a tab was removed from it.
    const bool removedTab = item.Has(TStringItem::kHasTab) && count > 0 && std::memchr(item.text + pos, '\t', size_t(count));
    const bool insertedTab = n > 0 && std::memchr(text.data(), '\t', size_t(n));
    const int tail = item.length - pos - count;
    if (capacity > 0 && newLength <= capacity && (text.empty() || text.data() < item.text || text.data() >= item.text + capacity)) {
        std::memmove(item.text + pos + n, item.text + pos + count, size_t(tail));
        if (n)
            std::memcpy(item.text + pos, text.data(), size_t(n));
    } else {
        // A block of its own, grown by a quarter so that typing on does not
        // copy the line again, filled straight from the old text (which the
        // inserted bytes may point into).
        const qint32 newCapacity = qint32(std::clamp<qint64>(qint64(newLength) + newLength / 4, 16, INT_MAX));
        char* block = TStringItem::AllocateText(newCapacity);
        if (!block)
            throw std::bad_alloc();
        if (pos)
            std::memcpy(block, item.text, size_t(pos));
        if (n)
            std::memcpy(block + pos, text.data(), size_t(n));
        if (tail)
            std::memcpy(block + pos + n, item.text + pos + count, size_t(tail));
        item.AdoptText(block);
    }
    item.length = newLength;
    if (insertedTab)
        item.Set(TStringItem::kHasTab, true);
    else if (removedTab)
        item.Set(TStringItem::kHasTab, newLength && std::memchr(item.text, '\t', size_t(newLength)));
    item.Set(TStringItem::kAttrsValid, false);
}

void TInternalStrings::InsertRaw(int index, std::string_view text)
{
    if (index < 0 || index > m_count)
        return;
    if (m_gapLength == 0)
        Grow();
    MoveGap(index);
    TStringItem& item = m_items[size_t(m_gapStart)];
    item = TStringItem();
    ++m_gapStart;
    --m_gapLength;
    ++m_count;
    m_attributes.LinesInserted(index, 1);
    m_longLines.LinesInserted(index, 1);
    m_structures.LinesInserted(index, 1);
    m_folds.LinesInserted(index, 1);
    m_tabColumns.LinesInserted(index, 1);
    SetText(item, text);
}

TStringItem& TInternalStrings::AppendBorrowed(char* text, int length)
{
    if (m_gapLength == 0)
        Grow();
    MoveGap(m_count);
    TStringItem& item = m_items[size_t(m_gapStart)];
    item = TStringItem();
    item.text = text;
    item.length = length;
    ++m_gapStart;
    --m_gapLength;
    ++m_count;
    return item;
}

void TInternalStrings::Delete(int index)
{
    if (index < 0 || index >= m_count)
        return;
    MoveGap(index + 1);
    TStringItem& item = m_items[size_t(index)];
    item.FreeText();
    --m_gapStart;
    ++m_gapLength;
    --m_count;
    m_attributes.LinesDeleted(index, 1);
    m_longLines.LinesDeleted(index, 1);
    m_structures.LinesDeleted(index, 1);
    m_folds.LinesDeleted(index, 1);
    m_tabColumns.LinesDeleted(index, 1);
}

void TInternalStrings::Clear()
{
    for (int i = 0; i < m_count; ++i) {
        Item(i).FreeText();
    }
    m_attributes.Clear();
    m_longLines.Clear();
    m_structures.Clear();
    m_folds.Clear();
    m_tabColumns.Clear();
    std::free(m_items);
    m_items = nullptr;
    m_count = m_capacity = m_gapStart = m_gapLength = 0;
    m_blocks.clear();
    m_blockEnding = TStringItem::kEndNone;
}

bool TInternalStrings::Reserve(int count)
{
    if (count <= m_capacity)
        return true;
    MoveGap(m_count);
    auto* items = static_cast<TStringItem*>(std::realloc(m_items, size_t(count) * sizeof(TStringItem)));
    if (!items)
        return false;
    m_items = items;
    m_gapLength += count - m_capacity;
    m_capacity = count;
    return true;
}

void TInternalStrings::Swap(TInternalStrings& other)
{
    std::swap(m_items, other.m_items);
    std::swap(m_count, other.m_count);
    std::swap(m_capacity, other.m_capacity);
    std::swap(m_gapStart, other.m_gapStart);
    std::swap(m_gapLength, other.m_gapLength);
    std::swap(m_blocks, other.m_blocks);
    std::swap(m_blockEnding, other.m_blockEnding);
    m_attributes.Swap(other.m_attributes);
    m_longLines.Swap(other.m_longLines);
    m_structures.Swap(other.m_structures);
    std::swap(m_folds, other.m_folds);
    m_tabColumns.Swap(other.m_tabColumns);
}

void TInternalStrings::Grow()
{
    // The array grows by half its size, and by at least 64 items. Running
    // out of memory here, in the middle of an edit, cannot be undone.
    if (!Reserve(m_capacity + std::max(m_capacity / 2, 64)))
        throw std::bad_alloc();
}

void TInternalStrings::MoveGap(int position)
{
    if (position == m_gapStart || m_gapLength == 0) {
        m_gapStart = position;
        return;
    }
    if (position < m_gapStart) {
        // Items [position, gapStart) move up behind the gap.
        std::memmove(m_items + position + m_gapLength, m_items + position,
                     size_t(m_gapStart - position) * sizeof(TStringItem));
    } else {
        // Items behind the gap, up to position, move down in front of it.
        std::memmove(m_items + m_gapStart, m_items + m_gapStart + m_gapLength,
                     size_t(position - m_gapStart) * sizeof(TStringItem));
    }
    m_gapStart = position;
}
