#include "compiledblock.h"

#include "ansi.h"
#include "charsettext.h"
#include "commatext.h"
#include "linestate.h"
#include "linestructure.h"
#include "syntaxblock.h"

#include <cctype>

#include <algorithm>

namespace {

std::string Bytes(const QByteArray& text) { return std::string(text.constData(), size_t(text.size())); }

void AddChars(TCharSet& set, const std::string& text)
{
    for (char c : text)
        set.Add(uchar(c));
}

void AddFirst(TCharSet& set, const std::string& text, bool caseSensitive)
{
    if (text.empty())
        return;
    const uchar c = uchar(text[0]);
    set.Add(c);
    if (!caseSensitive) {
        if (c >= 'A' && c <= 'Z')
            set.Add(uchar(c + 32));
        else if (c >= 'a' && c <= 'z')
            set.Add(uchar(c - 32));
    }
}

// What a folded block shows after its first line: its opening text, "..."
// and its closing text. An opening that starts a tag by name ("<script") is
// shown with the tag's ">".
quint32 FoldLabel(const std::string& opening, const std::string& closing)
{
    std::string label = opening;
    if (label.size() > 1 && label[0] == '<' && std::isalpha(uchar(label.back())))
        label += '>';
    label += "...";
    label += closing;
    return TStructureNames::Shared().Intern(label);
}

// The attribute of a FontID: modulo 256, and 255 ("none") stands for the
// block's text attribute.
uchar Attr(int fontId, uchar textAttr)
{
    const uchar attr = uchar(fontId & 0xFF);
    return attr == 255 ? textAttr : attr;
}

// Compiles the items of list. With all, disabled items are kept as well (the
// prefix-suffix lists are tried item by item whatever their switch). Items
// whose left text is empty would match everywhere without reading anything,
// so only the lists that read more than their left text keep them.
TTokenTable CompileList(const TCollection& list, bool caseSensitive, uchar textAttr, TCharSet& used, bool all,
                        bool keepEmptyLeft)
{
    TTokenTable table;
    for (int i = 0; i < list.Count(); ++i) {
        const auto* token = static_cast<const TLineToken*>(list.Item(i));
        if (!all && !token->UseToken())
            continue;
        if (int(table.items.size()) >= LineState::kMaxEnabledTokens)
            break;
        TCompiledToken compiled;
        compiled.left = Bytes(token->Left());
        if (auto* pair = qobject_cast<const TBlockToken*>(token))
            compiled.right = Bytes(pair->Right());
        compiled.attr = Attr(token->FontID(), textAttr);
        compiled.index = i;
        compiled.hasFont = token->FontID() != -1;
        if (token->UseToken()) {
            AddChars(used, compiled.left);
            AddChars(used, compiled.right);
        }
        if (compiled.left.empty() && !keepEmptyLeft)
            continue;
        AddFirst(table.firstChars, compiled.left, caseSensitive);
        table.items.push_back(std::move(compiled));
    }
    return table;
}

void CompileKeywords(TCompiledBlock& compiled, const TKeywordSetList& sets, uchar textAttr, bool caseSensitive)
{
    for (int i = 0; i < sets.Count(); ++i) {
        const TKeywordSet* set = sets.At(i);
        if (!set->UseToken())
            continue;
        if (int(compiled.keywords.size()) >= LineState::kMaxEnabledTokens)
            break;
        TKeywordTable table;
        table.attr = Attr(set->FontID(), textAttr);
        if (set->HasContext()) {
            table.hasContext = true;
            table.after = CharSetText::Read(Ansi::FromQString(set->After()));
            table.notAfter = CharSetText::Read(Ansi::FromQString(set->NotAfter()));
            table.notBefore = CharSetText::Read(Ansi::FromQString(set->NotBefore()));
            table.beforeWord = set->BeforeWord();
        }
        const QByteArray text = caseSensitive ? set->KeywordBytes() : Ansi::Lower(set->KeywordBytes());
        for (const QByteArray& word : CommaText::Split(text)) {
            if (word.isEmpty())
                continue;
            std::string& bucket = table.buckets[uchar(word[0])];
            if (bucket.empty())
                bucket += ',';
            table.words[uchar(word[0])].emplace_back(quint32(bucket.size()), quint32(word.size()));
            bucket.append(word.constData(), size_t(word.size()));
            bucket += ',';
            std::uint64_t& lengths = table.lengths[uchar(word[0])];
            lengths |= word.contains(',') ? ~std::uint64_t(0) : std::uint64_t(1) << std::min<qsizetype>(word.size(), 63);
            compiled.keywordWithComma = compiled.keywordWithComma || word.contains(',');
            compiled.longestKeyword = std::max(compiled.longestKeyword, size_t(word.size()));
        }
        compiled.keywords.push_back(std::move(table));
    }
}

void AddLastChar(TCharSet& set, const std::string& text, bool caseSensitive)
{
    const uchar last = uchar(text.back());
    set.Add(last);
    if (!caseSensitive && unsigned(last - 'A') < 26u)
        set.Add(uchar(last + 32));
    if (!caseSensitive && unsigned(last - 'a') < 26u)
        set.Add(uchar(last - 32));
}

void SortByPriority(std::vector<TOpening>& table)
{
    std::stable_sort(table.begin(), table.end(),
                     [](const TOpening& a, const TOpening& b) { return a.priority > b.priority; });
}

// Builds the masks of a table of two to 16 openings (fewer need none), by
// their first two characters, or with fromEnd by their last two.
void IndexOpenings(TOpeningIndex& index, const std::vector<TOpening>& table, bool caseSensitive, bool fromEnd)
{
    if (table.size() < 2 || table.size() > TOpeningIndex::kMaxEntries)
        return;
    index.byOuter = std::make_unique<std::array<quint16, 256>>();
    index.byInner = std::make_unique<std::array<quint16, 256>>();
    auto both = [caseSensitive](uchar c, std::array<quint16, 256>& masks, quint16 bit) {
        masks[c] |= bit;
        if (!caseSensitive && unsigned((c | 0x20) - 'a') < 26u)
            masks[uchar(c ^ 0x20)] |= bit;
    };
    for (size_t i = 0; i < table.size(); ++i) {
        const std::string& text = table[i].text;
        const size_t n = text.size();
        const quint16 bit = quint16(1u << i);
        both(uchar(fromEnd ? text[n - 1] : text[0]), *index.byOuter, bit);
        if (n == 1) {
            for (quint16& mask : *index.byInner)
                mask |= bit;
        } else {
            both(uchar(fromEnd ? text[n - 2] : text[1]), *index.byInner, bit);
        }
    }
}

void CompileOpenings(TCompiledBlock& compiled, const TSyntaxBlockList& blocks, int id)
{
    for (int b = 0; b < blocks.Count(); ++b) {
        const TSyntaxBlock* child = blocks.At(b);
        if (!child->OpensIn(id))
            continue;
        const TDelimitersList* delimiters = child->BlockDelimiters();
        for (int d = 0; d < delimiters->Count(); ++d) {
            const TDelimiters* delimiter = delimiters->At(d);
            // An empty opening text would open the child everywhere.
            if (!delimiter->UseToken() || delimiter->Left().isEmpty())
                continue;
            TOpening opening;
            opening.text = Bytes(delimiter->Left());
            opening.childBlock = b;
            opening.delimiter = d;
            opening.caseSensitive = child->CaseSensitive();
            opening.partOfBlock = delimiter->DelimitersArePartOfBlock();
            opening.priority = delimiter->Priority();
            if (child->FoldBlock())
                opening.foldLabel = FoldLabel(opening.text, Bytes(delimiter->Right()));
            auto rules = std::make_unique<TOpeningRules>();
            rules->escape = uchar(delimiter->EscapeSymbol());
            rules->inTokensOf = Bytes(delimiter->InTokensOf());
            rules->notBefore = CharSetText::Read(Ansi::FromQString(delimiter->NotBefore()));
            rules->hasNotBefore = !rules->notBefore.IsEmpty();
            rules->notAtLineStart = delimiter->NotAtLineStart();
            rules->literal = delimiter->HereDocument() == TDelimiters::hdLiteral;
            if (rules->escape || !rules->inTokensOf.empty() || rules->hasNotBefore || rules->notAtLineStart ||
                delimiter->HereDocument() != TDelimiters::hdNone) {
                opening.rules = rules.get();
                compiled.openingRules.push_back(std::move(rules));
            }
            if (delimiter->HereDocument() != TDelimiters::hdNone) {
                // Read with the word behind it by the parent's own rule.
                compiled.hereOpenings.push_back(opening);
                continue;
            }
            const TDelimiters::TOpenInTokens where = delimiter->OpenInTokens();
            // The text ending at the position is compared with the parent's
            // comparison.
            if (opening.partOfBlock) {
                if (where != TDelimiters::otOnly) {
                    AddFirst(compiled.openHereFirst, opening.text, compiled.caseSensitive);
                    compiled.openHere.push_back(opening);
                }
                if (where != TDelimiters::otNever) {
                    AddFirst(compiled.tokenOpenHereFirst, opening.text, compiled.caseSensitive);
                    compiled.tokenOpenHere.push_back(opening);
                }
            } else {
                if (where != TDelimiters::otOnly) {
                    AddLastChar(compiled.openAfterLast, opening.text, compiled.caseSensitive);
                    compiled.openAfter.push_back(opening);
                }
                if (where != TDelimiters::otNever) {
                    AddLastChar(compiled.tokenOpenAfterLast, opening.text, compiled.caseSensitive);
                    compiled.tokenOpenAfter.push_back(opening);
                }
            }
        }
    }
    SortByPriority(compiled.openHere);
    SortByPriority(compiled.openAfter);
    SortByPriority(compiled.tokenOpenHere);
    SortByPriority(compiled.tokenOpenAfter);

    // Both tables of openings between tokens get places in the quick table
    // of a path.
    int slot = 0;
    for (TOpening& opening : compiled.openHere)
        opening.quickSlot = slot < kQuickSlots ? slot++ : -1;
    for (TOpening& opening : compiled.openAfter)
        opening.quickSlot = slot < kQuickSlots ? slot++ : -1;

    IndexOpenings(compiled.hereIndex, compiled.openHere, compiled.caseSensitive, false);
    IndexOpenings(compiled.tokenHereIndex, compiled.tokenOpenHere, compiled.caseSensitive, false);
    IndexOpenings(compiled.tokenAfterIndex, compiled.tokenOpenAfter, compiled.caseSensitive, true);
}

} // namespace

TCompiledBlock CompileBlock(const TSyntaxBlockList& blocks, int index, TCharSet& schemeUsed)
{
    // The characters this block uses; the scheme's are those of all blocks.
    TCharSet used;
    const TSyntaxBlock& block = *blocks.At(index);
    TCompiledBlock c;
    c.caseSensitive = block.CaseSensitive();
    c.useMetaSymbol = block.UseMetaSymbol();
    c.metaWrapsLines = block.UseMetaSymbol() && block.UseMetaToWrapLines();
    c.metaSymbol = uchar(block.MetaSymbol());
    c.first = block.FirstIdentSet();
    c.other = block.OtherIdentSet();
    used.Add(c.first);
    used.Add(c.other);
    if (c.useMetaSymbol)
        used.Add(c.metaSymbol);

    const uchar text = uchar(block.FIText() & 0xFF);
    c.kindAttr.fill(text);
    if (block.UseLineDirectives())
        c.kindAttr[tkDirective] = Attr(block.FIDirective(), text);
    if (block.UseNumbers()) {
        c.kindAttr[tkInteger] = Attr(block.FIIntNum(), text);
        c.kindAttr[tkFloat] = Attr(block.FIFloatNum(), text);
        c.kindAttr[tkHexNumber] = Attr(block.FIHexNum(), text);
    }
    if (block.UseIdentifiers())
        c.kindAttr[tkIdentifier] = Attr(block.FIIdentifier(), text);
    if (block.UseSymbols())
        c.kindAttr[tkSymbol] = Attr(block.FISymbol(), text);

    const bool cs = c.caseSensitive;
    c.useComments = block.UseComments();
    if (c.useComments) {
        if (block.UseSingleLineComments())
            c.singleLineComments = CompileList(*block.SingleLineCommentDelimiters(), cs, text, used, false, false);
        if (block.UseMultiLineComments())
            c.multiLineComments = CompileList(*block.MultiLineCommentDelimiters(), cs, text, used, false, false);
        if (block.FoldComments()) {
            for (TCompiledToken& item : c.multiLineComments.items)
                item.foldLabel = FoldLabel(item.left, item.right);
        }
        if (block.UseFullLineComments())
            c.fullLineComments = CompileList(*block.FullLineCommentDelimiters(), cs, text, used, false, false);
        c.commentStart.Add(c.singleLineComments.firstChars);
        c.commentStart.Add(c.multiLineComments.firstChars);
        c.commentStart.Add(c.fullLineComments.firstChars);
    }
    c.useStrings = block.UseStrings();
    if (c.useStrings) {
        if (block.UseSingleLineStrings())
            c.singleLineStrings = CompileList(*block.SingleLineStringDelimiters(), cs, text, used, false, false);
        for (TCompiledToken& item : c.singleLineStrings.items)
            item.regex = block.RegexDelimiter() != 0 && item.left == std::string(1, block.RegexDelimiter());
        if (block.UseMultiLineStrings())
            c.multiLineStrings = CompileList(*block.MultiLineStringDelimiters(), cs, text, used, false, false);
        c.stringStart.Add(c.singleLineStrings.firstChars);
        c.stringStart.Add(c.multiLineStrings.firstChars);
    }
    c.useNumbers = block.UseNumbers();
    if (c.useNumbers) {
        c.usePrefixedNumbers = block.UsePrefixedNumbers();
        c.useSuffixedNumbers = block.UseSuffixedNumbers();
        c.useMultipleNumSuffixes = block.UseMultipleNumSuffixes();
        c.usePrefixedSuffixedNumbers = block.UsePrefixedSuffixedNumbers();
        c.usePSNumComposition = block.UsePSNumComposition();
        if (c.usePrefixedNumbers)
            c.numPrefixes = CompileList(*block.NumPrefixes(), cs, text, used, false, false);
        if (c.useSuffixedNumbers)
            c.numSuffixes = CompileList(*block.NumSuffixes(), cs, text, used, false, false);
        if (c.usePrefixedSuffixedNumbers)
            c.numPrefixesSuffixes = CompileList(*block.NumPrefixesSuffixes(), cs, text, used, true, true);
        c.useLeadingDotNumbers = block.UseLeadingDotNumbers();
        c.useHexFloats = block.UseHexFloats();
        c.digitSeparator = uchar(block.DigitSeparator());
        c.hasDigitSeparator = c.digitSeparator != 0;
        if (c.hasDigitSeparator)
            used.Add(c.digitSeparator);
        c.numberStart = TCharSet::Range('0', '9');
        if (c.useLeadingDotNumbers) {
            // A free '.' would be read in a run of symbols before a number
            // could start at it.
            c.numberStart.Add('.');
            used.Add('.');
        }
        c.numberStart.Add(c.numPrefixes.firstChars);
        c.numberStart.Add(c.numPrefixesSuffixes.firstChars);
        const bool composition = c.usePrefixedSuffixedNumbers && c.usePSNumComposition;
        for (const TCompiledToken& item : c.numPrefixesSuffixes.items) {
            // An empty prefix lets the number start at its first hex digit.
            if (item.left.empty() && !composition) {
                c.numberStart.AddRange('A', 'F');
                c.numberStart.AddRange('a', 'f');
            }
        }
    }
    c.useLineDirectives = block.UseLineDirectives();
    if (c.useLineDirectives) {
        c.directivePrefix = Bytes(block.DirectivePrefixBytes());
        AddChars(used, c.directivePrefix);
    }
    c.usePrefixedIdentifiers = block.UsePrefixedIdentifiers();
    if (c.usePrefixedIdentifiers)
        c.identPrefixes = CompileList(*block.IdentPrefixes(), cs, text, used, false, false);
    c.useSuffixedIdentifiers = block.UseSuffixedIdentifiers();
    if (c.useSuffixedIdentifiers)
        c.identSuffixes = CompileList(*block.IdentSuffixes(), cs, text, used, false, false);
    c.usePrefixedSuffixedIdentifiers = block.UsePrefixedSuffixedIdentifiers();
    if (c.usePrefixedSuffixedIdentifiers)
        c.identPrefixesSuffixes = CompileList(*block.IdentPrefixesSuffixes(), cs, text, used, true, true);
    c.useAffixFonts = block.UseAffixFonts();
    c.foldBraces = block.FoldBraces();
    c.foldComments = block.FoldComments();
    c.foldBlock = block.FoldBlock();
    c.foldTags = block.FoldTags();
    c.foldRunWord = Bytes(block.FoldRunWord().toLatin1());
    if (!c.foldRunWord.empty())
        c.foldRunLabel = TStructureNames::Shared().Intern(c.foldRunWord + " ...");
    c.endsWithLine = block.EndsWithLine();
    c.escapeSymbol = uchar(block.EscapeSymbol());
    for (const QByteArray& word : CommaText::Split(Ansi::FromQString(block.RegexAfterWords()))) {
        if (!word.isEmpty())
            c.regexAfterWords.push_back(Bytes(word));
    }
    c.keySuffix = Bytes(Ansi::FromQString(block.KeySuffix()));
    c.hasKeys = block.KeyFontID() != -1 && !c.keySuffix.empty();
    c.keyAttr = Attr(block.KeyFontID(), text);
    AddChars(used, c.keySuffix);
    c.useKeywords = block.UseKeywords();
    if (c.useKeywords)
        CompileKeywords(c, *block.KeywordSets(), text, cs);

    c.wordIdentifiers = false;
    for (uchar letter = 'A'; letter <= 'z' && !c.wordIdentifiers; ++letter)
        c.wordIdentifiers = std::isalpha(letter) && c.first.Has(letter);
    c.identStart = c.first;
    c.identStart.Add(c.identPrefixes.firstChars);
    c.identStart.Add(c.identPrefixesSuffixes.firstChars);
    c.identAffixStart = c.identPrefixes.firstChars;
    c.identAffixStart.Add(c.identPrefixesSuffixes.firstChars);
    for (const TCompiledToken& item : c.identPrefixesSuffixes.items) {
        if (item.left.empty()) {
            c.identStart.Add(c.first);
            c.identAffixStart = TCharSet::Range(0, 255);
        }
    }
    auto anyComma = [](const TTokenTable& table) {
        for (const TCompiledToken& item : table.items) {
            if (item.left.find(',') != std::string::npos || item.right.find(',') != std::string::npos)
                return true;
        }
        return false;
    };
    c.wordWithComma = c.first.Has(',') || c.other.Has(',') || anyComma(c.identPrefixes) ||
                      anyComma(c.identSuffixes) || anyComma(c.identPrefixesSuffixes);
    c.anyStart = c.identStart;
    c.anyStart.Add(c.commentStart);
    c.anyStart.Add(c.stringStart);
    c.anyStart.Add(c.useNumbers ? c.numberStart : TCharSet::Range('0', '9'));
    AddFirst(c.anyStart, c.directivePrefix, cs);
    TCharSet directiveStart;
    if (c.useLineDirectives)
        AddFirst(directiveStart, c.directivePrefix, cs);
    const TCharSet numberOrDigit = c.useNumbers ? c.numberStart : TCharSet::Range('0', '9');
    for (int ch = 0; ch < 256; ++ch) {
        const uchar u = uchar(ch);
        c.isOther[u] = c.other.Has(u);
        c.isOtherAscii[u] = u < 0x80 && c.isOther[u];
        quint16 flags = 0;
        if (u <= 32)
            flags |= sfBlank;
        if (c.anyStart.Has(u))
            flags |= sfAny;
        if (c.useComments && c.commentStart.Has(u))
            flags |= sfComment;
        if (c.useStrings && c.stringStart.Has(u))
            flags |= sfString;
        if (numberOrDigit.Has(u))
            flags |= sfNumber;
        if (directiveStart.Has(u))
            flags |= sfDirective;
        if (c.identStart.Has(u))
            flags |= sfIdent;
        c.starts[u] = flags;
    }

    const TDelimitersList* own = block.BlockDelimiters();
    c.closings.reserve(size_t(own->Count()));
    for (int d = 0; d < own->Count(); ++d) {
        const TDelimiters* delimiter = own->At(d);
        const std::string left = Bytes(delimiter->Left());
        c.closings.push_back({Bytes(delimiter->Right()), delimiter->DelimitersArePartOfBlock(),
                              delimiter->CloseInTokens(), !left.empty() && left.back() == '/',
                              uchar(delimiter->EscapeSymbol())});
        c.hereDocument = c.hereDocument || delimiter->HereDocument() != TDelimiters::hdNone;
        if (delimiter->UseToken()) {
            AddChars(used, Bytes(delimiter->Left()));
            AddChars(used, Bytes(delimiter->Right()));
        }
    }
    CompileOpenings(c, blocks, block.ID());
    if (c.escapeSymbol) {
        for (int ch = 0; ch < 256; ++ch) {
            if (c.starts[size_t(ch)] & (sfComment | sfString))
                c.starts[size_t(ch)] |= sfEscapable;
        }
    }
    for (const TOpening& opening : c.hereOpenings) {
        const uchar first = uchar(opening.text[0]);
        c.starts[first] |= sfHereDocument;
        if (!cs && unsigned((first | 0x20) - 'a') < 26u)
            c.starts[first ^ 0x20] |= sfHereDocument;
    }
    schemeUsed.Add(used);
    // What a run of free symbols must not swallow in this block: besides its
    // own characters, those of its children's openings.
    c.ownUsed = used;
    for (const auto* table : {&c.openHere, &c.openAfter, &c.tokenOpenHere, &c.tokenOpenAfter, &c.hereOpenings}) {
        for (const TOpening& opening : *table)
            AddChars(c.ownUsed, opening.text);
    }
    return c;
}
