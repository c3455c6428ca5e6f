#include "positionstore.h"

#include "memosource.h"

#include <algorithm>

void TMemoPostionStore::DropDead()
{
    std::erase_if(m_items, [](const TStoredPosition& item) { return item.source.isNull(); });
}

TPositionList::iterator TMemoPostionStore::LowerBound(const void* key)
{
    return std::lower_bound(m_items.begin(), m_items.end(), key,
                            [](const TStoredPosition& item, const void* k) { return std::less<>()(item.key, k); });
}

void TMemoPostionStore::Save(TCustomMemoSource* source, int topLine, int leftColumn, TTextPos caret, int topRow)
{
    if (!source)
        return;
    DropDead();
    auto it = LowerBound(source);
    if (it == m_items.end() || it->key != source)
        it = m_items.insert(it, TStoredPosition{source, source, 0, 0, {}, 0});
    it->topLine = topLine;
    it->topRow = topRow;
    it->leftColumn = leftColumn;
    it->caret = caret;
}

const TStoredPosition* TMemoPostionStore::Find(const TCustomMemoSource* source)
{
    DropDead();
    auto it = LowerBound(source);
    if (it == m_items.end() || it->key != source)
        return nullptr;
    return &*it;
}

void TMemoPostionStore::Remove(const TCustomMemoSource* source)
{
    DropDead();
    auto it = LowerBound(source);
    if (it != m_items.end() && it->key == source)
        m_items.erase(it);
}

int TMemoPostionStore::Count()
{
    DropDead();
    return int(m_items.size());
}
