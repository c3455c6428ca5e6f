#include "openprogress.h"

#include "custommemo.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

namespace {

// The application answers at most this often while a file comes in: each
// round costs a paint.
constexpr qint64 kEventsEveryMs = 40;
constexpr int kSteps = 1000;

// Keys that only move the caret, and so never change the text.
bool movesOnly(const QKeyEvent& key)
{
    if (key.modifiers() & ~(Qt::ShiftModifier | Qt::ControlModifier | Qt::KeypadModifier))
        return false;
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

} // namespace

TOpenProgress::TOpenProgress(QMainWindow& window, const TCustomMemoSource& document, const QString& name)
    : m_window(window), m_document(document), m_name(name)
{
    m_clock.start();
    qApp->installEventFilter(this);
}

TOpenProgress::~TOpenProgress()
{
    qApp->removeEventFilter(this);
    if (m_bar) {
        m_window.statusBar()->removeWidget(m_bar);
        delete m_bar;
    }
    // The kept keys go back in the order typed, behind whatever the caller
    // of the load does with the document first.
    if (!m_kept.empty())
        QTimer::singleShot(0, &m_window, [kept = std::move(m_kept)]() { Replay(kept); });
}

void TOpenProgress::Replay(const std::vector<TKeptKey>& kept)
{
    for (const TKeptKey& key : kept) {
        // A key with Ctrl or Alt may be a command's shortcut: the command of
        // the window it was typed in acts, as it would have then.
        const bool command = key.modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (command && key.window && key.type == QEvent::KeyPress) {
            const QKeySequence typed(QKeyCombination(Qt::KeyboardModifiers(key.modifiers), Qt::Key(key.key)));
            QAction* match = nullptr;
            for (QAction* action : key.window->findChildren<QAction*>()) {
                if (action->isEnabled() && action->shortcuts().contains(typed))
                    match = action;
            }
            if (match) {
                match->trigger();
                continue;
            }
        }
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : key.widget.data();
        if (!target)
            continue;
        QKeyEvent event(QEvent::Type(key.type), key.key, Qt::KeyboardModifiers(key.modifiers), key.scanCode,
                        key.virtualKey, key.nativeModifiers, key.text, key.autoRepeat);
        QApplication::sendEvent(target, &event);
    }
}

bool TOpenProgress::Arrived(qint64 done, qint64 total)
{
    // The first piece is painted at once; then the application answers
    // between pieces now and then.
    const qint64 now = m_clock.elapsed();
    if (m_lastEvents >= 0 && now - m_lastEvents < kEventsEveryMs)
        return !m_cancelled;
    if (!m_bar)
        ShowBar();
    m_progress->setValue(total > 0 ? int(std::clamp<qint64>(done * kSteps / total, 0, kSteps)) : 0);
    QApplication::processEvents();
    m_lastEvents = m_clock.elapsed();
    return !m_cancelled;
}

void TOpenProgress::ShowBar()
{
    m_bar = new QWidget;
    auto* layout = new QHBoxLayout(m_bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Loading %1").arg(m_name), m_bar));
    m_progress = new QProgressBar(m_bar);
    m_progress->setRange(0, kSteps);
    m_progress->setTextVisible(false);
    m_progress->setMaximumWidth(160);
    layout->addWidget(m_progress);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), m_bar);
    cancel->setObjectName(QStringLiteral("CancelLoad"));
    cancel->setFocusPolicy(Qt::NoFocus);
    connect(cancel, &QPushButton::clicked, this, [this]() { m_cancelled = true; });
    layout->addWidget(cancel);
    m_window.statusBar()->addWidget(m_bar);
    m_bar->show();
}

bool TOpenProgress::InDocumentView(QObject* object) const
{
    for (QObject* o = object; o; o = o->parent()) {
        if (auto* view = qobject_cast<TCustomDCMemo*>(o))
            return view->MemoSource() == &m_document;
    }
    return false;
}

bool TOpenProgress::KeyEvent(QObject* watched, QKeyEvent& key)
{
    if (key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier) {
        if (key.type() == QEvent::KeyPress)
            m_cancelled = true;
        key.accept();
        return true;
    }
    if (m_kept.empty() && movesOnly(key) && InDocumentView(watched))
        return false;
    // Kept: no shortcut may act on it now, nor the widget take it.
    key.accept();
    if (key.type() != QEvent::ShortcutOverride) {
        auto* widget = static_cast<QWidget*>(watched);
        m_kept.push_back({widget, widget->window(), int(key.type()), key.key(), int(key.modifiers()), key.nativeScanCode(),
                          key.nativeVirtualKey(), key.nativeModifiers(), key.text(), key.isAutoRepeat()});
    }
    return true;
}

bool TOpenProgress::eventFilter(QObject* watched, QEvent* event)
{
    // Events reach the window before the widget in it: only the widget's
    // are judged.
    if (!watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return KeyEvent(watched, static_cast<QKeyEvent&>(*event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return !InDocumentView(widget) && !(m_bar && (widget == m_bar || m_bar->isAncestorOf(widget)));
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    case QEvent::Close:
        if (widget != &m_window)
            return false;
        event->ignore();
        return true;
    default:
        return false;
    }
}
