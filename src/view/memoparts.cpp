#include "memoparts.h"

#include "paintfont.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

void TControlBackground::SetBitmap(const QImage& bitmap)
{
    m_bitmap = bitmap;
    Changed();
}

void TControlBackground::SetBkgndOption(TBkgndOption option)
{
    if (m_option == option)
        return;
    m_option = option;
    Changed();
}

void TControlBackground::SetGradientColor(TColor color)
{
    if (m_gradientColor == color)
        return;
    m_gradientColor = color;
    Changed();
}

bool TControlBackground::IsActive() const
{
    switch (m_option) {
    case boNone: return false;
    case boHorzGradient:
    case boVertGradient: return true;
    default: return !m_bitmap.isNull();
    }
}

void TControlBackground::Assign(const TControlBackground& source)
{
    m_bitmap = source.m_bitmap;
    m_option = source.m_option;
    m_gradientColor = source.m_gradientColor;
    Changed();
}

void TControlBackground::Paint(QPainter& painter, const QRect& fill, const QRect& full, const QColor& base) const
{
    switch (m_option) {
    case boHorzGradient:
    case boVertGradient: {
        QLinearGradient gradient(full.topLeft(), m_option == boHorzGradient ? full.topRight() : full.bottomLeft());
        gradient.setColorAt(0, base);
        gradient.setColorAt(1, ToQColor(m_gradientColor));
        painter.fillRect(fill, gradient);
        break;
    }
    case boStretch: painter.drawImage(full, m_bitmap); break;
    case boCenter:
        painter.fillRect(fill, base);
        painter.drawImage(full.left() + (full.width() - m_bitmap.width()) / 2,
                          full.top() + (full.height() - m_bitmap.height()) / 2, m_bitmap);
        break;
    case boTile:
        painter.drawTiledPixmap(fill, QPixmap::fromImage(m_bitmap), fill.topLeft() - full.topLeft());
        break;
    case boNone: break;
    }
}
