// The hint timer, the list and the one-line hint at the caret, driven by
// real key presses and clicks; the timer is waited for with QTRY or run out
// at once through ExpireTimer.

#include "keysfixture.h"

#include "memohints.h"
#include "popupwindows.h"
#include "stringlist.h"

#include <QLineEdit>
#include <QPainter>

namespace {

class HintsTest : public KeysTest {
protected:
    void SetUp() override
    {
        KeysTest::SetUp();
        memo->OnHintPopup = [this](TCustomDCMemo&, TStrings& strings, int& popupType, bool& allowPopup) {
            ++asked;
            askedAt = Caret();
            for (const char* item : {"apple", "Apricot", "banana", "cherry|fruit"})
                strings.Add(item);
            popupType = listKind;
            allowPopup = allow;
        };
    }

    TMemoHints& Hints() { return memo->Hints(); }
    // As the mouse does it: press, release, the double click, release.
    void DoubleClickItem(int index)
    {
        QWidget* port = List().viewport();
        const QPoint pixel = List().visualItemRect(List().item(index)).center();
        QTest::mousePress(port, Qt::LeftButton, {}, pixel);
        QTest::mouseRelease(port, Qt::LeftButton, {}, pixel);
        QTest::mouseDClick(port, Qt::LeftButton, {}, pixel);
        QTest::mouseRelease(port, Qt::LeftButton, {}, pixel);
    }
    TPopupListBox& List() { return Hints().ListBox(); }

    // Types text and runs the delay out at once.
    void TypeAndWait(const QString& text)
    {
        Type(text);
        ASSERT_TRUE(Hints().TimerActive());
        Hints().ExpireTimer();
    }

    int asked = 0;
    TTextPos askedAt;
    int listKind = 1;
    bool allow = true;
};

} // namespace

TEST_F(HintsTest, TheListOpensAfterTheDelayAndTheTypedWordSelectsItsItem)
{
    SetText("x ");
    SetCaret(0, 2);
    Type("f");
    EXPECT_EQ(Hints().Remembered(), TTextPos(0, 3));
    QTRY_VERIFY_WITH_TIMEOUT(Hints().ListShowing(), 5000);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(List().count(), 4);
    EXPECT_EQ(List().Selected(), 0) << "an empty word begins every item";

    // Characters typed while the list is open go into the text, select by
    // prefix without regard to case, and never restart the timer.
    const std::vector<std::pair<QString, int>> steps = {{"ap", 0}, {"r", 1}, {"z", -1}};
    for (const auto& [typed, selected] : steps) {
        Type(typed);
        EXPECT_FALSE(Hints().TimerActive()) << typed.toStdString();
        EXPECT_EQ(List().Selected(), selected) << typed.toStdString();
    }
    EXPECT_EQ(Text(), "x faprz");
    EXPECT_EQ(Hints().Remembered(), TTextPos(0, 3));
    Key(Qt::Key_Backspace);
    EXPECT_EQ(List().Selected(), 1) << "the word after Backspace";
    EXPECT_EQ(asked, 1);

    // Deleting back past where the word began closes the list.
    Keys({{Qt::Key_Backspace, kNone}, {Qt::Key_Backspace, kNone}, {Qt::Key_Backspace, kNone}});
    EXPECT_TRUE(Hints().ListShowing()) << "at the remembered column the word is empty";
    Key(Qt::Key_Backspace);
    EXPECT_FALSE(Hints().ListShowing());
}

TEST_F(HintsTest, ACaretMovedOrAKeyOrClickBeforeTheDelayShowsNothing)
{
    SetText("abc");
    // Moved by something else than a key or a click: the timer runs out
    // and asks nothing.
    SetCaret(0, 3);
    Type("d");
    SetCaret(0, 0);
    ASSERT_TRUE(Hints().TimerActive());
    Hints().ExpireTimer();
    EXPECT_EQ(asked, 0);
    // A key press or a click stops the timer.
    Type("e");
    Key(Qt::Key_Shift);
    EXPECT_TRUE(Hints().TimerActive()) << "a modifier alone is no key press";
    Key(Qt::Key_End);
    EXPECT_FALSE(Hints().TimerActive());
    Type("f");
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, Cell(0, 1).center());
    EXPECT_FALSE(Hints().TimerActive());
    // Blanks and control characters do not arm it; no handler, no timer.
    Type(" ");
    EXPECT_FALSE(Hints().TimerActive());
    memo->OnHintPopup = nullptr;
    Type("g");
    EXPECT_FALSE(Hints().TimerActive());
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(Hints().ListShowing());
}

TEST_F(HintsTest, ListKeysMoveChooseAndCloseAndTheItemReplacesTheWordAsOneUndoStep)
{
    memo->OnHintInsert = [](TCustomDCMemo&, QByteArray& text) {
        if (const qsizetype bar = text.indexOf('|'); bar >= 0)
            text.truncate(bar);
    };
    SetText("");
    TypeAndWait("<");
    ASSERT_TRUE(Hints().ListShowing());
    EXPECT_EQ(List().Selected(), 0);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(List().Selected(), 2);
    Key(Qt::Key_Up);
    EXPECT_EQ(List().Selected(), 1);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(List().Selected(), 3) << "a page down stops at the last item";
    EXPECT_EQ(Text(), "<") << "the list's keys leave the text alone";
    Type("ch");
    EXPECT_EQ(List().Selected(), 3);
    Key(Qt::Key_Return);
    EXPECT_FALSE(Hints().ListShowing());
    EXPECT_EQ(Text(), "<cherry") << "the word from the remembered column is replaced";
    EXPECT_EQ(Caret(), TTextPos(0, 7));
    Key(Qt::Key_Z, kCtrl);
    EXPECT_EQ(Text(), "<ch") << "one undo step";

    // Tab chooses too; Escape closes and changes nothing.
    SetText("");
    TypeAndWait("-");
    Type("BAn");
    Key(Qt::Key_Tab);
    EXPECT_EQ(Text(), "-banana");
    TypeAndWait("-");
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Hints().ListShowing());
    EXPECT_EQ(Text(), "-banana-");
    // Enter with no item selected closes the list and breaks the line.
    TypeAndWait("-");
    Type("zz");
    ASSERT_EQ(List().Selected(), -1);
    Key(Qt::Key_Return);
    EXPECT_FALSE(Hints().ListShowing());
    EXPECT_EQ(Text(), "-banana--zz\n");
}

TEST_F(HintsTest, ADotClosesTheListAndIsTyped)
{
    SetText("");
    TypeAndWait("x");
    Type("ap");
    Type(".");
    EXPECT_FALSE(Hints().ListShowing());
    EXPECT_EQ(Text(), "xap.") << "closing chose nothing";
    EXPECT_TRUE(Hints().TimerActive()) << "with the list closed the dot arms the timer";
}

TEST_F(HintsTest, ChoosingAfterTheCaretLeftTheWordDeletesNothing)
{
    SetText("one\ntwo");
    SetCaret(0, 3);
    TypeAndWait("x");
    Type("ap");
    ASSERT_TRUE(Hints().ListShowing());
    // Moved by a command while the list stays open: a double click on an
    // item then only closes the list.
    SetCaret(1, 3);
    DoubleClickItem(0);
    EXPECT_FALSE(Hints().ListShowing());
    EXPECT_EQ(Text(), "onexap\ntwo");

    // On the remembered line but left of the remembered column: the same.
    SetCaret(0, 6);
    TypeAndWait("y");
    SetCaret(0, 2);
    DoubleClickItem(0);
    EXPECT_FALSE(Hints().ListShowing());
    EXPECT_EQ(Text(), "onexapy\ntwo");

    // The caret still behind the word: the double click chooses.
    SetCaret(0, 7);
    TypeAndWait("z");
    DoubleClickItem(0);
    EXPECT_FALSE(Hints().ListShowing());
    EXPECT_EQ(Text(), "onexapyzapple\ntwo");
}

TEST_F(HintsTest, OnFindStringInPopupChoosesTheItemTheWordSelects)
{
    std::vector<QByteArray> words;
    memo->OnFindStringInPopup = [&words](TCustomDCMemo&, const TStrings& items, const QByteArray& text, bool& found,
                                         int& index) {
        words.push_back(text);
        // By the word's end instead of its start.
        for (int i = 0; i < items.Count() && !text.isEmpty(); ++i) {
            if (items.Get(i).endsWith(text)) {
                found = true;
                index = i;
                return;
            }
        }
    };
    SetText("");
    TypeAndWait("-");
    Type("na");
    EXPECT_EQ(List().Selected(), 2);
    Type("x");
    EXPECT_EQ(List().Selected(), -1);
    EXPECT_EQ(words, (std::vector<QByteArray>{"", "n", "na", "nax"}));
}

TEST_F(HintsTest, AnotherPopupTypeShowsTheFirstItemOneRowBelowTheCaret)
{
    listKind = 0;
    SetText("  ");
    SetCaret(0, 2);
    TypeAndWait("a");
    EXPECT_FALSE(Hints().ListShowing());
    ASSERT_TRUE(Hints().HintShowing());
    EXPECT_EQ(Hints().HintWindow().text(), "apple");
    const QRect caret = memo->CaretRect();
    const QPoint at = memo->viewport()->mapToGlobal(QPoint(caret.left(), caret.top() + memo->LineHeight()));
    EXPECT_EQ(Hints().HintWindow().pos(), at);
    // It hides at the next key press.
    Key(Qt::Key_Left);
    EXPECT_FALSE(Hints().HintShowing());

    // Refused, or nothing to offer: nothing shows.
    allow = false;
    TypeAndWait("b");
    EXPECT_FALSE(Hints().HintShowing());
    EXPECT_EQ(asked, 2);
}

TEST_F(HintsTest, TheListStaysOnTheScreenAtItsEdges)
{
    const QRect screen = memo->screen()->availableGeometry();
    // The window at the screen's bottom right corner, the caret far right
    // on its last row.
    memo->move(screen.right() - memo->width() + 1, screen.bottom() - memo->height() + 1);
    SetText(QByteArray(80, ' ') + "\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n");
    SetCaret(memo->VisibleRows() - 1, memo->VisibleColumns() - 2);
    TypeAndWait("a");
    ASSERT_TRUE(Hints().ListShowing());
    const QRect list = List().frameGeometry();
    EXPECT_TRUE(screen.contains(list)) << list.x() << "," << list.y();
    const QRect caret = memo->CaretRect();
    EXPECT_LE(list.bottom(), memo->viewport()->mapToGlobal(caret.topLeft()).y()) << "above the caret row";
}

TEST_F(HintsTest, TheListClosesWhenTheFocusTheTextOrTheWindowChanges)
{
    // An editor in a window of its own, with something else to focus.
    QWidget window;
    auto* editor = new TDCMemo(&window);
    auto* elsewhere = new QLineEdit(&window);
    editor->setGeometry(0, 0, 300, 200);
    elsewhere->setGeometry(0, 210, 300, 20);
    editor->OnHintPopup = memo->OnHintPopup;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    TMemoSource other;
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"focus", [&] { elsewhere->setFocus(); }},
        {"text store", [&] { editor->SetMemoSource(&other); }},
        {"window moved", [&] { window.move(window.pos() + QPoint(7, 3)); }},
    };
    for (const auto& [what, change] : changes) {
        window.activateWindow();
        editor->setFocus();
        QTRY_VERIFY2(editor->hasFocus(), what);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(editor, &press);
        editor->Hints().ExpireTimer();
        ASSERT_TRUE(editor->Hints().ListShowing()) << what;
        change();
        QTRY_VERIFY2(!editor->Hints().ListShowing(), what);
        editor->SetMemoSource(nullptr);
    }
}
