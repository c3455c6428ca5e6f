// Folding and matching in a text store with the shipped schemes: the caret
// never rests on a hidden line whatever put it there, edits keep the fold
// points of the lines whose structure changed, and brackets and tags are
// matched by the structure (not inside strings and comments), within a
// bounded distance.

#include "syntaxfixture.h"

#include "searchoptions.h"

#include <functional>

namespace {

const char kJava[] = "import java.util.List;\n"      // 0
                     "import java.util.Map;\n"       // 1
                     "class Shop {\n"                // 2
                     "    int count() {\n"           // 3
                     "        int n = 0;\n"          // 4
                     "        return n;\n"           // 5
                     "    }\n"                       // 6
                     "    /* notes\n"                // 7
                     "       more */\n"              // 8
                     "}\n";                          // 9

struct Store {
    std::unique_ptr<TSyntaxParser> parser = BuiltIn(TBuiltInScheme::Java);
    TMemoSource source;

    explicit Store(const char* text, TBuiltInScheme scheme = TBuiltInScheme::Java)
    {
        if (scheme != TBuiltInScheme::Java)
            parser = BuiltIn(scheme);
        source.SetSyntaxParser(parser.get());
        source.SetTextStr(text);
        source.ParseTo(source.LineCount() - 1);
    }
};

TEST(Folding, TheCaretNeverRestsOnAHiddenLine)
{
    struct Case {
        const char* what;
        std::function<void(TMemoSource&)> act;
        bool expanded; // the fold at line 3 opened
        TTextPos caret;
    };
    const Case cases[] = {
        {"a move into it", [](TMemoSource& s) { s.MoveCaretTo({4, 2}); }, true, {4, 2}},
        {"going to a line", [](TMemoSource& s) { s.GotoLineNumber(6); }, true, {5, 0}},
        {"a bookmark",
         [](TMemoSource& s) {
             s.SetBookmark(3, {5, 8});
             s.GotoBookmark(3);
         },
         true, {5, 8}},
        {"a search match",
         [](TMemoSource& s) {
             TSearchOptions options;
             options.textToFind = "return";
             options.origin = soEntireScope;
             s.FindText(options);
         },
         true, {5, 14}},
        {"a move past it", [](TMemoSource& s) { s.MoveCaretTo({7, 0}); }, false, {7, 0}},
        {"an edit on its first line", [](TMemoSource& s) { s.InsertString("x"); }, false, {3, 4}},
    };
    for (const Case& c : cases) {
        Store store(kJava);
        TMemoSource& s = store.source;
        s.SetCaret({3, 4});
        ASSERT_TRUE(s.FoldLine(3)) << c.what;
        ASSERT_FALSE(s.IsLineVisible(5)) << c.what;
        c.act(s);
        EXPECT_EQ(s.Folds().Find(3) == nullptr, c.expanded) << c.what;
        EXPECT_EQ(s.CollapseState(3), c.expanded ? 0 : 1) << c.what;
        EXPECT_TRUE(s.IsLineVisible(s.CaretLine())) << c.what;
        if (c.caret != TTextPos{3, 4}) {
            EXPECT_EQ(s.Caret(), c.caret) << c.what;
        }
    }

    // Undo and redo that take the caret into a folded block open it.
    Store store(kJava);
    TMemoSource& s = store.source;
    s.SetOptions(s.Options() & ~TStringsOptions(soGroupUndo));
    s.SetCaret({8, 0});
    s.MoveCaretTo({4, 8});
    s.MoveCaretTo({8, 0});
    ASSERT_TRUE(s.FoldLine(3));
    s.Undo();
    EXPECT_EQ(s.Caret(), (TTextPos{4, 8}));
    EXPECT_EQ(s.CollapseState(3), 0) << "undo";
    s.Undo();
    ASSERT_TRUE(s.FoldLine(3));
    s.Redo();
    EXPECT_EQ(s.Caret(), (TTextPos{4, 8}));
    EXPECT_EQ(s.CollapseState(3), 0) << "redo";
}

TEST(Folding, FoldingOverTheCaretKeepsItOnTheFirstLine)
{
    Store store(kJava);
    TMemoSource& s = store.source;
    s.SetCaret({5, 9});
    ASSERT_TRUE(s.FoldAtCaret()) << "the innermost block around the caret";
    EXPECT_EQ(s.Folds().Find(3)->last, 6);
    EXPECT_EQ(s.Caret().line, 3);
    ASSERT_TRUE(s.FoldAtCaret()) << "on a collapsed line: the block around it";
    EXPECT_EQ(s.Folds().Find(2)->last, 9);
    s.UnfoldAll();
    EXPECT_TRUE(s.Folds().Empty());
    EXPECT_EQ(s.CollapseState(3), 0);
}

TEST(Folding, EditsChangeTheFoldPointsOfTheLinesWhoseStructureChanged)
{
    Store store(kJava);
    TMemoSource& s = store.source;
    // A new block.
    s.SetCaret({5, 17});
    s.InsertString(" {");
    s.ParseTo(s.LineCount() - 1);
    EXPECT_EQ(s.CollapseState(5), 0);
    EXPECT_EQ(s.FoldEnd(3), 9) << "its close is taken by the new block, it ends with the class's";
    EXPECT_EQ(s.FoldEnd(2), -1) << "the class's own brace is never closed now";
    s.SetCaret({5, 17});
    s.DeleteChars(2);
    s.ParseTo(s.LineCount() - 1);
    EXPECT_EQ(s.CollapseState(5), 2);
    EXPECT_EQ(s.FoldEnd(3), 6);

    // A collapsed block whose first line no longer opens it opens.
    s.FoldLine(3);
    s.SetCaret({3, 16});
    s.DeleteChars(1); // the "{"
    s.ParseTo(s.LineCount() - 1);
    EXPECT_EQ(s.CollapseState(3), 2);
    EXPECT_TRUE(s.Folds().Empty());
    EXPECT_TRUE(s.IsLineVisible(5));

    // A comment opened above turns the folded lines into comment: the fold
    // opens.
    Store other(kJava);
    TMemoSource& t = other.source;
    t.FoldLine(3);
    t.SetCaret({2, 0});
    t.InsertString("/*");
    t.ParseTo(t.LineCount() - 1);
    EXPECT_TRUE(t.Folds().Empty());
    EXPECT_EQ(t.CollapseState(2), 0) << "the new comment folds";
}

TEST(Matching, BracketsAndTagsMatchByTheStructure)
{
    struct Case {
        const char* what;
        TBuiltInScheme scheme;
        const char* text;
        TTextPos at;
        TStructureMatch::TResult result;
        TTextPos partner;
    };
    const Case cases[] = {
        {"a brace, over lines", TBuiltInScheme::Java, "a {\n b;\n}\n", {0, 2}, TStructureMatch::mrMatched, {2, 0}},
        {"back from the close", TBuiltInScheme::Java, "a {\n b;\n}\n", {2, 1}, TStructureMatch::mrMatched, {0, 2}},
        {"brackets in strings and comments do not count", TBuiltInScheme::Java,
         "f(\")\", /* ) */ x)\n", {0, 1}, TStructureMatch::mrMatched, {0, 16}},
        {"a bracket in a string is no bracket", TBuiltInScheme::Java, "s = \"(\";\n", {0, 6}, TStructureMatch::mrNone,
         {}},
        {"a close with no open", TBuiltInScheme::Java, "x);\n", {0, 1}, TStructureMatch::mrUnmatched, {}},
        {"an open never closed", TBuiltInScheme::Java, "if (a) {\n b;\n", {0, 7}, TStructureMatch::mrUnmatched, {}},
        {"kinds count apart", TBuiltInScheme::Java, "[ ( ] )\n", {0, 0}, TStructureMatch::mrMatched, {0, 4}},
        {"a tag and its end tag", TBuiltInScheme::Jsp, "<div>\n <p>x</p>\n</div>\n", {0, 2},
         TStructureMatch::mrMatched, {2, 2}},
        {"an end tag and its tag", TBuiltInScheme::Jsp, "<div>\n <p>x</p>\n</div>\n", {2, 3},
         TStructureMatch::mrMatched, {0, 1}},
        {"an element ended without its tag", TBuiltInScheme::Jsp, "<ul>\n<li>a\n<li>b\n</ul>\n", {1, 2},
         TStructureMatch::mrNone, {}},
        {"an end tag nothing opened", TBuiltInScheme::Jsp, "<b>x</b></i>\n", {0, 10},
         TStructureMatch::mrUnmatched, {}},
        {"a brace over two scriptlets", TBuiltInScheme::Jsp, "<% if (a) { %>\n<b>x</b>\n<% } %>\n", {0, 10},
         TStructureMatch::mrMatched, {2, 3}},
    };
    for (const Case& c : cases) {
        Store store(c.text, c.scheme);
        const TStructureMatch match = store.source.MatchAt(c.at);
        EXPECT_EQ(match.result, c.result) << c.what;
        if (c.result == TStructureMatch::mrMatched) {
            EXPECT_EQ(match.partnerLine, c.partner.line) << c.what;
            EXPECT_EQ(match.partnerColumn, c.partner.column) << c.what;
        }
    }
}

TEST(Matching, APartnerBeyondTheReachIsNotLookedFor)
{
    QByteArray text = "void f() {\n";
    for (int i = 0; i < TCustomMemoSource::kMatchReach + 2; ++i)
        text += "x;\n";
    text += "}\n";
    TMemoSource source;
    auto parser = BuiltIn(TBuiltInScheme::Java);
    source.SetSyntaxParser(parser.get());
    source.SetTextStr(text);
    EXPECT_EQ(source.MatchAt({0, 9}).result, TStructureMatch::mrNone);
    const int last = source.LineCount() - 2;
    EXPECT_EQ(source.MatchAt({last, 0}).result, TStructureMatch::mrNone);
    // The jump key does nothing then.
    source.SetCaret({0, 9});
    EXPECT_FALSE(source.MatchingBracket());
}

} // namespace
