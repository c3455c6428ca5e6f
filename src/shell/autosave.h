#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <unordered_map>

class QTimer;
class TJournal;
class TMemoSource;
struct TMemoChange;

// Keeps a journal entry for every watched document with unsaved changes:
// written kPauseMs after the typing pauses, and at least every kLongestMs
// while it goes on; removed when the document is saved, closed, or undone
// back to its saved text. On the interface thread this costs a timer
// restart per change and, per write, a snapshot of the text (textsnapshot.h);
// the writing itself is the journal's worker's.
//
// A journal that cannot be written is reported once per run (the first
// failure) and editing goes on.
class TAutosave : public QObject {
    Q_OBJECT

public:
    static constexpr int kPauseMs = 2000;
    static constexpr int kLongestMs = 30000;

    // diskState: the state of a document's file when it was last loaded or
    // saved, as text for its entry (empty for an untitled document).
    TAutosave(TJournal& journal, std::function<QString(const TMemoSource*)> diskState, QObject* parent = nullptr);
    // Writes what is still waiting, so that a window destroyed without its
    // close (the session ended) keeps its unsaved work.
    ~TAutosave() override;

    // Tests shorten the delays; 0 for both brings back the defaults.
    static void SetDelays(int pauseMs, int longestMs);

    void Watch(TMemoSource* document);
    // The document closes: its entry goes.
    void Forget(TMemoSource* document);
    // Makes the taken-over entry at path the entry of document.
    bool Adopt(TMemoSource* document, const QString& path);
    // The window closed cleanly, every question answered: the journal goes.
    void EndSession();

    // Writes the entries of every watched document with unsaved changes
    // now, without waiting for the pause.
    void WriteAll();

private:
    struct TWatched {
        int id = 0;
        int view = -1;
        QTimer* timer = nullptr;
        qint64 firstPending = -1; // ms since the epoch of the first change not yet written
        qint64 lastChange = -1;   // ms since the epoch of the latest change
        bool written = false;
    };

    void Changed(TMemoSource* document, const TMemoChange& change);
    void WriteEntry(TMemoSource* document, TWatched& watched);
    // When the pending changes are due to be written, in ms since the epoch.
    qint64 Due(const TWatched& watched) const;
    void ReportFailure(const QString& reason);

    TJournal& m_journal;
    std::function<QString(const TMemoSource*)> m_diskState;
    std::unordered_map<TMemoSource*, TWatched> m_watched;
    int m_nextId = 1;
    bool m_warned = false;
    bool m_ended = false;
};
