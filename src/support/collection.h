#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class TCollection;

// One item of an owned collection. Its published properties are Q_PROPERTYs;
// Assign copies them.
class TCollectionItem : public QObject {
    Q_OBJECT

public:
    explicit TCollectionItem(TCollection* collection = nullptr);
    ~TCollectionItem() override;

    TCollection* Collection() const { return m_collection; }
    int Index() const;
    void SetIndex(int index);

    // Copies every published property of source (of the same class or a base).
    virtual void Assign(const TCollectionItem& source);

protected:
    // Tells the collection that this item (all = false) or every item changed.
    void Changed(bool all = false);

private:
    friend class TCollection;
    TCollection* m_collection = nullptr;
};

// An ordered collection that owns its items. A descendant creates items of its
// own class in CreateItem and reacts to changes in Update.
class TCollection : public QObject {
    Q_OBJECT

public:
    explicit TCollection(QObject* owner = nullptr);
    ~TCollection() override;

    int Count() const { return int(m_items.size()); }
    TCollectionItem* Item(int index) const;
    int IndexOf(const TCollectionItem* item) const;

    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    void Move(int from, int to);

    // Replaces every item by a copy of source's items.
    virtual void Assign(const TCollection& source);

    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate();
    bool IsUpdating() const { return m_updateCount > 0; }

    // Called after an item changed (item null: the whole collection changed).
    std::function<void(TCollectionItem*)> OnUpdate;

protected:
    virtual TCollectionItem* CreateItem() = 0;
    virtual void Update(TCollectionItem* item);
    // Called after an item was added or removed, before Update.
    virtual void Notify(TCollectionItem* item, bool added) {}

private:
    friend class TCollectionItem;
    void Changed(TCollectionItem* item);
    void Detach(TCollectionItem* item);

    std::vector<TCollectionItem*> m_items;
    int m_updateCount = 0;
    bool m_changedDuringUpdate = false;
};

// A collection of items of one class, with typed access.
template <class T>
class TOwnedCollection : public TCollection {
public:
    explicit TOwnedCollection(QObject* owner = nullptr) : TCollection(owner) {}

    T* At(int index) const { return static_cast<T*>(Item(index)); }
    T* AddItem() { return static_cast<T*>(Add()); }

protected:
    TCollectionItem* CreateItem() override { return new T(this); }
};

// Items that carry a name, looked up without regard to ASCII case.
class TNamedItem : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)

public:
    explicit TNamedItem(TCollection* collection = nullptr);

    const QString& Name() const { return m_name; }
    virtual void SetName(const QString& name);

private:
    QString m_name;
};

class TNamedCollection : public TCollection {
    Q_OBJECT

public:
    explicit TNamedCollection(QObject* owner = nullptr);

    // The first item whose name equals name without regard to ASCII case.
    TNamedItem* Find(const QString& name) const;
    int IndexOfName(const QString& name) const;
};
