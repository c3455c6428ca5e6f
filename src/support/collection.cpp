#include "collection.h"

#include <QMetaProperty>

#include <algorithm>

// The collection adopts the item itself (TCollection::Insert), so an item
// made outside a collection belongs to none.
TCollectionItem::TCollectionItem(TCollection*) : QObject(nullptr) {}

TCollectionItem::~TCollectionItem()
{
    if (m_collection)
        m_collection->Detach(this);
}

int TCollectionItem::Index() const
{
    return m_collection ? m_collection->IndexOf(this) : -1;
}

void TCollectionItem::SetIndex(int index)
{
    if (m_collection)
        m_collection->Move(Index(), index);
}

void TCollectionItem::Assign(const TCollectionItem& source)
{
    const QMetaObject* meta = metaObject();
    const QMetaObject* sourceMeta = source.metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < sourceMeta->propertyCount(); ++i) {
        QMetaProperty from = sourceMeta->property(i);
        int index = meta->indexOfProperty(from.name());
        if (index < 0)
            continue;
        QMetaProperty to = meta->property(index);
        if (to.isWritable())
            to.write(this, from.read(&source));
    }
    Changed(false);
}

void TCollectionItem::Changed(bool all)
{
    if (m_collection)
        m_collection->Changed(all ? nullptr : this);
}

TCollection::TCollection(QObject* owner) : QObject(owner) {}

TCollection::~TCollection()
{
    ++m_updateCount; // no notices while dying
    std::vector<TCollectionItem*> items;
    items.swap(m_items);
    for (TCollectionItem* item : items) {
        item->m_collection = nullptr;
        delete item;
    }
}

TCollectionItem* TCollection::Item(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return m_items[size_t(index)];
}

int TCollection::IndexOf(const TCollectionItem* item) const
{
    auto it = std::find(m_items.begin(), m_items.end(), item);
    return it == m_items.end() ? -1 : int(it - m_items.begin());
}

TCollectionItem* TCollection::Add()
{
    return Insert(Count());
}

TCollectionItem* TCollection::Insert(int index)
{
    index = std::clamp(index, 0, Count());
    TCollectionItem* item = CreateItem();
    item->setParent(this);
    item->m_collection = this;
    m_items.insert(m_items.begin() + index, item);
    Notify(item, true);
    Changed(nullptr);
    return item;
}

void TCollection::Delete(int index)
{
    if (TCollectionItem* item = Item(index))
        delete item; // the item's destructor detaches it
}

void TCollection::Clear()
{
    if (m_items.empty())
        return;
    BeginUpdate();
    while (!m_items.empty())
        delete m_items.back();
    EndUpdate();
}

void TCollection::Move(int from, int to)
{
    if (from < 0 || from >= Count())
        return;
    to = std::clamp(to, 0, Count() - 1);
    if (from == to)
        return;
    TCollectionItem* item = m_items[size_t(from)];
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + to, item);
    Changed(nullptr);
}

void TCollection::Assign(const TCollection& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    Clear();
    for (int i = 0; i < source.Count(); ++i)
        Add()->Assign(*source.Item(i));
    EndUpdate();
}

void TCollection::EndUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0 && m_changedDuringUpdate) {
        m_changedDuringUpdate = false;
        Update(nullptr);
    }
}

void TCollection::Update(TCollectionItem* item)
{
    if (OnUpdate)
        OnUpdate(item);
}

void TCollection::Changed(TCollectionItem* item)
{
    if (m_updateCount > 0) {
        m_changedDuringUpdate = true;
        return;
    }
    Update(item);
}

void TCollection::Detach(TCollectionItem* item)
{
    // Clearing deletes from the back: search from there.
    auto it = std::find(m_items.rbegin(), m_items.rend(), item);
    if (it == m_items.rend())
        return;
    m_items.erase(std::next(it).base());
    item->m_collection = nullptr;
    Notify(item, false);
    Changed(nullptr);
}

TNamedItem::TNamedItem(TCollection* collection) : TCollectionItem(collection) {}

void TNamedItem::SetName(const QString& name)
{
    if (m_name == name)
        return;
    m_name = name;
    Changed(false);
}

TNamedCollection::TNamedCollection(QObject* owner) : TCollection(owner) {}

TNamedItem* TNamedCollection::Find(const QString& name) const
{
    int index = IndexOfName(name);
    return index < 0 ? nullptr : static_cast<TNamedItem*>(Item(index));
}

namespace {

bool sameNameAscii(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x >= 'A' && x <= 'Z')
            x += 32;
        if (y >= 'A' && y <= 'Z')
            y += 32;
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

int TNamedCollection::IndexOfName(const QString& name) const
{
    for (int i = 0; i < Count(); ++i) {
        auto* item = qobject_cast<TNamedItem*>(Item(i));
        if (item && sameNameAscii(item->Name(), name))
            return i;
    }
    return -1;
}
