#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class QListWidget;

// The listing rule of the window's pick-a-file dialogs (templates, batch
// files): the entries of one folder whose names match a pattern. Files come
// with their size in bytes and their date and time; folders (except those
// whose name begins with ".") with their date only. Entries are sorted by
// name.
//
// A folder is read by its path; the process's current folder is never
// changed to read it, since every later relative name would then land
// somewhere else.
struct TFolderEntry {
    QString name;
    bool folder = false;
    qint64 size = 0;
    QDateTime modified;

    // The size in bytes; empty for a folder.
    QString SizeText() const;
    // Date and time in the system's short formats.
    QString DateText() const;
};

namespace FolderListing {

// pattern: a wildcard such as "*.tpl", matched without regard to case as the
// platform's file dialogs do. A missing folder lists nothing.
QList<TFolderEntry> List(const QString& folder, const QString& pattern);

// Fills a list with the entries, a file icon for files and none for folders,
// size and date in each item's tool tip; the wait cursor shows meanwhile.
void Fill(QListWidget& list, const QString& folder, const QString& pattern);

} // namespace FolderListing
