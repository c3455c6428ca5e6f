#include "instancechannel.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <future>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace {

QString channelName(const char* what)
{
    return QStringLiteral("tarnel-channel-%1-%2").arg(QLatin1String(what)).arg(QCoreApplication::applicationPid());
}

// Lets the event loop run until done() holds or two seconds pass.
template <typename Done>
bool runUntil(Done done)
{
    const QDeadlineTimer deadline(2000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

} // namespace

// The channel's name is held by one running editor at a time, only its user
// can reach it, and it goes when the editor ends; the socket an editor that
// died left behind does not keep a new one from answering.
TEST(InstanceChannelTest, OneEditorHoldsTheNameAndADeadOnesSocketIsTakenOver)
{
    const QString name = channelName("hold");
    const QByteArray path = QFile::encodeName(QDir::tempPath() + u'/' + name);
    {
        TInstanceChannel first(name);
        ASSERT_TRUE(first.Listen());
        TInstanceChannel second(name);
        EXPECT_FALSE(second.Listen());
        EXPECT_TRUE(first.Listening());
#ifdef Q_OS_UNIX
        struct stat made;
        ASSERT_EQ(::lstat(path.constData(), &made), 0);
        EXPECT_TRUE(S_ISSOCK(made.st_mode));
        EXPECT_EQ(made.st_mode & (S_IRWXG | S_IRWXO), 0u);
#endif
    }
    EXPECT_FALSE(QFileInfo::exists(QFile::decodeName(path)));
#ifdef Q_OS_UNIX
    // A socket file nobody answers on, as a killed editor leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(QString::fromLocal8Bit(path)));
    EXPECT_FALSE(TInstanceChannel(name).HandOver({}, 200));
    TInstanceChannel revived(name);
    EXPECT_TRUE(revived.Listen());
#endif
}

// A long list arrives in many pieces and comes through whole and in order;
// a peer that sends something else, or nothing, opens nothing and does not
// stop the channel.
TEST(InstanceChannelTest, ALongListComesWholeAndStrangersAreTurnedAway)
{
    const QString name = channelName("list");
    TInstanceChannel running(name);
    ASSERT_TRUE(running.Listen());
    QList<QStringList> received;
    QObject::connect(&running, &TInstanceChannel::FilesReceived,
                     [&received](const QStringList& files) { received.append(files); });

    QStringList files;
    for (int i = 0; i < 3000; ++i)
        files.append(QStringLiteral("/home/someone/project/%1/").arg(i) + QString(200, QChar(u'a' + i % 26)));
#ifdef Q_OS_UNIX
    // A stranger: a message of another program, then one that says nothing.
    for (const QByteArray& bytes : {QByteArray("GET / HTTP/1.0\r\n\r\n"), QByteArray()}) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, QFile::encodeName(QDir::tempPath() + u'/' + name).constData(),
                     sizeof address.sun_path - 1);
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(::write(fd, bytes.constData(), bytes.size()), bytes.size());
        ::shutdown(fd, SHUT_WR);
        char answer = 0;
        std::future<ssize_t> read = std::async(std::launch::async, [&] { return ::read(fd, &answer, 1); });
        EXPECT_TRUE(runUntil([&] { return read.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
        EXPECT_EQ(read.get(), 0); // closed without an answer
        ::close(fd);
    }
#endif
    std::future<bool> handed = std::async(std::launch::async, [&] { return TInstanceChannel(name).HandOver(files); });
    EXPECT_TRUE(runUntil([&] { return !received.isEmpty(); }));
    EXPECT_TRUE(handed.get());
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received.front(), files);
}
