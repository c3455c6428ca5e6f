#include "encodingdetect.h"

#include "utf8.h"

#include <QFileInfo>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace EncodingDetect {

namespace {

bool sameAscii(const char* p, const char* word, qint64 left)
{
    const qint64 n = qint64(std::strlen(word));
    if (left < n)
        return false;
    for (qint64 i = 0; i < n; ++i) {
        char c = p[i];
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c != word[i])
            return false;
    }
    return true;
}

// The value after "name" in a declaration: blanks, '=', blanks, an
// optional quote, then the charset's own characters.
QByteArray valueAfter(const char* p, const char* end)
{
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    if (p >= end || *p != '=')
        return {};
    ++p;
    while (p < end && (*p == ' ' || *p == '\t' || *p == '"' || *p == '\''))
        ++p;
    const char* start = p;
    while (p < end && (std::isalnum(uchar(*p)) || *p == '-' || *p == '_' || *p == '.' || *p == ':'))
        ++p;
    return QByteArray(start, p - start).toLower();
}

bool encodingNamed(const QByteArray& name, TTextEncoding& encoding)
{
    if (name == "utf-8" || name == "utf8") {
        encoding = MemoTypes::teUtf8;
        return true;
    }
    // Browsers read ISO-8859-1 and plain ASCII declarations as Windows-1252.
    static const char* const kWestern[] = {"windows-1252", "cp1252", "iso-8859-1", "iso8859-1",
                                           "iso_8859-1",   "latin1", "l1",         "us-ascii"};
    for (const char* western : kWestern) {
        if (name == western) {
            encoding = MemoTypes::teWindows1252;
            return true;
        }
    }
    return false;
}

} // namespace

bool StartsWithByteOrderMark(const char* data, qint64 size)
{
    return size >= kByteOrderMarkLength && std::memcmp(data, "\xEF\xBB\xBF", kByteOrderMarkLength) == 0;
}

bool IsMarkupFile(const QString& path)
{
    static const QStringList kSuffixes = {QStringLiteral("htm"),  QStringLiteral("html"), QStringLiteral("xhtml"),
                                          QStringLiteral("shtml"), QStringLiteral("jsp"),  QStringLiteral("jspf"),
                                          QStringLiteral("jspx")};
    return kSuffixes.contains(QFileInfo(path).suffix().toLower());
}

bool DeclaredEncoding(const char* data, qint64 size, TTextEncoding& encoding)
{
    // JSP's pageEncoding names the file's own bytes, where contentType's
    // charset names the response: the first wins when both are there.
    const char* const end = data + std::min<qint64>(size, kDeclarationWindow);
    for (const char* word : {"pageencoding", "charset"}) {
        const qint64 n = qint64(std::strlen(word));
        for (const char* p = data; p < end; ++p) {
            if ((*p | 0x20) == word[0] && sameAscii(p, word, end - p)) {
                if (encodingNamed(valueAfter(p + n, end), encoding))
                    return true;
            }
        }
    }
    return false;
}

qint64 FirstHighByte(const char* data, qint64 size)
{
    qint64 i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, 8);
        if (word & 0x8080808080808080ull)
            break;
    }
    for (; i < size; ++i) {
        if (uchar(data[i]) >= 0x80)
            return i;
    }
    return size;
}

TDetectedEncoding Detect(const char* data, qint64 size, bool markupFile, TTextEncoding asciiEncoding)
{
    TDetectedEncoding found;
    if (StartsWithByteOrderMark(data, size)) {
        found.encoding = MemoTypes::teUtf8;
        found.byteOrderMark = true;
        return found;
    }
    if (markupFile && DeclaredEncoding(data, size, found.encoding))
        return found;
    const char* const end = data + size;
    const char* p = data + FirstHighByte(data, size);
    if (p == end) {
        found.encoding = asciiEncoding;
        return found;
    }
    // From the first byte >= 0x80 on, every sequence must be valid; runs of
    // ASCII between them are passed over a word at a time.
    while (p < end) {
        const int n = Utf8::SequenceLength(p, end);
        if (n == 0)
            return found;
        p += n;
        p += FirstHighByte(p, end - p);
    }
    found.encoding = MemoTypes::teUtf8;
    return found;
}

} // namespace EncodingDetect
