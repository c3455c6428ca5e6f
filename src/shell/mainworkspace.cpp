// The main window's ways of working with many files: the tabs' close
// buttons and order, switching tabs from the keyboard, the folder panel,
// Quick Open and the split view. Each is a piece of its own
// (TDocumentTabBar, TTabSwitcher, TFolderPanel, TQuickOpenForm,
// TSplitView); here the window ties them to its documents and keeps the
// panel's folder and width in the session.

#include "mainform.h"

#include "dcmemo.h"
#include "diskwatch.h"
#include "documentnames.h"
#include "documenttabbar.h"
#include "editorsettings.h"
#include "folderpanel.h"
#include "formstorage.h"
#include "memosource.h"
#include "quickopenform.h"
#include "recentlist.h"
#include "services.h"
#include "settingsstore.h"
#include "splitview.h"
#include "tabswitcher.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSplitter>
#include <QTimer>

#include <algorithm>

namespace {

const QString kPanelFolderValue = QStringLiteral("PanelFolder");
const QString kPanelWidthValue = QStringLiteral("PanelWidth");
constexpr int kMinPanelWidth = 80;
constexpr int kMaxPanelWidth = 4000;

// The wildcards of "Supported Files", the open dialog's first filter.
QStringList supportedPatterns()
{
    return TMainForm::kOpenFilter.section(u'|', 1, 1).split(u';', Qt::SkipEmptyParts);
}

// Whether name is path itself or lies under it (path a folder).
bool atOrUnder(const QString& name, const QString& path)
{
    if (DocumentNames::SamePath(name, path))
        return true;
    return name.size() > path.size() && name.at(path.size()) == u'/'
           && DocumentNames::SamePath(name.left(path.size()), path);
}

} // namespace

QTabBar* TMainForm::EditorTab() const
{
    return m_tabs;
}

void TMainForm::CreateWorkspace()
{
    connect(m_tabs, &QTabBar::tabCloseRequested, this, &TMainForm::CloseTab);
    connect(m_tabs, &QTabBar::tabMoved, this, &TMainForm::TabMoved);
    m_tabSwitcher = new TTabSwitcher(*m_tabs, *this);
    m_splitView = new TSplitView(*m_editor, [this](QWidget* parent) { return CreateSecondView(parent); }, this);

    // The folder panel goes left of the tabs, the editors and the panes.
    QWidget* central = takeCentralWidget();
    m_folderSplit = new QSplitter(Qt::Horizontal, this);
    m_folderSplit->setObjectName(QStringLiteral("FolderSplit"));
    m_folderSplit->setChildrenCollapsible(false);
    m_folderSplit->addWidget(central);
    setCentralWidget(m_folderSplit);
    // A dragged edge is stored once the drag has rested a moment.
    auto* rest = new QTimer(this);
    rest->setSingleShot(true);
    rest->setInterval(400);
    connect(rest, &QTimer::timeout, this, &TMainForm::WorkspaceChanged);
    connect(m_folderSplit, &QSplitter::splitterMoved, this, [this, rest] {
        if (m_folderPanel && !m_folderPanel->isHidden()) {
            m_panelWidth = m_folderSplit->sizes().value(0, m_panelWidth);
            rest->start();
        }
    });
}

void TMainForm::CreateViewMenu()
{
    QMenu* view = AddMenu(nullptr, QStringLiteral("ViewItems"), QStringLiteral("&View"));
    AddItem(view, "ViewItemsFolderPanel", "Folder Panel", &TMainForm::ViewItemsFolderPanelClick)->setCheckable(true);
    AddItem(view, "ViewItemsSplit", "Split View", &TMainForm::ViewItemsSplitClick,
            QKeySequence(Qt::CTRL | Qt::Key_Backslash))
        ->setCheckable(true);
}

TDCMemo* TMainForm::CreateSecondView(QWidget* parent)
{
    auto* view = new TDCMemo(parent);
    view->setObjectName(QStringLiteral("SecondEditor"));
    WireEditor(*view);
    view->SetPopupMenu(m_popup);
    // What the window sets on its editor outside the global options.
    view->SetWordWrap(m_editor->WordWrap());
    view->SetScrollBars(m_editor->ScrollBars());
    m_editorSettings->Follow(*view);
    return view;
}

TCustomDCMemo* TMainForm::ActiveEditor() const
{
    return m_splitView ? m_splitView->ActiveView() : m_editor;
}

void TMainForm::ViewItemsSplitClick()
{
    if (m_splitView->IsOpen())
        m_splitView->Close();
    else
        m_splitView->Open();
    // The second view has its document only now: its fold column follows it.
    m_editorSettings->FollowDocument();
    Action(QStringLiteral("ViewItemsSplit"))->setChecked(m_splitView->IsOpen());
    UpdateEnabling();
}

// -- tabs -------------------------------------------------------------------------

void TMainForm::CloseTab(int index)
{
    const TMemoSource* shown = ActiveDocument();
    const bool another = Document(index) != shown;
    AskAndClose(index, true);
    // Closing another tab leaves the document shown where it was.
    for (int i = 0; another && i < DocumentCount(); ++i) {
        if (Document(i) == shown && i != ActiveIndex())
            ActivateDocument(i);
    }
    UpdateEnabling();
}

void TMainForm::TabMoved(int from, int to)
{
    if (from < 0 || to < 0 || from >= DocumentCount() || to >= DocumentCount())
        return;
    std::unique_ptr<TMemoSource> moved = std::move(m_documents[size_t(from)]);
    m_documents.erase(m_documents.begin() + from);
    m_documents.insert(m_documents.begin() + to, std::move(moved));
    SessionChanged();
}

// -- the folder panel --------------------------------------------------------------

QString TMainForm::PanelFolder() const
{
    return m_folderPanel && !m_folderPanel->isHidden() ? m_folderPanel->Folder() : QString();
}

void TMainForm::CreateFolderPanel()
{
    if (m_folderPanel)
        return;
    m_folderPanel = new TFolderPanel(supportedPatterns(), m_folderSplit);
    // The stored width holds even below what the tree would ask for.
    m_folderPanel->setMinimumWidth(kMinPanelWidth);
    m_folderSplit->insertWidget(0, m_folderPanel);
    m_folderSplit->setStretchFactor(0, 0);
    m_folderSplit->setStretchFactor(1, 1);
    m_folderPanel->OnOpenFile = [this](const QString& path) {
        OpenFile(path);
        FocusEditor();
    };
    m_folderPanel->OnRenamed = [this](const QString& oldPath, const QString& newPath) {
        FolderRenamed(oldPath, newPath);
    };
    m_folderPanel->OpenDocumentsUnder = [this](const QString& path) {
        QStringList names;
        for (int i : DocumentsUnder(path))
            names.append(DocumentNames::WithoutFolder(Document(i)->FileName()));
        return names;
    };
    m_folderPanel->OnDeleted = [this](const QString& path) { FolderDeleted(path); };
    m_folderPanel->OnClosed = [this] {
        Action(QStringLiteral("ViewItemsFolderPanel"))->setChecked(false);
        WorkspaceChanged();
        FocusEditor();
    };
}

void TMainForm::OpenFolder(const QString& folder)
{
    if (!QFileInfo(folder).isDir()) {
        Services().ShowError(QStringLiteral("Cannot open the folder \"%1\". It does not exist or is no folder.")
                                 .arg(QDir::toNativeSeparators(folder)));
        return;
    }
    ShowFolderPanel(folder);
    WorkspaceChanged();
}

void TMainForm::ShowFolderPanel(const QString& folder)
{
    const QFileInfo info(folder);
    const bool wasHidden = !m_folderPanel || m_folderPanel->isHidden();
    CreateFolderPanel();
    m_folderPanel->SetFolder(info.absoluteFilePath());
    m_folderPanel->show();
    if (wasHidden) {
        auto place = [this] {
            const int total = std::max(m_folderSplit->width(), m_panelWidth + kMinPanelWidth);
            m_folderSplit->setSizes({m_panelWidth, total - m_panelWidth});
        };
        place();
        // At start-up the splitter has its width only once the window is
        // shown: the edge is placed again then.
        if (!m_folderSplit->isVisible())
            QTimer::singleShot(0, this, place);
    }
    Action(QStringLiteral("ViewItemsFolderPanel"))->setChecked(true);
}

void TMainForm::FileItemsOpenFolderClick()
{
    TServices::TFileDialog dialog;
    dialog.title = QStringLiteral("Open Folder");
    const TMemoSource* document = ActiveDocument();
    if (m_folderPanel)
        dialog.initialDir = m_folderPanel->Folder();
    else if (document && DocumentNames::HasFolder(document->FileName()))
        dialog.initialDir = QFileInfo(document->FileName()).absolutePath();
    if (Services().FolderDialog(dialog))
        OpenFolder(dialog.fileName);
    else
        Action(QStringLiteral("ViewItemsFolderPanel"))->setChecked(!PanelFolder().isEmpty());
}

void TMainForm::ViewItemsFolderPanelClick()
{
    if (!PanelFolder().isEmpty()) {
        m_folderPanel->hide();
        Action(QStringLiteral("ViewItemsFolderPanel"))->setChecked(false);
        WorkspaceChanged();
        FocusEditor();
    } else if (m_folderPanel && QFileInfo(m_folderPanel->Folder()).isDir()) {
        OpenFolder(m_folderPanel->Folder());
    } else {
        FileItemsOpenFolderClick();
    }
}

QList<int> TMainForm::DocumentsUnder(const QString& path) const
{
    QList<int> found;
    const QString folder = QDir::cleanPath(QDir::fromNativeSeparators(path));
    for (int i = 0; i < DocumentCount(); ++i) {
        const QString name = QDir::fromNativeSeparators(Document(i)->FileName());
        if (!DocumentNames::IsUntitled(name) && atOrUnder(name, folder))
            found.append(i);
    }
    return found;
}

void TMainForm::FolderRenamed(const QString& oldPath, const QString& newPath)
{
    const QString from = QDir::cleanPath(QDir::fromNativeSeparators(oldPath));
    const QString to = QDir::cleanPath(QDir::fromNativeSeparators(newPath));
    for (int i : DocumentsUnder(from)) {
        TMemoSource* document = Document(i);
        // The tab follows the new name by itself; the file on disk is the
        // one the document was read from, only its name changed.
        document->SetFileName(QDir::toNativeSeparators(to + QDir::fromNativeSeparators(document->FileName()).mid(from.size())));
        m_diskWatch->Renamed(document);
    }
    SessionChanged();
    UpdateEnabling();
}

void TMainForm::FolderDeleted(const QString& path)
{
    // The text of a deleted file lives on in its document, which now has
    // unsaved changes: closing it asks, Save writes the file again.
    for (int i : DocumentsUnder(path)) {
        TMemoSource* document = Document(i);
        document->SetModified(true);
        m_diskWatch->Record(document);
        m_tabs->Refresh(document);
    }
    UpdateEnabling();
}

// -- Quick Open -----------------------------------------------------------------------

void TMainForm::FileItemsQuickOpenClick()
{
    if (!m_quickOpen) {
        m_quickOpen = new TQuickOpenForm(this);
        m_quickOpen->OnOpen = [this](const QString& path) {
            OpenFile(path);
            FocusEditor();
        };
        m_quickOpen->OnCancel = [this] { FocusEditor(); };
    }
    QStringList recent;
    for (const TRecentList::Entry& entry : m_recent->Entries())
        recent.append(entry.path);
    m_quickOpen->Popup(PanelFolder(), recent);
}

// -- the session -----------------------------------------------------------------------

void TMainForm::SaveWorkspace(TSettingsStore& store, const QString& key) const
{
    store.WriteString(key, kPanelFolderValue, QDir::toNativeSeparators(PanelFolder()));
    store.WriteString(key, kPanelWidthValue, QString::number(m_panelWidth));
}

void TMainForm::RestoreWorkspace()
{
    const TSettingsStore& store = Services().Settings();
    const QString key = TFormStorage::Key(kSessionSection);
    bool ok = false;
    const int width = store.ReadString(key, kPanelWidthValue, QString()).toInt(&ok);
    if (ok)
        m_panelWidth = std::clamp(width, kMinPanelWidth, kMaxPanelWidth);
    const QString folder = store.ReadString(key, kPanelFolderValue, QString());
    // A folder gone since is no longer shown. Nothing is stored here: the
    // session's file list is still to be read.
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        ShowFolderPanel(folder);
}

void TMainForm::WorkspaceChanged()
{
    SaveSessionList();
    Services().Settings().Flush();
}
