#pragma once

// The line parser proper, shared by the files that implement it:
// linescanner.cpp (the run over a line, the block transitions and the
// tokens), linepoints.cpp (passes resumed inside a line), linebreaks.cpp
// (stops inside comments and strings), linenumbers.cpp (numbers),
// lineevents.cpp (the structure reported while parsing), linewords.cpp
// (identifiers in UTF-8 text) and linecontext.cpp (rules that look at the
// text around a token: escaped openings, keywords and keys by their
// neighbours, regular expressions, here-documents). See
// linescanner.cpp for what it guarantees.

#include "compiledblock.h"
#include "linestate.h"
#include "syntaxparser.h"

#include <string_view>

namespace LineScan {

// Transitions at one position: a scheme whose blocks open and close each
// other without reading anything gives up after this many.
constexpr int kMaxTransitionSteps = 64;

inline bool IsDigit(uchar c) { return unsigned(c - '0') < 10u; }

inline bool IsHexDigit(uchar c) { return unsigned(c - '0') < 10u || unsigned((c | 0x20) - 'a') < 6u; }

// The open construct while a block reads its closing text as one token; it
// never reaches a line state.
constexpr quint32 kForcedToken = 0x7F;

// A place inside a comment or string where the scanner must stop: pos < 0
// none; opening null the current block's closing text, else the child
// opening found there.
struct TBreak {
    int pos = -1;
    const TOpening* opening = nullptr;
};

} // namespace LineScan

class TLineScanner {
public:
    TLineScanner(TSyntaxParser& parser, std::string_view text, uchar* attrs)
        : m_parser(parser),
          m_scheme(*parser.m_scheme),
          m_blocks(m_scheme.CompiledBlocks()),
          m_freeFlag(parser.OnGetToken ? sfFree : sfFreeHere),
          m_utf8(parser.Utf8Text()),
          m_text(reinterpret_cast<const uchar*>(text.data())),
          m_n(int(text.size())),
          m_attrs(attrs),
          m_sink(parser.StructureSink())
    {
    }

    quint32 Run(quint32 state);
    // Runs from a resume point as pass asks (see TResumablePass).
    quint32 Resume(const TResumePoint& from, TResumablePass& pass);

private:
    // The token loop from m_pos to the line's end (or where the pass
    // stops); the state at the end. A full run has a loop of its own, so
    // that it pays nothing for what a pass does at every token.
    template <bool kPass>
    Q_ALWAYS_INLINE quint32 Loop();
    // The loop of a resumed pass, from m_pos on.
    quint32 RunPass();
    // Takes the path, the open construct and its token from a line state.
    void EnterState(quint32 state);
    // The line state at m_pos, as if the line ended there.
    Q_ALWAYS_INLINE quint32 StateHere() const
    {
        using namespace LineState;
        TFields out;
        out.path = m_path;
        if (m_path != 0) {
            out.partOfBlock = m_partOfBlock;
            out.caseSensitive = m_caseFlag;
            out.delimiter = m_delimiter;
        }
        out.construct = m_construct;
        out.token = m_construct == ocNone ? 0 : m_token;
        if (Q_UNLIKELY(m_hereWord != 0) && m_construct == ocNone && m_block->hereDocument) {
            out.construct = kHereWordBit | m_hereWord >> 8;
            out.token = int(m_hereWord & 0xFF);
        }
        return Pack(out);
    }
    // At a token boundary of a pass: records or compares the resume point
    // there; true when the pass stops.
    bool PassBoundary();
    // The resume point at m_pos; false where the scanner carries more than
    // a point holds, or where a token before it may have looked past it.
    bool PointHere(TResumePoint& point) const;
    void FillClipped(int start);
    Q_ALWAYS_INLINE void SelectPath(int path);
    bool Push(const TOpening& opening, quint32 resumeConstruct = LineState::ocNone, int resumeToken = 0);
    Q_ALWAYS_INLINE void Pop();
    // Pop, for the rules outside the run over a line.
    void LeaveBlock();
    // Whether token index token of the current block's list for construct
    // exists.
    bool ValidConstruct(quint32 construct, int token) const;
    void Transition();
    // The first break at positions from..end: a closing or an opening that
    // starts there must start before end, one the parent has read may end
    // at end.
    LineScan::TBreak FindBreak(int from, int end) const;
    LineScan::TBreak BreakAt(int b, bool at, bool before) const;
    bool ClosingAt(int b) const;
    // Acts on a break at the position: tbLost when the child could not open,
    // tbTaken when the loop goes on with the transitions at the position,
    // tbTakenRead when it goes on with the next token (a child that reads
    // its opening text itself).
    enum TBreakTaken { tbLost, tbTaken, tbTakenRead };
    TBreakTaken TakeBreak(const LineScan::TBreak& found);
    // Whether the transition step could change anything here: a closing or
    // opening text whose characters fit around the position.
    bool MayTransition() const
    {
        return (m_pos < m_n && (m_trigger[m_text[m_pos]] & TBlockInfo::kTriggerAt)) ||
               (m_pos > 0 && (m_trigger[m_text[m_pos - 1]] & TBlockInfo::kTriggerBefore));
    }
    bool EndTest();

    // The structure of the line, reported to m_sink (lineevents.cpp): what
    // the token from start to m_pos opens or closes (brackets, a comment),
    // or marks (a run word at the line's start); a block or tag entered
    // through opening, and the current block or tag ending at m_pos.
    void ReportToken(int start, quint32 constructBefore, bool atLineStart);
    void ReportOpening(const TOpening& opening);
    void ReportClosing();
    void Report(int column, int length, quint8 kind, quint8 action, bool folds, quint32 name = 0, quint32 label = 0);
    // -- linecontext.cpp ---------------------------------------------------------
    // The nearest character that is no blank in front of p on the line, or
    // behind p; -1 when there is none within reach.
    int CharBefore(int p) const;
    int CharAfter(int p) const;
    // Whether an odd run of escape stands right in front of p.
    bool Escaped(int p, uchar escape) const;
    // Whether an opening whose text runs from start to end is refused by its
    // escape, NotBefore or NotAtLineStart.
    bool OpeningRefused(const TOpening& opening, int start, int end) const
    {
        const TOpeningRules* rules = opening.rules;
        return Q_UNLIKELY(rules != nullptr) &&
               ((rules->escape && Escaped(start, rules->escape)) || (rules->notAtLineStart && m_lineStart) ||
                (rules->hasNotBefore && NotBeforeHits(end, rules->notBefore)));
    }
    bool NotBeforeHits(int end, const TCharSet& set) const
    {
        const int c = CharAfter(end);
        return c >= 0 && set.Has(uchar(c));
    }
    // Whether the open comment or string is one an opening with
    // OpenInTokensOf text may open in.
    bool InTokenOf(const std::string& text) const;
    // Whether a keyword of set that runs from start to end stands where the
    // set's words are keywords.
    bool ContextHolds(const TKeywordTable& set, int start, int end) const;
    // Whether the block's key suffix follows p on the line.
    bool KeyFollows(int p) const;
    // A string of item that is a key, read whole; false when it is none.
    bool TryKeyString(const TCompiledToken& item);
    // A regular expression literal of item at the position.
    bool TryRegex(const TCompiledToken& item);
    bool OperandMayStart(int p) const;
    // The opening text of a here-document and its word.
    bool TryHereDocument();
    // At the line's end: enters the here-document whose opening the line
    // held.
    void EnterHereDocument();
    // At the start of a line in a here-document: when the line holds only
    // its word, it is read as one token and the block ends behind it.
    template <bool kPass>
    bool HereDocumentEnds();
    // The block ends with its line (EndsWithLine) unless the line continues.
    void EndLineBlocks();

    Q_ALWAYS_INLINE void NextToken();
    void ReadComment(const TTokenTable& table);
    void ReadLineComment();
    void ReadString();
    void ReadDirectiveText();
    bool TryComment();
    bool TryString();
    bool TryNumber();
    bool TryPrefixedNumber();
    bool TrySuffix(int& p) const;
    // The end of the run of (hex) digits at p, with the block's digit
    // separator allowed between two digits.
    int Digits(int p, bool hex) const;
    int PlainNumber(int p, TTokenKind& kind) const;
    bool TryDirective();
    Q_ALWAYS_INLINE bool TryIdentifier();
    // The end of the identifier starting at p (p itself when none does).
    int IdentifierEnd(int p) const
    {
        if (p >= m_n)
            return p;
        if (m_utf8 && m_text[p] >= 0x80)
            return WideIdentifierEnd(p);
        if (!m_block->first.Has(m_text[p]))
            return p;
        ++p;
        // In UTF-8 the ASCII run goes by the table, and a byte >= 0x80
        // hands over to the decoding loop.
        const bool* other = m_utf8 ? m_block->isOtherAscii.data() : m_block->isOther.data();
        while (p < m_n && other[m_text[p]])
            ++p;
        if (m_utf8 && p < m_n && m_text[p] >= 0x80)
            return WideIdentifierEnd(p, false);
        return p;
    }
    // UTF-8 text: ASCII goes by the block's identifier characters; where
    // identifiers are words of letters, a valid sequence that decodes to a
    // letter may start one, and letters, digits and combining marks go on.
    // first: whether p is where the identifier starts.
    int WideIdentifierEnd(int p, bool first = true) const;
    // The length of the non-ASCII letter (first) or identifier character at
    // p, or 0 when there is none.
    int WideIdentChar(int p, bool first) const;
    bool IsKeyword(int start, int end, uchar& attr);

    // Writes the token's attribute from start to the position. Short tokens
    // are written eight bytes at once; what lands behind the token belongs
    // to the tokens that follow and is written again by them. A scanner
    // without attributes (null) only finds the line's end state.
    template <bool kPass>
    void Fill(int start)
    {
        if constexpr (kPass) {
            FillClipped(start);
            return;
        }
        if (!m_attrs)
            return;
        const int length = m_pos - start;
        if (length <= 8 && m_n - start >= 8) {
            const std::uint64_t pattern = std::uint64_t(m_attr) * 0x0101010101010101u;
            std::memcpy(m_attrs + start, &pattern, sizeof pattern);
        } else if (length <= 8) {
            for (int i = start; i < m_pos; ++i)
                m_attrs[i] = m_attr;
        } else {
            std::memset(m_attrs + start, m_attr, size_t(length));
        }
    }

    bool At(int p, const std::string& d) const
    {
        return size_t(m_n - p) >= d.size() && SameText(m_text + p, d, m_block->caseSensitive);
    }
    // A match of d starting at p that ends inside a word.
    bool RefusedAfter(int p, const std::string& d) const
    {
        const size_t end = size_t(p) + d.size();
        return m_block->first.Has(uchar(d[0])) && end < size_t(m_n) && m_block->other.Has(m_text[end]);
    }
    // A match of d starting at p that begins inside a word.
    bool RefusedBefore(int p, const std::string& d) const
    {
        return m_block->first.Has(uchar(d[0])) && p > 0 && m_block->other.Has(m_text[p - 1]);
    }
    // A closing text found by search at p inside a word.
    bool RefusedEnd(int p, const std::string& d) const
    {
        return RefusedAfter(p, d) || RefusedBefore(p, d);
    }
    // The first occurrence of d at or after m_pos, exact case; -1 when none.
    int Find(const std::string& d) const
    {
        if (d.empty())
            return -1;
        const std::string_view rest(reinterpret_cast<const char*>(m_text) + m_pos, size_t(m_n - m_pos));
        const size_t at = rest.find(d);
        return at == std::string_view::npos ? -1 : m_pos + int(at);
    }

    TSyntaxParser& m_parser;
    TSyntaxScheme& m_scheme;
    const std::vector<TCompiledBlock>& m_blocks;
    // sfFree, or sfFreeHere when the tokens are not reported.
    const quint16 m_freeFlag;
    const bool m_utf8;
    const uchar* m_text;
    const int m_n;
    uchar* m_attrs;

    // What the line state carries.
    int m_path = 0;
    const TCompiledBlock* m_block = nullptr;
    bool m_partOfBlock = false;
    bool m_caseFlag = false;
    int m_delimiter = -1;
    // The text that closes the current block (null: none) and its length;
    // the characters around a position at which a transition can happen.
    const std::string* m_closing = nullptr;
    int m_closeLength = 0;
    const uchar* m_trigger = nullptr; // TBlockInfo::trigger
    // The current path: its break tables are read only inside a comment or
    // string that has breaks.
    const TBlockInfo* m_info = nullptr;
    bool m_hasBreaks = false;
    quint32 m_construct = LineState::ocNone;
    int m_token = 0;
    // An opening the current block has read must start at or behind this
    // position (0: anywhere on the line). It is set where the block went on
    // inside a comment or string, or behind a child's closing text the block
    // reads that closes inside tokens (CloseInTokens): text a child read, or
    // that closing text, opens nothing. No closing text the block reads
    // itself may start strictly inside that child's closing text either
    // (the ">" of "%>" does not close a tag).
    int m_openFrom = 0;
    int m_guardFrom = 0;
    int m_guardTo = 0;
    // Where the opening text the current block reads itself starts and
    // ends, while it reads it (-1 and 0: none): no child opens inside it,
    // and the block's closing text does not match where it starts.
    int m_ownOpeningStart = -1;
    int m_ownOpeningEnd = 0;

    // Per line.
    bool m_directiveAllowed = true;
    bool m_lineStart = true;
    bool m_directiveSeen = false;
    int m_pos = 0;
    // With the construct kForcedToken: the length of the closing text a
    // block reads as one token after its comment or string ended at it.
    int m_forced = 0;
    // A break here could not be taken (no nesting path left): read on.
    int m_noBreakAt = -1;
    // A here-document opened on this line (entered at its end) and the
    // digest of its word; in a here-document, the digest of the word that
    // ends it (0: none).
    const TOpening* m_herePending = nullptr;
    quint32 m_herePendingWord = 0;
    quint32 m_hereWord = 0;

    // Where the structure goes (null: nowhere; always in a resumed pass).
    TStructureSink* m_sink;

    // A resumed pass (null in a full run): attributes go to its buffer for
    // its columns only, and its points are recorded or compared at token
    // boundaries.
    TResumablePass* m_pass = nullptr;
    int m_lastPoint = 0;
    int m_oldIndex = 0;

    // The token just read.
    TTokenKind m_kind = tkText;
    uchar m_attr = 0;
};
