#pragma once

#include "color.h"

#include <QMetaType>
#include <QObject>

// A pen as the model keeps it: plain values, turned into a QPen only by the
// view.
class TPen {
    Q_GADGET
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(TPenStyle Style READ Style WRITE SetStyle)

public:
    enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
    Q_ENUM(TPenStyle)

    TPen() = default;
    explicit TPen(TColor color, int width = 1, TPenStyle style = psSolid)
        : m_color(color), m_width(width), m_style(style)
    {
    }

    TColor Color() const { return m_color; }
    void SetColor(TColor color) { m_color = color; }
    int Width() const { return m_width; }
    // A width below 1 draws as 1.
    void SetWidth(int width) { m_width = width; }
    TPenStyle Style() const { return m_style; }
    void SetStyle(TPenStyle style) { m_style = style; }

    bool operator==(const TPen& other) const = default;

private:
    TColor m_color = clBlack;
    int m_width = 1;
    TPenStyle m_style = psSolid;
};
Q_DECLARE_METATYPE(TPen)

// A brush as the model keeps it: colour and fill style.
class TBrush {
    Q_GADGET
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(TBrushStyle Style READ Style WRITE SetStyle)

public:
    enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
    Q_ENUM(TBrushStyle)

    TBrush() = default;
    explicit TBrush(TColor color, TBrushStyle style = bsSolid) : m_color(color), m_style(style) {}

    TColor Color() const { return m_color; }
    void SetColor(TColor color) { m_color = color; }
    TBrushStyle Style() const { return m_style; }
    void SetStyle(TBrushStyle style) { m_style = style; }

    bool operator==(const TBrush& other) const = default;

private:
    TColor m_color = clWhite;
    TBrushStyle m_style = bsSolid;
};
Q_DECLARE_METATYPE(TBrush)
