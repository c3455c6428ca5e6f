// The journal's folders and its worker thread. The interface thread only
// queues jobs (a snapshot is cheap to move); the worker writes each entry
// through SaveFileSafely, which flushes it to the disk before it replaces
// the entry before it. The journal is also its process's folder for save
// records: the one made last serves until it goes.

#include "journal.h"

#include "filesaver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <algorithm>
#include <atomic>

const QString TJournal::kEntrySuffix = QStringLiteral(".tjn");
const QString TJournal::kSetAside = QStringLiteral("unreadable");

namespace {

QString& defaultRootOverride()
{
    static QString root;
    return root;
}

QString lockPath(const QString& folder)
{
    return folder + QStringLiteral(".lock");
}

// The journal whose folder keeps this process's save records.
std::atomic<TJournal*> g_recordKeeper{nullptr};

} // namespace

QString TJournal::DefaultRoot()
{
    if (!defaultRootOverride().isEmpty())
        return defaultRootOverride();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/journal");
}

void TJournal::SetDefaultRoot(const QString& root)
{
    defaultRootOverride() = root;
}

TJournal::TJournal(const QString& root, QObject* parent)
    : QObject(parent),
      m_root(QDir::cleanPath(root)),
      m_name(QStringLiteral("%1-%2")
                 .arg(QCoreApplication::applicationPid())
                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')))
{
    m_worker = std::thread([this] { Run(); });
    g_recordKeeper = this;
    SaveRecords::SetFolderProvider([](QString* error) {
        TJournal* journal = g_recordKeeper;
        if (!journal) {
            *error = QStringLiteral("The journal is closed.");
            return QString();
        }
        return journal->RecordFolder(error);
    });
}

TJournal::~TJournal()
{
    TJournal* self = this;
    if (g_recordKeeper.compare_exchange_strong(self, nullptr))
        SaveRecords::SetFolderProvider(nullptr);
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_worker.join();
    // The locks go with their objects; a folder with entries stays for the
    // next start, an empty one has nothing to offer.
    if (m_open && !m_closed)
        QDir(m_root).rmdir(m_name);
}

QString TJournal::Folder() const
{
    return m_root + u'/' + m_name;
}

QString TJournal::EntryPath(int id) const
{
    return Folder() + u'/' + QString::number(id) + kEntrySuffix;
}

QString TJournal::RecordFolder(QString* error)
{
    if (m_closed) {
        *error = QStringLiteral("The journal is closed.");
        return {};
    }
    return Open(error) ? Folder() : QString();
}

bool TJournal::Open(QString* error)
{
    std::lock_guard guard(m_openMutex);
    if (m_open)
        return true;
    // The lock comes first: a folder without a held lock is a leftover to
    // any other editor.
    if (!QDir().mkpath(m_root)) {
        *error = QStringLiteral("The folder \"%1\" cannot be made.").arg(QDir::toNativeSeparators(m_root));
        return false;
    }
    auto lock = std::make_unique<QLockFile>(lockPath(Folder()));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        *error = QStringLiteral("The lock file \"%1\" cannot be made.").arg(QDir::toNativeSeparators(lockPath(Folder())));
        return false;
    }
    if (!QDir().mkpath(Folder())) {
        *error = QStringLiteral("The folder \"%1\" cannot be made.").arg(QDir::toNativeSeparators(Folder()));
        return false;
    }
    m_lock = std::move(lock);
    m_open = true;
    return true;
}

void TJournal::Write(int id, const TJournalEntry& header, TTextSnapshot text)
{
    if (m_closed)
        return;
    QString error;
    if (!Open(&error)) {
        emit Failed(error);
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        auto waiting = std::find_if(m_jobs.begin(), m_jobs.end(), [id](const TJob& job) { return job.id == id; });
        if (waiting != m_jobs.end() && !waiting->remove) {
            waiting->header = header;
            waiting->text = std::move(text);
        } else {
            m_jobs.push_back({id, false, header, std::move(text)});
        }
    }
    m_wake.notify_one();
}

void TJournal::Remove(int id)
{
    if (!m_open || m_closed)
        return;
    {
        std::lock_guard lock(m_mutex);
        // A write not yet begun need not happen at all.
        std::erase_if(m_jobs, [id](const TJob& job) { return job.id == id && !job.remove; });
        TJob job;
        job.id = id;
        job.remove = true;
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void TJournal::Flush()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

void TJournal::Close()
{
    {
        std::lock_guard lock(m_mutex);
        m_jobs.clear();
    }
    Flush();
    std::lock_guard guard(m_openMutex);
    m_closed = true;
    if (!m_open)
        return;
    // Entries and stand-ins go; a record with the copy it names is the only
    // old text of a file a failed save could not put back.
    QDir folder(Folder());
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!name.endsWith(TSaveRecord::kSuffix) && !SaveRecords::IsPrevious(name))
            folder.remove(name);
    }
    QDir(m_root).rmdir(m_name);
    m_lock.reset();
    m_open = false;
}

void TJournal::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            if (m_stop)
                return;
            continue;
        }
        TJob job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        Do(job);
        // The snapshot's blocks are let go here, off the interface thread.
        job = TJob();
        lock.lock();
        m_busy = false;
        if (m_jobs.empty())
            m_idle.notify_all();
    }
}

void TJournal::Do(TJob& job)
{
    const QString path = EntryPath(job.id);
    if (job.remove) {
        if (QFileInfo::exists(path) && !QFile::remove(path))
            Report(QStringLiteral("The journal entry \"%1\" cannot be removed.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    QString error;
    const bool written = SaveFileSafely(
        {path, {}, true},
        [&job](QIODevice& device, QString* reason) { return job.header.Write(device, job.text, reason); }, &error);
    if (!written)
        Report(error);
}

void TJournal::Report(const QString& reason)
{
    QMetaObject::invokeMethod(this, [this, reason] { emit Failed(reason); }, Qt::QueuedConnection);
}

std::vector<TJournal::TLeftEntry> TJournal::TakeOverLeftovers()
{
    std::vector<TLeftEntry> found;
    const QDir root(m_root);
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString folder = root.filePath(name);
        if (name == m_name || name == kSetAside)
            continue;
        if (std::any_of(m_takenOver.begin(), m_takenOver.end(), [&](const TTakenOver& t) { return t.folder == folder; }))
            continue;
        // A lock held by a living editor (this one's own other windows
        // included) refuses; one of a process that is gone is stale and
        // taken over.
        auto lock = std::make_unique<QLockFile>(lockPath(folder));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue;
        TTakenOver taken{folder, std::move(lock), {}, {}};
        QDir dir(folder);
        const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        // Saves first: what they settle leaves the folder, and the copies
        // of old text the others name are theirs, not files to list.
        QStringList owned;
        for (const QFileInfo& file : files) {
            if (SaveRecords::IsStandIn(file.fileName())) {
                dir.remove(file.fileName());
                continue;
            }
            if (!file.fileName().endsWith(TSaveRecord::kSuffix))
                continue;
            TLeftEntry left;
            left.path = file.filePath();
            std::optional<TSaveRecord> record = TSaveRecord::Read(left.path, &left.problem);
            if (!record) {
                taken.unreadable.append(file.fileName());
                found.push_back(std::move(left));
                continue;
            }
            if (!record->Settle())
                continue;
            owned.append(QFileInfo(record->previous).fileName());
            left.interrupted = record;
            taken.interrupted.push_back(*record);
            found.push_back(std::move(left));
        }
        for (const QFileInfo& file : files) {
            const QString name = file.fileName();
            if (SaveRecords::IsStandIn(name) || name.endsWith(TSaveRecord::kSuffix) || owned.contains(name) ||
                !QFileInfo::exists(file.filePath()))
                continue;
            TLeftEntry left;
            left.path = file.filePath();
            left.entry = TJournalEntry::Read(left.path, &left.problem);
            if (!left.entry)
                taken.unreadable.append(name);
            found.push_back(std::move(left));
        }
        // A folder with nothing in it (its run ended with nothing unsaved,
        // yet not cleanly) only goes.
        if (dir.isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            QDir(m_root).rmdir(name);
            continue;
        }
        m_takenOver.push_back(std::move(taken));
    }
    std::stable_sort(found.begin(), found.end(), [](const TLeftEntry& a, const TLeftEntry& b) {
        auto written = [](const TLeftEntry& left) {
            return left.entry ? left.entry->written : left.interrupted ? left.interrupted->written : QDateTime();
        };
        return written(a) < written(b);
    });
    return found;
}

bool TJournal::Adopt(const QString& path, int id)
{
    QString error;
    if (!Open(&error)) {
        emit Failed(error);
        return false;
    }
    QFile::remove(EntryPath(id));
    return QFile::rename(path, EntryPath(id));
}

void TJournal::DiscardLeftovers()
{
    for (TTakenOver& taken : m_takenOver) {
        QDir dir(taken.folder);
        const QString aside = m_root + u'/' + kSetAside;
        // What cannot be read is kept where it is not offered again: it may
        // still hold text someone wants to dig out.
        for (const QString& name : std::as_const(taken.unreadable)) {
            QDir().mkpath(aside);
            QFile::rename(dir.filePath(name), aside + u'/' + dir.dirName() + u'-' + name);
        }
        // Dropped only while still there: one restored meanwhile is gone.
        for (const TSaveRecord& record : taken.interrupted) {
            if (QFileInfo::exists(record.path))
                record.Discard(nullptr);
        }
        dir.removeRecursively();
        taken.lock.reset();
    }
    m_takenOver.clear();
}
