#pragma once

#include <QtGlobal>

#include <cstdint>
#include <string_view>

// A set of 8-bit characters, tested in one step.
class TCharSet {
public:
    constexpr TCharSet() = default;
    constexpr TCharSet(std::string_view members)
    {
        for (char c : members)
            Add(uchar(c));
    }

    constexpr bool Has(uchar c) const { return (m_bits[c >> 6] >> (c & 63)) & 1; }
    constexpr void Add(uchar c) { m_bits[c >> 6] |= std::uint64_t(1) << (c & 63); }
    constexpr void Remove(uchar c) { m_bits[c >> 6] &= ~(std::uint64_t(1) << (c & 63)); }
    constexpr void AddRange(uchar first, uchar last)
    {
        for (int c = first; c <= last; ++c)
            Add(uchar(c));
    }
    constexpr void Add(const TCharSet& other)
    {
        for (int i = 0; i < 4; ++i)
            m_bits[i] |= other.m_bits[i];
    }
    constexpr void Remove(const TCharSet& other)
    {
        for (int i = 0; i < 4; ++i)
            m_bits[i] &= ~other.m_bits[i];
    }
    constexpr bool IsEmpty() const { return !(m_bits[0] | m_bits[1] | m_bits[2] | m_bits[3]); }
    constexpr bool operator==(const TCharSet&) const = default;

    static constexpr TCharSet Range(uchar first, uchar last)
    {
        TCharSet set;
        set.AddRange(first, last);
        return set;
    }

private:
    std::uint64_t m_bits[4] = {0, 0, 0, 0};
};
