#pragma once

#include "charset.h"
#include "linematcher.h"
#include "memotypes.h"
#include "searchoptions.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <string_view>
#include <vector>

class TTextSnapshot;

// Finds every match of a search in text held as bytes: a file's contents, or
// whole lines of a document. Lines end as loading ends them (CR LF, LF or a
// lone CR), and each line is searched as a text store searches it, so what
// is found here is what Search Again finds there, match for match.
//
// A literal that every match holds (the text itself, or one an expression
// cannot match without) is looked for through the whole run of bytes at
// once, sixteen places at a time; lines are counted and cut only around
// where it occurs. A run without it costs one pass of the scanner, not a
// call per line. Without such a literal every line is tried.
//
// The matches of one line are taken one after the other, each search going
// on where the last match ended (an empty match steps one on), as pressing
// Search Again does.
class TBufferSearch {
public:
    // One line holding matches: its number (counted on from the first line
    // number given), its bytes, its offset in the bytes searched and its
    // matches in order (byte offsets in the line).
    struct TLineHits {
        qint64 line = 0;
        std::string_view text;
        qint64 offset = 0;
        const std::vector<TLineMatch>* matches = nullptr;
    };
    // Returning false stops the search.
    using TOnLine = std::function<bool(const TLineHits& hits)>;

    // False, with the message in error, for an invalid expression; false
    // without one when there is nothing to search for.
    bool Prepare(const TSearchOptions& options, const TCharSet& delimiters, TTextEncoding encoding,
                 QString* error = nullptr);

    // Searches the lines of [data, data + size); a line end at the very end
    // closes the last line. False when onLine or cancel stopped it.
    bool Search(const char* data, qint64 size, qint64 firstLine, const TOnLine& onLine,
                const std::atomic<bool>* cancel = nullptr);
    // The same over a document's text, piece by piece: only a line that
    // spans two pieces is copied.
    bool Search(const TTextSnapshot& text, const TOnLine& onLine, const std::atomic<bool>* cancel = nullptr);

    // Whether [data, data + size) may hold a match: false only when it
    // lacks the literal every match holds.
    bool MayMatch(const char* data, qint64 size, const std::atomic<bool>* cancel = nullptr) const;

    // While onLine runs: the text that replaces one of its matches.
    QByteArray Replacement(const TLineMatch& match) const { return m_matcher.Replacement(match); }
    // The literal looked for (empty when every line is tried), as compared.
    QByteArray Literal() const;
    // Whether nothing at all can match (a text the encoding cannot hold).
    bool Unmatchable() const { return m_matcher.Unmatchable(); }
    // Whether the expression engine gave up on a line (its matches there
    // are unknown) during the last search.
    bool GaveUp() const { return m_gaveUp; }

    // Line ends in [begin, end): each CR LF pair, LF and lone CR once.
    static qint64 CountLineEnds(const char* begin, const char* end);

private:
    bool SearchLine(qint64 line, const char* begin, const char* end, qint64 offset, const TOnLine& onLine);

    TLineMatcher m_matcher;
    // Looked for through the whole text: null when lines are tried one by one.
    const TLiteralScanner* m_literal = nullptr;
    std::vector<TLineMatch> m_matches;
    bool m_gaveUp = false;
};
