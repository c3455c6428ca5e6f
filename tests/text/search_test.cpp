// Find, replace and go to line through the store, with every message and
// question answered by the scripted services.

#include "commandfixture.h"

#include "ansi.h"

#include <QElapsedTimer>
#include <QRegularExpression>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

TSearchOptions Search(const char* text)
{
    TSearchOptions options;
    options.textToFind = QString::fromLatin1(text);
    options.promptOnReplace = false;
    return options;
}

TSearchOptions Replacing(const char* text, const char* by, bool all = true)
{
    TSearchOptions options = Search(text);
    options.replaceText = QString::fromLatin1(by);
    options.replaceAll = all;
    return options;
}

// Keeps the global record of one test from the next.
struct GlobalRecord {
    GlobalRecord() : saved(TSearchOptions::Global()) {}
    ~GlobalRecord()
    {
        TSearchOptions::Global() = saved;
        TCustomMemoSource::SetGlobalCreateDialog({});
    }
    TSearchOptions saved;
};

TEST(Find, MovesTheCaretBehindTheMatchAndSelectsItOnlyWhenAsked)
{
    Doc doc("one two\nthree two", {0, 0});
    EXPECT_TRUE(doc.source.FindText(Search("two")));
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 7}));
    EXPECT_FALSE(doc.source.HasSelection());
    doc.source.SetOptions(doc.source.Options() | soSelectFoundText);
    EXPECT_TRUE(doc.source.FindText(Search("two")));
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 9}));
    EXPECT_EQ(doc.Selected(), "two");
    EXPECT_TRUE(doc.services.Messages().isEmpty());
}

TEST(Find, ReportsATextThatIsNotThere)
{
    Doc doc("one two", {0, 0});
    EXPECT_FALSE(doc.source.FindText(Search("six")));
    EXPECT_EQ(doc.services.Messages(), QStringList{"Search string 'six' not found"});
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 0}));
    // A character the 8-bit text cannot hold is never found.
    EXPECT_FALSE(doc.source.FindText(Search("tw\u0101")));
}

TEST(Find, CaseAndWholeWords)
{
    Doc doc("Total total+totally", {0, 0});
    TSearchOptions options = Search("total");
    options.caseSensitive = true;
    EXPECT_TRUE(doc.source.FindText(options));
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 11}));
    options.caseSensitive = false;
    options.wholeWordsOnly = true;
    doc.Place({0, 0});
    EXPECT_TRUE(doc.source.FindText(options));
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 5}));
    EXPECT_TRUE(doc.source.FindText(options));
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 11}));
    EXPECT_FALSE(doc.source.FindText(options));
}

TEST(Find, BackwardEndsBeforeTheMatch)
{
    Doc doc("ab ab\nab", {1, 2});
    TSearchOptions options = Search("ab");
    options.direction = sdBackward;
    std::vector<TTextPos> places;
    while (doc.source.FindText(options))
        places.push_back(doc.Caret());
    EXPECT_EQ(places, (std::vector<TTextPos>{{1, 0}, {0, 3}, {0, 0}}));
}

TEST(Find, EntireScopeStartsAtTheTopAndSearchAgainGoesOn)
{
    GlobalRecord keep;
    Doc doc("x\nx\nx", {2, 1});
    TSearchOptions options = Search("x");
    options.origin = soEntireScope;
    TSearchOptions::Global() = options;
    EXPECT_TRUE(doc.source.Find());
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 1}));
    EXPECT_TRUE(doc.source.SearchAgain());
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 1}));
    EXPECT_TRUE(doc.source.SearchAgain());
    EXPECT_FALSE(doc.source.SearchAgain());
}

TEST(Find, RegularExpressionsAndTheirEmptyMatchesAlwaysEnd)
{
    Doc doc("a1 b22\nc333", {0, 0});
    TSearchOptions options = Search("[0-9]+");
    options.regularExpressions = true;
    doc.source.SetOptions(doc.source.Options() | soSelectFoundText);
    QStringList found;
    while (doc.source.FindText(options))
        found << doc.Selected();
    EXPECT_EQ(found, (QStringList{"1", "22", "333"}));

    options.textToFind = "x*";
    doc.Place({0, 0});
    int count = 0;
    while (doc.source.FindText(options) && count < 100)
        ++count;
    EXPECT_EQ(count, 11); // every place of both lines, then the end
}

// Whatever passes lines over without searching each of them (the literal
// scanner, a literal every match of an expression holds, the runs of an
// expression over blocks of lines) must find every match that
// searching each line by itself finds, forward and backward, in a text
// long enough for blocks of every size.
TEST(Find, EveryMatchOfALineIsFoundWhereverTheLinesArePassedOver)
{
    // Windows-1252 bytes: Š, š, À, à, ÿ and Ÿ among them.
    static const char* const kWords[] = {"alpha", "beta", "gamma", "\x8a" "ta", "\x9a" "TA", "\xc0" "B",
                                         "\xe0" "b", "\xff" "es", "\x9f" "ES", "end", "ended", "x", "Needle",
                                         "needle42", "a long literal needle of text", "xNeedle"};
    QByteArray text;
    quint32 seed = 7;
    auto next = [&seed](quint32 n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int line = 0; line < 3000; ++line) {
        const quint32 words = next(7);
        for (quint32 w = 0; w < words; ++w) {
            const quint32 pick = next(100);
            // The needles are rare, the other words common.
            const quint32 index = pick < 94 ? pick % 12 : 12 + pick % 4;
            text += (w ? " " : "") + QByteArray(kWords[index]);
        }
        text += '\n';
    }
    Doc doc(text, {0, 0});
    QList<QByteArray> lines;
    for (int i = 0; i < doc.source.LineCount(); ++i)
        lines << doc.source.LineText(i);

    struct Row {
        const char* pattern; // Windows-1252
        bool regular;
        bool caseSensitive;
    };
    const Row rows[] = {
        {"needle", false, false},         {"Needle", false, true},
        {"\x8a" "TA", false, false},       {"\xe0" "B", false, false},
        {"\xff" "ES", false, false},       {"literal needle of", false, false},
        {"needle[0-9]+", true, false},    {"[a-z]+ed$", true, false},
        {"\\bend\\b", true, true},        {"(?<!\\s)Needle", true, true},
        {"ta\\s+\\S", true, false},       {"^\xc0" "B", true, false},
        {"\x8a" "TA\\d?", true, false},    {"(?i)NEEDLE", true, true},
        {"[a-z]eedle[0-9]+", true, false}, {"N?e{1,2}dle", true, true},
    };
    for (const Row& row : rows) {
        const QString pattern = Ansi::ToQString(QByteArray(row.pattern));
        // Each line by itself: its matches from the left, none overlapping.
        std::vector<std::pair<int, int>> expected; // line, start
        std::vector<int> ends;
        for (int i = 0; i < lines.size(); ++i) {
            const QString line = Ansi::ToQString(lines[i]);
            if (row.regular) {
                const QRegularExpression expression(
                    pattern, row.caseSensitive ? QRegularExpression::NoPatternOption
                                               : QRegularExpression::CaseInsensitiveOption);
                for (auto m = expression.match(line); m.hasMatch(); m = expression.match(line, m.capturedEnd())) {
                    expected.emplace_back(i, int(m.capturedStart()));
                    ends.push_back(int(m.capturedEnd()));
                }
            } else {
                const Qt::CaseSensitivity cs = row.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
                for (qsizetype at = line.indexOf(pattern, 0, cs); at >= 0;
                     at = line.indexOf(pattern, at + pattern.size(), cs)) {
                    expected.emplace_back(i, int(at));
                    ends.push_back(int(at + pattern.size()));
                }
            }
        }
        ASSERT_GE(expected.size(), 5u) << row.pattern;
        for (TSearchDirection direction : {sdForward, sdBackward}) {
            SCOPED_TRACE(std::string(row.pattern) + (direction == sdForward ? " forward" : " backward"));
            TSearchOptions options = Search("");
            options.textToFind = pattern;
            options.regularExpressions = row.regular;
            options.caseSensitive = row.caseSensitive;
            options.direction = direction;
            const int last = doc.source.LineCount() - 1;
            doc.Place(direction == sdForward ? TTextPos{0, 0} : TTextPos{last, doc.source.LineLength(last)});
            std::vector<std::pair<int, int>> found;
            while (found.size() <= expected.size() && doc.source.FindText(options)) {
                const TTextPos caret = doc.Caret();
                // Forward the caret ends behind the match, backward before it.
                if (direction == sdBackward) {
                    found.emplace_back(caret.line, caret.column);
                    continue;
                }
                const auto it = std::find_if(expected.begin(), expected.end(), [&](const auto& e) {
                    return e.first == caret.line && ends[size_t(&e - expected.data())] == caret.column;
                });
                found.emplace_back(caret.line, it == expected.end() ? -caret.column : it->second);
            }
            std::vector<std::pair<int, int>> want = expected;
            if (direction == sdBackward)
                std::reverse(want.begin(), want.end());
            EXPECT_EQ(found, want);
        }
    }
}

TEST(Find, AnInvalidExpressionIsReportedWithItsPosition)
{
    Doc doc("a(b", {0, 0});
    TSearchOptions options = Search("a(b");
    options.regularExpressions = true;
    EXPECT_FALSE(doc.source.FindText(options));
    EXPECT_EQ(doc.services.Messages(), QStringList{"a(b is invalid mask at (4): missing closing parenthesis"});
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 0}));

    bool told = false;
    doc.source.OnSearchException = [&](TCustomMemoSource&, const QString&, bool& handled) { told = handled = true; };
    EXPECT_FALSE(doc.source.ReplaceText(options));
    EXPECT_TRUE(told);
    EXPECT_EQ(doc.services.Messages().size(), 1);
    EXPECT_EQ(doc.Lines(), Texts{"a(b"});
}

// Nested repeats over a long line make the expression engine give up after
// its own limit of work: the search stops there with a message instead of
// passing over the line as if nothing were in it (or freezing the window).
TEST(Find, AnExpressionTheEngineGivesUpOnStopsTheSearchWithAMessage)
{
    const QByteArray longLine = QByteArray(100000, 'a') + "!";
    Doc doc(longLine + "\naaab\nx", {0, 0});
    QElapsedTimer timer;
    timer.start();
    TSearchOptions options = Search("(a+)+b");
    options.regularExpressions = true;
    EXPECT_TRUE(doc.source.FindText(options));
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 4}));

    doc.Place({0, 0});
    options = Search("(a|a)+$");
    options.regularExpressions = true;
    EXPECT_FALSE(doc.source.FindText(options));
    const QString stopped = "Search for '(a|a)+$' stopped at line 1: the regular expression needs too many steps on that "
                            "line. Try a simpler expression.";
    EXPECT_EQ(doc.services.Messages(), QStringList{stopped});
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 0}));

    options = Replacing("(a|a)+$", "z");
    options.regularExpressions = true;
    EXPECT_FALSE(doc.source.ReplaceText(options));
    EXPECT_EQ(doc.services.Messages(), (QStringList{stopped, stopped}));
    EXPECT_EQ(doc.source.Lines().Get(0), longLine);
    EXPECT_FALSE(doc.source.Modified());
    RecordProperty("milliseconds", int(timer.elapsed()));
}

TEST(Find, TheSelectedTextScopeAndItsTwoMessages)
{
    Doc doc("x1 x2\nx3 x4", {0, 0});
    TSearchOptions options = Search("x");
    options.scope = ssSelectedText;
    EXPECT_FALSE(doc.source.FindText(options));
    doc.source.SetOptions(doc.source.Options() | soPersistentBlocks);
    doc.Select({0, 2}, {1, 2});
    doc.Place({1, 4});
    EXPECT_FALSE(doc.source.FindText(options));
    EXPECT_EQ(doc.services.Messages(),
              (QStringList{"Tried to search marked block but it is invalid",
                           "Tried to search marked block from cursor but cursor is outside block"}));

    options.origin = soEntireScope;
    EXPECT_TRUE(doc.source.FindText(options));
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 4}));
    options.origin = soFromCursor;
    EXPECT_TRUE(doc.source.FindText(options));
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 1}));
    EXPECT_FALSE(doc.source.FindText(options)); // "x4" lies outside the block
}

TEST(Replace, AllInOneUndoStep)
{
    Doc doc("a.b.c\nd.e", {0, 0});
    ExpectOneUndoStep(doc, [&] {
        EXPECT_TRUE(doc.source.ReplaceText(Replacing(".", "::")));
        EXPECT_EQ(doc.Lines(), (Texts{"a::b::c", "d::e"}));
        EXPECT_EQ(doc.Caret(), (TTextPos{1, 3}));
    });
}

TEST(Replace, ACancelledReplaceAllTakesBackEverythingItReplaced)
{
    QByteArray text;
    for (int i = 0; i < 20'000; ++i)
        text += "a.b\n";
    Doc doc(text, {0, 0});
    // A small undo limit must not drop the records the cancel needs.
    doc.source.SetUndoLimit(10);
    const QByteArray before = doc.Text();
    doc.services.CancelNextProgress(2);
    EXPECT_FALSE(doc.source.ReplaceText(Replacing(".", "::")));
    EXPECT_EQ(doc.Text(), before);
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 0}));
    EXPECT_FALSE(doc.source.Modified());
    EXPECT_FALSE(doc.source.CanUndo());
    EXPECT_FALSE(doc.source.CanRedo());
    EXPECT_TRUE(doc.services.Calls().isEmpty());
    EXPECT_EQ(doc.services.ProgressCaptions(), QStringList{"Replacing"});
    EXPECT_EQ(doc.services.ProgressOpen(), 0);

    // Let run, it replaces everything as one step.
    EXPECT_TRUE(doc.source.ReplaceText(Replacing(".", "::")));
    EXPECT_EQ(doc.Lines().at(19'999), "a::b");
    doc.source.Undo();
    EXPECT_EQ(doc.Text(), before);
}

TEST(Replace, WithoutAllTakesTheNextOccurrenceOnly)
{
    Doc doc("a.b.c", {0, 2});
    EXPECT_TRUE(doc.source.ReplaceText(Replacing(".", "-", false)));
    EXPECT_EQ(doc.Lines(), Texts{"a.b-c"});
    EXPECT_FALSE(doc.source.ReplaceText(Replacing(".", "-", false)));
    EXPECT_EQ(doc.services.Messages(), QStringList{"Search string '.' not found"});
}

TEST(Replace, PromptAnswersYesNoAllAndCancel)
{
    Doc doc("x x x x x", {0, 0});
    TSearchOptions options = Replacing("x", "y");
    options.promptOnReplace = true;
    doc.services.AnswerNext(TServices::anYes);
    doc.services.AnswerNext(TServices::anNo);
    doc.services.AnswerNext(TServices::anAll);
    EXPECT_TRUE(doc.source.ReplaceText(options));
    EXPECT_EQ(doc.Lines(), Texts{"y x y y y"});
    EXPECT_EQ(doc.services.Questions(), QStringList(3, "Replace this occurence of 'x'?"));

    doc.services.ClearCalls();
    doc.Place({0, 0});
    doc.services.AnswerNext(TServices::anNo);
    doc.services.AnswerNext(TServices::anCancel);
    options.textToFind = "y";
    EXPECT_FALSE(doc.source.ReplaceText(options));
    EXPECT_EQ(doc.Lines(), Texts{"y x y y y"});
    EXPECT_EQ(doc.services.Questions().size(), 2);
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 0}));
}

TEST(Replace, TheViewSeesTheOccurrenceSelectedBeforeEachQuestion)
{
    Doc doc("ab ab", {0, 1});
    doc.source.SetOptions(doc.source.Options() & ~TStringsOptions(soGroupUndo));
    std::vector<std::pair<TTextPos, QString>> shown;
    const int view = doc.source.AttachView(
        [&](const TMemoChange&) { shown.emplace_back(doc.Caret(), doc.source.HasSelection() ? doc.Selected() : "-"); });
    shown.clear();
    doc.services.AnswerNext(TServices::anYes);
    doc.services.AnswerNext(TServices::anYes);
    TSearchOptions options = Replacing("ab", "c");
    options.promptOnReplace = true;
    options.origin = soEntireScope;
    doc.source.ReplaceText(options);
    // The caret at the occurrence scrolls it into view; after the last
    // answer the selection is what it was before.
    EXPECT_EQ(shown, (std::vector<std::pair<TTextPos, QString>>{{{0, 0}, "ab"}, {{0, 2}, "ab"}, {{0, 3}, "-"}}));
    doc.source.DetachView(view);
    doc.source.Undo();
    EXPECT_EQ(doc.Lines(), Texts{"ab ab"});
}

TEST(Replace, QuestionsInsideTheBlockKeepTheBlock)
{
    Doc doc("ab ab\nab ab", {0, 0});
    doc.source.SetOptions(doc.source.Options() | soPersistentBlocks);
    doc.Select({0, 3}, {1, 2});
    TSearchOptions options = Replacing("ab", "c");
    options.promptOnReplace = true;
    options.scope = ssSelectedText;
    options.origin = soEntireScope;
    doc.services.AnswerNext(TServices::anYes);
    doc.services.AnswerNext(TServices::anYes);
    EXPECT_TRUE(doc.source.ReplaceText(options));
    EXPECT_EQ(doc.Lines(), (Texts{"ab c", "c ab"}));
    EXPECT_EQ(doc.services.Questions().size(), 2);
    EXPECT_EQ(doc.source.BlockBegin(), (TTextPos{0, 3}));
}

TEST(Replace, ExpressionGroupsBackwardAndReadOnlyLines)
{
    Doc doc("f(a, b)\ng(c, d)\nh(e, f)", {2, 7});
    doc.source.SetLineReadOnly(1, true);
    TSearchOptions options = Replacing("(\\w), (\\w)", "\\2, \\1");
    options.regularExpressions = true;
    options.direction = sdBackward;
    EXPECT_TRUE(doc.source.ReplaceText(options));
    EXPECT_EQ(doc.Lines(), (Texts{"f(b, a)", "g(c, d)", "h(f, e)"}));
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 2}));
}

TEST(Replace, EmptyMatchesAreReplacedOnceEach)
{
    Doc doc("ab\n\ncd", {0, 0});
    TSearchOptions options = Replacing("^", "> ");
    options.regularExpressions = true;
    options.origin = soEntireScope;
    EXPECT_TRUE(doc.source.ReplaceText(options));
    EXPECT_EQ(doc.Lines(), (Texts{"> ab", "> ", "> cd"}));
}

TEST(Replace, InsideTheBlockOnly)
{
    Doc doc("aaaa\naaaa", {0, 0});
    doc.source.SetOptions(doc.source.Options() | soPersistentBlocks);
    doc.Select({0, 1}, {1, 2}, smBlock);
    TSearchOptions options = Replacing("a", "b");
    options.scope = ssSelectedText;
    options.origin = soEntireScope;
    EXPECT_TRUE(doc.source.ReplaceText(options));
    EXPECT_EQ(doc.Lines(), (Texts{"abba", "abba"}));
}

TEST(Dialogs, TheHookEditsACopyThatBecomesTheRecordWhenConfirmed)
{
    GlobalRecord keep;
    Doc doc("one two one", {0, 5});
    TSearchOptions::Global() = Search("zzz");
    std::vector<TDialogKind> opened;
    bool confirm = false;
    doc.source.OnCreateDialog = [&](TCustomMemoSource&, TDialogKind kind, TSearchOptions& options, int&) {
        opened.push_back(kind);
        EXPECT_EQ(options.textToFind, "two"); // the word at the caret
        options.textToFind = "one";
        return confirm;
    };
    EXPECT_FALSE(doc.source.Find());
    EXPECT_EQ(TSearchOptions::Global().textToFind, "two");
    confirm = true;
    EXPECT_TRUE(doc.source.Find());
    EXPECT_EQ(TSearchOptions::Global().textToFind, "one");
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 11}));

    doc.source.SetOptions(doc.source.Options() & ~TStringsOptions(soFindTextAtCursor));
    doc.Place({0, 5});
    doc.source.OnCreateDialog = [&](TCustomMemoSource&, TDialogKind kind, TSearchOptions& options, int&) {
        opened.push_back(kind);
        EXPECT_EQ(options.textToFind, "one");
        options.replaceText = "1";
        options.replaceAll = true;
        return true;
    };
    EXPECT_TRUE(doc.source.Replace());
    EXPECT_EQ(doc.Lines(), Texts{"one two 1"});
    EXPECT_EQ(opened, (std::vector<TDialogKind>{dkFind, dkFind, dkReplace}));
}

TEST(Dialogs, WithoutAHookTheRecordIsUsedAsItIs)
{
    GlobalRecord keep;
    Doc doc("one two", {0, 0});
    TSearchOptions::Global() = Search("two");
    EXPECT_TRUE(doc.source.Find());
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 7}));
    EXPECT_FALSE(doc.source.GotoLine());

    int asked = 0;
    TCustomMemoSource::SetGlobalCreateDialog([&](TCustomMemoSource&, TDialogKind, TSearchOptions&, int&) {
        ++asked;
        return false;
    });
    EXPECT_FALSE(doc.source.Find());
    EXPECT_EQ(asked, 1);
}

TEST(Dialogs, GoToLineShowsTheCaretLineAndRefusesNumbersOutsideTheText)
{
    GlobalRecord keep;
    Doc doc("a\nb\nc", {1, 1});
    int answer = 0;
    doc.source.OnCreateDialog = [&](TCustomMemoSource&, TDialogKind kind, TSearchOptions&, int& line) {
        EXPECT_EQ(kind, dkGotoLine);
        EXPECT_EQ(line, doc.Caret().line + 1);
        line = answer;
        return true;
    };
    answer = 7;
    EXPECT_FALSE(doc.source.GotoLine());
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 1}));
    EXPECT_EQ(doc.services.Messages(), QStringList{"Line number 7 is out of range (1 to 3)"});
    answer = 3;
    EXPECT_TRUE(doc.source.GotoLine());
    EXPECT_EQ(doc.Caret(), (TTextPos{2, 0}));
}

} // namespace
