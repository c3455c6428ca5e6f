// Numbers: plain ones (digits, a fraction, an exponent; with a digit
// separator and a leading point where the block allows them), prefixed ones
// (hex digits behind a prefix, and hexadecimal floats), suffixes and the
// prefix-suffix pairs, in the order the scheme model fixes.

#include "linescanner.h"

using namespace LineScan;

int TLineScanner::Digits(int p, bool hex) const
{
    const int start = p;
    const uchar separator = m_block->digitSeparator;
    while (p < m_n) {
        const uchar c = m_text[p];
        if (hex ? IsHexDigit(c) : IsDigit(c)) {
            ++p;
            continue;
        }
        if (c != separator || !m_block->hasDigitSeparator || p == start)
            break;
        int q = p;
        while (q < m_n && m_text[q] == separator)
            ++q;
        if (q >= m_n || !(hex ? IsHexDigit(m_text[q]) : IsDigit(m_text[q])))
            break;
        p = q;
    }
    return p;
}

// Digits, an optional fraction and an optional exponent; the caller has
// seen a digit at p, or a decimal point and a digit.
int TLineScanner::PlainNumber(int p, TTokenKind& kind) const
{
    kind = tkInteger;
    p = Digits(p, false);
    if (p < m_n && m_text[p] == '.') {
        kind = tkFloat;
        p = Digits(p + 1, false);
    }
    if (p < m_n && (m_text[p] | 0x20) == 'e') {
        int q = p + 1;
        if (q < m_n && (m_text[q] == '+' || m_text[q] == '-'))
            ++q;
        if (q < m_n && IsDigit(m_text[q])) {
            kind = tkFloat;
            p = Digits(q, false);
        }
    }
    return p;
}

// A number prefix and the hex digits behind it; the prefix alone is a
// symbol. With hex floats a fraction and a binary exponent may follow.
bool TLineScanner::TryPrefixedNumber()
{
    if (!m_block->numPrefixes.firstChars.Has(m_text[m_pos]))
        return false;
    for (const TCompiledToken& prefix : m_block->numPrefixes.items) {
        if (!At(m_pos, prefix.left))
            continue;
        int p = m_pos + int(prefix.left.size());
        const int digits = p;
        p = Digits(p, true);
        m_kind = p > digits ? tkHexNumber : tkSymbol;
        if (m_block->useHexFloats) {
            int q = p;
            bool mantissa = p > digits;
            if (q < m_n && m_text[q] == '.') {
                const int fraction = q + 1;
                q = Digits(fraction, true);
                mantissa = mantissa || q > fraction;
            }
            if (mantissa && q < m_n && (m_text[q] | 0x20) == 'p') {
                int e = q + 1;
                if (e < m_n && (m_text[e] == '+' || m_text[e] == '-'))
                    ++e;
                if (e < m_n && IsDigit(m_text[e])) {
                    p = Digits(e, false);
                    m_kind = tkFloat;
                }
            }
        }
        m_attr = m_block->kindAttr[m_kind];
        m_pos = p;
        return true;
    }
    return false;
}

bool TLineScanner::TrySuffix(int& p) const
{
    if (p >= m_n || !m_block->numSuffixes.firstChars.Has(m_text[p]))
        return false;
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
    // A point that starts no number is a symbol.
    if (c == '.' && !(b.useLeadingDotNumbers && m_pos + 1 < m_n && IsDigit(m_text[m_pos + 1])) &&
        !b.numPrefixes.firstChars.Has('.') && !b.numPrefixesSuffixes.firstChars.Has('.'))
        return false;
    const bool composition = b.usePrefixedSuffixedNumbers && b.usePSNumComposition;
    if (b.usePrefixedSuffixedNumbers && !composition) {
        for (const TCompiledToken& item : b.numPrefixesSuffixes.items) {
            if (!At(m_pos, item.left))
                continue;
            int p = m_pos + int(item.left.size());
            const int digits = p;
            p = Digits(p, true);
            if (p > digits && At(p, item.right)) {
                m_pos = p + int(item.right.size());
                m_kind = tkHexNumber;
                m_attr = b.useAffixFonts && item.hasFont ? item.attr : b.kindAttr[tkHexNumber];
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
    if (!IsDigit(c) && !(c == '.' && b.useLeadingDotNumbers && m_pos + 1 < m_n && IsDigit(m_text[m_pos + 1])))
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
