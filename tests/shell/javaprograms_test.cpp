// Run Java Program as the user meets it: the real launcher on real sources
// in a temporary folder, its output streamed into the Output pane, input
// typed into the pane's field, links out of stack traces, Stop, and the
// window staying usable while a program runs. Each program costs a start of
// the Java machine, so each test runs one or two.

#include "shellfixture.h"

#include "formstorage.h"
#include "outputpane.h"
#include "preferenceform.h"
#include "processes.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTextBlock>
#include <QToolButton>

namespace {

// A start of the Java machine may take seconds on a loaded machine.
constexpr int kRunTimeoutMs = 60000;

class JavaProgramsTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        services.OnRunProcess = &Processes::Run;
        javac = QFileInfo(QStandardPaths::findExecutable(QStringLiteral("javac"))).canonicalFilePath();
        if (javac.isEmpty() || !QFileInfo::exists(QFileInfo(javac).absolutePath() + QStringLiteral("/java")))
            GTEST_SKIP() << "no JDK on this machine";
        SetPreference("JavacPath_Text", javac);
    }

    void SetPreference(const char* name, const QString& value)
    {
        services.Settings().WriteString(TFormStorage::Key(TPreferenceForm::kSection), QString::fromLatin1(name),
                                        value);
    }

    QString Launcher() const { return QFileInfo(javac).absolutePath() + QStringLiteral("/java"); }
    TOutputPane* Pane() const { return form->OutputPane(); }
    QString Output() const { return Pane()->PlainText(); }
    QStringList Lines() const { return Output().split(u'\n'); }

    void RunProgram() { QTest::keyClick(form->TarnelEditor(), Qt::Key_F9, Qt::ControlModifier); }
    // A bounded poll a test asserts on: QTRY_* would return silently from a
    // test that is not QtTest's own.
    bool WaitForEnd() const
    {
        return QTest::qWaitFor([this] { return !Pane()->Running(); }, kRunTimeoutMs);
    }

    QTextBlock Block(const QString& text) const
    {
        for (QTextBlock block = Pane()->Text()->document()->begin(); block.isValid(); block = block.next()) {
            if (block.text() == text)
                return block;
        }
        ADD_FAILURE() << "no line " << text.toStdString() << " in\n" << Output().toStdString();
        return {};
    }

    // How many clearly red pixels the pane paints on a line.
    int RedPixels(const QTextBlock& block) const
    {
        QPlainTextEdit* text = Pane()->Text();
        const QRect caret = text->cursorRect(QTextCursor(block));
        const QImage image = text->viewport()->grab().toImage();
        int red = 0;
        for (int y = std::max(0, caret.top()); y <= std::min(image.height() - 1, caret.bottom()); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 140 && c.green() < 90 && c.blue() < 90;
            }
        }
        return red;
    }

    QString javac;
};

TEST_F(JavaProgramsTest, AProgramGetsItsArgumentsAndAnInputLineAndShowsBothStreamsAndItsExitCode)
{
    SetPreference("ProgramArgsEdit_Text", QStringLiteral("one \"two words\""));
    const QString path = MakeFile(QStringLiteral("Greeter.java"),
                                  "public class Greeter {\n"
                                  "    public static void main(String[] args) throws Exception {\n"
                                  "        System.out.print(\"Name? \");\n"
                                  "        System.out.flush();\n"
                                  "        String name = new java.io.BufferedReader(\n"
                                  "            new java.io.InputStreamReader(System.in)).readLine();\n"
                                  "        System.out.println(\"Hello, \" + name + \" \" + String.join(\"|\", args));\n"
                                  "        System.out.flush();\n"
                                  "        System.err.println(\"to the error stream\");\n"
                                  "        System.exit(3);\n"
                                  "    }\n"
                                  "}\n");
    Open(path);
    // Unsaved: the run saves it first, and the launcher sees the edit.
    form->ActiveDocument()->InsertText("// edited\n");
    RunProgram();
    EXPECT_TRUE(ReadFile(path).startsWith("// edited\n"));
    EXPECT_FALSE(form->ActiveDocument()->Modified());
    ASSERT_TRUE(Pane()->isVisible());
    EXPECT_EQ(Lines().value(0), QDir::toNativeSeparators(files.path()) + QStringLiteral("> ") + Launcher()
                                    + QStringLiteral(" Greeter.java one \"two words\""));
    EXPECT_TRUE(Pane()->StopButton()->isEnabled());

    // The prompt shows before its line ends; the answer goes in beside it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Lines().value(1) == QStringLiteral("Name? "); }, kRunTimeoutMs)) << Output().toStdString();
    ASSERT_TRUE(Pane()->InputField()->isEnabled());
    QTest::keyClicks(Pane()->InputField(), QStringLiteral("Ada"));
    QTest::keyClick(Pane()->InputField(), Qt::Key_Return);
    EXPECT_TRUE(Pane()->InputField()->text().isEmpty());
    ASSERT_TRUE(WaitForEnd()) << Output().toStdString();

    const QStringList lines = Lines();
    ASSERT_EQ(lines.size(), 5) << Output().toStdString();
    EXPECT_EQ(lines[1], QStringLiteral("Name? Ada"));
    EXPECT_EQ(lines[2], QStringLiteral("Hello, Ada one|two words"));
    EXPECT_EQ(lines[3], QStringLiteral("to the error stream"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Finished with exit code 3 after \\d+\\.\\d\\d s\\.$"))
                    .match(lines[4])
                    .hasMatch())
        << lines[4].toStdString();
    EXPECT_FALSE(Pane()->StopButton()->isEnabled());
    EXPECT_FALSE(Pane()->InputField()->isEnabled());
    // Standard error in the error colour, standard output not.
    EXPECT_GT(RedPixels(Block(lines[3])), 5);
    EXPECT_EQ(RedPixels(Block(lines[2])), 0);
    EXPECT_TRUE(services.Messages().isEmpty()) << services.Messages().join(u'|').toStdString();
}

TEST_F(JavaProgramsTest, AStackTraceLineOfTheProgramOpensItsFileAtTheLine)
{
    const QString path = MakeFile(QStringLiteral("Boom.java"), "public class Boom {\n"
                                                               "    static int parse(String s) {\n"
                                                               "        return Integer.parseInt(s);\n"
                                                               "    }\n"
                                                               "    public static void main(String[] args) {\n"
                                                               "        parse(\"x\");\n"
                                                               "    }\n"
                                                               "}\n");
    Open(path);
    Item("ToolItemsJavaRunProgram")->trigger();
    ASSERT_TRUE(WaitForEnd()) << Output().toStdString();
    EXPECT_TRUE(Output().contains(QStringLiteral("Finished with exit code 1 after"))) << Output().toStdString();
    const QTextBlock frame = Block(QStringLiteral("\tat Boom.parse(Boom.java:3)"));
    ASSERT_TRUE(frame.isValid());
    // The platform's own frames are no links.
    for (QTextBlock block = Pane()->Text()->document()->begin(); block.isValid(); block = block.next()) {
        if (block.text().contains(QStringLiteral("java.base/"))) {
            EXPECT_NE(block.userState(), frame.userState()) << block.text().toStdString();
        }
    }

    // From another document, a click on the frame brings the file back at
    // that line.
    QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
    ASSERT_NE(form->ActiveDocument()->FileName(), path);
    QPlainTextEdit* text = Pane()->Text();
    QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, text->cursorRect(QTextCursor(frame)).center() + QPoint(20, 0));
    EXPECT_EQ(form->ActiveDocument()->FileName(), path);
    EXPECT_EQ(form->ActiveDocument()->CaretLine(), 2);
}

TEST_F(JavaProgramsTest, ACompiledPackageRunsFromItsRootFolder)
{
    // Main needs Helper, which only the compiled package has: the launcher's
    // source mode, run from Main's folder, could not find it.
    const QString root = files.path();
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("app")));
    const QString main = MakeFile(QStringLiteral("app/Main.java"),
                                  "package app;\n"
                                  "public class Main {\n"
                                  "    public static void main(String[] args) {\n"
                                  "        System.out.println(Helper.greeting());\n"
                                  "    }\n"
                                  "}\n");
    const QString helper = MakeFile(QStringLiteral("app/Helper.java"),
                                    "package app;\n"
                                    "class Helper {\n"
                                    "    static String greeting() { return \"from the package\"; }\n"
                                    "}\n");
    QProcess compiler;
    compiler.start(javac, {QStringLiteral("-d"), root, main, helper});
    ASSERT_TRUE(compiler.waitForFinished(kRunTimeoutMs)) << compiler.errorString().toStdString();
    ASSERT_EQ(compiler.exitCode(), 0) << compiler.readAllStandardError().toStdString();

    Open(main);
    RunProgram();
    ASSERT_TRUE(WaitForEnd()) << Output().toStdString();
    const QStringList lines = Lines();
    EXPECT_EQ(lines.value(0), QDir::toNativeSeparators(root + QStringLiteral("/app")) + QStringLiteral("> ")
                                  + Launcher() + QStringLiteral(" -cp ") + QDir::toNativeSeparators(root)
                                  + QStringLiteral(" app.Main"));
    EXPECT_EQ(lines.value(1), QStringLiteral("from the package"));
    EXPECT_TRUE(lines.value(2).startsWith(QStringLiteral("Finished with exit code 0 after"))) << Output().toStdString();
}

TEST_F(JavaProgramsTest, StopEndsANeverEndingProgramAndItsChildrenAndTheWindowStaysLive)
{
    const QString path = MakeFile(QStringLiteral("Forever.java"),
                                  "public class Forever {\n"
                                  "    public static void main(String[] args) throws Exception {\n"
                                  "        Process child = new ProcessBuilder(\"sleep\", \"600\").start();\n"
                                  "        System.out.println(ProcessHandle.current().pid() + \" \" + child.pid());\n"
                                  "        System.out.flush();\n"
                                  "        Thread.sleep(Long.MAX_VALUE);\n"
                                  "    }\n"
                                  "}\n");
    Open(path);
    RunProgram();
    static const QRegularExpression pids(QStringLiteral("^(\\d+) (\\d+)$"));
    QRegularExpressionMatch match;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (match = pids.match(Lines().value(1))).hasMatch(); }, kRunTimeoutMs));
    const QStringList processes = {match.captured(1), match.captured(2)};
    auto gone = [](const QString& pid) {
        // Gone, or only waiting to be reaped.
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return true;
        const QByteArray text = stat.readAll();
        return text.mid(text.lastIndexOf(')') + 2, 1) == "Z";
    };
    for (const QString& pid : processes)
        ASSERT_FALSE(gone(pid)) << pid.toStdString();

    // The window goes on while the program sleeps: typing reaches the
    // document at once.
    form->TarnelEditor()->setFocus();
    QTest::keyClicks(form->TarnelEditor(), QStringLiteral("typed"));
    EXPECT_TRUE(form->ActiveDocument()->LineText(0).startsWith("typed"));
    EXPECT_TRUE(Pane()->Running());

    // Closing asks first; No keeps the window and the program.
    services.ClearCalls();
    services.AnswerNext(TServices::anNo);
    form->ActiveDocument()->SetModified(false);
    EXPECT_FALSE(form->close());
    ASSERT_EQ(services.Questions().size(), 1);
    EXPECT_TRUE(services.Questions()[0].contains(QStringLiteral("is still running")));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(Pane()->Running());

    QTest::mouseClick(Pane()->StopButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitForEnd()) << Output().toStdString();
    EXPECT_TRUE(Lines().last().startsWith(QStringLiteral("Stopped after"))) << Output().toStdString();
    for (const QString& pid : processes)
        ASSERT_TRUE(QTest::qWaitFor([&] { return gone(pid); }, kRunTimeoutMs));
    // Nothing runs now: closing asks nothing more.
    services.ClearCalls();
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(services.Questions().isEmpty());
}

} // namespace
