// links: tarnel_text
// Find in Files over a real source tree: the JDK's sources (src.zip of
// openjdk-17-source, unpacked by bench/run.sh into the temporary folder),
// every file of it, searched by the engine warm (the tree read once before)
// for a plain text with case and for a regular expression holding a
// literal; in the same run grep -rn and rg -n search the same tree for the
// same pattern (their output read through a pipe and its lines counted).
// Prints the median milliseconds of each on the clock and of CPU time (the
// engine's threads; the tool's process), the matching lines each found, and
// the ratios of the clock times: the engine's over rg's, and grep's over the
// engine's. On a machine busy with other work the CPU times are the steadier
// figures.
//
// Usage: bench_findinfiles <tree> [runs]

#include "benchutil.h"
#include "filesearch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

namespace {

// CPU time used so far, in milliseconds: by this process's threads, or by
// the children it waited for.
double CpuMs(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

struct TTimes {
    double wall = 0;
    double cpu = 0;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// One search by the engine, to its end: milliseconds, and the matching
// lines through found.
TTimes Engine(const QString& tree, const QString& pattern, bool regular, qint64& found)
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
    const double cpu = CpuMs(RUSAGE_SELF);
    QElapsedTimer clock;
    clock.start();
    QString error;
    if (!search.Start(request, events, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        std::exit(1);
    }
    search.Wait();
    const TTimes times{double(clock.nsecsElapsed()) / 1e6, CpuMs(RUSAGE_SELF) - cpu};
    found = lines;
    return times;
}

// One run of a command over the tree: milliseconds, and the lines it
// printed through found.
TTimes Tool(const QString& program, const QStringList& arguments, qint64& found)
{
    QProcess process;
    const double cpu = CpuMs(RUSAGE_CHILDREN);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    process.closeWriteChannel();
    qint64 lines = 0;
    while (process.state() != QProcess::NotRunning || process.bytesAvailable() > 0) {
        process.waitForReadyRead(100);
        lines += process.readAllStandardOutput().count('\n');
    }
    process.waitForFinished();
    const TTimes times{double(clock.nsecsElapsed()) / 1e6, CpuMs(RUSAGE_CHILDREN) - cpu};
    found = lines;
    return times;
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
        std::vector<double> wall[3], cpu[3];
        for (int i = 0; i < runs; ++i) {
            const TTimes times[3] = {Engine(tree, c.pattern, c.regular, ours),
                                     Tool(QStringLiteral("grep"), grepArgs, grep),
                                     Tool(QStringLiteral("rg"), rgArgs, rg)};
            for (int k = 0; k < 3; ++k) {
                wall[k].push_back(times[k].wall);
                cpu[k].push_back(times[k].cpu);
            }
        }
        const char* const who[3] = {"", "_grep", "_rg"};
        const qint64 found[3] = {ours, grep, rg};
        for (int k = 0; k < 3; ++k) {
            std::printf("findinfiles_%s%s_ms %.1f\n", c.name, who[k], Median(wall[k]));
            std::printf("findinfiles_%s%s_cpu_ms %.1f\n", c.name, who[k], Median(cpu[k]));
            std::printf("findinfiles_%s%s_lines %lld\n", c.name, who[k], static_cast<long long>(found[k]));
        }
        std::printf("findinfiles_%s_vs_rg %.2f\n", c.name, Median(wall[0]) / Median(wall[2]));
        std::printf("findinfiles_%s_grep_vs_ours %.2f\n", c.name, Median(wall[1]) / Median(wall[0]));
    }
    return 0;
}
