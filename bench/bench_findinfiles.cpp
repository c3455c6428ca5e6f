// links: tarnel_text
// Find in Files over a real source tree: the JDK's sources (src.zip of
// openjdk-17-source, unpacked by bench/run.sh into the temporary folder),
// every file of it, searched by the engine warm (the tree read once before)
// for a plain text with case and for a regular expression holding a
// literal; in the same run grep -rn and rg -n search the same tree for the
// same pattern (their output read through a pipe and its lines counted).
// Prints the median milliseconds of each, the matching lines each found, and
// the ratios: the engine's time over rg's, and grep's over the engine's.
//
// Usage: bench_findinfiles <tree> [runs]

#include "benchutil.h"
#include "filesearch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

namespace {

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// One search by the engine, to its end: milliseconds, and the matching
// lines through found.
double Engine(const QString& tree, const QString& pattern, bool regular, qint64& found)
{
    FileSearch::TRequest request;
    request.options.textToFind = pattern;
    request.options.caseSensitive = true;
    request.options.regularExpressions = regular;
    request.folder = tree;
    std::atomic<qint64> lines{0};
    FileSearch::TEvents events;
    events.onFile = [&lines](FileSearch::TFileHits&& hits) { lines += qint64(hits.lines.size()); };
    FileSearch::TSearch search;
    QElapsedTimer clock;
    clock.start();
    QString error;
    if (!search.Start(request, events, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        std::exit(1);
    }
    search.Wait();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    found = lines;
    return ms;
}

// One run of a command over the tree: milliseconds, and the lines it
// printed through found.
double Tool(const QString& program, const QStringList& arguments, qint64& found)
{
    QProcess process;
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    process.closeWriteChannel();
    qint64 lines = 0;
    while (process.state() != QProcess::NotRunning || process.bytesAvailable() > 0) {
        process.waitForReadyRead(100);
        lines += process.readAllStandardOutput().count('\n');
    }
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    found = lines;
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_findinfiles <tree> [runs]\n");
        return 2;
    }
    const QString tree = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    struct Case {
        const char* name;
        QString pattern;
        bool regular;
    };
    const Case cases[] = {
        {"plain", QStringLiteral("ConcurrentHashMap"), false},
        {"regex", QStringLiteral("Concurrent[A-Za-z]+Map"), true},
    };
    for (const Case& c : cases) {
        qint64 ours = 0, grep = 0, rg = 0;
        const QStringList grepArgs = {c.regular ? QStringLiteral("-rnE") : QStringLiteral("-rnF"), c.pattern, tree};
        const QStringList rgArgs = {QStringLiteral("-n"), QStringLiteral("--no-ignore"), QStringLiteral("--hidden"),
                                    c.regular ? QStringLiteral("-e") : QStringLiteral("-F"), c.pattern, tree};
        // Warm: every file read once by each before the clock runs.
        Engine(tree, c.pattern, c.regular, ours);
        Tool(QStringLiteral("grep"), grepArgs, grep);
        Tool(QStringLiteral("rg"), rgArgs, rg);
        std::vector<double> engineMs, grepMs, rgMs;
        for (int i = 0; i < runs; ++i) {
            engineMs.push_back(Engine(tree, c.pattern, c.regular, ours));
            grepMs.push_back(Tool(QStringLiteral("grep"), grepArgs, grep));
            rgMs.push_back(Tool(QStringLiteral("rg"), rgArgs, rg));
        }
        const double e = Median(engineMs), g = Median(grepMs), r = Median(rgMs);
        std::printf("findinfiles_%s_ms %.1f\n", c.name, e);
        std::printf("findinfiles_%s_grep_ms %.1f\n", c.name, g);
        std::printf("findinfiles_%s_rg_ms %.1f\n", c.name, r);
        std::printf("findinfiles_%s_lines %lld\n", c.name, static_cast<long long>(ours));
        std::printf("findinfiles_%s_grep_lines %lld\n", c.name, static_cast<long long>(grep));
        std::printf("findinfiles_%s_rg_lines %lld\n", c.name, static_cast<long long>(rg));
        std::printf("findinfiles_%s_vs_rg %.2f\n", c.name, e / r);
        std::printf("findinfiles_%s_grep_vs_ours %.2f\n", c.name, g / e);
    }
    return 0;
}
