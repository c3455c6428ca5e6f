// The tag list the window offers after "<", used as the user meets it: keys
// typed into the editor of a real window, the list waited for.

#include "shellfixture.h"

#include "memohints.h"
#include "popupwindows.h"

namespace {

class TagListTest : public ShellTest {
protected:
    TagListTest() { tagList = "b>|Bold\r\nbr>\r\ntable>|Table\r\ntd>|Table cell\r\n"; }

    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_EQ(form->DocumentCount(), 1);
        form->TarnelEditor()->setFocus();
        QTRY_VERIFY(form->TarnelEditor()->hasFocus());
    }

    TMemoHints& Hints() { return form->TarnelEditor()->Hints(); }
    TPopupListBox& List() { return Hints().ListBox(); }
    void Type(const char* text) { QTest::keyClicks(form->TarnelEditor(), QString::fromLatin1(text)); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(form->TarnelEditor(), key, modifiers);
    }
    QByteArray Line(int line) { return form->ActiveDocument()->LineText(line); }
};

} // namespace

TEST_F(TagListTest, TheWordTypedAfterALessThanSelectsATagAndEnterInsertsItsTextAsOneUndoStep)
{
    Type("x <");
    QTRY_VERIFY_WITH_TIMEOUT(Hints().ListShowing(), 5000);
    ASSERT_EQ(List().count(), form->TagBox().Count());
    EXPECT_EQ(List().item(2)->text(), "table>|Table") << "the list shows the whole entry";
    Type("ta");
    EXPECT_EQ(List().Selected(), 2);
    EXPECT_FALSE(Hints().TimerActive()) << "typing into the open list does not restart the timer";
    EXPECT_EQ(Line(0), "x <ta");
    Key(Qt::Key_Return);
    EXPECT_FALSE(Hints().ListShowing());
    EXPECT_EQ(Line(0), "x <table>") << "only the part before the \"|\"";
    EXPECT_EQ(form->ActiveDocument()->Caret(), TTextPos(0, 9));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Line(0), "x <ta");
    EXPECT_EQ(form->ActiveDocument()->LineCount(), 1);

    // An entry without "|" goes in whole.
    Key(Qt::Key_End);
    Type(" <");
    Hints().ExpireTimer();
    Type("br");
    Key(Qt::Key_Tab);
    EXPECT_EQ(Line(0), "x <ta <br>");
}

TEST_F(TagListTest, OnlyALessThanOpensTheListAndADotOrEscapeClosesIt)
{
    Type("a");
    ASSERT_TRUE(Hints().TimerActive());
    Hints().ExpireTimer();
    EXPECT_FALSE(Hints().ListShowing()) << "not after other characters";

    Type("<");
    Hints().ExpireTimer();
    ASSERT_TRUE(Hints().ListShowing());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Hints().ListShowing());
    EXPECT_EQ(Line(0), "a<");

    Type("<");
    Hints().ExpireTimer();
    Type("b.");
    EXPECT_FALSE(Hints().ListShowing());
    EXPECT_EQ(Line(0), "a<<b.");

    // The list goes when another document is shown.
    Type("<");
    Hints().ExpireTimer();
    ASSERT_TRUE(Hints().ListShowing());
    QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(form->DocumentCount(), 2);
    EXPECT_FALSE(Hints().ListShowing());
}
