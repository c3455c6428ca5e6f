#pragma once

#include "charset.h"
#include "literalscanner.h"
#include "memotypes.h"
#include "searchoptions.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

#include <array>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

class TExpressionSieve;
class TInternalStrings;

// One match inside a line: raw byte offsets, and for an expression the
// offset and length of every captured group (used by the replacement).
struct TLineMatch {
    int start = -1;
    int length = 0;
    std::vector<std::pair<int, int>> groups;

    int End() const { return start + length; }
};

// Finds the text of a search in one line at a time, by the record's case
// sensitivity, whole-word rule and expression switch. Offsets are byte
// offsets into the line. In a Windows-1252 or OEM document every byte is one
// character, and an expression runs over the line read byte for byte. In a
// UTF-8 document an expression runs over the decoded characters, and its
// offsets are mapped back to the bytes they came from; a plain text that
// must fold the case of a non-ASCII letter is searched as an expression
// too, since folding UTF-8 bytes one by one would break their sequences.
//
// A line is set once and then searched as often as needed while it stays
// unchanged: the reading an expression needs is made once per line, into a
// buffer that is reused, so a line with many matches costs its length, not
// its length per match.
//
// A search through many lines first asks NextCandidate which lines can hold
// a match at all. Plain text is scanned for where it lies (no line is
// copied or decoded). An expression is tried line by line only where a run
// of it over a block of lines at once found something (TExpressionSieve),
// and the blocks hold only lines with a literal that every match holds,
// when the expression has one.
class TLineMatcher {
public:
    TLineMatcher();
    ~TLineMatcher();
    TLineMatcher(const TLineMatcher&) = delete;
    TLineMatcher& operator=(const TLineMatcher&) = delete;

    // False, with a message, when the expression is invalid; false without
    // one when there is nothing to search for.
    bool Prepare(const TSearchOptions& options, const TCharSet& delimiters, QString* error = nullptr,
                 TTextEncoding encoding = MemoTypes::teWindows1252);

    // The line to search, up to the end of the range (an expression does
    // not see beyond it). The bytes must stay unchanged until the next call.
    void SetLine(std::string_view line, int to);

    // The first match that starts at or after from and ends within the
    // range. With skipEmptyAtFrom an empty match at from does not count, so
    // that a search repeated from where the last one ended moves on.
    bool FindForward(int from, bool skipEmptyAtFrom, TLineMatch& match);
    // The match that starts last among those lying within [from, to) (to
    // no further than the range); with skipEmptyAtTo an empty match at to
    // does not count.
    bool FindBackward(int from, int to, bool skipEmptyAtTo, TLineMatch& match);

    // The next line from line towards limit (inclusive; forward or
    // backward) that may hold a match when it is searched whole; every line
    // passed over holds none. A line beyond limit when none is left.
    // Calls during one search must go on in one direction, and the lines
    // not yet reached must stay unchanged.
    int NextCandidate(const TInternalStrings& lines, int line, int limit, bool forward);

    // A literal every match holds (the text itself for plain text), to look
    // for through many lines at once; null when there is none. Nothing
    // matches when Unmatchable().
    const TLiteralScanner* Literal() const { return m_literal.Length() > 0 ? &m_literal : nullptr; }
    bool Unmatchable() const { return m_unmatchable; }

    // True when the expression engine gave up on the line set last (it went
    // beyond its own limit of work): whatever was not found there may still
    // be there, and a search must stop rather than pass over it.
    bool GaveUp() const { return m_gaveUp; }

    // The text that replaces a match of the line: the replacement as typed,
    // or for an expression with \0 .. \9 standing for the captured groups.
    QByteArray Replacement(const TLineMatch& match) const;

    // Every run of the expression engine, over a line or over a block of
    // lines, goes through here. A match that is not valid means the engine
    // gave up (it went beyond its own limit of work), which is not the same
    // as finding nothing.
    static QRegularExpressionMatch RunExpression(const QRegularExpression& expression, QStringView subject,
                                                 qsizetype offset);
    // The Windows-1252 reading of bytes: into a buffer that keeps its room,
    // or to where out points (room for length characters).
    static void Decode(const char* bytes, int length, QString& into);
    static void Decode(const char* bytes, int length, char16_t* out);

private:
    bool Qualifies(int start, int end) const;
    bool ExpressionAt(int offset, TLineMatch& match);
    void FindCandidates();
    void DecodeLine();
    // The longest literal that every match of an expression holds; empty
    // when none is found. foldCase is set when the expression may switch
    // case off inside itself.
    static QString RequiredLiteral(const QString& pattern, bool& foldCase);
    int ScanForLiteral(const TInternalStrings& lines, int line, int limit, bool forward) const;

    // The subject index of a byte offset of the line.
    qsizetype SubjectIndex(int offset) const;
    int ByteOffset(qsizetype index) const;

    bool m_regular = false;
    bool m_utf8 = false;
    // A plain text searched as an escaped expression: its replacement
    // holds no group references.
    bool m_plainAsExpression = false;
    bool m_caseSensitive = false;
    bool m_wholeWords = false;
    TCharSet m_delimiters;
    // A text that Windows-1252 cannot hold never occurs in a line.
    bool m_unmatchable = false;
    std::array<uchar, 256> m_fold{};
    // Plain text: the text to find. Expression: a literal every match
    // holds (none when Length() is 0).
    TLiteralScanner m_literal;
    QRegularExpression m_expression;
    std::unique_ptr<TExpressionSieve> m_sieve;
    QByteArray m_replacement;

    std::string_view m_line;
    int m_to = 0;
    QString m_subject;
    // UTF-8 only: the byte offset where each UTF-16 unit of the subject
    // starts, and one more entry for the end.
    std::vector<int> m_offsets;
    bool m_subjectReady = false;
    bool m_gaveUp = false;
    // For searching backwards with an expression: the line's matches in
    // order, found once per line.
    std::vector<TLineMatch> m_candidates;
    bool m_candidatesReady = false;
};
