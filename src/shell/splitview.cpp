// The split view: a splitter holding the window's editor and, while the
// split is open, a second control on the same store.

#include "splitview.h"

#include "custommemo.h"

#include <QEvent>
#include <QLayout>
#include <QSplitter>

TSplitView::TSplitView(TCustomDCMemo& first, TMakeView makeSecond, QObject* parent)
    : QObject(parent), m_first(first), m_makeSecond(std::move(makeSecond)), m_active(&first)
{
    // Made without a parent: a splitter holding first would take a new
    // child in as its last widget, not in first's place.
    QWidget* holder = first.parentWidget();
    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->setObjectName(QStringLiteral("ViewSplit"));
    m_splitter->setChildrenCollapsible(false);
    if (auto* split = qobject_cast<QSplitter*>(holder)) {
        split->replaceWidget(split->indexOf(&first), m_splitter);
    } else {
        m_splitter->setParent(holder);
        if (holder && holder->layout())
            delete holder->layout()->replaceWidget(&first, m_splitter);
    }
    m_splitter->addWidget(&first);
    first.show();
    first.installEventFilter(this);
}

bool TSplitView::IsOpen() const
{
    return !m_second.isNull();
}

TCustomDCMemo* TSplitView::Second() const
{
    return m_second;
}

TCustomDCMemo* TSplitView::ActiveView() const
{
    return m_second && m_active ? m_active.data() : &m_first;
}

void TSplitView::Open()
{
    if (m_second)
        return;
    m_second = m_makeSecond(m_splitter);
    m_splitter->addWidget(m_second);
    const int half = std::max(1, m_splitter->width() / 2);
    m_splitter->setSizes({half, half});
    m_second->installEventFilter(this);
    m_second->setEnabled(m_first.isEnabled());
    m_second->SetMemoSource(m_first.MemoSource());
    // The new view opens where the first one stands.
    m_second->SetTopRow(m_first.TopRow());
    m_second->SetLeftColumn(m_first.LeftColumn());
    m_second->show();
    if (m_second->isEnabled())
        m_second->setFocus(Qt::OtherFocusReason);
}

void TSplitView::Close()
{
    if (!m_second)
        return;
    // The first control takes the store's caret back before the second
    // lets go of the store.
    const bool focused = m_second->hasFocus();
    if (focused && m_first.isEnabled())
        m_first.setFocus(Qt::OtherFocusReason);
    m_active = &m_first;
    delete m_second.data();
}

void TSplitView::Show(TCustomMemoSource* source)
{
    TCustomDCMemo* active = ActiveView();
    active->SetMemoSource(source);
    if (m_second)
        (active == &m_first ? m_second.data() : &m_first)->SetMemoSource(source);
}

void TSplitView::SetEnabled(bool enabled)
{
    m_first.setEnabled(enabled);
    if (m_second)
        m_second->setEnabled(enabled);
}

bool TSplitView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == &m_first || watched == m_second))
        m_active = static_cast<TCustomDCMemo*>(watched);
    return QObject::eventFilter(watched, event);
}
