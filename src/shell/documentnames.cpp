#include "documentnames.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace DocumentNames {

namespace {
const QString kUntitled = QStringLiteral("Untitled");
}

QString Untitled(int number)
{
    return kUntitled + QString::number(number);
}

bool IsUntitled(const QString& fileName)
{
    return fileName.startsWith(kUntitled, Qt::CaseSensitive);
}

int NextUntitledNumber(const QStringList& fileNames)
{
    int highest = 0;
    for (const QString& name : fileNames) {
        if (!IsUntitled(name))
            continue;
        bool ok = false;
        const int number = name.mid(kUntitled.size()).toInt(&ok);
        if (ok)
            highest = std::max(highest, number);
    }
    // The largest number cannot be followed; the name after it stays free.
    return highest == std::numeric_limits<int>::max() ? highest : highest + 1;
}

QString WithoutFolder(const QString& path)
{
    // Only the platform's own separators divide a name: a backslash is an
    // ordinary character of a file name outside Windows.
    return QFileInfo(path).fileName();
}

bool HasFolder(const QString& path)
{
#ifdef Q_OS_WIN
    return path.contains(u'/') || path.contains(u'\\');
#else
    return path.contains(u'/');
#endif
}

QString LowerExtension(const QString& path)
{
    const QString name = WithoutFolder(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

bool SamePath(const QString& a, const QString& b)
{
    // Paths are compared as written (cleaned), not made absolute: a
    // generated "Untitled" name must never match a file of the current
    // folder.
    const QString first = QDir::cleanPath(QDir::fromNativeSeparators(a));
    const QString second = QDir::cleanPath(QDir::fromNativeSeparators(b));
#ifdef Q_OS_WIN
    return first.compare(second, Qt::CaseInsensitive) == 0;
#else
    return first == second;
#endif
}

QString OpenName(const QString& typed, const QString& defaultExt)
{
    const QFileInfo file(typed);
    QString ext = defaultExt;
    ext.remove(u'*');
    while (ext.startsWith(u'.'))
        ext.remove(0, 1);
    if (file.exists() || !file.suffix().isEmpty() || ext.isEmpty())
        return typed;
    const QString withExt = typed + u'.' + ext;
    return QFileInfo::exists(withExt) ? withExt : typed;
}

} // namespace DocumentNames
