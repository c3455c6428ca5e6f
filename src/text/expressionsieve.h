#pragma once

#include <QRegularExpression>
#include <QString>

#include "literalscanner.h"

#include <string_view>
#include <vector>

class TInternalStrings;

// Passes over lines that cannot hold a match of an expression without
// running the expression on each of them: a run costs far more to start
// than to go on, so a block of lines is read into one subject, joined by
// line breaks, and searched with one run in multi-line mode.
//
// Why a block without a match has no line with one: every way a line
// matches on its own is also a way the block matches at the same place,
// as long as the expression cannot tell a line's end from a line break
// that follows it. Anchors (^, $ in multi-line mode, \b) cannot; only
// negative look-arounds, subject anchors, atomic groups, possessive
// quantifiers and verbs can, and an expression holding any of them is
// not sieved (Usable() is false). A block may match where no line does
// (a class that takes the line break): that only costs a line searched in
// vain. The leftmost match of a block lies on the first line that can
// hold one, so the lines before it are passed over too.
//
// Lines without a literal that every match holds (when the expression has
// one) cannot match and are left out of the blocks without being read.
//
// A run that gives up (beyond the engine's limit of work) passes over
// nothing: from there on the lines are searched one by one.
class TExpressionSieve {
public:
    // literal: what every match holds (may be empty); lines without
    // it are left out of the blocks. The sieve keeps a reference to it.
    TExpressionSieve(const QString& pattern, QRegularExpression::PatternOptions options,
                     const TLiteralScanner& literal);

    bool Usable() const { return m_usable; }

    // As TLineMatcher::NextCandidate, for lines searched whole.
    int NextCandidate(const TInternalStrings& lines, int line, int limit, bool forward);

private:
    struct TEntry {
        int line;
        qsizetype start; // where the line begins in the subject
    };

    // Reads lines from first on, towards limit, into the block until it
    // holds about m_blockBytes (at least one line with the literal, or
    // every line up to limit).
    void ReadBlock(const TInternalStrings& lines, int first, int limit, bool forward);
    bool MayHold(std::string_view text) const;
    // The line of the block that holds a place of the subject.
    int LineAt(qsizetype place) const;

    bool m_usable = false;
    QRegularExpression m_expression;
    const TLiteralScanner& m_literal;
    // Blocks start small, so that a search that ends soon reads little, and
    // grow up to a bound, so that a long one runs few times.
    int m_blockBytes = 0;

    // The block covers lines [m_blockFirst, m_blockLast]; those that may
    // hold a match are its entries, in order, joined by line feeds.
    QString m_subject;
    std::vector<TEntry> m_entries;
    int m_blockFirst = 0;
    int m_blockLast = -1;
    // Forward: the leftmost match from the start of line m_scannedFrom on
    // lies on m_matchLine (beyond the block when there is none).
    int m_scannedFrom = -1;
    int m_matchLine = -1;
    // Backward: lines [m_openLow, m_openHigh] may hold matches and are
    // searched one by one; the block's lines below m_openLow hold none.
    int m_openLow = 0;
    int m_openHigh = -1;
};
