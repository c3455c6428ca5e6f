#pragma once

#include "color.h"
#include "font.h"

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QRawFont>

#include <array>
#include <memory>

class QPainter;

// A font ready to paint 8-bit text with: per byte its glyph and advance, so
// that a run of text becomes one glyph run without any shaping.
struct TPaintFont {
    QFont font;
    QRawFont raw;
    int ascent = 0;
    int height = 0;       // the height of "Wg": ascent + descent
    int averageWidth = 0; // the average character width
    bool underline = false;
    bool strikeOut = false;
    std::array<quint32, 256> glyphs{};
    // Whether the font gave the glyphs (else they are all 0).
    bool hasGlyphs = false;
    // A byte's own advance. The table is measured when first asked for:
    // measuring loads every glyph, and text painted in cells never needs it.
    qreal Advance(uchar b) const
    {
        if (!m_advancesKnown)
            MeasureAdvances();
        return m_advances[b];
    }
    // Characters beyond the byte table (UTF-8 documents), laid out once:
    // the glyph runs of a character's text with the system's fallback
    // fonts, their baseline at 0.
    mutable QHash<QString, QList<QGlyphRun>> characters;

private:
    void MeasureAdvances() const;

    mutable bool m_advancesKnown = false;
    mutable std::array<qreal, 256> m_advances{};
};

// The QFont a model font stands for: a negative height is the character
// height in pixels, a positive one the cell height.
QFont ToQFont(const TFont& font);
// A colour ready to paint, system colours resolved by the services.
QColor ToQColor(TColor color);

// Paint fonts by model font (name, height, style; the colour is not part of
// a paint font). Entries live until Clear.
class TFontCache {
public:
    const TPaintFont& Get(const TFont& font);
    void Clear() { m_fonts.clear(); }
    int Count() const { return int(m_fonts.size()); }

private:
    QHash<QString, std::shared_ptr<TPaintFont>> m_fonts;
};

// Draws count bytes as one glyph run with its baseline starting at origin:
// each character in a cell of cellWidth pixels, or at its own advance when
// cellWidth is 0. Returns the width drawn.
qreal DrawBytes(QPainter& painter, const TPaintFont& font, const char* text, int count, QPointF origin,
                int cellWidth);
// The width of count bytes at their own advances.
qreal BytesWidth(const TPaintFont& font, const char* text, int count);
// Draws count bytes of a UTF-8 line, each character in as many cells of
// cellWidth pixels as it covers (see Utf8Cells): plain bytes as one glyph
// run, every other character as text in the font (the system finds a font
// for what this one lacks), an invalid byte as the replacement mark.
// Returns the cells drawn.
int DrawUtf8(QPainter& painter, const TPaintFont& font, const char* text, int count, QPointF origin, int cellWidth);
