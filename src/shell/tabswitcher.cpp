// Keyboard switching of document tabs. The keys are looked at by an
// application event filter, before any widget of the window sees them, so
// that they work wherever the focus is (editor, folder panel, tab row);
// only keys of this window are looked at.

#include "tabswitcher.h"

#include "custommemo.h"
#include "documenttabbar.h"
#include "keystroke.h"
#include "memosource.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>

TTabSwitcher::TTabSwitcher(TDocumentTabBar& tabs, QWidget& window) : QObject(&window), m_tabs(tabs), m_window(window)
{
    // Every document the user comes to counts as used, unless a cycle is
    // only passing through it.
    connect(&m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (!m_cycling)
            Used(index);
    });
    qApp->installEventFilter(this);
}

std::vector<TCustomMemoSource*> TTabSwitcher::RecentOrder() const
{
    std::vector<TCustomMemoSource*> order;
    for (const QPointer<TCustomMemoSource>& document : m_recent) {
        if (document && m_tabs.IndexOf(document) >= 0)
            order.push_back(document);
    }
    // Documents never shown yet come after, in the row's order.
    for (int i = 0; i < m_tabs.count(); ++i) {
        TCustomMemoSource* document = m_tabs.DocumentAt(i);
        if (document && std::find(order.begin(), order.end(), document) == order.end())
            order.push_back(document);
    }
    return order;
}

bool TTabSwitcher::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::MouseButtonPress
        && type != QEvent::WindowDeactivate)
        return false;
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != &m_window)
        return false;
    if (type != QEvent::KeyPress) {
        const bool ctrlUp = type == QEvent::KeyRelease && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Control;
        if (m_cycling && (ctrlUp || type != QEvent::KeyRelease))
            EndCycle();
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    bool neighbour = false;
    const int step = Step(*key, neighbour);
    if (step == 0) {
        // Any other key ends a cycle: Ctrl was let go unseen.
        if (m_cycling && !(key->modifiers() & Qt::ControlModifier))
            EndCycle();
        return false;
    }
    if (EditorTakes(*key))
        return false;
    if (neighbour)
        Neighbour(step);
    else
        Cycle(step);
    return true;
}

int TTabSwitcher::Step(const QKeyEvent& key, bool& neighbour) const
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    neighbour = false;
    if (key.key() == Qt::Key_Tab && modifiers == Qt::ControlModifier)
        return 1;
    if ((key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab)
        && modifiers == (Qt::ControlModifier | Qt::ShiftModifier))
        return -1;
    neighbour = true;
    if (key.key() == Qt::Key_PageDown && modifiers == Qt::ControlModifier)
        return 1;
    if (key.key() == Qt::Key_PageUp && modifiers == Qt::ControlModifier)
        return -1;
    return 0;
}

bool TTabSwitcher::EditorTakes(const QKeyEvent& key) const
{
    auto* editor = qobject_cast<TCustomDCMemo*>(QApplication::focusWidget());
    if (!editor)
        return false;
    if (editor->KeyState() != 0)
        return true;
    const TKeyStroke stroke = KeyStrokes::FromEvent(key);
    return stroke.key != 0 && editor->KeyList().Find(stroke.key, stroke.shift, 0) != nullptr;
}

void TTabSwitcher::Cycle(int step)
{
    if (!m_cycling) {
        // The cycle starts from the document shown, whatever showed it.
        m_cycleOrder = RecentOrder();
        const auto shown = std::find(m_cycleOrder.begin(), m_cycleOrder.end(), m_tabs.DocumentAt(m_tabs.currentIndex()));
        if (shown != m_cycleOrder.end())
            std::rotate(m_cycleOrder.begin(), shown, shown + 1);
        m_cyclePos = 0;
        m_cycling = true;
    }
    // Documents closed during the cycle are passed over.
    const int count = int(m_cycleOrder.size());
    for (int tries = 0; tries < count; ++tries) {
        m_cyclePos = ((m_cyclePos + step) % count + count) % count;
        const int index = m_tabs.IndexOf(m_cycleOrder[size_t(m_cyclePos)]);
        if (index >= 0) {
            m_tabs.setCurrentIndex(index);
            return;
        }
    }
}

void TTabSwitcher::Neighbour(int step)
{
    const int count = m_tabs.count();
    if (count > 0)
        m_tabs.setCurrentIndex(((m_tabs.currentIndex() + step) % count + count) % count);
}

void TTabSwitcher::EndCycle()
{
    m_cycling = false;
    m_cycleOrder.clear();
    Used(m_tabs.currentIndex());
}

void TTabSwitcher::Used(int index)
{
    TCustomMemoSource* document = m_tabs.DocumentAt(index);
    if (!document)
        return;
    m_recent.erase(std::remove_if(m_recent.begin(), m_recent.end(),
                                  [document](const QPointer<TCustomMemoSource>& each) {
                                      return !each || each == document;
                                  }),
                   m_recent.end());
    m_recent.insert(m_recent.begin(), document);
}
