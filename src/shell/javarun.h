#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What Run Java Program starts for a Java source file: which launcher, and
// whether the launcher compiles the file itself or runs classes compiled
// before. Nothing here starts a program or shows a message.
//
// The launcher's single-file source mode ("java Good.java") compiles the
// file in memory on every run, so an edited file runs as it was saved. It
// cannot see the other sources of a package, though: a package whose
// classes were compiled (javac -d, or Applet Compile beside the sources)
// runs from its root folder instead ("java -cp <root> pkg.Good"), but only
// when the file's own class is at least as new as the file, so that a run
// never shows what an older text did.
namespace JavaRun {

// The launcher's file name on this system ("java", "java.exe").
QString LauncherName();

// The launcher to use: the one beside the configured compiler (also beside
// the file the compiler's path links to), else the one found on the PATH.
// Empty when there is none; lookedFor then names every place tried.
QString FindLauncher(const QString& javacPath, QStringList& lookedFor);

// The package a source declares ("pkg.sub"), empty for none: the first
// token after blanks and comments must be "package".
QString PackageName(const QByteArray& source);

struct TCommand {
    QStringList arguments; // for the launcher, the program's own last
    QString folder;        // where it runs: the source's folder
    // Where the package's folders start (the source's folder without the
    // package's path); the source's folder when they do not match.
    QString classRoot;
};

// The command for the saved source at path, holding source; the
// program's arguments follow the launcher's.
TCommand Command(const QString& path, const QByteArray& source, const QStringList& programArguments);

} // namespace JavaRun
