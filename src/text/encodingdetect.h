#pragma once

#include "memotypes.h"

#include <QString>
#include <QtGlobal>

// Which encoding a file's bytes are in, decided once when it is loaded.
//
// A UTF-8 byte order mark settles it. A markup file (HTML, JSP) that names
// its charset near its start, as UTF-8 or as Windows-1252 / ISO-8859-1,
// follows what it says. Otherwise bytes that are valid UTF-8 and hold at
// least one multi-byte sequence are UTF-8; bytes with none above 0x7F read
// the same in either encoding and take the one the caller names for them
// (what new documents get); everything else is Windows-1252, as files always
// were.
//
// A file of ASCII alone costs one pass that tests eight bytes at a time;
// validating sequences starts only at the first byte >= 0x80.
struct TDetectedEncoding {
    TTextEncoding encoding = MemoTypes::teWindows1252;
    bool byteOrderMark = false;
};

namespace EncodingDetect {

constexpr int kByteOrderMarkLength = 3;
// How far into a markup file a charset declaration is looked for.
constexpr int kDeclarationWindow = 4096;

bool StartsWithByteOrderMark(const char* data, qint64 size);
// Whether a file of this name may declare its charset the markup way.
bool IsMarkupFile(const QString& path);
// The encoding a charset declaration in the first kDeclarationWindow bytes
// names; false when there is none, or it names another charset.
bool DeclaredEncoding(const char* data, qint64 size, TTextEncoding& encoding);
// The offset of the first byte >= 0x80, or size when there is none.
qint64 FirstHighByte(const char* data, qint64 size);
TDetectedEncoding Detect(const char* data, qint64 size, bool markupFile,
                         TTextEncoding asciiEncoding = MemoTypes::teWindows1252);

} // namespace EncodingDetect
