// Find in Files' engine over a real folder: what it reads and how, what it
// skips and why, open documents searched in their own text, cancelling, and
// the replacing of a file that changed since, or did not.

#include "common/unreadablefile.h"
#include "filereplace.h"
#include "filesearch.h"
#include "memosource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <map>
#include <mutex>

#include <gtest/gtest.h>

namespace {

using namespace FileSearch;

class FileSearchTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(root.isValid()); }

    QString Path(const QString& name) const { return root.filePath(name); }

    void Write(const QString& name, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(Path(name)).absolutePath());
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray Read(const QString& name)
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    TRequest Request(const char* text, const QStringList& masks = {})
    {
        TRequest request;
        request.options.textToFind = QString::fromUtf8(text);
        request.folder = root.path();
        request.masks = masks;
        for (char c : QByteArray(" .,;()<>=\"'"))
            request.delimiters.Add(uchar(c));
        return request;
    }

    // Runs a search to its end and keeps what it reported, files by path.
    bool Run(TRequest request, QString* error = nullptr)
    {
        TEvents events;
        events.onFile = [this](TFileHits&& hits) {
            std::lock_guard lock(mutex);
            found[QDir(root.path()).relativeFilePath(hits.path)] = std::move(hits);
        };
        events.onSkipped = [this](TSkipped&& skip) {
            std::lock_guard lock(mutex);
            skipped[QDir(root.path()).relativeFilePath(skip.path)] = skip;
        };
        events.onFinished = [this](const TTotals& all) {
            std::lock_guard lock(mutex);
            totals = all;
            ++finished;
        };
        TSearch search;
        if (!search.Start(std::move(request), std::move(events), error))
            return false;
        search.Wait();
        return true;
    }

    QTemporaryDir root;
    std::mutex mutex;
    std::map<QString, TFileHits> found;
    std::map<QString, TSkipped> skipped;
    TTotals totals;
    int finished = 0;
};

TEST_F(FileSearchTest, EveryFileIsSearchedAsLoadingReadsItOrSkippedWithItsReason)
{
    Write("A.java", "class A {\n\tString s; // string\n}\n");
    Write("web/page.jsp", "<%@ page pageEncoding=\"windows-1252\" %>\n<p>caf\xe9 String</p>\n");
    Write("web/deep/notes.txt", "\xef\xbb\xbfna\xc3\xafve String\r\nString\r\n");
    Write("web/readme.md", "String, but not a masked file\n");
    Write(".git/config.txt", "String in a folder of version control\n");
    Write("binary.txt", QByteArray("String\0", 7));
    Write("open.java", "nothing on disk\n");
    {
        QFile big(Path("big.txt"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(kMaxFileSize + 1));
    }
    ASSERT_TRUE(MakeUnreadableFile(Path("locked.txt")));

    TMemoSource open;
    ASSERT_TRUE(open.LoadFromFile(Path("open.java")));
    open.InsertString("String unsaved ");
    TRequest request = Request("string", {"*.java", "*.JSP", "*.txt"});
    request.openTexts.push_back({Path("open.java"), open.Snapshot(), open.Encoding(), 7});
    ASSERT_TRUE(Run(std::move(request)));

    struct Row {
        QString file;
        int line;
        QString shown;
        std::vector<std::pair<int, int>> marks;
        TTextEncoding encoding;
    };
    const std::vector<Row> rows = {
        {"A.java", 1, "String s; // string", {{0, 6}, {13, 6}}, teWindows1252},
        {"web/page.jsp", 1, "<p>caf\u00e9 String</p>", {{8, 6}}, teWindows1252},
        {"web/deep/notes.txt", 0, "na\u00efve String", {{6, 6}}, teUtf8},
        {"web/deep/notes.txt", 1, "String", {{0, 6}}, teUtf8},
        {"open.java", 0, "String unsaved nothing on disk", {{0, 6}}, teWindows1252},
    };
    std::map<QString, int> lineOf;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file.toStdString());
        ASSERT_TRUE(found.count(row.file));
        const TFileHits& hits = found[row.file];
        EXPECT_EQ(hits.encoding, row.encoding);
        const TLine& line = hits.lines.at(size_t(lineOf[row.file]++));
        EXPECT_EQ(line.line, row.line);
        EXPECT_EQ(line.shown, row.shown);
        std::vector<std::pair<int, int>> marks;
        for (const TMatch& match : line.matches)
            marks.emplace_back(match.shownStart, match.shownLength);
        EXPECT_EQ(marks, row.marks);
    }
    EXPECT_EQ(found.size(), 4u);
    EXPECT_EQ(found["open.java"].openTag, 7u);
    EXPECT_EQ(found["A.java"].openTag, 0u);

    std::map<QString, TSkipReason> reasons;
    for (const auto& [file, skip] : skipped)
        reasons[file] = skip.reason;
    EXPECT_EQ(reasons, (std::map<QString, TSkipReason>{{"big.txt", TSkipReason::TooLarge},
                                                       {"binary.txt", TSkipReason::Binary},
                                                       {"locked.txt", TSkipReason::Unreadable}}));
    EXPECT_FALSE(skipped["locked.txt"].detail.isEmpty());
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(totals.searched, 4);
    EXPECT_EQ(totals.matched, 4);
    EXPECT_EQ(totals.skipped, 3);
    EXPECT_EQ(totals.matches, 6);
    EXPECT_FALSE(totals.cancelled);
}

TEST_F(FileSearchTest, WithoutSubfoldersOnlyTheFolderItselfIsSearched)
{
    Write("top.txt", "word\n");
    Write("sub/below.txt", "word\n");
    TRequest request = Request("word");
    request.subfolders = false;
    ASSERT_TRUE(Run(std::move(request)));
    EXPECT_EQ(found.size(), 1u);
    EXPECT_TRUE(found.count("top.txt"));
}

TEST_F(FileSearchTest, ALongLineIsShownAroundItsMatch)
{
    Write("long.txt", QByteArray(1000, 'a') + " needle " + QByteArray(1000, 'b') + "\n");
    ASSERT_TRUE(Run(Request("needle")));
    const TLine& line = found["long.txt"].lines.at(0);
    EXPECT_LE(line.shown.size(), kShownLength + 2);
    EXPECT_TRUE(line.shown.startsWith(u'\u2026'));
    EXPECT_TRUE(line.shown.endsWith(u'\u2026'));
    EXPECT_EQ(line.shown.mid(line.matches[0].shownStart, line.matches[0].shownLength), "needle");
    EXPECT_EQ(line.matches[0].start, 1001);
}

TEST_F(FileSearchTest, ACancelledSearchEndsAndSaysSo)
{
    for (int i = 0; i < 400; ++i)
        Write(QStringLiteral("f%1.txt").arg(i), QByteArray(20000, 'x') + "word\n");
    TEvents events;
    std::atomic<int> ended{0};
    TTotals last;
    events.onFinished = [&](const TTotals& all) {
        last = all;
        ++ended;
    };
    TSearch search;
    ASSERT_TRUE(search.Start(Request("word"), events, nullptr));
    search.Cancel();
    search.Wait();
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(last.cancelled);
    EXPECT_FALSE(search.Running());
}

TEST_F(FileSearchTest, ASearchThatCannotStartSaysWhy)
{
    QString error;
    TRequest request = Request("(unclosed");
    request.options.regularExpressions = true;
    EXPECT_FALSE(Run(request, &error));
    EXPECT_TRUE(error.startsWith("(unclosed is invalid mask at")) << error.toStdString();
    request = Request("x");
    request.folder = Path("missing");
    EXPECT_FALSE(Run(request, &error));
    EXPECT_EQ(error, QStringLiteral("The folder \"%1\" does not exist.").arg(QDir::toNativeSeparators(Path("missing"))));
    EXPECT_FALSE(Run(Request(""), &error));
    EXPECT_EQ(finished, 0);
}

TEST_F(FileSearchTest, NameMasks)
{
    const std::vector<std::tuple<QString, QString, bool>> rows = {
        {"*.java", "Main.java", true},   {"*.java", "Main.JAVA", true},   {"*.java", "Main.javax", false},
        {"*.htm?", "a.html", true},      {"*.htm?", "a.htm", false},      {"page?.jsp", "page1.jsp", true},
        {"*", "anything", true},         {"", "anything", true},          {"*.txt; *.bat ;", "run.BAT", true},
        {"read*", "readme.md", true},    {"read*", "unread.md", false},
    };
    for (const auto& [masks, name, fits] : rows)
        EXPECT_EQ(TNameMasks(SplitMasks(masks)).Fits(name), fits) << masks.toStdString() << " " << name.toStdString();
}

TEST_F(FileSearchTest, ReplacingWritesOnlyAFileThatDidNotChangeSinceTheSearch)
{
    Write("a.txt", "\xef\xbb\xbfkeep old\r\nold old\r\n");
    Write("b.txt", "old\n");
    TRequest request = Request("(o)ld");
    request.options.regularExpressions = true;
    request.options.replaceText = QStringLiteral("n\\1w");
    request.replacing = true;
    ASSERT_TRUE(Run(std::move(request)));
    auto editsOf = [&](const QString& file) {
        std::vector<FileReplace::TEdit> edits;
        for (const TLine& line : found[file].lines)
            for (const TMatch& match : line.matches)
                edits.push_back({line.line, match.start, match.length, match.replacement});
        return edits;
    };
    const TFileHits a = found["a.txt"];
    const TFileHits b = found["b.txt"];
    ASSERT_EQ(editsOf("a.txt").size(), 3u);
    EXPECT_EQ(editsOf("a.txt")[0].text, "now");

    QString error;
    EXPECT_EQ(FileReplace::Apply(a.path, a.size, a.fingerprint, editsOf("a.txt"), QString(), &error),
              FileReplace::TOutcome::Written);
    EXPECT_EQ(Read("a.txt"), "\xef\xbb\xbfkeep now\r\nnow now\r\n");

    // A file without write permission is not written, even by root.
    QFile::setPermissions(b.path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    EXPECT_EQ(FileReplace::Apply(b.path, b.size, b.fingerprint, editsOf("b.txt"), QString(), &error),
              FileReplace::TOutcome::Failed);
    EXPECT_EQ(error, "it is read-only");
    EXPECT_EQ(Read("b.txt"), "old\n");
    QFile::setPermissions(b.path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    // Changed after the search, even to the same size: left as it is.
    Write("b.txt", "odd\n");
    EXPECT_EQ(FileReplace::Apply(b.path, b.size, b.fingerprint, editsOf("b.txt"), QString(), &error),
              FileReplace::TOutcome::Changed);
    EXPECT_EQ(Read("b.txt"), "odd\n");
    QFile::remove(Path("b.txt"));
    EXPECT_EQ(FileReplace::Apply(b.path, b.size, b.fingerprint, editsOf("b.txt"), QString(), &error),
              FileReplace::TOutcome::Changed);
}

} // namespace
