#pragma once

#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QStringList>

#include <functional>

class QFileInfo;
class QFileSystemModel;

// The folder panel's tree: the entries of a folder as the system's file
// model reads them (a folder is read when it is first expanded, on the
// model's own thread, and watched for changes from then on), in the panel's
// order: folders, then files of the kinds the editor opens, then the rest,
// each by name without regard to case. Hidden entries and the folders tools
// fill (".git", "target", "build", "node_modules") are shown greyed.
//
// Nothing here changes the disk by itself: editing a name asks OnRename,
// and dragging entries is off.
class TFolderTreeModel : public QSortFilterProxyModel {
    Q_OBJECT

public:
    // supportedPatterns: the wildcards of the kinds the editor opens
    // ("*.jsp", "*.ht*"...).
    explicit TFolderTreeModel(const QStringList& supportedPatterns, QObject* parent = nullptr);

    QFileSystemModel* Files() const { return m_files; }
    // Starts reading and watching folder; the index of its entry.
    QModelIndex SetRootFolder(const QString& folder);
    QString PathOf(const QModelIndex& index) const;
    QModelIndex IndexOf(const QString& path) const;
    bool IsFolder(const QModelIndex& index) const;

    bool Supported(const QString& fileName) const;
    // Shown greyed: hidden, or a folder tools fill.
    static bool Tucked(const QFileInfo& info);

    // A name typed into the tree for the entry at path: true when the entry
    // took it.
    std::function<bool(const QString& path, const QString& newName)> OnRename;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    int Rank(const QModelIndex& source) const;

    QFileSystemModel* m_files = nullptr;
    QList<QRegularExpression> m_supported;
};
