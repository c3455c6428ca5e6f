#pragma once

// A file being opened, shown as it comes in. The load runs in the window's
// thread and lets the application answer between its pieces; meanwhile this
// shows the progress with Cancel in the status bar and holds back whatever
// could touch the document or the window while the text is incomplete:
//
// - the controls showing the document scroll, and their caret and
//   selection move, as ever (the store is read-only until the end);
// - keys are kept in the order typed and given back once the text is in
//   (a command's shortcut then acts), so that typing during the load loses
//   nothing; arrow and page keys pass at once as long as nothing is kept
//   ahead of them;
// - Escape, and the Cancel button, cancel the load;
// - clicks anywhere else, context menus, drops and closing the window wait
//   for the end (they are ignored), as behind a modal progress window.

#include "loadwatch.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class QKeyEvent;
class QMainWindow;
class QWidget;
class TCustomMemoSource;

class TOpenProgress : public QObject, public TLoadWatch {
    Q_OBJECT

public:
    // Shows the load of document (named name) in window's status bar.
    TOpenProgress(QMainWindow& window, const TCustomMemoSource& document, const QString& name);
    // Takes the bar away and gives back the keys kept meanwhile.
    ~TOpenProgress() override;

    bool Arrived(qint64 done, qint64 total) override;
    bool Cancelled() const { return m_cancelled; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A key the user pressed or let go while the text was coming in.
    struct TKeptKey {
        QPointer<QWidget> widget;
        QPointer<QWidget> window;
        int type;
        int key;
        int modifiers;
        quint32 scanCode;
        quint32 virtualKey;
        quint32 nativeModifiers;
        QString text;
        bool autoRepeat;
    };

    static void Replay(const std::vector<TKeptKey>& kept);
    bool InDocumentView(QObject* object) const;
    bool KeyEvent(QObject* watched, QKeyEvent& key);
    void ShowBar();

    QMainWindow& m_window;
    const TCustomMemoSource& m_document;
    const QString m_name;
    QElapsedTimer m_clock;
    qint64 m_lastEvents = -1;
    bool m_cancelled = false;
    std::vector<TKeptKey> m_kept;
    QWidget* m_bar = nullptr;
    class QProgressBar* m_progress = nullptr;
};
