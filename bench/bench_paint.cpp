// links: tarnel_view tarnel_syntax tarnel_platform Qt6::Test
// Paints full 1200 x 900 screens of a highlighted 1,000,000-line Java file
// into an image: at the top, the middle and the end of the text. The first
// paint at a place computes the attributes it needs (lazily, as the editor
// does); the frames after it are repaints. Prints the first paint and the
// median frame at each place, in milliseconds. Before that, a text store
// freshly loaded with the same file shows its last screen first, as opening
// a file at its end does: every line above it must be parsed for its state.

#include "benchutil.h"
#include "benchwindow.h"
#include "builtinschemes.h"
#include "dcmemo.h"
#include "memosource.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    bench::TWindowApp app(argc, argv);

    const QByteArray java = bench::JavaText(50'000'000);
    TSyntaxParser* parser = bench::JavaParser();
    if (!parser)
        return 1;

    TDCMemo memo;
    memo.ApplyApplicationDefaults();
    memo.SetBorderStyle(bsNone);
    memo.SetScrollBars(ssNone);
    memo.resize(1200, 900);
    memo.show();
    QApplication::processEvents();
    QImage image(memo.viewport()->size(), QImage::Format_ARGB32_Premultiplied);

    {
        TMemoSource loaded;
        loaded.SetTextStr(java);
        loaded.SetSyntaxParser(parser);
        memo.SetMemoSource(&loaded);
        const double start = bench::Seconds();
        memo.SetTopLine(loaded.LineCount() - memo.VisibleRows());
        QPainter painter(&image);
        memo.PaintRect(painter, image.rect());
        painter.end();
        std::printf("paint_end_after_load_first_ms %.2f\n", (bench::Seconds() - start) * 1000);
        memo.SetMemoSource(nullptr);
        loaded.SetSyntaxParser(nullptr);
    }

    TMemoSource source;
    source.SetTextStr(java);
    source.SetSyntaxParser(parser);
    memo.SetMemoSource(&source);
    const int rows = memo.VisibleRows();
    const struct {
        const char* name;
        int line;
    } places[] = {{"top", 0}, {"middle", source.LineCount() / 2}, {"end", source.LineCount() - rows}};
    for (const auto& place : places) {
        memo.SetTopLine(place.line);
        auto frame = [&] {
            const double start = bench::Seconds();
            QPainter painter(&image);
            memo.PaintRect(painter, image.rect());
            painter.end();
            return (bench::Seconds() - start) * 1000;
        };
        const double first = frame();
        std::vector<double> frames;
        for (int i = 0; i < 60; ++i)
            frames.push_back(frame());
        std::printf("paint_%s_first_ms %.2f\npaint_%s_ms %.3f\n", place.name, first, place.name, median(frames));
    }
    std::printf("lines %d\nrows %d\n", source.LineCount(), rows);
    source.SetSyntaxParser(nullptr);
    delete parser;
    SetServices(nullptr);
    return 0;
}
