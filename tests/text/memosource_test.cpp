#include "memosource.h"
#include "sourcestrings.h"
#include "textfixture.h"

#include <QVariant>

#include <gtest/gtest.h>

namespace {

TEST(MemoSourceDefaults, PublishedPropertiesStartAsDocumented)
{
    TMemoSource source;
    EXPECT_EQ(source.Options(), soBackUnindents | soGroupUndo | soForceCutCopy | soAutoIndent | soSmartTab
                                    | soFindTextAtCursor | soOverwriteBlocks);
    EXPECT_EQ(source.TabStops(), "9,17");
    EXPECT_EQ(source.SpacesInTab(), 8);
    EXPECT_EQ(source.BlockIndent(), 1);
    EXPECT_FALSE(source.ReadOnly());
    EXPECT_EQ(source.BlockOption(), bkBoth);
    EXPECT_EQ(source.OutFormat(), ofWindows);
    EXPECT_TRUE(source.AllowUndo());
    EXPECT_EQ(source.UndoLimit(), 0);
    EXPECT_EQ(source.TemplatesType(), "None");
    EXPECT_FALSE(source.HighlightUrls());
    EXPECT_EQ(source.Delimeters(), "/{}+-*():=,;><$.#[]^@&~|%'");
    EXPECT_EQ(source.property("SpacesInTab").toInt(), 8);
}

TEST(MemoSourceDefaults, StringsOptionBitsFollowDeclarationOrder)
{
    EXPECT_EQ(quint32(soBackUnindents), 1u << 0);
    EXPECT_EQ(quint32(soOverwriteBlocks), 1u << 9);
    EXPECT_EQ(quint32(soUsePrevIndent), 1u << 17);
}

TEST(MemoSourceSettings, SpacesInTabOutsideOneToTenBecomesEight)
{
    TMemoSource source;
    for (int value : {0, 11, -3}) {
        source.SetSpacesInTab(value);
        EXPECT_EQ(source.SpacesInTab(), 8) << value;
    }
    source.SetSpacesInTab(10);
    EXPECT_EQ(source.SpacesInTab(), 10);
}

TEST(MemoSourceSettings, NegativeBlockIndentAndUndoLimitBecomeZero)
{
    TMemoSource source;
    source.SetBlockIndent(-2);
    source.SetUndoLimit(-5);
    EXPECT_EQ(source.BlockIndent(), 0);
    EXPECT_EQ(source.UndoLimit(), 0);
}

TEST(MemoSourceSettings, InvalidTabStopsRaiseAndKeepTheOldList)
{
    TMemoSource source;
    source.SetTabStops("4,8");
    for (const char* bad : {"9,9", "0", "a", "5,3", "-1", "2147483000", "8,1001", "99999999999"}) {
        EXPECT_THROW(source.SetTabStops(bad), EInvalidTabRack) << bad;
        EXPECT_EQ(source.TabStops(), "4,8");
    }
    try {
        source.SetTabStops("9,9");
    } catch (const EInvalidTabRack& e) {
        EXPECT_STREQ(e.what(), "Invalid Tab Rack");
    }
    source.SetTabStops("1000");
    EXPECT_EQ(source.TabStops(), "1000");
}

TEST(MemoSourceSettings, TabStopsRepeatTheirLastInterval)
{
    TTabStops stops;
    stops.Set("9,17");
    EXPECT_EQ(stops.NextStop(0), 9);
    EXPECT_EQ(stops.NextStop(9), 17);
    EXPECT_EQ(stops.NextStop(17), 25);
    EXPECT_EQ(stops.Stop(4), 41);
    stops.Set("");
    EXPECT_EQ(stops.NextStop(0), 8);
    EXPECT_EQ(stops.NextStop(8), 16);
    stops.Set("5");
    EXPECT_EQ(stops.NextStop(12), 15);
}

TEST(MemoSourceSettings, TabCharacterAndSmartTabNeverHoldTogether)
{
    TMemoSource source;
    ASSERT_TRUE(source.Options().testFlag(soSmartTab));
    source.SetOptions(source.Options() | soUseTabCharacter);
    EXPECT_TRUE(source.Options().testFlag(soUseTabCharacter));
    EXPECT_FALSE(source.Options().testFlag(soSmartTab));
    source.SetOptions(source.Options() | soSmartTab);
    EXPECT_TRUE(source.Options().testFlag(soSmartTab));
    EXPECT_FALSE(source.Options().testFlag(soUseTabCharacter));
}

TEST(MemoSourceSettings, DroppingBeyondFileEndPullsTheCaretOntoTheLastLine)
{
    TMemoSource source;
    source.SetOptions(source.Options() | soBeyondFileEnd);
    source.Lines().SetText("a\nb");
    source.MoveCaret(5, 0);
    EXPECT_EQ(source.CaretLine(), 5);
    source.SetOptions(source.Options() & ~TStringsOptions(soBeyondFileEnd));
    EXPECT_EQ(source.CaretLine(), 1);
}

TEST(MemoSourceLines, LoadingKeepsEveryByteAndOnlyLinesPutThroughLinesLoseTheirTabs)
{
    TMemoSource source;
    source.SetSpacesInTab(3);
    source.Lines().SetText("one  \r\ntwo\t\r\n three \x01\r\na\tb");
    EXPECT_EQ(source.Lines().Text(), "one  \r\ntwo\t\r\n three \x01\r\na\tb");
    EXPECT_EQ(source.Lines().Get(3), "a" + QByteArray(8, ' ') + "b");
    source.Lines().Put(0, "\tx");
    EXPECT_EQ(source.Lines().Get(0), "   x");
}

TEST(MemoSourceLines, TabsAreKeptRawAndExpandedOnGet)
{
    TMemoSource source;
    source.SetOptions(source.Options() | soUseTabCharacter);
    source.Lines().SetText("a\tb");
    EXPECT_EQ(source.Lines().Text(), "a\tb");
    EXPECT_EQ(source.Lines().Get(0), "a" + QByteArray(8, ' ') + "b");
    EXPECT_EQ(source.LineLength(0), 10);
}

TEST(MemoSourceLines, PutInsertDeleteKeepCaretAndSelection)
{
    TMemoSource source;
    source.Lines().SetText("zero\none\ntwo");
    source.SetCaret({1, 2});
    source.SetSelection({0, 1}, {2, 2});
    source.Lines().Put(0, "ZERO!");
    source.Lines().Insert(1, "inserted");
    source.Lines().Delete(3);
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"ZERO!", "inserted", "one"}));
    EXPECT_EQ(source.Caret(), (TTextPos{1, 2}));
    EXPECT_EQ(source.BlockBegin(), (TTextPos{0, 1}));
    EXPECT_EQ(source.BlockEnd(), (TTextPos{2, 2}));
}

TEST(MemoSourceLines, InsertAppendsAndDeleteRemovesTheLastLine)
{
    TMemoSource source;
    source.Lines().Add("first");
    source.Lines().Add("second");
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"first", "second"}));
    source.Lines().Delete(1);
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"first"}));
    source.Lines().Delete(0);
    EXPECT_EQ(source.LineCount(), 0);
}

TEST(MemoSourceLines, OutOfRangeIndexesAreSilent)
{
    TMemoSource source;
    source.Lines().SetText("a");
    EXPECT_EQ(source.Lines().Get(5), "");
    EXPECT_EQ(source.Lines().Get(-1), "");
    source.Lines().Put(3, "x");
    source.Lines().Delete(7);
    source.Lines().Insert(9, "y");
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"a"}));
}

TEST(MemoSourceLines, ClearEmptiesTextBookmarksAndSelection)
{
    TMemoSource source;
    source.Lines().SetText("a\nb\nc");
    source.SetCaret({2, 1});
    source.ToggleBookmark(3);
    source.SetSelection({0, 0}, {1, 1});
    source.Lines().Clear();
    EXPECT_EQ(source.LineCount(), 0);
    EXPECT_EQ(source.Caret(), (TTextPos{0, 0}));
    EXPECT_FALSE(source.HasSelection());
    EXPECT_FALSE(source.IsBookmarkSet(3));
}

TEST(InternalStrings, GrowsByHalfAndAtLeast64)
{
    TInternalStrings strings;
    strings.Insert(0, "x");
    EXPECT_EQ(strings.Capacity(), 64);
    for (int i = 0; i < 64; ++i)
        strings.Add("y");
    EXPECT_EQ(strings.Capacity(), 128);
    for (int i = 0; i < 64; ++i)
        strings.Add("y");
    EXPECT_EQ(strings.Capacity(), 192);
    strings.Clear();
    EXPECT_EQ(strings.Capacity(), 0);
}

TEST(InternalStrings, RawFlagAndTransformDecideWhatGetReturns)
{
    TInternalStrings strings;
    strings.Add("a\tb");
    strings.Add("c");
    strings.OnGetTransform = [](int, std::string_view raw) { return QByteArray(raw.data(), qsizetype(raw.size())).toUpper(); };
    EXPECT_EQ(strings.Get(0), "A\tB");
    strings.SetRaw(true);
    EXPECT_EQ(strings.Get(0), "a\tb");
    strings.SetRaw(false);
    EXPECT_EQ(strings.Text(), "a\tb\r\nc");
    strings.Insert(5, "out of range");
    strings.Put(-1, "x");
    EXPECT_EQ(strings.Count(), 2);
}

TEST(InternalStrings, InsertingAndDeletingInTheMiddleKeepsOrder)
{
    TInternalStrings strings;
    for (int i = 0; i < 300; ++i)
        strings.Add(QByteArray::number(i));
    strings.Insert(150, "mid");
    strings.Delete(10);
    strings.Insert(0, "first");
    strings.Delete(strings.Count() - 1);
    EXPECT_EQ(strings.Get(0), "first");
    EXPECT_EQ(strings.Get(10), "9");
    EXPECT_EQ(strings.Get(11), "11");
    EXPECT_EQ(strings.Get(150), "mid");
    EXPECT_EQ(strings.Get(strings.Count() - 1), "298");
}

TEST(MemoSourceCaret, MovesAreClampedAtTheTextStart)
{
    TMemoSource source;
    source.Lines().SetText("a\nb\nc");
    source.SetCaret({2, 0});
    source.MoveCaret(-5, 0);
    EXPECT_EQ(source.CaretLine(), 0);
    source.MoveCaret(0, -3);
    EXPECT_EQ(source.CaretColumn(), 0);
}

TEST(MemoSourceCaret, WithoutBeyondFileEndTheCaretStaysOnTheLastLine)
{
    TMemoSource source;
    source.Lines().SetText("a\nb\nc");
    source.SetCaret({2, 0});
    source.MoveCaret(10, 0);
    EXPECT_EQ(source.CaretLine(), 2);
    source.SetOptions(source.Options() | soBeyondFileEnd);
    source.MoveCaret(10, 0);
    EXPECT_EQ(source.CaretLine(), 12);
}

TEST(MemoSourceCaret, LimitEolHoldsTheColumnAtTheLineEnd)
{
    TMemoSource source;
    source.Lines().SetText("abc\nlonger line");
    source.MoveCaret(0, 20);
    EXPECT_EQ(source.CaretColumn(), 20);
    source.SetOptions(source.Options() | soLimitEOL);
    source.SetCaret({1, 11});
    source.MoveCaret(-1, 0);
    EXPECT_EQ(source.Caret(), (TTextPos{0, 3}));
}

TEST(MemoSourceCaret, TheViewHookMayChangeTheDeltas)
{
    TMemoSource source;
    source.Lines().SetText("a\nb\nc\nd");
    source.OnBeforeCaretMove = [](int& dLines, int& dColumns) {
        dLines *= 2;
        dColumns = 0;
    };
    source.MoveCaret(1, 5);
    EXPECT_EQ(source.Caret(), (TTextPos{2, 0}));
}

TEST(MemoSourceCaret, LeavingALineDropsItsTrailingBlanks)
{
    TMemoSource source;
    source.Lines().SetText("ab\ncd");
    source.SetCaret({0, 2});
    source.InsertString("  ");
    source.MoveCaret(0, 2);
    EXPECT_EQ(source.Lines().Get(0), "ab  ");
    source.MoveCaret(1, 0);
    EXPECT_EQ(source.Lines().Get(0), "ab");

    source.SetKeepTrailingBlanks(true);
    source.SetCaret({1, 2});
    source.InsertString("  ");
    source.MoveCaret(-1, 0);
    EXPECT_EQ(source.Lines().Get(1), "cd  ");
}

TEST(MemoSourceCaret, AlwaysOnTabsPutsTheCaretOntoTheTab)
{
    TMemoSource source;
    source.SetOptions(source.Options() | soUseTabCharacter | soCursorAlwaysOnTabs);
    source.Lines().SetText("a\tb");
    source.MoveCaret(0, 4);
    EXPECT_EQ(source.CaretColumn(), 1);
    source.MoveCaret(0, 8);
    EXPECT_EQ(source.CaretColumn(), 9);
}

TEST(MemoSourceEditing, InsertingBehindTheLineEndFillsWithBlanks)
{
    TMemoSource source;
    source.Lines().SetText("ab");
    source.MoveCaret(0, 5);
    source.InsertString("x");
    EXPECT_EQ(source.Lines().Get(0), "ab   x");
    EXPECT_EQ(source.CaretColumn(), 5);
}

TEST(MemoSourceEditing, LineBreakAndJoinSplitAndMergeAtTheCaret)
{
    TMemoSource source;
    source.Lines().SetText("hello world");
    source.MoveCaret(0, 5);
    source.InsertLineBreak();
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"hello", " world"}));
    EXPECT_EQ(source.Caret(), (TTextPos{0, 5}));
    source.JoinLines();
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"hello world"}));
}

TEST(MemoSourceEditing, TypingIntoAnEmptyTextCreatesItsFirstLine)
{
    TMemoSource source;
    ASSERT_EQ(source.LineCount(), 0);
    source.InsertString("x");
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"x"}));
}

TEST(MemoSourceEditing, ReadOnlyStoresAndLinesRefuseEdits)
{
    TMemoSource source;
    source.Lines().SetText("one\ntwo");
    source.SetLineReadOnly(0, true);
    source.InsertString("x");
    source.DeleteChars(1);
    source.InsertLineBreak();
    source.JoinLines();
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"one", "two"}));
    source.SetCaret({1, 0});
    source.InsertString("x");
    EXPECT_EQ(source.Lines().Get(1), "xtwo");
    source.SetReadOnly(true);
    source.InsertString("y");
    EXPECT_EQ(source.Lines().Get(1), "xtwo");
    EXPECT_TRUE(source.CaretLineReadOnly());
}

TEST(MemoSourcePositions, BlockFollowsInsertsAndLineBreaks)
{
    TMemoSource source;
    source.Lines().SetText("abcdef\nxyz");
    source.SetSelection({0, 2}, {0, 4});
    source.SetCaret({0, 2});
    source.InsertString("12"); // at the block begin: the begin stays
    EXPECT_EQ(source.BlockBegin(), (TTextPos{0, 2}));
    EXPECT_EQ(source.BlockEnd(), (TTextPos{0, 6}));
    source.SetCaret({0, 1});
    source.InsertLineBreak();
    EXPECT_EQ(source.BlockBegin(), (TTextPos{1, 1}));
    EXPECT_EQ(source.BlockEnd(), (TTextPos{1, 5}));
    source.SetCaret({0, 1});
    source.JoinLines();
    EXPECT_EQ(source.BlockBegin(), (TTextPos{0, 2}));
    EXPECT_EQ(source.BlockEnd(), (TTextPos{0, 6}));
}

TEST(MemoSourcePositions, DeletionDoesNotPullPositionsLeftOfTheCaret)
{
    TMemoSource source;
    source.Lines().SetText("abcdefgh");
    source.SetSelection({0, 3}, {0, 6});
    source.SetCaret({0, 2});
    source.DeleteChars(3);
    EXPECT_EQ(source.Lines().Get(0), "abfgh");
    EXPECT_EQ(source.BlockBegin(), (TTextPos{0, 2}));
    EXPECT_EQ(source.BlockEnd(), (TTextPos{0, 3}));
}

TEST(MemoSourcePositions, ColumnBlocksDoNotShift)
{
    TMemoSource source;
    source.Lines().SetText("abcdef\nabcdef");
    source.SetSelection({0, 2}, {1, 4}, smBlock);
    source.SetCaret({0, 0});
    source.InsertString("xx");
    EXPECT_EQ(source.BlockBegin(), (TTextPos{0, 2}));
    EXPECT_EQ(source.BlockEnd(), (TTextPos{1, 4}));
}

TEST(MemoSourceSelection, StreamAndBlockTextTakeTheirColumns)
{
    TMemoSource source;
    source.Lines().SetText("0123456789\nabcdefghij\nABCDEFGHIJ");
    source.SetSelection({0, 3}, {2, 2});
    EXPECT_EQ(source.SelectedText(), "3456789\r\nabcdefghij\r\nAB");
    source.SetSelection({0, 3}, {0, 6});
    EXPECT_EQ(source.SelectedText(), "345");
    source.SetSelection({2, 5}, {0, 3}, smBlock);
    EXPECT_EQ(source.BlockBegin(), (TTextPos{0, 3}));
    EXPECT_EQ(source.BlockEnd(), (TTextPos{2, 5}));
    EXPECT_EQ(source.SelectedText(), "345\r\ndef\r\nDEF");
    EXPECT_EQ(source.SelectionLines().Count(), 3);
    EXPECT_EQ(source.SelectionLines().Get(1), "def");
    source.SelectionLines().Delete(0);
    EXPECT_EQ(source.SelectionLines().Count(), 3);
}

TEST(MemoSourceSelection, BlockOptionForcesTheTypeAndConvertsTheSelection)
{
    TMemoSource source;
    source.Lines().SetText("abc\ndef");
    source.SetSelection({0, 1}, {1, 2});
    EXPECT_EQ(source.SelectionMode(), smStream);
    source.SetBlockOption(bkBlockSel);
    EXPECT_EQ(source.SelectionMode(), smBlock);
    source.SetBlockOption(bkStreamSel);
    EXPECT_EQ(source.SelectionMode(), smStream);
    source.SetSelection({0, 0}, {1, 1}, smBlock);
    EXPECT_EQ(source.SelectionMode(), smStream);
    source.SetBlockOption(bkNone);
    EXPECT_EQ(source.SelectionMode(), smNone);
}

TEST(MemoSourceSelection, SelectionTypeEventHasTheLastWord)
{
    TMemoSource source;
    source.Lines().SetText("abc\ndef");
    int asked = -1;
    source.OnGetSelectionType = [&](TCustomMemoSource&, int& type) {
        asked = type;
        type = smBlock;
    };
    source.SetSelection({0, 0}, {1, 1}, smStream);
    EXPECT_EQ(asked, smStream);
    EXPECT_EQ(source.SelectionMode(), smBlock);
}

TEST(MemoSourceSelection, ExtendingFollowsTheCornerAtTheCaret)
{
    TMemoSource source;
    source.Lines().SetText("0123456789\n0123456789\n0123456789");
    source.ExtendSelection({1, 5}, {1, 8}, smStream);
    EXPECT_EQ(source.BlockBegin(), (TTextPos{1, 5}));
    EXPECT_EQ(source.BlockEnd(), (TTextPos{1, 8}));
    source.ExtendSelection({1, 8}, {0, 2}, smStream);
    EXPECT_EQ(source.BlockBegin(), (TTextPos{0, 2}));
    EXPECT_EQ(source.BlockEnd(), (TTextPos{1, 5}));

    source.ClearSelection();
    source.ExtendSelection({0, 6}, {2, 3}, smBlock);
    EXPECT_EQ(source.BlockBegin(), (TTextPos{0, 3}));
    EXPECT_EQ(source.BlockEnd(), (TTextPos{2, 6}));
    // The caret is now at the bottom-left corner; moving it keeps the top right.
    source.ExtendSelection({2, 3}, {1, 8}, smBlock);
    EXPECT_EQ(source.BlockBegin(), (TTextPos{0, 6}));
    EXPECT_EQ(source.BlockEnd(), (TTextPos{1, 8}));
}

TEST(MemoSourceSelection, AnEmptySelectionIsDroppedAtTheEndOfTheUpdate)
{
    TMemoSource source;
    source.Lines().SetText("abc");
    source.SetSelection({0, 1}, {0, 1});
    EXPECT_EQ(source.SelectionMode(), smNone);
}

TEST(MemoSourceNotices, AttachingSendsTheAttachMask)
{
    TMemoSource source;
    source.Lines().SetText("a\nb");
    ChangeLog log(source);
    ASSERT_FALSE(log.changes.empty());
    EXPECT_EQ(log.changes.back().flags, 0x057D);
    EXPECT_EQ(log.changes.back().firstLine, 0);
}

TEST(MemoSourceNotices, OneNoticePerOutermostUpdateWithTheChangedLines)
{
    TMemoSource source;
    source.Lines().SetText("a\nb\nc\nd");
    source.SetSavePoint();
    ChangeLog log(source);
    log.changes.clear();
    source.BeginUpdate(100);
    source.SetCaret({2, 0});
    source.InsertString("x");
    source.SetCaret({1, 0});
    source.InsertString("y");
    EXPECT_TRUE(log.changes.empty());
    source.EndUpdate();
    ASSERT_EQ(log.changes.size(), 1u);
    const TMemoChange& change = log.changes[0];
    EXPECT_TRUE(change.flags & Change::kCaretMoved);
    EXPECT_TRUE(change.flags & Change::kText);
    EXPECT_TRUE(change.flags & Change::kModified);
    EXPECT_FALSE(change.flags & Change::kLineCount);
    EXPECT_EQ(change.firstLine, 1);
    EXPECT_EQ(change.lastLine, 2);
}

TEST(MemoSourceNotices, NothingIsSentWhenNothingChanged)
{
    TMemoSource source;
    source.Lines().SetText("a");
    ChangeLog log(source);
    log.changes.clear();
    source.BeginUpdate(100);
    source.EndUpdate();
    source.MoveCaret(0, 0);
    EXPECT_TRUE(log.changes.empty());
}

TEST(MemoSourceNotices, MaskBitsNameWhatChanged)
{
    TMemoSource source;
    source.Lines().SetText("a\nb");
    ChangeLog log(source);
    log.changes.clear();
    source.InsertLineBreak();
    EXPECT_TRUE(log.last() & Change::kLineCount);
    source.SetSelection({0, 0}, {1, 0});
    EXPECT_EQ(log.last(), Change::kSelection);
    source.SetFileName("x.jsp");
    EXPECT_EQ(log.last(), Change::kFileName);
    log.changes.clear();
    source.SetFileName("x.jsp");
    EXPECT_TRUE(log.changes.empty());
    source.SetReadOnly(true);
    EXPECT_EQ(log.last(), Change::kReadOnly);
}

TEST(MemoSourceBookmarks, ToggleMovesOrRemovesAndZeroIsTen)
{
    TMemoSource source;
    source.Lines().SetText("a\nb\nc\nd");
    source.SetCaret({1, 0});
    source.ToggleBookmark(0);
    EXPECT_TRUE(source.IsBookmarkSet(10));
    EXPECT_EQ(source.BookmarksOnLine(1), 1u << 9);
    source.SetCaret({3, 0});
    source.ToggleBookmark(10);
    EXPECT_EQ(source.BookmarkPos(10).line, 3);
    source.ToggleBookmark(10);
    EXPECT_FALSE(source.IsBookmarkSet(10));
    EXPECT_FALSE(source.GotoBookmark(4));
    EXPECT_EQ(source.Caret(), (TTextPos{3, 0}));
}

TEST(MemoSourceBookmarks, BookmarksMoveWithTheirLines)
{
    TMemoSource source;
    source.Lines().SetText("a\nb\nc\nd");
    source.SetCaret({2, 1});
    source.ToggleBookmark(1);
    source.Lines().Insert(0, "new");
    EXPECT_EQ(source.BookmarkPos(1).line, 3);
    source.Lines().Delete(1);
    EXPECT_EQ(source.BookmarkPos(1).line, 2);
    EXPECT_EQ(source.BookmarkedLines(), std::vector<int>{2});
    source.SetCaret({0, 0});
    source.GotoBookmark(1);
    EXPECT_EQ(source.Caret(), (TTextPos{2, 1}));
}

} // namespace
