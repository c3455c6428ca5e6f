// links: tarnel_view tarnel_syntax tarnel_platform Qt6::Test
// Word wrap of one line of nothing but tabs, 256 MiB long (the longest line
// a document may hold), in a 1200 x 900 editor: wrap switched on with its
// first paint, the repaint at the start, the caret sent to the middle of the
// line with the paint that shows it, and the repaint there. Each tab takes
// several display columns, so the line is far longer on screen than in
// bytes. Prints milliseconds (repaints: the median of 20). Run it in a fresh
// process each time: bench/run.sh does. An argument gives another length
// in bytes.

#include "benchutil.h"
#include "benchwindow.h"
#include "dcmemo.h"
#include "memosource.h"

#include <QApplication>
#include <QPainter>

#include <cstdio>
#include <vector>

using bench::Median;
using bench::Milliseconds;

int main(int argc, char* argv[])
{
    bench::TWindowApp app(argc, argv);

    QString error;
    TMemoSource source;
    const qsizetype bytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : qsizetype(TMemoSource::kMaxLineLength);
    if (!source.SetTextStr(QByteArray(bytes, '\t'), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    TDCMemo memo;
    if (!bench::ShowEditor(memo))
        return 1;
    QApplication::processEvents();
    memo.SetMemoSource(&source);
    QApplication::processEvents();

    bench::TImagePaint paint(memo);

    std::printf("tabwrap_on_first_paint_ms %.2f\n", Milliseconds([&] {
                    memo.SetWordWrap(true);
                    QApplication::processEvents();
                    paint();
                }));
    std::printf("tabwrap_repaint_start_ms %.3f\n", paint.Repaints());
    std::printf("tabwrap_caret_to_middle_ms %.2f\n", Milliseconds([&] {
                    source.MoveCaretTo({0, source.LineLength(0) / 2});
                    QApplication::processEvents();
                    paint();
                }));
    std::printf("tabwrap_repaint_middle_ms %.3f\n", paint.Repaints());
    std::printf("tabwrap_rows_shown %d\n", memo.VisibleRows());

    memo.SetMemoSource(nullptr);
    SetServices(nullptr);
    return 0;
}
