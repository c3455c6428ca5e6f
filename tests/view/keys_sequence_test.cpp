// Two-stroke sequences and their edge cases, the key-down and key-press
// paths (focus keys, typed characters, the key events), and the key
// mapping property.

#include "keysfixture.h"

#include "ansi.h"
#include "keymappings.h"

#include <QLineEdit>
#include <QVBoxLayout>

namespace {

TEST_F(KeysTest, CtrlKThenXRunsNothingAndClearsThePrefix)
{
    SetText("abc");
    Source().SetSelection({0, 0}, {0, 2});
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_X, kNone}});
    EXPECT_EQ(Text(), "abc");
    EXPECT_EQ(Selected(), "ab");
    EXPECT_FALSE(services.ClipboardHasText());
    EXPECT_EQ(memo->KeyState(), 0);
    // The next X is an ordinary key again.
    SetCaret(0, 3);
    Key(Qt::Key_X);
    EXPECT_EQ(Text(), "abcx");
}

TEST_F(KeysTest, CtrlKThenCtrlBIsNoSequenceButCtrlKThenBMarksTheBlockBegin)
{
    SetText("0123456789");
    SetCaret(0, 2);
    Source().SetSelection({0, 6}, {0, 8});
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_B, kCtrl}});
    EXPECT_EQ(memo->KeyState(), 0);
    EXPECT_EQ(Selected(), "67");
    EXPECT_EQ(Text(), "0123456789");
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_B, kNone}});
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{0, 2}));
}

TEST_F(KeysTest, CtrlQThenRNeedsCtrlOnTheSecondStroke)
{
    SetText("abc\ndef\nghi");
    SetCaret(2, 1);
    Keys({{Qt::Key_Q, kCtrl}, {Qt::Key_R, kNone}});
    EXPECT_EQ(Caret(), (TTextPos{2, 1}));
    EXPECT_EQ(Text(), "abc\ndef\nghi");
    EXPECT_EQ(memo->KeyState(), 0);
    Keys({{Qt::Key_Q, kCtrl}, {Qt::Key_R, kCtrl}});
    EXPECT_EQ(Caret(), (TTextPos{0, 0}));
}

TEST_F(KeysTest, ArrowsMoveTheCaretAndClearAPendingPrefix)
{
    SetText("abc");
    for (Qt::Key prefix : {Qt::Key_K, Qt::Key_Q, Qt::Key_O}) {
        SetCaret(0, 0);
        Key(prefix, kCtrl);
        ASSERT_NE(memo->KeyState(), 0);
        Key(Qt::Key_Right);
        EXPECT_EQ(Caret(), (TTextPos{0, 1}));
        EXPECT_EQ(memo->KeyState(), 0);
    }
    // B is a letter again.
    Key(Qt::Key_B);
    EXPECT_EQ(Text(), "abbc");
}

TEST_F(KeysTest, NothingIsTypedWhileAPrefixIsPending)
{
    SetText("");
    Key(Qt::Key_Q, kCtrl);
    Key(Qt::Key_A);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(memo->KeyState(), 0);
    Key(Qt::Key_A);
    EXPECT_EQ(Text(), "a");
}

TEST_F(KeysTest, APrefixOutlivesModifierKeysAndFocusChanges)
{
    SetText("0123456789");
    SetCaret(0, 3);
    Key(Qt::Key_K, kCtrl);
    Key(Qt::Key_Control, kCtrl);
    Key(Qt::Key_Shift, kShift);
    memo->clearFocus();
    memo->setFocus();
    Key(Qt::Key_B);
    EXPECT_EQ(Source().BlockBegin(), (TTextPos{0, 3}));
    EXPECT_EQ(Text(), "0123456789");
}

TEST_F(KeysTest, UnboundCtrlAndAltLettersTypeNothing)
{
    SetText("");
    Key(Qt::Key_B, kCtrl);
    Key(Qt::Key_W, kAlt);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(memo->KeyState(), 0);
}

// -- focus keys -------------------------------------------------------------------------------

// The control beside a line edit in one window, so that Tab can move the focus.
class FocusKeysTest : public KeysTest {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        control = new TDCMemo(window.get());
        control->ApplyApplicationDefaults();
        edit = new QLineEdit(window.get());
        layout->addWidget(control);
        layout->addWidget(edit);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        control->setFocus();
        for (int i = 0; i < 100 && !control->hasFocus(); ++i)
            QTest::qWait(5);
        ASSERT_TRUE(control->hasFocus());
        control->MemoSource()->SetTextStr("abc");
    }

    void TearDown() override
    {
        window.reset();
        KeysTest::TearDown();
    }

    QByteArray Line() { return control->MemoSource()->LineText(0); }

    std::unique_ptr<QWidget> window;
    TDCMemo* control = nullptr;
    QLineEdit* edit = nullptr;
};

TEST_F(FocusKeysTest, WithoutWantTabsTabMovesTheFocusButCtrlTabInsertsATab)
{
    control->SetWantTabs(false);
    QTest::keyClick(control, Qt::Key_Tab, kCtrl);
    EXPECT_EQ(Line(), "         abc");
    EXPECT_TRUE(control->hasFocus());
    QTest::keyClick(control, Qt::Key_Tab);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(Line(), "         abc");
}

TEST_F(FocusKeysTest, WithWantTabsTabStaysInTheControl)
{
    control->SetWantTabs(true);
    QTest::keyClick(control, Qt::Key_Tab);
    EXPECT_TRUE(control->hasFocus());
    EXPECT_EQ(Line(), "         abc");
}

TEST_F(FocusKeysTest, TabCompletesAPendingSequenceInsteadOfMovingTheFocus)
{
    control->SetWantTabs(false);
    int completed = 0;
    control->KeyList().AddState(1, 0, Vk::Tab, 0, [&](QObject&) { ++completed; });
    QTest::keyClick(control, Qt::Key_K, kCtrl);
    QTest::keyClick(control, Qt::Key_Tab);
    EXPECT_EQ(completed, 1);
    EXPECT_TRUE(control->hasFocus());
    EXPECT_EQ(Line(), "abc");
}

TEST_F(FocusKeysTest, WithoutWantReturnsEnterIsLeftAloneButCtrlEnterBreaksTheLine)
{
    control->SetWantReturns(false);
    control->MemoSource()->MoveCaretTo({0, 1});
    QTest::keyClick(control, Qt::Key_Return);
    EXPECT_EQ(control->MemoSource()->LineCount(), 1);
    QTest::keyClick(control, Qt::Key_Return, kCtrl);
    EXPECT_EQ(control->MemoSource()->LineCount(), 2);
    EXPECT_EQ(Line(), "a");
}

// -- typed characters ------------------------------------------------------------------------------

TEST_F(KeysTest, PrintableWindows1252CharactersAreTypedOneOperationEach)
{
    SetText("");
    int notices = 0;
    memo->OnChange = [&](TCustomDCMemo&) { ++notices; };
    Type(QStringLiteral("a~ \u00e9\u20ac\u00ff"));
    EXPECT_EQ(Text(), "a~ \xe9\x80\xff");
    EXPECT_EQ(notices, 6);
    EXPECT_EQ(Caret(), (TTextPos{0, 6}));
}

TEST_F(KeysTest, CharactersOutsideWindows1252AndControlsAreNotTyped)
{
    SetText("");
    Type(QStringLiteral("\u03a9\u4e2d\x01\x1b\x7f"));
    EXPECT_EQ(Text(), "");
    Type(QString::fromUcs4(U"\U0001F600"));
    EXPECT_EQ(Text(), "");
}

TEST_F(KeysTest, TypingPastTheRightEdgeScrollsAQuarterWindowAhead)
{
    const int columns = memo->VisibleColumns();
    ASSERT_GT(columns, 8);
    SetText(QByteArray(columns - 1, 'x'));
    SetCaret(0, columns - 1);
    ASSERT_EQ(memo->LeftColumn(), 0);
    Type(QStringLiteral("a"));
    const int left = memo->LeftColumn();
    EXPECT_EQ(left, 1 + columns / 4);
    EXPECT_GE(memo->CaretRect().left(), memo->TextLeft());
    EXPECT_LT(memo->CaretRect().right(), memo->viewport()->width());
    // The next keys type into the room made.
    Type(QStringLiteral("bcd"));
    EXPECT_EQ(memo->LeftColumn(), left);
    EXPECT_EQ(Source().LineText(0), QByteArray(columns - 1, 'x') + "abcd");
}

TEST_F(KeysTest, OemConvertTypesOnlyWhatTheOemPageHolds)
{
    const uchar euro = 0x80;
    const uchar converted = Ansi::FromOem(Ansi::ToOem(euro));
    ASSERT_NE(converted, euro);
    SetText("");
    memo->SetOemConvert(true);
    Type(QStringLiteral("\u20ac\u00e9"));
    EXPECT_EQ(Text(), QByteArray(1, char(converted)) + "\xe9");
}

TEST_F(KeysTest, KeyEventsComeFirstAndMayChangeOrDropTheKey)
{
    SetText("");
    std::vector<quint16> downs;
    memo->OnKeyDown = [&](TCustomDCMemo&, quint16& key, TShiftState) {
        downs.push_back(key);
        if (key == Vk::Return)
            key = 0;
    };
    memo->OnKeyPress = [](TCustomDCMemo&, char& key) {
        if (key == 'x')
            key = 0;
        else if (key == 'a')
            key = 'A';
    };
    Key(Qt::Key_Return);
    EXPECT_LE(Source().LineCount(), 1);
    Key(Qt::Key_A);
    Key(Qt::Key_X);
    Key(Qt::Key_B);
    EXPECT_EQ(Text(), "Ab");
    EXPECT_EQ(downs, (std::vector<quint16>{Vk::Return, 'A', 'X', 'B'}));
}

// -- the mapping property ---------------------------------------------------------------------------

TEST_F(KeysTest, FiveMappingsAreRegisteredForTheControl)
{
    EXPECT_EQ(KeyMappings::Names(TDCMemo::staticMetaObject),
              (QStringList{"Default", "Classic", "Brief", "Epsilon", "Visual Studio"}));
}

TEST_F(KeysTest, AnUnknownMappingFallsBackToDefault)
{
    memo->SetKeyMapping(QStringLiteral("No Such Mapping"));
    EXPECT_EQ(memo->KeyMapping(), QStringLiteral("No Such Mapping"));
    TKeyList expected;
    MemoKeyMappings::FillDefault(expected);
    EXPECT_EQ(memo->KeyList().Count(), expected.Count());
    SetText("0123456789");
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_B, kNone}});
    SetCaret(0, 4);
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_K, kNone}});
    EXPECT_EQ(Selected(), "0123");
}

TEST_F(KeysTest, TheKeyListIsRebuiltOnlyWhenTheNameChanges)
{
    SetText("");
    int runs = 0;
    memo->KeyList().Add(Vk::F12, 0, [&](QObject&) { ++runs; }, ktControl);
    memo->SetKeyMapping(QStringLiteral("Default"));
    Key(Qt::Key_F12);
    EXPECT_EQ(runs, 1);
    memo->SetKeyMapping(QStringLiteral("Classic"));
    memo->SetKeyMapping(QStringLiteral("Default"));
    Key(Qt::Key_F12);
    EXPECT_EQ(runs, 1);
}

TEST_F(KeysTest, BindingsRunOnTheStoreShownWhenTheKeyIsPressed)
{
    TMemoSource first, second;
    first.SetTextStr("first");
    second.SetTextStr("second");
    memo->SetMemoSource(&first);
    Key(Qt::Key_End);
    memo->SetMemoSource(&second);
    Key(Qt::Key_End);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(first.LineText(0), "first");
    EXPECT_EQ(second.LineText(0), "secon");
    memo->SetMemoSource(nullptr);
}

} // namespace
