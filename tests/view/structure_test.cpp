// The editor by structure, as a user meets it: folding by clicks on the
// outline column and by keys, with the rows that show the folded text;
// the bracket at the caret and its partner in the match colours (one
// without a partner in the error colours); and the typing rules, each one
// undo step with its key.

#include "mousefixture.h"

#include "builtinschemes.h"
#include "syntaxparser.h"

namespace {

const char kJava[] = "import java.util.List;\n"  // 0
                     "import java.util.Map;\n"   // 1
                     "class Shop {\n"            // 2
                     "    int count() {\n"       // 3
                     "        int n = 0;\n"      // 4
                     "        return n;\n"       // 5
                     "    }\n"                   // 6
                     "    int none() { }\n"      // 7
                     "}";                        // 8

class StructureTest : public MouseTest {
protected:
    void Open(const QByteArray& text, TBuiltInScheme scheme = TBuiltInScheme::Java)
    {
        parser.reset(CreateBuiltInParser(scheme, nullptr, nullptr));
        ASSERT_TRUE(parser);
        source.SetSyntaxParser(parser.get());
        source.SetTextStr(text);
        memo->SetOptions(memo->Options() | moHideInvisibleLines);
        memo->SetMemoSource(&source);
        memo->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(memo.get()));
        Render(); // parses what is shown, which finds the fold points
    }
    // The lines the first rows show.
    std::vector<int> ShownLines(int rows)
    {
        std::vector<int> lines;
        for (int row = 0; row < rows; ++row)
            lines.push_back(memo->PixelToPosition(QPoint(memo->TextLeft() + 1, row * memo->LineHeight() + 1)).line);
        return lines;
    }
    QPoint Box(int row) { return QPoint(memo->TextLeft() - memo->LineHeight() / 2, row * memo->LineHeight() + memo->LineHeight() / 2); }
    void Key(int key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(memo.get(), Qt::Key(key), modifiers); }

    std::unique_ptr<TSyntaxParser> parser;
    TMemoSource source;
};

TEST_F(StructureTest, FoldingByClicksAndKeysHidesTheRowsOfTheBlock)
{
    Open(kJava);
    EXPECT_EQ(memo->TextLeft(), memo->EffectiveGutterWidth() + memo->LineHeight()) << "the fold column is shown";
    EXPECT_EQ(source.CollapseState(0), 0) << "the imports";
    EXPECT_EQ(source.CollapseState(3), 0);
    EXPECT_EQ(source.CollapseState(7), 2) << "a block on one line";

    Click(Box(3));
    EXPECT_EQ(source.CollapseState(3), 1);
    EXPECT_EQ(ShownLines(6), (std::vector<int>{0, 1, 2, 3, 7, 8}));
    Click(Box(3));
    EXPECT_EQ(ShownLines(5), (std::vector<int>{0, 1, 2, 3, 4}));

    // The keys of the fold commands, and Down over a folded block.
    source.SetCaret({3, 2});
    QTest::keyClick(memo.get(), '[', Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(source.CollapseState(3), 1);
    Key(Qt::Key_Down);
    EXPECT_EQ(source.Caret().line, 7) << "Down steps over the hidden rows";
    EXPECT_EQ(source.CollapseState(3), 1);
    Key(Qt::Key_Up);
    QTest::keyClick(memo.get(), ']', Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(source.CollapseState(3), 0);
    QTest::keyClick(memo.get(), '-', Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(ShownLines(2), (std::vector<int>{0, 2})) << "fold all: the imports and the class";
    EXPECT_EQ(source.Caret().line, 2) << "the caret went to the line of the block it was in";
    QTest::keyClick(memo.get(), '=', Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(source.Folds().Empty());

    // A click below the text while its last line is folded away stays on
    // the last shown line.
    source.FoldLine(2);
    Click(QPoint(memo->TextLeft() + 5, 6 * memo->LineHeight()));
    EXPECT_EQ(source.Caret().line, 2);
    EXPECT_EQ(source.CollapseState(2), 1);
    source.UnfoldAll();

    // A folded block shows its marker behind its first line.
    source.FoldLine(3);
    const QImage image = Render();
    const int end = source.LineLength(3) + 1;
    EXPECT_TRUE(Has(image, Cell(3, end).united(Cell(3, end + 4)), 0x808080)) << "the marker's frame";
}

TEST_F(StructureTest, TheBracketAtTheCaretAndItsPartnerShowInTheMatchColours)
{
    Open("class A {\n    f(\")\");\n}\nx);\n");
    memo->SetMatchBackColor(TColor(0x00ff00)); // green, as 0xBBGGRR
    source.SetCaret({0, 8});
    QImage image = Render();
    EXPECT_TRUE(Has(image, Cell(0, 8), 0x00ff00)) << "the brace";
    EXPECT_TRUE(Has(image, Cell(2, 0), 0x00ff00)) << "its partner";
    EXPECT_FALSE(Has(image, Cell(1, 7), 0x00ff00)) << "the parenthesis in the string takes no part";

    source.SetCaret({1, 6});
    image = Render();
    EXPECT_TRUE(Has(image, Cell(1, 5), 0x00ff00));
    EXPECT_TRUE(Has(image, Cell(1, 9), 0x00ff00)) << "past the one in the string";
    EXPECT_FALSE(Has(image, Cell(0, 8), 0x00ff00)) << "the old marks are gone";

    source.SetCaret({3, 2});
    image = Render();
    EXPECT_TRUE(Has(image, Cell(3, 1), 0x800000)) << "unmatched: the error line's colours (maroon)";

    // A tag name at the caret and its partner; the jump key goes there.
    Open("<div>\n<p>x</p>\n</div>\n", TBuiltInScheme::Jsp);
    source.SetCaret({0, 2});
    image = Render();
    EXPECT_TRUE(Has(image, Cell(0, 2), 0x00ff00)) << "the start tag";
    EXPECT_TRUE(Has(image, Cell(2, 3), 0x00ff00)) << "its end tag";
    EXPECT_FALSE(Has(image, Cell(1, 1), 0x00ff00)) << "another element";
    QTest::keyClick(memo.get(), '[', Qt::ControlModifier);
    EXPECT_EQ(source.Caret(), (TTextPos{2, 2}));
}

TEST_F(StructureTest, TypingRulesAreEachOneUndoStepWithTheKey)
{
    struct Case {
        const char* what;
        TBuiltInScheme scheme;
        const char* text;
        TTextPos caret;
        const char* keys; // the last one is the key the rule acts on; \n Enter, \b Backspace
        bool closeBrackets;
        const char* expected;
        TTextPos expectedCaret;
    };
    const TBuiltInScheme jsp = TBuiltInScheme::Jsp;
    const TBuiltInScheme java = TBuiltInScheme::Java;
    const Case cases[] = {
        {"</ ends the innermost open element", jsp, "<div>\n  <p>x</p>\n  ", {2, 2}, "</", false,
         "<div>\n  <p>x</p>\n</div>", {2, 6}},
        {"> of a start tag adds its end tag", jsp, "<ul>\n  <li", {1, 5}, ">", false, "<ul>\n  <li></li>", {1, 6}},
        {"but not for a void element", jsp, "<p><br", {0, 6}, ">", false, "<p><br>", {0, 7}},
        {"Enter after { indents a level", java, "class A {", {0, 9}, "\n", false, "class A {\n ", {1, 1}},
        {"Enter between { and } puts } below", java, "  f() {}", {0, 7}, "\n", false, "  f() {\n   \n  }", {1, 3}},
        {"Enter after a start tag", jsp, "<ul>", {0, 4}, "\n", false, "<ul>\n ", {1, 1}},
        {"} as the first text takes its partner's indent", java, "  if (a) {\n    b;\n      ", {2, 6}, "}", false,
         "  if (a) {\n    b;\n  }", {2, 3}},
        {"( comes with its partner", java, "f", {0, 1}, "(", true, "f()", {0, 2}},
        {"the partner typed steps over", java, "f", {0, 1}, "()", true, "f()", {0, 3}},
        {"Backspace takes the pair back", java, "f", {0, 1}, "(\b", true, "f", {0, 1}},
        {"a quote after a letter comes alone", java, "don", {0, 3}, "'", true, "don'", {0, 4}},
        {"brackets alone with the option off", java, "f", {0, 1}, "(", false, "f(", {0, 2}},
    };
    for (const Case& c : cases) {
        Open(c.text, c.scheme);
        source.SetOptions(source.Options() & ~TStringsOptions(soGroupUndo));
        source.SetCloseBrackets(c.closeBrackets);
        source.SetCaret(c.caret);
        const QByteArray keys(c.keys);
        auto type = [this](char ch) {
            if (ch == '\n')
                Key(Qt::Key_Return);
            else if (ch == '\b')
                Key(Qt::Key_Backspace);
            else
                QTest::keyClicks(memo.get(), QString(QChar(ch)));
        };
        for (int i = 0; i + 1 < keys.size(); ++i)
            type(keys[i]);
        const QByteArray before = source.Lines().Text();
        type(keys.back());
        EXPECT_EQ(source.Lines().Text().toStdString(), QByteArray(c.expected).replace("\n", "\r\n").toStdString())
            << c.what;
        EXPECT_EQ(source.Caret(), c.expectedCaret) << c.what;
        Key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(source.Lines().Text().toStdString(), before.toStdString()) << c.what << ": one undo step";
    }
}

} // namespace
