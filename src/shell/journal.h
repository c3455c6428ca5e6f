#pragma once

#include "journalentry.h"
#include "saverecord.h"
#include "textsnapshot.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class QLockFile;

// The autosave journal on disk: a folder ("journal" under the user's data
// folder) that holds one folder per running editor, each beside a lock file
// of the same name that its editor holds while it runs:
//
//   journal/4711-3fa9c2d1.lock    held by the editor with process id 4711
//   journal/4711-3fa9c2d1/7.tjn   the entry of that editor's document 7
//
// An editor writes only into its own folder. A folder whose lock no living
// editor holds (the lock file is missing, or names a process that is gone)
// was left by a run that did not end cleanly: its entries are the ones
// offered back, and taking them over takes the lock, so that two editors
// started together never offer the same entries.
//
// Entries are written on a worker thread of this journal, in the order
// asked, each atomically (temporary file, flush to disk, rename), so that a
// crash during a write leaves the entry before it. A write still waiting is
// replaced by a newer one of the same document.
//
// The same folder keeps the records of this editor's saves in progress
// (saverecord.h; the journal is the record folder of its process), and,
// where a file's own folder takes none, the copies of old text those saves
// make. A run that did not end cleanly leaves them with its entries: the
// next start removes what they show to be leftovers, and offers the old
// text of a save interrupted while it wrote a file in place.
class TJournal : public QObject {
    Q_OBJECT

public:
    static const QString kEntrySuffix; // ".tjn"
    // Where unreadable files of taken-over folders are put aside, not offered again.
    static const QString kSetAside;    // "unreadable"

    // root: the journal folder; made when the first entry is written.
    explicit TJournal(const QString& root, QObject* parent = nullptr);
    // Finishes every write asked for. Unless Close() ran, the own folder and
    // its entries stay for the next start; the locks are let go.
    ~TJournal() override;

    // The folder for save records, made when first asked for; empty, with
    // the reason, when it cannot be, or after Close().
    QString RecordFolder(QString* error);

    // The journal folder of this user: "journal" in the application's data
    // folder, unless SetDefaultRoot named another.
    static QString DefaultRoot();
    static void SetDefaultRoot(const QString& root);

    const QString& Root() const { return m_root; }
    QString Folder() const;
    QString EntryPath(int id) const;

    // Queues a write of document id's entry; text is written as it is now.
    void Write(int id, const TJournalEntry& header, TTextSnapshot text);
    // Queues the removal of document id's entry.
    void Remove(int id);
    // Waits until everything queued so far is done.
    void Flush();
    // A clean end: every entry goes, and nothing more is written. So does
    // the own folder, unless it still keeps the copy of a file's old text
    // that a failed save could not put back (then it is offered at the next
    // start).
    void Close();

    // -- entries of runs that did not end cleanly ------------------------------
    struct TLeftEntry {
        QString path;
        std::optional<TJournalEntry> entry; // none when unreadable or a save
        QString problem;                    // why it is unreadable
        // An interrupted save: its file may be half written, and the record
        // names the whole copy of its old text.
        std::optional<TSaveRecord> interrupted;
    };
    // Takes over the folders left by runs that did not end cleanly, removes
    // the stand-ins and records of their saves that nobody needs, and reads
    // their entries and interrupted saves, oldest first. The folders stay
    // taken over until Discard, or until this journal ends (they are then
    // left as they are).
    std::vector<TLeftEntry> TakeOverLeftovers();
    // Makes a taken-over entry the entry of this run's document id.
    bool Adopt(const QString& path, int id);
    // Removes the taken-over folders: readable entries not adopted go,
    // interrupted saves not restored are dropped with their copies, and
    // unreadable files are put aside in kSetAside.
    void DiscardLeftovers();

signals:
    // A write or removal failed (on the interface thread).
    void Failed(const QString& reason);

private:
    struct TJob {
        int id = 0;
        bool remove = false;
        TJournalEntry header;
        TTextSnapshot text;
    };
    struct TTakenOver {
        QString folder;
        std::unique_ptr<QLockFile> lock;
        QStringList unreadable; // file names
        std::vector<TSaveRecord> interrupted;
    };

    // Makes the own lock and folder; false (with the reason) when they cannot be.
    bool Open(QString* error);
    void Run();
    void Do(TJob& job);
    void Report(const QString& reason);

    QString m_root;
    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    bool m_open = false;
    bool m_closed = false;
    // Open() runs on the interface thread and, for a save record, on
    // whichever thread saves.
    std::mutex m_openMutex;
    std::vector<TTakenOver> m_takenOver;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<TJob> m_jobs;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_worker;
};
