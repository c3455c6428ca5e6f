// The enabling rule, the check marks, the status bar and the simple editing
// and option commands that the rule follows.

#include "shellfixture.h"

#include <QLabel>
#include <QScrollBar>

namespace {

// The conditions of the rule for one state of the window.
struct Conditions {
    bool d = false, t = false, s = false, u = false, r = false, p = false, j = false, v = false, save = false,
         saveAll = false;
};

using Condition = bool Conditions::*;

// Every element of the rule with the condition that enables it.
const std::vector<std::pair<const char*, Condition>>& rule()
{
    static const std::vector<std::pair<const char*, Condition>> table = {
        {"FileItemsClose", &Conditions::d},        {"FileItemsCloseAll", &Conditions::d},
        {"FileItemsSaveAs", &Conditions::d},       {"SearchItemsBook", &Conditions::d},
        {"ToolItemsColor", &Conditions::d},        {"ToolItemsHTMLTags", &Conditions::d},
        {"ToolItemsLink", &Conditions::d},         {"ToolItemsForm", &Conditions::d},
        {"ToolItemsTable", &Conditions::d},        {"ToolItemsBrowse", &Conditions::d},
        {"OptionItemsSyntax", &Conditions::d},     {"OptionItemsSyntaxNone", &Conditions::d},
        {"OptionItemsSyntaxJSP", &Conditions::d},  {"OptionItemsSyntaxJava", &Conditions::d},
        {"OptionItemsSyntaxBatch", &Conditions::d}, {"OptionItemsSyntaxShell", &Conditions::d},
        {"PopSyntaxXML", &Conditions::d},          {"OptionItemsWrap", &Conditions::d},
        {"OptionItemsURL", &Conditions::d},        {"PopSyntax", &Conditions::d},
        {"PopClose", &Conditions::d},              {"cmdWrap", &Conditions::d},
        {"cmdClose", &Conditions::d},              {"cmdHTMLImage", &Conditions::d},
        {"cmdHTMLBold", &Conditions::d},           {"cmdHTMLHead", &Conditions::d},
        {"cmdHTMLColor", &Conditions::d},          {"cmdHTMLForm", &Conditions::d},
        {"cmdHTMLText", &Conditions::d},           {"cmdTable", &Conditions::d},
        {"cmdTableCol", &Conditions::d},           {"cmdAddBook", &Conditions::d},
        {"cmdGoBook", &Conditions::d},

        {"FileItemsSave", &Conditions::save},      {"FileItemsSaveAll", &Conditions::saveAll},
        {"cmdSave", &Conditions::save},

        {"FileItemsPrint", &Conditions::t},        {"FileItemsSaveTemplate", &Conditions::t},
        {"EditItemsSelectAll", &Conditions::t},    {"EditItemsCharLowerLine", &Conditions::t},
        {"EditItemsCharUpperLine", &Conditions::t}, {"EditItemsCharToggle", &Conditions::t},
        {"SearchItemsFind", &Conditions::t},       {"SearchItemsFindAgain", &Conditions::t},
        {"SearchItemsReplace", &Conditions::t},    {"SearchItemsLine", &Conditions::t},
        {"cmdSearch", &Conditions::t},             {"cmdPrint", &Conditions::t},

        {"EditItemsCut", &Conditions::s},          {"EditItemsCopy", &Conditions::s},
        {"EditItemsDelete", &Conditions::s},       {"EditItemsAtoO", &Conditions::s},
        {"EditItemsOtoA", &Conditions::s},         {"EditItemsCharLower", &Conditions::s},
        {"EditItemsCharUpper", &Conditions::s},    {"EditItemsSelection", &Conditions::s},
        {"PopSelection", &Conditions::s},          {"PopCut", &Conditions::s},
        {"PopCopy", &Conditions::s},               {"cmdCut", &Conditions::s},
        {"cmdCopy", &Conditions::s},

        {"EditItemsUndo", &Conditions::u},         {"PopUndo", &Conditions::u},
        {"cmdUndo", &Conditions::u},
        {"EditItemsRedo", &Conditions::r},         {"cmdRedo", &Conditions::r},
        {"EditItemsPaste", &Conditions::p},        {"PopPaste", &Conditions::p},
        {"cmdPaste", &Conditions::p},

        {"ToolItemsJSP", &Conditions::j},          {"cmdJSP", &Conditions::j},
        {"cmdBrowse", &Conditions::j},
        {"ToolItemsJava", &Conditions::v},         {"ToolItemsJavaPrint", &Conditions::v},
        {"cmdJava", &Conditions::v},               {"cmdRun", &Conditions::v},
        {"ToolItemsJavaRunProgram", &Conditions::v}, {"cmdRunJava", &Conditions::v},
    };
    return table;
}

} // namespace

class EnablingTest : public ShellTest {
protected:
    void ExpectRule(const Conditions& c, const char* state)
    {
        for (const auto& [name, condition] : rule()) {
            if (QAction* action = Item(name)) {
                EXPECT_EQ(action->isEnabled(), c.*condition) << name << " in state: " << state;
            }
        }
        for (const char* always : {"cmdNew", "cmdOpen", "FileItemsNew", "FileItemsOpen"})
            EXPECT_TRUE(Item(always)->isEnabled()) << always << " in state: " << state;
    }
};

TEST_F(EnablingTest, EveryElementFollowsItsConditionRowByRow)
{
    Conditions c;
    c.d = c.save = c.saveAll = c.j = true;
    ExpectRule(c, "empty untitled JSP document");

    ClickButton("cmdClose");
    ExpectRule(Conditions{}, "no document");

    // A byte that is no UTF-8 keeps the file in Windows-1252, where the OEM
    // conversions are offered.
    const QString java = MakeFile("Hello.java", "class Hello {} // \xE9\n");
    Open(java);
    c = Conditions{};
    c.d = c.t = c.v = true;
    ExpectRule(c, "saved Java document");

    TMemoSource* document = form->ActiveDocument();
    document->SetSelection({0, 0}, {0, 5});
    c.s = true;
    ExpectRule(c, "selection");

    document->ClearSelection();
    document->InsertText("x");
    c.s = false;
    c.u = c.save = c.saveAll = true;
    ExpectRule(c, "after typing");

    ClickButton("cmdUndo");
    c.u = false;
    c.r = true;
    c.save = c.saveAll = false;
    ExpectRule(c, "after undo");

    services.SetClipboardText("clip");
    form->OptionItemsSyntaxNoneClick(1);
    c.p = c.j = true;
    c.v = false;
    ExpectRule(c, "clipboard text, JSP scheme");

    form->OptionItemsSyntaxNoneClick(3);
    c.j = false;
    ExpectRule(c, "batch scheme");
}

TEST_F(EnablingTest, SaveAllLooksAtEveryDocumentAndSaveAtTheShownOne)
{
    // The start's untouched "Untitled1" has no folder: it alone enables Save
    // All.
    EXPECT_TRUE(Item("FileItemsSaveAll")->isEnabled());
    form->FileItemsCloseClick();
    const QString first = MakeFile("First.java", "class First {}\n");
    const QString second = MakeFile("Second.java", "class Second {}\n");
    Open(first);
    Open(second);
    form->ActiveDocument()->InsertText("// changed\n");
    form->ActivateDocument(0);
    ASSERT_EQ(form->ActiveDocument()->FileName(), first);
    EXPECT_FALSE(Item("FileItemsSave")->isEnabled());
    EXPECT_TRUE(Item("FileItemsSaveAll")->isEnabled());

    Item("FileItemsSaveAll")->trigger();
    EXPECT_EQ(ReadFile(second), "// changed\nclass Second {}\n");
    EXPECT_FALSE(Item("FileItemsSaveAll")->isEnabled());

    // A document never saved counts too, wherever it is.
    Item("FileItemsNew")->trigger();
    form->ActivateDocument(0);
    EXPECT_FALSE(Item("FileItemsSave")->isEnabled());
    EXPECT_TRUE(Item("FileItemsSaveAll")->isEnabled());
}

TEST_F(EnablingTest, CopyEnablesPasteAtOnce)
{
    TMemoSource* document = form->ActiveDocument();
    document->InsertText("copy me");
    document->SelectAll();
    EXPECT_FALSE(Item("cmdPaste")->isEnabled());
    ClickButton("cmdCopy");
    EXPECT_EQ(services.ClipboardText(), "copy me");
    EXPECT_TRUE(Item("cmdPaste")->isEnabled());
    EXPECT_TRUE(Item("EditItemsPaste")->isEnabled());
}

TEST_F(EnablingTest, CutPasteDeleteAndUndoActOnTheActiveDocument)
{
    TMemoSource* document = form->ActiveDocument();
    document->InsertText("abc def");
    document->SetSelection({0, 0}, {0, 4});
    ClickButton("cmdCut");
    EXPECT_EQ(document->Lines().Get(0), "def");
    EXPECT_EQ(services.ClipboardText(), "abc ");
    EXPECT_FALSE(Item("cmdCut")->isEnabled());

    document->MoveCaretTo({0, 3});
    ClickButton("cmdPaste");
    EXPECT_EQ(document->Lines().Get(0), "defabc ");

    document->SetSelection({0, 0}, {0, 3});
    Item("EditItemsDelete")->trigger();
    EXPECT_EQ(document->Lines().Get(0), "abc ");

    ClickButton("cmdUndo");
    EXPECT_EQ(document->Lines().Get(0), "defabc ");
    ClickButton("cmdRedo");
    EXPECT_EQ(document->Lines().Get(0), "abc ");

    Item("EditItemsSelectAll")->trigger();
    EXPECT_EQ(document->SelectedText(), "abc ");
}

TEST_F(EnablingTest, SchemeItemsOfMenuAndPopupMarkTheActiveScheme)
{
    const char* captions[] = {"None", "JSP", "Java", "Batch", "XML", "CSS",
                              "JavaScript", "JSON", "Properties", "SQL", "Shell"};
    const char* components[] = {"", "TarnelParser", "JavaParser", "BatParser", "XmlParser", "CssParser",
                                "JavaScriptParser", "JsonParser", "PropertiesParser", "SqlParser", "ShellParser"};
    auto menu = [&](int tag) { return Item(("OptionItemsSyntax" + std::string(captions[tag])).c_str()); };
    auto popup = [&](int tag) { return Item(("PopSyntax" + std::string(captions[tag])).c_str()); };
    for (int tag : {2, 3, 0, 1, 4, 7, 10, 5, 6, 8, 9}) {
        // The popup's items run the same handler as the menu's.
        (tag % 2 ? menu(tag) : popup(tag))->trigger();
        const TSyntaxParser* parser = SchemeOf(form->ActiveDocument());
        EXPECT_EQ(parser ? parser->Name().toStdString() : std::string(), components[tag]);
        EXPECT_EQ(menu(tag)->text(), captions[tag]);
        for (int other = 0; other < 11; ++other) {
            EXPECT_EQ(menu(other)->isChecked(), other == tag) << tag << " " << other;
            EXPECT_EQ(popup(other)->isChecked(), other == tag) << tag << " " << other;
        }
    }
}

TEST_F(EnablingTest, WordwrapWrapsEveryDocumentAndTheOnesOpenedLater)
{
    TDCMemo* editor = form->TarnelEditor();
    const QByteArray paragraph = "<p>" + QByteArray("Some words of a long paragraph. ").repeated(20) + "</p>\n";
    Open(MakeFile(QStringLiteral("first.htm"), paragraph));
    EXPECT_EQ(editor->ScrollBars(), ssBoth);
    EXPECT_EQ(editor->RowsOfLine(0), 1);
    ClickButton("cmdWrap");
    EXPECT_TRUE(editor->WordWrap());
    EXPECT_GT(editor->RowsOfLine(0), 3);
    EXPECT_EQ(editor->ScrollBars(), ssVertical);
    EXPECT_FALSE(editor->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(Item("OptionItemsWrap")->isChecked());

    // Wrap belongs to the editor: a document opened later is wrapped too,
    // and so is the first one when its tab comes back.
    Open(MakeFile(QStringLiteral("second.htm"), "<h1>Title</h1>\n" + paragraph));
    EXPECT_TRUE(Item("OptionItemsWrap")->isChecked());
    EXPECT_GT(editor->RowsOfLine(1), 3);
    ClickTab(Captions().indexOf(QStringLiteral("first.htm")));
    EXPECT_EQ(form->ActiveDocument()->FileName(), files.filePath(QStringLiteral("first.htm")));
    EXPECT_GT(editor->RowsOfLine(0), 3);

    Item("OptionItemsWrap")->trigger();
    EXPECT_FALSE(editor->WordWrap());
    EXPECT_EQ(editor->RowsOfLine(0), 1);
    EXPECT_EQ(editor->ScrollBars(), ssBoth);
    EXPECT_FALSE(Item("OptionItemsWrap")->isChecked());
    ClickTab(Captions().indexOf(QStringLiteral("second.htm")));
    EXPECT_EQ(editor->RowsOfLine(1), 1);
}

TEST_F(EnablingTest, HighlightURLsOnlySwitchesOn)
{
    TMemoSource* document = form->ActiveDocument();
    EXPECT_FALSE(Item("OptionItemsURL")->isChecked());
    Item("OptionItemsURL")->trigger();
    EXPECT_TRUE(document->HighlightUrls());
    EXPECT_TRUE(Item("OptionItemsURL")->isChecked());
    Item("OptionItemsURL")->trigger();
    EXPECT_TRUE(document->HighlightUrls());
    EXPECT_TRUE(Item("OptionItemsURL")->isChecked());

    form->FileItemsNewClick();
    EXPECT_FALSE(Item("OptionItemsURL")->isChecked());
}

TEST_F(EnablingTest, ClosingAToolBarClearsItsVisibleMark)
{
    QToolBar* bar = form->ToolBar("ToolForm");
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(Item("ToolItemsVisibleForm")->isChecked());
    QWidget* closeBox = bar->widgetForAction(form->findChild<QAction*>("ToolFormClose"));
    ASSERT_NE(closeBox, nullptr);
    QTest::mouseClick(closeBox, Qt::LeftButton);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_FALSE(Item("ToolItemsVisibleForm")->isChecked());
    EXPECT_TRUE(Item("ToolItemsVisibleHTML")->isChecked());

    Item("ToolItemsVisibleForm")->trigger();
    EXPECT_FALSE(bar->isHidden());
    EXPECT_TRUE(Item("ToolItemsVisibleForm")->isChecked());
    Item("ToolItemsVisibleJSP")->trigger();
    EXPECT_TRUE(form->ToolBar("ToolJSP")->isHidden());
    EXPECT_FALSE(Item("ToolItemsVisibleJSP")->isChecked());
}

TEST_F(EnablingTest, ToolBarsStartAtTheTopAndDockOnAnySide)
{
    for (const char* name : {"ToolHTML", "ToolForm", "ToolTable", "ToolBook", "ToolJSP"}) {
        QToolBar* bar = form->ToolBar(name);
        ASSERT_NE(bar, nullptr) << name;
        EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas) << name;
        EXPECT_EQ(form->toolBarArea(bar), Qt::TopToolBarArea) << name;
    }
    EXPECT_EQ(form->ToolBar("ToolBook")->windowTitle(), QStringLiteral("Bookmark"));
    QWidget* save = form->findChild<QToolBar*>("ButtonBar")->widgetForAction(Item("cmdSave"));
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->size(), QSize(24, 23));
    EXPECT_EQ(Item("cmdSave")->toolTip(), QStringLiteral("Save File"));
    EXPECT_EQ(Item("cmdSave")->statusTip(), QStringLiteral("Save change"));
}

TEST_F(EnablingTest, StatusBarShowsCaretStateModeAndHint)
{
    TMemoSource* document = form->ActiveDocument();
    EXPECT_EQ(form->StatusPanel(0)->text(), QStringLiteral("1: 1"));
    EXPECT_EQ(form->StatusPanel(1)->text(), QString());
    EXPECT_EQ(form->StatusPanel(2)->text(), QStringLiteral("Insert"));

    document->InsertText("ab\ncd");
    EXPECT_EQ(form->StatusPanel(0)->text(), QStringLiteral("2: 3"));
    EXPECT_EQ(form->StatusPanel(1)->text(), QStringLiteral("Modified"));
    document->SetReadOnly(true);
    EXPECT_EQ(form->StatusPanel(1)->text(), QStringLiteral("Read Only"));
    document->SetReadOnly(false);

    TCustomMemoSource::SetOverwriteMode(true);
    document->MoveCaretTo({0, 0});
    EXPECT_EQ(form->StatusPanel(0)->text(), QStringLiteral("1: 1"));
    EXPECT_EQ(form->StatusPanel(2)->text(), QStringLiteral("Overwrite"));
    TCustomMemoSource::SetOverwriteMode(false);

    // The long part of a hint goes to the last panel.
    QWidget* button = form->findChild<QToolBar*>("ButtonBar")->widgetForAction(Item("cmdOpen"));
    Item("cmdOpen")->showStatusText(button);
    EXPECT_EQ(form->StatusPanel(3)->text(), QStringLiteral("Open a document"));
    EXPECT_EQ(form->statusBar()->currentMessage(), QString());
}
