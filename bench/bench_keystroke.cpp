// links: tarnel_view tarnel_syntax tarnel_platform Qt6::Test
// Types into a highlighted Java file shown in a 1200 x 900 editor: 1,000
// characters into a line in the middle of the text and 1,000 at its end,
// each key sent as a real key event to the focused control and followed by
// the repaint it asks for. Done for a 1,000,000-line file and a 1,000-line
// file in the same run, and once more into the middle of a 1,000-line UTF-8
// document whose every line is 2,400 bytes of accented, Greek, CJK and emoji
// characters (so that every caret step, cell and paint goes through the
// character mapping). Prints the median and the 99th percentile of the
// milliseconds per keystroke, the median of the key's own handling (before
// the repaint), and the paints per keystroke.

#include "benchutil.h"
#include "benchwindow.h"
#include "builtinschemes.h"
#include "dcmemo.h"
#include "memosource.h"

#include <QApplication>
#include <QPaintEvent>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(p * double(values.size())));
    return values[index];
}

// The first count lines of a generated Java text.
QByteArray javaLines(int count)
{
    QByteArray text = bench::JavaText(qint64(count) * 64);
    int from = 0;
    for (int i = 0; i < count; ++i) {
        from = int(text.indexOf('\n', from)) + 1;
        if (from <= 0)
            break;
    }
    if (from > 0)
        text.truncate(from);
    return text;
}

// What the typing types: code, with a comment opened and closed on the way.
constexpr char kTyped[] = "int total = count * 31 + (limit - 7); /* note */ result += \"text\"; ";

// Types 1,000 characters at a place; the line grows far past the window's
// right edge, so the view scrolls along.
void typeAt(TDCMemo& memo, bench::TPaintCounter& counter, const char* name, int lines, TTextPos at)
{
    TCustomMemoSource& source = *memo.MemoSource();
    source.MoveCaretTo(at);
    QApplication::processEvents();
    const long paintsBefore = counter.paints;
    std::vector<double> times, handling;
    times.reserve(1000);
    handling.reserve(1000);
    for (int i = 0; i < 1000; ++i) {
        const char ch = kTyped[i % (sizeof(kTyped) - 1)];
        const double start = bench::Seconds();
        QTest::keyClick(&memo, ch);
        handling.push_back((bench::Seconds() - start) * 1000);
        // The repaint the key asked for.
        QApplication::processEvents();
        times.push_back((bench::Seconds() - start) * 1000);
    }
    std::printf("keystroke_%d_%s_median_ms %.4f\n", lines, name, percentile(times, 0.5));
    std::printf("keystroke_%d_%s_p99_ms %.4f\n", lines, name, percentile(times, 0.99));
    std::printf("keystroke_%d_%s_handling_ms %.4f\n", lines, name, percentile(handling, 0.5));
    std::printf("keystroke_%d_%s_paints %.2f\n", lines, name, double(counter.paints - paintsBefore) / 1000.0);
}

void run(TDCMemo& memo, bench::TPaintCounter& counter, TSyntaxParser* parser, int lines)
{
    TMemoSource source;
    source.SetTextStr(javaLines(lines));
    source.SetSyntaxParser(parser);
    memo.SetMemoSource(&source);
    QApplication::processEvents();
    const int middle = source.LineCount() / 2;
    typeAt(memo, counter, "middle", lines, {middle, source.LineLength(middle) / 2});
    const int last = source.LineCount() - 1;
    typeAt(memo, counter, "end", lines, {last, source.LineLength(last)});
    memo.SetMemoSource(nullptr);
    source.SetSyntaxParser(nullptr);
}

// A UTF-8 Java file whose lines are full of multi-byte characters.
void runUtf8(TDCMemo& memo, bench::TPaintCounter& counter, TSyntaxParser* parser)
{
    const QByteArray piece = "caf\xC3\xA9 \xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC "
                             "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x98\x80 e\xCC\x81 ";
    QByteArray line = "// ";
    while (line.size() < 2400)
        line += piece;
    QByteArray text;
    for (int i = 0; i < 1000; ++i)
        text += line + "\n";
    TMemoSource source;
    source.SetTextStr(text);
    source.SetEncoding(teUtf8);
    source.SetSyntaxParser(parser);
    memo.SetMemoSource(&source);
    QApplication::processEvents();
    // On a character start in the middle of the line.
    typeAt(memo, counter, "utf8_middle", 1000, {500, int(line.indexOf(piece, line.size() / 2))});
    memo.SetMemoSource(nullptr);
    source.SetSyntaxParser(nullptr);
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
    bench::TPaintCounter counter(memo.viewport());

    run(memo, counter, parser, 1'000'000);
    run(memo, counter, parser, 1'000);
    runUtf8(memo, counter, parser);

    delete parser;
    SetServices(nullptr);
    return 0;
}
