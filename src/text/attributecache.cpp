// A bounded store of attribute bytes, see attributecache.h. Storing the
// attributes of a line costs no allocation once the cache has warmed up:
// the buffers of dropped entries are kept and handed out again.

#include "attributecache.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {

// Spare buffers kept for reuse, and the largest one worth keeping: a buffer
// of a very long line goes back to the system at once.
constexpr size_t kMaxSpare = 256;
constexpr int kMaxSpareBytes = 1 << 16;

} // namespace

std::vector<TAttributeCache::TEntry>::iterator TAttributeCache::LowerBound(int line)
{
    return std::lower_bound(m_entries.begin(), m_entries.end(), line,
                            [](const TEntry& entry, int value) { return entry.line < value; });
}

bool TAttributeCache::Find(int line, uchar*& data, int& length)
{
    if (m_entries.empty() || line < m_entries.front().line || line > m_entries.back().line)
        return false;
    auto it = LowerBound(line);
    if (it == m_entries.end() || it->line != line)
        return false;
    data = it->length > 0 ? it->buffer.data.get() : nullptr;
    length = it->length;
    return true;
}

uchar* TAttributeCache::Store(int line, int length, int near)
{
    length = std::max(length, 0);
    auto it = LowerBound(line);
    if (it == m_entries.end() || it->line != line) {
        if (int(m_entries.size()) >= m_capacity) {
            Evict(near);
            it = LowerBound(line);
        }
        it = m_entries.insert(it, TEntry{line, 0, {}});
    }
    TBuffer& buffer = it->buffer;
    if (buffer.capacity < length) {
        // A spare buffer large enough, else a new one.
        auto spare = std::find_if(m_spare.begin(), m_spare.end(),
                                  [length](const TBuffer& b) { return b.capacity >= length; });
        if (spare != m_spare.end()) {
            TBuffer taken = std::move(*spare);
            m_spare.erase(spare);
            Recycle(std::move(buffer));
            buffer = std::move(taken);
        } else {
            const int capacity = std::max(length, 64);
            buffer.data.reset(new uchar[size_t(capacity)]);
            buffer.capacity = capacity;
        }
    }
    it->length = length;
    return buffer.data.get();
}

void TAttributeCache::Recycle(TBuffer&& buffer)
{
    if (buffer.capacity <= 0 || buffer.capacity > kMaxSpareBytes || m_spare.size() >= kMaxSpare)
        return;
    m_spare.push_back(std::move(buffer));
}

void TAttributeCache::Evict(int near)
{
    // Keep the half nearest to the line being stored; the rest goes.
    const size_t keep = std::max<size_t>(1, size_t(m_capacity) / 2) - 1;
    auto distance = [near](const TEntry& entry) { return std::abs(qint64(entry.line) - near); };
    if (keep < m_entries.size()) {
        std::nth_element(m_entries.begin(), m_entries.begin() + ptrdiff_t(keep), m_entries.end(),
                         [&](const TEntry& a, const TEntry& b) { return distance(a) < distance(b); });
        for (auto it = m_entries.begin() + ptrdiff_t(keep); it != m_entries.end(); ++it)
            Recycle(std::move(it->buffer));
        m_entries.erase(m_entries.begin() + ptrdiff_t(keep), m_entries.end());
        std::sort(m_entries.begin(), m_entries.end(), [](const TEntry& a, const TEntry& b) { return a.line < b.line; });
    }
}

void TAttributeCache::Drop(int line)
{
    if (m_entries.empty() || line < m_entries.front().line || line > m_entries.back().line)
        return;
    auto it = LowerBound(line);
    if (it == m_entries.end() || it->line != line)
        return;
    Recycle(std::move(it->buffer));
    m_entries.erase(it);
}

void TAttributeCache::DropRange(int first, int last)
{
    if (m_entries.empty() || last < m_entries.front().line || first > m_entries.back().line || first > last)
        return;
    auto from = LowerBound(first);
    auto to = LowerBound(last + 1);
    for (auto it = from; it != to; ++it)
        Recycle(std::move(it->buffer));
    m_entries.erase(from, to);
}

void TAttributeCache::LinesInserted(int index, int count)
{
    if (m_entries.empty() || index > m_entries.back().line)
        return;
    for (auto it = LowerBound(index); it != m_entries.end(); ++it)
        it->line += count;
}

void TAttributeCache::LinesDeleted(int index, int count)
{
    if (m_entries.empty() || index > m_entries.back().line)
        return;
    auto first = LowerBound(index);
    auto last = LowerBound(index + count);
    for (auto it = first; it != last; ++it)
        Recycle(std::move(it->buffer));
    first = m_entries.erase(first, last);
    for (auto it = first; it != m_entries.end(); ++it)
        it->line -= count;
}

void TAttributeCache::Clear()
{
    m_entries.clear();
    m_spare.clear();
}

void TAttributeCache::Swap(TAttributeCache& other)
{
    // Each side keeps its own capacity.
    std::swap(m_entries, other.m_entries);
    std::swap(m_spare, other.m_spare);
    SetCapacity(m_capacity);
    other.SetCapacity(other.m_capacity);
}

void TAttributeCache::SetCapacity(int capacity)
{
    m_capacity = std::max(1, capacity);
    while (int(m_entries.size()) > m_capacity)
        Evict(m_entries.empty() ? 0 : m_entries.front().line);
}

size_t TAttributeCache::Bytes() const
{
    size_t bytes = m_entries.capacity() * sizeof(TEntry) + m_spare.capacity() * sizeof(TBuffer);
    for (const TEntry& entry : m_entries)
        bytes += size_t(entry.buffer.capacity);
    for (const TBuffer& buffer : m_spare)
        bytes += size_t(buffer.capacity);
    return bytes;
}
