// Build lines are written for a shell, so every byte of a file name that the
// shell would act on is escaped: a document named "a$(touch x).java" is
// compiled, never obeyed. The escaping touches nothing an ordinary path
// holds, so such a path gives the plain line "<javac><params> "<path>"".

#include "toolfiles.h"

#include "documentnames.h"
#include "savebytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace {

#ifdef Q_OS_WIN
const QByteArray kLineEnd = "\r\n";
// cmd.exe reads a program path without quotes up to the first blank.
bool plainInLine(QChar c)
{
    return c.isLetterOrNumber() || QStringLiteral("_.-+:\\/=,@").contains(c);
}
#else
const QByteArray kLineEnd = "\n";
bool plainInLine(QChar c)
{
    return c.isLetterOrNumber() || QStringLiteral("_.-+:/=,@").contains(c);
}
#endif

bool canWrite(const QString& path)
{
    const QFileInfo file(path);
    if (file.exists())
        return file.isFile() && file.isWritable();
    const QFileInfo folder(file.absolutePath());
    return folder.isDir() && folder.isWritable();
}

// "Clock.java" -> "Clock"; a name starting with its only dot keeps it.
QString withoutExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.left(dot) : name;
}

} // namespace

const QStringList ToolFiles::HTMLHead = {
    QStringLiteral("<HTML>"),  QStringLiteral("<HEAD>"), QStringLiteral("<TITLE>APPLET TEMPLATE</TITLE>"),
    QStringLiteral("</HEAD>"), QStringLiteral("<BODY>"), QStringLiteral("<APPLET")};
const QStringList ToolFiles::HTMLFoot = {QStringLiteral("</BODY>"), QStringLiteral("</HTML>")};

QString ToolFiles::UserDataFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

QString ToolFiles::WritablePlace(const QString& programDir, const QString& relative)
{
    const QString beside = programDir + relative;
    return canWrite(beside) ? beside : UserDataFolder() + relative;
}

QString ToolFiles::ShellLiteral(const QString& text)
{
    QString literal;
    literal.reserve(text.size());
    for (QChar c : text) {
#ifdef Q_OS_WIN
        if (c == u'%')
            literal += u'%';
#else
        if (c == u'\\' || c == u'"' || c == u'$' || c == u'`')
            literal += u'\\';
#endif
        literal += c;
    }
    return literal;
}

QString ToolFiles::BuildLine(const QString& javacPath, const QString& parameters, const QString& documentPath)
{
    const QString compiler = QDir::toNativeSeparators(javacPath);
    const bool plain = !compiler.isEmpty() && std::all_of(compiler.begin(), compiler.end(), plainInLine);
    const QString program = plain ? compiler : u'"' + ShellLiteral(compiler) + u'"';
    return program + parameters + QStringLiteral(" \"") + ShellLiteral(QDir::toNativeSeparators(documentPath)) + u'"';
}

QByteArray ToolFiles::BuildFile(const QString& buildLine)
{
    // The shell reads the file in the system's own encoding, as it reads
    // file names.
    return QFile::encodeName(buildLine) + kLineEnd;
}

QByteArray ToolFiles::AppletPage(const QString& width, const QString& height, const QString& code)
{
    // Each value stands in double quotes: a quote or an angle bracket in a
    // file name must not end the attribute or the tag.
    const auto attribute = [](const QString& value) { return value.toHtmlEscaped(); };
    QStringList lines = HTMLHead;
    lines.append(QStringLiteral(" width=\"%1\" height=\"%2\" code=\"%3\">")
                     .arg(attribute(width), attribute(height), attribute(code)));
    // A browser reads everything up to the element's end as its fallback
    // content, the page's own end included.
    lines.append(QStringLiteral("</APPLET>"));
    lines += HTMLFoot;
    lines.append(QString());
    QByteArray page;
    for (const QString& line : std::as_const(lines))
        page += line.toLocal8Bit() + "\r\n";
    return page;
}

bool ToolFiles::IsAppletPage(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() <= HTMLHead.size())
        return false;
    for (int i = 0; i < HTMLHead.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line != HTMLHead[i].toLatin1())
            return false;
    }
    return true;
}

QString ToolFiles::AppletClassFile(const QString& documentPath)
{
    return withoutExtension(DocumentNames::WithoutFolder(documentPath)) + QStringLiteral(".class");
}

QString ToolFiles::AppletPagePath(const QString& documentPath)
{
    const QString folder = DocumentNames::HasFolder(documentPath) ? QFileInfo(documentPath).absolutePath()
                                                                  : QDir::homePath();
    return folder + u'/' + withoutExtension(DocumentNames::WithoutFolder(documentPath)) + QStringLiteral(".html");
}

bool ToolFiles::Write(const QString& path, const QByteArray& bytes, QString& error)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("Cannot create file \"%1\". The folder cannot be made.")
                    .arg(QDir::toNativeSeparators(path));
        return false;
    }
    return SaveBytesSafely(TSaveTarget{path, QString()}, bytes, &error);
}
