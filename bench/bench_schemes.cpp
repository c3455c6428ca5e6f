// links: tarnel_syntax tarnel_text
// Highlights a 50 MB corpus of real files for each scheme of a web
// application's other files (XML, CSS, JavaScript, JSON, properties, SQL,
// shell) through a text store, every line's attributes computed, and prints
// the rate of each in MB/s of CPU time. The corpora are the files the
// system's packages install (Maven poms, the style sheets and scripts of
// libjs-* packages, the package.json files of node-* packages, the JDK's
// properties, PostgreSQL's SQL, the shell scripts in /usr/bin), read in a
// fixed order and repeated until 50 MB. A scheme that finds no files is
// left out. Run it in a fresh process each time: bench/run.sh does.
//
// With --leaks it checks the same files one by one instead: a file whose
// last line ends with something still open (a string or comment that never
// closed, an element or block left open) is listed with the line where that
// began, for review: a defect of the scheme unless the file really leaves
// it open.

#include "builtinschemes.h"
#include "memosource.h"
#include "syntaxparser.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

namespace {

constexpr qint64 kCorpusBytes = 50 * 1000 * 1000;

double CpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

struct Corpus {
    TBuiltInScheme scheme;
    const char* name;
    const char* folders; // space-separated
    const char* patterns; // space-separated
    bool shellScripts = false; // only files that start as a shell script
};

const Corpus kCorpora[] = {
    {TBuiltInScheme::Xml, "xml", "/usr/share/maven-repo", "*.pom *.xml"},
    {TBuiltInScheme::Css, "css", "/usr/share/javascript /usr/share/doc", "*.css"},
    {TBuiltInScheme::JavaScript, "javascript", "/usr/share/javascript /usr/share/nodejs", "*.js"},
    {TBuiltInScheme::Json, "json", "/usr/share/nodejs /usr/share/javascript", "*.json"},
    {TBuiltInScheme::Properties, "properties", "/etc/java-17-openjdk /usr/lib/jvm /etc/maven", "*.properties"},
    {TBuiltInScheme::Sql, "sql", "/usr/share/postgresql /usr/share/postgresql-common", "*.sql"},
    {TBuiltInScheme::Shell, "shell", "/usr/bin /usr/sbin", "*", true},
};

QStringList Files(const Corpus& corpus)
{
    QStringList files;
    const QStringList patterns = QString::fromLatin1(corpus.patterns).split(u' ');
    for (const QString& folder : QString::fromLatin1(corpus.folders).split(u' ')) {
        QDirIterator it(folder, patterns, QDir::Files, QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
        while (it.hasNext())
            files << it.next();
    }
    std::sort(files.begin(), files.end());
    files.removeDuplicates();
    return files;
}

// A file of the corpus, or nothing when it is not one.
QByteArray Read(const Corpus& corpus, const QString& path)
{
    QFile file(path);
    if (file.size() > 20 * 1000 * 1000 || !file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    if (bytes.contains('\0'))
        return {};
    if (corpus.shellScripts) {
        const QByteArray first = bytes.left(bytes.indexOf('\n'));
        if (BuiltInSchemes::ForFirstLine(std::string_view(first.constData(), size_t(first.size()))) !=
            TBuiltInScheme::Shell)
            return {};
    }
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += '\n';
    return bytes;
}

QByteArray Gather(const Corpus& corpus)
{
    QByteArray once;
    for (const QString& path : Files(corpus))
        once += Read(corpus, path);
    if (once.isEmpty())
        return {};
    QByteArray text;
    text.reserve(kCorpusBytes + once.size());
    while (text.size() < kCorpusBytes)
        text += once;
    return text;
}

// Lists the files of every corpus that end with something open.
int CheckLeaks()
{
    for (const Corpus& corpus : kCorpora) {
        std::unique_ptr<TSyntaxParser> parser(CreateBuiltInParser(corpus.scheme, nullptr));
        int files = 0;
        int open = 0;
        qint64 lines = 0;
        std::vector<uchar> attrs;
        for (const QString& path : Files(corpus)) {
            const QByteArray text = Read(corpus, path);
            if (text.isEmpty())
                continue;
            ++files;
            quint32 state = 0;
            int line = 0;
            int openedAt = -1;
            for (qsizetype at = 0; at < text.size(); ++line) {
                qsizetype end = text.indexOf('\n', at);
                const qsizetype next = end + 1;
                if (end > at && text[end - 1] == '\r')
                    --end;
                attrs.resize(size_t(end - at));
                state = parser->ParseLine(std::string_view(text.constData() + at, size_t(end - at)), state,
                                          attrs.data());
                if (state == 0)
                    openedAt = -1;
                else if (openedAt < 0)
                    openedAt = line;
                at = next;
            }
            lines += line;
            if (state != 0) {
                ++open;
                std::printf("%s: open from line %d to the end (state %08x)\n", qPrintable(path), openedAt + 1, state);
            }
        }
        std::printf("%s: %d files, %lld lines, %d left open at their end\n", corpus.name, files,
                    static_cast<long long>(lines), open);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "--leaks")
        return CheckLeaks();
    // A corpus name runs that corpus alone.
    const QByteArray only = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    for (const Corpus& corpus : kCorpora) {
        if (!only.isEmpty() && only != corpus.name)
            continue;
        const QByteArray text = Gather(corpus);
        if (text.isEmpty()) {
            std::fprintf(stderr, "%s: no files\n", corpus.name);
            continue;
        }
        std::unique_ptr<TSyntaxParser> parser(CreateBuiltInParser(corpus.scheme, nullptr));
        TMemoSource source;
        source.SetTextStr(text);
        source.SetSyntaxParser(parser.get());
        const int lines = source.LineCount();
        const double start = CpuSeconds();
        source.ParseTo(lines - 1);
        const double seconds = CpuSeconds() - start;
        if (source.ParsedUpTo() < lines) {
            std::fprintf(stderr, "%s: only %d of %d lines parsed\n", corpus.name, source.ParsedUpTo(), lines);
            return 1;
        }
        std::printf("highlight_%s_MBps %.1f\n", corpus.name, double(text.size()) / 1e6 / std::max(seconds, 1e-9));
        std::fflush(stdout);
        source.SetSyntaxParser(nullptr);
    }
    return 0;
}
