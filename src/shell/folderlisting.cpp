#include "folderlisting.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QLocale>
#include <QStyle>

#include <algorithm>

QString TFolderEntry::SizeText() const
{
    return folder ? QString() : QString::number(size);
}

QString TFolderEntry::DateText() const
{
    const QLocale locale = QLocale::system();
    return locale.toString(modified.date(), QLocale::ShortFormat) + u' '
           + locale.toString(modified.time(), QLocale::ShortFormat);
}

QList<TFolderEntry> FolderListing::List(const QString& folder, const QString& pattern)
{
    QList<TFolderEntry> entries;
    const QDir dir(folder);
    if (!dir.exists())
        return entries;
    const QFileInfoList infos =
        dir.entryInfoList({pattern}, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& info : infos) {
        TFolderEntry entry;
        entry.name = info.fileName();
        entry.folder = info.isDir();
        if (entry.folder && entry.name.startsWith(u'.'))
            continue;
        entry.size = entry.folder ? 0 : info.size();
        entry.modified = info.lastModified();
        entries.append(entry);
    }
    std::sort(entries.begin(), entries.end(), [](const TFolderEntry& a, const TFolderEntry& b) {
        const int order = a.name.compare(b.name, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    return entries;
}

void FolderListing::Fill(QListWidget& list, const QString& folder, const QString& pattern)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    list.setSortingEnabled(false);
    list.clear();
    const QIcon fileIcon = list.style()->standardIcon(QStyle::SP_FileIcon);
    for (const TFolderEntry& entry : List(folder, pattern)) {
        auto* item = new QListWidgetItem(entry.name, &list);
        if (!entry.folder)
            item->setIcon(fileIcon);
        item->setToolTip(entry.folder ? QStringLiteral("%1\n%2").arg(entry.name, entry.DateText())
                                      : QStringLiteral("%1\n%2 bytes\n%3").arg(entry.name, entry.SizeText(),
                                                                              entry.DateText()));
    }
    QApplication::restoreOverrideCursor();
}
