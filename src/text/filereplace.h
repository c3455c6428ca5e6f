#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// Replace in Files for a file that is not open in the window: the file is
// read again, and only when its bytes are still those the search went
// through (size and fingerprint) do the replacements go in, written through
// the failure-safe saver (filesaver.h), so that a failure leaves the old
// file as it was and a change made meanwhile is never overwritten.
namespace FileReplace {

// One replacement: bytes [start, start + length) of a line (counted from 0,
// after a byte order mark, as the search counts them) become text.
struct TEdit {
    int line = 0;
    int start = 0;
    int length = 0;
    QByteArray text;
};

enum class TOutcome { Written, Changed, Failed };

// Changed: the file is gone or differs from what was searched (nothing is
// written). Failed: it could not be read or written, with the reason in
// *error (the old file stays); so is a file without write permission,
// which is never written. backupPath: where the old bytes are kept
// (empty: no backup).
TOutcome Apply(const QString& path, qint64 size, quint64 fingerprint, std::vector<TEdit> edits,
               const QString& backupPath, QString* error);

} // namespace FileReplace
