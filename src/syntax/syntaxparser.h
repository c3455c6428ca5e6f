#pragma once

#include "attritem.h"
#include "compiledblock.h"
#include "simpleparser.h"
#include "syntaxscheme.h"

#include <QByteArray>

#include <functional>
#include <string>
#include <vector>

// The data-driven line parser: cuts each line into tokens by the rules of
// its syntax scheme and writes one attribute byte per character, carrying
// open blocks, comments, strings and directives to the next line in the
// 32-bit line state (see linestate.h). The fonts and colours of the
// attributes come from the scheme's font table, resolved against the default
// attribute and, with UseGlobalOptions, the global text styles.
//
// Every parser is in a process-wide list; when the global editor options
// change, each one with UseGlobalOptions resolves its fonts again and makes
// the text stores that use it re-highlight.
class TSyntaxParser : public TSimpleParser {
    Q_OBJECT
    Q_PROPERTY(TSyntaxScheme* SyntaxScheme READ SyntaxScheme WRITE SetSyntaxScheme)
    Q_PROPERTY(TDefAttrItem* DefaultAttr READ DefaultAttr WRITE SetDefaultAttr)
    Q_PROPERTY(bool UseGlobalOptions READ UseGlobalOptions WRITE SetUseGlobalOptions)

public:
    // Sender, TokenID (TTokenKind), the token's text (a construct that spans
    // tokens or lines is reported once, when it closes, with all its text).
    using TGetTokenEvent = std::function<void(QObject* sender, int tokenId, const QByteArray& tokenStr)>;

    Q_INVOKABLE explicit TSyntaxParser(TComponent* owner = nullptr);
    ~TSyntaxParser() override;

    TSyntaxScheme* SyntaxScheme() const { return m_scheme; }
    // Replaces the scheme by a copy of scheme (the old content is cleared
    // first, nothing is merged) and rebuilds.
    void SetSyntaxScheme(TSyntaxScheme* scheme);
    TDefAttrItem* DefaultAttr() const { return m_defaultAttr; }
    void SetDefaultAttr(TDefAttrItem* attr);
    bool UseGlobalOptions() const { return m_scheme->UseGlobalOptions(); }
    void SetUseGlobalOptions(bool use);

    TGetTokenEvent OnGetToken;

    // Compile, then start from the root with nothing open.
    virtual void RebuildScheme();
    // Unless locked or loading: ResolveFonts, then every text store using the
    // parser re-highlights from its first line.
    virtual void UpdateFonts();
    void LockUpdate() { ++m_updateLock; }
    void UnlockUpdate();
    bool IsUpdateLocked() const { return m_updateLock > 0; }

    const TFont* GetAttrFont(int attr) const override;
    bool GetAttrBackColor(int attr, TColor& color) const override;
    quint32 ParseLine(std::string_view text, quint32 state, uchar* attrs) override;
    // Without a token listener the scanner runs without writing attributes
    // or looking words up among the keywords (a keyword and an identifier
    // leave the same state behind).
    quint32 ParseLineState(int line, std::string_view text, quint32 state, std::vector<uchar>& scratch) override;
    // Not while tokens are reported: a resumed pass would report only part
    // of a line.
    bool Resumable() const override;
    int ResumeReach() const override;
    quint32 ParseFrom(std::string_view text, const TResumePoint& from, TResumablePass& pass) override;
    bool ReportsStructure() const override { return true; }
    // ParseLine writes every attribute of a line, so the attributes need no
    // clearing first unless the parser cannot parse now.
    void InitLineAttributes(int line, std::string_view text, uchar* attrs) override;
    // A copy runs a copy of the scheme, whose block paths (the nesting part
    // of a state) are numbered as it meets them; its states are taken over
    // by finding or making the same paths here.
    std::unique_ptr<TSimpleParser> CreateWorkerCopy() const override;
    bool TakeWorkerStates(const TSimpleParser& copy, quint32* states, size_t count) override;

    // Every parser alive.
    static const std::vector<TSyntaxParser*>& Instances();
    // The global editor options changed: parsers that follow them update.
    static void GlobalOptionsChanged();

protected:
    void Loaded() override;

private:
    friend class TLineScanner;
    // The state after an empty line that starts in state.
    quint32 EmptyLineState(quint32 state);
    const TAttrItem& AttrFor(int attr) const;

    TSyntaxScheme* m_scheme;
    TDefAttrItem* m_defaultAttr;
    int m_updateLock = 0;
    // The text of a construct that is still open, for OnGetToken.
    std::string m_collected;
    // The word being looked up among the keywords, kept to reuse its memory.
    std::string m_word;
};
