// A large file shows while it comes in: its first screen is painted before
// the load has ended, Escape and Cancel leave the window as it was, and keys
// typed meanwhile all arrive, in order, once the text is in.

#include "shellfixture.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

namespace {

// About 3 MB of Java: read in more than one piece, so the window answers
// before the last one is in.
QByteArray bigJava()
{
    QByteArray text;
    for (int i = 0; text.size() < 3'000'000; ++i)
        text += "    int value" + QByteArray::number(i) + " = " + QByteArray::number(i) + "; // line\n";
    return text;
}

class OpenWhileLoading : public ShellTest {
protected:
    // Runs action the first time the window answers during the next Open.
    void WhileLoading(std::function<void()> action)
    {
        QTimer::singleShot(0, form.get(), [this, action]() {
            const TMemoSource* document = form->ActiveDocument();
            loadingSeen = document && document->Loading();
            action();
        });
    }
    // The messages shown since calls were last cleared.
    QStringList Messages() const { return services.Calls().filter(QRegularExpression(QStringLiteral("^(error|message): "))); }
    QPushButton* CancelButton() const { return form->statusBar()->findChild<QPushButton*>(QStringLiteral("CancelLoad")); }

    bool loadingSeen = false;
};

} // namespace

TEST_F(OpenWhileLoading, TheFirstScreenIsPaintedBeforeTheLoadEnds)
{
    const QByteArray text = bigJava();
    const QString path = MakeFile(QStringLiteral("Big.java"), text);
    int shownLines = 0;
    int inkedRows = 0;
    bool cancelShown = false;
    WhileLoading([&]() {
        shownLines = form->ActiveDocument()->LineCount();
        cancelShown = CancelButton() && CancelButton()->isVisible();
        // Rows of the editor's painted screen holding text, not only paper.
        const QImage shot = form->TarnelEditor()->viewport()->grab().toImage();
        const QRgb paper = shot.pixel(shot.width() - 1, shot.height() - 1);
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width() / 2; ++x) {
                if (shot.pixel(x, y) != paper) {
                    ++inkedRows;
                    break;
                }
            }
        }
    });
    Open(path);
    EXPECT_TRUE(loadingSeen);
    EXPECT_GT(shownLines, form->TarnelEditor()->VisibleRows());
    EXPECT_LT(shownLines, text.count('\n'));
    EXPECT_GT(inkedRows, form->TarnelEditor()->viewport()->height() / 4);
    EXPECT_TRUE(cancelShown);

    TMemoSource* document = form->ActiveDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_FALSE(document->Loading());
    EXPECT_FALSE(document->Modified());
    EXPECT_FALSE(document->ReadOnly());
    EXPECT_EQ(document->FileName(), path);
    EXPECT_EQ(document->SavedBytes(), text);
    EXPECT_EQ(CancelButton(), nullptr);
    EXPECT_EQ(Messages(), QStringList());
}

TEST_F(OpenWhileLoading, CancelLeavesTheWindowAsItWas)
{
    const QString big = MakeFile(QStringLiteral("Big.java"), bigJava());
    for (const bool byButton : {false, true}) {
        SCOPED_TRACE(byButton ? "Cancel clicked" : "Escape pressed");
        Open(MakeFile(QStringLiteral("Small.java"), "class Small {}\n"));
        QTest::keyClicks(form->TarnelEditor(), "edited ");
        TMemoSource* before = form->ActiveDocument();
        const int count = form->DocumentCount();
        services.ClearCalls();
        WhileLoading([&]() {
            if (byButton)
                QTest::mouseClick(CancelButton(), Qt::LeftButton);
            else
                QTest::keyClick(form->TarnelEditor(), Qt::Key_Escape);
        });
        Open(big);
        EXPECT_TRUE(loadingSeen);
        EXPECT_EQ(form->DocumentCount(), count);
        EXPECT_EQ(form->ActiveDocument(), before);
        EXPECT_EQ(form->TarnelEditor()->MemoSource(), before);
        EXPECT_EQ(before->LineText(0), "edited class Small {}");
        EXPECT_TRUE(before->Modified());
        EXPECT_EQ(CancelButton(), nullptr);
        // Nothing to report, and the file is no recent one.
        EXPECT_EQ(Messages(), QStringList());
        for (const TRecentList::Entry& entry : form->RecentList()->Entries())
            EXPECT_NE(entry.path, big);
        before->SetModified(false);
        form->FileItemsCloseClick();
    }
}

TEST_F(OpenWhileLoading, KeysTypedWhileLoadingAllArriveInOrder)
{
    const QByteArray text = bigJava();
    const QString path = MakeFile(QStringLiteral("Big.java"), text);
    const int count = form->DocumentCount();
    WhileLoading([&]() {
        // Down moves at once; what follows waits for the text, the
        // shortcut of File, New included, and then comes in order.
        QTest::keyClick(form->TarnelEditor(), Qt::Key_Down);
        QTest::keyClicks(form->TarnelEditor(), "typed while loading;");
        QTest::keyClick(form->TarnelEditor(), Qt::Key_Return);
        QTest::keyClick(form->TarnelEditor(), Qt::Key_N, Qt::ControlModifier);
    });
    Open(path);
    EXPECT_TRUE(loadingSeen);
    const TMemoSource* loaded = form->Document(count);
    ASSERT_NE(loaded, nullptr);
    QTRY_COMPARE(form->DocumentCount(), count + 2);
    EXPECT_EQ(loaded->LineText(0), "    int value0 = 0; // line");
    EXPECT_EQ(loaded->LineText(1), "typed while loading;");
    EXPECT_EQ(loaded->LineText(2), "    int value1 = 1; // line");
    EXPECT_TRUE(loaded->Modified());
}
