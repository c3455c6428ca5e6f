// A colour setting as a button: a swatch, the colour's name, and the
// services' colour dialog on a click.

#include "colorbutton.h"

#include "paintfont.h"
#include "services.h"

#include <QPainter>
#include <QPixmap>

TColorButton::TColorButton(QWidget* parent) : QPushButton(parent)
{
    connect(this, &QPushButton::clicked, this, &TColorButton::Choose);
    UpdateLook();
}

void TColorButton::SetColor(TColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    UpdateLook();
}

void TColorButton::Choose()
{
    TColor color = m_color;
    if (!Services().ColorDialog(color))
        return;
    SetColor(color);
    emit ColorChanged(color);
}

void TColorButton::UpdateLook()
{
    const int side = fontMetrics().height();
    QPixmap swatch(side * 2, side);
    swatch.fill(ToQColor(m_color));
    QPainter painter(&swatch);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    painter.end();
    setIcon(swatch);
    setIconSize(swatch.size());
    // The colour's name when it has one (clWindow, clRed), else its value.
    const QString name = ColorToIdent(m_color);
    setText(name.isEmpty() ? QStringLiteral("#%1%2%3")
                                 .arg(m_color.Red(), 2, 16, QLatin1Char('0'))
                                 .arg(m_color.Green(), 2, 16, QLatin1Char('0'))
                                 .arg(m_color.Blue(), 2, 16, QLatin1Char('0'))
                                 .toUpper()
                           : name);
}
