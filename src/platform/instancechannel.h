#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

// The line between a running editor and a second start of it: the second
// start hands its files to the running window and ends, as people expect of
// a tabbed editor. One channel per user and display, a local socket named
// after both, so that two users (or two desktops of one user) never reach
// each other's window.
class TInstanceChannel : public QObject {
    Q_OBJECT

public:
    // name: the channel's name; empty for the one of this user and display.
    // A name without a folder lives in the temporary folder.
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
    // The one message a second start sends: a tag, then the list of files.
    enum class TReading { Incomplete, Complete, Foreign };
    static QByteArray Message(const QStringList& files);
    static TReading ReadMessage(const QByteArray& bytes, QStringList& files);

    // The listening end, made by Listen(); its kind depends on the system.
    struct TListener;
    void Accept();
    // Reads what a second start's connection brought; once its message is
    // whole it answers, ends the connection and reports the files.
    void Read(QObject* connection);

    QString m_name;
    std::unique_ptr<TListener> m_listener;
};
