#pragma once

#include <QByteArray>
#include <QFrame>
#include <QString>

#include <functional>

class QPlainTextEdit;
class QToolButton;

// The bottom "Output" pane: what the last build run wrote, line by line.
// It stays hidden until the first run and can be closed (its title row has
// a close button); the next run shows it again. It sits under the editor in
// the window's central area rather than in a dock: the window's stored
// tool-bar places are read from a state that holds no dock widgets. A compiler's message line ("File.java:12: error: ...") is shown
// as a link, and clicking it asks for that file at that line.
//
// Runs overlap when the user starts a second build before the first ended;
// only the newest run writes here, an older one's late output is dropped.
class TOutputPane : public QFrame {
    Q_OBJECT

public:
    explicit TOutputPane(QWidget* parent = nullptr);

    // Clears the pane for a new run, shows it and heads it with title (the
    // command). Relative file names in the output are taken from folder.
    // Returns the run's number for Append and Finish.
    int Begin(const QString& title, const QString& folder);
    void Append(int run, const QByteArray& output);
    // The end of a run: its exit code, or why it stopped.
    void Finish(int run, int exitCode, const QString& failure);

    // A message line's file and line number (counted from 1); false for any
    // other line.
    static bool ParseLocation(const QString& line, QString& file, int& lineNumber);

    QPlainTextEdit* Text() const { return m_text; }
    QToolButton* CloseButton() const { return m_close; }
    // The plain text of every line shown.
    QString PlainText() const;

    // A message line was clicked: its file (with folder) and line.
    std::function<void(const QString& path, int line)> OnOpenLocation;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddLine(const QString& line);

    QPlainTextEdit* m_text = nullptr;
    QToolButton* m_close = nullptr;
    int m_run = 0;
    QString m_folder;
    // Output after the last line end, waiting for the rest of its line.
    QByteArray m_pending;
};
