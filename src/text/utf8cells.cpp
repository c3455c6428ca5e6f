// Character boundaries and display cells inside UTF-8 lines. Everything
// here walks bytes forward from the line start, except finding the start of
// a character, which looks back at most 3 bytes per code point and
// kMaxMarks code points: a caret step costs the character it steps over.
// Runs of bytes below 0x80 are crossed eight bytes at a time, so that a
// long line costs little more than a scan of memory up to the column asked.

#include "utf8cells.h"

#include "utf8.h"

#include <algorithm>
#include <cstring>

namespace Utf8Cells {

namespace {

struct TRange {
    char32_t first;
    char32_t last;
};

// Combining marks and other code points drawn with the character before
// them: diacritics, Hebrew and Arabic points, Thai vowels and tone marks,
// zero-width joiners, variation selectors, emoji skin tones.
constexpr TRange kMarks[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x05BF, 0x05BF}, {0x05C1, 0x05C2},
    {0x05C4, 0x05C5}, {0x05C7, 0x05C7}, {0x0610, 0x061A}, {0x064B, 0x065F}, {0x0670, 0x0670},
    {0x06D6, 0x06DC}, {0x06DF, 0x06E4}, {0x06E7, 0x06E8}, {0x06EA, 0x06ED}, {0x0900, 0x0902},
    {0x093A, 0x093A}, {0x093C, 0x093C}, {0x0941, 0x0948}, {0x094D, 0x094D}, {0x0951, 0x0957},
    {0x0E31, 0x0E31}, {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF},
    {0x200B, 0x200F}, {0x20D0, 0x20FF}, {0x302A, 0x302D}, {0x3099, 0x309A}, {0xFE00, 0xFE0F},
    {0xFE20, 0xFE2F}, {0x1F3FB, 0x1F3FF}, {0xE0020, 0xE007F}, {0xE0100, 0xE01EF},
};

// East Asian wide and full-width letters and the emoji shown as pictures.
constexpr TRange kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},   {0x23F0, 0x23F0},
    {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},   {0x2648, 0x2653},   {0x267F, 0x267F},
    {0x2693, 0x2693},   {0x26A1, 0x26A1},   {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},
    {0x26CE, 0x26CE},   {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},   {0x2728, 0x2728},
    {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},   {0x2757, 0x2757},   {0x2795, 0x2797},
    {0x27B0, 0x27B0},   {0x27BF, 0x27BF},   {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},
    {0x2E80, 0x3029},   {0x302E, 0x303E},   {0x3041, 0x3098},   {0x309B, 0x33FF},   {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},
    {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x1B2FF},
    {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251},
    {0x1F300, 0x1F3FA}, {0x1F400, 0x1F64F}, {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F900, 0x1F9FF},
    {0x1FA70, 0x1FAFF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

template <size_t N>
bool InTable(const TRange (&table)[N], char32_t code)
{
    const TRange* end = table + N;
    const TRange* it = std::lower_bound(table, end, code, [](const TRange& r, char32_t c) { return r.last < c; });
    return it != end && code >= it->first;
}

// The first byte >= 0x80 in [from, to), or to.
int HighByteFrom(std::string_view text, int from, int to)
{
    const char* p = text.data();
    int i = from;
    constexpr quint64 kHigh = 0x8080808080808080ULL;
    for (; i + 8 <= to; i += 8) {
        quint64 word;
        std::memcpy(&word, p + i, sizeof word);
        if (word & kHigh)
            break;
    }
    while (i < to && uchar(p[i]) < 0x80)
        ++i;
    return i;
}

bool IsMark(const TCodePoint& point)
{
    return point.valid && point.cells == 0;
}

// The start of the code point (or invalid byte) that holds byte at.
int PointStart(std::string_view text, int at)
{
    const char* end = text.data() + text.size();
    for (int k = at; k >= std::max(0, at - 3); --k) {
        const int length = Utf8::SequenceLength(text.data() + k, end);
        if (length > 0 && k + length > at)
            return k;
    }
    return at;
}

// Whether a character starts at the code point starting at at: anything but
// a mark, or a mark with no letter within kMaxMarks code points before it.
bool StartsChar(std::string_view text, int at)
{
    if (at <= 0 || at >= int(text.size()) || !IsMark(CodePointAt(text, at)))
        return true;
    int p = at;
    for (int i = 0; i < kMaxMarks; ++i) {
        if (p <= 0)
            return true;
        p = PointStart(text, p - 1);
        if (!IsMark(CodePointAt(text, p)))
            return false;
    }
    return true;
}

// The end and cells of the character starting at at (inside text).
int CharEnd(std::string_view text, int at, int& cells)
{
    const int n = int(text.size());
    TCodePoint point = CodePointAt(text, at);
    cells = point.cells;
    int end = at + point.length;
    while (end < n && uchar(text[size_t(end)]) >= 0x80 && !StartsChar(text, end)) {
        point = CodePointAt(text, end);
        cells += point.cells;
        end += point.length;
    }
    return end;
}

} // namespace

bool HasHighBytes(std::string_view text)
{
    return HighByteFrom(text, 0, int(text.size())) < int(text.size());
}

int Width(char32_t code)
{
    if (code < 0x300)
        return 1;
    // The common scripts go without a table search: Greek and Cyrillic
    // letters, and the unified CJK ideographs.
    if (code >= 0x370 && code < 0x483)
        return 1;
    if (code >= 0x4E00 && code <= 0x9FFF)
        return 2;
    if (InTable(kMarks, code))
        return 0;
    return InTable(kWide, code) ? 2 : 1;
}

TCodePoint CodePointAt(std::string_view text, int at)
{
    const char* p = text.data() + at;
    const uchar lead = uchar(*p);
    if (lead < 0x80)
        return {1, 1, lead, true};
    const int length = Utf8::SequenceLength(p, text.data() + text.size());
    if (length == 0)
        return {};
    const char32_t code = Utf8::Decode(p, length);
    return {length, Width(code), code, true};
}

int CharStart(std::string_view text, int at)
{
    if (at <= 0 || at >= int(text.size()))
        return std::max(at, 0);
    int start = PointStart(text, at);
    while (!StartsChar(text, start))
        start = PointStart(text, start - 1);
    return start;
}

int NextChar(std::string_view text, int at)
{
    if (at < 0 || at >= int(text.size()))
        return at + 1;
    int cells;
    return CharEnd(text, at, cells);
}

int PreviousChar(std::string_view text, int at)
{
    if (at <= 0)
        return 0;
    if (at > int(text.size()))
        return at - 1;
    return CharStart(text, at - 1);
}

int CellOf(std::string_view text, int column, TCellMark from)
{
    const int n = int(text.size());
    const int limit = std::clamp(column, 0, n);
    const bool begin = from.column > 0 && from.column <= limit;
    int cells = begin ? from.cells : 0;
    int i = begin ? from.column : 0;
    while (i < limit) {
        const int high = HighByteFrom(text, i, limit);
        cells += high - i;
        i = high;
        if (i >= limit)
            break;
        const TCodePoint point = CodePointAt(text, i);
        if (i + point.length > limit)
            break;
        cells += point.cells;
        i += point.length;
    }
    return cells + std::max(0, column - n);
}

int ColumnAt(std::string_view text, int offset, int cellWidth, bool nearest, TCellMark from, int* cellsBefore)
{
    const int n = int(text.size());
    cellWidth = std::max(1, cellWidth);
    offset = std::max(0, offset);
    // Cells wholly left of the offset (or of its nearest boundary).
    const int target = nearest ? (offset + cellWidth / 2) / cellWidth : offset / cellWidth;
    // Every character in front of from ends at or before the offset, so
    // none of them can be the answer.
    const bool begin = from.column > 0 && from.column <= n && from.cells * cellWidth <= offset;
    int cells = begin ? from.cells : 0;
    int i = begin ? from.column : 0;
    auto answer = [&](int column, int before) {
        if (cellsBefore)
            *cellsBefore = before;
        return column;
    };
    while (i < n) {
        // A plain byte is one character of one cell unless a mark follows
        // it: the last plain byte before a high byte goes the slow way.
        int high = HighByteFrom(text, i, n);
        const int plainEnd = high < n && high > i ? high - 1 : high;
        if (plainEnd > i) {
            const int skip = std::min(plainEnd - i, target - cells);
            if (skip < plainEnd - i)
                return answer(i + std::max(0, skip), cells + std::max(0, skip));
            cells += skip;
            i += skip;
            continue;
        }
        int width;
        const int end = CharEnd(text, i, width);
        const int x = cells * cellWidth;
        const int w = width * cellWidth;
        const bool passed = nearest ? offset + w / 2 >= x + w : offset >= x + w;
        if (!passed)
            return answer(i, cells);
        cells += width;
        i = end;
    }
    return answer(n + std::max(0, target - cells), cells + std::max(0, target - cells));
}

int CharCount(std::string_view text, int column)
{
    const int n = int(text.size());
    const int limit = std::clamp(column, 0, n);
    int count = 0;
    int i = 0;
    while (i < limit) {
        const int high = HighByteFrom(text, i, limit);
        const int plainEnd = high < n && high > i ? high - 1 : high;
        if (plainEnd > i) {
            count += plainEnd - i;
            i = plainEnd;
            continue;
        }
        int cells;
        i = CharEnd(text, i, cells);
        ++count;
    }
    return count + std::max(0, column - n);
}

} // namespace Utf8Cells
