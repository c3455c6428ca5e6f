// Word wrap in the editor control as the user meets it: long lines painted
// on several rows, the caret moved over rows by real keys and clicks, the
// scroll bar counting rows, and every change that re-cuts the rows.

#include "keysfixture.h"
#include "mousefixture.h"

#include <QScrollBar>

namespace {

constexpr quint32 kBlack = 0x000000;
constexpr quint32 kWhite = 0xffffff;

// Rows of ten characters, cut at the margin.
void wrapAtTen(TDCMemo& memo)
{
    memo.SetOptions(memo.Options() | moBreakWordAtMargin);
    memo.SetMarginPos(10);
    memo.SetWordWrap(true);
}

// The pixel in the cell of a column of a row counted from the top row.
QPoint rowPixel(TDCMemo& memo, int row, int column)
{
    return QPoint(memo.TextLeft() + column * memo.CharWidth() + 1, row * memo.LineHeight() + memo.LineHeight() / 2);
}

// The rows a line of length characters without a break takes.
int rowsFor(int length, int capacity)
{
    return (length + capacity - 1) / capacity;
}

// The row capacity the control's layout gives without moBreakWordAtMargin.
int capacityOf(TDCMemo& memo)
{
    const int cw = memo.CharWidth();
    return std::max(2, (memo.viewport()->width() - cw - memo.TextLeft()) / cw + 1);
}

QByteArray longLines(int count, int length)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray(length, char('a' + i % 26)) + '\n';
    return text;
}

} // namespace

TEST_F(ViewTest, LongLineIsPaintedOnThreeRowsNumberedOnce)
{
    SetText(QByteArray(25, 'x') + "\nnext");
    memo->SetOptions(memo->Options() & ~TMemoOptions(moDrawMargin));
    wrapAtTen(*memo);
    ASSERT_EQ(memo->RowsOfLine(0), 3);
    const QImage image = Render();
    for (int row = 0; row < 3; ++row)
        EXPECT_TRUE(HasInk(image, Cell(row, 0), kBlack, kWhite)) << "row " << row << " starts with text";
    EXPECT_TRUE(HasInk(image, Cell(1, 9), kBlack, kWhite)) << "the middle row is full";
    EXPECT_FALSE(HasInk(image, Cell(2, 6), kBlack, kWhite)) << "the last row holds five characters";
    EXPECT_FALSE(HasInk(image, Cell(0, 11), kBlack, kWhite)) << "nothing past the tenth column";
    EXPECT_TRUE(HasInk(image, Cell(3, 0), kBlack, kWhite)) << "the next line on the fourth row";

    // Line numbers only on each line's first row: "1" on row 0, "2" on row 3.
    const int gutter = memo->EffectiveGutterWidth() - 3;
    const int lh = memo->LineHeight();
    for (int row : {0, 1, 2, 3})
        EXPECT_EQ(HasInk(image, QRect(0, row * lh, gutter, lh), kBlack, 0xc0c0c0), row == 0 || row == 3) << row;
}

TEST_F(KeysTest, CaretMovesOverWrappedRows)
{
    SetText("aaaa bbbb cccc dddd eeee\nshort");
    wrapAtTen(*memo);
    ASSERT_EQ(memo->RowsOfLine(0), 3);
    Source().MoveCaretTo({0, 2});
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        TTextPos caret;
    } steps[] = {
        {Qt::Key_Down, {}, {0, 12}},  // the continuation row, same x
        {Qt::Key_Down, {}, {0, 22}},
        {Qt::Key_Down, {}, {1, 2}},   // then the next line
        {Qt::Key_Up, {}, {0, 22}},
        {Qt::Key_End, {}, {0, 24}},   // the last row's end is the line's end
        {Qt::Key_Home, {}, {0, 20}},  // the row's start, not the line's
        {Qt::Key_Up, {}, {0, 10}},
        {Qt::Key_End, {}, {0, 19}},   // before the next row's first column
        {Qt::Key_Up, {}, {0, 9}},
        {Qt::Key_Home, {}, {0, 0}},
    };
    for (const auto& step : steps) {
        Key(step.key, step.modifiers);
        EXPECT_EQ(Source().Caret(), step.caret) << QTest::toString(step.key);
    }

    // Shift+Down selects to the same x on the next row.
    Source().MoveCaretTo({0, 3});
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{0, 3}));
    EXPECT_EQ(Source().BlockEnd(), (TTextPos{0, 13}));
}

TEST_F(KeysTest, CaretKeepsItsXThroughAShortRow)
{
    // Rows "aaaa " and "bbbbbbbbbb": Down from column 7 passes the short
    // first row of the next line and comes back to column 7.
    SetText("aaaaaaaaaa\naaaa bbbbbbbbbb\naaaaaaaaaa");
    wrapAtTen(*memo);
    Source().MoveCaretTo({0, 7});
    Key(Qt::Key_Down);
    EXPECT_EQ(Source().Caret(), (TTextPos{1, 4})) << "the short row's last place";
    Key(Qt::Key_Down);
    EXPECT_EQ(Source().Caret(), (TTextPos{1, 12}));
    Key(Qt::Key_Down);
    EXPECT_EQ(Source().Caret(), (TTextPos{2, 7}));
}

TEST_F(KeysTest, PageKeysAndCtrlEndMoveByRows)
{
    // 200 lines of 30 characters: three rows each.
    SetText(longLines(200, 30));
    memo->SetScrollBars(ssBoth);
    wrapAtTen(*memo);
    const int rows = memo->VisibleRows();
    ASSERT_GT(rows, 3);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(memo->TopRow(), (TRowPos{rows / 3, rows % 3}));
    EXPECT_EQ(Source().Caret(), (TTextPos{rows / 3, (rows % 3) * 10}));
    Key(Qt::Key_PageUp);
    EXPECT_EQ(memo->TopRow(), (TRowPos{0, 0}));
    EXPECT_EQ(Source().Caret(), (TTextPos{0, 0}));

    // The vertical bar counts rows; no horizontal bar while wrapping.
    QScrollBar* bar = memo->verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 200 * 3 - rows);
    EXPECT_FALSE(memo->horizontalScrollBar()->isVisible());
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Source().Caret(), (TTextPos{199, 30}));
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(memo->RowOfPosition(Source().Caret()), rows - 1) << "the caret on the bottom row";
}

TEST_F(KeysTest, TypingRepaintsTheLineUnlessItsRowsChange)
{
    SetText("aaaa bbbb cccc\nline 2\nline 3\nline 4\nline 5");
    wrapAtTen(*memo);
    Source().MoveCaretTo({0, 14});
    QApplication::processEvents();
    const int lh = memo->LineHeight();
    auto paintedBottom = [&](const QString& text) {
        PaintRecorder recorder(memo->viewport());
        Type(text);
        QApplication::processEvents();
        return recorder.painted.boundingRect().bottom();
    };
    EXPECT_LT(paintedBottom("cc"), 2 * lh) << "the line's two rows only";
    EXPECT_EQ(memo->RowsOfLine(0), 2);
    EXPECT_GE(paintedBottom("cccc "), memo->viewport()->height() - 1) << "a third row pushes the rows below down";
    EXPECT_EQ(memo->RowsOfLine(0), 3);
    EXPECT_EQ(memo->RowOfPosition({1, 0}), 3);
}

TEST_F(MouseTest, ClicksAndDragsLandInTheRowsSegment)
{
    SetText("aaaa bbbb cccc dddd eeee\nshort");
    wrapAtTen(*memo);
    Click(rowPixel(*memo, 1, 3));
    EXPECT_EQ(Source().Caret(), (TTextPos{0, 13})) << "a continuation row starts at column 10";
    Click(rowPixel(*memo, 0, 30));
    EXPECT_EQ(Source().Caret(), (TTextPos{0, 9})) << "past a row's end: its last place";
    Click(rowPixel(*memo, 2, 8));
    EXPECT_EQ(Source().Caret(), (TTextPos{0, 28})) << "past the line's end on its last row";
    Click(rowPixel(*memo, 3, 1));
    EXPECT_EQ(Source().Caret(), (TTextPos{1, 1}));

    Drag(rowPixel(*memo, 0, 1), rowPixel(*memo, 2, 2));
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{0, 1}));
    EXPECT_EQ(Source().BlockEnd(), (TTextPos{0, 22}));
    EXPECT_TRUE(Source().IsSelected(0, 15));
}

TEST_F(ViewTest, EveryLayoutChangeCutsTheRowsAgain)
{
    // One line without a break, wider than any window here.
    SetText(QByteArray(300, 'x'));
    memo->SetWordWrap(true);
    const struct {
        const char* change;
        std::function<void()> apply;
    } changes[] = {
        {"narrower window", [&] { memo->resize(250, 300); }},
        {"bigger font", [&] { memo->SetFont(TFont(QStringLiteral("Courier New"), -19, clBlack)); }},
        {"left indent", [&] {
             memo->SetOptions(memo->Options() | moLeftIndent);
             memo->SetLeftIndent(40);
         }},
        {"wider gutter", [&] { memo->SetGutterWidth(90); }},
        {"line numbers in their own column, then ten lines", [&] {
             memo->SetOptions(memo->Options() & ~TMemoOptions(moLineNumbersOnGutter));
             const int left = memo->TextLeft();
             memo->MemoSource()->MoveCaretTo({0, 300});
             for (int i = 0; i < 9; ++i)
                 memo->MemoSource()->InsertLineBreak();
             ASSERT_GT(memo->TextLeft(), left) << "two digits";
         }},
        {"wider window", [&] { memo->resize(700, 300); }},
    };
    int before = memo->RowsOfLine(0);
    for (const auto& change : changes) {
        change.apply();
        QTest::qWait(0);
        const int rows = memo->RowsOfLine(0);
        EXPECT_EQ(rows, rowsFor(300, capacityOf(*memo))) << change.change;
        EXPECT_NE(rows, before) << change.change;
        before = rows;
    }
    // At the margin: the margin's column, whatever the window.
    memo->SetOptions(memo->Options() | moBreakWordAtMargin);
    EXPECT_EQ(memo->RowsOfLine(0), rowsFor(300, 80));
    memo->SetMarginPos(30);
    EXPECT_EQ(memo->RowsOfLine(0), 10);
    memo->SetWordWrap(false);
    EXPECT_EQ(memo->RowsOfLine(0), 1);
    EXPECT_EQ(memo->WordWrapper().WrapList().Count(), 0);
}

TEST_F(ViewTest, CollapsedLinesStayShownWhileWrapping)
{
    SetText("head\nhidden 1\nhidden 2\nnext");
    TCustomMemoSource& source = *memo->MemoSource();
    source.SetCollapseState(3, 0);
    source.SetCollapseState(0, 1);
    memo->SetOptions(memo->Options() | moHideInvisibleLines);
    ASSERT_TRUE(memo->LineRect(1).isEmpty());
    memo->SetWordWrap(true);
    EXPECT_EQ(memo->LineRect(1).top(), memo->LineHeight());
    EXPECT_EQ(memo->LineRect(3).top(), 3 * memo->LineHeight());
}

TEST_F(ViewTest, ThumbDraggedDownNeverMovesTheViewBack)
{
    // Lines of one and of six rows in a pattern the sample misjudges, so
    // that wrapping what the view passes corrects the estimate as it goes.
    QByteArray text;
    for (int i = 0; i < 20000; ++i)
        text += (i % 7 < 3 ? QByteArray(55, 'w') : QByteArray("v")) + '\n';
    SetText(text);
    memo->SetScrollBars(ssBoth);
    wrapAtTen(*memo);
    QScrollBar* bar = memo->verticalScrollBar();
    const int maximum = bar->maximum();
    bar->setSliderDown(true);
    int top = memo->TopLine();
    for (int value = 0; value <= maximum; value += maximum / 50) {
        bar->setSliderPosition(value);
        ASSERT_GE(memo->TopLine(), top) << value;
        ASSERT_EQ(bar->value(), value) << "the thumb stays under the pointer";
        ASSERT_EQ(bar->maximum(), maximum) << "the range holds still during the drag";
        top = memo->TopLine();
    }
    EXPECT_GT(memo->WordWrapper().WrappedRanges(), 1) << "only what was passed is wrapped";
    bar->setSliderDown(false);
    emit bar->sliderReleased();
    EXPECT_EQ(bar->value(), int(memo->WordWrapper().RowIndex(memo->TopLine()) + memo->TopRow().row));
}

TEST_F(ViewTest, StoresKeepTheirWrappedTopRow)
{
    TMemoSource other;
    other.SetTextStr("other");
    SetText(longLines(50, 30));
    wrapAtTen(*memo);
    memo->SetTopRow({5, 1});
    memo->SetMemoSource(&other);
    EXPECT_EQ(memo->TopRow(), (TRowPos{0, 0}));
    memo->SetMemoSource(nullptr);
    EXPECT_EQ(memo->TopRow(), (TRowPos{5, 1}));
}

TEST_F(ViewTest, ProportionalRowsFitTheTextAreaByMeasuredWidths)
{
    SetText("Wide WWWW words and narrow iiii ones, mixed: MMMM llll WWWW iiii mmmm tttt WWWWWW iiiiii");
    memo->SetFont(TFont(QStringLiteral("DejaVu Sans"), -13, clBlack));
    memo->SetUseMonoFont(false);
    memo->resize(260, 300);
    memo->SetWordWrap(true);
    const int rows = memo->RowsOfLine(0);
    ASSERT_GT(rows, 2);
    const int width = memo->viewport()->width();
    for (int row = 0; row < rows; ++row) {
        const TRowSegment segment = memo->WordWrapper().SegmentAt(0, row);
        const int last = row + 1 < rows ? segment.end - 1 : memo->MemoSource()->LineLength(0) - 1;
        EXPECT_LT(memo->PositionToPixel({0, last}).x(), width) << "row " << row << " ends inside the window";
        // Every place on the row is drawn on it and maps back from its pixel.
        for (int column = segment.start; column <= last; ++column) {
            const QPoint pixel = memo->PositionToPixel({0, column});
            EXPECT_EQ(pixel.y(), row * memo->LineHeight()) << column;
            EXPECT_EQ(memo->PixelToPosition(pixel + QPoint(1, 1)), (TTextPos{0, column})) << row << " " << column;
        }
    }
}
