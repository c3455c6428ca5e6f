#include "literalscanner.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

void TLiteralScanner::Prepare(const QByteArray& literal, const std::array<uchar, 256>& fold)
{
    m_fold = fold;
    m_literal = literal;
    for (char& c : m_literal)
        c = char(m_fold[uchar(c)]);
    m_twoVariants = true;
    if (m_literal.isEmpty())
        return;
    auto variants = [this](uchar folded, uchar (&out)[2]) {
        int count = 0;
        for (int c = 0; c < 256; ++c) {
            if (m_fold[size_t(c)] != folded)
                continue;
            if (count < 2)
                out[count] = uchar(c);
            ++count;
        }
        if (count == 1)
            out[1] = out[0];
        return count <= 2;
    };
    m_twoVariants = variants(uchar(m_literal.front()), m_first) && variants(uchar(m_literal.back()), m_last);
}

bool TLiteralScanner::At(const char* text) const
{
    const qsizetype n = m_literal.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (m_fold[uchar(text[i])] != uchar(m_literal[i]))
            return false;
    }
    return true;
}

int TLiteralScanner::FindEach(const char* text, int from, int lastStart) const
{
    const int n = int(m_literal.size());
    for (int p = from; p <= lastStart; ++p) {
        const uchar first = uchar(text[p]);
        const uchar last = uchar(text[p + n - 1]);
        const bool ends = !m_twoVariants || ((first == m_first[0] || first == m_first[1]) &&
                                             (last == m_last[0] || last == m_last[1]));
        if (ends && At(text + p))
            return p;
    }
    return -1;
}

int TLiteralScanner::Find(const char* text, int from, int end) const
{
    const int n = int(m_literal.size());
    const int lastStart = end - n;
    from = std::max(from, 0);
    if (n == 0 || from > lastStart)
        return -1;
#if defined(__SSE2__)
    // Sixteen starting places at a time: one load for their first bytes and
    // one for their last. The final block is moved back to end exactly at
    // lastStart, so no load reaches beyond end; places it shares with the
    // block before are masked off.
    if (m_twoVariants && lastStart - from >= 15) {
        const __m128i first0 = _mm_set1_epi8(char(m_first[0]));
        const __m128i first1 = _mm_set1_epi8(char(m_first[1]));
        const __m128i last0 = _mm_set1_epi8(char(m_last[0]));
        const __m128i last1 = _mm_set1_epi8(char(m_last[1]));
        const int finalBlock = lastStart - 15;
        for (int p = from;; p += 16) {
            const int q = std::min(p, finalBlock);
            const __m128i heads = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + q));
            const __m128i tails = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + q + n - 1));
            const __m128i headFits = _mm_or_si128(_mm_cmpeq_epi8(heads, first0), _mm_cmpeq_epi8(heads, first1));
            const __m128i tailFits = _mm_or_si128(_mm_cmpeq_epi8(tails, last0), _mm_cmpeq_epi8(tails, last1));
            unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(headFits, tailFits)));
            mask &= ~0u << (p - q);
            while (mask) {
                const int at = q + __builtin_ctz(mask);
                if (At(text + at))
                    return at;
                mask &= mask - 1;
            }
            if (q == finalBlock)
                return -1;
        }
    }
#endif
    return FindEach(text, from, lastStart);
}
