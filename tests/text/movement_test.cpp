// Caret movement and the selection commands.

#include "commandfixture.h"

#include <gtest/gtest.h>

namespace {

TEST(Movement, WordsStopAtRunsOfWordAndOtherCharacters)
{
    Doc doc("int x = a->b;\n  next", {0, 0});
    std::vector<int> stops;
    for (int i = 0; i < 7; ++i) {
        doc.source.WordRight();
        stops.push_back(doc.Caret().column);
    }
    EXPECT_EQ(stops, (std::vector<int>{4, 6, 8, 9, 11, 12, 13}));
    doc.source.WordRight();
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 2}));
    doc.source.WordLeft();
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 0}));
    doc.source.WordLeft();
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 13}));
    doc.source.WordLeft();
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 12}));
}

TEST(Movement, LineAndTextEnds)
{
    Doc doc("one\ntwo three\nfour", {1, 5});
    doc.source.LineEnd();
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 9}));
    doc.source.LineStart();
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 0}));
    doc.source.TextEnd();
    EXPECT_EQ(doc.Caret(), (TTextPos{2, 4}));
    doc.source.TextStart();
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 0}));
}

TEST(Movement, MatchingBracketFindsThePartnerAcrossLinesAndBack)
{
    Doc doc("f(a[1], {\n  (x)\n}) + y", {0, 1});
    EXPECT_TRUE(doc.source.MatchingBracket());
    EXPECT_EQ(doc.Caret(), (TTextPos{2, 1}));
    EXPECT_TRUE(doc.source.MatchingBracket());
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 1}));
    // Just behind a bracket counts too.
    doc.Place({0, 9});
    EXPECT_TRUE(doc.source.MatchingBracket());
    EXPECT_EQ(doc.Caret(), (TTextPos{2, 0}));
    doc.Place({2, 5});
    EXPECT_FALSE(doc.source.MatchingBracket());
    EXPECT_EQ(doc.Caret(), (TTextPos{2, 5}));

    Doc open("((a)", {0, 0});
    EXPECT_FALSE(open.source.MatchingBracket());
}

TEST(Movement, ExtendsTheSelectionInStreamAndColumnMode)
{
    Doc doc("abcdef\nghijkl\nmnopqr", {0, 2});
    doc.source.MoveCaretBy(1, 0, smStream);
    doc.source.LineEnd(smStream);
    EXPECT_EQ(doc.source.SelectionMode(), smStream);
    EXPECT_EQ(doc.Selected(), "cdef\r\nghijkl");
    doc.source.MoveCaretBy(0, -2, smStream);
    EXPECT_EQ(doc.Selected(), "cdef\r\nghij");

    doc.Place({0, 1});
    doc.source.MoveCaretBy(2, 2, smBlock);
    EXPECT_EQ(doc.source.SelectionMode(), smBlock);
    EXPECT_EQ(doc.Selected(), "bcd\r\nhij\r\nnop");
}

TEST(Movement, EndsTheSelectionUnlessBlocksArePersistent)
{
    Doc doc("abcdef\nghijkl", {0, 0});
    doc.Select({0, 1}, {0, 3});
    doc.source.MoveCaretBy(1, 0);
    EXPECT_FALSE(doc.source.HasSelection());

    doc.source.SetOptions(doc.source.Options() | soPersistentBlocks);
    doc.Select({0, 1}, {0, 3});
    doc.source.WordRight();
    doc.source.TextEnd();
    EXPECT_EQ(doc.Selected(), "bc");
}

TEST(Movement, BlockEndsNeedABlock)
{
    Doc doc("abcdef\nghijkl", {1, 5});
    doc.source.GotoBlockBegin();
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 5}));
    doc.Select({0, 2}, {1, 1});
    doc.source.GotoBlockBegin();
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 2}));
    doc.source.GotoBlockEnd();
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 1}));
    EXPECT_EQ(doc.Selected(), "cdef\r\ng");
}

TEST(Movement, GoToLineOutsideTheTextChangesNothing)
{
    Doc doc("a\nb\nc", {1, 1});
    EXPECT_FALSE(doc.source.GotoLineNumber(0));
    EXPECT_FALSE(doc.source.GotoLineNumber(4));
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 1}));
    EXPECT_TRUE(doc.source.GotoLineNumber(3));
    EXPECT_EQ(doc.Caret(), (TTextPos{2, 0}));
}

TEST(Movement, JumpsGoToTheirPlaceWhateverTheViewsCaretHookDoes)
{
    Doc doc("a\nb\nc\nd", {0, 0});
    // A view with wrapped rows turns every line step into a row step.
    doc.source.OnBeforeCaretMove = [](int& dLines, int&) { dLines = dLines > 0 ? 1 : dLines; };
    doc.source.SetBookmark(4, {3, 1});
    EXPECT_FALSE(doc.source.GotoBookmark(5));
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 0}));
    EXPECT_TRUE(doc.source.GotoBookmark(4));
    EXPECT_EQ(doc.Caret(), (TTextPos{3, 1}));
    doc.source.TextStart();
    doc.source.TextEnd();
    EXPECT_EQ(doc.Caret(), (TTextPos{3, 1}));
    doc.source.MoveCaretBy(-3, 0);
    doc.source.MoveCaretBy(2, 0);
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 1}));
}

TEST(Selecting, WordByItsThreeKinds)
{
    Doc doc("call foo  (bar)", {0, 6});
    doc.source.SelectWord();
    EXPECT_EQ(doc.Selected(), "foo");
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 8}));
    doc.Place({0, 6});
    doc.source.SelectWord(TWordSelection::WordWithSpace);
    EXPECT_EQ(doc.Selected(), "foo  ");
    doc.Place({0, 6});
    doc.source.SelectWord(TWordSelection::UntilNextWord);
    EXPECT_EQ(doc.Selected(), "foo  (");
    // Just behind a word, and on a run of other characters.
    doc.Place({0, 4});
    doc.source.SelectWord();
    EXPECT_EQ(doc.Selected(), "call");
    doc.Place({0, 14});
    doc.source.SelectWord();
    EXPECT_EQ(doc.Selected(), "bar");
}

TEST(Selecting, LineAllAndMarkedBlocks)
{
    Doc doc("one\ntwo\nthree", {1, 1});
    doc.source.SelectLine();
    EXPECT_EQ(doc.Selected(), "two\r\n");
    doc.source.SelectAll();
    EXPECT_EQ(doc.Selected(), "one\r\ntwo\r\nthree");
    EXPECT_EQ(doc.Caret(), (TTextPos{2, 5}));

    doc.source.SetOptions(doc.source.Options() | soPersistentBlocks);
    doc.source.ClearSelection();
    doc.Place({0, 1});
    doc.source.MarkBlockBegin();
    EXPECT_FALSE(doc.source.HasSelection());
    doc.Place({2, 2});
    doc.source.MarkBlockEnd();
    EXPECT_EQ(doc.Selected(), "ne\r\ntwo\r\nth");
    doc.Place({1, 0});
    doc.source.MarkBlockBegin();
    EXPECT_EQ(doc.Selected(), "two\r\nth");
}

} // namespace
