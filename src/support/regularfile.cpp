#include "regularfile.h"

#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include "posixfiles.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace RegularFile {

#ifndef Q_OS_WIN

namespace {

QString Kind(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return QStringLiteral("It is a folder.");
    if (S_ISFIFO(mode))
        return QStringLiteral("It is a named pipe (FIFO), not a file.");
    if (S_ISSOCK(mode))
        return QStringLiteral("It is a socket, not a file.");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("It is a device, not a file.");
    return QStringLiteral("It is not a regular file.");
}

} // namespace

QString Refusal(const QString& path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return Kind(info.st_mode);
}

bool Open(QFile& file, const QString& path, QString* reason)
{
    auto refuse = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    const QString kind = Refusal(path);
    if (!kind.isEmpty())
        return refuse(kind);
    PosixFiles::TFd fd(PosixFiles::OpenNonBlocking(QFile::encodeName(path), O_RDONLY));
    if (!fd.Valid())
        return refuse(PosixFiles::Reason(errno));
    struct stat info = {};
    if (::fstat(fd.Get(), &info) != 0)
        return refuse(PosixFiles::Reason(errno));
    if (!S_ISREG(info.st_mode))
        return refuse(Kind(info.st_mode));
    // Reads of a regular file never wait anyway; the flag goes so that
    // nothing downstream meets EAGAIN semantics.
    ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd.Get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return refuse(file.errorString());
    fd.Release();
    return true;
}

#else

QString Refusal(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("It is a folder.");
    if (info.exists() && !info.isFile())
        return QStringLiteral("It is not a regular file.");
    return {};
}

bool Open(QFile& file, const QString& path, QString* reason)
{
    QString kind = Refusal(path);
    if (kind.isEmpty() && !file.open(QIODevice::ReadOnly))
        kind = file.errorString();
    if (kind.isEmpty())
        return true;
    if (reason)
        *reason = kind;
    return false;
}

#endif

} // namespace RegularFile
