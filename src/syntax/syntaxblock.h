#pragma once

#include "charset.h"
#include "collection.h"
#include "syntaxtokens.h"

#include <QByteArray>
#include <QString>

// One lexical context of a scheme: which comments, strings, numbers,
// identifiers, keywords and symbols exist inside it, and the delimiters that
// open it from its parent. Properties are declared in stream order; the token
// lists are stored only while their switch is on, the identifier character
// sets (defined properties, declared last) only when they differ from the
// defaults. The properties after KeywordSets came later; at their defaults
// a block reads and highlights exactly as it did without them.
class TSyntaxBlock : public TNamedItem {
    Q_OBJECT
    Q_PROPERTY(int ID READ ID WRITE SetID)
    Q_PROPERTY(int ParentID READ ParentID WRITE SetParentID)
    Q_PROPERTY(bool CaseSensitive READ CaseSensitive WRITE SetCaseSensitive)
    Q_PROPERTY(bool UseMetaSymbol READ UseMetaSymbol WRITE SetUseMetaSymbol)
    Q_PROPERTY(bool UseMetaToWrapLines READ UseMetaToWrapLines WRITE SetUseMetaToWrapLines)
    Q_PROPERTY(char MetaSymbol READ MetaSymbol WRITE SetMetaSymbol)
    Q_PROPERTY(int FIText READ FIText WRITE SetFIText)
    Q_PROPERTY(int FIIntNum READ FIIntNum WRITE SetFIIntNum)
    Q_PROPERTY(int FIFloatNum READ FIFloatNum WRITE SetFIFloatNum)
    Q_PROPERTY(int FIHexNum READ FIHexNum WRITE SetFIHexNum)
    Q_PROPERTY(int FIDirective READ FIDirective WRITE SetFIDirective)
    Q_PROPERTY(int FISymbol READ FISymbol WRITE SetFISymbol)
    Q_PROPERTY(int FIIdentifier READ FIIdentifier WRITE SetFIIdentifier)
    Q_PROPERTY(bool UseSymbols READ UseSymbols WRITE SetUseSymbols)
    Q_PROPERTY(bool UseLineDirectives READ UseLineDirectives WRITE SetUseLineDirectives)
    Q_PROPERTY(bool UseComments READ UseComments WRITE SetUseComments)
    Q_PROPERTY(bool UseSingleLineComments READ UseSingleLineComments WRITE SetUseSingleLineComments)
    Q_PROPERTY(bool UseMultiLineComments READ UseMultiLineComments WRITE SetUseMultiLineComments)
    Q_PROPERTY(bool UseFullLineComments READ UseFullLineComments WRITE SetUseFullLineComments)
    Q_PROPERTY(bool UseStrings READ UseStrings WRITE SetUseStrings)
    Q_PROPERTY(bool UseSingleLineStrings READ UseSingleLineStrings WRITE SetUseSingleLineStrings)
    Q_PROPERTY(bool UseMultiLineStrings READ UseMultiLineStrings WRITE SetUseMultiLineStrings)
    Q_PROPERTY(bool UseNumbers READ UseNumbers WRITE SetUseNumbers)
    Q_PROPERTY(bool UsePrefixedNumbers READ UsePrefixedNumbers WRITE SetUsePrefixedNumbers)
    Q_PROPERTY(bool UseSuffixedNumbers READ UseSuffixedNumbers WRITE SetUseSuffixedNumbers)
    Q_PROPERTY(bool UseMultipleNumSuffixes READ UseMultipleNumSuffixes WRITE SetUseMultipleNumSuffixes)
    Q_PROPERTY(bool UsePrefixedSuffixedNumbers READ UsePrefixedSuffixedNumbers WRITE SetUsePrefixedSuffixedNumbers)
    Q_PROPERTY(bool UsePSNumComposition READ UsePSNumComposition WRITE SetUsePSNumComposition)
    Q_PROPERTY(bool UseIdentifiers READ UseIdentifiers WRITE SetUseIdentifiers)
    Q_PROPERTY(bool UsePrefixedIdentifiers READ UsePrefixedIdentifiers WRITE SetUsePrefixedIdentifiers)
    Q_PROPERTY(bool UseSuffixedIdentifiers READ UseSuffixedIdentifiers WRITE SetUseSuffixedIdentifiers)
    Q_PROPERTY(bool UsePrefixedSuffixedIdentifiers READ UsePrefixedSuffixedIdentifiers WRITE SetUsePrefixedSuffixedIdentifiers)
    Q_PROPERTY(bool UseKeywords READ UseKeywords WRITE SetUseKeywords)
    Q_PROPERTY(TDelimitersList* BlockDelimiters READ BlockDelimiters WRITE SetBlockDelimiters USER true)
    Q_PROPERTY(QString LineDirectivePrefix READ LineDirectivePrefix WRITE SetLineDirectivePrefix)
    Q_PROPERTY(TLineTokenList* SingleLineCommentDelimiters READ SingleLineCommentDelimiters WRITE SetSingleLineCommentDelimiters)
    Q_PROPERTY(TBlockTokenList* MultiLineCommentDelimiters READ MultiLineCommentDelimiters WRITE SetMultiLineCommentDelimiters)
    Q_PROPERTY(TLineTokenList* FullLineCommentDelimiters READ FullLineCommentDelimiters WRITE SetFullLineCommentDelimiters)
    Q_PROPERTY(TBlockTokenList* SingleLineStringDelimiters READ SingleLineStringDelimiters WRITE SetSingleLineStringDelimiters)
    Q_PROPERTY(TBlockTokenList* MultiLineStringDelimiters READ MultiLineStringDelimiters WRITE SetMultiLineStringDelimiters)
    Q_PROPERTY(TLineTokenList* NumPrefixes READ NumPrefixes WRITE SetNumPrefixes)
    Q_PROPERTY(TLineTokenList* NumSuffixes READ NumSuffixes WRITE SetNumSuffixes)
    Q_PROPERTY(TBlockTokenList* NumPrefixesSuffixes READ NumPrefixesSuffixes WRITE SetNumPrefixesSuffixes)
    Q_PROPERTY(TLineTokenList* IdentPrefixes READ IdentPrefixes WRITE SetIdentPrefixes)
    Q_PROPERTY(TLineTokenList* IdentSuffixes READ IdentSuffixes WRITE SetIdentSuffixes)
    Q_PROPERTY(TBlockTokenList* IdentPrefixesSuffixes READ IdentPrefixesSuffixes WRITE SetIdentPrefixesSuffixes)
    Q_PROPERTY(TKeywordSetList* KeywordSets READ KeywordSets WRITE SetKeywordSets)
    Q_PROPERTY(QString MoreParentIDs READ MoreParentIDs WRITE SetMoreParentIDs)
    Q_PROPERTY(bool UseAffixFonts READ UseAffixFonts WRITE SetUseAffixFonts)
    Q_PROPERTY(char DigitSeparator READ DigitSeparator WRITE SetDigitSeparator)
    Q_PROPERTY(bool UseLeadingDotNumbers READ UseLeadingDotNumbers WRITE SetUseLeadingDotNumbers)
    Q_PROPERTY(bool UseHexFloats READ UseHexFloats WRITE SetUseHexFloats)
    Q_PROPERTY(bool FoldBraces READ FoldBraces WRITE SetFoldBraces)
    Q_PROPERTY(bool FoldComments READ FoldComments WRITE SetFoldComments)
    Q_PROPERTY(bool FoldBlock READ FoldBlock WRITE SetFoldBlock)
    Q_PROPERTY(bool FoldTags READ FoldTags WRITE SetFoldTags)
    Q_PROPERTY(QString FoldRunWord READ FoldRunWord WRITE SetFoldRunWord)
    Q_PROPERTY(bool EndsWithLine READ EndsWithLine WRITE SetEndsWithLine)
    Q_PROPERTY(char RegexDelimiter READ RegexDelimiter WRITE SetRegexDelimiter)
    Q_PROPERTY(QString RegexAfterWords READ RegexAfterWords WRITE SetRegexAfterWords)
    Q_PROPERTY(int KeyFontID READ KeyFontID WRITE SetKeyFontID)
    Q_PROPERTY(QString KeySuffix READ KeySuffix WRITE SetKeySuffix)
    Q_PROPERTY(char EscapeSymbol READ EscapeSymbol WRITE SetEscapeSymbol)
    Q_PROPERTY(QString FirstIdentChars READ FirstIdentChars WRITE SetFirstIdentChars DESIGNABLE false)
    Q_PROPERTY(QString OtherIdentChars READ OtherIdentChars WRITE SetOtherIdentChars DESIGNABLE false)

public:
    // The FontID slots of a block, in declaration order.
    enum TFontSlot { fsText, fsIntNum, fsFloatNum, fsHexNum, fsDirective, fsSymbol, fsIdentifier, kFontSlotCount };

    Q_INVOKABLE explicit TSyntaxBlock(TCollection* collection = nullptr);

    // Properties stored only while their switch is on.
    Q_INVOKABLE bool IsUseMetaToWrapLinesStored() const { return UseMetaSymbol(); }
    Q_INVOKABLE bool IsMetaSymbolStored() const { return UseMetaSymbol(); }
    Q_INVOKABLE bool IsUseMultipleNumSuffixesStored() const { return UseSuffixedNumbers(); }
    Q_INVOKABLE bool IsUsePSNumCompositionStored() const { return UsePrefixedSuffixedNumbers(); }
    Q_INVOKABLE bool IsLineDirectivePrefixStored() const { return UseLineDirectives(); }
    Q_INVOKABLE bool IsSingleLineCommentDelimitersStored() const { return UseSingleLineComments(); }
    Q_INVOKABLE bool IsMultiLineCommentDelimitersStored() const { return UseMultiLineComments(); }
    Q_INVOKABLE bool IsFullLineCommentDelimitersStored() const { return UseFullLineComments(); }
    Q_INVOKABLE bool IsSingleLineStringDelimitersStored() const { return UseSingleLineStrings(); }
    Q_INVOKABLE bool IsMultiLineStringDelimitersStored() const { return UseMultiLineStrings(); }
    Q_INVOKABLE bool IsNumPrefixesStored() const { return UsePrefixedNumbers(); }
    Q_INVOKABLE bool IsNumSuffixesStored() const { return UseSuffixedNumbers(); }
    Q_INVOKABLE bool IsNumPrefixesSuffixesStored() const { return UsePrefixedSuffixedNumbers(); }
    Q_INVOKABLE bool IsIdentPrefixesStored() const { return UsePrefixedIdentifiers(); }
    Q_INVOKABLE bool IsIdentSuffixesStored() const { return UseSuffixedIdentifiers(); }
    Q_INVOKABLE bool IsIdentPrefixesSuffixesStored() const { return UsePrefixedSuffixedIdentifiers(); }
    Q_INVOKABLE bool IsKeywordSetsStored() const { return UseKeywords(); }

    static TCharSet DefaultFirstIdentChars();
    static TCharSet DefaultOtherIdentChars();

    int ID() const { return m_id; }
    void SetID(int id) { m_id = id; }
    int ParentID() const { return m_parentId; }
    void SetParentID(int id) { m_parentId = id; }
    bool CaseSensitive() const { return m_caseSensitive; }
    void SetCaseSensitive(bool on) { m_caseSensitive = on; }
    bool UseMetaSymbol() const { return m_useMetaSymbol; }
    void SetUseMetaSymbol(bool on) { m_useMetaSymbol = on; }
    bool UseMetaToWrapLines() const { return m_useMetaToWrapLines; }
    void SetUseMetaToWrapLines(bool on) { m_useMetaToWrapLines = on; }
    char MetaSymbol() const { return m_metaSymbol; }
    void SetMetaSymbol(char c) { m_metaSymbol = c; }

    int FontSlot(TFontSlot slot) const { return m_fontIds[slot]; }
    void SetFontSlot(TFontSlot slot, int id) { m_fontIds[slot] = id; }
    int FIText() const { return m_fontIds[fsText]; }
    void SetFIText(int id) { m_fontIds[fsText] = id; }
    int FIIntNum() const { return m_fontIds[fsIntNum]; }
    void SetFIIntNum(int id) { m_fontIds[fsIntNum] = id; }
    int FIFloatNum() const { return m_fontIds[fsFloatNum]; }
    void SetFIFloatNum(int id) { m_fontIds[fsFloatNum] = id; }
    int FIHexNum() const { return m_fontIds[fsHexNum]; }
    void SetFIHexNum(int id) { m_fontIds[fsHexNum] = id; }
    int FIDirective() const { return m_fontIds[fsDirective]; }
    void SetFIDirective(int id) { m_fontIds[fsDirective] = id; }
    int FISymbol() const { return m_fontIds[fsSymbol]; }
    void SetFISymbol(int id) { m_fontIds[fsSymbol] = id; }
    int FIIdentifier() const { return m_fontIds[fsIdentifier]; }
    void SetFIIdentifier(int id) { m_fontIds[fsIdentifier] = id; }

    bool UseSymbols() const { return m_useSymbols; }
    void SetUseSymbols(bool on) { m_useSymbols = on; }
    bool UseLineDirectives() const { return m_useLineDirectives; }
    void SetUseLineDirectives(bool on) { m_useLineDirectives = on; }
    bool UseComments() const { return m_useComments; }
    void SetUseComments(bool on) { m_useComments = on; }
    bool UseSingleLineComments() const { return m_useSingleLineComments; }
    void SetUseSingleLineComments(bool on) { m_useSingleLineComments = on; }
    bool UseMultiLineComments() const { return m_useMultiLineComments; }
    void SetUseMultiLineComments(bool on) { m_useMultiLineComments = on; }
    bool UseFullLineComments() const { return m_useFullLineComments; }
    void SetUseFullLineComments(bool on) { m_useFullLineComments = on; }
    bool UseStrings() const { return m_useStrings; }
    void SetUseStrings(bool on) { m_useStrings = on; }
    bool UseSingleLineStrings() const { return m_useSingleLineStrings; }
    void SetUseSingleLineStrings(bool on) { m_useSingleLineStrings = on; }
    bool UseMultiLineStrings() const { return m_useMultiLineStrings; }
    void SetUseMultiLineStrings(bool on) { m_useMultiLineStrings = on; }
    bool UseNumbers() const { return m_useNumbers; }
    void SetUseNumbers(bool on) { m_useNumbers = on; }
    bool UsePrefixedNumbers() const { return m_usePrefixedNumbers; }
    void SetUsePrefixedNumbers(bool on) { m_usePrefixedNumbers = on; }
    bool UseSuffixedNumbers() const { return m_useSuffixedNumbers; }
    void SetUseSuffixedNumbers(bool on) { m_useSuffixedNumbers = on; }
    bool UseMultipleNumSuffixes() const { return m_useMultipleNumSuffixes; }
    void SetUseMultipleNumSuffixes(bool on) { m_useMultipleNumSuffixes = on; }
    bool UsePrefixedSuffixedNumbers() const { return m_usePrefixedSuffixedNumbers; }
    void SetUsePrefixedSuffixedNumbers(bool on) { m_usePrefixedSuffixedNumbers = on; }
    bool UsePSNumComposition() const { return m_usePSNumComposition; }
    void SetUsePSNumComposition(bool on) { m_usePSNumComposition = on; }
    bool UseIdentifiers() const { return m_useIdentifiers; }
    void SetUseIdentifiers(bool on) { m_useIdentifiers = on; }
    bool UsePrefixedIdentifiers() const { return m_usePrefixedIdentifiers; }
    void SetUsePrefixedIdentifiers(bool on) { m_usePrefixedIdentifiers = on; }
    bool UseSuffixedIdentifiers() const { return m_useSuffixedIdentifiers; }
    void SetUseSuffixedIdentifiers(bool on) { m_useSuffixedIdentifiers = on; }
    bool UsePrefixedSuffixedIdentifiers() const { return m_usePrefixedSuffixedIdentifiers; }
    void SetUsePrefixedSuffixedIdentifiers(bool on) { m_usePrefixedSuffixedIdentifiers = on; }
    bool UseKeywords() const { return m_useKeywords; }
    void SetUseKeywords(bool on) { m_useKeywords = on; }

    // The lists belong to the block; setting one copies the items.
    TDelimitersList* BlockDelimiters() const { return m_blockDelimiters; }
    void SetBlockDelimiters(TDelimitersList* list) { CopyList(m_blockDelimiters, list); }
    QString LineDirectivePrefix() const;
    void SetLineDirectivePrefix(const QString& prefix);
    const QByteArray& DirectivePrefixBytes() const { return m_lineDirectivePrefix; }
    TLineTokenList* SingleLineCommentDelimiters() const { return m_singleLineComments; }
    void SetSingleLineCommentDelimiters(TLineTokenList* list) { CopyList(m_singleLineComments, list); }
    TBlockTokenList* MultiLineCommentDelimiters() const { return m_multiLineComments; }
    void SetMultiLineCommentDelimiters(TBlockTokenList* list) { CopyList(m_multiLineComments, list); }
    TLineTokenList* FullLineCommentDelimiters() const { return m_fullLineComments; }
    void SetFullLineCommentDelimiters(TLineTokenList* list) { CopyList(m_fullLineComments, list); }
    TBlockTokenList* SingleLineStringDelimiters() const { return m_singleLineStrings; }
    void SetSingleLineStringDelimiters(TBlockTokenList* list) { CopyList(m_singleLineStrings, list); }
    TBlockTokenList* MultiLineStringDelimiters() const { return m_multiLineStrings; }
    void SetMultiLineStringDelimiters(TBlockTokenList* list) { CopyList(m_multiLineStrings, list); }
    TLineTokenList* NumPrefixes() const { return m_numPrefixes; }
    void SetNumPrefixes(TLineTokenList* list) { CopyList(m_numPrefixes, list); }
    TLineTokenList* NumSuffixes() const { return m_numSuffixes; }
    void SetNumSuffixes(TLineTokenList* list) { CopyList(m_numSuffixes, list); }
    TBlockTokenList* NumPrefixesSuffixes() const { return m_numPrefixesSuffixes; }
    void SetNumPrefixesSuffixes(TBlockTokenList* list) { CopyList(m_numPrefixesSuffixes, list); }
    TLineTokenList* IdentPrefixes() const { return m_identPrefixes; }
    void SetIdentPrefixes(TLineTokenList* list) { CopyList(m_identPrefixes, list); }
    TLineTokenList* IdentSuffixes() const { return m_identSuffixes; }
    void SetIdentSuffixes(TLineTokenList* list) { CopyList(m_identSuffixes, list); }
    TBlockTokenList* IdentPrefixesSuffixes() const { return m_identPrefixesSuffixes; }
    void SetIdentPrefixesSuffixes(TBlockTokenList* list) { CopyList(m_identPrefixesSuffixes, list); }
    TKeywordSetList* KeywordSets() const { return m_keywordSets; }
    void SetKeywordSets(TKeywordSetList* list) { CopyList(m_keywordSets, list); }

    // Further blocks (by ID, as comma text) in which this block opens, as in
    // the block named by ParentID: one block of, say, expression language
    // serves text, tags and scripts alike. Fonts are still inherited through
    // ParentID alone.
    QString MoreParentIDs() const { return m_moreParentIds; }
    void SetMoreParentIDs(const QString& ids) { m_moreParentIds = ids; }
    // The IDs of MoreParentIDs; items that are not numbers are skipped.
    QList<int> MoreParentIDList() const;
    // Every block this one opens in: ParentID, then MoreParentIDs.
    bool OpensIn(int parentId) const;
    // True: an identifier read with an item of IdentPrefixes, IdentSuffixes
    // or IdentPrefixesSuffixes, and a number read with an item of
    // NumPrefixesSuffixes, is painted with that item's FontID (the suffix's
    // before the prefix's) when it has one and the word is no keyword.
    bool UseAffixFonts() const { return m_useAffixFonts; }
    void SetUseAffixFonts(bool on) { m_useAffixFonts = on; }
    // A character allowed between the digits of a number ('_' in 1_000);
    // #0 for none.
    char DigitSeparator() const { return m_digitSeparator; }
    void SetDigitSeparator(char c) { m_digitSeparator = c; }
    // A number may start with its decimal point (.75).
    bool UseLeadingDotNumbers() const { return m_useLeadingDotNumbers; }
    void SetUseLeadingDotNumbers(bool on) { m_useLeadingDotNumbers = on; }
    // A prefixed number may go on with a hexadecimal fraction and a binary
    // exponent (0x1.8p-3), and is then a float.
    bool UseHexFloats() const { return m_useHexFloats; }
    void SetUseHexFloats(bool on) { m_useHexFloats = on; }
    // The block closes at the end of its line (a value of a properties
    // file), unless the line ends in an odd run of MetaSymbol and
    // UseMetaToWrapLines is on.
    bool EndsWithLine() const { return m_endsWithLine; }
    void SetEndsWithLine(bool on) { m_endsWithLine = on; }
    // The single-line string whose left delimiter is this character is a
    // regular expression literal: it starts only where an operand can, not
    // behind a word (other than those of RegexAfterWords), a number, a
    // string or a closing bracket on the same line; it must end on its line;
    // its delimiter inside [...] does not end it; the letters behind its end
    // (its flags) belong to it. #0: none.
    char RegexDelimiter() const { return m_regexDelimiter; }
    void SetRegexDelimiter(char c) { m_regexDelimiter = c; }
    // Words behind which an operand follows ("return", "typeof"), as comma
    // text.
    QString RegexAfterWords() const { return m_regexAfterWords; }
    void SetRegexAfterWords(const QString& words) { m_regexAfterWords = words; }
    // A string of the first item of SingleLineStringDelimiters that ends
    // on its line and that KeySuffix follows there, blanks between allowed,
    // is a key and painted with KeyFontID ("name" in "name": 1). -1 or an
    // empty suffix: no keys.
    int KeyFontID() const { return m_keyFontId; }
    void SetKeyFontID(int id) { m_keyFontId = id; }
    QString KeySuffix() const { return m_keySuffix; }
    void SetKeySuffix(const QString& suffix) { m_keySuffix = suffix; }
    // No comment or string starts right behind an odd run of this character
    // (\' and \# in a shell script); #0: none.
    char EscapeSymbol() const { return m_escapeSymbol; }
    void SetEscapeSymbol(char c) { m_escapeSymbol = c; }

    // Folding. A "{" read as a symbol in this block that stays open at its
    // line's end makes the line a fold point, up to its "}".
    bool FoldBraces() const { return m_foldBraces; }
    void SetFoldBraces(bool on) { m_foldBraces = on; }
    // A multi-line comment of this block over several lines folds.
    bool FoldComments() const { return m_foldComments; }
    void SetFoldComments(bool on) { m_foldComments = on; }
    // The block itself folds when it spans lines (a scriptlet, a script
    // element).
    bool FoldBlock() const { return m_foldBlock; }
    void SetFoldBlock(bool on) { m_foldBlock = on; }
    // The block is a tag: the name just behind its opening text names an
    // element, which it opens (or closes, when the opening text ends with
    // "/"); elements over several lines fold.
    bool FoldTags() const { return m_foldTags; }
    void SetFoldTags(bool on) { m_foldTags = on; }
    // Lines of this block that start with this word ("import") fold as one
    // run; empty for none.
    QString FoldRunWord() const { return m_foldRunWord; }
    void SetFoldRunWord(const QString& word) { m_foldRunWord = word; }

    // The identifier characters: a first character, then any run of others.
    const TCharSet& FirstIdentSet() const { return m_firstIdentChars; }
    void SetFirstIdentSet(const TCharSet& set) { m_firstIdentChars = set; }
    const TCharSet& OtherIdentSet() const { return m_otherIdentChars; }
    void SetOtherIdentSet(const TCharSet& set) { m_otherIdentChars = set; }
    // Their compact text form (see CharSetText).
    QString FirstIdentChars() const;
    void SetFirstIdentChars(const QString& text);
    QString OtherIdentChars() const;
    void SetOtherIdentChars(const QString& text);

    // The FontIDs of the items of the twelve token lists, in list order
    // (BlockDelimiters carry none).
    QList<int> TokenFontIDs() const;

    void Assign(const TCollectionItem& source) override;

private:
    template <class List>
    static void CopyList(List* target, const List* source)
    {
        if (source && source != target)
            target->Assign(*source);
    }

    int m_id = -1;
    int m_parentId = -1;
    bool m_caseSensitive = false;
    bool m_useMetaSymbol = false;
    bool m_useMetaToWrapLines = true;
    char m_metaSymbol = '\0';
    int m_fontIds[kFontSlotCount] = {-1, -1, -1, -1, -1, -1, -1};

    bool m_useSymbols = false;
    bool m_useLineDirectives = false;
    bool m_useComments = false;
    bool m_useSingleLineComments = false;
    bool m_useMultiLineComments = false;
    bool m_useFullLineComments = false;
    bool m_useStrings = false;
    bool m_useSingleLineStrings = false;
    bool m_useMultiLineStrings = false;
    bool m_useNumbers = false;
    bool m_usePrefixedNumbers = false;
    bool m_useSuffixedNumbers = false;
    bool m_useMultipleNumSuffixes = false;
    bool m_usePrefixedSuffixedNumbers = false;
    bool m_usePSNumComposition = false;
    bool m_useIdentifiers = false;
    bool m_usePrefixedIdentifiers = false;
    bool m_useSuffixedIdentifiers = false;
    bool m_usePrefixedSuffixedIdentifiers = false;
    bool m_useKeywords = false;

    TDelimitersList* m_blockDelimiters;
    QByteArray m_lineDirectivePrefix;
    TLineTokenList* m_singleLineComments;
    TBlockTokenList* m_multiLineComments;
    TLineTokenList* m_fullLineComments;
    TBlockTokenList* m_singleLineStrings;
    TBlockTokenList* m_multiLineStrings;
    TLineTokenList* m_numPrefixes;
    TLineTokenList* m_numSuffixes;
    TBlockTokenList* m_numPrefixesSuffixes;
    TLineTokenList* m_identPrefixes;
    TLineTokenList* m_identSuffixes;
    TBlockTokenList* m_identPrefixesSuffixes;
    TKeywordSetList* m_keywordSets;
    QString m_moreParentIds;
    bool m_useAffixFonts = false;
    char m_digitSeparator = '\0';
    bool m_useLeadingDotNumbers = false;
    bool m_useHexFloats = false;
    bool m_foldBraces = false;
    bool m_foldComments = false;
    bool m_foldBlock = false;
    bool m_foldTags = false;
    QString m_foldRunWord;
    bool m_endsWithLine = false;
    char m_regexDelimiter = '\0';
    QString m_regexAfterWords;
    int m_keyFontId = -1;
    QString m_keySuffix;
    char m_escapeSymbol = '\0';

    TCharSet m_firstIdentChars;
    TCharSet m_otherIdentChars;
};

class TSyntaxBlockList : public TOwnedCollection<TSyntaxBlock> {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TSyntaxBlockList(QObject* owner = nullptr) : TOwnedCollection(owner) {}

    // The first block with the given ID, or null.
    TSyntaxBlock* FindID(int id) const;
    int IndexOfID(int id) const;
};
