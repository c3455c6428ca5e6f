// The button bar and the five tool bars of the main window, with their hints
// and handlers.

#include "mainform.h"

#include "barimages.h"
#include "bookmarkmenus.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

using THandler = void (TMainForm::*)();

namespace {

// Hints are written "short part|long part": the short one is the tool tip,
// the long one goes to the status bar. Without a "|" both are the whole.
void setHint(QAction* action, const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

} // namespace

QAction* TMainForm::AddButton(QToolBar* bar, const QString& name, const QString& hint, THandler handler)
{
    QAction* action = AddItem(nullptr, name, hint.section(u'|', 0, 0), handler);
    setHint(action, hint);
    action->setIcon(BarImages::Icon(name));
    bar->addAction(action);
    if (QWidget* button = bar->widgetForAction(action))
        button->setFixedSize(24, 23);
    return action;
}

QToolBar* TMainForm::AddToolBar(const QString& name, const QString& caption)
{
    auto* bar = new QToolBar(caption, this);
    bar->setObjectName(name);
    // Any side of the window; where a bar was left is kept between runs.
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    bar->setMovable(true);
    bar->setFloatable(true);
    bar->setIconSize(QSize(16, 16));
    addToolBar(Qt::TopToolBarArea, bar);
    m_toolBars.insert(name, bar);

    // The close box: hiding a bar this way clears its "Visible Tool Buttons"
    // mark at the next enabling pass, which its visibility change starts.
    auto* close = new QAction(BarImages::Icon(QStringLiteral("ToolBarClose")), QStringLiteral("Close"), bar);
    close->setObjectName(name + QStringLiteral("Close"));
    close->setToolTip(QStringLiteral("Close %1").arg(caption));
    connect(close, &QAction::triggered, bar, &QWidget::hide);
    bar->addAction(close);
    if (QWidget* button = bar->widgetForAction(close))
        button->setFixedSize(14, 23);
    connect(bar, &QToolBar::visibilityChanged, this, [this] { UpdateEnabling(); });
    return bar;
}

void TMainForm::CreateButtonBar()
{
    auto* bar = new QToolBar(QStringLiteral("Buttons"), this);
    bar->setObjectName(QStringLiteral("ButtonBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setAllowedAreas(Qt::TopToolBarArea);
    bar->setIconSize(QSize(16, 16));
    addToolBar(Qt::TopToolBarArea, bar);
    static const TCommand kButtons[] = {
        {"cmdNew", "New Document|Create a new document", &TMainForm::FileItemsNewClick},
        {"cmdOpen", "Open Document|Open a document", &TMainForm::FileItemsOpenClick},
        {"cmdClose", "Close Document|Close an active document", &TMainForm::FileItemsCloseClick},
        {"cmdSave", "Save File|Save change", &TMainForm::FileItemsSaveClick},
        {nullptr, nullptr, nullptr},
        {"cmdSearch", "Search|Search Text", &TMainForm::SearchItemsFindClick},
        {"cmdPrint", "Print|Print an active document", &TMainForm::FileItemsPrintClick},
        {nullptr, nullptr, nullptr},
        {"cmdUndo", "Undo|Undo the last operation", &TMainForm::EditItemsUndoClick},
        {"cmdRedo", "Redo|Redo the last Undo", &TMainForm::EditItemsRedoClick},
        {nullptr, nullptr, nullptr},
        {"cmdCut", "Cut|Cut selected text", &TMainForm::EditItemsCutClick},
        {"cmdCopy", "Copy|Copy selected text", &TMainForm::EditItemsCopyClick},
        {"cmdPaste", "Paste|Paste text into editor", &TMainForm::EditItemsPasteClick},
        {nullptr, nullptr, nullptr},
        {"cmdWrap", "Word wrap|Toggle word wrap", &TMainForm::OptionItemsWrapClick},
        {"cmdRun", "Run|Compile and run", &TMainForm::ToolItemsJavaRunClick},
        {"cmdRunJava", "Run Java Program|Run the Java program and show its output", &TMainForm::ToolItemsJavaRunProgramClick},
        {"cmdBrowse", "Preview|Preview an active document with web browser", &TMainForm::cmdBrowseClick},
    };
    for (const TCommand& button : kButtons) {
        if (button.name)
            AddButton(bar, button.name, button.text, button.handler);
        else
            bar->addSeparator();
    }
    addToolBarBreak(Qt::TopToolBarArea);
}

void TMainForm::CreateToolBars()
{
    auto addButtons = [this](QToolBar* bar, std::initializer_list<TCommand> buttons) {
        for (const TCommand& button : buttons)
            m_documentBarButtons.append(AddButton(bar, button.name, button.text, button.handler));
    };
    // A button that opens a menu of items; the items are made by the caller.
    auto addDropDown = [this](QToolBar* bar, const QString& name, const QString& hint, const QString& menuName) {
        QAction* action = AddButton(bar, name, hint, nullptr);
        auto* menu = new QMenu(this);
        menu->setObjectName(menuName);
        m_menus.insert(menuName, menu);
        action->setMenu(menu);
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
            button->setPopupMode(QToolButton::InstantPopup);
            button->setFixedSize(32, 23);
        }
        return action;
    };

    QToolBar* html = AddToolBar(QStringLiteral("ToolHTML"), QStringLiteral("HTML Elements"));
    addButtons(html, {{"cmdHTMLImage", "Image|Insert Image Tag", &TMainForm::cmdHTMLImageClick},
                      {"cmdHTMLLink", "URL|Insert Link Tag", &TMainForm::cmdHTMLLinkClick},
                      {"cmdHTMLMail", "E-Mail|Insert E-Mail Link Tag", &TMainForm::cmdHTMLMailClick},
                      {"cmdHTMLBold", "Bold|Insert Bold Tag", &TMainForm::cmdHTMLBoldClick},
                      {"cmdHTMLItalic", "Italic|Insert Italic Tag", &TMainForm::cmdHTMLItalicClick},
                      {"cmdHTMLUnderline", "Underline|Insert Underline Tag", &TMainForm::cmdHTMLUnderlineClick},
                      {"cmdHTMLParagraph", "Paragraph|Insert Paragraph Tag", &TMainForm::cmdHTMLParagraphClick},
                      {"cmdHTMLBreak", "Break|Insert Line Break Tag", &TMainForm::cmdHTMLBreakClick},
                      {"cmdHTMLHorizon", "Horizontal Rule|Insert Horizontal Rule", &TMainForm::cmdHTMLHorizonClick},
                      {"cmdHTMLLeft", "Align Left|Insert Align Left Tag", &TMainForm::cmdHTMLLeftClick},
                      {"cmdHTMLCenter", "Align Center|Insert Align Center Tag", &TMainForm::cmdHTMLCenterClick},
                      {"cmdHTMLRight", "Align Right|Insert Align Right Tag", &TMainForm::cmdHTMLRightClick},
                      {"cmdHTMLOList", "Ordered List|Insert Ordered List", &TMainForm::cmdHTMLOListClick},
                      {"cmdHTMLUOList", "Unordered List|Insert Unordered List Tag", &TMainForm::cmdHTMLUOListClick}});
    QAction* head = addDropDown(html, QStringLiteral("cmdHTMLHead"), QStringLiteral("Header|Insert Header Tag"),
                                QStringLiteral("PopHead"));
    m_documentBarButtons.append(head);
    for (int tag = 0; tag < 6; ++tag) {
        QAction* item = AddItem(head->menu(), QStringLiteral("PopHead%1").arg(tag + 1),
                                QStringLiteral("Header %1 <h%1>").arg(tag + 1), nullptr);
        item->setData(tag);
        connect(item, &QAction::triggered, this, [this, tag] { PopHead1Click(tag); });
    }
    addButtons(html, {{"cmdHTMLColor", "Color Palette|Pick up Color Dialog", &TMainForm::cmdHTMLColorClick}});

    QToolBar* form = AddToolBar(QStringLiteral("ToolForm"), QStringLiteral("Form Items"));
    addButtons(form, {{"cmdHTMLForm", "Form|Insert Form Tag", &TMainForm::cmdHTMLFormClick},
                      {"cmdHTMLButton", "Button|Insert Form Button Tag", &TMainForm::cmdHTMLButtonClick},
                      {"cmdHTMLFormImage", "Form Image|Insert Form Image Tag", &TMainForm::cmdHTMLFormImageClick},
                      {"cmdHTMLInput", "Input Field|Insert Input Field Tag", &TMainForm::cmdHTMLInputClick},
                      {"cmdHTMLRadio", "Radio Item|Insert Radio Item Tag", &TMainForm::cmdHTMLRadioClick},
                      {"cmdHTMLCheck", "Checkbox|Insert Checkbox Tag", &TMainForm::cmdHTMLCheckClick},
                      {"cmdHTMLSelect", "Select|Insert Select Tag", &TMainForm::cmdHTMLSelectClick},
                      {"cmdHTMLText", "Textarea|Insert Textarea Tag", &TMainForm::cmdHTMLTextClick}});

    QToolBar* table = AddToolBar(QStringLiteral("ToolTable"), QStringLiteral("Table Items"));
    addButtons(table, {{"cmdTable", "Table|Insert Table Tag", &TMainForm::cmdTableClick},
                       {"cmdTableRow", "Row|Insert Table Row Tag", &TMainForm::cmdTableRowClick},
                       {"cmdTableCol", "Column|Insert Table Column Tag", &TMainForm::cmdTableColClick}});

    // Bookmarks: the add menu's marks and the go menu's enabled flags belong
    // to the window; every go item starts disabled.
    QToolBar* book = AddToolBar(QStringLiteral("ToolBook"), QStringLiteral("Bookmark"));
    QAction* add = addDropDown(book, QStringLiteral("cmdAddBook"), QStringLiteral("Add a book mark"),
                               QStringLiteral("PopAddBook"));
    QAction* go = addDropDown(book, QStringLiteral("cmdGoBook"), QStringLiteral("Go to book mark"),
                              QStringLiteral("PopGoBook"));
    m_documentBarButtons.append(add);
    m_documentBarButtons.append(go);
    QList<QAction*> addItems;
    QList<QAction*> goItems;
    for (int digit = 0; digit < 10; ++digit) {
        const int tag = digit + 1;
        const QString caption = QStringLiteral("Book Mark %1").arg(digit);
        QAction* addItem = AddItem(add->menu(), QStringLiteral("PopAddBook%1").arg(digit), caption, nullptr);
        addItem->setCheckable(true);
        addItem->setData(tag);
        connect(addItem, &QAction::triggered, this, [this, tag] { BookMark02Click(tag); });
        QAction* goItem = AddItem(go->menu(), QStringLiteral("PopGoBook%1").arg(digit), caption, nullptr);
        goItem->setData(tag);
        connect(goItem, &QAction::triggered, this, [this, tag] { BookMark01Click(tag); });
        addItems.append(addItem);
        goItems.append(goItem);
    }
    m_bookmarkMenus = std::make_unique<TBookmarkMenus>(addItems, goItems);
    connect(go->menu(), &QMenu::aboutToShow, this, &TMainForm::PopGoBookPopup);

    QToolBar* jsp = AddToolBar(QStringLiteral("ToolJSP"), QStringLiteral("JSP and Java Items"));
    QAction* jspTags = addDropDown(jsp, QStringLiteral("cmdJSP"), QStringLiteral("JSP Tag"), QStringLiteral("PopJSP"));
    AddItems(jspTags->menu(), {{"PopJSPFragment", "code fragment", &TMainForm::PopJSPFragmentClick},
                               {"PopJSPExpression", "expression", &TMainForm::PopJSPExpressionClick},
                               {"PopJSPDeclaraion", "declaration", &TMainForm::PopJSPDeclaraionClick},
                               {"PopJSPDirective", "page directive", &TMainForm::PopJSPDirectiveClick},
                               {"PopJSPComment", "Comment", &TMainForm::PopJSPCommentClick},
                               {"PopJSPTag", "JSP Tags", &TMainForm::PopJSPTagClick},
                               {"PopJSPOutPut", "JSP Output", &TMainForm::PopJSPOutPutClick}});
    QAction* java =
        addDropDown(jsp, QStringLiteral("cmdJava"), QStringLiteral("Java Out Print"), QStringLiteral("PopJava"));
    AddItems(java->menu(),
             {{"PopJavaPrintLine", "Insert - println", &TMainForm::ToolItemsJavaWritePrintLineClick},
              {"PopJavaPrintOnly", "Insert - print", &TMainForm::ToolItemsJavaWritePrintOnlyClick},
              {"PopJavaClose", "Insert - close", &TMainForm::ToolItemsJavaWriteCloseClick},
              {"PopJavaConvert", "Convert Selected Lines to println",
               &TMainForm::ToolItemsJavaWritePrintLineConvertClick}});
    Action(QStringLiteral("PopJavaConvert"))->setStatusTip(QStringLiteral("Convert selected text to out - println"));
}
