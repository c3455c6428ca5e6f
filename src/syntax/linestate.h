#pragma once

#include <QtGlobal>

// The 32-bit state a line hands to the next, built and taken apart only
// through the masks and shifts below. 0 is the root block with nothing open.
//
//   bits 24..31  index into the scheme's block paths (the current nesting)
//   bit  23      the delimiters of the current block are part of the block
//   bit  22      the current block is case-sensitive
//   bits 16..21  index of the BlockDelimiters entry that opened the block
//   bits  8..15  the open construct (TOpenConstruct)
//   bits  0..7   index of the open construct's token among the enabled
//                tokens of its list
//
// So a scheme works with at most 256 nesting paths, 64 BlockDelimiters per
// block and 256 enabled tokens per list.
namespace LineState {

// What is still open at a line's end. The two line comments are open only
// while a block opened inside them (OpenInTokens) runs; a line never ends
// with one open.
enum TOpenConstruct : quint32 {
    ocNone = 0,
    ocMultiLineComment = 1,
    ocSingleLineString = 2,
    ocMultiLineString = 3,
    ocLineDirective = 4,
    ocSingleLineComment = 5,
    ocFullLineComment = 6,
};

// In a here-document the construct and token bytes carry the word that ends
// it instead: the construct byte has this bit set and holds the high seven
// bits of a 15-bit digest of the word, the token byte the low eight (see
// linecontext.cpp). Nothing is open inside a here-document body.
constexpr quint32 kHereWordBit = 0x80;

constexpr int kPathShift = 24;
constexpr quint32 kPathMask = 0xFFu << kPathShift;
constexpr quint32 kPartOfBlockBit = 1u << 23;
constexpr quint32 kCaseSensitiveBit = 1u << 22;
constexpr int kDelimiterShift = 16;
constexpr quint32 kDelimiterMask = 0x3Fu << kDelimiterShift;
constexpr int kConstructShift = 8;
constexpr quint32 kConstructMask = 0xFFu << kConstructShift;
constexpr int kTokenShift = 0;
constexpr quint32 kTokenMask = 0xFFu << kTokenShift;

constexpr int kMaxPaths = 256;
constexpr int kMaxDelimiters = 64;
constexpr int kMaxEnabledTokens = 256;

struct TFields {
    int path = 0;
    bool partOfBlock = false;
    bool caseSensitive = false;
    int delimiter = 0;
    quint32 construct = ocNone;
    int token = 0;
};

constexpr quint32 Pack(const TFields& f)
{
    return (quint32(f.path) << kPathShift & kPathMask) | (f.partOfBlock ? kPartOfBlockBit : 0u) |
           (f.caseSensitive ? kCaseSensitiveBit : 0u) | (quint32(f.delimiter) << kDelimiterShift & kDelimiterMask) |
           (f.construct << kConstructShift & kConstructMask) | (quint32(f.token) << kTokenShift & kTokenMask);
}

constexpr TFields Unpack(quint32 state)
{
    TFields f;
    f.path = int((state & kPathMask) >> kPathShift);
    f.partOfBlock = (state & kPartOfBlockBit) != 0;
    f.caseSensitive = (state & kCaseSensitiveBit) != 0;
    f.delimiter = int((state & kDelimiterMask) >> kDelimiterShift);
    f.construct = (state & kConstructMask) >> kConstructShift;
    f.token = int((state & kTokenMask) >> kTokenShift);
    return f;
}

constexpr int Path(quint32 state) { return int((state & kPathMask) >> kPathShift); }
constexpr quint32 Construct(quint32 state) { return (state & kConstructMask) >> kConstructShift; }
constexpr int Token(quint32 state) { return int((state & kTokenMask) >> kTokenShift); }

} // namespace LineState
