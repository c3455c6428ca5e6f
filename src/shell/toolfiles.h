#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The files the tool runs write and the text that goes into them: the build
// line of "Commando\build.bat", the applet page and where "preview.htm"
// goes. Nothing here starts a program or shows a message.
namespace ToolFiles {

// The applet page's fixed lines, before and after its one line of
// attributes.
extern const QStringList HTMLHead;
extern const QStringList HTMLFoot;

// A file the program writes for itself, named relative to the program
// folder ("Commando/build.bat", "preview.htm"): there when it can be written
// there, otherwise the same name under the user's data folder (an installed
// program's folder belongs to the system).
QString WritablePlace(const QString& programDir, const QString& relative);
// The user's data folder, with a trailing separator.
QString UserDataFolder();

// text as it must stand between double quotes in a build line so that the
// shell takes it literally: for /bin/sh "\", """, "$" and "`" get a
// backslash; for cmd.exe "%" is doubled. An ordinary path stays as it is.
QString ShellLiteral(const QString& text);
// The build line: the compiler (quoted when it holds blanks or anything
// else the shell would read), the parameters right after it (no separator:
// a leading blank in them is the user's to give), a blank and the document
// in double quotes.
QString BuildLine(const QString& javacPath, const QString& parameters, const QString& documentPath);
// The build file's bytes: the line, with the platform's line end.
QByteArray BuildFile(const QString& buildLine);

// The applet page: HTMLHead, one line " width="w" height="h" code="name">",
// the element's end "</APPLET>", HTMLFoot and an empty line, CR LF line
// ends. code names the class file ("Clock.class").
QByteArray AppletPage(const QString& width, const QString& height, const QString& code);
// The class file a document's applet is loaded from: its name without
// folder, with ".class" for its extension.
QString AppletClassFile(const QString& documentPath);
// Whether a file's bytes begin with the lines of HTMLHead, i.e. Applet Run
// wrote it and may write it again.
bool IsAppletPage(const QByteArray& bytes);
// The page of a document: beside it, named after it with ".html"; an
// untitled document's in the user's home folder.
QString AppletPagePath(const QString& documentPath);

// Writes bytes to path, creating its folder when needed; false with the
// standard file error in error.
bool Write(const QString& path, const QByteArray& bytes, QString& error);

} // namespace ToolFiles
