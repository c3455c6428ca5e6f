#pragma once

#include <QMetaType>
#include <QString>
#include <QtGlobal>

// A colour as the program stores it: 32 bits, low byte red, then green, then
// blue. Negative values name system colours (clWindow, clHighlight...), which
// stay symbolic in the model and are resolved to the palette only when used.
struct TColor {
    qint32 value = 0;

    constexpr TColor() = default;
    constexpr TColor(qint32 v) : value(v) {}
    constexpr operator qint32() const { return value; }

    constexpr bool IsSystem() const { return value < 0; }
    constexpr int Red() const { return value & 0xff; }
    constexpr int Green() const { return (value >> 8) & 0xff; }
    constexpr int Blue() const { return (value >> 16) & 0xff; }

    static constexpr TColor FromRgb(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }
};
Q_DECLARE_METATYPE(TColor)

// System colours: 0x80000000 + the index of the system colour.
constexpr qint32 kSystemColorBase = qint32(0x80000000u);
constexpr TColor clScrollBar = kSystemColorBase + 0;
constexpr TColor clBackground = kSystemColorBase + 1;
constexpr TColor clActiveCaption = kSystemColorBase + 2;
constexpr TColor clInactiveCaption = kSystemColorBase + 3;
constexpr TColor clMenu = kSystemColorBase + 4;
constexpr TColor clWindow = kSystemColorBase + 5;
constexpr TColor clWindowFrame = kSystemColorBase + 6;
constexpr TColor clMenuText = kSystemColorBase + 7;
constexpr TColor clWindowText = kSystemColorBase + 8;
constexpr TColor clCaptionText = kSystemColorBase + 9;
constexpr TColor clActiveBorder = kSystemColorBase + 10;
constexpr TColor clInactiveBorder = kSystemColorBase + 11;
constexpr TColor clAppWorkSpace = kSystemColorBase + 12;
constexpr TColor clHighlight = kSystemColorBase + 13;
constexpr TColor clHighlightText = kSystemColorBase + 14;
constexpr TColor clBtnFace = kSystemColorBase + 15;
constexpr TColor clBtnShadow = kSystemColorBase + 16;
constexpr TColor clGrayText = kSystemColorBase + 17;
constexpr TColor clBtnText = kSystemColorBase + 18;
constexpr TColor clInactiveCaptionText = kSystemColorBase + 19;
constexpr TColor clBtnHighlight = kSystemColorBase + 20;
constexpr TColor cl3DDkShadow = kSystemColorBase + 21;
constexpr TColor cl3DLight = kSystemColorBase + 22;
constexpr TColor clInfoText = kSystemColorBase + 23;
constexpr TColor clInfoBk = kSystemColorBase + 24;

// Standard colours.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The identifier of a named colour ("clWindow"), or an empty string.
QString ColorToIdent(TColor color);
// Parses "clWindow", a decimal or a "$00FF00" hex value; false when it is none.
bool IdentToColor(const QString& text, TColor& color);
