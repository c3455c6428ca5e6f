#pragma once

#include "color.h"
#include "font.h"

#include <QString>

#include <functional>

// What the parsers take from the global editor options: the look of the
// global text style of a name, and a notice when the options change.
namespace GlobalStyles {

struct TLook {
    TColor fontColor = clWindowText;
    TFont::TFontStyles fontStyle;
    TColor backColor = clWindow;
};

// The look of the global style named name (ASCII case-insensitive, first
// match); false when there is none.
bool Find(const QString& name, TLook& look);

// Calls notice after every change of the global editor options.
void Listen(std::function<void()> notice);

} // namespace GlobalStyles
