// links: tarnel_view tarnel_syntax tarnel_platform Qt6::Test
// A text of one 100 MB line of Java-like code in a 1200 x 900 editor,
// highlighted by the "Java" scheme: the first paint at its start (which
// parses the line), the repaint there, the caret sent to the middle of the
// line with the paint that shows it, the repaint there, a caret move by one
// column, a keystroke, a Backspace and a Delete in the middle, each key a
// real key event with its repaint. Prints milliseconds (medians where
// repeated). Run it in a fresh process each time: bench/run.sh does.

#include "benchutil.h"
#include "benchwindow.h"
#include "builtinschemes.h"
#include "dcmemo.h"
#include "memosource.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using bench::Median;
using bench::Milliseconds;

int main(int argc, char* argv[])
{
    bench::TWindowApp app(argc, argv);

    TSyntaxParser* parser = bench::JavaParser();
    if (!parser)
        return 1;
    const QByteArray piece = "int total = count * 31 + (limit - 7); /* note */ result += \"text\"; call(a, 'b'); ";
    QByteArray line;
    line.reserve(100'000'000 + piece.size());
    while (line.size() < 100'000'000)
        line += piece;

    QString error;
    TMemoSource source;
    if (!source.SetTextStr(line, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    line.clear();
    line.squeeze();
    source.SetSyntaxParser(parser);

    TDCMemo memo;
    if (!bench::ShowEditor(memo))
        return 1;
    QApplication::processEvents();
    memo.SetMemoSource(&source);

    bench::TImagePaint paint(memo);
    // Each key with the repaint it asks for.
    auto keys = [&](int count, int key, char ch) {
        std::vector<double> times;
        for (int i = 0; i < count; ++i) {
            times.push_back(Milliseconds([&] {
                if (ch)
                    QTest::keyClick(&memo, ch);
                else
                    QTest::keyClick(&memo, Qt::Key(key));
                QApplication::processEvents();
            }));
        }
        return Median(times);
    };

    std::printf("longline_first_paint_ms %.2f\n", Milliseconds([&] { paint(); }));
    std::printf("longline_repaint_start_ms %.3f\n", paint.Repaints());
    const int middle = source.LineLength(0) / 2;
    std::printf("longline_caret_to_middle_ms %.2f\n", Milliseconds([&] {
                    source.MoveCaretTo({0, middle});
                    QApplication::processEvents();
                    paint();
                }));
    std::printf("longline_repaint_middle_ms %.3f\n", paint.Repaints());
    std::printf("longline_caret_move_ms %.3f\n", keys(20, Qt::Key_Right, 0));
    std::printf("longline_keystroke_ms %.3f\n", keys(5, 0, 'x'));
    std::printf("longline_backspace_ms %.3f\n", keys(5, Qt::Key_Backspace, 0));
    std::printf("longline_delete_ms %.3f\n", keys(5, Qt::Key_Delete, 0));
    std::printf("longline_columns %d\n", source.LineLength(0));

    memo.SetMemoSource(nullptr);
    source.SetSyntaxParser(nullptr);
    delete parser;
    SetServices(nullptr);
    return 0;
}
