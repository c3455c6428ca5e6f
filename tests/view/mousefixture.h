#pragma once

#include "viewfixture.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

// A control in an active window, driven by real mouse events on its
// viewport.
class MouseTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        memo->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(memo.get()));
    }

    TCustomMemoSource& Source() { return *memo->MemoSource(); }
    QWidget* Port() { return memo->viewport(); }

    // A pixel in the cell of a column that is also nearest to the caret
    // place before it.
    QPoint Pixel(int line, int column)
    {
        return QPoint(memo->TextLeft() + (column - memo->LeftColumn()) * memo->CharWidth() + 1,
                      (line - memo->TopLine()) * memo->LineHeight() + memo->LineHeight() / 2);
    }
    // A pixel in the gutter on a line's row.
    QPoint GutterPixel(int line, int x = 2)
    {
        return QPoint(x, (line - memo->TopLine()) * memo->LineHeight() + memo->LineHeight() / 2);
    }

    void Click(QPoint pixel, Qt::KeyboardModifiers modifiers = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(Port(), button, modifiers, pixel);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mousePress(Port(), Qt::LeftButton, modifiers, from);
        QTest::mouseMove(Port(), to);
        QTest::mouseRelease(Port(), Qt::LeftButton, modifiers, to);
    }
    // A move with no button held (QTest only moves the system cursor then).
    void Hover(QPoint pixel)
    {
        QMouseEvent event(QEvent::MouseMove, pixel, Port()->mapToGlobal(pixel), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(Port(), &event);
    }
    void DoubleClick(QPoint pixel)
    {
        QTest::mousePress(Port(), Qt::LeftButton, {}, pixel);
        QTest::mouseRelease(Port(), Qt::LeftButton, {}, pixel);
        QTest::mouseDClick(Port(), Qt::LeftButton, {}, pixel);
        QTest::mouseRelease(Port(), Qt::LeftButton, {}, pixel);
    }

    // One wheel notch (or part of one: 120 is a notch) at the control's
    // middle.
    void Wheel(int angle, Qt::Orientation orientation = Qt::Vertical)
    {
        const QPoint pixel = Port()->rect().center();
        const QPoint delta = orientation == Qt::Vertical ? QPoint(0, angle) : QPoint(angle, 0);
        QWheelEvent event(pixel, Port()->mapToGlobal(pixel), QPoint(), delta, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Port(), &event);
    }

    static QByteArray Lines(int count)
    {
        QByteArray text;
        for (int i = 0; i < count; ++i)
            text += "line " + QByteArray::number(i) + '\n';
        return text;
    }
};
