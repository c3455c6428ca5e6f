#pragma once

// The descriptor-level pieces that saving and the save records share: every
// call's result is checked and EINTR retried, so that the callers can treat
// each step as done or failed with its errno. POSIX only; Windows saves
// through Qt's files (filesaver.cpp).

#include <QtGlobal>

#ifndef Q_OS_WIN

#include <QByteArray>
#include <QString>

#include <functional>
#include <utility>

class TChecksum;

namespace PosixFiles {

QString Reason(int err);
QString Shown(const QByteArray& native);
QByteArray FolderOf(const QByteArray& path);
QByteArray NameOf(const QByteArray& path);

// A descriptor closed when it goes out of scope. Only paths that already
// failed close that way; a close whose result matters calls Close().
class TFd {
public:
    TFd() = default;
    explicit TFd(int fd) : m_fd(fd) {}
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    ~TFd() { Reset(); }
    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    void Reset(int fd = -1);
    // Gives the descriptor up to another owner.
    int Release() { return std::exchange(m_fd, -1); }
    // 0 or the errno. EINTR counts as closed: Linux has released the
    // descriptor by then.
    int Close();

private:
    int m_fd = -1;
};

// A file a save made, locked (flock) by this process while it is open, so
// that another editor tells it from a leftover of a save that died. Removed
// when it goes out of scope unless Keep() gave it up (it was renamed to its
// real name, or holds text that must survive).
struct TTempFile {
    TFd fd;
    QByteArray path;

    TTempFile() = default;
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;
    ~TTempFile() { Discard(); }
    void Discard();
    void Keep() { path.clear(); }
};

// A fresh random name part: lower-case letters and digits.
QByteArray RandomId();
// The name of the file standing in for name during the save id: hidden, and
// within NAME_MAX however long name is ("." name "." id suffix).
QByteArray StandInName(const QByteArray& name, const QByteArray& id, const char* suffix);
// Whether fileName is such a name for name, of any id.
bool IsStandInFor(const QByteArray& fileName, const QByteArray& name, const char* suffix);
// Creates path with O_EXCL (an existing file, or a link planted under the
// name, is never reused), mode 0666 less the umask, and locks it. 0 or the
// errno.
int CreateLocked(const QByteArray& path, TTempFile& file);

int WriteAllAt(int fd, const char* data, qint64 length, qint64 offset);
// Reads every byte of fd from offset 0 in pieces, handing each to take
// (which may stop the walk by returning an errno). 0, or the errno with
// *readFailed telling which side it came from.
int ReadAll(int fd, const std::function<int(const char* data, qint64 length, qint64 offset)>& take,
            bool* readFailed = nullptr);
// Copies every byte of from over to, both from offset 0, adding them to
// checksum when given. 0, or the errno with *readFailed telling which side.
int CopyAll(int from, int to, bool* readFailed, TChecksum* checksum = nullptr);
int Sync(int fd);
// Makes a rename in folder durable. A folder that cannot be synced (some
// file systems refuse it) is left to the system: the file itself is already
// on the disk.
void SyncFolder(const QByteArray& folder);
// Opens path for reading without ever waiting: a FIFO would block an
// ordinary open until a writer came. -1 with errno on failure.
int OpenNonBlocking(const QByteArray& path, int flags);

} // namespace PosixFiles

#endif
