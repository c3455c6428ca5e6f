// links: tarnel_view tarnel_syntax tarnel_platform Qt6::Test
// Searching a large file. Find: a 1,000,000-line, 50 MB Java-like file
// whose only match is on its last line, searched from the top as the Find
// dialog starts it (plain text without and with case, and regular
// expressions that begin with a literal, hold one further on, and hold
// none, the last also starting with any letter), in MB/s of the file. Search Again: F3 pressed 1,000 times in a 1200 x 900
// editor showing a highlighted 1,000,000-line file with a match every 100
// lines, each key sent as a real key event to the focused control; the
// median milliseconds of the key's own handling (search, caret, scrolling)
// and of the key with the repaint it asks for.

#include "benchutil.h"
#include "benchwindow.h"
#include "builtinschemes.h"
#include "dcmemo.h"
#include "memosource.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The first count lines of the generated Java text, indented two more
// columns (which makes a million of them 50 MB); every line whose index is
// a multiple of every (when every > 0) ends in a comment with the needle,
// and so does the last one when last is set.
QByteArray javaLines(int count, int every, bool last)
{
    const QList<QByteArray> source = bench::JavaText(qint64(count) * 52).split('\n');
    QByteArray text;
    text.reserve(qsizetype(count) * 56);
    for (int i = 0; i < count; ++i) {
        text += "  ";
        text += source[i % (source.size() - 1)];
        if ((every > 0 && i % every == 0) || (last && i == count - 1))
            text += " // Needle42";
        text += '\n';
    }
    return text;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool find(const char* name, TMemoSource& source, const char* text, bool regular, bool caseSensitive, double bytes)
{
    TSearchOptions options;
    options.textToFind = QString::fromLatin1(text);
    options.regularExpressions = regular;
    options.caseSensitive = caseSensitive;
    source.MoveCaretTo({0, 0});
    const double start = bench::Seconds();
    const bool found = source.FindText(options);
    const double seconds = bench::Seconds() - start;
    if (!found || source.CaretLine() < source.LineCount() - 2 || !source.LineText(source.CaretLine()).contains("Needle42")) {
        std::fprintf(stderr, "%s: the match on the last line was not found\n", name);
        return false;
    }
    std::printf("%s_mb_s %.0f\n", name, bytes / 1e6 / seconds);
    return true;
}

bool findInLargeFile()
{
    const QString path = QDir::temp().filePath(QStringLiteral("tarnel-bench-search-50mb.java"));
    if (!bench::EnsureFile(path, javaLines(1'000'000, 0, true)))
        return false;
    TMemoSource source;
    QString error;
    if (!source.LoadFromFile(path, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    const double bytes = double(QFileInfo(path).size());
    std::printf("find_file_mb %.1f\n", bytes / 1e6);
    return find("find_plain", source, "needle42", false, false, bytes) &&
           find("find_plain_case", source, "Needle42", false, true, bytes) &&
           find("find_regex", source, "needle[0-9]+", true, false, bytes) &&
           find("find_regex_inner_literal", source, "[a-z]eedle[0-9]+", true, false, bytes) &&
           find("find_regex_no_literal", source, "[n][e][e][d][l][e][0-9]+", true, false, bytes) &&
           find("find_regex_no_literal_any_letter", source, "[a-z][e][e][d][l][e][0-9]+", true, false, bytes);
}

void searchAgain(TDCMemo& memo, const char* name, const char* text, bool regular)
{
    TCustomMemoSource& source = *memo.MemoSource();
    TSearchOptions& options = TSearchOptions::Global();
    options = TSearchOptions();
    options.textToFind = QString::fromLatin1(text);
    options.regularExpressions = regular;
    source.MoveCaretTo({0, 0});
    QApplication::processEvents();
    std::vector<double> handling, times;
    for (int i = 0; i < 1000; ++i) {
        const double start = bench::Seconds();
        QTest::keyClick(&memo, Qt::Key_F3);
        handling.push_back((bench::Seconds() - start) * 1000);
        QApplication::processEvents();
        times.push_back((bench::Seconds() - start) * 1000);
    }
    // The first press finds line 1's match, the last one line 99,901's.
    if (source.CaretLine() != 99'900)
        std::fprintf(stderr, "%s: F3 stopped on line %d\n", name, source.CaretLine() + 1);
    std::printf("%s_handling_ms %.4f\n", name, median(handling));
    std::printf("%s_with_repaint_ms %.4f\n", name, median(times));
}

} // namespace

int main(int argc, char* argv[])
{
    bench::TWindowApp app(argc, argv);

    if (!findInLargeFile())
        return 1;

    TSyntaxParser* parser = bench::JavaParser();
    if (!parser)
        return 1;
    TMemoSource source;
    source.SetTextStr(javaLines(1'000'000, 100, false));
    source.SetSyntaxParser(parser);
    TDCMemo memo;
    memo.ApplyApplicationDefaults();
    memo.resize(1200, 900);
    memo.SetMemoSource(&source);
    memo.show();
    if (!QTest::qWaitForWindowExposed(&memo))
        return 1;
    memo.activateWindow();
    memo.setFocus();
    searchAgain(memo, "search_again", "needle42", false);
    searchAgain(memo, "search_again_regex", "needle[0-9]+", true);

    memo.SetMemoSource(nullptr);
    source.SetSyntaxParser(nullptr);
    delete parser;
    SetServices(nullptr);
    return 0;
}
