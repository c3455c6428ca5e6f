// Typing, line breaks, tabs and deleting, each checked on real text and for
// being undone in one step.

#include "commandfixture.h"
#include "textfixture.h"

#include <QRegularExpression>

#include <functional>

#include <gtest/gtest.h>

namespace {

TEST(Typing, InsertsAtTheCaretAndStepsRight)
{
    Doc doc("ab", {0, 1});
    ExpectOneUndoStep(doc, [&] {
        doc.source.TypeChar('x');
        EXPECT_EQ(doc.Lines(), Texts{"axb"});
        EXPECT_EQ(doc.Caret(), (TTextPos{0, 2}));
    });
}

TEST(Typing, BehindTheLineEndPadsWithBlanks)
{
    Doc doc("ab", {0, 4});
    doc.source.TypeChar('x');
    EXPECT_EQ(doc.Lines(), Texts{"ab  x"});
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 5}));
}

TEST(Typing, OverwriteModeTakesThePlaceOfTheCharacterAtTheCaret)
{
    Doc doc("abc", {0, 1});
    TCustomMemoSource::SetOverwriteMode(true);
    doc.source.TypeChar('x');
    doc.source.TypeChar('y');
    doc.source.TypeChar('z');
    EXPECT_EQ(doc.Lines(), Texts{"axyz"});
    doc.source.Undo();
    EXPECT_EQ(doc.Lines(), Texts{"abc"});
}

TEST(Typing, ReplacesTheSelectionOnlyWithOverwriteBlocks)
{
    Doc doc("hello world", {0, 11});
    doc.Select({0, 0}, {0, 5});
    doc.source.TypeChar('X');
    EXPECT_EQ(doc.Lines(), Texts{"X world"});
    EXPECT_FALSE(doc.source.HasSelection());

    Doc keep("hello world", {0, 11});
    keep.source.SetOptions(keep.source.Options() & ~TStringsOptions(soOverwriteBlocks));
    keep.Select({0, 0}, {0, 5});
    keep.source.TypeChar('X');
    EXPECT_EQ(keep.Lines(), Texts{"hello worldX"});
    EXPECT_EQ(keep.Selected(), "hello");
}

TEST(Typing, ChangesNothingInAReadOnlyStoreOrOnAReadOnlyLine)
{
    Doc doc("ab\ncd", {1, 1});
    doc.source.SetLineReadOnly(1, true);
    doc.source.TypeChar('x');
    doc.source.NewLine();
    doc.source.Backspace();
    doc.source.DeleteChar();
    doc.source.Tab();
    doc.source.DeleteLine();
    doc.source.InsertText("zz");
    doc.Place({0, 2});
    doc.source.DeleteChar(); // would join the read-only line
    doc.source.SetReadOnly(true);
    doc.source.TypeChar('x');
    doc.source.DeleteWordLeft();
    EXPECT_EQ(doc.Lines(), (Texts{"ab", "cd"}));
    EXPECT_FALSE(doc.source.Modified());
}

TEST(Commands, EachSendsTheViewsOneNotice)
{
    const std::vector<std::pair<const char*, std::function<void(TMemoSource&)>>> commands = {
        {"type", [](TMemoSource& s) { s.TypeChar('x'); }},
        {"new line", [](TMemoSource& s) { s.NewLine(); }},
        {"tab", [](TMemoSource& s) { s.Tab(); }},
        {"backspace", [](TMemoSource& s) { s.Backspace(); }},
        {"delete word", [](TMemoSource& s) { s.DeleteWordRight(); }},
        {"delete line", [](TMemoSource& s) { s.DeleteLine(); }},
        {"insert text", [](TMemoSource& s) { s.InsertText("a\nb"); }},
        {"word right", [](TMemoSource& s) { s.WordRight(smStream); }},
        {"select word", [](TMemoSource& s) { s.SelectWord(); }},
        {"select all", [](TMemoSource& s) { s.SelectAll(); }},
        {"indent", [](TMemoSource& s) { s.IndentBlock(); }},
        {"copy block", [](TMemoSource& s) { s.CopyBlock(); }},
        {"move block", [](TMemoSource& s) { s.MoveBlock(); }},
        {"upper case", [](TMemoSource& s) { s.BlockToUpperCase(); }},
        {"paste", [](TMemoSource& s) { s.PasteFromClipboard(); }},
        {"replace", [](TMemoSource& s) {
             TSearchOptions options;
             options.textToFind = "o";
             options.replaceText = "0";
             options.replaceAll = true;
             options.promptOnReplace = false;
             options.origin = soEntireScope;
             s.ReplaceText(options);
         }},
    };
    for (const auto& [name, command] : commands) {
        Doc doc("  one two\n  three four\nfive", {1, 4});
        doc.Select({0, 3}, {1, 5});
        doc.services.SetClipboardText("xy", false);
        doc.source.SetOptions(doc.source.Options() | soPersistentBlocks);
        doc.Place({2, 1});
        ChangeLog log(doc.source);
        log.changes.clear();
        command(doc.source);
        EXPECT_EQ(log.changes.size(), 1u) << name;
    }
}

TEST(NewLine, KeepsTheIndentOfTheLine)
{
    Doc doc("    foo bar", {0, 8});
    ExpectOneUndoStep(doc, [&] {
        doc.source.NewLine();
        EXPECT_EQ(doc.Lines(), (Texts{"    foo", "    bar"}));
        EXPECT_EQ(doc.Caret(), (TTextPos{1, 4}));
    });
    // At the line's end the new line stays empty, the caret at the indent.
    doc.Place({0, 11});
    doc.source.NewLine();
    EXPECT_EQ(doc.Lines(), (Texts{"    foo bar", ""}));
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 4}));
}

TEST(NewLine, WithoutAutoIndentStartsAtColumnZero)
{
    Doc doc("    foo bar", {0, 8});
    doc.source.SetOptions(doc.source.Options() & ~TStringsOptions(soAutoIndent));
    doc.source.NewLine();
    EXPECT_EQ(doc.Lines(), (Texts{"    foo", "bar"}));
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 0}));
}

TEST(NewLine, TakesThePreviousIndentOnAnEmptyLineOnlyWithUsePrevIndent)
{
    Doc doc("  a\n\nb", {1, 0});
    doc.source.NewLine();
    EXPECT_EQ(doc.Caret(), (TTextPos{2, 0}));

    Doc prev("  a\n\nb", {1, 0});
    prev.source.SetOptions(prev.source.Options() | soUsePrevIndent);
    prev.source.NewLine();
    EXPECT_EQ(prev.Caret(), (TTextPos{2, 2}));
}

TEST(NewLine, LeavesNoTrailingBlanksOnTheBrokenLine)
{
    Doc doc("ab   cd", {0, 5});
    doc.source.NewLine();
    EXPECT_EQ(doc.Lines(), (Texts{"ab", "cd"}));
}

TEST(NewLine, InOverwriteModeStepsToTheNextLineAndAddsOneAtTheEnd)
{
    Doc doc("  ab\ncd", {0, 3});
    TCustomMemoSource::SetOverwriteMode(true);
    doc.source.NewLine();
    EXPECT_EQ(doc.Lines(), (Texts{"  ab", "cd"}));
    EXPECT_EQ(doc.Caret(), (TTextPos{1, 2}));
    doc.source.NewLine();
    EXPECT_EQ(doc.Lines(), (Texts{"  ab", "cd", ""}));
    EXPECT_EQ(doc.Caret(), (TTextPos{2, 0}));
}

TEST(TabKey, InsertsBlanksUpToTheNextStop)
{
    Doc doc("abcd", {0, 2});
    doc.source.SetOptions(doc.source.Options() & ~TStringsOptions(soSmartTab));
    ExpectOneUndoStep(doc, [&] {
        doc.source.Tab();
        EXPECT_EQ(doc.Lines(), Texts{"ab       cd"});
        EXPECT_EQ(doc.Caret(), (TTextPos{0, 9}));
    });
}

TEST(TabKey, InsertsATabCharacterWithUseTabCharacter)
{
    Doc doc("abcd", {0, 2});
    doc.source.SetOptions(doc.source.Options() | soUseTabCharacter);
    doc.source.Tab();
    EXPECT_EQ(doc.Text(), "ab\tcd");
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 9}));
    doc.source.Backspace();
    EXPECT_EQ(doc.Text(), "abcd");
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 2}));
}

TEST(TabKey, SmartTabAlignsWithTheNextWordOfThePreviousLine)
{
    Doc doc("int   value = 1;\n\nx", {2, 1});
    doc.source.Tab();
    EXPECT_EQ(doc.Caret(), (TTextPos{2, 6}));
    doc.source.Tab();
    EXPECT_EQ(doc.Caret(), (TTextPos{2, 12}));
}

TEST(TabKey, InOverwriteModeOnlyMovesTheCaret)
{
    Doc doc("abcdefghijkl", {0, 2});
    doc.source.SetOptions(doc.source.Options() & ~TStringsOptions(soSmartTab));
    TCustomMemoSource::SetOverwriteMode(true);
    doc.source.Tab();
    EXPECT_EQ(doc.Lines(), Texts{"abcdefghijkl"});
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 9}));
}

TEST(TabKey, IndentsAndOutdentsASelectionOverSeveralLines)
{
    Doc doc("a\nb\nc", {0, 0});
    doc.Select({0, 0}, {2, 0});
    ExpectOneUndoStep(doc, [&] {
        doc.source.Tab();
        EXPECT_EQ(doc.Lines(), (Texts{"         a", "         b", "c"}));
    });
    doc.Select({0, 0}, {2, 0});
    doc.source.Tab();
    doc.source.BackTab();
    EXPECT_EQ(doc.Lines(), (Texts{"a", "b", "c"}));
}

TEST(TabKey, BackTabStepsBackToThePreviousStop)
{
    Doc doc("abcdefghijklmnopqrst", {0, 12});
    doc.source.BackTab();
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 9}));
    doc.source.BackTab();
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 0}));
}

TEST(BackspaceKey, DeletesBeforeTheCaretAndJoinsAtColumnZero)
{
    Doc doc("ab\ncd", {1, 1});
    doc.source.Backspace();
    EXPECT_EQ(doc.Lines(), (Texts{"ab", "d"}));
    doc.Place({1, 0});
    ExpectOneUndoStep(doc, [&] {
        doc.source.Backspace();
        EXPECT_EQ(doc.Lines(), Texts{"abd"});
        EXPECT_EQ(doc.Caret(), (TTextPos{0, 2}));
    });
}

TEST(BackspaceKey, BehindTheLineEndOnlyStepsLeft)
{
    Doc doc("ab", {0, 5});
    doc.source.Backspace();
    EXPECT_EQ(doc.Lines(), Texts{"ab"});
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 4}));
}

TEST(BackspaceKey, UnindentsToTheIndentOfALessIndentedLineAbove)
{
    Doc doc("    a\n        b", {1, 8});
    ExpectOneUndoStep(doc, [&] {
        doc.source.Backspace();
        EXPECT_EQ(doc.Lines(), (Texts{"    a", "    b"}));
        EXPECT_EQ(doc.Caret(), (TTextPos{1, 4}));
    });
    doc.source.SetOptions(doc.source.Options() & ~TStringsOptions(soBackUnindents));
    doc.source.Backspace();
    EXPECT_EQ(doc.Lines(), (Texts{"    a", "       b"}));
}

TEST(BackspaceKey, UnindentThroughATabLeavesTheRestAsBlanks)
{
    Doc doc;
    doc.source.SetOptions(doc.source.Options() | soUseTabCharacter);
    doc.source.Lines().SetText("  a\n\tb");
    doc.Place({1, 9});
    doc.source.Backspace();
    EXPECT_EQ(doc.Text(), "  a\r\n  b");
    doc.source.Undo();
    EXPECT_EQ(doc.Text(), "  a\r\n\tb");
}

TEST(DeleteKey, DeletesAtTheCaretAndJoinsAtTheLineEnd)
{
    Doc doc("ab\ncd", {0, 1});
    doc.source.DeleteChar();
    EXPECT_EQ(doc.Lines(), (Texts{"a", "cd"}));
    doc.source.DeleteChar();
    EXPECT_EQ(doc.Lines(), Texts{"acd"});
}

TEST(DeleteKey, BehindTheLineEndPadsBeforeJoining)
{
    Doc doc("ab\ncd", {0, 4});
    ExpectOneUndoStep(doc, [&] {
        doc.source.DeleteChar();
        EXPECT_EQ(doc.Lines(), Texts{"ab  cd"});
    });
}

TEST(DeleteKey, InsideTheBlanksOfATabDeletesOneColumn)
{
    Doc doc;
    doc.source.SetOptions(doc.source.Options() | soUseTabCharacter);
    doc.source.Lines().SetText("a\tb");
    doc.Place({0, 3});
    doc.source.DeleteChar();
    EXPECT_EQ(doc.Lines(), Texts{"a       b"});
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 3}));
    doc.source.Undo();
    EXPECT_EQ(doc.Text(), "a\tb");
    // Overwriting inside the blanks takes one of them.
    TCustomMemoSource::SetOverwriteMode(true);
    doc.source.TypeChar('x');
    EXPECT_EQ(doc.Lines(), Texts{"a  x     b"});
    EXPECT_EQ(doc.Caret(), (TTextPos{0, 4}));
}

TEST(DeleteWords, LeftTakesBlanksAndOneRunOfWordOrOtherCharacters)
{
    Doc doc("foo bar+=baz", {0, 12});
    doc.source.DeleteWordLeft();
    EXPECT_EQ(doc.Lines(), Texts{"foo bar+="});
    doc.source.DeleteWordLeft();
    EXPECT_EQ(doc.Lines(), Texts{"foo bar"});
    doc.source.DeleteWordLeft();
    EXPECT_EQ(doc.Lines(), Texts{"foo "});
    doc.source.DeleteWordLeft();
    EXPECT_EQ(doc.Lines(), Texts{""});
}

TEST(DeleteWords, RightTakesTheWordAndItsBlanksAndJoinsAtTheEnd)
{
    Doc doc("foo  bar\nnext", {0, 0});
    doc.source.DeleteWordRight();
    EXPECT_EQ(doc.Lines(), (Texts{"bar", "next"}));
    doc.Place({0, 3});
    doc.source.DeleteWordRight();
    EXPECT_EQ(doc.Lines(), Texts{"barnext"});
}

TEST(DeleteLines, CaretLineGoesAndTheCaretKeepsItsColumn)
{
    Doc doc("one\ntwo\nthree", {1, 2});
    ExpectOneUndoStep(doc, [&] {
        doc.source.DeleteLine();
        EXPECT_EQ(doc.Lines(), (Texts{"one", "three"}));
        EXPECT_EQ(doc.Caret(), (TTextPos{1, 2}));
    });
    doc.Place({2, 1});
    doc.source.DeleteLine();
    EXPECT_EQ(doc.Lines(), (Texts{"one", "two", ""}));
}

TEST(DeleteLines, ToTheLineEnd)
{
    Doc doc("one two", {0, 3});
    doc.source.DeleteToLineEnd();
    EXPECT_EQ(doc.Lines(), Texts{"one"});
}

TEST(InsertText, SplitsAtLineBreaksAndKeepsTheSelectionWithItsText)
{
    Doc doc("ab\ncd", {0, 1});
    doc.Select({1, 0}, {1, 2});
    ExpectOneUndoStep(doc, [&] {
        doc.source.InsertText("X\r\nYY\nZ");
        EXPECT_EQ(doc.Lines(), (Texts{"aX", "YY", "Zb", "cd"}));
        EXPECT_EQ(doc.Caret(), (TTextPos{2, 1}));
        EXPECT_EQ(doc.Selected(), "cd");
    });
}

TEST(InsertText, SnippetThenPreviousWordSelectsThePlaceholder)
{
    Doc doc("");
    doc.source.InsertText("<%@ page directive %>");
    doc.source.MoveCaretBy(0, -3);
    doc.source.SelectPreviousWord();
    EXPECT_EQ(doc.Selected(), "directive");
}

TEST(InsertText, ReplaceSelectionPutsTheTextWhereTheSelectionWas)
{
    Doc doc("one two three", {0, 0});
    doc.Select({0, 4}, {0, 7});
    ExpectOneUndoStep(doc, [&] {
        doc.source.ReplaceSelection("2\n2");
        EXPECT_EQ(doc.Lines(), (Texts{"one 2", "2 three"}));
    });
}

TEST(InsertText, GuidInBracketsAndQuotes)
{
    Doc doc("", {0, 0});
    doc.source.InsertGuid();
    const QString line = QString::fromLatin1(doc.Lines().value(0));
    EXPECT_TRUE(QRegularExpression("^\\['\\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\\}'\\]$").match(line).hasMatch())
        << line.toStdString();
    EXPECT_EQ(doc.Caret(), (TTextPos{0, int(line.size())}));
}

TEST(CodeTemplates, ExpandTheWordBeforeTheCaretOnlyWithATemplatesType)
{
    Doc doc("  fo", {0, 4});
    doc.source.CodeTemplates()->Add("fori", "for (int i = 0; i < |; i++) {\n}");
    doc.source.CodeTemplates()->Add("for", "for (;;) {\n}");
    EXPECT_FALSE(doc.source.ExpandCodeTemplate()); // TemplatesType "None"
    doc.source.SetTemplatesType("Java");
    // "fo" names no template exactly: the first whose name begins with it.
    ExpectOneUndoStep(doc, [&] {
        EXPECT_TRUE(doc.source.ExpandCodeTemplate());
        EXPECT_EQ(doc.Lines(), (Texts{"  for (int i = 0; i < ; i++) {", "  }"}));
        EXPECT_EQ(doc.Caret(), (TTextPos{0, 22}));
    });
    doc.Place({0, 2});
    doc.source.InsertText("for");
    EXPECT_TRUE(doc.source.ExpandCodeTemplate());
    EXPECT_EQ(doc.Lines(), (Texts{"  for (;;) {", "  }fo"}));
    doc.Place({0, 0});
    EXPECT_FALSE(doc.source.ExpandCodeTemplate());
}

} // namespace
