// A very long line is parsed again only around its edits and shown through
// attribute windows; whatever is edited, the result must be the bytes and
// end state of a full parse of the same text, addresses marked.

#include "syntaxfixture.h"
#include "urls.h"

#include <QFile>

#include <functional>
#include <random>
#include <vector>

namespace {

struct Edit {
    const char* name;
    // The column on the long line, as a share of its length, or -1: its end.
    double at;
    std::function<void(TMemoSource&)> act;
};

void Insert(TMemoSource& source, const QByteArray& text) { source.InsertString(text); }

// A full parse's attributes with the addresses marked, as the store shows
// them.
QByteArray WithUrls(const QByteArray& text, QByteArray attrs)
{
    constexpr char kUrlAttribute = 12;
    for (const Urls::TUrlRun& run : Urls::Find(std::string_view(text.constData(), size_t(text.size()))))
        attrs.replace(run.start, run.length, QByteArray(run.length, kUrlAttribute));
    return attrs;
}

QByteArray Slice(const uchar* attrs, int first, int length, int from, int to)
{
    if (!attrs || from < first || to > first + length)
        return "<not covered>";
    return QByteArray(reinterpret_cast<const char*>(attrs) + (from - first), to - from);
}

TEST(LongLine, EditsGiveTheAttributesAndEndStateOfAFullParse)
{
    std::unique_ptr<TSyntaxParser> parser = BuiltIn(TBuiltInScheme::Java);
    QByteArray longLine;
    const QByteArray piece = "int total = count * 31 + (limit - 7); /* note */ result += \"text\"; call(a, 'b'); "
                             "link = \"http://tarnel.example/a?b=1\"; ";
    while (longLine.size() < 200'000)
        longLine += piece;
    TMemoSource source;
    source.SetSyntaxParser(parser.get());
    source.SetHighlightUrls(true);
    source.SetLongLineLimits(20'000, 512);
    source.Lines().SetText("class A {\n" + longLine + "\nint after; // end\n}");

    const std::vector<Edit> edits = {
        {"a quote opens a string to the line's end", 0.5, [](TMemoSource& s) { Insert(s, "\""); }},
        {"a second quote closes it again", 0.5, [](TMemoSource& s) { Insert(s, "\""); }},
        {"a comment opens", 0.3, [](TMemoSource& s) { Insert(s, "/*"); }},
        {"and closes", 0.31, [](TMemoSource& s) { Insert(s, "*/"); }},
        {"a line comment takes the rest of the line", 0.45, [](TMemoSource& s) { Insert(s, "//"); }},
        {"and goes again", 0.45, [](TMemoSource& s) { s.DeleteChars(2); }},
        {"a comment opened at the end reaches the next line", -1, [](TMemoSource& s) { Insert(s, " /* open"); }},
        {"deleting across resume points", 0.4, [](TMemoSource& s) { s.DeleteChars(3000); }},
        {"typing at the start", 0, [](TMemoSource& s) { Insert(s, "x"); }},
        {"typing at the end", -1, [](TMemoSource& s) { Insert(s, "y"); }},
        {"a line break in the middle", 0.6, [](TMemoSource& s) { s.InsertLineBreak(); }},
        {"undo (1)", 0, [](TMemoSource& s) { s.Undo(); }},
        {"undo (2)", 0, [](TMemoSource& s) { s.Undo(); }},
        {"undo (3)", 0, [](TMemoSource& s) { s.Undo(); }},
        {"undo (4)", 0, [](TMemoSource& s) { s.Undo(); }},
        {"undo (5)", 0, [](TMemoSource& s) { s.Undo(); }},
        {"a quote then a backspace", 0.75,
         [](TMemoSource& s) {
             Insert(s, "'");
             s.Backspace();
         }},
    };
    // Shown once before the edits, so that every edit meets points and a
    // window to keep in step.
    int first = 0;
    int length = 0;
    source.LineAttributes(1, 1000, 1200, &first, &length);
    ASSERT_NE(source.Strings().LongLines().Find(1), nullptr);
    EXPECT_GT(source.Strings().LongLines().Find(1)->points.size(), 100u);

    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        const int n = source.LineLength(1);
        const int column = edit.at < 0 ? n : int(edit.at * n);
        source.SetCaret({1, column});
        edit.act(source);

        quint32 start = 0;
        ParseOne(*parser, source.Lines().Get(0), 0, &start);
        const QByteArray text = source.Lines().Get(1);
        quint32 end = 0;
        const QByteArray expected = WithUrls(text, ParseOne(*parser, text, start, &end));
        const int size = int(text.size());
        // Spans around the edit, at both ends and in between.
        for (int from : {std::max(0, column - 300), 0, size / 2, std::max(0, size - 200)}) {
            const int to = std::min(size, from + 600);
            const uchar* attrs = source.LineAttributes(1, from, to, &first, &length);
            EXPECT_EQ(Codes(Slice(attrs, first, length, from, to)), Codes(expected.mid(from, to - from)))
                << "columns " << from << " to " << to;
        }
        EXPECT_EQ(EndState(source, 1), end);
        EXPECT_TRUE(Attrs(source, 1) == expected);
        const QByteArray next = source.Lines().Get(2);
        EXPECT_EQ(Attrs(source, 2), WithUrls(next, ParseOne(*parser, next, end)));
    }
}

// Random edits of a long line made of a sample file's lines, with the
// fragments that open and close what each scheme knows: blocks nested in
// blocks (JSP in HTML), comments, strings, directives.
struct RandomCase {
    TBuiltInScheme scheme;
    const char* sample;
    // What starts a comment that would run to the end of the long line:
    // the sample's lines are cut there before they are joined.
    std::vector<QByteArray> lineComments;
    std::vector<QByteArray> fragments;
    friend void PrintTo(const RandomCase& c, std::ostream* os) { *os << c.sample; }
};

class LongLineRandom : public ::testing::TestWithParam<RandomCase> {};

TEST_P(LongLineRandom, EditsGiveTheAttributesAndEndStateOfAFullParse)
{
    const RandomCase& param = GetParam();
    std::unique_ptr<TSyntaxParser> parser = BuiltIn(param.scheme);
    QFile file(QStringLiteral(TARNEL_SOURCE_DIR "/tests/syntax/data/") + QString::fromLatin1(param.sample));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray sample;
    for (QByteArray line : file.readAll().replace('\r', "").replace('\t', ' ').split('\n')) {
        for (const QByteArray& comment : param.lineComments) {
            const qsizetype at = line.toLower().indexOf(comment);
            if (at >= 0)
                line.truncate(at);
        }
        sample += line + ' ';
    }
    QByteArray longLine;
    while (longLine.size() < 120'000)
        longLine += sample;
    TMemoSource source;
    source.SetSyntaxParser(parser.get());
    source.SetLongLineLimits(10'000, 256);
    source.Lines().SetText(longLine + "\n" + sample.left(200));

    std::mt19937 random(23);
    auto roll = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (int step = 0; step < 120; ++step) {
        const int n = source.LineLength(0);
        const int column = roll(0, 3) == 0 ? roll(std::max(0, n - 400), n) : roll(0, n);
        source.SetCaret({0, column});
        if (roll(0, 2) == 0) {
            source.DeleteChars(roll(1, 600));
        } else {
            source.InsertString(param.fragments[size_t(roll(0, int(param.fragments.size()) - 1))]);
        }
        SCOPED_TRACE("step " + std::to_string(step) + " at column " + std::to_string(column));

        const QByteArray text = source.Lines().Get(0);
        quint32 end = 0;
        const QByteArray expected = ParseOne(*parser, text, 0, &end);
        const int size = int(text.size());
        for (int from : {std::max(0, column - 500), roll(0, size)}) {
            const int to = std::min(size, from + 1000);
            int first = 0;
            int length = 0;
            const uchar* attrs = source.LineAttributes(0, from, to, &first, &length);
            ASSERT_EQ(Codes(Slice(attrs, first, length, from, to)), Codes(expected.mid(from, to - from)))
                << "columns " << from << " to " << to;
        }
        ASSERT_EQ(EndState(source, 0), end);
        const QByteArray next = source.Lines().Get(1);
        ASSERT_EQ(Attrs(source, 1), ParseOne(*parser, next, end));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, LongLineRandom,
    ::testing::Values(
        RandomCase{TBuiltInScheme::Java, "Inventory.java", {"//"}, {"\"", "'", "/*", "*/", "\\", " ", "x1", "0x1F", "@"}},
        RandomCase{TBuiltInScheme::Jsp,
                   "catalog.jsp",
                   {"//"},
                   {"<%", "%>", "<!--", "-->", "\"", "'", "<script>", "</script>", "<", ">", "${", "}", " ", "/*", "*/"}},
        RandomCase{TBuiltInScheme::Batch, "build.bat", {"rem", "::"}, {"%", "\"", "set ", "echo ", " ", "^", "&", ">", ":"}},
        // Regular expressions and keys are told by the text around them.
        RandomCase{TBuiltInScheme::JavaScript,
                   "jquery.js",
                   {"//"},
                   {"/", "`", "${", "}", "[", "]", " ", "\\", "return ", ")", "\"", "x"}},
        RandomCase{TBuiltInScheme::Json, "package.json", {"//"}, {"\"", ":", " ", "\\", ",", "x"}}),
    [](const ::testing::TestParamInfo<RandomCase>& info) { return std::string(info.param.sample).substr(0, std::string(info.param.sample).find('.')); });

} // namespace

// Resume points assume that no text a scheme matches reaches farther than
// they look back; a scheme with a longer one parses long lines whole.
TEST(LongLine, ASchemeWithAVeryLongDelimiterIsNotResumed)
{
    std::unique_ptr<TSyntaxParser> parser = BuiltIn(TBuiltInScheme::Java);
    EXPECT_TRUE(parser->Resumable());
    TSyntaxBlock* root = parser->SyntaxScheme()->SyntaxBlocks()->At(0);
    const QByteArray stars = "/*" + QByteArray(20, '*') + " " + QByteArray(279, '*');
    root->MultiLineCommentDelimiters()->At(0)->SetLeft(stars);
    parser->RebuildScheme();
    EXPECT_FALSE(parser->Resumable());

    QByteArray line;
    while (line.size() < 40'000)
        line += "a = b; " + stars.left(stars.size() - 1) + "x c */ d; ";
    TMemoSource source;
    source.SetSyntaxParser(parser.get());
    source.SetLongLineLimits(20'000, 16);
    source.Lines().SetText(line);
    source.LineAttributes(0);
    // The edit turns an x into the delimiter's last star: a comment opens
    // 300 bytes in front of it.
    source.SetCaret({0, int(line.indexOf('x', line.size() / 2))});
    source.DeleteChars(1);
    source.InsertString("*");
    const QByteArray text = source.LineText(0);
    EXPECT_EQ(Attrs(source, 0), ParseOne(*parser, text));
    source.SetSyntaxParser(nullptr);
}
