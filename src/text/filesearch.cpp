#include "filesearch.h"

#include "buffersearch.h"
#include "encodingdetect.h"
#include "textcodec.h"
#include "utf8.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QThread>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

namespace FileSearch {

namespace {

// A shown line starts this many bytes before its first match when it must
// be cut.
constexpr int kShownBefore = 60;

bool isVersionControl(const QString& name)
{
    return name == QLatin1String(".git") || name == QLatin1String(".svn") || name == QLatin1String(".hg");
}

enum class TReadResult { Read, TooLarge, Failed };

// Reads a whole file of at most kMaxFileSize bytes into buffer (which keeps
// its room); size is how much was read.
TReadResult ReadWhole(const QString& path, QByteArray& buffer, qint64& size, QString& error);

// What the workers take from the queue: a folder to list, a file to read,
// or an open document's text.
struct TItem {
    enum Kind { Folder, File, Open } kind = File;
    QString path;
    int open = -1;
};

} // namespace

int TFileHits::MatchCount() const
{
    int count = 0;
    for (const TLine& line : lines)
        count += int(line.matches.size());
    return count;
}

quint64 Fingerprint(const char* data, qint64 size)
{
    return quint64(qHashBits(data, size_t(size), 0)) ^ quint64(size);
}

TNameMasks::TNameMasks(const QStringList& masks)
{
    for (const QString& mask : masks) {
        if (mask == QLatin1String("*") || mask == QLatin1String("*.*")) {
            m_endings.clear();
            m_patterns.clear();
            m_all = true;
            return;
        }
        m_all = false;
        const QString rest = mask.mid(1);
        if (mask.startsWith(u'*') && !rest.contains(u'*') && !rest.contains(u'?') && !rest.contains(u'['))
            m_endings.append(rest);
        else
            m_patterns.emplace_back(QRegularExpression::wildcardToRegularExpression(mask, QRegularExpression::UnanchoredWildcardConversion)
                                        .prepend(u'^')
                                        .append(u'$'),
                                    QRegularExpression::CaseInsensitiveOption);
    }
}

bool TNameMasks::Fits(const QString& name) const
{
    if (m_all)
        return true;
    for (const QString& ending : m_endings) {
        if (name.endsWith(ending, Qt::CaseInsensitive))
            return true;
    }
    for (const QRegularExpression& pattern : m_patterns) {
        if (pattern.match(name).hasMatch())
            return true;
    }
    return false;
}

QStringList SplitMasks(const QString& text)
{
    QStringList masks;
    for (const QString& part : text.split(u';')) {
        const QString mask = part.trimmed();
        if (!mask.isEmpty())
            masks.append(mask);
    }
    return masks;
}

// -- the search ---------------------------------------------------------------------------

struct TSearch::TState {
    TRequest request;
    TEvents events;
    TNameMasks masks;
    // The open documents' files, as the walk names them: passed over there,
    // since their text is searched instead.
    QSet<QString> openPaths;

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<TItem> queue;
    int busy = 0;
    std::vector<std::thread> workers;
    std::atomic<int> running{0};

    std::atomic<bool> cancel{false};
    std::atomic<bool> cancelledByUser{false};
    std::atomic<bool> stoppedAtLimit{false};
    std::atomic<bool> gaveUp{false};
    std::atomic<qint64> searched{0};
    std::atomic<qint64> matched{0};
    std::atomic<qint64> skipped{0};
    std::atomic<qint64> lines{0};
    std::atomic<qint64> matches{0};

    void Push(std::vector<TItem>& folders, std::vector<TItem>& files);
    void Work();
};

namespace {

// One worker's tools: a search prepared for each encoding (when first
// needed) and a buffer that keeps its room from file to file.
class TWorker {
public:
    explicit TWorker(TSearch::TState& state) : m_state(state) {}

    void Process(const TItem& item);

private:
    TBufferSearch& SearchFor(TTextEncoding encoding);
    void List(const QString& folder);
    void ReadFile(const QString& path);
    void SearchBytes(const QString& path, const char* data, qint64 size);
    void Skip(const QString& path, TSkipReason reason, const QString& detail = {});
    // Searches with search (run runs it) and hands over what it found.
    template <typename Run>
    void Collect(TFileHits& hits, TBufferSearch& search, Run&& run);
    TLine Shown(const TBufferSearch::TLineHits& found, TBufferSearch& search, TTextEncoding encoding) const;

    TSearch::TState& m_state;
    std::array<std::unique_ptr<TBufferSearch>, 3> m_searches;
    QByteArray m_buffer;
};

TBufferSearch& TWorker::SearchFor(TTextEncoding encoding)
{
    std::unique_ptr<TBufferSearch>& search = m_searches[size_t(encoding)];
    if (!search) {
        search = std::make_unique<TBufferSearch>();
        search->Prepare(m_state.request.options, m_state.request.delimiters, encoding);
    }
    return *search;
}

void TWorker::Process(const TItem& item)
{
    switch (item.kind) {
    case TItem::Folder: List(item.path); break;
    case TItem::File: ReadFile(item.path); break;
    case TItem::Open: {
        const TOpenText& open = m_state.request.openTexts[size_t(item.open)];
        TFileHits hits;
        hits.path = item.path;
        hits.encoding = open.encoding;
        hits.openTag = open.tag;
        TBufferSearch& search = SearchFor(open.encoding);
        Collect(hits, search, [&](const TBufferSearch::TOnLine& onLine) {
            return search.Search(open.text, onLine, &m_state.cancel);
        });
        break;
    }
    }
}

void TWorker::List(const QString& folder)
{
    // A folder that cannot be listed would look empty.
    if (!QFileInfo(folder).isReadable()) {
        Skip(folder, TSkipReason::Unreadable, QStringLiteral("a folder that cannot be listed"));
        return;
    }
    std::vector<TItem> folders, files;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir()) {
            if (m_state.request.subfolders && !info.isSymLink() && !isVersionControl(info.fileName()))
                folders.push_back({TItem::Folder, info.filePath()});
        } else if (info.isFile() && m_state.masks.Fits(info.fileName())) {
            const QString path = info.filePath();
            if (!m_state.openPaths.contains(path))
                files.push_back({TItem::File, path});
        }
    }
    m_state.Push(folders, files);
}

void TWorker::Skip(const QString& path, TSkipReason reason, const QString& detail)
{
    ++m_state.skipped;
    if (m_state.events.onSkipped)
        m_state.events.onSkipped({path, reason, detail});
}

TReadResult ReadWhole(const QString& path, QByteArray& buffer, qint64& size, QString& error)
{
#if defined(Q_OS_UNIX)
    // Three calls a file (open, fstat, read) where the toolkit's file makes
    // twice as many: with thousands of small files they are most of the cost.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = qt_error_string(errno);
        return TReadResult::Failed;
    }
    struct stat status {};
    TReadResult result = TReadResult::Read;
    if (::fstat(fd, &status) != 0) {
        error = qt_error_string(errno);
        result = TReadResult::Failed;
    } else if (status.st_size > kMaxFileSize) {
        result = TReadResult::TooLarge;
    } else {
        buffer.resize(qsizetype(status.st_size));
        size = 0;
        while (size < status.st_size) {
            const ssize_t got = ::read(fd, buffer.data() + size, size_t(status.st_size - size));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                error = qt_error_string(errno);
                result = TReadResult::Failed;
                break;
            }
            if (got == 0)
                break;
            size += got;
        }
    }
    ::close(fd);
    return result;
#else
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        error = file.errorString();
        return TReadResult::Failed;
    }
    const qint64 length = file.size();
    if (length > kMaxFileSize)
        return TReadResult::TooLarge;
    buffer.resize(qsizetype(length));
    size = 0;
    while (size < length) {
        const qint64 got = file.read(buffer.data() + size, length - size);
        if (got < 0) {
            error = file.errorString();
            return TReadResult::Failed;
        }
        if (got == 0)
            break;
        size += got;
    }
    return TReadResult::Read;
#endif
}

void TWorker::ReadFile(const QString& path)
{
    qint64 size = 0;
    QString error;
    switch (ReadWhole(path, m_buffer, size, error)) {
    case TReadResult::Failed: Skip(path, TSkipReason::Unreadable, error); return;
    case TReadResult::TooLarge: Skip(path, TSkipReason::TooLarge); return;
    case TReadResult::Read: SearchBytes(path, m_buffer.constData(), size); return;
    }
}

void TWorker::SearchBytes(const QString& path, const char* data, qint64 size)
{
    // Binary data is refused, as loading refuses it.
    if (size > 0 && std::memchr(data, 0, size_t(size))) {
        Skip(path, TSkipReason::Binary);
        return;
    }
    const bool mark = EncodingDetect::StartsWithByteOrderMark(data, size);
    const int skip = mark ? EncodingDetect::kByteOrderMarkLength : 0;
    // When the literal every match holds reads the same in both encodings
    // (ASCII), a file without it needs no look at its encoding.
    TBufferSearch& latin = SearchFor(MemoTypes::teWindows1252);
    TBufferSearch& utf8 = SearchFor(MemoTypes::teUtf8);
    const QByteArray literal = latin.Literal();
    const bool plainBytes = !literal.isEmpty() && literal == utf8.Literal()
                            && std::all_of(literal.begin(), literal.end(), [](char c) { return uchar(c) < 0x80; });
    if (plainBytes && !latin.MayMatch(data + skip, size - skip, &m_state.cancel)) {
        ++m_state.searched;
        return;
    }
    const TTextEncoding encoding =
        EncodingDetect::Detect(data, size, EncodingDetect::IsMarkupFile(path)).encoding;
    TFileHits hits;
    hits.path = path;
    hits.encoding = encoding;
    hits.size = size;
    if (m_state.request.replacing)
        hits.fingerprint = Fingerprint(data, size);
    TBufferSearch& search = SearchFor(encoding);
    Collect(hits, search, [&](const TBufferSearch::TOnLine& onLine) {
        return search.Search(data + skip, size - skip, 0, onLine, &m_state.cancel);
    });
}

template <typename Run>
void TWorker::Collect(TFileHits& hits, TBufferSearch& search, Run&& run)
{
    run([&](const TBufferSearch::TLineHits& found) {
        if (m_state.lines.fetch_add(1) >= kMaxLines) {
            m_state.stoppedAtLimit = true;
            m_state.cancel = true;
            return false;
        }
        hits.lines.push_back(Shown(found, search, hits.encoding));
        return true;
    });
    if (search.GaveUp())
        m_state.gaveUp = true;
    // A file cut short by a cancel counts as searched only when it was
    // stopped at the limit: its lines up to there are listed.
    if (m_state.cancelledByUser)
        return;
    ++m_state.searched;
    if (hits.lines.empty())
        return;
    ++m_state.matched;
    m_state.matches += hits.MatchCount();
    if (m_state.events.onFile)
        m_state.events.onFile(std::move(hits));
}

TLine TWorker::Shown(const TBufferSearch::TLineHits& found, TBufferSearch& search, TTextEncoding encoding) const
{
    const std::string_view text = found.text;
    const std::vector<TLineMatch>& matches = *found.matches;
    const bool utf8 = encoding == MemoTypes::teUtf8;
    const int size = int(text.size());
    // Cut at character starts: in UTF-8 not inside a sequence.
    auto snap = [&](int at) {
        while (utf8 && at > 0 && at < size && (uchar(text[size_t(at)]) & 0xc0) == 0x80)
            --at;
        return at;
    };
    int from = 0;
    int to = size;
    if (size > kShownLength) {
        from = snap(std::max(0, matches.front().start - kShownBefore));
        to = snap(std::min(size, from + kShownLength));
        to = std::max(to, std::min(size, matches.front().End()));
    }
    const bool cutFront = from > 0;
    if (!cutFront) {
        while (from < matches.front().start && (text[size_t(from)] == ' ' || text[size_t(from)] == '\t'))
            ++from;
    }

    TLine line;
    line.line = int(found.line);
    if (cutFront)
        line.shown = QStringLiteral("\u2026");
    // The text is read piece by piece between the matches' edges, so that
    // every edge falls where the characters it stands between meet.
    int at = from;
    auto readTo = [&](int stop) {
        stop = std::clamp(stop, at, to);
        if (stop > at)
            line.shown += TextCodec::Decode(text.data() + at, stop - at, encoding);
        at = stop;
    };
    for (const TLineMatch& match : matches) {
        TMatch shown;
        shown.start = match.start;
        shown.length = match.length;
        if (m_state.request.replacing)
            shown.replacement = search.Replacement(match);
        if (match.start >= at && match.start < to) {
            readTo(match.start);
            shown.shownStart = int(line.shown.size());
            readTo(match.End());
            shown.shownLength = int(line.shown.size()) - shown.shownStart;
        } else {
            shown.shownStart = -1;
        }
        line.matches.push_back(std::move(shown));
    }
    readTo(to);
    if (to < size)
        line.shown += QStringLiteral("\u2026");
    line.shown.replace(u'\t', u' ');
    return line;
}

} // namespace

void TSearch::TState::Push(std::vector<TItem>& folders, std::vector<TItem>& files)
{
    if (folders.empty() && files.empty())
        return;
    {
        std::lock_guard lock(mutex);
        // Files first, so that what was listed is searched before the queue
        // grows with what lies deeper.
        for (auto it = files.rbegin(); it != files.rend(); ++it)
            queue.push_front(std::move(*it));
        for (TItem& folder : folders)
            queue.push_back(std::move(folder));
    }
    wake.notify_all();
}

void TSearch::TState::Work()
{
    TWorker worker(*this);
    for (;;) {
        TItem item;
        {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return cancel || !queue.empty() || busy == 0; });
            if (cancel || queue.empty())
                break;
            item = std::move(queue.front());
            queue.pop_front();
            ++busy;
        }
        worker.Process(item);
        {
            std::lock_guard lock(mutex);
            --busy;
        }
        wake.notify_all();
    }
    wake.notify_all();
    if (--running > 0)
        return;
    // The last worker out reports the totals.
    TTotals totals;
    totals.searched = searched;
    totals.matched = matched;
    totals.skipped = skipped;
    totals.lines = std::min(lines.load(), kMaxLines);
    totals.matches = matches;
    totals.cancelled = cancelledByUser;
    totals.stoppedAtLimit = stoppedAtLimit;
    totals.gaveUp = gaveUp;
    if (events.onFinished)
        events.onFinished(totals);
}

TSearch::TSearch() = default;

TSearch::~TSearch()
{
    Cancel();
    Wait();
}

bool TSearch::Start(TRequest request, TEvents events, QString* error)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (m_state)
        return fail(QStringLiteral("A search is already running."));
    TBufferSearch check;
    QString problem;
    if (!check.Prepare(request.options, request.delimiters, MemoTypes::teWindows1252, &problem))
        return fail(problem.isEmpty() ? QStringLiteral("There is no text to find.") : problem);
    const QFileInfo folder(request.folder);
    if (request.folder.isEmpty() || !folder.isDir())
        return fail(QStringLiteral("The folder \"%1\" does not exist.").arg(QDir::toNativeSeparators(request.folder)));
    if (!folder.isReadable())
        return fail(QStringLiteral("The folder \"%1\" cannot be read.").arg(QDir::toNativeSeparators(request.folder)));

    auto state = std::make_shared<TState>();
    state->request = std::move(request);
    state->events = std::move(events);
    state->masks = TNameMasks(state->request.masks);
    // The walk starts from the folder's real path, so that it names the
    // files as the open documents' real paths do.
    const QString root = folder.canonicalFilePath();
    std::vector<TItem> folders{{TItem::Folder, root}};
    std::vector<TItem> files;
    for (size_t i = 0; i < state->request.openTexts.size(); ++i) {
        const QFileInfo file(state->request.openTexts[i].path);
        const QString path = file.canonicalFilePath().isEmpty() ? file.absoluteFilePath() : file.canonicalFilePath();
        const QString parent = QFileInfo(path).absolutePath();
        const bool inside = state->request.subfolders ? path.startsWith(root + u'/') || parent == root : parent == root;
        if (!inside || !state->masks.Fits(file.fileName()) || state->openPaths.contains(path))
            continue;
        state->openPaths.insert(path);
        files.push_back({TItem::Open, path, int(i)});
    }
    state->Push(folders, files);
    const int workers = std::max(1, QThread::idealThreadCount());
    state->running = workers;
    m_state = state;
    for (int i = 0; i < workers; ++i)
        state->workers.emplace_back([state] { state->Work(); });
    return true;
}

void TSearch::Cancel()
{
    if (!m_state)
        return;
    m_state->cancelledByUser = true;
    m_state->cancel = true;
    m_state->wake.notify_all();
}

void TSearch::Wait()
{
    if (!m_state)
        return;
    for (std::thread& worker : m_state->workers) {
        if (worker.joinable())
            worker.join();
    }
}

bool TSearch::Running() const
{
    return m_state && m_state->running > 0;
}

qint64 TSearch::Searched() const
{
    return m_state ? m_state->searched.load() : 0;
}

} // namespace FileSearch
