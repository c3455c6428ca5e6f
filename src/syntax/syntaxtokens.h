#pragma once

#include "collection.h"

#include <QByteArray>
#include <QString>

// The token items of a syntax scheme: the delimiters, prefixes, suffixes and
// keyword lists a block reads, and the delimiters that open its child blocks.
// Token texts are 8-bit; the published properties show them through the
// Windows-1252 table, the compiler reads the bytes.

class TToken : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(int FontID READ FontID WRITE SetFontID)
    Q_PROPERTY(bool UseToken READ UseToken WRITE SetUseToken)

public:
    Q_INVOKABLE explicit TToken(TCollection* collection = nullptr);

    int FontID() const { return m_fontId; }
    void SetFontID(int id) { m_fontId = id; }
    // False: the compiler ignores the item, which stays in the data.
    bool UseToken() const { return m_useToken; }
    void SetUseToken(bool use) { m_useToken = use; }

private:
    int m_fontId = -1;
    bool m_useToken = true;
};

class TLineToken : public TToken {
    Q_OBJECT
    Q_PROPERTY(QString LeftDelimiter READ LeftDelimiter WRITE SetLeftDelimiter)

public:
    Q_INVOKABLE explicit TLineToken(TCollection* collection = nullptr);

    QString LeftDelimiter() const;
    void SetLeftDelimiter(const QString& text);
    const QByteArray& Left() const { return m_left; }
    void SetLeft(const QByteArray& bytes) { m_left = bytes; }

private:
    QByteArray m_left;
};

class TBlockToken : public TLineToken {
    Q_OBJECT
    Q_PROPERTY(QString RightDelimiter READ RightDelimiter WRITE SetRightDelimiter)

public:
    Q_INVOKABLE explicit TBlockToken(TCollection* collection = nullptr);

    QString RightDelimiter() const;
    void SetRightDelimiter(const QString& text);
    const QByteArray& Right() const { return m_right; }
    void SetRight(const QByteArray& bytes) { m_right = bytes; }

private:
    QByteArray m_right;
};

class TKeywordSet : public TToken {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(QString Keywords READ Keywords WRITE SetKeywords)
    Q_PROPERTY(QString After READ After WRITE SetAfter)
    Q_PROPERTY(QString NotAfter READ NotAfter WRITE SetNotAfter)
    Q_PROPERTY(QString NotBefore READ NotBefore WRITE SetNotBefore)
    Q_PROPERTY(bool BeforeWord READ BeforeWord WRITE SetBeforeWord)

public:
    Q_INVOKABLE explicit TKeywordSet(TCollection* collection = nullptr);

    const QString& Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }
    // The keywords as comma text; words may be double-quoted.
    QString Keywords() const;
    void SetKeywords(const QString& text);
    const QByteArray& KeywordBytes() const { return m_keywords; }
    void SetKeywordBytes(const QByteArray& bytes) { m_keywords = bytes; }

    // Where the words are keywords, for words that are keywords only in
    // some places ("var" before a name, not in "String var"). Each set is in
    // the compact form of CharSetText; empty means no condition. "Before"
    // and "after" look at the nearest character on the same line that is no
    // blank: After, the one in front of the word must be in the set (a line
    // start is not); NotAfter, it must not be; NotBefore, the one behind the
    // word must not be; BeforeWord, a word must follow on the line. A word
    // whose set's conditions fail is looked for in the sets after it.
    QString After() const { return m_after; }
    void SetAfter(const QString& set) { m_after = set; }
    QString NotAfter() const { return m_notAfter; }
    void SetNotAfter(const QString& set) { m_notAfter = set; }
    QString NotBefore() const { return m_notBefore; }
    void SetNotBefore(const QString& set) { m_notBefore = set; }
    bool BeforeWord() const { return m_beforeWord; }
    void SetBeforeWord(bool on) { m_beforeWord = on; }
    bool HasContext() const
    {
        return m_beforeWord || !m_after.isEmpty() || !m_notAfter.isEmpty() || !m_notBefore.isEmpty();
    }

private:
    QString m_name;
    QByteArray m_keywords;
    QString m_after;
    QString m_notAfter;
    QString m_notBefore;
    bool m_beforeWord = false;
};

// One way into a child block from its parent. The properties after
// DelimitersArePartOfBlock were added after the first stored schemes; their
// defaults give exactly the old behaviour, so a scheme that does not name
// them reads as it always did.
class TDelimiters : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(bool UseToken READ UseToken WRITE SetUseToken)
    Q_PROPERTY(QString LeftDelimiter READ LeftDelimiter WRITE SetLeftDelimiter)
    Q_PROPERTY(QString RightDelimiter READ RightDelimiter WRITE SetRightDelimiter)
    Q_PROPERTY(bool DelimitersArePartOfBlock READ DelimitersArePartOfBlock WRITE SetDelimitersArePartOfBlock)
    Q_PROPERTY(int Priority READ Priority WRITE SetPriority)
    Q_PROPERTY(TDelimiters::TOpenInTokens OpenInTokens READ OpenInTokens WRITE SetOpenInTokens)
    Q_PROPERTY(bool CloseInTokens READ CloseInTokens WRITE SetCloseInTokens)
    Q_PROPERTY(char EscapeSymbol READ EscapeSymbol WRITE SetEscapeSymbol)
    Q_PROPERTY(QString OpenInTokensOf READ OpenInTokensOf WRITE SetOpenInTokensOf)
    Q_PROPERTY(QString NotBefore READ NotBefore WRITE SetNotBefore)
    Q_PROPERTY(bool NotAtLineStart READ NotAtLineStart WRITE SetNotAtLineStart)
    Q_PROPERTY(TDelimiters::THereDocument HereDocument READ HereDocument WRITE SetHereDocument)

public:
    // Where the opening text is looked for in the parent: between its tokens
    // only (as always), there and inside its comments and strings, or inside
    // them only. A comment or string a block opened in goes on after the
    // block closes.
    enum TOpenInTokens { otNever, otAlso, otOnly };
    Q_ENUM(TOpenInTokens)
    // A way into a here-document: not at all, or when the word behind the
    // opening text is not quoted (the body expands variables), or when it is.
    enum THereDocument { hdNone, hdExpanding, hdLiteral };
    Q_ENUM(THereDocument)

    Q_INVOKABLE explicit TDelimiters(TCollection* collection = nullptr);

    bool UseToken() const { return m_useToken; }
    void SetUseToken(bool use) { m_useToken = use; }
    QString LeftDelimiter() const;
    void SetLeftDelimiter(const QString& text);
    // Empty: the block is never closed by text.
    QString RightDelimiter() const;
    void SetRightDelimiter(const QString& text);
    // True: the child block reads and colours both delimiters; false: the
    // parent does.
    bool DelimitersArePartOfBlock() const { return m_partOfBlock; }
    void SetDelimitersArePartOfBlock(bool part) { m_partOfBlock = part; }
    // The openings of a parent's children are tried in order of falling
    // priority, in table order among equals (so "<%--" can come before "<%"
    // without moving blocks).
    int Priority() const { return m_priority; }
    void SetPriority(int priority) { m_priority = priority; }
    TOpenInTokens OpenInTokens() const { return m_openInTokens; }
    void SetOpenInTokens(TOpenInTokens where) { m_openInTokens = where; }
    // True: the closing text ends the block even inside the block's own
    // comments and strings, which end there too ("%>" in a scriptlet's
    // "//" comment).
    bool CloseInTokens() const { return m_closeInTokens; }
    void SetCloseInTokens(bool close) { m_closeInTokens = close; }
    // An opening or closing text directly behind an odd run of this
    // character opens or closes nothing ("\${1}" in a JSP page is text); #0:
    // none.
    char EscapeSymbol() const { return m_escapeSymbol; }
    void SetEscapeSymbol(char c) { m_escapeSymbol = c; }
    // With OpenInTokens: only inside the parent's comments and strings whose
    // left delimiter is this text (empty: inside all of them).
    QString OpenInTokensOf() const;
    void SetOpenInTokensOf(const QString& text);
    // The opening opens nothing when the nearest character behind it on the
    // line that is no blank is in this set (CharSetText form; empty: none).
    QString NotBefore() const { return m_notBefore; }
    void SetNotBefore(const QString& set) { m_notBefore = set; }
    // The opening opens nothing while the line so far holds only blanks and
    // plain text.
    bool NotAtLineStart() const { return m_notAtLineStart; }
    void SetNotAtLineStart(bool on) { m_notAtLineStart = on; }
    // Not hdNone: the opening text starts a here-document. The parent reads
    // it together with the word behind it ("<<EOF", "<<-'EOF'"); the block
    // starts with the next line and ends after the line that holds only that
    // word (tabs before it allowed after "<<-"). RightDelimiter is not used.
    THereDocument HereDocument() const { return m_hereDocument; }
    void SetHereDocument(THereDocument mode) { m_hereDocument = mode; }

    const QByteArray& Left() const { return m_left; }
    void SetLeft(const QByteArray& bytes) { m_left = bytes; }
    const QByteArray& Right() const { return m_right; }
    void SetRight(const QByteArray& bytes) { m_right = bytes; }
    const QByteArray& InTokensOf() const { return m_inTokensOf; }

private:
    bool m_useToken = true;
    QByteArray m_left;
    QByteArray m_right;
    bool m_partOfBlock = false;
    int m_priority = 0;
    TOpenInTokens m_openInTokens = otNever;
    bool m_closeInTokens = false;
    char m_escapeSymbol = '\0';
    QByteArray m_inTokensOf;
    QString m_notBefore;
    bool m_notAtLineStart = false;
    THereDocument m_hereDocument = hdNone;
};

class TLineTokenList : public TOwnedCollection<TLineToken> {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TLineTokenList(QObject* owner = nullptr) : TOwnedCollection(owner) {}
};

class TBlockTokenList : public TOwnedCollection<TBlockToken> {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TBlockTokenList(QObject* owner = nullptr) : TOwnedCollection(owner) {}
};

class TKeywordSetList : public TOwnedCollection<TKeywordSet> {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TKeywordSetList(QObject* owner = nullptr) : TOwnedCollection(owner) {}
};

class TDelimitersList : public TOwnedCollection<TDelimiters> {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TDelimitersList(QObject* owner = nullptr) : TOwnedCollection(owner) {}
};
