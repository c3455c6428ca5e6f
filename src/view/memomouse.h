#pragma once

#include "keylist.h"
#include "position.h"

#include <QObject>
#include <QPoint>
#include <QTimer>

class QMouseEvent;
class TCustomDCMemo;

// The mouse buttons in the modifier set of mouse events, above the keys.
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;

// The modifier set of a mouse event: its keys and the button that went down
// or up.
TShiftState MouseShift(Qt::KeyboardModifiers modifiers, Qt::MouseButton button = Qt::NoButton);

// What the left button is doing: nothing, selecting, pressed inside the
// selection (a drag of it pending), or holding a word or line that a double
// or triple click selected.
enum TMouseMode : quint8 { mmNone = 0, mmSelecting = 1, mmDragPending = 2, mmWordSelected = 3 };

// The mouse of an editor control: clicks and drags turned into caret moves,
// selections, drag-and-drop of the selected text, gutter, collapse-box and
// URL clicks, the popup menu, and the cursor shape. It works on the control's
// attached text store through the store's own operations.
class TMemoMouse : public QObject {
public:
    explicit TMemoMouse(TCustomDCMemo& memo);

    TMouseMode Mode() const { return m_mode; }
    void Press(QMouseEvent* event, bool doubleClick);
    void Move(QMouseEvent* event);
    void Release(QMouseEvent* event);
    // Ends a running operation where it stands (Esc, focus loss); a pending
    // drag drops nothing.
    void Cancel();

private:
    // Moves the caret to pos as a jump (no view hook), keeping the selection.
    void PlaceCaret(TTextPos pos);
    // The caret position for the pointer at pixel while a button is held:
    // left of the window the columns before the shown ones.
    TTextPos DragPosition(QPoint pixel);
    void FollowPointer(QPoint pixel);
    void AutoScroll();
    bool IsTripleClick(QPoint pixel) const;
    void StartSelecting(TTextPos oldCaret, bool extend);
    bool CanDrop(bool copy) const;
    void Drop(bool copy);
    // The line whose collapse box is under pixel, -1 for none.
    int CollapseBoxAt(QPoint pixel);
    void ToggleCollapse(int line);
    // The URL under pixel: its line and first column; false when none.
    bool UrlAt(QPoint pixel, TTextPos& start, QByteArray& url);
    void JumpToUrl(const QByteArray& url);
    void ClickGutter(QPoint pixel, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void UpdateCursor(QPoint pixel, Qt::KeyboardModifiers modifiers);
    void StopAutoScroll();

    TCustomDCMemo& m_memo;
    TMouseMode m_mode = mmNone;
    // The caret position when the selection began: its fixed end.
    TTextPos m_anchor;
    // The selection type a drag asks for (stream, or column with Alt).
    int m_selectKind = 1;
    // Timer 1: scrolls while the pointer is held outside the window.
    QTimer m_scrollTimer;
    QPoint m_lastPixel;
    // The last double click, to tell a triple click (time -1: none).
    qint64 m_doubleClickTime = -1;
    QPoint m_doubleClickPixel;
    // Where the left button went down: on a collapse box (its line), in the
    // gutter, on a highlighted URL.
    int m_collapseLine = -1;
    bool m_downInGutter = false;
    bool m_downOnUrl = false;
    TTextPos m_urlStart;
};
