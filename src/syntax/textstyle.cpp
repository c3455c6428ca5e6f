#include "textstyle.h"

namespace {

struct TDefaultStyle {
    const char* name;
    TColor fontColor;
    TColor backColor;
    bool useMemoColor;
    TUpdateMemoColors updateMemoColors;
    int fontStyle; // TFont::TFontStyle bits
};

constexpr int kBold = TFont::fsBold;
constexpr int kItalic = TFont::fsItalic;
constexpr int kUnderline = TFont::fsUnderline;

// The styles every new collection starts with, in this order. None of them
// follows the editor's font.
constexpr TDefaultStyle kDefaultStyles[] = {
    {"Whitespace", clBlack, clWindow, true, mcNone, 0},
    {"String", clMaroon, clWindow, true, mcNone, 0},
    {"Comment", clGray, clWindow, true, mcNone, kItalic},
    {"Identifier", clBlack, clWindow, true, mcNone, 0},
    {"Integer", clGreen, clWindow, true, mcNone, 0},
    {"Float", clGreen, clWindow, true, mcNone, 0},
    {"Reserved words", clBlue, clWindow, true, mcNone, kBold},
    {"Delimiters", clBlack, clWindow, true, mcNone, 0},
    {"Defines", clGreen, clWindow, true, mcNone, 0},
    {"Assembler", clGreen, clWindow, true, mcNone, 0},
    {"Html tags", clBlue, clWindow, true, mcNone, 0},
    {"Html params", clBlue, clWindow, true, mcNone, 0},
    {"Url", clBlue, clWindow, true, mcNone, kUnderline},
    {"BreakPoint", clWindow, clRed, false, mcNone, 0},
    {"Error line", clWindow, clMaroon, false, mcNone, 0},
    {"Marked Block", clWhite, clNavy, false, mcSelection, 0},
    {"Search Match", clLime, clBlack, false, mcSearchMatch, 0},
    {"Emphasis", clBlack, clWindow, true, mcNone, kBold},
    {"System Variable", clBlue, clWindow, true, mcNone, 0},
    {"Script Whitespace", clTeal, clWindow, true, mcNone, 0},
    {"Script Delimiters", clBlack, clWindow, true, mcNone, 0},
    {"Script Comment", clGray, clWindow, true, mcNone, kItalic},
    {"Script String", clMaroon, clWindow, true, mcNone, 0},
    {"Script Number", clBlue, clWindow, true, mcNone, 0},
    {"Script ResWord", clBlack, clWindow, true, mcNone, kBold},
    // The constructs of today's Java, JSP and HTML, each editable on its
    // own; a colour-style file written before them leaves them out, and the
    // schemes then paint them in the same colours from their own fonts.
    {"Newer keywords", clBlue, clWindow, true, mcNone, kBold},
    {"Annotation", clOlive, clWindow, true, mcNone, 0},
    {"Text Block", clMaroon, clWindow, true, mcNone, 0},
    {"JSP Comment", clGray, clWindow, true, mcNone, kItalic},
    {"JSP Directive", clNavy, clWindow, true, mcNone, kBold},
    {"JSP Directive Attribute", clBlue, clWindow, true, mcNone, 0},
    {"JSP Directive Value", clMaroon, clWindow, true, mcNone, 0},
    {"Expression Language", clPurple, clWindow, true, mcNone, 0},
    {"JSP Tag Prefix", clNavy, clWindow, true, mcNone, 0},
    {"Html entities", clTeal, clWindow, true, mcNone, 0},
    {"Html doctype", clGray, clWindow, true, mcNone, 0},
    {"Html CDATA", clOlive, clWindow, true, mcNone, 0},
    {"JavaScript Keyword", clBlue, clWindow, true, mcNone, kBold},
    {"JavaScript String", clMaroon, clWindow, true, mcNone, 0},
    {"JavaScript Template", clMaroon, clWindow, true, mcNone, 0},
    {"JavaScript Comment", clGray, clWindow, true, mcNone, kItalic},
    {"JavaScript Number", clGreen, clWindow, true, mcNone, 0},
    {"CSS Selector", clNavy, clWindow, true, mcNone, kBold},
    {"CSS Property", clBlue, clWindow, true, mcNone, 0},
    {"CSS Value", clTeal, clWindow, true, mcNone, 0},
    {"CSS Number", clGreen, clWindow, true, mcNone, 0},
    {"CSS Colour", clOlive, clWindow, true, mcNone, 0},
    {"CSS String", clMaroon, clWindow, true, mcNone, 0},
    {"CSS Comment", clGray, clWindow, true, mcNone, kItalic},
    // The schemes of the rest of a web application's files.
    {"JavaScript RegExp", clPurple, clWindow, true, mcNone, 0},
    {"CSS Class", clNavy, clWindow, true, mcNone, 0},
    {"CSS Id", clNavy, clWindow, true, mcNone, kItalic},
    {"CSS Pseudo-class", clPurple, clWindow, true, mcNone, 0},
    {"CSS At-rule", clBlue, clWindow, true, mcNone, kBold},
    {"CSS Custom Property", clFuchsia, clWindow, true, mcNone, 0},
    {"CSS Url", clMaroon, clWindow, true, mcNone, kUnderline},
    {"CSS Attribute Selector", clNavy, clWindow, true, mcNone, 0},
    {"XML Element", clBlue, clWindow, true, mcNone, 0},
    {"XML Attribute", clRed, clWindow, true, mcNone, 0},
    {"XML Value", clMaroon, clWindow, true, mcNone, 0},
    {"XML Processing Instruction", clTeal, clWindow, true, mcNone, kBold},
    {"JSON Key", clNavy, clWindow, true, mcNone, 0},
    {"Properties Key", clNavy, clWindow, true, mcNone, 0},
    {"Properties Value", clMaroon, clWindow, true, mcNone, 0},
    {"Properties Escape", clTeal, clWindow, true, mcNone, 0},
    {"SQL Type", clTeal, clWindow, true, mcNone, kBold},
    {"SQL Quoted Identifier", clNavy, clWindow, true, mcNone, 0},
    {"Shell Builtin", clTeal, clWindow, true, mcNone, kBold},
    {"Shell Variable", clPurple, clWindow, true, mcNone, 0},
    {"Shell Here Document", clOlive, clWindow, true, mcNone, 0},
    {"Shell Arithmetic", clNavy, clWindow, true, mcNone, 0},
};

TColor OwnerColor(const TTextStylesOwner* owner)
{
    return owner ? owner->MemoColor() : clWindow;
}

TFont OwnerFont(const TTextStylesOwner* owner)
{
    return owner ? owner->MemoFont() : TFont();
}

// Names compare without regard to the case of ASCII letters only.
bool SameNameAscii(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x >= 'A' && x <= 'Z')
            x = char16_t(x + ('a' - 'A'));
        if (y >= 'A' && y <= 'Z')
            y = char16_t(y + ('a' - 'A'));
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

// ---- TTextStyle ----

TTextStyle::TTextStyle(TCollection* collection) : TNamedItem(collection) {}

TTextStyles* TTextStyle::Styles() const
{
    return qobject_cast<TTextStyles*>(Collection());
}

TTextStylesOwner* TTextStyle::Owner() const
{
    TTextStyles* styles = Styles();
    return styles ? styles->Owner() : nullptr;
}

void TTextStyle::SetColor(TColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    m_useMemoColor = false;
    ApplyMemoColors();
    Changed();
}

void TTextStyle::SetFont(const TFont& font)
{
    if (font == m_font)
        return;
    m_font = font;
    m_useMemoFont = false;
    ApplyMemoColors();
    Changed();
}

void TTextStyle::SetUpdateMemoColors(TUpdateMemoColors which)
{
    const bool changed = which != m_updateMemoColors;
    m_updateMemoColors = which;
    ApplyMemoColors();
    if (changed)
        Changed();
}

void TTextStyle::SetUseMemoColor(bool use)
{
    if (use == m_useMemoColor || (use && m_updateMemoColors != mcNone))
        return;
    m_useMemoColor = use;
    if (use)
        m_color = OwnerColor(Owner());
    Changed();
}

void TTextStyle::SetUseMemoFont(bool use)
{
    if (use == m_useMemoFont || (use && m_updateMemoColors != mcNone))
        return;
    m_useMemoFont = use;
    if (use)
        m_font = OwnerFont(Owner());
    Changed();
}

void TTextStyle::SetUpperCase(bool upperCase)
{
    if (upperCase == m_upperCase)
        return;
    m_upperCase = upperCase;
    Changed();
}

TColor TTextStyle::EffectiveColor() const
{
    return m_useMemoColor ? OwnerColor(Owner()) : m_color;
}

TFont TTextStyle::EffectiveFont() const
{
    TTextStylesOwner* owner = Owner();
    if (m_useMemoFont)
        return OwnerFont(owner);
    TFont font = m_font;
    if (owner) {
        const TFont memoFont = owner->MemoFont();
        font.SetName(memoFont.Name());
        font.SetHeight(memoFont.Height());
    }
    return font;
}

void TTextStyle::Assign(const TCollectionItem& source)
{
    const auto* style = qobject_cast<const TTextStyle*>(&source);
    if (!style) {
        TNamedItem::Assign(source);
        return;
    }
    SetName(style->Name());
    m_color = style->m_color;
    m_font = style->m_font;
    m_updateMemoColors = style->m_updateMemoColors;
    m_useMemoColor = style->m_useMemoColor;
    m_useMemoFont = style->m_useMemoFont;
    m_upperCase = style->m_upperCase;
    ApplyMemoColors();
    Changed();
}

void TTextStyle::ApplyMemoColors() const
{
    if (m_updateMemoColors == mcNone)
        return;
    if (TTextStylesOwner* owner = Owner())
        owner->SetMemoColors(m_updateMemoColors, m_font.Color(), m_color);
}

void TTextStyle::RefreshFromOwner()
{
    const TTextStylesOwner* owner = Owner();
    const TFont memoFont = OwnerFont(owner);
    TColor color = m_color;
    TFont font = m_font;
    if (m_useMemoColor)
        color = OwnerColor(owner);
    if (m_useMemoFont) {
        font = memoFont;
    } else {
        font.SetName(memoFont.Name());
        font.SetHeight(memoFont.Height());
    }
    if (color == m_color && font == m_font)
        return;
    m_color = color;
    m_font = font;
    Changed();
}

// ---- TTextStyles ----

TTextStyles::TTextStyles(TTextStylesOwner* owner, QObject* parent) : TNamedCollection(parent)
{
    ResetToDefaults();
    m_owner = owner;
}

TCollectionItem* TTextStyles::CreateItem()
{
    return new TTextStyle(this);
}

TTextStyle* TTextStyles::Find(const QString& name) const
{
    for (int i = 0; i < Count(); ++i) {
        TTextStyle* style = At(i);
        if (SameNameAscii(style->Name(), name))
            return style;
    }
    return nullptr;
}

void TTextStyles::ResetToDefaults()
{
    BeginUpdate();
    Clear();
    for (const TDefaultStyle& row : kDefaultStyles) {
        auto* style = static_cast<TTextStyle*>(Add());
        style->SetName(QString::fromLatin1(row.name));
        style->m_font.SetColor(row.fontColor);
        style->m_font.SetStyle(TFont::TFontStyles(row.fontStyle));
        style->m_useMemoFont = false;
        style->m_color = row.backColor;
        style->m_useMemoColor = row.useMemoColor;
        style->m_updateMemoColors = row.updateMemoColors;
        style->ApplyMemoColors();
    }
    EndUpdate();
}

void TTextStyles::RefreshFromEditor()
{
    BeginUpdate();
    for (int i = 0; i < Count(); ++i)
        At(i)->RefreshFromOwner();
    EndUpdate();
}

void TTextStyles::Update(TCollectionItem* item)
{
    if (m_owner)
        m_owner->TextStylesChanged();
    TNamedCollection::Update(item);
}
