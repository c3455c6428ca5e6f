#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

// What a save leaves in a known place while it runs, so that a save cut
// short by a crash is cleaned up, or offered back, at the next start.
//
// Each save has an id (random letters and digits). The files it makes are
// named after the file they stand in for and the id, hidden, beside it:
//
//   .page.jsp.k3j2h1.saving     the new text, or a copy of the old one being
//                               made; never needed once its save has died
//   .page.jsp.k3j2h1.previous   a whole, flushed copy of the old text, kept
//                               while the file is written in place
//
// and the save's record, "<id>.tsave" in the record folder (the running
// editor's own journal folder, whose lock tells a living editor's records
// from a dead one's), names the file, its backup, and once the copy is
// whole, the copy with its size and checksum:
//
//   Tarnel save 1
//   target: %2Fhome%2Fann%2Fpage.jsp   (percent-encoded; links already followed)
//   backup: %2Fhome%2Fann%2Fpage.jsp.bak
//   previous: %2Fhome%2Fann%2F.page.jsp.k3j2h1.previous
//   size: 2048
//   checksum: 0123456789abcdef
//   written: 2026-12-09T01:40:00.123Z
//
// A record is always replaced whole (temporary file, rename), and the copy
// takes its ".previous" name only after the record naming it is on the disk,
// so a ".previous" file always has its record. After a crash: a record
// without a ".previous" copy only leaves stand-ins to remove; one with a
// copy whose file still holds that same text is done with too; any other is
// an interrupted save, its copy the only whole old text.
struct TSaveRecord {
    static const QString kSuffix;       // ".tsave"
    static const QByteArray kMagic;     // "Tarnel save 1"

    QString path;     // the record's own file
    QString id;
    QString target;
    QString backup;   // empty: none
    QString previous; // empty until the copy is whole
    qint64 size = 0;
    quint64 checksum = 0;
    QDateTime written;

    QByteArray Text() const;
    // Reads a record; nothing, with the reason, when path holds none.
    static std::optional<TSaveRecord> Read(const QString& path, QString* problem = nullptr);
    // Replaces the record at path whole (a stand-in renamed over it); with
    // durable, flushed to the disk with its folder before this returns.
    bool Write(bool durable, QString* error) const;
    void Remove() const;

    // For the record of a save that died: removes the stand-ins it left,
    // and the record itself when nothing of it is needed. True when it is an
    // interrupted save, whose copy (and record) stay to be offered.
    bool Settle() const;
    // Writes the copy's text back over the file, in place (its links, owner
    // and permissions stay), flushed, and then drops the copy and the record.
    // The copy is checked against its size and checksum first. A kill
    // meanwhile leaves the copy and the record, to be offered again.
    bool Restore(QString* error) const;
    // Drops the copy and the record.
    bool Discard(QString* error) const;
};

namespace SaveRecords {

// Whether a file name in a record folder is a stand-in that no save needs
// once the editor that made it is gone: a ".saving" file.
bool IsStandIn(const QString& fileName);
// Whether it is a ".previous" copy (owned by a record beside it).
bool IsPrevious(const QString& fileName);

// Where saves keep their records. The program sets it once it has a journal
// (the journal's own folder, made on first use); provider returns the
// folder, or an empty string with the reason. Without it saves keep no
// records, and a save that must write in place is refused: nothing would
// offer its old text back after a crash.
using TFolderProvider = std::function<QString(QString* error)>;
void SetFolderProvider(TFolderProvider provider);
QString Folder(QString* error);

} // namespace SaveRecords
