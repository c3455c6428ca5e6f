#include "htmlelements.h"
#include "linestructures.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace Structure;

// What a walk over the lines sees: each element left open after a line, and
// each element of an earlier line that a line ended (and how).
std::string Describe(const TStructureStack& stack)
{
    std::string out;
    for (const TStructureStack::TItem& item : stack.Items())
        out += " " + std::to_string(item.kind) + ":" + std::to_string(item.name) + "@" + std::to_string(item.line) + "." +
               std::to_string(item.column);
    return out;
}

// Random pages of elements (rows and cells, lists, paragraphs in blocks,
// options, void and inline elements) and blocks: a walk over the lines'
// summed-up events sees exactly what a walk over all their events sees,
// although the summaries leave out the pairs that change nothing around
// their line.
TEST(StructureSummary, AWalkOverSummariesSeesWhatAWalkOverEveryEventSees)
{
    const char* const names[] = {"tr", "td", "th", "tbody", "table", "p", "div", "li", "ul",
                                 "b",  "br", "option", "dt", "dd", "span"};
    std::vector<quint32> ids;
    for (const char* name : names)
        ids.push_back(TStructureNames::Shared().Intern(name));
    std::mt19937 random(11);
    size_t whole = 0;
    size_t kept = 0;
    for (int page = 0; page < 3000; ++page) {
        TStructureStack everything;
        TStructureStack summed;
        std::string endedEverything;
        std::string endedSummed;
        auto recorder = [](std::string& out, int line) {
            return [&out, line](const TStructureStack::TItem& item, bool explicitEnd, int at, const TStructureEvent& by) {
                // Elements opened and ended on one line are the line's own.
                if (item.line < line)
                    out += " " + std::to_string(item.name) + "@" + std::to_string(item.line) + "." +
                           std::to_string(item.column) + (explicitEnd ? "x" : "i") + std::to_string(at) + "." +
                           std::to_string(by.column);
            };
        };
        for (int line = 0; line < 6; ++line) {
            TStructureBuilder builder;
            const int count = int(random() % 9);
            for (int i = 0; i < count; ++i) {
                TStructureEvent event;
                event.column = i * 4;
                event.length = 3;
                const unsigned pick = random() % 10;
                if (pick == 0) {
                    event.kind = skBlock;
                    event.action = random() % 2 ? saOpen : saClose;
                    event.name = 1;
                } else {
                    event.kind = skTag;
                    event.name = ids[random() % ids.size()];
                    event.action = pick < 7 ? saOpen : saClose;
                }
                builder.Add(event);
                // "/>" ends the start tag it closes, and is named by nothing.
                if (event.action == saOpen && event.kind == skTag && random() % 4 == 0) {
                    event.column += 2;
                    event.action = saSelfClose;
                    event.name = 0;
                    builder.Add(event);
                }
            }
            TStructureEntry entry;
            std::vector<TStructureEvent> events;
            builder.Summarize(entry, events);
            whole += builder.Events().size();
            kept += events.size();
            for (const TStructureEvent& event : builder.Events())
                everything.Apply(event, line, -1, recorder(endedEverything, line));
            for (const TStructureEvent& event : events)
                summed.Apply(event, line, -1, recorder(endedSummed, line));
            ASSERT_EQ(Describe(summed), Describe(everything)) << "page " << page << " line " << line;
            ASSERT_EQ(endedSummed, endedEverything) << "page " << page << " line " << line;
        }
    }
    // The summaries do leave events out.
    EXPECT_LT(kept, whole * 9 / 10);
}

} // namespace
