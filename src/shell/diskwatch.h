#pragma once

#include "memotypes.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

class TCustomMemoSource;
class TMemoSource;

// Reads the document's file again (in encoding, or as its bytes say),
// keeping the scheme and, as far as the new text reaches, the caret line.
// False, with the reason shown and the text kept, when the file cannot be
// read as text.
bool ReloadFromFile(TCustomMemoSource& document, std::optional<TTextEncoding> encoding = std::nullopt);

// A file's state on disk at one moment: enough to tell that another program
// wrote it, or renamed another file into its place, since.
struct TDiskStamp {
    bool exists = false;
    qint64 size = 0;
    // Modification time in nanoseconds since the epoch, as fine as the
    // system keeps it (milliseconds where it gives no more).
    qint64 modified = 0;
    // The file's identity: a file renamed over this one has another one, even
    // with the same size and time. Both 0 where the system gives none.
    quint64 device = 0;
    quint64 inode = 0;
    // The checksum of the bytes the document had from the file or gave it
    // (checksum.h), for files up to kChecksumLimit: a change that keeps the
    // size and puts the time back shows only in them.
    std::optional<quint64> checksum;
    static constexpr qint64 kChecksumLimit = 16 << 20;

    // The state of the file path names now (following a symbolic link: its
    // target is what a save writes), without a checksum.
    static TDiskStamp Of(const QString& path);
    // The stamp with the checksum of what document would save, which is
    // what the file holds right after it was loaded or saved.
    TDiskStamp WithChecksumOf(const TCustomMemoSource& document) const;
    // Two missing files are the same state, whatever was stamped before.
    // The checksum is not compared: that needs the file read
    // (TDiskWatch::CheckBeforeSave does).
    bool operator==(const TDiskStamp& other) const;

    // As text ("exists size modified device inode [checksum]"), for the
    // journal to keep across a crash; nothing back from text of another form.
    QString ToText() const;
    static std::optional<TDiskStamp> FromText(const QString& text);
};

// Asks before a file that has no write permission bit is overwritten
// ("<file> is read-only. Save anyway?", No by default), whatever the
// program could do to it (as root it could write anything). True when it
// may be written: it is not read-only, does not exist, or the user said Yes.
bool ConfirmWriteReadOnly(const QString& path);

// Notices when another program changed, replaced or removed the file of an
// open document: asked when the window becomes active and before a save, so
// that neither a reload nor an overwrite happens without the user's word.
//
// Per document it keeps the file's state as last loaded or saved here
// ("recorded"), and the state last asked or told about ("asked"), so that the
// same state never brings the same question twice in a row on activation. A
// save always asks when the file differs from the recorded state: writing
// over another program's change is never silent. For files up to
// TDiskStamp::kChecksumLimit a save also reads the file and compares its
// checksum with the recorded one; activation looks at the stamp alone.
// Untitled documents are not watched.
class TDiskWatch : public QObject {
    Q_OBJECT

public:
    // Gives the open documents, in tab order, when the window becomes active.
    using TDocuments = std::function<std::vector<TMemoSource*>()>;
    explicit TDiskWatch(TDocuments documents, QObject* parent = nullptr);

    // The document's file as it is now, with the checksum of the text the
    // document just gave it (after a save); or as stamped before it was read
    // (a change between the stamp and the read then shows as a change later,
    // never the other way round). Untitled documents are ignored.
    void Record(const TMemoSource* document);
    void Record(const TMemoSource* document, const TDiskStamp& stamp);
    void Forget(const TMemoSource* document);
    // The document's file was renamed with its bytes: the state follows the
    // new name, and the checksum stays that of the bytes it holds (not of
    // the document's unsaved text).
    void Renamed(const TMemoSource* document);
    // The state recorded for the document's file; none when not watched.
    std::optional<TDiskStamp> Recorded(const TMemoSource* document) const;
    bool Watches(const TMemoSource* document) const { return m_entries.count(document) > 0; }

    // The window became active: every watched document is checked once the
    // activation is over (not inside it), if the window (the parent) is still
    // the active one then; not while a question of this watch is open, but
    // right after it.
    void WindowActivated();
    // For each document whose file changed or was replaced: asks whether to
    // reload it (Yes reloads; No keeps the text and marks it modified, since
    // it no longer matches its file). A removed file is reported once and its
    // document marked modified, so that closing asks before the text is lost.
    void CheckAll();

    enum class TSaveCheck {
        Unchanged, // the file is as recorded: save
        Overwrite, // it was changed or removed and the user said to save anyway
        Reloaded,  // the user took the file instead: nothing to save
        Cancel     // no save (declined, or the reload failed)
    };
    // Before the document is written to its own file.
    TSaveCheck CheckBeforeSave(TMemoSource* document);
    // Before Save As writes to path: a check as CheckBeforeSave when path is
    // the document's own file, Unchanged for any other file.
    TSaveCheck CheckBeforeSaveAs(TMemoSource* document, const QString& path);

private:
    struct TEntry {
        TDiskStamp recorded;
        std::optional<TDiskStamp> asked;
    };

    // Replaces the text by the file (stamped as stamp), keeping the scheme
    // and, as far as the new text reaches, the caret line. False, with the
    // reason shown and the text kept, when it cannot be read as text.
    bool Reload(TMemoSource& document, const TDiskStamp& stamp);
    void BeginAsking();
    void EndAsking();

    TDocuments m_documents;
    std::unordered_map<const TMemoSource*, TEntry> m_entries;
    bool m_checkScheduled = false;
    // While a question is open, activations (the question box closing is
    // one) only ask for a check after it.
    bool m_asking = false;
    bool m_checkDeferred = false;
};
