// The editor control's scroll bars beyond their values, the scroll hint and
// the mouse wheel.

#include "memoscroll.h"

#include "custommemo.h"
#include "memosource.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

namespace {

// The angle of one wheel notch, in eighths of a degree.
constexpr int kNotch = 120;

} // namespace

void TCustomDCMemo::wheelEvent(QWheelEvent* event)
{
    m_scroller->Wheel(event);
}

TMemoScroller::TMemoScroller(TCustomDCMemo& memo) : m_memo(memo)
{
    for (QScrollBar* bar : {memo.verticalScrollBar(), memo.horizontalScrollBar()}) {
        const Qt::Orientation orientation = bar->orientation();
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, orientation](int action) { Action(orientation, action); });
        connect(bar, &QAbstractSlider::sliderPressed, this, [this] { TakeFocus(); });
    }
    QScrollBar* vertical = memo.verticalScrollBar();
    // Without tracking the view stays while the thumb moves: the hint names
    // the thumb's place. With tracking it names the line scrolled to, once
    // the view has followed.
    connect(vertical, &QAbstractSlider::sliderMoved, this, [this](int position) {
        if (!m_memo.Options().testFlag(moThumbTracking))
            ShowHint(m_memo.LineAtScrollValue(position));
    });
    connect(vertical, &QAbstractSlider::valueChanged, this, [this, vertical](int) {
        if (vertical->isSliderDown() && m_memo.Options().testFlag(moThumbTracking))
            ShowHint(m_memo.TopLine());
    });
    connect(vertical, &QAbstractSlider::sliderReleased, this, [this, vertical] {
        HideHint();
        // A bar that held still while its thumb took the view along now shows
        // the rows as they are known. (Without tracking the thumb's move
        // comes after this signal and updates the bar itself.)
        if (vertical->hasTracking())
            m_memo.UpdateScrollBars();
    });
}

TMemoScroller::~TMemoScroller()
{
    delete m_hint;
}

void TMemoScroller::TakeFocus()
{
    // A scroll message first gives the control the focus.
    if (m_memo.isVisible() && m_memo.isEnabled() && (m_memo.focusPolicy() & Qt::TabFocus) && !m_memo.hasFocus())
        m_memo.setFocus(Qt::OtherFocusReason);
}

void TMemoScroller::Action(Qt::Orientation orientation, int action)
{
    TakeFocus();
    TCustomMemoSource* source = m_memo.MemoSource();
    if (orientation != Qt::Vertical || !source)
        return;
    // Top and bottom take the caret along; the caret's move scrolls.
    if (action == QAbstractSlider::SliderToMinimum)
        source->TextStart();
    else if (action == QAbstractSlider::SliderToMaximum)
        source->TextEnd();
}

void TMemoScroller::ShowHint(int position)
{
    if (!m_memo.Options().testFlag(moShowScrollHint))
        return;
    QString text = QStringLiteral("~Line~ ") + QString::number(position + 1);
    if (m_memo.OnVerticalScroll)
        m_memo.OnVerticalScroll(m_memo, position, text);
    if (!m_hint) {
        m_hint = new QLabel(&m_memo, Qt::ToolTip);
        m_hint->setObjectName(QStringLiteral("ScrollHint"));
        m_hint->setPalette(QToolTip::palette());
        m_hint->setFont(QToolTip::font());
        m_hint->setAutoFillBackground(true);
        m_hint->setFrameStyle(QFrame::Box | QFrame::Plain);
        m_hint->setMargin(2);
    }
    m_hint->setText(text);
    m_hint->adjustSize();
    // Right of the control, at the pointer's height kept within the client
    // area.
    const QPoint client = m_memo.viewport()->mapToGlobal(QPoint(0, 0));
    const int lowest = client.y() + m_memo.viewport()->height() - m_hint->height();
    const int y = std::max(client.y(), std::min(QCursor::pos().y(), lowest));
    m_hint->move(m_memo.mapToGlobal(QPoint(m_memo.width(), 0)).x(), y);
    m_hint->show();
}

QLabel* TMemoScroller::Hint() const
{
    return m_hint;
}

void TMemoScroller::HideHint()
{
    if (m_hint)
        m_hint->hide();
}

void TMemoScroller::Wheel(QWheelEvent* event)
{
    event->accept();
    // Three rows a notch, or what the system is set to; high-resolution
    // wheels add up to whole notches.
    const int rows = std::max(1, QApplication::wheelScrollLines());
    const QPoint angle = event->angleDelta();
    m_wheelRest += angle.y();
    const int notches = m_wheelRest / kNotch;
    m_wheelRest -= notches * kNotch;
    if (notches != 0)
        ScrollRows(-notches * rows);
    m_wheelRestX += angle.x();
    const int notchesX = m_wheelRestX / kNotch;
    m_wheelRestX -= notchesX * kNotch;
    if (notchesX != 0)
        m_memo.SetLeftColumn(m_memo.LeftColumn() - notchesX * rows);
}

void TMemoScroller::ScrollRows(int rows)
{
    m_memo.SetTopRow(m_memo.m_rows.Step(m_memo.m_top, rows));
}
