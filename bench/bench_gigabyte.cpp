// links: tarnel_view tarnel_syntax tarnel_platform Qt6::Test
// Opens a generated 1 GB Java-like file of about 20 million lines (made in
// the temporary folder by --generate) in a 1200 x 900 editor highlighted by
// the "Java" scheme, the way the window opens a file: through the platform
// services, which show the progress bar with Cancel. Prints the load rate,
// the peak resident memory of the load and of all that follows per byte of
// file, and the milliseconds from Ctrl+End to the painted last screen
// (which establishes every line's state on the way). Run it in a fresh
// process: bench/run.sh does, once.

#include "benchutil.h"
#include "benchwindow.h"
#include "builtinschemes.h"
#include "dcmemo.h"
#include "memosource.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>
#include <cstring>

namespace {

bool Generate(const QString& path, qint64 bytes)
{
    const QByteArray piece = bench::JavaText(50'000'000);
    if (QFileInfo(path).size() >= bytes)
        return true;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (qint64 written = 0; written < bytes; written += piece.size()) {
        if (file.write(piece) != piece.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath() + "/tarnel-bench-1gb.java";
    if (argc > 2 && QByteArray(argv[2]) == "--generate") {
        QCoreApplication core(argc, argv);
        return Generate(path, 1'000'000'000) ? 0 : 1;
    }
    bench::TWindowApp app(argc, argv);
    const qint64 size = QFileInfo(path).size();
    if (size <= 0) {
        std::fprintf(stderr, "no file %s (run with --generate first)\n", qPrintable(path));
        return 1;
    }
    TSyntaxParser* parser = bench::JavaParser();
    if (!parser)
        return 1;

    TDCMemo memo;
    if (!bench::ShowEditor(memo))
        return 1;
    QApplication::processEvents();

    const long long before = bench::ResidentBytes();
    QString error;
    TMemoSource source;
    source.SetSyntaxParser(parser);
    const double start = bench::Seconds();
    if (!source.LoadFromFile(path, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const double loadSeconds = bench::Seconds() - start;
    const long long loadPeak = bench::PeakResidentBytes();
    memo.SetMemoSource(&source);
    QApplication::processEvents();

    const double endStart = bench::Seconds();
    QTest::keyClick(&memo, Qt::Key_End, Qt::ControlModifier);
    QApplication::processEvents();
    const double endMs = (bench::Seconds() - endStart) * 1000;

    std::printf("gigabyte_load_mb_per_s %.1f\n", size / 1e6 / loadSeconds);
    std::printf("gigabyte_load_peak_bytes_per_byte %.2f\n", double(loadPeak - before) / double(size));
    std::printf("gigabyte_ctrl_end_ms %.1f\n", endMs);
    std::printf("gigabyte_peak_bytes_per_byte %.2f\n", double(bench::PeakResidentBytes() - before) / double(size));
    std::printf("gigabyte_lines %d\n", source.LineCount());
    std::printf("gigabyte_caret_line %d\n", source.CaretLine());

    memo.SetMemoSource(nullptr);
    source.SetSyntaxParser(nullptr);
    delete parser;
    SetServices(nullptr);
    return 0;
}
