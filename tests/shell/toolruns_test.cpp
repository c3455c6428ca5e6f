// The tool runs as the user meets them: Applet Compile and Run through the
// real "Commando/build.bat" and /bin/sh, the browser preview, and the batch
// dialog driven by clicks. Programs really run (the platform's own process
// start is installed in the services fake); the compiler is a small script
// that records what it was given, or the real javac where it is installed.

#include "shellfixture.h"

#include "batchform.h"
#include "formstorage.h"
#include "memoenvoptions.h"
#include "paintfont.h"
#include "outputpane.h"
#include "preferenceform.h"
#include "processes.h"
#include "toolfiles.h"
#include "toolruns.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QToolButton>

namespace {

// A real program's run may take a while on a loaded machine.
constexpr int kRunTimeoutMs = 60000;

class ToolRunsTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        services.OnRunProcess = &Processes::Run;
        buildFile = programDir.filePath(QStringLiteral("Commando/build.bat"));
        WriteFile(buildFile, "rem shipped\r\n");
        // The compiler stand-in: writes each argument on a line of its own
        // beside itself, and exits with the code in "exit" there (0 when
        // missing).
        compilerDir = files.filePath(QStringLiteral("jdk"));
        ASSERT_TRUE(QDir().mkpath(compilerDir));
        fakeCompiler = compilerDir + QStringLiteral("/javac");
        WriteFile(fakeCompiler, "#!/bin/sh\n"
                                "here=$(dirname \"$0\")\n"
                                "printf '%s\\n' \"$@\" > \"$here/args.txt\"\n"
                                "echo compiling \"$@\"\n"
                                "exit $(cat \"$here/exit\" 2>/dev/null || echo 0)\n");
        QFile::setPermissions(fakeCompiler, QFile::permissions(fakeCompiler) | QFile::ExeOwner);
    }

    void SetPreference(const char* name, const QString& value)
    {
        services.Settings().WriteString(TFormStorage::Key(TPreferenceForm::kSection), QString::fromLatin1(name),
                                        value);
    }

    // The active document's build, from the menu; waits until it has ended.
    void CompileAndWait(const char* item = "ToolItemsJavaCompile")
    {
        Item(item)->trigger();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !form->OutputPane()->Running(); }, kRunTimeoutMs))
            << Output().toStdString();
    }

    QString Output() const { return form->OutputPane()->PlainText(); }

    // Run Batch Command on a file browsed for.
    void RunBrowsedBatch(const QString& path)
    {
        ScriptDialog([this, path](QDialog& dialog) {
            auto& batch = static_cast<TBatchForm&>(dialog);
            batch.BrowseCheck()->setChecked(true);
            services.ChooseFile(path);
            QTest::mouseClick(batch.BrowseButton(), Qt::LeftButton);
            QTest::mouseClick(batch.OkButton(), Qt::LeftButton);
        });
        Item("ToolItemsRunBatch")->trigger();
    }
    QString Arguments() const { return QString::fromLocal8Bit(ReadFile(compilerDir + QStringLiteral("/args.txt"))); }

    QString buildFile;
    QString compilerDir;
    QString fakeCompiler;
};

TEST_F(ToolRunsTest, AppletCompileWritesOneBuildLineThatTheShellTakesLiterally)
{
    // Names a shell would act on: each must reach the compiler as it is, and
    // none may run anything.
    struct Row {
        const char* name;
        const char* parameters;
    };
    const Row rows[] = {
        {"Applet.java", " -g"},
        {"a$(touch pwned).java", " -g"},
        {"b`touch pwned`.java", ""},
        {"c\"d.java", ""},
        {"100%PATH%.java", ""},
        {"e\\f $HOME.java", ""},
    };
    SetPreference("JavacPath_Text", fakeCompiler);
    EXPECT_TRUE(form->OutputPane()->isHidden()) << "the pane waits for the first run";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetPreference("ParamEdit_Text", QString::fromLatin1(row.parameters));
        const QString path = MakeFile(QString::fromLatin1(row.name), "class A {}\n");
        Open(path);
        QFile::remove(compilerDir + QStringLiteral("/args.txt"));
        CompileAndWait();
        EXPECT_TRUE(form->OutputPane()->isVisible());
        EXPECT_EQ(Arguments(), (*row.parameters ? QStringLiteral("-g\n") : QString()) + path + u'\n');
        EXPECT_TRUE(Output().contains(QStringLiteral("Finished with exit code 0 after")));
        for (const QString& folder : {files.path(), programDir.path(), QDir::currentPath()})
            EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/pwned"))) << folder.toStdString();
    }
    // An ordinary path gives the plain line, byte for byte.
    EXPECT_EQ(ToolFiles::BuildLine(fakeCompiler, QStringLiteral("-g"), QStringLiteral("/src/Applet.java")),
              fakeCompiler + QStringLiteral("-g \"/src/Applet.java\""));
    // The build file holds the last line only, escaped for the shell.
    EXPECT_EQ(ReadFile(buildFile),
              QFile::encodeName(fakeCompiler + QStringLiteral(" \"") + files.path() + QStringLiteral("/e\\\\f \\$HOME.java\"\n")));
    EXPECT_TRUE(services.Messages().isEmpty()) << services.Messages().join(u'|').toStdString();
    // Closed, it comes back with the next run.
    QTest::mouseClick(form->OutputPane()->CloseButton(), Qt::LeftButton);
    EXPECT_TRUE(form->OutputPane()->isHidden());
    CompileAndWait();
    EXPECT_TRUE(form->OutputPane()->isVisible());
}

TEST_F(ToolRunsTest, ParametersFollowTheCompilerWithoutASeparator)
{
    // "-g" without its leading blank sticks to the compiler's name: the line
    // is written as given, and the shell then finds no such program.
    SetPreference("JavacPath_Text", fakeCompiler);
    SetPreference("ParamEdit_Text", QStringLiteral("-g"));
    const QString path = MakeFile(QStringLiteral("Applet.java"));
    Open(path);
    CompileAndWait();
    EXPECT_EQ(ReadFile(buildFile), QFile::encodeName(fakeCompiler + QStringLiteral("-g \"") + path + "\"\n"));
    EXPECT_FALSE(Output().contains(QStringLiteral("exit code 0 after")));
    EXPECT_FALSE(QFile::exists(compilerDir + QStringLiteral("/args.txt")));

    // A compiler in a folder with a blank is quoted.
    const QString spaced = files.filePath(QStringLiteral("my jdk/javac"));
    QDir().mkpath(QFileInfo(spaced).absolutePath());
    QFile::copy(fakeCompiler, spaced);
    SetPreference("JavacPath_Text", spaced);
    SetPreference("ParamEdit_Text", QString());
    CompileAndWait();
    EXPECT_EQ(ReadFile(buildFile), QFile::encodeName(u'"' + spaced + QStringLiteral("\" \"") + path + "\"\n"));
    EXPECT_TRUE(Output().contains(QStringLiteral("Finished with exit code 0 after"))) << Output().toStdString();
}

TEST_F(ToolRunsTest, AMissingCompilerOrBuildFileStopsTheCompile)
{
    const QString path = MakeFile(QStringLiteral("Applet.java"));
    Open(path);
    // Not set (first run), a file that is not there, a folder.
    for (const QString& javac : {QString(), files.filePath(QStringLiteral("none/javac")), files.path()}) {
        SetPreference("JavacPath_Text", javac);
        services.ClearCalls();
        Item("ToolItemsJavaRun")->trigger();
        EXPECT_EQ(services.Messages(), QStringList{QStringLiteral("Javac.exe does not exists or path is not correct!\r\n"
                                                                 "Choose Menu -> Options - > Preferences\r\n"
                                                                 "and check if the path is given correct.")});
        EXPECT_TRUE(services.Started().isEmpty());
        EXPECT_EQ(ReadFile(buildFile), "rem shipped\r\n");
    }
    SetPreference("JavacPath_Text", fakeCompiler);
    QFile::remove(buildFile);
    services.ClearCalls();
    Item("ToolItemsJavaCompile")->trigger();
    ASSERT_EQ(services.Messages().size(), 1);
    EXPECT_TRUE(services.Messages()[0].startsWith(
        QStringLiteral("Cannot open file \"%1\".").arg(QDir::toNativeSeparators(buildFile))));
    EXPECT_TRUE(services.Started().isEmpty());
    EXPECT_TRUE(services.Opened().isEmpty());
}

TEST_F(ToolRunsTest, AppletRunOpensItsPageOnlyAfterACompileWithoutError)
{
    SetPreference("JavacPath_Text", fakeCompiler);
    SetPreference("AppWidthEdit_Text", QStringLiteral("300"));
    const QString path = MakeFile(QStringLiteral("Clock.java"));
    const QString page = files.filePath(QStringLiteral("Clock.html"));
    Open(path);

    // A failed compile: no page, and the user hears why.
    WriteFile(compilerDir + QStringLiteral("/exit"), "1");
    services.ClearCalls();
    CompileAndWait("ToolItemsJavaRun");
    QTRY_COMPARE(services.Messages().size(), 1);
    EXPECT_TRUE(services.Messages()[0].contains(QStringLiteral("failed")));
    EXPECT_FALSE(QFile::exists(page));
    EXPECT_TRUE(services.Opened().isEmpty());

    // A good one, from the button: the page is written, then opened.
    QFile::remove(compilerDir + QStringLiteral("/exit"));
    services.ClearCalls();
    ClickButton("cmdRun");
    QTRY_COMPARE_WITH_TIMEOUT(services.Opened(), QStringList{page}, kRunTimeoutMs);
    // The code attribute names the class file, and the element is closed.
    const QByteArray written = "<HTML>\r\n<HEAD>\r\n<TITLE>APPLET TEMPLATE</TITLE>\r\n</HEAD>\r\n<BODY>\r\n<APPLET\r\n"
                               " width=\"300\" height=\"360\" code=\"Clock.class\">\r\n</APPLET>\r\n</BODY>\r\n"
                               "</HTML>\r\n\r\n";
    EXPECT_EQ(ReadFile(page), written);
    EXPECT_TRUE(services.Questions().isEmpty());

    // Its own page is replaced without a question; a hand-written one only
    // on Yes, and No starts nothing.
    WriteFile(page, "<html>mine</html>\n");
    services.ClearCalls();
    services.AnswerNext(TServices::anNo);
    Item("ToolItemsJavaRun")->trigger();
    EXPECT_EQ(services.Questions().size(), 1);
    EXPECT_TRUE(services.Started().isEmpty());
    EXPECT_EQ(ReadFile(page), "<html>mine</html>\n");
    services.AnswerNext(TServices::anYes);
    Item("ToolItemsJavaRun")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(services.Opened(), QStringList{page}, kRunTimeoutMs);
    EXPECT_EQ(ReadFile(page), written);
}

TEST_F(ToolRunsTest, AnUntitledDocumentsAppletPageGoesToTheHomeFolder)
{
    QTemporaryDir home;
    struct HomeGuard {
        QByteArray old = qgetenv("HOME");
        ~HomeGuard() { qputenv("HOME", old); }
    } guard;
    qputenv("HOME", QFile::encodeName(home.path()));
    SetPreference("JavacPath_Text", fakeCompiler);
    form->SetActiveScheme(form->JavaParser());
    form->UpdateEnabling();
    const QString untitled = form->ActiveDocument()->FileName();
    Item("ToolItemsJavaRun")->trigger();
    const QString page = home.filePath(untitled + QStringLiteral(".html"));
    QTRY_COMPARE_WITH_TIMEOUT(services.Opened(), QStringList{page}, kRunTimeoutMs);
    EXPECT_TRUE(ToolFiles::IsAppletPage(ReadFile(page)));
    EXPECT_EQ(Arguments(), untitled + u'\n');
}

TEST_F(ToolRunsTest, RealJavacCompilesAnAppletAndItsErrorLinesOpenTheFile)
{
    const QString javac = QStandardPaths::findExecutable(QStringLiteral("javac"));
    if (javac.isEmpty())
        GTEST_SKIP() << "no javac on this machine";
    SetPreference("JavacPath_Text", QFileInfo(javac).canonicalFilePath());
    SetPreference("ParamEdit_Text", QStringLiteral(" -nowarn"));
    const QString good = MakeFile(QStringLiteral("Hello.java"), "import java.awt.Graphics;\n"
                                                                "public class Hello extends java.awt.Panel {\n"
                                                                "    public void paint(Graphics g) {\n"
                                                                "        g.drawString(\"Hello\", 20, 20);\n"
                                                                "    }\n"
                                                                "}\n");
    Open(good);
    Item("ToolItemsJavaCompile")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->OutputPane()->Running(); }, kRunTimeoutMs));
    EXPECT_TRUE(QFile::exists(files.filePath(QStringLiteral("Hello.class"))));

    const QString broken = MakeFile(QStringLiteral("Broken.java"), "public class Broken {\n"
                                                                   "    void f() {\n"
                                                                   "        int x = ;\n"
                                                                   "    }\n"
                                                                   "}\n");
    Open(broken);
    CompileAndWait();
    const QString errorLine = broken + QStringLiteral(":3: error:");
    ASSERT_TRUE(Output().contains(errorLine)) << Output().toStdString();

    // A click on the message line brings the file back at that line.
    ClickTab(int(FileNames().indexOf(good)));
    ASSERT_EQ(form->ActiveDocument()->FileName(), good);
    QPlainTextEdit* text = form->OutputPane()->Text();
    for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
        if (block.text().startsWith(errorLine)) {
            QTextCursor cursor(block);
            QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, text->cursorRect(cursor).center());
            break;
        }
    }
    EXPECT_EQ(form->ActiveDocument()->FileName(), broken);
    EXPECT_EQ(form->ActiveDocument()->CaretLine(), 2);
}

TEST_F(ToolRunsTest, PreviewOpensASavedPageItselfAndAnythingElseThroughPreviewHtm)
{
    const QString preview = programDir.filePath(QStringLiteral("preview.htm"));
    const QString page = MakeFile(QStringLiteral("index.html"), "<p>on disk</p>\n");
    Open(page);
    form->ActiveDocument()->InsertText("unsaved ");
    services.ClearCalls();
    Item("ToolItemsBrowse")->trigger();
    EXPECT_EQ(services.Opened(), QStringList{page});
    EXPECT_FALSE(QFile::exists(preview));

    // A saved .jsp (from the button) and an untitled document: their text as
    // it stands.
    Open(MakeFile(QStringLiteral("page.jsp"), "<%= 1 %>\n"));
    form->ActiveDocument()->InsertText("edited ");
    services.ClearCalls();
    ClickButton("cmdBrowse");
    EXPECT_EQ(services.Opened(), QStringList{preview});
    EXPECT_EQ(ReadFile(preview), "edited <%= 1 %>\n");

    QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
    form->ActiveDocument()->InsertText("<b>new</b>");
    services.ClearCalls();
    Item("ToolItemsBrowse")->trigger();
    EXPECT_EQ(services.Opened(), QStringList{preview});
    EXPECT_EQ(ReadFile(preview), "<b>new</b>\n");

    // Where the program folder takes no preview, the user's data folder does.
    QFile::remove(preview);
    ASSERT_TRUE(QDir(programDir.path()).mkdir(QStringLiteral("preview.htm")));
    services.ClearCalls();
    Item("ToolItemsBrowse")->trigger();
    const QString own = ToolFiles::UserDataFolder() + QStringLiteral("preview.htm");
    EXPECT_EQ(services.Opened(), QStringList{own});
    EXPECT_EQ(ReadFile(own), "<b>new</b>\n");
    QFile::remove(own);
}

TEST_F(ToolRunsTest, BatchDialogTakesAListedItemOrABrowsedFileThatExists)
{
    const QString commands = programDir.filePath(QStringLiteral("Command/"));
    const QString marker = files.filePath(QStringLiteral("ran.txt"));
    WriteFile(commands + QStringLiteral("hello.bat"), QFile::encodeName("echo listed >> \"" + marker + "\"\n"));
    WriteFile(commands + QStringLiteral("zeta.bat"), "exit 0\n");
    QDir(commands).mkdir(QStringLiteral("old.bat"));
    const QString browsed = MakeFile(QStringLiteral("other.bat"),
                                     QFile::encodeName("echo browsed >> \"" + marker + "\"\n"));

    auto clickItem = [](TBatchForm& batch, const QString& caption, bool twice = false) {
        QListWidget* list = batch.List();
        const QList<QListWidgetItem*> found = list->findItems(caption, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << caption.toStdString();
        const QPoint at = list->visualItemRect(found[0]).center();
        // A double click as the system delivers it: a click, then the second
        // press as a double click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (twice) {
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
        }
    };

    // A check box takes clicks on its box and caption, not its empty rest.
    auto clickCheck = [](QCheckBox* box) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    };

    // Pick, then switch to browsing: the pick goes; a browsed name that is
    // not there keeps OK off, one that is turns it on.
    ScriptDialog([&](QDialog& dialog) {
        auto& batch = static_cast<TBatchForm&>(dialog);
        EXPECT_EQ(batch.windowTitle(), QStringLiteral("Run Batch File..."));
        QStringList captions;
        for (int i = 0; i < batch.List()->count(); ++i)
            captions.append(batch.List()->item(i)->text());
        EXPECT_EQ(captions, (QStringList{"hello.bat", "old.bat", "zeta.bat"}));
        EXPECT_FALSE(batch.OkButton()->isEnabled());
        EXPECT_FALSE(batch.BrowseField()->isEnabled());
        clickItem(batch, QStringLiteral("zeta.bat"));
        EXPECT_EQ(batch.SelectedField()->text(), QStringLiteral("zeta.bat"));
        EXPECT_TRUE(batch.OkButton()->isEnabled());
        clickCheck(batch.BrowseCheck());
        ASSERT_TRUE(batch.BrowseField()->isEnabled());
        services.ChooseFile(files.filePath(QStringLiteral("missing.bat")));
        QTest::mouseClick(batch.BrowseButton(), Qt::LeftButton);
        EXPECT_TRUE(batch.SelectedField()->text().isEmpty());
        EXPECT_FALSE(batch.OkButton()->isEnabled());
        services.ChooseFile(browsed);
        QTest::mouseClick(batch.BrowseButton(), Qt::LeftButton);
        EXPECT_TRUE(batch.OkButton()->isEnabled());
        EXPECT_EQ(services.FileDialogs().last().title, QStringLiteral("Browse batch files..."));
        EXPECT_EQ(services.FileDialogs().last().filter, QStringLiteral("Batch Files (*.bat)|*.bat"));
        // Unchecking empties the browse side again.
        clickCheck(batch.BrowseCheck());
        EXPECT_TRUE(batch.BrowseField()->text().isEmpty());
        EXPECT_FALSE(batch.OkButton()->isEnabled());
        clickCheck(batch.BrowseCheck());
        services.ChooseFile(browsed);
        QTest::mouseClick(batch.BrowseButton(), Qt::LeftButton);
        QTest::mouseClick(batch.OkButton(), Qt::LeftButton);
    });
    Item("ToolItemsRunBatch")->trigger();
    EXPECT_EQ(services.Started(), QStringList{browsed});
    QTRY_COMPARE_WITH_TIMEOUT(ReadFile(marker), QByteArray("browsed\n"), kRunTimeoutMs);
    // Written is not ended yet: a run still going would be asked about.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->OutputPane()->Running(); }, kRunTimeoutMs));

    // A double click runs the listed file at once.
    ScriptDialog([&](QDialog& dialog) { clickItem(static_cast<TBatchForm&>(dialog), "hello.bat", true); });
    services.ClearCalls();
    Item("ToolItemsRunBatch")->trigger();
    EXPECT_EQ(services.Started(), QStringList{commands + QStringLiteral("hello.bat")});
    QTRY_COMPARE_WITH_TIMEOUT(ReadFile(marker), QByteArray("browsed\nlisted\n"), kRunTimeoutMs);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->OutputPane()->Running(); }, kRunTimeoutMs));

    // Cancel starts nothing; a listed folder cannot run, and says so.
    ScriptDialog([&](QDialog& dialog) {
        clickItem(static_cast<TBatchForm&>(dialog), "hello.bat");
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("CancelButton")), Qt::LeftButton);
    });
    services.ClearCalls();
    Item("ToolItemsRunBatch")->trigger();
    EXPECT_TRUE(services.Started().isEmpty());
    ScriptDialog([&](QDialog& dialog) { clickItem(static_cast<TBatchForm&>(dialog), "old.bat", true); });
    Item("ToolItemsRunBatch")->trigger();
    EXPECT_EQ(services.Messages(),
              QStringList{QStringLiteral("Cannot start \"%1\". It is a folder.")
                              .arg(QDir::toNativeSeparators(commands + QStringLiteral("old.bat")))});
}

TEST_F(ToolRunsTest, ABatchRunShowsItsOutputAndRunsInItsOwnFolder)
{
    const QString commands = programDir.filePath(QStringLiteral("Command"));
    const QString where = commands + QStringLiteral("/where.bat");
    WriteFile(where, "echo from the batch\npwd\necho oops >&2\nexit 2\n");
    ScriptDialog([&](QDialog& dialog) {
        auto& batch = static_cast<TBatchForm&>(dialog);
        batch.List()->setCurrentRow(0);
        QTest::keyClick(batch.List(), Qt::Key_Return);
    });
    Item("ToolItemsRunBatch")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->OutputPane()->Running(); }, kRunTimeoutMs));
    const QStringList lines = Output().split(u'\n');
    ASSERT_EQ(lines.size(), 5) << Output().toStdString();
    EXPECT_EQ(lines[0], QDir::toNativeSeparators(commands) + QStringLiteral("> ") + QDir::toNativeSeparators(where));
    EXPECT_EQ(lines[1], QStringLiteral("from the batch"));
    EXPECT_EQ(lines[2], commands);
    EXPECT_EQ(lines[3], QStringLiteral("oops"));
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("Finished with exit code 2 after"))) << lines[4].toStdString();
    EXPECT_NE(QDir::currentPath(), commands);
}

TEST_F(ToolRunsTest, ARunStillGoingIsAskedAboutBeforeAnotherRunAndBeforeClosing)
{
    const QString sleeper = MakeFile(QStringLiteral("sleep.bat"), "echo asleep\nsleep 600\n");
    const QString other = MakeFile(QStringLiteral("other.bat"), "echo other\n");
    RunBrowsedBatch(sleeper);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Output().contains(QStringLiteral("asleep")); }, kRunTimeoutMs));

    // No: nothing new starts, the first goes on.
    services.ClearCalls();
    services.AnswerNext(TServices::anNo);
    RunBrowsedBatch(other);
    EXPECT_EQ(services.Questions(),
              QStringList{QStringLiteral("\"%1\" is still running. Stop it?").arg(QDir::toNativeSeparators(sleeper))});
    EXPECT_TRUE(services.Started().isEmpty());
    EXPECT_TRUE(form->OutputPane()->Running());

    // Yes: the first is stopped and the new one shows.
    services.AnswerNext(TServices::anYes);
    RunBrowsedBatch(other);
    EXPECT_EQ(services.Started(), QStringList{other});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->OutputPane()->Running(); }, kRunTimeoutMs));
    EXPECT_TRUE(Output().contains(QStringLiteral("\nother\nFinished with exit code 0"))) << Output().toStdString();

    // Closing the window while a run goes on: Yes stops it and closes.
    RunBrowsedBatch(sleeper);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Output().contains(QStringLiteral("asleep")); }, kRunTimeoutMs));
    services.ClearCalls();
    services.AnswerNext(TServices::anYes);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(services.Questions().size(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Output().contains(QStringLiteral("\nStopped after")); }, kRunTimeoutMs));
}

TEST_F(ToolRunsTest, RunJavaProgramSavesFirstAndUsesTheLauncherBesideTheCompiler)
{
    SetPreference("JavacPath_Text", fakeCompiler);
    // Not there, nor on the PATH: the message names where it was looked for.
    struct PathGuard {
        QByteArray old = qgetenv("PATH");
        ~PathGuard() { qputenv("PATH", old); }
    } guard;
    qputenv("PATH", QFile::encodeName(compilerDir + QStringLiteral("/none")));
    const QString java = MakeFile(QStringLiteral("Good.java"), "class Good {}\n");
    Open(java);
    services.ClearCalls();
    QTest::keyClick(form->TarnelEditor(), Qt::Key_F9, Qt::ControlModifier);
    EXPECT_EQ(services.Messages(),
              QStringList{QStringLiteral("Cannot find the Java launcher: there is no \"%1\" beside the compiler, "
                                         "and no \"java\" on the PATH.")
                              .arg(QDir::toNativeSeparators(compilerDir + QStringLiteral("/java")))});
    EXPECT_TRUE(services.Started().isEmpty());

    // A launcher beside the compiler: an untitled Java document is saved
    // under the name the user gives, then run.
    const QString launcher = compilerDir + QStringLiteral("/java");
    WriteFile(launcher, "#!/bin/sh\necho \"ran in $(pwd):\" \"$@\"\n");
    QFile::setPermissions(launcher, QFile::permissions(launcher) | QFile::ExeOwner);
    QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
    form->SetActiveScheme(form->JavaParser());
    form->UpdateEnabling();
    form->ActiveDocument()->InsertText("class Untitled {}");
    const QString named = files.filePath(QStringLiteral("Named.java"));
    services.ChooseFile(named);
    services.ClearCalls();
    ClickButton("cmdRunJava");
    EXPECT_EQ(form->ActiveDocument()->FileName(), named);
    EXPECT_EQ(ReadFile(named), "class Untitled {}\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->OutputPane()->Running(); }, kRunTimeoutMs));
    EXPECT_TRUE(Output().contains(QStringLiteral("\nran in %1: Named.java\n").arg(files.path())))
        << Output().toStdString();
    EXPECT_TRUE(services.Messages().isEmpty()) << services.Messages().join(u'|').toStdString();

    // A name that is not a Java source's is refused, with the reason.
    const QString page = MakeFile(QStringLiteral("page.jsp"), "<%= 1 %>\n");
    Open(page);
    form->SetActiveScheme(form->JavaParser());
    form->UpdateEnabling();
    services.ClearCalls();
    Item("ToolItemsJavaRunProgram")->trigger();
    ASSERT_EQ(services.Messages().size(), 1);
    EXPECT_TRUE(services.Messages()[0].contains(QStringLiteral("is not a Java source file")));
    EXPECT_TRUE(services.Started().isEmpty());
}

TEST_F(ToolRunsTest, TheOutputPaneShowsTheEditorsFontAndItsMenuClearsAndCopies)
{
    TOutputPane* pane = form->OutputPane();
    const QString batch = MakeFile(QStringLiteral("lines.bat"), "echo first\necho second\n");
    RunBrowsedBatch(batch);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pane->Running(); }, kRunTimeoutMs));

    // The editor's font, and its changes.
    const TFont editorFont = form->TarnelEditor()->Font();
    EXPECT_EQ(pane->Text()->font().family(), ToQFont(editorFont).family());
    EXPECT_EQ(pane->Text()->font().pixelSize(), ToQFont(editorFont).pixelSize());
    TMemoEnvOptions& global = TMemoEnvOptions::Global();
    TFont bigger = global.Font();
    bigger.SetHeight(bigger.Height() < 0 ? bigger.Height() - 6 : bigger.Height() + 6);
    global.SetFont(bigger);
    EXPECT_EQ(pane->Text()->font().pixelSize(), ToQFont(bigger).pixelSize());
    global.SetFont(editorFont);

    // A right click offers the menu: Copy takes the selection, or all of it
    // when nothing is selected; Clear empties the pane.
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), pane->Text()->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(pane->Text()->viewport(), &click);
    ASSERT_TRUE(pane->ContextMenu()->isVisible());
    QStringList captions;
    for (QAction* action : pane->ContextMenu()->actions())
        captions.append(action->text());
    EXPECT_EQ(captions, (QStringList{"Clear", "Copy"}));
    pane->ContextMenu()->hide();
    QAction* copy = pane->ContextMenu()->actions().value(1);
    copy->trigger();
    EXPECT_EQ(services.ClipboardText(), Output());
    EXPECT_TRUE(services.ClipboardText().contains(QStringLiteral("\nfirst\nsecond\n")));
    QTextCursor second(pane->Text()->document()->findBlockByNumber(2));
    second.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    pane->Text()->setTextCursor(second);
    copy->trigger();
    EXPECT_EQ(services.ClipboardText(), QStringLiteral("second"));
    pane->ContextMenu()->actions().value(0)->trigger();
    EXPECT_TRUE(Output().isEmpty());
}

TEST_F(ToolRunsTest, TheOutputPaneKeepsLinesStreamsAndCharactersTogether)
{
    TOutputPane* pane = form->OutputPane();
    const int run = pane->Begin(QStringLiteral("prog"), files.path());
    // A line cut between reads, a character cut between reads, the other
    // stream breaking into an unfinished line, CR LF ends.
    pane->Append(run, "ab");
    pane->Append(run, "c\xC3");
    pane->Append(run, "\xA9\r\nhalf");
    pane->Append(run, "err\n", true);
    pane->Append(run, "rest\n");
    // An older run's late output is not this run's.
    pane->Append(run - 1, "stale\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Output().endsWith(QStringLiteral("rest")); }, kRunTimeoutMs));
    // A flood: more than can wait, the oldest gives way with a note, and
    // what came last and the end are kept.
    QByteArray flood;
    for (int i = 0; i < 200000; ++i)
        flood += "line " + QByteArray::number(i) + '\n';
    pane->Append(run, flood);
    pane->Finish(run, QStringLiteral("done"));
    EXPECT_TRUE(pane->Running()) << "shown over the next turns of the event loop";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pane->Running(); }, kRunTimeoutMs));
    const QStringList lines = Output().split(u'\n');
    ASSERT_GT(lines.size(), 6);
    EXPECT_EQ(lines.mid(0, 5), (QStringList{QDir::toNativeSeparators(files.path()) + QStringLiteral("> prog"),
                                            QString::fromUtf8("abc\u00e9"), "half", "err", "rest"}));
    EXPECT_TRUE(lines[5].contains(QStringLiteral("characters of output were skipped"))) << lines[5].toStdString();
    EXPECT_EQ(lines.mid(lines.size() - 2), (QStringList{"line 199999", "done"}));
    EXPECT_FALSE(Output().contains(QStringLiteral("stale")));
    EXPECT_LE(pane->Text()->document()->blockCount(), TOutputPane::kMaxLines);
}

} // namespace
