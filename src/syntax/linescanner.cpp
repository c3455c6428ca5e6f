// The line parser proper: one pass over the bytes of a line, token by token,
// with the block transitions between tokens. A line is text of a given
// length; a NUL byte in it is an ordinary (blank) character. Every token
// consumes at least one character and the transitions at one position are
// capped, so no scheme, however built, can stall a line or read past its end.

#include "ansi.h"
#include "linestate.h"
#include "syntaxparser.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

// Transitions at one position: a scheme whose blocks open and close each
// other without reading anything gives up after this many.
constexpr int kMaxTransitionSteps = 64;

bool IsDigit(uchar c) { return unsigned(c - '0') < 10u; }

bool IsHexDigit(uchar c) { return unsigned(c - '0') < 10u || unsigned((c | 0x20) - 'a') < 6u; }

} // namespace

class TLineScanner {
public:
    TLineScanner(TSyntaxParser& parser, std::string_view text, uchar* attrs)
        : m_parser(parser),
          m_scheme(*parser.m_scheme),
          m_blocks(m_scheme.CompiledBlocks()),
          m_free(m_scheme.FreeSymbolChars()),
          m_text(reinterpret_cast<const uchar*>(text.data())),
          m_n(int(text.size())),
          m_attrs(attrs)
    {
    }

    quint32 Run(quint32 state);

private:
    Q_ALWAYS_INLINE void SelectPath(int path);
    bool Push(const TOpening& opening);
    void Pop() { SelectPath(m_scheme.PopPath(m_path)); }
    void Transition();
    // Whether the transition step could change anything here: a closing or
    // opening text whose characters fit around the position.
    bool MayTransition() const
    {
        return m_hasTriggers && ((m_pos > 0 && m_triggerBefore->Has(m_text[m_pos - 1])) ||
                                 (m_pos < m_n && m_triggerAt->Has(m_text[m_pos])));
    }
    bool EndTest();

    Q_ALWAYS_INLINE void NextToken();
    void ReadComment(const TTokenTable& table);
    void ReadString();
    void ReadDirectiveText();
    bool TryComment();
    bool TryString();
    bool TryNumber();
    bool TryPrefixedNumber();
    bool TrySuffix(int& p) const;
    int PlainNumber(int p, TTokenKind& kind) const;
    bool TryDirective();
    Q_ALWAYS_INLINE bool TryIdentifier();
    // The end of the identifier starting at p (p itself when none does).
    int IdentifierEnd(int p) const
    {
        if (p >= m_n || !m_block->first.Has(m_text[p]))
            return p;
        ++p;
        while (p < m_n && m_block->other.Has(m_text[p]))
            ++p;
        return p;
    }
    bool IsKeyword(int start, int end, uchar& attr);

    // Writes the token's attribute from start to the position. Short tokens
    // are written eight bytes at once; what lands behind the token belongs
    // to the tokens that follow and is written again by them.
    void Fill(int start)
    {
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
    const TCharSet& m_free;
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
    const TCharSet* m_triggerBefore = nullptr;
    const TCharSet* m_triggerAt = nullptr;
    bool m_hasTriggers = false;
    quint32 m_construct = LineState::ocNone;
    int m_token = 0;

    // Per line.
    bool m_directiveAllowed = true;
    bool m_lineStart = true;
    bool m_directiveSeen = false;
    int m_pos = 0;

    // The token just read.
    TTokenKind m_kind = tkText;
    uchar m_attr = 0;
};

void TSyntaxParser::InitLineAttributes(int line, std::string_view text, uchar* attrs)
{
    if (IsLoading() || !m_scheme->IsCompiled())
        TSimpleParser::InitLineAttributes(line, text, attrs);
}

quint32 TSyntaxParser::ParseLine(std::string_view text, quint32 state, uchar* attrs)
{
    if (text.empty() || !attrs || IsLoading() || !m_scheme->IsCompiled())
        return state;
    return TLineScanner(*this, text, attrs).Run(state);
}

void TLineScanner::SelectPath(int path)
{
    const std::vector<TBlockInfo>& paths = m_scheme.BlockPaths();
    if (path < 0 || path >= int(paths.size()) || paths[size_t(path)].blockIndex >= int(m_blocks.size()))
        path = 0;
    const TBlockInfo& info = paths[size_t(path)];
    m_path = path;
    m_block = &m_blocks[size_t(path == 0 ? 0 : info.blockIndex)];
    m_caseFlag = path == 0 ? m_block->caseSensitive : info.caseSensitive;
    m_delimiter = path == 0 ? -1 : info.delimiterIndex;
    m_partOfBlock = path != 0 && info.partOfBlock;
    m_closing = path == 0 ? nullptr : info.closing;
    m_closeLength = m_closing ? int(m_closing->size()) : 0;
    m_triggerBefore = &info.triggerBefore;
    m_triggerAt = &info.triggerAt;
    m_hasTriggers = info.hasTriggers;
}

bool TLineScanner::Push(const TOpening& opening)
{
    const int path = m_scheme.PushPath(m_path, opening.childBlock, opening.delimiter, opening.partOfBlock,
                                       opening.caseSensitive);
    if (path < 0)
        return false; // every path the line state can name is taken
    SelectPath(path);
    return true;
}

quint32 TLineScanner::Run(quint32 state)
{
    using namespace LineState;
    const TFields in = Unpack(state);
    // The path knows the block, how it was opened and its case; the state's
    // copies of those are only written for whoever reads states.
    SelectPath(in.path);
    m_construct = in.construct;
    m_token = in.token;
    switch (m_construct) {
    case ocNone:
        break;
    case ocMultiLineComment:
        if (size_t(m_token) >= m_block->multiLineComments.items.size())
            m_construct = ocNone;
        break;
    case ocSingleLineString:
        if (size_t(m_token) >= m_block->singleLineStrings.items.size())
            m_construct = ocNone;
        break;
    case ocMultiLineString:
        if (size_t(m_token) >= m_block->multiLineStrings.items.size())
            m_construct = ocNone;
        break;
    case ocLineDirective:
        // A directive continued from the line before is as good as one
        // seen on this line.
        m_directiveSeen = true;
        break;
    default:
        m_construct = ocNone;
        break;
    }

    const bool reportTokens = bool(m_parser.OnGetToken);
    int tokenStart = 0;
    for (;;) {
        if (m_construct == ocNone && MayTransition())
            Transition();
        if (m_pos >= m_n)
            break;
        const quint32 constructBefore = m_construct;
        NextToken();
        if (m_pos <= tokenStart)
            m_pos = tokenStart + 1;
        if (m_directiveAllowed) {
            m_directiveAllowed = m_kind <= tkDirective;
            m_lineStart = m_lineStart && m_kind == tkText;
        }
        Fill(tokenStart);
        if (reportTokens) {
            const char* begin = reinterpret_cast<const char*>(m_text) + tokenStart;
            if (constructBefore != ocNone)
                m_parser.m_collected.append(begin, size_t(m_pos - tokenStart));
            else
                m_parser.m_collected.assign(begin, size_t(m_pos - tokenStart));
            if (m_construct == ocNone) {
                const QByteArray token(m_parser.m_collected.data(), qsizetype(m_parser.m_collected.size()));
                m_parser.OnGetToken(&m_parser, m_kind, token);
            }
        }
        tokenStart = m_pos;
    }

    TFields out;
    out.path = m_path;
    if (m_path != 0) {
        out.partOfBlock = m_partOfBlock;
        out.caseSensitive = m_caseFlag;
        out.delimiter = m_delimiter;
    }
    out.construct = m_construct;
    out.token = m_construct == ocNone ? 0 : m_token;
    return Pack(out);
}

// -- block transitions ----------------------------------------------------------

bool TLineScanner::EndTest()
{
    if (!m_closing)
        return false;
    const std::string& right = *m_closing;
    const int length = m_closeLength;
    if (m_partOfBlock) {
        // The block read its closing text itself: it ends just behind it.
        const int start = m_pos - length;
        if (start < 0 || !SameText(m_text + start, right, m_block->caseSensitive) || RefusedBefore(start, right))
            return false;
    } else {
        // The parent reads the closing text: the block ends in front of it.
        if (m_n - m_pos < length || !SameText(m_text + m_pos, right, m_blocks[0].caseSensitive) ||
            RefusedAfter(m_pos, right))
            return false;
    }
    Pop();
    return true;
}

void TLineScanner::Transition()
{
    bool skipEnd = false;
    for (int step = 0; step < kMaxTransitionSteps; ++step) {
        const bool skipped = skipEnd;
        skipEnd = skipped ? false : EndTest();
        const TCompiledBlock* block = m_block;
        bool pushedAfter = false;
        bool pushedHere = false;
        // Openings whose text the parent has just read.
        if (!block->openAfter.empty() && m_pos > 0 && block->openAfterLast.Has(m_text[m_pos - 1])) {
            for (const TOpening& opening : block->openAfter) {
                const int start = m_pos - int(opening.text.size());
                if (start >= 0 && SameText(m_text + start, opening.text, block->caseSensitive) &&
                    !RefusedBefore(start, opening.text)) {
                    pushedAfter = Push(opening);
                    break;
                }
            }
        }
        // Openings whose text the child reads.
        if (!pushedAfter && !block->openHere.empty() && m_pos < m_n && block->openHereFirst.Has(m_text[m_pos])) {
            for (const TOpening& opening : block->openHere) {
                if (At(m_pos, opening.text) && !RefusedAfter(m_pos, opening.text)) {
                    pushedHere = Push(opening);
                    break;
                }
            }
        }
        if (pushedAfter) {
            // The new block may end right here; if not, its end is not
            // tested again at this position.
            if (skipEnd || !EndTest()) {
                skipEnd = true;
                continue;
            }
            return;
        }
        if (pushedHere)
            return;
        // Nothing opened. When (a) tested the end here and found none, the
        // same test would find none again; only a skipped test is due.
        if (!skipped)
            return;
        skipEnd = EndTest();
        if (!skipEnd)
            return;
    }
}

// -- tokens ----------------------------------------------------------------------

void TLineScanner::NextToken()
{
    using namespace LineState;
    switch (m_construct) {
    case ocMultiLineComment:
        ReadComment(m_block->multiLineComments);
        return;
    case ocSingleLineString:
    case ocMultiLineString:
        ReadString();
        return;
    case ocLineDirective:
        if (m_block->useComments && m_block->commentStart.Has(m_text[m_pos]) && TryComment()) {
            // A comment that runs to the line's end ends the directive too.
            if (m_kind != tkMultiLineComment)
                m_construct = ocNone;
            return;
        }
        ReadDirectiveText();
        return;
    default:
        break;
    }

    const uchar c = m_text[m_pos];
    if (c <= 32) {
        // Blanks, control characters and NUL.
        do
            ++m_pos;
        while (m_pos < m_n && m_text[m_pos] <= 32);
        m_kind = tkText;
        m_attr = m_block->kindAttr[tkText];
        return;
    }
    if (m_free.Has(c)) {
        do
            ++m_pos;
        while (m_pos < m_n && m_free.Has(m_text[m_pos]));
        m_kind = tkSymbol;
        m_attr = m_block->kindAttr[tkSymbol];
        return;
    }
    if (!m_block->anyStart.Has(c)) {
        // Nothing can start here: the character is a token of its own.
        ++m_pos;
        m_kind = kSymbolChars.Has(c) ? tkSymbol : tkText;
        m_attr = m_block->kindAttr[m_kind];
        return;
    }
    if (m_block->useComments && m_block->commentStart.Has(c) && TryComment())
        return;
    if (m_block->useStrings && m_block->stringStart.Has(c) && TryString())
        return;
    if ((m_block->useNumbers ? m_block->numberStart.Has(c) : IsDigit(c)) && TryNumber())
        return;
    if (m_block->useLineDirectives && m_directiveAllowed && TryDirective())
        return;
    if (m_block->identStart.Has(c) && TryIdentifier())
        return;
    ++m_pos;
    m_kind = kSymbolChars.Has(c) ? tkSymbol : tkText;
    m_attr = m_block->kindAttr[m_kind];
}

// The rest of an open multi-line comment, up to and including its end.
void TLineScanner::ReadComment(const TTokenTable& table)
{
    const TCompiledToken& item = table.items[size_t(m_token)];
    m_kind = tkMultiLineComment;
    m_attr = item.attr;
    const int at = Find(item.right);
    if (at < 0 || RefusedEnd(at, item.right)) {
        m_pos = m_n;
        return;
    }
    m_pos = at + int(item.right.size());
    m_construct = m_directiveSeen && m_pos < m_n ? LineState::ocLineDirective : LineState::ocNone;
}

// The rest of an open string, up to and including its end.
void TLineScanner::ReadString()
{
    const bool multiLine = m_construct == LineState::ocMultiLineString;
    const TTokenTable& table = multiLine ? m_block->multiLineStrings : m_block->singleLineStrings;
    const TCompiledToken& item = table.items[size_t(m_token)];
    m_kind = multiLine ? tkMultiLineString : tkSingleLineString;
    m_attr = item.attr;
    const int at = Find(item.right);
    if (at < 0 || RefusedEnd(at, item.right)) {
        m_pos = m_n;
        const bool wraps = m_block->metaWrapsLines && m_text[m_n - 1] == m_block->metaSymbol;
        if (!multiLine && !wraps)
            m_construct = LineState::ocNone;
        return;
    }
    if (m_block->useMetaSymbol && at > m_pos && m_text[at - 1] == m_block->metaSymbol) {
        int metas = 0;
        for (int p = at - 1; p >= m_pos && m_text[p] == m_block->metaSymbol; --p)
            ++metas;
        if (metas % 2 == 1) {
            // An escaped closing character: the string goes on behind it.
            m_pos = at + 1;
            if (m_pos >= m_n && !multiLine)
                m_construct = LineState::ocNone;
            return;
        }
    }
    m_pos = at + int(item.right.size());
    m_construct = LineState::ocNone;
}

void TLineScanner::ReadDirectiveText()
{
    // One character after another; runs up to the next possible comment
    // start are read in one step, which colours them the same.
    m_kind = tkDirective;
    m_attr = m_block->kindAttr[tkDirective];
    const bool comments = m_block->useComments;
    do
        ++m_pos;
    while (m_pos < m_n && !(comments && m_block->commentStart.Has(m_text[m_pos])));
    if (m_pos >= m_n && !(m_block->metaWrapsLines && m_text[m_n - 1] == m_block->metaSymbol))
        m_construct = LineState::ocNone;
}

bool TLineScanner::TryComment()
{
    const TCompiledBlock& b = *m_block;
    const auto& multi = b.multiLineComments.items;
    for (size_t i = 0; i < multi.size(); ++i) {
        if (At(m_pos, multi[i].left) && !RefusedAfter(m_pos, multi[i].left)) {
            m_kind = tkMultiLineComment;
            m_attr = multi[i].attr;
            m_construct = LineState::ocMultiLineComment;
            m_token = int(i);
            m_pos += int(multi[i].left.size());
            return true;
        }
    }
    if (m_lineStart) {
        for (const TCompiledToken& item : b.fullLineComments.items) {
            if (At(m_pos, item.left) && !RefusedAfter(m_pos, item.left)) {
                m_kind = tkFullLineComment;
                m_attr = item.attr;
                m_pos = m_n;
                return true;
            }
        }
    }
    for (const TCompiledToken& item : b.singleLineComments.items) {
        if (At(m_pos, item.left) && !RefusedAfter(m_pos, item.left)) {
            m_kind = tkSingleLineComment;
            m_attr = item.attr;
            m_pos = m_n;
            return true;
        }
    }
    return false;
}

bool TLineScanner::TryString()
{
    const TCompiledBlock& b = *m_block;
    const auto& multi = b.multiLineStrings.items;
    for (size_t i = 0; i < multi.size(); ++i) {
        if (At(m_pos, multi[i].left) && !RefusedAfter(m_pos, multi[i].left)) {
            m_kind = tkMultiLineString;
            m_attr = multi[i].attr;
            m_construct = LineState::ocMultiLineString;
            m_token = int(i);
            m_pos += int(multi[i].left.size());
            return true;
        }
    }
    const auto& single = b.singleLineStrings.items;
    for (size_t i = 0; i < single.size(); ++i) {
        const std::string& left = single[i].left;
        if (!At(m_pos, left))
            continue;
        const int end = m_pos + int(left.size());
        // A delimiter that is a word itself must not run into one.
        if (b.first.Has(uchar(left.front())) && b.other.Has(uchar(left.back())) && end < m_n &&
            b.other.Has(m_text[end]))
            continue;
        m_kind = tkSingleLineString;
        m_attr = single[i].attr;
        m_token = int(i);
        m_pos = end;
        m_construct = m_pos < m_n ? LineState::ocSingleLineString : LineState::ocNone;
        return true;
    }
    return false;
}

int TLineScanner::PlainNumber(int p, TTokenKind& kind) const
{
    kind = tkInteger;
    while (p < m_n && IsDigit(m_text[p]))
        ++p;
    if (p < m_n && m_text[p] == '.') {
        kind = tkFloat;
        ++p;
        while (p < m_n && IsDigit(m_text[p]))
            ++p;
    }
    if (p < m_n && (m_text[p] | 0x20) == 'e') {
        int q = p + 1;
        if (q < m_n && (m_text[q] == '+' || m_text[q] == '-'))
            ++q;
        if (q < m_n && IsDigit(m_text[q])) {
            kind = tkFloat;
            while (q < m_n && IsDigit(m_text[q]))
                ++q;
            p = q;
        }
    }
    return p;
}

// A number prefix and the hex digits behind it; the prefix alone is a
// symbol.
bool TLineScanner::TryPrefixedNumber()
{
    for (const TCompiledToken& prefix : m_block->numPrefixes.items) {
        if (!At(m_pos, prefix.left))
            continue;
        int p = m_pos + int(prefix.left.size());
        const int digits = p;
        while (p < m_n && IsHexDigit(m_text[p]))
            ++p;
        m_kind = p > digits ? tkHexNumber : tkSymbol;
        m_attr = m_block->kindAttr[m_kind];
        m_pos = p;
        return true;
    }
    return false;
}

bool TLineScanner::TrySuffix(int& p) const
{
    for (const TCompiledToken& suffix : m_block->numSuffixes.items) {
        if (At(p, suffix.left)) {
            p += int(suffix.left.size());
            return true;
        }
    }
    return false;
}

bool TLineScanner::TryNumber()
{
    const TCompiledBlock& b = *m_block;
    const uchar c = m_text[m_pos];
    if (!b.useNumbers) {
        // Without numbers a run of digits is still one token.
        if (!IsDigit(c))
            return false;
        do
            ++m_pos;
        while (m_pos < m_n && IsDigit(m_text[m_pos]));
        m_kind = tkInteger;
        m_attr = b.kindAttr[tkInteger];
        return true;
    }
    if (!b.numberStart.Has(c))
        return false;
    const bool composition = b.usePrefixedSuffixedNumbers && b.usePSNumComposition;
    if (b.usePrefixedSuffixedNumbers && !composition) {
        for (const TCompiledToken& item : b.numPrefixesSuffixes.items) {
            if (!At(m_pos, item.left))
                continue;
            int p = m_pos + int(item.left.size());
            const int digits = p;
            while (p < m_n && IsHexDigit(m_text[p]))
                ++p;
            if (p > digits && At(p, item.right)) {
                m_pos = p + int(item.right.size());
                m_kind = tkHexNumber;
                m_attr = b.kindAttr[tkHexNumber];
                return true;
            }
        }
    }
    if (composition && TryPrefixedNumber()) {
        if (b.useSuffixedNumbers && TrySuffix(m_pos) && b.useMultipleNumSuffixes) {
            while (m_pos < m_n && TrySuffix(m_pos)) {
            }
        }
        return true;
    }
    if (!composition && b.usePrefixedNumbers && TryPrefixedNumber())
        return true;
    if (!IsDigit(c))
        return false;
    // A suffixed number, or else a plain one: both start with the same
    // digits.
    TTokenKind kind;
    int p = PlainNumber(m_pos, kind);
    if (b.useSuffixedNumbers && TrySuffix(p) && b.useMultipleNumSuffixes) {
        while (p < m_n && TrySuffix(p)) {
        }
    }
    m_pos = p;
    m_kind = kind;
    m_attr = b.kindAttr[kind];
    return true;
}

bool TLineScanner::TryDirective()
{
    const std::string& prefix = m_block->directivePrefix;
    if (prefix.empty() || !At(m_pos, prefix))
        return false;
    m_pos += int(prefix.size());
    m_kind = tkDirective;
    m_attr = m_block->kindAttr[tkDirective];
    m_directiveSeen = true;
    m_construct = m_pos < m_n ? LineState::ocLineDirective : LineState::ocNone;
    return true;
}

bool TLineScanner::TryIdentifier()
{
    const TCompiledBlock& b = *m_block;
    const int start = m_pos;
    int p = start;
    bool matched = false;
    if (b.usePrefixedSuffixedIdentifiers) {
        for (const TCompiledToken& item : b.identPrefixesSuffixes.items) {
            if (!At(start, item.left))
                continue;
            const int word = start + int(item.left.size());
            const int end = IdentifierEnd(word);
            if (end > word && At(end, item.right)) {
                p = end + int(item.right.size());
                matched = true;
                break;
            }
        }
    }
    if (!matched) {
        for (const TCompiledToken& item : b.identPrefixes.items) {
            if (!At(p, item.left))
                continue;
            p += int(item.left.size());
            const int end = IdentifierEnd(p);
            if (end > p) {
                p = end;
                matched = true;
                break;
            }
        }
        if (!matched) {
            const int end = IdentifierEnd(p);
            matched = end > p;
            p = end;
        }
        if (matched && b.useSuffixedIdentifiers) {
            for (const TCompiledToken& item : b.identSuffixes.items) {
                if (At(p, item.left)) {
                    p += int(item.left.size());
                    break;
                }
            }
        }
    }
    if (!matched)
        return false;
    m_pos = p;
    uchar attr = 0;
    if (b.useKeywords && IsKeyword(start, p, attr)) {
        m_kind = tkKeyword;
        m_attr = attr;
    } else {
        m_kind = tkIdentifier;
        m_attr = b.kindAttr[tkIdentifier];
    }
    return true;
}

bool TLineScanner::IsKeyword(int start, int end, uchar& attr)
{
    const TCompiledBlock& b = *m_block;
    const size_t length = size_t(end - start);
    if (length == 0 || length > b.longestKeyword)
        return false;
    const char* text = reinterpret_cast<const char*>(m_text) + start;
    // Without commas in the keywords and in the word, ",word," is in a
    // bucket exactly when the word equals one of the bucket's keywords. In a
    // case-sensitive block the word is then compared where it stands.
    const bool exact = !b.keywordWithComma && !b.wordWithComma;
    char local[64];
    const char* word = text;
    if (!exact || !b.caseSensitive) {
        // ",word," in a buffer on the stack, or in the parser's for long
        // words; lowercased unless the block is case-sensitive.
        char* buffer = local;
        if (length + 2 > sizeof local) {
            m_parser.m_word.resize(length + 2);
            buffer = m_parser.m_word.data();
        }
        buffer[0] = ',';
        buffer[length + 1] = ',';
        for (size_t i = 0; i < length; ++i)
            buffer[i + 1] = b.caseSensitive ? text[i] : char(Ansi::Lower(uchar(text[i])));
        word = buffer + 1;
    }
    const uchar first = uchar(word[0]);
    const std::uint64_t lengthBit = std::uint64_t(1) << std::min<size_t>(length, 63);
    for (const TKeywordTable& set : b.keywords) {
        if (!(set.lengths[first] & lengthBit))
            continue;
        const std::string& bucket = set.buckets[first];
        if (exact) {
            for (const auto& [offset, size] : set.words[first]) {
                if (size == length && std::memcmp(bucket.data() + offset, word, length) == 0) {
                    attr = set.attr;
                    return true;
                }
            }
        } else if (std::string_view(bucket).find(std::string_view(word - 1, length + 2)) != std::string_view::npos) {
            attr = set.attr;
            return true;
        }
    }
    return false;
}
