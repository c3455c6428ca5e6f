// The line parser on schemes built in code: each construct, its attribute,
// what carries to the next line, and the block transitions.

#include "linestate.h"
#include "syntaxfixture.h"

namespace {

using LineState::Construct;

// A C-like block: // and /* */ comments (4, 5), "..." strings (6) with the
// meta symbol backslash, numbers (1 int, 2 float, 3 hex), keywords (8).
struct CLike : TestParser {
    CLike()
    {
        root->SetCaseSensitive(true);
        root->SetUseComments(true);
        root->SetUseSingleLineComments(true);
        root->SetUseMultiLineComments(true);
        AddToken(root->SingleLineCommentDelimiters(), "//", 4);
        AddPair(root->MultiLineCommentDelimiters(), "/*", "*/", 5);
        root->SetUseStrings(true);
        root->SetUseSingleLineStrings(true);
        AddPair(root->SingleLineStringDelimiters(), "\"", "\"", 6);
        root->SetUseMetaSymbol(true);
        root->SetMetaSymbol('\\');
        root->SetUseNumbers(true);
        root->SetFIIntNum(1);
        root->SetFIFloatNum(2);
        root->SetFIHexNum(3);
        AddKeywords(root, "int,return", 8);
    }
};

TEST(LineParser, CommentsStringsAndKeywordsGetTheirAttributes)
{
    CLike c;
    EXPECT_EQ(Codes(c.Parse("int x = 1; // one")), "88800090190444444");
    EXPECT_EQ(Codes(c.Parse("return \"a\" /* b */ x")), "88888806660555555500");
}

TEST(LineParser, MultiLineCommentCarriesAcrossLinesIncludingEmptyOnes)
{
    CLike c;
    TSyntaxParser& p = c.Built();
    quint32 state = 0;
    EXPECT_EQ(Codes(ParseOne(p, "x /* a", 0, &state)), "005555");
    EXPECT_EQ(Construct(state), quint32(LineState::ocMultiLineComment));
    // An empty line hands its start state on unchanged.
    quint32 after = 0;
    ParseOne(p, "", state, &after);
    EXPECT_EQ(after, state);
    EXPECT_EQ(Codes(ParseOne(p, "b */ c", after, &state)), "555500");
    EXPECT_EQ(state, 0u);
}

TEST(LineParser, MetaSymbolsBeforeTheClosingQuote)
{
    CLike c;
    quint32 end = 0;
    // Two meta symbols: the second is escaped, the quote closes.
    EXPECT_EQ(Codes(c.Parse("\"a\\\\\" x", 0, &end)), "6666600");
    EXPECT_EQ(end, 0u);
    // One: the quote is escaped and the string goes on to the next quote.
    EXPECT_EQ(Codes(c.Parse("\"a\\\" b\" x", 0, &end)), "666666600");
    EXPECT_EQ(end, 0u);
    // Three: escaped again.
    EXPECT_EQ(Codes(c.Parse("\"\\\\\\\" b\"", 0, &end)), "66666666");
}

TEST(LineParser, SingleLineStringEndsWithTheLineUnlessItEndsInTheMetaSymbol)
{
    CLike c;
    quint32 end = 0;
    EXPECT_EQ(Codes(c.Parse("s = \"open", 0, &end)), "009066666");
    EXPECT_EQ(end, 0u);
    EXPECT_EQ(Codes(c.Parse("s = \"open \\", 0, &end)), "00906666666");
    EXPECT_EQ(Construct(end), quint32(LineState::ocSingleLineString));
    EXPECT_EQ(Codes(c.Parse("more\" x", end, &end)), "6666600");
    EXPECT_EQ(end, 0u);
    // Without UseMetaToWrapLines the string ends with the line all the same.
    c.root->SetUseMetaToWrapLines(false);
    c.Parse("s = \"open \\", 0, &end);
    EXPECT_EQ(end, 0u);
}

TEST(LineParser, EscapedQuoteAsTheLastCharacterEndsASingleLineString)
{
    CLike c;
    quint32 end = 0;
    EXPECT_EQ(Codes(c.Parse("\"a\\\"", 0, &end)), "6666");
    EXPECT_EQ(end, 0u);
}

TEST(LineParser, MultiLineStringStaysOpenPastAnEscapedQuoteAtTheLineEnd)
{
    TestParser t;
    t.root->SetUseStrings(true);
    t.root->SetUseMultiLineStrings(true);
    t.root->SetUseMetaSymbol(true);
    t.root->SetMetaSymbol('\\');
    AddPair(t.root->MultiLineStringDelimiters(), "'", "'", 7);
    quint32 end = 0;
    EXPECT_EQ(Codes(t.Parse("x 'a\\'", 0, &end)), "007777");
    EXPECT_EQ(Construct(end), quint32(LineState::ocMultiLineString));
    EXPECT_EQ(Codes(ParseOne(t.parser, "b' c", end, &end)), "7700");
    EXPECT_EQ(end, 0u);
}

TEST(LineParser, KeywordCaseFollowsTheBlock)
{
    TestParser t;
    AddKeywords(t.root, "echo", 6);
    EXPECT_EQ(Codes(t.Parse("ECHO echo")), "666606666");
    t.root->SetCaseSensitive(true);
    EXPECT_EQ(Codes(t.Parse("ECHO echo")), "000006666");
}

TEST(LineParser, KeywordSetsAreSearchedInOrderAndQuotedWordsCount)
{
    TestParser t;
    t.root->SetCaseSensitive(true);
    AddKeywords(t.root, "\"alpha\", beta\tgamma", 6);
    AddKeywords(t.root, "beta,delta", 7);
    EXPECT_EQ(Codes(t.Parse("alpha beta gamma delta alph")), "666660666606666607777700000");
}

TEST(LineParser, DisabledAndEmptyKeywordsAreIgnored)
{
    TestParser t;
    t.root->SetCaseSensitive(true);
    AddKeywords(t.root, "a,,b", 6);
    AddKeywords(t.root, "c", 7)->SetUseToken(false);
    EXPECT_EQ(Codes(t.Parse("a b c")), "60600");
}

TEST(LineParser, WordTestRefusesADelimiterRunningIntoAWord)
{
    TestParser t;
    t.root->SetUseComments(true);
    t.root->SetUseSingleLineComments(true);
    AddToken(t.root->SingleLineCommentDelimiters(), "rem", 4);
    EXPECT_EQ(Codes(t.Parse("remark")), "000000");
    EXPECT_EQ(Codes(t.Parse("rem")), "444");
    EXPECT_EQ(Codes(t.Parse("rem.x")), "44444");
    EXPECT_EQ(Codes(t.Parse("x rem y")), "0044444");
}

TEST(LineParser, FullLineCommentOnlyWhileTheLineHoldsBlanksAndText)
{
    TestParser t;
    t.root->SetUseComments(true);
    t.root->SetUseFullLineComments(true);
    AddToken(t.root->FullLineCommentDelimiters(), ":", 5);
    EXPECT_EQ(Codes(t.Parse(":label")), "555555");
    EXPECT_EQ(Codes(t.Parse("  :label")), "00555555");
    // Plain text is what no rule reads (here a byte outside the identifier
    // characters); after an identifier or a symbol the rule is off.
    EXPECT_EQ(Codes(t.Parse("\xE9 :y")), "0055");
    EXPECT_EQ(Codes(t.Parse("x :y")), "0090");
    EXPECT_EQ(Codes(t.Parse("= :y")), "9090");
}

TEST(LineParser, PlainNumbers)
{
    CLike c;
    EXPECT_EQ(Codes(c.Parse("12 1.5 1.5e+3 1.5e 7.")), "110222022222202220022");
    EXPECT_EQ(Codes(c.Parse("1E5 2e-7x")), "222022220");
}

TEST(LineParser, DigitsWithoutNumbersAreOneTextToken)
{
    TestParser t;
    t.root->SetFIIntNum(1);
    quint32 end = 0;
    EXPECT_EQ(Codes(t.Parse("123abc", 0, &end)), "000000");
}

TEST(LineParser, PrefixedNumbers)
{
    CLike c;
    c.root->SetUsePrefixedNumbers(true);
    AddToken(c.root->NumPrefixes(), "0x");
    EXPECT_EQ(Codes(c.Parse("0x1Fz")), "33330");
    EXPECT_EQ(Codes(c.Parse("0x")), "99");
    EXPECT_EQ(Codes(c.Parse("0xg")), "990");
    EXPECT_EQ(Codes(c.Parse("10")), "11");
}

TEST(LineParser, SuffixedNumbersNeedTheirSuffix)
{
    CLike c;
    c.root->SetUseSuffixedNumbers(true);
    AddToken(c.root->NumSuffixes(), "L");
    AddToken(c.root->NumSuffixes(), "U");
    EXPECT_EQ(Codes(c.Parse("10L 10 1.5LU")), "111011022220");
    c.root->SetUseMultipleNumSuffixes(true);
    EXPECT_EQ(Codes(c.Parse("1.5LU")), "22222");
}

TEST(LineParser, PrefixSuffixPairsAndComposition)
{
    CLike c;
    c.root->SetUsePrefixedSuffixedNumbers(true);
    AddPair(c.root->NumPrefixesSuffixes(), "$", "h", -1);
    AddPair(c.root->NumPrefixesSuffixes(), "0q", "q", -1)->SetUseToken(false);
    // Every pair is tried, used or not; without its closing text, no match
    // ('$' alone is a symbol, then a number and an identifier).
    EXPECT_EQ(Codes(c.Parse("$1Fh 0q1Fq $1F")), "33330333330910");
    // Composition reads a prefixed number and its suffixes instead.
    c.root->SetUsePSNumComposition(true);
    c.root->SetUsePrefixedNumbers(true);
    c.root->SetUseSuffixedNumbers(true);
    AddToken(c.root->NumPrefixes(), "0x");
    AddToken(c.root->NumSuffixes(), "L");
    EXPECT_EQ(Codes(c.Parse("0x1FL 0x1FLL")), "333330333330");
    c.root->SetUseMultipleNumSuffixes(true);
    EXPECT_EQ(Codes(c.Parse("0x1FLL")), "333333");
}

TEST(LineParser, LineDirectivesRunToTheLineEndOrOnPastTheMetaSymbol)
{
    CLike c;
    c.root->SetUseLineDirectives(true);
    c.root->SetLineDirectivePrefix(QStringLiteral("#"));
    c.root->SetFIDirective(7);
    quint32 end = 0;
    EXPECT_EQ(Codes(c.Parse("#define X 1 // note", 0, &end)), "7777777777774444444");
    EXPECT_EQ(end, 0u);
    // Only while the line holds blanks, text, comments and directives.
    EXPECT_EQ(Codes(c.Parse("x = #y")), "009090");
    // Continued with the meta symbol.
    EXPECT_EQ(Codes(c.Parse("#define X \\", 0, &end)), "77777777777");
    EXPECT_EQ(Construct(end), quint32(LineState::ocLineDirective));
    // A comment inside a continued directive; the directive goes on behind it.
    EXPECT_EQ(Codes(ParseOne(c.parser, "  /* c */ 2", end, &end)), "77555555577");
    EXPECT_EQ(end, 0u);
}

TEST(LineParser, IdentifierPrefixesAndSuffixes)
{
    TestParser t;
    t.root->SetUseIdentifiers(true);
    t.root->SetFIIdentifier(2);
    t.root->SetUsePrefixedIdentifiers(true);
    AddToken(t.root->IdentPrefixes(), "$");
    t.root->SetUseSuffixedIdentifiers(true);
    AddToken(t.root->IdentSuffixes(), "%");
    EXPECT_EQ(Codes(t.Parse("$abc% abc $ x")), "2222202220902");
    t.root->SetUsePrefixedSuffixedIdentifiers(true);
    AddPair(t.root->IdentPrefixesSuffixes(), "[", "]");
    AddKeywords(t.root, "[x]", 6);
    EXPECT_EQ(Codes(t.Parse("[x] [y")), "666092");
}

TEST(LineParser, FreeSymbolsAreReadAsOneRunAndUsedOnesOneByOne)
{
    CLike c;
    c.root->SetFISymbol(9);
    // '+' and '=' are free; '/' is used by the comments, so it stands alone.
    EXPECT_EQ(Codes(c.Parse("a+=b/c")), "099090");
}

TEST(LineParser, FontIDsAreTakenModulo256AndNoneMeansText)
{
    TestParser t;
    t.root->SetFIText(3);
    t.root->SetUseComments(true);
    t.root->SetUseSingleLineComments(true);
    AddToken(t.root->SingleLineCommentDelimiters(), "#", 300);
    AddToken(t.root->SingleLineCommentDelimiters(), "!", -1);
    EXPECT_EQ(Codes(t.Parse("x # a")), "33III");
    EXPECT_EQ(Codes(t.Parse("x ! a")), "33333");
}

TEST(LineParser, OnGetTokenReportsEachTokenAndAConstructOnceWhenItCloses)
{
    CLike c;
    std::vector<std::pair<int, QByteArray>> tokens;
    c.parser.OnGetToken = [&](QObject* sender, int kind, const QByteArray& text) {
        EXPECT_EQ(sender, &c.parser);
        tokens.emplace_back(kind, text);
    };
    quint32 end = 0;
    c.Parse("int /* a", 0, &end);
    ParseOne(c.parser, "b */ \"s\"", end, &end);
    const std::vector<std::pair<int, QByteArray>> expected = {
        {tkKeyword, "int"}, {tkText, " "}, {tkMultiLineComment, "/* ab */"}, {tkText, " "}, {tkSingleLineString, "\"s\""},
    };
    EXPECT_EQ(tokens, expected);
}

} // namespace
