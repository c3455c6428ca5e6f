// A second start of the editor finds the running one through a local socket
// and sends it one message: a tag, then the list of files. The running
// editor answers with one byte once it has taken the list, so that a second
// start that hears nothing in time opens a window of its own instead of
// losing the files.
//
// On POSIX systems the socket is a plain unix-domain socket watched by the
// event loop (QtCore only): the channel is made on every start, and a
// network library with its proxy and authentication dependencies would cost
// every start the time to load them, for a socket that never leaves the
// machine. Windows keeps the toolkit's local sockets (instancechannelwin.cpp).

#include "instancechannel.h"

#include <QDataStream>
#include <QStandardPaths>

#ifndef Q_OS_WIN
#include "posixfiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace {

constexpr quint32 kTag = 0x54524e31; // "TRN1"

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

QString TInstanceChannel::DefaultName()
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    // Socket names stay plain: ":0.0" becomes "-0-0".
    for (QChar& c : display) {
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'_')
            c = u'-';
    }
    // The user's runtime folder, where only the user can reach the socket.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QString name =
        QStringLiteral("tarnel-%1%2").arg(userId(), display.isEmpty() ? QString() : QLatin1Char('-') + display);
    return folder.isEmpty() ? name : folder + u'/' + name;
}

QByteArray TInstanceChannel::Message(const QStringList& files)
{
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << kTag << files;
    return message;
}

TInstanceChannel::TReading TInstanceChannel::ReadMessage(const QByteArray& bytes, QStringList& files)
{
    QDataStream in(bytes);
    quint32 tag = 0;
    quint32 count = 0;
    in >> tag;
    if (in.status() != QDataStream::Ok)
        return TReading::Incomplete;
    if (tag != kTag)
        return TReading::Foreign;
    // Every file takes at least its 4-byte length: a count the bytes so far
    // cannot hold means the rest is still on its way, and the list is not
    // read (nor room made for it) before.
    in >> count;
    if (in.status() != QDataStream::Ok || qsizetype(count) > (bytes.size() - 8) / 4)
        return TReading::Incomplete;
    QDataStream list(bytes);
    list.skipRawData(sizeof tag);
    list >> files;
    return list.status() == QDataStream::Ok ? TReading::Complete : TReading::Incomplete;
}

#ifndef Q_OS_WIN

using PosixFiles::TFd;

namespace {

constexpr char kTaken = '+';
// A second start's list of files is far smaller; a peer that sends more is
// not one, and is cut off.
constexpr qsizetype kMaxMessage = 16 * 1024 * 1024;

// The socket's file: a name without a folder lives in the temporary folder.
QByteArray socketPath(const QString& name)
{
    return QFile::encodeName(name.contains(u'/') ? name : QDir::tempPath() + u'/' + name);
}

bool addressOf(const QByteArray& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), path.size());
    return true;
}

// Whether fd became ready for events before the deadline.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline)
{
    for (;;) {
        pollfd ready{fd, events, 0};
        const int result = ::poll(&ready, 1, int(deadline.remainingTime()));
        if (result >= 0)
            return result > 0;
        if (errno != EINTR)
            return false;
    }
}

// A non-blocking socket connected to path, or -1 when nobody accepted the
// connection before the deadline.
int connectTo(const QByteArray& path, const QDeadlineTimer& deadline)
{
    sockaddr_un address;
    if (!addressOf(path, address))
        return -1;
    TFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.Valid())
        return -1;
    for (;;) {
        if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            return fd.Release();
        if (errno == EINTR)
            continue;
        if (errno == EINPROGRESS) {
            int error = 0;
            socklen_t length = sizeof error;
            if (waitFor(fd.Get(), POLLOUT, deadline) &&
                ::getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0)
                return fd.Release();
            return -1;
        }
        // The listener's queue is full: it is busy, and may take us soon.
        if (errno == EAGAIN && !deadline.hasExpired()) {
            ::poll(nullptr, 0, int(std::min<qint64>(10, deadline.remainingTime())));
            continue;
        }
        return -1;
    }
}

// One second start's connection: its bytes are gathered until the whole
// message is in.
class TChannelClient : public QObject {
public:
    TChannelClient(int fd, QObject* parent) : QObject(parent), m_fd(fd), m_notifier(fd, QSocketNotifier::Read) {}

    TFd m_fd; // declared first: the notifier goes before its descriptor
    QSocketNotifier m_notifier;
    QByteArray m_bytes;
};

} // namespace

struct TInstanceChannel::TListener {
    TFd fd;
    QByteArray path;
    // The socket file made, so that one another editor made under the same
    // name after this one was taken over is never removed.
    dev_t device = 0;
    ino_t inode = 0;
    std::unique_ptr<QSocketNotifier> notifier;

    ~TListener()
    {
        notifier.reset();
        struct stat now;
        if (::lstat(path.constData(), &now) == 0 && now.st_dev == device && now.st_ino == inode)
            ::unlink(path.constData());
    }
};

TInstanceChannel::~TInstanceChannel() = default;

bool TInstanceChannel::HandOver(const QStringList& files, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    const TFd fd(connectTo(socketPath(m_name), deadline));
    if (!fd.Valid())
        return false;
    const QByteArray message = Message(files);
    qsizetype sent = 0;
    while (sent < message.size()) {
        // No SIGPIPE when the other side has gone: the start goes on alone.
        const ssize_t n = ::send(fd.Get(), message.constData() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (n > 0)
            sent += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else if (!(n < 0 && errno == EAGAIN && waitFor(fd.Get(), POLLOUT, deadline)))
            return false;
    }
    for (;;) {
        char answer = 0;
        const ssize_t n = ::recv(fd.Get(), &answer, 1, 0);
        if (n == 1)
            return answer == kTaken;
        if (n < 0 && errno == EINTR)
            continue;
        if (!(n < 0 && errno == EAGAIN && waitFor(fd.Get(), POLLIN, deadline)))
            return false;
    }
}

bool TInstanceChannel::Listen()
{
    if (Listening())
        return true;
    auto listener = std::make_unique<TListener>();
    listener->path = socketPath(m_name);
    sockaddr_un address;
    if (!addressOf(listener->path, address))
        return false;
    // A running editor answers on the name and keeps it. A name nobody
    // answers on is the socket of one that died, and is taken over; a file
    // of another kind under the name is left alone, and the channel is not
    // opened.
    if (TFd(connectTo(listener->path, QDeadlineTimer(500))).Valid())
        return false;
    struct stat old;
    if (::lstat(listener->path.constData(), &old) == 0 && S_ISSOCK(old.st_mode))
        ::unlink(listener->path.constData());
    listener->fd.Reset(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!listener->fd.Valid() ||
        ::bind(listener->fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return false;
    struct stat made;
    if (::lstat(listener->path.constData(), &made) != 0)
        return false;
    listener->device = made.st_dev;
    listener->inode = made.st_ino;
    // Only this user may connect (from here on the listener removes its
    // file when it fails or ends).
    if (::chmod(listener->path.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(listener->fd.Get(), SOMAXCONN) != 0)
        return false;
    listener->notifier = std::make_unique<QSocketNotifier>(listener->fd.Get(), QSocketNotifier::Read);
    connect(listener->notifier.get(), &QSocketNotifier::activated, this, &TInstanceChannel::Accept);
    m_listener = std::move(listener);
    return true;
}

bool TInstanceChannel::Listening() const
{
    return m_listener != nullptr;
}

void TInstanceChannel::Accept()
{
    for (;;) {
        const int fd = ::accept4(m_listener->fd.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return; // none left (or none to be had now): the notifier calls again
        }
        auto* client = new TChannelClient(fd, this);
        connect(&client->m_notifier, &QSocketNotifier::activated, this, [this, client] { Read(client); });
    }
}

void TInstanceChannel::Read(QObject* connection)
{
    auto* client = static_cast<TChannelClient*>(connection);
    bool ended = false;
    for (;;) {
        char chunk[4096];
        const ssize_t n = ::recv(client->m_fd.Get(), chunk, sizeof chunk, 0);
        if (n > 0) {
            client->m_bytes.append(chunk, n);
            if (client->m_bytes.size() > kMaxMessage) {
                ended = true;
                break;
            }
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // Nothing more for now, or the other side has closed or failed.
        ended = !(n < 0 && errno == EAGAIN);
        break;
    }
    QStringList files;
    const TReading reading = client->m_bytes.size() > kMaxMessage ? TReading::Foreign
                                                                  : ReadMessage(client->m_bytes, files);
    if (reading == TReading::Incomplete && !ended)
        return; // the rest of the message is still on its way
    if (reading == TReading::Complete)
        ::send(client->m_fd.Get(), &kTaken, 1, MSG_NOSIGNAL);
    // The connection ends before the files are opened: opening them may ask
    // questions, and the event loop that waits for the answers must not
    // read this socket again.
    client->m_notifier.setEnabled(false);
    client->m_fd.Reset();
    client->deleteLater();
    if (reading == TReading::Complete)
        emit FilesReceived(files);
}

#endif // Q_OS_WIN
