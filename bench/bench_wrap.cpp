// links: tarnel_view tarnel_syntax tarnel_platform Qt6::Test
// Word wrap on a 1,000,000-line, 50 MB Java file whose lines run up to 200
// characters, in a 1200 x 900 editor (the scroll bars as the application
// sets them while wrapping). Each step is timed to its painted frame (the
// repaint it asks for done):
//   - wrap switched on with the caret at the top;
//   - Ctrl+End to the last line, then Ctrl+Home back;
//   - the scroll bar's thumb dragged to the middle of the text;
//   - 1,000 characters typed at the end of a wrapped line in the middle,
//     each key a real key event with its repaint (median and 99th
//     percentile);
//   - the window resized between 1200 and 1000 pixels wide, 20 times
//     (median), which re-cuts every row.
// Done twice: as plain text, and highlighted by the "Java" scheme with the
// attributes of the whole text computed first (the parser's own one-time
// cost, which a first jump to the end pays in any case, is printed apart).

#include "benchutil.h"
#include "benchwindow.h"
#include "builtinschemes.h"
#include "dcmemo.h"
#include "memosource.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size())))];
}

// Java-like lines, 50 bytes a line on average: one line in seven is a long
// one of 150 to 200 characters (code with a comment behind it), longer than
// a row of the window.
QByteArray javaWithLongLines(int lines)
{
    static const char* const kShort[] = {
        "    /**",
        "     * Returns the value computed from the input.",
        "     */",
        "    public int compute(int input, String name) {",
        "        int result = input * 31 + name.hashCode();",
        "        if (result > 0x7FFF) {",
        "            result -= 1.5e3 > input ? 42 : 17;",
        "        }",
        "        return result;",
        "    }",
        "",
        "    private static final long LIMIT = 100000L;",
        "    protected java.util.List<String> names;",
    };
    static const char* const kCode[] = {
        "        String message = \"value of \" + name + \" is \" + result + \" units\";",
        "        System.out.println(String.format(\"%s: %d of %d\", name, result, LIMIT));",
        "",
        "        if (cache.containsKey(name) && cache.get(name) != result && names.size() < LIMIT) { log(name); }",
    };
    static const int kLength[] = {150, 170, 185, 200};
    static const QByteArray kWords =
        " // when the cache already holds the name, the computed value is checked against the one kept there, and"
        " a difference is reported to the log with both values, the name of the caller and the time of the check";
    QByteArray longLines[4];
    for (int i = 0; i < 4; ++i)
        longLines[i] = (QByteArray(kCode[i]) + kWords).left(kLength[i]);
    QByteArray text;
    text.reserve(qsizetype(lines) * 51);
    int shortIndex = 0;
    int longIndex = 0;
    for (int i = 0; i < lines; ++i) {
        if (i % 7 == 6)
            text += longLines[longIndex++ % 4];
        else
            text += kShort[shortIndex++ % 13];
        text += '\n';
    }
    return text;
}

// Milliseconds of one step up to its painted frame: on the clock, and of the
// program's own thread (the machine may be busy with other work).
struct Times {
    double wall = 0;
    double cpu = 0;
};

// Runs step, then the repaint it asked for.
template <class Step>
Times frame(Step step)
{
    const double start = bench::Seconds();
    const double cpuStart = bench::ThreadSeconds();
    step();
    QApplication::processEvents();
    return {(bench::Seconds() - start) * 1000, (bench::ThreadSeconds() - cpuStart) * 1000};
}

void print(const char* name, const char* step, Times times)
{
    std::printf("wrap_%s_%s_ms %.3f\nwrap_%s_%s_cpu_ms %.3f\n", name, step, times.wall, name, step, times.cpu);
}

// The median and the 99th percentile of many steps.
void printSeries(const char* name, const char* step, const std::vector<Times>& series)
{
    std::vector<double> wall, cpu;
    for (const Times& t : series) {
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
    }
    std::printf("wrap_%s_%s_median_ms %.4f\nwrap_%s_%s_p99_ms %.4f\n", name, step, percentile(wall, 0.5), name, step,
                percentile(wall, 0.99));
    std::printf("wrap_%s_%s_cpu_median_ms %.4f\nwrap_%s_%s_cpu_p99_ms %.4f\n", name, step, percentile(cpu, 0.5), name,
                step, percentile(cpu, 0.99));
}

void run(TDCMemo& memo, TMemoSource& source, const char* name)
{
    memo.SetMemoSource(&source);
    source.MoveCaretTo({0, 0});
    QApplication::processEvents();

    const Times wrapOn = frame([&] {
        memo.SetWordWrap(true);
        memo.SetScrollBars(ssVertical);
    });
    const int wrappedAtTop = memo.WordWrapper().WrappedLines();
    const Times toEnd = frame([&] { QTest::keyClick(&memo, Qt::Key_End, Qt::ControlModifier); });
    const int wrappedAtEnd = memo.WordWrapper().WrappedLines();
    const TTextPos end = source.Caret();
    const int endRow = memo.RowOfPosition(end);
    const bool endShown = end.line == source.LineCount() - 1 && endRow >= 0 && endRow < memo.VisibleRows();
    const Times toStart = frame([&] { QTest::keyClick(&memo, Qt::Key_Home, Qt::ControlModifier); });

    QScrollBar* bar = memo.verticalScrollBar();
    const Times thumb = frame([&] {
        bar->setSliderDown(true);
        bar->setSliderPosition(bar->maximum() / 2);
    });
    bar->setSliderDown(false);
    const int thumbLine = memo.TopLine();
    const int wrappedAtMiddle = memo.WordWrapper().WrappedLines();

    // A long (wrapped) line in the middle, typed at its end.
    int line = source.LineCount() / 2;
    while (memo.RowsOfLine(line) < 2)
        ++line;
    source.MoveCaretTo({line, source.LineLength(line)});
    QApplication::processEvents();
    static const char kTyped[] = "int total = count * 31 + (limit - 7); /* note */ result += \"text\"; ";
    std::vector<Times> keys;
    keys.reserve(1000);
    for (int i = 0; i < 1000; ++i)
        keys.push_back(frame([&] { QTest::keyClick(&memo, kTyped[i % (sizeof(kTyped) - 1)]); }));

    // The first resizes to a size cost the toolkit the same with wrap on or
    // off (its window buffers): they are made, and shown, unwrapped first.
    memo.SetWordWrap(false);
    double firstResizes = 0;
    for (int i = 0; i < 4; ++i)
        firstResizes = std::max(firstResizes, frame([&] { memo.resize(i % 2 ? 1200 : 1000, 900); }).cpu);
    memo.SetWordWrap(true);
    QApplication::processEvents();
    std::vector<Times> resizes;
    for (int i = 0; i < 20; ++i)
        resizes.push_back(frame([&] { memo.resize(i % 2 ? 1200 : 1000, 900); }));

    print(name, "on", wrapOn);
    print(name, "ctrl_end", toEnd);
    print(name, "ctrl_home", toStart);
    print(name, "thumb_middle", thumb);
    printSeries(name, "key", keys);
    printSeries(name, "resize", resizes);
    std::printf("wrap_%s_unwrapped_first_resize_cpu_ms %.3f\n", name, firstResizes);
    // How little the lazy wrap wrapped: after wrap on, after Ctrl+End and
    // after the thumb's jump to the middle.
    std::printf("wrap_%s_wrapped_lines_top %d\n", name, wrappedAtTop);
    std::printf("wrap_%s_wrapped_lines_end %d\n", name, wrappedAtEnd);
    std::printf("wrap_%s_wrapped_lines_middle %d\n", name, wrappedAtMiddle);
    std::printf("wrap_%s_end_line_shown %d\n", name, endShown ? 1 : 0);
    std::printf("wrap_%s_thumb_line %d\n", name, thumbLine);
    std::printf("wrap_%s_extra_rows_per_line %.4f\n", name, memo.WordWrapper().ExtraRowsPerLine());

    memo.SetWordWrap(false);
    memo.SetScrollBars(ssBoth);
    memo.resize(1200, 900);
    memo.SetMemoSource(nullptr);
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

    const QByteArray text = javaWithLongLines(1'000'000);
    {
        TMemoSource source;
        source.SetTextStr(text);
        std::printf("wrap_file_lines %d\nwrap_file_mb %.1f\nwrap_longest_line %d\n", source.LineCount(),
                    double(text.size()) / 1e6, source.LongestLineLength());
        run(memo, source, "plain");
    }
    {
        TMemoSource source;
        source.SetTextStr(text);
        source.SetSyntaxParser(parser);
        const double start = bench::Seconds();
        source.ParseTo(source.LineCount() - 1);
        std::printf("wrap_java_parse_all_ms %.1f\n", (bench::Seconds() - start) * 1000);
        run(memo, source, "java");
        source.SetSyntaxParser(nullptr);
    }
    delete parser;
    SetServices(nullptr);
    return 0;
}
