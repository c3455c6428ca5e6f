// Rules of the line scanner that look at the text around a token rather
// than at the token alone: openings and closings escaped by the character in
// front of them, keywords that are keywords only between certain neighbours,
// strings and words that are keys because a suffix follows them, regular
// expression literals told from a division by what stands before them, the
// here-documents of shell scripts, and blocks that end with their line.
//
// Whatever they look at lies on the same line and within kLookAround
// characters of the token: a resumed pass starts far enough in front of an
// edit (linepoints.h) to see the same neighbours a full run sees. Only a
// here-document carries something from one line to the next that no block
// path holds, the word that ends it; the line state holds a digest of it.

#include "linescanner.h"

#include <algorithm>
#include <cstring>

using namespace LineScan;

namespace {

// How far the rules look in front of or behind a token, well within what a
// resume point allows.
constexpr int kLookAround = 64;
// The longest escape run and here-document word taken into account.
constexpr int kLongestRun = 200;

bool IsBlank(uchar c) { return c <= 32; }

// The 15 bits a line state keeps of a here-document's word: 14 of a digest
// of the word, and whether tabs may stand in front of it (bit 14). Never 0.
quint32 HereWordDigest(const uchar* word, int length, bool tabs)
{
    quint32 hash = 2166136261u;
    for (int i = 0; i < length; ++i)
        hash = (hash ^ word[i]) * 16777619u;
    hash ^= hash >> 15;
    hash ^= hash >> 7;
    return (hash & 0x3FFF) | (tabs ? 0x4000u : 0u) | (((hash & 0x3FFF) == 0 && !tabs) ? 1u : 0u);
}

} // namespace

quint32 TSyntaxParser::EmptyLineState(quint32 state)
{
    // An empty line keeps the state, except that it ends blocks that end
    // with their line.
    if (IsLoading() || !m_scheme->IsCompiled() || LineState::Construct(state) != LineState::ocNone)
        return state;
    const std::vector<TBlockInfo>& paths = m_scheme->BlockPaths();
    const int path = LineState::Path(state);
    if (path <= 0 || path >= int(paths.size()) ||
        !m_scheme->CompiledBlocks()[size_t(paths[size_t(path)].blockIndex)].endsWithLine)
        return state;
    return TLineScanner(*this, std::string_view(), nullptr).Run(state);
}

int TLineScanner::CharBefore(int p) const
{
    const int floor = std::max(0, p - kLookAround);
    while (p > floor && IsBlank(m_text[p - 1]))
        --p;
    return p > 0 && !IsBlank(m_text[p - 1]) ? m_text[p - 1] : -1;
}

int TLineScanner::CharAfter(int p) const
{
    const int ceiling = std::min(m_n, p + kLookAround);
    while (p < ceiling && IsBlank(m_text[p]))
        ++p;
    return p < ceiling ? m_text[p] : -1;
}

bool TLineScanner::Escaped(int p, uchar escape) const
{
    int run = 0;
    while (p - run > 0 && run < kLongestRun && m_text[p - run - 1] == escape)
        ++run;
    return run % 2 == 1;
}

bool TLineScanner::InTokenOf(const std::string& text) const
{
    using namespace LineState;
    const TCompiledBlock& b = *m_block;
    const TTokenTable* table = nullptr;
    switch (m_construct) {
    case ocMultiLineComment:
        table = &b.multiLineComments;
        break;
    case ocSingleLineString:
        table = &b.singleLineStrings;
        break;
    case ocMultiLineString:
        table = &b.multiLineStrings;
        break;
    case ocSingleLineComment:
        table = &b.singleLineComments;
        break;
    case ocFullLineComment:
        table = &b.fullLineComments;
        break;
    default:
        return false;
    }
    return size_t(m_token) < table->items.size() && table->items[size_t(m_token)].left == text;
}

// -- keywords and keys -------------------------------------------------------------

bool TLineScanner::ContextHolds(const TKeywordTable& set, int start, int end) const
{
    if (!set.after.IsEmpty() || !set.notAfter.IsEmpty()) {
        const int before = CharBefore(start);
        if (!set.after.IsEmpty() && (before < 0 || !set.after.Has(uchar(before))))
            return false;
        if (before >= 0 && set.notAfter.Has(uchar(before)))
            return false;
    }
    if (!set.notBefore.IsEmpty() || set.beforeWord) {
        const int after = CharAfter(end);
        if (after >= 0 && set.notBefore.Has(uchar(after)))
            return false;
        if (set.beforeWord && (after < 0 || !m_block->first.Has(uchar(after))))
            return false;
    }
    return true;
}

bool TLineScanner::KeyFollows(int p) const
{
    const int ceiling = std::min(m_n, p + kLookAround);
    while (p < ceiling && IsBlank(m_text[p]))
        ++p;
    return p < ceiling && At(p, m_block->keySuffix);
}

bool TLineScanner::TryKeyString(const TCompiledToken& item)
{
    // Where the string ends on this line, escapes passed over; a string
    // that goes on to the next line, or holds a break, is no key.
    if (m_hasBreaks || item.right.empty())
        return false;
    const uchar meta = m_block->useMetaSymbol ? m_block->metaSymbol : 0;
    int p = m_pos + int(item.left.size());
    const int ceiling = std::min(m_n, p + kLongestRun);
    while (p < ceiling && !At(p, item.right)) {
        if (meta && m_text[p] == meta)
            ++p;
        ++p;
    }
    if (p >= ceiling)
        return false;
    p += int(item.right.size());
    if (!KeyFollows(p))
        return false;
    m_pos = p;
    m_kind = tkSingleLineString;
    m_attr = m_block->keyAttr;
    m_construct = LineState::ocNone;
    return true;
}

// -- regular expressions ---------------------------------------------------------

bool TLineScanner::OperandMayStart(int p) const
{
    const int before = CharBefore(p);
    if (before < 0)
        return true;
    const uchar c = uchar(before);
    if (c == ')' || c == ']' || c == '"' || c == '\'' || c == '`')
        return false;
    if (!m_block->isOther[c])
        return true;
    // A word: only those after which an operand follows.
    int end = p;
    while (IsBlank(m_text[end - 1]))
        --end;
    int start = end;
    while (start > 0 && end - start < kLookAround && m_block->isOther[m_text[start - 1]])
        --start;
    const std::string_view word(reinterpret_cast<const char*>(m_text) + start, size_t(end - start));
    return std::find(m_block->regexAfterWords.begin(), m_block->regexAfterWords.end(), word) !=
           m_block->regexAfterWords.end();
}

bool TLineScanner::TryRegex(const TCompiledToken& item)
{
    if (item.right.empty() || !OperandMayStart(m_pos))
        return false;
    const uchar close = uchar(item.right[0]);
    const uchar meta = m_block->useMetaSymbol ? m_block->metaSymbol : 0;
    int p = m_pos + int(item.left.size());
    const int body = p;
    bool inClass = false;
    for (; p < m_n; ++p) {
        const uchar c = m_text[p];
        if (meta && c == meta) {
            ++p;
            continue;
        }
        if (inClass)
            inClass = c != ']';
        else if (c == '[')
            inClass = true;
        else if (c == close)
            break;
    }
    // A regular expression ends on its line; an empty one would be a
    // comment.
    if (p >= m_n || p == body)
        return false;
    ++p;
    while (p < m_n && unsigned((m_text[p] | 0x20) - 'a') < 26u)
        ++p;
    // A block's closing text inside it ("</script>") ends the block first.
    if (m_hasBreaks && FindBreak(m_pos + 1, p).pos >= 0)
        return false;
    m_pos = p;
    m_kind = tkSingleLineString;
    m_attr = item.attr;
    m_construct = LineState::ocNone;
    return true;
}

// -- here-documents ---------------------------------------------------------------

bool TLineScanner::TryHereDocument()
{
    for (const TOpening& opening : m_block->hereOpenings) {
        // "<<<" is a here-string: an opening behind its own first character
        // is part of a longer operator.
        if (!At(m_pos, opening.text) || (m_pos > 0 && m_text[m_pos - 1] == uchar(opening.text[0])))
            continue;
        int p = m_pos + int(opening.text.size());
        const bool tabs = p < m_n && m_text[p] == '-';
        if (tabs)
            ++p;
        while (p < m_n && (m_text[p] == ' ' || m_text[p] == '\t'))
            ++p;
        // The word, its quotes taken away: 'EOF', "EOF", \EOF and E"O"F
        // are all quoted.
        std::string word;
        bool quoted = false;
        while (p < m_n && int(word.size()) < kLongestRun) {
            const uchar c = m_text[p];
            if (c == '\'' || c == '"') {
                const uchar* end = static_cast<const uchar*>(std::memchr(m_text + p + 1, c, size_t(m_n - p - 1)));
                if (!end)
                    return false;
                word.append(reinterpret_cast<const char*>(m_text + p + 1), size_t(end - (m_text + p + 1)));
                quoted = true;
                p = int(end - m_text) + 1;
            } else if (c == '\\' && p + 1 < m_n) {
                word += char(m_text[p + 1]);
                quoted = true;
                p += 2;
            } else if (IsBlank(c) || std::strchr(";&|<>()`", c)) {
                break;
            } else {
                word += char(c);
                ++p;
            }
        }
        // "<< 2" is a shift.
        if (word.empty() || (!quoted && unsigned(uchar(word[0]) - '0') < 10u))
            return false;
        const TOpening* chosen = nullptr;
        for (const TOpening& candidate : m_block->hereOpenings) {
            if (candidate.text == opening.text && candidate.rules->literal == quoted) {
                chosen = &candidate;
                break;
            }
        }
        if (!chosen)
            return false;
        if (!m_herePending) {
            m_herePending = chosen;
            m_herePendingWord = HereWordDigest(reinterpret_cast<const uchar*>(word.data()), int(word.size()), tabs);
        }
        m_pos = p;
        m_kind = tkMultiLineString;
        m_attr = m_blocks[size_t(chosen->childBlock)].kindAttr[tkText];
        return true;
    }
    return false;
}

void TLineScanner::EnterHereDocument()
{
    const TOpening* opening = m_herePending;
    m_herePending = nullptr;
    if (m_construct != LineState::ocNone || !Push(*opening))
        return;
    m_hereWord = m_herePendingWord;
}

template <bool kPass>
bool TLineScanner::HereDocumentEnds()
{
    if (!m_block->hereDocument)
        return false;
    // The parser sees lines with their tabs expanded: after "<<-" any
    // blanks may stand in front of the word.
    int start = 0;
    if (m_hereWord & 0x4000) {
        while (start < m_n && (m_text[start] == '\t' || m_text[start] == ' '))
            ++start;
    }
    if (m_n - start > kLongestRun || HereWordDigest(m_text + start, m_n - start, m_hereWord & 0x4000) != m_hereWord)
        return false;
    m_kind = tkMultiLineString;
    m_attr = m_block->kindAttr[tkText];
    m_pos = m_n;
    Fill<kPass>(0);
    if (m_parser.OnGetToken)
        m_parser.OnGetToken(&m_parser, m_kind, QByteArray(reinterpret_cast<const char*>(m_text), m_n));
    m_hereWord = 0;
    if (m_path != 0)
        LeaveBlock();
    return true;
}

template bool TLineScanner::HereDocumentEnds<false>();
template bool TLineScanner::HereDocumentEnds<true>();

void TLineScanner::EndLineBlocks()
{
    if (m_construct != LineState::ocNone)
        return;
    if (m_n > 0 && m_block->metaWrapsLines && Escaped(m_n, m_block->metaSymbol))
        return;
    for (int guard = 0; guard < kMaxTransitionSteps && m_path != 0 && m_block->endsWithLine; ++guard)
        LeaveBlock();
}
