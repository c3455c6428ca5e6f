#pragma once

#include "formstorage.h"

#include <QByteArray>
#include <QFrame>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <deque>
#include <functional>

class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QToolButton;

// The bottom "Output" pane: what the last tool run wrote, as it comes. A
// header line names the command and the folder it runs in; standard output
// shows in the text colour, standard error in the error colour, lines typed
// into the input field under the text (sent to the program) in a colour of
// their own; a last line says how the run ended. Compiler messages and
// stack-trace frames that name a source file are links that ask for the
// file at that line (OutputLinks).
//
// It stays hidden until the first run and can be closed (its title row has
// a close button); the next run shows it again. It sits under the editor in
// the window's central area rather than in a dock: the window's stored
// tool-bar places are read from a state that holds no dock widgets. Its
// height is one of the window's stored values ("OutputPane_Height").
//
// Output is shown as it arrives, a line before its end too (a prompt waits
// for its answer on the same line). A line of one stream that another
// stream interrupts goes on in a line of its own. What arrives waits in a
// queue that each turn of the event loop shows up to kSliceChars of, so a
// program that writes without pause never holds up typing or painting. The
// pane keeps the last kMaxLines lines, and the queue at most
// kMaxWaitingChars (the oldest waiting output gives way, with a line saying
// so), so such a program cannot fill the memory either.
//
// Runs overlap only when a run is replaced; only the newest run writes
// here, an older one's late output is dropped.
class TOutputPane : public QFrame, public TStoredProperties {
    Q_OBJECT

public:
    static constexpr int kMaxLines = 100000;
    static constexpr int kSliceChars = 8192;
    // Output waiting beyond this many characters drops its oldest half.
    static constexpr int kMaxWaitingChars = 1 << 20;
    static constexpr int kDefaultHeight = 150;

    explicit TOutputPane(QWidget* parent = nullptr);
    ~TOutputPane() override;

    // Clears the pane for a new run, shows it and heads it with the command.
    // Relative file names in the output are taken from folder, a stack
    // frame's package folders from roots. Returns the run's number for the
    // calls below.
    int Begin(const QString& command, const QString& folder, const QStringList& roots = {});
    void Append(int run, const QByteArray& output, bool error = false);
    // A line the user sent to the program, shown where the output stands.
    void Echo(int run, const QString& line);
    // The end of a run, said in summary.
    void Finish(int run, const QString& summary);
    // True from Begin until the newest run's last line is shown.
    bool Running() const { return m_running; }

    QPlainTextEdit* Text() const { return m_text; }
    QToolButton* CloseButton() const { return m_close; }
    QToolButton* StopButton() const { return m_stop; }
    QLineEdit* InputField() const { return m_input; }
    // "Clear" and "Copy", shown on a right click in the text.
    QMenu* ContextMenu() const { return m_menu; }
    // The plain text of every line shown.
    QString PlainText() const;

    // A link was clicked: its file (with folder) and line (from 1).
    std::function<void(const QString& path, int line)> OnOpenLocation;
    // Stop was clicked.
    std::function<void()> OnStop;
    // A line was entered in the input field (without its line end).
    std::function<void(const QString& line)> OnInput;

    // TStoredProperties: "OutputPane.Height".
    QStringList StoredNames() const override;
    QList<QPair<QString, QString>> StoredValues() const override;
    QStringList RestoreValues(const QHash<QString, QString>& values) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    enum TKind { kOutput, kError, kInput, kNote };
    struct TPiece {
        TKind kind;
        QString text;
        bool last; // the run's summary: the run is over once it shows
    };

    void Queue(const QString& text, TKind kind, bool last = false);
    void Flush();

    // Adds text of kind at the end: a line end closes the line and finds
    // its link.
    void AddText(const QString& text, TKind kind);
    // The count lines before the skip last ones have ended: each is made a
    // link when it names a source line. With skip 0 no line stays open.
    void EndLines(int count, int skip = 0);
    // A header or summary line, in bold.
    void AddNote(const QString& line);
    void SetRunning(bool running);
    void CopyText();
    void SendInput();
    // Gives the pane its kept height in the splitter it sits in.
    void ApplyHeight();
    void FollowEditorFont();

    QPlainTextEdit* m_text = nullptr;
    QToolButton* m_close = nullptr;
    QToolButton* m_stop = nullptr;
    QLineEdit* m_input = nullptr;
    QMenu* m_menu = nullptr;
    int m_run = 0;
    bool m_running = false;
    QString m_folder;
    QStringList m_roots;
    // Each stream decodes on its own: a character may be cut between reads.
    QStringDecoder m_outputDecoder;
    QStringDecoder m_errorDecoder;
    // The last line has no end yet; it is of m_openKind.
    bool m_open = false;
    // Nothing shown since the last clear: the first line needs no new block.
    bool m_empty = true;
    TKind m_openKind = kOutput;
    // Output not shown yet, oldest first.
    std::deque<TPiece> m_waiting;
    qsizetype m_waitingChars = 0;
    // Characters dropped from the queue and not told of yet.
    qsizetype m_skipped = 0;
    bool m_flushPending = false;
    int m_height = kDefaultHeight;
    int m_fontListener = 0;
};
