#pragma once

#include <QString>
#include <QStringList>

// Names of documents as the main window handles them.
namespace DocumentNames {

// The generated name of a document that was never saved: "Untitled" n.
QString Untitled(int number);
// True while the name is a generated one (the document was never saved).
bool IsUntitled(const QString& fileName);
// 1 plus the largest number behind "Untitled" among the names (a name whose
// rest is not a number counts as 0).
int NextUntitledNumber(const QStringList& fileNames);
// The name without its folder.
QString WithoutFolder(const QString& path);
// True when the name has a folder part.
bool HasFolder(const QString& path);
// The extension with its dot, lower-cased ("" when there is none).
QString LowerExtension(const QString& path);
// Whether two paths name the same file by the platform's rule: letter case
// matters except on Windows, whose file system ignores it.
bool SamePath(const QString& a, const QString& b);
// The file a name typed into the open dialog means: the name itself when a
// file of that name exists or it has an extension; else the name with the
// default extension ("*.jsp", ".jsp" or "jsp") when that file exists.
QString OpenName(const QString& typed, const QString& defaultExt);

} // namespace DocumentNames
