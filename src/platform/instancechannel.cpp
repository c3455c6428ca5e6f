// A second start of the editor finds the running one through a local socket
// and sends it one message: a tag, then the list of files. The running
// editor answers with one byte once it has taken the list, so that a second
// start that hears nothing in time opens a window of its own instead of
// losing the files.

#include "instancechannel.h"

#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

constexpr quint32 kTag = 0x54524e31; // "TRN1"
constexpr char kTaken = '+';

QString userId()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

} // namespace

TInstanceChannel::TInstanceChannel(const QString& name, QObject* parent)
    : QObject(parent), m_name(name.isEmpty() ? DefaultName() : name)
{
}

TInstanceChannel::~TInstanceChannel() = default;

QString TInstanceChannel::DefaultName()
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    // Socket names stay plain: ":0.0" becomes "-0-0".
    display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_]")), QStringLiteral("-"));
    // The user's runtime folder, where only the user can reach the socket.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QString name =
        QStringLiteral("tarnel-%1%2").arg(userId(), display.isEmpty() ? QString() : QLatin1Char('-') + display);
    return folder.isEmpty() ? name : folder + u'/' + name;
}

bool TInstanceChannel::HandOver(const QStringList& files, int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << kTag << files;
    socket.write(message);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == kTaken;
}

bool TInstanceChannel::Listen()
{
    if (Listening())
        return true;
    // A running editor answers on the name and keeps it. A name nobody
    // answers on is the socket of one that died, and is taken over.
    QLocalSocket probe;
    probe.connectToServer(m_name);
    if (probe.waitForConnected(500))
        return false;
    QLocalServer::removeServer(m_name);
    auto* server = new QLocalServer(this);
    // Only this user may connect.
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_name)) {
        delete server;
        return false;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, &TInstanceChannel::Accept);
    return true;
}

bool TInstanceChannel::Listening() const
{
    return m_server && m_server->isListening();
}

void TInstanceChannel::Accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto* in = new QDataStream(socket);
        connect(socket, &QObject::destroyed, [in] { delete in; });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, in] {
            in->startTransaction();
            quint32 tag = 0;
            QStringList files;
            *in >> tag >> files;
            if (!in->commitTransaction())
                return; // the rest of the message is still on its way
            if (tag != kTag) {
                socket->abort();
                return;
            }
            socket->putChar(kTaken);
            socket->flush();
            emit FilesReceived(files);
        });
    }
}
