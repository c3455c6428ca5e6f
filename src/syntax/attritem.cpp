#include "attritem.h"

#include "syntaxparser.h"

#include <bitset>

namespace {

// The text store paints URLs with this attribute; a scheme keeps its URL
// entry there, so new table entries never take it.
constexpr int kUrlFontID = 12;

} // namespace

TAttrItem::TAttrItem(TCollection* collection) : TCollectionItem(collection)
{
    if (auto* table = qobject_cast<TFontList*>(collection))
        m_fontId = FindFreeFontID(*table);
}

void TAttrItem::SetFont(const TFont& font) { m_font = font; }
void TAttrItem::SetBackColor(TColor color) { m_backColor = color; }
void TAttrItem::SetUseDefFont(bool use) { m_useDefFont = use; }
void TAttrItem::SetUseDefBack(bool use) { m_useDefBack = use; }

TDefAttrItem::TDefAttrItem(TCollection* collection) : TAttrItem(collection)
{
    TFont font = Font();
    font.SetName(QStringLiteral("Courier New"));
    font.SetSize(10);
    TAttrItem::SetFont(font);
    TAttrItem::SetBackColor(clWindow);
}

void TDefAttrItem::SetFont(const TFont& font)
{
    if (font == Font())
        return;
    TAttrItem::SetFont(font);
    if (m_parser)
        m_parser->UpdateFonts();
}

void TDefAttrItem::SetBackColor(TColor color)
{
    if (color == BackColor())
        return;
    TAttrItem::SetBackColor(color);
    if (m_parser)
        m_parser->UpdateFonts();
}

TAttrItem* TFontList::FindFontID(int fontId) const
{
    for (int i = 0; i < Count(); ++i) {
        if (At(i)->FontID() == fontId)
            return At(i);
    }
    return nullptr;
}

void TFontList::Notify(TCollectionItem* item, bool added)
{
    if (!added && OnRemoved)
        OnRemoved(item); // may be half destroyed: compared, never used
}

int FindFreeFontID(const TFontList& table)
{
    std::bitset<256> used;
    for (int i = 0; i < table.Count(); ++i) {
        const int id = table.At(i)->FontID();
        if (id >= 0 && id < 256)
            used.set(size_t(id));
    }
    used.set(kUrlFontID);
    for (int id = 0; id < 256; ++id) {
        if (!used.test(size_t(id)))
            return id;
    }
    return -1;
}
