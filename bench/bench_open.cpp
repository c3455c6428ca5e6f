// links: tarnel_view tarnel_syntax tarnel_platform Qt6::Test
// Opening a file to its first painted screen, beside the limit of the
// machine measured in the same run: reading the file and finding its line
// ends (read in the store's pieces into a fresh block, then two memchr
// walks for CR and LF), and the same limit with the block in large pages,
// as the store makes its own where the system offers them. For a 49 MB
// Java file, a 51 MB HTML page, a 20 MB JSP page and a 5 MB batch file
// (made in the given folder by --generate), each highlighted by its scheme
// in a 1200 x 900 editor that shows it as it comes in, as the window does:
// the open to the painted last screen (every line's state is needed above
// it) and to the painted top, in milliseconds, and each against the limit;
// and the open to the first screen painted while the rest still loads.
// With --peak KIND it opens that file once, to its last screen, and prints
// the peak resident memory of the process while opening, per byte of file:
// run it in a fresh process.

#include "benchutil.h"
#include "builtinschemes.h"
#include "dcmemo.h"
#include "largepages.h"
#include "loadwatch.h"
#include "memosource.h"
#include "qtservices.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QStandardPaths>

#include <sys/mman.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// The pieces the store reads a file in.
constexpr qint64 kPiece = qint64(8) << 20;

struct TKind {
    const char* name;
    const char* file;
    TBuiltInScheme scheme;
    QByteArray (*text)(qint64);
    qint64 bytes;
};

const TKind kKinds[] = {
    {"java", "tarnel-open-49mb.java", TBuiltInScheme::Java, bench::JavaText, 49'000'000},
    {"html", "tarnel-open-51mb.html", TBuiltInScheme::Jsp, bench::HtmlText, 51'000'000},
    {"jsp", "tarnel-open-20mb.jsp", TBuiltInScheme::Jsp, bench::JspText, 20'000'000},
    {"batch", "tarnel-open-5mb.bat", TBuiltInScheme::Batch, bench::BatchText, 5'000'000},
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A block of fresh pages from the system, as a first open gets: a block
// from the heap may reuse the pages of one just freed (the allocator keeps
// blocks of up to 32 MB in its heap once one was freed), and would leave out
// the cost of touching each page once.
class TFreshBlock {
public:
    explicit TFreshBlock(qint64 size) : m_size(size_t(size) + 1)
    {
        void* pages = mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        m_data = pages == MAP_FAILED ? nullptr : static_cast<char*>(pages);
    }
    ~TFreshBlock()
    {
        if (m_data)
            munmap(m_data, m_size);
    }
    TFreshBlock(const TFreshBlock&) = delete;
    TFreshBlock& operator=(const TFreshBlock&) = delete;
    char* Data() const { return m_data; }

private:
    size_t m_size;
    char* m_data = nullptr;
};

// The limit: the file read into a fresh block and its line ends found;
// milliseconds. The line count goes to lines, so nothing is optimised away.
// With largePages the block is made as the store makes its own, in large
// pages where the system offers them.
double ReadAndSplit(const QString& path, long long& lines, bool largePages)
{
    const double start = bench::Seconds();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const qint64 size = file.size();
    TFreshBlock fresh(largePages ? 0 : size);
    const std::shared_ptr<char[]> large = largePages ? LargePages::AllocateBlock(size_t(size) + 1) : nullptr;
    char* const data = largePages ? large.get() : fresh.Data();
    if (!data)
        return -1;
    for (qint64 done = 0; done < size;) {
        const qint64 got = file.read(data + done, std::min(size - done, kPiece));
        if (got <= 0)
            return -1;
        done += got;
    }
    const char* p = data;
    const char* const end = p + size;
    auto find = [end](char c, const char* from) {
        const void* hit = std::memchr(from, c, size_t(end - from));
        return hit ? static_cast<const char*>(hit) : end;
    };
    const char* cr = find('\r', p);
    const char* lf = find('\n', p);
    lines = 0;
    while (p < end) {
        const char* stop = std::min(cr, lf);
        ++lines;
        if (stop == end)
            break;
        p = stop + (*stop == '\r' && stop + 1 < end && stop[1] == '\n' ? 2 : 1);
        if (cr < p)
            cr = find('\r', p);
        if (lf < p)
            lf = find('\n', p);
    }
    return (bench::Seconds() - start) * 1000;
}

// Told of each piece of a file shown as it comes in; paints the screen at
// the top now and then, as the window does when it answers between pieces,
// and notes when it first did.
class TPaintingWatch : public TLoadWatch {
public:
    TPaintingWatch(TDCMemo& memo, QImage& image, double start) : m_memo(memo), m_image(image), m_start(start) {}
    bool Arrived(qint64, qint64) override
    {
        const double now = bench::Seconds();
        if (firstMs >= 0 && now - m_lastPaint < kEverySeconds)
            return true;
        QPainter painter(&m_image);
        m_memo.PaintRect(painter, m_image.rect());
        painter.end();
        m_lastPaint = bench::Seconds();
        if (firstMs < 0)
            firstMs = (m_lastPaint - m_start) * 1000;
        return true;
    }
    double firstMs = -1;

private:
    // How often the window answers while a file comes in.
    static constexpr double kEverySeconds = 0.040;
    TDCMemo& m_memo;
    QImage& m_image;
    const double m_start;
    double m_lastPaint = 0;
};

// Opens path into a fresh store shown by memo as it comes in, and paints the
// screen at the top or the end of it into image; milliseconds from the open
// to the painted screen, of the load alone in *loadMs, and to the first
// screen painted while loading in *firstMs.
double OpenAndPaint(TDCMemo& memo, QImage& image, TSyntaxParser& parser, const QString& path, bool atEnd,
                    double* loadMs = nullptr, double* firstMs = nullptr)
{
    const double start = bench::Seconds();
    TMemoSource source;
    source.SetSyntaxParser(&parser);
    memo.SetMemoSource(&source);
    TPaintingWatch watch(memo, image, start);
    QString error;
    if (!source.LoadFromFile(path, &error, std::nullopt, watch)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return -1;
    }
    if (loadMs)
        *loadMs = (bench::Seconds() - start) * 1000;
    if (firstMs)
        *firstMs = watch.firstMs;
    if (atEnd)
        memo.SetTopLine(std::max(0, source.LineCount() - memo.VisibleRows()));
    QPainter painter(&image);
    memo.PaintRect(painter, image.rect());
    painter.end();
    const double ms = (bench::Seconds() - start) * 1000;
    memo.SetMemoSource(nullptr);
    source.SetSyntaxParser(nullptr);
    return ms;
}

} // namespace

int main(int argc, char* argv[])
{
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    const QByteArray mode = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    if (mode == "--generate") {
        QCoreApplication core(argc, argv);
        for (const TKind& kind : kKinds) {
            if (!bench::EnsureFile(dir + "/" + kind.file, kind.text(kind.bytes)))
                return 1;
        }
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TQtServices services;
    SetServices(&services);
    TDCMemo memo;
    memo.ApplyApplicationDefaults();
    memo.SetBorderStyle(bsNone);
    memo.SetScrollBars(ssNone);
    memo.resize(1200, 900);
    memo.show();
    QApplication::processEvents();
    // Stands for the window's own painting surface, which is there before
    // any file is opened: made and written once, so that the memory a load
    // takes does not count it.
    QImage image(memo.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);

    for (const TKind& kind : kKinds) {
        if (mode == "--peak" && QByteArray(argv[3]) != kind.name)
            continue;
        const QString path = dir + "/" + kind.file;
        const qint64 size = QFileInfo(path).size();
        if (size <= 0) {
            std::fprintf(stderr, "no file %s (run with --generate first)\n", qPrintable(path));
            return 1;
        }
        QString error;
        std::unique_ptr<TSyntaxParser> parser(CreateBuiltInParser(kind.scheme, nullptr, &error));
        if (!parser) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        if (mode == "--peak") {
            const long long before = bench::ResidentBytes();
            if (OpenAndPaint(memo, image, *parser, path, true) < 0)
                return 1;
            const long long peak = bench::PeakResidentBytes();
            std::printf("open_%s_peak_bytes_per_byte %.2f\n", kind.name, double(peak - before) / double(size));
            std::printf("open_%s_process_peak_mib %.1f\n", kind.name, double(peak) / 1048576.0);
            continue;
        }
        // Interleaved, so that a burst of load on the machine spreads over
        // every figure alike; the limit is taken with the same pieces.
        std::vector<double> limit, largeLimit, end, top, topPaint, first;
        long long lines = 0;
        for (int round = 0; round < 3; ++round) {
            limit.push_back(ReadAndSplit(path, lines, false));
            largeLimit.push_back(ReadAndSplit(path, lines, true));
            end.push_back(OpenAndPaint(memo, image, *parser, path, true));
            double loadMs = 0;
            double firstMs = 0;
            top.push_back(OpenAndPaint(memo, image, *parser, path, false, &loadMs, &firstMs));
            topPaint.push_back(top.back() - loadMs);
            first.push_back(firstMs);
        }
        const double l = Median(limit), e = Median(end), t = Median(top), ll = Median(largeLimit);
        std::printf("open_%s_limit_ms %.1f\n", kind.name, l);
        std::printf("open_%s_large_page_limit_ms %.1f\n", kind.name, ll);
        std::printf("open_%s_lines %lld\n", kind.name, lines);
        std::printf("open_%s_end_ms %.1f\n", kind.name, e);
        std::printf("open_%s_end_per_limit %.2f\n", kind.name, e / l);
        std::printf("open_%s_end_per_large_page_limit %.2f\n", kind.name, e / ll);
        std::printf("open_%s_top_ms %.1f\n", kind.name, t);
        std::printf("open_%s_top_per_limit %.2f\n", kind.name, t / l);
        std::printf("open_%s_top_after_load_ms %.1f\n", kind.name, Median(topPaint));
        std::printf("open_%s_first_screen_while_loading_ms %.1f\n", kind.name, Median(first));
    }
    SetServices(nullptr);
    return 0;
}
