// Saving a file so that the old one survives every failure.
//
// The new text normally goes to a temporary file beside the real target (a
// symbolic link is followed to its final target first) and is renamed over
// it only once every byte is on the disk. Each step's result is checked:
// writes go straight to the descriptor, so there is no buffered last piece
// that could fail unseen at close; then fsync, then close. A failure before
// the target changed removes what was made; a failure after the target
// changed puts the old bytes back.
//
// A rename swaps in a new inode. That is wrong for a file with other hard
// links (they would keep the old text), for a file whose owner or group the
// new one cannot be given (a saved file would change hands), and impossible
// in a folder that takes no new file. Those are written in place, over the
// old bytes, after a full copy of them that is put back if the write fails.
//
// The replacing path keeps permission bits, owner and group; what else an
// inode carries (ACLs, extended attributes, a security label) is not copied.

#include "filesaver.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <utility>

#ifdef Q_OS_WIN
#include <QFileInfo>
#include <windows.h>
#else
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

struct TInjectedFaults {
    qint64 writeLimit = -1;
    int writeError = 0;
    int fsyncError = 0;
    int renameError = 0;
};
TInjectedFaults g_faults;

QString Reason(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

QString FolderMessage(const QString& path)
{
    return QStringLiteral("Cannot create file \"%1\". It is a folder.").arg(path);
}

} // namespace

namespace FileSaverFaults {

void FailWriteAfter(qint64 bytes, int err)
{
    g_faults.writeLimit = bytes;
    g_faults.writeError = err;
}

void FailFsync(int err)
{
    g_faults.fsyncError = err;
}

void FailRename(int err)
{
    g_faults.renameError = err;
}

void Reset()
{
    g_faults = {};
}

} // namespace FileSaverFaults

#ifndef Q_OS_WIN

namespace {

// The same cap the kernel puts on a chain of links.
constexpr int kMaxLinkHops = 40;
constexpr qint64 kCopyChunk = 1 << 20;

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

// A descriptor closed when it goes out of scope. Only paths that already
// failed close that way; a close whose result matters calls Close().
class TFd {
public:
    ~TFd() { Reset(); }
    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    void Reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    // 0 or the errno. EINTR counts as closed: Linux has released the
    // descriptor by then, and the data was flushed by fsync before.
    int Close()
    {
        const int err = ::close(std::exchange(m_fd, -1)) != 0 && errno != EINTR ? errno : 0;
        return err;
    }

private:
    int m_fd = -1;
};

// A file this save made. Removed when it goes out of scope unless Keep()
// gave it up (it was renamed to its real name, or holds text that must
// survive a failed restore).
struct TTempFile {
    TFd fd;
    QByteArray path;

    ~TTempFile() { Discard(); }
    void Discard()
    {
        fd.Reset();
        if (!path.isEmpty())
            ::unlink(path.constData());
        path.clear();
    }
    void Keep() { path.clear(); }
};

// A random name in folder for a file standing in for name: hidden, and
// within NAME_MAX however long name is.
QByteArray TemporaryName(const QByteArray& folder, const QByteArray& name)
{
    return folder + "/." + name.left(200) + '.' +
           QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".saving";
}

// A new file in folder under a name no other file has: a random name opened
// with O_EXCL, so an existing file (or a link planted under that name) is
// never reused. Mode 0666 less the umask, as any new file. Returns 0 or the
// errno.
int CreateUnique(const QByteArray& folder, const QByteArray& name, TTempFile& file)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray path = TemporaryName(folder, name);
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            file.fd.Reset(fd);
            file.path = path;
            return 0;
        }
        if (errno != EEXIST && errno != EINTR)
            return errno;
    }
    return EEXIST;
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

// Copies every byte of from over to, both from offset 0. Returns 0, or the
// errno with *readFailed telling which side it came from.
int CopyAll(int from, int to, bool* readFailed)
{
    QByteArray buffer(kCopyChunk, Qt::Uninitialized);
    for (qint64 offset = 0;;) {
        const ssize_t n = ::pread(from, buffer.data(), size_t(buffer.size()), off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *readFailed = true;
            return n < 0 ? errno : 0;
        }
        if (const int err = WriteAllAt(to, buffer.constData(), n, offset)) {
            *readFailed = false;
            return err;
        }
        offset += n;
    }
}

int Sync(int fd)
{
    while (::fsync(fd) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

int SyncDocument(int fd)
{
    return g_faults.fsyncError ? g_faults.fsyncError : Sync(fd);
}

// Makes a rename in folder durable. A folder that cannot be synced (some
// file systems refuse it) is left to the system: the file itself is already
// complete on the disk, and failing the save now would misreport a file that
// was replaced.
void SyncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        Sync(fd);
        ::close(fd);
    }
}

// The device the document is written through: unbuffered, over the
// descriptor, writing from offset 0, so each write reaches the system at
// once and a failure is met by the write that caused it, never later at
// close. It remembers a failure, so that a writer that ignored a result
// cannot make the save look good.
class TDescriptorDevice : public QIODevice {
public:
    explicit TDescriptorDevice(int fd) : m_fd(fd) { QIODevice::open(WriteOnly | Unbuffered); }

    bool isSequential() const override { return true; }
    bool Failed() const { return m_failed; }
    qint64 Written() const { return m_written; }

protected:
    qint64 readData(char*, qint64) override { return -1; }

    qint64 writeData(const char* data, qint64 length) override
    {
        qint64 done = 0;
        while (done < length) {
            const bool injected = g_faults.writeLimit >= 0 && m_written + (length - done) > g_faults.writeLimit;
            const qint64 piece = injected ? g_faults.writeLimit - m_written : length - done;
            if (piece <= 0)
                return Fail(g_faults.writeError);
            const ssize_t n = ::pwrite(m_fd, data + done, size_t(piece), off_t(m_written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return Fail(n < 0 ? errno : EIO);
            done += n;
            m_written += n;
        }
        return done;
    }

private:
    qint64 Fail(int err)
    {
        m_failed = true;
        setErrorString(Reason(err));
        return -1;
    }

    int m_fd;
    qint64 m_written = 0;
    bool m_failed = false;
};

class TFileSaver {
public:
    TFileSaver(const TSaveTarget& target, const TSaveWriter& write, QString* error)
        : m_target(target), m_write(write), m_error(error), m_backup(QFile::encodeName(target.backupPath))
    {
    }

    bool Run();

private:
    bool Resolve();
    bool TakeOwner(int fd) const;
    bool Replace(TTempFile& temp);
    bool WriteInPlace();
    bool RunWriter(TDescriptorDevice& device, QString* reason) const;
    bool BackupNameFree() const;
    bool LinkForBackup(TTempFile& backup) const;
    bool CopyForBackup(int from, TTempFile& copy) const;
    bool CommitBackup(TTempFile& copy) const;
    int Restore(int fd, const TTempFile& copy, const QByteArray& held) const;

    bool Fail(const QString& message) const
    {
        if (m_error)
            *m_error = message;
        return false;
    }
    bool CannotCreate(const QString& path, int err) const
    {
        return Fail(QStringLiteral("Cannot create file \"%1\". %2").arg(path, Reason(err)));
    }
    bool CannotWrite(const QString& path, const QString& reason) const
    {
        return Fail(QStringLiteral("Cannot write file \"%1\". %2").arg(path, reason));
    }
    bool CannotRename(const QByteArray& from, const QByteArray& to, int err) const
    {
        return Fail(QStringLiteral("Can't rename file %1 to file %2. %3").arg(Shown(from), Shown(to), Reason(err)));
    }

    const TSaveTarget& m_target;
    const TSaveWriter& m_write;
    QString* m_error;
    const QByteArray m_backup;
    QByteArray m_final;  // target.path with every link followed
    bool m_isLink = false;
    bool m_exists = false;
    struct stat m_old = {};  // m_final's, when it exists
};

bool TFileSaver::Run()
{
    if (!Resolve())
        return false;
    if (m_exists && m_old.st_nlink > 1)
        return WriteInPlace();
    TTempFile temp;
    if (const int err = CreateUnique(FolderOf(m_final), NameOf(m_final), temp)) {
        if (m_exists && (err == EACCES || err == EPERM || err == EROFS))
            return WriteInPlace();
        return CannotCreate(m_target.path, err);
    }
    if (m_exists && !TakeOwner(temp.fd.Get())) {
        temp.Discard();
        return WriteInPlace();
    }
    return Replace(temp);
}

// Follows target.path through any chain of links to the file that is
// really written; a dangling link ends at a file that does not exist yet.
bool TFileSaver::Resolve()
{
    QByteArray path = QFile::encodeName(m_target.path);
    if (path.isEmpty())
        return CannotCreate(m_target.path, ENOENT);
    for (int hops = 0;; ++hops) {
        if (::lstat(path.constData(), &m_old) != 0) {
            if (errno != ENOENT)
                return CannotCreate(m_target.path, errno);
            break;
        }
        if (!S_ISLNK(m_old.st_mode)) {
            m_exists = true;
            break;
        }
        if (hops == kMaxLinkHops)
            return CannotCreate(m_target.path, ELOOP);
        QByteArray link(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(path.constData(), link.data(), size_t(link.size()));
        if (length < 0)
            return CannotCreate(m_target.path, errno);
        link.truncate(length);
        path = link.startsWith('/') ? link : FolderOf(path) + '/' + link;
        m_isLink = true;
    }
    m_final = path;
    if (m_exists && S_ISDIR(m_old.st_mode))
        return Fail(FolderMessage(m_target.path));
    if (m_exists && !S_ISREG(m_old.st_mode))
        return CannotWrite(m_target.path, QStringLiteral("It is not a regular file."));
    return true;
}

// A renamed file belongs to whoever made it. Gives the new file the old
// one's owner and group where the system allows it (root may; an owner may
// pick one of their own groups); false when it does not.
bool TFileSaver::TakeOwner(int fd) const
{
    struct stat made = {};
    if (::fstat(fd, &made) != 0)
        return false;
    const uid_t uid = made.st_uid == m_old.st_uid ? uid_t(-1) : m_old.st_uid;
    const gid_t gid = made.st_gid == m_old.st_gid ? gid_t(-1) : m_old.st_gid;
    return (uid == uid_t(-1) && gid == gid_t(-1)) || ::fchown(fd, uid, gid) == 0;
}

bool TFileSaver::RunWriter(TDescriptorDevice& device, QString* reason) const
{
    QString writerError;
    if ((!m_write || m_write(device, &writerError)) && !device.Failed())
        return true;
    *reason = writerError.isEmpty() ? device.errorString() : writerError;
    return false;
}

bool TFileSaver::Replace(TTempFile& temp)
{
    const int fd = temp.fd.Get();
    TDescriptorDevice device(fd);
    QString reason;
    if (!RunWriter(device, &reason))
        return CannotWrite(m_target.path, reason);
    // The modes go on after the writes, which clear set-user-ID bits. A file
    // system without Unix modes refuses them; the file then has what any new
    // file there gets.
    if (m_exists)
        ::fchmod(fd, m_old.st_mode & 07777);
    if (const int err = SyncDocument(fd))
        return CannotWrite(m_target.path, Reason(err));
    if (const int err = temp.fd.Close())
        return CannotWrite(m_target.path, Reason(err));

    // The old file's bytes are set aside for the backup now that the new
    // text is safely beside it, under a name of their own: a plain file by a
    // second hard link (it keeps its inode, and costs nothing), the file
    // behind a link, or one where hard links fail, by a copy. They take the
    // backup's name only once the new file is in place, so that a failure
    // before leaves the old backup as it was.
    TTempFile backup;
    if (m_exists && !m_backup.isEmpty()) {
        if (!BackupNameFree())
            return false;
        if (m_isLink || !LinkForBackup(backup)) {
            TFd old;
            old.Reset(::open(m_final.constData(), O_RDONLY | O_CLOEXEC));
            if (!old.Valid())
                return Fail(QStringLiteral("Cannot read file \"%1\". %2").arg(m_target.path, Reason(errno)));
            if (!CopyForBackup(old.Get(), backup))
                return false;
        }
    }

    const int err = g_faults.renameError ? g_faults.renameError
                    : ::rename(temp.path.constData(), m_final.constData()) == 0 ? 0
                                                                               : errno;
    if (err)
        return CannotRename(temp.path, m_final, err);
    temp.Keep();
    SyncFolder(FolderOf(m_final));
    if (!backup.path.isEmpty() && !CommitBackup(backup)) {
        // The new text is in place; the set-aside copy, which the message
        // names, is the only old text left.
        backup.Keep();
        return false;
    }
    return true;
}

// A second name for the old file beside the backup name. False where the
// file system refuses (another file system, no hard links).
bool TFileSaver::LinkForBackup(TTempFile& backup) const
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray path = TemporaryName(FolderOf(m_backup), NameOf(m_backup));
        if (::link(m_final.constData(), path.constData()) == 0) {
            backup.path = path;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// A backup name taken by a folder is reported as the backup that cannot
// be removed, before anything changed.
bool TFileSaver::BackupNameFree() const
{
    struct stat old = {};
    if (::lstat(m_backup.constData(), &old) == 0 && S_ISDIR(old.st_mode))
        return Fail(QStringLiteral("Can't delete file %1").arg(m_target.backupPath));
    return true;
}

// Copies from's bytes into a new file beside the backup name, flushed to
// the disk. Nothing is replaced yet.
bool TFileSaver::CopyForBackup(int from, TTempFile& copy) const
{
    if (const int err = CreateUnique(FolderOf(m_backup), NameOf(m_backup), copy))
        return CannotCreate(m_target.backupPath, err);
    bool readFailed = false;
    if (const int err = CopyAll(from, copy.fd.Get(), &readFailed)) {
        if (readFailed)
            return Fail(QStringLiteral("Cannot read file \"%1\". %2").arg(m_target.path, Reason(err)));
        return CannotWrite(m_target.backupPath, Reason(err));
    }
    ::fchmod(copy.fd.Get(), m_old.st_mode & 0777);
    if (const int err = Sync(copy.fd.Get()))
        return CannotWrite(m_target.backupPath, Reason(err));
    return true;
}

// Renames a complete copy over whatever backup was there, so that an old
// backup gives way only to a complete one. The copy stays open.
bool TFileSaver::CommitBackup(TTempFile& copy) const
{
    if (::rename(copy.path.constData(), m_backup.constData()) != 0)
        return CannotRename(copy.path, m_backup, errno);
    copy.Keep();
    SyncFolder(FolderOf(m_backup));
    return true;
}

// Writes over the old file's own bytes, so its inode, links, owner and
// permissions stay. A full copy of the old bytes comes first: beside the
// backup name when a backup is asked for (failing the save if it cannot be
// made, rather than going on without it; it takes the backup's name once
// the new text is written), else a temporary file beside the target, else
// (a folder that takes no new file, or no room for one) memory. Writing
// starts at offset 0 and the file is cut to the new length at the end; on
// any failure the copy is written back and the file cut to its old length.
bool TFileSaver::WriteInPlace()
{
    TFd file;
    file.Reset(::open(m_final.constData(), O_RDWR | O_CLOEXEC));
    if (!file.Valid())
        return CannotCreate(m_target.path, errno);
    if (::fstat(file.Get(), &m_old) != 0)
        return Fail(QStringLiteral("Cannot read file \"%1\". %2").arg(m_target.path, Reason(errno)));

    TTempFile copy;
    QByteArray held;
    if (!m_backup.isEmpty()) {
        if (!BackupNameFree() || !CopyForBackup(file.Get(), copy))
            return false;
    } else {
        bool readFailed = false;
        if (CreateUnique(FolderOf(m_final), NameOf(m_final), copy) != 0 ||
            CopyAll(file.Get(), copy.fd.Get(), &readFailed) != 0 || Sync(copy.fd.Get()) != 0) {
            copy.Discard();
            held.resize(qsizetype(m_old.st_size));
            qint64 got = 0;
            while (got < held.size()) {
                const ssize_t n = ::pread(file.Get(), held.data() + got, size_t(held.size() - got), off_t(got));
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    return Fail(QStringLiteral("Cannot read file \"%1\". %2")
                                    .arg(m_target.path, Reason(n < 0 ? errno : EIO)));
                got += n;
            }
        }
    }

    TDescriptorDevice device(file.Get());
    QString reason;
    if (RunWriter(device, &reason)) {
        int err = ::ftruncate(file.Get(), off_t(device.Written())) == 0 ? 0 : errno;
        if (!err)
            err = SyncDocument(file.Get());
        if (!err)
            err = file.Close();
        if (!err) {
            if (m_backup.isEmpty() || CommitBackup(copy))
                return true;
            // The new text is in place; the copy, which the message names, is
            // the only old text left.
            copy.Keep();
            return false;
        }
        reason = Reason(err);
    }

    QString message = QStringLiteral("Cannot write file \"%1\". %2").arg(m_target.path, reason);
    int restoreError = 0;
    if (!file.Valid()) {
        // The close failed: the old bytes go back through a new descriptor.
        const int fd = ::open(m_final.constData(), O_RDWR | O_CLOEXEC);
        restoreError = fd < 0 ? errno : 0;
        file.Reset(fd);
    }
    if (file.Valid())
        restoreError = Restore(file.Get(), copy, held);
    if (restoreError) {
        if (!copy.path.isEmpty()) {
            message += QStringLiteral(" The previous text is kept in \"%1\".").arg(Shown(copy.path));
            copy.Keep();
        } else {
            message += QStringLiteral(" The previous text could not be put back: %1").arg(Reason(restoreError));
        }
    }
    return Fail(message);
}

int TFileSaver::Restore(int fd, const TTempFile& copy, const QByteArray& held) const
{
    bool readFailed = false;
    int err = copy.fd.Valid() ? CopyAll(copy.fd.Get(), fd, &readFailed)
                              : WriteAllAt(fd, held.constData(), held.size(), 0);
    if (!err && ::ftruncate(fd, m_old.st_size) != 0)
        err = errno;
    return err ? err : Sync(fd);
}

} // namespace

bool SaveFileSafely(const TSaveTarget& target, const TSaveWriter& write, QString* error)
{
    return TFileSaver(target, write, error).Run();
}

#else // Q_OS_WIN

// Windows keeps the essentials only: the text goes through an unbuffered
// QFile into a new file beside the target, every write and the flush are
// checked, and the file is then moved over the target in one step. Links
// are not followed, a file with other hard links loses them, there is no
// in-place path for a folder that takes no new file, and the fault hooks
// apply to nothing.
bool SaveFileSafely(const TSaveTarget& target, const TSaveWriter& write, QString* error)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    const QFileInfo info(target.path);
    if (info.isDir())
        return fail(FolderMessage(target.path));
    const bool existed = info.exists();
    QFile temp(target.path + QStringLiteral(".%1.saving").arg(QRandomGenerator::global()->generate(), 0, 36));
    if (!temp.open(QIODevice::WriteOnly | QIODevice::Unbuffered | QIODevice::NewOnly))
        return fail(QStringLiteral("Cannot create file \"%1\". %2").arg(target.path, temp.errorString()));
    QString reason;
    bool written = (!write || write(temp, &reason)) && temp.error() == QFileDevice::NoError && temp.flush();
    if (written) {
        temp.close();
        written = temp.error() == QFileDevice::NoError;
    }
    if (!written) {
        if (reason.isEmpty())
            reason = temp.errorString();
        temp.remove();
        return fail(QStringLiteral("Cannot write file \"%1\". %2").arg(target.path, reason));
    }
    if (existed)
        temp.setPermissions(QFile::permissions(target.path));
    if (existed && !target.backupPath.isEmpty()) {
        if (QFileInfo::exists(target.backupPath) && !QFile::remove(target.backupPath)) {
            temp.remove();
            return fail(QStringLiteral("Can't delete file %1").arg(target.backupPath));
        }
        if (!QFile::copy(target.path, target.backupPath)) {
            temp.remove();
            return fail(QStringLiteral("Cannot create file \"%1\".").arg(target.backupPath));
        }
    }
    if (!MoveFileExW(reinterpret_cast<const wchar_t*>(temp.fileName().utf16()),
                     reinterpret_cast<const wchar_t*>(target.path.utf16()),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        temp.remove();
        return fail(QStringLiteral("Can't rename file %1 to file %2").arg(temp.fileName(), target.path));
    }
    return true;
}

#endif
