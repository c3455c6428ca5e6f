#include "processes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(Processes, ARunReportsItsOutputAndEndLaterAndAFailedStartSaysWhy)
{
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("two lines.bat"));
    {
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("echo one\necho two >&2\npwd\nexit 3\n");
    }
    QByteArray output;
    int exitCode = -1;
    int ends = 0;
    TServices::TProcessWatch watch;
    watch.OnOutput = [&](const QByteArray& bytes) { output += bytes; };
    watch.OnFinished = [&](int code, const QString& failure) {
        exitCode = code;
        EXPECT_TRUE(failure.isEmpty());
        ++ends;
    };
    QString error;
#ifndef Q_OS_WIN
    ASSERT_TRUE(Processes::Run(script, {}, dir.path(), watch, error)) << error.toStdString();
    EXPECT_EQ(ends, 0) << "nothing is reported from inside the call";
    QTRY_COMPARE_WITH_TIMEOUT(ends, 1, 30000);
    EXPECT_EQ(exitCode, 3);
    EXPECT_EQ(output, "one\ntwo\n" + QFile::encodeName(dir.path()) + '\n');
#endif

    // Neither kind of start pretends: a missing program, a missing script,
    // a folder.
    const QString missing = dir.filePath(QStringLiteral("none"));
    for (const QString& program : {missing, missing + QStringLiteral(".bat"), dir.path() + QStringLiteral("/.bat")}) {
        SCOPED_TRACE(program.toStdString());
        if (program.endsWith(QLatin1String("/.bat"))) {
            ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral(".bat")));
        }
        error.clear();
        EXPECT_FALSE(Processes::Start(program, {}, error));
        EXPECT_FALSE(error.isEmpty());
        error.clear();
        EXPECT_FALSE(Processes::Run(program, {}, QString(), watch, error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(ends, 1);
}

} // namespace
