// The control's events beyond the hints: painting hooks, the code template
// and dialog hooks of its keys, and the toolkit's key-up and focus events,
// each through a connected handler.

#include "keysfixture.h"

#include <QLineEdit>
#include <QPainter>

namespace {

constexpr quint32 kWhite = 0xffffff;
constexpr quint32 kMaroon = 0x800000; // the "Error line" style's background

} // namespace

TEST_F(ViewTest, OnGetColorStyleAndOnCustomDrawChangeWhatIsPainted)
{
    SetText("a\nb\nc");
    const int error = memo->TextStyles()->IndexOfName(QStringLiteral("Error line"));
    ASSERT_GT(error, 0);
    std::vector<int> asked;
    memo->OnGetColorStyle = [&](TCustomDCMemo&, int line, int& style) {
        asked.push_back(line);
        if (line == 1)
            style = error;
    };
    QRect drawn;
    memo->OnCustomDraw = [&](TCustomDCMemo&, QPainter& painter, const QRect& rect) {
        drawn = rect;
        painter.fillRect(QRect(0, 0, 4, 4), QColor(0x00ff00));
    };
    const QImage image = Render();
    const int lh = memo->LineHeight();
    EXPECT_EQ(Rgb(image, Cell(1, 5).left(), lh + lh / 2), kMaroon);
    EXPECT_EQ(Rgb(image, Cell(0, 5).left(), lh / 2), kWhite);
    EXPECT_EQ(Rgb(image, Cell(2, 5).left(), 2 * lh + lh / 2), kWhite);
    EXPECT_EQ(memo->MemoSource()->LineStyle(1), 0) << "the store keeps its own";
    EXPECT_EQ((std::vector<int>(asked.begin(), asked.begin() + 3)), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(Rgb(image, 1, 1), 0x00ff00u) << "drawn over the gutter";
    EXPECT_EQ(drawn, image.rect());
}

TEST_F(KeysTest, OnTemplateInsertMayChangeTheTemplateCtrlJPutsIn)
{
    Source().CodeTemplates()->Add(QStringLiteral("pr"), QStringLiteral("print(|)"));
    Source().SetTemplatesType(QStringLiteral("Java"));
    QString name;
    memo->OnTemplateInsert = [&name](TCustomDCMemo&, const TCodeTemplate& found, QString& text) {
        name = found.Name();
        text.prepend(QStringLiteral("System.out."));
    };
    SetText("pr");
    SetCaret(0, 2);
    Key(Qt::Key_J, kCtrl);
    EXPECT_EQ(name, "pr");
    EXPECT_EQ(Text(), "System.out.print()");
    EXPECT_EQ(Caret(), TTextPos(0, 17)) << "the caret mark still counts";
}

TEST_F(KeysTest, OnCreateDialogOpensTheDialogsOfTheControlsKeys)
{
    HookDialogs();
    std::vector<TDialogKind> own;
    memo->OnCreateDialog = [&own](TCustomDCMemo&, TDialogKind kind, TSearchOptions&, int& line) {
        own.push_back(kind);
        line = 2;
        return kind != dkFind;
    };
    SetText("a\nb\nc");
    Key(Qt::Key_F, kCtrl);
    Keys({{Qt::Key_Q, kCtrl}, {Qt::Key_A, kCtrl}});
    Keys({{Qt::Key_O, kCtrl}, {Qt::Key_G, kCtrl}});
    EXPECT_EQ(own, (std::vector<TDialogKind>{dkFind, dkReplace, dkGotoLine}));
    EXPECT_EQ(Caret(), TTextPos(1, 0)) << "the line the handler confirmed";
    EXPECT_TRUE(dialogs.empty()) << "the hook for every store waits behind it";

    // The store's own hook comes first; without the control's the one for
    // every store answers.
    int storeAsked = 0;
    Source().OnCreateDialog = [&storeAsked](TCustomMemoSource&, TDialogKind, TSearchOptions&, int&) {
        ++storeAsked;
        return false;
    };
    Key(Qt::Key_F, kCtrl);
    EXPECT_EQ(storeAsked, 1);
    Source().OnCreateDialog = nullptr;
    memo->OnCreateDialog = nullptr;
    Key(Qt::Key_F, kCtrl);
    EXPECT_EQ(dialogs, (std::vector<TDialogKind>{dkFind}));
    EXPECT_EQ(own.size(), 3u);
}

TEST_F(KeysTest, OnKeyUpOnEnterAndOnExitFollowTheKeysAndTheFocus)
{
    std::vector<std::string> events;
    memo->OnKeyUp = [&events](TCustomDCMemo&, quint16 key, TShiftState shift) {
        events.push_back("up " + std::to_string(key) + "/" + std::to_string(shift));
    };
    memo->OnEnter = [&events](TCustomDCMemo&) { events.push_back("enter"); };
    memo->OnExit = [&events](TCustomDCMemo&) { events.push_back("exit"); };
    Key(Qt::Key_A, kShift);
    QLineEdit elsewhere;
    elsewhere.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&elsewhere));
    elsewhere.activateWindow();
    elsewhere.setFocus();
    QTRY_VERIFY(!memo->hasFocus());
    memo->activateWindow();
    memo->setFocus();
    QTRY_VERIFY(memo->hasFocus());
    EXPECT_EQ(events, (std::vector<std::string>{"up 65/1", "up 16/0", "exit", "enter"}));
}
