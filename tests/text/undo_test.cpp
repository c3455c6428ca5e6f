#include "memosource.h"
#include "sourcestrings.h"
#include "textfixture.h"

#include <gtest/gtest.h>

namespace {

constexpr int kTyping = 20;
constexpr int kOther = 21;

// Types text at the caret as the editor does: one operation per character.
void Type(TCustomMemoSource& source, const QByteArray& text, int reason = kTyping)
{
    for (char c : text) {
        source.BeginUpdate(reason);
        source.InsertString(QByteArray(1, c));
        source.MoveCaret(0, 1);
        source.EndUpdate();
    }
}

TEST(Undo, NothingHappensOnAnEmptyListOrAReadOnlyStore)
{
    TMemoSource source;
    source.Lines().SetText("abc");
    ChangeLog log(source);
    log.changes.clear();
    source.Undo();
    EXPECT_TRUE(log.changes.empty());

    Type(source, "x");
    source.SetReadOnly(true);
    log.changes.clear();
    source.Undo();
    EXPECT_TRUE(log.changes.empty());
    EXPECT_EQ(source.Lines().Get(0), "xabc");
}

TEST(Undo, WithoutGroupUndoOneStepRevertsOneOperation)
{
    TMemoSource source;
    source.SetOptions(source.Options() & ~TStringsOptions(soGroupUndo));
    Type(source, "abc");
    source.Undo();
    EXPECT_EQ(source.Lines().Get(0), "ab");
    EXPECT_EQ(source.Caret(), (TTextPos{0, 2}));
    source.Undo();
    EXPECT_EQ(source.Lines().Get(0), "a");
}

TEST(Undo, WithGroupUndoOneStepRevertsAdjacentOperationsOfOneReason)
{
    TMemoSource source;
    Type(source, "abc");
    Type(source, "de", kOther);
    source.Undo();
    EXPECT_EQ(source.Lines().Get(0), "abc");
    source.Undo();
    EXPECT_EQ(source.Lines().Get(0), "");
    EXPECT_EQ(source.Caret(), (TTextPos{0, 0}));
}

TEST(Undo, RedoReplaysWhatUndoReverted)
{
    TMemoSource source;
    source.SetOptions(source.Options() & ~TStringsOptions(soGroupUndo));
    Type(source, "ab");
    source.InsertLineBreak();
    Type(source, "c");
    while (source.CanUndo())
        source.Undo();
    EXPECT_EQ(source.Lines().Text(), "");
    EXPECT_FALSE(source.CanUndo());
    while (source.CanRedo())
        source.Redo();
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"abc", ""}));
    source.Undo();
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"ab", ""}));
}

TEST(Undo, ANewRecordDropsTheRedoList)
{
    TMemoSource source;
    Type(source, "ab");
    source.Undo();
    ASSERT_TRUE(source.CanRedo());
    source.MoveCaret(0, 1);
    EXPECT_FALSE(source.CanRedo());
}

TEST(Undo, UndoingBackToTheSavePointClearsModifiedAndPastItSetsIt)
{
    TMemoSource source;
    source.Lines().SetText("start");
    source.SetSavePoint();
    source.SetOptions(source.Options() & ~TStringsOptions(soGroupUndo));
    Type(source, "a");
    EXPECT_TRUE(source.Modified());
    source.Undo();
    EXPECT_FALSE(source.Modified());
    source.Redo();
    EXPECT_TRUE(source.Modified());
    source.SetSavePoint();
    EXPECT_FALSE(source.Modified());
    source.Undo();
    EXPECT_TRUE(source.Modified());
    source.Redo();
    EXPECT_FALSE(source.Modified());
}

TEST(Undo, CaretMovesAfterTheSavePointLeaveTheTextUnmodified)
{
    TMemoSource source;
    source.Lines().SetText("start\nnext");
    source.SetSavePoint();
    Type(source, "x");
    source.MoveCaret(1, 0);
    source.Undo(); // the caret move
    EXPECT_TRUE(source.Modified());
    source.Undo(); // the typing
    EXPECT_FALSE(source.Modified());
}

TEST(Undo, ACompoundBracketIsUndoneInOneStep)
{
    TMemoSource source;
    source.SetOptions(source.Options() & ~TStringsOptions(soGroupUndo));
    Type(source, "x");
    source.BeginCompound();
    Type(source, "ab", kTyping);
    source.InsertLineBreak();
    Type(source, "cd", kOther);
    source.EndCompound();
    source.Undo();
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"x"}));
    source.Undo();
    EXPECT_EQ(Lines(source), (QList<QByteArray>{""}));
}

TEST(Undo, CompoundBracketsAreNeverFoldedIntoTheirNeighbours)
{
    for (bool groupUndo : {false, true}) {
        TMemoSource source;
        source.SetOptions(groupUndo ? source.Options() | soGroupUndo : source.Options() & ~TStringsOptions(soGroupUndo));
        Type(source, "a", kOther);
        for (const QByteArray& text : {QByteArray("bc"), QByteArray("de")}) {
            source.BeginCompound();
            Type(source, text, kOther);
            source.EndCompound();
        }
        Type(source, "f", kOther);
        source.Undo();
        EXPECT_EQ(source.Lines().Get(0), "abcde") << groupUndo;
        source.Undo();
        EXPECT_EQ(source.Lines().Get(0), "abc") << groupUndo;
        source.Undo();
        EXPECT_EQ(source.Lines().Get(0), "a") << groupUndo;
        source.Undo();
        EXPECT_EQ(source.Lines().Get(0), "") << groupUndo;
        while (source.CanRedo())
            source.Redo();
        EXPECT_EQ(source.Lines().Get(0), "abcdef") << groupUndo;
    }
}

TEST(Undo, NothingIsDroppedBeforeTheLimitPlusAHundredIsPassed)
{
    TMemoSource source;
    source.SetUndoLimit(10);
    for (int i = 0; i < 110; ++i)
        source.MoveCaret(0, 1);
    EXPECT_EQ(source.UndoList().Count(), 110);
    source.MoveCaret(0, 1);
    EXPECT_LT(source.UndoList().Count(), 111);
    EXPECT_GE(source.UndoList().Count(), 11);
}

TEST(Undo, ListCapacityDoublesAndHalves)
{
    TUndoList list;
    list.Add({});
    EXPECT_EQ(list.Capacity(), 32);
    for (int i = 1; i < 33; ++i)
        list.Add({});
    EXPECT_EQ(list.Capacity(), 64);
    for (int i = 0; i < 17; ++i)
        list.TakeLast();
    EXPECT_EQ(list.Count(), 16);
    EXPECT_EQ(list.Capacity(), 64);
    list.TakeLast();
    EXPECT_EQ(list.Capacity(), 32);
}

TEST(Undo, SwitchingAllowUndoOffAndOnLeavesBothListsEmpty)
{
    TMemoSource source;
    Type(source, "ab");
    source.Undo();
    Type(source, "c");
    source.Undo();
    ASSERT_TRUE(source.CanRedo());
    source.SetAllowUndo(false);
    Type(source, "d");
    source.SetAllowUndo(true);
    EXPECT_FALSE(source.CanUndo());
    EXPECT_FALSE(source.CanRedo());
}

TEST(Undo, RecordsKeepKindReasonAndGroupStart)
{
    TMemoSource source;
    source.Lines().SetText("abc");
    source.SetCaret({0, 1});
    source.BeginUpdate(kOther);
    source.DeleteChars(1);
    source.InsertLineBreak();
    source.EndUpdate();
    const TUndoList& list = source.UndoList();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.At(0).kind, ukCaretMoved);
    EXPECT_EQ(list.At(0).reason, Reason::kCaretMove);
    EXPECT_EQ(list.At(1).kind, ukDeleted);
    EXPECT_EQ(list.At(1).t, "b");
    EXPECT_TRUE(list.At(1).groupStart);
    EXPECT_EQ(list.At(1).reason, kOther);
    EXPECT_EQ(list.At(2).kind, ukLineBreak);
    EXPECT_FALSE(list.At(2).groupStart);
}

TEST(Undo, PaddedInsertsAndJoinsBehindTheLineEndUndoExactly)
{
    TMemoSource source;
    source.Lines().SetText("ab\ncd");
    source.SetSavePoint();
    source.SetCaret({0, 6});
    source.InsertString("x");
    EXPECT_EQ(source.Lines().Get(0), "ab    x");
    source.SetCaret({0, 9});
    source.JoinLines();
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"ab    xcd"}));
    while (source.CanUndo())
        source.Undo();
    EXPECT_EQ(source.Lines().Text(), "ab\r\ncd");
    EXPECT_FALSE(source.Modified());
    while (source.CanRedo())
        source.Redo();
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"ab    xcd"}));
}

TEST(Undo, LinesEditsUndoAndPutTheCaretBack)
{
    TMemoSource source;
    source.Lines().SetText("one\ntwo\nthree");
    source.SetSavePoint();
    source.SetCaret({2, 3});
    source.Lines().Put(0, "ONE");
    source.Lines().Insert(1, "inserted");
    source.Lines().Delete(3);
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"ONE", "inserted", "two"}));
    EXPECT_EQ(source.Caret(), (TTextPos{2, 3}));
    // Each edit through Lines is one step of its own.
    for (int i = 0; i < 3; ++i)
        source.Undo();
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"one", "two", "three"}));
    EXPECT_EQ(source.Caret(), (TTextPos{2, 3}));
    EXPECT_FALSE(source.Modified());
}

// Line ends are part of the text: deleting a line and joining lines record
// the ends they remove, so undo brings back the bytes, not only the lines.
TEST(Undo, LineEndsComeBackWithTheirLines)
{
    TMemoSource source;
    source.Lines().SetText("\n");
    source.SetSavePoint();
    source.Lines().Delete(0);
    EXPECT_EQ(source.SavedBytes(), "");
    EXPECT_TRUE(source.Modified());
    source.Undo();
    EXPECT_EQ(source.SavedBytes(), "\n");
    EXPECT_FALSE(source.Modified());
    source.Redo();
    EXPECT_EQ(source.SavedBytes(), "");
    EXPECT_EQ(source.Lines().Count(), 0);

    // Redo takes the only line away again even when it ended nowhere, so
    // that a line inserted afterwards is the only one.
    source.Lines().SetText("x");
    source.Lines().Delete(0);
    source.Undo();
    EXPECT_EQ(source.SavedBytes(), "x");
    source.Redo();
    EXPECT_EQ(source.Lines().Count(), 0);
    source.Lines().Insert(0, "y");
    EXPECT_EQ(source.Lines().Count(), 1);
    EXPECT_EQ(source.SavedBytes(), "y");

    source.Lines().SetText("a\r\nb\nc\rd");
    source.SetSavePoint();
    source.SelectAll();
    source.DeleteBlock();
    EXPECT_EQ(source.SavedBytes(), "");
    source.Undo();
    EXPECT_EQ(source.SavedBytes(), "a\r\nb\nc\rd");
    EXPECT_FALSE(source.Modified());
}

} // namespace
