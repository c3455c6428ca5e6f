// links: tarnel_view tarnel_syntax tarnel_platform Qt6::Test
// Folding and matching on a highlighted 1,000,000-line Java file in a 1200 x
// 900 editor showing its fold column: establishing every line's state (what
// Fold All needs first, on a fresh file), Fold All and Unfold All each until
// the editor has repainted, with the states known; and the partner of a
// brace 10,000 lines away found at the caret (the store's look-up alone, and
// the caret move with the repaint that shows both), from the opening brace
// and back from the closing one; and 1,000 keys typed into the middle of
// the text with the fold column shown, each with its repaint (median and
// 99th percentile). Milliseconds, median of the repeats.

#include "benchutil.h"
#include "benchwindow.h"
#include "dcmemo.h"
#include "memosource.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A Java text of lines lines with one class of 10,000 lines in its middle;
// the lines of that class's braces go to open and close.
QByteArray textWithBigClass(int lines, int& open, int& close)
{
    const QByteArray body = bench::JavaText(qint64(lines) * 60);
    const QList<QByteArray> all = body.split('\n');
    QByteArray text;
    int line = 0;
    for (const QByteArray& row : all) {
        if (line == lines / 2) {
            open = line;
            text += "public class Big {\n";
            ++line;
            // Methods of 18 lines, then plain lines up to 10,000.
            for (int i = 0; i < 10'000 - 2; ++i, ++line) {
                const bool method = i < 9'990;
                text += method && i % 18 == 17 ? "    }\n" : method && i % 18 == 0 ? "    void f() {\n" : "        work(i);\n";
            }
            close = line;
            text += "}\n";
            ++line;
        }
        if (line >= lines)
            break;
        // Only whole classes of the generated text, so that braces balance.
        text += row + '\n';
        ++line;
    }
    return text;
}

void paint()
{
    QApplication::processEvents();
}

} // namespace

int main(int argc, char* argv[])
{
    bench::TWindowApp app(argc, argv);
    TSyntaxParser* parser = bench::JavaParser();
    if (!parser)
        return 1;
    TDCMemo memo;
    if (!bench::ShowEditor(memo))
        return 1;
    memo.SetOptions(memo.Options() | moHideInvisibleLines);

    int open = 0;
    int close = 0;
    TMemoSource source;
    source.SetTextStr(textWithBigClass(1'000'000, open, close));
    source.SetSyntaxParser(parser);
    memo.SetMemoSource(&source);
    paint();

    double start = bench::Seconds();
    source.ParseTo(source.LineCount() - 1);
    std::printf("fold_states_all_lines_ms %.1f\n", (bench::Seconds() - start) * 1000);

    std::vector<double> folds, unfolds;
    for (int i = 0; i < 5; ++i) {
        start = bench::Seconds();
        source.FoldAll();
        paint();
        folds.push_back((bench::Seconds() - start) * 1000);
        start = bench::Seconds();
        source.UnfoldAll();
        paint();
        unfolds.push_back((bench::Seconds() - start) * 1000);
    }
    std::printf("fold_all_ms %.1f\n", median(folds));
    std::printf("unfold_all_ms %.1f\n", median(unfolds));
    std::printf("fold_all_folds %zu\n", [&] {
        source.FoldAll();
        const size_t count = source.Folds().Folds().size();
        source.UnfoldAll();
        return count;
    }());

    // The partner of the big class's braces, 10,000 lines apart.
    const int openColumn = source.LineLength(open) - 1;
    std::vector<double> lookups, moves;
    for (int i = 0; i < 50; ++i) {
        for (const TTextPos at : {TTextPos{open, openColumn}, TTextPos{close, 0}}) {
            start = bench::Seconds();
            const TStructureMatch match = source.MatchAt(at);
            lookups.push_back((bench::Seconds() - start) * 1000);
            if (match.result != TStructureMatch::mrMatched)
                std::fprintf(stderr, "no partner found at line %d\n", at.line);
            source.SetCaret({at.line + 2, 0});
            paint();
            start = bench::Seconds();
            source.SetCaret(at);
            paint();
            moves.push_back((bench::Seconds() - start) * 1000);
        }
    }
    std::printf("match_10000_lines_lookup_ms %.3f\n", median(lookups));
    std::printf("match_10000_lines_caret_move_ms %.3f\n", median(moves));

    // Typing with the fold column shown, a line in the middle of the text.
    const int middle = source.LineCount() / 2 + 20'000;
    source.SetCaret({middle, source.LineLength(middle) / 2});
    paint();
    static const char kTyped[] = "int total = count * 31 + (limit - 7); /* note */ result += \"text\"; ";
    std::vector<double> keys;
    for (int i = 0; i < 1000; ++i) {
        start = bench::Seconds();
        QTest::keyClick(&memo, kTyped[i % (sizeof kTyped - 1)]);
        paint();
        keys.push_back((bench::Seconds() - start) * 1000);
    }
    std::sort(keys.begin(), keys.end());
    std::printf("keystroke_fold_column_median_ms %.4f\n", keys[keys.size() / 2]);
    std::printf("keystroke_fold_column_p99_ms %.4f\n", keys[keys.size() * 99 / 100]);

    memo.SetMemoSource(nullptr);
    source.SetSyntaxParser(nullptr);
    delete parser;
    SetServices(nullptr);
    return 0;
}
