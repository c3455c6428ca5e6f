#pragma once

#include "linestructure.h"

#include <algorithm>
#include <span>
#include <utility>
#include <vector>

// The structure of a line as the store keeps it, for the lines that have
// any: most lines open and close nothing they do not close or open
// themselves, and keep nothing here. Brackets are kept as counts (the ones
// the line closes without opening them, and the ones it leaves open), so
// that a search for a partner passes over whole lines; comments, blocks,
// elements and run marks are kept as events in text order, with the pairs
// that open and close next to each other left out.
struct TStructureEntry {
    static constexpr quint8 kNoFold = 0;
    // The count of a line with this many events or more: they follow an
    // event in the pool whose column holds their number.
    static constexpr quint8 kCountInPool = 255;

    qint32 line = 0;
    // Its events: [first, first + count) of the event pool (see
    // kCountInPool).
    qint32 first = 0;
    // Per bracket kind (Structure::skBrace..skBracket), saturating at 255.
    quint8 closes[Structure::kBracketKinds] = {};
    quint8 opens[Structure::kBracketKinds] = {};
    // The fold the line starts: kNoFold, or 1 + the kind of the first open
    // it leaves unclosed that folds (a run line: 1 + skRun).
    quint8 fold = kNoFold;
    quint8 count = 0;

    int FoldKind() const { return fold == kNoFold ? -1 : fold - 1; }
    bool Empty() const
    {
        for (int k = 0; k < Structure::kBracketKinds; ++k) {
            if (closes[k] || opens[k])
                return false;
        }
        return count == 0 && fold == kNoFold;
    }
    // Its events in pool, and the places of the pool they take.
    std::span<const TStructureEvent> EventsIn(const TStructureEvent* pool) const
    {
        if (count < kCountInPool)
            return {pool + first, count};
        return {pool + first + 1, size_t(pool[first].column)};
    }
    size_t PlacesIn(const TStructureEvent* pool) const
    {
        return count < kCountInPool ? count : 1 + size_t(pool[first].column);
    }
};
// (A million lines with structure take 16 MB of entries.)
static_assert(sizeof(TStructureEntry) == 16);

// Collects the events a parser reports for one line and sums them up.
class TStructureBuilder : public TStructureSink {
public:
    void Reset() { m_events.clear(); }
    void Add(const TStructureEvent& event) override { m_events.push_back(event); }
    // Every event of the line, in text order.
    const std::vector<TStructureEvent>& Events() const { return m_events; }
    // Sums the line up into entry (its line is the caller's) and appends
    // the events kept for it to events, behind what events held; entry's
    // event range names them there.
    void Summarize(TStructureEntry& entry, std::vector<TStructureEvent>& events) const;

private:
    std::vector<TStructureEvent> m_events;
};

// Lines summed up by a parse, in the order they were parsed (empty entries
// included: they say that a line lost what it had).
class TStructureSummaries {
public:
    // Sums up the line the builder collected; the fold it starts.
    quint8 Add(int line, const TStructureBuilder& builder);
    // The same for a line that has nothing to lose (of a text never summed
    // up before, say): a line without structure adds nothing.
    quint8 AddIfAny(int line, const TStructureBuilder& builder);
    // Makes room for Adds: scale times the entries and events held.
    void Reserve(double scale);
    void Clear();
    bool Empty() const { return m_entries.empty(); }

private:
    friend class TLineStructures;
    std::vector<TStructureEntry> m_entries;
    std::vector<TStructureEvent> m_events;
};

// The entries of a text's lines, sorted by line, kept in step with inserted
// and deleted lines. Consecutive insertions and deletions at one place (a
// paste, a block deleted line by line) are gathered into one pending splice
// and applied to the entries behind it only when they are next looked at,
// so a paste of many lines costs one pass over the entries, not one per
// line.
//
// invariant: m_entries is sorted by line without duplicates once the
// pending splice is applied, and holds no empty entry.
class TLineStructures {
public:
    // The entry of line, or null.
    const TStructureEntry* Find(int line) const;
    // The index of the first entry at or after line.
    size_t LowerBound(int line) const;
    size_t Count() const;
    const TStructureEntry& At(size_t index) const;
    // Every entry, in the order of their lines.
    std::span<const TStructureEntry> Entries() const;
    std::span<const TStructureEvent> Events(const TStructureEntry& entry) const
    {
        return entry.EventsIn(m_events.data());
    }
    void Clear();
    void Swap(TLineStructures& other);
    // Bytes held for the entries and their events.
    size_t Bytes() const;

    // Sums up the line the builder collected, for a text summed up in the
    // order of its lines from its start (as it is read): line lies behind
    // every line held, which has nothing to lose, so a line without
    // structure adds nothing and nothing is compared.
    void Append(int line, const TStructureBuilder& builder);
    // Makes room for Appends: scale times the entries and events held.
    void Reserve(double scale);
    // Takes the entries of other from line firstLine on, for lines summed
    // up apart from those held, all of which lie before firstLine; other is
    // left empty.
    void TakeFrom(TLineStructures& other, int firstLine);

    void LinesInserted(int index, int count);
    void LinesDeleted(int index, int count);

    // The lines a parse pass summed up, handed over in one piece when it
    // ends: the entries of those lines are replaced, the others kept.
    class TPass {
    public:
        explicit TPass(TLineStructures& owner) : m_owner(owner) {}
        TPass(const TPass&) = delete;
        TPass& operator=(const TPass&) = delete;
        // The summed-up structure of a parsed line (in increasing order of
        // lines, except that a line may come again: the later one holds);
        // the fold it starts. A line that has nothing, had nothing and was
        // not added before changes nothing, and is left out: most lines of
        // most texts are such lines.
        quint8 Add(int line, const TStructureBuilder& builder)
        {
            if (NothingToLose(line))
                return m_lines.AddIfAny(line, builder);
            m_last = std::max(m_last, line);
            return m_lines.Add(line, builder);
        }
        // The lines [first, end) another thread summed up with AddIfAny,
        // behind every line added so far: a line it left out has no
        // structure, and loses what its entry held.
        void Take(const TStructureSummaries& lines, int first, int end);
        // Makes room for Adds and Takes: scale times the lines added.
        void Reserve(double scale) { m_lines.Reserve(scale); }
        // Puts the lines added in place; the lines whose entry changed, and
        // whether what changed may move a fold (anything but the counts of
        // parentheses and square brackets).
        std::vector<std::pair<int, bool>> Commit();
        bool Empty() const { return m_lines.Empty(); }

    private:
        // Whether line comes after every line added so far and has no entry
        // (so that leaving it out, if it has nothing, changes nothing).
        bool NothingToLose(int line)
        {
            if (line <= m_last)
                return false;
            m_last = line;
            return m_owner.Count() == 0 || !m_owner.Find(line);
        }

        TLineStructures& m_owner;
        TStructureSummaries m_lines;
        // The last line added or left out.
        int m_last = -1;
    };

private:
    void Settle() const;
    enum TDifference { tdNone, tdBrackets, tdFolds };
    static TDifference Compare(const TStructureEntry& a, std::span<const TStructureEvent> aEvents,
                               const TStructureEntry& b, std::span<const TStructureEvent> bEvents);

    mutable std::vector<TStructureEntry> m_entries;
    std::vector<TStructureEvent> m_events;
    // Events of replaced entries still in the pool.
    size_t m_garbage = 0;
    // A splice not yet applied: from line m_spliceAt on, m_removed old lines
    // were deleted and m_inserted lines put in their place.
    mutable int m_spliceAt = -1;
    mutable int m_removed = 0;
    mutable int m_inserted = 0;
    // Where the last look-up ended (a guess for the next one).
    mutable size_t m_lastFound = 0;
};
