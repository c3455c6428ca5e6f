#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Text is 8-bit: one byte is one character, shown through the Windows-1252
// table. These helpers hold that table, its case mappings and the OEM (code
// page 437) conversion.
namespace Ansi {

// The Unicode character a byte stands for.
char16_t ToUnicode(uchar byte);
// The byte of a Unicode character; false when Windows-1252 cannot hold it.
bool FromUnicode(char32_t ch, uchar& byte);

QString ToQString(const QByteArray& bytes);
QString ToQString(const char* data, int length);
// Characters that Windows-1252 cannot hold become '?'.
QByteArray FromQString(const QString& text);

// The system's ANSI case mapping of Windows-1252.
uchar Lower(uchar byte);
// The 256 bytes Lower maps to, for loops over many bytes.
const uchar* LowerTable();
uchar Upper(uchar byte);
bool IsLower(uchar byte);
bool IsUpper(uchar byte);
QByteArray Lower(QByteArray text);
QByteArray Upper(QByteArray text);
QByteArray ToggleCase(QByteArray text);

// Case-insensitive comparison of ASCII letters only (delimiters, names).
bool SameTextAscii(const char* a, const char* b, int length);

// Windows-1252 to the OEM code page 437 and back. Every character both pages
// hold round-trips; the others go to a close character or '?'.
uchar ToOem(uchar byte);
uchar FromOem(uchar byte);
QByteArray ToOem(QByteArray text);
QByteArray FromOem(QByteArray text);

// A byte of code page 437 read as itself: the Unicode character it stands
// for, and back (false when code page 437 has no such character).
char16_t OemToUnicode(uchar byte);
bool OemFromUnicode(char32_t ch, uchar& byte);

} // namespace Ansi
