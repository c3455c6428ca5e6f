#include "outputlinks.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString inFolder(const QString& folder, const QString& file)
{
    return QDir::cleanPath(QFileInfo(file).isAbsolute() ? file : QDir(folder).filePath(file));
}

bool message(const QString& line, const QString& folder, OutputLinks::TLocation& location)
{
    // The name may hold colons (a drive letter) and blanks.
    static const QRegularExpression pattern(QStringLiteral("^(.+\\.java):(\\d+):"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch())
        return false;
    bool ok = false;
    location.line = match.captured(2).toInt(&ok);
    location.path = inFolder(folder, match.captured(1));
    return ok && location.line > 0;
}

bool frame(const QString& line, const QString& folder, const QStringList& roots, OutputLinks::TLocation& location)
{
    // "at [loader/][module[@version]/]pkg.Outer$Inner.method(File.java:12)":
    // the class is what stands between the last "/" and the method.
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*at\\s+(?:(\\S*)/)?([\\w$.]+)\\.[\\w$<>]+\\(([^():/\\\\]+\\.java):(\\d+)\\)"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch())
        return false;
    bool ok = false;
    location.line = match.captured(4).toInt(&ok);
    if (!ok || location.line <= 0)
        return false;
    const QString prefix = match.captured(1);
    const QString module = prefix.mid(prefix.indexOf(u'/') + 1);
    const QString className = match.captured(2);
    const qsizetype dot = className.lastIndexOf(u'.');
    const QString packagePath = dot < 0 ? QString() : className.left(dot).replace(u'.', u'/');
    const QString file = match.captured(3);
    QStringList candidates;
    for (const QString& root : roots)
        candidates.append(QDir(root).filePath(packagePath.isEmpty() ? file : packagePath + u'/' + file));
    // Beside the run, for a source kept out of its package's folders; a
    // class of a named module (the platform's own) is never the user's
    // loose file.
    if (module.isEmpty())
        candidates.append(QDir(folder).filePath(file));
    for (const QString& candidate : std::as_const(candidates)) {
        if (QFileInfo(candidate).isFile()) {
            location.path = QDir::cleanPath(candidate);
            return true;
        }
    }
    return false;
}

} // namespace

bool OutputLinks::Find(const QString& line, const QString& folder, const QStringList& roots, TLocation& location)
{
    return message(line, folder, location) || frame(line, folder, roots, location);
}
