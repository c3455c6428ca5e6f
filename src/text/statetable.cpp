#include "statetable.h"

#include <algorithm>
#include <cstdlib>
#include <new>

TStateTable::TStateTable(int capacity)
{
    capacity = std::clamp(capacity, 1, kMaxCapacity);
    m_values = static_cast<quint32*>(std::calloc(size_t(capacity), sizeof(quint32)));
    if (m_values) {
        m_capacity = capacity;
    } else {
        // Without memory for the table every state is kept as the root.
        m_values = &m_rootOnly;
        m_capacity = 1;
    }
    try {
        m_ids.emplace(0u, Id(0));
    } catch (const std::bad_alloc&) {
        // State 0 is id 0 without the map too (the cache of recent states
        // starts out saying so).
    }
}

TStateTable::~TStateTable()
{
    if (m_values != &m_rootOnly)
        std::free(m_values);
}

TStateTable::Id TStateTable::InternSlow(quint32 state)
{
    std::lock_guard lock(m_mutex);
    Id id = 0;
    if (state != 0) {
        const auto found = m_ids.find(state);
        if (found != m_ids.end()) {
            id = found->second;
        } else {
            const int count = m_count.load(std::memory_order_relaxed);
            if (count == m_capacity)
                return 0;
            try {
                m_ids.emplace(state, Id(count));
            } catch (const std::bad_alloc&) {
                return 0;
            }
            id = Id(count);
            m_values[id] = state;
            m_count.store(count + 1, std::memory_order_relaxed);
        }
    }
    // Publishes the entry written above to threads that find the id here.
    m_recent[RecentSlot(state)].store(quint64(state) << 32 | id, std::memory_order_release);
    return id;
}
