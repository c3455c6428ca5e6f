// links: tarnel_syntax tarnel_text
// First takes files of the kinds the open benchmark makes (Java, HTML, JSP,
// batch) through a fresh text store twice: once establishing the state of
// every line, as the store must before the last line of a file just read can
// be shown, and once line by line, every line's attributes asked for in
// order as a view scrolling through the whole text asks for them; it prints
// the rate of each ("bench_highlight KIND [BYTES]" does only the second,
// once, for a profiler; "bench_highlight store-KIND [BYTES]" only the first,
// and "bench_highlight store" only the first for every kind, best of
// rounds). Then highlights a generated 50 MB Java file, a 50 MB HTML page
// with JSP and a 50 MB page of nothing but nested script / style / JSP / EL
// switches through a text store (every line's attributes computed) and
// prints the rate of each, and the rate of the parser alone over the same
// lines. Times
// are the CPU time of this process (user and system), so that other work on
// a shared machine does not count. Then every line's attributes are asked
// for once, as a view scrolled through the whole text would, and the heap
// bytes the store holds at that point are printed per byte of text (the
// text, its lines, their states and whatever attributes are kept). Run it in
// a fresh process each time: bench/run.sh does.

#include "benchutil.h"
#include "builtinschemes.h"
#include "memosource.h"
#include "syntaxparser.h"

#include <QCoreApplication>

#include <malloc.h>

#include <cstdio>
#include <ctime>
#include <memory>
#include <string_view>
#include <vector>

namespace {

double CpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

// Heap bytes in use (blocks handed out, large mapped ones included).
double HeapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks) + double(info.hblkhd);
}

// Seconds to compute the attributes of every line of text; bytesPerByte
// gets the heap the store holds once every line was shown.
double Highlight(TBuiltInScheme scheme, const QByteArray& text, int& lines, double& bytesPerByte)
{
    QString error;
    std::unique_ptr<TSyntaxParser> parser(CreateBuiltInParser(scheme, nullptr, &error));
    if (!parser) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return -1;
    }
    const double heapBefore = HeapBytes();
    TMemoSource source;
    source.SetTextStr(text);
    source.SetSyntaxParser(parser.get());
    lines = source.LineCount();
    const double start = CpuSeconds();
    source.ParseTo(lines - 1);
    const double seconds = CpuSeconds() - start;
    if (source.ParsedUpTo() < lines) {
        std::fprintf(stderr, "only %d of %d lines parsed\n", source.ParsedUpTo(), lines);
        return -1;
    }
    qint64 shown = 0;
    for (int i = 0; i < lines; ++i) {
        int length = 0;
        if (source.LineAttributes(i, &length))
            shown += length;
    }
    if (shown <= 0)
        return -1;
    bytesPerByte = (HeapBytes() - heapBefore) / double(text.size());
    source.SetSyntaxParser(nullptr);
    return seconds;
}

// Seconds the parser alone takes over every line of text (no store).
double ParserOnly(TBuiltInScheme scheme, const QByteArray& text)
{
    std::unique_ptr<TSyntaxParser> parser(CreateBuiltInParser(scheme, nullptr));
    if (!parser)
        return -1;
    std::vector<uchar> attrs(4096);
    quint32 state = 0;
    const double start = CpuSeconds();
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype end = text.indexOf('\n', from);
        if (end < 0)
            end = text.size();
        const std::string_view line(text.constData() + from, size_t(end - from));
        if (line.size() > attrs.size())
            attrs.resize(line.size());
        state = parser->ParseLine(line, state, attrs.data());
        from = end + 1;
    }
    return CpuSeconds() - start;
}

// The best of rounds CPU times that step takes over a fresh store holding
// text with the scheme's parser set; -1 when step says it failed.
template <typename Step>
double BestOfFreshStores(TBuiltInScheme scheme, const QByteArray& text, int rounds, Step step)
{
    std::unique_ptr<TSyntaxParser> parser(CreateBuiltInParser(scheme, nullptr));
    if (!parser)
        return -1;
    double best = -1;
    for (int round = 0; round < rounds; ++round) {
        TMemoSource source;
        source.SetTextStr(text);
        source.SetSyntaxParser(parser.get());
        const double start = CpuSeconds();
        const bool done = step(source);
        const double seconds = CpuSeconds() - start;
        source.SetSyntaxParser(nullptr);
        if (!done)
            return -1;
        if (best < 0 || seconds < best)
            best = seconds;
    }
    return best;
}

// Seconds a fresh store takes to establish the state of every line of text
// (parsing up to the last line, as the store does when a view shows the end
// of a file just read); the best of rounds.
double Established(TBuiltInScheme scheme, const QByteArray& text, int rounds)
{
    return BestOfFreshStores(scheme, text, rounds, [](TMemoSource& source) {
        source.ParseTo(source.LineCount() - 1);
        return source.ParsedUpTo() >= source.LineCount();
    });
}

// Seconds to show every line of text in order, each line's attributes
// asked for as a view scrolling down through the whole text asks for them
// (the store parses a little ahead and keeps what is near the view); the
// best of rounds.
double Shown(TBuiltInScheme scheme, const QByteArray& text, int rounds)
{
    return BestOfFreshStores(scheme, text, rounds, [](TMemoSource& source) {
        qint64 shown = 0;
        for (int i = 0; i < source.LineCount(); ++i) {
            int length = 0;
            if (const uchar* attrs = source.LineAttributes(i, &length))
                shown += length + attrs[length - 1];
        }
        return shown > 0;
    });
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // Files of the kinds the open benchmark makes, shown line by line.
    struct TKind {
        const char* name;
        TBuiltInScheme scheme;
        QByteArray (*text)(qint64);
        qint64 bytes;
    };
    const TKind kinds[] = {
        {"java", TBuiltInScheme::Java, bench::JavaText, 49'000'000},
        {"html", TBuiltInScheme::Jsp, bench::HtmlText, 51'000'000},
        {"jsp", TBuiltInScheme::Jsp, bench::JspText, 20'000'000},
        {"batch", TBuiltInScheme::Batch, bench::BatchText, 5'000'000},
    };
    // With a kind named, only that kind is taken through, once, of the
    // given size (for a profiler).
    const QByteArray only = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    const qint64 onlyBytes = argc > 2 ? QByteArray(argv[2]).toLongLong() : 0;
    const bool storeOnly = only.startsWith("store");
    for (const TKind& kind : kinds) {
        if (!only.isEmpty() && only != "store" && only != kind.name && only != "store-" + QByteArray(kind.name))
            continue;
        const QByteArray text = kind.text(onlyBytes > 0 ? onlyBytes : kind.bytes);
        const int rounds = !only.isEmpty() && only != "store" ? 1 : kind.bytes < 10'000'000 ? 7 : 3;
        if (only.isEmpty() || storeOnly) {
            const double established = Established(kind.scheme, text, rounds);
            if (established <= 0)
                return 1;
            std::printf("store_%s_mb_per_s %.1f\n", kind.name, text.size() / 1e6 / established);
            if (storeOnly)
                continue;
        }
        const double seconds = Shown(kind.scheme, text, rounds);
        if (seconds <= 0)
            return 1;
        std::printf("shown_%s_mb_per_s %.1f\n", kind.name, text.size() / 1e6 / seconds);
    }
    if (!only.isEmpty())
        return 0;
    const qint64 size = 50'000'000;
    int lines = 0;
    const QByteArray java = bench::JavaText(size);
    double bytesPerByte = 0;
    const double javaSeconds = Highlight(TBuiltInScheme::Java, java, lines, bytesPerByte);
    if (javaSeconds <= 0)
        return 1;
    std::printf("highlight_java_mb_per_s %.1f\n", java.size() / 1e6 / javaSeconds);
    std::printf("highlighted_java_bytes_per_byte %.2f\n", bytesPerByte);
    std::printf("parser_only_java_mb_per_s %.1f\n", java.size() / 1e6 / ParserOnly(TBuiltInScheme::Java, java));
    const QByteArray jsp = bench::JspText(size);
    const double jspSeconds = Highlight(TBuiltInScheme::Jsp, jsp, lines, bytesPerByte);
    if (jspSeconds <= 0)
        return 1;
    std::printf("highlight_jsp_mb_per_s %.1f\n", jsp.size() / 1e6 / jspSeconds);
    std::printf("highlighted_jsp_bytes_per_byte %.2f\n", bytesPerByte);
    std::printf("parser_only_jsp_mb_per_s %.1f\n", jsp.size() / 1e6 / ParserOnly(TBuiltInScheme::Jsp, jsp));
    const QByteArray switches = bench::SwitchText(size);
    const double switchSeconds = Highlight(TBuiltInScheme::Jsp, switches, lines, bytesPerByte);
    if (switchSeconds <= 0)
        return 1;
    std::printf("highlight_switches_mb_per_s %.1f\n", switches.size() / 1e6 / switchSeconds);
    std::printf("highlighted_switches_bytes_per_byte %.2f\n", bytesPerByte);
    std::printf("parser_only_switches_mb_per_s %.1f\n",
                switches.size() / 1e6 / ParserOnly(TBuiltInScheme::Jsp, switches));
    return 0;
}
