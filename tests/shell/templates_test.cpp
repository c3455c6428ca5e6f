// Templates and bookmarks as the user meets them: the "Load Template..." and
// "Go to Book Mark..." dialogs worked through their real widgets (a hook
// stands in for the modal loop), Save As Template through the scripted save
// dialog, and the "Bookmark" tool bar's two menus.

#include "shellfixture.h"

#include "booksform.h"
#include "templateform.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include <functional>

namespace {

class TemplateTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        currentFolder = QDir::currentPath();
    }

    void TearDown() override
    {
        // No command may move the process's current folder.
        EXPECT_EQ(QDir::currentPath(), currentFolder);
        ShellTest::TearDown();
    }

    QString TemplatePath(const QString& name) const
    {
        return programDir.filePath(QStringLiteral("Templates/") + name);
    }

    // A double click as the system delivers it: a click, then the second
    // press as a double click.
    static void DoubleClick(QListWidget* list, QPoint at)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    }

    // Works the template dialog: picks the entry of that name with the given
    // gesture ("click" then OK, "double", "enter") or cancels ("cancel").
    void PickTemplate(const QString& name, const QString& how)
    {
        ScriptDialog([this, name, how](QDialog& dialog) {
            auto* templates = qobject_cast<TTemplateForm*>(&dialog);
            ASSERT_NE(templates, nullptr);
            QListWidget* list = templates->List();
            EXPECT_TRUE(templates->SelectedField()->text().isEmpty());
            EXPECT_FALSE(templates->OkButton()->isEnabled());
            listed.clear();
            for (int i = 0; i < list->count(); ++i)
                listed.append(list->item(i)->text() + (list->item(i)->icon().isNull() ? "/" : ""));
            if (how == u"cancel") {
                QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("CancelButton")), Qt::LeftButton);
                return;
            }
            const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << name.toStdString();
            const QPoint at = list->visualItemRect(found[0]).center();
            if (how == u"click") {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                EXPECT_EQ(templates->SelectedField()->text(), name);
                EXPECT_TRUE(templates->OkButton()->isEnabled());
                QTest::mouseClick(templates->OkButton(), Qt::LeftButton);
            } else if (how == u"double") {
                DoubleClick(list, at);
            } else {
                list->setCurrentItem(found[0]);
                QTest::keyClick(list, Qt::Key_Return);
            }
        });
        Item("FileItemsOpenTemplate")->trigger();
    }

    // Works the go-to dialog: types the number and confirms, or cancels.
    void GoToBookmark(const char* number, bool confirm = true)
    {
        ScriptDialog([number, confirm](QDialog& dialog) {
            auto* books = qobject_cast<TBooksForm*>(&dialog);
            ASSERT_NE(books, nullptr);
            EXPECT_EQ(books->windowTitle(), QStringLiteral("Go to Book Mark..."));
            QSpinBox* field = books->NumberField();
            EXPECT_EQ(field->minimum(), 0);
            EXPECT_EQ(field->maximum(), 9);
            EXPECT_EQ(field->value(), 0);
            field->selectAll();
            QTest::keyClicks(field, QString::fromLatin1(number));
            if (confirm)
                QTest::mouseClick(books->OkButton(), Qt::LeftButton);
            else
                QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("CancelButton")), Qt::LeftButton);
        });
        Item("SearchItemsBook")->trigger();
    }

    QByteArray Text(const TMemoSource* document) const
    {
        QByteArray text;
        for (int line = 0; line < document->LineCount(); ++line)
            text += document->LineText(line) + "\n";
        return text;
    }

    void CaretTo(int line)
    {
        TDCMemo* editor = form->TarnelEditor();
        QTest::keyClick(editor, Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < line; ++i)
            QTest::keyClick(editor, Qt::Key_Down);
    }

    QStringList listed;
    QString currentFolder;
};

TEST_F(TemplateTest, TheTemplateDialogListsTheFolderAndOpensThePickedTemplateAsANewDocument)
{
    WriteFile(TemplatePath("b.tpl"), "second\n");
    WriteFile(TemplatePath("A.tpl"), "first line\r\nsecond line");
    WriteFile(TemplatePath("notes.txt"), "not a template");
    ASSERT_TRUE(QDir(programDir.path()).mkpath("Templates/dir.tpl"));
    ASSERT_TRUE(QDir(programDir.path()).mkpath("Templates/.hidden.tpl"));

    PickTemplate("A.tpl", "click");
    // Sorted by name; the folder has no icon, the dot folder is left out.
    EXPECT_EQ(listed, QStringList({"A.tpl", "b.tpl", "dir.tpl/"}));
    ASSERT_EQ(form->DocumentCount(), 2);
    EXPECT_EQ(form->ActiveDocument()->FileName(), "Untitled2");
    // The last line gets a line end, so the caret is on a line of its own.
    EXPECT_EQ(Text(form->ActiveDocument()), "first line\nsecond line\n\n");
    EXPECT_EQ(form->ActiveDocument()->Caret(), (TTextPos{2, 0}));
    EXPECT_EQ(QApplication::focusWidget(), form->TarnelEditor());

    PickTemplate("b.tpl", "double");
    ASSERT_EQ(form->DocumentCount(), 3);
    EXPECT_EQ(Text(form->ActiveDocument()), "second\n\n");

    PickTemplate("b.tpl", "enter");
    EXPECT_EQ(form->DocumentCount(), 4);

    // A folder is no template: the file error, and no document.
    services.ClearCalls();
    PickTemplate("dir.tpl", "enter");
    EXPECT_EQ(form->DocumentCount(), 4);
    ASSERT_EQ(services.Messages().size(), 1);
    EXPECT_TRUE(services.Messages()[0].contains("dir.tpl")) << services.Messages()[0].toStdString();

    // Nor is a template that vanished after it was listed.
    ScriptDialog([this](QDialog& dialog) {
        auto* templates = qobject_cast<TTemplateForm*>(&dialog);
        ASSERT_TRUE(QFile::remove(TemplatePath("b.tpl")));
        DoubleClick(templates->List(), templates->List()->visualItemRect(templates->List()->item(1)).center());
    });
    Item("FileItemsOpenTemplate")->trigger();
    EXPECT_EQ(form->DocumentCount(), 4);
    EXPECT_EQ(services.Messages().size(), 2);

    PickTemplate("A.tpl", "cancel");
    EXPECT_EQ(form->DocumentCount(), 4);
    EXPECT_EQ(dialogTitles.size(), 6);
}

TEST_F(TemplateTest, TheShippedTemplatesAreListedAndHtmlTemplateOpensTheHtml5Page)
{
    // Without html.tpl: the file error, and no document.
    Item("ToolItemsHTMLTagsTemplate")->trigger();
    EXPECT_EQ(form->DocumentCount(), 1);
    ASSERT_EQ(services.Messages().size(), 1);
    EXPECT_TRUE(services.Messages()[0].contains("html.tpl"));

    const QDir shipped(QStringLiteral(TARNEL_SOURCE_DIR "/data/Templates"));
    for (const QString& name : shipped.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(shipped.filePath(name), TemplatePath(name)));
    PickTemplate("servlet.tpl", "click");
    EXPECT_EQ(listed, QStringList({"applet.tpl", "class.tpl", "html.tpl", "jsp.tpl", "servlet.tpl"}));
    EXPECT_TRUE(Text(form->ActiveDocument()).contains("extends HttpServlet"));

    Item("ToolItemsHTMLTagsTemplate")->trigger();
    ASSERT_EQ(form->DocumentCount(), 3);
    const QByteArray page = Text(form->ActiveDocument());
    EXPECT_TRUE(page.startsWith("<!DOCTYPE html>\n<html")) << page.toStdString();
    EXPECT_TRUE(page.contains("</html>\n"));
    // Closing it asks before the page is lost.
    EXPECT_TRUE(form->ActiveDocument()->Modified());
}

TEST_F(TemplateTest, SaveAsTemplateWritesTheTemplateAndOnlyThenTheDocumentBecomesIt)
{
    QTest::keyClicks(form->TarnelEditor(), "hello");
    // A write that fails leaves the document as it was.
    services.ChooseFile(TemplatePath("no such folder/mine.tpl"));
    Item("FileItemsSaveTemplate")->trigger();
    ASSERT_EQ(services.Messages().size(), 1);
    EXPECT_EQ(form->ActiveDocument()->FileName(), "Untitled1");
    EXPECT_EQ(Captions(), QStringList({"Untitled1"}));
    EXPECT_TRUE(form->ActiveDocument()->Modified());
    EXPECT_TRUE(form->ActiveDocument()->CanUndo());

    const QString path = TemplatePath("mine.tpl");
    services.ChooseFile(path);
    Item("FileItemsSaveTemplate")->trigger();

    const TServices::TFileDialog dialog = services.FileDialogs().last();
    EXPECT_EQ(QDir(dialog.initialDir), QDir(programDir.filePath("Templates")));
    EXPECT_EQ(dialog.filter, "Template Files (*.tpl)|*.tpl");
    EXPECT_EQ(dialog.defaultExt, "tpl");
    EXPECT_EQ(ReadFile(path), "hello\n");
    EXPECT_EQ(form->ActiveDocument()->FileName(), path);
    EXPECT_EQ(Captions(), QStringList({"mine.tpl"}));
    EXPECT_FALSE(form->ActiveDocument()->Modified());
    EXPECT_FALSE(form->ActiveDocument()->CanUndo());

    // From now on Save writes the template.
    QTest::keyClicks(form->TarnelEditor(), "!");
    QTest::keyClick(form->TarnelEditor(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadFile(path), "hello!\n");

    // Save As opens where it did before, not in the templates folder.
    services.ChooseFile(QString());
    Item("FileItemsSaveAs")->trigger();
    EXPECT_TRUE(services.FileDialogs().last().initialDir.isEmpty());

    // Over an existing template the user is asked; No writes nothing.
    form->NewDocument();
    QTest::keyClicks(form->TarnelEditor(), "other");
    services.ChooseFile(path);
    services.AnswerNext(TServices::anNo);
    Item("FileItemsSaveTemplate")->trigger();
    EXPECT_EQ(services.Questions().last(), QStringLiteral("File %1 already exists. Would you like to overwrite?").arg(path));
    EXPECT_EQ(ReadFile(path), "hello!\n");
    EXPECT_EQ(form->ActiveDocument()->FileName(), "Untitled1");
}

TEST_F(TemplateTest, BookmarkMenusToggleTheirMarksAndTheGoToDialogsZeroIsBookMarkZero)
{
    for (int i = 1; i <= 12; ++i) {
        QTest::keyClicks(form->TarnelEditor(), QStringLiteral("line %1").arg(i));
        QTest::keyClick(form->TarnelEditor(), Qt::Key_Return);
    }
    TMemoSource* document = form->ActiveDocument();
    QAction* add3 = Item("PopAddBook3");
    QAction* go3 = Item("PopGoBook3");
    QMenu* goMenu = form->Menu("PopGoBook");
    auto openGoMenu = [goMenu] {
        goMenu->popup(QPoint(0, 0));
        goMenu->hide();
    };
    openGoMenu();
    EXPECT_FALSE(go3->isEnabled());

    // Twice on line 5: set, then removed, the mark on, then off.
    CaretTo(4);
    add3->trigger();
    EXPECT_TRUE(document->IsBookmarkSet(3));
    EXPECT_TRUE(add3->isChecked());
    openGoMenu();
    EXPECT_TRUE(go3->isEnabled());
    add3->trigger();
    EXPECT_FALSE(document->IsBookmarkSet(3));
    EXPECT_FALSE(add3->isChecked());

    // On line 5, then on line 9: the bookmark moves, the mark goes off.
    add3->trigger();
    CaretTo(8);
    add3->trigger();
    ASSERT_TRUE(document->IsBookmarkSet(3));
    EXPECT_EQ(document->BookmarkPos(3).line, 8);
    EXPECT_FALSE(add3->isChecked());
    openGoMenu();
    EXPECT_FALSE(go3->isEnabled());

    // "Book Mark 0" is the store's bookmark 10; going there moves the caret.
    CaretTo(1);
    Item("PopAddBook0")->trigger();
    EXPECT_TRUE(document->IsBookmarkSet(10));
    CaretTo(11);
    openGoMenu();
    Item("PopGoBook0")->trigger();
    EXPECT_EQ(document->CaretLine(), 1);
    EXPECT_EQ(QApplication::focusWidget(), form->TarnelEditor());

    // The go-to dialog's 0 is "Book Mark 0" too; Cancel and an unset
    // bookmark go nowhere.
    GoToBookmark("3");
    EXPECT_EQ(document->CaretLine(), 8);
    GoToBookmark("0");
    EXPECT_EQ(document->CaretLine(), 1);
    GoToBookmark("3", false);
    EXPECT_EQ(document->CaretLine(), 1);
    GoToBookmark("7");
    EXPECT_EQ(document->CaretLine(), 1);

    // The marks belong to the window, not to the document.
    form->NewDocument();
    EXPECT_TRUE(Item("PopAddBook0")->isChecked());
}

} // namespace
