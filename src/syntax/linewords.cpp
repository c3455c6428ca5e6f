// Words: where an identifier ends (in UTF-8 text non-ASCII letters join
// the block's identifier characters) and whether it is a keyword, by the
// buckets of the block's keyword lists and, for lists that say where their
// words are keywords, by the text around it (linecontext.cpp).

#include "linescanner.h"

#include "ansi.h"
#include "utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

int TLineScanner::WideIdentChar(int p, bool first) const
{
    if (!m_block->wordIdentifiers || p >= m_n || m_text[p] < 0x80)
        return 0;
    const char* at = reinterpret_cast<const char*>(m_text + p);
    const int n = Utf8::SequenceLength(at, reinterpret_cast<const char*>(m_text + m_n));
    if (n < 2)
        return 0;
    const char32_t ch = Utf8::Decode(at, n);
    if (QChar::isLetter(ch))
        return n;
    if (first)
        return 0;
    return QChar::isNumber(ch) || QChar::isMark(ch) ? n : 0;
}

int TLineScanner::WideIdentifierEnd(int p, bool first) const
{
    if (first) {
        if (p >= m_n)
            return p;
        if (m_text[p] < 0x80) {
            if (!m_block->first.Has(m_text[p]))
                return p;
            ++p;
        } else {
            const int n = WideIdentChar(p, true);
            if (n == 0)
                return p;
            p += n;
        }
    }
    const bool* other = m_block->isOtherAscii.data();
    while (p < m_n) {
        if (m_text[p] < 0x80) {
            if (!other[m_text[p]])
                break;
            ++p;
            continue;
        }
        const int n = WideIdentChar(p, false);
        if (n == 0)
            break;
        p += n;
    }
    return p;
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
                    if (set.hasContext && !ContextHolds(set, start, end))
                        break;
                    attr = set.attr;
                    return true;
                }
            }
        } else if (std::string_view(bucket).find(std::string_view(word - 1, length + 2)) != std::string_view::npos &&
                   (!set.hasContext || ContextHolds(set, start, end))) {
            attr = set.attr;
            return true;
        }
    }
    return false;
}

