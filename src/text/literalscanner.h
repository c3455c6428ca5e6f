#pragma once

#include <QByteArray>

#include <array>

// Finds a literal in 8-bit text, with or without regard to case, at the
// speed of the memory: sixteen places are tested at once for the literal's
// first and last byte (in every case they fold from), and only the places
// where both fit are compared in full. Searching reads nothing outside the
// range it is given, so a line can be searched where it lies, uncopied.
class TLiteralScanner {
public:
    // fold maps every byte to the form it is compared in (the identity, or
    // the lower case); literal is given unfolded.
    void Prepare(const QByteArray& literal, const std::array<uchar, 256>& fold);

    int Length() const { return int(m_literal.size()); }
    // The literal as it is compared (folded).
    const QByteArray& Folded() const { return m_literal; }
    // The first place in [from, end - Length()] where the literal starts;
    // -1 when there is none (or the literal is empty).
    int Find(const char* text, int from, int end) const;
    // Whether the literal starts at text.
    bool At(const char* text) const;

private:
    int FindEach(const char* text, int from, int lastStart) const;

    QByteArray m_literal; // folded
    std::array<uchar, 256> m_fold{};
    // The bytes that fold to the literal's first and last byte. Where more
    // than two do, every place is compared in full (no such byte exists
    // under the Windows-1252 case tables, but the scanner does not rely on
    // it).
    uchar m_first[2] = {};
    uchar m_last[2] = {};
    bool m_twoVariants = true;
};
