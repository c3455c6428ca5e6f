// links: tarnel_text
// Replace All over a 1,000,000-line Java-like text holding 100,000 matches,
// one on every tenth line: the time of the replacement (plain text as the
// dialog starts it, case-insensitive; then an expression), of undoing it in
// its one step, and the records it wrote. Run in a fresh process each time:
// bench/run.sh does.

#include "benchutil.h"
#include "memosource.h"
#include "sourcestrings.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

QByteArray TextWithMatches(int lines, int every)
{
    const QList<QByteArray> source = bench::JavaText(qint64(lines) * 52).split('\n');
    QByteArray text;
    text.reserve(qsizetype(lines) * 60);
    for (int i = 0; i < lines; ++i) {
        text += source[i % (source.size() - 1)];
        if (i % every == 0)
            text += " // Needle";
        text += '\n';
    }
    return text;
}

double ReplaceAll(TMemoSource& source, const TSearchOptions& options)
{
    const double start = bench::Seconds();
    source.ReplaceText(options);
    return (bench::Seconds() - start) * 1000;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    TMemoSource source;
    source.Lines().SetText(TextWithMatches(1'000'000, 10));

    TSearchOptions options;
    options.textToFind = QStringLiteral("needle");
    options.replaceText = QStringLiteral("Pin");
    options.promptOnReplace = false;
    options.replaceAll = true;
    options.origin = soEntireScope;
    const int before = source.UndoList().Count();
    const double plainMs = ReplaceAll(source, options);
    const int records = source.UndoList().Count() - before;
    const bool replaced = source.Lines().Get(0).endsWith("// Pin") && source.Lines().Get(999'990).endsWith("// Pin");

    double start = bench::Seconds();
    source.Undo();
    const double undoMs = (bench::Seconds() - start) * 1000;
    const bool undone = !source.CanUndo() && source.Lines().Get(999'990).endsWith("// Needle");

    options.regularExpressions = true;
    options.textToFind = QStringLiteral("Nee(d)le");
    options.replaceText = QStringLiteral("Pi\\1");
    const double regexMs = ReplaceAll(source, options);

    if (!replaced || !undone) {
        std::fprintf(stderr, "replace all did not replace or undo as expected\n");
        return 1;
    }
    std::printf("replace_all_ms %.1f\nundo_ms %.1f\nregex_replace_all_ms %.1f\nundo_records %d\nlines %d\n", plainMs,
                undoMs, regexMs, records, source.LineCount());
    return 0;
}
