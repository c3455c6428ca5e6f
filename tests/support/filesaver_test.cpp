#include "checksum.h"
#include "filesaver.h"
#include "saverecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>

#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

// Writes bytes in 4 KiB pieces, as the store writes its chunks, so that a
// fault can meet the first, a middle or the last write.
TSaveWriter Pieces(const QByteArray& bytes)
{
    return [bytes](QIODevice& device, QString* error) {
        for (qsizetype at = 0; at < bytes.size(); at += 4096) {
            const QByteArray piece = bytes.mid(at, 4096);
            if (device.write(piece) != piece.size()) {
                *error = device.errorString();
                return false;
            }
        }
        return true;
    };
}

struct stat Stat(const QString& path)
{
    struct stat st = {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

QByteArray LinkText(const QString& path)
{
    char text[4096];
    const ssize_t length = ::readlink(QFile::encodeName(path).constData(), text, sizeof text);
    return length < 0 ? QByteArray("<not a link>") : QByteArray(text, length);
}

class FileSaverTest : public ::testing::Test {
protected:
    // Records go to a folder of their own, open to the unprivileged user a
    // test may save as.
    void SetUp() override
    {
        ::chmod(QFile::encodeName(m_records.path()).constData(), 0777);
        SaveRecords::SetFolderProvider([this](QString*) { return m_records.path(); });
    }
    void TearDown() override
    {
        FileSaverFaults::Reset();
        SaveRecords::SetFolderProvider({});
        // Every save, failed or not, took its record away.
        EXPECT_EQ(QDir(m_records.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList());
    }

    QString Path(const QString& name) const { return m_dir.filePath(name); }

    void Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray Read(const QString& name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    bool HardLink(const QString& from, const QString& to) const
    {
        return ::link(QFile::encodeName(Path(from)).constData(), QFile::encodeName(Path(to)).constData()) == 0;
    }

    // Everything in a folder, hidden files included: a left-over temporary
    // file shows here.
    QStringList Entries(const QString& folder = QString()) const
    {
        return QDir(Path(folder)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                            QDir::Name);
    }

    bool Save(const QString& name, const QByteArray& bytes, const QString& backup = QString())
    {
        m_error.clear();
        return SaveFileSafely({Path(name), backup.isEmpty() ? QString() : Path(backup)}, Pieces(bytes), &m_error);
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_records;
    QString m_error;
};

TEST_F(FileSaverTest, ReplacingKeepsPermissionsAndTheBackupHoldsThePreviousFile)
{
    const mode_t umask = ::umask(022);
    ::umask(umask);
    ASSERT_TRUE(Save("new.txt", "first\n", "new.txt.bak"));
    EXPECT_EQ(Read("new.txt"), "first\n");
    EXPECT_EQ(Stat(Path("new.txt")).st_mode & 0777, 0666 & ~umask);
    EXPECT_FALSE(QFile::exists(Path("new.txt.bak"))) << "nothing to back up yet";

    for (const mode_t mode : {0640, 0755, 0600}) {
        Write("doc.txt", "old\n");
        Write("doc.txt.bak", "older\n");
        ASSERT_EQ(::chmod(QFile::encodeName(Path("doc.txt")).constData(), mode), 0);
        const ino_t oldInode = Stat(Path("doc.txt")).st_ino;
        ASSERT_TRUE(Save("doc.txt", "new\n", "doc.txt.bak")) << m_error.toStdString();
        EXPECT_EQ(Read("doc.txt"), "new\n");
        EXPECT_EQ(Read("doc.txt.bak"), "old\n");
        EXPECT_EQ(Stat(Path("doc.txt")).st_mode & 07777, mode);
        EXPECT_EQ(Stat(Path("doc.txt.bak")).st_ino, oldInode) << "the old file itself is the backup";
    }
    EXPECT_EQ(Entries(), (QStringList{"doc.txt", "doc.txt.bak", "new.txt"}));
}

TEST_F(FileSaverTest, TargetsThatCannotBeWrittenAreReportedBeforeAnythingChanges)
{
    QDir(m_dir.path()).mkpath("folder/inside");
    Write("doc.txt", "old\n");
    ASSERT_FALSE(Save("folder", "x"));
    EXPECT_EQ(m_error, "Cannot create file \"" + Path("folder") + "\". It is a folder.");
    ASSERT_FALSE(Save("doc.txt", "new\n", "folder"));
    EXPECT_EQ(m_error, "Can't delete file " + Path("folder"));
    ASSERT_FALSE(Save("missing/doc.txt", "x"));
    EXPECT_EQ(m_error, "Cannot create file \"" + Path("missing/doc.txt") + "\". No such file or directory");
    EXPECT_EQ(Read("doc.txt"), "old\n");
    EXPECT_EQ(Entries(), (QStringList{"doc.txt", "folder"}));
}

// Every step that can fail, on both ways of writing: replacing the file,
// and in place (a file with a second hard link). The new text is longer
// than the old, so an in-place failure must also cut the file back.
TEST_F(FileSaverTest, AFailingStepLeavesTheOldFileTheOldBackupAndNoTemporaryFile)
{
    const QByteArray oldText(10000, 'o');
    const QByteArray newText(5 * 4096, 'n');
    struct Fault {
        const char* step;
        std::function<void()> arm;
        QString message;
        bool replacingOnly;
    };
    const QString target = Path("doc.txt");
    const std::vector<Fault> faults{
        {"first write", [] { FileSaverFaults::FailWriteAfter(0, EIO); },
         "Cannot write file \"" + target + "\". Input/output error", false},
        {"middle write", [] { FileSaverFaults::FailWriteAfter(10000, ENOSPC); },
         "Cannot write file \"" + target + "\". No space left on device", false},
        {"last write", [&] { FileSaverFaults::FailWriteAfter(newText.size() - 1, ENOSPC); },
         "Cannot write file \"" + target + "\". No space left on device", false},
        {"fsync", [] { FileSaverFaults::FailFsync(EIO); }, "Cannot write file \"" + target + "\". Input/output error",
         false},
        {"rename", [] { FileSaverFaults::FailRename(EACCES); }, "Can't rename file", true},
    };
    for (const bool inPlace : {false, true}) {
        for (const Fault& fault : faults) {
            if (inPlace && fault.replacingOnly)
                continue;
            SCOPED_TRACE(std::string(fault.step) + (inPlace ? ", in place" : ", replacing"));
            QFile::remove(Path("twin.txt"));
            Write("doc.txt", oldText);
            Write("doc.txt.bak", "old backup\n");
            if (inPlace) {
                ASSERT_TRUE(HardLink("doc.txt", "twin.txt"));
            }
            const ino_t inode = Stat(target).st_ino;

            fault.arm();
            EXPECT_FALSE(Save("doc.txt", newText, "doc.txt.bak"));
            FileSaverFaults::Reset();
            EXPECT_TRUE(m_error.startsWith(fault.message)) << m_error.toStdString();
            if (fault.replacingOnly) {
                EXPECT_TRUE(m_error.endsWith("Permission denied")) << m_error.toStdString();
            }
            EXPECT_EQ(Read("doc.txt"), oldText);
            EXPECT_EQ(Stat(target).st_ino, inode);
            EXPECT_EQ(Read("doc.txt.bak"), "old backup\n");
            EXPECT_EQ(Entries(), inPlace ? (QStringList{"doc.txt", "doc.txt.bak", "twin.txt"})
                                         : (QStringList{"doc.txt", "doc.txt.bak"}));
        }
    }
}

TEST_F(FileSaverTest, SymbolicLinksStayLinksAndTheirFinalTargetIsWritten)
{
    // links/doc.txt -> hop -> ../real/doc.txt, and a dangling one.
    QDir(m_dir.path()).mkpath("links");
    QDir(m_dir.path()).mkpath("real");
    Write("real/doc.txt", "old\n");
    ASSERT_TRUE(QFile::link("../real/doc.txt", Path("links/hop")));
    ASSERT_TRUE(QFile::link("hop", Path("links/doc.txt")));
    ASSERT_TRUE(QFile::link("../real/new.txt", Path("links/dangling")));

    ASSERT_TRUE(Save("links/doc.txt", "new\n", "links/doc.txt.bak")) << m_error.toStdString();
    EXPECT_EQ(LinkText(Path("links/doc.txt")), "hop");
    EXPECT_EQ(Read("real/doc.txt"), "new\n");
    EXPECT_TRUE(S_ISREG(Stat(Path("links/doc.txt.bak")).st_mode));
    EXPECT_EQ(Read("links/doc.txt.bak"), "old\n");

    ASSERT_TRUE(Save("links/doc.txt", "newer\n")) << m_error.toStdString();
    EXPECT_EQ(Read("real/doc.txt"), "newer\n");
    EXPECT_EQ(Read("links/doc.txt.bak"), "old\n");

    ASSERT_TRUE(Save("links/dangling", "made\n", "links/dangling.bak")) << m_error.toStdString();
    EXPECT_TRUE(S_ISLNK(Stat(Path("links/dangling")).st_mode));
    EXPECT_EQ(Read("real/new.txt"), "made\n");

    EXPECT_EQ(Entries("links"), (QStringList{"dangling", "doc.txt", "doc.txt.bak", "hop"}));
    EXPECT_EQ(Entries("real"), (QStringList{"doc.txt", "new.txt"}));
}

TEST_F(FileSaverTest, HardLinksAndTheOwnerStay)
{
    Write("doc.txt", "old\n");
    ASSERT_TRUE(HardLink("doc.txt", "twin.txt"));
    ASSERT_EQ(::chmod(QFile::encodeName(Path("doc.txt")).constData(), 0640), 0);
    const ino_t inode = Stat(Path("doc.txt")).st_ino;
    ASSERT_TRUE(Save("doc.txt", "a longer new text\n")) << m_error.toStdString();
    EXPECT_EQ(Read("twin.txt"), "a longer new text\n");
    ASSERT_TRUE(Save("doc.txt", "short\n", "doc.txt.bak")) << m_error.toStdString();
    EXPECT_EQ(Read("twin.txt"), "short\n");
    EXPECT_EQ(Read("doc.txt.bak"), "a longer new text\n");
    EXPECT_EQ(Stat(Path("doc.txt")).st_ino, inode);
    EXPECT_EQ(Stat(Path("doc.txt")).st_nlink, 2u);
    EXPECT_EQ(Stat(Path("doc.txt")).st_mode & 0777, 0640u);
    EXPECT_EQ(Entries(), (QStringList{"doc.txt", "doc.txt.bak", "twin.txt"}));

    if (::geteuid() != 0)
        GTEST_SKIP() << "a file of another owner needs root to be made";
    Write("theirs.txt", "old\n");
    ASSERT_EQ(::chown(QFile::encodeName(Path("theirs.txt")).constData(), kNobody, kNobody), 0);
    ASSERT_TRUE(Save("theirs.txt", "new\n")) << m_error.toStdString();
    EXPECT_EQ(Read("theirs.txt"), "new\n");
    EXPECT_EQ(Stat(Path("theirs.txt")).st_uid, kNobody);
    EXPECT_EQ(Stat(Path("theirs.txt")).st_gid, kNobody);
}

// Root passes every permission check, so as root the test saves as the
// unprivileged user for as long as the guard lives.
class Unprivileged {
public:
    Unprivileged()
    {
        if (::geteuid() != 0)
            return;
        m_group = ::setegid(kNobody) == 0;
        m_user = m_group && ::seteuid(kNobody) == 0;
    }
    ~Unprivileged()
    {
        if (m_user && ::seteuid(0) != 0)
            std::abort();
        if (m_group && ::setegid(0) != 0)
            std::abort();
    }

private:
    bool m_group = false;
    bool m_user = false;
};

TEST_F(FileSaverTest, AFolderThatTakesNoNewFileGetsItsFilesWrittenInPlace)
{
    // locked/ belongs to root and only root may add to it; mine.txt inside
    // belongs to the saving user. open/ is the saving user's own folder and
    // holds root's world-writable file: a replacement could not stay root's.
    const bool root = ::geteuid() == 0;
    QDir(m_dir.path()).mkpath("locked");
    QDir(m_dir.path()).mkpath("open");
    Write("locked/mine.txt", "old\n");
    Write("open/roots.txt", "old\n");
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(Path("locked/mine.txt")).constData(), 0644);
    ::chmod(QFile::encodeName(Path("open/roots.txt")).constData(), 0666);
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(Path("locked/mine.txt")).constData(), kNobody, kNobody), 0);
        ASSERT_EQ(::chown(QFile::encodeName(Path("open")).constData(), kNobody, kNobody), 0);
    }
    ::chmod(QFile::encodeName(Path("locked")).constData(), 0555);
    const QByteArray longer(3 * 4096, 'n');
    {
        Unprivileged user;
        if (::faccessat(AT_FDCWD, QFile::encodeName(Path("locked")).constData(), W_OK, AT_EACCESS) == 0)
            GTEST_SKIP() << "cannot save as a user the folder's permissions stop";

        ASSERT_TRUE(Save("locked/mine.txt", "new\n")) << m_error.toStdString();
        EXPECT_EQ(Read("locked/mine.txt"), "new\n");

        FileSaverFaults::FailWriteAfter(4096 + 100, ENOSPC);
        EXPECT_FALSE(Save("locked/mine.txt", longer));
        FileSaverFaults::Reset();
        EXPECT_EQ(m_error, "Cannot write file \"" + Path("locked/mine.txt") + "\". No space left on device");
        EXPECT_EQ(Read("locked/mine.txt"), "new\n");

        EXPECT_FALSE(Save("locked/mine.txt", longer, "locked/mine.txt.bak"));
        EXPECT_EQ(m_error, "Cannot create file \"" + Path("locked/mine.txt.bak") + "\". Permission denied");
        EXPECT_EQ(Read("locked/mine.txt"), "new\n");
        EXPECT_EQ(Entries("locked"), QStringList{"mine.txt"});

        if (root) {
            ASSERT_TRUE(Save("open/roots.txt", "new\n", "open/roots.txt.bak")) << m_error.toStdString();
            EXPECT_EQ(Read("open/roots.txt"), "new\n");
            EXPECT_EQ(Read("open/roots.txt.bak"), "old\n");
        }
    }
    ::chmod(QFile::encodeName(Path("locked")).constData(), 0755);
    if (root) {
        EXPECT_EQ(Stat(Path("open/roots.txt")).st_uid, 0u);
        EXPECT_EQ(Entries("open"), (QStringList{"roots.txt", "roots.txt.bak"}));
    }
}

// A real full disk: a small tmpfs, mounted in a mount namespace of this
// process's own so that nobody else sees it.
class FullDisk {
public:
    explicit FullDisk(const QString& folder) : m_folder(QFile::encodeName(folder))
    {
        if (::geteuid() != 0) {
            m_why = "mounting a small file system needs root";
            return;
        }
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", m_folder.constData(), "tmpfs", 0, "size=256k") != 0) {
            m_why = std::string("no private tmpfs: ") + std::strerror(errno);
            return;
        }
        m_mounted = true;
    }
    ~FullDisk()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    bool Mounted() const { return m_mounted; }
    const std::string& Why() const { return m_why; }

    // Fills the file system to the last byte with a file named filler.
    static void Fill(const QString& filler)
    {
        const int fd = ::open(QFile::encodeName(filler).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        const QByteArray block(4096, 'f');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        ::close(fd);
    }

private:
    QByteArray m_folder;
    bool m_mounted = false;
    std::string m_why;
};

TEST_F(FileSaverTest, AFullDiskFailsWithItsReasonAndKeepsTheOldFile)
{
    QDir(m_dir.path()).mkdir("disk");
    FullDisk disk(Path("disk"));
    if (!disk.Mounted())
        GTEST_SKIP() << disk.Why();
    const QByteArray oldText = QByteArray("old text\n").repeated(1000);
    Write("disk/doc.txt", oldText);
    Write("disk/linked.txt", oldText);
    ASSERT_TRUE(HardLink("disk/linked.txt", "disk/twin.txt"));
    FullDisk::Fill(Path("disk/filler"));
    const QStringList files{"doc.txt", "filler", "linked.txt", "twin.txt"};

    // A short text fails at its only (last) write.
    EXPECT_FALSE(Save("disk/doc.txt", "short\n"));
    EXPECT_EQ(m_error, "Cannot write file \"" + Path("disk/doc.txt") + "\". No space left on device");
    EXPECT_EQ(Read("disk/doc.txt"), oldText);
    EXPECT_EQ(Entries("disk"), files);

    // A longer one fails in the middle, once the little room left is used.
    ASSERT_EQ(::truncate(QFile::encodeName(Path("disk/filler")).constData(),
                         Stat(Path("disk/filler")).st_size - 64 * 1024),
              0);
    const QByteArray longText(200 * 1024, 'n');
    EXPECT_FALSE(Save("disk/doc.txt", longText));
    EXPECT_TRUE(m_error.endsWith("No space left on device")) << m_error.toStdString();
    EXPECT_EQ(Read("disk/doc.txt"), oldText);
    EXPECT_EQ(Entries("disk"), files);

    // In place, a text longer than the old one runs out of room past the old
    // end; the old bytes come back, from memory, as no copy fits on the disk.
    FullDisk::Fill(Path("disk/filler"));
    EXPECT_FALSE(Save("disk/linked.txt", longText));
    EXPECT_TRUE(m_error.endsWith("No space left on device")) << m_error.toStdString();
    EXPECT_EQ(Read("disk/linked.txt"), oldText);
    EXPECT_EQ(Read("disk/twin.txt"), oldText);
    EXPECT_EQ(Entries("disk"), files);
}

} // namespace

namespace {

TEST_F(FileSaverTest, ASaveRemovesWhatDeadSavesOfTheSameFileLeftAndNothingElse)
{
    Write("doc.txt", "old\n");
    Write(".doc.txt.k3j2h1.saving", "half a new text");        // a dead save's new text
    Write(".doc.txt.bak.9z8y.saving", "old\n");               // a dead save's backup copy
    Write(".doc.txt.busy.saving", "a save under way");         // held by a running save
    Write(".doc.txt.5x.previous", "the only old text");       // an interrupted save's copy
    Write(".doc.txt.notes", "the user's");
    Write(".other.txt.k3j2h1.saving", "another file's");
    const int busy = ::open(QFile::encodeName(Path(".doc.txt.busy.saving")).constData(), O_RDONLY);
    ASSERT_GE(busy, 0);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);

    ASSERT_TRUE(Save("doc.txt", "new\n", "doc.txt.bak")) << m_error.toStdString();
    ::close(busy);
    EXPECT_EQ(Entries(), (QStringList{".doc.txt.5x.previous", ".doc.txt.busy.saving", ".doc.txt.notes",
                                      ".other.txt.k3j2h1.saving", "doc.txt", "doc.txt.bak"}));

    // With nowhere to keep a record, a file that must be written in place is
    // not written at all: a kill would leave nothing to offer its old text.
    SaveRecords::SetFolderProvider({});
    ASSERT_TRUE(HardLink("doc.txt", "twin.txt"));
    EXPECT_FALSE(Save("doc.txt", "newer\n"));
    EXPECT_EQ(m_error, "Cannot write file \"" + Path("doc.txt") +
                           "\". A copy of its previous text cannot be kept for recovery: There is no folder to keep it in.");
    EXPECT_EQ(Read("twin.txt"), "new\n");
}

// The records a dead save left, as the next start meets them: what they
// show to be leftovers goes, an interrupted save stays to be offered, and
// Restore gives the old text back only from a whole copy.
TEST_F(FileSaverTest, ARecordOfADeadSaveIsSettledAndRestoredOnlyFromAWholeCopy)
{
    const QByteArray oldText = QByteArray("old text\n").repeated(3000);
    struct Case {
        const char* state;
        QByteArray file;       // what the file holds after the kill
        bool copy;             // whether the copy has its ".previous" name
        QByteArray copyBytes;  // what the copy holds (the record names the old text)
        bool interrupted;
        bool restored;
    };
    const std::vector<Case> cases{
        {"killed before the copy was whole", oldText, false, {}, false, false},
        {"killed before the file changed", oldText, true, oldText, false, false},
        {"killed while the file was written", "new text\n" + oldText.mid(9), true, oldText, true, true},
        {"killed after the new text was whole", "new text\n", true, oldText, true, true},
        {"the copy was damaged since", "new text\n", true, "damaged\n" + oldText.mid(8), true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        for (const QString& name : Entries())
            QFile::remove(Path(name));
        Write("doc.txt", c.file);
        ASSERT_TRUE(HardLink("doc.txt", "twin.txt"));
        Write(".doc.txt.k3j2h1.saving", "stand-in");
        TSaveRecord record;
        record.path = m_records.filePath("k3j2h1" + TSaveRecord::kSuffix);
        record.id = "k3j2h1";
        record.target = Path("doc.txt");
        record.previous = Path(".doc.txt.k3j2h1.previous");
        record.size = oldText.size();
        record.checksum = TChecksum::Of(oldText);
        record.written = QDateTime::currentDateTimeUtc();
        ASSERT_TRUE(record.Write(true, &m_error)) << m_error.toStdString();
        if (c.copy)
            Write(".doc.txt.k3j2h1.previous", c.copyBytes);

        const std::optional<TSaveRecord> read = TSaveRecord::Read(record.path, &m_error);
        ASSERT_TRUE(read) << m_error.toStdString();
        EXPECT_EQ(read->Text(), record.Text());
        EXPECT_EQ(read->Settle(), c.interrupted);
        if (!c.interrupted) {
            EXPECT_EQ(Entries(), (QStringList{"doc.txt", "twin.txt"}));
            EXPECT_FALSE(QFile::exists(record.path));
            continue;
        }
        EXPECT_EQ(read->Restore(&m_error), c.restored) << m_error.toStdString();
        if (c.restored) {
            EXPECT_EQ(Read("twin.txt"), oldText) << "written in place, the links stay";
            EXPECT_EQ(Entries(), (QStringList{"doc.txt", "twin.txt"}));
            EXPECT_FALSE(QFile::exists(record.path));
        } else {
            EXPECT_EQ(m_error, "Cannot restore file \"" + Path("doc.txt") + "\". The copy of its previous text (\"" +
                                   Path(".doc.txt.k3j2h1.previous") + "\") is damaged.");
            EXPECT_EQ(Read("doc.txt"), c.file);
            ASSERT_TRUE(read->Discard(&m_error));
            EXPECT_EQ(Entries(), (QStringList{"doc.txt", "twin.txt"}));
        }
    }
}

} // namespace
