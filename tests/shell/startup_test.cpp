// Start-up from the program folder: the tag list and its popup, the button
// pictures, and the help commands.

#include "shellfixture.h"

#include "memoenvoptions.h"
#include "stringlist.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QTimer>

TEST_F(ShellTest, TagListIsReadFromTheProgramFolder)
{
    ASSERT_EQ(form->TagBox().Count(), 3);
    EXPECT_EQ(form->TagBox().Get(0), "<b>|Bold");
    EXPECT_EQ(form->TagBox().Get(1), "<table>|Table");
    EXPECT_EQ(form->TagBox().Get(2), "<br>");
    EXPECT_TRUE(services.Messages().isEmpty());
    EXPECT_EQ(form->ProgramDir(), programDir.path() + u'/');
}

namespace {

// A right button press and release on a line's row, a column into the text;
// the popup menu it may bring up is closed again.
void RightClick(TDCMemo& memo, int line, int column)
{
    const QPoint pixel(memo.TextLeft() + (column - memo.LeftColumn()) * memo.CharWidth() + 1,
                       (line - memo.TopLine()) * memo.LineHeight() + memo.LineHeight() / 2);
    QTest::mouseClick(memo.viewport(), Qt::RightButton, {}, pixel);
    if (memo.PopupMenu())
        memo.PopupMenu()->close();
}

} // namespace

TEST_F(ShellTest, ARightClickKeepsTheCaretInEditorsOnTheGlobalOptions)
{
    EXPECT_TRUE(TMemoEnvOptions::Global().Options().testFlag(moDisableRightClickMove));

    // The window's editor has settings of its own, and there a right click
    // still moves the caret.
    TDCMemo* editor = form->TarnelEditor();
    editor->MemoSource()->SetTextStr("abc def\nghi");
    RightClick(*editor, 1, 2);
    EXPECT_EQ(editor->MemoSource()->Caret(), (TTextPos{1, 2}));

    TDCMemo memo;
    memo.ApplyApplicationDefaults();
    memo.SetUseGlobalOptions(true);
    EXPECT_TRUE(memo.Options().testFlag(moDisableRightClickMove));
    memo.resize(400, 200);
    memo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&memo));
    memo.MemoSource()->SetTextStr("abc def\nghi");
    RightClick(memo, 1, 2);
    EXPECT_EQ(memo.MemoSource()->Caret(), (TTextPos{0, 0}));
}

// The pictures are drawn when first shown; each is still the 16 x 16
// picture of its command, greyed while the command is disabled.
TEST_F(ShellTest, EveryButtonShowsItsPictureAndAGreyedOneWhileDisabled)
{
    auto inked = [](const QImage& image) {
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(image.pixel(x, y)) > 0)
                    return true;
            }
        }
        return false;
    };
    int pictures = 0;
    for (QToolBar* bar : form->findChildren<QToolBar*>()) {
        for (QAction* action : bar->actions()) {
            const QIcon icon = action->icon();
            if (icon.isNull())
                continue;
            SCOPED_TRACE(action->objectName().toStdString());
            ++pictures;
            EXPECT_EQ(icon.actualSize(QSize(32, 32)), QSize(16, 16));
            const QImage normal = icon.pixmap(QSize(16, 16)).toImage();
            const QImage disabled = icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage();
            EXPECT_EQ(normal.size(), QSize(16, 16));
            EXPECT_TRUE(inked(normal));
            EXPECT_TRUE(inked(disabled));
            EXPECT_NE(normal, disabled);
        }
    }
    EXPECT_GT(pictures, 30);
}

class MissingTagsTest : public ShellTest {
protected:
    MissingTagsTest() { writeTags = false; }
};

TEST_F(MissingTagsTest, AMissingTagListIsReportedAndStartUpGoesOn)
{
    ASSERT_EQ(services.Calls().filter("error: ").size(), 1);
    EXPECT_TRUE(services.Messages().first().startsWith("Cannot open file"));
    EXPECT_TRUE(services.Messages().first().contains("Tags.txt"));
    EXPECT_EQ(form->TagBox().Count(), 0);
    EXPECT_EQ(FileNames(), QStringList{"Untitled1"});
    EXPECT_TRUE(form->TarnelEditor()->isEnabled());
}

TEST_F(ShellTest, TheTagPopupIsOfferedJustAfterALessThanSign)
{
    TMemoSource* document = form->ActiveDocument();
    document->InsertText("a <");
    TStringList offered;
    int popupType = 0;
    bool allow = false;
    form->TarnelEditorHintPopup(*form->TarnelEditor(), offered, popupType, allow);
    EXPECT_TRUE(allow);
    EXPECT_EQ(popupType, 1);
    EXPECT_EQ(offered.ToList(), form->TagBox().ToList());

    // Anything else before the caret forbids it, whatever the editor meant.
    document->MoveCaretTo({0, 1});
    offered.Clear();
    allow = true;
    form->TarnelEditorHintPopup(*form->TarnelEditor(), offered, popupType, allow);
    EXPECT_FALSE(allow);
    EXPECT_EQ(offered.Count(), 0);

    // At the line start, and beyond the line's end, the editor decides.
    for (TTextPos at : {TTextPos{0, 0}, TTextPos{0, 9}}) {
        document->MoveCaretTo(at);
        for (bool editorAllows : {false, true}) {
            allow = editorAllows;
            offered.Clear();
            form->TarnelEditorHintPopup(*form->TarnelEditor(), offered, popupType, allow);
            EXPECT_EQ(allow, editorAllows) << at.column;
            EXPECT_EQ(offered.Count(), editorAllows ? 3 : 0) << at.column;
        }
    }
}

TEST_F(ShellTest, AChosenTagInsertsTheTextBeforeItsBar)
{
    for (auto [entry, inserted] : {std::pair<QByteArray, QByteArray>{"<table>|Table", "<table>"},
                                   {"<br>", "<br>"},
                                   {"<a|b>|Anchor", "<a"},
                                   {"|only a description", ""}}) {
        QByteArray text = entry;
        form->TarnelEditorHintInsert(*form->TarnelEditor(), text);
        EXPECT_EQ(text, inserted) << entry.constData();
    }
}

TEST_F(ShellTest, HelpOpensThePagesThroughTheShell)
{
    QTest::keyClick(form.get(), Qt::Key_F1);
    Item("HelpItemsHome")->trigger();
    Item("HelpItemsMail")->trigger();
    const QStringList opened = services.Opened();
    ASSERT_EQ(opened.size(), 3);
    EXPECT_EQ(opened[0], programDir.path() + QStringLiteral("/tarnel.htm"));
    EXPECT_TRUE(opened[1].startsWith("https://"));
    EXPECT_TRUE(opened[2].startsWith("mailto:"));
}

TEST_F(ShellTest, AboutShowsAModalBoxAndFreesIt)
{
    QString title;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box)
            return;
        title = box->windowTitle();
        modal = box->isModal();
        box->accept();
    });
    Item("HelpItemsAbout")->trigger();
    EXPECT_EQ(title, QStringLiteral("Tarnel About..."));
    EXPECT_TRUE(modal);
    EXPECT_EQ(form->findChild<QDialog*>(QStringLiteral("AboutForm")), nullptr);
}

TEST_F(ShellTest, ThePopupMenuHoldsTheEditingCommands)
{
    QStringList captions;
    for (QAction* action : form->PopupMenu()->actions())
        captions.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(captions, (QStringList{"&Undo", "&Redo", "-", "Syntax Highlight", "-", "Selection", "-", "Cu&t",
                                     "&Copy", "&Paste", "-", "Close Document"}));
    // The editor shows it when the right button comes up.
    EXPECT_EQ(form->TarnelEditor()->PopupMenu(), form->PopupMenu());
    form->ActiveDocument()->InsertText("x");
    Item("PopClose")->trigger();
    // Close asks about the change; the unscripted answer is Cancel.
    EXPECT_EQ(form->DocumentCount(), 1);
    EXPECT_EQ(services.Questions().size(), 1);
}

TEST_F(ShellTest, ShortcutsOfTheMenusReachTheirCommands)
{
    EXPECT_EQ(Item("FileItemsExit")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F4));
    EXPECT_EQ(Item("EditItemsDelete")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    EXPECT_EQ(Item("SearchItemsFindAgain")->shortcut(), QKeySequence(Qt::Key_F3));
    // Undo and Redo show their keys in both menus; the popup's do not claim
    // them from the menu bar.
    const QKeySequence redoKey(Qt::SHIFT | Qt::CTRL | Qt::Key_Z);
    EXPECT_EQ(Item("PopUndo")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(Item("EditItemsRedo")->shortcut(), redoKey);
    EXPECT_EQ(Item("PopRedo")->shortcut(), redoKey);
    form->ActiveDocument()->InsertText("typed");
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->ActiveDocument()->Lines().Get(0), "");
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form->ActiveDocument()->Lines().Get(0), "typed");
}
