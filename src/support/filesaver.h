#pragma once

#include <QIODevice>
#include <QString>

#include <functional>

// Writing a file so that the old one survives every failure (a full disk, a
// failing flush, a rename that is refused) and a crash at any moment. The caller hands over a function
// that produces the bytes; where they go, and in which order the old file,
// its backup and the new text change hands, is decided here.

struct TSaveTarget {
    // The file to write. It may be a symbolic link (or a chain of them, or a
    // dangling one): the link stays and its final target is written. It may
    // not exist yet.
    QString path;
    // Empty: no backup. Otherwise, when the target exists, its previous bytes
    // are preserved here (a regular file) before the target is replaced. An
    // old file at this name is replaced only once the new text is safely
    // written.
    QString backupPath;
    // The file lives in the folder that keeps the save records (a journal
    // entry): no record is kept for its save, as whatever it leaves there
    // goes with that folder.
    bool inRecordFolder = false;
};

// Produces the new text into device, a sequential, unbuffered, write-only
// device: every write reaches the system at once and a failed one returns
// -1 with the system's reason in device.errorString(). Returns false on a
// failed write, with the reason in *error when it has one.
using TSaveWriter = std::function<bool(QIODevice& device, QString* error)>;

// Writes what write produces into target.path.
//
// Normally the text goes to a new temporary file in the target's folder,
// is flushed to the disk, given the old file's permissions (and, as root,
// its owner and group) and renamed over the target: a crash at any moment
// leaves the old file or the new one. A file with other hard links, one
// whose owner or group the new file cannot be given, and a writable file in
// a folder that takes no new file are written in place instead, after a
// full, flushed copy of the old bytes (beside the file, else in the record
// folder) that a save record names (saverecord.h): a crash while the file
// is half written leaves that copy for the next start to offer back, and a
// failed write puts it back at once. The links, the owner and the
// permissions stay. A new file gets the default permissions (0666 less the
// umask).
//
// Every save first removes what earlier saves of the same file (and
// backup) left beside it when they died: their ".saving" stand-ins that no
// running editor holds. While it runs it keeps a record in the record
// folder, so that the next start removes what a crash leaves.
//
// On failure returns false with a message in *error (the program's usual
// forms, carrying the system's reason, e.g. "No space left on device"),
// leaves the old file and the old backup byte for byte and no temporary
// file behind. One failure comes after the new text is in place: when the
// set-aside old text cannot take the backup's name. Then the message ("Can't
// rename file <copy> to file <backup>. <reason>") names the file that holds
// it, and that file is kept.
bool SaveFileSafely(const TSaveTarget& target, const TSaveWriter& write, QString* error);

// A test seam: makes the next saves fail at a chosen step with a chosen
// errno, so that tests can reach failures a real disk rarely produces.
// Nothing outside tests calls these. Each setting holds until Reset().
namespace FileSaverFaults {
// The document's writes fail with err once bytes bytes went through (0:
// the first write fails; the bytes before the limit are written).
void FailWriteAfter(qint64 bytes, int err);
// Flushing the written document to the disk fails with err.
void FailFsync(int err);
// The rename that puts the new file in place of the target fails with err.
void FailRename(int err);
// Called with the name of each step of a save as it is reached (a kill
// test stops a saving process at each). Steps that repeat (a piece written
// or copied) are called each time.
void SetStepHook(std::function<void(const char* step)> hook);
void Reset();
} // namespace FileSaverFaults
