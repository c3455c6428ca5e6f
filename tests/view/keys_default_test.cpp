// The "Default" key mapping, row by row: real key events to a focused
// control and what they do to the text, the caret and the selection.

#include "keysfixture.h"

#include <QRegularExpression>

namespace {

QByteArray NumberedLines(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += "line " + QByteArray::number(i) + "\n";
    return text;
}

// -- movement --------------------------------------------------------------------------

TEST_F(KeysTest, ArrowsMoveTheCaretByColumnsAndLines)
{
    SetText("abc\ndef\nghi");
    Key(Qt::Key_Right);
    EXPECT_EQ(Caret(), (TTextPos{0, 1}));
    Key(Qt::Key_Down);
    EXPECT_EQ(Caret(), (TTextPos{1, 1}));
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_EQ(Caret(), (TTextPos{1, 0}));
    Key(Qt::Key_Up);
    EXPECT_EQ(Caret(), (TTextPos{0, 0}));
    EXPECT_EQ(Text(), "abc\ndef\nghi");
}

TEST_F(KeysTest, LeftAtALineStartGoesBackALineOnlyInNotepadStyle)
{
    SetText("abc\ndef");
    SetCaret(1, 0);
    Key(Qt::Key_Left);
    EXPECT_EQ(Caret(), (TTextPos{1, 0}));
    memo->SetOptions(memo->Options() | moNotePadCursorStyle);
    Key(Qt::Key_Left);
    EXPECT_EQ(Caret(), (TTextPos{0, 3}));
}

TEST_F(KeysTest, UpAndDownScrollInsteadWhileTheCaretIsHidden)
{
    SetText(NumberedLines(100));
    SetCaret(5, 0);
    memo->SetHideCaret(true);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(memo->TopLine(), 2);
    Key(Qt::Key_Up);
    EXPECT_EQ(memo->TopLine(), 1);
    EXPECT_EQ(Caret(), (TTextPos{5, 0}));
}

TEST_F(KeysTest, PageKeysMoveTheCaretAndTheViewByAWindowHeight)
{
    SetText(NumberedLines(100));
    SetCaret(2, 3);
    const int rows = memo->VisibleRows();
    ASSERT_GT(rows, 3);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Caret(), (TTextPos{2 + rows, 3}));
    EXPECT_EQ(memo->TopLine(), rows);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Caret(), (TTextPos{2, 3}));
    EXPECT_EQ(memo->TopLine(), 0);
    Key(Qt::Key_PageDown, kShift);
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{2, 3}));
    EXPECT_EQ(Source().BlockEnd(), (TTextPos{2 + rows, 3}));
}

TEST_F(KeysTest, HomeAndEndGoToTheLineEndsAndCtrlToTheTextEnds)
{
    SetText("first\n  second line\nlast");
    SetCaret(1, 4);
    Key(Qt::Key_End);
    EXPECT_EQ(Caret(), (TTextPos{1, 13}));
    Key(Qt::Key_Home);
    EXPECT_EQ(Caret(), (TTextPos{1, 0}));
    Key(Qt::Key_End, kCtrl);
    EXPECT_EQ(Caret(), (TTextPos{2, 4}));
    Key(Qt::Key_Home, kCtrl);
    EXPECT_EQ(Caret(), (TTextPos{0, 0}));
}

TEST_F(KeysTest, HomeScrollsBackToTheFirstColumnWhileTheCaretIsHidden)
{
    SetText(QByteArray(300, 'x'));
    SetCaret(0, 5);
    memo->SetLeftColumn(40);
    memo->SetHideCaret(true);
    Key(Qt::Key_Home);
    EXPECT_EQ(Caret(), (TTextPos{0, 0}));
    EXPECT_EQ(memo->LeftColumn(), 0);
}

TEST_F(KeysTest, CtrlPageKeysGoToTheWindowsTopAndBottomRow)
{
    SetText(NumberedLines(100));
    memo->SetTopLine(10);
    SetCaret(15, 2);
    ASSERT_EQ(memo->TopLine(), 10);
    Key(Qt::Key_PageUp, kCtrl);
    EXPECT_EQ(Caret(), (TTextPos{10, 2}));
    Key(Qt::Key_PageDown, kCtrl);
    EXPECT_EQ(Caret(), (TTextPos{10 + memo->VisibleRows() - 1, 2}));
    EXPECT_EQ(memo->TopLine(), 10);
}

TEST_F(KeysTest, CtrlUpAndDownScrollTheViewAndLeaveTheCaret)
{
    SetText(NumberedLines(100));
    SetCaret(3, 1);
    Key(Qt::Key_Down, kCtrl);
    Key(Qt::Key_Down, kCtrl);
    EXPECT_EQ(memo->TopLine(), 2);
    Key(Qt::Key_Up, kCtrl);
    EXPECT_EQ(memo->TopLine(), 1);
    EXPECT_EQ(Caret(), (TTextPos{3, 1}));
}

TEST_F(KeysTest, CtrlLeftAndRightMoveByWords)
{
    SetText("one two three");
    Key(Qt::Key_Right, kCtrl);
    EXPECT_EQ(Caret().column, 4);
    Key(Qt::Key_Right, kCtrl);
    EXPECT_EQ(Caret().column, 8);
    Key(Qt::Key_Left, kCtrl);
    EXPECT_EQ(Caret().column, 4);
}

// -- selection ----------------------------------------------------------------------------

TEST_F(KeysTest, ShiftAndShiftCtrlMovementsExtendAStreamSelection)
{
    SetText("abcdef\nghijkl\nmnop");
    Key(Qt::Key_Right, kShift);
    Key(Qt::Key_Right, kShift);
    EXPECT_EQ(Selected(), "ab");
    EXPECT_EQ(Source().SelectionMode(), smStream);
    Key(Qt::Key_Down, kShift);
    EXPECT_EQ(Selected(), "abcdef\r\ngh");
    Key(Qt::Key_End, kShift);
    EXPECT_EQ(Selected(), "abcdef\r\nghijkl");
    Key(Qt::Key_End, kCtrlShift);
    EXPECT_EQ(Selected(), "abcdef\r\nghijkl\r\nmnop");
    Key(Qt::Key_Left, kCtrlShift);
    EXPECT_EQ(Selected(), "abcdef\r\nghijkl\r\n");
}

TEST_F(KeysTest, ShiftAltMovementsExtendAColumnSelection)
{
    SetText("abcdef\nghijkl\nmnopqr");
    SetCaret(0, 1);
    Key(Qt::Key_Right, kShiftAlt);
    Key(Qt::Key_Right, kShiftAlt);
    Key(Qt::Key_Down, kShiftAlt);
    EXPECT_EQ(Source().SelectionMode(), smBlock);
    // A column block takes its right edge column as well.
    EXPECT_EQ(Selected(), "bcd\r\nhij");
    Key(Qt::Key_End, kCtrlShift | Qt::AltModifier);
    EXPECT_EQ(Source().SelectionMode(), smBlock);
    EXPECT_EQ(Caret(), (TTextPos{2, 6}));
}

TEST_F(KeysTest, PlainVerticalMovesEndTheSelectionUnlessBlocksPersist)
{
    SetText("abcdef\nghijkl\nmnop");
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End}) {
        SetCaret(1, 2);
        Key(Qt::Key_Right, kShift);
        ASSERT_TRUE(Source().HasSelection());
        Key(key);
        EXPECT_FALSE(Source().HasSelection()) << key;
    }
    Source().SetOptions(Source().Options() | soPersistentBlocks);
    Key(Qt::Key_Right, kShift);
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End}) {
        Key(key);
        EXPECT_TRUE(Source().HasSelection()) << key;
    }
}

// -- editing ------------------------------------------------------------------------------

TEST_F(KeysTest, EnterAndShiftEnterBreakTheLineKeepingItsIndent)
{
    SetText("  abcd");
    SetCaret(0, 4);
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), "  ab\n  cd");
    EXPECT_EQ(Caret(), (TTextPos{1, 2}));
    Key(Qt::Key_Return, kShift);
    // The line left behind loses its trailing blanks.
    EXPECT_EQ(Text(), "  ab\n\n  cd");
}

TEST_F(KeysTest, TabInsertsBlanksToTheNextStopAndShiftsASelectedBlock)
{
    SetText("abc\ndef");
    Key(Qt::Key_Tab);
    EXPECT_EQ(Text(), "         abc\ndef");
    EXPECT_EQ(Caret(), (TTextPos{0, 9}));
    Key(Qt::Key_Tab, kShift);
    EXPECT_EQ(Caret(), (TTextPos{0, 0}));
    Key(Qt::Key_I, kCtrl);
    EXPECT_EQ(Text(), QByteArray(18, ' ') + "abc\ndef");
    EXPECT_EQ(Caret(), (TTextPos{0, 9}));

    SetText("         abc\ndef");
    Source().SetSelection({0, 0}, {1, 3});
    Key(Qt::Key_Tab);
    EXPECT_EQ(Text(), QByteArray(18, ' ') + "abc\n" + QByteArray(9, ' ') + "def");
    Key(Qt::Key_Backtab, kShift);
    EXPECT_EQ(Text(), "         abc\ndef");
}

TEST_F(KeysTest, DeletingKeys)
{
    SetText("one two three\nfour five");
    SetCaret(0, 13);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Text(), "one two thre\nfour five");
    Key(Qt::Key_Backspace, kShift);
    EXPECT_EQ(Text(), "one two thr\nfour five");
    Key(Qt::Key_Delete);
    EXPECT_EQ(Text(), "one two thrfour five");
    Key(Qt::Key_Backspace, kCtrl);
    EXPECT_EQ(Text(), "one two four five");
    EXPECT_EQ(Caret(), (TTextPos{0, 8}));
    Key(Qt::Key_T, kCtrl);
    EXPECT_EQ(Text(), "one two five");
    Key(Qt::Key_Y, kCtrlShift);
    EXPECT_EQ(Text(), "one two ");
    SetCaret(0, 3);
    Key(Qt::Key_N, kCtrl);
    EXPECT_EQ(Text(), "one\n two ");
    EXPECT_EQ(Caret(), (TTextPos{0, 3}));
    Key(Qt::Key_Y, kCtrl);
    EXPECT_EQ(Text(), " two ");
}

TEST_F(KeysTest, InsertTogglesTheOneOverwriteModeAndReportsIt)
{
    SetText("abc");
    std::vector<int> states;
    memo->OnStateChange = [&](TCustomDCMemo&, int state) { states.push_back(state); };
    Key(Qt::Key_Insert);
    EXPECT_TRUE(TCustomMemoSource::OverwriteMode());
    EXPECT_TRUE(TCustomDCMemo::Overwrite());
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.back(), TCustomDCMemo::kInsertModeChanged);
    Type("X");
    EXPECT_EQ(Text(), "Xbc");
    // Every other store types over as well.
    TMemoSource other;
    other.SetTextStr("123");
    other.TypeChar('9');
    EXPECT_EQ(other.LineText(0), "923");
    Key(Qt::Key_Insert);
    EXPECT_FALSE(TCustomMemoSource::OverwriteMode());
    Type("Y");
    EXPECT_EQ(Text(), "XYbc");
}

TEST_F(KeysTest, UndoAndRedoKeys)
{
    SetText("");
    Type("ab");
    Key(Qt::Key_Z, kCtrl);
    EXPECT_EQ(Text(), "");
    Key(Qt::Key_Z, kCtrlShift);
    EXPECT_EQ(Text(), "ab");
    Key(Qt::Key_Backspace, kAlt);
    EXPECT_EQ(Text(), "");
    Key(Qt::Key_Backspace, kShiftAlt);
    EXPECT_EQ(Text(), "ab");
}

// -- clipboard --------------------------------------------------------------------------------

TEST_F(KeysTest, ClipboardKeysAndTheirAlternatives)
{
    SetText("hello world");
    Source().SetSelection({0, 0}, {0, 5});
    Key(Qt::Key_C, kCtrl);
    EXPECT_EQ(services.ClipboardText(), "hello");
    services.SetClipboardText("");
    Key(Qt::Key_Insert, kCtrl);
    EXPECT_EQ(services.ClipboardText(), "hello");

    Key(Qt::Key_X, kCtrl);
    EXPECT_EQ(Text(), " world");
    Key(Qt::Key_End);
    Key(Qt::Key_V, kCtrl);
    EXPECT_EQ(Text(), " worldhello");
    Key(Qt::Key_Insert, kShift);
    EXPECT_EQ(Text(), " worldhellohello");

    Source().SetSelection({0, 0}, {0, 6});
    Key(Qt::Key_Delete, kShift);
    EXPECT_EQ(Text(), "hellohello");
    EXPECT_EQ(services.ClipboardText(), " world");

    // Ctrl+Del deletes the block and leaves the clipboard alone.
    Source().SetSelection({0, 0}, {0, 5});
    Key(Qt::Key_Delete, kCtrl);
    EXPECT_EQ(Text(), "hello");
    EXPECT_EQ(services.ClipboardText(), " world");

    Key(Qt::Key_A, kCtrl);
    EXPECT_EQ(Selected(), "hello");
}

// -- search -----------------------------------------------------------------------------------

TEST_F(KeysTest, SearchKeysOpenTheStoresDialogs)
{
    SetText(NumberedLines(20));
    HookDialogs(7);
    Key(Qt::Key_F, kCtrl);
    Key(Qt::Key_R, kCtrl);
    Keys({{Qt::Key_Q, kCtrl}, {Qt::Key_F, kCtrl}});
    Keys({{Qt::Key_Q, kCtrl}, {Qt::Key_A, kCtrl}});
    Keys({{Qt::Key_O, kCtrl}, {Qt::Key_G, kCtrl}});
    EXPECT_EQ(dialogs, (std::vector<TDialogKind>{dkFind, dkReplace, dkFind, dkReplace, dkGotoLine}));
    EXPECT_EQ(Caret(), (TTextPos{6, 0}));
    EXPECT_EQ(memo->KeyState(), 0);
}

TEST_F(KeysTest, SearchAgainKeysRepeatTheLastSearch)
{
    SetText("x1 x2 x3 x4");
    TSearchOptions::Global().textToFind = QStringLiteral("x");
    std::vector<int> columns;
    for (auto [key, modifiers] : {std::pair{Qt::Key_F3, kNone}, {Qt::Key_E, kCtrl}, {Qt::Key_L, kCtrl}}) {
        Key(key, modifiers);
        columns.push_back(Caret().column);
    }
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_LT(columns[0], columns[1]);
    EXPECT_LT(columns[1], columns[2]);
    EXPECT_TRUE(dialogs.empty());
}

// -- special keys -------------------------------------------------------------------------------

TEST_F(KeysTest, CtrlBracketJumpsBetweenMatchingBrackets)
{
    SetText("f(a[b]c)");
    SetCaret(0, 1);
    Key(Qt::Key_BracketLeft, kCtrl);
    EXPECT_EQ(Caret(), (TTextPos{0, 7}));
    Key(Qt::Key_BracketLeft, kCtrl);
    EXPECT_EQ(Caret(), (TTextPos{0, 1}));
}

TEST_F(KeysTest, ShiftCtrlGInsertsAGuid)
{
    SetText("");
    Key(Qt::Key_G, kCtrlShift);
    static const QRegularExpression guid(QStringLiteral("^\\['\\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\\}'\\]$"));
    EXPECT_TRUE(guid.match(QString::fromLatin1(Text())).hasMatch()) << Text().constData();
}

TEST_F(KeysTest, BlockIndentUnindentAndQuoteKeys)
{
    SetText("ab\ncd\nef");
    Source().SetSelection({0, 0}, {1, 2});
    Key(Qt::Key_I, kCtrlShift);
    EXPECT_EQ(Text(), " ab\n cd\nef");
    Key(Qt::Key_U, kCtrlShift);
    EXPECT_EQ(Text(), "ab\ncd\nef");
    Key(Qt::Key_Q, kCtrlAlt);
    EXPECT_EQ(Text(), ">ab\n>cd\nef");
}

TEST_F(KeysTest, CtrlJExpandsACodeTemplateOnlyWithATemplateKind)
{
    Source().CodeTemplates()->Add(QStringLiteral("fori"), QStringLiteral("for (int i = 0; i < n; i++)"));
    SetText("fori");
    SetCaret(0, 4);
    Key(Qt::Key_J, kCtrl);
    EXPECT_EQ(Text(), "fori");
    Source().SetTemplatesType(QStringLiteral("Java"));
    Key(Qt::Key_J, kCtrl);
    EXPECT_EQ(Text(), "for (int i = 0; i < n; i++)");
}

TEST_F(KeysTest, EscEndsAMouseSelection)
{
    SetText("abcdef\nghijkl");
    QWidget* view = memo->viewport();
    const QPoint from = memo->PositionToPixel({0, 1}) + QPoint(1, 2);
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(memo->CharWidth() * 3, 0)), view->mapToGlobal(QPointF(from)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    ASSERT_EQ(memo->MouseMode(), mmSelecting);
    Key(Qt::Key_Escape);
    EXPECT_EQ(memo->MouseMode(), mmNone);
    QTest::mouseRelease(view, Qt::LeftButton, {}, from);
}

// -- bookmarks ----------------------------------------------------------------------------------

TEST_F(KeysTest, CtrlDigitsGoToAndShiftCtrlDigitsToggleBookmarks)
{
    SetText(NumberedLines(10));
    SetCaret(4, 2);
    Key(Qt::Key_1, kCtrlShift);
    EXPECT_TRUE(Source().IsBookmarkSet(1));
    SetCaret(7, 0);
    Key(Qt::Key_0, kCtrlShift);
    EXPECT_TRUE(Source().IsBookmarkSet(10));
    SetCaret(0, 0);
    Key(Qt::Key_1, kCtrl);
    EXPECT_EQ(Caret(), (TTextPos{4, 2}));
    Key(Qt::Key_0, kCtrl);
    EXPECT_EQ(Caret(), (TTextPos{7, 0}));
    // On its own line the toggle clears it; an unset bookmark goes nowhere.
    Key(Qt::Key_0, kCtrlShift);
    EXPECT_FALSE(Source().IsBookmarkSet(10));
    Key(Qt::Key_0, kCtrl);
    EXPECT_EQ(Caret(), (TTextPos{7, 0}));
}

TEST_F(KeysTest, BookmarkSequencesOfCtrlKAndCtrlQ)
{
    SetText(NumberedLines(10));
    SetCaret(2, 0);
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_3, kNone}});
    SetCaret(5, 0);
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_4, kCtrl}});
    SetCaret(8, 0);
    Keys({{Qt::Key_Q, kCtrl}, {Qt::Key_5, kCtrlShift}});
    EXPECT_TRUE(Source().IsBookmarkSet(3));
    EXPECT_TRUE(Source().IsBookmarkSet(4));
    EXPECT_TRUE(Source().IsBookmarkSet(5));
    Keys({{Qt::Key_Q, kCtrl}, {Qt::Key_3, kNone}});
    EXPECT_EQ(Caret().line, 2);
    Keys({{Qt::Key_Q, kCtrl}, {Qt::Key_4, kCtrl}});
    EXPECT_EQ(Caret().line, 5);
    Keys({{Qt::Key_Q, kCtrl}, {Qt::Key_5, kNone}});
    EXPECT_EQ(Caret().line, 8);
    EXPECT_EQ(Text(), NumberedLines(10).chopped(1));
}

// -- block sequences ----------------------------------------------------------------------------

TEST_F(KeysTest, CtrlKBAndKMarkTheBlockAtTheCaret)
{
    SetText("0123456789");
    SetCaret(0, 2);
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_B, kNone}});
    SetCaret(0, 5);
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_K, kNone}});
    EXPECT_EQ(Selected(), "234");
    SetCaret(0, 7);
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_K, kCtrl}});
    EXPECT_EQ(Selected(), "23456");
}

TEST_F(KeysTest, CtrlKBlockCommandsWorkWithAndWithoutCtrlOnTheSecondStroke)
{
    struct Case {
        Qt::Key key;
        QByteArray before;
        TTextPos from, to; // the block (none when equal)
        TTextPos caret;
        QByteArray after;
        QByteArray selected = "<none>";
    };
    const TTextPos none{0, 0};
    const Case cases[] = {
        {Qt::Key_C, "one two three\nfour", {0, 4}, {0, 7}, {1, 2}, "one two three\nfotwour", "two"},
        {Qt::Key_V, "one two three\nfour", {0, 4}, {0, 7}, {1, 2}, "one  three\nfotwour", "two"},
        {Qt::Key_Y, "one two three\nfour", {0, 4}, {0, 7}, {1, 2}, "one  three\nfour"},
        {Qt::Key_I, "one two\nthree", {0, 0}, {1, 2}, {1, 2}, " one two\n three", " one two\r\n th"},
        {Qt::Key_U, " one two\n three", {0, 0}, {1, 2}, {1, 2}, "one two\nthree", "one two\r\nt"},
        {Qt::Key_N, "one two three\nfour", {0, 4}, {0, 7}, {1, 2}, "one TWO three\nfour", "TWO"},
        {Qt::Key_O, "ONE TWO", {0, 4}, {0, 7}, {0, 0}, "ONE two", "two"},
        {Qt::Key_E, "one TWO", none, none, {0, 5}, "one two"},
        {Qt::Key_F, "one two", none, none, {0, 5}, "one TWO"},
        {Qt::Key_T, "one two", none, none, {0, 5}, "one two", "two"},
        {Qt::Key_L, "one\ntwo\nthree", none, none, {1, 1}, "one\ntwo\nthree", "two\r\n"},
    };
    for (const Case& c : cases) {
        for (Qt::KeyboardModifiers second : {kNone, kCtrl}) {
            SCOPED_TRACE(QTest::toString(QKeySequence(c.key | second)));
            SetText(c.before);
            SetCaret(c.caret.line, c.caret.column);
            if (c.from != c.to)
                Source().SetSelection(c.from, c.to);
            Keys({{Qt::Key_K, kCtrl}, {c.key, second}});
            EXPECT_EQ(Text(), c.after);
            EXPECT_EQ(Selected(), c.selected);
            EXPECT_EQ(memo->KeyState(), 0);
        }
    }
}

TEST_F(KeysTest, CtrlOSequencesToggleTheCaseAndSelectTheLine)
{
    SetText("Mixed Case\nnext");
    Source().SetSelection({0, 0}, {0, 5});
    Keys({{Qt::Key_O, kCtrl}, {Qt::Key_U, kCtrl}});
    EXPECT_EQ(Text(), "mIXED Case\nnext");
    SetCaret(1, 2);
    Keys({{Qt::Key_O, kCtrl}, {Qt::Key_L, kCtrl}});
    EXPECT_EQ(Selected(), "next");
}

TEST_F(KeysTest, CtrlQSequencesMoveTheCaret)
{
    SetText(NumberedLines(100));
    memo->SetTopLine(10);
    struct Case {
        Qt::Key key;
        TTextPos expected;
    };
    const int bottom = 10 + memo->VisibleRows() - 1;
    const int last = Source().LineCount() - 1;
    const Case cases[] = {
        {Qt::Key_B, {12, 1}}, {Qt::Key_K, {13, 4}}, {Qt::Key_R, {0, 0}},      {Qt::Key_C, {last, Source().LineLength(last)}},
        {Qt::Key_S, {15, 0}}, {Qt::Key_D, {15, 7}}, {Qt::Key_E, {10, 3}},     {Qt::Key_T, {10, 3}},
        {Qt::Key_U, {bottom, 3}}, {Qt::Key_X, {bottom, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QTest::toString(QKeySequence(c.key)));
        memo->SetTopLine(10);
        SetCaret(15, 3);
        Source().SetSelection({12, 1}, {13, 4});
        memo->SetTopLine(10);
        Keys({{Qt::Key_Q, kCtrl}, {c.key, kCtrl}});
        EXPECT_EQ(Caret(), c.expected);
    }
    SetCaret(15, 3);
    Keys({{Qt::Key_Q, kCtrl}, {Qt::Key_Y, kCtrl}});
    EXPECT_EQ(Source().LineText(15), "lin");
}

} // namespace
