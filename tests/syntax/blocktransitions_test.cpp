// Entering and leaving child blocks: who reads the delimiters, what the
// line state carries, and the limits of the nesting paths.

#include "linestate.h"
#include "syntaxfixture.h"

namespace {

using LineState::Construct;

// Root (text 0, symbols 9) with two children: "[" ... "]" read by the child
// (text 1, symbols 2) and "{" ... "}" read by the root (child text 3).
struct TwoChildren : TestParser {
    TwoChildren()
    {
        own = AddBlock(parser, "Own", 1, 0, 1);
        own->SetUseSymbols(true);
        own->SetFISymbol(2);
        AddOpening(own, "[", "]", true);
        other = AddBlock(parser, "Other", 2, 0, 3);
        AddOpening(other, "{", "}", false);
    }
    TSyntaxBlock* own;
    TSyntaxBlock* other;
};

TEST(BlockTransitions, ChildReadsItsOwnDelimiters)
{
    TwoChildren t;
    quint32 end = 1;
    EXPECT_EQ(Codes(t.Parse("a [b] c", 0, &end)), "0021200");
    EXPECT_EQ(end, 0u);
}

TEST(BlockTransitions, ParentReadsTheDelimitersOfAChildThatDoesNotOwnThem)
{
    TwoChildren t;
    quint32 end = 1;
    EXPECT_EQ(Codes(t.Parse("a {b} c", 0, &end)), "0093900");
    EXPECT_EQ(end, 0u);
}

TEST(BlockTransitions, OpenBlockCarriesToTheNextLineAndClosesThere)
{
    TwoChildren t;
    quint32 end = 0;
    EXPECT_EQ(Codes(t.Parse("a [b", 0, &end)), "0021");
    EXPECT_NE(LineState::Path(end), 0);
    EXPECT_EQ(Construct(end), 0u);
    EXPECT_EQ(Codes(ParseOne(t.parser, "c] d", end, &end)), "1200");
    EXPECT_EQ(end, 0u);
}

TEST(BlockTransitions, BlockWithoutClosingTextNeverCloses)
{
    TwoChildren t;
    t.own->BlockDelimiters()->At(0)->SetRight({});
    quint32 end = 0;
    EXPECT_EQ(Codes(t.Parse("[a] b", 0, &end)), "21211");
    EXPECT_NE(LineState::Path(end), 0);
}

TEST(BlockTransitions, ClosingTextOfAParentReadBlockComparesWithoutCaseAndAsAWord)
{
    TestParser t;
    TSyntaxBlock* code = AddBlock(t.parser, "Code", 1, 0, 3);
    AddOpening(code, "begin", "end", false);
    EXPECT_EQ(Codes(t.Parse("BEGIN x END y")), "0000033300000");
    // Inside a word neither text counts.
    EXPECT_EQ(Codes(t.Parse("xbegin y")), "00000000");
    EXPECT_EQ(Codes(t.Parse("begin endx end")), "00000333333000");
}

TEST(BlockTransitions, OpeningsAreTriedInTableOrder)
{
    TestParser t;
    TSyntaxBlock* first = AddBlock(t.parser, "First", 1, 0, 1);
    AddOpening(first, "<%", "%>", true);
    TSyntaxBlock* second = AddBlock(t.parser, "Second", 2, 0, 2);
    AddOpening(second, "<", ">", true);
    EXPECT_EQ(Codes(t.Parse("<%x%> <y>")), "111110222");
}

TEST(BlockTransitions, DisabledOrEmptyOpeningsNeverOpen)
{
    TwoChildren t;
    t.own->BlockDelimiters()->At(0)->SetUseToken(false);
    AddOpening(t.own, "", "]", true);
    EXPECT_EQ(Codes(t.Parse("a [b] c")), "0090900");
}

TEST(BlockTransitions, ConstructsHideTransitionsUntilTheyClose)
{
    TwoChildren t;
    t.root->SetUseStrings(true);
    t.root->SetUseSingleLineStrings(true);
    AddPair(t.root->SingleLineStringDelimiters(), "'", "'", 6);
    EXPECT_EQ(Codes(t.Parse("'[' [x]")), "6660212");
}

TEST(BlockTransitions, RootStateIsZeroAfterAChildCloses)
{
    TwoChildren t;
    t.root->SetCaseSensitive(true);
    quint32 end = 1;
    t.Parse("[x] {y}", 0, &end);
    EXPECT_EQ(end, 0u);
}

TEST(BlockTransitions, ABlockOpenedByAnyOfManyDelimitersClosesWithItsOwn)
{
    TestParser t;
    TSyntaxBlock* child = AddBlock(t.parser, "Many", 1, 0, 1);
    for (int i = 0; i < 70; ++i)
        AddOpening(child, "{" + QByteArray::number(i) + ":", ":" + QByteArray::number(i) + "}", true);
    quint32 end = 0;
    t.Parse("a {69: b", 0, &end);
    ASSERT_NE(LineState::Path(end), 0);
    // The line state has six bits for the delimiter (69 reads as 5 there);
    // the path knows it whole.
    EXPECT_EQ(Codes(ParseOne(t.parser, ":5} :69} c", end, &end)), "1111111100");
    EXPECT_EQ(end, 0u);
}

TEST(BlockTransitions, EndlessNestingStopsAtTheLastPathTheStateCanName)
{
    TestParser t;
    // Two blocks with one ID: the second is its own child, so every "("
    // nests one level deeper.
    TSyntaxBlock* outer = AddBlock(t.parser, "Outer", 1, 0, 1);
    AddOpening(outer, "(", ")", true);
    TSyntaxBlock* inner = AddBlock(t.parser, "Inner", 1, 1, 2);
    AddOpening(inner, "(", ")", true);
    const QByteArray line(1000, '(');
    quint32 end = 0;
    const QByteArray attrs = t.Parse(line, 0, &end);
    EXPECT_EQ(t.parser.SyntaxScheme()->BlockPaths().size(), size_t(LineState::kMaxPaths));
    EXPECT_EQ(attrs.count(char(0x7F)), 0);
    // The state still names a path that exists, and the next line runs.
    EXPECT_LT(size_t(LineState::Path(end)), t.parser.SyntaxScheme()->BlockPaths().size());
    ParseOne(t.parser, QByteArray(600, ')'), end, &end);
    EXPECT_EQ(end, 0u);
}

TEST(BlockTransitions, PathsAreReusedAndOnlyClearedByCompile)
{
    TwoChildren t;
    TSyntaxParser& p = t.Built();
    for (int i = 0; i < 5; ++i)
        ParseOne(p, "[a] {b} [c]");
    EXPECT_EQ(p.SyntaxScheme()->BlockPaths().size(), 3u);
    p.RebuildScheme();
    EXPECT_EQ(p.SyntaxScheme()->BlockPaths().size(), 1u);
}

} // namespace
