#pragma once

#include <QElapsedTimer>
#include <QString>

#include <memory>

class QProgressDialog;

// The progress bar of long work (loading a large file, Replace All,
// printing): a small window with the work's caption, a bar and Cancel. It
// appears only once the work has run for kShowAfterMs, so that short work
// shows nothing. Between reports the application paints and answers; the
// bar is modal, so no input reaches the document while the work runs on it.
// Work begun inside other work shares its bar.
class TProgressBar {
public:
    static constexpr int kShowAfterMs = 300;

    TProgressBar();
    ~TProgressBar();

    void Begin(const QString& caption);
    // False once Cancel was pressed.
    bool Report(qint64 done, qint64 total);
    void End();

private:
    std::unique_ptr<QProgressDialog> m_dialog;
    QElapsedTimer m_clock;
    qint64 m_lastEvents = 0;
    QString m_caption;
    int m_depth = 0;
};
