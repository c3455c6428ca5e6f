#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

// The line between a running editor and a second start of it: the second
// start hands its files to the running window and ends, as people expect of
// a tabbed editor. One channel per user and display, a local socket named
// after both, so that two users (or two desktops of one user) never reach
// each other's window.
class TInstanceChannel : public QObject {
    Q_OBJECT

public:
    // name: the channel's name; empty for the one of this user and display.
    explicit TInstanceChannel(const QString& name = {}, QObject* parent = nullptr);
    ~TInstanceChannel() override;

    static QString DefaultName();
    const QString& Name() const { return m_name; }

    // Hands files (absolute paths; none only raises the window) to the
    // editor listening on the channel. False when none answers in time:
    // then this start becomes the running editor itself.
    bool HandOver(const QStringList& files, int timeoutMs = 2000) const;
    // Starts answering on the channel. A channel left behind by an editor
    // that died is taken over; false when another editor answers on it.
    bool Listen();
    bool Listening() const;

signals:
    // Files handed over by a second start, in the order it named them.
    void FilesReceived(const QStringList& files);

private:
    void Accept();

    QString m_name;
    QLocalServer* m_server = nullptr;
};
