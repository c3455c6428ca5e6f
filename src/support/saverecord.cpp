// Save records: written by the saver (filesaver.cpp), read, settled and
// acted on at the next start. The format is a few "key: value" lines, as
// the journal's entries start; paths are percent-encoded so that any byte a
// name may hold survives.

#include "saverecord.h"

#include "checksum.h"
#include "posixfiles.h"
#include "regularfile.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <mutex>

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

const QString TSaveRecord::kSuffix = QStringLiteral(".tsave");
const QByteArray TSaveRecord::kMagic = QByteArrayLiteral("Tarnel save 1");

namespace {

constexpr qint64 kMaxRecordSize = 64 * 1024;

std::mutex g_providerMutex;
SaveRecords::TFolderProvider g_provider;

QByteArray Encoded(const QString& path)
{
    return QUrl::toPercentEncoding(path);
}

QString Decoded(const QByteArray& value)
{
    return QUrl::fromPercentEncoding(value);
}

bool Fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

namespace SaveRecords {

bool IsStandIn(const QString& fileName)
{
    return fileName.startsWith(u'.') && fileName.endsWith(QLatin1String(".saving"));
}

bool IsPrevious(const QString& fileName)
{
    return fileName.startsWith(u'.') && fileName.endsWith(QLatin1String(".previous"));
}

void SetFolderProvider(TFolderProvider provider)
{
    std::lock_guard lock(g_providerMutex);
    g_provider = std::move(provider);
}

QString Folder(QString* error)
{
    TFolderProvider provider;
    {
        std::lock_guard lock(g_providerMutex);
        provider = g_provider;
    }
    if (!provider) {
        if (error)
            *error = QStringLiteral("There is no folder to keep it in.");
        return {};
    }
    return provider(error);
}

} // namespace SaveRecords

QByteArray TSaveRecord::Text() const
{
    QByteArray text = kMagic + '\n';
    text += "target: " + Encoded(target) + '\n';
    text += "backup: " + Encoded(backup) + '\n';
    if (!previous.isEmpty()) {
        text += "previous: " + Encoded(previous) + '\n';
        text += "size: " + QByteArray::number(size) + '\n';
        text += "checksum: " + QByteArray::number(checksum, 16).rightJustified(16, '0') + '\n';
    }
    text += "written: " + written.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\n';
    return text;
}

std::optional<TSaveRecord> TSaveRecord::Read(const QString& path, QString* problem)
{
    auto refuse = [problem](const QString& reason) -> std::optional<TSaveRecord> {
        if (problem)
            *problem = reason;
        return std::nullopt;
    };
    QFile file(path);
    QString refusal;
    if (!RegularFile::Open(file, path, &refusal))
        return refuse(refusal);
    const QByteArray text = file.read(kMaxRecordSize + 1);
    const QList<QByteArray> lines = text.split('\n');
    if (text.size() > kMaxRecordSize || lines.value(0) != kMagic || !text.endsWith('\n'))
        return refuse(QStringLiteral("It is not a save record."));
    TSaveRecord record;
    record.path = path;
    const QString name = QFileInfo(path).fileName();
    record.id = name.left(name.size() - kSuffix.size());
    bool sized = false;
    bool summed = false;
    for (const QByteArray& line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(": ");
        if (colon < 0)
            continue;
        const QByteArray key = line.left(colon);
        const QByteArray value = line.mid(colon + 2);
        if (key == "target")
            record.target = Decoded(value);
        else if (key == "backup")
            record.backup = Decoded(value);
        else if (key == "previous")
            record.previous = Decoded(value);
        else if (key == "size")
            record.size = value.toLongLong(&sized);
        else if (key == "checksum")
            record.checksum = value.toULongLong(&summed, 16);
        else if (key == "written")
            record.written = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs);
    }
    if (record.target.isEmpty() || record.id.isEmpty() || (!record.previous.isEmpty() && (!sized || !summed)))
        return refuse(QStringLiteral("It is not a save record."));
    return record;
}

#ifndef Q_OS_WIN

using namespace PosixFiles;

namespace {

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

// The stand-ins the save id may have left: beside its file, beside its
// backup, and in the record folder (a copy of the old text being made where
// the file's folder took no new file).
QList<QByteArray> StandIns(const TSaveRecord& record)
{
    const QByteArray id = record.id.toLatin1();
    const QByteArray target = Native(record.target);
    QList<QByteArray> paths{FolderOf(target) + '/' + StandInName(NameOf(target), id, ".saving"),
                            FolderOf(Native(record.path)) + '/' + StandInName(NameOf(target), id, ".saving")};
    if (!record.backup.isEmpty()) {
        const QByteArray backup = Native(record.backup);
        paths.append(FolderOf(backup) + '/' + StandInName(NameOf(backup), id, ".saving"));
    }
    return paths;
}

// Whether two files hold the same bytes; a file that cannot be read, or is
// no regular file, holds other bytes than any.
bool SameBytes(const QByteArray& a, const QByteArray& b)
{
    TFd fa(OpenNonBlocking(a, O_RDONLY));
    TFd fb(OpenNonBlocking(b, O_RDONLY));
    struct stat sa = {}, sb = {};
    if (!fa.Valid() || !fb.Valid() || ::fstat(fa.Get(), &sa) != 0 || ::fstat(fb.Get(), &sb) != 0 ||
        !S_ISREG(sa.st_mode) || !S_ISREG(sb.st_mode) || sa.st_size != sb.st_size)
        return false;
    QByteArray other;
    const int err = ReadAll(fa.Get(), [&](const char* data, qint64 length, qint64 offset) {
        other.resize(length);
        qint64 got = 0;
        while (got < length) {
            const ssize_t n = ::pread(fb.Get(), other.data() + got, size_t(length - got), off_t(offset + got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return EIO;
            got += n;
        }
        return std::memcmp(data, other.constData(), size_t(length)) == 0 ? 0 : EIO;
    });
    return err == 0;
}

} // namespace

bool TSaveRecord::Write(bool durable, QString* error) const
{
    const QByteArray native = Native(path);
    const QByteArray folder = FolderOf(native);
    TTempFile temp;
    const QByteArray tempPath = folder + '/' + StandInName(NameOf(native), RandomId(), ".saving");
    if (const int err = CreateLocked(tempPath, temp))
        return Fail(error, Reason(err));
    const QByteArray text = Text();
    if (const int err = WriteAllAt(temp.fd.Get(), text.constData(), text.size(), 0))
        return Fail(error, Reason(err));
    if (durable) {
        if (const int err = Sync(temp.fd.Get()))
            return Fail(error, Reason(err));
    }
    if (::rename(tempPath.constData(), native.constData()) != 0)
        return Fail(error, Reason(errno));
    temp.Keep();
    if (durable)
        SyncFolder(folder);
    return true;
}

void TSaveRecord::Remove() const
{
    ::unlink(Native(path).constData());
}

bool TSaveRecord::Settle() const
{
    for (const QByteArray& standIn : StandIns(*this))
        ::unlink(standIn.constData());
    const QByteArray copy = Native(previous);
    struct stat info = {};
    if (previous.isEmpty() || ::lstat(copy.constData(), &info) != 0) {
        Remove();
        return false;
    }
    // Killed before the first byte of the file changed (or the new text was
    // the old one): the file is whole.
    if (SameBytes(copy, Native(target))) {
        ::unlink(copy.constData());
        Remove();
        return false;
    }
    return true;
}

bool TSaveRecord::Restore(QString* error) const
{
    const QString cannot = QStringLiteral("Cannot restore file \"%1\". ").arg(target);
    TFd copy(OpenNonBlocking(Native(previous), O_RDONLY));
    struct stat info = {};
    if (!copy.Valid())
        return Fail(error, cannot + QStringLiteral("The copy of its previous text cannot be read: %1").arg(Reason(errno)));
    TChecksum sum;
    const int readErr = ::fstat(copy.Get(), &info) != 0 ? errno
                        : ReadAll(copy.Get(), [&sum](const char* data, qint64 length, qint64) {
                              sum.Add(data, length);
                              return 0;
                          });
    if (readErr)
        return Fail(error, cannot + QStringLiteral("The copy of its previous text cannot be read: %1").arg(Reason(readErr)));
    if (!S_ISREG(info.st_mode) || info.st_size != size || sum.Value() != checksum)
        return Fail(error, cannot + QStringLiteral("The copy of its previous text (\"%1\") is damaged.").arg(previous));

    int fd;
    do
        fd = ::open(Native(target).constData(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    TFd file(fd);
    if (!file.Valid())
        return Fail(error, cannot + Reason(errno));
    struct stat now = {};
    if (::fstat(file.Get(), &now) != 0 || !S_ISREG(now.st_mode))
        return Fail(error, cannot + QStringLiteral("It is not a regular file."));
    bool readFailed = false;
    int err = CopyAll(copy.Get(), file.Get(), &readFailed);
    if (!err && ::ftruncate(file.Get(), off_t(size)) != 0)
        err = errno;
    if (!err)
        err = Sync(file.Get());
    if (!err)
        err = file.Close();
    if (err)
        return Fail(error, cannot + Reason(err));
    // The copy goes before the record: a record without its copy is only
    // removed at the next start.
    ::unlink(Native(previous).constData());
    SyncFolder(FolderOf(Native(previous)));
    Remove();
    return true;
}

bool TSaveRecord::Discard(QString* error) const
{
    if (!previous.isEmpty() && ::unlink(Native(previous).constData()) != 0 && errno != ENOENT)
        return Fail(error, QStringLiteral("Can't delete file %1").arg(previous));
    Remove();
    return true;
}

#else // Q_OS_WIN

// Windows saves keep no records (filesaver.cpp), so none is ever settled or
// restored there; one found is only removed.
bool TSaveRecord::Write(bool, QString* error) const
{
    return Fail(error, QStringLiteral("Save records are not kept on this system."));
}

void TSaveRecord::Remove() const
{
    QFile::remove(path);
}

bool TSaveRecord::Settle() const
{
    Remove();
    return false;
}

bool TSaveRecord::Restore(QString* error) const
{
    return Fail(error, QStringLiteral("Save records are not kept on this system."));
}

bool TSaveRecord::Discard(QString*) const
{
    Remove();
    return true;
}

#endif
