#include "foldmarker.h"

#include "memorenderer.h"

#include <QPainter>

void PaintFoldMarker(QPainter& painter, const TRenderConfig& config, const TPaintFont& font, const QByteArray& marker,
                     int x, int y)
{
    if (marker.isEmpty())
        return;
    const int cw = config.charWidth;
    const int lh = config.lineHeight;
    const QRect frame(x, y + 1, int(marker.size()) * cw + 4, lh - 2);
    const QColor fore = ToQColor(TColor(clGray));
    painter.fillRect(frame, ToQColor(config.color));
    painter.setPen(fore);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    DrawBytes(painter, font, marker.constData(), int(marker.size()), QPointF(x + 2, y + config.ascent), cw);
}

void AddBracketMarks(const TRenderConfig& config, int line, std::vector<TMatchRange>& matches,
                     std::vector<TMatchRange>& errors)
{
    for (const TMatchRange& mark : config.brackets) {
        if (mark.line == line)
            matches.push_back(mark);
    }
    for (const TMatchRange& mark : config.unmatchedBrackets) {
        if (mark.line == line) {
            matches.push_back(mark);
            errors.push_back(mark);
        }
    }
}
