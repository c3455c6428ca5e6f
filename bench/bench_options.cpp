// links: tarnel_shell tarnel_view tarnel_syntax tarnel_text tarnel_platform Qt6::Test
// Applies the editor options dialog with 20 open documents of 10,000 lines
// of highlighted Java each, alternating between two sets of settings that
// differ in everything the dialog shows (colour set, font size, line
// numbers, margin, special symbols, tab stops, block indent):
// - apply: "Ok" of the dialog in a 1200 x 900 main window, until the
//   window's editor has repainted the document it shows;
// - show_all_20_after_apply: "Ok", then every one of the 20 documents
//   shown (its tab selected) and painted in turn, each highlighting its
//   first screen in the new styles; show_all_20_unchanged is the same round
//   of tabs with no change before it, the share of tab switching and
//   painting alone;
// - controls_20: the global options changed under 20 editor controls of
//   400 x 300 that follow them, each showing its own document, until all
//   20 have repainted.
// Prints the median of each, in milliseconds of the GUI thread's CPU time
// (all of the work runs there), so that other load on the machine does not
// count.

#include "benchutil.h"
#include "benchwindow.h"
#include "builtinschemes.h"
#include "colorspeedsettings.h"
#include "dcmemo.h"
#include "envform.h"
#include "mainform.h"
#include "memoenvoptions.h"
#include "memosource.h"
#include "memosourceoptions.h"

#include <QApplication>
#include <QEvent>
#include <QDir>
#include <QGridLayout>
#include <QTemporaryDir>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kDocuments = 20;
constexpr int kLines = 10'000;
constexpr int kRuns = 15;


double CpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QByteArray javaLines(int lines)
{
    const QByteArray text = bench::JavaText(qint64(lines) * 80);
    qsizetype end = 0;
    for (int i = 0; i < lines && end >= 0; ++i)
        end = text.indexOf('\n', end) + 1;
    return text.left(end);
}

// One of the two sets of settings, into the dialog's copies.
void ChangeSettings(TEnvSettings& settings, bool second)
{
    TMemoEnvOptions& env = settings.env;
    ColorSpeedSettings::Apply(second ? ColorSpeedSettings::kDark : ColorSpeedSettings::kDefault, env);
    TFont font = env.Font();
    font.SetHeight(second ? -15 : -13);
    env.SetFont(font);
    TMemoOptions options = env.Options();
    options.setFlag(moLineNumbers, !second);
    options.setFlag(moDrawSpecialSymbols, second);
    env.SetOptions(options);
    env.SetMarginPos(second ? 72 : 80);
    settings.source.SetTabStops(second ? QStringLiteral("5,9") : QStringLiteral("9,17"));
    settings.source.SetBlockIndent(second ? 4 : 1);
}

} // namespace

int main(int argc, char* argv[])
{
    bench::TWindowApp app(argc, argv);

    QTemporaryDir programDir;
    QDir(programDir.path()).mkpath(QStringLiteral("Dat"));
    bench::EnsureFile(programDir.filePath(QStringLiteral("Dat/Tags.txt")), "<b>|Bold\n");
    const QByteArray text = javaLines(kLines);
    QStringList paths;
    for (int i = 0; i < kDocuments; ++i) {
        paths.append(programDir.filePath(QStringLiteral("Generated%1.java").arg(i)));
        bench::EnsureFile(paths.last(), text);
    }

    std::vector<double> apply, applyAll, showAll, controls;
    {
        TMainForm form(programDir.path());
        form.resize(1200, 900);
        form.show();
        QApplication::processEvents();
        // As from the command line: the untitled document gives way.
        form.OpenFiles(paths);
        if (form.DocumentCount() != kDocuments || form.ActiveDocument()->LineCount() != kLines) {
            std::fprintf(stderr, "the documents did not open\n");
            return 1;
        }
        QWidget* viewport = form.TarnelEditor()->viewport();
        bench::TPaintCounter counter(viewport);
        viewport->repaint();
        for (int run = 0; run < kRuns; ++run) {
            TEnvForm dialog(TMemoEnvOptions::Global(), TMemoSourceOptions::Global(), &form);
            ChangeSettings(dialog.Settings(), run % 2 == 0);
            double start = CpuSeconds();
            dialog.OkClick();
            viewport->repaint();
            apply.push_back((CpuSeconds() - start) * 1000);

            // Every tab in turn; the one shown last is shown again first.
            auto showAllTabs = [&] {
                for (int i = 0; i < form.DocumentCount(); ++i) {
                    form.ActivateDocument(i);
                    viewport->repaint();
                }
            };
            TEnvForm again(TMemoEnvOptions::Global(), TMemoSourceOptions::Global(), &form);
            ChangeSettings(again.Settings(), run % 2 == 1);
            start = CpuSeconds();
            again.OkClick();
            showAllTabs();
            applyAll.push_back((CpuSeconds() - start) * 1000);

            start = CpuSeconds();
            showAllTabs();
            showAll.push_back((CpuSeconds() - start) * 1000);
        }
        if (counter.paints < kRuns * (1 + 2 * form.DocumentCount())) {
            std::fprintf(stderr, "the editor painted %ld times only\n", counter.paints);
            return 1;
        }
    }

    {
        QString error;
        std::unique_ptr<TSyntaxParser> parser(CreateBuiltInParser(TBuiltInScheme::Java, nullptr, &error));
        if (!parser) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        QWidget window;
        auto* grid = new QGridLayout(&window);
        std::vector<std::unique_ptr<TMemoSource>> documents;
        std::vector<TDCMemo*> memos;
        for (int i = 0; i < kDocuments; ++i) {
            documents.push_back(std::make_unique<TMemoSource>());
            documents.back()->SetTextStr(text);
            documents.back()->SetSyntaxParser(parser.get());
            documents.back()->SetUseGlobalOptions(true);
            auto* memo = new TDCMemo(&window);
            memo->setFixedSize(400, 300);
            memo->SetUseGlobalOptions(true);
            memo->SetMemoSource(documents.back().get());
            grid->addWidget(memo, i / 5, i % 5);
            memos.push_back(memo);
        }
        window.show();
        QApplication::processEvents();
        for (TDCMemo* memo : memos)
            memo->viewport()->repaint();
        for (int run = 0; run < kRuns; ++run) {
            TEnvSettings settings;
            settings.env.Assign(TMemoEnvOptions::Global());
            settings.source.Assign(TMemoSourceOptions::Global());
            ChangeSettings(settings, run % 2 == 0);
            const double start = CpuSeconds();
            TMemoEnvOptions::Global().Assign(settings.env);
            TMemoSourceOptions::Global().Assign(settings.source);
            for (TDCMemo* memo : memos)
                memo->viewport()->repaint();
            controls.push_back((CpuSeconds() - start) * 1000);
        }
        for (TDCMemo* memo : memos)
            memo->SetMemoSource(nullptr);
        for (auto& document : documents)
            document->SetSyntaxParser(nullptr);
    }

    std::printf("options_apply_ms %.2f\noptions_show_all_20_after_apply_ms %.2f\n"
                "options_show_all_20_unchanged_ms %.2f\noptions_controls_20_ms %.2f\n",
                median(apply), median(applyAll), median(showAll), median(controls));
    SetServices(nullptr);
    return 0;
}
