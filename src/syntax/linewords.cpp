// Where an identifier ends in UTF-8 text: non-ASCII letters join the
// block's identifier characters where identifiers are words of letters.

#include "linescanner.h"

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
