// Paths that are no regular files are refused, with the reason, before
// anything reads from them: a named pipe must not hang the window waiting
// for a writer. And a file without write permission is never overwritten
// without the user's word, whatever the program could do to it.

#include "shellfixture.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Opens the write end of a named pipe once deadline has passed without
// Disarm(): an open of the read end that blocks (the fault this guards
// against) then returns, so that the test fails instead of hanging.
class PipeWatchdog {
public:
    PipeWatchdog(const QString& pipe, std::chrono::milliseconds deadline) : m_pipe(QFile::encodeName(pipe))
    {
        m_thread = std::thread([this, deadline] {
            const auto end = std::chrono::steady_clock::now() + deadline;
            while (!m_disarmed && std::chrono::steady_clock::now() < end)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            while (!m_disarmed) {
                const int fd = ::open(m_pipe.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    m_fired = true;
                    ::close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    }
    ~PipeWatchdog()
    {
        Disarm();
        m_thread.join();
    }
    void Disarm() { m_disarmed = true; }
    bool Fired() const { return m_fired; }

private:
    QByteArray m_pipe;
    std::atomic<bool> m_disarmed{false};
    std::atomic<bool> m_fired{false};
    std::thread m_thread;
};

// A listening local socket at path.
int MakeSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), size_t(std::min<qsizetype>(name.size(), sizeof address.sun_path - 1)));
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 1) != 0)
        return -1;
    return fd;
}

} // namespace

TEST_F(ShellTest, PathsThatAreNoRegularFilesAreRefusedWithoutReadingFromThem)
{
    const QString pipe = files.filePath("pipe.jsp");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    // A socket's path must be short.
    QTemporaryDir shortDir(QStringLiteral("/tmp/tsock-XXXXXX"));
    const QString socket = shortDir.filePath("s.jsp");
    const int socketFd = MakeSocket(socket);
    ASSERT_GE(socketFd, 0) << std::strerror(errno);
    const QString folder = files.filePath("folder.jsp");
    ASSERT_TRUE(QDir().mkpath(folder));

    struct Case {
        QString path;
        const char* reason;
    };
    const std::vector<Case> cases{
        {pipe, "It is a named pipe (FIFO), not a file."},
        {socket, "It is a socket, not a file."},
        {folder, "It is a folder."},
        {QStringLiteral("/dev/null"), "It is a device, not a file."},
    };
    // Through the open dialog, and as files of the command line (a second
    // start hands them over the same way).
    for (const bool dialog : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.path.toStdString() + (dialog ? " in the open dialog" : " on the command line"));
            services.ClearCalls();
            PipeWatchdog watchdog(pipe, std::chrono::seconds(5));
            if (dialog)
                Open(c.path);
            else
                form->OpenFiles({c.path});
            watchdog.Disarm();
            EXPECT_FALSE(watchdog.Fired()) << "opening waited for a writer";
            EXPECT_EQ(services.Messages(),
                      QStringList{QStringLiteral("Cannot open file \"%1\". %2").arg(c.path, QLatin1String(c.reason))});
            EXPECT_EQ(FileNames(), QStringList{QStringLiteral("Untitled1")});
        }
    }
    EXPECT_TRUE(RecentPaths().isEmpty());
    ::close(socketFd);
}

TEST_F(ShellTest, AFileWithoutWritePermissionIsOverwrittenOnlyWhenTheUserSaysSo)
{
    const QString path = MakeFile("locked.jsp", "old\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    const QString question = path + QStringLiteral(" is read-only. Save anyway?");
    Open(path);
    QTest::keyClicks(form->TarnelEditor(), "new ");

    // No (the default) keeps the file and the unsaved text.
    services.AnswerNext(TServices::anNo);
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(services.Questions(), QStringList{question});
    EXPECT_EQ(ReadFile(path), "old\n");
    EXPECT_TRUE(form->ActiveDocument()->Modified());

    // Save As onto it asks both questions; Yes to both writes it, and it
    // stays read-only.
    services.ClearCalls();
    services.ChooseFile(path);
    services.AnswerNext(TServices::anYes);
    services.AnswerNext(TServices::anYes);
    form->Action(QStringLiteral("FileItemsSaveAs"))->trigger();
    EXPECT_EQ(services.Questions(),
              (QStringList{QStringLiteral("File %1 already exists. Would you like to overwrite?").arg(path), question}));
    EXPECT_EQ(ReadFile(path), "new old\n");
    EXPECT_FALSE(form->ActiveDocument()->Modified());
    struct stat info = {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
}
