// The editor among the desktop's programs: files named on the command line
// or handed over by a second start, the open dialog's default extension,
// shell opens the system cannot carry out, and the status bar.

#include "shellfixture.h"

#include "commandline.h"
#include "instancechannel.h"

#include <QLabel>

#include <future>

TEST(CommandLineTest, OptionsAndFilesAreReadAsAUserTypesThem)
{
    struct Case {
        QStringList arguments;
        QStringList files;
        bool newWindow;
        bool done;
        int exitCode;
        const char* output; // a piece of what is printed
    };
    const Case cases[] = {
        {{"tarnel"}, {}, false, false, 0, ""},
        {{"tarnel", "a.jsp", "../b.java", "/abs/c.htm"}, {"/work/dir/a.jsp", "/work/b.java", "/abs/c.htm"}, false, false, 0, ""},
        {{"tarnel", "--new-window", "a.jsp"}, {"/work/dir/a.jsp"}, true, false, 0, ""},
        {{"tarnel", "--help"}, {}, false, true, 0, "Usage: tarnel [options] [files...]"},
        {{"tarnel", "-h"}, {}, false, true, 0, "--new-window"},
        {{"tarnel", "--version"}, {}, false, true, 0, "Tarnel 0.9.1"},
        {{"tarnel", "--bogus"}, {}, false, true, 2, "Unknown option 'bogus'"},
        {{"tarnel", "--", "--odd-name.txt"}, {"/work/dir/--odd-name.txt"}, false, false, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const TCommandLine line = TCommandLine::Parse(c.arguments, QStringLiteral("/work/dir"));
        EXPECT_EQ(line.files, c.files);
        EXPECT_EQ(line.newWindow, c.newWindow);
        EXPECT_EQ(line.done, c.done);
        EXPECT_EQ(line.exitCode, c.exitCode);
        EXPECT_TRUE(line.output.contains(QLatin1String(c.output))) << line.output.toStdString();
    }
}

TEST_F(ShellTest, FilesFromOutsideOpenAsFileOpenDoesAndTheEmptyStartGivesWay)
{
    const QString first = MakeFile("first.jsp", "<p>one</p>\n");
    const QString second = MakeFile("second.java", "class A {}\n");
    const QString binary = MakeFile("data.bin", QByteArray("a\0b", 3));
    const QString missing = files.filePath("missing.txt");
    form->OpenFiles({first, missing, binary, second});
    EXPECT_EQ(FileNames(), (QStringList{first, second}));
    EXPECT_EQ(form->ActiveDocument()->FileName(), second);
    EXPECT_EQ(services.Messages().size(), 2);
    EXPECT_TRUE(services.Messages().value(0).contains(missing));
    EXPECT_TRUE(services.Messages().value(1).contains("binary data"));
    EXPECT_EQ(RecentPaths(), (QStringList{second, first}));

    // A started document stays when more files arrive.
    form->ActiveDocument()->InsertText("typed");
    form->OpenFiles({first});
    EXPECT_EQ(FileNames(), (QStringList{first, second}));
}

TEST_F(ShellTest, ASecondStartHandsItsFilesToTheRunningWindow)
{
    const QString name = QStringLiteral("tarnel-test-%1").arg(QCoreApplication::applicationPid());
    TInstanceChannel running(name);
    ASSERT_TRUE(running.Listen());
    QObject::connect(&running, &TInstanceChannel::FilesReceived, form.get(), [this](const QStringList& paths) {
        form->OpenFiles(paths);
        form->BringToFront();
    });
    const QString page = MakeFile("page.htm", "<html>\n");
    // The second start waits for the answer while this thread's event loop
    // lets the running window take the files.
    std::future<bool> handed = std::async(std::launch::async, [&] { return TInstanceChannel(name).HandOver({page}); });
    QTRY_COMPARE(FileNames(), QStringList{page});
    EXPECT_TRUE(handed.get());

    // Nobody listens on another name: the start opens its own window.
    EXPECT_FALSE(TInstanceChannel(name + "-none").HandOver({page}, 200));
}

TEST_F(ShellTest, ANameTypedWithoutItsExtensionMeansTheFileOfThatNameFirst)
{
    const QString makefile = MakeFile("Makefile", "all:\n");
    const QString page = MakeFile("page.jsp", "<p/>\n");
    MakeFile("both", "plain\n");
    const QString bothJsp = MakeFile("both.jsp", "jsp\n");
    Q_UNUSED(bothJsp);
    struct Case {
        QString typed;
        QString opened; // empty: nothing opens and an error is shown
    };
    const Case cases[] = {
        {makefile, makefile},
        {files.filePath("page"), page},
        {files.filePath("both"), files.filePath("both")},
        {files.filePath("nothing"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        services.ClearCalls();
        Open(c.typed);
        if (c.opened.isEmpty()) {
            ASSERT_EQ(services.Messages().size(), 1);
            EXPECT_TRUE(services.Messages().first().contains(c.typed));
        } else {
            EXPECT_EQ(form->ActiveDocument()->FileName(), c.opened);
        }
    }
}

TEST_F(ShellTest, WhatTheSystemCannotOpenIsSaidAndThePositionFitsBigFiles)
{
    services.FailShellOpen();
    form->HelpItemsHomeClick();
    ASSERT_EQ(services.Messages().size(), 1);
    EXPECT_EQ(services.Messages().first(),
              "Cannot open " + TMainForm::kHomePage + ". No program on this system is set up to open it.");

    QLabel* position = form->StatusPanel(0);
    EXPECT_LE(position->fontMetrics().horizontalAdvance(QStringLiteral("1242323: 2")), position->contentsRect().width());
}
