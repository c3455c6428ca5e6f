#pragma once

#include "searchoptions.h"
#include "services.h"
#include "stringlist.h"

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QAction;
class QKeySequence;
class QLabel;
class QMenu;
class QSplitter;
class QTabBar;
class QToolBar;
class TAutosave;
class TBookmarkMenus;
class TBuiltInParsers;
class TComponent;
class TCustomDCMemo;
class TCustomMemoSource;
class TDCMemo;
class TDiskWatch;
class TDocumentTabBar;
class TFolderPanel;
struct TDiskStamp;
struct TFileSearchHooks;
class TEditorSettings;
class TFindInFiles;
class TFormStorage;
class TJournal;
class TMemoSource;
class TOutputPane;
class TPreferenceForm;
class TQuickOpenForm;
class TRecentList;
class TSearchResultsPane;
class TSearchStatus;
class TSettingsStore;
class TSplitView;
class TSyntaxParser;
enum class TSnippetKind;
class TStoredProperties;
class TTabSwitcher;
class TToolBarLayout;
class TToolRuns;

// The main window: the document tabs above the one editor control, the menu
// bar, the button bar, five tool bars, the editor popup menu and the status
// bar. Every open file is a document held in its own text store; the window
// owns the stores, and tab i always shows Document(i).
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    static const QString kCaption;
    static const QString kOpenFilter;
    static const QString kHomePage;
    static const QString kAuthorMail;

    // programDir: the folder the program's own files ("Dat\Tags.txt",
    // "tarnel.htm", "Templates\"...) are found in; empty for the folder of
    // the executable.
    explicit TMainForm(const QString& programDir = QString(), QWidget* parent = nullptr);
    ~TMainForm() override;

    // -- documents -----------------------------------------------------------
    int DocumentCount() const { return int(m_documents.size()); }
    TMemoSource* Document(int index) const;
    // -1 when no document is open.
    int ActiveIndex() const;
    TMemoSource* ActiveDocument() const { return Document(ActiveIndex()); }
    // Creates a document (loaded from path, or untitled without one), shows
    // it in a new tab and selects that. Null, with the error shown and
    // nothing added, when the file cannot be read.
    TMemoSource* NewDocument(const QString& path = QString());
    // Opens and activates a file as the open dialog, the recent list and a
    // drop do: an open one is only selected; the path goes to the recent
    // list and the scheme follows its extension.
    void OpenFile(const QString& path);
    // Files from outside the window (the command line, a second start):
    // each opened as File, Open does. The untouched untitled document the
    // window starts with gives way to them once one of them is open.
    void OpenFiles(const QStringList& paths);
    // Brings the window to the front, as a second start asks.
    void BringToFront();
    // At start-up, once the window shows its first document: offers back
    // the unsaved work of runs that did not end cleanly, then, when the
    // preference asks for it, reopens the files that were open at the last
    // exit, each at its caret (mainsession.cpp).
    void RestoreSession();
    // The settings section of the files open at the last clean exit.
    static const QString kSessionSection;
    // Save one document; false when it was not saved (cancelled or failed).
    // A file changed by another program meanwhile is asked about first; true
    // also when the user took that file instead (the document then matches
    // it).
    bool SaveDocument(int index);
    // Over the document's own file, asks as SaveDocument does.
    bool SaveDocumentAs(int index);
    // The part of Save As after its dialog: asks before overwriting another
    // file, writes the document to path and only then gives it that name
    // (a failed write leaves name, caption and modified flag as they were).
    bool SaveDocumentTo(int index, const QString& path);
    enum class TCloseAnswer { GoOn, Saved, Stop };
    // Asks about a modified document; with close, closes it unless the
    // answer is Stop.
    TCloseAnswer AskAndClose(int index, bool close);
    // Selects a document's tab and shows its store in the editor.
    void ActivateDocument(int index);
    // Gives the active document a scheme (null: plain text).
    void SetActiveScheme(TSyntaxParser* parser);
    // The scheme a document's file name, or else its first line, names.
    TSyntaxParser* SchemeForFile(const TMemoSource& document) const;

    // -- parts -----------------------------------------------------------------
    TDCMemo* TarnelEditor() const { return m_editor; }
    QTabBar* EditorTab() const;
    TRecentList* RecentList() const { return m_recent; }
    const TStringList& TagBox() const { return m_tagBox; }
    TSyntaxParser* TarnelParser() const;
    TSyntaxParser* JavaParser() const;
    TSyntaxParser* BatParser() const;
    // The folder of the program's own files, with a trailing separator.
    const QString& ProgramDir() const { return m_programDir; }
    // The dialogs every command shares; they keep what a command set.
    TServices::TFileDialog& OpenDialog() { return m_openDialog; }
    TServices::TFileDialog& SaveDialog() { return m_saveDialog; }
    // Menu items, submenus (by the name of their item) and buttons by name.
    QAction* Action(const QString& name) const { return m_actions.value(name); }
    QMenu* Menu(const QString& name) const { return m_menus.value(name); }
    QToolBar* ToolBar(const QString& name) const { return m_toolBars.value(name); }
    QMenu* PopupMenu() const { return m_popup; }
    QLabel* StatusPanel(int index) const;
    // The status bar's panel naming the active document's encoding.
    QLabel* EncodingPanel() const { return m_encodingPanel; }
    // The window's settings section ("Tarnel\MainWindow": placement and
    // tool bars) and the preferences dialog with its own (made when first
    // asked for).
    TFormStorage& MainFormStore() const { return *m_formStore; }
    TPreferenceForm* PreferenceForm();
    // The autosave journal of unsaved work and what keeps it.
    TJournal& Journal() const { return *m_journal; }
    TAutosave& Autosave() const { return *m_autosave; }
    // The bottom pane of the tool runs' output, and the runs themselves.
    TOutputPane* OutputPane() const { return m_output; }
    TToolRuns* ToolRuns() const { return m_toolRuns; }
    // Find in Files with its Search Results pane, and the status bar's
    // word on the last search (mainfilesearch.cpp).
    TFindInFiles* FindInFiles() const { return m_findInFiles; }
    TSearchResultsPane* SearchResults() const;
    TSearchStatus* SearchStatus() const { return m_searchStatus; }
    // The folder Find in Files proposes: the folder panel's while it is
    // open, else the one searched last in this run, else the active
    // document's, else the home folder.
    QString FileSearchFolder() const;

    // -- many files (mainworkspace.cpp) ----------------------------------------
    TDocumentTabBar* DocumentTabs() const { return m_tabs; }
    TTabSwitcher* TabSwitcher() const { return m_tabSwitcher; }
    // The folder panel (null until a folder was opened), the Quick Open box
    // (null until first asked for) and the split view.
    TFolderPanel* FolderPanel() const { return m_folderPanel; }
    TQuickOpenForm* QuickOpen() const { return m_quickOpen; }
    TSplitView* SplitView() const { return m_splitView; }
    // The folder the panel shows; empty while the panel is closed.
    QString PanelFolder() const;
    // Shows folder in the folder panel, opening the panel.
    void OpenFolder(const QString& folder);
    // The editor control the user works in: the split view's second one
    // when it had the focus last.
    TCustomDCMemo* ActiveEditor() const;

    // Enables and checks every menu item and button by the active document.
    void UpdateEnabling();

    // -- handlers: File ----------------------------------------------------------
    void FileItemsNewClick();
    void FileItemsOpenClick();
    void FileItemsOpenTemplateClick();
    void FileItemsCloseClick();
    void FileItemsCloseAllClick();
    void FileItemsSaveClick();
    void FileItemsSaveAsClick();
    void FileItemsSaveAllClick();
    void FileItemsSaveTemplateClick();
    void FileItemsExportClick();
    void FileItemsPrintClick();
    void FileItemsExitClick();
    void FileItemsOpenFolderClick();
    void FileItemsQuickOpenClick();
    void ViewItemsFolderPanelClick();
    void ViewItemsSplitClick();
    // tag: the index of the choice in EncodingCommands::kChoices.
    void FileItemsReopenEncodingClick(int tag);
    void FileItemsSaveEncodingClick(int tag);
    // -- Edit ----------------------------------------------------------------------
    void EditItemsUndoClick();
    void EditItemsRedoClick();
    void EditItemsCutClick();
    void EditItemsCopyClick();
    void EditItemsPasteClick();
    void EditItemsDeleteClick();
    void EditItemsSelectAllClick();
    void EditItemsAtoOClick();
    void EditItemsOtoAClick();
    void EditItemsCharLowerClick();
    void EditItemsCharUpperClick();
    void EditItemsCharLowerLineClick();
    void EditItemsCharUpperLineClick();
    void EditItemsCharToggleClick();
    void EditItemsSelectionIndentClick();
    void EditItemsSelectionOutdentClick();
    // -- Search ----------------------------------------------------------------------
    void SearchItemsFindClick();
    void SearchItemsFindAgainClick();
    void SearchItemsReplaceClick();
    void SearchItemsLineClick();
    void SearchItemsBookClick();
    void SearchItemsFindInFilesClick();
    void SearchItemsReplaceInFilesClick();
    void SearchItemsNextResultClick();
    void SearchItemsPreviousResultClick();
    // -- Tools: snippets -------------------------------------------------------------
    void cmdHTMLFormClick();
    void cmdHTMLButtonClick();
    void cmdHTMLFormImageClick();
    void cmdHTMLInputClick();
    void cmdHTMLRadioClick();
    void cmdHTMLCheckClick();
    void cmdHTMLSelectClick();
    void cmdHTMLTextClick();
    void cmdHTMLImageClick();
    void cmdHTMLLinkClick();
    void cmdHTMLMailClick();
    void cmdHTMLBoldClick();
    void cmdHTMLItalicClick();
    void cmdHTMLUnderlineClick();
    void cmdHTMLParagraphClick();
    void cmdHTMLBreakClick();
    void cmdHTMLHorizonClick();
    void cmdHTMLLeftClick();
    void cmdHTMLCenterClick();
    void cmdHTMLRightClick();
    void cmdHTMLOListClick();
    void cmdHTMLUOListClick();
    void cmdHTMLColorClick();
    // tag 0 to 5: "<h1></h1>" to "<h6></h6>".
    void PopHead1Click(int tag);
    void cmdTableClick();
    void cmdTableRowClick();
    void cmdTableColClick();
    void ToolItemsJavaWritePrintLineClick();
    void ToolItemsJavaWritePrintOnlyClick();
    void ToolItemsJavaWriteCloseClick();
    void ToolItemsJavaWritePrintLineConvertClick();
    void PopJSPFragmentClick();
    void PopJSPExpressionClick();
    void PopJSPDeclaraionClick();
    void PopJSPDirectiveClick();
    void PopJSPCommentClick();
    void PopJSPTagClick();
    void PopJSPOutPutClick();
    void ToolItemsHTMLTagsTemplateClick();
    // -- Tools: runs, bookmarks, bars ------------------------------------------------
    void ToolItemsJavaCompileClick();
    void ToolItemsJavaRunClick();
    void ToolItemsJavaRunProgramClick();
    void cmdBrowseClick();
    void ToolItemsRunBatchClick();
    // tag 1 to 10: "Book Mark 0" to "Book Mark 9".
    void BookMark02Click(int tag);
    void BookMark01Click(int tag);
    void PopGoBookPopup();
    // Flips a tool bar's visibility (the "Visible Tool Buttons" items).
    void ToolItemsVisibleClick(const QString& barName);
    // -- Options and Help ------------------------------------------------------------
    // tag 0 none, 1 JSP, 2 Java, 3 Batch.
    void OptionItemsSyntaxNoneClick(int tag);
    void OptionItemsURLClick();
    void OptionItemsWrapClick();
    void OptionItemsEditorClick();
    void OptionItemsPreferensClick();
    void HelpItemsHelpClick();
    void HelpItemsHomeClick();
    void HelpItemsMailClick();
    void HelpItemsAboutClick();
    // -- the editor, the tabs, drops and hints -----------------------------------------
    void TarnelEditorStateChange(TCustomDCMemo& sender, int state);
    // Offers the tag list when the character before the caret is "<".
    void TarnelEditorHintPopup(TCustomDCMemo& sender, TStrings& strings, int& popupType, bool& allowPopup);
    // The text of a tag entry is what stands before its first "|".
    void TarnelEditorHintInsert(TCustomDCMemo& sender, QByteArray& text);
    void EditorTabChange(int index);
    // Opens every dropped file (folders are skipped), in order.
    void FileDropDrop(const QStringList& paths);
    // Shows the long part of the hint under the pointer in the status bar.
    void ApplicationHint(const QString& hint);

public:
    // The first show restores the stored placement and tool bars first.
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A menu item or button: its name, its caption (or hint) and its handler.
    struct TCommand {
        const char* name;
        const char* text;
        void (TMainForm::*handler)();
    };

    // Construction (mainmenus.cpp, mainbars.cpp).
    void CreateEditor();
    // What every editor control of the window is given: the application's
    // settings, the window's handlers of its events, file drops.
    void WireEditor(TDCMemo& editor);
    void CreateMenus();
    void CreateFileMenu();
    void CreateEditMenu();
    void CreateToolsMenu();
    void CreateOptionsMenu();
    void CreateButtonBar();
    void CreateToolBars();
    void CreatePopupMenu();
    void CreateStatusBar();
    // The settings sections and the preferences dialog (mainsettings.cpp).
    void CreateSettings();
    void LoadTagBox();
    // The Output pane and the tool runs (maintools.cpp); before the
    // settings, which keep the pane's height.
    void CreateToolRuns();
    // The tabs' close buttons and order, keyboard switching, the folder
    // panel's place and the split view (mainworkspace.cpp).
    void CreateWorkspace();
    void CreateViewMenu();
    TDCMemo* CreateSecondView(QWidget* parent);
    void CreateFolderPanel();
    // Opens the panel on folder, storing nothing.
    void ShowFolderPanel(const QString& folder);
    // Closes a tab's document as File, Close does, keeping the shown
    // document when another tab is closed.
    void CloseTab(int index);
    void TabMoved(int from, int to);
    // Open documents follow what the folder panel did on disk.
    void FolderRenamed(const QString& oldPath, const QString& newPath);
    void FolderDeleted(const QString& path);
    QList<int> DocumentsUnder(const QString& path) const;
    // The panel's folder and width in the session section, written with the
    // file list (SaveSessionList) and read at start-up.
    void SaveWorkspace(TSettingsStore& store, const QString& key) const;
    void RestoreWorkspace();
    void WorkspaceChanged();
    // Opens a file from a compiler's message at line (counted from 1).
    void OpenAtLine(const QString& path, int line);
    // Find in Files, its pane and the search status (mainfilesearch.cpp).
    void CreateFileSearch();
    TFileSearchHooks FileSearchHooks();
    // The program's help page, empty when it has none.
    QString HelpFile() const;
    void RunFilesDialog(TDialogKind kind);
    QAction* AddItem(QMenu* menu, const QString& name, const QString& caption, void (TMainForm::*handler)(),
                     const QKeySequence& shortcut);
    QAction* AddItem(QMenu* menu, const QString& name, const QString& caption, void (TMainForm::*handler)());
    void AddItems(QMenu* menu, std::initializer_list<TCommand> items);
    QMenu* AddMenu(QMenu* parent, const QString& name, const QString& caption);
    // "Reopen with Encoding" and "Save with Encoding" (mainencodings.cpp).
    void AddEncodingMenus(QMenu* file);
    void UpdateEncodingPanel();
    // The "Syntax Highlight" items, one per scheme (tags 0 to 10), named prefix + caption.
    void AddSchemeItems(QMenu* menu, const QString& prefix);
    QAction* AddButton(QToolBar* bar, const QString& name, const QString& hint, void (TMainForm::*handler)());
    QToolBar* AddToolBar(const QString& name, const QString& caption);

    // Documents (maindocuments.cpp).
    TMemoSource* CreateDocumentStore() const;
    // Shows a created document in a new tab, selected, and watches it.
    TMemoSource* AddDocument(std::unique_ptr<TMemoSource> document, const TDiskStamp& stamp);
    // Loads path into document, shown in its own tab as it comes in; null
    // (the tabs as they were) when it cannot be read or is cancelled.
    TMemoSource* LoadDocument(std::unique_ptr<TMemoSource> document, const QString& path);
    void ShowNewTab(TMemoSource* added);
    // The disk watch, the journal and the session take an added document.
    void WatchAdded(TMemoSource* added, const TDiskStamp& stamp);
    // The session (mainsession.cpp): the files open, stored whenever the
    // list changes and at exit, so that a run that never ends cleanly
    // leaves the list it had.
    void SaveSessionList() const;
    void SessionChanged();
    void RecoverDocuments();
    void ReopenSessionList();
    // Closes the untouched first document when others take its place.
    void ClosePristineDocument(const TMemoSource* pristine);
    const TMemoSource* PristineDocument() const;
    void CloseDocument(int index);
    void ShowDocument(int index);
    void UpdateTabRow();
    int FindDocument(const QString& path) const;
    QStringList DocumentNames() const;

    // Enabling and the status bar (mainenabling.cpp).
    void UpdateStatusBar(int state);
    void Enable(std::initializer_list<const char*> names, bool enabled);
    void Check(std::initializer_list<const char*> names, bool checked);

    void FocusEditor();
    // Runs a store command on the active document, then the enabling rule.
    void RunOnActiveDocument(void (TCustomMemoSource::*command)());

    // Snippets and text commands (mainsnippets.cpp): each acts on the active
    // document as one undo step, then runs the enabling rule and gives the
    // editor the focus.
    void RunSnippet(TSnippetKind kind);
    void RunTextCommand(void (*command)(TCustomMemoSource& document));

    // Templates (maintemplates.cpp): a new untitled document filled from a
    // template file; nothing is created when the file cannot be read.
    void NewDocumentFromTemplate(const QString& path);

    QString m_programDir;
    // Owns the three parsers; made before the documents, freed after them.
    std::unique_ptr<TComponent> m_components;
    std::unique_ptr<TBuiltInParsers> m_parsers;
    std::vector<std::unique_ptr<TMemoSource>> m_documents;
    TDCMemo* m_editor = nullptr;
    TDocumentTabBar* m_tabs = nullptr;
    TTabSwitcher* m_tabSwitcher = nullptr;
    TSplitView* m_splitView = nullptr;
    // The folder panel sits left of everything below the tool bars.
    QSplitter* m_folderSplit = nullptr;
    TFolderPanel* m_folderPanel = nullptr;
    TQuickOpenForm* m_quickOpen = nullptr;
    // The folder panel's width, also while it is closed.
    int m_panelWidth = 240;
    TRecentList* m_recent = nullptr;
    TDiskWatch* m_diskWatch = nullptr;
    // Made before the documents and freed before them: the autosave writes
    // what is still waiting when the window goes without its close.
    std::unique_ptr<TJournal> m_journal;
    std::unique_ptr<TAutosave> m_autosave;
    // The global editor settings the editor follows; made once the editor is.
    std::unique_ptr<TEditorSettings> m_editorSettings;
    std::unique_ptr<TToolBarLayout> m_toolBarLayout;
    // The tool bars' places and the Output pane's height, stored together.
    std::unique_ptr<TStoredProperties> m_windowValues;
    std::unique_ptr<TFormStorage> m_formStore;
    TPreferenceForm* m_preferences = nullptr;
    TOutputPane* m_output = nullptr;
    TToolRuns* m_toolRuns = nullptr;
    TFindInFiles* m_findInFiles = nullptr;
    TSearchStatus* m_searchStatus = nullptr;
    bool m_settingsRestored = false;
    // The session files last stored, and whether a reopen is under way
    // (the list is stored once it is over).
    QStringList m_sessionFiles;
    bool m_reopening = false;
    QMenu* m_popup = nullptr;
    TStringList m_tagBox;
    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
    QHash<QString, QToolBar*> m_toolBars;
    QList<QLabel*> m_panels;
    QLabel* m_encodingPanel = nullptr;
    // The buttons of the "HTML Elements", "Form Items", "Table Items" and
    // "Bookmark" bars (not their close boxes).
    QList<QAction*> m_documentBarButtons;
    TServices::TFileDialog m_openDialog;
    TServices::TFileDialog m_saveDialog;
    std::unique_ptr<TBookmarkMenus> m_bookmarkMenus;
    // The colour dialog starts from the colour last picked.
    TColor m_paletteColor = 0;
    // While the tab list is being changed by the program, its change signal
    // is not a user's tab change.
    bool m_changingTabs = false;
    bool m_shownOnce = false;
};
