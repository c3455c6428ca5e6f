// The document tabs as the user works them: close buttons and middle
// clicks, the mark of unsaved changes, switching from the keyboard,
// dragging tabs into another order, and opening several files at once.

#include "shellfixture.h"

#include "documenttabbar.h"
#include "formstorage.h"
#include "keymappings.h"
#include "keystroke.h"
#include "tabswitcher.h"

#include <QMouseEvent>

namespace {

class TabsTest : public ShellTest {
protected:
    // Opens files a.txt, b.txt... (one per name) after Untitled1.
    QStringList OpenFiles(const QStringList& names)
    {
        QStringList paths;
        for (const QString& name : names) {
            paths.append(MakeFile(name, name.toUtf8() + "\n"));
            Open(paths.last());
        }
        return paths;
    }

    QWidget* CloseButton(int index) const
    {
        QTabBar* tabs = form->EditorTab();
        QWidget* button = tabs->tabButton(index, QTabBar::RightSide);
        return button ? button : tabs->tabButton(index, QTabBar::LeftSide);
    }

    QString Shown() const { return form->ActiveDocument() ? form->EditorTab()->tabText(form->ActiveIndex()) : QString(); }

    TDocumentTabBar* Tabs() const { return form->DocumentTabs(); }

    // A key pressed and let go while Ctrl stays held, as a user cycling
    // through the tabs does (QTest's clicks let Ctrl go after each key).
    static void HeldCtrl(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(widget, &release);
    }
};

} // namespace

TEST_F(TabsTest, CloseButtonAndMiddleClickCloseAsFileCloseDoes)
{
    OpenFiles({"a.txt", "b.txt", "c.txt"});
    ClickTab(1);
    form->ActiveDocument()->InsertText("x");

    // A modified document is asked about; Cancel keeps it.
    QWidget* close = CloseButton(1);
    ASSERT_NE(close, nullptr);
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_EQ(services.Questions(),
              QStringList{QStringLiteral("File %1 is modified. Would you like to save it?").arg(files.filePath("a.txt"))});
    EXPECT_EQ(Captions(), (QStringList{"Untitled1", "a.txt", "b.txt", "c.txt"}));
    services.AnswerNext(TServices::anNo);
    QTest::mouseClick(CloseButton(1), Qt::LeftButton);
    EXPECT_EQ(Captions(), (QStringList{"Untitled1", "b.txt", "c.txt"}));

    // Closing another tab, by its button or the middle button, leaves the
    // shown document where it is.
    ClickTab(1);
    QTest::mouseClick(CloseButton(2), Qt::LeftButton);
    EXPECT_EQ(Captions(), (QStringList{"Untitled1", "b.txt"}));
    EXPECT_EQ(Shown(), "b.txt");
    QTabBar* tabs = form->EditorTab();
    QTest::mouseClick(tabs, Qt::MiddleButton, {}, tabs->tabRect(0).center());
    EXPECT_EQ(Captions(), QStringList{"b.txt"});
    EXPECT_EQ(Shown(), "b.txt");
    EXPECT_EQ(form->TarnelEditor()->MemoSource(), form->ActiveDocument());
    EXPECT_EQ(services.Questions().size(), 2);
}

TEST_F(TabsTest, TheModifiedMarkFollowsEditsUndoAndSaves)
{
    const QStringList paths = OpenFiles({"a.txt", "b.txt"});
    TDocumentTabBar* tabs = Tabs();
    EXPECT_FALSE(tabs->ShowsModifiedMark(1));
    ClickTab(1);
    QTest::keyClicks(form->TarnelEditor(), "xy");
    EXPECT_TRUE(tabs->ShowsModifiedMark(1));
    EXPECT_FALSE(tabs->ShowsModifiedMark(2));
    // The caption stays the file name, the tip is the whole path.
    EXPECT_EQ(tabs->tabText(1), "a.txt");
    EXPECT_EQ(tabs->tabToolTip(1), paths[0]);

    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(tabs->ShowsModifiedMark(1));
    QTest::keyClick(form->TarnelEditor(), Qt::Key_Q);
    EXPECT_TRUE(tabs->ShowsModifiedMark(1));
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(tabs->ShowsModifiedMark(1));
    EXPECT_EQ(ReadFile(paths[0]), "qa.txt\n");

    // A document changed while another is shown is marked too, and Save All
    // clears every mark.
    form->Document(2)->InsertText("z");
    EXPECT_TRUE(tabs->ShowsModifiedMark(2));
    services.ChooseFile(files.filePath("new.txt"));
    form->FileItemsSaveAllClick();
    for (int i = 0; i < tabs->count(); ++i)
        EXPECT_FALSE(tabs->ShowsModifiedMark(i)) << i;
    EXPECT_EQ(tabs->tabText(0), "new.txt");
    EXPECT_EQ(tabs->tabToolTip(0), files.filePath("new.txt"));
}

TEST_F(TabsTest, CtrlTabGoesBackThroughTheRecentlyUsedDocuments)
{
    OpenFiles({"a.txt", "b.txt", "c.txt", "d.txt"});
    // Used last to first: d, then b, then a.
    ClickTab(1);
    ClickTab(2);
    ClickTab(4);
    QWidget* editor = form->TarnelEditor();

    HeldCtrl(editor, Qt::Key_Tab);
    EXPECT_EQ(Shown(), "b.txt");
    // Held Ctrl goes further back, Ctrl+Shift+Tab forward again.
    HeldCtrl(editor, Qt::Key_Tab);
    EXPECT_EQ(Shown(), "a.txt");
    HeldCtrl(editor, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Shown(), "b.txt");
    HeldCtrl(editor, Qt::Key_Tab);
    HeldCtrl(editor, Qt::Key_Tab);
    EXPECT_EQ(Shown(), "c.txt");
    // Letting Ctrl go makes the document reached the most recent one: the
    // next Ctrl+Tab goes back to where the cycle started.
    QTest::keyRelease(editor, Qt::Key_Control);
    EXPECT_FALSE(form->TabSwitcher()->Cycling());
    HeldCtrl(editor, Qt::Key_Tab);
    QTest::keyRelease(editor, Qt::Key_Control);
    EXPECT_EQ(Shown(), "d.txt");
    EXPECT_TRUE(form->TarnelEditor()->hasFocus());
    EXPECT_EQ(form->ActiveDocument()->LineText(0), "d.txt");
    // No key went to the text.
    for (int i = 0; i < form->DocumentCount(); ++i)
        EXPECT_FALSE(form->Document(i)->Modified()) << i;
}

TEST_F(TabsTest, CtrlPageKeysStayTheMappingsInTheEditor)
{
    // "Default" binds Ctrl+PgDn to the window's bottom row: in the editor it
    // keeps that meaning, and the tab stays.
    OpenFiles({"a.txt", "b.txt"});
    QByteArray lines;
    for (int i = 0; i < 200; ++i)
        lines += "line\n";
    form->ActiveDocument()->SetTextStr(lines);
    form->ActiveDocument()->SetCaret({0, 0});
    QTest::keyClick(form->TarnelEditor(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Shown(), "b.txt");
    EXPECT_GT(form->ActiveDocument()->CaretLine(), 5);
}

TEST(WindowKeys, TheWindowsNewKeysAreFreeInTheDefaultMapping)
{
    TDCMemo memo;
    TKeyList& list = memo.KeyList();
    for (const auto& [key, modifiers] : std::initializer_list<std::pair<int, Qt::KeyboardModifiers>>{
             {Qt::Key_Tab, Qt::ControlModifier},
             {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier},
             {Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier},
             {Qt::Key_Backslash, Qt::ControlModifier}}) {
        const QKeyEvent event(QEvent::KeyPress, key, modifiers);
        const TKeyStroke stroke = KeyStrokes::FromEvent(event);
        EXPECT_EQ(list.Find(stroke.key, stroke.shift, 0), nullptr) << key;
    }
}

TEST_F(TabsTest, DraggedTabsReorderTheDocumentsAndTheSession)
{
    const QStringList paths = OpenFiles({"a.txt", "b.txt", "c.txt"});
    QTabBar* tabs = form->EditorTab();
    // Dragged by the mouse from the second place past the last tab.
    const QPoint from = tabs->tabRect(1).center();
    const QPoint to = tabs->tabRect(3).center() + QPoint(tabs->tabRect(3).width() / 2, 0);
    auto send = [tabs](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), QPointF(tabs->mapToGlobal(at)), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(tabs, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int step = 1; step <= 10; ++step)
        send(QEvent::MouseMove, from + (to - from) * step / 10, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    QTRY_COMPARE(Captions(), (QStringList{"Untitled1", "b.txt", "c.txt", "a.txt"}));
    EXPECT_EQ(FileNames(), (QStringList{"Untitled1", paths[1], paths[2], paths[0]}));
    EXPECT_EQ(form->TarnelEditor()->MemoSource(), form->ActiveDocument());
    EXPECT_EQ(Shown(), "a.txt");
    const QString key = TFormStorage::Key(TMainForm::kSessionSection);
    EXPECT_EQ(services.Store().ReadString(key, "File0"), paths[1]);
    EXPECT_EQ(services.Store().ReadString(key, "File2"), paths[0]);
}

TEST_F(TabsTest, OpenTakesSeveralFilesAtOnce)
{
    const QStringList paths{MakeFile("one.jsp"), MakeFile("two.java"), MakeFile("three")};
    bool multi = false;
    services.OnFileDialog = [&](TServices::TFileDialog& dialog) {
        multi = dialog.multiSelect;
        dialog.fileNames = paths;
        dialog.fileName = paths.first();
        return true;
    };
    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(multi);
    EXPECT_EQ(Captions(), (QStringList{"Untitled1", "one.jsp", "two.java", "three"}));
    EXPECT_EQ(SchemeOf(form->Document(2)), form->JavaParser());
    EXPECT_EQ(Shown(), "three");
    EXPECT_EQ(RecentPaths(), (QStringList{paths[2], paths[1], paths[0]}));
}
