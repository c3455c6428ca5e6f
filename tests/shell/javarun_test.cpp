// Run Java Program's choices on real files (no program is started): the
// package a source declares, compiled classes against source mode, where
// the launcher is found, and which output lines are links.

#include "javarun.h"
#include "outputlinks.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes, bool executable = false)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
    file.close();
    if (executable)
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
}

void setAge(const QString& path, int secondsAgo)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo), QFileDevice::FileModificationTime));
}

TEST(JavaRun, PackageNameIsTheFirstTokenAfterBlanksAndComments)
{
    const struct {
        const char* source;
        const char* package;
    } rows[] = {
        {"package app;\nclass A {}\n", "app"},
        {"\xEF\xBB\xBF// header\r\n/* a\n * b */ package a.b . c ; class X {}", "a.b.c"},
        {"/** doc */\npackage/* here */app.sub;", "app.sub"},
        {"import java.util.List;\npackage a;\n", ""},
        {"packaged x;", ""},
        {"package a..b;", ""},
        {"package a.b", ""},
        {"package ;", ""},
        {"/* never closed package a;", ""},
        {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(JavaRun::PackageName(row.source), QString::fromUtf8(row.package)) << row.source;
}

TEST(JavaRun, CompiledClassesRunFromTheirRootOnlyWhenNotOlderThanTheSource)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    // source, its package line, its own class file's age against the
    // source's (0: none), and what runs.
    const struct {
        const char* source;
        const char* package;
        int classAge;
        QStringList arguments;
        const char* classRoot;
    } rows[] = {
        // Without a package the launcher compiles the file, even beside a
        // class compiled from it.
        {"Good.java", "", -10, {"Good.java"}, ""},
        {"app/Main.java", "app", -10, {"-cp", QDir::toNativeSeparators(root), "app.Main"}, ""},
        {"app/Old.java", "app", 10, {"Old.java"}, ""},
        {"app/Never.java", "app", 0, {"Never.java"}, ""},
        {"a/b/Deep.java", "a.b", -10, {"-cp", QDir::toNativeSeparators(root), "a.b.Deep"}, ""},
        // Folders that do not spell the package: no root to run from.
        {"other/Lost.java", "app", -10, {"Lost.java"}, "other"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.source);
        const QString path = dir.filePath(QString::fromLatin1(row.source));
        const QByteArray text = *row.package ? "package " + QByteArray(row.package) + ";\nclass X {}\n" : "class X {}\n";
        writeFile(path, text);
        setAge(path, 100);
        if (row.classAge != 0) {
            const QString compiled = path.chopped(5) + QStringLiteral(".class");
            writeFile(compiled, "\xCA\xFE\xBA\xBE");
            setAge(compiled, 100 + row.classAge);
        }
        const JavaRun::TCommand command = JavaRun::Command(path, text, {QStringLiteral("x"), QStringLiteral("two words")});
        EXPECT_EQ(command.arguments, row.arguments + QStringList({"x", "two words"}));
        EXPECT_EQ(command.folder, QFileInfo(path).absolutePath());
        EXPECT_EQ(command.classRoot, QDir::cleanPath(root + u'/' + QString::fromLatin1(row.classRoot)));
    }
}

TEST(JavaRun, TheLauncherBesideTheCompilerComesBeforeThePath)
{
    QTemporaryDir dir;
    const QString jdk = dir.filePath(QStringLiteral("jdk/bin/"));
    writeFile(jdk + QStringLiteral("javac"), "#!/bin/sh\n", true);
    writeFile(jdk + QStringLiteral("java"), "#!/bin/sh\n", true);
    const QString bare = dir.filePath(QStringLiteral("bare/"));
    writeFile(bare + QStringLiteral("javac"), "#!/bin/sh\n", true);
    const QString links = dir.filePath(QStringLiteral("links/"));
    ASSERT_TRUE(QDir().mkpath(links));
    ASSERT_TRUE(QFile::link(jdk + QStringLiteral("javac"), links + QStringLiteral("javac")));
    const QString path = dir.filePath(QStringLiteral("path/"));
    writeFile(path + QStringLiteral("java"), "#!/bin/sh\n", true);

    struct PathGuard {
        QByteArray old = qgetenv("PATH");
        ~PathGuard() { qputenv("PATH", old); }
    } guard;
    const struct {
        QString javac;
        QString path;
        QString found;
        QStringList lookedFor;
    } rows[] = {
        {jdk + "javac", path, jdk + "java", {jdk + "java"}},
        // A link to a compiler: beside the link, then beside its target.
        {links + "javac", QString(), jdk + "java", {links + "java", jdk + "java"}},
        {bare + "javac", path, path + "java", {bare + "java"}},
        {bare + "javac", QString(), QString(), {bare + "java"}},
        {QString(), path, path + "java", {}},
        {QString(), QString(), QString(), {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE((row.javac + u' ' + row.path).toStdString());
        qputenv("PATH", QFile::encodeName(row.path.isEmpty() ? dir.filePath(QStringLiteral("empty")) : row.path));
        QStringList lookedFor;
        EXPECT_EQ(JavaRun::FindLauncher(row.javac, lookedFor), row.found);
        EXPECT_EQ(lookedFor, row.lookedFor);
    }
}

TEST(OutputLinks, MessagesAndFramesOfTheUsersFilesAreLinks)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    writeFile(root + QStringLiteral("/app/Main.java"), "package app;\n");
    writeFile(root + QStringLiteral("/Flat.java"), "class Flat {}\n");
    writeFile(root + QStringLiteral("/app/Loose.java"), "package elsewhere;\n");
    const QString folder = root + QStringLiteral("/app");
    const struct {
        const char* line;
        QString path; // empty: not a link
        int number;
    } rows[] = {
        {"Main.java:12: error: ';' expected", root + "/app/Main.java", 12},
        {"/abs/Gone.java:3: warning: [deprecation]", "/abs/Gone.java", 3},
        {"\tat app.Main.run(Main.java:7)", root + "/app/Main.java", 7},
        {"\tat app//app.Main$Inner.lambda$run$0(Main.java:9)", root + "/app/Main.java", 9},
        {"\tat Flat.main(Flat.java:4)", root + "/Flat.java", 4},
        {"\tat elsewhere.Loose.go(Loose.java:2)", root + "/app/Loose.java", 2},
        {"\tat java.base/java.lang.Integer.parseInt(Integer.java:668)", QString(), 0},
        {"\tat jdk.compiler/com.sun.tools.javac.launcher.Main.execute(Main.java:419)", QString(), 0},
        {"\tat app.Gone.x(Gone.java:1)", QString(), 0},
        {"\tat app.Main.run(Native Method)", QString(), 0},
        {"Main.java:0: error: none", QString(), 0},
        {"error: compilation failed", QString(), 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        OutputLinks::TLocation location;
        const bool link = OutputLinks::Find(QString::fromLatin1(row.line), folder, {root}, location);
        EXPECT_EQ(link, !row.path.isEmpty()) << location.path.toStdString();
        if (link && !row.path.isEmpty()) {
            EXPECT_EQ(location.path, QDir::cleanPath(row.path));
            EXPECT_EQ(location.line, row.number);
        }
    }
}

} // namespace
