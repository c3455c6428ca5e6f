// The optional parts of the scheme model that today's JSP, HTML and Java
// need: opening priorities, blocks with several parents, openings inside
// comments and strings (which go on after the block), closings inside them,
// identifier affixes with fonts of their own, and the newer number forms.
// Each case builds a small scheme, parses lines one after another and
// compares every character's attribute; at their defaults none of these
// properties is written or changes anything.

#include "componentstream.h"
#include "linestate.h"
#include "syntaxfixture.h"

#include <functional>
#include <vector>

namespace {

struct ExtensionCase {
    const char* name;
    std::function<void(TestParser&)> build;
    // Each line with its expected attributes; the state runs on from line
    // to line and ends at 0.
    std::vector<std::pair<QByteArray, std::string>> lines;
};

// A tag "<" ... ">" read by itself, text 1.
TSyntaxBlock* AddTag(TestParser& t)
{
    TSyntaxBlock* tag = AddBlock(t.parser, "Tag", 1, 0, 1);
    AddOpening(tag, "<", ">", true);
    return tag;
}

void UseStrings(TSyntaxBlock* block, int fontId)
{
    block->SetUseStrings(true);
    block->SetUseSingleLineStrings(true);
    AddPair(block->SingleLineStringDelimiters(), "\"", "\"", fontId);
}

const ExtensionCase kCases[] = {
    {"PriorityPutsALongerOpeningFirst",
     [](TestParser& t) {
         AddTag(t);
         TSyntaxBlock* bang = AddBlock(t.parser, "Bang", 2, 0, 2);
         AddOpening(bang, "<!", ">", true)->SetPriority(1);
     },
     {{"<a> <!b>", "11102222"}}},
    {"ABlockOpensInEachOfItsParents",
     [](TestParser& t) {
         TSyntaxBlock* outer = AddBlock(t.parser, "Outer", 1, 0, 1);
         AddOpening(outer, "[", "]", true);
         TSyntaxBlock* inner = AddBlock(t.parser, "Inner", 2, 0, 2);
         AddOpening(inner, "{", "}", true);
         inner->SetMoreParentIDs("1");
     },
     {{"{a} [x{b}y]", "22201122211"}}},
    {"AnOpeningInsideAStringResumesItAlsoOverLines",
     [](TestParser& t) {
         UseStrings(t.root, 6);
         TSyntaxBlock* expr = AddBlock(t.parser, "Expr", 1, 0, 3);
         AddOpening(expr, "${", "}", true)->SetOpenInTokens(TDelimiters::otAlso);
     },
     {{"\"a${b}c\" ${d}", "6633336603333"}, {"\"x${y", "66333"}, {"}z\" w", "36600"}}},
    {"AnOpeningOnlyInsideTokensStaysShutBetweenThem",
     [](TestParser& t) {
         UseStrings(t.root, 6);
         TSyntaxBlock* expr = AddBlock(t.parser, "Expr", 1, 0, 3);
         AddOpening(expr, "${", "}", true)->SetOpenInTokens(TDelimiters::otOnly);
     },
     {{"\"a${b}c\" ${d}", "6633336609909"}}},
    {"AClosingThatTheBlockReadsEndsItsCommentsAndStrings",
     [](TestParser& t) {
         TSyntaxBlock* code = AddBlock(t.parser, "Code", 1, 0, 1);
         code->SetUseSymbols(true);
         code->SetFISymbol(2);
         code->SetUseComments(true);
         code->SetUseSingleLineComments(true);
         AddToken(code->SingleLineCommentDelimiters(), "//", 4);
         UseStrings(code, 6);
         AddOpening(code, "<%", "%>", true)->SetCloseInTokens(true);
     },
     {{"<% a // b %> c", "22111444442200"}, {"<% \"x%>\" y", "2216622900"}}},
    {"AClosingTheParentReadsCannotAlsoCloseTheParent",
     [](TestParser& t) {
         AddTag(t);
         TSyntaxBlock* script = AddBlock(t.parser, "Script", 2, 1, 3);
         UseStrings(script, 6);
         AddOpening(script, "<%", "%>", false)->SetCloseInTokens(true);
     },
     {{"<t a=<%= x %>>z", "111111133331110"}, {"<t a=<%= \"%>\" %>>z", "111111133611111190"}}},
    {"AnOpeningTheParentReadIntoAStringOpensBehindIt",
     [](TestParser& t) {
         TSyntaxBlock* tag = AddTag(t);
         UseStrings(tag, 6);
         TSyntaxBlock* css = AddBlock(t.parser, "Css", 2, 1, 3);
         TDelimiters* opening = AddOpening(css, "s=\"", "\"", false);
         opening->SetOpenInTokens(TDelimiters::otOnly);
         opening->SetCloseInTokens(true);
     },
     {{"<p s=\"a:b\" t=\"c\">", "11111633361116661"}}},
    {"AChildThatEndsInFrontOfItsClosingIsNotOpenedAgainByWhatItRead",
     [](TestParser& t) {
         TSyntaxBlock* open = AddBlock(t.parser, "Open", 1, 0, 1);
         AddOpening(open, "<s", "</s>", true);
         TSyntaxBlock* body = AddBlock(t.parser, "Body", 2, 1, 3);
         AddOpening(body, ">", "</s>", false)->SetCloseInTokens(true);
     },
     {{"<s>a></s>x", "1113311110"}}},
    {"AffixesPaintTheirWordsButKeywordsWin",
     [](TestParser& t) {
         t.root->SetUseAffixFonts(true);
         t.root->SetUsePrefixedIdentifiers(true);
         AddToken(t.root->IdentPrefixes(), "@", 7);
         t.root->SetUseSuffixedIdentifiers(true);
         AddToken(t.root->IdentSuffixes(), ":", 8);
         AddKeywords(t.root, "@k", 5);
     },
     {{"@a b: @k c", "7708805500"}}},
    {"WithoutAffixFontsAffixedWordsAreIdentifiers",
     [](TestParser& t) {
         t.root->SetUsePrefixedIdentifiers(true);
         AddToken(t.root->IdentPrefixes(), "@", 7);
     },
     {{"@a b", "0000"}}},
    {"SeparatorsLeadingPointsAndHexFloats",
     [](TestParser& t) {
         t.root->SetUseNumbers(true);
         t.root->SetFIIntNum(1);
         t.root->SetFIFloatNum(2);
         t.root->SetFIHexNum(3);
         t.root->SetUsePrefixedNumbers(true);
         AddToken(t.root->NumPrefixes(), "0x");
         t.root->SetDigitSeparator('_');
         t.root->SetUseLeadingDotNumbers(true);
         t.root->SetUseHexFloats(true);
     },
     {{"1_000 .5 0x1.8p-3 1_ 0x.8p1 0x1p x.5 a.b 0x1_F",
       "1111102202222222201002222220333000220090033333"}}},
};

class SchemeExtension : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(SchemeExtension, ColoursEveryCharacter)
{
    const ExtensionCase& c = GetParam();
    TestParser t;
    c.build(t);
    TSyntaxParser& parser = t.Built();
    quint32 state = 0;
    for (const auto& [text, expected] : c.lines) {
        ASSERT_EQ(size_t(text.size()), expected.size()) << text.constData();
        EXPECT_EQ(Codes(ParseOne(parser, text, state, &state)), expected) << text.constData();
    }
    EXPECT_EQ(state, 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, SchemeExtension, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SchemeExtensionStream, DefaultsAreNotWrittenAndSetValuesComeBack)
{
    TestParser t;
    TSyntaxBlock* child = AddBlock(t.parser, "Child", 1, 0, 1);
    TDelimiters* opening = AddOpening(child, "<", ">", true);
    const QByteArray plain = WriteComponent(t.parser);
    for (const char* name : {"Priority", "OpenInTokens", "CloseInTokens", "MoreParentIDs", "UseAffixFonts",
                             "DigitSeparator", "UseLeadingDotNumbers", "UseHexFloats"})
        EXPECT_FALSE(plain.contains(name)) << name;

    opening->SetPriority(2);
    opening->SetOpenInTokens(TDelimiters::otOnly);
    opening->SetCloseInTokens(true);
    child->SetMoreParentIDs("0, 1");
    child->SetUseAffixFonts(true);
    child->SetDigitSeparator('_');
    child->SetUseLeadingDotNumbers(true);
    child->SetUseHexFloats(true);
    TSyntaxParser back;
    QString error;
    ASSERT_TRUE(ReadComponent(WriteComponent(t.parser), back, &error)) << qPrintable(error);
    const TSyntaxBlock* read = back.SyntaxScheme()->SyntaxBlocks()->At(1);
    const TDelimiters* readOpening = read->BlockDelimiters()->At(0);
    EXPECT_EQ(readOpening->Priority(), 2);
    EXPECT_EQ(readOpening->OpenInTokens(), TDelimiters::otOnly);
    EXPECT_TRUE(readOpening->CloseInTokens());
    EXPECT_EQ(read->MoreParentIDList(), (QList<int>{0, 1}));
    EXPECT_TRUE(read->UseAffixFonts());
    EXPECT_EQ(read->DigitSeparator(), '_');
    EXPECT_TRUE(read->UseLeadingDotNumbers());
    EXPECT_TRUE(read->UseHexFloats());
}

} // namespace
