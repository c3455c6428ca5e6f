// The main window's start-up and shutdown, its editor, status bar, tag list,
// file drops and the application hint.

#include "mainform.h"

#include "autosave.h"
#include "bookmarkmenus.h"
#include "builtinschemes.h"
#include "component.h"
#include "dcmemo.h"
#include "diskwatch.h"
#include "documenttabbar.h"
#include "editorsettings.h"
#include "formstorage.h"
#include "journal.h"
#include "memoenvoptions.h"
#include "memosource.h"
#include "recentlist.h"
#include "regularfile.h"
#include "searchdialoghook.h"
#include "services.h"
#include "settingsstore.h"
#include "sourcestrings.h"
#include "splitview.h"
#include "toolbarlayout.h"
#include "toolruns.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QShowEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

const QString TMainForm::kCaption = QStringLiteral("Tarnel version 0.9.1 - beta");
const QString TMainForm::kOpenFilter = QStringLiteral(
    "Supported Files (*.jsp;*.java;*.ht*;*.sht*;*.bat;*.txt)|*.jsp;*.java;*.ht*;*.sht*;*.bat;*.txt|"
    "JSP Files (*.jsp)|*.jsp|Java Files (*.java)|*.java|"
    "HTML Files (*.htm;*.html)|*.htm;*.html;*.shtm;*.shtml;*.htx|Batch Files (*.bat)|*.bat|"
    "Text Files (*.txt)|*.txt|Any Files (*.*)|*.*");
const QString TMainForm::kHomePage = QStringLiteral("https://www.ostrevin.example/tarnel/");
const QString TMainForm::kAuthorMail = QStringLiteral("mailto:tarnel@ostrevin.example");

namespace {

QString withSeparator(QString dir)
{
    dir = QDir::fromNativeSeparators(dir);
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

} // namespace

TMainForm::TMainForm(const QString& programDir, QWidget* parent)
    : QMainWindow(parent), m_components(std::make_unique<TComponent>())
{
    setWindowTitle(kCaption);
    m_programDir = withSeparator(programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir);
    m_parsers = std::make_unique<TBuiltInParsers>(m_components.get());
    m_diskWatch = new TDiskWatch(
        [this] {
            std::vector<TMemoSource*> documents;
            for (const auto& document : m_documents)
                documents.push_back(document.get());
            return documents;
        },
        this);
    m_journal = std::make_unique<TJournal>(TJournal::DefaultRoot());
    m_autosave = std::make_unique<TAutosave>(*m_journal, [this](const TMemoSource* document) {
        const std::optional<TDiskStamp> stamp = m_diskWatch->Recorded(document);
        return stamp ? stamp->ToText() : QString();
    });

    m_openDialog.title = QStringLiteral("Open document...");
    m_openDialog.defaultExt = QStringLiteral("*.jsp");
    m_saveDialog.title = QStringLiteral("Save document as...");
    m_saveDialog.defaultExt = QStringLiteral("*.jsp");

    CreateEditor();
    CreateMenus();
    CreateButtonBar();
    CreateToolBars();
    CreatePopupMenu();
    // The editor shows it when the right button comes up.
    m_editor->SetPopupMenu(m_popup);
    CreateStatusBar();
    CreateToolRuns();
    CreateWorkspace();
    CreateFileSearch();
    CreateSettings();
    m_recent->Load(Services().Settings());
    m_editorSettings = std::make_unique<TEditorSettings>(*m_editor);

    // The creation step: a right click keeps the caret in every editor that
    // follows the global options, the exit shortcut, the program folder
    // (above) and the tag list.
    TMemoEnvOptions& global = TMemoEnvOptions::Global();
    global.SetOptions(global.Options() | moDisableRightClickMove);
    Action(QStringLiteral("FileItemsExit"))->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    LoadTagBox();
    UpdateTabRow();

    // Every text store opens its search dialogs over this window, however
    // the command reached it (menu, button, shortcut or key sequence).
    TCustomMemoSource::SetGlobalCreateDialog(SearchDialogHook(this, HelpFile(), FileSearchHooks()));
}

TMainForm::~TMainForm()
{
    TCustomMemoSource::SetGlobalCreateDialog(nullptr);
    // A window shown and never closed (the session ended, the program was
    // stopped) still keeps where it was.
    if (m_formStore->SavePending())
        m_formStore->Save(true);
    // The editor outlives this body (it is a child widget): it stops
    // reporting to the window and lets go of the documents and the parsers
    // before they are freed.
    m_splitView->Close();
    m_editor->OnStateChange = nullptr;
    m_editor->OnChange = nullptr;
    m_editor->OnSelectionChange = nullptr;
    m_editor->OnHintPopup = nullptr;
    m_editor->OnHintInsert = nullptr;
    m_editor->SetMemoSource(nullptr);
    m_editor->SetSyntaxParser(nullptr);
    m_autosave.reset();
    m_journal.reset();
    m_documents.clear();
    m_parsers.reset();
    m_components.reset();
}

TSyntaxParser* TMainForm::TarnelParser() const
{
    return m_parsers->Parser(TBuiltInScheme::Jsp);
}

TSyntaxParser* TMainForm::JavaParser() const
{
    return m_parsers->Parser(TBuiltInScheme::Java);
}

TSyntaxParser* TMainForm::BatParser() const
{
    return m_parsers->Parser(TBuiltInScheme::Batch);
}

void TMainForm::CreateEditor()
{
    // The parser is read before the editor is made: the editor's first act
    // is to measure its fonts, and the font database may still be filling on
    // its own thread (see startwarmup.h) while the parser is read here.
    TSyntaxParser* parser = TarnelParser();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_tabs = new TDocumentTabBar(central);
    m_tabs->setObjectName(QStringLiteral("EditorTab"));
    connect(m_tabs, &QTabBar::currentChanged, this, &TMainForm::EditorTabChange);
    layout->addWidget(m_tabs);

    m_editor = new TDCMemo(central);
    m_editor->setObjectName(QStringLiteral("TarnelEditor"));
    WireEditor(*m_editor);
    m_editor->SetSyntaxParser(parser);
    m_editor->SetHighlightUrls(false);
    layout->addWidget(m_editor, 1);
    setCentralWidget(central);
}

void TMainForm::WireEditor(TDCMemo& editor)
{
    editor.ApplyApplicationDefaults();
    editor.OnStateChange = [this](TCustomDCMemo& sender, int state) { TarnelEditorStateChange(sender, state); };
    editor.OnChange = [this](TCustomDCMemo&) { UpdateEnabling(); };
    editor.OnSelectionChange = [this](TCustomDCMemo&) { UpdateEnabling(); };
    editor.OnHintPopup = [this](TCustomDCMemo& sender, TStrings& strings, int& popupType, bool& allowPopup) {
        TarnelEditorHintPopup(sender, strings, popupType, allowPopup);
    };
    editor.OnHintInsert = [this](TCustomDCMemo& sender, QByteArray& text) { TarnelEditorHintInsert(sender, text); };
    // FileDrop: files dropped from the desktop onto the editor.
    editor.setAcceptDrops(true);
    editor.viewport()->setAcceptDrops(true);
    editor.viewport()->installEventFilter(this);
    editor.installEventFilter(this);
}

void TMainForm::CreateStatusBar()
{
    static constexpr int kWidths[] = {70, 80, 80};
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false);
    for (int width : kWidths) {
        auto* panel = new QLabel(bar);
        // The position panel fits the line and column of a file of ten
        // million lines in whatever font the bar has.
        if (m_panels.isEmpty()) {
            const int margins = 2 * panel->frameWidth() + 2 * panel->margin() + panel->fontMetrics().averageCharWidth();
            width = std::max(width, panel->fontMetrics().horizontalAdvance(QStringLiteral("99999999: 9999")) + margins);
        }
        panel->setFixedWidth(width);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        bar->addWidget(panel);
        m_panels.append(panel);
    }
    // The hint panel takes the rest of the bar and has no bevel.
    auto* hint = new QLabel(bar);
    hint->setMinimumWidth(50);
    bar->addWidget(hint, 1);
    m_panels.append(hint);
    m_encodingPanel = new QLabel(bar);
    m_encodingPanel->setObjectName(QStringLiteral("EncodingPanel"));
    m_encodingPanel->setFrameShape(QFrame::Panel);
    m_encodingPanel->setFrameShadow(QFrame::Sunken);
    m_encodingPanel->setFixedWidth(std::max(90, m_encodingPanel->fontMetrics().horizontalAdvance(QStringLiteral("Windows-1252")) + 12));
    bar->addPermanentWidget(m_encodingPanel);
}

QLabel* TMainForm::StatusPanel(int index) const
{
    return m_panels.value(index);
}

void TMainForm::LoadTagBox()
{
    m_tagBox.Clear();
    const QString path = m_programDir + QStringLiteral("Dat/Tags.txt");
    QFile file(path);
    QString refusal;
    if (!RegularFile::Open(file, path, &refusal)) {
        Services().ShowError(QStringLiteral("Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(path), refusal));
        return;
    }
    m_tagBox.SetText(file.readAll());
}

void TMainForm::FocusEditor()
{
    if (TCustomDCMemo* editor = ActiveEditor(); editor->isEnabled())
        editor->setFocus(Qt::OtherFocusReason);
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce || event->spontaneous())
        return;
    m_shownOnce = true;
    FileItemsNewClick();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // The close query: every modified document is asked about, last tab
    // first; a Cancel keeps the window open.
    for (int i = DocumentCount() - 1; i >= 0; --i) {
        if (AskAndClose(i, false) == TCloseAnswer::Stop) {
            event->ignore();
            return;
        }
    }
    // Last, so that a program is stopped only once the window really goes.
    if (!m_toolRuns->MayClose()) {
        event->ignore();
        return;
    }
    m_recent->Save(Services().Settings());
    m_formStore->Save(false);
    SaveSessionList();
    // Every question was answered: nothing of this run is left to recover.
    m_autosave->EndSession();
    event->accept();
}

void TMainForm::BringToFront()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

bool TMainForm::event(QEvent* event)
{
    // Coming back to the window is when files changed elsewhere are noticed.
    if (event->type() == QEvent::WindowActivate)
        m_diskWatch->WindowActivated();
    // Hints go to the last panel instead of covering the whole status bar.
    if (event->type() == QEvent::StatusTip) {
        ApplicationHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::ApplicationHint(const QString& hint)
{
    if (QLabel* panel = StatusPanel(3); panel && panel->text() != hint)
        panel->setText(hint);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    // The editors (the window's and a split view's) and their viewports.
    const bool editor = qobject_cast<TCustomDCMemo*>(watched) || qobject_cast<TCustomDCMemo*>(watched->parent());
    if (!editor)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!drag->mimeData()->hasUrls())
            break;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!drop->mimeData()->hasUrls())
            break;
        QStringList paths;
        for (const QUrl& url : drop->mimeData()->urls()) {
            if (url.isLocalFile())
                paths.append(url.toLocalFile());
        }
        drop->acceptProposedAction();
        FileDropDrop(paths);
        return true;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::FileDropDrop(const QStringList& paths)
{
    // Each name is taken whole: a name cut short could be another file.
    for (const QString& path : paths) {
        if (path.isEmpty() || QFileInfo(path).isDir())
            continue;
        OpenFile(path);
    }
}

void TMainForm::TarnelEditorHintPopup(TCustomDCMemo& sender, TStrings& strings, int& popupType, bool& allowPopup)
{
    TCustomMemoSource* source = sender.MemoSource();
    if (!source)
        return;
    const int column = source->CaretColumn();
    const QByteArray line = source->LineText(source->CaretLine());
    if (column > 0 && column <= line.size())
        allowPopup = line.at(column - 1) == '<';
    if (!allowPopup)
        return;
    strings.Assign(m_tagBox);
    popupType = 1;
}

void TMainForm::TarnelEditorHintInsert(TCustomDCMemo&, QByteArray& text)
{
    const qsizetype bar = text.indexOf('|');
    if (bar >= 0)
        text.truncate(bar);
}
