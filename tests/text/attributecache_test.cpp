// The attribute cache of a store: every line found gives back the bytes
// last stored for it, whatever buffers were handed from line to line on the
// way, and a full cache keeps the lines nearest to the one being stored.

#include "attributecache.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

TEST(AttributeCache, KeepsTheNearestLinesAndTheBytesStoredForThem)
{
    QRandomGenerator random(39);
    for (int capacity : {1, 2, 7, 64, TAttributeCache::kDefaultCapacity}) {
        SCOPED_TRACE(capacity);
        TAttributeCache cache;
        cache.SetCapacity(capacity);
        // The bytes of the lines stored and not yet found dropped.
        std::map<int, std::vector<uchar>> kept;
        int line = 0;
        for (int step = 0; step < 20'000; ++step) {
            // Mostly a view scrolling down, now and then a jump or a look
            // back at a line stored before.
            const int move = random.bounded(20);
            line = move == 0 ? random.bounded(1'000'000) : move == 1 ? std::max(0, line - random.bounded(300)) : line + 1;
            const int near = std::max(0, line - random.bounded(5));
            std::vector<uchar> bytes(size_t(random.bounded(move == 2 ? 3000 : 100)));
            for (uchar& b : bytes)
                b = uchar(random.generate());
            const int countBefore = cache.Count();
            const bool added = kept.count(line) == 0;
            uchar* data = cache.Store(line, int(bytes.size()), near);
            if (!bytes.empty())
                std::memcpy(data, bytes.data(), bytes.size());
            kept[line] = bytes;

            ASSERT_LE(cache.Count(), capacity);
            // Every line is looked at when some were dropped, and now and
            // then besides.
            if (cache.Count() == countBefore + (added ? 1 : 0) && step % 997 != 0)
                continue;
            qint64 farthestKept = 0;
            qint64 nearestDropped = -1;
            for (auto it = kept.begin(); it != kept.end();) {
                uchar* found = nullptr;
                int length = -1;
                const qint64 distance = std::abs(qint64(it->first) - near);
                if (!cache.Find(it->first, found, length)) {
                    ASSERT_NE(it->first, line);
                    if (nearestDropped < 0 || distance < nearestDropped)
                        nearestDropped = distance;
                    it = kept.erase(it);
                    continue;
                }
                ASSERT_EQ(length, int(it->second.size())) << it->first;
                if (length > 0) {
                    ASSERT_EQ(std::memcmp(found, it->second.data(), size_t(length)), 0) << it->first;
                }
                if (it->first != line)
                    farthestKept = std::max(farthestKept, distance);
                ++it;
            }
            ASSERT_EQ(cache.Count(), int(kept.size()));
            if (nearestDropped >= 0) {
                ASSERT_LE(farthestKept, nearestDropped) << "step " << step;
            }
        }
    }
}
