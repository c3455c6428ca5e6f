#pragma once

#include "collection.h"
#include "color.h"
#include "font.h"

#include <QString>

#include <functional>

class TFontList;
class TSyntaxParser;

// One entry of a scheme's font table: the font and background a FontID is
// painted in. The effective font and background are computed by the scheme's
// ResolveFonts and never stored.
class TAttrItem : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(int FontID READ FontID WRITE SetFontID USER true)
    Q_PROPERTY(QString GlobalAttrID READ GlobalAttrID WRITE SetGlobalAttrID)
    Q_PROPERTY(int BlockID READ BlockID WRITE SetBlockID)
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(TColor BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(bool UseDefFont READ UseDefFont WRITE SetUseDefFont)
    Q_PROPERTY(bool UseDefBack READ UseDefBack WRITE SetUseDefBack)

public:
    // Inside a font table a new item takes the first free FontID; outside
    // any table it has -1.
    Q_INVOKABLE explicit TAttrItem(TCollection* collection = nullptr);

    int FontID() const { return m_fontId; }
    void SetFontID(int id) { m_fontId = id; }
    // A table entry always writes its ID, -1 included: left out, the entry
    // would take the first free ID when read back.
    Q_INVOKABLE bool IsFontIDStored() const { return Collection() || m_fontId != -1; }
    // The name of the global text style that supplies colour, style and
    // background when the scheme uses the global options.
    const QString& GlobalAttrID() const { return m_globalAttrId; }
    void SetGlobalAttrID(const QString& id) { m_globalAttrId = id; }
    // The ID of the block this attribute belongs to.
    int BlockID() const { return m_blockId; }
    void SetBlockID(int id) { m_blockId = id; }
    const TFont& Font() const { return m_font; }
    virtual void SetFont(const TFont& font);
    TColor BackColor() const { return m_backColor; }
    virtual void SetBackColor(TColor color);
    // True: font name and size come from the block's text attribute.
    bool UseDefFont() const { return m_useDefFont; }
    virtual void SetUseDefFont(bool use);
    // True: the background comes from the block's text attribute.
    bool UseDefBack() const { return m_useDefBack; }
    virtual void SetUseDefBack(bool use);

    // What painting uses, as ResolveFonts last computed it.
    const TFont& EffectiveFont() const { return m_effectiveFont; }
    TColor EffectiveBackColor() const { return m_effectiveBack; }
    void SetEffective(const TFont& font, TColor back)
    {
        m_effectiveFont = font;
        m_effectiveBack = back;
    }

private:
    int m_fontId = -1;
    QString m_globalAttrId;
    int m_blockId = 0;
    TFont m_font;
    TColor m_backColor = clWindow;
    bool m_useDefFont = true;
    bool m_useDefBack = true;
    TFont m_effectiveFont;
    TColor m_effectiveBack = clWindow;
};

// The parser's default attribute: Courier New 10 on clWindow. Its font name
// and size are the base of every entry that takes the default font; a change
// of its font or background makes the parser resolve its fonts again. Both
// "use default" switches stay on whatever is written to them.
class TDefAttrItem : public TAttrItem {
    Q_OBJECT

public:
    Q_INVOKABLE explicit TDefAttrItem(TCollection* collection = nullptr);

    TSyntaxParser* Parser() const { return m_parser; }
    void SetParser(TSyntaxParser* parser) { m_parser = parser; }

    void SetFont(const TFont& font) override;
    void SetBackColor(TColor color) override;
    void SetUseDefFont(bool) override {}
    void SetUseDefBack(bool) override {}

private:
    TSyntaxParser* m_parser = nullptr;
};

class TFontList : public TOwnedCollection<TAttrItem> {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TFontList(QObject* owner = nullptr) : TOwnedCollection(owner) {}

    // The first item with the given FontID in table order, or null.
    TAttrItem* FindFontID(int fontId) const;

    // Told of every item that leaves the table, so that nothing keeps
    // pointing at it.
    std::function<void(const TCollectionItem*)> OnRemoved;

protected:
    void Notify(TCollectionItem* item, bool added) override;
};

// The smallest FontID 0..255 that no item of the table uses, never 12 (the
// URL attribute); -1 when all are taken.
int FindFreeFontID(const TFontList& table);
