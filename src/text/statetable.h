#pragma once

#include <QtGlobal>

#include <array>
#include <atomic>
#include <mutex>
#include <unordered_map>

// The distinct parser states met in this process, each under a 16-bit id, so
// that a line item keeps its start and end state in 4 bytes instead of 8 (on
// a file of 35-byte lines that is a tenth of the heap). A parser state is a
// 32-bit packing of a few small fields, and a real file meets a few hundred
// distinct ones: the table stays a few kilobytes.
//
// invariant: an id once given always stands for the same state; the table
// only grows, so an id kept in a line item never goes stale, and id 0 is
// state 0 (the root block with nothing open, where every file starts).
//
// When the table is full, a state not in it is kept as state 0. Nothing is
// lost but colour: the text is never touched, and the parser always accepts
// state 0. A pass that runs on carries the exact state from line to line; only
// a later pass that starts from such a line, or a line parsed again from its
// kept start state, begins as at the top of the file until the states meet
// again. A table of 65,536 states is far beyond what the schemes produce.
//
// Threads: ids and states may be taken from any thread. An entry is written
// once, before its id is handed out (under the mutex, or through a release
// store into the cache of recent states), and never changes, so reading a
// state by an id that was handed out needs no lock.
class TStateTable {
public:
    using Id = quint16;
    static constexpr int kMaxCapacity = 1 << 16;

    // A table of at most capacity states (at least 1, at most kMaxCapacity).
    explicit TStateTable(int capacity = kMaxCapacity);
    ~TStateTable();
    TStateTable(const TStateTable&) = delete;
    TStateTable& operator=(const TStateTable&) = delete;

    // The id of state, entered when new; 0 when the table is full and the
    // state is not in it.
    Id Intern(quint32 state)
    {
        // A recent state is found without the lock: the parser hands out the
        // same few states again and again.
        const quint64 entry = m_recent[RecentSlot(state)].load(std::memory_order_acquire);
        if (quint32(entry >> 32) == state)
            return Id(entry);
        return InternSlow(state);
    }
    quint32 Value(Id id) const { return id < m_capacity ? m_values[id] : 0; }

    int Count() const { return m_count.load(std::memory_order_relaxed); }
    int Capacity() const { return m_capacity; }

    // The table the line items of every text store use. It is never
    // destroyed, so that a store living until the process ends can still
    // read its states while static objects are torn down.
    static TStateTable& Shared()
    {
        static TStateTable* const table = new TStateTable;
        return *table;
    }

private:
    static constexpr int kRecentBits = 10;
    static size_t RecentSlot(quint32 state) { return (state * 0x9E3779B1u) >> (32 - kRecentBits); }
    Id InternSlow(quint32 state);

    // Zeroed pages from the system: only the pages holding entries are ever
    // touched, whatever the capacity.
    quint32* m_values = nullptr;
    quint32 m_rootOnly = 0;
    int m_capacity = 1;
    std::atomic<int> m_count{1};
    // state << 32 | id; a zero entry says state 0 is id 0, which holds.
    std::array<std::atomic<quint64>, size_t(1) << kRecentBits> m_recent{};
    std::mutex m_mutex;
    std::unordered_map<quint32, Id> m_ids;
};

// A parser state as a line item keeps it: an id into the shared state table,
// read and assigned as the 32-bit state itself.
class TStoredState {
public:
    TStoredState() = default;
    operator quint32() const { return TStateTable::Shared().Value(m_id); }
    TStoredState& operator=(quint32 state)
    {
        m_id = TStateTable::Shared().Intern(state);
        return *this;
    }

private:
    TStateTable::Id m_id = 0;
};
