#include "linestate.h"
#include "syntaxfixture.h"

namespace {

struct StoreWith {
    explicit StoreWith(TBuiltInScheme which, const QByteArray& text) : parser(BuiltIn(which))
    {
        source.SetSyntaxParser(parser.get());
        source.Lines().SetText(text);
    }
    std::unique_ptr<TSyntaxParser> parser;
    TMemoSource source;
};

TEST(JavaScheme, CommentOpenAtLineEndCarriesToTheNextLine)
{
    StoreWith s(TBuiltInScheme::Java, "/* a\nb */ c\n");
    EXPECT_EQ(LineState::Construct(EndState(s.source, 0)), quint32(LineState::ocMultiLineComment));
    EXPECT_EQ(Attrs(s.source, 0), Bytes({{5, 4}}));
    EXPECT_EQ(Attrs(s.source, 1), Bytes({{5, 4}, {0, 2}}));
    EXPECT_EQ(EndState(s.source, 1), 0u);
}

} // namespace
