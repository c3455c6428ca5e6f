// The folder panel: the tree, its title row and its context menu. What is
// done on disk is FolderOperations'; what it means for open documents is
// the window's.

#include "folderpanel.h"

#include "folderoperations.h"
#include "foldertreemodel.h"
#include "services.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <utility>

TFolderPanel::TFolderPanel(const QStringList& supportedPatterns, QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("FolderPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* titleRow = new QHBoxLayout;
    titleRow->setContentsMargins(4, 2, 2, 2);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("FolderTitle"));
    titleRow->addWidget(m_title, 1);
    m_close = new QToolButton(this);
    m_close->setObjectName(QStringLiteral("FolderClose"));
    m_close->setAutoRaise(true);
    m_close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_close->setToolTip(QStringLiteral("Close the folder panel"));
    titleRow->addWidget(m_close);
    layout->addLayout(titleRow);

    m_model = new TFolderTreeModel(supportedPatterns, this);
    m_model->OnRename = [this](const QString& path, const QString& name) { return Renamed(path, name); };
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("FolderTree"));
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_tree->hideColumn(column);
    m_tree->setUniformRowHeights(true);
    m_tree->setAnimated(false);
    m_tree->setDragEnabled(false);
    m_tree->setAcceptDrops(false);
    m_tree->setDragDropMode(QAbstractItemView::NoDragDrop);
    // Names are edited by F2 and by the menu, never by a click.
    m_tree->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->installEventFilter(this);
    layout->addWidget(m_tree, 1);

    connect(m_close, &QToolButton::clicked, this, [this] {
        hide();
        if (OnClosed)
            OnClosed();
    });
    connect(m_tree, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        if (!m_model->IsFolder(index))
            Activate(index);
    });
    connect(m_tree, &QWidget::customContextMenuRequested, this, &TFolderPanel::ShowMenu);
    connect(m_tree->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
        const QString created = std::exchange(m_newFile, QString());
        if (!created.isEmpty() && QFileInfo(created).isFile() && OnOpenFile)
            OnOpenFile(created);
    });
    CreateMenu();
}

void TFolderPanel::SetFolder(const QString& folder)
{
    m_folder = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    m_title->setText(QFileInfo(m_folder).fileName().isEmpty() ? m_folder : QFileInfo(m_folder).fileName());
    m_title->setToolTip(QDir::toNativeSeparators(m_folder));
    m_tree->setRootIndex(m_model->SetRootFolder(m_folder));
}

QAction* TFolderPanel::Action(const QString& name) const
{
    return m_menu->findChild<QAction*>(name);
}

void TFolderPanel::CreateMenu()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("FolderMenu"));
    auto add = [this](const char* name, const QString& caption, void (TFolderPanel::*handler)()) {
        QAction* action = m_menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
    };
    add("FolderNewFile", QStringLiteral("New File"), &TFolderPanel::NewFile);
    add("FolderNewFolder", QStringLiteral("New Folder"), &TFolderPanel::NewFolder);
    m_menu->addSeparator();
    add("FolderRename", QStringLiteral("Rename"), &TFolderPanel::Rename);
    add("FolderDelete", QStringLiteral("Delete"), &TFolderPanel::Delete);
    m_menu->addSeparator();
    add("FolderCopyPath", QStringLiteral("Copy Path"), &TFolderPanel::CopyPath);
    add("FolderOpenContaining", QStringLiteral("Open Containing Folder"), &TFolderPanel::OpenContaining);
}

void TFolderPanel::PointAt(const QString& path)
{
    m_target = path.isEmpty() ? m_folder : QDir::cleanPath(path);
    // The folder itself is the panel's: it is neither renamed nor deleted
    // from here.
    const bool entry = m_target != m_folder;
    Action(QStringLiteral("FolderRename"))->setEnabled(entry);
    Action(QStringLiteral("FolderDelete"))->setEnabled(entry);
}

void TFolderPanel::ShowMenu(const QPoint& at)
{
    const QModelIndex index = m_tree->indexAt(at);
    PointAt(index.isValid() ? m_model->PathOf(index) : QString());
    m_menu->popup(m_tree->viewport()->mapToGlobal(at));
}

QString TFolderPanel::TargetFolder() const
{
    return QFileInfo(m_target).isDir() ? m_target : QFileInfo(m_target).absolutePath();
}

void TFolderPanel::NewFile()
{
    const QString path = FolderOperations::NewFile(TargetFolder());
    if (path.isEmpty())
        return;
    m_newFile = path;
    EditName(path);
}

void TFolderPanel::NewFolder()
{
    const QString path = FolderOperations::NewFolder(TargetFolder());
    if (!path.isEmpty())
        EditName(path);
}

void TFolderPanel::EditName(const QString& path)
{
    const QModelIndex index = m_model->IndexOf(path);
    if (!index.isValid()) {
        m_newFile.clear();
        return;
    }
    for (QModelIndex parent = index.parent(); parent.isValid() && parent != m_tree->rootIndex(); parent = parent.parent())
        m_tree->expand(parent);
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index);
    m_tree->setFocus(Qt::OtherFocusReason);
    m_tree->edit(index);
}

void TFolderPanel::Rename()
{
    if (m_target != m_folder)
        EditName(m_target);
}

bool TFolderPanel::Renamed(const QString& path, const QString& newName)
{
    const QString renamed = FolderOperations::Rename(path, newName);
    if (renamed.isEmpty())
        return false;
    if (renamed == path)
        return true;
    if (m_newFile == path)
        m_newFile = renamed;
    if (OnRenamed)
        OnRenamed(path, renamed);
    return true;
}

void TFolderPanel::Delete()
{
    if (m_target.isEmpty() || m_target == m_folder)
        return;
    const QString path = m_target;
    const QStringList open = OpenDocumentsUnder ? OpenDocumentsUnder(path) : QStringList();
    if (FolderOperations::Delete(path, open) && OnDeleted)
        OnDeleted(path);
}

void TFolderPanel::CopyPath()
{
    Services().SetClipboardText(QDir::toNativeSeparators(m_target));
}

void TFolderPanel::OpenContaining()
{
    ShellOpenOrReport(QFileInfo(m_target).absolutePath());
}

void TFolderPanel::Activate(const QModelIndex& index)
{
    if (index.isValid() && !m_model->IsFolder(index) && OnOpenFile)
        OnOpenFile(m_model->PathOf(index));
}

bool TFolderPanel::eventFilter(QObject* watched, QEvent* event)
{
    // Keys of a name being typed are the name editor's.
    if (watched != m_tree || event->type() != QEvent::KeyPress || QApplication::focusWidget() != m_tree)
        return QFrame::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QModelIndex current = m_tree->currentIndex();
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
        if (current.isValid() && m_model->IsFolder(current))
            m_tree->setExpanded(current, !m_tree->isExpanded(current));
        else
            Activate(current);
        return true;
    }
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier && current.isValid()) {
        PointAt(m_model->PathOf(current));
        Delete();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}
