#pragma once

#include "services.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class TOutputPane;

// The window's tool runs: Applet Compile and Applet Run through
// "Commando\build.bat", Run Java Program, the browser preview and batch
// commands. The compiler settings are read from the stored preferences at
// every run.
//
// Nothing waits for a program: every run's output goes to the Output pane as
// it comes, and what must follow a successful compile (Applet Run's page)
// happens when the build ends. A run keeps what it needs from the document
// at its start, so closing the document meanwhile does no harm.
//
// One run at a time belongs to the pane: its Stop button and its input
// field reach that run. A command given while it still runs asks first
// whether to stop it, and so does closing the window; a run still going
// when this object goes is stopped.
class TToolRuns : public QObject {
    Q_OBJECT

public:
    // The message of a missing or unset compiler.
    static const QString kNoCompiler;

    TToolRuns(const QString& programDir, TOutputPane* output, QObject* parent = nullptr);
    ~TToolRuns() override;

    // Applet Compile of the document on disk at documentPath (unsaved edits
    // are not compiled). False when nothing was started; the reason has been
    // shown.
    bool Compile(const QString& documentPath);
    // Applet Run: compiles, and once the compile ended without error writes
    // the applet page beside the document and opens it. A page there that
    // Applet Run did not write is only replaced when the user says so.
    void Run(const QString& documentPath);
    // Run Java Program: the Java source saved at documentPath, run by the
    // launcher in its folder (JavaRun) with the stored program arguments.
    void RunJavaProgram(const QString& documentPath);
    // Opens a saved ".htm" / ".html" document itself; any other document's
    // text goes to "preview.htm", which is opened.
    void Preview(const QString& documentPath, const QByteArray& text);
    // Runs a batch file in its own folder.
    void RunBatch(const QString& path);

    // Whether the pane's run is still going, and ending it (with what it
    // started).
    bool Running() const;
    void Stop();
    // Before the window closes: a run still going is asked about and, on
    // Yes, stopped. False when the window should stay.
    bool MayClose();

    // Where the build file of the next compile goes (see
    // ToolFiles::WritablePlace).
    QString BuildFilePath() const;

private:
    struct TRequest {
        QString program;
        QStringList arguments;
        QString folder;     // empty: the program's own current folder
        QStringList roots;  // class roots for the pane's stack-trace links
        QString command;    // as the pane's header shows it
    };

    // Asks whether a run still going may be stopped for a new one, and
    // stops it then. False: the new command does nothing.
    bool MayReplaceRun();
    // Checks the compiler and the build file and writes the build line;
    // false with the reason shown.
    bool WriteBuildFile(const QString& documentPath, QString& buildFile, QString& buildLine);
    bool StartBuild(const QString& documentPath, const QString& buildFile, const QString& buildLine,
                    std::function<void(bool succeeded)> finished);
    // Starts request as the pane's run; finished hears whether it ended
    // with exit code 0. False when nothing was started; the reason has been
    // shown.
    bool StartRun(const TRequest& request, std::function<void(bool succeeded)> finished);
    void SendInput(const QString& line);
    static void ReportStartFailure(const QString& program, const QString& reason);

    QString m_programDir;
    QPointer<TOutputPane> m_output;
    std::shared_ptr<TServices::TProcessRun> m_run;
    QString m_runCommand;
    int m_runNumber = 0;
};
