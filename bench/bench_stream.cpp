// links: tarnel_syntax
// Writes and reads a large component stream: a style collection of 20,000
// styles (about 4 MB of text) wrapped as a colour-style file, and the default
// colour-style file. Prints the rates of the writer and of the reader (which
// parses the text, tries it on a fresh instance and then applies it).

#include "benchutil.h"
#include "componentstream.h"
#include "persholder.h"
#include "textstyle.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    TPersHolder holder;
    TTextStyles* styles = holder.P();
    styles->BeginUpdate();
    for (int i = 0; i < 20000; ++i) {
        auto* style = static_cast<TTextStyle*>(styles->Add());
        style->SetName(QStringLiteral("Style number %1 with a 'quoted' name").arg(i));
        style->SetColor(TColor::FromRgb(i & 0xff, (i >> 8) & 0xff, 7));
        TFont font(QStringLiteral("Courier New"), -13, TColor::FromRgb(1, i & 0xff, 3),
                   i % 3 ? TFont::TFontStyles(TFont::fsBold) : TFont::TFontStyles());
        style->SetFont(font);
        style->SetUpperCase(i % 2);
    }
    styles->EndUpdate();

    double start = bench::Seconds();
    const QByteArray text = WriteComponent(holder);
    const double writeSeconds = bench::Seconds() - start;

    TPersHolder target;
    QString error;
    start = bench::Seconds();
    if (!ReadComponent(text, target, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const double readSeconds = bench::Seconds() - start;

    TPersHolder defaults;
    const QByteArray small = WriteComponent(defaults);
    constexpr int kRounds = 200;
    start = bench::Seconds();
    for (int i = 0; i < kRounds; ++i) {
        if (!ReadComponent(small, target, &error))
            return 1;
    }
    const double smallSeconds = (bench::Seconds() - start) / kRounds;

    std::printf("stream_mb %.2f\nstream_write_mb_per_s %.1f\nstream_read_mb_per_s %.1f\n"
                "default_rgb_read_us %.0f\n",
                text.size() / 1e6, text.size() / 1e6 / writeSeconds, text.size() / 1e6 / readSeconds,
                smallSeconds * 1e6);
    return 0;
}
