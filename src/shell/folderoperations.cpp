// The folder panel's changes on disk, with their questions and messages.

#include "folderoperations.h"

#include "documentnames.h"
#include "services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool validName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || name.contains(u'/'))
        return false;
#ifdef Q_OS_WIN
    static const QString kForbidden = QStringLiteral("\\:*?\"<>|");
    for (QChar c : name) {
        if (kForbidden.contains(c) || c.unicode() < 32)
            return false;
    }
#endif
    return !name.contains(QChar(0));
}

// Removes path for good: a link itself, a folder with all it holds.
bool removeForGood(const QString& path, QString& error)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink()) {
        if (QDir(path).removeRecursively())
            return true;
        error = QStringLiteral("Some of its contents could not be removed.");
        return false;
    }
    QFile file(path);
    if (file.remove())
        return true;
    error = file.errorString();
    return false;
}

} // namespace

namespace FolderOperations {

QString FreeName(const QString& folder, const QString& base)
{
    const QDir dir(folder);
    if (!QFileInfo::exists(dir.filePath(base)))
        return base;
    const qsizetype dot = base.lastIndexOf(u'.');
    const QString stem = dot > 0 ? base.left(dot) : base;
    const QString extension = dot > 0 ? base.mid(dot) : QString();
    for (int n = 2;; ++n) {
        const QString name = QStringLiteral("%1 %2%3").arg(stem).arg(n).arg(extension);
        if (!QFileInfo::exists(dir.filePath(name)))
            return name;
    }
}

QString NewFile(const QString& folder)
{
    const QString path = QDir(folder).filePath(FreeName(folder, QStringLiteral("new file.txt")));
    QFile file(path);
    // NewOnly: a file that appeared meanwhile is never truncated.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        Services().ShowError(QStringLiteral("Cannot create the file \"%1\". %2").arg(shown(path), file.errorString()));
        return QString();
    }
    return path;
}

QString NewFolder(const QString& folder)
{
    const QString name = FreeName(folder, QStringLiteral("New Folder"));
    if (!QDir(folder).mkdir(name)) {
        Services().ShowError(QStringLiteral("Cannot create the folder \"%1\".").arg(shown(QDir(folder).filePath(name))));
        return QString();
    }
    return QDir(folder).filePath(name);
}

QString Rename(const QString& path, const QString& newName)
{
    const QFileInfo info(path);
    const QString name = newName.trimmed();
    if (name == info.fileName())
        return path;
    if (!validName(name)) {
        Services().ShowError(name.isEmpty() ? QStringLiteral("A name is needed to rename \"%1\".").arg(info.fileName())
                                            : QStringLiteral("\"%1\" cannot be used as a name.").arg(name));
        return QString();
    }
    const QString target = info.dir().filePath(name);
    // A change of letter case alone names the same entry where the file
    // system ignores case.
    const bool sameEntry = DocumentNames::SamePath(target, path);
    if (!sameEntry && QFileInfo::exists(target)) {
        Services().ShowError(QStringLiteral("\"%1\" already exists in %2.").arg(name, shown(info.path())));
        return QString();
    }
    QFile file(path);
    if (!file.rename(target)) {
        Services().ShowError(
            QStringLiteral("Cannot rename \"%1\" to \"%2\". %3").arg(shown(path), name, file.errorString()));
        return QString();
    }
    return target;
}

bool Delete(const QString& path, const QStringList& openDocuments)
{
    const QFileInfo info(path);
    QString question = info.isDir() && !info.isSymLink()
                           ? QStringLiteral("Move the folder \"%1\" and everything in it to the trash?")
                           : QStringLiteral("Move \"%1\" to the trash?");
    question = question.arg(shown(path));
    if (!openDocuments.isEmpty())
        question += QStringLiteral("\n\nOpen in the editor: %1. The documents stay open with their text, as unsaved.")
                        .arg(openDocuments.join(QStringLiteral(", ")));
    if (Services().Ask(question, TServices::bsYesNo) != TServices::anYes)
        return false;
    // The trash is made inside the user's data folder, which must be there
    // (else the toolkit puts the trashed entry beside the working folder).
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!data.isEmpty())
        QDir().mkpath(data);
    QFile file(path);
    if (file.moveToTrash())
        return true;
    const QString reason = file.errorString().isEmpty() ? QStringLiteral("there is no trash") : file.errorString();
    if (Services().Ask(QStringLiteral("\"%1\" cannot be moved to the trash (%2).\nDelete it for good? This cannot be "
                                      "undone.")
                           .arg(shown(path), reason),
                       TServices::bsYesNo)
        != TServices::anYes)
        return false;
    QString error;
    if (removeForGood(path, error))
        return true;
    Services().ShowError(QStringLiteral("Cannot delete \"%1\". %2").arg(shown(path), error));
    return false;
}

} // namespace FolderOperations
