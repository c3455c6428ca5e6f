#include "paintfont.h"

#include "ansi.h"
#include "services.h"
#include "utf8cells.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <QVarLengthArray>

#include <cmath>

QFont ToQFont(const TFont& font)
{
    QFont qfont(font.Name());
    const int height = font.Height();
    // A cell height includes the internal leading, about a fifth of it.
    qfont.setPixelSize(std::max(1, height < 0 ? -height : int(std::lround(height * 0.8))));
    const TFont::TFontStyles style = font.Style();
    qfont.setBold(style.testFlag(TFont::fsBold));
    qfont.setItalic(style.testFlag(TFont::fsItalic));
    qfont.setUnderline(style.testFlag(TFont::fsUnderline));
    qfont.setStrikeOut(style.testFlag(TFont::fsStrikeOut));
    qfont.setKerning(false);
    return qfont;
}

QColor ToQColor(TColor color)
{
    return QColor::fromRgba(Services().ResolveColor(color));
}

const TPaintFont& TFontCache::Get(const TFont& font)
{
    const QString key = font.Name() + u'|' + QString::number(font.Height()) + u'|'
                        + QString::number(int(font.Style()));
    auto it = m_fonts.constFind(key);
    if (it != m_fonts.constEnd())
        return **it;

    auto paint = std::make_shared<TPaintFont>();
    paint->font = ToQFont(font);
    paint->raw = QRawFont::fromFont(paint->font);
    const QFontMetrics metrics(paint->font);
    paint->ascent = metrics.ascent();
    paint->height = metrics.height();
    paint->averageWidth = std::max(1, metrics.averageCharWidth());
    paint->underline = paint->font.underline();
    paint->strikeOut = paint->font.strikeOut();

    // Every byte through the Windows-1252 table; control characters show as
    // whatever the font has for them (usually its missing-glyph box).
    QChar chars[256];
    for (int b = 0; b < 256; ++b)
        chars[b] = QChar(Ansi::ToUnicode(uchar(b)));
    int glyphCount = 256;
    paint->hasGlyphs = paint->raw.isValid()
                       && paint->raw.glyphIndexesForChars(chars, 256, paint->glyphs.data(), &glyphCount)
                       && glyphCount == 256;
    if (!paint->hasGlyphs)
        paint->glyphs.fill(0);
    m_fonts.insert(key, paint);
    return *paint;
}

void TPaintFont::MeasureAdvances() const
{
    m_advancesKnown = true;
    // Without glyphs every byte is as wide as the font's average character.
    if (!hasGlyphs) {
        m_advances.fill(averageWidth);
        return;
    }
    QPointF advances[256];
    raw.advancesForGlyphIndexes(glyphs.data(), advances, 256);
    for (int b = 0; b < 256; ++b)
        m_advances[size_t(b)] = advances[b].x();
}

qreal DrawBytes(QPainter& painter, const TPaintFont& font, const char* text, int count, QPointF origin,
                int cellWidth)
{
    if (count <= 0)
        return 0;
    QVarLengthArray<quint32, 512> glyphs(count);
    QVarLengthArray<QPointF, 512> positions(count);
    qreal x = 0;
    for (int i = 0; i < count; ++i) {
        const uchar b = uchar(text[i]);
        glyphs[i] = font.glyphs[b];
        positions[i] = QPointF(x, 0);
        x += cellWidth > 0 ? qreal(cellWidth) : font.Advance(b);
    }
    if (painter.device() && painter.device()->devType() == QInternal::Picture) {
        // A picture keeps a glyph run only as outlines. The pages of a print
        // are pictures: their text is drawn as text, so that the printed
        // file holds text (searchable, and a fraction of the size), placed
        // cell by cell unless the font's own advances already agree.
        painter.setFont(font.font);
        const QString chars = Ansi::ToQString(text, count);
        bool natural = true;
        for (int i = 0; natural && i < count; ++i)
            natural = cellWidth <= 0 || std::abs(font.Advance(uchar(text[i])) - cellWidth) < 0.01;
        if (natural) {
            painter.drawText(origin, chars);
        } else {
            for (int i = 0; i < count; ++i)
                painter.drawText(origin + positions[i], QString(chars[i]));
        }
        return x;
    }
    if (!font.raw.isValid())
        return x;
    QGlyphRun run;
    run.setRawFont(font.raw);
    run.setRawData(glyphs.constData(), positions.constData(), count);
    run.setUnderline(font.underline);
    run.setStrikeOut(font.strikeOut);
    painter.drawGlyphRun(origin, run);
    return x;
}

qreal BytesWidth(const TPaintFont& font, const char* text, int count)
{
    qreal x = 0;
    for (int i = 0; i < count; ++i)
        x += font.Advance(uchar(text[i]));
    return x;
}

namespace {

// Laying out text finds fallback fonts and shapes, which costs far more than
// drawing; a character is laid out once per font.
constexpr qsizetype kMaxCachedCharacters = 4096;

void DrawCharacter(QPainter& painter, const TPaintFont& font, const QString& chars, QPointF baseline)
{
    if (painter.device() && painter.device()->devType() == QInternal::Picture) {
        // Pages keep text as text (see DrawBytes).
        painter.setFont(font.font);
        painter.drawText(baseline, chars);
        return;
    }
    auto it = font.characters.constFind(chars);
    if (it == font.characters.constEnd()) {
        if (font.characters.size() >= kMaxCachedCharacters)
            font.characters.clear();
        QTextLayout layout(chars, font.font);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        QList<QGlyphRun> runs = layout.glyphRuns();
        const qreal ascent = line.isValid() ? line.ascent() : 0;
        for (QGlyphRun& run : runs) {
            QList<QPointF> positions = run.positions();
            for (QPointF& p : positions)
                p.ry() -= ascent;
            run.setPositions(positions);
        }
        it = font.characters.insert(chars, runs);
    }
    for (const QGlyphRun& run : *it)
        painter.drawGlyphRun(baseline, run);
}

} // namespace

int DrawUtf8(QPainter& painter, const TPaintFont& font, const char* text, int count, QPointF origin, int cellWidth)
{
    const std::string_view view(text, size_t(std::max(0, count)));
    int cells = 0;
    int i = 0;
    while (i < count) {
        int high = i;
        while (high < count && uchar(text[high]) < 0x80)
            ++high;
        // A plain byte right before a high one may carry marks: it is drawn
        // with them.
        const int plainEnd = high < count && high > i ? high - 1 : high;
        if (plainEnd > i) {
            DrawBytes(painter, font, text + i, plainEnd - i, origin + QPointF(qreal(cells) * cellWidth, 0), cellWidth);
            cells += plainEnd - i;
            i = plainEnd;
            continue;
        }
        const int end = std::min(count, Utf8Cells::NextChar(view, i));
        QString chars;
        int width = 0;
        for (int p = i; p < end;) {
            const Utf8Cells::TCodePoint point = Utf8Cells::CodePointAt(view, p);
            chars += QString::fromUcs4(&point.code, 1);
            width += point.cells;
            p += point.length;
        }
        if (width > 0 && !chars.isEmpty()) {
            // A letter with its marks draws best as the one precomposed
            // character most fonts have for it.
            if (end - i > 1 && chars.size() > 1)
                chars = chars.normalized(QString::NormalizationForm_C);
            DrawCharacter(painter, font, chars, origin + QPointF(qreal(cells) * cellWidth, 0));
        }
        cells += width;
        i = end;
    }
    return cells;
}
