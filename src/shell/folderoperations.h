#pragma once

#include <QString>
#include <QStringList>

// What the folder panel does to files and folders on disk: making new ones,
// renaming and deleting. Each reports its failures with a clear message
// through the services and asks before anything is deleted; nothing is
// deleted without a Yes.
namespace FolderOperations {

// A name for a new entry of folder that no entry has yet: base, else base
// with " 2", " 3"... before its extension ("new file 2.txt").
QString FreeName(const QString& folder, const QString& base);

// An empty file or folder with a free name in folder; its path, or empty
// with the reason shown.
QString NewFile(const QString& folder);
QString NewFolder(const QString& folder);

// Gives path the name newName in its own folder. The new path; the old one
// when the name did not change; empty, with the reason shown, when the name
// cannot be used (empty, with a folder separator, "." or "..", or taken by
// another entry) or the rename failed.
QString Rename(const QString& path, const QString& newName);

// Asks whether path (and, for a folder, all in it) goes to the desktop's
// trash; openDocuments names the open documents it holds, which the
// question mentions. Where there is no trash or the move fails, asks again
// whether to delete it for good. True once path is gone. A symbolic link is
// removed itself, never what it points to.
bool Delete(const QString& path, const QStringList& openDocuments);

} // namespace FolderOperations
