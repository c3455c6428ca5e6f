// Saving a file so that the old one survives every failure and every crash.
//
// The new text normally goes to a stand-in file beside the real target (a
// symbolic link is followed to its final target first) and is renamed over
// it only once every byte is on the disk. Each step's result is checked:
// writes go straight to the descriptor, so there is no buffered last piece
// that could fail unseen; then fsync, then the rename. A failure before the
// target changed removes what was made; a failure after the target changed
// puts the old bytes back.
//
// A rename swaps in a new inode. That is wrong for a file with other hard
// links (they would keep the old text), for a file whose owner or group the
// new one cannot be given (a saved file would change hands), and impossible
// in a folder that takes no new file. Those are written in place, over the
// old bytes, after a full copy of them. What a kill leaves, step by step:
//
//   replacing:  record written, stand-in made and written, flushed, old
//               bytes linked or copied aside for the backup, stand-in renamed
//               over the file, backup renamed in, record removed. Until the
//               rename the file is the old one, after it the new one; the
//               stand-ins left behind hold nothing anyone needs and go at the
//               next start (the record names them) or at the next save of
//               the file (their names do).
//   in place:   record written, copy of the old bytes made and flushed (a
//               stand-in until whole), record rewritten to name the copy and
//               flushed, copy renamed to its ".previous" name, file written
//               over, cut to length and flushed, copy renamed to the backup or
//               removed, record removed. Until the copy has its name the file
//               is untouched; from then until the copy goes the record and
//               the copy are there for the next start, which offers the old
//               text back unless the file still holds it.
//
// The replacing path keeps permission bits, owner and group; what else an
// inode carries (ACLs, extended attributes, a security label) is not copied.

#include "filesaver.h"

#include "saverecord.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <utility>

#ifdef Q_OS_WIN
#include <QFileInfo>
#include <windows.h>
#else
#include "checksum.h"
#include "posixfiles.h"

#include <QDateTime>

#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

struct TInjectedFaults {
    qint64 writeLimit = -1;
    int writeError = 0;
    int fsyncError = 0;
    int renameError = 0;
    std::function<void(const char*)> stepHook;
};
TInjectedFaults g_faults;

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

void SetStepHook(std::function<void(const char* step)> hook)
{
    g_faults.stepHook = std::move(hook);
}

void Reset()
{
    g_faults = {};
}

} // namespace FileSaverFaults

#ifndef Q_OS_WIN

using namespace PosixFiles;

namespace {

// The same cap the kernel puts on a chain of links.
constexpr int kMaxLinkHops = 40;

void Step(const char* name)
{
    if (g_faults.stepHook)
        g_faults.stepHook(name);
}

int SyncDocument(int fd)
{
    return g_faults.fsyncError ? g_faults.fsyncError : Sync(fd);
}

// Removes the ".saving" stand-ins for name in folder that no running editor
// holds: left by saves that died, they hold nothing anyone needs (the file
// itself was never touched through them). A stand-in still locked belongs
// to a save under way; ".previous" copies are never touched here.
void SweepStandIns(const QByteArray& folder, const QByteArray& name)
{
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray fileName(entry->d_name);
        if (!IsStandInFor(fileName, name, ".saving"))
            continue;
        TFd fd(::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat info = {};
        if (fd.Valid() && ::fstat(fd.Get(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
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
        Step("write");
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
        : m_target(target), m_write(write), m_error(error), m_backup(QFile::encodeName(target.backupPath)),
          m_id(RandomId())
    {
    }
    // The record goes unless it names the only whole copy of the old text.
    ~TFileSaver()
    {
        if (m_recorded && !m_keepRecord)
            m_record.Remove();
    }

    bool Run();

private:
    bool Resolve();
    bool TakeOwner(int fd) const;
    // Writes the save's record; false, with the reason, when there is no
    // record folder or the record cannot be written.
    bool BeginRecord(QString* why);
    QByteArray StandIn(const QByteArray& beside, const char* suffix) const
    {
        return FolderOf(beside) + '/' + StandInName(NameOf(beside), m_id, suffix);
    }
    bool Replace(TTempFile& temp);
    bool WriteInPlace();
    bool CopyAside(int from, TTempFile& copy, QByteArray* previous);
    bool RunWriter(TDescriptorDevice& device, QString* reason) const;
    bool BackupNameFree() const;
    bool LinkForBackup(TTempFile& backup) const;
    bool CopyForBackup(int from, TTempFile& copy) const;
    bool CommitBackup(TTempFile& copy) const;
    int Restore(int fd, const TTempFile& copy) const;

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
    bool CannotKeepPrevious(const QString& why) const
    {
        return CannotWrite(m_target.path,
                           QStringLiteral("A copy of its previous text cannot be kept for recovery: %1").arg(why));
    }
    bool CannotRename(const QByteArray& from, const QByteArray& to, int err) const
    {
        return Fail(QStringLiteral("Can't rename file %1 to file %2. %3").arg(Shown(from), Shown(to), Reason(err)));
    }

    const TSaveTarget& m_target;
    const TSaveWriter& m_write;
    QString* m_error;
    const QByteArray m_backup;
    const QByteArray m_id;
    QByteArray m_final;  // target.path with every link followed
    bool m_isLink = false;
    bool m_exists = false;
    struct stat m_old = {};  // m_final's, when it exists
    TSaveRecord m_record;
    QByteArray m_recordFolder;
    bool m_recorded = false;
    bool m_keepRecord = false;
};

bool TFileSaver::Run()
{
    if (!Resolve())
        return false;
    SweepStandIns(FolderOf(m_final), NameOf(m_final));
    if (!m_backup.isEmpty())
        SweepStandIns(FolderOf(m_backup), NameOf(m_backup));
    if (m_exists && m_old.st_nlink > 1)
        return WriteInPlace();
    // A replacing save does without a record where none can be kept: it only
    // spares the next start a look for stand-ins.
    QString why;
    BeginRecord(&why);
    TTempFile temp;
    if (const int err = CreateLocked(StandIn(m_final, ".saving"), temp)) {
        if (m_exists && (err == EACCES || err == EPERM || err == EROFS))
            return WriteInPlace();
        return CannotCreate(m_target.path, err);
    }
    Step("stand-in");
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

bool TFileSaver::BeginRecord(QString* why)
{
    if (m_recorded)
        return true;
    if (m_target.inRecordFolder) {
        *why = QStringLiteral("The file is kept in the record folder itself.");
        return false;
    }
    const QString folder = SaveRecords::Folder(why);
    if (folder.isEmpty())
        return false;
    m_recordFolder = QFile::encodeName(folder);
    m_record.path = folder + u'/' + QString::fromLatin1(m_id) + TSaveRecord::kSuffix;
    m_record.id = QString::fromLatin1(m_id);
    m_record.target = Shown(m_final);
    m_record.backup = m_target.backupPath;
    m_record.written = QDateTime::currentDateTimeUtc();
    if (!m_record.Write(false, why))
        return false;
    m_recorded = true;
    Step("record");
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
    Step("written");
    // The modes go on after the writes, which clear set-user-ID bits. A file
    // system without Unix modes refuses them; the file then has what any new
    // file there gets.
    if (m_exists)
        ::fchmod(fd, m_old.st_mode & 07777);
    if (const int err = SyncDocument(fd))
        return CannotWrite(m_target.path, Reason(err));
    Step("flushed");

    // The old file's bytes are set aside for the backup now that the new
    // text is safely beside it, under a stand-in name: a plain file by a
    // second hard link (it keeps its inode, and costs nothing), the file
    // behind a link, or one where hard links fail, by a copy. They take the
    // backup's name only once the new file is in place, so that a failure
    // before leaves the old backup as it was.
    TTempFile backup;
    if (m_exists && !m_backup.isEmpty()) {
        if (!BackupNameFree())
            return false;
        if (m_isLink || !LinkForBackup(backup)) {
            TFd old(OpenNonBlocking(m_final, O_RDONLY));
            if (!old.Valid())
                return Fail(QStringLiteral("Cannot read file \"%1\". %2").arg(m_target.path, Reason(errno)));
            if (!CopyForBackup(old.Get(), backup))
                return false;
        }
        Step("backup set aside");
    }

    // The stand-in stays open, and so locked, until it has the file's name.
    const int err = g_faults.renameError ? g_faults.renameError
                    : ::rename(temp.path.constData(), m_final.constData()) == 0 ? 0
                                                                               : errno;
    if (err)
        return CannotRename(temp.path, m_final, err);
    temp.Keep();
    temp.fd.Reset();
    SyncFolder(FolderOf(m_final));
    Step("renamed");
    if (!backup.path.isEmpty()) {
        if (!CommitBackup(backup)) {
            // The new text is in place; the set-aside copy, which the message
            // names, is the only old text left. It takes a name no sweep of
            // stand-ins removes.
            const QByteArray kept = StandIn(m_backup, ".previous");
            if (::rename(backup.path.constData(), kept.constData()) == 0 && m_error)
                m_error->replace(Shown(backup.path), Shown(kept));
            backup.Keep();
            return false;
        }
        Step("backup committed");
    }
    return true;
}

// A second name for the old file beside the backup name. False where the
// file system refuses (another file system, no hard links).
bool TFileSaver::LinkForBackup(TTempFile& backup) const
{
    const QByteArray path = StandIn(m_backup, ".saving");
    if (::link(m_final.constData(), path.constData()) != 0)
        return false;
    backup.path = path;
    return true;
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

// Copies from's bytes into a stand-in beside the backup name, flushed to
// the disk. Nothing is replaced yet.
bool TFileSaver::CopyForBackup(int from, TTempFile& copy) const
{
    if (const int err = CreateLocked(StandIn(m_backup, ".saving"), copy))
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

// The whole, flushed copy of the old bytes an in-place write needs first:
// beside the backup name when a backup is asked for (failing the save if it
// cannot be made there, rather than going on without it; it takes the
// backup's name once the new text is written), else beside the file, else
// (a folder that takes no new file, or no room for one) in the record
// folder. *previous is the name it takes once its record is on the disk.
bool TFileSaver::CopyAside(int from, TTempFile& copy, QByteArray* previous)
{
    struct TPlace {
        QByteArray beside;
        bool only;
    };
    std::vector<TPlace> places;
    if (!m_backup.isEmpty())
        places.push_back({m_backup, true});
    else
        places = {{m_final, false}, {m_recordFolder + '/' + NameOf(m_final), false}};
    QString why;
    for (const TPlace& place : places) {
        int err = CreateLocked(StandIn(place.beside, ".saving"), copy);
        if (err && place.only)
            return CannotCreate(m_target.backupPath, err);
        TChecksum checksum;
        bool readFailed = false;
        if (!err) {
            Step("copy");
            err = CopyAll(from, copy.fd.Get(), &readFailed, &checksum);
            if (err && readFailed)
                return Fail(QStringLiteral("Cannot read file \"%1\". %2").arg(m_target.path, Reason(err)));
        }
        if (!err) {
            ::fchmod(copy.fd.Get(), m_old.st_mode & 0777);
            err = Sync(copy.fd.Get());
        }
        if (!err) {
            Step("copied");
            *previous = StandIn(place.beside, ".previous");
            m_record.previous = Shown(*previous);
            m_record.size = qint64(m_old.st_size);
            m_record.checksum = checksum.Value();
            return true;
        }
        copy.Discard();
        if (place.only)
            return CannotWrite(m_target.backupPath, Reason(err));
        why = Reason(err);
    }
    return CannotKeepPrevious(why);
}

// Writes over the old file's own bytes, so its inode, links, owner and
// permissions stay. The old bytes are copied aside and recorded first (see
// the top of this file). Writing starts at offset 0 and the file is cut to
// the new length at the end; on any failure the copy is written back and
// the file cut to its old length.
bool TFileSaver::WriteInPlace()
{
    TFd file(OpenNonBlocking(m_final, O_RDWR));
    if (!file.Valid())
        return CannotCreate(m_target.path, errno);
    if (::fstat(file.Get(), &m_old) != 0)
        return Fail(QStringLiteral("Cannot read file \"%1\". %2").arg(m_target.path, Reason(errno)));
    if (!S_ISREG(m_old.st_mode))
        return CannotWrite(m_target.path, QStringLiteral("It is not a regular file."));
    QString why;
    if (!BeginRecord(&why))
        return CannotKeepPrevious(why);

    TTempFile copy;
    QByteArray previous;
    if (!CopyAside(file.Get(), copy, &previous))
        return false;
    // From here the copy and its record are the old text's keepers: the
    // record is on the disk before the copy takes the name it points at.
    if (!m_record.Write(true, &why))
        return CannotKeepPrevious(why);
    Step("recorded");
    if (::rename(copy.path.constData(), previous.constData()) != 0)
        return CannotKeepPrevious(Reason(errno));
    copy.path = previous;
    SyncFolder(FolderOf(previous));
    Step("kept");

    TDescriptorDevice device(file.Get());
    QString reason;
    if (RunWriter(device, &reason)) {
        Step("written");
        int err = ::ftruncate(file.Get(), off_t(device.Written())) == 0 ? 0 : errno;
        if (!err) {
            Step("cut");
            err = SyncDocument(file.Get());
        }
        if (!err)
            err = file.Close();
        if (!err) {
            Step("flushed");
            if (m_backup.isEmpty()) {
                copy.Discard();
                return true;
            }
            if (CommitBackup(copy))
                return true;
            // The new text is in place; the copy, which the message names, is
            // the only old text left. The file is whole, so no start offers it.
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
        restoreError = Restore(file.Get(), copy);
    if (restoreError) {
        // The copy and its record stay: the next start offers them.
        message += QStringLiteral(" The previous text is kept in \"%1\".").arg(Shown(copy.path));
        copy.Keep();
        m_keepRecord = true;
    }
    return Fail(message);
}

int TFileSaver::Restore(int fd, const TTempFile& copy) const
{
    bool readFailed = false;
    int err = CopyAll(copy.fd.Get(), fd, &readFailed);
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
