#pragma once

#include "color.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QPrinter;
#include <functional>
#include <memory>

class TSettingsStore;

// Everything that reaches outside the program's own data: message boxes and
// questions, common dialogs, clipboard, shell open, process start, the
// settings store and the system colours. Declared here so that the text store
// can ask its questions without a widget header; implemented with Qt by the
// platform layer; replaced by a scripted fake in tests.
class TServices {
public:
    enum TAnswer { anYes, anNo, anCancel, anAll, anOk };
    // Buttons of a question.
    enum TButtons { bsYesNo, bsYesNoCancel, bsYesNoCancelAll, bsOkCancel, bsYesNoDefaultNo };

    struct TFileDialog {
        QString title;
        QString filter; // "Text (*.txt)|*.txt|Any Files (*.*)|*.*"
        int filterIndex = 1; // 1-based, as the filter string counts
        QString defaultExt;
        QString initialDir;
        QString fileName; // in: proposed name; out: the chosen path
        bool multiSelect = false;
        QStringList fileNames; // out, with multiSelect
    };

    // What a caller hears of a program it runs. Both are called later, on
    // the GUI thread, never from inside RunProcess itself.
    struct TProcessWatch {
        // Output as it comes, from standard output or (error) standard error.
        std::function<void(const QByteArray& output, bool error)> OnOutput;
        // Once, when the program has ended: its exit code, and failure empty
        // when it ran to its end (otherwise why it did not: it crashed, or
        // it was stopped).
        std::function<void(int exitCode, const QString& failure)> OnFinished;
    };

    // A program started by RunProcess, as its starter holds it. It stays
    // usable after the program ended; it then does nothing.
    class TProcessRun {
    public:
        virtual ~TProcessRun() = default;
        // True until the watch has heard the end.
        virtual bool Running() const = 0;
        // Sends bytes to the program's standard input; false when the
        // program no longer takes any.
        virtual bool Write(const QByteArray& bytes) = 0;
        // Ends the program and every program it started, at once; the watch
        // then hears the end, as stopped.
        virtual void Stop() = 0;
    };

    // The failure a stopped program ends with.
    static const QString kStopped;

    virtual ~TServices() = default;

    // The standard error box of a failing file operation, and short messages.
    virtual void ShowError(const QString& text) = 0;
    virtual void ShowMessage(const QString& text) = 0;
    virtual TAnswer Ask(const QString& text, TButtons buttons) = 0;

    // Common dialogs: true when the user confirmed.
    virtual bool OpenFileDialog(TFileDialog& dialog) = 0;
    virtual bool SaveFileDialog(TFileDialog& dialog) = 0;
    // A folder: title and initialDir in, the chosen folder in fileName.
    virtual bool FolderDialog(TFileDialog& dialog) = 0;
    virtual bool ColorDialog(TColor& color) = 0;
    // The printer set-up: the system's printers and printing to a PDF file.
    // Changes printer only when the user confirmed.
    virtual bool PrintSetupDialog(QPrinter& printer) = 0;

    // Opens a path or web address with the system's default action.
    virtual bool ShellOpen(const QString& target) = 0;
    // Runs a program (outside Windows a ".bat" file runs as a /bin/sh
    // script) hidden, not waited for, in workingDir (empty: the program's
    // own current folder); watch hears what it writes and how it ends, and
    // its standard input stays open for the run's Write. The caller is never
    // blocked beyond the start itself. Null, with the system's reason in
    // error, when nothing was started.
    virtual std::shared_ptr<TProcessRun> RunProcess(const QString& program, const QStringList& arguments,
                                                    const QString& workingDir, const TProcessWatch& watch,
                                                    QString& error) = 0;

    // The clipboard holds Unicode text (each document writes it in its own
    // encoding); column marks a column block.
    // Beside the text it may hold the same text highlighted, as RTF
    // ("Rich Text Format") and as an HTML fragment (UTF-8).
    virtual bool ClipboardHasText() const = 0;
    virtual QString ClipboardText(bool* column = nullptr) const = 0;
    virtual void SetClipboardText(const QString& text, bool column = false, const QByteArray& rtf = {},
                                  const QByteArray& html = {}) = 0;

    virtual TSettingsStore& Settings() = 0;

    // A colour ready to paint: system colours resolved to the palette,
    // as 0xAARRGGBB.
    virtual quint32 ResolveColor(TColor color) const = 0;

    // Long work (loading a large file, Replace All, printing) reports how
    // far it got between BeginProgress and EndProgress, done out of total.
    // The platform shows a progress bar with Cancel once the work has run
    // for a moment and keeps the windows painting in between. Progress
    // returns false once the user cancelled: the work then stops and leaves
    // the document as it was. Without a platform nothing is shown and
    // nothing is cancelled.
    virtual void BeginProgress(const QString& caption) {}
    virtual bool Progress(qint64 done, qint64 total) { return true; }
    virtual void EndProgress() {}
};

// One piece of long work reporting to the services, from construction to
// destruction. Once cancelled it stays cancelled.
class TProgress {
public:
    explicit TProgress(const QString& caption);
    ~TProgress();
    TProgress(const TProgress&) = delete;
    TProgress& operator=(const TProgress&) = delete;

    // False once the user cancelled.
    bool Step(qint64 done, qint64 total);
    bool Cancelled() const { return m_cancelled; }

private:
    bool m_cancelled = false;
};

// The services in use; there is always one (a silent default until the
// platform or a test installs its own).
TServices& Services();
// Installs services (not owned); null restores the silent default.
void SetServices(TServices* services);
// Opens target with the system's default action; when the system cannot
// (no browser or mail program set up), says so. False then.
bool ShellOpenOrReport(const QString& target);
