#include "htmlelements.h"

#include <gtest/gtest.h>

namespace {

quint32 name(const char* text)
{
    return TStructureNames::Shared().Intern(text);
}

// Which openings end the innermost open element without its closing tag, as
// browsers read a page: each optional-end group, a block ending an open p,
// and pairs that look alike but end nothing.
TEST(HtmlElements, AnOpeningEndsOnlyTheOptionalEndElementsOfItsGroup)
{
    struct TCase {
        const char* opening;
        const char* top;
        bool ends;
    };
    const TCase cases[] = {
        {"li", "li", true},          {"p", "p", true},          {"div", "div", false},
        {"dt", "dd", true},          {"dd", "dt", true},        {"dt", "li", false},
        {"td", "th", true},          {"th", "td", true},        {"tr", "td", true},
        {"tr", "th", true},          {"tr", "tr", true},        {"td", "tr", false},
        {"tbody", "tr", true},       {"thead", "td", true},     {"tfoot", "thead", true},
        {"tbody", "tbody", true},    {"tbody", "tfoot", false}, {"tr", "tbody", false},
        {"option", "option", true},  {"optgroup", "option", true}, {"option", "optgroup", false},
        {"optgroup", "optgroup", true},
        {"div", "p", true},          {"table", "p", true},      {"h3", "p", true},
        {"span", "p", false},        {"b", "p", false},         {"custom-tag", "p", false},
        {"p", "li", false},          {"li", "p", false},        {"p", "div", false},
        {"td", "custom-tag", false}, {"li", "ul", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.opening) + " over " + c.top);
        EXPECT_EQ(HtmlElements::OpenEnds(name(c.opening), name(c.top)), c.ends);
    }
    EXPECT_TRUE(HtmlElements::IsVoid(name("br")));
    EXPECT_FALSE(HtmlElements::IsVoid(name("p")));
    EXPECT_TRUE(HtmlElements::EndsWithoutTag(name("td")));
    EXPECT_FALSE(HtmlElements::EndsWithoutTag(name("table")));
    EXPECT_TRUE(HtmlElements::Inert(name("span")));
    EXPECT_FALSE(HtmlElements::Inert(name("div")));
}

} // namespace
