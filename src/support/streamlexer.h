#pragma once

#include <QByteArray>
#include <QString>

// A fault in a component stream's text, with the 1-based line it is on.
struct TStreamError {
    int line;
    QString message;
};

// Cuts the text form of a component stream into tokens. Every fault is
// thrown as a TStreamError; the lexer never reads past the end of the text,
// whatever bytes it holds.
class TStreamLexer {
public:
    enum TTokenKind { tkEnd, tkIdent, tkNumber, tkString, tkBinary, tkSymbol };

    struct TToken {
        TTokenKind kind = tkEnd;
        int line = 1;
        QByteArray text; // identifier (possibly dotted), number, or the symbol
        QString string;  // tkString: the decoded text
        QByteArray bytes; // tkBinary
    };

    explicit TStreamLexer(const QByteArray& text);

    const TToken& Peek();
    TToken Next();
    bool PeekSymbol(char symbol);
    bool PeekKeyword(const char* keyword);

private:
    TToken Scan();
    void SkipSpace();
    void ScanIdent(TToken& token);
    void ScanNumber(TToken& token);
    void ScanString(TToken& token);
    void ScanBinary(TToken& token);
    bool AtLineEnd() const;
    void TakeLineEnd();

    [[noreturn]] void Fail(const QString& message) const;

    const char* m_at;
    const char* m_end;
    int m_line = 1;
    TToken m_peeked;
    bool m_havePeeked = false;
};
