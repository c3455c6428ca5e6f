#include "statetable.h"
#include "stringitem.h"

#include <gtest/gtest.h>

#include <map>
#include <thread>
#include <vector>

namespace {

// A table of four states taken through a sequence of states, repeats, a full
// table and the extreme values: every state in the table reads back exactly
// under one id of its own, and a state that finds the table full is kept as
// the root without disturbing the others.
TEST(StateTable, KeepsEveryStateUnderOneIdAndTheRootOnceFull)
{
    struct TStep {
        quint32 state;
        quint32 readBack;
    };
    const TStep steps[] = {
        {0u, 0u},
        {0xFFFFFFFFu, 0xFFFFFFFFu},
        {0x01C00203u, 0x01C00203u},
        {0xFFFFFFFFu, 0xFFFFFFFFu}, // found again, not entered twice
        {0u, 0u},
        {0x00000001u, 0x00000001u}, // the fourth state fills the table
        {0x00000002u, 0u},          // full: kept as the root
        {0x01C00203u, 0x01C00203u}, // earlier states are still found
        {0x00000002u, 0u},
        {0x00000001u, 0x00000001u},
    };
    TStateTable table(4);
    std::map<quint32, TStateTable::Id> ids;
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.state);
        const TStateTable::Id id = table.Intern(step.state);
        EXPECT_EQ(table.Value(id), step.readBack);
        if (step.readBack == step.state) {
            const auto [known, fresh] = ids.emplace(step.state, id);
            EXPECT_EQ(known->second, id) << "one state, one id";
        }
    }
    EXPECT_EQ(table.Count(), 4);
    EXPECT_EQ(ids.size(), 4u);
    std::map<TStateTable::Id, quint32> states;
    for (const auto& [state, id] : ids)
        EXPECT_TRUE(states.emplace(id, state).second) << "two states share id " << id;

    // The line item keeps its states through the shared table, and stays
    // small enough that a line of a big file costs 20 bytes.
    TStringItem item;
    item.startState = 0xFEDCBA98u;
    item.endState = item.startState;
    EXPECT_EQ(quint32(item.startState), 0xFEDCBA98u);
    EXPECT_EQ(quint32(item.endState), 0xFEDCBA98u);
    item.endState = 0;
    EXPECT_EQ(quint32(item.endState), 0u);
}

// Threads entering the same states at once agree on one id per state.
TEST(StateTable, ThreadsEnteringTheSameStatesAgreeOnTheirIds)
{
    constexpr int kStates = 3000;
    constexpr int kThreads = 4;
    TStateTable table;
    std::vector<std::vector<TStateTable::Id>> seen(kThreads, std::vector<TStateTable::Id>(kStates));
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            // Each thread walks the states from another starting point.
            for (int i = 0; i < kStates; ++i) {
                const int n = (i + t * kStates / kThreads) % kStates;
                seen[size_t(t)][size_t(n)] = table.Intern(quint32(n) * 0x00010101u);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(table.Count(), kStates);
    for (int n = 0; n < kStates; ++n) {
        for (int t = 1; t < kThreads; ++t)
            ASSERT_EQ(seen[size_t(t)][size_t(n)], seen[0][size_t(n)]) << "state " << n;
        ASSERT_EQ(table.Value(seen[0][size_t(n)]), quint32(n) * 0x00010101u);
    }
}

} // namespace
