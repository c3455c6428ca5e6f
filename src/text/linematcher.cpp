#include "linematcher.h"

#include "ansi.h"

#include <algorithm>
#include <cstring>

bool TLineMatcher::Prepare(const TSearchOptions& options, const TCharSet& delimiters, QString* error)
{
    m_regular = options.regularExpressions;
    m_caseSensitive = options.caseSensitive;
    m_wholeWords = options.wholeWordsOnly;
    m_delimiters = delimiters;
    m_unmatchable = false;
    for (int c = 0; c < 256; ++c)
        m_fold[size_t(c)] = m_caseSensitive ? uchar(c) : Ansi::Lower(uchar(c));

    // Line breaks cannot go into a line: the replacement leaves them out.
    m_replacement = Ansi::FromQString(options.replaceText);
    m_replacement.replace('\r', QByteArray()).replace('\n', QByteArray());

    if (options.textToFind.isEmpty())
        return false;
    if (m_regular) {
        QRegularExpression::PatternOptions flags = QRegularExpression::NoPatternOption;
        if (!m_caseSensitive)
            flags |= QRegularExpression::CaseInsensitiveOption;
        m_expression = QRegularExpression(options.textToFind, flags);
        if (!m_expression.isValid()) {
            if (error)
                *error = QStringLiteral("%1 is invalid mask at (%2)")
                             .arg(options.textToFind)
                             .arg(m_expression.patternErrorOffset() + 1);
            return false;
        }
        m_expression.optimize();
        return true;
    }
    for (char32_t ch : options.textToFind.toUcs4()) {
        uchar byte;
        if (!Ansi::FromUnicode(ch, byte))
            m_unmatchable = true;
    }
    m_pattern = Ansi::FromQString(options.textToFind);
    for (char& c : m_pattern)
        c = char(m_fold[uchar(c)]);
    m_firstCount = 0;
    for (int c = 0; c < 256 && m_firstCount < 2; ++c) {
        if (m_fold[size_t(c)] == uchar(m_pattern[0]))
            m_first[m_firstCount++] = char(c);
    }
    return true;
}

void TLineMatcher::SetLine(std::string_view line, int to)
{
    m_line = line;
    m_to = std::clamp(to, 0, int(line.size()));
    m_candidatesReady = false;
    if (m_regular)
        m_subject = Ansi::ToQString(line.data(), m_to);
}

bool TLineMatcher::Qualifies(int start, int end) const
{
    if (!m_wholeWords)
        return true;
    auto wordChar = [this](char c) { return uchar(c) > 32 && !m_delimiters.Has(uchar(c)); };
    if (start > 0 && wordChar(m_line[size_t(start - 1)]))
        return false;
    return end >= int(m_line.size()) || !wordChar(m_line[size_t(end)]);
}

bool TLineMatcher::PlainAt(int at) const
{
    const int n = int(m_pattern.size());
    const char* text = m_line.data() + at;
    for (int i = 0; i < n; ++i) {
        if (m_fold[uchar(text[i])] != uchar(m_pattern[i]))
            return false;
    }
    return true;
}

bool TLineMatcher::PlainMatch(int at, TLineMatch& match) const
{
    match.start = at;
    match.length = int(m_pattern.size());
    match.groups.clear();
    return true;
}

bool TLineMatcher::ExpressionAt(int offset, TLineMatch& match) const
{
    const QRegularExpressionMatch found = m_expression.match(m_subject, offset);
    if (!found.hasMatch())
        return false;
    match.start = int(found.capturedStart());
    match.length = int(found.capturedLength());
    match.groups.clear();
    for (int i = 0; i <= found.lastCapturedIndex(); ++i)
        match.groups.emplace_back(int(found.capturedStart(i)), int(found.capturedLength(i)));
    return true;
}

bool TLineMatcher::FindForward(int from, bool skipEmptyAtFrom, TLineMatch& match) const
{
    from = std::max(from, 0);
    if (from > m_to || m_unmatchable)
        return false;
    if (!m_regular) {
        const int n = int(m_pattern.size());
        const std::string_view pattern(m_pattern.constData(), size_t(n));
        const std::string_view range = m_line.substr(0, size_t(m_to));
        if (m_caseSensitive) {
            for (size_t at = range.find(pattern, size_t(from)); at != std::string_view::npos;
                 at = range.find(pattern, at + 1)) {
                if (Qualifies(int(at), int(at) + n))
                    return PlainMatch(int(at), match);
            }
            return false;
        }
        // Without case the candidates are the places of the first character
        // in either case, found by the fast byte search.
        if (n == 0 || from + n > m_to)
            return false;
        const char* const begin = m_line.data();
        const char* const last = begin + m_to - n;
        const char* next[2] = {nullptr, nullptr};
        for (const char* at = begin + from; at <= last; ++at) {
            for (int i = 0; i < m_firstCount; ++i) {
                if (next[i] < at)
                    next[i] = static_cast<const char*>(std::memchr(at, m_first[i], size_t(last - at + 1)));
                if (!next[i])
                    next[i] = last + 1;
            }
            at = m_firstCount == 1 ? next[0] : std::min(next[0], next[1]);
            if (at > last)
                return false;
            if (PlainAt(int(at - begin)) && Qualifies(int(at - begin), int(at - begin) + n))
                return PlainMatch(int(at - begin), match);
        }
        return false;
    }
    for (int offset = from; offset <= m_to; offset = match.start + 1) {
        if (!ExpressionAt(offset, match))
            return false;
        const bool emptyAtFrom = match.length == 0 && match.start == from && skipEmptyAtFrom;
        if (!emptyAtFrom && Qualifies(match.start, match.End()))
            return true;
        // Every retry starts at least one character further on.
    }
    return false;
}

void TLineMatcher::FindCandidates() const
{
    m_candidates.clear();
    TLineMatch match;
    // Matches do not overlap (an empty one steps a character on), so that a
    // line costs one pass however long its matches are.
    for (int offset = 0; offset <= m_to && ExpressionAt(offset, match);
         offset = match.length > 0 ? match.End() : match.start + 1)
        m_candidates.push_back(match);
    m_candidatesReady = true;
}

bool TLineMatcher::FindBackward(int from, int to, bool skipEmptyAtTo, TLineMatch& match) const
{
    from = std::max(from, 0);
    to = std::min(to, m_to);
    if (from > to || m_unmatchable)
        return false;
    if (!m_regular) {
        const int n = int(m_pattern.size());
        for (int at = to - n; n > 0 && at >= from; --at) {
            if (PlainAt(at) && Qualifies(at, at + n))
                return PlainMatch(at, match);
        }
        return false;
    }
    if (!m_candidatesReady)
        FindCandidates();
    // The candidates are in order of their starts: begin with the last one
    // starting at or before to.
    auto it = std::upper_bound(m_candidates.begin(), m_candidates.end(), to,
                               [](int position, const TLineMatch& candidate) { return position < candidate.start; });
    while (it != m_candidates.begin()) {
        const TLineMatch& candidate = *--it;
        if (candidate.start < from)
            return false;
        const bool emptyAtTo = candidate.length == 0 && candidate.start == to && skipEmptyAtTo;
        if (candidate.End() <= to && !emptyAtTo && Qualifies(candidate.start, candidate.End())) {
            match = candidate;
            return true;
        }
    }
    return false;
}

QByteArray TLineMatcher::Replacement(const TLineMatch& match) const
{
    if (!m_regular || !m_replacement.contains('\\'))
        return m_replacement;
    QByteArray text;
    for (qsizetype i = 0; i < m_replacement.size(); ++i) {
        const char c = m_replacement[i];
        const char next = i + 1 < m_replacement.size() ? m_replacement[i + 1] : '\0';
        if (c == '\\' && next >= '0' && next <= '9') {
            const size_t group = size_t(next - '0');
            if (group < match.groups.size() && match.groups[group].first >= 0) {
                const auto [start, length] = match.groups[group];
                text.append(m_line.data() + start, length);
            }
            ++i;
        } else if (c == '\\' && next == '\\') {
            text.append('\\');
            ++i;
        } else {
            text.append(c);
        }
    }
    return text;
}
