// Find in Files and Replace in Files through the window: the dialogs' files
// pages, the Search Results pane filled from a real folder (a binary, a
// large, an unreadable, an open modified and a UTF-8 file among them),
// opening results, F4, Stop, and replacing with a file changed in between.

#include "shellfixture.h"

#include "common/unreadablefile.h"
#include "documentnames.h"
#include "findinfiles.h"
#include "findinfilespage.h"
#include "historyeditor.h"
#include "searchrecords.h"
#include "searchresultspane.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

class FindInFilesTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        pane = form->SearchResults();
        root = files.filePath(QStringLiteral("project"));
        ASSERT_TRUE(QDir().mkpath(root));
    }

    QString Put(const QString& name, const QByteArray& bytes)
    {
        const QString path = root + u'/' + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteFile(path, bytes);
        return path;
    }

    static void Type(QWidget* field, const QString& text)
    {
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    static TDCHistoryEditor* Field(QDialog& dialog, const char* name)
    {
        auto* field = dialog.findChild<TDCHistoryEditor*>(QString::fromLatin1(name));
        EXPECT_NE(field, nullptr) << name;
        return field;
    }

    // Find in Files (Ctrl+Shift+F) or Replace in Files (Ctrl+Shift+R) for
    // text in the project folder; waits for the search to end when asked.
    void Search(const QString& text, const QString& masks, const QString& replacement = QString(), bool wait = true)
    {
        ScriptDialog([=, this](QDialog& dialog) {
            Type(Field(dialog, "FilesTextToFind"), text);
            if (!replacement.isNull())
                Type(Field(dialog, "FilesReplaceWith"), replacement);
            Type(Field(dialog, "Folder"), QDir::toNativeSeparators(root));
            Type(Field(dialog, "Masks"), masks);
            QTest::mouseClick(dialog.findChild<QAbstractButton*>(QStringLiteral("OK")), Qt::LeftButton);
        });
        QTest::keyClick(form.get(), replacement.isNull() ? Qt::Key_F : Qt::Key_R,
                        Qt::ControlModifier | Qt::ShiftModifier);
        if (wait)
            WaitForEnd();
    }

    void WaitForEnd()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!form->FindInFiles()->Running() && !pane->StopButton()->isVisible(), 20000);
    }

    QString Native(const QString& name) const { return QDir::toNativeSeparators(root + u'/' + name); }

    QTreeWidgetItem* Row(int group, int row) const { return pane->Tree()->topLevelItem(group)->child(row); }

    KeptSearchRecords kept;
    TSearchResultsPane* pane = nullptr;
    QString root;
};

TEST_F(FindInFilesTest, EveryFileIsListedWithItsMatchesOrWhyItWasSkipped)
{
    Put("Main.java", "class Main {\n    String name;\n}\n");
    Put("web/index.jsp", "<p>Gr\xc3\xbc\xc3\x9f" "e String</p>\n");
    Put("web/logo.txt", QByteArray("String\0\1", 8));
    Put("notes.md", "String, in a file the masks leave out\n");
    {
        QFile big(root + QStringLiteral("/big.txt"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize((qint64(64) << 20) + 1));
    }
    ASSERT_TRUE(MakeUnreadableFile(root + QStringLiteral("/locked.txt")));
    // Open, with an edit not saved: its text is what is searched.
    Open(Put("Open.java", "class Open {}\n"));
    form->ActiveDocument()->InsertString("String field; ");

    Search(QStringLiteral("string"), TFileSearchSettings::kDefaultMasks);
    EXPECT_TRUE(pane->isVisible());
    QStringList lines = pane->Lines();
    const QStringList skipped = lines.mid(7);
    lines = lines.mid(0, 7);
    EXPECT_EQ(lines, (QStringList{Native("Main.java") + " (1 match)", "  2: String name;",
                                  Native("Open.java") + " (1 match)", "  1: String field; class Open {}",
                                  Native("web/index.jsp") + " (1 match)",
                                  QString::fromUtf8("  1: <p>Gr\u00fc\u00dfe String</p>"), "Skipped (3)"}));
    QStringList reasons = skipped;
    reasons.sort();
    ASSERT_EQ(reasons.size(), 3);
    EXPECT_EQ(reasons[0], "  " + Native("big.txt") + " - over 64 MB");
    EXPECT_TRUE(reasons[1].startsWith("  " + Native("locked.txt") + " - cannot be read: ")) << reasons[1].toStdString();
    EXPECT_EQ(reasons[2], "  " + Native("web/logo.txt") + " - binary file");
    // The match is marked where it stands in the UTF-8 line.
    const QVariantList marks = Row(2, 0)->data(0, Qt::UserRole + 4).toList();
    EXPECT_EQ(marks, QVariantList{QPoint(3 + 9, 6)});
    EXPECT_EQ(pane->Status()->text(), "Searched 3 files: 3 matched (3 matches), 3 skipped.");
    EXPECT_TRUE(Item("SearchItemsNextResult")->isEnabled());
}

TEST_F(FindInFilesTest, CtrlTabReachesTheFilesPageWhichCarriesTheTextAndBrowsesForTheFolder)
{
    Put("a.txt", "a needle\n");
    TMemoSource* document = form->ActiveDocument();
    document->SetTextStr("needle");
    bool carried = false;
    ScriptDialog([&](QDialog& dialog) {
        auto* pages = dialog.findChild<QTabWidget*>();
        QTest::keyClick(Field(dialog, "TextToFind"), Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(pages->currentIndex(), 1);
        carried = Field(dialog, "FilesTextToFind")->Text() == "needle";
        // The folder proposed: the home folder for an untitled document.
        EXPECT_EQ(Field(dialog, "Folder")->Text(), QDir::toNativeSeparators(QDir::homePath()));
        services.ChooseFile(root);
        QTest::mouseClick(dialog.findChild<QAbstractButton*>(QStringLiteral("BrowseFolder")), Qt::LeftButton);
        EXPECT_EQ(Field(dialog, "Folder")->Text(), QDir::toNativeSeparators(root));
        QTest::mouseClick(dialog.findChild<QAbstractButton*>(QStringLiteral("OK")), Qt::LeftButton);
    });
    QTest::keyClick(form->TarnelEditor(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(carried);
    WaitForEnd();
    EXPECT_EQ(pane->Lines(), (QStringList{Native("a.txt") + " (1 match)", "  1: a needle"}));
    // The document itself was not searched: OK came from the files page.
    EXPECT_FALSE(document->FoundMatch().Valid());
    EXPECT_EQ(services.Calls().filter("folder dialog").size(), 1);
}

TEST_F(FindInFilesTest, AResultOpensItsFileWithTheMatchSelectedAndF4WalksTheResults)
{
    const QString a = Put("a.txt", "one\n  two here\nthree two\n");
    const QString b = Put("b.txt", "two\n");
    Search(QStringLiteral("two"), QStringLiteral("*.txt"));
    ASSERT_EQ(pane->ResultCount(), 3);

    // A double click as the system delivers it: a click, then the second
    // press as a double click.
    QTreeWidget* tree = pane->Tree();
    const QPoint at = tree->visualItemRect(Row(0, 0)).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, at);
    TMemoSource* document = form->ActiveDocument();
    ASSERT_TRUE(DocumentNames::SamePath(document->FileName(), a));
    EXPECT_EQ(document->SelectedText(), "two");
    EXPECT_EQ(document->Caret(), (TTextPos{1, 5}));
    EXPECT_TRUE(document->FoundMatch().Valid());
    EXPECT_TRUE(form->TarnelEditor()->hasFocus());

    QTest::keyClick(form->TarnelEditor(), Qt::Key_F4);
    EXPECT_EQ(form->ActiveDocument()->Caret(), (TTextPos{2, 9}));
    QTest::keyClick(form->TarnelEditor(), Qt::Key_F4);
    EXPECT_TRUE(DocumentNames::SamePath(form->ActiveDocument()->FileName(), b));
    EXPECT_EQ(form->ActiveDocument()->Caret(), (TTextPos{0, 3}));
    QTest::keyClick(form->TarnelEditor(), Qt::Key_F4, Qt::ShiftModifier);
    EXPECT_TRUE(DocumentNames::SamePath(form->ActiveDocument()->FileName(), a));
    EXPECT_EQ(form->ActiveDocument()->Caret(), (TTextPos{2, 9}));
    // Search Again goes on with the search in the document.
    form->ActiveDocument()->MoveCaretTo({0, 0});
    QTest::keyClick(form->TarnelEditor(), Qt::Key_F3);
    EXPECT_EQ(form->ActiveDocument()->Caret(), (TTextPos{1, 5}));

    // Enter in the pane opens the row too.
    tree->setFocus();
    tree->setCurrentItem(Row(1, 0));
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_TRUE(DocumentNames::SamePath(form->ActiveDocument()->FileName(), b));
}

TEST_F(FindInFilesTest, StopEndsASearchAndASecondSearchTakesThePlaceOfTheFirst)
{
    // Every line is tried by an expression without a literal that takes
    // long to fail on it: slow enough to be stopped.
    const QString slow = QStringLiteral("(x+x+)+[yz]");
    const QByteArray lines = QByteArray(24, 'x').append('\n').repeated(200);
    for (int i = 0; i < 2; ++i)
        Put(QStringLiteral("slow%1.txt").arg(i), lines);
    Put("fast.log", "quick\n");
    ScriptDialog([&](QDialog& dialog) {
        Type(Field(dialog, "FilesTextToFind"), slow);
        // On its box: the check box is wider than its caption.
        auto* regular = dialog.findChild<QAbstractButton*>(QStringLiteral("FilesRegularExpressions"));
        QTest::mouseClick(regular, Qt::LeftButton, {}, QPoint(4, regular->height() / 2));
        EXPECT_TRUE(regular->isChecked());
        Type(Field(dialog, "Folder"), QDir::toNativeSeparators(root));
        Type(Field(dialog, "Masks"), QStringLiteral("*.txt"));
        QTest::mouseClick(dialog.findChild<QAbstractButton*>(QStringLiteral("OK")), Qt::LeftButton);
    });
    Item("SearchItemsFindInFiles")->trigger();
    ASSERT_TRUE(pane->StopButton()->isVisible());
    QTest::mouseClick(pane->StopButton(), Qt::LeftButton);
    WaitForEnd();
    EXPECT_TRUE(pane->Status()->text().startsWith("Stopped after searching")) << pane->Status()->text().toStdString();

    // Again, and at once a second search: only the second one's results and
    // end show.
    Search(slow, QStringLiteral("*.txt"), QString(), false);
    Search(QStringLiteral("quick"), QStringLiteral("*.log"));
    EXPECT_EQ(pane->Lines(), (QStringList{Native("fast.log") + " (1 match)", "  1: quick"}));
    EXPECT_EQ(pane->Status()->text(), "Searched 1 file: 1 matched (1 match), 0 skipped.");
}

TEST_F(FindInFilesTest, ReplaceChangesTheCheckedMatchesAndLeavesAFileChangedSinceAlone)
{
    const QString one = Put("one.txt", "old one\nold two\n");
    const QString two = Put("two.txt", "old\n");
    const QString three = Put("three.txt", "keep old\n");
    const QString opened = Put("doc.txt", "old doc\n");
    Open(opened);
    TMemoSource* document = form->ActiveDocument();

    Search(QStringLiteral("old"), QStringLiteral("*.txt"), QStringLiteral("new"));
    EXPECT_EQ(pane->Lines(), (QStringList{"[x] " + Native("doc.txt") + " (1 match)", "  [x] 1: old doc",
                                          "[x] " + Native("one.txt") + " (2 matches)", "  [x] 1: old one",
                                          "  [x] 2: old two", "[x] " + Native("three.txt") + " (1 match)",
                                          "  [x] 1: keep old", "[x] " + Native("two.txt") + " (1 match)",
                                          "  [x] 1: old"}));
    ASSERT_TRUE(pane->ReplaceButton()->isEnabled());
    // One match unchecked, one file changed on disk meanwhile.
    QTreeWidget* tree = pane->Tree();
    tree->setFocus();
    tree->setCurrentItem(Row(1, 1));
    QTest::keyClick(tree, Qt::Key_Space);
    EXPECT_EQ(Row(1, 1)->checkState(0), Qt::Unchecked);
    WriteFile(two, "old, changed\n");

    QTest::mouseClick(pane->ReplaceButton(), Qt::LeftButton);
    EXPECT_EQ(services.Messages(), QStringList{"Replaced 3 matches in 3 files.\n\nNot replaced:\n" +
                                               QDir::toNativeSeparators(two) + ": it changed on disk since the search"});
    EXPECT_EQ(ReadFile(one), "new one\nold two\n");
    EXPECT_EQ(ReadFile(two), "old, changed\n");
    EXPECT_EQ(ReadFile(three), "keep new\n");
    EXPECT_FALSE(pane->ReplaceButton()->isEnabled());
    // The open document took it as an edit of its own, to be saved or undone.
    EXPECT_EQ(ReadFile(opened), "old doc\n");
    EXPECT_EQ(document->LineText(0), "new doc");
    EXPECT_TRUE(document->Modified());
    form->ActivateDocument(form->DocumentCount() - 1);
    ASSERT_EQ(form->ActiveDocument(), document);
    Item("EditItemsUndo")->trigger();
    EXPECT_EQ(document->LineText(0), "old doc");
}

} // namespace
