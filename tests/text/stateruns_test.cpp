#include "stateruns.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Lists of states with long runs, runs of one, a change at every place,
// runs longer than a byte counts and more distinct states than a byte
// numbers, read back over stretches [first, last): the runs handed out
// cover the stretch in order, touch without overlapping, and each holds the
// state of every index it covers; renumbered states read back renumbered.
TEST(StateRuns, EveryStretchReadsBackTheStatesPushed)
{
    struct TCase {
        int changeEvery;
        quint32 distinct;
        int lines;
        size_t stride;
    };
    const TCase cases[] = {{1, 3, 60, 1}, {2, 3, 60, 1}, {5, 3, 60, 1}, {1000, 3, 60, 1},
                           {1, 1u << 31, 700, 7}, {300, 2, 3000, 31}, {3, 400, 2000, 23}};
    std::mt19937 random(7);
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.changeEvery << " " << c.distinct);
        std::vector<quint32> plain;
        TStateRuns runs;
        quint32 state = 0;
        for (int i = 0; i < c.lines; ++i) {
            if (random() % unsigned(c.changeEvery) == 0)
                state = random() % c.distinct;
            plain.push_back(state);
            runs.Push(state);
        }
        ASSERT_EQ(runs.Size(), plain.size());
        for (quint32& value : runs.Values())
            value ^= 0x5A5A;
        for (quint32& value : plain)
            value ^= 0x5A5A;
        for (size_t first = 0; first <= plain.size(); first += c.stride) {
            for (size_t last = first; last <= plain.size(); last += c.stride) {
                std::vector<quint32> read;
                runs.ForEachRun(first, last, [&](size_t from, size_t to, quint32 value) {
                    ASSERT_EQ(from, first + read.size());
                    ASSERT_LT(from, to);
                    read.insert(read.end(), to - from, value);
                });
                ASSERT_EQ(read, std::vector<quint32>(plain.begin() + long(first), plain.begin() + long(last)))
                    << first << ".." << last;
            }
        }
    }
}

} // namespace
