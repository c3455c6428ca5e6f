#include "keystroke.h"

#include <QKeyEvent>

namespace KeyStrokes {
namespace {

// The punctuation of a US layout and the key that types it.
struct TPunctuation {
    char plain;
    char shifted;
    quint16 key;
};

constexpr TPunctuation kPunctuation[] = {
    {';', ':', Vk::Oem1},      {'=', '+', Vk::OemPlus}, {',', '<', Vk::OemComma}, {'-', '_', Vk::OemMinus},
    {'.', '>', Vk::OemPeriod}, {'/', '?', Vk::Oem2},    {'`', '~', Vk::Oem3},     {'[', '{', Vk::Oem4},
    {'\\', '|', Vk::Oem5},     {']', '}', Vk::Oem6},    {'\'', '"', Vk::Oem7},
};

// The characters Shift types on the digit row of a US layout, from "1" on.
constexpr char kShiftedDigits[] = "!@#$%^&*()";

quint16 keyOfAscii(char ch)
{
    if (ch >= 'a' && ch <= 'z')
        return quint16(ch - 'a' + 'A');
    if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'))
        return quint16(ch);
    if (ch == ' ')
        return Vk::Space;
    for (const TPunctuation& p : kPunctuation) {
        if (ch == p.plain || ch == p.shifted)
            return p.key;
    }
    for (int i = 0; i < 10; ++i) {
        // "!" is on the key of "1", ")" on the key of "0".
        if (ch == kShiftedDigits[i])
            return quint16(i == 9 ? '0' : '1' + i);
    }
    return 0;
}

} // namespace

quint16 VirtualKey(int qtKey, bool keypad)
{
    if (keypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return quint16(Vk::Numpad0 + (qtKey - Qt::Key_0));
        switch (qtKey) {
        case Qt::Key_Asterisk: return Vk::Multiply;
        case Qt::Key_Plus: return Vk::Add;
        case Qt::Key_Minus: return Vk::Subtract;
        case Qt::Key_Period:
        case Qt::Key_Comma: return Vk::Decimal;
        case Qt::Key_Slash: return Vk::Divide;
        default: break;
        }
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return quint16(Vk::F1 + (qtKey - Qt::Key_F1));
    switch (qtKey) {
    case Qt::Key_Backspace: return Vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return Vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Vk::Return;
    case Qt::Key_Shift: return Vk::Shift;
    case Qt::Key_Control: return Vk::Control;
    case Qt::Key_Alt: return Vk::Menu;
    case Qt::Key_Pause: return Vk::Pause;
    case Qt::Key_CapsLock: return Vk::Capital;
    case Qt::Key_Escape: return Vk::Escape;
    case Qt::Key_PageUp: return Vk::Prior;
    case Qt::Key_PageDown: return Vk::Next;
    case Qt::Key_End: return Vk::End;
    case Qt::Key_Home: return Vk::Home;
    case Qt::Key_Left: return Vk::Left;
    case Qt::Key_Up: return Vk::Up;
    case Qt::Key_Right: return Vk::Right;
    case Qt::Key_Down: return Vk::Down;
    case Qt::Key_Print: return Vk::Snapshot;
    case Qt::Key_Insert: return Vk::Insert;
    case Qt::Key_Delete: return Vk::Delete;
    case Qt::Key_Meta: return Vk::LWin;
    case Qt::Key_Menu: return Vk::Apps;
    case Qt::Key_NumLock: return Vk::NumLock;
    case Qt::Key_ScrollLock: return Vk::Scroll;
    default: break;
    }
    // Qt names the printable keys by the Latin-1 character they type.
    if (qtKey >= 0x20 && qtKey < 0x7f)
        return keyOfAscii(char(qtKey));
    return 0;
}

TKeyStroke FromEvent(const QKeyEvent& event)
{
    TKeyStroke stroke;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers & Qt::ShiftModifier)
        stroke.shift |= ssShift;
    if (modifiers & Qt::AltModifier)
        stroke.shift |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        stroke.shift |= ssCtrl;
#ifdef Q_OS_WIN
    // The system's own virtual key, whatever the layout.
    if (event.nativeVirtualKey() > 0 && event.nativeVirtualKey() <= 0xffff) {
        stroke.key = quint16(event.nativeVirtualKey());
        return stroke;
    }
#endif
    stroke.key = VirtualKey(event.key(), modifiers & Qt::KeypadModifier);
    return stroke;
}

quint16 KeyOfChar(char ch)
{
    return keyOfAscii(ch);
}

} // namespace KeyStrokes
