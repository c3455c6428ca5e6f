#include "stateruns.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Lists of states with long runs, runs of one, and a change at every place,
// read back over every stretch [first, last): the runs handed out cover the
// stretch in order, touch without overlapping, and each holds the state of
// every index it covers.
TEST(StateRuns, EveryStretchReadsBackTheStatesPushed)
{
    std::mt19937 random(7);
    for (const int changeEvery : {1, 2, 5, 1000}) {
        SCOPED_TRACE(changeEvery);
        std::vector<quint32> plain;
        TStateRuns runs;
        quint32 state = 0;
        for (int i = 0; i < 60; ++i) {
            if (random() % unsigned(changeEvery) == 0)
                state = random() % 3;
            plain.push_back(state);
            runs.Push(state);
        }
        ASSERT_EQ(runs.Size(), plain.size());
        for (size_t first = 0; first <= plain.size(); ++first) {
            for (size_t last = first; last <= plain.size(); ++last) {
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
