#pragma once

#include <QObject>
#include <QPointer>

class QLabel;
class QWheelEvent;
class TCustomDCMemo;

// The scroll bars and the wheel of an editor control: every scroll bar action
// first gives the control the focus; the vertical bar's top and bottom move
// the caret to the start and the end of the text; dragging its thumb shows
// the line-number hint beside the control; the wheel scrolls by rows and
// columns. The bars' values themselves scroll the view (the control's
// scrollContentsBy), following the thumb while it moves only with
// moThumbTracking.
class TMemoScroller : public QObject {
public:
    explicit TMemoScroller(TCustomDCMemo& memo);
    ~TMemoScroller() override;

    void Wheel(QWheelEvent* event);
    // The hint window, null until first shown.
    QLabel* Hint() const;
    void HideHint();

private:
    void Action(Qt::Orientation orientation, int action);
    void TakeFocus();
    // Shows the hint for the thumb at position (a top line).
    void ShowHint(int position);
    void ScrollRows(int rows);

    TCustomDCMemo& m_memo;
    QPointer<QLabel> m_hint;
    // Wheel angles not yet worth a notch (high-resolution wheels).
    int m_wheelRest = 0;
    int m_wheelRestX = 0;
};
