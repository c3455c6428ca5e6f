#pragma once

#include "charset.h"
#include "memotypes.h"
#include "searchoptions.h"

#include <QString>

#include <memory>

class TCustomMemoSource;

// Counts the matches of the search that found a text store's last match, so
// that the window can say which one it is and of how many ("3 of 17").
//
// A small text is counted at once. A larger one is counted on a worker
// thread over a snapshot of the text (textsnapshot.h), so that no key waits
// for it: the count goes from the top down, and the number of the match is
// known as soon as the count has passed its line, the total at the end. A
// count is kept while the text and the search stay the same, so that
// Search Again pressed over and over counts once. Following another text or
// search, or none, stops a count that is running.
class TMatchCount {
public:
    TMatchCount();
    ~TMatchCount();
    TMatchCount(const TMatchCount&) = delete;
    TMatchCount& operator=(const TMatchCount&) = delete;

    // Texts up to this many bytes are counted at once.
    static constexpr qint64 kCountAtOnce = 256 * 1024;

    // Counts for source's found match (nothing when it has none, or source
    // is null).
    void Follow(const TCustomMemoSource* source);

    // Where the found match stands: its number (from 1) and the total; -1
    // for what is not known yet. The total stays -1 when the expression
    // engine gave up on some line.
    struct TPlace {
        qint64 number = -1;
        qint64 total = -1;
    };
    TPlace Place(const TCustomMemoSource& source) const;
    // Whether a worker is still counting.
    bool Busy() const;

private:
    struct TJob;
    struct TKey {
        const TCustomMemoSource* source = nullptr;
        quint64 version = 0;
        QString text;
        bool caseSensitive = false;
        bool wholeWords = false;
        bool regular = false;
        TTextEncoding encoding = MemoTypes::teWindows1252;
        TCharSet delimiters;

        bool operator==(const TKey& other) const;
    };
    static TKey KeyOf(const TCustomMemoSource& source);
    void Stop();

    TKey m_key;
    std::shared_ptr<TJob> m_job;
};
