// The colour sets of "Color SpeedSetting", as palettes over the default
// style table.

#include "colorspeedsettings.h"

#include "memoenvoptions.h"

#include <initializer_list>
#include <utility>

namespace {

struct TSpecialStyle {
    const char* name;
    TColor fore;
    TColor back;
};

struct TColorSet {
    const QString* name;
    TColor memoColor;
    TColor textColor;
    TColor gutterColor;
    TColor marginColor;
    TColor readOnlyColor;
    // Each font colour of the default table and what the set paints it in;
    // a colour not listed stays as it is.
    std::initializer_list<std::pair<TColor, TColor>> palette;
    // The styles with a background of their own (line styles, selection,
    // search match), by name.
    std::initializer_list<TSpecialStyle> special;
};

constexpr TColor rgb(quint32 value)
{
    return TColor::FromRgb(int(value >> 16) & 0xff, int(value >> 8) & 0xff, int(value) & 0xff);
}

const TColorSet kSets[] = {
    {&ColorSpeedSettings::kDefault, clWindow, clWindowText, clBtnFace, clGrayText, clWindow, {}, {}},
    {&ColorSpeedSettings::kDark,
     rgb(0x1e1e1e),
     rgb(0xd4d4d4),
     rgb(0x2d2d2d),
     rgb(0x505050),
     rgb(0x2a2a33),
     {{clBlack, rgb(0xd4d4d4)},
      {clMaroon, rgb(0xce9178)},
      {clGray, rgb(0x6a9955)},
      {clGreen, rgb(0xb5cea8)},
      {clBlue, rgb(0x569cd6)},
      {clTeal, rgb(0x4ec9b0)},
      {clNavy, rgb(0x9cdcfe)},
      {clOlive, rgb(0xdcdcaa)},
      {clPurple, rgb(0xc586c0)},
      {clRed, rgb(0xf44747)}},
     {{"BreakPoint", rgb(0xffffff), rgb(0x8b1a1a)},
      {"Error line", rgb(0xffffff), rgb(0x5a1d1d)},
      {"Marked Block", rgb(0xffffff), rgb(0x264f78)},
      {"Search Match", rgb(0x1e1e1e), rgb(0xd7ba7d)}}},
    {&ColorSpeedSettings::kHighContrast,
     rgb(0x000000),
     rgb(0xffffff),
     rgb(0x000000),
     rgb(0xffffff),
     rgb(0x202040),
     {{clBlack, rgb(0xffffff)},
      {clMaroon, rgb(0x00ffff)},
      {clGray, rgb(0x00ff00)},
      {clGreen, rgb(0xff80ff)},
      {clBlue, rgb(0xffff00)},
      {clTeal, rgb(0x00ffff)},
      {clNavy, rgb(0x80c0ff)},
      {clOlive, rgb(0xffc000)},
      {clPurple, rgb(0xff80ff)},
      {clRed, rgb(0xff4040)}},
     {{"BreakPoint", rgb(0xffffff), rgb(0xc00000)},
      {"Error line", rgb(0xffffff), rgb(0x800000)},
      {"Marked Block", rgb(0x000000), rgb(0x00ffff)},
      {"Search Match", rgb(0x000000), rgb(0xffff00)}}},
};

const TColorSet* findSet(const QString& name)
{
    for (const TColorSet& set : kSets) {
        if (set.name->compare(name, Qt::CaseInsensitive) == 0)
            return &set;
    }
    return nullptr;
}

TColor paletteColor(const TColorSet& set, TColor color)
{
    for (const auto& [from, to] : set.palette) {
        if (from == color)
            return to;
    }
    return color;
}

} // namespace

namespace ColorSpeedSettings {

QStringList Names()
{
    QStringList names;
    for (const TColorSet& set : kSets)
        names.append(*set.name);
    return names;
}

bool Apply(const QString& name, TMemoEnvOptions& options)
{
    const TColorSet* set = findSet(name);
    if (!set)
        return false;
    TTextStyles styles;
    for (int i = 0; i < styles.Count(); ++i) {
        TTextStyle& style = *styles.At(i);
        TFont font = style.Font();
        const TSpecialStyle* special = nullptr;
        for (const TSpecialStyle& entry : set->special) {
            if (style.Name().compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
                special = &entry;
        }
        if (special) {
            font.SetColor(special->fore);
            style.SetFont(font);
            style.SetColor(special->back);
        } else {
            // Setting the font keeps the background following the editor.
            font.SetColor(paletteColor(*set, font.Color()));
            style.SetFont(font);
        }
    }

    options.BeginUpdate();
    TFont font = options.Font();
    font.SetColor(set->textColor);
    options.SetFont(font);
    options.SetColor(set->memoColor);
    options.SetTextStyles(&styles);
    TBrush gutter = options.GutterBrush();
    gutter.SetColor(set->gutterColor);
    options.SetGutterBrush(gutter);
    TPen margin = options.MarginPen();
    margin.SetColor(set->marginColor);
    options.SetMarginPen(margin);
    options.SetReadOnlyColor(set->readOnlyColor);
    options.SetColorSchema(*set->name);
    options.EndUpdate();
    return true;
}

} // namespace ColorSpeedSettings
