// How a scheme's attributes get their fonts and colours: the name and size
// from the block's text attribute or the parser's default attribute, colour,
// style and background from the entry itself or, with the global options,
// from the global text style the entry names.

#include "globalstyles.h"
#include "syntaxparser.h"
#include "syntaxscheme.h"

namespace {

struct TBase {
    QString name;
    int height = 0;
    TColor color = clWindowText;
    TColor back = clWindow;
};

TFont WithNameAndSize(TFont font, const QString& name, int height)
{
    font.SetName(name);
    font.SetHeight(height);
    return font;
}

} // namespace

void TSyntaxScheme::ResolveFonts()
{
    m_attrTable.fill(nullptr);
    const bool global = m_useGlobalOptions;
    TBase base;
    if (const TSyntaxParser* parser = Parser()) {
        const TDefAttrItem& def = *parser->DefaultAttr();
        base.name = def.Font().Name();
        base.height = def.Font().Height();
        base.color = def.Font().Color();
        base.back = def.BackColor();
    } else {
        TFont font;
        font.SetName(QStringLiteral("Courier New"));
        font.SetSize(10);
        base.name = font.Name();
        base.height = font.Height();
    }
    GlobalStyles::TLook look;
    if (global && GlobalStyles::Find(QStringLiteral("Whitespace"), look)) {
        base.color = look.fontColor;
        base.back = look.backColor;
    }

    TFont url = WithNameAndSize(m_urlLinkAttr->Font(), base.name, base.height);
    url.SetColor(GlobalStyles::Find(m_urlLinkAttr->GlobalAttrID(), look) ? look.fontColor : base.color);
    url.SetStyle(TFont::fsUnderline);
    m_urlLinkAttr->SetEffective(url, base.back);

    TFont fallback = WithNameAndSize(m_fallbackAttr->Font(), base.name, base.height);
    fallback.SetColor(global && GlobalStyles::Find(m_fallbackAttr->GlobalAttrID(), look) ? look.fontColor : base.color);
    fallback.SetStyle({});
    m_fallbackAttr->SetEffective(fallback, base.back);

    m_attrTable[12] = m_urlLinkAttr.get();
    if (m_fontTable->Count() == 0)
        m_attrTable[0] = m_fallbackAttr.get();

    // The nearest entry, walking from block blockId toward the root, that is
    // the text attribute of its block and has the given "use default" switch
    // off. The walk is bounded so that a cycle of ParentIDs ends.
    auto nearestText = [this](int blockId, bool forFont) -> const TAttrItem* {
        const TSyntaxBlock* block = FindBlockID(blockId);
        for (int steps = 0; block && steps <= m_blocks->Count(); ++steps) {
            if (const TAttrItem* text = FindFontID(block->FIText())) {
                if (!(forFont ? text->UseDefFont() : text->UseDefBack()))
                    return text;
            }
            block = FindBlockID(block->ParentID());
        }
        return nullptr;
    };
    // The background an entry paints when it does not take its block's.
    auto ownBack = [global](const TAttrItem& item) {
        GlobalStyles::TLook style;
        if (global && GlobalStyles::Find(item.GlobalAttrID(), style))
            return style.backColor;
        return item.BackColor();
    };

    for (int i = 0; i < m_fontTable->Count(); ++i) {
        TAttrItem* item = m_fontTable->At(i);
        const int id = item->FontID();
        if (id < 0 || id > 255)
            continue;
        m_attrTable[size_t(id)] = item;

        TFont font = item->Font();
        if (item->UseDefFont()) {
            const TAttrItem* text = nearestText(item->BlockID(), true);
            font = text ? WithNameAndSize(font, text->Font().Name(), text->Font().Height())
                        : WithNameAndSize(font, base.name, base.height);
        }
        TColor back = item->BackColor();
        if (item->UseDefBack()) {
            const TAttrItem* text = nearestText(item->BlockID(), false);
            back = text ? ownBack(*text) : base.back;
        }
        if (global && GlobalStyles::Find(item->GlobalAttrID(), look)) {
            font.SetColor(look.fontColor);
            font.SetStyle(look.fontStyle);
            back = look.backColor;
        }
        item->SetEffective(font, back);
    }
}
