// Searching on past the end of the text (wrap around), the match a search
// leaves for the views to show, and replacing given ranges as one step.

#include "commandfixture.h"

#include <gtest/gtest.h>

namespace {

TSearchOptions Wrapping(const char* text, TSearchDirection direction = sdForward, bool wrap = true)
{
    TSearchOptions options;
    options.textToFind = QString::fromLatin1(text);
    options.promptOnReplace = false;
    options.direction = direction;
    options.wrapAround = wrap;
    return options;
}

TEST(WrapAround, SearchAgainGoesOnFromTheOtherEndOnlyWhenAsked)
{
    struct Row {
        const char* name;
        QByteArray text;
        TTextPos caret;
        TSearchOptions options;
        bool found;
        TTextPos caretAfter;
        bool wrapped;
    };
    const std::vector<Row> rows = {
        {"forward past the end finds the match above", "two\none\nx", {2, 0}, Wrapping("two"), true, {0, 3}, true},
        {"backward past the top finds the match below", "x\none\ntwo", {0, 1}, Wrapping("two", sdBackward), true,
         {2, 0}, true},
        {"a match ahead is found without wrapping", "a two\ntwo", {0, 0}, Wrapping("two"), true, {0, 5}, false},
        {"the caret inside the only match finds it", "xx needle yy", {0, 5}, Wrapping("needle"), true, {0, 9}, true},
        {"off, the end is the end", "two\none", {1, 0}, Wrapping("two", sdForward, false), false, {1, 0}, false},
        {"nothing anywhere", "one\none", {1, 0}, Wrapping("two"), false, {1, 0}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Doc doc(row.text, row.caret);
        EXPECT_EQ(doc.source.FindText(row.options), row.found);
        EXPECT_EQ(doc.Caret(), row.caretAfter);
        EXPECT_EQ(doc.source.FoundMatch().Valid(), row.found);
        EXPECT_EQ(doc.source.FoundMatch().wrapped, row.wrapped);
        // The message comes only when no match exists at all.
        EXPECT_EQ(doc.services.Messages().isEmpty(), row.found);
    }
}

TEST(WrapAround, InTheSelectedTextTheBlockIsTheScope)
{
    Doc doc("two\nA two\nB two\nC two", {2, 3});
    doc.Select({1, 0}, {2, 5});
    TSearchOptions options = Wrapping("two");
    options.scope = ssSelectedText;
    ASSERT_TRUE(doc.source.FindText(options));
    // Not line 0 (outside the block) and not line 3: the block's first match.
    EXPECT_EQ(doc.source.FoundMatch().line, 1);
    EXPECT_TRUE(doc.source.FoundMatch().wrapped);
}

TEST(WrapAround, ReplaceAllFromTheCaretTakesEveryMatchOnceInOneStep)
{
    struct Row {
        const char* name;
        TTextPos caret;
        TSearchDirection direction;
    };
    // The caret's line holds matches on both sides of the caret, and one
    // the caret stands inside.
    for (const Row& row : std::vector<Row>{{"forward", {1, 7}, sdForward},
                                          {"backward", {1, 7}, sdBackward},
                                          {"forward from inside a match", {1, 1}, sdForward},
                                          {"backward from inside a match", {1, 10}, sdBackward}}) {
        SCOPED_TRACE(row.name);
        Doc doc("ab x\nab ab ab ab\nab", row.caret);
        TSearchOptions options = Wrapping("ab", row.direction);
        options.replaceText = QStringLiteral("<ab>");
        options.replaceAll = true;
        ExpectOneUndoStep(doc, [&] {
            EXPECT_TRUE(doc.source.ReplaceText(options));
            EXPECT_EQ(doc.Lines(), (Texts{"<ab> x", "<ab> <ab> <ab> <ab>", "<ab>"}));
        });
    }
}

TEST(WrapAround, ReplaceWithoutAllTakesTheFirstMatchPastTheEnd)
{
    Doc doc("a.b\nc", {1, 0});
    TSearchOptions options = Wrapping(".");
    options.replaceText = QStringLiteral("-");
    EXPECT_TRUE(doc.source.ReplaceText(options));
    EXPECT_EQ(doc.Lines(), (Texts{"a-b", "c"}));
    EXPECT_TRUE(doc.services.Messages().isEmpty());
}

TEST(WrapAround, PromptedReplaceAsksAboutEachMatchOnce)
{
    Doc doc("x.y.z", {0, 2});
    TSearchOptions options = Wrapping(".");
    options.replaceText = QStringLiteral("+");
    options.replaceAll = true;
    options.promptOnReplace = true;
    doc.services.AnswerNext(TServices::anNo);
    doc.services.AnswerNext(TServices::anYes);
    EXPECT_TRUE(doc.source.ReplaceText(options));
    EXPECT_EQ(doc.Lines(), Texts{"x+y.z"});
    EXPECT_EQ(doc.services.Questions().size(), 2);
}

TEST(FoundMatch, StaysUntilTheTextChangesOrAnotherSearchRuns)
{
    quint16 reported = 0;
    Doc doc("one two\ntwo", {0, 0});
    doc.source.AttachView([&](const TMemoChange& change) { reported |= change.flags; });
    ASSERT_TRUE(doc.source.FindText(Wrapping("two")));
    const TFoundMatch first = doc.source.FoundMatch();
    EXPECT_EQ(first.line, 0);
    EXPECT_EQ(first.start, 4);
    EXPECT_EQ(first.end, 7);
    EXPECT_EQ(first.options.textToFind, "two");
    EXPECT_TRUE(reported & Change::kSearchMatch);

    // Search Again to the same text finds a new match, with a new serial.
    doc.source.MoveCaretTo({0, 0});
    ASSERT_TRUE(doc.source.FindText(Wrapping("two")));
    EXPECT_NE(doc.source.FoundMatch().serial, first.serial);

    reported = 0;
    doc.source.InsertString("x");
    EXPECT_FALSE(doc.source.FoundMatch().Valid());
    EXPECT_TRUE(reported & Change::kSearchMatch);

    ASSERT_TRUE(doc.source.FindText(Wrapping("two")));
    EXPECT_FALSE(doc.source.FindText(Wrapping("six")));
    EXPECT_FALSE(doc.source.FoundMatch().Valid());

    // A match found elsewhere (a search of files) is selected and shown.
    doc.source.SelectMatch(1, 0, 3, Wrapping("two"));
    EXPECT_EQ(doc.Selected(), "two");
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 3}));
    EXPECT_EQ(doc.source.FoundMatch().line, 1);
}

TEST(FoundMatch, IsInBytesWhileTheCaretIsInColumns)
{
    Doc doc("\tab", {0, 0});
    ASSERT_TRUE(doc.source.FindText(Wrapping("ab")));
    EXPECT_EQ(doc.source.FoundMatch().start, 1);
    EXPECT_EQ(doc.Caret().column, doc.source.DisplayColumn(0, 3));
}

TEST(ReplaceRanges, ReplacesEveryRangeAsOneUndoStepOrNothing)
{
    Doc doc("alpha beta\ngamma\ndelta beta", {1, 2});
    ExpectOneUndoStep(doc, [&] {
        EXPECT_TRUE(doc.source.ReplaceRanges({{0, 6, 4, "B"}, {2, 6, 4, "B"}, {0, 0, 5, "A"}}));
        EXPECT_EQ(doc.Lines(), (Texts{"A B", "gamma", "delta B"}));
    });
    const QByteArray before = doc.Text();
    // Overlapping ranges, a range past its line's end, a line past the text.
    for (const auto& bad : std::vector<std::vector<TCustomMemoSource::TRangeReplacement>>{
             {{0, 0, 3, "x"}, {0, 2, 2, "y"}}, {{1, 3, 5, "x"}}, {{7, 0, 1, "x"}}}) {
        EXPECT_FALSE(doc.source.ReplaceRanges(bad));
        EXPECT_EQ(doc.Text(), before);
    }
    doc.source.SetReadOnly(true);
    EXPECT_FALSE(doc.source.ReplaceRanges({{0, 0, 1, "x"}}));
    EXPECT_EQ(doc.Text(), before);
}

} // namespace
