// Random scripts of editing commands on text with tabs, blanks, brackets and
// a read-only line, in every mode the commands know. Each command that
// changed anything must be undone by exactly one undo step, back to the text
// and caret it started from; redoing everything must give the edited text
// again. No command may leave a line break inside a line.

#include "commandfixture.h"

#include "ansi.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct Step {
    QByteArray text;
    TTextPos caret;
    int command;
};

QByteArray RandomText(std::mt19937& random, int maxLength, bool breaks)
{
    static const char kChars[] = "ab x\t(){}.\xe9";
    static const char kWithBreaks[] = "ab x\t(){}.\xe9\n";
    const char* chars = breaks ? kWithBreaks : kChars;
    const int count = int(std::strlen(chars));
    std::uniform_int_distribution<int> length(1, maxLength);
    std::uniform_int_distribution<int> pick(0, count - 1);
    QByteArray s(length(random), ' ');
    for (char& c : s)
        c = chars[pick(random)];
    return s;
}

void RunScript(unsigned seed)
{
    std::mt19937 random(seed);
    auto roll = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    auto chance = [&](int percent) { return roll(1, 100) <= percent; };

    Doc doc;
    TMemoSource& s = doc.source;
    TStringsOptions options = s.Options() & ~TStringsOptions(soGroupUndo);
    for (TStringsOption option : {soUseTabCharacter, soAutoIndent, soOverwriteBlocks, soPersistentBlocks,
                                  soBackUnindents, soBeyondFileEnd, soUsePrevIndent, soOptimalFill, soSelectFoundText})
        options.setFlag(option, chance(50));
    s.SetOptions(options);
    s.SetKeepTrailingBlanks(chance(30));
    s.SetBlockIndent(roll(0, 3));
    s.SetTemplatesType("Java");
    s.CodeTemplates()->Add("ab", "if (|) {\n\t\n}");
    s.Lines().SetText(RandomText(random, 40, true));
    if (s.LineCount() > 1 && chance(40))
        s.SetLineReadOnly(roll(0, s.LineCount() - 1), true);
    s.SetSavePoint();
    const QByteArray loaded = doc.Text();

    std::vector<Step> steps;
    const int count = roll(20, 60);
    for (int i = 0; i < count; ++i) {
        const QByteArray before = doc.Text();
        const TTextPos caret = doc.Caret();
        const int records = s.UndoList().Count();
        const int extend = roll(0, 2);
        int command = roll(0, 29);
        // Copying a block that holds most of the text doubles it: the text
        // is kept small enough for thousands of scripts.
        if (command == 15 && before.size() > 2000)
            command = 17;
        auto somewhere = [&] { return TTextPos{roll(0, s.LineCount() + 1), roll(0, 14)}; };
        switch (command) {
        case 0: s.TypeChar("ab \t({"[roll(0, 5)]); break;
        case 1: s.NewLine(); break;
        case 2: s.Tab(); break;
        case 3: s.BackTab(); break;
        case 4: s.Backspace(); break;
        case 5: s.DeleteChar(); break;
        case 6: s.DeleteWordLeft(); break;
        case 7: s.DeleteWordRight(); break;
        case 8: s.DeleteLine(); break;
        case 9: s.DeleteToLineEnd(); break;
        case 10: s.InsertText(RandomText(random, 12, true)); break;
        case 11: s.MoveCaretBy(roll(-2, 2), roll(-5, 5), extend); break;
        case 12: s.MoveCaretTo(somewhere(), extend); break;
        case 13: chance(50) ? s.WordLeft(extend) : s.WordRight(extend); break;
        case 14: s.SetSelection(somewhere(), somewhere(), roll(1, 2)); break;
        case 15: s.CopyBlock(); break;
        case 16: s.MoveBlock(); break;
        case 17: s.DeleteBlock(); break;
        case 18: chance(50) ? s.IndentBlock() : s.UnindentBlock(); break;
        case 19:
            switch (roll(0, 4)) {
            case 0: s.BlockToUpperCase(); break;
            case 1: s.BlockToggleCase(); break;
            case 2: s.WordToUpperCase(); break;
            case 3: s.LineToggleCase(); break;
            default: s.LineToLowerCase(); break;
            }
            break;
        case 20: s.QuoteBlock(); break;
        case 21: s.CutToClipboard(); break;
        case 22:
            s.CopyToClipboard();
            break;
        case 23: {
            if (chance(50))
                doc.services.SetClipboardText(Ansi::ToQString(RandomText(random, 10, true)), chance(50));
            s.PasteFromClipboard();
            break;
        }
        case 24: {
            TSearchOptions replace;
            replace.textToFind = chance(50) ? "a" : "[ab]+|x*";
            replace.regularExpressions = replace.textToFind.size() > 1;
            replace.replaceText = chance(50) ? "\tz" : "";
            replace.replaceAll = chance(70);
            replace.promptOnReplace = false;
            replace.direction = chance(50) ? sdForward : sdBackward;
            replace.origin = chance(50) ? soFromCursor : soEntireScope;
            replace.scope = chance(30) ? ssSelectedText : ssGlobal;
            s.ReplaceText(replace);
            break;
        }
        case 25: chance(50) ? s.ConvertToOem() : s.ConvertFromOem(); break;
        case 26: TCustomMemoSource::SetOverwriteMode(!TCustomMemoSource::OverwriteMode()); break;
        case 27:
            switch (roll(0, 2)) {
            case 0: s.SelectWord(TWordSelection(roll(0, 2))); break;
            case 1: s.SelectLine(); break;
            default: s.SelectAll(); break;
            }
            break;
        case 28: chance(50) ? (void)s.ExpandCodeTemplate() : (void)s.MatchingBracket(extend); break;
        case 29: s.ReplaceSelection(RandomText(random, 6, true)); break;
        }
        for (int line = 0; line < s.LineCount(); ++line) {
            const QByteArray text = s.Strings().Get(line);
            ASSERT_FALSE(text.contains('\n') || text.contains('\r')) << "seed " << seed << " command " << command;
        }
        if (s.UndoList().Count() != records)
            steps.push_back({before, caret, command});
    }

    const QByteArray edited = doc.Text();
    const TTextPos editedCaret = doc.Caret();
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        s.Undo();
        ASSERT_EQ(doc.Text(), step->text) << "seed " << seed << " undoing command " << step->command;
        ASSERT_EQ(doc.Caret(), step->caret) << "seed " << seed << " undoing command " << step->command;
    }
    ASSERT_FALSE(s.CanUndo()) << "seed " << seed;
    ASSERT_EQ(doc.Text(), loaded) << "seed " << seed;
    ASSERT_FALSE(s.Modified()) << "seed " << seed;
    while (s.CanRedo())
        s.Redo();
    ASSERT_EQ(doc.Text(), edited) << "seed " << seed;
    ASSERT_EQ(doc.Caret(), editedCaret) << "seed " << seed;
}

TEST(CommandScripts, EveryCommandIsUndoneInOneStepAndRedoneExactly)
{
    // COMMAND_SEED=n replays one script, for looking into a failure.
    const unsigned only = getenv("COMMAND_SEED") ? unsigned(atoi(getenv("COMMAND_SEED"))) : 0;
    for (unsigned seed = only ? only : 1; seed <= (only ? only : 3000); ++seed) {
        RunScript(seed);
        if (HasFatalFailure())
            return;
    }
}

} // namespace
