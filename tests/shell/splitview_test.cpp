// Split View: a second editor control on the same text store, each with its
// own top line, caret and selection, both painting every edit.

#include "shellfixture.h"

#include "splitview.h"

#include <QSplitter>

namespace {

class SplitViewTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        QByteArray text;
        for (int i = 0; i < 200; ++i)
            text += "line " + QByteArray::number(i) + "\n";
        Document().SetTextStr(text);
        Document().SetCaret({0, 0});
    }

    TMemoSource& Document() const { return *form->ActiveDocument(); }
    TDCMemo* First() const { return form->TarnelEditor(); }
    TCustomDCMemo* Second() const { return form->SplitView()->Second(); }

    // The first text row of a view, as painted (without the caret).
    static QImage FirstRow(TCustomDCMemo& view)
    {
        const QImage image = view.RenderToImage();
        return image.copy(0, 0, std::min(image.width(), 300), view.LineHeight());
    }
};

} // namespace

TEST_F(SplitViewTest, BothViewsPaintWhatIsTypedInEither)
{
    QTest::keyClick(First(), Qt::Key_Backslash, Qt::ControlModifier);
    ASSERT_NE(Second(), nullptr);
    EXPECT_TRUE(Item("ViewItemsSplit")->isChecked());
    EXPECT_EQ(Second()->MemoSource(), First()->MemoSource());
    EXPECT_TRUE(Second()->hasFocus());
    const QImage before = FirstRow(*First());
    EXPECT_EQ(FirstRow(*Second()), before);

    QTest::keyClicks(Second(), "XY");
    EXPECT_EQ(Document().LineText(0), "XYline 0");
    // Not a copy: the one document changed, and both views show it.
    EXPECT_EQ(form->DocumentCount(), 1);
    EXPECT_NE(FirstRow(*First()), before);
    EXPECT_EQ(FirstRow(*First()), FirstRow(*Second()));

    QTest::mouseClick(First()->viewport(), Qt::LeftButton, {}, QPoint(First()->TextLeft() + 2, 2));
    QTest::keyClick(First(), Qt::Key_Z);
    EXPECT_EQ(Document().LineText(0), "zXYline 0");
    EXPECT_EQ(FirstRow(*First()), FirstRow(*Second()));
}

TEST_F(SplitViewTest, EachViewKeepsItsOwnTopLineCaretAndSelection)
{
    Item("ViewItemsSplit")->trigger();
    ASSERT_NE(Second(), nullptr);
    // The second view goes to the end; the first stays at the top.
    QTest::keyClick(Second(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(Second(), Qt::Key_Up);
    QTest::keyClick(Second(), Qt::Key_Home);
    const TTextPos secondCaret = Document().Caret();
    const QByteArray secondLine = Document().LineText(secondCaret.line);
    ASSERT_GT(secondCaret.line, 190);
    const int secondTop = Second()->TopLine();
    EXPECT_GT(secondTop, 150);
    EXPECT_EQ(First()->TopLine(), 0);

    // Editing at the top in the first view: the second view's caret and
    // text stay where they were, one line further down.
    First()->setFocus();
    EXPECT_EQ(Document().Caret(), (TTextPos{0, 0}));
    QTest::keyClick(First(), Qt::Key_Return);
    QTest::keyClick(First(), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(First(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(Document().HasSelection());
    EXPECT_EQ(Second()->TopLine(), secondTop + 1);
    EXPECT_EQ(First()->TopLine(), 0);

    Second()->setFocus();
    EXPECT_EQ(Document().Caret(), (TTextPos{secondCaret.line + 1, 0}));
    EXPECT_FALSE(Document().HasSelection());
    QTest::keyClick(Second(), Qt::Key_Q);
    EXPECT_EQ(Document().LineText(secondCaret.line + 1), "q" + secondLine);

    First()->setFocus();
    EXPECT_EQ(Document().Caret(), (TTextPos{1, 2}));
    EXPECT_EQ(Document().BlockBegin(), (TTextPos{1, 0}));
    EXPECT_EQ(Document().BlockEnd(), (TTextPos{1, 2}));
}

TEST_F(SplitViewTest, TabsShowInBothViewsAndSplitViewAgainCloses)
{
    Item("ViewItemsSplit")->trigger();
    ASSERT_NE(Second(), nullptr);
    // The views take the editor's place, above the Output pane.
    EXPECT_EQ(form->findChild<QSplitter*>("EditorSplit")->widget(0), form->SplitView()->Splitter());
    Open(MakeFile("other.txt", "other\n"));
    EXPECT_EQ(First()->MemoSource(), form->ActiveDocument());
    EXPECT_EQ(Second()->MemoSource(), form->ActiveDocument());
    // Closing the shown document shows the one left in both.
    form->FileItemsCloseClick();
    EXPECT_EQ(Second()->MemoSource(), form->Document(0));
    EXPECT_EQ(First()->MemoSource(), form->Document(0));

    QTest::keyClick(Second(), Qt::Key_End, Qt::ControlModifier);
    First()->setFocus();
    QTest::keyClick(First(), Qt::Key_Down);
    Second()->setFocus();
    QTest::keyClick(Second(), Qt::Key_Backslash, Qt::ControlModifier);
    EXPECT_EQ(Second(), nullptr);
    EXPECT_FALSE(Item("ViewItemsSplit")->isChecked());
    // The first view has the focus and its own caret back.
    EXPECT_TRUE(First()->hasFocus());
    EXPECT_EQ(Document().Caret(), (TTextPos{1, 0}));
    QTest::keyClick(First(), Qt::Key_A);
    EXPECT_EQ(Document().LineText(1), "aline 1");
}
