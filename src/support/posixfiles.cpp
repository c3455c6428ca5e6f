// Checked descriptor calls for saving (see posixfiles.h).

#include "posixfiles.h"

#ifndef Q_OS_WIN

#include "checksum.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PosixFiles {

namespace {

constexpr qint64 kChunk = 1 << 20;
// Room left in a name of NAME_MAX (255) bytes for the dot, the id and the
// longest suffix.
constexpr qsizetype kNameRoom = 200;

} // namespace

QString Reason(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

QString Shown(const QByteArray& native)
{
    return QFile::decodeName(native);
}

QByteArray FolderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

QByteArray NameOf(const QByteArray& path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

void TFd::Reset(int fd)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

int TFd::Close()
{
    return ::close(std::exchange(m_fd, -1)) != 0 && errno != EINTR ? errno : 0;
}

void TTempFile::Discard()
{
    // The name goes before the descriptor: while it is held, the lock keeps
    // other editors from taking the file for a leftover.
    if (!path.isEmpty())
        ::unlink(path.constData());
    path.clear();
    fd.Reset();
}

QByteArray RandomId()
{
    return QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

QByteArray StandInName(const QByteArray& name, const QByteArray& id, const char* suffix)
{
    return '.' + name.left(kNameRoom) + '.' + id + suffix;
}

bool IsStandInFor(const QByteArray& fileName, const QByteArray& name, const char* suffix)
{
    const QByteArray prefix = '.' + name.left(kNameRoom) + '.';
    if (!fileName.startsWith(prefix) || !fileName.endsWith(suffix))
        return false;
    const QByteArray id = fileName.mid(prefix.size(), fileName.size() - prefix.size() - qsizetype(std::strlen(suffix)));
    return !id.isEmpty() && std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
    });
}

int CreateLocked(const QByteArray& path, TTempFile& file)
{
    int fd;
    do
        fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errno;
    file.fd.Reset(fd);
    file.path = path;
    // A fresh file is locked by nobody; a file system without locks leaves
    // the file unlocked, which only makes it look like a leftover to a
    // sweep that could not lock it either.
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EINTR) {
    }
    return 0;
}

int WriteAllAt(int fd, const char* data, qint64 length, qint64 offset)
{
    while (length > 0) {
        const ssize_t n = ::pwrite(fd, data, size_t(length), off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        data += n;
        length -= n;
        offset += n;
    }
    return 0;
}

int ReadAll(int fd, const std::function<int(const char*, qint64, qint64)>& take, bool* readFailed)
{
    QByteArray buffer(kChunk, Qt::Uninitialized);
    for (qint64 offset = 0;;) {
        const ssize_t n = ::pread(fd, buffer.data(), size_t(buffer.size()), off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (readFailed)
                *readFailed = true;
            return n < 0 ? errno : 0;
        }
        if (const int err = take(buffer.constData(), n, offset)) {
            if (readFailed)
                *readFailed = false;
            return err;
        }
        offset += n;
    }
}

int CopyAll(int from, int to, bool* readFailed, TChecksum* checksum)
{
    return ReadAll(
        from,
        [&](const char* data, qint64 length, qint64 offset) {
            if (checksum)
                checksum->Add(data, length);
            return WriteAllAt(to, data, length, offset);
        },
        readFailed);
}

int Sync(int fd)
{
    while (::fsync(fd) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

void SyncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        Sync(fd);
        ::close(fd);
    }
}

int OpenNonBlocking(const QByteArray& path, int flags)
{
    int fd;
    do
        fd = ::open(path.constData(), flags | O_NONBLOCK | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    return fd;
}

} // namespace PosixFiles

#endif
