// The snippet commands and the text commands as the user meets them: menu
// items and tool-bar buttons of a real main window, checked by the text, the
// caret and the selection they leave, and by one Undo taking each back.

#include "shellfixture.h"

#include <QApplication>
#include <QProcess>

namespace {

// What a document shows: its lines joined by "\n", with "|" at the caret
// and "[" "]" around the selection.
struct Shown {
    QByteArray text;
    TTextPos caret;
    bool selected = false;
    TTextPos begin, end;
};

Shown parse(const char* marked)
{
    Shown shown;
    TTextPos at;
    for (const char* c = marked; *c; ++c) {
        switch (*c) {
        case '|': shown.caret = at; break;
        case '[': shown.selected = true; shown.begin = at; break;
        case ']': shown.end = at; break;
        case '\n':
            shown.text += *c;
            at = {at.line + 1, 0};
            break;
        default:
            shown.text += *c;
            ++at.column;
        }
    }
    return shown;
}

QByteArray textOf(const TCustomMemoSource& document)
{
    QByteArray text;
    for (int line = 0; line < document.LineCount(); ++line)
        text += (line ? "\n" : "") + document.LineText(line);
    return text;
}

class SnippetTest : public ShellTest {
protected:
    TMemoSource* Document() const { return form->ActiveDocument(); }

    void ExpectShown(const char* marked, const std::string& context)
    {
        const Shown expected = parse(marked);
        const TMemoSource* document = Document();
        EXPECT_EQ(textOf(*document), expected.text) << context;
        EXPECT_EQ(document->Caret(), expected.caret) << context;
        EXPECT_EQ(document->HasSelection(), expected.selected) << context;
        if (expected.selected && document->HasSelection()) {
            EXPECT_EQ(document->BlockBegin(), expected.begin) << context;
            EXPECT_EQ(document->BlockEnd(), expected.end) << context;
        }
    }

    void Type(const char* keys) { QTest::keyClicks(form->TarnelEditor(), QString::fromLatin1(keys)); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(form->TarnelEditor(), key, modifiers);
    }

    // Runs a command the way the user does: a bar's button is clicked, a menu
    // item (or a drop-down's item) triggered. The editor has lost the focus
    // before, and must have it back after.
    void Run(const char* name)
    {
        form->TarnelEditor()->clearFocus();
        if (QString::fromLatin1(name).startsWith(u"cmd"))
            ClickButton(name);
        else
            Item(name)->trigger();
        EXPECT_EQ(QApplication::focusWidget(), form->TarnelEditor()) << name;
    }

    void Undo() { Item("EditItemsUndo")->trigger(); }
};

struct SnippetRow {
    const char* menuItem;
    const char* button; // a bar button or a drop-down's item
    const char* hint;   // the button's "short|long" hint, when it is a button
    bool java;          // the Java items are offered for Java documents
    const char* shown;  // after the command, in a line "x" with the caret behind the x
};

// Every row of the snippet table.
const SnippetRow kSnippetRows[] = {
    {"ToolItemsFormForm", "cmdHTMLForm", "Form|Insert Form Tag", false,
     "x<form action=\"myscript.jsp\" method=\"post\"></form>|"},
    {"ToolItemsFormButton", "cmdHTMLButton", "Button|Insert Form Button Tag", false, "x<input type=\"submit\">|"},
    {"ToolItemsFormImage", "cmdHTMLFormImage", "Form Image|Insert Form Image Tag", false,
     "x<input type=image src=\"image.gif\" name=\"sub\">|"},
    {"ToolItemsFormInput", "cmdHTMLInput", "Input Field|Insert Input Field Tag", false, "x<input type=\"text\">|"},
    {"ToolItemsFormRadio", "cmdHTMLRadio", "Radio Item|Insert Radio Item Tag", false, "x<input type=\"radio\">|"},
    {"ToolItemsFormCheck", "cmdHTMLCheck", "Checkbox|Insert Checkbox Tag", false, "x<input type=\"checkbox\">|"},
    {"ToolItemsFormSelect", "cmdHTMLSelect", "Select|Insert Select Tag", false, "x<Select size=1>|"},
    {"ToolItemsFormText", "cmdHTMLText", "Textarea|Insert Textarea Tag", false,
     "x<textarea rows=0 cols=0 wrap=\"off\">|</textarea>"},
    {"ToolItemsLinkImage", "cmdHTMLImage", "Image|Insert Image Tag", false,
     "x<img src=\"\" width=\"\" height=\"\" alt=\"\" border=0>|"},
    {"ToolItemsLinkURL", "cmdHTMLLink", "URL|Insert Link Tag", false, "x<a href=\"\">|</a>"},
    {"ToolItemsLinkMail", "cmdHTMLMail", "E-Mail|Insert E-Mail Link Tag", false, "x<a href=\"mailto:\">|</a>"},
    {"ToolItemsHTMLBold", "cmdHTMLBold", "Bold|Insert Bold Tag", false, "x<b>|</b>"},
    {"ToolItemsHTMLItalic", "cmdHTMLItalic", "Italic|Insert Italic Tag", false, "x<i>|</i>"},
    {"ToolItemsHTMLUnderline", "cmdHTMLUnderline", "Underline|Insert Underline Tag", false, "x<u>|</u>"},
    {"ToolItemsHTMLParagraph", "cmdHTMLParagraph", "Paragraph|Insert Paragraph Tag", false, "x<p>|</p>"},
    {"ToolItemsHTMLBreak", "cmdHTMLBreak", "Break|Insert Line Break Tag", false, "x<br>|"},
    {"ToolItemsHTMLHorizon", "cmdHTMLHorizon", "Horizontal Rule|Insert Horizontal Rule", false, "x<hr>|"},
    {"ToolItemsHTMLLeft", "cmdHTMLLeft", "Align Left|Insert Align Left Tag", false, "x<div align=\"left\">|</div>"},
    {"ToolItemsHTMLCenter", "cmdHTMLCenter", "Align Center|Insert Align Center Tag", false,
     "x<div align=\"center\">|</div>"},
    {"ToolItemsHTMLRight", "cmdHTMLRight", "Align Right|Insert Align Right Tag", false,
     "x<div align=\"right\">|</div>"},
    {"ToolItemsHTMLOList", "cmdHTMLOList", "Ordered List|Insert Ordered List", false, "x<ol>|</ol>"},
    {"ToolItemsHTMLUOList", "cmdHTMLUOList", "Unordered List|Insert Unordered List Tag", false, "x<ul>|</ul>"},
    {"ToolItemsHTMLHead1", "PopHead1", nullptr, false, "x<h1>|</h1>"},
    {"ToolItemsHTMLHead2", "PopHead2", nullptr, false, "x<h2>|</h2>"},
    {"ToolItemsHTMLHead3", "PopHead3", nullptr, false, "x<h3>|</h3>"},
    {"ToolItemsHTMLHead4", "PopHead4", nullptr, false, "x<h4>|</h4>"},
    {"ToolItemsHTMLHead5", "PopHead5", nullptr, false, "x<h5>|</h5>"},
    {"ToolItemsHTMLHead6", "PopHead6", nullptr, false, "x<h6>|</h6>"},
    {"ToolItemsTableTable", "cmdTable", "Table|Insert Table Tag", false,
     "x<TABLE BORDER=\"0\" WIDTH=\"100%\">\n   <TR>\n       <TD>&nbsp;</TD>\n   </TR>\n</TABLE>|"},
    {"ToolItemsTableRow", "cmdTableRow", "Row|Insert Table Row Tag", false,
     "x<TR>\n    <TD>&nbsp;</TD>\n</TR>|"},
    {"ToolItemsTableCol", "cmdTableCol", "Column|Insert Table Column Tag", false, "x<TD>&nbsp;</TD>|"},
    {"ToolItemsJavaWritePrintLine", "PopJavaPrintLine", nullptr, true, "xout.println(\"|\");"},
    {"ToolItemsJavaWritePrintOnly", "PopJavaPrintOnly", nullptr, true, "xout.print(\"|\");"},
    {"ToolItemsJavaWriteClose", "PopJavaClose", nullptr, true, "xout.close(|);"},
    {"ToolItemsJSPFragment", "PopJSPFragment", nullptr, false, "x<% code |[fragment] %>"},
    {"ToolItemsJSPExpression", "PopJSPExpression", nullptr, false, "x<%= |[expression] %>"},
    {"ToolItemsJSPDeclaration", "PopJSPDeclaraion", nullptr, false, "x<%! |[declaration] %>"},
    {"ToolItemsJSPDirective", "PopJSPDirective", nullptr, false, "x<%@ page |[directive] %>"},
    {"ToolItemsJSPComment", "PopJSPComment", nullptr, false, "x<%-- |[comment] --%>"},
    {"ToolItemsJSPTag", "PopJSPTag", nullptr, false, "x<% | %>"},
    {"ToolItemsJSPOutPut", "PopJSPOutPut", nullptr, false, "x<%= | %>"},
};

TEST_F(SnippetTest, EveryRowOfTheTableFromItsMenuItemAndItsButtonIsOneUndoStep)
{
    Type("x");
    for (const SnippetRow& row : kSnippetRows) {
        Item(row.java ? "OptionItemsSyntaxJava" : "OptionItemsSyntaxJSP")->trigger();
        for (const char* name : {row.menuItem, row.button}) {
            Run(name);
            ExpectShown(row.shown, name);
            Undo();
            ExpectShown("x|", std::string("undone ") + name);
        }
        if (row.hint) {
            const QAction* button = Item(row.button);
            EXPECT_EQ(button->toolTip() + u'|' + button->statusTip(), QString::fromLatin1(row.hint));
        }
    }
    // Two snippets in a row are two steps, however alike.
    Run("cmdHTMLBold");
    Run("cmdHTMLBold");
    Undo();
    ExpectShown("x<b>|</b>", "one of two undone");
    Undo();
    // Only the six header tags name a header.
    form->PopHead1Click(6);
    form->PopHead1Click(-1);
    ExpectShown("x|", "tags beyond the headers");
}

TEST_F(SnippetTest, ASnippetGoesInAtTheCaretAndLeavesTheSelectedTextSelected)
{
    Type("abc def");
    Key(Qt::Key_Home);
    for (int i = 0; i < 4; ++i)
        Key(Qt::Key_Right);
    Key(Qt::Key_End, Qt::ShiftModifier);
    Run("cmdHTMLBold");
    ExpectShown("abc [def]<b>|</b>", "bold at the block's end");
    Key(Qt::Key_End);
    Key(Qt::Key_Home, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Run("cmdHTMLBreak");
    ExpectShown("a<br>|[bc def<b></b>]", "break at the block's start");

    // A placeholder snippet selects its word instead.
    Run("PopJSPFragment");
    EXPECT_EQ(Document()->SelectedText(), "fragment");
    Type("i++;");
    EXPECT_EQ(textOf(*Document()), "a<br><% code i++; %>bc def<b></b>");
}

TEST_F(SnippetTest, TheColourPaletteInsertsTheColourAndACancelInsertsNothing)
{
    services.ChooseColor(TColor::FromRgb(0x12, 0xAB, 0x0C));
    Run("cmdHTMLColor");
    ExpectShown("#12AB0C|", "picked");
    services.CancelColor();
    Run("ToolItemsColor");
    ExpectShown("#12AB0C|", "cancelled");
    // The cancel left no step of its own behind: one Undo takes the colour.
    Undo();
    ExpectShown("|", "undone");
}

TEST_F(SnippetTest, SelectedLinesBecomePrintlnStatementsThatCompile)
{
    // Quotes and backslashes are escaped; the indent stays in front of the
    // statement.
    Item("OptionItemsSyntaxJava")->trigger();
    Document()->SetTextStr("say \"hi\\n\"\n    b\nc");
    Key(Qt::Key_Home, Qt::ControlModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Run("PopJavaConvert");
    ExpectShown("out.println(\"say \\\"hi\\\\n\\\"\");\n    out.println(\"b\");\n|c", "converted");

    // javac takes the statements, and they print the lines as they read.
    const QString folder = files.filePath(QStringLiteral("println"));
    ASSERT_TRUE(QDir().mkpath(folder));
    WriteFile(folder + QStringLiteral("/Printed.java"),
              "public class Printed {\n  public static void main(String[] args) {\n"
              "    java.io.PrintStream out = System.out;\n" + Document()->LineText(0) + "\n" + Document()->LineText(1) +
                  "\n  }\n}\n");
    QProcess javac;
    javac.start(QStringLiteral("javac"), {folder + QStringLiteral("/Printed.java")});
    ASSERT_TRUE(javac.waitForFinished(60000));
    ASSERT_EQ(javac.exitCode(), 0) << javac.readAllStandardError().toStdString();
    QProcess java;
    java.start(QStringLiteral("java"), {QStringLiteral("-cp"), folder, QStringLiteral("Printed")});
    ASSERT_TRUE(java.waitForFinished(60000));
    EXPECT_EQ(java.readAllStandardOutput(), "say \"hi\\n\"\nb\n");

    Undo();
    ExpectShown("say \"hi\\n\"\n    b\n|c", "undone");

    // Without a selection there is nothing to convert.
    Run("ToolItemsJavaWritePrintLineConvert");
    ExpectShown("say \"hi\\n\"\n    b\n|c", "no selection");
}

TEST_F(SnippetTest, CaseCommandsConvertTheSelectionOrTheCaretLine)
{
    Type("Hello World");
    Key(Qt::Key_Home);
    for (int i = 0; i < 7; ++i)
        Key(Qt::Key_Right, Qt::ShiftModifier);
    Run("EditItemsCharUpper");
    ExpectShown("HELLO W|orld", "upper");
    Key(Qt::Key_Home, Qt::ShiftModifier);
    Run("EditItemsCharLower");
    ExpectShown("hello w|orld", "lower");
    Undo();
    ExpectShown("|HELLO World", "lower undone");

    // The line commands leave caret and selection where they are.
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Run("EditItemsCharLowerLine");
    ExpectShown("[h]|ello world", "line lower");
    Run("EditItemsCharUpperLine");
    ExpectShown("[H]|ELLO WORLD", "line upper");
    Run("EditItemsCharToggle");
    ExpectShown("[h]|ello world", "line toggled");
    Undo();
    ExpectShown("H|ELLO WORLD", "toggle undone");

    // A column block (its right edge column included) is converted where it
    // stands, line by line.
    Key(Qt::Key_End);
    Key(Qt::Key_Return);
    Type("abcd");
    Key(Qt::Key_Return);
    Type("efgh");
    Document()->SetSelection({1, 1}, {2, 2}, smBlock);
    Run("EditItemsCharUpper");
    ExpectShown("HELLO WORLD\naBCd\neF|Gh", "column block");
}

TEST_F(SnippetTest, OemConversionCoversTheWholeTextAndOneUndoTakesItBack)
{
    // "é" is 0xE9 in Windows-1252 and 0x82 in the OEM page; "ü" 0xFC and 0x81.
    // The OEM commands are for Windows-1252 documents.
    Document()->SetEncoding(teWindows1252);
    Document()->InsertText("caf\xE9\r\nna\xEFve\r\n\xFC");
    Key(Qt::Key_Home, Qt::ControlModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Run("EditItemsAtoO");
    EXPECT_EQ(textOf(*Document()), "caf\x82\nna\x8Bve\n\x81");
    EXPECT_EQ(Document()->SelectedText(), "c");
    Run("EditItemsOtoA");
    EXPECT_EQ(textOf(*Document()), "caf\xE9\nna\xEFve\n\xFC");
    Undo();
    EXPECT_EQ(textOf(*Document()), "caf\x82\nna\x8Bve\n\x81");
    Undo();
    EXPECT_EQ(textOf(*Document()), "caf\xE9\nna\xEFve\n\xFC");
    // The history before the conversion is still there.
    EXPECT_TRUE(Document()->CanUndo());
}

TEST_F(SnippetTest, IndentAndOutdentFromTheMenuAndThePopup)
{
    Type("a");
    Key(Qt::Key_Return);
    Type("b");
    Key(Qt::Key_Home, Qt::ControlModifier);
    Key(Qt::Key_End, Qt::ShiftModifier | Qt::ControlModifier);
    Run("EditItemsSelectionIndent");
    EXPECT_EQ(textOf(*Document()), " a\n b");
    Run("PopIndent");
    EXPECT_EQ(textOf(*Document()), "  a\n  b");
    Run("PopOutdent");
    Run("EditItemsSelectionOutdent");
    EXPECT_EQ(textOf(*Document()), "a\nb");
    Undo();
    EXPECT_EQ(textOf(*Document()), " a\n b");
}

} // namespace
