#include "font.h"

#include <cmath>

TFont::TFont(const QString& name, int height, TColor color, TFontStyles style)
    : m_color(color), m_height(height), m_name(name), m_style(style)
{
}

int TFont::Size() const
{
    return int(std::lround(-m_height * 72.0 / kPixelsPerInch));
}

void TFont::SetSize(int points)
{
    m_height = -int(std::lround(points * double(kPixelsPerInch) / 72.0));
}
