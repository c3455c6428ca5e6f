// Random edit scripts replayed against a plain model of the text: after every
// operation the store must read and save as the model does, line ends
// included, and show the attributes a full parse of the model gives, also
// after its attribute cache was emptied, and for the columns a view shows
// (in every third script with lines parsed again only around their edits,
// as long lines are); undoing everything must give back the loaded file
// byte for byte, and redoing everything the edited one.
//
// EDIT_SEEDS=first-last runs another range of scripts (tools/random-edits.sh
// runs long ranges under AddressSanitizer); EDIT_SEED=n replays one script.

#include "memosource.h"
#include "simpleparser.h"
#include "sourcestrings.h"
#include "textfixture.h"
#include "textmodel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

std::string RandomText(std::mt19937& random, int maxLength)
{
    static const char kChars[] = "ab x";
    std::uniform_int_distribution<int> length(1, maxLength);
    std::uniform_int_distribution<int> pick(0, 3);
    std::string s(size_t(length(random)), ' ');
    for (char& c : s)
        c = kChars[pick(random)];
    return s;
}

// Every "x" opens or closes a span that runs on over line ends, so that an
// edit changes the states of the lines after it; "b" has an attribute of
// its own inside and outside a span.
class TSpanParser : public TSimpleParser {
public:
    quint32 ParseLine(std::string_view text, quint32 state, uchar* attrs) override
    {
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == 'x')
                state ^= 1;
            attrs[i] = uchar(state + (text[i] == 'b' ? 2 : 0));
        }
        return state;
    }
    // Every position is a token boundary and the state all there is, so
    // that lines of a few characters exercise the store's long-line path.
    bool Resumable() const override { return true; }
    int ResumeReach() const override { return 0; }
    quint32 ParseFrom(std::string_view text, const TResumePoint& from, TResumablePass& pass) override
    {
        quint32 state = from.state;
        int last = from.pos;
        int old = 0;
        pass.converged = false;
        for (int i = from.pos; i < int(text.size()); ++i) {
            if (i > from.pos) {
                pass.stoppedAt = i;
                if (i >= pass.limit)
                    return state;
                const TResumePoint here{i, state, 0};
                while (old < pass.oldCount && pass.old[old].pos < i)
                    ++old;
                if (i >= pass.stopFrom && old < pass.oldCount && pass.old[old] == here) {
                    pass.converged = true;
                    return state;
                }
                if (pass.points && i - last >= pass.spacing) {
                    pass.points->push_back(here);
                    last = i;
                }
            }
            if (text[size_t(i)] == 'x')
                state ^= 1;
            if (i >= pass.attrFrom && i < pass.attrTo)
                pass.attrs[i - pass.attrFrom] = uchar(state + (text[size_t(i)] == 'b' ? 2 : 0));
        }
        pass.stoppedAt = int(text.size());
        return state;
    }
};

QByteArray StoredAttributes(TMemoSource& source, int line)
{
    int length = 0;
    const uchar* attrs = source.LineAttributes(line, &length);
    return QByteArray(reinterpret_cast<const char*>(attrs), attrs ? length : 0);
}

void ExpectStoreIsModel(TMemoSource& source, const TextModel& model, unsigned seed, const char* where)
{
    ASSERT_EQ(source.Lines().Text(), model.Text()) << "seed " << seed << " " << where;
    ASSERT_EQ(source.SavedBytes(), model.Saved()) << "seed " << seed << " " << where;
    ASSERT_EQ(source.Caret(), (TTextPos{model.line, model.column})) << "seed " << seed << " " << where;

    // The attributes of a full parse from the first line, before and after
    // the cache is emptied (the store then parses each line again from its
    // kept start state).
    TSpanParser full;
    quint32 state = 0;
    std::vector<QByteArray> expected;
    for (const ModelLine& line : model.lines) {
        QByteArray attrs(qsizetype(line.text.size()), '\0');
        state = full.ParseLine(line.text, state, reinterpret_cast<uchar*>(attrs.data()));
        expected.push_back(attrs);
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < model.Count(); ++i)
            ASSERT_EQ(StoredAttributes(source, i), expected[size_t(i)])
                << "seed " << seed << " " << where << " line " << i << (pass ? " after eviction" : "");
        source.Strings().Attributes().Clear();
    }
    // What a view asks for: the attributes of the columns it shows.
    for (int i = 0; i < model.Count(); ++i) {
        const int n = int(expected[size_t(i)].size());
        for (int from : {n / 2, 0}) {
            int first = 0;
            int length = 0;
            const uchar* attrs = source.LineAttributes(i, from, n, &first, &length);
            const QByteArray shown = attrs && first <= from && first + length >= n
                                         ? QByteArray(reinterpret_cast<const char*>(attrs) + (from - first), n - from)
                                         : QByteArray();
            ASSERT_EQ(shown, expected[size_t(i)].mid(from)) << "seed " << seed << " " << where << " line " << i
                                                              << " from column " << from;
        }
    }
}

void RunScript(unsigned seed, bool groupUndo, bool keepTrailing)
{
    std::mt19937 random(seed);
    auto roll = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };

    // A file of a few lines, with blanks at their ends and any mix of line
    // ends, the last line ending or not.
    std::string file;
    for (int i = roll(0, 4); i > 0; --i) {
        file += RandomText(random, 6);
        static const char* const kEnds[] = {"\r\n", "\n", "\r", "\r\n"};
        file += kEnds[roll(0, 3)];
    }
    if (roll(0, 2) == 0)
        file += RandomText(random, 3);
    TextModel model;
    model.Load(file);
    const QByteArray loaded = QByteArray::fromStdString(file);

    TMemoSource source;
    source.SetOptions(groupUndo ? source.Options() | soGroupUndo : source.Options() & ~TStringsOptions(soGroupUndo));
    source.SetKeepTrailingBlanks(keepTrailing);
    // A cache of two lines: edits and parses evict all the time.
    TSpanParser parser;
    source.SetSyntaxParser(&parser);
    source.Strings().Attributes().SetCapacity(2);
    // Every third script treats lines of four characters on as long lines,
    // with a resume point at every other column.
    if (seed % 3 == 0)
        source.SetLongLineLimits(4, 2);
    source.Lines().SetText(loaded);
    source.SetSavePoint();
    ExpectStoreIsModel(source, model, seed, "loaded");
    if (testing::Test::HasFatalFailure())
        return;

    for (int round = 0; round < 2; ++round) {
        const int steps = roll(5, 40);
        for (int step = 0; step < steps; ++step) {
            const int op = roll(0, 11);
            const int reason = 20 + roll(0, 2);
            source.BeginUpdate(reason);
            switch (op) {
            case 0:
            case 1: {
                const std::string s = RandomText(random, 3);
                source.InsertString(QByteArray::fromStdString(s));
                model.Insert(s);
                break;
            }
            case 2: {
                const int n = roll(1, 3);
                source.DeleteChars(n);
                model.Delete(n);
                break;
            }
            case 3:
                source.InsertLineBreak();
                model.LineBreak();
                break;
            case 4:
                source.JoinLines();
                model.Join();
                break;
            case 5:
            case 6: {
                const int dLines = roll(-2, 2);
                const int dColumns = roll(-4, 5);
                source.MoveCaret(dLines, dColumns);
                model.Move(dLines, dColumns, keepTrailing);
                break;
            }
            case 7: {
                const TTextPos a{roll(0, 3), roll(0, 6)};
                const TTextPos b{roll(0, 3), roll(0, 6)};
                source.SetSelection(a, b, roll(1, 2));
                break;
            }
            case 8: {
                const int i = roll(0, std::max(0, model.Count() - 1));
                const std::string s = RandomText(random, 5);
                source.Lines().Put(i, QByteArray::fromStdString(s));
                if (i < model.Count())
                    model.PutLine(i, s);
                break;
            }
            case 9: {
                const int i = roll(0, model.Count());
                const std::string s = RandomText(random, 5);
                source.Lines().Insert(i, QByteArray::fromStdString(s));
                model.InsertLine(i, s);
                break;
            }
            case 10: {
                if (model.Count() > 0) {
                    const int i = roll(0, model.Count() - 1);
                    source.Lines().Delete(i);
                    model.DeleteLine(i);
                }
                break;
            }
            case 11:
                source.ExtendSelection(source.Caret(), {roll(0, 3), roll(0, 6)}, roll(1, 2));
                break;
            }
            source.EndUpdate();
            const std::string where = "step " + std::to_string(step) + " op " + std::to_string(op);
            ExpectStoreIsModel(source, model, seed, where.c_str());
            if (testing::Test::HasFatalFailure())
                return;
        }

        const QByteArray edited = source.SavedBytes();
        while (source.CanUndo())
            source.Undo();
        ASSERT_EQ(source.SavedBytes(), loaded) << "seed " << seed;
        ASSERT_EQ(source.Caret(), (TTextPos{0, 0})) << "seed " << seed;
        ASSERT_FALSE(source.Modified()) << "seed " << seed;
        while (source.CanRedo())
            source.Redo();
        ASSERT_EQ(source.SavedBytes(), edited) << "seed " << seed;
        ASSERT_EQ(source.Caret(), (TTextPos{model.line, model.column})) << "seed " << seed;
        if (edited != loaded) {
            ASSERT_TRUE(source.Modified()) << "seed " << seed;
        }
        // An empty text may be held as no line or as one empty line that
        // ends nowhere, and replaying edits marks the lines it touches: the
        // model follows the store in both before the next round.
        if (model.Saved().isEmpty() && source.SavedBytes().isEmpty())
            model.lines.assign(size_t(source.LineCount()), ModelLine{"", TStringItem::kEndNone, false});
        for (int i = 0; i < model.Count(); ++i)
            model.lines[size_t(i)].edited = source.Strings().Item(i).Has(TStringItem::kEdited);
    }
}

// The seeds of a run: EDIT_SEED=n for one, EDIT_SEEDS=first-last for a range,
// else the given range.
std::pair<unsigned, unsigned> Seeds(unsigned first, unsigned last)
{
    if (const char* one = std::getenv("EDIT_SEED"))
        return {unsigned(std::atol(one)), unsigned(std::atol(one))};
    if (const char* range = std::getenv("EDIT_SEEDS")) {
        const std::string text(range);
        const size_t dash = text.find('-');
        if (dash != std::string::npos)
            return {unsigned(std::stoul(text.substr(0, dash))), unsigned(std::stoul(text.substr(dash + 1)))};
    }
    return {first, last};
}

TEST(RandomEdits, UndoAndRedoReplayThousandsOfScriptsExactly)
{
    const auto [first, last] = Seeds(1, 4000);
    for (unsigned seed = first; seed <= last; ++seed) {
        RunScript(seed, seed % 2 == 0, seed % 5 == 0);
        if (HasFatalFailure())
            return;
        if (seed % 10000 == 0)
            std::fprintf(stderr, "replayed scripts up to seed %u\n", seed);
    }
    std::fprintf(stderr, "replayed %u scripts (seeds %u-%u)\n", last - first + 1, first, last);
}

} // namespace
