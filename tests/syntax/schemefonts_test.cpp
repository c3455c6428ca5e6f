// How attributes get their fonts and colours, and who is told when they
// change: the text stores using a parser, and every parser that follows the
// global editor options.

#include "memoenvoptions.h"
#include "syntaxfixture.h"
#include "textstyle.h"

namespace {

TTextStyle* GlobalStyle(const char* name)
{
    return TMemoEnvOptions::Global().TextStyles()->Find(QString::fromLatin1(name));
}

// Puts the global styles back to their defaults when a test ends.
struct GlobalStylesGuard {
    ~GlobalStylesGuard() { TMemoEnvOptions::Global().TextStyles()->ResetToDefaults(); }
};

// Counts the notices a store gets from its parser (each resets the lines).
struct Listener : TParserListener {
    void ParserChanged(TSimpleParser*) override { ++changes; }
    void ParserDestroyed(TSimpleParser*) override {}
    int changes = 0;
};

TEST(SchemeFonts, GlobalStylesGiveColourStyleAndBackground)
{
    auto jsp = BuiltIn(TBuiltInScheme::Jsp);
    // FontID 0 declares teal; the global "Script ResWord" style is black, bold.
    const TFont* font = jsp->GetAttrFont(0);
    EXPECT_EQ(font->Color(), clBlack);
    EXPECT_EQ(font->Style(), TFont::fsBold);
    EXPECT_EQ(font->Name(), "Courier New");
    EXPECT_EQ(font->Height(), -13);
    TColor back = clRed;
    jsp->GetAttrBackColor(0, back);
    EXPECT_EQ(back, clWindow);
    jsp->SetUseGlobalOptions(false);
    EXPECT_EQ(jsp->GetAttrFont(0)->Color(), clTeal);
    EXPECT_EQ(jsp->GetAttrFont(0)->Style(), TFont::fsBold);
    EXPECT_EQ(jsp->GetAttrFont(5)->Style(), TFont::TFontStyles());
}

TEST(SchemeFonts, EntryOfAMissingGlobalStyleKeepsItsOwnColours)
{
    auto java = BuiltIn(TBuiltInScheme::Java);
    java->SyntaxScheme()->FontTable()->FindFontID(8)->SetGlobalAttrID(QStringLiteral("No such style"));
    java->UpdateFonts();
    EXPECT_EQ(java->GetAttrFont(8)->Color(), clBlue);
    EXPECT_EQ(java->GetAttrFont(8)->Style(), TFont::fsBold);
}

TEST(SchemeFonts, NameAndSizeComeFromTheNearestTextAttribute)
{
    TestParser t;
    TSyntaxBlock* child = AddBlock(t.parser, "Child", 1, 0, 2);
    (void)child;
    TFontList* table = t.parser.SyntaxScheme()->FontTable();
    TAttrItem* rootText = table->AddItem(); // FontID 0, the root's text
    rootText->SetUseDefFont(false);
    rootText->SetUseDefBack(false);
    rootText->SetFont(TFont(QStringLiteral("Arial"), -20, clRed));
    rootText->SetBackColor(clYellow);
    TAttrItem* rootOther = table->AddItem(); // 1, of the root
    TAttrItem* childText = table->AddItem(); // 2, the child's text, takes the defaults
    childText->SetBlockID(1);
    TAttrItem* childOther = table->AddItem(); // 3, of the child
    childOther->SetBlockID(1);
    childOther->SetFont(TFont(QStringLiteral("Ignored"), -8, clGreen, TFont::fsItalic));
    TAttrItem* orphan = table->AddItem(); // 4, of no block
    orphan->SetBlockID(9);
    t.Built();
    EXPECT_EQ(rootText->EffectiveFont().Name(), "Arial");
    EXPECT_EQ(rootOther->EffectiveFont().Name(), "Arial");
    EXPECT_EQ(rootOther->EffectiveFont().Height(), -20);
    EXPECT_EQ(rootOther->EffectiveBackColor(), clYellow);
    EXPECT_EQ(childOther->EffectiveFont().Name(), "Arial");
    EXPECT_EQ(childOther->EffectiveFont().Height(), -20);
    EXPECT_EQ(childOther->EffectiveFont().Color(), clGreen);
    EXPECT_EQ(childOther->EffectiveFont().Style(), TFont::fsItalic);
    EXPECT_EQ(childOther->EffectiveBackColor(), clYellow);
    // Without a text attribute on the way: the default attribute's.
    EXPECT_EQ(orphan->EffectiveFont().Name(), "Courier New");
    EXPECT_EQ(orphan->EffectiveBackColor(), clWindow);
}

TEST(SchemeFonts, CycleOfParentIDsEndsTheWalk)
{
    TestParser t;
    t.root->SetParentID(1);
    AddBlock(t.parser, "Loop", 1, 0, 7);
    TAttrItem* item = t.parser.SyntaxScheme()->FontTable()->AddItem();
    item->SetBlockID(1);
    t.parser.SyntaxScheme()->SetSyntaxVersion(3);
    t.Built();
    EXPECT_EQ(item->EffectiveFont().Name(), "Courier New");
}

TEST(SchemeFonts, UrlSlotFallbackAndLaterEntriesOfTheSameFontID)
{
    TestParser t;
    t.Built();
    const TSyntaxScheme& scheme = *t.parser.SyntaxScheme();
    // An empty table paints attribute 0 with the fallback.
    EXPECT_EQ(scheme.AttrTable(0), &scheme.FallbackAttr());
    EXPECT_EQ(scheme.AttrTable(12), &scheme.UrlLinkAttr());
    EXPECT_EQ(t.parser.GetAttrFont(12)->Style(), TFont::fsUnderline);
    EXPECT_EQ(t.parser.GetAttrFont(12)->Color(), clBlue); // the "Url" style's
    TAttrItem* first = t.parser.SyntaxScheme()->FontTable()->AddItem();
    first->SetFontID(5);
    TAttrItem* second = t.parser.SyntaxScheme()->FontTable()->AddItem();
    second->SetFontID(5);
    t.parser.UpdateFonts();
    EXPECT_EQ(scheme.AttrTable(5), second);
    EXPECT_EQ(scheme.AttrTable(0), nullptr);
}

TEST(SchemeFonts, DefaultAttributeChangesReachEveryStoreOfTheParser)
{
    auto java = BuiltIn(TBuiltInScheme::Java);
    Listener a, b;
    java->AddListener(&a);
    java->AddListener(&b);
    TFont font = java->DefaultAttr()->Font();
    font.SetName(QStringLiteral("Liberation Mono"));
    java->DefaultAttr()->SetFont(font);
    EXPECT_EQ(a.changes, 1);
    EXPECT_EQ(b.changes, 1);
    EXPECT_EQ(java->GetAttrFont(8)->Name(), "Liberation Mono");
    // The same value again changes nothing.
    java->DefaultAttr()->SetFont(font);
    java->DefaultAttr()->SetBackColor(clWindow);
    EXPECT_EQ(a.changes, 1);
    java->DefaultAttr()->SetBackColor(clYellow);
    EXPECT_EQ(a.changes, 2);
    java->LockUpdate();
    java->SetUseGlobalOptions(false);
    EXPECT_EQ(a.changes, 2);
    java->UnlockUpdate();
    java->UpdateFonts();
    EXPECT_EQ(a.changes, 3);
    java->RemoveListener(&a);
    java->RemoveListener(&b);
}

TEST(SchemeFonts, StoreRehighlightsWhenItsParserChanges)
{
    auto java = BuiltIn(TBuiltInScheme::Java);
    TMemoSource source;
    source.SetSyntaxParser(java.get());
    source.Lines().SetText("int a;\nint b;\n");
    source.ParseTo(1);
    EXPECT_EQ(source.ParsedUpTo(), 2);
    java->SetUseGlobalOptions(false);
    EXPECT_EQ(source.ParsedUpTo(), 0);
}

TEST(SchemeFonts, GlobalOptionChangesUpdateOnlyParsersThatFollowThem)
{
    GlobalStylesGuard guard;
    auto following = BuiltIn(TBuiltInScheme::Java);
    auto own = BuiltIn(TBuiltInScheme::Java);
    own->SetUseGlobalOptions(false);
    Listener followingStores, ownStores;
    following->AddListener(&followingStores);
    own->AddListener(&ownStores);
    TTextStyle* reserved = GlobalStyle("reserved WORDS");
    ASSERT_TRUE(reserved);
    TFont font = reserved->Font();
    font.SetColor(clFuchsia);
    reserved->SetFont(font);
    reserved->SetColor(clSilver);
    EXPECT_GE(followingStores.changes, 1);
    EXPECT_EQ(ownStores.changes, 0);
    EXPECT_EQ(following->GetAttrFont(8)->Color(), clFuchsia);
    TColor back = clRed;
    following->GetAttrBackColor(8, back);
    EXPECT_EQ(back, clSilver);
    EXPECT_EQ(own->GetAttrFont(8)->Color(), clBlue);
    following->RemoveListener(&followingStores);
    own->RemoveListener(&ownStores);
}

TEST(SchemeFonts, EveryParserIsListedWhileItLives)
{
    const size_t before = TSyntaxParser::Instances().size();
    {
        TSyntaxParser parser;
        EXPECT_EQ(TSyntaxParser::Instances().size(), before + 1);
        EXPECT_EQ(TSyntaxParser::Instances().back(), &parser);
    }
    EXPECT_EQ(TSyntaxParser::Instances().size(), before);
    // A global change with no parser that follows it is harmless.
    TSyntaxParser::GlobalOptionsChanged();
}

} // namespace
