// The second-start channel on Windows: the toolkit's local sockets (named
// pipes there), carrying the message of instancechannel.cpp. Only this
// system links the network library for them.

#include "instancechannel.h"

#ifdef Q_OS_WIN

#include <QLocalServer>
#include <QLocalSocket>

namespace {

constexpr char kTaken = '+';

} // namespace

struct TInstanceChannel::TListener {
    QLocalServer server;
};

TInstanceChannel::~TInstanceChannel() = default;

bool TInstanceChannel::HandOver(const QStringList& files, int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(Message(files));
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
    // answers on is the pipe of one that died, and is taken over.
    QLocalSocket probe;
    probe.connectToServer(m_name);
    if (probe.waitForConnected(500))
        return false;
    QLocalServer::removeServer(m_name);
    auto listener = std::make_unique<TListener>();
    // Only this user may connect.
    listener->server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!listener->server.listen(m_name))
        return false;
    connect(&listener->server, &QLocalServer::newConnection, this, &TInstanceChannel::Accept);
    m_listener = std::move(listener);
    return true;
}

bool TInstanceChannel::Listening() const
{
    return m_listener && m_listener->server.isListening();
}

void TInstanceChannel::Accept()
{
    while (QLocalSocket* socket = m_listener->server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
    }
}

void TInstanceChannel::Read(QObject* connection)
{
    auto* socket = static_cast<QLocalSocket*>(connection);
    // The bytes stay in the socket until the whole message is in.
    QStringList files;
    switch (ReadMessage(socket->peek(socket->bytesAvailable()), files)) {
    case TReading::Incomplete:
        return; // the rest of the message is still on its way
    case TReading::Foreign:
        socket->abort();
        return;
    case TReading::Complete:
        socket->readAll();
        socket->putChar(kTaken);
        socket->flush();
        emit FilesReceived(files);
        return;
    }
}

#endif // Q_OS_WIN
