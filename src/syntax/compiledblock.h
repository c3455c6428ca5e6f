#pragma once

#include "charset.h"

#include <QtGlobal>

#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TSyntaxBlock;
class TSyntaxBlockList;

// What the parser reports a token as (the TokenID of OnGetToken).
enum TTokenKind : int {
    tkText = 0,
    tkSingleLineComment = 1,
    tkMultiLineComment = 2,
    tkDirective = 3,
    tkFullLineComment = 4,
    tkSingleLineString = 5,
    tkMultiLineString = 6,
    tkInteger = 7,
    tkFloat = 8,
    tkHexNumber = 9,
    tkIdentifier = 10,
    tkKeyword = 11,
    tkSymbol = 12,
    kTokenKindCount = 13,
};

// The punctuation characters: '!'..'/', ':'..'@', '['..'^', '`', '{'..#127.
constexpr TCharSet SymbolChars()
{
    TCharSet set = TCharSet::Range('!', '/');
    set.AddRange(':', '@');
    set.AddRange('[', '^');
    set.Add('`');
    set.AddRange('{', 127);
    return set;
}
inline constexpr TCharSet kSymbolChars = SymbolChars();

// One enabled token of a list, as the parser reads it.
struct TCompiledToken {
    std::string left;
    std::string right;
    uchar attr = 0; // the attribute its text is painted with
    int index = 0;  // position in the full list
    bool hasFont = false; // its FontID is not -1 (see UseAffixFonts)
    // A multi-line comment: what it shows when folded ("/*...*/"), an id of
    // TStructureNames.
    quint32 foldLabel = 0;
    bool regex = false; // a regular expression literal (RegexDelimiter)
};

// The enabled tokens of one list in list order (at most 256, the most the
// line state can point at), with the first characters their left texts can
// start with, so that most positions are refused in one test.
struct TTokenTable {
    std::vector<TCompiledToken> items;
    TCharSet firstChars;

    bool IsEmpty() const { return items.empty(); }
};

// The keywords of one enabled keyword set, by first character: every bucket
// reads ",k1,k2,...," (or is empty), so a word w is a keyword when ",w,"
// occurs in the bucket of its first character.
struct TKeywordTable {
    uchar attr = 0;
    std::array<std::string, 256> buckets;
    // Per bucket, the lengths a word must have to be found in it (bit n for
    // length n, bit 63 for 63 and more), so that most words are refused
    // without a search. A bucket holding a keyword with a comma, in which a
    // shorter word can be found, admits every length.
    std::array<std::uint64_t, 256> lengths{};
    // Per bucket, where each keyword stands in it (offset, length).
    std::array<std::vector<std::pair<quint32, quint32>>, 256> words;
    // Where the words are keywords (TKeywordSet::After and the others).
    bool hasContext = false;
    TCharSet after;
    TCharSet notAfter;
    TCharSet notBefore;
    bool beforeWord = false;
};

// How many openings of a block a path remembers the entered path for.
inline constexpr int kQuickSlots = 16;

// For a table of up to 16 openings: bit i of byOuter[c] is set when the
// text of entry i starts (or, for openings the parent has read, ends) with
// c, of byInner[c] when it goes on (or ends) with c after that first (last)
// character or has no second character. An entry outside either set cannot
// match, so most entries are passed over without comparing their text.
// Larger tables, and tables of one entry, have no masks.
struct TOpeningIndex {
    static constexpr size_t kMaxEntries = 16;
    std::unique_ptr<std::array<quint16, 256>> byOuter;
    std::unique_ptr<std::array<quint16, 256>> byInner;

    // Entries of the table that may match with outer and inner characters;
    // not asked for a table of more than kMaxEntries.
    std::uint64_t Candidates(uchar outer, uchar inner, size_t count) const
    {
        if (!byOuter)
            return count == 0 ? 0 : 1;
        return (*byOuter)[outer] & (*byInner)[inner];
    }
};

// What an opening asks of the text around it, when it asks anything
// (TDelimiters::EscapeSymbol, OpenInTokensOf, NotBefore, NotAtLineStart), and
// whether a here-document opening takes a quoted word. Kept apart so that
// the tables of openings the scanner walks stay small.
struct TOpeningRules {
    uchar escape = 0;
    std::string inTokensOf;
    bool hasNotBefore = false;
    TCharSet notBefore;
    bool notAtLineStart = false;
    bool literal = false;
};

// A delimiter of a child block that can open here.
struct TOpening {
    std::string text;
    int childBlock = 0; // index in the scheme's blocks
    int delimiter = 0;  // index in the child's BlockDelimiters
    bool caseSensitive = false;
    bool partOfBlock = false;
    int priority = 0;
    // Where the path entered through this opening is remembered in the
    // parent's path (see TBlockInfo::quick); -1 when it is not.
    int quickSlot = -1;
    // What the child shows when folded ("<%...%>"), when it folds.
    quint32 foldLabel = 0;
    // Null when the opening asks nothing more (owned by the parent's block).
    const TOpeningRules* rules = nullptr;
};

// Calls try_(opening) for the entries of table that may match with outer
// and inner characters, in table order, until one returns true.
template <class F>
inline bool ForCandidates(const std::vector<TOpening>& table, const TOpeningIndex& index, uchar outer, uchar inner,
                          F&& try_)
{
    if (table.size() > TOpeningIndex::kMaxEntries) {
        for (const TOpening& opening : table) {
            if (try_(opening))
                return true;
        }
        return false;
    }
    for (std::uint64_t candidates = index.Candidates(outer, inner, table.size()); candidates;
         candidates &= candidates - 1) {
        if (try_(table[size_t(std::countr_zero(candidates))]))
            return true;
    }
    return false;
}

// How a block that was opened by one of its BlockDelimiters ends.
struct TClosing {
    std::string right; // empty: never closed by text
    bool partOfBlock = false;
    bool inTokens = false; // also inside the block's comments and strings
    // The opening text ends with "/": a tag block opened so closes an
    // element.
    bool endTag = false;
    uchar escape = 0;      // TDelimiters::EscapeSymbol
};

// What can start at a character, per block (TCompiledBlock::starts): one
// table look-up instead of a test per kind of token.
enum TStartFlag : quint16 {
    sfBlank = 1,      // 1..32 and NUL: a run of blanks
    sfFree = 2,       // a free symbol of the scheme: a run of them
    sfAny = 4,        // anything below may start here
    sfComment = 8,    // a comment (comments in use)
    sfString = 16,    // a string (strings in use)
    sfNumber = 32,    // a number (or, without numbers, a run of digits)
    sfDirective = 64, // the line directive prefix (directives in use)
    sfIdent = 128,    // an identifier, or a prefix of one
    // A symbol no rule of this block, of its closing or of its children's
    // openings uses. Runs of these are runs of symbols of one attribute at
    // whose inner positions nothing can open or close, exactly as a run of
    // the scheme's free symbols and the one-character symbols after it
    // would be; the scanner reads them in one step when nobody asks for the
    // tokens one by one (OnGetToken).
    sfFreeHere = 256,
    sfHereDocument = 512, // the opening text of a here-document
    sfEscapable = 1024,   // a comment or string the block's EscapeSymbol can stop
};

// The run-time tables of one block, built by the scheme's Compile and read by
// the line parser. Every FontID is already turned into the attribute byte the
// parser writes.
struct TCompiledBlock {
    bool caseSensitive = false;
    bool useMetaSymbol = false;
    bool metaWrapsLines = false; // UseMetaSymbol and UseMetaToWrapLines
    uchar metaSymbol = 0;

    bool useComments = false;
    bool useStrings = false;
    bool useNumbers = false;
    bool usePrefixedNumbers = false;
    bool useSuffixedNumbers = false;
    bool useMultipleNumSuffixes = false;
    bool usePrefixedSuffixedNumbers = false;
    bool usePSNumComposition = false;
    bool useLineDirectives = false;
    bool usePrefixedIdentifiers = false;
    bool useSuffixedIdentifiers = false;
    bool usePrefixedSuffixedIdentifiers = false;
    // Where an identifier may begin with an item of IdentPrefixesSuffixes or
    // IdentPrefixes: their first characters (every character when an item
    // of the first has no prefix).
    TCharSet identAffixStart;
    bool useKeywords = false;
    bool useAffixFonts = false;
    bool useLeadingDotNumbers = false;
    bool useHexFloats = false;
    bool hasDigitSeparator = false;
    uchar digitSeparator = 0;
    // EndsWithLine; the block is a here-document (opened through one); the
    // ways into here-documents that open in this block.
    bool endsWithLine = false;
    bool hereDocument = false;
    std::vector<TOpening> hereOpenings;
    std::vector<std::unique_ptr<TOpeningRules>> openingRules; // the rules the openings point to
    // RegexAfterWords; KeyFontID and KeySuffix.
    std::vector<std::string> regexAfterWords;
    uchar escapeSymbol = 0; // TSyntaxBlock::EscapeSymbol
    bool hasKeys = false;
    uchar keyAttr = 0;
    std::string keySuffix;

    // Folding (see TSyntaxBlock::FoldBraces and the others).
    bool foldBraces = false;
    bool foldComments = false;
    bool foldBlock = false;
    bool foldTags = false;
    std::string foldRunWord;
    quint32 foldRunLabel = 0;

    // The attribute of each kind whose colour comes from the block (the
    // others take their token's).
    std::array<uchar, kTokenKindCount> kindAttr{};

    TCharSet first; // FirstIdentChars
    // Identifiers are words of letters (FirstIdentChars holds a-z or A-Z):
    // in UTF-8 text non-ASCII letters join them.
    bool wordIdentifiers = false;
    TCharSet other; // OtherIdentChars
    std::array<bool, 256> isOther{}; // OtherIdentChars as a table, for runs
    std::array<bool, 256> isOtherAscii{}; // the same below 0x80 (UTF-8 runs)
    // TStartFlag bits by character; the scheme fills in sfFree once it
    // knows its free symbols.
    std::array<quint16, 256> starts{};
    TCharSet ownUsed; // the characters behind sfFreeHere

    TTokenTable singleLineComments;
    TTokenTable multiLineComments;
    TTokenTable fullLineComments;
    TTokenTable singleLineStrings;
    TTokenTable multiLineStrings;
    TTokenTable numPrefixes;
    TTokenTable numSuffixes;
    TTokenTable numPrefixesSuffixes;   // every item, enabled or not
    TTokenTable identPrefixes;
    TTokenTable identSuffixes;
    TTokenTable identPrefixesSuffixes; // every item, enabled or not
    std::vector<TKeywordTable> keywords;
    size_t longestKeyword = 0;
    // With a comma in a keyword, ",w," can be found across two keywords,
    // so words are then looked up by searching the buckets as text.
    bool keywordWithComma = false;
    // Whether a word read as identifier can hold a comma (through the
    // identifier characters or a prefix or suffix).
    bool wordWithComma = false;
    std::string directivePrefix;

    // Characters at which a comment, a string, a number or an identifier can
    // start, and all of them with the directive prefix: any other character
    // that is neither blank nor a free symbol is a token of its own.
    TCharSet commentStart;
    TCharSet stringStart;
    TCharSet numberStart;
    TCharSet identStart;
    TCharSet anyStart;

    // Indexed by the position in the block's BlockDelimiters.
    std::vector<TClosing> closings;
    // The enabled BlockDelimiters of the child blocks: the ones the child
    // reads itself open at a position, the others after the parent read them.
    // Each table is in order of falling priority, in table order among
    // equals.
    std::vector<TOpening> openHere;
    std::vector<TOpening> openAfter;
    TCharSet openHereFirst; // first characters of the openHere texts
    TCharSet openAfterLast; // last characters of the openAfter texts
    // Which openHere and tokenOpenHere entries can match at a position,
    // and which tokenOpenAfter entries can end there (see TOpeningIndex).
    TOpeningIndex hereIndex;
    TOpeningIndex tokenHereIndex;
    TOpeningIndex tokenAfterIndex;
    // The same for the openings looked for inside this block's comments and
    // strings.
    std::vector<TOpening> tokenOpenHere;
    std::vector<TOpening> tokenOpenAfter;
    TCharSet tokenOpenHereFirst;
    TCharSet tokenOpenAfterLast;
};

// Builds the tables of block index of blocks; adds the characters the block
// uses (identifier sets, meta symbol, delimiters) to used.
TCompiledBlock CompileBlock(const TSyntaxBlockList& blocks, int index, TCharSet& used);

// Compares exactly length(d) characters of text with d.
inline bool SameText(const uchar* text, std::string_view d, bool caseSensitive)
{
    const size_t n = d.size();
    const auto* p = reinterpret_cast<const uchar*>(d.data());
    if (caseSensitive) {
        for (size_t i = 0; i < n; ++i) {
            if (text[i] != p[i])
                return false;
        }
        return true;
    }
    for (size_t i = 0; i < n; ++i) {
        uchar a = text[i];
        uchar b = p[i];
        if (a == b)
            continue;
        if (unsigned(a - 'A') < 26u)
            a += 32;
        if (unsigned(b - 'A') < 26u)
            b += 32;
        if (a != b)
            return false;
    }
    return true;
}
