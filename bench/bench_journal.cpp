// links: tarnel_shell tarnel_platform Qt6::Test
// The autosave journal with a modified 50 MB Java document (1,000,000
// lines, ten of them edited): the interface thread's part of one journal
// write (the snapshot of the text; on the clock and in the thread's CPU
// time), and the whole write (snapshot, header,
// checksum and the atomic write with its flush to disk) until the entry is
// in place, in ms. Then 1,000 characters typed into the middle of that
// document shown in a highlighted 1200 x 900 editor, each key with its
// repaint, as the keystroke benchmark types: without the journal, with it
// at its real delays, and with a journal write every 250 ms of typing (the
// worst case: a snapshot taken in the middle of the typing every few
// hundred keys). Median and 99th percentile ms per keystroke.

#include "autosave.h"
#include "benchutil.h"
#include "benchwindow.h"
#include "builtinschemes.h"
#include "dcmemo.h"
#include "journal.h"
#include "memosource.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(p * double(values.size())));
    return values[index];
}

constexpr char kTyped[] = "int total = count * 31 + (limit - 7); /* note */ result += \"text\"; ";

void typeInto(TDCMemo& memo, const char* name)
{
    TCustomMemoSource& source = *memo.MemoSource();
    const int middle = source.LineCount() / 2;
    source.MoveCaretTo({middle, source.LineLength(middle) / 2});
    QApplication::processEvents();
    std::vector<double> times;
    times.reserve(1000);
    for (int i = 0; i < 1000; ++i) {
        const double start = bench::Seconds();
        QTest::keyClick(&memo, kTyped[i % (sizeof(kTyped) - 1)]);
        QApplication::processEvents();
        times.push_back((bench::Seconds() - start) * 1000);
    }
    std::printf("journal_keystroke_%s_median_ms %.4f\n", name, percentile(times, 0.5));
    std::printf("journal_keystroke_%s_p99_ms %.4f\n", name, percentile(times, 0.99));
}

} // namespace

int main(int argc, char* argv[])
{
    bench::TWindowApp app(argc, argv);
    QTemporaryDir folder;

    TSyntaxParser* parser = bench::JavaParser();
    if (!parser || !folder.isValid())
        return 1;
    TMemoSource document;
    document.SetTextStr(bench::JavaText(50'000'000));
    for (int i = 1; i <= 10; ++i) {
        document.MoveCaretTo({document.LineCount() * i / 11, 4});
        document.InsertText("edited ");
    }

    // One write: the snapshot on this thread, the rest on the journal's.
    {
        TJournal journal(folder.filePath(QStringLiteral("journal")));
        std::vector<double> snapshots, snapshotsCpu, totals;
        for (int run = 0; run < 7; ++run) {
            TJournalEntry header;
            header.fileName = QStringLiteral("/tmp/Generated.java");
            header.written = QDateTime::currentDateTimeUtc();
            const double start = bench::Seconds();
            const double startCpu = bench::ThreadSeconds();
            TTextSnapshot snapshot = document.Snapshot();
            snapshotsCpu.push_back((bench::ThreadSeconds() - startCpu) * 1000);
            snapshots.push_back((bench::Seconds() - start) * 1000);
            journal.Write(1, header, std::move(snapshot));
            journal.Flush();
            totals.push_back((bench::Seconds() - start) * 1000);
        }
        std::printf("journal_write_ui_thread_ms %.3f\n", percentile(snapshots, 0.5));
        std::printf("journal_write_ui_thread_cpu_ms %.3f\n", percentile(snapshotsCpu, 0.5));
        std::printf("journal_write_total_ms %.1f\n", percentile(totals, 0.5));
        std::printf("journal_entry_mb %.1f\n", double(QFileInfo(journal.EntryPath(1)).size()) / 1e6);
        journal.Close();
    }

    TDCMemo memo;
    if (!bench::ShowEditor(memo))
        return 1;
    document.SetSyntaxParser(parser);
    memo.SetMemoSource(&document);
    QApplication::processEvents();

    typeInto(memo, "off");
    for (const auto& [name, pause, longest] : {std::tuple{"on", 0, 0}, std::tuple{"every250ms", 250, 250}}) {
        TAutosave::SetDelays(pause, longest);
        TJournal journal(folder.filePath(QStringLiteral("journal")));
        TAutosave autosave(journal, [](const TMemoSource*) { return QString(); });
        autosave.Watch(&document);
        typeInto(memo, name);
        autosave.Forget(&document);
        journal.Flush();
        journal.Close();
    }

    memo.SetMemoSource(nullptr);
    document.SetSyntaxParser(nullptr);
    delete parser;
    SetServices(nullptr);
    return 0;
}
