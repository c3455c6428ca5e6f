#pragma once

#include <QtGlobal>

#include <algorithm>
#include <span>
#include <unordered_map>
#include <vector>

// The states of consecutive lines (the start state of each and, last, the
// end state of the last one), kept only where they change: most lines of a
// text start as the line before them started (outside any comment, string
// or tag), so a list of every line's state would hold the same number again
// and again. Where a text changes state often (a comment of two lines in
// every method), it goes back and forth between a few states, a few lines
// apart: each change is kept as the lines since the one before and the
// state's place among the distinct states, each a number of 7 bits a byte,
// so that most changes take two bytes.
class TStateRuns {
public:
    // Adds the state that follows the ones held.
    void Push(quint32 state)
    {
        if (m_size == 0 || state != m_palette[m_current])
            AddChange(state);
        ++m_size;
    }
    // The states held, each line's counted.
    size_t Size() const { return m_size; }
    bool Empty() const { return m_size == 0; }
    // Where the state changes (the first state counts as a change).
    size_t Changes() const { return m_changes; }
    void Reserve(size_t changes) { m_bytes.reserve(changes * 2); }
    // The distinct states, to be renumbered in place once every state is
    // pushed.
    std::span<quint32> Values() { return m_palette; }

    // Calls f(from, to, state) for each stretch [from, to) of [first, last)
    // holding one state, in order; last <= Size().
    template <class F>
    void ForEachRun(size_t first, size_t last, F&& f) const
    {
        if (first >= last)
            return;
        // The changes are read from the first on; a run ends where the next
        // one starts.
        size_t at = 0;
        size_t start = ReadNumber(at);
        size_t index = ReadNumber(at);
        while (start < last) {
            size_t end = m_size;
            size_t next = index;
            if (at < m_bytes.size()) {
                end = start + ReadNumber(at);
                next = ReadNumber(at);
            }
            if (end > first)
                f(std::max(start, first), std::min(end, last), m_palette[index]);
            start = end;
            index = next;
        }
    }

private:
    void AddChange(quint32 state);
    void WriteNumber(size_t value);
    size_t ReadNumber(size_t& at) const
    {
        size_t value = 0;
        for (int shift = 0;; shift += 7) {
            const quint8 byte = m_bytes[at++];
            value |= size_t(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                return value;
        }
    }

    // Per change: the lines since the change before (for the first, its
    // line), then the index of its state in m_palette.
    std::vector<quint8> m_bytes;
    std::vector<quint32> m_palette;
    std::unordered_map<quint32, quint32> m_indexOf;
    // The state of the last change (an index into m_palette) and its line;
    // the state of the change before it.
    quint32 m_current = 0;
    quint32 m_previous = 0;
    size_t m_currentStart = 0;
    size_t m_changes = 0;
    size_t m_size = 0;
};
