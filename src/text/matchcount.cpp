#include "matchcount.h"

#include "buffersearch.h"
#include "linematcher.h"
#include "memosource.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// One count, shared by the window's side and the worker that runs it.
struct TMatchCount::TJob {
    std::atomic<bool> cancel{false};
    std::thread thread;
    TBufferSearch search;

    mutable std::mutex mutex;
    // The lines holding matches, in order, each with the number of matches
    // on it and on every line before it.
    std::vector<std::pair<qint64, qint64>> lines;
    // The last line reported: every line before it is counted.
    qint64 reached = -1;
    qint64 total = 0;
    bool done = false;
    bool gaveUp = false;

    void Run(const TTextSnapshot& text)
    {
        const bool complete = search.Search(
            text,
            [this](const TBufferSearch::TLineHits& hits) {
                std::lock_guard lock(mutex);
                total += qint64(hits.matches->size());
                lines.emplace_back(hits.line, total);
                reached = hits.line;
                return true;
            },
            &cancel);
        std::lock_guard lock(mutex);
        done = complete;
        gaveUp = search.GaveUp();
    }
};

bool TMatchCount::TKey::operator==(const TKey& other) const
{
    return source == other.source && version == other.version && text == other.text
           && caseSensitive == other.caseSensitive && wholeWords == other.wholeWords && regular == other.regular
           && encoding == other.encoding && delimiters == other.delimiters;
}

TMatchCount::TMatchCount() = default;

TMatchCount::~TMatchCount()
{
    Stop();
}

TMatchCount::TKey TMatchCount::KeyOf(const TCustomMemoSource& source)
{
    const TSearchOptions& options = source.FoundMatch().options;
    TKey key;
    key.source = &source;
    key.version = source.TextVersion();
    key.text = options.textToFind;
    key.caseSensitive = options.caseSensitive;
    key.wholeWords = options.wholeWordsOnly;
    key.regular = options.regularExpressions;
    key.encoding = source.Encoding();
    key.delimiters = source.DelimiterSet();
    return key;
}

void TMatchCount::Stop()
{
    if (!m_job)
        return;
    m_job->cancel = true;
    if (m_job->thread.joinable())
        m_job->thread.join();
    m_job.reset();
    m_key = TKey();
}

void TMatchCount::Follow(const TCustomMemoSource* source)
{
    if (!source || !source->FoundMatch().Valid()) {
        Stop();
        return;
    }
    const TKey key = KeyOf(*source);
    if (m_job && key == m_key)
        return;
    Stop();
    m_key = key;
    auto job = std::make_shared<TJob>();
    m_job = job;
    if (!job->search.Prepare(source->FoundMatch().options, key.delimiters, key.encoding)) {
        job->done = true;
        job->gaveUp = true;
        return;
    }
    TTextSnapshot text = source->Snapshot();
    if (text.Size() <= kCountAtOnce) {
        job->Run(text);
        return;
    }
    // The worker holds what it reads: the job and the snapshot (whose
    // blocks outlive any edit of the store).
    job->thread = std::thread([job, text = std::move(text)] { job->Run(text); });
}

bool TMatchCount::Busy() const
{
    if (!m_job)
        return false;
    std::lock_guard lock(m_job->mutex);
    return !m_job->done && !m_job->cancel;
}

TMatchCount::TPlace TMatchCount::Place(const TCustomMemoSource& source) const
{
    TPlace place;
    const TFoundMatch& found = source.FoundMatch();
    if (!m_job || !found.Valid() || !(KeyOf(source) == m_key))
        return place;
    qint64 before = 0;
    {
        std::lock_guard lock(m_job->mutex);
        if (m_job->done && !m_job->gaveUp)
            place.total = m_job->total;
        if (!m_job->done && m_job->reached < found.line)
            return place;
        const auto& lines = m_job->lines;
        const auto it = std::lower_bound(lines.begin(), lines.end(), qint64(found.line),
                                         [](const auto& entry, qint64 line) { return entry.first < line; });
        if (it != lines.begin())
            before = std::prev(it)->second;
    }
    // The matches of its own line that start before it: one line, searched
    // here as the count searched it.
    TLineMatcher matcher;
    qint64 inLine = 0;
    if (matcher.Prepare(found.options, m_key.delimiters, nullptr, m_key.encoding)) {
        const std::string_view text = source.Strings().RawText(found.line);
        matcher.SetLine(text, int(text.size()));
        TLineMatch match;
        int from = 0;
        bool skipEmpty = false;
        while (matcher.FindForward(from, skipEmpty, match) && match.start < found.start) {
            ++inLine;
            from = match.End();
            skipEmpty = true;
        }
    }
    place.number = before + inLine + 1;
    return place;
}
