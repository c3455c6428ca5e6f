#include "gutterpainter.h"

#include "ansi.h"
#include "gutterimages.h"
#include "memoparts.h"
#include "memosource.h"

#include <QPainter>

namespace {

Qt::BrushStyle ToQBrushStyle(TBrush::TBrushStyle style)
{
    switch (style) {
    case TBrush::bsSolid: return Qt::SolidPattern;
    case TBrush::bsClear: return Qt::NoBrush;
    case TBrush::bsHorizontal: return Qt::HorPattern;
    case TBrush::bsVertical: return Qt::VerPattern;
    case TBrush::bsFDiagonal: return Qt::BDiagPattern;
    case TBrush::bsBDiagonal: return Qt::FDiagPattern;
    case TBrush::bsCross: return Qt::CrossPattern;
    case TBrush::bsDiagCross: return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

// Bookmark key number n (0 standing for the tenth) as a bit of the store's
// bookmark set of a line.
quint16 BookmarkBit(int n)
{
    return quint16(1u << (n == 0 ? 9 : n - 1));
}

} // namespace

bool TGutterPainter::NumbersOnGutter(const TGutterConfig& config)
{
    return config.gutterWidth > 0 && config.options.testFlag(moLineNumbersOnGutter);
}

int TGutterPainter::NumbersLeft(const TGutterConfig& config)
{
    if (!NumbersOnGutter(config))
        return config.gutterWidth + config.leftIndent;
    if (config.lineNumAlign == taLeftJustify)
        return config.gutterLineIndent;
    return config.gutterWidth - config.numberWidth - config.gutterLineIndent;
}

QString TGutterPainter::NumberText(int line, const TGutterConfig& config)
{
    const QString number = QString::number(line + 1);
    if (config.lineNumAlign == taLeftJustify)
        return number.leftJustified(config.digits, u' ');
    return number.rightJustified(config.digits, u' ');
}

void TGutterPainter::Paint(QPainter& painter, const QRect& area, const std::vector<TRow>& rows, int y,
                           const TGutterConfig& config)
{
    const int lh = std::max(1, config.lineHeight);
    painter.save();
    if (config.gutterWidth > 0 && area.left() < config.gutterWidth)
        PaintGutter(painter, area, config);

    if (config.options.testFlag(moLineNumbers)) {
        const int left = NumbersLeft(config);
        const QRect column(left, area.top(), config.numberWidth, area.height());
        if (column.intersects(area)) {
            if (!NumbersOnGutter(config))
                painter.fillRect(column.intersected(area), ToQColor(config.lineNumBackColor));
            painter.setClipRect(NumbersOnGutter(config) ? QRect(0, area.top(), config.gutterWidth, area.height()).intersected(area)
                                                        : column.intersected(area));
            painter.setPen(ToQColor(config.lineNumColor));
            int rowY = y;
            for (const TRow& row : rows) {
                if (rowY + lh > area.top() && rowY <= area.bottom())
                    PaintNumber(painter, row, rowY, config);
                rowY += lh;
            }
            painter.setClipping(false);
        }
    }

    if (config.gutterWidth > 0 && config.images && area.left() < config.gutterWidth) {
        painter.setClipRect(QRect(0, area.top(), config.gutterWidth - 2, area.height()).intersected(area));
        int rowY = y;
        for (const TRow& row : rows) {
            if (row.firstOfLine && rowY + lh > area.top() && rowY <= area.bottom())
                PaintImages(painter, row.line, rowY, config);
            rowY += lh;
        }
    }
    painter.restore();
}

void TGutterPainter::PaintGutter(QPainter& painter, const QRect& area, const TGutterConfig& config)
{
    const int g = config.gutterWidth;
    const QRect fill = QRect(0, area.top(), std::max(0, g - 2), area.height()).intersected(area);
    if (config.background) {
        const QRect full(0, 0, std::max(0, g - 2), painter.device()->height());
        config.background->Paint(painter, fill, full, ToQColor(config.gutterBrush.Color()));
    } else if (config.gutterBrush.Style() != TBrush::bsClear) {
        painter.fillRect(fill, QBrush(ToQColor(config.gutterBrush.Color()), ToQBrushStyle(config.gutterBrush.Style())));
    }
    if (g >= 2)
        painter.fillRect(QRect(g - 2, area.top(), 1, area.height()).intersected(area), ToQColor(config.gutterBackColor));
    if (g >= 1)
        painter.fillRect(QRect(g - 1, area.top(), 1, area.height()).intersected(area), ToQColor(config.gutterLineColor));
}

void TGutterPainter::PaintNumber(QPainter& painter, const TRow& row, int y, const TGutterConfig& config)
{
    if (!row.firstOfLine || row.line < 0)
        return;
    const int count = config.source ? config.source->LineCount() : 0;
    // With moLimitLineNumbers the numbering stops after the last line.
    if (config.options.testFlag(moLimitLineNumbers) && row.line >= count)
        return;
    QString text = NumberText(row.line, config);
    if (config.lineNumberText)
        config.lineNumberText(text, row.line);
    const QByteArray bytes = Ansi::FromQString(text);
    const TPaintFont& font = m_fonts.Get(config.font);
    DrawBytes(painter, font, bytes.constData(), int(bytes.size()),
              QPointF(NumbersLeft(config), y + config.ascent), config.charWidth);
}

void TGutterPainter::PaintImages(QPainter& painter, int line, int y, const TGutterConfig& config)
{
    for (const TImagePlace& place : ImagePlaces(line, y, config))
        painter.drawImage(place.rect, config.images->At(place.index)->PaintGlyph());
}

std::vector<TGutterPainter::TImagePlace> TGutterPainter::ImagePlaces(int line, int y, const TGutterConfig& config)
{
    std::vector<TImagePlace> places;
    if (!config.source || !config.images || config.gutterWidth <= 0 || line < 0 || line >= config.source->LineCount())
        return places;
    const quint16 bookmarks = config.source->BookmarksOnLine(line);
    const bool breakPoint = config.breakPointStyle > 0 && config.source->LineStyle(line) == config.breakPointStyle;
    if (!bookmarks && !breakPoint)
        return places;
    const TDCGutterImages& images = *config.images;
    const int maxHeight = std::max(1, config.lineHeight - 1);
    const int g = config.gutterWidth;
    int next = config.imgsAlign == iaLeft ? 1 : g - 4;
    for (int i = 0; i < images.Count(); ++i) {
        const TGutterImage* image = images.At(i);
        const int n = image->BookmarkIndex();
        bool marked = false;
        if (n >= 0 && n < TDCGutterImages::kSlotCount)
            marked = images.Slot(n) == i + 1 && (bookmarks & BookmarkBit(n));
        else
            marked = breakPoint && image->Name().compare(QLatin1String("BreakPoint"), Qt::CaseInsensitive) == 0;
        const QImage& glyph = image->PaintGlyph();
        if (!marked || glyph.isNull())
            continue;
        QSize size = glyph.size();
        if (size.height() > maxHeight)
            size = QSize(std::max(1, size.width() * maxHeight / size.height()), maxHeight);
        int left;
        if (config.imgsAlign == iaLeft) {
            if (next + size.width() > g - 3)
                break;
            left = next;
            next += size.width() + 1;
        } else {
            left = next - size.width();
            if (left < 0)
                break;
            next = left - 1;
        }
        const int top = y + (config.lineHeight - size.height()) / 2;
        places.push_back({i, QRect(QPoint(left, top), size)});
    }
    return places;
}
