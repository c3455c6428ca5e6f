#pragma once

#include <QFrame>
#include <QString>
#include <QStringList>

#include <functional>

class QLabel;
class QMenu;
class QToolButton;
class QTreeView;
class TFolderTreeModel;

// The folder panel at the window's left: a folder as a tree (read as it is
// expanded, kept up to date as files come, change and go), its name in a
// title row with a close button. A double click or Enter on a file opens
// it; the context menu makes new files and folders, renames, deletes (to
// the trash, asking first), copies the path and opens the containing folder
// in the desktop's file manager. F2 renames and Delete deletes too.
//
// The panel tells the window what it needs to know about the documents:
// which files were renamed or deleted, so that their tabs follow.
class TFolderPanel : public QFrame {
    Q_OBJECT

public:
    // supportedPatterns: the wildcards of the kinds the editor opens.
    TFolderPanel(const QStringList& supportedPatterns, QWidget* parent = nullptr);

    // Shows folder (an absolute path) as the tree's root.
    void SetFolder(const QString& folder);
    QString Folder() const { return m_folder; }

    QTreeView* Tree() const { return m_tree; }
    TFolderTreeModel* Model() const { return m_model; }
    QToolButton* CloseButton() const { return m_close; }
    // The context menu's items by name: "FolderNewFile", "FolderNewFolder",
    // "FolderRename", "FolderDelete", "FolderCopyPath", "FolderOpenContaining".
    QAction* Action(const QString& name) const;
    // Shows the context menu's items for the entry at path (empty: the
    // folder itself) without the menu: what a right click there offers.
    void PointAt(const QString& path);
    // The entry the context menu acts on.
    QString Target() const { return m_target; }

    // A file to open (or show, when it is open).
    std::function<void(const QString& path)> OnOpenFile;
    // An entry was renamed on disk: documents at or under oldPath now live
    // under newPath.
    std::function<void(const QString& oldPath, const QString& newPath)> OnRenamed;
    // An entry is about to be deleted: the names of the open documents at or
    // under path, for the question.
    std::function<QStringList(const QString& path)> OpenDocumentsUnder;
    // An entry was deleted.
    std::function<void(const QString& path)> OnDeleted;
    // The close button was clicked; the panel is hidden by then.
    std::function<void()> OnClosed;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenu();
    void ShowMenu(const QPoint& at);
    // The folder new entries go into for the target.
    QString TargetFolder() const;
    void NewFile();
    void NewFolder();
    void Rename();
    void Delete();
    void CopyPath();
    void OpenContaining();
    // The name of a new entry is typed over at once.
    void EditName(const QString& path);
    bool Renamed(const QString& path, const QString& newName);
    void Activate(const QModelIndex& index);

    QString m_folder;
    QString m_target;
    // A file made by New File opens once its name is typed.
    QString m_newFile;
    QLabel* m_title = nullptr;
    QToolButton* m_close = nullptr;
    QTreeView* m_tree = nullptr;
    TFolderTreeModel* m_model = nullptr;
    QMenu* m_menu = nullptr;
};
