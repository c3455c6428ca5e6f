#include "ansi.h"

#include <QList>

#include <array>

namespace Ansi {
namespace {

// 0x80..0x9F of Windows-1252; the five unassigned bytes map to themselves, as
// the system's conversion does.
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// 0x80..0xFF of code page 437.
constexpr char16_t kHigh437[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

// Letters with marks that the OEM page lacks fall back to their base letter.
char BaseLetter(char16_t ch)
{
    static const char16_t* const kGroups[] = {
        u"A\u00C0\u00C1\u00C2\u00C3", u"a\u00E3", u"C", u"E\u00C8\u00CA\u00CB", u"I\u00CC\u00CD\u00CE\u00CF",
        u"i", u"N", u"O\u00D2\u00D3\u00D4\u00D5\u00D8", u"o\u00F5\u00F8", u"U\u00D9\u00DA\u00DB", u"Y\u00DD\u0178",
        u"y\u00FD", u"S\u0160", u"s\u0161", u"Z\u017D", u"z\u017E", u"D\u00D0", u"d\u00F0",
    };
    for (const char16_t* group : kGroups) {
        for (const char16_t* p = group + 1; *p; ++p) {
            if (*p == ch)
                return char(group[0]);
        }
    }
    switch (ch) {
    case 0x2018: case 0x2019: case 0x00B4: return '\'';
    case 0x201C: case 0x201D: case 0x201E: case 0x00AB: case 0x00BB: return '"';
    case 0x2013: case 0x2014: case 0x00AD: return '-';
    case 0x2022: case 0x00B7: return '.';
    case 0x2502: case 0x2551: return '|';
    case 0x2500: case 0x2550: return '-';
    default: return '?';
    }
}

struct Tables {
    std::array<uchar, 256> lower{};
    std::array<uchar, 256> upper{};
    std::array<uchar, 256> toOem{};
    std::array<uchar, 256> fromOem{};

    Tables()
    {
        for (int b = 0; b < 256; ++b) {
            lower[b] = uchar(b);
            upper[b] = uchar(b);
        }
        auto pair = [this](int up, int low) {
            lower[up] = uchar(low);
            upper[low] = uchar(up);
        };
        for (int b = 'A'; b <= 'Z'; ++b)
            pair(b, b + 32);
        for (int b = 0xC0; b <= 0xDE; ++b) {
            if (b != 0xD7)
                pair(b, b + 32);
        }
        pair(0x8A, 0x9A);
        pair(0x8C, 0x9C);
        pair(0x8E, 0x9E);
        pair(0x9F, 0xFF);

        for (int b = 0; b < 256; ++b) {
            toOem[b] = Convert(ToUnicode(uchar(b)), kHigh437);
            fromOem[b] = b < 0x80 ? uchar(b) : Convert(kHigh437[b - 0x80], nullptr);
        }
    }

    // The byte of ch in code page 437 (table given) or 1252 (table null).
    static uchar Convert(char16_t ch, const char16_t* high437)
    {
        if (ch < 0x80)
            return uchar(ch);
        for (int i = 0; i < 128; ++i) {
            if ((high437 ? high437[i] : ToUnicode(uchar(0x80 + i))) == ch)
                return uchar(0x80 + i);
        }
        return uchar(BaseLetter(ch));
    }
};

const Tables& tables()
{
    static const Tables instance;
    return instance;
}

} // namespace

char16_t ToUnicode(uchar byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHigh1252[byte - 0x80];
    return byte;
}

bool FromUnicode(char32_t ch, uchar& byte)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) {
        byte = uchar(ch);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh1252[i] == ch) {
            byte = uchar(0x80 + i);
            return true;
        }
    }
    return false;
}

char16_t OemToUnicode(uchar byte)
{
    return byte < 0x80 ? char16_t(byte) : kHigh437[byte - 0x80];
}

bool OemFromUnicode(char32_t ch, uchar& byte)
{
    if (ch < 0x80) {
        byte = uchar(ch);
        return true;
    }
    for (int i = 0; i < 128; ++i) {
        if (kHigh437[i] == ch) {
            byte = uchar(0x80 + i);
            return true;
        }
    }
    return false;
}

QString ToQString(const char* data, int length)
{
    QString text(length, Qt::Uninitialized);
    QChar* out = text.data();
    for (int i = 0; i < length; ++i)
        out[i] = QChar(ToUnicode(uchar(data[i])));
    return text;
}

QString ToQString(const QByteArray& bytes)
{
    return ToQString(bytes.constData(), int(bytes.size()));
}

QByteArray FromQString(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (char32_t ch : text.toUcs4()) {
        uchar byte;
        bytes.append(FromUnicode(ch, byte) ? char(byte) : '?');
    }
    return bytes;
}

uchar Lower(uchar byte) { return tables().lower[byte]; }
const uchar* LowerTable() { return tables().lower.data(); }
uchar Upper(uchar byte) { return tables().upper[byte]; }
bool IsLower(uchar byte) { return tables().upper[byte] != byte; }
bool IsUpper(uchar byte) { return tables().lower[byte] != byte; }

QByteArray Lower(QByteArray text)
{
    for (char& c : text)
        c = char(Lower(uchar(c)));
    return text;
}

QByteArray Upper(QByteArray text)
{
    for (char& c : text)
        c = char(Upper(uchar(c)));
    return text;
}

QByteArray ToggleCase(QByteArray text)
{
    for (char& c : text) {
        uchar b = uchar(c);
        c = char(IsLower(b) ? Upper(b) : Lower(b));
    }
    return text;
}

bool SameTextAscii(const char* a, const char* b, int length)
{
    for (int i = 0; i < length; ++i) {
        uchar x = uchar(a[i]);
        uchar y = uchar(b[i]);
        if (x == y)
            continue;
        if (x >= 'A' && x <= 'Z')
            x += 32;
        if (y >= 'A' && y <= 'Z')
            y += 32;
        if (x != y)
            return false;
    }
    return true;
}

uchar ToOem(uchar byte) { return tables().toOem[byte]; }
uchar FromOem(uchar byte) { return tables().fromOem[byte]; }

QByteArray ToOem(QByteArray text)
{
    for (char& c : text)
        c = char(ToOem(uchar(c)));
    return text;
}

QByteArray FromOem(QByteArray text)
{
    for (char& c : text)
        c = char(FromOem(uchar(c)));
    return text;
}

} // namespace Ansi
