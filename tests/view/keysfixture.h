#pragma once

#include "viewfixture.h"

#include "keylist.h"
#include "searchoptions.h"

#include <QApplication>
#include <QKeyEvent>

#include <initializer_list>
#include <utility>
#include <vector>

// An editor control with the focus and a text, driven by real key events.
// Overwrite mode and the dialog hook are global: every test leaves them as
// it found them.
class KeysTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        memo->activateWindow();
        memo->setFocus();
        for (int i = 0; i < 100 && !memo->hasFocus(); ++i)
            QTest::qWait(5);
        ASSERT_TRUE(memo->hasFocus());
    }

    void TearDown() override
    {
        TCustomMemoSource::SetOverwriteMode(false);
        TCustomMemoSource::SetGlobalCreateDialog(nullptr);
        TSearchOptions::Global() = TSearchOptions();
        ViewTest::TearDown();
    }

    TCustomMemoSource& Source() { return *memo->MemoSource(); }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(memo.get(), key, modifiers);
    }
    // A sequence of strokes, such as {Ctrl+K, B}.
    void Keys(std::initializer_list<std::pair<Qt::Key, Qt::KeyboardModifiers>> strokes)
    {
        for (const auto& [key, modifiers] : strokes)
            Key(key, modifiers);
    }
    // Characters as a keyboard types them, whatever key they are on.
    void Type(const QString& text)
    {
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(memo.get(), &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(memo.get(), &release);
        }
    }

    // The lines joined by "\n".
    QByteArray Text()
    {
        QByteArray text;
        for (int i = 0; i < Source().LineCount(); ++i) {
            if (i > 0)
                text += '\n';
            text += Source().LineText(i);
        }
        return text;
    }
    TTextPos Caret() { return Source().Caret(); }
    void SetCaret(int line, int column) { Source().MoveCaretTo({line, column}); }
    QByteArray Selected() { return Source().HasSelection() ? Source().SelectedText() : QByteArray("<none>"); }

    // Records the dialogs the store opens; each confirms with line for go
    // to line and with the options as they are for the others.
    void HookDialogs(int line = 1)
    {
        TCustomMemoSource::SetGlobalCreateDialog(
            [this, line](TCustomMemoSource&, TDialogKind kind, TSearchOptions&, int& number) {
                dialogs.push_back(kind);
                number = line;
                return true;
            });
    }

    std::vector<TDialogKind> dialogs;
};

// Modifier sets as the tests write them.
constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kShiftAlt = Qt::ShiftModifier | Qt::AltModifier;
constexpr Qt::KeyboardModifiers kCtrlAlt = Qt::ControlModifier | Qt::AltModifier;
