// A bounded store of attribute bytes, see attributecache.h. Storing the
// attributes of a line costs no allocation once the cache has warmed up:
// the buffers of dropped entries are kept and handed out again.

#include "attributecache.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <new>

namespace {

// Spare buffers kept for reuse (as many as an eviction drops from a cache
// of the default size, so that a view scrolling through a file allocates
// nothing once warm), and the largest one worth keeping: a buffer of a very
// long line goes back to the system at once. Their bytes together stay
// below kMaxSpareTotal.
constexpr size_t kMaxSpare = size_t(TAttributeCache::kDefaultCapacity) / 2 + 1;
constexpr int kMaxSpareBytes = 1 << 16;
constexpr qint64 kMaxSpareTotal = qint64(1) << 20;
// Spare buffers looked at for one line, the last put back first.
constexpr size_t kSpareLooks = 8;

} // namespace

std::vector<TAttributeCache::TEntry>::iterator TAttributeCache::LowerBound(int line)
{
    // A view asks for the lines it shows one after another: most lines go
    // behind the last entry, and the lines kept are mostly without gaps, so
    // a line is found at its distance from the first (lines are distinct
    // and increasing, so an entry there holding the line is its bound).
    if (m_entries.empty() || line > m_entries.back().line)
        return m_entries.end();
    const qint64 guess = qint64(line) - m_entries.front().line;
    if (guess <= 0)
        return m_entries.begin();
    if (guess < qint64(m_entries.size()) && m_entries[size_t(guess)].line == line)
        return m_entries.begin() + std::ptrdiff_t(guess);
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
        // One of the spare buffers put back last, if large enough, else a
        // new one.
        const auto from = m_spare.end() - std::ptrdiff_t(std::min(m_spare.size(), kSpareLooks));
        auto spare = std::find_if(std::make_reverse_iterator(m_spare.end()), std::make_reverse_iterator(from),
                                  [length](const TBuffer& b) { return b.capacity >= length; });
        if (spare.base() != from) {
            TBuffer taken = std::move(*spare);
            m_spare.erase(std::prev(spare.base()));
            m_spareBytes -= taken.capacity;
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
    if (buffer.capacity <= 0 || buffer.capacity > kMaxSpareBytes || m_spare.size() >= kMaxSpare ||
        m_spareBytes + buffer.capacity > kMaxSpareTotal)
        return;
    m_spareBytes += buffer.capacity;
    m_spare.push_back(std::move(buffer));
}

void TAttributeCache::Evict(int near)
{
    // Keep the half nearest to the line being stored; the rest goes. The
    // entries are sorted by line, so the nearest ones lie side by side: the
    // window grows from where near would stand towards the nearer side.
    const size_t keep = std::max<size_t>(1, size_t(m_capacity) / 2) - 1;
    if (keep >= m_entries.size())
        return;
    size_t from = size_t(LowerBound(near) - m_entries.begin());
    size_t to = from;
    while (to - from < keep) {
        if (to == m_entries.size() ||
            (from > 0 && qint64(near) - m_entries[from - 1].line <= qint64(m_entries[to].line) - near))
            --from;
        else
            ++to;
    }
    for (size_t i = to; i < m_entries.size(); ++i)
        Recycle(std::move(m_entries[i].buffer));
    for (size_t i = 0; i < from; ++i)
        Recycle(std::move(m_entries[i].buffer));
    m_entries.erase(m_entries.begin() + std::ptrdiff_t(to), m_entries.end());
    m_entries.erase(m_entries.begin(), m_entries.begin() + std::ptrdiff_t(from));
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
    m_spareBytes = 0;
}

void TAttributeCache::Swap(TAttributeCache& other)
{
    // Each side keeps its own capacity.
    std::swap(m_entries, other.m_entries);
    std::swap(m_spare, other.m_spare);
    std::swap(m_spareBytes, other.m_spareBytes);
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
