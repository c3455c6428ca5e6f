#pragma once

#include <QString>

class QFile;

// Opening a file for reading only when it is a regular file. A named pipe
// would block an ordinary open until some other program wrote to it (the
// window would hang before it appeared), a socket or a device is no text to
// edit, and a folder is no file: each is refused with the reason, before
// anything reads from it. The check is made on the path and again on the
// opened descriptor, which is opened without waiting, so that a file
// swapped for a pipe in between is refused too.
namespace RegularFile {

// Opens file (not yet open) on path read-only. False, with the reason as a
// sentence ("It is a named pipe (FIFO), not a file."), otherwise.
bool Open(QFile& file, const QString& path, QString* reason);

// The same reason for a path that is no regular file; empty for a regular
// file or one that does not exist.
QString Refusal(const QString& path);

} // namespace RegularFile
