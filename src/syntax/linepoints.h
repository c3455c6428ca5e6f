#pragma once

#include <QtGlobal>

// What the line scanner carries inside a line besides the line state, packed
// into the local word of a resume point, built and taken apart only through
// the masks and shifts below. The scanner keeps three flags and three
// positions close behind it (m_openFrom, m_guardFrom, m_guardTo):
//
//   bit  0       the line may still start a directive
//   bit  1       only blanks and plain text came before on the line
//   bit  2       a directive was seen on the line
//   bits 8..15   pos - m_openFrom, or kFar when no opening text can reach
//                back to m_openFrom any more (the same as 0: anywhere)
//   bits 16..23  pos - m_guardTo, or kFar when the guard is out of reach
//   bits 24..31  m_guardTo - m_guardFrom
//
// A position farther back than kFar cannot change what happens from here on
// as long as no opening or closing text of the scheme is that long; a scheme
// with such a text parses its long lines whole (TSyntaxParser::Resumable).
//
// A token looks ahead of its end by at most the length of such a text,
// except a word or a run of digit separators, which a blank ends: points lie
// only in front of a blank, so that text beyond kReach behind a point cannot
// have changed anything in front of it.
namespace LinePoint {

constexpr quint32 kDirectiveAllowedBit = 1u << 0;
constexpr quint32 kLineStartBit = 1u << 1;
constexpr quint32 kDirectiveSeenBit = 1u << 2;
constexpr int kOpenShift = 8;
constexpr int kGuardShift = 16;
constexpr int kGuardLengthShift = 24;
constexpr quint32 kByte = 0xFF;
constexpr int kFar = 0xFF;
// How far behind a point, and ahead of a token's end, the scanner looks.
constexpr int kReach = kFar + 1;

struct TLocal {
    bool directiveAllowed = true;
    bool lineStart = true;
    bool directiveSeen = false;
    int open = kFar;
    int guard = kFar;
    int guardLength = 0;
};

constexpr quint32 Pack(const TLocal& l)
{
    return (l.directiveAllowed ? kDirectiveAllowedBit : 0u) | (l.lineStart ? kLineStartBit : 0u) |
           (l.directiveSeen ? kDirectiveSeenBit : 0u) | (quint32(l.open) & kByte) << kOpenShift |
           (quint32(l.guard) & kByte) << kGuardShift | (quint32(l.guardLength) & kByte) << kGuardLengthShift;
}

constexpr TLocal Unpack(quint32 local)
{
    TLocal l;
    l.directiveAllowed = local & kDirectiveAllowedBit;
    l.lineStart = local & kLineStartBit;
    l.directiveSeen = local & kDirectiveSeenBit;
    l.open = int(local >> kOpenShift & kByte);
    l.guard = int(local >> kGuardShift & kByte);
    l.guardLength = int(local >> kGuardLengthShift & kByte);
    return l;
}

} // namespace LinePoint
