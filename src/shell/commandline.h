#pragma once

#include <QString>
#include <QStringList>

// What the program was started with: the files to open (made absolute
// against the folder it was started in, since a running editor that gets
// them has another one), and whether to open a window of its own. --help
// and --version are answered here and end the start.
struct TCommandLine {
    QStringList files;
    bool newWindow = false;
    // Set when the start ends at once: the text to print and the exit code.
    bool done = false;
    int exitCode = 0;
    QString output;

    static TCommandLine Parse(const QStringList& arguments, const QString& currentDir);
};
