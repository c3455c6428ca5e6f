#include "expressionsieve.h"

#include "internalstrings.h"
#include "linematcher.h"

#include <algorithm>

namespace {

constexpr int kFirstBlockBytes = 4096;
constexpr int kMostBlockBytes = 65536;

// Whether a line's match can fail to be a match of the block at the same
// place (see the class comment). The test is on the text of the pattern and
// errs on the safe side: a sequence that only looks like one of these (in a
// class or quoted) turns the sieve off, never on.
bool TellsLineEndsFromBreaks(const QString& pattern)
{
    static const char16_t* const kConstructs[] = {
        u"(?!", u"(?<!", // negative look-arounds
        u"(?>",          // atomic groups
        u"(*",           // verbs, newline settings, named look-arounds
        u"(?(",          // conditions
        u"(?C",          // callouts
        u"\\A", u"\\Z", u"\\z", u"\\G", u"\\K",
        u"*+", u"++", u"?+", u"}+", // possessive quantifiers
    };
    for (const char16_t* construct : kConstructs) {
        if (pattern.contains(QStringView(construct)))
            return true;
    }
    // An option group that switches something off ("(?-m)", "(?^)") could
    // switch off the multi-line mode the block is searched in.
    for (qsizetype at = pattern.indexOf(u"(?"); at >= 0; at = pattern.indexOf(u"(?", at + 2)) {
        for (qsizetype i = at + 2; i < pattern.size(); ++i) {
            const QChar c = pattern[i];
            if (c == u'-' || c == u'^')
                return true;
            if (!c.isLetter())
                break;
        }
    }
    return false;
}

} // namespace

TExpressionSieve::TExpressionSieve(const QString& pattern, QRegularExpression::PatternOptions options,
                                   const TLiteralScanner& literal)
    : m_literal(literal), m_blockBytes(kFirstBlockBytes)
{
    if (TellsLineEndsFromBreaks(pattern))
        return;
    // Line feeds are the line breaks of the block, whatever the engine was
    // built to take for one.
    m_expression =
        QRegularExpression(QStringLiteral("(*LF)") + pattern, options | QRegularExpression::MultilineOption);
    m_usable = m_expression.isValid();
    if (m_usable)
        m_expression.optimize();
}

bool TExpressionSieve::MayHold(std::string_view text) const
{
    return m_literal.Length() == 0 || m_literal.Find(text.data(), 0, int(text.size())) >= 0;
}

void TExpressionSieve::ReadBlock(const TInternalStrings& lines, int first, int limit, bool forward)
{
    // Forward the block covers [first, last]; backward [last, first]. The
    // lines are gathered in the order they are met and read in text order.
    std::vector<int> taken;
    qsizetype length = 0;
    const int step = forward ? 1 : -1;
    int last = first - step;
    while (last != limit && (taken.empty() || length < m_blockBytes)) {
        last += step;
        const std::string_view text = lines.RawText(last);
        if (!MayHold(text))
            continue;
        taken.push_back(last);
        length += qsizetype(text.size()) + 1;
    }
    if (!forward)
        std::reverse(taken.begin(), taken.end());
    m_blockFirst = std::min(first, last);
    m_blockLast = std::max(first, last);
    if (!taken.empty())
        m_blockBytes = std::min(m_blockBytes * 2, kMostBlockBytes);

    m_subject.resize(std::max<qsizetype>(length - 1, 0));
    m_entries.clear();
    char16_t* out = reinterpret_cast<char16_t*>(m_subject.data());
    qsizetype at = 0;
    for (int line : taken) {
        if (!m_entries.empty())
            out[at++] = u'\n';
        m_entries.push_back({line, at});
        const std::string_view text = lines.RawText(line);
        TLineMatcher::Decode(text.data(), int(text.size()), out + at);
        at += qsizetype(text.size());
    }
    m_scannedFrom = -1;
    m_openLow = m_blockLast + 1;
    m_openHigh = m_blockLast;
}

int TExpressionSieve::LineAt(qsizetype place) const
{
    const auto it = std::upper_bound(m_entries.begin(), m_entries.end(), place,
                                     [](qsizetype p, const TEntry& entry) { return p < entry.start; });
    return std::prev(it)->line;
}

int TExpressionSieve::NextCandidate(const TInternalStrings& lines, int line, int limit, bool forward)
{
    if (!m_usable)
        return line;
    if (forward) {
        while (line <= limit) {
            if (line < m_blockFirst || line > m_blockLast)
                ReadBlock(lines, line, limit, true);
            // A run from an earlier line of the block already found the
            // leftmost match at or behind this line.
            if (m_scannedFrom >= 0 && m_scannedFrom <= line && m_matchLine >= line && m_matchLine <= m_blockLast)
                return m_matchLine;
            const auto entry = std::lower_bound(m_entries.begin(), m_entries.end(), line,
                                                [](const TEntry& e, int l) { return e.line < l; });
            if (entry == m_entries.end()) {
                line = m_blockLast + 1;
                continue;
            }
            const QRegularExpressionMatch found = TLineMatcher::RunExpression(m_expression, m_subject, entry->start);
            if (!found.isValid()) {
                // The engine gave up on the block: every line from here on
                // is searched by itself.
                m_usable = false;
                return line;
            }
            m_scannedFrom = line;
            m_matchLine = found.hasMatch() ? LineAt(found.capturedStart()) : m_blockLast + 1;
            if (m_matchLine <= m_blockLast)
                return m_matchLine;
            line = m_blockLast + 1;
        }
        return line;
    }
    while (line >= limit) {
        if (line >= m_openLow && line <= m_openHigh)
            return line;
        if (line >= m_blockFirst && line < m_openLow) {
            line = m_blockFirst - 1;
            continue;
        }
        ReadBlock(lines, line, limit, false);
        if (m_entries.empty()) {
            line = m_blockFirst - 1;
            continue;
        }
        const QRegularExpressionMatch found = TLineMatcher::RunExpression(m_expression, m_subject, 0);
        if (!found.isValid()) {
            m_usable = false;
            return line;
        }
        if (found.hasMatch()) {
            m_openLow = LineAt(found.capturedStart());
            m_openHigh = line;
            return line;
        }
        line = m_blockFirst - 1;
    }
    return line;
}
