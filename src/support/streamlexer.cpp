#include "streamlexer.h"

#include "ansi.h"

namespace {

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

QString Shown(char c)
{
    const uchar byte = uchar(c);
    if (byte > 32 && byte < 127)
        return QStringLiteral("'%1'").arg(QChar(byte));
    return QStringLiteral("#%1").arg(byte);
}

} // namespace

TStreamLexer::TStreamLexer(const QByteArray& text) : m_at(text.constData()), m_end(text.constData() + text.size()) {}

const TStreamLexer::TToken& TStreamLexer::Peek()
{
    if (!m_havePeeked) {
        m_peeked = Scan();
        m_havePeeked = true;
    }
    return m_peeked;
}

TStreamLexer::TToken TStreamLexer::Next()
{
    if (m_havePeeked) {
        m_havePeeked = false;
        return std::move(m_peeked);
    }
    return Scan();
}

bool TStreamLexer::PeekSymbol(char symbol)
{
    const TToken& token = Peek();
    return token.kind == tkSymbol && token.text.size() == 1 && token.text[0] == symbol;
}

bool TStreamLexer::PeekKeyword(const char* keyword)
{
    const TToken& token = Peek();
    return token.kind == tkIdent && token.text.compare(keyword, Qt::CaseInsensitive) == 0;
}

void TStreamLexer::Fail(const QString& message) const
{
    throw TStreamError{m_line, message};
}

bool TStreamLexer::AtLineEnd() const
{
    return m_at < m_end && (*m_at == '\n' || *m_at == '\r');
}

// CR LF, LF and a lone CR each end one line.
void TStreamLexer::TakeLineEnd()
{
    if (*m_at == '\r' && m_at + 1 < m_end && m_at[1] == '\n')
        ++m_at;
    ++m_at;
    ++m_line;
}

void TStreamLexer::SkipSpace()
{
    while (m_at < m_end) {
        if (AtLineEnd())
            TakeLineEnd();
        else if (*m_at == ' ' || *m_at == '\t' || *m_at == '\f' || *m_at == '\v')
            ++m_at;
        else
            break;
    }
}

TStreamLexer::TToken TStreamLexer::Scan()
{
    SkipSpace();
    TToken token;
    token.line = m_line;
    if (m_at >= m_end)
        return token;
    const char c = *m_at;
    if (IsLetter(c)) {
        ScanIdent(token);
    } else if (IsDigit(c) || c == '$' || (c == '-' && m_at + 1 < m_end && (IsDigit(m_at[1]) || m_at[1] == '$'))) {
        ScanNumber(token);
    } else if (c == '\'' || c == '#') {
        ScanString(token);
    } else if (c == '{') {
        ScanBinary(token);
    } else if (QByteArrayView("=:[]<>,+()").contains(c)) {
        token.kind = tkSymbol;
        token.text = QByteArray(1, c);
        ++m_at;
    } else {
        Fail(QStringLiteral("unexpected character %1").arg(Shown(c)));
    }
    return token;
}

void TStreamLexer::ScanIdent(TToken& token)
{
    const char* start = m_at;
    while (m_at < m_end) {
        if (IsLetter(*m_at) || IsDigit(*m_at))
            ++m_at;
        else if (*m_at == '.' && m_at + 1 < m_end && IsLetter(m_at[1]))
            ++m_at;
        else
            break;
    }
    token.kind = tkIdent;
    token.text = QByteArray(start, m_at - start);
}

// Decimal integers and reals, and $hex integers; the value is checked
// against the property's type when it is applied.
void TStreamLexer::ScanNumber(TToken& token)
{
    const char* start = m_at;
    if (*m_at == '-')
        ++m_at;
    if (m_at < m_end && *m_at == '$') {
        ++m_at;
        while (m_at < m_end && IsHexDigit(*m_at))
            ++m_at;
    } else {
        while (m_at < m_end && IsDigit(*m_at))
            ++m_at;
        if (m_at + 1 < m_end && *m_at == '.' && IsDigit(m_at[1])) {
            ++m_at;
            while (m_at < m_end && IsDigit(*m_at))
                ++m_at;
        }
        if (m_at < m_end && (*m_at == 'e' || *m_at == 'E')) {
            const char* exponent = m_at + 1;
            if (exponent < m_end && (*exponent == '+' || *exponent == '-'))
                ++exponent;
            if (exponent < m_end && IsDigit(*exponent)) {
                m_at = exponent;
                while (m_at < m_end && IsDigit(*m_at))
                    ++m_at;
            }
        }
    }
    // "12abc" is one bad word, not a number followed by a name.
    while (m_at < m_end && (IsLetter(*m_at) || IsDigit(*m_at) || *m_at == '.'))
        ++m_at;
    token.kind = tkNumber;
    token.text = QByteArray(start, m_at - start);
}

// Quoted runs and #nn characters written next to each other form one
// string: 'a'#9'b'. #nn up to 255 is a Windows-1252 byte, above it a
// Unicode code point.
void TStreamLexer::ScanString(TToken& token)
{
    token.kind = tkString;
    const int startLine = m_line;
    while (m_at < m_end) {
        if (*m_at == '\'') {
            ++m_at;
            for (;;) {
                if (m_at >= m_end || AtLineEnd())
                    throw TStreamError{startLine, QStringLiteral("unterminated string")};
                if (*m_at == '\'') {
                    if (m_at + 1 < m_end && m_at[1] == '\'') {
                        token.string += u'\'';
                        m_at += 2;
                        continue;
                    }
                    ++m_at;
                    break;
                }
                token.string += QChar(Ansi::ToUnicode(uchar(*m_at)));
                ++m_at;
            }
        } else if (*m_at == '#') {
            ++m_at;
            const bool hex = m_at < m_end && *m_at == '$';
            if (hex)
                ++m_at;
            const char* start = m_at;
            while (m_at < m_end && (hex ? IsHexDigit(*m_at) : IsDigit(*m_at)))
                ++m_at;
            bool ok = false;
            const qsizetype digits = m_at - start;
            const quint32 code = digits > 0 && digits <= 8
                                     ? QByteArray(start, digits).toUInt(&ok, hex ? 16 : 10)
                                     : 0;
            if (!ok || code > 0x10FFFF)
                Fail(QStringLiteral("bad character code '#%1'")
                         .arg(QString::fromLatin1(QByteArray(start, std::min<qsizetype>(digits, 20)))));
            if (code <= 255)
                token.string += QChar(Ansi::ToUnicode(uchar(code)));
            else if (code <= 0xFFFF)
                token.string += QChar(char16_t(code));
            else
                token.string += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        } else {
            break;
        }
    }
}

void TStreamLexer::ScanBinary(TToken& token)
{
    token.kind = tkBinary;
    const int startLine = m_line;
    ++m_at;
    QByteArray digits;
    for (;;) {
        if (m_at >= m_end)
            throw TStreamError{startLine, QStringLiteral("unterminated binary value")};
        if (AtLineEnd()) {
            TakeLineEnd();
            continue;
        }
        const char c = *m_at;
        if (c == '}') {
            ++m_at;
            break;
        }
        if (c == ' ' || c == '\t') {
            ++m_at;
            continue;
        }
        if (!IsHexDigit(c))
            Fail(QStringLiteral("bad hex digit %1 in a binary value").arg(Shown(c)));
        digits += c;
        ++m_at;
    }
    if (digits.size() % 2)
        throw TStreamError{startLine, QStringLiteral("odd number of hex digits in a binary value")};
    token.bytes = QByteArray::fromHex(digits);
}
