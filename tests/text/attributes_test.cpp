#include "memosource.h"
#include "sourcestrings.h"
#include "textfixture.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Colours "/* ... */" comments with attribute 1, carrying an open comment
// across lines in state 1, and counts how often each line is parsed.
class TCommentParser : public TSimpleParser {
public:
    quint32 ParseLine(std::string_view text, quint32 state, uchar* attrs) override
    {
        ++parses[CurrentLine()];
        for (size_t i = 0; i < text.size(); ++i) {
            if (state == 0 && text.substr(i, 2) == "/*") {
                state = 1;
                attrs[i] = attrs[i + 1] = 1;
                ++i;
            } else if (state == 1 && text.substr(i, 2) == "*/") {
                attrs[i] = attrs[i + 1] = 1;
                ++i;
                state = 0;
            } else {
                attrs[i] = uchar(state);
            }
        }
        return state;
    }

    void Touch() { NotifyListeners(); }

    std::map<int, int> parses;
};

QByteArray Attributes(TCustomMemoSource& source, int line)
{
    int length = 0;
    const uchar* attrs = source.LineAttributes(line, &length);
    return QByteArray(reinterpret_cast<const char*>(attrs), length);
}

QByteArray Numbered(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += "line " + QByteArray::number(i) + "\n";
    return text;
}

TEST(Attributes, WithoutParserOrUrlsThereAreNone)
{
    TMemoSource source;
    source.Lines().SetText("http://example.com");
    EXPECT_EQ(source.LineAttributes(0), nullptr);
}

TEST(Attributes, ARequestParsesUpToTheLinePlusAHundred)
{
    TMemoSource source;
    TCommentParser parser;
    source.SetSyntaxParser(&parser);
    source.Lines().SetText(Numbered(500));
    source.LineAttributes(10);
    EXPECT_EQ(source.ParsedUpTo(), 111);
    EXPECT_EQ(parser.parses.size(), 111u);
    source.LineAttributes(50);
    EXPECT_EQ(parser.parses.size(), 111u);
    source.LineAttributes(300);
    EXPECT_EQ(source.ParsedUpTo(), 401);
}

TEST(Attributes, StatesCarryAnOpenCommentAcrossLines)
{
    TMemoSource source;
    TCommentParser parser;
    source.SetSyntaxParser(&parser);
    source.Lines().SetText("a /* b\n\nc */ d");
    EXPECT_EQ(Attributes(source, 0), QByteArray("\0\0\1\1\1\1", 6));
    EXPECT_EQ(source.Strings().Item(1).startState, 1u);
    EXPECT_EQ(Attributes(source, 2), QByteArray("\1\1\1\1\0\0", 6));
}

TEST(Attributes, AnEditReparsesExactlyTheLinesWhoseStatesDiffer)
{
    TMemoSource source;
    TCommentParser parser;
    source.SetSyntaxParser(&parser);
    source.Lines().SetText("a\nb /* x\nc\nd */\ne\nf\ng");
    source.LineAttributes(0);
    std::vector<std::pair<int, int>> reported;
    source.OnLinesParsed = [&](int first, int last) { reported.emplace_back(first, last); };

    // Closing the comment on line 1 changes the end states of lines 1 and 2;
    // line 3 starts in another state and is parsed again, but ends as before,
    // so line 4 is not.
    parser.parses.clear();
    source.SetCaret({1, 8});
    source.InsertString(" */");
    source.LineAttributes(1);
    EXPECT_EQ(parser.parses, (std::map<int, int>{{1, 1}, {2, 1}, {3, 1}}));
    EXPECT_EQ(Attributes(source, 2), QByteArray(1, '\0'));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], std::make_pair(1, 3));

    // An edit that keeps the end state parses only its own line.
    parser.parses.clear();
    source.SetCaret({5, 0});
    source.InsertString("ff");
    source.LineAttributes(5);
    EXPECT_EQ(parser.parses, (std::map<int, int>{{5, 1}}));
}

TEST(Attributes, ParserChangeResetsEveryLine)
{
    TMemoSource source;
    TCommentParser parser;
    source.Lines().SetText("/* a\nb");
    source.SetSyntaxParser(&parser);
    source.LineAttributes(1);
    ChangeLog log(source);
    log.changes.clear();
    parser.Touch();
    ASSERT_EQ(log.changes.size(), 1u);
    EXPECT_TRUE(log.last() & Change::kAttributesReset);
    EXPECT_EQ(source.ParsedUpTo(), 0);
    EXPECT_FALSE(source.Strings().Item(1).Has(TStringItem::kAttrsValid));

    source.SetSyntaxParser(nullptr);
    EXPECT_EQ(source.Strings().Attributes().Count(), 0);
}

TEST(Attributes, ADestroyedParserIsDropped)
{
    TMemoSource source;
    source.Lines().SetText("/* a");
    {
        TCommentParser parser;
        source.SetSyntaxParser(&parser);
        source.LineAttributes(0);
    }
    EXPECT_EQ(source.SyntaxParser(), nullptr);
    EXPECT_EQ(source.LineAttributes(0), nullptr);
}

TEST(Attributes, UrlsAreMarkedWithAttributeTwelve)
{
    TMemoSource source;
    source.SetHighlightUrls(true);
    source.Lines().SetText("see http://x.org/a?b=1, or me@mail.com.");
    const QByteArray attrs = Attributes(source, 0);
    EXPECT_EQ(attrs.mid(0, 4), QByteArray(4, '\0'));
    EXPECT_EQ(attrs.mid(4, 18), QByteArray(18, '\x0c'));
    EXPECT_EQ(attrs.at(22), '\0');
    EXPECT_EQ(attrs.mid(27, 11), QByteArray(11, '\x0c'));
    EXPECT_EQ(attrs.at(38), '\0');
}

TEST(Attributes, UrlMarksWrittenInsideAnOperationAreUndoneAsAttributes)
{
    TMemoSource source;
    TCommentParser parser;
    source.SetSyntaxParser(&parser);
    source.SetHighlightUrls(true);
    source.Lines().SetText("www.example.com");
    source.BeginUpdate(30);
    source.LineAttributes(0);
    source.EndUpdate();
    ASSERT_FALSE(source.UndoList().IsEmpty());
    EXPECT_EQ(source.UndoList().Last().kind, ukAttributes);
    EXPECT_EQ(Attributes(source, 0).at(0), '\x0c');
    source.Undo();
    EXPECT_EQ(Attributes(source, 0).at(0), '\0');
}

} // namespace
