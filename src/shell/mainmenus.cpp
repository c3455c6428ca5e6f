// The menu bar and the editor popup menu of the main window, with their
// captions, shortcuts and handlers.

#include "mainform.h"

#include "builtinschemes.h"
#include "memosource.h"
#include "recentlist.h"
#include "services.h"
#include "settingsstore.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include <iterator>

using THandler = void (TMainForm::*)();

QAction* TMainForm::AddItem(QMenu* menu, const QString& name, const QString& caption, THandler handler,
                            const QKeySequence& shortcut)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    if (handler)
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    if (menu)
        menu->addAction(action);
    m_actions.insert(name, action);
    return action;
}

QAction* TMainForm::AddItem(QMenu* menu, const QString& name, const QString& caption, THandler handler)
{
    return AddItem(menu, name, caption, handler, QKeySequence());
}

void TMainForm::AddItems(QMenu* menu, std::initializer_list<TCommand> items)
{
    for (const TCommand& item : items)
        AddItem(menu, item.name, item.text, item.handler);
}

void TMainForm::AddSchemeItems(QMenu* menu, const QString& prefix)
{
    for (int tag = 0; tag <= BuiltInSchemes::kCount; ++tag) {
        const QString caption = BuiltInSchemes::Caption(BuiltInSchemes::ForTag(tag));
        QAction* item = AddItem(menu, prefix + caption, caption, nullptr);
        item->setCheckable(true);
        item->setData(tag);
        connect(item, &QAction::triggered, this, [this, tag] { OptionItemsSyntaxNoneClick(tag); });
    }
}

QMenu* TMainForm::AddMenu(QMenu* parent, const QString& name, const QString& caption)
{
    QMenu* menu = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    m_menus.insert(name, menu);
    m_actions.insert(name, menu->menuAction());
    return menu;
}

void TMainForm::CreateMenus()
{
    CreateFileMenu();
    CreateEditMenu();

    QMenu* search = AddMenu(nullptr, QStringLiteral("SearchItems"), QStringLiteral("&Search"));
    AddItem(search, "SearchItemsFind", "&Find...", &TMainForm::SearchItemsFindClick, QKeySequence(Qt::CTRL | Qt::Key_F));
    AddItem(search, "SearchItemsFindAgain", "&Search Again", &TMainForm::SearchItemsFindAgainClick,
            QKeySequence(Qt::Key_F3));
    AddItem(search, "SearchItemsReplace", "&Replace", &TMainForm::SearchItemsReplaceClick,
            QKeySequence(Qt::CTRL | Qt::Key_R));
    AddItem(search, "SearchItemsFindInFiles", "Find in F&iles...", &TMainForm::SearchItemsFindInFilesClick,
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    AddItem(search, "SearchItemsReplaceInFiles", "Replace in Fi&les...", &TMainForm::SearchItemsReplaceInFilesClick,
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    AddItem(search, "SearchItemsNextResult", "&Next Result", &TMainForm::SearchItemsNextResultClick,
            QKeySequence(Qt::Key_F4));
    AddItem(search, "SearchItemsPreviousResult", "&Previous Result", &TMainForm::SearchItemsPreviousResultClick,
            QKeySequence(Qt::SHIFT | Qt::Key_F4));
    search->addSeparator();
    AddItem(search, "SearchItemsLine", "&Go to Line Number...", &TMainForm::SearchItemsLineClick);
    AddItem(search, "SearchItemsBook", "Go to &Bookmark...", &TMainForm::SearchItemsBookClick);

    CreateViewMenu();
    CreateToolsMenu();
    CreateOptionsMenu();

    QMenu* help = AddMenu(nullptr, QStringLiteral("HelpItems"), QStringLiteral("&Help"));
    AddItem(help, "HelpItemsHelp", "&Simple Help...", &TMainForm::HelpItemsHelpClick, QKeySequence(Qt::Key_F1));
    AddItem(help, "HelpItemsHome", "Ostrevin Home Page...", &TMainForm::HelpItemsHomeClick);
    AddItem(help, "HelpItemsMail", "E-mail to Author...", &TMainForm::HelpItemsMailClick);
    help->addSeparator();
    AddItem(help, "HelpItemsAbout", "About...", &TMainForm::HelpItemsAboutClick);
}

void TMainForm::CreateFileMenu()
{
    QMenu* file = AddMenu(nullptr, QStringLiteral("FileItems"), QStringLiteral("&File"));
    AddItem(file, "FileItemsNew", "&New", &TMainForm::FileItemsNewClick, QKeySequence(Qt::CTRL | Qt::Key_N));
    AddItem(file, "FileItemsOpen", "&Open", &TMainForm::FileItemsOpenClick, QKeySequence(Qt::CTRL | Qt::Key_O));
    AddItem(file, "FileItemsOpenTemplate", "Open From Templates...", &TMainForm::FileItemsOpenTemplateClick);
    AddItem(file, "FileItemsOpenFolder", "Open Folder...", &TMainForm::FileItemsOpenFolderClick);
    AddItem(file, "FileItemsQuickOpen", "Quick Open...", &TMainForm::FileItemsQuickOpenClick,
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    file->addSeparator();
    AddItem(file, "FileItemsClose", "&Close", &TMainForm::FileItemsCloseClick);
    AddItem(file, "FileItemsCloseAll", "C&lose All", &TMainForm::FileItemsCloseAllClick);
    AddItem(file, "FileItemsSave", "&Save", &TMainForm::FileItemsSaveClick, QKeySequence(Qt::CTRL | Qt::Key_S));
    AddItem(file, "FileItemsSaveAs", "Save &As...", &TMainForm::FileItemsSaveAsClick);
    AddItem(file, "FileItemsSaveAll", "Sa&ve All", &TMainForm::FileItemsSaveAllClick);
    AddItem(file, "FileItemsSaveTemplate", "Save As Template...", &TMainForm::FileItemsSaveTemplateClick);
    file->addSeparator();
    AddEncodingMenus(file);
    file->addSeparator();
    AddItem(file, "FileItemsExport", "Export...", &TMainForm::FileItemsExportClick);
    QMenu* recent = AddMenu(file, QStringLiteral("FileItemsRecent"), QStringLiteral("Recent Items"));
    m_recent = new TRecentList(recent, this);
    m_recent->OnOpen = [this](const QString& path) { OpenFile(path); };
    m_recent->OnChange = [this] {
        m_recent->Save(Services().Settings());
        Services().Settings().Flush();
    };
    file->addSeparator();
    AddItem(file, "FileItemsPrint", "&Print...", &TMainForm::FileItemsPrintClick, QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator();
    // Its shortcut is given in the creation step.
    AddItem(file, "FileItemsExit", "E&xit", &TMainForm::FileItemsExitClick);
}

void TMainForm::CreateEditMenu()
{
    QMenu* edit = AddMenu(nullptr, QStringLiteral("EditItems"), QStringLiteral("&Edit"));
    AddItem(edit, "EditItemsUndo", "&Undo", &TMainForm::EditItemsUndoClick, QKeySequence(Qt::CTRL | Qt::Key_Z));
    AddItem(edit, "EditItemsRedo", "&Redo", &TMainForm::EditItemsRedoClick,
            QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Z));
    edit->addSeparator();
    AddItem(edit, "EditItemsCut", "Cu&t", &TMainForm::EditItemsCutClick, QKeySequence(Qt::CTRL | Qt::Key_X));
    AddItem(edit, "EditItemsCopy", "&Copy", &TMainForm::EditItemsCopyClick, QKeySequence(Qt::CTRL | Qt::Key_C));
    AddItem(edit, "EditItemsPaste", "&Paste", &TMainForm::EditItemsPasteClick, QKeySequence(Qt::CTRL | Qt::Key_V));
    AddItem(edit, "EditItemsDelete", "&Delete", &TMainForm::EditItemsDeleteClick,
            QKeySequence(Qt::CTRL | Qt::Key_Delete));
    AddItem(edit, "EditItemsSelectAll", "Se&lect All", &TMainForm::EditItemsSelectAllClick,
            QKeySequence(Qt::CTRL | Qt::Key_A));
    edit->addSeparator();
    AddItem(edit, "EditItemsAtoO", "ASCI to OEM", &TMainForm::EditItemsAtoOClick);
    AddItem(edit, "EditItemsOtoA", "OEM to ASCI", &TMainForm::EditItemsOtoAClick);
    edit->addSeparator();
    QMenu* characters = AddMenu(edit, QStringLiteral("EditItemsChar"), QStringLiteral("C&haracters"));
    AddItem(characters, "EditItemsCharLower", "Lowercase", &TMainForm::EditItemsCharLowerClick);
    AddItem(characters, "EditItemsCharUpper", "Uppercase", &TMainForm::EditItemsCharUpperClick);
    AddItem(characters, "EditItemsCharLowerLine", "Lowercase Line", &TMainForm::EditItemsCharLowerLineClick);
    AddItem(characters, "EditItemsCharUpperLine", "Uppercase Line", &TMainForm::EditItemsCharUpperLineClick);
    AddItem(characters, "EditItemsCharToggle", "Toggle Case Line", &TMainForm::EditItemsCharToggleClick);
    QMenu* selection = AddMenu(edit, QStringLiteral("EditItemsSelection"), QStringLiteral("Selection"));
    AddItem(selection, "EditItemsSelectionIndent", "Indent", &TMainForm::EditItemsSelectionIndentClick);
    AddItem(selection, "EditItemsSelectionOutdent", "Outdent", &TMainForm::EditItemsSelectionOutdentClick);
}

void TMainForm::CreateToolsMenu()
{
    QMenu* tools = AddMenu(nullptr, QStringLiteral("ToolItems"), QStringLiteral("&Tools"));
    QMenu* html = AddMenu(tools, QStringLiteral("ToolItemsHTMLTags"), QStringLiteral("HTML Tags"));
    AddItems(html, {{"ToolItemsHTMLBold", "Bold", &TMainForm::cmdHTMLBoldClick},
                    {"ToolItemsHTMLItalic", "Italic", &TMainForm::cmdHTMLItalicClick},
                    {"ToolItemsHTMLUnderline", "Underline", &TMainForm::cmdHTMLUnderlineClick},
                    {"ToolItemsHTMLParagraph", "Paragraph", &TMainForm::cmdHTMLParagraphClick},
                    {"ToolItemsHTMLBreak", "Line Break", &TMainForm::cmdHTMLBreakClick},
                    {"ToolItemsHTMLHorizon", "Horizontal Rule", &TMainForm::cmdHTMLHorizonClick}});
    QMenu* align = AddMenu(html, QStringLiteral("ToolItemsHTMLAlign"), QStringLiteral("Align"));
    AddItems(align, {{"ToolItemsHTMLLeft", "Left", &TMainForm::cmdHTMLLeftClick},
                     {"ToolItemsHTMLCenter", "Center", &TMainForm::cmdHTMLCenterClick},
                     {"ToolItemsHTMLRight", "Right", &TMainForm::cmdHTMLRightClick}});
    QMenu* list = AddMenu(html, QStringLiteral("ToolItemsHTMLList"), QStringLiteral("List"));
    AddItems(list, {{"ToolItemsHTMLOList", "Ordered List", &TMainForm::cmdHTMLOListClick},
                    {"ToolItemsHTMLUOList", "Unordered List", &TMainForm::cmdHTMLUOListClick}});
    QMenu* headers = AddMenu(html, QStringLiteral("ToolItemsHTMLHeader"), QStringLiteral("Header (Hx)"));
    for (int tag = 0; tag < 6; ++tag) {
        QAction* item = AddItem(headers, QStringLiteral("ToolItemsHTMLHead%1").arg(tag + 1),
                                QStringLiteral("Header %1 <h%1>").arg(tag + 1), nullptr);
        item->setData(tag);
        connect(item, &QAction::triggered, this, [this, tag] { PopHead1Click(tag); });
    }
    html->addSeparator();
    AddItem(html, "ToolItemsHTMLTagsTemplate", "HTML Template", &TMainForm::ToolItemsHTMLTagsTemplateClick);

    QMenu* link = AddMenu(tools, QStringLiteral("ToolItemsLink"), QStringLiteral("Link"));
    AddItems(link, {{"ToolItemsLinkImage", "Image", &TMainForm::cmdHTMLImageClick},
                    {"ToolItemsLinkURL", "URL", &TMainForm::cmdHTMLLinkClick},
                    {"ToolItemsLinkMail", "E-mail", &TMainForm::cmdHTMLMailClick}});
    QMenu* form = AddMenu(tools, QStringLiteral("ToolItemsForm"), QStringLiteral("Form"));
    AddItems(form, {{"ToolItemsFormForm", "Form", &TMainForm::cmdHTMLFormClick},
                    {"ToolItemsFormButton", "Button", &TMainForm::cmdHTMLButtonClick},
                    {"ToolItemsFormImage", "Image Button", &TMainForm::cmdHTMLFormImageClick},
                    {"ToolItemsFormInput", "Input Field", &TMainForm::cmdHTMLInputClick},
                    {"ToolItemsFormRadio", "Radio box", &TMainForm::cmdHTMLRadioClick},
                    {"ToolItemsFormCheck", "Checkbox", &TMainForm::cmdHTMLCheckClick},
                    {"ToolItemsFormSelect", "Select", &TMainForm::cmdHTMLSelectClick},
                    {"ToolItemsFormText", "Text Area", &TMainForm::cmdHTMLTextClick}});
    QMenu* table = AddMenu(tools, QStringLiteral("ToolItemsTable"), QStringLiteral("Table"));
    AddItems(table, {{"ToolItemsTableTable", "Table", &TMainForm::cmdTableClick},
                     {"ToolItemsTableRow", "Table Row", &TMainForm::cmdTableRowClick},
                     {"ToolItemsTableCol", "Table Column", &TMainForm::cmdTableColClick}});
    AddItem(tools, "ToolItemsColor", "Color Palette...", &TMainForm::cmdHTMLColorClick);
    tools->addSeparator();

    QMenu* jsp = AddMenu(tools, QStringLiteral("ToolItemsJSP"), QStringLiteral("JSP Tags"));
    AddItems(jsp, {{"ToolItemsJSPFragment", "Fragment", &TMainForm::PopJSPFragmentClick},
                   {"ToolItemsJSPExpression", "Expression", &TMainForm::PopJSPExpressionClick},
                   {"ToolItemsJSPDeclaration", "Declaration", &TMainForm::PopJSPDeclaraionClick},
                   {"ToolItemsJSPDirective", "Page Directive", &TMainForm::PopJSPDirectiveClick},
                   {"ToolItemsJSPComment", "Comment", &TMainForm::PopJSPCommentClick},
                   {"ToolItemsJSPTag", "Just JSP Tag", &TMainForm::PopJSPTagClick},
                   {"ToolItemsJSPOutPut", "JSP Output", &TMainForm::PopJSPOutPutClick}});
    QMenu* java = AddMenu(tools, QStringLiteral("ToolItemsJava"), QStringLiteral("Java"));
    AddItems(java, {{"ToolItemsJavaCompile", "Applet Compile", &TMainForm::ToolItemsJavaCompileClick},
                    {"ToolItemsJavaRun", "Applet Run", &TMainForm::ToolItemsJavaRunClick}});
    java->addSeparator();
    AddItem(java, "ToolItemsJavaRunProgram", "Run Java Program", &TMainForm::ToolItemsJavaRunProgramClick,
            QKeySequence(Qt::CTRL | Qt::Key_F9));
    QMenu* javaPrint = AddMenu(tools, QStringLiteral("ToolItemsJavaPrint"), QStringLiteral("Java Print"));
    AddItems(javaPrint,
             {{"ToolItemsJavaWritePrintLine", "Insert - println", &TMainForm::ToolItemsJavaWritePrintLineClick},
              {"ToolItemsJavaWritePrintOnly", "Insert - print", &TMainForm::ToolItemsJavaWritePrintOnlyClick},
              {"ToolItemsJavaWriteClose", "Insert - close", &TMainForm::ToolItemsJavaWriteCloseClick},
              {"ToolItemsJavaWritePrintLineConvert", "Convert Lines to println",
               &TMainForm::ToolItemsJavaWritePrintLineConvertClick}});
    Action(QStringLiteral("ToolItemsJavaWritePrintLineConvert"))
        ->setStatusTip(QStringLiteral("Convert selected text to out - println"));
    tools->addSeparator();
    AddItem(tools, "ToolItemsBrowse", "Preview File with Browser...", &TMainForm::cmdBrowseClick);
    AddItem(tools, "ToolItemsRunBatch", "Run Batch Command...", &TMainForm::ToolItemsRunBatchClick);
    tools->addSeparator();

    // One check-marked item per tool bar; the bars are made later and the
    // enabling rule keeps the marks in step with them.
    QMenu* visible = AddMenu(tools, QStringLiteral("ToolItemsVisible"), QStringLiteral("Visible Tool Buttons"));
    static const std::pair<const char*, const char*> kBars[] = {{"ToolHTML", "HTML Elements"},
                                                                {"ToolForm", "Form Items"},
                                                                {"ToolTable", "Table Items"},
                                                                {"ToolBook", "Book Mark Items"},
                                                                {"ToolJSP", "JSP and Java Items"}};
    for (const auto& [bar, caption] : kBars) {
        const QString barName = QString::fromLatin1(bar);
        QAction* item = AddItem(visible, QStringLiteral("ToolItemsVisible") + barName.mid(4), caption, nullptr);
        item->setCheckable(true);
        item->setChecked(true);
        connect(item, &QAction::triggered, this, [this, barName] { ToolItemsVisibleClick(barName); });
    }
}

void TMainForm::CreateOptionsMenu()
{
    QMenu* options = AddMenu(nullptr, QStringLiteral("OptionItems"), QStringLiteral("&Options"));
    AddSchemeItems(AddMenu(options, QStringLiteral("OptionItemsSyntax"), QStringLiteral("Syntax Highlight")),
                   QStringLiteral("OptionItemsSyntax"));
    AddItem(options, "OptionItemsURL", "Highlight URLs", &TMainForm::OptionItemsURLClick)->setCheckable(true);
    AddItem(options, "OptionItemsWrap", "Wordwrap", &TMainForm::OptionItemsWrapClick)->setCheckable(true);
    // Folding works on the active document; its keys are the editor's.
    QMenu* folding = AddMenu(options, QStringLiteral("OptionItemsFold"), QStringLiteral("Folding"));
    static const std::pair<const char*, const char*> kFoldItems[] = {{"OptionItemsFoldFold", "&Fold"},
                                                                     {"OptionItemsFoldUnfold", "&Unfold"},
                                                                     {"OptionItemsFoldAll", "Fold &All"},
                                                                     {"OptionItemsFoldUnfoldAll", "U&nfold All"},
                                                                     {"OptionItemsFoldComments", "Fold All &Comments"}};
    static void (*const kFoldCommands[])(TCustomMemoSource&) = {
        [](TCustomMemoSource& s) { s.FoldAtCaret(); }, [](TCustomMemoSource& s) { s.UnfoldAtCaret(); },
        [](TCustomMemoSource& s) { s.FoldAll(); },     [](TCustomMemoSource& s) { s.UnfoldAll(); },
        [](TCustomMemoSource& s) { s.FoldAllComments(); }};
    for (size_t i = 0; i < std::size(kFoldItems); ++i) {
        QAction* item = AddItem(folding, kFoldItems[i].first, kFoldItems[i].second, nullptr);
        connect(item, &QAction::triggered, this, [this, command = kFoldCommands[i]] {
            if (TMemoSource* document = ActiveDocument())
                command(*document);
            UpdateEnabling();
        });
    }
    options->addSeparator();
    AddItem(options, "OptionItemsEditor", "Editor Options...", &TMainForm::OptionItemsEditorClick);
    AddItem(options, "OptionItemsPreferens", "Preferences...", &TMainForm::OptionItemsPreferensClick);
}

void TMainForm::CreatePopupMenu()
{
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("EditorPopup"));
    // The popup shows the Undo and Redo shortcuts of its menu-bar twins;
    // only the twins react to them, so no key is claimed twice.
    QAction* undo =
        AddItem(m_popup, "PopUndo", "&Undo", &TMainForm::EditItemsUndoClick, QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo->setShortcutContext(Qt::WidgetShortcut);
    QAction* redo = AddItem(m_popup, "PopRedo", "&Redo", &TMainForm::EditItemsRedoClick,
                            QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Z));
    redo->setShortcutContext(Qt::WidgetShortcut);
    m_popup->addSeparator();
    AddSchemeItems(AddMenu(m_popup, QStringLiteral("PopSyntax"), QStringLiteral("Syntax Highlight")),
                   QStringLiteral("PopSyntax"));
    m_popup->addSeparator();
    QMenu* selection = AddMenu(m_popup, QStringLiteral("PopSelection"), QStringLiteral("Selection"));
    AddItem(selection, "PopIndent", "Indent", &TMainForm::EditItemsSelectionIndentClick);
    AddItem(selection, "PopOutdent", "Outdent", &TMainForm::EditItemsSelectionOutdentClick);
    m_popup->addSeparator();
    AddItem(m_popup, "PopCut", "Cu&t", &TMainForm::EditItemsCutClick);
    AddItem(m_popup, "PopCopy", "&Copy", &TMainForm::EditItemsCopyClick);
    AddItem(m_popup, "PopPaste", "&Paste", &TMainForm::EditItemsPasteClick);
    m_popup->addSeparator();
    AddItem(m_popup, "PopClose", "Close Document", &TMainForm::FileItemsCloseClick);
}
