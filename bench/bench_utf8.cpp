// links: tarnel_syntax tarnel_text
// Loads a generated 50 MB Java file from disk and highlights every line of
// it, once as plain ASCII and once with 5% of its letters replaced by
// non-ASCII ones (accented Latin, Greek, CJK), so that it loads as UTF-8;
// prints the CPU seconds of each (load with its encoding detection, then
// the full highlight) and their ratio. Run it in a fresh process each time:
// bench/run.sh does.

#include "benchutil.h"
#include "builtinschemes.h"
#include "memosource.h"
#include "syntaxparser.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <ctime>
#include <memory>

namespace {

double CpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

// Every twentieth letter becomes a non-ASCII letter of two or three bytes.
QByteArray WithNonAscii(const QByteArray& ascii)
{
    static const char* const kLetters[] = {"\xC3\xA9", "\xCE\xBB", "\xE6\x97\xA5", "\xC3\xBC", "\xD0\xB6"};
    QByteArray text;
    text.reserve(ascii.size() + ascii.size() / 10);
    int letters = 0;
    int pick = 0;
    for (char c : ascii) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (letter && ++letters % 20 == 0) {
            text += kLetters[pick];
            pick = (pick + 1) % 5;
        } else {
            text += c;
        }
    }
    return text;
}

// CPU seconds to load path and highlight every line; -1 on failure.
double LoadAndHighlight(const QString& path, TTextEncoding expected)
{
    QString error;
    std::unique_ptr<TSyntaxParser> parser(CreateBuiltInParser(TBuiltInScheme::Java, nullptr, &error));
    if (!parser) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return -1;
    }
    TMemoSource source;
    source.SetSyntaxParser(parser.get());
    const double start = CpuSeconds();
    if (!source.LoadFromFile(path, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return -1;
    }
    source.ParseTo(source.LineCount() - 1);
    const double seconds = CpuSeconds() - start;
    if (source.ParsedUpTo() < source.LineCount() || source.Encoding() != expected) {
        std::fprintf(stderr, "%s: not parsed through, or read in the wrong encoding\n", qPrintable(path));
        return -1;
    }
    source.SetSyntaxParser(nullptr);
    return seconds;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    const QString asciiPath = folder + "/tarnel-bench-50mb-ascii.java";
    const QString utf8Path = folder + "/tarnel-bench-50mb-utf8.java";
    if (argc > 2 && QByteArray(argv[2]) == "--generate") {
        const QByteArray ascii = bench::JavaText(50'000'000);
        return bench::EnsureFile(asciiPath, ascii) && bench::EnsureFile(utf8Path, WithNonAscii(ascii)) ? 0 : 1;
    }
    const double ascii = LoadAndHighlight(asciiPath, MemoTypes::teWindows1252);
    const double utf8 = LoadAndHighlight(utf8Path, MemoTypes::teUtf8);
    if (ascii <= 0 || utf8 <= 0)
        return 1;
    std::printf("ascii_load_highlight_s %.3f\nutf8_load_highlight_s %.3f\nutf8_over_ascii %.3f\n", ascii, utf8,
                utf8 / ascii);
    return 0;
}
