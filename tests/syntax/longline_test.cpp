// A very long line is parsed again only around its edits and shown through
// attribute windows; whatever is edited, the result must be the bytes and
// end state of a full parse of the same text, addresses marked.

#include "syntaxfixture.h"
#include "urls.h"

#include <functional>
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

} // namespace
