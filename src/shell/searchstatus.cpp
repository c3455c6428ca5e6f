#include "searchstatus.h"

#include "memosource.h"

#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTimer>

namespace {

// How often a running count is looked at.
constexpr int kPollMs = 100;

} // namespace

const QString TSearchStatus::kWrappedForward = QStringLiteral("Passed the end; went on from the top");
const QString TSearchStatus::kWrappedBackward = QStringLiteral("Passed the top; went on from the end");

TSearchStatus::TSearchStatus(QStatusBar* bar, int firstPermanent, QObject* parent) : QObject(parent)
{
    m_panel = new QLabel(bar);
    m_panel->setObjectName(QStringLiteral("MatchPanel"));
    m_panel->setFrameShape(QFrame::Panel);
    m_panel->setFrameShadow(QFrame::Sunken);
    m_panel->setMinimumWidth(m_panel->fontMetrics().horizontalAdvance(QStringLiteral("9,999,999 of 9,999,999")) + 12);
    m_panel->hide();
    bar->insertPermanentWidget(firstPermanent, m_panel);
    m_timer = new QTimer(this);
    m_timer->setInterval(kPollMs);
    connect(m_timer, &QTimer::timeout, this, &TSearchStatus::Refresh);
}

QString TSearchStatus::Describe(const TMatchCount::TPlace& place)
{
    const QLocale english(QLocale::English);
    auto number = [&](qint64 value) { return value < 0 ? QStringLiteral("...") : english.toString(value); };
    return QStringLiteral("%1 of %2").arg(number(place.number), number(place.total));
}

void TSearchStatus::Update(const TCustomMemoSource* active)
{
    const TFoundMatch* found = active && active->FoundMatch().Valid() ? &active->FoundMatch() : nullptr;
    if (active == m_source && found && found->serial == m_serial && active->TextVersion() == m_version)
        return;
    m_source = active;
    m_serial = found ? found->serial : 0;
    m_version = active ? active->TextVersion() : 0;
    m_place = {};
    m_count.Follow(found ? active : nullptr);
    if (!found) {
        m_timer->stop();
        m_panel->clear();
        m_panel->setToolTip(QString());
        m_panel->hide();
        return;
    }
    m_panel->show();
    Refresh();
}

void TSearchStatus::Refresh()
{
    if (!m_source || !m_source->FoundMatch().Valid()) {
        m_timer->stop();
        return;
    }
    const TFoundMatch& found = m_source->FoundMatch();
    // Asked first: a count that ends meanwhile is then read once more.
    const bool busy = m_count.Busy();
    // The number, once known, stays: only the total may still come.
    if (m_place.number < 0 || m_place.total < 0)
        m_place = m_count.Place(*m_source);
    QString text = Describe(m_place);
    if (found.wrapped)
        text += QStringLiteral(" - ")
                + (found.options.direction == sdBackward ? kWrappedBackward : kWrappedForward);
    m_panel->setText(text);
    m_panel->setToolTip(m_place.total < 0 && !busy
                            ? QStringLiteral("The expression was too complex to count every match.")
                            : QString());
    if (busy)
        m_timer->start();
    else
        m_timer->stop();
}
