// Clicks and drags: caret placement, selections, drag-and-drop of the
// selection, double and triple clicks, the right button and the popup menu.

#include "mousefixture.h"

#include <QMenu>
#include <QStyleHints>

TEST_F(MouseTest, ClickTakesTheFocusAndPlacesTheCaret)
{
    SetText("first line\nsecond line\nthird");
    Source().SetSelection({0, 0}, {0, 5});
    ASSERT_FALSE(memo->hasFocus());
    Click(Pixel(1, 3));
    EXPECT_TRUE(memo->hasFocus());
    EXPECT_EQ(Source().Caret(), (TTextPos{1, 3}));
    EXPECT_FALSE(Source().HasSelection()) << "a plain click clears the selection";
    EXPECT_EQ(memo->MouseMode(), mmNone);

    // The right half of a character puts the caret behind it.
    const QPoint right = Pixel(2, 1) + QPoint(memo->CharWidth() - 2, 0);
    Click(right);
    EXPECT_EQ(Source().Caret(), (TTextPos{2, 2}));
    // A click in the gutter goes to the start of the shown columns.
    Click(GutterPixel(0));
    EXPECT_EQ(Source().Caret(), (TTextPos{0, 0}));
}

TEST_F(MouseTest, ClickPastTheTextFollowsTheStoreLimits)
{
    SetText("ab\nlonger line\nend");
    Click(Pixel(0, 9));
    EXPECT_EQ(Source().Caret(), (TTextPos{0, 9})) << "without soLimitEOL the caret may stand behind the end";
    memo->SetStringsOptions(memo->StringsOptions() | soLimitEOL);
    Click(Pixel(0, 9));
    EXPECT_EQ(Source().Caret(), (TTextPos{0, 2}));

    Click(Pixel(6, 1));
    EXPECT_EQ(Source().Caret(), (TTextPos{2, 1})) << "without soBeyondFileEnd the last line holds it";
    memo->SetStringsOptions((memo->StringsOptions() | soBeyondFileEnd) & ~TStringsOptions(soLimitEOL));
    Click(Pixel(6, 1));
    EXPECT_EQ(Source().Caret(), (TTextPos{6, 1}));
}

TEST_F(MouseTest, DragAcrossLinesSelectsAStream)
{
    SetText("alpha beta\ngamma delta\nepsilon");
    Drag(Pixel(0, 6), Pixel(2, 3));
    EXPECT_EQ(Source().SelectionMode(), smStream);
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{0, 6}));
    EXPECT_EQ(Source().BlockEnd(), (TTextPos{2, 3}));
    EXPECT_EQ(Source().Caret(), (TTextPos{2, 3}));
    EXPECT_EQ(Source().SelectedText(), QByteArray("beta\r\ngamma delta\r\neps"));
    EXPECT_EQ(memo->MouseMode(), mmNone);

    // Dragging back above the anchor keeps it as the fixed end.
    Click(Pixel(2, 6));
    Drag(Pixel(1, 5), Pixel(0, 2));
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{0, 2}));
    EXPECT_EQ(Source().BlockEnd(), (TTextPos{1, 5}));
    EXPECT_EQ(Source().Caret(), (TTextPos{0, 2}));

    // A drag that ends where it began leaves no selection.
    Drag(Pixel(2, 2), Pixel(2, 2));
    EXPECT_FALSE(Source().HasSelection());
}

TEST_F(MouseTest, AltDragOrTheBlockOptionSelectsAColumnBlock)
{
    SetText("0123456789\nabcdefghij\nABCDEFGHIJ");
    Drag(Pixel(2, 5), Pixel(0, 2), Qt::AltModifier);
    EXPECT_EQ(Source().SelectionMode(), smBlock);
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{0, 2}));
    EXPECT_EQ(Source().BlockEnd(), (TTextPos{2, 5}));
    EXPECT_EQ(Source().SelectedText(), QByteArray("2345\r\ncdef\r\nCDEF"));

    memo->SetBlockOption(bkBlockSel);
    Click(Pixel(2, 9));
    Drag(Pixel(0, 1), Pixel(1, 3));
    EXPECT_EQ(Source().SelectionMode(), smBlock);
    memo->SetBlockOption(bkStreamSel);
    Click(Pixel(2, 9));
    Drag(Pixel(0, 1), Pixel(1, 3), Qt::AltModifier);
    EXPECT_EQ(Source().SelectionMode(), smStream);
}

TEST_F(MouseTest, ShiftClickExtendsFromTheCaret)
{
    SetText("0123456789\nabcdefghij\nABCDEFGHIJ");
    Click(Pixel(1, 4));
    Click(Pixel(2, 7), Qt::ShiftModifier);
    EXPECT_EQ(Source().SelectionMode(), smStream);
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{1, 4}));
    EXPECT_EQ(Source().BlockEnd(), (TTextPos{2, 7}));
    // Again from the caret's end: the other end stays.
    Click(Pixel(0, 1), Qt::ShiftModifier);
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{0, 1}));
    EXPECT_EQ(Source().BlockEnd(), (TTextPos{1, 4}));

    // A column block keeps its corners ordered when the caret's corner
    // passes the fixed one.
    Click(Pixel(2, 6));
    Click(Pixel(1, 8), Qt::ShiftModifier | Qt::AltModifier);
    ASSERT_EQ(Source().SelectionMode(), smBlock);
    Click(Pixel(0, 2), Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{0, 2}));
    EXPECT_EQ(Source().BlockEnd(), (TTextPos{2, 6}));
    // A shift drag goes on from the fixed corner.
    Drag(Pixel(0, 0), Pixel(0, 4), Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{0, 4}));
    EXPECT_EQ(Source().BlockEnd(), (TTextPos{2, 6}));
}

TEST_F(MouseTest, DraggingTheSelectionMovesItInOneUndoStep)
{
    SetText("one two three\r\nfour");
    Source().SetSelection({0, 4}, {0, 8});
    QTest::mousePress(Port(), Qt::LeftButton, {}, Pixel(0, 5));
    EXPECT_EQ(memo->MouseMode(), mmDragPending);
    QTest::mouseMove(Port(), Pixel(1, 4));
    EXPECT_EQ(Port()->cursor().shape(), Qt::DragMoveCursor);
    EXPECT_EQ(Source().SelectedText(), QByteArray("two ")) << "the selection stays while dragging";
    EXPECT_EQ(Source().Caret(), (TTextPos{1, 4}));
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, Pixel(1, 4));
    EXPECT_EQ(Source().Lines().Text(), QByteArray("one three\r\nfourtwo "));
    EXPECT_EQ(Source().SelectedText(), QByteArray("two ")) << "the moved text stays selected";
    EXPECT_EQ(memo->MouseMode(), mmNone);

    Source().Undo();
    EXPECT_EQ(Source().Lines().Text(), QByteArray("one two three\r\nfour"));
}

TEST_F(MouseTest, CtrlDropCopiesTheSelection)
{
    SetText("abc def\nxyz");
    Source().SetSelection({0, 0}, {0, 3});
    QTest::mousePress(Port(), Qt::LeftButton, {}, Pixel(0, 1));
    QTest::mouseMove(Port(), Pixel(1, 3));
    QTest::mouseRelease(Port(), Qt::LeftButton, Qt::ControlModifier, Pixel(1, 3));
    EXPECT_EQ(Source().Lines().Text(), QByteArray("abc def\r\nxyzabc"));
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{1, 3}));
}

TEST_F(MouseTest, ADropOntoTheSelectionItselfDropsNothing)
{
    SetText("abc def ghi");
    // A click inside the selection without moving: no copy of the text
    // into itself, the selection goes and the caret stays at the click.
    Source().SetSelection({0, 4}, {0, 7});
    QTest::mousePress(Port(), Qt::LeftButton, {}, Pixel(0, 5));
    QTest::mouseRelease(Port(), Qt::LeftButton, Qt::ControlModifier, Pixel(0, 5));
    EXPECT_EQ(Source().Lines().Text(), QByteArray("abc def ghi"));
    EXPECT_FALSE(Source().HasSelection());
    EXPECT_EQ(Source().Caret(), (TTextPos{0, 5}));
}

TEST_F(MouseTest, WithoutDragAClickInsideTheSelectionStartsANewOne)
{
    SetText("abc def ghi");
    // Read-only text, and moDisableDrag.
    for (int round = 0; round < 2; ++round) {
        Source().SetSelection({0, 0}, {0, 7});
        if (round == 0)
            memo->SetReadOnly(true);
        else
            memo->SetOptions(memo->Options() | moDisableDrag);
        QTest::mousePress(Port(), Qt::LeftButton, {}, Pixel(0, 2));
        EXPECT_EQ(memo->MouseMode(), mmSelecting) << round;
        EXPECT_FALSE(Source().HasSelection()) << round;
        QTest::mouseMove(Port(), Pixel(0, 9));
        QTest::mouseRelease(Port(), Qt::LeftButton, {}, Pixel(0, 9));
        EXPECT_EQ(Source().BlockBegin(), (TTextPos{0, 2})) << round;
        EXPECT_EQ(Source().BlockEnd(), (TTextPos{0, 9})) << round;
        EXPECT_EQ(Source().Lines().Text(), QByteArray("abc def ghi"));
        memo->SetReadOnly(false);
    }
}

TEST_F(MouseTest, DoubleClickSelectsTheWordOrTheLine)
{
    SetText("call  foo(bar);\nnext");
    memo->SetOptions(memo->Options() & ~TMemoOptions(moDblClickLine));
    DoubleClick(Pixel(0, 1));
    EXPECT_EQ(Source().SelectedText(), QByteArray("call"));
    EXPECT_EQ(memo->MouseMode(), mmNone);
    memo->SetWordSelectionType(wsWordWithSpace);
    DoubleClick(Pixel(0, 2));
    EXPECT_EQ(Source().SelectedText(), QByteArray("call  "));
    memo->SetWordSelectionType(wsUntilNextWord);
    DoubleClick(Pixel(0, 7));
    EXPECT_EQ(Source().SelectedText(), QByteArray("foo("));

    memo->SetOptions(memo->Options() | moDblClickLine);
    DoubleClick(Pixel(0, 7));
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{0, 0}));
    EXPECT_EQ(Source().BlockEnd(), (TTextPos{1, 0}));
    // In the gutter a double click selects nothing.
    DoubleClick(GutterPixel(1));
    EXPECT_FALSE(Source().HasSelection());
}

TEST_F(MouseTest, TripleClickNeedsTheOptionAndNoDoubleClickLine)
{
    SetText("some words here\nnext");
    auto tripleClick = [this](QPoint pixel) {
        DoubleClick(pixel);
        QTest::mousePress(Port(), Qt::LeftButton, {}, pixel);
        QTest::mouseRelease(Port(), Qt::LeftButton, {}, pixel);
    };
    memo->SetOptions(memo->Options() & ~TMemoOptions(moDblClickLine));
    tripleClick(Pixel(0, 6));
    EXPECT_FALSE(Source().HasSelection()) << "without moTripleClick the third click is a plain one";

    memo->SetOptions(memo->Options() | moTripleClick);
    tripleClick(Pixel(0, 6));
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{0, 0}));
    EXPECT_EQ(Source().BlockEnd(), (TTextPos{1, 0}));

    // Too far from the double click, or too late, is a plain click.
    DoubleClick(Pixel(0, 6));
    QTest::mouseClick(Port(), Qt::LeftButton, {}, Pixel(0, 6) + QPoint(QApplication::startDragDistance() + 1, 0));
    EXPECT_FALSE(Source().HasSelection());
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
    tripleClick(Pixel(0, 6));
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(interval);
    EXPECT_FALSE(Source().HasSelection());

    // With moDblClickLine the double click already took the line.
    memo->SetOptions(memo->Options() | moDblClickLine);
    tripleClick(Pixel(0, 6));
    EXPECT_FALSE(Source().HasSelection());
}

TEST_F(MouseTest, RightClickMovesTheCaretUnlessDisabledAndShowsThePopup)
{
    SetText("abc def\nghi");
    QMenu menu;
    menu.addAction(QStringLiteral("Copy"));
    memo->SetPopupMenu(&menu);
    EXPECT_EQ(memo->property("PopupMenu").value<QMenu*>(), &menu);

    Source().SetSelection({0, 0}, {0, 3});
    QTest::mousePress(Port(), Qt::RightButton, {}, Pixel(1, 2));
    EXPECT_EQ(Source().Caret(), (TTextPos{1, 2}));
    EXPECT_TRUE(Source().HasSelection()) << "the popup's commands act on the selection";
    EXPECT_FALSE(menu.isVisible()) << "the menu comes with the release";
    QTest::mouseRelease(Port(), Qt::RightButton, {}, Pixel(1, 2));
    QTRY_VERIFY(menu.isVisible());
    menu.close();

    memo->SetOptions(memo->Options() | moDisableRightClickMove);
    Click(Pixel(0, 5), {}, Qt::RightButton);
    EXPECT_EQ(Source().Caret(), (TTextPos{1, 2}));
    menu.close();
}

TEST_F(MouseTest, RightButtonEndsARunningSelection)
{
    SetText("abc def\nghi");
    QTest::mousePress(Port(), Qt::LeftButton, {}, Pixel(0, 1));
    QTest::mouseMove(Port(), Pixel(0, 4));
    ASSERT_EQ(memo->MouseMode(), mmSelecting);
    QTest::mousePress(Port(), Qt::RightButton, {}, Pixel(1, 2));
    EXPECT_EQ(memo->MouseMode(), mmNone);
    QTest::mouseMove(Port(), Pixel(1, 2));
    EXPECT_EQ(Source().BlockEnd(), (TTextPos{0, 4})) << "moves after the end change nothing";
    QTest::mouseRelease(Port(), Qt::RightButton, {}, Pixel(1, 2));
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, Pixel(1, 2));
}

TEST_F(MouseTest, LosingTheFocusEndsAMouseSelection)
{
    SetText("abc def\nghi");
    QTest::mousePress(Port(), Qt::LeftButton, {}, Pixel(0, 1));
    ASSERT_EQ(memo->MouseMode(), mmSelecting);
    memo->clearFocus();
    EXPECT_EQ(memo->MouseMode(), mmNone);
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, Pixel(0, 1));
}

TEST_F(MouseTest, HoldingThePointerBelowTheWindowScrollsAndSelects)
{
    SetText(Lines(200));
    QTest::mousePress(Port(), Qt::LeftButton, {}, Pixel(2, 1));
    QTest::mouseMove(Port(), QPoint(Pixel(2, 1).x(), Port()->height() + memo->LineHeight()));
    const int firstTop = memo->TopLine();
    // Timer 1 keeps scrolling while the pointer stays outside.
    QTRY_VERIFY(memo->TopLine() > firstTop + 3);
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, QPoint(Pixel(2, 1).x(), Port()->height() + memo->LineHeight()));
    const int top = memo->TopLine();
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{2, 1}));
    EXPECT_GE(Source().BlockEnd().line, top + memo->VisibleRows() - 1);
    QTest::qWait(100);
    EXPECT_EQ(memo->TopLine(), top) << "the release stops the scrolling";

    // Above the window it scrolls back up.
    QTest::mousePress(Port(), Qt::LeftButton, {}, Pixel(top + 1, 0));
    QTest::mouseMove(Port(), QPoint(Pixel(top, 0).x(), -5));
    QTRY_VERIFY(memo->TopLine() < top - 3);
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, QPoint(Pixel(top, 0).x(), -5));
    EXPECT_EQ(Source().Caret().line, memo->TopLine());
}

TEST_F(MouseTest, ProportionalTextMapsPixelsBackToColumns)
{
    SetText("iiiWWWiii mmm\nx");
    TFont font = memo->Font();
    font.SetName(QStringLiteral("DejaVu Sans"));
    memo->SetFont(font);
    memo->SetUseMonoFont(false);
    for (int column : {0, 2, 3, 5, 6, 9, 13, 16}) {
        const QPoint pixel = memo->PositionToPixel({0, column});
        EXPECT_EQ(memo->PixelToPosition(pixel + QPoint(1, 2)), (TTextPos{0, column})) << column;
        EXPECT_EQ(memo->PixelToPosition(pixel + QPoint(1, 2), true), (TTextPos{0, column})) << column;
    }
}
