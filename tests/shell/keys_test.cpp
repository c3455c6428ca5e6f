// Keys typed into the main window's editor: the menus' shortcuts come first
// unless a key sequence is pending, and the status bar follows the insert
// mode.

#include "shellfixture.h"

#include "keylist.h"
#include "searchoptions.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>

namespace {

class EditorKeysTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        editor = form->TarnelEditor();
        ASSERT_TRUE(editor->hasFocus());
        TCustomMemoSource::SetGlobalCreateDialog(
            [this](TCustomMemoSource&, TDialogKind kind, TSearchOptions&, int&) {
                dialogs.push_back(kind);
                return false;
            });
    }

    void TearDown() override
    {
        TCustomMemoSource::SetGlobalCreateDialog(nullptr);
        TCustomMemoSource::SetOverwriteMode(false);
        ShellTest::TearDown();
    }

    // Keys go where the user's keys go: to the focused editor, the window's
    // shortcuts having their say first.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(editor, key, modifiers);
    }

    TDCMemo* editor = nullptr;
    std::vector<TDialogKind> dialogs;
};

TEST_F(EditorKeysTest, WithoutAPendingSequenceTheMenusTakeTheirShortcuts)
{
    TMemoSource* document = form->ActiveDocument();
    document->InsertText("some text");
    QSignalSpy find(Item("SearchItemsFind"), &QAction::triggered);
    ASSERT_TRUE(Item("SearchItemsFind")->isEnabled());

    // The menu's command opens the dialog, once: the editor's own Ctrl+F
    // does not run as well.
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(find.count(), 1);
    EXPECT_EQ(dialogs, std::vector<TDialogKind>{dkFind});

    Key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(services.FileDialogs().size(), 1);
    EXPECT_EQ(editor->KeyState(), 0);

    // Ctrl+N makes a new document rather than breaking the line.
    Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(FileNames(), (QStringList{"Untitled1", "Untitled2"}));
    EXPECT_EQ(document->LineCount(), 1);
}

TEST_F(EditorKeysTest, WhileASequenceIsPendingTheEditorTakesEveryKey)
{
    TMemoSource* document = form->ActiveDocument();
    document->InsertText("abc\nx");
    document->MoveCaretTo({1, 0});
    document->SetSelection({0, 0}, {0, 2});
    QSignalSpy copy(Item("EditItemsCopy"), &QAction::triggered);
    QSignalSpy find(Item("SearchItemsFind"), &QAction::triggered);

    // Ctrl+K Ctrl+C copies the block to the caret, not to the clipboard.
    Key(Qt::Key_K, Qt::ControlModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(document->LineText(1), "abx");
    EXPECT_EQ(copy.count(), 0);
    EXPECT_FALSE(services.ClipboardHasText());

    // Ctrl+Q Ctrl+F opens find through the text store.
    Key(Qt::Key_Q, Qt::ControlModifier);
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(dialogs, std::vector<TDialogKind>{dkFind});
    EXPECT_EQ(find.count(), 0);
    EXPECT_EQ(editor->KeyState(), 0);

    // A pending prefix keeps even a menu's key from the menu: Ctrl+K Ctrl+N
    // is no sequence, and no document is made.
    Key(Qt::Key_K, Qt::ControlModifier);
    Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(form->DocumentCount(), 1);
    EXPECT_EQ(editor->KeyState(), 0);
}

TEST_F(EditorKeysTest, AltKeysTheListBindsComeBeforeTheWindowMenu)
{
    // Unbound, Alt+F opens the File menu.
    Key(Qt::Key_F, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    EXPECT_NE(popup, nullptr);
    if (popup)
        popup->close();

    int runs = 0;
    editor->KeyList().Add('F', ssAlt, [&](QObject&) { ++runs; }, ktControl);
    Key(Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(EditorKeysTest, InsertSwitchesTheStatusBarsModePanel)
{
    ASSERT_EQ(form->StatusPanel(2)->text(), QStringLiteral("Insert"));
    Key(Qt::Key_Insert);
    EXPECT_EQ(form->StatusPanel(2)->text(), QStringLiteral("Overwrite"));
    Key(Qt::Key_A);
    Key(Qt::Key_Insert);
    EXPECT_EQ(form->StatusPanel(2)->text(), QStringLiteral("Insert"));
    EXPECT_EQ(form->ActiveDocument()->LineText(0), "a");
}

} // namespace
