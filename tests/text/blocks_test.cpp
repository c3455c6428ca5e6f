// Block commands, case changes, the OEM conversion and the clipboard, on
// stream and column selections, with tabs and read-only lines.

#include "ansi.h"
#include "commandfixture.h"

#include <gtest/gtest.h>

namespace {

TEST(Blocks, CopyPutsACopyAtTheCaretAndSelectsIt)
{
    Doc doc("abc\ndef\nxyz", {2, 1});
    doc.Select({0, 1}, {1, 2});
    doc.source.SetOptions(doc.source.Options() | soPersistentBlocks);
    doc.Place({2, 1});
    ExpectOneUndoStep(doc, [&] {
        doc.source.CopyBlock();
        EXPECT_EQ(doc.Lines(), (Texts{"abc", "def", "xbc", "deyz"}));
        EXPECT_EQ(doc.Selected(), "bc\r\nde");
        EXPECT_EQ(doc.Caret(), (TTextPos{2, 1}));
    });
}

TEST(Blocks, CopyOfAColumnBlockKeepsItsShape)
{
    Doc doc("abcd\nefgh\nij", {0, 0});
    doc.source.SetOptions(doc.source.Options() | soPersistentBlocks);
    doc.Select({0, 1}, {1, 2}, smBlock);
    doc.Place({2, 1});
    doc.source.CopyBlock();
    EXPECT_EQ(doc.Lines(), (Texts{"abcd", "efgh", "ibcj", " fg"}));
    EXPECT_EQ(doc.source.SelectionMode(), smBlock);
    EXPECT_EQ(doc.Selected(), "bc\r\nfg");
}

TEST(Blocks, MoveTakesTheBlockToTheCaretButNotIntoItself)
{
    Doc doc("one two\nthree four\nfive", {0, 0});
    doc.source.SetOptions(doc.source.Options() | soPersistentBlocks);
    doc.Select({0, 4}, {1, 5});
    doc.Place({1, 2});
    doc.source.MoveBlock();
    EXPECT_EQ(doc.Lines(), (Texts{"one two", "three four", "five"}));

    doc.Place({2, 4});
    ExpectOneUndoStep(doc, [&] {
        doc.source.MoveBlock();
        EXPECT_EQ(doc.Lines(), (Texts{"one  four", "fivetwo", "three"}));
        EXPECT_EQ(doc.Selected(), "two\r\nthree");
        EXPECT_EQ(doc.Caret(), (TTextPos{1, 4}));
    });
}

TEST(Blocks, MoveBackwardsFollowsTheCaretsPlace)
{
    Doc doc("ab\ncd\nef", {0, 0});
    doc.source.SetOptions(doc.source.Options() | soPersistentBlocks);
    doc.Select({2, 0}, {2, 2});
    doc.Place({0, 1});
    doc.source.MoveBlock();
    EXPECT_EQ(doc.Lines(), (Texts{"aefb", "cd", ""}));
}

TEST(Blocks, DeleteOfAStreamBlockJoinsItsEnds)
{
    Doc doc("one two\nthree\nfour five", {0, 0});
    doc.Select({0, 3}, {2, 4});
    ExpectOneUndoStep(doc, [&] {
        doc.source.DeleteBlock();
        EXPECT_EQ(doc.Lines(), Texts{"one five"});
        EXPECT_EQ(doc.Caret(), (TTextPos{0, 3}));
        EXPECT_FALSE(doc.source.HasSelection());
    });
}

TEST(Blocks, DeleteOfAColumnBlockCutsTabsIntoBlanks)
{
    Doc doc;
    doc.source.SetOptions(doc.source.Options() | soUseTabCharacter);
    doc.source.Lines().SetText("a\tbc\nabcdefghijkl\nxy");
    doc.Select({0, 3}, {2, 9}, smBlock);
    ExpectOneUndoStep(doc, [&] {
        doc.source.DeleteBlock();
        EXPECT_EQ(doc.Lines(), (Texts{"a  c", "abckl", "xy"}));
    });
}

TEST(Blocks, NothingWithoutASelectionOrOverAReadOnlyLine)
{
    Doc doc("ab\ncd\nef", {0, 0});
    doc.source.CopyBlock();
    doc.source.MoveBlock();
    doc.source.DeleteBlock();
    doc.source.IndentBlock();
    doc.source.BlockToUpperCase();
    doc.source.QuoteBlock();
    EXPECT_EQ(doc.Lines(), (Texts{"ab", "cd", "ef"}));
    doc.source.SetLineReadOnly(1, true);
    doc.Select({0, 1}, {2, 1});
    doc.source.DeleteBlock();
    doc.source.CutToClipboard();
    EXPECT_EQ(doc.Lines(), (Texts{"ab", "cd", "ef"}));
    EXPECT_FALSE(doc.services.ClipboardHasText());
}

TEST(Blocks, IndentAndOutdentByTheBlockIndent)
{
    Doc doc("a\n b\nc", {0, 0});
    doc.source.SetBlockIndent(2);
    doc.Select({0, 0}, {2, 0});
    ExpectOneUndoStep(doc, [&] {
        doc.source.IndentBlock();
        EXPECT_EQ(doc.Lines(), (Texts{"  a", "   b", "c"}));
    });
    doc.Select({0, 0}, {2, 1});
    doc.source.UnindentBlock();
    EXPECT_EQ(doc.Lines(), (Texts{"a", "b", "c"}));
    // A read-only line keeps its place.
    doc.source.SetLineReadOnly(1, true);
    doc.Select({0, 0}, {2, 1});
    doc.source.IndentBlock();
    EXPECT_EQ(doc.Lines(), (Texts{"  a", "b", "  c"}));
}

TEST(Blocks, CaseOfTheBlockWithCaretAndSelectionKept)
{
    Doc doc("hello World\n\xe9t\xe9 caf\xe9", {0, 0});
    doc.Select({0, 6}, {1, 3});
    doc.source.SetOptions(doc.source.Options() | soPersistentBlocks);
    doc.Place({1, 1});
    ExpectOneUndoStep(doc, [&] {
        doc.source.BlockToUpperCase();
        EXPECT_EQ(doc.Lines(), (Texts{"hello WORLD", "\xc9T\xc9 caf\xe9"}));
        EXPECT_EQ(doc.Caret(), (TTextPos{1, 1}));
        EXPECT_EQ(doc.source.BlockBegin(), (TTextPos{0, 6}));
        EXPECT_EQ(doc.source.BlockEnd(), (TTextPos{1, 3}));
    });
    doc.Select({0, 0}, {0, 7});
    doc.source.BlockToggleCase();
    EXPECT_EQ(doc.Lines().value(0), "HELLO world");
    doc.source.BlockToLowerCase();
    EXPECT_EQ(doc.Lines().value(0), "hello world");
}

TEST(Blocks, CaseOfTheWordAndOfTheCaretLine)
{
    Doc doc("one two three\nfour", {0, 5});
    doc.source.WordToUpperCase();
    EXPECT_EQ(doc.Lines().value(0), "one TWO three");
    doc.source.WordToLowerCase();
    EXPECT_EQ(doc.Lines().value(0), "one two three");
    doc.source.LineToUpperCase();
    EXPECT_EQ(doc.Lines(), (Texts{"ONE TWO THREE", "four"}));
    doc.source.LineToggleCase();
    EXPECT_EQ(doc.Lines().value(0), "one two three");
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 5}));
}

TEST(Blocks, CaseOfAColumnBlockTakesOnlyItsColumns)
{
    Doc doc("abcdef\nghijkl", {0, 0});
    doc.Select({0, 1}, {1, 2}, smBlock);
    doc.source.BlockToUpperCase();
    EXPECT_EQ(doc.Lines(), (Texts{"aBCdef", "gHIjkl"}));
}

TEST(Blocks, QuotePrefixesEveryLineOfTheBlock)
{
    Doc doc("a\nb\nc", {0, 0});
    doc.Select({0, 0}, {1, 1});
    ExpectOneUndoStep(doc, [&] {
        doc.source.QuoteBlock();
        EXPECT_EQ(doc.Lines(), (Texts{">a", ">b", "c"}));
    });
}

TEST(Oem, ConvertsTheWholeTextInOneStepAndBack)
{
    Doc doc("caf\xe9\nna\xefve \xa3", {0, 2});
    ExpectOneUndoStep(doc, [&] {
        doc.source.ConvertToOem();
        EXPECT_EQ(doc.Lines(), (Texts{"caf\x82", "na\x8bve \x9c"}));
    });
    doc.source.ConvertToOem();
    doc.source.ConvertFromOem();
    EXPECT_EQ(doc.Lines(), (Texts{"caf\xe9", "na\xefve \xa3"}));
}

TEST(Clipboard, CopyAndCutStreamAndColumnBlocks)
{
    Doc doc("abcd\nefgh", {0, 0});
    doc.Select({0, 1}, {1, 2});
    doc.source.CopyToClipboard();
    bool column = true;
    EXPECT_EQ(doc.services.ClipboardText(&column), "bcd\r\nef");
    EXPECT_FALSE(column);

    doc.Select({0, 1}, {1, 2}, smBlock);
    doc.source.CutToClipboard();
    EXPECT_EQ(doc.services.ClipboardText(&column), "bc\r\nfg");
    EXPECT_TRUE(column);
    EXPECT_EQ(doc.Lines(), (Texts{"ad", "eh"}));
}

TEST(Clipboard, PasteGoesInAsLinesOrAsColumns)
{
    Doc doc("abcd\nefgh\nij", {0, 1});
    doc.services.SetClipboardText("X\r\nY", false);
    ExpectOneUndoStep(doc, [&] {
        doc.source.PasteFromClipboard();
        EXPECT_EQ(doc.Lines(), (Texts{"aX", "Ybcd", "efgh", "ij"}));
        EXPECT_EQ(doc.Caret(), (TTextPos{1, 1}));
    });
    doc.services.SetClipboardText("12\r\n34\r\n56", true);
    doc.Place({1, 3});
    doc.source.PasteFromClipboard();
    EXPECT_EQ(doc.Lines(), (Texts{"abcd", "efg12h", "ij 34", "   56"}));
}

TEST(Clipboard, PasteReplacesTheSelectionAndMayBeChangedFirst)
{
    Doc doc("one two", {0, 0});
    doc.source.OnPasteFromClipboard = [](TCustomMemoSource&, TStrings& lines) { lines.Put(0, lines.Get(0).toUpper()); };
    doc.services.SetClipboardText("six", false);
    doc.Select({0, 4}, {0, 7});
    doc.source.PasteFromClipboard();
    EXPECT_EQ(doc.Lines(), Texts{"one SIX"});
}

TEST(Clipboard, ForceCutCopyTakesTheCaretLineWithoutASelection)
{
    Doc doc("one\ntwo", {0, 1});
    EXPECT_TRUE(doc.source.CanCutCopy());
    doc.source.CutToClipboard();
    EXPECT_EQ(doc.services.ClipboardText(), "one\r\n");
    EXPECT_EQ(doc.Lines(), Texts{"two"});
    doc.source.PasteFromClipboard();
    EXPECT_EQ(doc.Lines(), (Texts{"tone", "wo"}));

    doc.source.SetOptions(doc.source.Options() & ~TStringsOptions(soForceCutCopy));
    EXPECT_FALSE(doc.source.CanCutCopy());
}

} // namespace
