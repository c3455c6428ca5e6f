#pragma once

#include "color.h"

#include <QColor>
#include <QPalette>

// Turns colours as the program stores them into colours to paint with:
// standard colours by their bytes, system colours (clWindow, clHighlight...)
// by the palette.
namespace SystemColors {

// 0xAARRGGBB.
quint32 Resolve(TColor color, const QPalette& palette);
QColor ToQColor(TColor color, const QPalette& palette);

} // namespace SystemColors
