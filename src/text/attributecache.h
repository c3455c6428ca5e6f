#pragma once

#include <QtGlobal>

#include <cstddef>
#include <memory>
#include <vector>

// The attribute bytes of the lines a view shows or showed lately, for a
// bounded number of lines. A line's attributes follow from its text and the
// parser state at its start, which the store keeps for every line, so a line
// whose attributes were dropped is simply parsed again when it is next shown.
// Memory for attributes is thus bounded by the cache, not by the file.
//
// Entries are sorted by line. Inserting or deleting a line shifts the line
// numbers of the entries behind it, which costs at most the cache's size.
// When the cache is full, the half of it farthest from the line being stored
// is dropped, so a view scrolling through a file keeps what is near it.
//
// invariant: m_entries is sorted by line, without duplicates, and holds at
// most m_capacity entries.
class TAttributeCache {
public:
    static constexpr int kDefaultCapacity = 4096;

    TAttributeCache() = default;
    TAttributeCache(const TAttributeCache&) = delete;
    TAttributeCache& operator=(const TAttributeCache&) = delete;

    // The attributes kept for line: true with data and length set (data may
    // be null for an empty line), false when none are kept.
    bool Find(int line, uchar*& data, int& length);
    // Room for length attribute bytes of line, replacing what was kept for
    // it (the contents are undefined). When the cache is full, the lines
    // farthest from near are dropped first.
    uchar* Store(int line, int length, int near);
    void Drop(int line);
    // Drops the lines first..last.
    void DropRange(int first, int last);
    void LinesInserted(int index, int count);
    void LinesDeleted(int index, int count);
    void Clear();
    void Swap(TAttributeCache& other);

    int Count() const { return int(m_entries.size()); }
    int Capacity() const { return m_capacity; }
    // At least 1; entries beyond it are dropped at once.
    void SetCapacity(int capacity);
    // Bytes held for attributes (entries and spare buffers).
    size_t Bytes() const;

private:
    struct TBuffer {
        std::unique_ptr<uchar[]> data;
        int capacity = 0;
    };
    struct TEntry {
        int line = 0;
        int length = 0;
        TBuffer buffer;
    };

    // The first entry whose line is not below line.
    std::vector<TEntry>::iterator LowerBound(int line);
    void Evict(int near);
    void Recycle(TBuffer&& buffer);

    std::vector<TEntry> m_entries;
    // Buffers of dropped entries, reused before new memory is asked for.
    std::vector<TBuffer> m_spare;
    qint64 m_spareBytes = 0;
    int m_capacity = kDefaultCapacity;
};
