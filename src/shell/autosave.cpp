// When to journal a document. One timer per document: every change
// restarts it with the pause, cut short so that it fires no later than the
// longest wait after the first change not yet written.

#include "autosave.h"

#include "journal.h"
#include "memosource.h"
#include "services.h"

#include <QDateTime>
#include <QDir>
#include <QTimer>

#include <algorithm>

namespace {

int& pauseMs()
{
    static int value = TAutosave::kPauseMs;
    return value;
}

int& longestMs()
{
    static int value = TAutosave::kLongestMs;
    return value;
}

} // namespace

void TAutosave::SetDelays(int pause, int longest)
{
    pauseMs() = pause > 0 ? pause : kPauseMs;
    longestMs() = longest > 0 ? longest : kLongestMs;
}

TAutosave::TAutosave(TJournal& journal, std::function<QString(const TMemoSource*)> diskState, QObject* parent)
    : QObject(parent), m_journal(journal), m_diskState(std::move(diskState))
{
    connect(&m_journal, &TJournal::Failed, this, &TAutosave::ReportFailure);
}

TAutosave::~TAutosave()
{
    if (!m_ended)
        WriteAll();
    for (auto& [document, watched] : m_watched)
        document->DetachView(watched.view);
}

void TAutosave::Watch(TMemoSource* document)
{
    if (m_watched.count(document))
        return;
    TWatched& watched = m_watched[document];
    watched.id = m_nextId++;
    watched.timer = new QTimer(this);
    watched.timer->setSingleShot(true);
    connect(watched.timer, &QTimer::timeout, this, [this, document] {
        auto it = m_watched.find(document);
        if (it == m_watched.end())
            return;
        // Typing went on since the timer was set: it waits for the rest.
        const qint64 wait = Due(it->second) - QDateTime::currentMSecsSinceEpoch();
        if (wait > 0)
            it->second.timer->start(int(std::min<qint64>(wait, pauseMs())));
        else
            WriteEntry(document, it->second);
    });
    watched.view = document->AttachView([this, document](const TMemoChange& change) { Changed(document, change); });
}

void TAutosave::Forget(TMemoSource* document)
{
    auto it = m_watched.find(document);
    if (it == m_watched.end())
        return;
    document->DetachView(it->second.view);
    delete it->second.timer;
    if (it->second.written)
        m_journal.Remove(it->second.id);
    m_watched.erase(it);
}

bool TAutosave::Adopt(TMemoSource* document, const QString& path)
{
    auto it = m_watched.find(document);
    if (it == m_watched.end() || !m_journal.Adopt(path, it->second.id))
        return false;
    it->second.written = true;
    return true;
}

void TAutosave::EndSession()
{
    m_ended = true;
    for (auto& [document, watched] : m_watched) {
        watched.timer->stop();
        watched.written = false;
    }
    m_journal.Close();
}

void TAutosave::WriteAll()
{
    for (auto& [document, watched] : m_watched) {
        if (document->Modified() && (watched.timer->isActive() || !watched.written))
            WriteEntry(document, watched);
    }
}

void TAutosave::Changed(TMemoSource* document, const TMemoChange& change)
{
    if (m_ended || !(change.flags & (Change::kText | Change::kUndoRedo | Change::kModified | Change::kFileName)))
        return;
    TWatched& watched = m_watched[document];
    if (!document->Modified()) {
        // Saved, or undone back to what is on disk: nothing to keep.
        watched.timer->stop();
        watched.firstPending = -1;
        if (watched.written)
            m_journal.Remove(watched.id);
        watched.written = false;
        return;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (watched.firstPending < 0)
        watched.firstPending = now;
    watched.lastChange = now;
    // A key costs no more than this: a running timer is not set again for
    // every key, it looks at the latest change when it fires.
    if (!watched.timer->isActive())
        watched.timer->start(int(std::clamp<qint64>(Due(watched) - now, 0, pauseMs())));
}

qint64 TAutosave::Due(const TWatched& watched) const
{
    return std::min(watched.lastChange + pauseMs(), watched.firstPending + longestMs());
}

void TAutosave::WriteEntry(TMemoSource* document, TWatched& watched)
{
    watched.timer->stop();
    watched.firstPending = -1;
    if (m_ended || !document->Modified())
        return;
    TJournalEntry header;
    header.fileName = document->FileName();
    header.outFormat = document->OutFormat();
    header.encoding = TJournalEntry::EncodingName(document->Encoding(), document->ByteOrderMark());
    header.caret = document->Caret();
    header.written = QDateTime::currentDateTimeUtc();
    header.diskState = m_diskState ? m_diskState(document) : QString();
    m_journal.Write(watched.id, header, document->Snapshot());
    watched.written = true;
}

void TAutosave::ReportFailure(const QString& reason)
{
    if (m_warned)
        return;
    m_warned = true;
    Services().ShowError(QStringLiteral("Unsaved changes cannot be kept for recovery after a crash: the journal "
                                        "cannot be written. %1 Editing goes on.")
                             .arg(reason));
}
