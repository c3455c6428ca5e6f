#include "processes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <signal.h>
#endif

namespace {

// A real program's run may take a while on a loaded machine.
constexpr int kRunTimeoutMs = 30000;

struct Heard {
    QByteArray output;
    QByteArray errors;
    int exitCode = -1;
    QString failure;
    int ends = 0;

    TServices::TProcessWatch Watch()
    {
        TServices::TProcessWatch watch;
        watch.OnOutput = [this](const QByteArray& bytes, bool error) { (error ? errors : output) += bytes; };
        watch.OnFinished = [this](int code, const QString& why) {
            exitCode = code;
            failure = why;
            ++ends;
        };
        return watch;
    }
};

QString writeScript(const QTemporaryDir& dir, const char* name, const QByteArray& text)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
}

#ifndef Q_OS_WIN
// Whether a process is gone (or only waits to be reaped).
bool ended(const QByteArray& pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(QString::fromLatin1(pid)));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close >= 0 && text.mid(close + 2, 1) == "Z";
}
#endif

TEST(Processes, ARunReportsItsStreamsInputAndEndLaterAndAFailedStartSaysWhy)
{
    QTemporaryDir dir;
    Heard heard;
    QString error;
#ifndef Q_OS_WIN
    const QString script = writeScript(dir, "two streams.bat", "read line\necho \"got $line\"\necho two >&2\npwd\nexit 3\n");
    const std::shared_ptr<TServices::TProcessRun> run = Processes::Run(script, {}, dir.path(), heard.Watch(), error);
    ASSERT_TRUE(run) << error.toStdString();
    EXPECT_TRUE(run->Running());
    EXPECT_TRUE(run->Write("one\n"));
    EXPECT_EQ(heard.ends, 0) << "nothing is reported from inside the call";
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard.ends == 1; }, kRunTimeoutMs)) << heard.ends;
    EXPECT_FALSE(run->Running());
    EXPECT_FALSE(run->Write("late\n"));
    EXPECT_EQ(heard.exitCode, 3);
    EXPECT_TRUE(heard.failure.isEmpty());
    EXPECT_EQ(heard.output, "got one\n" + QFile::encodeName(dir.path()) + '\n');
    EXPECT_EQ(heard.errors, "two\n");
#endif

    // A start does not pretend: a missing program, a missing script, a
    // folder.
    const QString missing = dir.filePath(QStringLiteral("none"));
    const int endsBefore = heard.ends;
    for (const QString& program : {missing, missing + QStringLiteral(".bat"), dir.path() + QStringLiteral("/.bat")}) {
        SCOPED_TRACE(program.toStdString());
        if (program.endsWith(QLatin1String("/.bat"))) {
            ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral(".bat")));
        }
        error.clear();
        EXPECT_EQ(Processes::Run(program, {}, QString(), heard.Watch(), error), nullptr);
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(heard.ends, endsBefore) << "a failed start reports no end";
}

#ifndef Q_OS_WIN
TEST(Processes, StopEndsTheProgramAndWhatItStarted)
{
    // The script leaves a child behind in the background and waits: both
    // must go, and the end is told as stopped, not as a crash.
    QTemporaryDir dir;
    const QString script = writeScript(dir, "forever.bat", "sleep 600 &\necho $!\nwait\n");
    Heard heard;
    QString error;
    const std::shared_ptr<TServices::TProcessRun> run = Processes::Run(script, {}, dir.path(), heard.Watch(), error);
    ASSERT_TRUE(run) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard.output.endsWith('\n'); }, kRunTimeoutMs));
    const QByteArray child = heard.output.trimmed();
    ASSERT_FALSE(ended(child));
    run->Stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return heard.ends == 1; }, kRunTimeoutMs)) << heard.ends;
    EXPECT_EQ(heard.failure, TServices::kStopped);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended(child); }, kRunTimeoutMs));
    run->Stop(); // a second Stop, after the end, does nothing
    EXPECT_EQ(heard.ends, 1);
}
#endif

} // namespace
