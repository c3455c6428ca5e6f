#include "progressbar.h"

#include <QApplication>
#include <QProgressDialog>

#include <algorithm>

namespace {

// Events are let through at most this often: each round costs a paint.
constexpr qint64 kEventsEveryMs = 40;
constexpr int kSteps = 1000;

} // namespace

TProgressBar::TProgressBar() = default;
TProgressBar::~TProgressBar() = default;

void TProgressBar::Begin(const QString& caption)
{
    if (m_depth++ > 0)
        return;
    m_caption = caption;
    m_clock.start();
    m_lastEvents = 0;
}

bool TProgressBar::Report(qint64 done, qint64 total)
{
    if (m_depth == 0)
        return true;
    const qint64 now = m_clock.elapsed();
    if (!m_dialog) {
        if (now < kShowAfterMs)
            return true;
        m_dialog = std::make_unique<QProgressDialog>(m_caption, QStringLiteral("Cancel"), 0, kSteps,
                                                     QApplication::activeWindow());
        m_dialog->setWindowTitle(QApplication::applicationName().isEmpty() ? QStringLiteral("Tarnel")
                                                                           : QApplication::applicationName());
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->show();
        m_lastEvents = -kEventsEveryMs;
    }
    if (now - m_lastEvents >= kEventsEveryMs) {
        const int value = total > 0 ? int(std::clamp<qint64>(done * kSteps / total, 0, kSteps)) : 0;
        if (value != m_dialog->value())
            m_dialog->setValue(value);
        QApplication::processEvents();
        m_lastEvents = now;
    }
    return !m_dialog->wasCanceled();
}

void TProgressBar::End()
{
    if (m_depth == 0 || --m_depth > 0)
        return;
    m_dialog.reset();
}
