#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class TOutputPane;

// The window's tool runs: Applet Compile and Applet Run through
// "Commando\build.bat", the browser preview and batch commands. The
// compiler settings are read from the stored preferences at every run.
//
// Nothing waits for a program: the build's output goes to the Output pane as
// it comes, and what must follow a successful compile (Applet Run's page)
// happens when the build ends. A run keeps what it needs from the document
// at its start, so closing the document meanwhile does no harm.
class TToolRuns : public QObject {
    Q_OBJECT

public:
    // The message of a missing or unset compiler.
    static const QString kNoCompiler;

    TToolRuns(const QString& programDir, TOutputPane* output, QObject* parent = nullptr);

    // Applet Compile of the document on disk at documentPath (unsaved edits
    // are not compiled). False when nothing was started; the reason has been
    // shown.
    bool Compile(const QString& documentPath);
    // Applet Run: compiles, and once the compile ended without error writes
    // the applet page beside the document and opens it. A page there that
    // Applet Run did not write is only replaced when the user says so.
    void Run(const QString& documentPath);
    // Opens a saved ".htm" / ".html" document itself; any other document's
    // text goes to "preview.htm", which is opened.
    void Preview(const QString& documentPath, const QByteArray& text);
    // Starts a batch file, hidden, not waited for.
    void StartBatch(const QString& path);

    // Where the build file of the next compile goes (see
    // ToolFiles::WritablePlace).
    QString BuildFilePath() const;

private:
    // Checks the compiler and the build file and writes the build line;
    // false with the reason shown.
    bool WriteBuildFile(const QString& documentPath, QString& buildFile, QString& buildLine);
    bool StartBuild(const QString& documentPath, const QString& buildFile, const QString& buildLine,
                    std::function<void(bool succeeded)> finished);
    static void ReportStartFailure(const QString& program, const QString& reason);

    QString m_programDir;
    TOutputPane* m_output;
};
