// The three shipped schemes through a real text store, their stored form,
// a validator over their data, and the choice of parser by file name and
// menu tag.

#include "componentstream.h"
#include "linestate.h"
#include "syntaxfixture.h"
#include "textstyle.h"
#include "memoenvoptions.h"

#include <QSet>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

struct StoreWith {
    StoreWith(TBuiltInScheme which, const QByteArray& text) : parser(BuiltIn(which))
    {
        source.SetSyntaxParser(parser.get());
        source.Lines().SetText(text);
    }
    std::string Line(int line) { return Codes(Attrs(source, line)); }

    std::unique_ptr<TSyntaxParser> parser;
    TMemoSource source;
};

// -- Java ---------------------------------------------------------------------------

TEST(JavaScheme, CommentOpenAtLineEndCarriesToTheNextLine)
{
    StoreWith s(TBuiltInScheme::Java, "/* a\nb */ c\n");
    EXPECT_EQ(LineState::Construct(EndState(s.source, 0)), quint32(LineState::ocMultiLineComment));
    EXPECT_EQ(s.Line(0), "5555");
    EXPECT_EQ(s.Line(1), "555500");
    EXPECT_EQ(EndState(s.source, 1), 0u);
}

TEST(JavaScheme, EmptyLineInsideACommentKeepsItOpen)
{
    StoreWith s(TBuiltInScheme::Java, "/* a\n\n\nb */ int\n");
    EXPECT_EQ(s.Line(3), "55550888");
    EXPECT_EQ(EndState(s.source, 2), EndState(s.source, 0));
}

TEST(JavaScheme, NumbersAndComposition)
{
    StoreWith s(TBuiltInScheme::Java, "0x1FL 0x1Fz 0x 1.5e 1.5e+3 10L 1.5f\n");
    EXPECT_EQ(s.Line(0), "33333033330099022200222222011102222");
}

TEST(JavaScheme, StringsWithEscapes)
{
    StoreWith s(TBuiltInScheme::Java, "s = \"a\\\"b\" + '\\\\' + \"\\\\\";\n");
    EXPECT_EQ(s.Line(0), "0090666666090777709066669");
}

TEST(JavaScheme, KeywordSetsAndCase)
{
    StoreWith s(TBuiltInScheme::Java, "public Cookie out Public\n");
    EXPECT_EQ(s.Line(0), "888888" "0" "aaaaaa" "0" "bbb" "0" "000000");
}

TEST(JavaScheme, NonAsciiLettersJoinIdentifiersOnlyInUtf8)
{
    // "int intä äint": a keyword, then two identifiers in UTF-8; in
    // Windows-1252 the same bytes leave "int" a keyword wherever it stands.
    StoreWith s(TBuiltInScheme::Java, "int int\xC3\xA4 \xC3\xA4int\n");
    const std::string western = s.Line(0);
    const std::string k(1, western[0]);
    ASSERT_NE(k, "0");
    EXPECT_EQ(western, k + k + k + "0" + k + k + k + "00" "0" "00" + k + k + k);
    s.source.SetEncoding(teUtf8);
    s.source.ParseTo(0);
    EXPECT_EQ(s.Line(0), k + k + k + "0" "00000" "0" "00000");
}

// -- Batch ----------------------------------------------------------------------------

TEST(BatchScheme, SetStatement)
{
    StoreWith s(TBuiltInScheme::Batch, "set x=1\n");
    EXPECT_EQ(s.Line(0), "6660081");
}

TEST(BatchScheme, RemIsACommentOnlyAsAWord)
{
    StoreWith s(TBuiltInScheme::Batch, "rem note\nREM\nremark\necho rem x\nrem.\n");
    EXPECT_EQ(s.Line(0), "44444444");
    EXPECT_EQ(s.Line(1), "444");
    EXPECT_EQ(s.Line(2), "000000");
    EXPECT_EQ(s.Line(3), "6666044444");
    EXPECT_EQ(s.Line(4), "4444");
}

TEST(BatchScheme, ColonCommentsOnlyAtTheLineStart)
{
    StoreWith s(TBuiltInScheme::Batch, ":label\n   :: note\necho :x\n");
    EXPECT_EQ(s.Line(0), "555555");
    EXPECT_EQ(s.Line(1), "0005555555");
    EXPECT_EQ(s.Line(2), "6666080");
}

TEST(BatchScheme, KeywordsIgnoreCase)
{
    StoreWith s(TBuiltInScheme::Batch, "ECHO Goto If\n");
    EXPECT_EQ(s.Line(0), "666606666066");
}

// -- ASP in HTML -------------------------------------------------------------------------

TEST(AspScheme, ScriptletDelimitersAndKeywords)
{
    StoreWith s(TBuiltInScheme::Jsp, "<% int i = 0; %>\n");
    // "<%" and "%>" in the JSP symbol attribute 24 ('o'), "int" 27 ('r').
    EXPECT_EQ(s.Line(0), "oo0rrr000o01o0oo");
    EXPECT_EQ(EndState(s.source, 0), 0u);
}

TEST(AspScheme, HtmlCommentIsOneCommentFromItsFirstCharacter)
{
    StoreWith s(TBuiltInScheme::Jsp, "x <!-- a\nb --> y <b>\n");
    EXPECT_EQ(s.Line(0), "eejjjjjj");
    EXPECT_EQ(s.Line(1), "jjjjjeeefff");
    EXPECT_EQ(EndState(s.source, 1), 0u);
}

TEST(AspScheme, ScriptInsideATagIsReadAfterTheTagTextAndEndsBeforeIt)
{
    StoreWith s(TBuiltInScheme::Jsp, "<td width=<%= w %>>\n");
    // The tag reads "<%" (15, 'f'), the script (symbols 25, 'p'; text 8)
    // ends in front of "%>", which the tag reads; the tag goes on behind it,
    // so only the last ">" closes it.
    EXPECT_EQ(s.Line(0), "ffffffffffffp888fff");
    EXPECT_EQ(EndState(s.source, 0), 0u);
}

TEST(AspScheme, TagNumbersAndStrings)
{
    StoreWith s(TBuiltInScheme::Jsp, "<a b=#FF c=10% d='x'>\n");
    EXPECT_EQ(s.Line(0), "fffffiiifffgggffflllf");
}

// -- re-highlighting after an edit ----------------------------------------------------------

TEST(Rehighlight, ClosingACommentReparsesExactlyTheLinesWhoseStatesChange)
{
    QByteArray text = "/* start\n";
    for (int i = 1; i <= 5; ++i)
        text += "x" + QByteArray::number(i) + "\n";
    text += "end */ y\n";
    for (int i = 7; i < 30; ++i)
        text += "int v" + QByteArray::number(i) + ";\n";
    StoreWith s(TBuiltInScheme::Java, text);
    s.source.ParseTo(s.source.LineCount() - 1);
    std::vector<int> parsed;
    s.source.OnLineParsed = [&](int line) { parsed.push_back(line); };
    // Close the comment at the end of line 2.
    s.source.SetCaret({2, 2});
    s.source.InsertString(" */");
    s.source.ParseTo(s.source.LineCount() - 1);
    EXPECT_EQ(parsed, (std::vector<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(s.Line(3), "00");
    // Line 6 now starts outside the comment; its end state is the same as
    // before, so line 7 was kept.
    EXPECT_EQ(s.Line(6), "00009900");
    EXPECT_EQ(s.Line(7), "8880009");
}

// A pass that must reach far establishes the states without attributes,
// part of them on a worker thread from a guessed state; whatever the guess,
// the states are those of a parse that writes every attribute, and the
// attributes those of passes short enough to run in one thread, also after
// an edit high up changes the states of everything below it.
TEST(Rehighlight, AFarPassGivesTheStatesAndAttributesOfShortPasses)
{
    const struct {
        const char* name;
        TBuiltInScheme scheme;
        QByteArray body; // repeated to 130,000 lines
        QByteArray once; // put in once after the first 1,000 lines
        QByteArray edit; // typed at the start of line 10 afterwards
    } cases[] = {
        {"Java", TBuiltInScheme::Java, "int a = 1; /* open\n\tstill */ call(\"s\", 'c');\n// note\n", "", "/*"},
        {"Java, a comment open over the whole worker's half", TBuiltInScheme::Java, "int a = b + 1;\n",
         "/* opened here and closed only at the end\n", "/*"},
        {"JSP", TBuiltInScheme::Jsp,
         "<% for (int i = 0; i < 3; i++) { %>\n<td class=\"<%= c %>\">\t${x}</td>\n<!-- a\ncomment -->\n<script>f('<%= y %>');\n</script><% } %>\n",
         "", "<script>/*"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray text;
        const qsizetype bodyLines = c.body.count('\n');
        for (qsizetype lines = 0; lines < 130'000; lines += bodyLines) {
            text += c.body;
            if (lines < 1'000 && lines + bodyLines >= 1'000)
                text += c.once;
        }
        if (!c.once.isEmpty())
            text += "*/\n";
        auto parser = BuiltIn(c.scheme);
        TMemoSource far;
        TMemoSource near;
        far.SetSyntaxParser(parser.get());
        near.SetSyntaxParser(parser.get());
        far.SetTextStr(text);
        near.SetTextStr(text);
        for (int round = 0; round < 2; ++round) {
            const int last = far.LineCount() - 1;
            far.ParseTo(last);
            for (int to = 0; to < last; to += 20'000)
                near.ParseTo(to);
            near.ParseTo(last);
            // Every line's attributes again from its stored start state.
            far.Strings().Attributes().Clear();
            near.Strings().Attributes().Clear();
            // The states of a parse that writes every attribute, line by line.
            std::vector<uchar> buffer;
            quint32 state = 0;
            int differing = -1;
            for (int i = 0; i <= last && differing < 0; ++i) {
                const QByteArray line = far.LineText(i);
                buffer.resize(size_t(line.size()));
                state = parser->ParseLine({line.constData(), size_t(line.size())}, state, buffer.data());
                if (far.Strings().Item(i).endState != state || near.Strings().Item(i).endState != state ||
                    Attrs(far, i) != Attrs(near, i))
                    differing = i;
            }
            EXPECT_EQ(differing, -1) << "round " << round;
            for (TMemoSource* s : {&far, &near}) {
                s->SetCaret({10, 0});
                s->InsertString(c.edit);
            }
        }
        far.SetSyntaxParser(nullptr);
        near.SetSyntaxParser(nullptr);
    }
}

// -- stored form ----------------------------------------------------------------------------------

class Shipped : public ::testing::TestWithParam<TBuiltInScheme> {};

TEST_P(Shipped, WritingTheParserGivesTheShippedTextAndReadingItBackTheSame)
{
    auto parser = BuiltIn(GetParam());
    const QByteArray shipped = BuiltInSchemes::StreamText(GetParam());
    const QByteArray written = WriteComponent(*parser);
    EXPECT_EQ(written.toStdString(), shipped.toStdString());
    TSyntaxParser back;
    QString error;
    ASSERT_TRUE(ReadComponent(written, back, &error)) << qPrintable(error);
    EXPECT_EQ(WriteComponent(back).toStdString(), written.toStdString());
}

// A font-table entry without an ID (-1) keeps it through a write and a read:
// left out of the text, the entry would take the first free ID on reading.
TEST(SchemeText, FontEntryWithoutAnIdKeepsItThroughWriteAndRead)
{
    QByteArray text = BuiltInSchemes::StreamText(TBuiltInScheme::Java);
    ASSERT_TRUE(text.contains("FontID = 14\n"));
    text.replace("FontID = 14\n", "FontID = -1\n");
    TSyntaxParser first;
    ASSERT_TRUE(ReadComponent(text, first));
    const QByteArray written = WriteComponent(first);
    EXPECT_TRUE(written.contains("FontID = -1\n"));
    TSyntaxParser second;
    ASSERT_TRUE(ReadComponent(written, second));
    EXPECT_EQ(WriteComponent(second).toStdString(), written.toStdString());
}

TEST_P(Shipped, LoadedSchemeIsCompiledAndFollowsTheGlobalOptions)
{
    auto parser = BuiltIn(GetParam());
    EXPECT_EQ(parser->SyntaxScheme()->SyntaxVersion(), 3);
    EXPECT_TRUE(parser->SyntaxScheme()->IsCompiled());
    EXPECT_TRUE(parser->UseGlobalOptions());
    EXPECT_EQ(parser->DefaultAttr()->Font().Name(), "Courier New");
    EXPECT_EQ(parser->DefaultAttr()->Font().Height(), -13);
    EXPECT_EQ(parser->Name(), BuiltInSchemes::ComponentName(GetParam()));
}

// The comments and strings of a block that a child can open in (and that
// each give the child's path a variant of its own); with only, those that
// start with that text.
int ResumableTokens(const TSyntaxBlock& block, const QByteArray& only = {})
{
    int count = 0;
    auto enabled = [&only](const TCollection* list) {
        int n = 0;
        for (int i = 0; i < list->Count(); ++i) {
            const auto* token = static_cast<const TLineToken*>(list->Item(i));
            n += token->UseToken() && (only.isEmpty() || token->Left() == only) ? 1 : 0;
        }
        return n;
    };
    if (block.UseComments()) {
        count += block.UseSingleLineComments() ? enabled(block.SingleLineCommentDelimiters()) : 0;
        count += block.UseMultiLineComments() ? enabled(block.MultiLineCommentDelimiters()) : 0;
        count += block.UseFullLineComments() ? enabled(block.FullLineCommentDelimiters()) : 0;
    }
    if (block.UseStrings()) {
        count += block.UseSingleLineStrings() ? enabled(block.SingleLineStringDelimiters()) : 0;
        count += block.UseMultiLineStrings() ? enabled(block.MultiLineStringDelimiters()) : 0;
    }
    return count;
}

// How many nesting paths besides the root the blocks can make, at most;
// -1 when they nest without end. An opening read by the child that comes
// behind one that is a prefix of it in the parent's order (priority, then
// blocks and delimiters in order) never opens, as "</" behind "<".
int NestingPaths(const TSyntaxBlockList& blocks)
{
    struct TWay {
        int child;
        const TDelimiters* opening;
    };
    std::function<int(int, QList<int>&)> below = [&](int parent, QList<int>& chain) -> int {
        const TSyntaxBlock* from = blocks.At(parent);
        std::vector<TWay> ways;
        for (int c = 0; c < blocks.Count(); ++c) {
            if (!blocks.At(c)->OpensIn(from->ID()))
                continue;
            const TDelimitersList* delimiters = blocks.At(c)->BlockDelimiters();
            for (int d = 0; d < delimiters->Count(); ++d) {
                if (delimiters->At(d)->UseToken() && !delimiters->At(d)->Left().isEmpty())
                    ways.push_back({c, delimiters->At(d)});
            }
        }
        std::stable_sort(ways.begin(), ways.end(),
                         [](const TWay& a, const TWay& b) { return a.opening->Priority() > b.opening->Priority(); });
        auto shadowed = [&](size_t i, bool inTokens) {
            const TDelimiters* later = ways[i].opening;
            for (size_t j = 0; j < i && later->DelimitersArePartOfBlock(); ++j) {
                const TDelimiters* earlier = ways[j].opening;
                const bool there = inTokens ? earlier->OpenInTokens() != TDelimiters::otNever
                                            : earlier->OpenInTokens() != TDelimiters::otOnly;
                if (there && earlier->DelimitersArePartOfBlock() && later->Left().startsWith(earlier->Left()) &&
                    !from->FirstIdentSet().Has(uchar(earlier->Left()[0])))
                    return true;
            }
            return false;
        };
        int total = 0;
        for (size_t i = 0; i < ways.size(); ++i) {
            const int c = ways[i].child;
            if (chain.contains(c))
                return -1;
            chain.append(c);
            const int inner = below(c, chain);
            chain.removeLast();
            if (inner < 0)
                return -1;
            const TDelimiters::TOpenInTokens where = ways[i].opening->OpenInTokens();
            const int count = (where != TDelimiters::otOnly && !shadowed(i, false) ? 1 : 0) +
                              (where != TDelimiters::otNever && !shadowed(i, true)
                                   ? ResumableTokens(*from, ways[i].opening->InTokensOf())
                                   : 0);
            total += count * (1 + inner);
        }
        return total;
    };
    QList<int> chain{0};
    return below(0, chain);
}

// Everything in a scheme that names something else must name something
// that exists. Returns one message per fault, naming scheme and item.
QStringList Validate(const TSyntaxParser& parser, const QString& file)
{
    QStringList faults;
    const TSyntaxScheme& scheme = *parser.SyntaxScheme();
    const TSyntaxBlockList& blocks = *scheme.SyntaxBlocks();
    const TFontList& fonts = *scheme.FontTable();
    auto where = [&](const TSyntaxBlock* block, const QString& item) {
        return QStringLiteral("%1: block '%2': %3").arg(file, block ? block->Name() : QString(), item);
    };
    auto checkFont = [&](const TSyntaxBlock* block, const QString& item, int fontId) {
        if (fontId != -1 && !fonts.FindFontID(fontId))
            faults << where(block, QStringLiteral("%1 uses FontID %2 without a font-table entry").arg(item).arg(fontId));
    };
    QSet<int> ids;
    for (int b = 0; b < blocks.Count(); ++b) {
        const TSyntaxBlock* block = blocks.At(b);
        if (ids.contains(block->ID()))
            faults << where(block, QStringLiteral("ID %1 used twice").arg(block->ID()));
        ids.insert(block->ID());
        if (b == 0 ? block->ParentID() != -1 : !blocks.FindID(block->ParentID()))
            faults << where(block, QStringLiteral("ParentID %1 names no block").arg(block->ParentID()));
        for (int id : block->MoreParentIDList()) {
            if (!blocks.FindID(id))
                faults << where(block, QStringLiteral("MoreParentIDs names no block %1").arg(id));
        }
        if (b > 0 && block->BlockDelimiters()->Count() == 0)
            faults << where(block, QStringLiteral("no BlockDelimiters: the block cannot be entered"));
        for (int d = 0; d < block->BlockDelimiters()->Count(); ++d) {
            if (block->BlockDelimiters()->At(d)->Left().isEmpty())
                faults << where(block, QStringLiteral("BlockDelimiters %1 has no LeftDelimiter").arg(d));
        }
        static const char* const kSlots[] = {"FIText", "FIIntNum", "FIFloatNum", "FIHexNum", "FIDirective", "FISymbol",
                                             "FIIdentifier"};
        for (int slot = 0; slot < TSyntaxBlock::kFontSlotCount; ++slot)
            checkFont(block, kSlots[slot], block->FontSlot(TSyntaxBlock::TFontSlot(slot)));
        checkFont(block, "KeyFontID", block->KeyFontID());
        auto checkList = [&](const char* name, const TCollection* list, bool needsRight) {
            for (int i = 0; i < list->Count(); ++i) {
                const QString item = QStringLiteral("%1 %2").arg(name).arg(i);
                if (auto* keywords = qobject_cast<const TKeywordSet*>(list->Item(i))) {
                    checkFont(block, item, keywords->FontID());
                    if (keywords->KeywordBytes().trimmed().isEmpty())
                        faults << where(block, item + QStringLiteral(" has no keywords"));
                    continue;
                }
                auto* token = static_cast<const TLineToken*>(list->Item(i));
                checkFont(block, item, token->FontID());
                if (token->Left().isEmpty())
                    faults << where(block, item + QStringLiteral(" has no LeftDelimiter"));
                if (needsRight && static_cast<const TBlockToken*>(token)->Right().isEmpty())
                    faults << where(block, item + QStringLiteral(" has no RightDelimiter"));
            }
        };
        checkList("SingleLineCommentDelimiters", block->SingleLineCommentDelimiters(), false);
        checkList("MultiLineCommentDelimiters", block->MultiLineCommentDelimiters(), true);
        checkList("FullLineCommentDelimiters", block->FullLineCommentDelimiters(), false);
        checkList("SingleLineStringDelimiters", block->SingleLineStringDelimiters(), true);
        checkList("MultiLineStringDelimiters", block->MultiLineStringDelimiters(), true);
        checkList("NumPrefixes", block->NumPrefixes(), false);
        checkList("NumSuffixes", block->NumSuffixes(), false);
        checkList("NumPrefixesSuffixes", block->NumPrefixesSuffixes(), true);
        checkList("IdentPrefixes", block->IdentPrefixes(), false);
        checkList("IdentSuffixes", block->IdentSuffixes(), false);
        checkList("IdentPrefixesSuffixes", block->IdentPrefixesSuffixes(), true);
        checkList("KeywordSets", block->KeywordSets(), false);
        if (block->UseLineDirectives() && block->DirectivePrefixBytes().isEmpty())
            faults << where(block, QStringLiteral("line directives without a LineDirectivePrefix"));
    }
    const int paths = NestingPaths(blocks);
    if (paths < 0 || paths > LineState::kMaxPaths)
        faults << QStringLiteral("%1: the blocks can nest in %2 ways; a line state names at most %3")
                      .arg(file, paths < 0 ? QStringLiteral("endless") : QString::number(paths))
                      .arg(LineState::kMaxPaths);
    QSet<int> fontIds;
    for (int f = 0; f < fonts.Count(); ++f) {
        const TAttrItem* item = fonts.At(f);
        const QString name = QStringLiteral("%1: FontTable %2 (FontID %3)").arg(file).arg(f).arg(item->FontID());
        if (item->FontID() < 0 || item->FontID() > 254 || item->FontID() == 12)
            faults << name + QStringLiteral(": FontID outside 0..254 or the URL slot 12");
        if (fontIds.contains(item->FontID()))
            faults << name + QStringLiteral(": FontID used twice");
        fontIds.insert(item->FontID());
        if (!blocks.FindID(item->BlockID()))
            faults << name + QStringLiteral(": BlockID %1 names no block").arg(item->BlockID());
        if (!TMemoEnvOptions::Global().TextStyles()->Find(item->GlobalAttrID()))
            faults << name + QStringLiteral(": no global text style '%1'").arg(item->GlobalAttrID());
    }
    return faults;
}

TEST_P(Shipped, SchemeDataIsConsistent)
{
    auto parser = BuiltIn(GetParam());
    const QStringList faults = Validate(*parser, BuiltInSchemes::ComponentName(GetParam()) + ".txt");
    EXPECT_TRUE(faults.isEmpty()) << qPrintable(faults.join('\n'));
}

INSTANTIATE_TEST_SUITE_P(Schemes, Shipped,
                         ::testing::Values(TBuiltInScheme::Jsp, TBuiltInScheme::Java, TBuiltInScheme::Batch,
                                           TBuiltInScheme::Xml, TBuiltInScheme::Css, TBuiltInScheme::JavaScript,
                                           TBuiltInScheme::Json, TBuiltInScheme::Properties, TBuiltInScheme::Sql,
                                           TBuiltInScheme::Shell),
                         [](const auto& info) { return BuiltInSchemes::ComponentName(info.param).toStdString(); });

TEST(SchemeValidator, ReportsFileAndItem)
{
    auto parser = BuiltIn(TBuiltInScheme::Batch);
    TSyntaxBlock* root = parser->SyntaxScheme()->SyntaxBlocks()->At(0);
    root->SetFIIdentifier(40);
    root->SingleLineCommentDelimiters()->At(0)->SetLeft({});
    TSyntaxBlock* orphan = AddBlock(*parser, "Orphan", 5, 9, 0);
    orphan->SetMoreParentIDs("0, 8");
    // A block that opens inside itself nests without end.
    TSyntaxBlock* self = AddBlock(*parser, "Self", 6, 0, 0);
    AddOpening(self, "(", ")", true);
    self->SetMoreParentIDs("6");
    const QStringList faults = Validate(*parser, "BatParser.txt");
    EXPECT_TRUE(faults.contains("BatParser.txt: block 'Default': FIIdentifier uses FontID 40 without a font-table entry"))
        << qPrintable(faults.join('\n'));
    EXPECT_TRUE(faults.contains("BatParser.txt: block 'Default': SingleLineCommentDelimiters 0 has no LeftDelimiter"));
    EXPECT_TRUE(faults.contains("BatParser.txt: block 'Orphan': ParentID 9 names no block"));
    EXPECT_TRUE(faults.contains("BatParser.txt: block 'Orphan': MoreParentIDs names no block 8"));
    EXPECT_TRUE(faults.contains("BatParser.txt: the blocks can nest in endless ways; a line state names at most 256"))
        << qPrintable(faults.join('\n'));
}

// The rules of a block alone, written out: everything but where the block
// sits (name, ID, parents, the ways into it) and what folds (a page folds
// its scripts and styles as parts of the page), with each FontID replaced
// by the text style it paints with.
std::string RulesOf(const TSyntaxParser& parser, const QString& blockName)
{
    const TSyntaxScheme& scheme = *parser.SyntaxScheme();
    const TSyntaxBlock* found = nullptr;
    for (int b = 0; b < scheme.SyntaxBlocks()->Count(); ++b) {
        if (scheme.SyntaxBlocks()->At(b)->Name() == blockName)
            found = scheme.SyntaxBlocks()->At(b);
    }
    if (!found)
        return "no block " + blockName.toStdString();
    auto style = [&scheme](int fontId) {
        const TAttrItem* item = fontId == -1 ? nullptr : scheme.FindFontID(fontId);
        return fontId == -1 ? -1 : item ? int(qHash(item->GlobalAttrID()) & 0xFFFF) : -2;
    };
    TSyntaxParser holder;
    TSyntaxBlock& rules = *holder.SyntaxScheme()->SyntaxBlocks()->At(0);
    rules.Assign(*found);
    rules.SetName({});
    rules.SetID(0);
    rules.SetParentID(-1);
    rules.SetMoreParentIDs({});
    rules.BlockDelimiters()->Clear();
    rules.SetFoldBraces(false);
    rules.SetFoldComments(false);
    rules.SetFoldBlock(false);
    rules.SetFoldTags(false);
    rules.SetFoldRunWord({});
    for (int slot = 0; slot < TSyntaxBlock::kFontSlotCount; ++slot)
        rules.SetFontSlot(TSyntaxBlock::TFontSlot(slot), style(rules.FontSlot(TSyntaxBlock::TFontSlot(slot))));
    rules.SetKeyFontID(style(rules.KeyFontID()));
    for (TCollection* list : std::initializer_list<TCollection*>{
             rules.SingleLineCommentDelimiters(), rules.MultiLineCommentDelimiters(), rules.FullLineCommentDelimiters(),
             rules.SingleLineStringDelimiters(), rules.MultiLineStringDelimiters(), rules.NumPrefixes(),
             rules.NumSuffixes(), rules.NumPrefixesSuffixes(), rules.IdentPrefixes(), rules.IdentSuffixes(),
             rules.IdentPrefixesSuffixes(), rules.KeywordSets()}) {
        for (int i = 0; i < list->Count(); ++i) {
            auto* token = static_cast<TToken*>(list->Item(i));
            token->SetFontID(style(token->FontID()));
        }
    }
    return WriteComponent(holder).toStdString();
}

// The JavaScript and CSS of a JSP page are read by the rules of JavaScript
// and CSS files, and the blocks a file scheme repeats for its nesting keep
// the rules of the first.
TEST(SchemeText, ScriptsAndStyleSheetsInPagesAndFilesShareTheirRules)
{
    auto jsp = BuiltIn(TBuiltInScheme::Jsp);
    auto js = BuiltIn(TBuiltInScheme::JavaScript);
    auto css = BuiltIn(TBuiltInScheme::Css);
    const std::string script = RulesOf(*js, "JavaScript");
    EXPECT_EQ(RulesOf(*jsp, "JavaScript"), script);
    for (const char* nested : {"Template substitution", "Braces", "Inner braces", "Inner template substitution"})
        EXPECT_EQ(RulesOf(*js, nested), script) << nested;
    EXPECT_EQ(RulesOf(*jsp, "CSS"), RulesOf(*css, "CSS"));
    const std::string declarations = RulesOf(*css, "Declarations");
    EXPECT_EQ(RulesOf(*jsp, "CSS declarations"), declarations);
    EXPECT_EQ(RulesOf(*jsp, "Style attribute"), declarations);
    for (const char* nested : {"Nested declarations", "Inner declarations"})
        EXPECT_EQ(RulesOf(*css, nested), declarations) << nested;
}

// -- choosing a parser -----------------------------------------------------------------------------

TEST(BuiltInChoice, ByFileExtensionLowercased)
{
    const struct {
        TBuiltInScheme scheme;
        const char* names;
    } cases[] = {
        {TBuiltInScheme::Jsp, "a.jsp x.HTM b.html c.shtm d.SHTML e.htx dir.d/page.Jsp part.jspf WEB-INF/tags/row.tag"},
        {TBuiltInScheme::Java, "Main.java"},
        {TBuiltInScheme::Batch, "run.BAT"},
        {TBuiltInScheme::Xml, "web.xml s.xsd t.XSL t.xslt c.tld row.tagx p.jspx a-1.0.pom w.wsdl i.svg"},
        {TBuiltInScheme::Css, "site.css"},
        {TBuiltInScheme::JavaScript, "app.js m.mjs c.CJS"},
        {TBuiltInScheme::Json, "package.json tsconfig.jsonc"},
        {TBuiltInScheme::Properties, "Messages_de.properties"},
        {TBuiltInScheme::Sql, "schema.SQL"},
        {TBuiltInScheme::Shell, "start.sh build.bash"},
        {TBuiltInScheme::None, "x.txt noext x.html.bak x. java .bat.txt x.ts x.shtmlx"},
    };
    for (const auto& c : cases) {
        for (const QString& name : QString::fromLatin1(c.names).split(u' '))
            EXPECT_EQ(BuiltInSchemes::ForFileName(name), c.scheme) << qPrintable(name);
    }
}

TEST(BuiltInChoice, ByFirstLineWhenTheExtensionNamesNone)
{
    const struct {
        const char* file;
        const char* firstLine;
        TBuiltInScheme scheme;
    } cases[] = {
        {"start", "#!/bin/sh", TBuiltInScheme::Shell},
        {"start", "#!/bin/bash -e", TBuiltInScheme::Shell},
        {"start.txt", "#! /usr/bin/env bash", TBuiltInScheme::Shell},
        {"start", "#!/usr/bin/env -S dash -e", TBuiltInScheme::Shell},
        {"start", "#!/bin/ksh", TBuiltInScheme::Shell},
        {"start", "#!/usr/bin/python3", TBuiltInScheme::None},
        {"start", "#!/bin/shell", TBuiltInScheme::None},
        {"start", "# !/bin/sh", TBuiltInScheme::None},
        {"data", "<?xml version=\"1.0\"?>", TBuiltInScheme::Xml},
        {"data", "\xEF\xBB\xBF<?xml version='1.0'?>", TBuiltInScheme::Xml},
        {"data", "<?xml-stylesheet href='a'?>", TBuiltInScheme::None},
        {"page.html", "#!/bin/sh", TBuiltInScheme::Jsp},
        {"build.xml", "#!/bin/sh", TBuiltInScheme::Xml},
        {"empty", "", TBuiltInScheme::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuiltInSchemes::ForFile(QString::fromLatin1(c.file), c.firstLine), c.scheme) << c.file << ": " << c.firstLine;
}

TEST(BuiltInChoice, ByMenuTag)
{
    using BuiltInSchemes::ForTag;
    EXPECT_EQ(ForTag(0), TBuiltInScheme::None);
    EXPECT_EQ(ForTag(1), TBuiltInScheme::Jsp);
    EXPECT_EQ(ForTag(2), TBuiltInScheme::Java);
    EXPECT_EQ(ForTag(3), TBuiltInScheme::Batch);
    EXPECT_EQ(ForTag(4), TBuiltInScheme::Xml);
    EXPECT_EQ(ForTag(10), TBuiltInScheme::Shell);
    EXPECT_EQ(ForTag(11), TBuiltInScheme::None);
    EXPECT_EQ(ForTag(-1), TBuiltInScheme::None);
    EXPECT_EQ(BuiltInSchemes::Tag(TBuiltInScheme::Java), 2);
}

TEST(BuiltInChoice, WindowParsersAreCreatedOnceAndRecognised)
{
    TComponent owner;
    TBuiltInParsers parsers(&owner);
    TSyntaxParser* jsp = parsers.ForFileName("index.html");
    ASSERT_TRUE(jsp);
    EXPECT_EQ(jsp->Name(), "TarnelParser");
    EXPECT_EQ(jsp->Owner(), &owner);
    EXPECT_EQ(parsers.ForTag(1), jsp);
    EXPECT_EQ(parsers.ForTag(2)->Name(), "JavaParser");
    EXPECT_EQ(parsers.ForFileName("go.bat")->Name(), "BatParser");
    EXPECT_EQ(parsers.ForFileName("notes.txt"), nullptr);
    EXPECT_EQ(parsers.SchemeOf(jsp), TBuiltInScheme::Jsp);
    EXPECT_EQ(parsers.SchemeOf(nullptr), TBuiltInScheme::None);
    EXPECT_EQ(CreateBuiltInParser(TBuiltInScheme::None, &owner), nullptr);
}

} // namespace

