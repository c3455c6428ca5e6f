#pragma once

#include <QtGlobal>

// UTF-8 as the bytes of a line: where characters start and what they are.
// Bytes that do not form a valid sequence (stray continuation bytes, overlong
// forms, surrogates, code points above U+10FFFF, a sequence cut short) count
// as one character each, so every byte belongs to exactly one character.
namespace Utf8 {

// The length of the valid sequence starting at p (1 to 4), or 0 when the
// byte at p does not start one. end bounds the look-ahead.
int SequenceLength(const char* p, const char* end);

// The code point of the valid sequence at p of the given length.
char32_t Decode(const char* p, int length);

// Whether the bytes hold no invalid sequence.
bool IsValid(const char* p, const char* end);

} // namespace Utf8
