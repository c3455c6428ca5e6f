#include "keystroke.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

namespace {

TKeyStroke Stroke(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QKeyEvent event(QEvent::KeyPress, key, modifiers);
    return KeyStrokes::FromEvent(event);
}

TEST(KeyStrokes, ModifiersBecomeShiftAltCtrlBits)
{
    EXPECT_EQ(Stroke(Qt::Key_A).shift, 0);
    EXPECT_EQ(Stroke(Qt::Key_A, Qt::ShiftModifier).shift, ssShift);
    EXPECT_EQ(Stroke(Qt::Key_A, Qt::AltModifier).shift, ssAlt);
    EXPECT_EQ(Stroke(Qt::Key_A, Qt::ControlModifier).shift, ssCtrl);
    EXPECT_EQ(Stroke(Qt::Key_A, Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier).shift, 7);
    // The keypad and Meta flags are no part of the set.
    EXPECT_EQ(Stroke(Qt::Key_A, Qt::KeypadModifier | Qt::MetaModifier).shift, 0);
}

TEST(KeyStrokes, KeysBecomeVirtualKeyCodes)
{
    EXPECT_EQ(Stroke(Qt::Key_Backspace).key, 8);
    EXPECT_EQ(Stroke(Qt::Key_Tab).key, 9);
    EXPECT_EQ(Stroke(Qt::Key_Return).key, 13);
    EXPECT_EQ(Stroke(Qt::Key_Enter, Qt::KeypadModifier).key, 13);
    EXPECT_EQ(Stroke(Qt::Key_Escape).key, 27);
    EXPECT_EQ(Stroke(Qt::Key_PageUp).key, 33);
    EXPECT_EQ(Stroke(Qt::Key_PageDown).key, 34);
    EXPECT_EQ(Stroke(Qt::Key_End).key, 35);
    EXPECT_EQ(Stroke(Qt::Key_Home).key, 36);
    EXPECT_EQ(Stroke(Qt::Key_Left).key, 37);
    EXPECT_EQ(Stroke(Qt::Key_Down).key, 40);
    EXPECT_EQ(Stroke(Qt::Key_Insert).key, 45);
    EXPECT_EQ(Stroke(Qt::Key_Delete).key, 46);
    EXPECT_EQ(Stroke(Qt::Key_0).key, '0');
    EXPECT_EQ(Stroke(Qt::Key_Z).key, 'Z');
    EXPECT_EQ(Stroke(Qt::Key_F1).key, 112);
    EXPECT_EQ(Stroke(Qt::Key_F12).key, 123);
    EXPECT_EQ(Stroke(Qt::Key_BracketLeft).key, 219);
    EXPECT_EQ(Stroke(Qt::Key_unknown).key, 0);
}

TEST(KeyStrokes, ShiftedKeysKeepTheCodeOfTheirKey)
{
    // Shift+Tab arrives as Backtab, Shift+1 as "!", Shift+[ as "{".
    const TKeyStroke backTab = Stroke(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(backTab.key, Vk::Tab);
    EXPECT_EQ(backTab.shift, ssShift);
    EXPECT_EQ(Stroke(Qt::Key_Exclam, Qt::ShiftModifier | Qt::ControlModifier).key, '1');
    EXPECT_EQ(Stroke(Qt::Key_ParenRight, Qt::ShiftModifier).key, '0');
    EXPECT_EQ(Stroke(Qt::Key_BraceLeft, Qt::ShiftModifier).key, Vk::Oem4);
    EXPECT_EQ(Stroke(Qt::Key_Less, Qt::ShiftModifier | Qt::AltModifier).key, Vk::OemComma);
}

TEST(KeyStrokes, KeypadKeysHaveTheirOwnCodes)
{
    EXPECT_EQ(Stroke(Qt::Key_7, Qt::KeypadModifier).key, Vk::Numpad0 + 7);
    EXPECT_EQ(Stroke(Qt::Key_Plus, Qt::KeypadModifier).key, Vk::Add);
    EXPECT_EQ(Stroke(Qt::Key_Minus, Qt::KeypadModifier).key, Vk::Subtract);
    EXPECT_EQ(Stroke(Qt::Key_Asterisk, Qt::KeypadModifier).key, Vk::Multiply);
    // The arrows of the keypad are arrows.
    EXPECT_EQ(Stroke(Qt::Key_Left, Qt::KeypadModifier).key, Vk::Left);
    EXPECT_EQ(Stroke(Qt::Key_Plus).key, Vk::OemPlus);
}

TEST(KeyStrokes, TheKeyOfACharacterIsTheKeyThatTypesIt)
{
    EXPECT_EQ(KeyStrokes::KeyOfChar('['), 219);
    EXPECT_EQ(KeyStrokes::KeyOfChar(']'), 221);
    EXPECT_EQ(KeyStrokes::KeyOfChar('a'), 'A');
    EXPECT_EQ(KeyStrokes::KeyOfChar('A'), 'A');
    EXPECT_EQ(KeyStrokes::KeyOfChar('7'), '7');
    EXPECT_EQ(KeyStrokes::KeyOfChar('@'), '2');
    EXPECT_EQ(KeyStrokes::KeyOfChar('\x01'), 0);
}

} // namespace
