// The find, replace and go-to-line dialogs as the user meets them: opened
// from the menu, the button, the shortcuts and the editor's key sequences,
// filled in with real key presses and clicks, their histories kept in a
// real settings file, and F3 repeating the search.

#include "shellfixture.h"

#include "historyeditor.h"
#include "qtsettingsstore.h"
#include "searchdialoghook.h"
#include "searchoptions.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

class SearchDialogsTest : public ShellTest {
protected:
    void SetUp() override
    {
        saved = TSearchOptions::Global();
        TSearchOptions::Global() = TSearchOptions();
        ShellTest::SetUp();
        editor = form->TarnelEditor();
        document = form->ActiveDocument();
    }

    void TearDown() override
    {
        ShellTest::TearDown();
        services.UseSettings(nullptr);
        TSearchOptions::Global() = saved;
    }

    void SetText(const QByteArray& text, TTextPos caret)
    {
        document->SetTextStr(text);
        document->MoveCaretTo(caret);
        form->UpdateEnabling();
    }

    template <class T>
    static T* Child(QDialog& dialog, const char* name)
    {
        T* child = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    static TDCHistoryEditor* Field(QDialog& dialog, const char* name) { return Child<TDCHistoryEditor>(dialog, name); }

    // Replaces what a field shows by typing into it.
    static void Type(QWidget* field, const QString& text)
    {
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }

    static void Click(QDialog& dialog, const char* name)
    {
        QTest::mouseClick(Child<QAbstractButton>(dialog, name), Qt::LeftButton);
    }

    static void PressEnter(TDCHistoryEditor* field) { QTest::keyClick(field, Qt::Key_Return); }

    QStringList StoredHistory(const char* name)
    {
        return services.Settings().ReadString(TDCHistoryEditor::kKey, QString::fromLatin1(name), QString())
            .split(u'\n', Qt::SkipEmptyParts);
    }

    TSearchOptions saved;
    TDCMemo* editor = nullptr;
    TMemoSource* document = nullptr;
};

TEST_F(SearchDialogsTest, EachDialogHasItsCaptionsAndHelpOnlyWithAHelpPage)
{
    struct Row {
        TDialogKind kind;
        QString title;
        QStringList captions;
        QStringList buttons; // left to right
        QStringList pages;
    };
    const QStringList searchCaptions = {"&Text to find:", "Options",       "&Case sensitive", "&Whole words only",
                                        "Scope",          "&Global",       "&Selected text",  "Origin",
                                        "&From cursor",   "&Entire scope", "Direction",       "Forwar&d",
                                        "&Backward", "&Wrap around"};
    const QStringList filesCaptions = {"In &folder:", "File &masks:", "Include &subfolders"};
    const std::vector<Row> rows = {
        {dkFind, "Find Text", searchCaptions + filesCaptions + QStringList{"&Regular expressions"},
         {"OK", "Cancel", "Help"}, {"Find", "Find in Files"}},
        {dkReplace, "Replace Text",
         searchCaptions + filesCaptions + QStringList{"Regular e&xpressions", "&Replace with:", "&Prompt on replace"},
         {"&OK", "Replace &All", "Cancel", "&Help"}, {"Replace", "Replace in Files"}},
        {dkGotoLine, "Go to line Number", {"&Enter new line number:"}, {"Ok", "Cancel", "&Help"}, {}},
    };
    const QString helpPage = programDir.filePath(QStringLiteral("tarnel.htm"));
    for (const Row& row : rows) {
        int lastPlaceWithoutHelp = -1;
        for (bool withHelp : {false, true}) {
            SCOPED_TRACE(row.title.toStdString() + (withHelp ? " with help" : " without help"));
            QStringList captions, buttons;
            QList<int> places;
            ScriptDialog([&](QDialog& dialog) {
                EXPECT_EQ(dialog.windowTitle(), row.title);
                for (QLabel* label : dialog.findChildren<QLabel*>())
                    captions << label->text();
                for (QGroupBox* group : dialog.findChildren<QGroupBox*>())
                    captions << group->title();
                for (QAbstractButton* box : dialog.findChildren<QAbstractButton*>()) {
                    if (!qobject_cast<QPushButton*>(box))
                        captions << box->text();
                }
                QList<QPushButton*> shown;
                for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
                    if (button->isVisible())
                        shown << button;
                }
                std::sort(shown.begin(), shown.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
                for (QPushButton* button : shown) {
                    buttons << button->text();
                    places << button->mapTo(&dialog, QPoint()).x();
                }
                QStringList pages;
                if (auto* tabs = dialog.findChild<QTabWidget*>()) {
                    for (int i = 0; i < tabs->count(); ++i) {
                        EXPECT_TRUE(tabs->isTabVisible(i));
                        pages << tabs->tabText(i);
                    }
                }
                EXPECT_EQ(pages, row.pages);
                if (withHelp)
                    Click(dialog, "Help");
            });
            TSearchOptions options;
            int line = 1;
            SearchDialogHook(form.get(), withHelp ? helpPage : QString())(*document, row.kind, options, line);
            for (const QString& caption : row.captions)
                EXPECT_TRUE(captions.contains(caption)) << caption.toStdString();
            QStringList expected = row.buttons;
            if (!withHelp)
                expected.removeLast();
            EXPECT_EQ(buttons, expected);
            // The buttons stand 80 pixels apart, the last at the same place
            // either way: without Help the others moved 80 pixels right.
            for (int i = 1; i < places.size(); ++i)
                EXPECT_EQ(places[i] - places[i - 1], 80);
            ASSERT_FALSE(places.isEmpty());
            if (withHelp) {
                EXPECT_EQ(places.back(), lastPlaceWithoutHelp);
            }
            lastPlaceWithoutHelp = places.back();
        }
    }
    EXPECT_EQ(services.Opened(), QStringList(3, helpPage));
}

TEST_F(SearchDialogsTest, CtrlFSearchesWhatWasTypedAndF3FindsTheNextMatch)
{
    SetText("one two\nthree two\ntwo four", {0, 1});
    ScriptDialog([&](QDialog& dialog) {
        // The word at the caret is offered.
        TDCHistoryEditor* text = Field(dialog, "TextToFind");
        EXPECT_EQ(text->Text(), "one");
        Type(text, "TWO");
        PressEnter(text);
        EXPECT_FALSE(dialog.isVisible());
    });
    QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(dialogTitles, QStringList{"Find Text"});
    EXPECT_EQ(document->Caret(), (TTextPos{0, 7}));
    EXPECT_EQ(StoredHistory("FindDialogTextToFind"), QStringList{"TWO"});

    // F3 repeats the search without a dialog, as a key and from the menu.
    QTest::keyClick(editor, Qt::Key_F3);
    EXPECT_EQ(document->Caret(), (TTextPos{1, 9}));
    Item("SearchItemsFindAgain")->trigger();
    EXPECT_EQ(document->Caret(), (TTextPos{2, 3}));
    QTest::keyClick(editor, Qt::Key_F3);
    EXPECT_EQ(document->Caret(), (TTextPos{2, 3}));
    EXPECT_EQ(services.Messages(), QStringList{"Search string 'TWO' not found"});
    EXPECT_EQ(dialogTitles.size(), 1);
}

TEST_F(SearchDialogsTest, ReopeningFindAfterABackwardSearchShowsBackward)
{
    SetText("ab ab ab", {0, 8});
    ScriptDialog([&](QDialog& dialog) {
        Type(Field(dialog, "TextToFind"), "ab");
        Click(dialog, "DirectionBackward");
        Click(dialog, "OK");
    });
    ClickButton("cmdSearch");
    EXPECT_EQ(document->Caret(), (TTextPos{0, 6}));
    EXPECT_EQ(TSearchOptions::Global().direction, sdBackward);

    bool backward = false;
    ScriptDialog([&](QDialog& dialog) {
        backward = Child<QRadioButton>(dialog, "DirectionBackward")->isChecked();
        Click(dialog, "Cancel");
    });
    Item("SearchItemsFind")->trigger();
    EXPECT_TRUE(backward);
    EXPECT_EQ(document->Caret(), (TTextPos{0, 6}));
}

TEST_F(SearchDialogsTest, FindAtCursorOffersTheWordTheCaretIsIn)
{
    SetText("alpha beta.gamma", {0, 8});
    QString offered;
    ScriptDialog([&](QDialog& dialog) { offered = Field(dialog, "TextToFind")->Text(); });
    QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(offered, "beta");
    // Cancelled: the record keeps the word (it was offered), nothing moved.
    EXPECT_EQ(document->Caret(), (TTextPos{0, 8}));
}

TEST_F(SearchDialogsTest, ReplaceAllKeepsTheTextsForTheDialogButNotInTheHistories)
{
    SetText("cat  dog cat\ncat", {0, 0});
    ScriptDialog([&](QDialog& dialog) {
        Type(Field(dialog, "TextToFind"), "cat");
        QTest::mouseClick(Field(dialog, "ReplaceWith")->lineEdit(), Qt::LeftButton);
        Type(Field(dialog, "ReplaceWith"), "cow");
        Click(dialog, "ReplaceAll");
    });
    // Prompt on replace is on: the first answer, All, takes every one.
    services.AnswerNext(TServices::anAll);
    QTest::keyClick(editor, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(document->Lines().Text(), "cow  dog cow\r\ncow");
    EXPECT_EQ(services.Questions(), QStringList{"Replace this occurence of 'cat'?"});
    // Replace ran the enabling rule: the replacement can be undone.
    EXPECT_TRUE(Item("EditItemsUndo")->isEnabled());
    EXPECT_TRUE(StoredHistory("ReplaceDialogTextToFind").isEmpty());
    EXPECT_TRUE(StoredHistory("ReplaceDialogReplaceWith").isEmpty());

    // Reopened (through the editor's own sequence Ctrl+Q Ctrl+A, with the
    // caret between words), the dialog shows what was typed; the lists
    // lack it.
    QStringList shown, listed;
    ScriptDialog([&](QDialog& dialog) {
        shown << Field(dialog, "TextToFind")->Text() << Field(dialog, "ReplaceWith")->Text();
        listed << Field(dialog, "TextToFind")->History() << Field(dialog, "ReplaceWith")->History();
        Type(Field(dialog, "TextToFind"), "cow");
        Type(Field(dialog, "ReplaceWith"), "bee");
        Click(dialog, "OK");
    });
    document->MoveCaretTo({0, 4});
    services.AnswerNext(TServices::anYes);
    QTest::keyClick(editor, Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(shown, (QStringList{"cat", "cow"}));
    EXPECT_TRUE(listed.isEmpty());
    // "OK" replaces the next occurrence only, and both texts go into their
    // histories.
    EXPECT_EQ(services.Questions().size(), 2);
    EXPECT_EQ(services.Questions().back(), "Replace this occurence of 'cow'?");
    EXPECT_EQ(document->LineText(0), "cow  dog bee");
    EXPECT_EQ(StoredHistory("ReplaceDialogTextToFind"), QStringList{"cow"});
    EXPECT_EQ(StoredHistory("ReplaceDialogReplaceWith"), QStringList{"bee"});
}

TEST_F(SearchDialogsTest, EscapeInAHistoryFieldCancelsTheDialog)
{
    SetText("cat cat", {0, 0});
    const struct {
        int key;
        const char* field;
    } rows[] = {{Qt::Key_F, "TextToFind"}, {Qt::Key_R, "TextToFind"}, {Qt::Key_R, "ReplaceWith"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.field);
        bool closed = false;
        int result = -1;
        ScriptDialog([&](QDialog& dialog) {
            TDCHistoryEditor* field = Field(dialog, row.field);
            Type(field, QStringLiteral("cat"));
            QTest::keyClick(field, Qt::Key_Escape);
            closed = !dialog.isVisible();
            result = dialog.result();
        });
        QTest::keyClick(editor, row.key, Qt::ControlModifier);
        EXPECT_TRUE(closed);
        EXPECT_EQ(result, QDialog::Rejected);
        // Cancel searched and replaced nothing.
        EXPECT_EQ(document->LineText(0), "cat cat");
        EXPECT_FALSE(document->HasSelection());
        EXPECT_TRUE(services.Questions().isEmpty());
    }
}

TEST_F(SearchDialogsTest, TheHistoryFieldKeepsItsEntriesInTheSettingsFileAcrossARestart)
{
    const QString ini = files.filePath(QStringLiteral("settings.ini"));
    auto store = std::make_unique<TQtSettingsStore>(ini);
    services.UseSettings(store.get());
    SetText("text", {0, 0});
    auto find = [&](std::function<void(QDialog&)> script) {
        ScriptDialog(std::move(script));
        QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
    };
    // Enter with the list closed adds the text on top; an entry equal
    // without regard to case goes; an empty text is not added.
    for (const char* typed : {"alpha", "Beta", "ALPHA", ""}) {
        find([&](QDialog& dialog) {
            Type(Field(dialog, "TextToFind"), QString::fromLatin1(typed));
            PressEnter(Field(dialog, "TextToFind"));
        });
    }
    find([&](QDialog& dialog) {
        TDCHistoryEditor* field = Field(dialog, "TextToFind");
        EXPECT_EQ(field->History(), (QStringList{"ALPHA", "Beta"}));
        // Leaving the field for another one adds its text: 26 entries
        // leave the 25 newest.
        for (int i = 1; i <= 26; ++i) {
            QTest::mouseClick(field->lineEdit(), Qt::LeftButton);
            Type(field, QStringLiteral("entry %1").arg(i));
            QTest::mouseClick(Child<QCheckBox>(dialog, "CaseSensitive"), Qt::LeftButton);
        }
        EXPECT_EQ(field->History().size(), TDCHistoryEditor::kMaxEntries);
        EXPECT_EQ(field->History().front(), "entry 26");
        // Enter with the list open only closes it, taking the entry it
        // points at.
        const QStringList before = field->History();
        field->showPopup();
        ASSERT_TRUE(field->PopupVisible());
        field->view()->setCurrentIndex(field->model()->index(1, 0));
        QTest::keyClick(field->view(), Qt::Key_Return);
        EXPECT_FALSE(field->PopupVisible());
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(field->Text(), "entry 25");
        EXPECT_EQ(field->History(), before);
        Click(dialog, "Cancel");
    });
    // The field saved its list when it went; the program ends.
    services.UseSettings(nullptr);
    store.reset();

    store = std::make_unique<TQtSettingsStore>(ini);
    services.UseSettings(store.get());
    QStringList restored;
    find([&](QDialog& dialog) { restored = Field(dialog, "TextToFind")->History(); });
    ASSERT_EQ(restored.size(), TDCHistoryEditor::kMaxEntries);
    EXPECT_EQ(restored.front(), "entry 26");
    EXPECT_EQ(restored.back(), "entry 2");
    EXPECT_EQ(store->ReadString(QStringLiteral("editHISTORY"), QStringLiteral("FindDialogTextToFind"), QString())
                  .count(u'\n'),
              24);
    // The window saves its own settings when it goes; not into this store.
    services.UseSettings(nullptr);
}

TEST_F(SearchDialogsTest, BadInputGetsTheStoresMessageAndChangesNothing)
{
    SetText("a(b\nx\ny", {1, 1});
    // An invalid expression: its problem and place are named, nothing is
    // searched, and the text stays in the history.
    ScriptDialog([&](QDialog& dialog) {
        Type(Field(dialog, "TextToFind"), "a(b");
        Click(dialog, "RegularExpressions");
        Click(dialog, "OK");
    });
    QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(services.Messages(), QStringList{"a(b is invalid mask at (4): missing closing parenthesis"});
    EXPECT_EQ(document->Caret(), (TTextPos{1, 1}));
    EXPECT_EQ(StoredHistory("FindDialogTextToFind"), QStringList{"a(b"});

    // Go to line: the caret's line is shown; what is no number or lies
    // outside the text moves nothing.
    QStringList shown;
    for (const char* typed : {"two", "7", "3"}) {
        ScriptDialog([&](QDialog& dialog) {
            auto* number = Child<QLineEdit>(dialog, "LineNumber");
            shown << number->text();
            Type(number, QString::fromLatin1(typed));
            QTest::keyClick(number, Qt::Key_Return);
        });
        Item("SearchItemsLine")->trigger();
    }
    EXPECT_EQ(shown, (QStringList{"2", "2", "2"}));
    EXPECT_EQ(services.Messages().mid(1), (QStringList{"The line number must be a whole number from 1 to 3",
                                                       "Line number 7 is out of range (1 to 3)"}));
    EXPECT_EQ(document->Caret(), (TTextPos{2, 0}));
}

} // namespace
