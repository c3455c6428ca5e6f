// The scheme model: font IDs, the compact character-set text, comma text,
// what is stored when, Upgrade, Assign and Clear.

#include "charsettext.h"
#include "commatext.h"
#include "componentstream.h"
#include "syntaxfixture.h"

namespace {

TEST(FontTable, NewItemsTakeTheFirstFreeFontIDButNeverTwelve)
{
    TFontList table;
    EXPECT_EQ(table.AddItem()->FontID(), 0);
    for (int i = 1; i < 12; ++i)
        EXPECT_EQ(table.AddItem()->FontID(), i);
    EXPECT_EQ(table.AddItem()->FontID(), 13);
    table.At(5)->SetFontID(300);
    EXPECT_EQ(table.AddItem()->FontID(), 5);
    // Outside a table an item has none.
    EXPECT_EQ(TAttrItem().FontID(), -1);
}

TEST(FontTable, FullTableHasNoFreeFontID)
{
    TFontList table;
    for (int i = 0; i < 255; ++i)
        table.AddItem();
    EXPECT_EQ(FindFreeFontID(table), -1);
    EXPECT_EQ(table.AddItem()->FontID(), -1);
}

TEST(FontTable, LookUpTakesTheFirstItemWithTheFontID)
{
    TFontList table;
    TAttrItem* first = table.AddItem();
    first->SetFontID(7);
    table.AddItem()->SetFontID(7);
    EXPECT_EQ(table.FindFontID(7), first);
    EXPECT_EQ(table.FindFontID(8), nullptr);
}

TEST(CharSetText, RunsAreWrittenAsFirstMinusLast)
{
    EXPECT_EQ(CharSetText::Write(TSyntaxBlock::DefaultOtherIdentChars()), "0-9A-Z_a-z");
    EXPECT_EQ(CharSetText::Write(TSyntaxBlock::DefaultFirstIdentChars()), "A-Z_a-z");
    EXPECT_EQ(CharSetText::Write(TCharSet()), "");
    TCharSet ends;
    ends.Add(0);
    ends.Add(255);
    EXPECT_EQ(CharSetText::Write(ends), QByteArray("\0\xFF", 2));
}

TEST(CharSetText, MinusAndBackslashStartingARunAreEscaped)
{
    TCharSet set("-\\abc");
    const QByteArray text = CharSetText::Write(set);
    EXPECT_EQ(text, "\\-\\\\a-c");
    EXPECT_EQ(text.size(), 7);
    EXPECT_TRUE(CharSetText::Read(text) == set);
    // As the last of a run they are written raw.
    TCharSet run = TCharSet::Range('+', '-');
    EXPECT_EQ(CharSetText::Write(run), "+--");
    EXPECT_TRUE(CharSetText::Read("+--") == run);
}

TEST(CharSetText, ReadingRules)
{
    EXPECT_TRUE(CharSetText::Read("a-c") == TCharSet("abc"));
    // A range running backwards adds nothing, and neither does a dangling
    // minus sign or backslash.
    EXPECT_TRUE(CharSetText::Read("c-a") == TCharSet("c"));
    EXPECT_TRUE(CharSetText::Read("a-") == TCharSet("a"));
    EXPECT_TRUE(CharSetText::Read("a\\") == TCharSet("a"));
    // A range with nothing before it starts at code 0.
    EXPECT_TRUE(CharSetText::Read(QByteArray("-\x02", 2)) == TCharSet::Range(0, 2));
    for (int c = 0; c < 256; c += 7) {
        TCharSet set = TCharSet::Range(uchar(c), uchar(std::min(255, c + 3)));
        set.Add('-');
        set.Add('\\');
        EXPECT_TRUE(CharSetText::Read(CharSetText::Write(set)) == set) << c;
    }
}

TEST(CommaText, QuotedAndPlainItems)
{
    const QList<QByteArray> plain = CommaText::Split("abstract,boolean");
    EXPECT_EQ(plain, CommaText::Split("\"abstract\",\"boolean\""));
    EXPECT_EQ(plain, (QList<QByteArray>{"abstract", "boolean"}));
    EXPECT_EQ(CommaText::Split(" a\tb\n,c "), (QList<QByteArray>{"a", "b", "c"}));
    EXPECT_EQ(CommaText::Split("\"a \"\"b\"\"\",c"), (QList<QByteArray>{"a \"b\"", "c"}));
    EXPECT_EQ(CommaText::Split("a,,b,"), (QList<QByteArray>{"a", "", "b", ""}));
    EXPECT_EQ(CommaText::Split(""), QList<QByteArray>());
    EXPECT_EQ(CommaText::Split("\"open"), QList<QByteArray>{"open"});
}

TEST(SyntaxScheme, NewSchemeHoldsOneDefaultBlock)
{
    TSyntaxScheme scheme;
    ASSERT_EQ(scheme.SyntaxBlocks()->Count(), 1);
    EXPECT_EQ(scheme.SyntaxBlocks()->At(0)->Name(), "Default");
    EXPECT_EQ(scheme.SyntaxBlocks()->At(0)->ID(), 0);
    EXPECT_EQ(scheme.SyntaxVersion(), 1);
    scheme.Compile();
    EXPECT_EQ(scheme.SyntaxVersion(), 3);
    scheme.Clear();
    EXPECT_EQ(scheme.SyntaxBlocks()->Count(), 0);
    EXPECT_EQ(scheme.SyntaxVersion(), 1);
    EXPECT_TRUE(scheme.Name().isEmpty());
}

TEST(SyntaxScheme, UpgradeGivesIDsOneLevelOfNestingAndBlockIDs)
{
    TSyntaxScheme scheme;
    TSyntaxBlockList* blocks = scheme.SyntaxBlocks();
    blocks->At(0)->SetID(-1);
    blocks->At(0)->SetParentID(4);
    TSyntaxBlock* a = blocks->AddItem();
    a->SetID(0);
    TSyntaxBlock* b = blocks->AddItem();
    b->SetParentID(0);
    b->SetFIText(3);
    b->SetUseComments(true);
    AddToken(b->SingleLineCommentDelimiters(), "#", 4);
    AddToken(b->SingleLineCommentDelimiters(), "!", 9);
    for (int id : {3, 4, 4})
        scheme.FontTable()->AddItem()->SetFontID(id);
    scheme.Upgrade();
    EXPECT_EQ(blocks->At(0)->ID(), 1);
    EXPECT_EQ(b->ID(), 2);
    EXPECT_EQ(blocks->At(0)->ParentID(), -1);
    EXPECT_EQ(a->ParentID(), 1);
    EXPECT_EQ(b->ParentID(), 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(scheme.FontTable()->At(i)->BlockID(), 2) << i;
    EXPECT_EQ(scheme.SyntaxVersion(), 3);
}

TEST(SyntaxScheme, UpgradeLeavesACurrentSchemeAlone)
{
    TSyntaxScheme scheme;
    scheme.SetSyntaxVersion(2);
    TSyntaxBlock* b = scheme.SyntaxBlocks()->AddItem();
    b->SetParentID(7);
    scheme.Upgrade();
    EXPECT_EQ(b->ID(), -1);
    EXPECT_EQ(b->ParentID(), 7);
    EXPECT_EQ(scheme.SyntaxVersion(), 3);
}

TEST(SyntaxScheme, FreeBlockID)
{
    TSyntaxScheme scheme;
    EXPECT_EQ(scheme.FreeBlockID(), 1);
    scheme.SyntaxBlocks()->At(0)->SetID(300);
    EXPECT_EQ(scheme.FreeBlockID(), 0);
    for (int i = 0; i < 256; ++i)
        scheme.SyntaxBlocks()->AddItem()->SetID(i);
    EXPECT_EQ(scheme.FreeBlockID(), 0);
}

TEST(SyntaxScheme, BlockAssignCopiesListsAndCharacterSetsDeeply)
{
    TSyntaxBlock source;
    source.SetName(QStringLiteral("S"));
    source.SetID(4);
    source.SetFIHexNum(3);
    source.SetUseMultipleNumSuffixes(true);
    source.SetLineDirectivePrefix(QStringLiteral("#"));
    AddToken(source.IdentSuffixes(), "%", 2);
    AddKeywords(&source, "a,b", 6);
    source.SetOtherIdentSet(TCharSet("xyz\xE9"));
    TSyntaxBlock copy;
    copy.Assign(source);
    EXPECT_EQ(copy.Name(), "S");
    EXPECT_EQ(copy.ID(), 4);
    EXPECT_EQ(copy.FIHexNum(), 3);
    EXPECT_TRUE(copy.UseMultipleNumSuffixes());
    EXPECT_EQ(copy.LineDirectivePrefix(), "#");
    ASSERT_EQ(copy.IdentSuffixes()->Count(), 1);
    EXPECT_NE(copy.IdentSuffixes(), source.IdentSuffixes());
    EXPECT_EQ(copy.IdentSuffixes()->At(0)->Left(), "%");
    ASSERT_EQ(copy.KeywordSets()->Count(), 1);
    EXPECT_EQ(copy.KeywordSets()->At(0)->KeywordBytes(), "a,b");
    EXPECT_TRUE(copy.OtherIdentSet() == TCharSet("xyz\xE9"));
}

TEST(SyntaxScheme, AssigningASchemeReplacesItsBlocksCompletely)
{
    auto java = BuiltIn(TBuiltInScheme::Java);
    auto jsp = BuiltIn(TBuiltInScheme::Jsp);
    java->SetUseGlobalOptions(false);
    java->SetSyntaxScheme(jsp->SyntaxScheme());
    const TSyntaxScheme& scheme = *java->SyntaxScheme();
    EXPECT_EQ(scheme.Name(), "ASP in HTML");
    ASSERT_EQ(scheme.SyntaxBlocks()->Count(), jsp->SyntaxScheme()->SyntaxBlocks()->Count());
    EXPECT_EQ(scheme.SyntaxBlocks()->At(3)->Name(), "JSP(Servlet)");
    EXPECT_EQ(scheme.FontTable()->Count(), jsp->SyntaxScheme()->FontTable()->Count());
    // UseGlobalOptions stays the parser's own.
    EXPECT_FALSE(java->UseGlobalOptions());
    // It is compiled at once: the copy colours as the original does.
    EXPECT_EQ(Codes(ParseOne(*java, "<% int i = 0; %>")), Codes(ParseOne(*jsp, "<% int i = 0; %>")));
}

// -- what the stream holds -------------------------------------------------------

TEST(SchemeStream, TokenListsAreWrittenOnlyWhileTheirSwitchIsOn)
{
    TestParser t;
    AddToken(t.root->SingleLineCommentDelimiters(), "//", 4);
    t.root->SetUseComments(true);
    QByteArray text = WriteComponent(t.parser);
    EXPECT_FALSE(text.contains("SingleLineCommentDelimiters")) << text.constData();
    t.root->SetUseSingleLineComments(true);
    text = WriteComponent(t.parser);
    EXPECT_TRUE(text.contains("SingleLineCommentDelimiters")) << text.constData();
}

TEST(SchemeStream, MetaSymbolDirectivePrefixAndNumberOptionsFollowTheirSwitches)
{
    TestParser t;
    t.root->SetMetaSymbol('\\');
    t.root->SetUseMetaToWrapLines(false);
    t.root->SetLineDirectivePrefix(QStringLiteral("#"));
    t.root->SetUseMultipleNumSuffixes(true);
    t.root->SetUsePSNumComposition(true);
    QByteArray text = WriteComponent(t.parser);
    for (const char* name : {"MetaSymbol", "UseMetaToWrapLines", "LineDirectivePrefix", "UseMultipleNumSuffixes",
                             "UsePSNumComposition"})
        EXPECT_FALSE(text.contains(name)) << name;
    t.root->SetUseMetaSymbol(true);
    t.root->SetUseLineDirectives(true);
    t.root->SetUseSuffixedNumbers(true);
    t.root->SetUsePrefixedSuffixedNumbers(true);
    text = WriteComponent(t.parser);
    EXPECT_TRUE(text.contains("MetaSymbol = '\\'")) << text.constData();
    for (const char* name : {"UseMetaToWrapLines", "LineDirectivePrefix", "UseMultipleNumSuffixes", "UsePSNumComposition"})
        EXPECT_TRUE(text.contains(name)) << name;
}

TEST(SchemeStream, BlockDelimitersAndVersionAreAlwaysWrittenIdentCharsOnlyWhenChanged)
{
    TestParser t;
    QByteArray text = WriteComponent(t.parser);
    EXPECT_TRUE(text.contains("BlockDelimiters = <>")) << text.constData();
    EXPECT_TRUE(text.contains("SyntaxScheme.SyntaxVersion = 3")) << text.constData();
    EXPECT_FALSE(text.contains("IdentChars"));
    TCharSet other = TSyntaxBlock::DefaultOtherIdentChars();
    other.Add('-');
    other.Add('\\');
    t.root->SetOtherIdentSet(other);
    text = WriteComponent(t.parser);
    EXPECT_FALSE(text.contains("FirstIdentChars"));
    EXPECT_TRUE(text.contains("OtherIdentChars = '\\-0-9A-Z\\\\_a-z'")) << text.constData();
    TSyntaxParser back;
    QString error;
    ASSERT_TRUE(ReadComponent(text, back, &error)) << qPrintable(error);
    EXPECT_TRUE(back.SyntaxScheme()->SyntaxBlocks()->At(0)->OtherIdentSet() == other);
}

TEST(SchemeStream, StreamWithoutVersionIsUpgradedWhenLoaded)
{
    const QByteArray text = "object P: TSyntaxParser\n"
                            "  SyntaxScheme.SyntaxBlocks = <\n"
                            "    item\n"
                            "      Name = 'Root'\n"
                            "      FIText = 1\n"
                            "    end\n"
                            "    item\n"
                            "      Name = 'Inner'\n"
                            "      FIText = 2\n"
                            "    end>\n"
                            "  SyntaxScheme.FontTable = <\n"
                            "    item\n"
                            "      FontID = 2\n"
                            "    end>\n"
                            "end\n";
    TSyntaxParser parser;
    QString error;
    ASSERT_TRUE(ReadComponent(text, parser, &error)) << qPrintable(error);
    const TSyntaxScheme& scheme = *parser.SyntaxScheme();
    EXPECT_EQ(scheme.SyntaxVersion(), 3);
    EXPECT_EQ(scheme.SyntaxBlocks()->At(0)->ID(), 0);
    EXPECT_EQ(scheme.SyntaxBlocks()->At(1)->ID(), 1);
    EXPECT_EQ(scheme.SyntaxBlocks()->At(1)->ParentID(), 0);
    EXPECT_EQ(scheme.FontTable()->At(0)->BlockID(), 1);
}

TEST(SchemeStream, DefaultAttributeKeepsBothUseDefaultSwitchesOn)
{
    TSyntaxParser parser;
    TDefAttrItem* def = parser.DefaultAttr();
    EXPECT_EQ(def->Font().Name(), "Courier New");
    EXPECT_EQ(def->Font().Height(), -13);
    EXPECT_EQ(def->BackColor(), clWindow);
    def->SetUseDefFont(false);
    def->SetUseDefBack(false);
    EXPECT_TRUE(def->UseDefFont());
    EXPECT_TRUE(def->UseDefBack());
    QString error;
    const QByteArray text = "object P: TSyntaxParser\n  DefaultAttr.UseDefFont = False\nend\n";
    ASSERT_TRUE(ReadComponent(text, parser, &error)) << qPrintable(error);
    EXPECT_TRUE(parser.DefaultAttr()->UseDefFont());
}

} // namespace
