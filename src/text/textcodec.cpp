#include "textcodec.h"

#include "ansi.h"
#include "utf8.h"

namespace TextCodec {

QString Decode(const char* data, qsizetype length, TTextEncoding encoding)
{
    if (encoding == MemoTypes::teWindows1252)
        return Ansi::ToQString(data, int(length));
    QString text;
    if (encoding == MemoTypes::teOem) {
        text.resize(length);
        for (qsizetype i = 0; i < length; ++i)
            text[i] = QChar(Ansi::OemToUnicode(uchar(data[i])));
        return text;
    }
    text.reserve(length);
    const char* const end = data + length;
    for (const char* p = data; p < end;) {
        const uchar lead = uchar(*p);
        if (lead < 0x80) {
            text.append(QChar(char16_t(lead)));
            ++p;
            continue;
        }
        const int n = Utf8::SequenceLength(p, end);
        if (n == 0) {
            text.append(QChar(0xFFFD));
            ++p;
            continue;
        }
        const char32_t ch = Utf8::Decode(p, n);
        if (QChar::requiresSurrogates(ch)) {
            text.append(QChar(QChar::highSurrogate(ch)));
            text.append(QChar(QChar::lowSurrogate(ch)));
        } else {
            text.append(QChar(char16_t(ch)));
        }
        p += n;
    }
    return text;
}

QString Decode(const QByteArray& bytes, TTextEncoding encoding)
{
    return Decode(bytes.constData(), bytes.size(), encoding);
}

QByteArray Encode(const QString& text, TTextEncoding encoding, qsizetype* unrepresentable)
{
    if (unrepresentable)
        *unrepresentable = -1;
    QByteArray bytes;
    bytes.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t ch = text[i].unicode();
        const qsizetype at = i;
        if (QChar::isHighSurrogate(ch) && i + 1 < n && text[i + 1].isLowSurrogate())
            ch = QChar::surrogateToUcs4(char16_t(ch), text[++i].unicode());
        bool fits = true;
        if (encoding == MemoTypes::teUtf8) {
            // A lone surrogate has no UTF-8 form.
            if (QChar::isSurrogate(ch)) {
                fits = false;
            } else if (ch < 0x80) {
                bytes.append(char(ch));
            } else if (ch < 0x800) {
                bytes.append(char(0xC0 | (ch >> 6)));
                bytes.append(char(0x80 | (ch & 0x3F)));
            } else if (ch < 0x10000) {
                bytes.append(char(0xE0 | (ch >> 12)));
                bytes.append(char(0x80 | ((ch >> 6) & 0x3F)));
                bytes.append(char(0x80 | (ch & 0x3F)));
            } else {
                bytes.append(char(0xF0 | (ch >> 18)));
                bytes.append(char(0x80 | ((ch >> 12) & 0x3F)));
                bytes.append(char(0x80 | ((ch >> 6) & 0x3F)));
                bytes.append(char(0x80 | (ch & 0x3F)));
            }
        } else {
            uchar byte = 0;
            fits = encoding == MemoTypes::teOem ? Ansi::OemFromUnicode(ch, byte) : Ansi::FromUnicode(ch, byte);
            if (fits)
                bytes.append(char(byte));
        }
        if (!fits) {
            bytes.append('?');
            if (unrepresentable && *unrepresentable < 0)
                *unrepresentable = at;
        }
    }
    return bytes;
}

QString Name(TTextEncoding encoding)
{
    switch (encoding) {
    case MemoTypes::teUtf8:
        return QStringLiteral("UTF-8");
    case MemoTypes::teOem:
        return QStringLiteral("OEM 437");
    default:
        return QStringLiteral("Windows-1252");
    }
}

} // namespace TextCodec
