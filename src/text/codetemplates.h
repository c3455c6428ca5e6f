#pragma once

#include "collection.h"

#include <QString>

// A named snippet of text that the editor expands in place of its name.
// A '|' in the text marks where the caret goes; without one the caret ends
// behind the expanded text.
class TCodeTemplate : public TNamedItem {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(QString Description READ Description WRITE SetDescription)

public:
    Q_INVOKABLE explicit TCodeTemplate(TCollection* collection = nullptr) : TNamedItem(collection) {}

    const QString& Text() const { return m_text; }
    void SetText(const QString& text);
    const QString& Description() const { return m_description; }
    void SetDescription(const QString& description);

private:
    QString m_text;
    QString m_description;
};

class TCodeTemplates : public TNamedCollection {
    Q_OBJECT

public:
    Q_INVOKABLE explicit TCodeTemplates(QObject* owner = nullptr) : TNamedCollection(owner) {}

    TCodeTemplate* At(int index) const { return static_cast<TCodeTemplate*>(Item(index)); }
    using TCollection::Add;
    TCodeTemplate* Add(const QString& name, const QString& text);

    // The template a word expands to: the one named exactly like it (without
    // regard to case) or, failing that, the first in collection order whose
    // name begins with it. Null when none does or the word is empty.
    TCodeTemplate* Match(const QString& word) const;

protected:
    TCollectionItem* CreateItem() override { return new TCodeTemplate(this); }
};
