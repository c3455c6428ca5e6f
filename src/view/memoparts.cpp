#include "memoparts.h"

#include "paintfont.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

TSpecialSymbols::TSpecialSymbols(QObject* parent)
    : TMemoPersistent(parent),
      m_eol(QString(QChar(0x00B6))),
      m_eof(QStringLiteral("_")),
      m_space(QString(QChar(0x00B7))),
      m_tab(QString(QChar(0x00BB)))
{
}

void TSpecialSymbols::SetEOLString(const QString& text)
{
    if (m_eol == text)
        return;
    m_eol = text;
    Changed();
}

void TSpecialSymbols::SetEOFString(const QString& text)
{
    if (m_eof == text)
        return;
    m_eof = text;
    Changed();
}

void TSpecialSymbols::SetSpaceChar(const QString& text)
{
    const QString one = text.left(1);
    if (m_space == one)
        return;
    m_space = one;
    Changed();
}

void TSpecialSymbols::SetTabChar(const QString& text)
{
    const QString one = text.left(1);
    if (m_tab == one)
        return;
    m_tab = one;
    Changed();
}

void TSpecialSymbols::Assign(const TSpecialSymbols& source)
{
    m_eol = source.m_eol;
    m_eof = source.m_eof;
    m_space = source.m_space;
    m_tab = source.m_tab;
    Changed();
}

void TLineSeparator::SetOptions(TSeparatorOptions options)
{
    if (m_options == options)
        return;
    m_options = options;
    Changed();
}

void TLineSeparator::SetPen(const TPen& pen)
{
    if (m_pen == pen)
        return;
    m_pen = pen;
    Changed();
}

void TLineSeparator::Assign(const TLineSeparator& source)
{
    m_options = source.m_options;
    m_pen = source.m_pen;
    Changed();
}

TLineHighlight::TLineHighlight(QObject* parent) : TMemoPersistent(parent), m_brush(clNone, TBrush::bsClear) {}

void TLineHighlight::SetPen(const TPen& pen)
{
    if (m_pen == pen)
        return;
    m_pen = pen;
    Changed();
}

void TLineHighlight::SetBrush(const TBrush& brush)
{
    if (m_brush == brush)
        return;
    m_brush = brush;
    Changed();
}

void TLineHighlight::SetVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    Changed();
}

void TLineHighlight::Assign(const TLineHighlight& source)
{
    m_pen = source.m_pen;
    m_brush = source.m_brush;
    m_visible = source.m_visible;
    Changed();
}

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
