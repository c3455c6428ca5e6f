#pragma once

#include "charset.h"
#include "searchoptions.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

#include <array>
#include <string_view>
#include <utility>
#include <vector>

// One match inside a line: raw byte offsets, and for an expression the
// offset and length of every captured group (used by the replacement).
struct TLineMatch {
    int start = -1;
    int length = 0;
    std::vector<std::pair<int, int>> groups;

    int End() const { return start + length; }
};

// Finds the text of a search in one line at a time, by the record's case
// sensitivity, whole-word rule and expression switch. Lines are 8-bit text;
// an expression runs over the Windows-1252 reading of the line, in which
// every byte is one character, so offsets stay byte offsets.
//
// A line is set once and then searched as often as needed while it stays
// unchanged: the reading an expression needs is made once per line, so a
// line with many matches costs its length, not its length per match.
class TLineMatcher {
public:
    // False, with a message, when the expression is invalid; false without
    // one when there is nothing to search for.
    bool Prepare(const TSearchOptions& options, const TCharSet& delimiters, QString* error = nullptr);

    // The line to search, up to the end of the range (an expression does
    // not see beyond it). The bytes must stay unchanged until the next call.
    void SetLine(std::string_view line, int to);

    // The first match that starts at or after from and ends within the
    // range. With skipEmptyAtFrom an empty match at from does not count, so
    // that a search repeated from where the last one ended moves on.
    bool FindForward(int from, bool skipEmptyAtFrom, TLineMatch& match) const;
    // The match that starts last among those lying within [from, to) (to
    // no further than the range); with skipEmptyAtTo an empty match at to
    // does not count.
    bool FindBackward(int from, int to, bool skipEmptyAtTo, TLineMatch& match) const;

    // The text that replaces a match of the line: the replacement as typed,
    // or for an expression with \0 .. \9 standing for the captured groups.
    QByteArray Replacement(const TLineMatch& match) const;

private:
    bool Qualifies(int start, int end) const;
    bool PlainAt(int at) const;
    bool PlainMatch(int at, TLineMatch& match) const;
    bool ExpressionAt(int offset, TLineMatch& match) const;
    void FindCandidates() const;

    bool m_regular = false;
    bool m_caseSensitive = false;
    bool m_wholeWords = false;
    TCharSet m_delimiters;
    // A text that Windows-1252 cannot hold never occurs in a line.
    bool m_unmatchable = false;
    QByteArray m_pattern; // plain text, lower-cased when case does not matter
    std::array<uchar, 256> m_fold{};
    // The bytes that fold to the pattern's first one (a letter and its
    // other case).
    char m_first[2] = {};
    int m_firstCount = 0;
    QRegularExpression m_expression;
    QByteArray m_replacement;

    std::string_view m_line;
    int m_to = 0;
    QString m_subject;
    // For searching backwards with an expression: the line's matches in
    // order, found once per line.
    mutable std::vector<TLineMatch> m_candidates;
    mutable bool m_candidatesReady = false;
};
