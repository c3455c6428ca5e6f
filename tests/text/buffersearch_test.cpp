// Searching a whole run of bytes (a file, a document's snapshot) finds what a
// line-by-line search finds, match for match, whatever the line ends and
// however the text is cut into pieces.

#include "buffersearch.h"
#include "linematcher.h"
#include "memosource.h"

#include <QByteArray>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace {

using THit = std::tuple<qint64, int, int>; // line, start, length

TCharSet Delimiters()
{
    TCharSet set;
    for (char c : QByteArray(" .,;:()[]{}<>=+-*/\"'\t"))
        set.Add(uchar(c));
    return set;
}

// The reference: the text cut into lines as loading cuts it, each searched
// on its own, every match taken as Search Again would take it.
std::vector<THit> LineByLine(const QByteArray& text, const TSearchOptions& options)
{
    TLineMatcher matcher;
    std::vector<THit> hits;
    if (!matcher.Prepare(options, Delimiters()))
        return hits;
    qint64 line = 0;
    for (qsizetype p = 0; p < text.size(); ++line) {
        qsizetype end = p;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r')
            ++end;
        const std::string_view view(text.constData() + p, size_t(end - p));
        matcher.SetLine(view, int(view.size()));
        TLineMatch match;
        int from = 0;
        bool skip = false;
        while (matcher.FindForward(from, skip, match)) {
            hits.emplace_back(line, match.start, match.length);
            from = match.End();
            skip = true;
        }
        if (end == text.size())
            break;
        p = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return hits;
}

TBufferSearch::TOnLine Collect(std::vector<THit>& hits)
{
    return [&hits](const TBufferSearch::TLineHits& found) {
        for (const TLineMatch& match : *found.matches)
            hits.emplace_back(found.line, match.start, match.length);
        return true;
    };
}

TSearchOptions Options(const char* text, bool caseSensitive, bool words, bool regular)
{
    TSearchOptions options;
    options.textToFind = QString::fromLatin1(text);
    options.caseSensitive = caseSensitive;
    options.wholeWordsOnly = words;
    options.regularExpressions = regular;
    return options;
}

TEST(BufferSearch, CountsLineEndsAsLoadingCutsLines)
{
    const std::vector<std::pair<QByteArray, qint64>> rows = {
        {"", 0},         {"a", 0},      {"a\n", 1},           {"a\r\n", 1},
        {"a\rb", 1},     {"\r\r\n", 2}, {"\n\r", 2},          {"\r", 1},
        {QByteArray(40, '\n') + "\r\n" + QByteArray(17, 'x') + '\r', 42},
    };
    for (const auto& [text, ends] : rows)
        EXPECT_EQ(TBufferSearch::CountLineEnds(text.constData(), text.constData() + text.size()), ends) << text.toStdString();
}

TEST(BufferSearch, RandomTextsMatchTheLineByLineSearch)
{
    const std::vector<TSearchOptions> searches = {
        Options("ab", false, false, false),    Options("Ab", true, false, false),
        Options("ab", false, true, false),     Options("a\\w+b", false, false, true),
        Options("[ab]+c", false, false, true), Options("b*", false, false, true),
        Options("^ab", false, false, true),    Options("ab$", false, true, true),
    };
    const char alphabet[] = "aAbBc .\t\r\n\n";
    std::mt19937 random(34);
    for (int round = 0; round < 300; ++round) {
        QByteArray text;
        const int length = int(random() % 200);
        for (int i = 0; i < length; ++i)
            text.append(alphabet[random() % (sizeof alphabet - 1)]);
        for (const TSearchOptions& options : searches) {
            SCOPED_TRACE(options.textToFind.toStdString() + " in \"" + text.toStdString() + "\"");
            TBufferSearch search;
            ASSERT_TRUE(search.Prepare(options, Delimiters(), teWindows1252));
            std::vector<THit> hits;
            EXPECT_TRUE(search.Search(text.constData(), text.size(), 0, Collect(hits)));
            EXPECT_EQ(hits, LineByLine(text, options));
        }
    }
}

TEST(BufferSearch, ADocumentCutIntoPiecesFindsWhatItsSavedTextHolds)
{
    // A loaded text edited in places is held in many pieces; lines and line
    // ends (a CR LF too) fall across them.
    std::mt19937 random(7);
    const TSearchOptions options = Options("needle", false, false, false);
    for (int round = 0; round < 40; ++round) {
        QByteArray text;
        for (int line = 0; line < 200; ++line)
            text += (random() % 3 == 0 ? "a needle here" : "hay stack") + QByteArray(random() % 2 ? "\r\n" : "\n");
        TMemoSource source;
        ASSERT_TRUE(source.SetTextStr(text));
        for (int edit = 0; edit < 12; ++edit) {
            source.MoveCaretTo({int(random() % 200), int(random() % 10)});
            source.InsertString(random() % 2 ? "needle" : "x");
        }
        const TTextSnapshot snapshot = source.Snapshot();
        ASSERT_GT(snapshot.PieceCount(), 1);
        TBufferSearch search;
        ASSERT_TRUE(search.Prepare(options, Delimiters(), teWindows1252));
        std::vector<THit> hits;
        EXPECT_TRUE(search.Search(snapshot, Collect(hits)));
        EXPECT_EQ(hits, LineByLine(snapshot.Bytes(), options)) << "round " << round;
    }
}

TEST(BufferSearch, StopsWhenAskedAndReportsItWasStopped)
{
    const QByteArray text = "x\nx\nx\n";
    TBufferSearch search;
    ASSERT_TRUE(search.Prepare(Options("x", false, false, false), Delimiters(), teWindows1252));
    int lines = 0;
    EXPECT_FALSE(search.Search(text.constData(), text.size(), 0, [&](const TBufferSearch::TLineHits&) {
        return ++lines < 2;
    }));
    EXPECT_EQ(lines, 2);
    std::atomic<bool> cancel{true};
    std::vector<THit> hits;
    EXPECT_FALSE(search.Search(text.constData(), text.size(), 0, Collect(hits), &cancel));
    EXPECT_TRUE(hits.empty());
}

} // namespace
