// Scrolling: the wheel, the scroll bars and their thumb, the scroll hint, and
// keeping the caret in sight.

#include "mousefixture.h"

#include <QLabel>
#include <QScrollBar>

class ScrollTest : public MouseTest {
protected:
    void SetUp() override
    {
        MouseTest::SetUp();
        SetText(Lines(300));
        memo->SetScrollBars(ssBoth);
        memo->OnMemoScroll = [this](TCustomDCMemo&, Qt::Orientation kind, int delta) { scrolls.push_back({kind, delta}); };
    }

    QScrollBar* Bar() { return memo->verticalScrollBar(); }
    QLabel* Hint() { return memo->findChild<QLabel*>(QStringLiteral("ScrollHint")); }

    std::vector<std::pair<Qt::Orientation, int>> scrolls;
};

TEST_F(ScrollTest, WheelScrollsThreeRowsANotch)
{
    ASSERT_EQ(QApplication::wheelScrollLines(), 3);
    Wheel(-120);
    EXPECT_EQ(memo->TopLine(), 3);
    ASSERT_EQ(scrolls.size(), 1u);
    EXPECT_EQ(scrolls[0], std::make_pair(Qt::Vertical, 3));
    Wheel(-240);
    EXPECT_EQ(memo->TopLine(), 9);
    // Parts of a notch add up.
    Wheel(60);
    EXPECT_EQ(memo->TopLine(), 9);
    Wheel(60);
    EXPECT_EQ(memo->TopLine(), 6);
    Wheel(1200);
    EXPECT_EQ(memo->TopLine(), 0);
    // Sideways, by columns.
    Wheel(-120, Qt::Horizontal);
    EXPECT_EQ(memo->LeftColumn(), 3);
    EXPECT_EQ(scrolls.back(), std::make_pair(Qt::Horizontal, 3));
    EXPECT_EQ(Source().Caret(), (TTextPos{0, 0})) << "the wheel leaves the caret";
}

TEST_F(ScrollTest, ThumbTrackingFollowsTheOption)
{
    Bar()->setSliderDown(true);
    Bar()->setSliderPosition(40);
    EXPECT_EQ(memo->TopLine(), 40) << "with moThumbTracking the view follows the thumb";
    Bar()->setSliderDown(false);

    memo->SetOptions(memo->Options() & ~TMemoOptions(moThumbTracking));
    Bar()->setSliderDown(true);
    Bar()->setSliderPosition(90);
    EXPECT_EQ(memo->TopLine(), 40) << "without it the view waits for the thumb";
    Bar()->setSliderDown(false);
    EXPECT_EQ(memo->TopLine(), 90);
}

TEST_F(ScrollTest, ScrollBarActionsTakeTheFocusAndStepByRowsAndPages)
{
    memo->clearFocus();
    Bar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_TRUE(memo->hasFocus());
    EXPECT_EQ(memo->TopLine(), 1);
    Bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(memo->TopLine(), 1 + memo->VisibleRows());
    memo->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(memo->LeftColumn(), 1);
    memo->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    memo->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(memo->LeftColumn(), 0);
}

TEST_F(ScrollTest, TopAndBottomTakeTheCaretToTheEndsOfTheText)
{
    Source().SetSelection({1, 0}, {2, 0});
    Bar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Source().Caret(), (TTextPos{299, 8}));
    EXPECT_EQ(memo->TopLine(), Bar()->maximum());
    Bar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(Source().Caret(), (TTextPos{0, 0}));
    EXPECT_EQ(memo->TopLine(), 0);
}

TEST_F(ScrollTest, ScrollHintNamesTheTopLineWhileTheThumbMoves)
{
    Bar()->setSliderDown(true);
    Bar()->setSliderPosition(20);
    EXPECT_TRUE(!Hint() || !Hint()->isVisible()) << "the hint needs moShowScrollHint";
    Bar()->setSliderDown(false);

    memo->SetOptions(memo->Options() | moShowScrollHint);
    Bar()->setSliderDown(true);
    Bar()->setSliderPosition(30);
    ASSERT_TRUE(Hint());
    EXPECT_TRUE(Hint()->isVisible());
    EXPECT_EQ(Hint()->text(), "~Line~ 31");
    // Right of the control, within the height of its client area.
    const QRect client(memo->viewport()->mapToGlobal(QPoint(0, 0)), memo->viewport()->size());
    EXPECT_GE(Hint()->x(), memo->mapToGlobal(QPoint(memo->width(), 0)).x());
    EXPECT_GE(Hint()->y(), client.top());
    EXPECT_LE(Hint()->geometry().bottom(), client.bottom());
    Bar()->setSliderDown(false);
    EXPECT_FALSE(Hint()->isVisible()) << "the end of the scroll hides it";

    // Without tracking the hint follows the thumb, not the view; the
    // handler may word it.
    memo->SetOptions(memo->Options() & ~TMemoOptions(moThumbTracking));
    memo->OnVerticalScroll = [](TCustomDCMemo&, int topLine, QString& hint) {
        hint = QStringLiteral("at %1").arg(topLine);
    };
    Bar()->setSliderDown(true);
    Bar()->setSliderPosition(70);
    EXPECT_EQ(memo->TopLine(), 30);
    EXPECT_EQ(Hint()->text(), "at 70");
    Bar()->setSliderDown(false);
    EXPECT_FALSE(Hint()->isVisible());
}

TEST_F(ScrollTest, CaretOutOfSightIsPlacedAwayFromTheText)
{
    Source().SetCaret({5, 4});
    memo->SetTopLine(50);
    EXPECT_EQ(memo->CaretRect(), QRect(-memo->CharWidth() - 10, -10, 2, memo->LineHeight()));
    memo->SetTopLine(0);
    EXPECT_EQ(memo->CaretRect().topLeft(), Pixel(5, 4) - QPoint(1, memo->LineHeight() / 2));
    memo->SetLeftColumn(6);
    EXPECT_EQ(memo->CaretRect().left(), -memo->CharWidth() - 10) << "left of the text area";
}

TEST_F(ScrollTest, CaretMovesScrollJustEnoughToShowIt)
{
    const int rows = memo->VisibleRows();
    Source().MoveCaretBy(rows + 4, 0);
    EXPECT_EQ(memo->TopLine(), 5);
    Source().MoveCaretBy(-rows - 2, 0);
    EXPECT_EQ(memo->TopLine(), 2);
    // A click on the partly shown row below the last whole one scrolls by
    // that row.
    if (memo->PaintedRows() > rows) {
        Click(QPoint(Pixel(0, 0).x(), rows * memo->LineHeight() + 1));
        EXPECT_EQ(memo->TopLine(), 3);
    }
}

TEST_F(ScrollTest, CollapsedLinesTakeNoRowsWhenTheCaretIsBroughtIntoSight)
{
    memo->SetOptions(memo->Options() | moHideInvisibleLines);
    Source().SetCollapseState(10, 1);
    Source().SetCollapseState(30, 0);
    // Lines 11 to 29 are hidden: line 40 is row 21 from the top.
    const int rows = memo->VisibleRows();
    ASSERT_LT(rows, 21);
    Source().MoveCaretTo({40, 0});
    EXPECT_LE(memo->TopLine(), 10);
    const QRect caret = memo->CaretRect();
    EXPECT_EQ(caret.top(), (rows - 1) * memo->LineHeight()) << "the caret's row is the last whole one";
}

TEST_F(ScrollTest, ProportionalTextScrollsByWhatTheCaretMeasures)
{
    SetText(QByteArray(200, 'W') + "\n" + QByteArray(200, 'i'));
    TFont font = memo->Font();
    font.SetName(QStringLiteral("DejaVu Sans"));
    memo->SetFont(font);
    memo->SetUseMonoFont(false);
    const QRect text(memo->TextLeft(), 0, memo->viewport()->width() - memo->TextLeft(), memo->viewport()->height());
    for (TTextPos pos : {TTextPos{0, 60}, TTextPos{0, 150}, TTextPos{1, 199}, TTextPos{0, 3}}) {
        Source().MoveCaretTo(pos);
        EXPECT_TRUE(text.contains(memo->CaretRect().topLeft())) << pos.line << ":" << pos.column;
    }
}
