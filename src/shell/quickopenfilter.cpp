// Quick Open's ranking. A first pass per name throws out those that do not
// hold the typed characters in order; for the others the best placing of
// the characters is found (each character's best score at each place of
// the name, one row of places per character), scoring word starts and runs
// and charging gaps; a name that holds the text in one piece gets a bonus
// on top. Cheap enough for every name at each key (the benchmark holds
// 50,000 names), and typing on narrows the names looked at.

#include "quickopenfilter.h"

#include <QSet>

#include <algorithm>
#include <limits>

namespace {

// Scores of the pieces of a match.
constexpr int kPerChar = 1;
constexpr int kNameStart = 8;
constexpr int kWordStart = 6;
constexpr int kRun = 4;
constexpr int kMaxGapCost = 3;
// The text in one piece: at the name's start, at a word start, elsewhere.
constexpr int kWholeAtStart = 16;
constexpr int kWholeAtWord = 10;
constexpr int kWholeElsewhere = 2;

bool isSeparator(QChar c)
{
    return c == u'.' || c == u'_' || c == u'-' || c == u' ';
}

bool isWordStart(const QString& name, qsizetype at)
{
    if (at == 0)
        return true;
    const QChar before = name.at(at - 1);
    return isSeparator(before) || (name.at(at).isUpper() && before.isLower())
           || (name.at(at).isDigit() && !before.isDigit());
}

QString fileName(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? path : path.mid(slash + 1);
}

} // namespace

void TQuickOpenFilter::SetEntries(std::vector<TEntry> entries)
{
    std::stable_partition(entries.begin(), entries.end(), [](const TEntry& each) { return each.recent; });
    m_entries.clear();
    m_entries.reserve(entries.size());
    QSet<QString> seen;
    seen.reserve(qsizetype(entries.size()));
    for (TEntry& entry : entries) {
        if (seen.contains(entry.path))
            continue;
        seen.insert(entry.path);
        TItem item;
        item.name = fileName(entry.path);
        item.lowerName = item.name.toLower();
        item.entry = std::move(entry);
        m_entries.push_back(std::move(item));
    }
    m_lastValid = false;
}

int TQuickOpenFilter::Score(const QString& name, const QString& lowerName, const QString& lowerText)
{
    const qsizetype length = lowerName.size();
    const qsizetype count = lowerText.size();
    const QChar* chars = lowerName.constData();
    const QChar* wanted = lowerText.constData();
    // Most names do not hold the characters in order at all: one pass tells.
    for (qsizetype at = 0, k = 0; k < count; ++at) {
        if (at == length)
            return -1;
        if (chars[at] == wanted[k])
            ++k;
    }
    if (count == 0)
        return 0;
    // A letter whose lower case is longer shifts the places: the word
    // starts are then taken from the lower-case name alone.
    const QString& cased = name.size() == length ? name : lowerName;

    // The best placing of the characters: best[i] is the best score of the
    // characters so far with the last one at i (kNone: it cannot be there).
    // A character either runs on from the one before it or comes after a
    // gap, which costs its length up to kMaxGapCost.
    constexpr int kNone = std::numeric_limits<int>::min() / 2;
    thread_local std::vector<int> best, next;
    best.assign(size_t(length), kNone);
    next.assign(size_t(length), kNone);
    auto placed = [&](qsizetype at) {
        return kPerChar + (at == 0 ? kNameStart : isWordStart(cased, at) ? kWordStart : 0);
    };
    for (qsizetype at = 0; at < length; ++at) {
        if (chars[at] == wanted[0])
            best[size_t(at)] = placed(at);
    }
    for (qsizetype k = 1; k < count; ++k) {
        // The best of the previous character at least kMaxGapCost + 1
        // places back, where the gap costs its most.
        int far = kNone;
        for (qsizetype at = 0; at < length; ++at) {
            int score = kNone;
            if (at >= 1 + kMaxGapCost)
                far = std::max(far, best[size_t(at - 1 - kMaxGapCost)] - kMaxGapCost);
            if (chars[at] == wanted[k]) {
                int before = far;
                if (at >= 1)
                    before = std::max(before, best[size_t(at - 1)] + kRun);
                for (qsizetype gap = 1; gap < kMaxGapCost && at - 1 - gap >= 0; ++gap)
                    before = std::max(before, best[size_t(at - 1 - gap)] - int(gap));
                if (before > kNone)
                    score = before + placed(at);
            }
            next[size_t(at)] = score;
        }
        std::swap(best, next);
    }
    int score = *std::max_element(best.begin(), best.end());
    const qsizetype whole = lowerName.indexOf(lowerText);
    if (whole == 0)
        score += kWholeAtStart;
    else if (whole > 0)
        score += isWordStart(cased, whole) ? kWholeAtWord : kWholeElsewhere;
    // Gaps may cost more than the characters bring; a match still counts
    // (typing on looks only through the last text's matches).
    return std::max(0, score);
}

std::vector<int> TQuickOpenFilter::Filter(const QString& text, int limit)
{
    const QString lower = text.toLower();
    std::vector<int> matches;
    if (lower.isEmpty()) {
        for (int i = 0; i < Count() && int(matches.size()) < limit; ++i)
            matches.push_back(i);
        m_lastValid = false;
        return matches;
    }

    // Every name that matches the longer text matched the shorter one.
    struct TScored {
        int score;
        int index;
    };
    std::vector<TScored> scored;
    auto consider = [&](int index) {
        const TItem& item = m_entries[size_t(index)];
        const int score = Score(item.name, item.lowerName, lower);
        if (score >= 0)
            scored.push_back({score, index});
    };
    if (m_lastValid && !m_lastText.isEmpty() && lower.startsWith(m_lastText)) {
        scored.reserve(m_lastMatches.size());
        for (int index : m_lastMatches)
            consider(index);
    } else {
        scored.reserve(m_entries.size() / 4);
        for (int i = 0; i < Count(); ++i)
            consider(i);
    }
    m_lastText = lower;
    m_lastMatches.clear();
    m_lastMatches.reserve(scored.size());
    for (const TScored& each : scored)
        m_lastMatches.push_back(each.index);
    std::sort(m_lastMatches.begin(), m_lastMatches.end());
    m_lastValid = true;

    auto better = [this](const TScored& a, const TScored& b) {
        if (a.score != b.score)
            return a.score > b.score;
        const TItem& x = m_entries[size_t(a.index)];
        const TItem& y = m_entries[size_t(b.index)];
        if (x.name.size() != y.name.size())
            return x.name.size() < y.name.size();
        if (x.entry.recent != y.entry.recent)
            return x.entry.recent;
        return x.entry.path < y.entry.path;
    };
    const auto shown = scored.begin() + std::min<qsizetype>(limit, qsizetype(scored.size()));
    std::partial_sort(scored.begin(), shown, scored.end(), better);
    for (auto it = scored.begin(); it != shown; ++it)
        matches.push_back(it->index);
    return matches;
}
