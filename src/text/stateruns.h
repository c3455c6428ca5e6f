#pragma once

#include <QtGlobal>

#include <algorithm>
#include <span>
#include <vector>

// The states of consecutive lines (the start state of each and, last, the
// end state of the last one), kept only where they change: most lines of a
// text start as the line before them started (outside any comment, string
// or tag), so a list of every line's state would hold the same number again
// and again.
class TStateRuns {
public:
    // Adds the state that follows the ones held.
    void Push(quint32 state)
    {
        if (m_values.empty() || state != m_values.back()) {
            m_starts.push_back(quint32(m_size));
            m_values.push_back(state);
        }
        ++m_size;
    }
    // The states held, each line's counted.
    size_t Size() const { return m_size; }
    bool Empty() const { return m_size == 0; }
    // Where the state changes (the first state counts as a change).
    size_t Changes() const { return m_values.size(); }
    void Reserve(size_t changes)
    {
        m_starts.reserve(changes);
        m_values.reserve(changes);
    }
    // The state of each change, to be renumbered in place.
    std::span<quint32> Values() { return m_values; }

    // Calls f(from, to, state) for each stretch [from, to) of [first, last)
    // holding one state, in order; last <= Size().
    template <class F>
    void ForEachRun(size_t first, size_t last, F&& f) const
    {
        if (first >= last)
            return;
        size_t run = size_t(std::upper_bound(m_starts.begin(), m_starts.end(), quint32(first)) - m_starts.begin()) - 1;
        for (size_t from = first; from < last; ++run) {
            const size_t to = run + 1 < m_starts.size() ? std::min<size_t>(m_starts[run + 1], last) : last;
            f(from, to, m_values[run]);
            from = to;
        }
    }

private:
    // The index of each change and the state it changes to.
    std::vector<quint32> m_starts;
    std::vector<quint32> m_values;
    size_t m_size = 0;
};
