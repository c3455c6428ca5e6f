// Run Java Program's choices, kept apart from the runs themselves so that
// each can be checked on plain files.

#include "javarun.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool identifierChar(char c)
{
    // Letters beyond ASCII come as UTF-8 bytes of 0x80 and above.
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$'
           || static_cast<unsigned char>(c) >= 0x80;
}

// Moves at past blanks and comments; false inside a comment that never ends.
bool skipBlanks(const QByteArray& text, qsizetype& at)
{
    while (at < text.size()) {
        const char c = text[at];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f') {
            ++at;
        } else if (text.mid(at, 2) == "//") {
            const qsizetype end = text.indexOf('\n', at);
            at = end < 0 ? text.size() : end + 1;
        } else if (text.mid(at, 2) == "/*") {
            const qsizetype end = text.indexOf("*/", at + 2);
            if (end < 0)
                return false;
            at = end + 2;
        } else {
            return true;
        }
    }
    return true;
}

bool executable(const QString& path)
{
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

} // namespace

QString JavaRun::LauncherName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("java.exe");
#else
    return QStringLiteral("java");
#endif
}

QString JavaRun::FindLauncher(const QString& javacPath, QStringList& lookedFor)
{
    lookedFor.clear();
    if (!javacPath.isEmpty()) {
        const QFileInfo javac(javacPath);
        lookedFor.append(javac.absolutePath() + u'/' + LauncherName());
        // A compiler path that links into a JDK ("/usr/bin/javac") may have
        // no launcher beside the link but one beside its target.
        const QString target = javac.canonicalFilePath();
        if (!target.isEmpty()) {
            const QString beside = QFileInfo(target).absolutePath() + u'/' + LauncherName();
            if (!lookedFor.contains(beside))
                lookedFor.append(beside);
        }
        for (const QString& candidate : std::as_const(lookedFor)) {
            if (executable(candidate))
                return candidate;
        }
    }
    return QStandardPaths::findExecutable(QStringLiteral("java"));
}

QString JavaRun::PackageName(const QByteArray& text)
{
    qsizetype at = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (!skipBlanks(text, at) || text.mid(at, 7) != "package" || (at + 7 < text.size() && identifierChar(text[at + 7])))
        return QString();
    at += 7;
    // Names and dots up to the semicolon, blanks and comments allowed
    // between them as the compiler allows them.
    QByteArray name;
    bool wantName = true;
    while (skipBlanks(text, at) && at < text.size()) {
        const char c = text[at];
        if (c == ';')
            return wantName ? QString() : QString::fromUtf8(name);
        if (c == '.' && !wantName) {
            name += '.';
            wantName = true;
            ++at;
        } else if (identifierChar(c) && wantName) {
            while (at < text.size() && identifierChar(text[at]))
                name += text[at++];
            wantName = false;
        } else {
            return QString();
        }
    }
    return QString();
}

JavaRun::TCommand JavaRun::Command(const QString& path, const QByteArray& source, const QStringList& programArguments)
{
    const QFileInfo file(path);
    TCommand command;
    command.folder = file.absolutePath();
    command.classRoot = command.folder;
    QString name = file.fileName();
    if (name.endsWith(QLatin1String(".java"), Qt::CaseInsensitive))
        name.chop(5);

    const QString package = PackageName(source);
    // Runs the compiled classes rather than the source.
    bool compiled = false;
    if (!package.isEmpty()) {
        // The package's folders, innermost first, must end the source's
        // folder for its root to be known.
        QDir root(command.folder);
        const QStringList parts = package.split(u'.');
        bool matched = true;
        for (auto part = parts.crbegin(); matched && part != parts.crend(); ++part)
            matched = root.dirName() == *part && root.cdUp();
        if (matched) {
            command.classRoot = root.absolutePath();
            const QFileInfo classFile(command.folder + u'/' + name + QStringLiteral(".class"));
            compiled = classFile.isFile() && classFile.lastModified() >= file.lastModified();
        }
    }
    if (compiled)
        command.arguments = QStringList{QStringLiteral("-cp"), QDir::toNativeSeparators(command.classRoot),
                                        package + u'.' + name};
    else
        command.arguments = QStringList{file.fileName()};
    command.arguments += programArguments;
    return command;
}
