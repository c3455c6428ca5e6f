// UTF-8 documents as the user meets them in the main window: files edited
// and saved through real key presses, the encoding commands of the File
// menu with their messages, the status bar's encoding panel and the
// preference for new documents.

#include "shellfixture.h"

#include "formstorage.h"
#include "preferenceform.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace {

class EncodingShellTest : public ShellTest {
protected:
    void TearDown() override
    {
        TPreferenceForm::ExecHook = nullptr;
        ShellTest::TearDown();
    }

    // Types one character with a real key event carrying its text.
    void TypeCharacter(const QString& character, Qt::Key key = Qt::Key_unknown)
    {
        QTest::sendKeyEvent(QTest::Click, form->TarnelEditor(), key, character, Qt::NoModifier);
    }

    // The caret to the start of a line, by keys.
    void CaretToLine(int line)
    {
        QTest::keyClick(form->TarnelEditor(), Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < line; ++i)
            QTest::keyClick(form->TarnelEditor(), Qt::Key_Down);
        QTest::keyClick(form->TarnelEditor(), Qt::Key_Home);
    }

    QString Panel() const { return form->EncodingPanel()->text(); }
};

TEST_F(EncodingShellTest, FilesEditedOnOneLineComeBackByteForByte)
{
    struct Row {
        const char* name;
        const char* file;
        QByteArray bytes;
        int line;
        const char* typed; // UTF-8
        QByteArray saved;
    };
    const Row rows[] = {
        {"byte order mark and CR LF", "bom.txt", "\xEF\xBB\xBF" "first\r\nsecond\r\n", 1, "\xC3\xA9",
         "\xEF\xBB\xBF" "first\r\n\xC3\xA9second\r\n"},
        {"CJK", "cjk.java", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\n\xE4\xB8\xAD\xE6\x96\x87\n", 1, "\xE6\x97\xA5",
         "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\n\xE6\x97\xA5\xE4\xB8\xAD\xE6\x96\x87\n"},
        {"emoji", "emoji.txt", "\xF0\x9F\x98\x80 a\nb\n", 0, "x", "x\xF0\x9F\x98\x80 a\nb\n"},
        {"combining marks", "marks.txt", "e\xCC\x81t\xC3\xA9\nn\xCC\x83\n", 1, "\xC3\xA9",
         "e\xCC\x81t\xC3\xA9\n\xC3\xA9n\xCC\x83\n"},
        {"invalid sequences on other lines", "bad.html", "<meta charset=utf-8>\n\xFF\xC3 bad \xE6\x97\nok\n", 2,
         "\xC3\xA9", "<meta charset=utf-8>\n\xFF\xC3 bad \xE6\x97\n\xC3\xA9ok\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = MakeFile(QString::fromLatin1(row.file), row.bytes);
        Open(path);
        ASSERT_EQ(form->ActiveDocument()->FileName(), path);
        EXPECT_EQ(Panel(), QStringLiteral("UTF-8"));
        CaretToLine(row.line);
        const QString typed = QString::fromUtf8(row.typed);
        TypeCharacter(typed, typed == QStringLiteral("\u00e9") ? Qt::Key_Eacute : Qt::Key_unknown);
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        EXPECT_FALSE(form->ActiveDocument()->Modified());
        EXPECT_EQ(ReadFile(path), row.saved);
        form->FileItemsCloseClick();
    }
    EXPECT_TRUE(services.Messages().isEmpty()) << services.Messages().join('\n').toStdString();
}

TEST_F(EncodingShellTest, EncodingCommandsTranscodeOrRefuseWithAMessage)
{
    struct Row {
        const char* name;
        const char* file;
        QByteArray bytes;
        const char* item;
        const char* message; // part of the one message shown; empty: none
        QByteArray onDisk;
        const char* panel;
    };
    const Row rows[] = {
        {"UTF-8 saved as Windows-1252", "a.txt", "caf\xC3\xA9\r\n", "FileItemsSaveWindows1252", "", "caf\xE9\r\n",
         "Windows-1252"},
        {"Windows-1252 saved as UTF-8 with BOM", "b.txt", "caf\xE9\n\x80\n", "FileItemsSaveUtf8Bom", "",
         "\xEF\xBB\xBF" "caf\xC3\xA9\n\xE2\x82\xAC\n", "UTF-8"},
        {"UTF-8 with BOM saved without it", "c.txt", "\xEF\xBB\xBFx\n", "FileItemsSaveUtf8", "", "x\n", "UTF-8"},
        {"UTF-8 saved as OEM 437", "d.txt", "caf\xC3\xA9 \xE2\x94\x80\n", "FileItemsSaveOem437", "", "caf\x82 \xC4\n",
         "OEM 437"},
        {"CJK refused by Windows-1252", "e.txt", "ok\nx \xE6\x97\xA5\n", "FileItemsSaveWindows1252",
         "the character \"\xE6\x97\xA5\" (U+65E5) on line 2", "ok\nx \xE6\x97\xA5\n", "UTF-8"},
        {"emoji refused by OEM 437", "f.txt", "\xF0\x9F\x98\x80\n", "FileItemsSaveOem437",
         "the character \"\xF0\x9F\x98\x80\" (U+1F600) on line 1", "\xF0\x9F\x98\x80\n", "UTF-8"},
        {"invalid bytes refused", "g.html", "<meta charset=utf-8>\n\xFF\n", "FileItemsSaveWindows1252",
         "line 2 holds bytes that are not valid UTF-8", "<meta charset=utf-8>\n\xFF\n", "UTF-8"},
        {"UTF-8 reopened as Windows-1252", "h.txt", "caf\xC3\xA9\n", "FileItemsReopenWindows1252", "",
         "caf\xC3\xA9\n", "Windows-1252"},
        {"Windows-1252 reopened as OEM 437", "i.txt", "\x82\n", "FileItemsReopenOem437", "", "\x82\n", "OEM 437"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        services.ClearCalls();
        const QString path = MakeFile(QString::fromLatin1(row.file), row.bytes);
        Open(path);
        const TMemoSource* document = form->ActiveDocument();
        const TTextEncoding before = document->Encoding();
        const QByteArray text = document->SavedBytes();
        Item(row.item)->trigger();
        const QStringList messages = services.Messages();
        if (*row.message) {
            ASSERT_EQ(messages.size(), 1);
            EXPECT_TRUE(messages[0].contains(QString::fromUtf8(row.message))) << messages[0].toStdString();
            EXPECT_TRUE(messages[0].contains(QStringLiteral("Nothing was saved")));
            // Nothing changed: not the file, not the document.
            EXPECT_EQ(document->Encoding(), before);
            EXPECT_EQ(document->SavedBytes(), text);
        } else {
            EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
        }
        EXPECT_FALSE(document->Modified());
        EXPECT_EQ(ReadFile(path), row.onDisk);
        EXPECT_EQ(Panel(), QString::fromLatin1(row.panel));
        form->FileItemsCloseClick();
    }
}

TEST_F(EncodingShellTest, ReopenAsksBeforeUnsavedChangesAreLost)
{
    const QString path = MakeFile(QStringLiteral("page.txt"), "caf\xC3\xA9\n");
    Open(path);
    TypeCharacter(QStringLiteral("x"), Qt::Key_X);
    services.AnswerNext(TServices::anNo);
    Item("FileItemsReopenWindows1252")->trigger();
    EXPECT_EQ(form->ActiveDocument()->SavedBytes(), "xcaf\xC3\xA9\n");
    EXPECT_EQ(Panel(), QStringLiteral("UTF-8"));
    services.AnswerNext(TServices::anYes);
    Item("FileItemsReopenWindows1252")->trigger();
    EXPECT_EQ(form->ActiveDocument()->SavedBytes(), "caf\xC3\xA9\n");
    EXPECT_FALSE(form->ActiveDocument()->Modified());
    EXPECT_EQ(Panel(), QStringLiteral("Windows-1252"));
    const QStringList asked = services.Calls().filter(QStringLiteral("page.txt has unsaved changes"));
    EXPECT_EQ(asked.size(), 2);

    // A file that became binary data is not read in: the text stays.
    WriteFile(path, QByteArray("bin\0ary\n", 8));
    services.ClearCalls();
    Item("FileItemsReopenUtf8")->trigger();
    ASSERT_EQ(services.Messages().size(), 1);
    EXPECT_TRUE(services.Messages()[0].contains(QStringLiteral("binary data"))) << services.Messages()[0].toStdString();
    EXPECT_EQ(form->ActiveDocument()->SavedBytes(), "caf\xC3\xA9\n");
}

TEST_F(EncodingShellTest, AFileOfPlainAsciiTakesTheEncodingOfNewDocumentsUnlessItDeclaresOne)
{
    struct Row {
        const char* name;
        const char* file;
        QByteArray bytes;
        bool newUtf8;
        const char* panel;
        QByteArray typed; // "é€" as saved in front of the first line
    };
    const Row rows[] = {
        {"Java", "Hello.java", "class Hello {}\n", true, "UTF-8", "\xC3\xA9\xE2\x82\xAC"},
        {"Java, new documents in Windows-1252", "Old.java", "class Old {}\n", false, "Windows-1252", "\xE9\x80"},
        {"an empty file", "empty.txt", "", true, "UTF-8", "\xC3\xA9\xE2\x82\xAC"},
        {"a page declaring Windows-1252", "old.html", "<meta charset=\"windows-1252\">\n", true, "Windows-1252",
         "\xE9\x80"},
        {"a JSP page declaring UTF-8", "new.jsp", "<%@ page pageEncoding=\"UTF-8\" %>\n", false, "UTF-8",
         "\xC3\xA9\xE2\x82\xAC"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        services.Settings().WriteString(TFormStorage::Key(TPreferenceForm::kSection), "Utf8Check_Checked",
                                        row.newUtf8 ? "True" : "False");
        const QString path = MakeFile(QString::fromLatin1(row.file), row.bytes);
        Open(path);
        ASSERT_EQ(form->ActiveDocument()->FileName(), path);
        EXPECT_EQ(Panel(), QString::fromLatin1(row.panel));
        CaretToLine(0);
        TypeCharacter(QStringLiteral("\u00e9"), Qt::Key_Eacute);
        TypeCharacter(QStringLiteral("\u20ac"));
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(ReadFile(path), row.typed + row.bytes);
        form->FileItemsCloseClick();
    }
    EXPECT_TRUE(services.Messages().isEmpty()) << services.Messages().join('\n').toStdString();
}

TEST_F(EncodingShellTest, NewDocumentsFollowThePreferenceAndOemCommandsTheEncoding)
{
    // A new document, "é" typed into it and selected.
    auto newTypedAndSelected = [this] {
        QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
        TypeCharacter(QStringLiteral("\u00e9"), Qt::Key_Eacute);
        QTest::keyClick(form->TarnelEditor(), Qt::Key_Home, Qt::ShiftModifier);
        return form->ActiveDocument()->SavedBytes();
    };
    EXPECT_EQ(newTypedAndSelected(), "\xC3\xA9\n");
    EXPECT_EQ(form->ActiveDocument()->Encoding(), teUtf8);
    EXPECT_EQ(Panel(), QStringLiteral("UTF-8"));
    EXPECT_FALSE(Item("EditItemsAtoO")->isEnabled());
    EXPECT_FALSE(Item("EditItemsOtoA")->isEnabled());
    EXPECT_FALSE(Item("FileItemsReopenEncoding")->isEnabled()); // no file to read again

    TPreferenceForm::ExecHook = [](TPreferenceForm& dialog) {
        EXPECT_TRUE(dialog.Utf8Check()->isChecked());
        QTest::mouseClick(dialog.Utf8Check(), Qt::LeftButton);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    };
    Item("OptionItemsPreferens")->trigger();
    EXPECT_FALSE(TPreferenceForm::StoredNewUtf8());
    EXPECT_EQ(newTypedAndSelected(), "\xE9\n");
    EXPECT_EQ(form->ActiveDocument()->Encoding(), teWindows1252);
    EXPECT_EQ(Panel(), QStringLiteral("Windows-1252"));
    EXPECT_TRUE(Item("EditItemsAtoO")->isEnabled());

    // The panel follows the tab shown.
    ClickTab(form->DocumentCount() - 2);
    EXPECT_EQ(Panel(), QStringLiteral("UTF-8"));
}

} // namespace
