// links: tarnel_shell Qt6::Test
// Quick Open over a project of 50,000 files: the walk of the folder (on the
// worker thread, until the index is in), then the box as the user types,
// key by key, a handful of texts (names, camel-case initials, a part with
// its extension, a text nothing matches), each key until the list shows
// its matches, and the ranking alone for the same keys. Prints the walk in
// milliseconds and the median and slowest key in milliseconds.
//
// With --generate, writes the project (empty files under <dir>) first when
// it is not there yet.

#include "benchutil.h"
#include "benchwindow.h"
#include "quickopenfilter.h"
#include "quickopenform.h"
#include "quickopenindex.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kFiles = 50000;

const char* const kWords[] = {"User",   "Order",   "Account", "Invoice", "Payment", "Customer", "Product",
                              "Cart",   "Session", "Report",  "Search",  "Mail",    "Audit",    "Price",
                              "Stock",  "Ship",    "Tax",     "Login",   "Profile", "Message"};
const char* const kKinds[] = {"Service",    "ServiceImpl", "Controller", "Repository", "Dao",  "Dto",
                              "Factory",    "Test",        "Validator",  "Mapper",     "Util", "Config"};
const char* const kPages[] = {"list", "edit", "view", "form", "search", "index"};

// The project's files, relative to its folder: Java classes in packages,
// JSP and HTML pages in web folders, a few other files.
QStringList projectFiles()
{
    QStringList files;
    for (int i = 0; files.size() < kFiles; ++i) {
        const QString module = QStringLiteral("module%1").arg(i % 40);
        const QString word = QLatin1String(kWords[i % std::size(kWords)]);
        const QString kind = QLatin1String(kKinds[(i / 20) % std::size(kKinds)]);
        const QString package = QStringLiteral("%1/src/main/java/com/acme/%2/p%3").arg(module, word.toLower()).arg(i % 7);
        files.append(QStringLiteral("%1/%2%3%4.java").arg(package, word, kind).arg(i / 240));
        const QString page = QLatin1String(kPages[i % std::size(kPages)]);
        files.append(QStringLiteral("%1/src/main/webapp/%2/%3-%4%5.jsp").arg(module, word.toLower(), word.toLower(), page).arg(i / 120));
        if (i % 4 == 0)
            files.append(QStringLiteral("%1/src/main/webapp/%2/%3%4.html").arg(module, word.toLower(), page).arg(i));
        if (i % 9 == 0)
            files.append(QStringLiteral("%1/scripts/run%2.bat").arg(module).arg(i));
    }
    files = files.mid(0, kFiles);
    return files;
}

bool generate(const QString& root)
{
    if (QFile::exists(root + QStringLiteral("/.complete")))
        return true;
    for (const QString& file : projectFiles()) {
        const QString path = root + u'/' + file;
        QDir().mkpath(path.section(u'/', 0, -2));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    QFile done(root + QStringLiteral("/.complete"));
    return done.open(QIODevice::WriteOnly);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    bench::PrepareWindowRun();
    QApplication app(argc, argv);
    const QString root = (argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath()) + "/tarnel-bench-quickopen";
    if (argc > 2 && qstrcmp(argv[2], "--generate") == 0)
        return generate(root) ? 0 : 1;
    if (!QFile::exists(root + QStringLiteral("/.complete"))) {
        std::fprintf(stderr, "run with --generate first\n");
        return 1;
    }

    QWidget window;
    window.resize(1200, 900);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    TQuickOpenForm box(&window);
    QStringList recent;
    for (int i = 0; i < 8; ++i)
        recent.append(QStringLiteral("/home/user/recent/Recent%1.java").arg(i));

    QElapsedTimer clock;
    clock.start();
    box.Popup(root, recent);
    while (box.Index().Walking())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents();
    const double walk = clock.nsecsElapsed() / 1e6;
    if (box.Index().Files().size() != kFiles) {
        std::fprintf(stderr, "walked %lld files, not %d\n", qlonglong(box.Index().Files().size()), kFiles);
        return 1;
    }

    const QStringList texts = {QStringLiteral("orderserviceimpl"), QStringLiteral("OSI"), QStringLiteral("cart-list.jsp"),
                               QStringLiteral("usrctl"), QStringLiteral("qqq")};
    std::vector<double> keys;
    for (const QString& text : texts) {
        box.Field()->clear();
        QCoreApplication::processEvents();
        for (qsizetype n = 1; n <= text.size(); ++n) {
            clock.restart();
            box.Field()->setText(text.left(n));
            keys.push_back(clock.nsecsElapsed() / 1e6);
        }
    }

    std::vector<TQuickOpenFilter::TEntry> entries;
    for (const QString& path : box.Index().Files())
        entries.push_back({path, QString(), false});
    TQuickOpenFilter filter;
    filter.SetEntries(std::move(entries));
    std::vector<double> ranking;
    for (const QString& text : texts) {
        for (qsizetype n = 1; n <= text.size(); ++n) {
            clock.restart();
            filter.Filter(text.left(n), TQuickOpenForm::kShownMatches);
            ranking.push_back(clock.nsecsElapsed() / 1e6);
        }
    }

    std::printf("quickopen_walk_50000_ms %.1f\n", walk);
    std::printf("quickopen_key_median_ms %.2f\n", median(keys));
    std::printf("quickopen_key_max_ms %.2f\n", *std::max_element(keys.begin(), keys.end()));
    std::printf("quickopen_ranking_key_median_ms %.2f\n", median(ranking));
    std::printf("quickopen_ranking_key_max_ms %.2f\n", *std::max_element(ranking.begin(), ranking.end()));
    return 0;
}
