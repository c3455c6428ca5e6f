#include "utf8.h"

namespace Utf8 {

int SequenceLength(const char* p, const char* end)
{
    const auto* s = reinterpret_cast<const uchar*>(p);
    const qsizetype left = end - p;
    if (left <= 0)
        return 0;
    const uchar lead = s[0];
    if (lead < 0x80)
        return 1;
    auto continuation = [&](qsizetype i) { return i < left && (s[i] & 0xC0) == 0x80; };
    if (lead >= 0xC2 && lead <= 0xDF)
        return continuation(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!continuation(1) || !continuation(2))
            return 0;
        // E0 needs A0.. (no overlong forms), ED stops before the surrogates.
        if ((lead == 0xE0 && s[1] < 0xA0) || (lead == 0xED && s[1] > 0x9F))
            return 0;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3))
            return 0;
        if ((lead == 0xF0 && s[1] < 0x90) || (lead == 0xF4 && s[1] > 0x8F))
            return 0;
        return 4;
    }
    return 0;
}

char32_t Decode(const char* p, int length)
{
    const auto* s = reinterpret_cast<const uchar*>(p);
    switch (length) {
    case 1:
        return s[0];
    case 2:
        return char32_t(s[0] & 0x1F) << 6 | (s[1] & 0x3F);
    case 3:
        return char32_t(s[0] & 0x0F) << 12 | char32_t(s[1] & 0x3F) << 6 | (s[2] & 0x3F);
    case 4:
        return char32_t(s[0] & 0x07) << 18 | char32_t(s[1] & 0x3F) << 12 | char32_t(s[2] & 0x3F) << 6
               | (s[3] & 0x3F);
    default:
        return 0xFFFD;
    }
}

bool IsValid(const char* p, const char* end)
{
    while (p < end) {
        if (uchar(*p) < 0x80) {
            ++p;
            continue;
        }
        const int length = SequenceLength(p, end);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}

} // namespace Utf8
