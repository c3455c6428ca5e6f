// The shipped schemes pinned by golden files: every sample under data/ sits
// beside its expected attributes (<sample>.attrs), one line per text line,
// one character per text character: 0-9, a-z, A-Z for the attribute values
// 0..61, "{hh}" for any other. Lines starting with "#" at the top of an
// expectation say where its sample was cut from (which package and version)
// and are kept when update-golden.sh rewrites the expectations
// (TARNEL_UPDATE_GOLDEN=1) for review with git diff.
//
// The same samples check that highlighting line by line, starting from any
// line's stored start state, gives what a parse from the first line gives,
// for LF and for CR LF texts.
//
// Their fold points are pinned the same way (<sample>.folds): one line per
// fold point, "line: last marker" (1-based; "-" for a block that does not
// end).

#include "syntaxfixture.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <random>

namespace {

struct Sample {
    const char* file;
    TBuiltInScheme scheme;
};

const Sample kSamples[] = {
    {"page.jsp", TBuiltInScheme::Jsp},
    {"index.html", TBuiltInScheme::Jsp},
    {"Inventory.java", TBuiltInScheme::Java},
    {"build.bat", TBuiltInScheme::Batch},
    {"catalog.jsp", TBuiltInScheme::Jsp},
    {"gallery.html", TBuiltInScheme::Jsp},
    {"Shapes.java", TBuiltInScheme::Java},
    {"lists.html", TBuiltInScheme::Jsp},
    {"commons-io.pom", TBuiltInScheme::Xml},
    {"bootstrap.css", TBuiltInScheme::Css},
    {"jquery.js", TBuiltInScheme::JavaScript},
    {"popper-bundle.js", TBuiltInScheme::JavaScript},
    {"package.json", TBuiltInScheme::Json},
    {"java.security.properties", TBuiltInScheme::Properties},
    {"system_views.sql", TBuiltInScheme::Sql},
    {"dpkg-maintscript-helper.sh", TBuiltInScheme::Shell},
};

// The header of an expectation: its leading lines that start with "#".
QByteArray Header(const QByteArray& expected)
{
    qsizetype end = 0;
    while (end < expected.size() && expected[end] == '#') {
        const qsizetype next = expected.indexOf('\n', end);
        end = next < 0 ? expected.size() : next + 1;
    }
    return expected.left(end);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString DataPath(const char* file)
{
    return QStringLiteral(TARNEL_SOURCE_DIR "/tests/syntax/data/") + QString::fromLatin1(file);
}

// Every line's attributes, encoded, one line each.
QByteArray Highlight(TSyntaxParser& parser, const QByteArray& text)
{
    TMemoSource source;
    source.SetSyntaxParser(&parser);
    source.SetTextStr(text);
    QByteArray out;
    for (int i = 0; i < source.LineCount(); ++i)
        out += QByteArray::fromStdString(Codes(Attrs(source, i))) + '\n';
    return out;
}

class Golden : public ::testing::TestWithParam<Sample> {};

TEST_P(Golden, AttributesMatchTheReviewedExpectation)
{
    const Sample& sample = GetParam();
    const QByteArray text = ReadFile(DataPath(sample.file));
    ASSERT_FALSE(text.isEmpty()) << sample.file;
    auto parser = BuiltIn(sample.scheme);
    ASSERT_TRUE(parser);
    const QByteArray actual = Highlight(*parser, text);
    const QString expectedPath = DataPath(sample.file) + ".attrs";
    const QByteArray stored = ReadFile(expectedPath);
    const QByteArray header = Header(stored);
    if (qEnvironmentVariableIsSet("TARNEL_UPDATE_GOLDEN")) {
        QFile file(expectedPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(header + actual);
        return;
    }
    const QList<QByteArray> expected = stored.mid(header.size()).split('\n');
    const QList<QByteArray> got = actual.split('\n');
    const QList<QByteArray> lines = TStrings::SplitLines(text);
    ASSERT_EQ(got.size(), expected.size()) << sample.file << ": run tests/syntax/update-golden.sh and review";
    for (int i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i], expected[i]) << sample.file << " line " << i + 1 << ": "
                                       << (i < lines.size() ? lines[i].constData() : "");
    }
}

// A second store that starts at line k in the state the first one stored
// there must colour lines k.. exactly as the first store did.
void ExpectLineByLineMatchesWholeText(TSyntaxParser& parser, const QByteArray& text, const char* what)
{
    TMemoSource whole;
    whole.SetSyntaxParser(&parser);
    whole.SetTextStr(text);
    const int count = whole.LineCount();
    ASSERT_GT(count, 1);
    std::vector<QByteArray> attrs;
    std::vector<quint32> starts;
    for (int i = 0; i < count; ++i) {
        attrs.push_back(Attrs(whole, i));
        starts.push_back(whole.Strings().Item(i).startState);
    }
    const QList<QByteArray> lines = whole.Lines().ToList();
    for (int k = 1; k < count; ++k) {
        TMemoSource part;
        part.SetSyntaxParser(&parser);
        QByteArray rest;
        for (int i = k; i < count; ++i)
            rest += lines[i] + '\n';
        part.SetTextStr(rest);
        part.SetInitialState(starts[size_t(k)]);
        part.ResetAttributes();
        for (int i = k; i < count; ++i)
            ASSERT_EQ(Codes(Attrs(part, i - k)), Codes(attrs[size_t(i)])) << what << " from line " << k + 1
                                                                             << ", line " << i + 1;
    }
}

TEST_P(Golden, LineByLineFromAnyStartStateMatchesTheWholeText)
{
    const Sample& sample = GetParam();
    const QByteArray text = ReadFile(DataPath(sample.file));
    auto parser = BuiltIn(sample.scheme);
    ASSERT_TRUE(parser);
    QByteArray lf = text;
    lf.replace("\r\n", "\n");
    QByteArray crlf = lf;
    crlf.replace("\n", "\r\n");
    ExpectLineByLineMatchesWholeText(*parser, lf, "LF");
    ExpectLineByLineMatchesWholeText(*parser, crlf, "CR LF");
    EXPECT_EQ(Highlight(*parser, lf), Highlight(*parser, crlf)) << sample.file;
}

// Every fold point of a text with the last line of its block and the marker
// it shows folded.
QByteArray FoldPoints(TSyntaxParser& parser, const QByteArray& text)
{
    TMemoSource source;
    source.SetSyntaxParser(&parser);
    source.SetTextStr(text);
    source.FoldAll();
    QByteArray out;
    for (int i = 0; i < source.LineCount(); ++i) {
        if (source.CollapseState(i) == 2)
            continue;
        const TFoldRanges::TFold* fold = source.Folds().Find(i);
        out += QByteArray::number(i + 1) + ": " + (fold ? QByteArray::number(fold->last + 1) : QByteArray("-")) + ' ' +
               source.FoldMarker(i) + '\n';
    }
    return out;
}

TEST_P(Golden, FoldPointsMatchTheReviewedExpectation)
{
    const Sample& sample = GetParam();
    const QByteArray text = ReadFile(DataPath(sample.file));
    auto parser = BuiltIn(sample.scheme);
    ASSERT_TRUE(parser);
    const QByteArray actual = FoldPoints(*parser, text);
    const QString expectedPath = DataPath(sample.file) + ".folds";
    if (qEnvironmentVariableIsSet("TARNEL_UPDATE_GOLDEN")) {
        QFile file(expectedPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(actual);
        return;
    }
    EXPECT_EQ(actual.toStdString(), ReadFile(expectedPath).toStdString())
        << sample.file << ": run tests/syntax/update-golden.sh and review";
}

INSTANTIATE_TEST_SUITE_P(Samples, Golden, ::testing::ValuesIn(kSamples), [](const auto& info) {
    QByteArray name = info.param.file;
    for (char& c : name) {
        if (!std::isalnum(uchar(c)))
            c = '_';
    }
    return std::string(name.constData());
});

} // namespace

namespace {

// Random edits in a highlighted store: after each one, the lines the store
// re-parses lazily must colour exactly as parsing all its lines afresh, and
// it must keep the structure (and fold points) a fresh store finds.
TEST(Rehighlight, RandomEditsMatchAFreshHighlight)
{
    static const char* const kPieces[] = {"<%", "%>", "<", ">", "/*", "*/", "\"", "'", "<!--", "-->", "\\", "x", " ", "int",
                                          "${", "}", "<%--", "--%>", "<script>", "</script>", "style=\"", "`", "\"\"\"",
                                          "//", "/", "=", ":", "#", "$(", "<<EOF", "EOF", "\t", "{", "var "};
    std::mt19937 random(7);
    for (const Sample& sample : kSamples) {
        auto parser = BuiltIn(sample.scheme);
        ASSERT_TRUE(parser);
        TMemoSource edited;
        edited.SetSyntaxParser(parser.get());
        edited.SetTextStr(ReadFile(DataPath(sample.file)));
        for (int step = 0; step < 200; ++step) {
            for (int i = 0; i < edited.LineCount(); ++i)
                Attrs(edited, i);
            const int line = int(random() % unsigned(edited.LineCount()));
            edited.SetCaret({line, int(random() % unsigned(edited.LineLength(line) + 1))});
            switch (random() % 3) {
            case 0:
                edited.InsertString(kPieces[random() % std::size(kPieces)]);
                break;
            case 1:
                edited.DeleteChars(int(random() % 4) + 1);
                break;
            default:
                edited.InsertLineBreak();
                break;
            }
            // The same lines parsed one after the other from the first.
            quint32 state = 0;
            for (int i = 0; i < edited.LineCount(); ++i) {
                const QByteArray fresh = ParseOne(*parser, edited.LineText(i), state, &state);
                ASSERT_EQ(Codes(Attrs(edited, i)), Codes(fresh)) << sample.file << " step " << step << " line " << i + 1;
            }
            TMemoSource fresh;
            fresh.SetSyntaxParser(parser.get());
            fresh.SetTextStr(edited.Lines().Text());
            fresh.ParseTo(fresh.LineCount() - 1);
            ASSERT_EQ(StructureDump(edited), StructureDump(fresh)) << sample.file << " step " << step;
        }
    }
}

// A text long enough that a pass to its end hands half of the way to a
// second thread: the structure and fold points it finds, at first and
// after a change of scheme and an edit that take structure away, are those
// of a pass in small steps on one thread.
TEST(Rehighlight, AFarPassFindsTheStructureOfStepwiseParses)
{
    auto jsp = BuiltIn(TBuiltInScheme::Jsp);
    auto java = BuiltIn(TBuiltInScheme::Java);
    ASSERT_TRUE(jsp && java);
    const QByteArray piece = "<div class=\"box\">\n  <p>Some <b>text</b></p>\n<% if (shown) { %>\n  <ul>\n"
                             "    <li>one</li>\n  </ul>\n<% } %>\n</div>\n";
    const QByteArray text = piece.repeated(17'000); // 136,000 lines
    auto stepwise = [](TSyntaxParser& parser, const QByteArray& content) {
        TMemoSource source;
        source.SetSyntaxParser(&parser);
        source.SetTextStr(content);
        for (int line = 0; line < source.LineCount(); line += 20'000)
            source.ParseTo(line);
        source.ParseTo(source.LineCount() - 1);
        return StructureDump(source);
    };
    TMemoSource far;
    far.SetSyntaxParser(jsp.get());
    far.SetTextStr(text);
    far.ParseTo(far.LineCount() - 1);
    std::string found = StructureDump(far);
    std::string expected = stepwise(*jsp, text);
    EXPECT_NE(found.find(" p0 "), std::string::npos);
    EXPECT_TRUE(found == expected) << FirstDifference(found, expected);
    // Read as Java, the tags are no structure: the lines that held them
    // lose it, also those the second thread parses.
    far.SetSyntaxParser(java.get());
    far.ParseTo(far.LineCount() - 1);
    found = StructureDump(far);
    expected = stepwise(*java, text);
    EXPECT_TRUE(found == expected) << FirstDifference(found, expected);
    // Everything below the top in a comment.
    far.SetCaret({2, 0});
    far.InsertString("/*");
    far.ParseTo(far.LineCount() - 1);
    found = StructureDump(far);
    expected = stepwise(*java, far.Lines().Text());
    EXPECT_TRUE(found == expected) << FirstDifference(found, expected);
}

} // namespace
