// The folder panel's model: the system's file model, sorted and greyed the
// panel's way, with renames handed to the window.

#include "foldertreemodel.h"

#include "quickopenindex.h"

#include <QApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QPalette>
#include <QRegularExpression>

TFolderTreeModel::TFolderTreeModel(const QStringList& supportedPatterns, QObject* parent)
    : QSortFilterProxyModel(parent), m_files(new QFileSystemModel(this))
{
    for (const QString& pattern : supportedPatterns)
        m_supported.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                                              QRegularExpression::CaseInsensitiveOption));
    m_files->setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::AllDirs);
    m_files->setReadOnly(true);
    // Folders show the common icon: none is looked into for one of its own.
    m_files->setOption(QFileSystemModel::DontUseCustomDirectoryIcons);
    setSourceModel(m_files);
    setSortCaseSensitivity(Qt::CaseInsensitive);
    setDynamicSortFilter(true);
    sort(0, Qt::AscendingOrder);
}

QModelIndex TFolderTreeModel::SetRootFolder(const QString& folder)
{
    return mapFromSource(m_files->setRootPath(folder));
}

QString TFolderTreeModel::PathOf(const QModelIndex& index) const
{
    return m_files->filePath(mapToSource(index));
}

QModelIndex TFolderTreeModel::IndexOf(const QString& path) const
{
    return mapFromSource(m_files->index(path));
}

bool TFolderTreeModel::IsFolder(const QModelIndex& index) const
{
    return m_files->isDir(mapToSource(index));
}

bool TFolderTreeModel::Supported(const QString& fileName) const
{
    for (const QRegularExpression& pattern : m_supported) {
        if (pattern.match(fileName).hasMatch())
            return true;
    }
    return false;
}

bool TFolderTreeModel::Tucked(const QFileInfo& info)
{
    return info.isHidden() || info.fileName().startsWith(u'.')
           || (info.isDir() && TQuickOpenIndex::Tucked(info.fileName()));
}

QVariant TFolderTreeModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::ForegroundRole && index.column() == 0 && Tucked(m_files->fileInfo(mapToSource(index))))
        return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
    if (role == Qt::ToolTipRole && index.column() == 0)
        return QDir::toNativeSeparators(PathOf(index));
    return QSortFilterProxyModel::data(index, role);
}

bool TFolderTreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.column() != 0 || !OnRename)
        return false;
    return OnRename(PathOf(index), value.toString());
}

Qt::ItemFlags TFolderTreeModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags result = QSortFilterProxyModel::flags(index) & ~(Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled);
    if (index.isValid() && index.column() == 0)
        result |= Qt::ItemIsEditable;
    return result;
}

int TFolderTreeModel::Rank(const QModelIndex& source) const
{
    if (m_files->isDir(source))
        return 0;
    return Supported(m_files->fileName(source)) ? 1 : 2;
}

bool TFolderTreeModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const int a = Rank(left);
    const int b = Rank(right);
    if (a != b)
        return a < b;
    const int byName = m_files->fileName(left).compare(m_files->fileName(right), Qt::CaseInsensitive);
    if (byName != 0)
        return byName < 0;
    return m_files->fileName(left) < m_files->fileName(right);
}
