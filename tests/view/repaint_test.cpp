// What a change repaints, the events it raises, the focus and the caret.

#include "viewfixture.h"

#include <QApplication>
#include <QScrollBar>

namespace {

QByteArray manyLines(int count, int width = 10)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray(width, char('a' + i % 26)) + '\n';
    return text;
}

// Lets every pending paint happen.
void flush()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(5);
    }
}

} // namespace

class RepaintTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        m_flashTime = QApplication::cursorFlashTime();
        // A steady caret: drawn whenever the control has the focus.
        QApplication::setCursorFlashTime(0);
    }
    void TearDown() override { QApplication::setCursorFlashTime(m_flashTime); }

    void Focus()
    {
        memo->activateWindow();
        memo->setFocus();
        for (int i = 0; i < 100 && !memo->hasFocus(); ++i)
            QTest::qWait(5);
        ASSERT_TRUE(memo->hasFocus());
    }

    QRect Row(int row) const
    {
        return QRect(0, row * memo->LineHeight(), memo->viewport()->width(), memo->LineHeight());
    }

    QImage Grab() { return memo->viewport()->grab().toImage(); }

private:
    int m_flashTime = 0;
};

TEST_F(RepaintTest, OneCharacterEditRepaintsOnlyItsRow)
{
    SetText(manyLines(30));
    TCustomMemoSource& source = *memo->MemoSource();
    source.SetCaret({5, 2});
    for (bool focused : {false, true}) {
        if (focused)
            Focus();
        PaintRecorder recorder(memo->viewport());
        flush();
        recorder.painted = QRegion();
        source.InsertString("x");
        flush();
        EXPECT_EQ(recorder.painted.boundingRect(), Row(5)) << (focused ? "focused" : "not focused");
    }
}

TEST_F(RepaintTest, ChangeRunningToTheEndRepaintsFromItsLineDown)
{
    SetText(manyLines(30));
    TCustomMemoSource& source = *memo->MemoSource();
    source.SetCaret({5, 2});
    PaintRecorder recorder(memo->viewport());
    flush();
    recorder.painted = QRegion();
    source.InsertLineBreak();
    flush();
    const QRect painted = recorder.painted.boundingRect();
    EXPECT_EQ(painted.top(), Row(5).top());
    EXPECT_EQ(painted.bottom(), memo->viewport()->height() - 1);
}

TEST_F(RepaintTest, LinesWhoseAttributesThePaintRecomputedAreRepainted)
{
    SetText("int a\nint b\nint c\nint d\nint e");
    TKeywordParser parser;
    memo->SetSyntaxParser(&parser);
    PaintRecorder recorder(memo->viewport());
    flush();
    const QRect keyword = Cell(3, 0).united(Cell(3, 2));
    ASSERT_TRUE(HasInk(Grab(), keyword, 0x0000ff, 0xffffff));

    // Opening a comment on the first line changes the state the lines below
    // start in: the paint of the edited row parses them, and they are
    // repainted after it.
    recorder.painted = QRegion();
    memo->MemoSource()->InsertString("/*");
    flush();
    const QRect painted = recorder.painted.boundingRect();
    EXPECT_EQ(painted.top(), 0);
    EXPECT_GE(painted.bottom(), Row(4).bottom());
    EXPECT_FALSE(HasInk(Grab(), keyword, 0x0000ff, 0xffffff));
}

TEST_F(RepaintTest, ChangesRaiseStateSelectionAndChangeEvents)
{
    SetText("abc\ndef");
    std::vector<int> states;
    int changes = 0, selections = 0;
    memo->OnStateChange = [&](TCustomDCMemo&, int state) { states.push_back(state); };
    memo->OnChange = [&](TCustomDCMemo&) { ++changes; };
    memo->OnSelectionChange = [&](TCustomDCMemo&) { ++selections; };
    TCustomMemoSource& source = *memo->MemoSource();

    source.SetCaret({1, 1});
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(states.back(), Change::kCaretMoved);
    EXPECT_EQ(changes, 0);

    source.InsertString("x");
    EXPECT_TRUE(states.back() & Change::kText);
    EXPECT_EQ(changes, 1);

    source.SetSelection({0, 0}, {0, 2});
    EXPECT_TRUE(states.back() & Change::kSelection);
    EXPECT_EQ(selections, 1);
    EXPECT_EQ(changes, 1);
}

TEST_F(RepaintTest, FocusShowsTheCaretAndReportsTheState)
{
    SetText("\nabc");
    std::vector<int> states;
    memo->OnStateChange = [&](TCustomDCMemo&, int state) { states.push_back(state); };
    const int x = memo->TextLeft();
    const int y = memo->LineHeight() / 2;
    EXPECT_EQ(Rgb(Grab(), x, y), 0xffffffu);

    Focus();
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.back(), 0x171);
    EXPECT_TRUE(memo->CaretShown());
    EXPECT_EQ(memo->MemoSource()->View(), memo.get());
    EXPECT_TRUE(bool(memo->MemoSource()->OnBeforeCaretMove));
    QImage image = Grab();
    // A bar two pixels wide, inverting the background.
    EXPECT_EQ(Rgb(image, x, y), 0u);
    EXPECT_EQ(Rgb(image, x + 1, y), 0u);
    EXPECT_EQ(Rgb(image, x + 2, y), 0xffffffu);

    memo->clearFocus();
    EXPECT_FALSE(memo->CaretShown());
    EXPECT_FALSE(bool(memo->MemoSource()->OnBeforeCaretMove));
    EXPECT_EQ(Rgb(Grab(), x, y), 0xffffffu);
}

TEST_F(RepaintTest, CaretShapeFollowsOverwriteModeAndHideCaret)
{
    SetText("\nabc");
    Focus();
    EXPECT_EQ(memo->CaretRect(), QRect(memo->TextLeft(), 0, 2, memo->LineHeight()));
    TCustomDCMemo::SetOverwrite(true);
    EXPECT_EQ(memo->CaretRect().width(), 2) << "a block needs moOverwriteCaret";
    memo->SetOptions(memo->Options() | moOverwriteCaret);
    EXPECT_EQ(memo->CaretRect().width(), memo->CharWidth());
    const QImage image = Grab();
    EXPECT_EQ(Rgb(image, memo->TextLeft() + memo->CharWidth() - 1, 1), 0u);
    TCustomDCMemo::SetOverwrite(false);

    memo->SetHideCaret(true);
    EXPECT_EQ(memo->CaretRect(), QRect(-5, -5, 1, 1));
    EXPECT_EQ(Rgb(Grab(), memo->TextLeft(), 1), 0xffffffu);
}

TEST_F(RepaintTest, CaretIsKeptInSightWhenTheStoreMovesIt)
{
    SetText(manyLines(200, 400));
    TCustomMemoSource& source = *memo->MemoSource();
    const int rows = memo->VisibleRows();
    ASSERT_GT(rows, 2);
    source.SetCaret({150, 0});
    EXPECT_EQ(memo->TopLine(), 150 - rows + 1);
    source.SetCaret({10, 0});
    EXPECT_EQ(memo->TopLine(), 10);
    source.SetCaret({10, 300});
    EXPECT_EQ(memo->LeftColumn(), 300 - memo->VisibleColumns() + 1);
    EXPECT_GE(memo->CaretRect().left(), memo->TextLeft());
    EXPECT_LT(memo->CaretRect().right(), memo->viewport()->width());
    source.SetCaret({10, 0});
    EXPECT_EQ(memo->LeftColumn(), 0);
}

TEST_F(RepaintTest, ScrollBarsScrollTheView)
{
    SetText(manyLines(100));
    EXPECT_FALSE(memo->verticalScrollBar()->isVisible());
    memo->SetScrollBars(ssBoth);
    flush();
    QScrollBar* bar = memo->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 100 - memo->VisibleRows());

    std::vector<std::pair<Qt::Orientation, int>> scrolls;
    memo->OnMemoScroll = [&](TCustomDCMemo&, Qt::Orientation kind, int delta) { scrolls.push_back({kind, delta}); };
    bar->setValue(30);
    EXPECT_EQ(memo->TopLine(), 30);
    ASSERT_EQ(scrolls.size(), 1u);
    EXPECT_EQ(scrolls[0], std::make_pair(Qt::Vertical, 30));

    memo->SetTopLine(1000);
    EXPECT_EQ(memo->TopLine(), bar->maximum()) << "no scrolling past the last page";
    EXPECT_EQ(bar->value(), bar->maximum());
    memo->horizontalScrollBar()->setValue(4);
    EXPECT_EQ(memo->LeftColumn(), 4);
    EXPECT_EQ(scrolls.back(), std::make_pair(Qt::Horizontal, 4));
    EXPECT_TRUE(memo->verticalScrollBar()->hasTracking());
    memo->SetOptions(memo->Options() & ~TMemoOptions(moThumbTracking));
    EXPECT_FALSE(memo->verticalScrollBar()->hasTracking());
}
