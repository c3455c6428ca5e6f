#pragma once

#include "stringlist.h"

class QIODevice;
class TCustomMemoSource;

// A line view that knows its text store.
class TSourceStrings : public TStrings {
public:
    explicit TSourceStrings(TCustomMemoSource& source) : m_source(source) {}
    TCustomMemoSource& Source() const { return m_source; }

protected:
    TCustomMemoSource& m_source;
};

// The published Lines of a text store. Edits go through the store's editing
// operations (so they can be undone) inside brackets that keep the caret and
// the selection where they were.
class TExternalStrings : public TSourceStrings {
public:
    using TSourceStrings::TSourceStrings;

    int Count() const override;
    // The tab-expanded text of a line.
    QByteArray Get(int index) const override;
    void Put(int index, const QByteArray& text) override;
    void Insert(int index, const QByteArray& text) override;
    void Delete(int index) override;
    void Clear() override;
    void BeginUpdate() override;
    void EndUpdate() override;
    // The whole text, tabs kept, lines joined by CR LF.
    QByteArray Text() const override;
    void SetText(const QByteArray& text) override;
    void Assign(const TStrings& source);

    bool LoadFromStream(QIODevice& device);
    bool SaveToStream(QIODevice& device) const;
};

// The selected text, one entry per selected line; it cannot be edited.
class TSelectionStrings : public TSourceStrings {
public:
    using TSourceStrings::TSourceStrings;

    int Count() const override;
    QByteArray Get(int index) const override;
    void Put(int, const QByteArray&) override {}
    void Insert(int, const QByteArray&) override {}
    void Delete(int) override {}
    void Clear() override {}
    void Exchange(int, int) {}
};
