// Malformed input and malformed schemes: the parser must write every
// attribute of a line, never read past it, never stall, and hand on a state
// the next line can use.

#include "linestate.h"
#include "syntaxfixture.h"

#include <QRandomGenerator>

namespace {

constexpr char kUnwritten = char(0x7F);

// Parses lines one after the other, each from the state the last ended in.
void ExpectEveryAttributeWritten(TSyntaxParser& parser, const QList<QByteArray>& lines, const char* what)
{
    quint32 state = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray attrs = ParseOne(parser, lines[i], state, &state);
        ASSERT_EQ(attrs.indexOf(kUnwritten), -1) << what << " line " << i;
        ASSERT_LT(size_t(LineState::Path(state)), parser.SyntaxScheme()->BlockPaths().size()) << what;
    }
}

const TBuiltInScheme kShipped[] = {TBuiltInScheme::Jsp, TBuiltInScheme::Java, TBuiltInScheme::Batch};

TEST(ParserGuards, NulIsAnOrdinaryBlankThatNeitherEndsNorStallsTheLine)
{
    auto java = BuiltIn(TBuiltInScheme::Java);
    const QByteArray line("int\0x = 1; // c\0d", 17);
    EXPECT_EQ(Codes(ParseOne(*java, line)), "88800090190444444");
    quint32 end = 0;
    EXPECT_EQ(Codes(ParseOne(*java, QByteArray("\0/*\0", 4), 0, &end)), "0555");
    EXPECT_EQ(LineState::Construct(end), quint32(LineState::ocMultiLineComment));
    EXPECT_EQ(Codes(ParseOne(*java, QByteArray(5, '\0'))), "00000");
}

TEST(ParserGuards, EveryByteValueInEveryShippedScheme)
{
    QByteArray all;
    for (int c = 0; c < 256; ++c)
        all += char(c);
    QByteArray reversed(all);
    std::reverse(reversed.begin(), reversed.end());
    for (TBuiltInScheme which : kShipped) {
        auto parser = BuiltIn(which);
        ExpectEveryAttributeWritten(*parser, {all, reversed, all + all, QByteArray(300, char(0xE9))}, "bytes");
    }
}

TEST(ParserGuards, RandomLinesInEveryShippedSchemeFromAnyState)
{
    QRandomGenerator random(20240601);
    // Bytes weighted toward the ones the schemes use.
    const QByteArray alphabet = "<%>/!-\"'\\*#=:0123456789xXabcLf. \t\r\n\0\x80\xFF"_qba;
    for (TBuiltInScheme which : kShipped) {
        auto parser = BuiltIn(which);
        QList<QByteArray> lines;
        for (int i = 0; i < 400; ++i) {
            QByteArray line;
            const int length = int(random.bounded(120));
            for (int k = 0; k < length; ++k)
                line += random.bounded(4) == 0 ? char(random.bounded(256)) : alphabet[int(random.bounded(alphabet.size()))];
            lines.append(line);
        }
        ExpectEveryAttributeWritten(*parser, lines, "random lines");
        // States no line ended in: paths, constructs and token indices out of
        // range fall back to something the parser knows. (An empty line hands
        // on whatever it was given.)
        for (int i = 0; i < 400; ++i) {
            const quint32 state = random.generate();
            quint32 end = 0;
            const QByteArray attrs = ParseOne(*parser, lines[i] + 'x', state, &end);
            ASSERT_EQ(attrs.indexOf(kUnwritten), -1);
            ASSERT_LT(size_t(LineState::Path(end)), parser->SyntaxScheme()->BlockPaths().size());
        }
    }
}

TEST(ParserGuards, HundredThousandCharacterLines)
{
    auto jsp = BuiltIn(TBuiltInScheme::Jsp);
    auto java = BuiltIn(TBuiltInScheme::Java);
    QByteArray tags;
    for (int i = 0; i < 10000; ++i)
        tags += "<a b=1>x<%";
    ExpectEveryAttributeWritten(*jsp, {QByteArray(100000, '<'), tags, QByteArray(100000, '%')}, "long JSP");
    ExpectEveryAttributeWritten(*java,
                                {QByteArray(100000, 'a'), "\"" + QByteArray(99999, '\\'), "/*" + QByteArray(99998, '*'),
                                 QByteArray(100000, '9')},
                                "long Java");
}

TEST(ParserGuards, EmptyDelimitersEverywhere)
{
    TestParser t;
    TSyntaxBlock* r = t.root;
    r->SetUseComments(true);
    r->SetUseSingleLineComments(true);
    r->SetUseMultiLineComments(true);
    r->SetUseFullLineComments(true);
    AddToken(r->SingleLineCommentDelimiters(), "");
    AddPair(r->MultiLineCommentDelimiters(), "", "");
    AddToken(r->FullLineCommentDelimiters(), "");
    r->SetUseStrings(true);
    r->SetUseSingleLineStrings(true);
    r->SetUseMultiLineStrings(true);
    AddPair(r->SingleLineStringDelimiters(), "", "");
    AddPair(r->MultiLineStringDelimiters(), "\"", "");
    r->SetUseNumbers(true);
    r->SetUsePrefixedNumbers(true);
    r->SetUseSuffixedNumbers(true);
    r->SetUsePrefixedSuffixedNumbers(true);
    AddToken(r->NumPrefixes(), "");
    AddToken(r->NumSuffixes(), "");
    AddPair(r->NumPrefixesSuffixes(), "", "");
    r->SetUseLineDirectives(true);
    r->SetUsePrefixedIdentifiers(true);
    r->SetUseSuffixedIdentifiers(true);
    r->SetUsePrefixedSuffixedIdentifiers(true);
    AddToken(r->IdentPrefixes(), "");
    AddToken(r->IdentSuffixes(), "");
    AddPair(r->IdentPrefixesSuffixes(), "", "");
    AddKeywords(r, "", 6);
    TSyntaxBlock* child = AddBlock(t.parser, "Child", 1, 0, 1);
    AddOpening(child, "", "", true);
    AddOpening(child, "(", "", false);
    quint32 end = 0;
    const QByteArray attrs = t.Parse("abc 123 \"open ( x", 0, &end);
    EXPECT_EQ(attrs.indexOf(kUnwritten), -1);
    // A multi-line string without a closing text runs to the end of the text.
    EXPECT_EQ(LineState::Construct(end), quint32(LineState::ocMultiLineString));
    EXPECT_EQ(ParseOne(t.parser, "more", end, &end).indexOf(kUnwritten), -1);
    EXPECT_EQ(LineState::Construct(end), quint32(LineState::ocMultiLineString));
    // A block without a closing text stays open.
    EXPECT_EQ(ParseOne(t.parser, "a ( b", 0, &end).indexOf(kUnwritten), -1);
    EXPECT_NE(LineState::Path(end), 0);
}

TEST(ParserGuards, OverLongTokenListsKeepTheFirstTheStateCanName)
{
    TestParser t;
    t.root->SetUseStrings(true);
    t.root->SetUseMultiLineStrings(true);
    for (int i = 0; i < 300; ++i)
        AddPair(t.root->MultiLineStringDelimiters(), "s" + QByteArray::number(i) + "(", ")", 5);
    quint32 end = 0;
    EXPECT_EQ(Codes(t.Parse("s255( x", 0, &end)), "5555555");
    EXPECT_EQ(LineState::Token(end), 255);
    EXPECT_EQ(Codes(ParseOne(t.parser, "y) z", end, &end)), "5500");
    // Beyond the 256th the items are not read at all.
    EXPECT_EQ(Codes(t.Parse("s299( x", 0, &end)), "0000900");
    EXPECT_EQ(end, 0u);
}

TEST(ParserGuards, AttributesWithoutAFontEntryPaintWithTheFallback)
{
    auto java = BuiltIn(TBuiltInScheme::Java);
    const TAttrItem& fallback = java->SyntaxScheme()->FallbackAttr();
    for (int attr : {-5, 77, 254, 255, 256, 100000}) {
        EXPECT_EQ(java->GetAttrFont(attr), &fallback.EffectiveFont()) << attr;
        TColor color = clRed;
        EXPECT_TRUE(java->GetAttrBackColor(attr, color));
        EXPECT_EQ(color, fallback.EffectiveBackColor());
    }
    EXPECT_NE(java->GetAttrFont(8), &fallback.EffectiveFont());
}

TEST(ParserGuards, FontEntryRemovedAtRunTimeIsNoLongerReachable)
{
    auto java = BuiltIn(TBuiltInScheme::Java);
    TFontList* table = java->SyntaxScheme()->FontTable();
    const int index = table->IndexOf(table->FindFontID(8));
    table->Delete(index);
    EXPECT_EQ(java->GetAttrFont(8), &java->SyntaxScheme()->FallbackAttr().EffectiveFont());
    table->Clear();
    EXPECT_EQ(java->GetAttrFont(0), &java->SyntaxScheme()->FallbackAttr().EffectiveFont());
}

TEST(ParserGuards, EmptyLinesAndAParserBeingLoadedReturnTheStartState)
{
    auto java = BuiltIn(TBuiltInScheme::Java);
    EXPECT_EQ(java->ParseLine({}, 12345, nullptr), 12345u);
    java->BeginLoading();
    quint32 end = 0;
    ParseOne(*java, "/* x", 77, &end);
    EXPECT_EQ(end, 77u);
    java->EndLoading();
    ParseOne(*java, "/* x", 0, &end);
    EXPECT_EQ(LineState::Construct(end), quint32(LineState::ocMultiLineComment));
}

TEST(ParserGuards, SchemeWithoutBlocksParsesNothing)
{
    TSyntaxParser parser;
    parser.SyntaxScheme()->Clear();
    parser.RebuildScheme();
    quint32 end = 0;
    ParseOne(parser, "abc", 5, &end);
    EXPECT_EQ(end, 5u);
    // The store still gets attributes of the line's length.
    TMemoSource source;
    source.SetSyntaxParser(&parser);
    source.Lines().SetText("abc\n");
    EXPECT_EQ(Codes(Attrs(source, 0)), "000");
}

} // namespace
