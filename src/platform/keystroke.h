#pragma once

#include "keylist.h"

class QKeyEvent;

// A key event as key lists see it: its virtual-key code and modifier set.
struct TKeyStroke {
    quint16 key = 0; // 0: a key no list can bind
    TShiftState shift = 0;
};

// The one place where the toolkit's key events become virtual keys.
namespace KeyStrokes {

TKeyStroke FromEvent(const QKeyEvent& event);
// The virtual key of a toolkit key code (Qt::Key); keypad tells the digits
// and operators of the numeric keypad apart. 0 when none.
quint16 VirtualKey(int qtKey, bool keypad = false);
// The key that types ch on the current layout (0 when none does): what a
// binding such as Ctrl+[ means.
quint16 KeyOfChar(char ch);

} // namespace KeyStrokes
