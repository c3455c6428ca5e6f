// What a search shows in the window: the match painted in the match colours
// whether or not it is selected, the other matches on screen in a lighter
// form, the count in the status bar, and Search Again going on past the end
// with wrap around.

#include "shellfixture.h"

#include "historyeditor.h"
#include "paintfont.h"
#include "searchrecords.h"
#include "searchstatus.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include <map>

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

class SearchShowTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        editor = form->TarnelEditor();
        document = form->ActiveDocument();
    }

    void SetText(const QByteArray& text, TTextPos caret)
    {
        document->SetTextStr(text);
        document->MoveCaretTo(caret);
        form->UpdateEnabling();
    }

    // Ctrl+F with text typed, the given boxes clicked, and OK.
    void Find(const QString& text, QStringList boxes = {})
    {
        ScriptDialog([=, this](QDialog& dialog) {
            auto* field = dialog.findChild<TDCHistoryEditor*>(QStringLiteral("TextToFind"));
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(field, text);
            for (const QString& box : boxes)
                QTest::mouseClick(dialog.findChild<QAbstractButton*>(box), Qt::LeftButton);
            QTest::mouseClick(dialog.findChild<QAbstractButton*>(QStringLiteral("OK")), Qt::LeftButton);
        });
        QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
    }

    // The colour most of a text cell's pixels have: its background.
    QRgb CellBackground(const QImage& image, int line, int column)
    {
        const int cw = editor->CharWidth();
        const QRect cell(editor->TextLeft() + column * cw, line * editor->LineHeight(), cw, editor->LineHeight());
        std::map<QRgb, int> counts;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                ++counts[image.pixel(x, y) & 0xffffffu];
        return std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })
            ->first;
    }

    QString MatchPanel() const
    {
        const QLabel* panel = form->SearchStatus()->Panel();
        return panel->isVisible() ? panel->text() : QString();
    }

    KeptSearchRecords kept;
    TDCMemo* editor = nullptr;
    TMemoSource* document = nullptr;
};

TEST_F(SearchShowTest, TheMatchIsPaintedAndTheOthersOnScreenLighterUntilTheTextChanges)
{
    for (bool regular : {false, true}) {
        SCOPED_TRACE(regular ? "expression" : "plain text");
        SetText("alpha beta gamma\nbeta beta\n", {0, 0});
        Find(regular ? QStringLiteral("b[a-t]+a") : QStringLiteral("beta"),
             regular ? QStringList{"RegularExpressions"} : QStringList{});
        ASSERT_EQ(document->Caret(), (TTextPos{0, 10}));
        // Not selected (the default options), yet shown.
        EXPECT_FALSE(document->HasSelection());
        const QImage image = editor->RenderToImage();
        const QRgb back = CellBackground(image, 0, 2);
        const QColor matchBack = ToQColor(editor->MatchBackColor());
        EXPECT_EQ(CellBackground(image, 0, 7), matchBack.rgb() & 0xffffffu);
        const QRgb lineBack = CellBackground(image, 1, 4);
        const QColor plain(lineBack);
        const QRgb light = 0xffffffu & qRgb((2 * plain.red() + matchBack.red()) / 3, (2 * plain.green() + matchBack.green()) / 3,
                                (2 * plain.blue() + matchBack.blue()) / 3);
        EXPECT_EQ(CellBackground(image, 1, 1), light);
        EXPECT_EQ(CellBackground(image, 1, 6), light);

        QTest::keyClick(editor, Qt::Key_X);
        const QImage typed = editor->RenderToImage();
        EXPECT_EQ(CellBackground(typed, 0, 7), back);
        EXPECT_EQ(CellBackground(typed, 1, 1), lineBack);
    }
}

TEST_F(SearchShowTest, TheStatusBarCountsTheMatchesAndSearchAgainWrapsOnlyWhenAsked)
{
    SetText("one two\ntwo\nthree two\n", {1, 0});
    Find(QStringLiteral("two"));
    EXPECT_EQ(MatchPanel(), "2 of 3");
    QTest::keyClick(editor, Qt::Key_F3);
    EXPECT_EQ(MatchPanel(), "3 of 3");
    // Off: the end is the end, though matches lie above.
    QTest::keyClick(editor, Qt::Key_F3);
    EXPECT_EQ(services.Messages(), QStringList{"Search string 'two' not found"});
    EXPECT_EQ(document->Caret(), (TTextPos{2, 9}));
    EXPECT_EQ(MatchPanel(), "");

    Find(QStringLiteral("two"), {"WrapAround"});
    EXPECT_EQ(MatchPanel(), "1 of 3 - " + TSearchStatus::kWrappedForward);
    EXPECT_EQ(document->Caret(), (TTextPos{0, 7}));
    QTest::keyClick(editor, Qt::Key_F3);
    EXPECT_EQ(MatchPanel(), "2 of 3");
    EXPECT_EQ(services.Messages().size(), 1);
    // Typing ends what the search showed.
    QTest::keyClick(editor, Qt::Key_Z);
    EXPECT_EQ(MatchPanel(), "");
}

TEST_F(SearchShowTest, ALargeTextIsCountedWithoutHoldingTheWindow)
{
    QByteArray text;
    for (int i = 0; i < 20000; ++i)
        text += "line " + QByteArray::number(i) + " holds a match\n";
    ASSERT_GT(text.size(), TMatchCount::kCountAtOnce);
    SetText(text, {10000, 0});
    Find(QStringLiteral("match"));
    EXPECT_TRUE(MatchPanel().endsWith(" of ...") || MatchPanel() == "10,001 of 20,000") << MatchPanel().toStdString();
    QTRY_COMPARE(MatchPanel(), QStringLiteral("10,001 of 20,000"));
    // The count is kept for Search Again over the same text.
    QTest::keyClick(editor, Qt::Key_F3);
    EXPECT_EQ(MatchPanel(), "10,002 of 20,000");
}

} // namespace
