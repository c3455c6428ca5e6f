#include "stateruns.h"

void TStateRuns::AddChange(quint32 state)
{
    // A text that changes state often mostly goes back to the state before.
    quint32 index = m_previous;
    if (m_changes == 0 || m_palette[index] != state) {
        const auto [found, added] = m_indexOf.try_emplace(state, quint32(m_palette.size()));
        if (added)
            m_palette.push_back(state);
        index = found->second;
    }
    WriteNumber(m_size - m_currentStart);
    WriteNumber(index);
    m_previous = m_current;
    m_current = index;
    m_currentStart = m_size;
    ++m_changes;
}

void TStateRuns::WriteNumber(size_t value)
{
    for (; value >= 0x80; value >>= 7)
        m_bytes.push_back(quint8(value | 0x80));
    m_bytes.push_back(quint8(value));
}
