// links: tarnel_view tarnel_syntax tarnel_platform Qt6::Test
// RTF export and printing to PDF.
//   bench_print export   exports a 1,000,000-line Java file to RTF twice:
//                        the first run highlights as it goes (as a fresh
//                        document does), the second finds the attributes
//                        ready; MB/s of document text, on the clock (with
//                        the flush to disk) and of the thread's CPU time.
//   bench_print print N [file.pdf]
//                        prints an N-line highlighted Java file to PDF with
//                        header, line numbers and colours: pages per second,
//                        and the peak resident memory the print added (MB),
//                        which must not grow with the page count. With a
//                        file named, the PDF is kept there.

#include "benchutil.h"
#include "benchwindow.h"
#include "builtinschemes.h"
#include "dcmemo.h"
#include "memoprinter.h"
#include "memosource.h"
#include "qtservices.h"
#include "richtext.h"

#include <QApplication>
#include <QDir>
#include <QPrinter>

#include <cstdio>
#include <cstring>

namespace {

// The services of the program, with the PDF file dialog answered.
class TBenchServices : public TQtServices {
public:
    QString pdf;
    bool SaveFileDialog(TFileDialog& dialog) override
    {
        dialog.fileName = pdf;
        return true;
    }
};

long long peakResident()
{
    long long kb = 0;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "VmHWM: %lld kB", &kb) == 1)
                break;
        std::fclose(f);
    }
    return kb * 1024;
}

QByteArray javaLines(int lines)
{
    const QByteArray text = bench::JavaText(qint64(lines) * 60);
    int at = 0;
    for (int i = 0; i < lines && at >= 0; ++i)
        at = int(text.indexOf('\n', at)) + 1;
    return at > 0 ? text.left(at) : text;
}

} // namespace

int main(int argc, char* argv[])
{
    bench::PrepareWindowRun();
    QApplication app(argc, argv);
    TBenchServices services;
    SetServices(&services);
    const QString tmp = QDir::tempPath();

    TSyntaxParser* parser = bench::JavaParser();
    if (!parser)
        return 1;
    const bool exporting = argc < 2 || std::strcmp(argv[1], "export") == 0;

    if (exporting) {
        TMemoSource source;
        const QByteArray text = javaLines(1'000'000);
        source.SetTextStr(text);
        source.SetSyntaxParser(parser);
        const QString path = tmp + QStringLiteral("/tarnel-bench-export.rtf");
        const TFont font(QStringLiteral("Courier New"), -13);
        QString error;
        for (const char* name : {"export_rtf_first", "export_rtf_again"}) {
            const double start = bench::Seconds();
            const double cpuStart = bench::ThreadSeconds();
            if (!TRichTextWriter::ExportFile(source, font, clWindow, path, &error)) {
                std::fprintf(stderr, "%s\n", qPrintable(error));
                return 1;
            }
            const double megabytes = double(text.size()) / 1e6;
            std::printf("%s_MB_s %.1f\n", name, megabytes / (bench::Seconds() - start));
            std::printf("%s_cpu_MB_s %.1f\n", name, megabytes / (bench::ThreadSeconds() - cpuStart));
        }
        std::printf("export_rtf_output_MB %.1f\n", double(QFileInfo(path).size()) / 1e6);
        QFile::remove(path);
        return 0;
    }

    const int lines = argc > 2 ? std::atoi(argv[2]) : 10'000;
    TMemoSource source;
    source.SetTextStr(javaLines(lines));
    source.SetSyntaxParser(parser);
    source.SetFileName(QStringLiteral("Generated.java"));
    TDCMemo memo;
    memo.ApplyApplicationDefaults();
    memo.SetMemoSource(&source);
    memo.SetPrintOptions(poPrintHeader | poLineNumbers | poPrintSyntax | poInColor);
    QPrinter& printer = MemoPrinter::Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const bool keep = argc > 3;
    services.pdf = keep ? QString::fromLocal8Bit(argv[3]) : tmp + QStringLiteral("/tarnel-bench-print.pdf");

    const long long before = peakResident();
    const double start = bench::Seconds();
    const int pages = MemoPrinter::Print(memo, printer);
    const double seconds = bench::Seconds() - start;
    const QByteArray suffix = QByteArray::number(lines);
    std::printf("print_%s_lines_pages %d\n", suffix.constData(), pages);
    std::printf("print_%s_lines_pages_per_s %.1f\n", suffix.constData(), pages / seconds);
    std::printf("print_%s_lines_peak_added_MB %.1f\n", suffix.constData(), double(peakResident() - before) / 1e6);
    std::printf("print_%s_lines_pdf_MB %.1f\n", suffix.constData(), double(QFileInfo(services.pdf).size()) / 1e6);
    if (!keep)
        QFile::remove(services.pdf);
    return pages > 0 ? 0 : 1;
}
