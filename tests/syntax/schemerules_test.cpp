// What the shipped schemes make of the constructs that need more than a
// token's own text: words that are keywords only in some places, escaped
// expressions, regular expressions against divisions, nested template
// strings, keys against values, line-bound values, here-documents. Each row
// names a piece of a text and the text style it must be painted in.

#include "syntaxfixture.h"

#include <QStringList>

namespace {

struct Row {
    TBuiltInScheme scheme;
    const char* text;
    const char* piece; // its first occurrence, or the occurrence-th
    const char* style; // the global text style of every one of its characters
    int occurrence = 1;
};

const Row kRows[] = {
    // An escaped expression in a JSP page is page text.
    {TBuiltInScheme::Jsp, "<td>\\${1}</td><td>${2}</td>\n", "${1}", "Whitespace"},
    {TBuiltInScheme::Jsp, "<td>\\${1}</td><td>${2}</td>\n", "${2}", "Expression Language"},
    {TBuiltInScheme::Jsp, "<td>\\\\${3}</td>\n", "${3}", "Expression Language"},
    {TBuiltInScheme::Jsp, "<p title=\"\\#{x}\">\n", "#{x}", "String"},
    // Java's words that are keywords only where the language makes them so.
    {TBuiltInScheme::Java, "String var = \"\";\n", "var", "Whitespace"},
    {TBuiltInScheme::Java, "var list = new ArrayList<String>();\n", "var", "Newer keywords"},
    {TBuiltInScheme::Java, "for (var item : items) {}\n", "var", "Newer keywords"},
    {TBuiltInScheme::Java, "Thread.yield();\n", "yield", "Whitespace"},
    {TBuiltInScheme::Java, "int yield = 0;\n", "yield", "Whitespace"},
    {TBuiltInScheme::Java, "        yield result;\n", "yield", "Newer keywords"},
    {TBuiltInScheme::Java, "record Point(int x, int y) {}\n", "record", "Newer keywords"},
    {TBuiltInScheme::Java, "Record record = load(record);\n", "record", "Whitespace"},
    {TBuiltInScheme::Java, "public sealed interface Shape permits Circle {}\n", "sealed", "Newer keywords"},
    {TBuiltInScheme::Java, "public sealed interface Shape permits Circle {}\n", "permits", "Newer keywords"},
    {TBuiltInScheme::Java, "if (constraints.permits(user)) {}\n", "permits", "Whitespace"},
    {TBuiltInScheme::Java, "boolean sealed = true;\n", "sealed", "Whitespace"},
    {TBuiltInScheme::Java, "public non-sealed class Square {}\n", "non-sealed", "Newer keywords"},
    {TBuiltInScheme::Java, "case Circle c when c.radius() > 10 -> 1;\n", "when", "Newer keywords"},
    {TBuiltInScheme::Java, "when(service.call()).thenReturn(1);\n", "when", "Whitespace"},
    {TBuiltInScheme::Java, "return Mockito.when(x);\n", "when", "Whitespace"},
    {TBuiltInScheme::Java, "assert ok; enum E {}\n", "enum", "Newer keywords"},
    // A regular expression where an operand can stand, a division elsewhere.
    {TBuiltInScheme::JavaScript, "var r = total / count / 2;\n", "/", "Delimiters", 2},
    {TBuiltInScheme::JavaScript, "if (/^a[/]b\\/$/i.test(s)) {}\n", "/^a[/]b\\/$/i", "JavaScript RegExp"},
    {TBuiltInScheme::JavaScript, "return /x+/g;\n", "/x+/g", "JavaScript RegExp"},
    {TBuiltInScheme::JavaScript, "x = (a) / 2 + b[1] / 3;\n", "/", "Delimiters"},
    {TBuiltInScheme::JavaScript, "x = (a) / 2 + b[1] / 3;\n", "/", "Delimiters", 2},
    {TBuiltInScheme::JavaScript, "x = a / 2; // see /b/\n", "/", "Delimiters"},
    {TBuiltInScheme::Jsp, "<script>if (/<\\/p>/.test(s)) {}</script>\n", "/<\\/p>/", "JavaScript RegExp"},
    {TBuiltInScheme::Jsp, "<script>x = a / b / c;</script>\n", "/", "Delimiters", 2},
    // Template strings, their substitutions nested.
    {TBuiltInScheme::JavaScript, "t = `a${b + `c${d}`}e`;\n", "`a", "JavaScript Template"},
    {TBuiltInScheme::JavaScript, "t = `a${b + `c${d}`}e`;\n", "+", "Delimiters"},
    {TBuiltInScheme::JavaScript, "t = `a${b + `c${d}`}e`;\n", "c", "JavaScript Template"},
    {TBuiltInScheme::JavaScript, "t = `a${b + `c${d}`}e`;\n", "d", "Whitespace"},
    {TBuiltInScheme::JavaScript, "t = `a${b + `c${d}`}e`;\n", "e`", "JavaScript Template"},
    {TBuiltInScheme::JavaScript, "t = `<ul>${xs.map(x => { return x; })}</ul>`;\n", "return", "JavaScript Keyword"},
    {TBuiltInScheme::JavaScript, "t = `<ul>${xs.map(x => { return x; })}</ul>`;\n", "</ul>`", "JavaScript Template"},
    {TBuiltInScheme::JavaScript, "t = `a\n${b}\nc`;\nvar\n", "var", "JavaScript Keyword"},
    {TBuiltInScheme::JavaScript, "t = `\\${literal}`;\n", "${literal}", "JavaScript Template"},
    {TBuiltInScheme::JavaScript, "s = \"${plain} \" + x; // ${y\nvar\n", "${plain}", "JavaScript String"},
    {TBuiltInScheme::JavaScript, "s = \"${plain} \" + x; // ${y\nvar\n", "var", "JavaScript Keyword"},
    {TBuiltInScheme::JavaScript, "n = 1_000n + 0xFFn + 0b1010 + .5e-3;\n", "1_000n", "JavaScript Number"},
    {TBuiltInScheme::JavaScript, "n = 1_000n + 0xFFn + 0b1010 + .5e-3;\n", ".5e-3", "JavaScript Number"},
    // CSS selectors, declarations and nesting.
    {TBuiltInScheme::Css, "a.nav:hover > #main::before { color: #fff; }\n", ".nav", "CSS Class"},
    {TBuiltInScheme::Css, "a.nav:hover > #main::before { color: #fff; }\n", ":hover", "CSS Pseudo-class"},
    {TBuiltInScheme::Css, "a.nav:hover > #main::before { color: #fff; }\n", "#main", "CSS Id"},
    {TBuiltInScheme::Css, "a.nav:hover > #main::before { color: #fff; }\n", "::before", "CSS Pseudo-class"},
    {TBuiltInScheme::Css, "a.nav:hover > #main::before { color: #fff; }\n", "color:", "CSS Property"},
    {TBuiltInScheme::Css, "a.nav:hover > #main::before { color: #fff; }\n", "#fff", "CSS Colour"},
    {TBuiltInScheme::Css, "@media (max-width: 600px) {\n", "@media", "CSS At-rule"},
    {TBuiltInScheme::Css, "@media (max-width: 600px) {\n", "600px", "CSS Number"},
    {TBuiltInScheme::Css, ":root { --gap: 4px; margin: var(--gap) !important; }\n", "--gap:", "CSS Custom Property"},
    {TBuiltInScheme::Css, ":root { --gap: 4px; margin: var(--gap) !important; }\n", "--gap", "CSS Custom Property", 2},
    {TBuiltInScheme::Css, ":root { --gap: 4px; margin: var(--gap) !important; }\n", "var", "CSS Value"},
    {TBuiltInScheme::Css, ":root { --gap: 4px; margin: var(--gap) !important; }\n", "!important", "CSS At-rule"},
    {TBuiltInScheme::Css, "input[type=\"text\"] { background: url(img/a.png); }\n", "[type=", "CSS Attribute Selector"},
    {TBuiltInScheme::Css, "input[type=\"text\"] { background: url(img/a.png); }\n", "img/a.png", "CSS Url"},
    {TBuiltInScheme::Css, ".card {\n  .title { color: red; }\n  margin: 0;\n}\nh1 {}\n", "color:", "CSS Property"},
    {TBuiltInScheme::Css, ".card {\n  .title { color: red; }\n  margin: 0;\n}\nh1 {}\n", "margin:", "CSS Property"},
    {TBuiltInScheme::Css, ".card {\n  .title { color: red; }\n  margin: 0;\n}\nh1 {}\n", "h1", "CSS Selector"},
    {TBuiltInScheme::Jsp, "<style>a.nav:hover { color: var(--c); }</style>\n", ".nav", "CSS Class"},
    {TBuiltInScheme::Jsp, "<style>a.nav:hover { color: var(--c); }</style>\n", "--c", "CSS Custom Property"},
    // XML.
    {TBuiltInScheme::Xml, "<?xml version=\"1.0\"?>\n", "<?xml", "XML Processing Instruction"},
    {TBuiltInScheme::Xml, "<?xml version=\"1.0\"?>\n", "version", "XML Attribute"},
    {TBuiltInScheme::Xml, "<?xml version=\"1.0\"?>\n", "\"1.0\"", "XML Value"},
    {TBuiltInScheme::Xml, "<xsl:if test=\"a\n  b\">&amp;&#169;</xsl:if>\n", "<xsl:if", "XML Element"},
    {TBuiltInScheme::Xml, "<xsl:if test=\"a\n  b\">&amp;&#169;</xsl:if>\n", "test", "XML Attribute"},
    {TBuiltInScheme::Xml, "<xsl:if test=\"a\n  b\">&amp;&#169;</xsl:if>\n", "  b\"", "XML Value"},
    {TBuiltInScheme::Xml, "<xsl:if test=\"a\n  b\">&amp;&#169;</xsl:if>\n", "&amp;", "Html entities"},
    {TBuiltInScheme::Xml, "<xsl:if test=\"a\n  b\">&amp;&#169;</xsl:if>\n", "&#169;", "Html entities"},
    {TBuiltInScheme::Xml, "<xsl:if test=\"a\n  b\">&amp;&#169;</xsl:if>\n", "</xsl:if", "XML Element"},
    {TBuiltInScheme::Xml, "<a><!-- <b> --><![CDATA[ <c> ]]></a>\n", "<!-- <b> -->", "Comment"},
    {TBuiltInScheme::Xml, "<a><!-- <b> --><![CDATA[ <c> ]]></a>\n", "<![CDATA[ <c> ]]>", "Html CDATA"},
    {TBuiltInScheme::Xml, "<!DOCTYPE x [\n  <!ENTITY e \"v\">\n]>\n<x/>\n", "<!ENTITY e", "Html doctype"},
    {TBuiltInScheme::Xml, "<!DOCTYPE x [\n  <!ENTITY e \"v\">\n]>\n<x/>\n", "<x", "XML Element"},
    {TBuiltInScheme::Xml, "<c:out value=\"${user.name}\"/> \\${not}\n", "${user.name}", "Expression Language"},
    {TBuiltInScheme::Xml, "<c:out value=\"${user.name}\"/> \\${not}\n", "${not}", "Whitespace"},
    // JSON: keys apart from values, invalid tokens.
    {TBuiltInScheme::Json, "{\"name\" : \"x\", \"n\": -1.5e3, \"ok\": true, bad: 'q'}\n", "\"name\"", "JSON Key"},
    {TBuiltInScheme::Json, "{\"name\" : \"x\", \"n\": -1.5e3, \"ok\": true, bad: 'q'}\n", "\"x\"", "String"},
    {TBuiltInScheme::Json, "{\"name\" : \"x\", \"n\": -1.5e3, \"ok\": true, bad: 'q'}\n", "1.5e3", "Float"},
    {TBuiltInScheme::Json, "{\"name\" : \"x\", \"n\": -1.5e3, \"ok\": true, bad: 'q'}\n", "true", "Reserved words"},
    {TBuiltInScheme::Json, "{\"name\" : \"x\", \"n\": -1.5e3, \"ok\": true, bad: 'q'}\n", "bad", "Error line"},
    {TBuiltInScheme::Json, "{\"name\" : \"x\", \"n\": -1.5e3, \"ok\": true, bad: 'q'}\n", "'q'", "Error line"},
    {TBuiltInScheme::Json, "[\"a\\\": b\", 1] // note\n", "\"a\\\": b\"", "String"},
    {TBuiltInScheme::Json, "[\"a\\\": b\", 1] // note\n", "// note", "Comment"},
    // Properties: keys, separators, values over continued lines.
    {TBuiltInScheme::Properties, "app.title = My App: 1\n", "app.title", "Properties Key"},
    {TBuiltInScheme::Properties, "app.title = My App: 1\n", "=", "Delimiters"},
    {TBuiltInScheme::Properties, "app.title = My App: 1\n", "My App: 1", "Properties Value"},
    {TBuiltInScheme::Properties, "key:value\n", "value", "Properties Value"},
    {TBuiltInScheme::Properties, "  key value with spaces\n", "key", "Properties Key"},
    {TBuiltInScheme::Properties, "  key value with spaces\n", "value with spaces", "Properties Value"},
    {TBuiltInScheme::Properties, "a\\:b=c\n", "b", "Properties Key"},
    {TBuiltInScheme::Properties, "a\\:b=c\n", "c", "Properties Value"},
    {TBuiltInScheme::Properties, "# comment = x\n  ! note\n", "# comment = x", "Comment"},
    {TBuiltInScheme::Properties, "# comment = x\n  ! note\n", "! note", "Comment"},
    {TBuiltInScheme::Properties, "msg=one \\\n  two = 2\nnext=3\n", "two = 2", "Properties Value"},
    {TBuiltInScheme::Properties, "msg=one \\\n  two = 2\nnext=3\n", "next", "Properties Key"},
    {TBuiltInScheme::Properties, "msg=one \\\n\nnext=3\n", "next", "Properties Key"},
    {TBuiltInScheme::Properties, "msg=two \\\\\nnext=3\n", "next", "Properties Key"},
    {TBuiltInScheme::Properties, "name=Caf\\u00e9\n", "\\u00e9", "Properties Escape"},
    // SQL.
    {TBuiltInScheme::Sql, "SELECT \"Name\", 'it''s' FROM t -- note\n", "SELECT", "Reserved words"},
    {TBuiltInScheme::Sql, "SELECT \"Name\", 'it''s' FROM t -- note\n", "\"Name\"", "SQL Quoted Identifier"},
    {TBuiltInScheme::Sql, "SELECT \"Name\", 'it''s' FROM t -- note\n", "'it''s'", "String"},
    {TBuiltInScheme::Sql, "SELECT \"Name\", 'it''s' FROM t -- note\n", "-- note", "Comment"},
    {TBuiltInScheme::Sql, "create table t (id Integer);\n", "Integer", "SQL Type"},
    {TBuiltInScheme::Sql, "AS $$\nBEGIN RETURN 1; END\n$$;\n", "BEGIN", "String"},
    // Shell.
    {TBuiltInScheme::Shell, "if [ $# -gt 0 ]; then echo \"$1 ${HOME}\"; fi # done\n", "if", "Reserved words"},
    {TBuiltInScheme::Shell, "if [ $# -gt 0 ]; then echo \"$1 ${HOME}\"; fi # done\n", "$#", "Shell Variable"},
    {TBuiltInScheme::Shell, "if [ $# -gt 0 ]; then echo \"$1 ${HOME}\"; fi # done\n", "echo", "Shell Builtin"},
    {TBuiltInScheme::Shell, "if [ $# -gt 0 ]; then echo \"$1 ${HOME}\"; fi # done\n", "$1", "Shell Variable"},
    {TBuiltInScheme::Shell, "if [ $# -gt 0 ]; then echo \"$1 ${HOME}\"; fi # done\n", "${HOME}", "Shell Variable"},
    {TBuiltInScheme::Shell, "if [ $# -gt 0 ]; then echo \"$1 ${HOME}\"; fi # done\n", "# done", "Comment"},
    {TBuiltInScheme::Shell, "cd /etc/network/if-up.d; x=a#b\n", "if", "Whitespace"},
    {TBuiltInScheme::Shell, "cd /etc/network/if-up.d; x=a#b\n", "a#b", "Whitespace"},
    {TBuiltInScheme::Shell, "echo don\\'t \"say \\\"hi\\\"\"\nls\n", "ls", "Whitespace"},
    {TBuiltInScheme::Shell, "v=$(basename \"$0\" .sh)\n", "basename", "Whitespace"},
    {TBuiltInScheme::Shell, "v=$(basename \"$0\" .sh)\n", "$0", "Shell Variable"},
    {TBuiltInScheme::Shell, "cat <<EOF > out\nHello $name, if\nEOF\necho done\n", "<<EOF", "Shell Here Document"},
    {TBuiltInScheme::Shell, "cat <<EOF > out\nHello $name, if\nEOF\necho done\n", ">", "Delimiters"},
    {TBuiltInScheme::Shell, "cat <<EOF > out\nHello $name, if\nEOF\necho done\n", ", if", "Shell Here Document"},
    {TBuiltInScheme::Shell, "cat <<EOF > out\nHello $name, if\nEOF\necho done\n", "$name", "Shell Variable"},
    {TBuiltInScheme::Shell, "cat <<EOF > out\nHello $name, if\nEOF\necho done\n", "EOF", "Shell Here Document", 2},
    {TBuiltInScheme::Shell, "cat <<EOF > out\nHello $name, if\nEOF\necho done\n", "echo", "Shell Builtin"},
    {TBuiltInScheme::Shell, "cat <<-'END'\n\t$x\n\tEND.\n\tEND\nls\n", "$x", "Shell Here Document"},
    {TBuiltInScheme::Shell, "cat <<-'END'\n\t$x\n\tEND.\n\tEND\nls\n", "END.", "Shell Here Document"},
    {TBuiltInScheme::Shell, "cat <<-'END'\n\t$x\n\tEND.\n\tEND\nls\n", "ls", "Whitespace"},
    {TBuiltInScheme::Shell, "cat <<END\n\tEND\nEND\nls\n", "ls", "Whitespace"},
    {TBuiltInScheme::Shell, "echo $((1<<2))\nls\n", "ls", "Whitespace"},
    {TBuiltInScheme::Shell, "read x <<< \"$y\"\nls\n", "<<<", "Delimiters"},
};

// The global style the scheme gives an attribute.
QString StyleOf(const TSyntaxParser& parser, uchar attr)
{
    const TAttrItem* item = parser.SyntaxScheme()->AttrTable(attr);
    return item ? item->GlobalAttrID() : QStringLiteral("(none)");
}

TEST(SchemeRules, EveryPieceIsPaintedInItsStyle)
{
    std::unique_ptr<TSyntaxParser> parsers[BuiltInSchemes::kCount + 1];
    for (const Row& row : kRows) {
        auto& parser = parsers[BuiltInSchemes::Tag(row.scheme)];
        if (!parser)
            parser = BuiltIn(row.scheme);
        TMemoSource source;
        source.SetSyntaxParser(parser.get());
        source.SetTextStr(row.text);
        // The piece's line and column.
        int line = 0;
        int column = -1;
        for (int seen = 0; line < source.LineCount(); ++line) {
            const QByteArray text = source.LineText(line);
            for (int from = 0; (column = int(text.indexOf(row.piece, from))) >= 0; from = column + 1) {
                if (++seen == row.occurrence)
                    break;
            }
            if (column >= 0)
                break;
        }
        ASSERT_GE(column, 0) << row.text << " has no " << row.piece;
        const QByteArray attrs = Attrs(source, line);
        QStringList styles;
        for (int i = 0; i < int(qstrlen(row.piece)); ++i) {
            const QString style = StyleOf(*parser, uchar(attrs[column + i]));
            if (!styles.contains(style))
                styles << style;
        }
        EXPECT_EQ(styles.join(", ").toStdString(), row.style)
            << BuiltInSchemes::Caption(row.scheme).toStdString() << ": \"" << row.piece << "\" in " << row.text;
        source.SetSyntaxParser(nullptr);
    }
}

} // namespace
