// The document list: new, open, save, save as, close and the close query.

#include "shellfixture.h"

#include "builtinschemes.h"
#include "documentnames.h"
#include "filesaver.h"
#include "formstorage.h"
#include "preferenceform.h"

#include <QCloseEvent>
#include <QFileInfo>

#include <cerrno>

TEST_F(ShellTest, StartsWithUntitled1InAFocusedEditor)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Tarnel version 0.9.1 - beta"));
    ASSERT_EQ(form->DocumentCount(), 1);
    EXPECT_EQ(FileNames(), QStringList{"Untitled1"});
    EXPECT_EQ(Captions(), QStringList{"Untitled1"});
    EXPECT_TRUE(form->EditorTab()->isVisible());
    EXPECT_TRUE(form->TarnelEditor()->isEnabled());
    EXPECT_EQ(form->TarnelEditor()->MemoSource(), form->ActiveDocument());
    EXPECT_TRUE(form->TarnelEditor()->hasFocus());
    EXPECT_EQ(SchemeOf(form->ActiveDocument()), form->TarnelParser());
}

TEST_F(ShellTest, UntitledNumberFollowsTheHighestOpenNumber)
{
    QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(FileNames(), (QStringList{"Untitled1", "Untitled2"}));
    EXPECT_EQ(form->ActiveIndex(), 1);

    ClickTab(0);
    ASSERT_EQ(form->ActiveIndex(), 0);
    form->FileItemsCloseClick();
    EXPECT_EQ(FileNames(), QStringList{"Untitled2"});

    QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(FileNames(), (QStringList{"Untitled2", "Untitled3"}));

    // With nothing open the numbering starts again.
    form->FileItemsCloseAllClick();
    ClickButton("cmdNew");
    EXPECT_EQ(FileNames(), QStringList{"Untitled1"});
}

TEST_F(ShellTest, NextUntitledNumberReadsOnlyGeneratedNames)
{
    using DocumentNames::NextUntitledNumber;
    EXPECT_EQ(NextUntitledNumber({}), 1);
    EXPECT_EQ(NextUntitledNumber({"Untitled", "Untitledx", "/tmp/Untitled9"}), 1);
    EXPECT_EQ(NextUntitledNumber({"Untitled4", "Untitled12", "untitled40"}), 13);
    EXPECT_EQ(NextUntitledNumber({"Untitled99999999999999"}), 1);
    EXPECT_EQ(NextUntitledNumber({"Untitled2147483647"}), 2147483647);
    EXPECT_TRUE(DocumentNames::IsUntitled("Untitled7"));
    EXPECT_FALSE(DocumentNames::IsUntitled("untitled7"));
}

TEST_F(ShellTest, OpeningAnOpenFileOnlySelectsItAndResetsItsScheme)
{
    const QString page = MakeFile("page.jsp", "<% int i = 0; %>\n");
    const QString other = MakeFile("other.txt");
    Open(page);
    Open(other);
    ASSERT_EQ(form->DocumentCount(), 3);
    ClickTab(1);
    form->OptionItemsSyntaxNoneClick(0);
    ClickTab(2);

    Open(page);
    EXPECT_EQ(form->DocumentCount(), 3);
    EXPECT_EQ(form->ActiveIndex(), 1);
    EXPECT_EQ(form->TarnelEditor()->MemoSource(), form->Document(1));
    EXPECT_TRUE(form->TarnelEditor()->hasFocus());
    EXPECT_EQ(SchemeOf(form->ActiveDocument()), form->TarnelParser());
    EXPECT_EQ(RecentPaths(), (QStringList{page, other}));
}

TEST_F(ShellTest, PathsDifferingInCaseAreTwoDocumentsWhereTheFileSystemSaysSo)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "one file on this file system";
#else
    const QString lower = MakeFile("a.jsp", "lower\n");
    const QString upper = MakeFile("A.jsp", "upper\n");
    Open(lower);
    Open(upper);
    ASSERT_EQ(form->DocumentCount(), 3);
    EXPECT_EQ(form->Document(1)->Lines().Get(0), "lower");
    EXPECT_EQ(form->Document(2)->Lines().Get(0), "upper");

    // Saving the second writes its own file, not the first.
    form->Document(2)->InsertText("changed ");
    form->FileItemsSaveClick();
    EXPECT_EQ(ReadFile(lower), "lower\n");
    EXPECT_EQ(ReadFile(upper), "changed upper\n");
#endif
}

TEST_F(ShellTest, SchemeFollowsTheLowerCasedExtension)
{
    struct Case {
        const char* name;
        TSyntaxParser* parser;
    };
    const Case cases[] = {{"PAGE.JSP", form->TarnelParser()}, {"index.Html", form->TarnelParser()},
                          {"x.shtml", form->TarnelParser()},  {"Hello.java", form->JavaParser()},
                          {"RUN.BAT", form->BatParser()},     {"page.txt", nullptr},
                          {"noextension", nullptr},          {"archive.jsp.bak", nullptr}};
    for (const Case& c : cases) {
        Open(MakeFile(c.name));
        EXPECT_EQ(SchemeOf(form->ActiveDocument()), c.parser) << c.name;
    }
    form->FileItemsNewClick();
    EXPECT_EQ(SchemeOf(form->ActiveDocument()), form->TarnelParser());

    // The files of a web application besides pages and classes; a file
    // whose extension names no scheme by its first line.
    const struct {
        const char* name;
        const char* text;
        const char* component;
    } more[] = {{"pom.xml", "<project/>\n", "XmlParser"},
                {"site.CSS", "a {}\n", "CssParser"},
                {"row.tag", "<%@ tag %>\n", "TarnelParser"},
                {"start", "#!/bin/sh\necho hi\n", "ShellParser"},
                {"config", "<?xml version=\"1.0\"?>\n<a/>\n", "XmlParser"},
                {"notes.txt", "#!/bin/bash\n", "ShellParser"},
                {"tool", "#!/usr/bin/perl\n", ""}};
    for (const auto& c : more) {
        Open(MakeFile(c.name, c.text));
        const TSyntaxParser* parser = SchemeOf(form->ActiveDocument());
        EXPECT_EQ(parser ? parser->Name().toStdString() : std::string(), c.component) << c.name;
    }
}

TEST_F(ShellTest, AFileThatCannotBeReadAddsNothing)
{
    const QString folder = files.filePath("folder.jsp");
    ASSERT_TRUE(QDir().mkpath(folder));
    Open(folder);
    Open(files.filePath("missing.jsp"));
    EXPECT_EQ(form->DocumentCount(), 1);
    EXPECT_TRUE(RecentPaths().isEmpty());
    ASSERT_EQ(services.Calls().filter("error: ").size(), 2);
    EXPECT_TRUE(services.Messages().at(0).contains("folder.jsp"));
    EXPECT_TRUE(services.Messages().at(1).contains("missing.jsp"));
}

TEST_F(ShellTest, ACancelledOpenLeavesTheWindowAsItWas)
{
    Open(MakeFile("first.java", "class A {}\n"));
    TMemoSource* first = form->ActiveDocument();
    QTest::keyClicks(form->TarnelEditor(), "x");
    const QByteArray typed = first->SavedBytes();
    ASSERT_NE(typed, "class A {}\n");
    const QString second = MakeFile("second.java", "class B {}\n");
    const int documents = form->DocumentCount();

    services.CancelNextProgress(1);
    Open(second);
    EXPECT_EQ(form->DocumentCount(), documents);
    EXPECT_EQ(form->ActiveDocument(), first);
    EXPECT_EQ(first->SavedBytes(), typed);
    EXPECT_TRUE(first->Modified());
    EXPECT_TRUE(services.Messages().isEmpty());
    EXPECT_FALSE(RecentPaths().contains(second));
    EXPECT_EQ(services.ProgressOpen(), 0);

    // Let run, the same file opens.
    Open(second);
    EXPECT_EQ(form->DocumentCount(), documents + 1);
    EXPECT_EQ(form->ActiveDocument()->SavedBytes(), "class B {}\n");
}

TEST_F(ShellTest, ABinaryFileIsNotOpenedAndStaysAsItWas)
{
    const QByteArray bytes("GIF89a\x01\x00\x00\x00\r\n\x7f\x00 \n", 16);
    const QString path = MakeFile("picture.gif", bytes);
    Open(path);
    EXPECT_EQ(form->DocumentCount(), 1);
    ASSERT_EQ(services.Messages().size(), 1);
    EXPECT_TRUE(services.Messages().at(0).contains("binary data")) << services.Messages().at(0).toStdString();
    form->FileItemsSaveAllClick();
    EXPECT_EQ(ReadFile(path), bytes);
}

TEST_F(ShellTest, OpenDialogOffersTheDocumentFilter)
{
    Open(QString());
    ASSERT_EQ(services.FileDialogs().size(), 1);
    const TServices::TFileDialog dialog = services.FileDialogs().first();
    EXPECT_EQ(dialog.title, QStringLiteral("Open document..."));
    EXPECT_EQ(dialog.defaultExt, QStringLiteral("*.jsp"));
    EXPECT_TRUE(dialog.filter.startsWith("Supported Files (*.jsp;*.java;*.ht*;*.sht*;*.bat;*.txt)|"));
    EXPECT_TRUE(dialog.filter.endsWith("|Any Files (*.*)|*.*"));
    EXPECT_EQ(form->DocumentCount(), 1);
}

TEST_F(ShellTest, SaveOnAnUntitledDocumentRunsSaveAs)
{
    TMemoSource* document = form->ActiveDocument();
    document->InsertText("hello");
    const QString path = files.filePath("saved.jsp");
    services.ChooseFile(path);
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);

    ASSERT_EQ(services.FileDialogs().size(), 1);
    EXPECT_EQ(services.FileDialogs().first().title, QStringLiteral("Save document as..."));
    EXPECT_EQ(services.FileDialogs().first().filterIndex, 1);
    EXPECT_EQ(document->FileName(), path);
    EXPECT_EQ(Captions(), QStringList{"saved.jsp"});
    EXPECT_FALSE(document->Modified());
    EXPECT_FALSE(document->CanUndo());
    // A new document ends its lines the platform's way.
#ifdef Q_OS_WIN
    EXPECT_EQ(ReadFile(path), "hello\r\n");
#else
    EXPECT_EQ(ReadFile(path), "hello\n");
#endif
    // Saved and unchanged: nothing left to save.
    EXPECT_FALSE(Item("FileItemsSave")->isEnabled());
    // The JSP document makes ".jsp" the default of later save dialogs.
    EXPECT_EQ(form->SaveDialog().defaultExt, QStringLiteral(".jsp"));
}

TEST_F(ShellTest, SaveAsAsksBeforeReplacingAFile)
{
    const QString existing = MakeFile("keep.jsp", "old\n");
    TMemoSource* document = form->ActiveDocument();
    document->InsertText("new");

    for (TServices::TAnswer answer : {TServices::anNo, TServices::anCancel}) {
        services.ChooseFile(existing);
        services.AnswerNext(answer);
        form->FileItemsSaveAsClick();
        EXPECT_EQ(ReadFile(existing), "old\n");
        EXPECT_EQ(document->FileName(), QStringLiteral("Untitled1"));
        EXPECT_TRUE(document->Modified());
    }
    EXPECT_EQ(services.Questions().first(),
              QStringLiteral("File %1 already exists. Would you like to overwrite?").arg(existing));

    services.ChooseFile(existing);
    services.AnswerNext(TServices::anYes);
    form->FileItemsSaveAsClick();
    EXPECT_TRUE(ReadFile(existing).startsWith("new"));
    EXPECT_EQ(document->FileName(), existing);
    EXPECT_EQ(RecentPaths(), QStringList{existing});
}

TEST_F(ShellTest, AFailedSaveKeepsTheDocumentAsItWas)
{
    TMemoSource* document = form->ActiveDocument();
    document->InsertText("precious");
    services.ChooseFile(files.filePath("no/such/folder/x.jsp"));
    form->FileItemsSaveAsClick();
    EXPECT_EQ(services.Calls().filter("error: ").size(), 1);
    EXPECT_EQ(document->FileName(), QStringLiteral("Untitled1"));
    EXPECT_EQ(Captions(), QStringList{"Untitled1"});
    EXPECT_TRUE(document->Modified());
    EXPECT_TRUE(document->CanUndo());

    // A failed save answers a close question as a Cancel: the text stays.
    services.AnswerNext(TServices::anYes);
    services.ChooseFile(files.filePath("no/such/folder/x.jsp"));
    form->FileItemsCloseClick();
    EXPECT_EQ(form->DocumentCount(), 1);
}

// What the user typed is all that changes: tabs, blanks at line ends,
// control bytes and every line's own line end stay as they were, also on
// the lines the caret only passed through.
TEST_F(ShellTest, AFileEditedWithKeysChangesOnlyWhereTyped)
{
    const QString path = MakeFile("page.jsp", "<html>\t\r\n  <body>  \r\n\f\n<p>text</p>  \r\nend");
    Open(path);
    TDCMemo* editor = form->TarnelEditor();
    QTest::keyClick(editor, Qt::Key_Down);
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClicks(editor, "X");
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, "!  ");
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(editor, Qt::Key_Down);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(editor, Qt::Key_Up);
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadFile(path), "<html>\t\r\nX  <body>  !\r\n\f\n<p>text</p>  \r\nend");
    EXPECT_FALSE(form->ActiveDocument()->Modified());
}

TEST_F(ShellTest, ASaveOntoAFullDiskSaysSoAndKeepsTheFile)
{
    const QString path = MakeFile("full.txt", "old text\n");
    Open(path);
    TMemoSource* document = form->ActiveDocument();
    document->InsertText("new ");
    FileSaverFaults::FailWriteAfter(3, ENOSPC);
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    FileSaverFaults::Reset();
    ASSERT_EQ(services.Messages().size(), 1);
    EXPECT_EQ(services.Messages().first(), "Cannot write file \"" + path + "\". No space left on device");
    EXPECT_EQ(ReadFile(path), "old text\n");
    EXPECT_TRUE(document->Modified());
    EXPECT_TRUE(document->CanUndo());
}

TEST_F(ShellTest, SaveAllWritesEveryDocumentAndStopsAtACancelledSaveAs)
{
    const QString first = MakeFile("first.txt", "one\n");
    Open(first);
    form->ActiveDocument()->InsertText("1");
    const QString second = MakeFile("second.txt", "two\n");
    Open(second);
    form->ActiveDocument()->InsertText("2");
    // Untitled1 comes first: its Save As is cancelled and nothing after it
    // is written.
    form->FileItemsSaveAllClick();
    EXPECT_EQ(ReadFile(first), "one\n");
    EXPECT_EQ(ReadFile(second), "two\n");

    ClickTab(0);
    form->FileItemsCloseClick();
    form->FileItemsSaveAllClick();
    EXPECT_EQ(ReadFile(first), "1one\n");
    EXPECT_EQ(ReadFile(second), "2two\n");
}

TEST_F(ShellTest, CloseAllAsksFromTheLastTabAndStopsAtCancel)
{
    form->ActiveDocument()->InsertText("a");
    form->FileItemsNewClick();
    form->ActiveDocument()->InsertText("b");
    form->FileItemsNewClick();
    form->ActiveDocument()->InsertText("c");

    services.AnswerNext(TServices::anNo);
    services.AnswerNext(TServices::anCancel);
    form->FileItemsCloseAllClick();
    const QString question = QStringLiteral("File %1 is modified. Would you like to save it?");
    EXPECT_EQ(services.Questions(), (QStringList{question.arg("Untitled3"), question.arg("Untitled2")}));
    EXPECT_EQ(FileNames(), (QStringList{"Untitled1", "Untitled2"}));
    EXPECT_EQ(form->TarnelEditor()->MemoSource(), form->ActiveDocument());
}

TEST_F(ShellTest, ClosingTheLastTabHidesTheTabsAndDisablesTheEditor)
{
    ClickButton("cmdClose");
    EXPECT_EQ(form->DocumentCount(), 0);
    EXPECT_FALSE(form->EditorTab()->isVisible());
    EXPECT_FALSE(form->TarnelEditor()->isEnabled());
    EXPECT_EQ(form->TarnelEditor()->MemoSource(), form->TarnelEditor()->InternalSource());

    form->FileItemsCloseClick();
    EXPECT_EQ(form->DocumentCount(), 0);

    QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(form->EditorTab()->isVisible());
    EXPECT_TRUE(form->TarnelEditor()->isEnabled());
    EXPECT_TRUE(form->TarnelEditor()->hasFocus());
}

TEST_F(ShellTest, ClosingATabSelectsTheOneThatTakesItsPlace)
{
    for (const char* name : {"one.txt", "two.txt", "three.txt"})
        Open(MakeFile(name));
    ClickTab(2);
    form->FileItemsCloseClick();
    EXPECT_EQ(Captions(), (QStringList{"Untitled1", "one.txt", "three.txt"}));
    EXPECT_EQ(form->ActiveIndex(), 2);
    EXPECT_EQ(form->TarnelEditor()->MemoSource(), form->Document(2));

    form->FileItemsCloseClick();
    EXPECT_EQ(form->ActiveIndex(), 1);
    EXPECT_EQ(form->TarnelEditor()->MemoSource(), form->Document(1));
}

TEST_F(ShellTest, ClickingATabShowsItsDocument)
{
    Open(MakeFile("first.txt", "first\n"));
    Open(MakeFile("second.txt", "second\n"));
    ClickTab(1);
    EXPECT_EQ(form->TarnelEditor()->MemoSource(), form->Document(1));
    EXPECT_EQ(form->TarnelEditor()->Lines().Get(0), "first");
    EXPECT_TRUE(form->TarnelEditor()->hasFocus());
    ClickTab(2);
    EXPECT_EQ(form->TarnelEditor()->Lines().Get(0), "second");
}

TEST_F(ShellTest, TheCloseQueryKeepsTheWindowOnCancel)
{
    form->ActiveDocument()->InsertText("unsaved");
    const QString page = MakeFile("page.jsp");
    Open(page);

    services.AnswerNext(TServices::anCancel);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->DocumentCount(), 2);
    EXPECT_EQ(services.Questions().size(), 1);

    services.AnswerNext(TServices::anNo);
    EXPECT_TRUE(form->close());
    // Documents stay open until the window is freed; the recent list is kept.
    EXPECT_EQ(form->DocumentCount(), 2);
    EXPECT_EQ(services.Store().ReadString(TRecentList::Key(), "File0"), page);
}

TEST_F(ShellTest, ExitRunsTheCloseQuery)
{
    form->ActiveDocument()->InsertText("unsaved");
    services.AnswerNext(TServices::anCancel);
    form->FileItemsExitClick();
    EXPECT_TRUE(form->isVisible());
    services.AnswerNext(TServices::anNo);
    form->FileItemsExitClick();
    EXPECT_FALSE(form->isVisible());
}

// A save clears the undo history unless "Keep undo history after saving" is
// on; then undoing past the save marks the document modified again, and
// redoing back to it clean.
TEST_F(ShellTest, SavingKeepsTheUndoHistoryOnlyWhenThePreferenceSaysSo)
{
    for (bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "kept" : "cleared");
        services.Settings().WriteString(TFormStorage::Key(TPreferenceForm::kSection), "KeepUndoCheck_Checked",
                                        keep ? "True" : "False");
        const QString path = MakeFile(keep ? "kept.txt" : "cleared.txt", "one\n");
        Open(path);
        TDCMemo* editor = form->TarnelEditor();
        QTest::keyClicks(editor, "ab");
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        TMemoSource* document = form->ActiveDocument();
        EXPECT_EQ(ReadFile(path), "abone\n");
        EXPECT_FALSE(document->Modified());
        EXPECT_FALSE(Item("FileItemsSave")->isEnabled());
        EXPECT_EQ(Item("EditItemsUndo")->isEnabled(), keep);
        if (!keep)
            continue;
        QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(document->LineText(0), "one");
        EXPECT_TRUE(document->Modified());
        EXPECT_TRUE(Item("FileItemsSave")->isEnabled());
        QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(document->LineText(0), "abone");
        EXPECT_FALSE(document->Modified());
        EXPECT_FALSE(Item("FileItemsSave")->isEnabled());
    }
}
