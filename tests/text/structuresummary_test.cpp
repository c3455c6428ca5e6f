#include "htmlelements.h"
#include "linestructures.h"

#include <gtest/gtest.h>

#include <random>
#include <span>
#include <string>
#include <utility>
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

// A line of count block opens, at columns from column on.
TStructureBuilder Opens(int count, int column)
{
    TStructureBuilder builder;
    for (int i = 0; i < count; ++i) {
        TStructureEvent event;
        event.kind = skBlock;
        event.column = column + i;
        builder.Add(event);
    }
    return builder;
}

// The events kept for line, as (the first one's column, count); -1 for a
// line whose columns do not follow each other.
std::pair<int, int> Kept(const TLineStructures& structures, int line)
{
    const TStructureEntry* entry = structures.Find(line);
    if (!entry)
        return {0, 0};
    const std::span<const TStructureEvent> events = structures.Events(*entry);
    for (size_t i = 0; i < events.size(); ++i) {
        if (events[i].column != events[0].column + int(i))
            return {-1, -1};
    }
    return {events.empty() ? 0 : events[0].column, int(events.size())};
}

// Lines of few events and of more than an entry counts itself keep every
// event on each way into the store: appended, added by a pass (also over an
// entry, again and again until the replaced events are dropped), taken from
// another thread's summaries and from the far half of a text.
TEST(StructureSummary, LinesOfManyEventsKeepThemOnEveryWayIntoTheStore)
{
    for (const int many : {3, 254, 255, 256, 1000}) {
        SCOPED_TRACE(many);
        TLineStructures structures;
        structures.Append(1, Opens(many, 0));
        structures.Append(2, Opens(2, 0));
        for (int round = 0; round < 40; ++round) {
            TLineStructures::TPass pass(structures);
            pass.Add(1, Opens(many - round % 2, 100 + round));
            pass.Add(4, Opens(many, 10 + round));
            pass.Commit();
        }
        TStructureSummaries summaries;
        summaries.AddIfAny(6, Opens(many, 60));
        summaries.AddIfAny(7, Opens(1, 70));
        TLineStructures::TPass pass(structures);
        pass.Add(5, Opens(many, 50));
        pass.Take(summaries, 6, 8);
        pass.Commit();
        TLineStructures far;
        far.Append(9, Opens(many, 90));
        far.Append(10, Opens(4, 0));
        structures.TakeFrom(far, 9);
        const std::pair<int, int> expected[] = {{0, 0},     {139, many - 1}, {0, 2},  {0, 0},    {49, many}, {50, many},
                                                {60, many}, {70, 1},         {0, 0}, {90, many}, {0, 4}};
        for (int line = 0; line < 11; ++line)
            EXPECT_EQ(Kept(structures, line), expected[line]) << "line " << line;
    }
}

} // namespace
