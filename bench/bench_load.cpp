// links: tarnel_text
// Loads a 50 MB, 1,000,000-line Java-like file into a text store and prints
// the load rate and the resident memory per byte of text (attributes not yet
// computed). Run it in a fresh process each time: bench/run.sh does.

#include "benchutil.h"
#include "memosource.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath() + "/tarnel-bench-50mb.java";
    if (argc > 2 && QByteArray(argv[2]) == "--generate") {
        // About 50 MB in about 1,000,000 lines.
        return bench::EnsureFile(path, bench::JavaText(50'000'000)) ? 0 : 1;
    }
    const qint64 size = QFileInfo(path).size();
    if (size <= 0) {
        std::fprintf(stderr, "no file %s (run with --generate first)\n", qPrintable(path));
        return 1;
    }
    TMemoSource source;
    const long long before = bench::ResidentBytes();
    const double start = bench::Seconds();
    QString error;
    if (!source.LoadFromFile(path, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const double seconds = bench::Seconds() - start;
    const long long after = bench::ResidentBytes();
    std::printf("load_mb_per_s %.1f\nbytes_per_byte %.2f\nlines %d\nmb %.1f\n", size / 1e6 / seconds,
                double(after - before) / double(size), source.LineCount(), size / 1e6);
    return 0;
}
