#include "instancechannel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstring>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

// The channel's name is held by one running editor at a time; the socket an
// editor that died left behind does not keep a new one from answering.
TEST(InstanceChannelTest, OneEditorHoldsTheNameAndADeadOnesSocketIsTakenOver)
{
    const QString name = QStringLiteral("tarnel-channel-test-%1").arg(QCoreApplication::applicationPid());
    {
        TInstanceChannel first(name);
        ASSERT_TRUE(first.Listen());
        TInstanceChannel second(name);
        EXPECT_FALSE(second.Listen());
        EXPECT_TRUE(first.Listening());
    }
#ifdef Q_OS_UNIX
    // A socket file nobody answers on, as a killed editor leaves it.
    const QByteArray path = QFile::encodeName(QDir::tempPath() + u'/' + name);
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
