// The structure entries of a text's lines (see linestructures.h). A pass
// replaces the entries of the lines it parsed in the span they cover, so a
// keystroke touches the entries of its line, not the text's.

#include "linestructures.h"

#include "htmlelements.h"
#include "largepages.h"

#include <algorithm>
#include <numeric>

// -- summing a line up ---------------------------------------------------------------

namespace {

// The event in front of the events of a line of kCountInPool or more, which
// holds their number.
TStructureEvent countOf(size_t count)
{
    TStructureEvent number;
    number.column = int(count);
    return number;
}

} // namespace

void TStructureBuilder::Summarize(TStructureEntry& entry, std::vector<TStructureEvent>& events) const
{
    using namespace Structure;
    entry = TStructureEntry();
    const size_t base = events.size();
    entry.first = int(base);
    // Brackets: per kind, the opens still waiting for their close, and the
    // first of them (its index in m_events), which stays the first until
    // every one of them is closed.
    int waiting[kBracketKinds] = {};
    int firstWaiting[kBracketKinds] = {};
    int closes[kBracketKinds] = {};
    const TStructureEvent* run = nullptr;
    for (size_t i = 0; i < m_events.size(); ++i) {
        const TStructureEvent& event = m_events[i];
        if (event.IsBracket()) {
            int& open = waiting[event.kind];
            if (event.IsOpen()) {
                if (open++ == 0)
                    firstWaiting[event.kind] = int(i);
            } else if (open > 0) {
                --open;
            } else {
                ++closes[event.kind];
            }
            continue;
        }
        if (event.kind == skRun) {
            run = &event;
            continue;
        }
        if (event.action == saTagEnd)
            continue;
        const bool tag = event.kind == skTag;
        if (tag && HtmlElements::IsVoid(event.name))
            continue;
        // A close (or "/>") right behind its own open cancels it, unless the
        // open may have ended something around it: an element whose end tag
        // may be left out, or a block that ends an open p, can, unless it
        // opened inside an element of this line that it does not end (a
        // cell inside its row).
        if (event.action != saOpen && events.size() > base) {
            const TStructureEvent& last = events.back();
            const bool pair = last.IsOpen() && last.kind == event.kind &&
                              (event.action == saSelfClose ? tag : (last.name == event.name || event.kind == skComment));
            auto endedNothing = [&] {
                if (events.size() < base + 2)
                    return false;
                const TStructureEvent& outer = events[events.size() - 2];
                return outer.IsOpen() && outer.kind == skTag && !HtmlElements::OpenEnds(last.name, outer.name);
            };
            if (pair && (!tag || HtmlElements::Inert(last.name) || endedNothing())) {
                events.pop_back();
                continue;
            }
        }
        events.push_back(event);
    }
    for (int k = 0; k < kBracketKinds; ++k) {
        entry.closes[k] = quint8(std::min(closes[k], 255));
        entry.opens[k] = quint8(std::min(waiting[k], 255));
    }
    // The fold the line starts: the first open left unclosed that folds.
    int foldColumn = -1;
    auto consider = [&](int kind, int column) {
        if (foldColumn < 0 || column < foldColumn) {
            foldColumn = column;
            entry.fold = quint8(kind + 1);
        }
    };
    for (int k = 0; k < kBracketKinds; ++k) {
        if (waiting[k] > 0 && m_events[size_t(firstWaiting[k])].folds)
            consider(k, m_events[size_t(firstWaiting[k])].column);
    }
    if (events.size() > base) {
        TStructureStack stack;
        for (size_t i = base; i < events.size(); ++i)
            stack.Apply(events[i], 0, events[i].folds ? 1 : 0, nullptr);
        for (const TStructureStack::TItem& item : stack.Items()) {
            if (item.mark == 1)
                consider(item.kind, item.column);
        }
    }
    if (run && foldColumn < 0)
        entry.fold = quint8(skRun + 1);
    if (run)
        events.push_back(*run);
    const size_t count = events.size() - base;
    if (count >= TStructureEntry::kCountInPool)
        events.insert(events.begin() + std::ptrdiff_t(base), countOf(count));
    entry.count = quint8(std::min<size_t>(count, TStructureEntry::kCountInPool));
}

namespace {

// Copies the events of entry (entryEvents) to the end of events; entry,
// its range naming them there.
TStructureEntry withEventsIn(TStructureEntry entry, std::span<const TStructureEvent> entryEvents,
                             std::vector<TStructureEvent>& events)
{
    entry.first = qint32(events.size());
    if (entry.count == TStructureEntry::kCountInPool)
        events.push_back(countOf(entryEvents.size()));
    events.insert(events.end(), entryEvents.begin(), entryEvents.end());
    return entry;
}

// Makes room in entries and events for scale times what they hold.
void reserveScaled(std::vector<TStructureEntry>& entries, std::vector<TStructureEvent>& events, double scale)
{
    entries.reserve(size_t(double(entries.size()) * scale) + 16);
    events.reserve(size_t(double(events.size()) * scale) + 16);
}

// Sums up the line the builder collected behind entries and events, when
// it has any structure; the fold it starts.
quint8 appendIfAny(int line, const TStructureBuilder& builder, std::vector<TStructureEntry>& entries,
                   std::vector<TStructureEvent>& events)
{
    if (builder.Events().empty())
        return TStructureEntry::kNoFold;
    TStructureEntry entry;
    builder.Summarize(entry, events);
    if (!entry.Empty()) {
        entry.line = line;
        entries.push_back(entry);
    }
    return entry.fold;
}

} // namespace

// -- the entries --------------------------------------------------------------------

void TLineStructures::Settle() const
{
    if (m_spliceAt < 0)
        return;
    const int at = m_spliceAt;
    const int removedEnd = at + m_removed;
    const int shift = m_inserted - m_removed;
    m_spliceAt = -1;
    auto first = std::lower_bound(m_entries.begin(), m_entries.end(), at,
                                  [](const TStructureEntry& e, int value) { return e.line < value; });
    auto last = std::lower_bound(first, m_entries.end(), removedEnd,
                                 [](const TStructureEntry& e, int value) { return e.line < value; });
    auto& self = const_cast<TLineStructures&>(*this);
    for (auto it = first; it != last; ++it)
        self.m_garbage += it->PlacesIn(m_events.data());
    first = m_entries.erase(first, last);
    if (shift != 0) {
        for (auto it = first; it != m_entries.end(); ++it)
            it->line += shift;
    }
}

const TStructureEntry* TLineStructures::Find(int line) const
{
    const size_t i = LowerBound(line);
    return i < m_entries.size() && m_entries[i].line == line ? &m_entries[i] : nullptr;
}

size_t TLineStructures::LowerBound(int line) const
{
    Settle();
    // Lines are mostly looked up near the one looked up last (a line and
    // its neighbours, as a parse goes down the text): the place found last
    // and the one behind it are tried before a search.
    const size_t n = m_entries.size();
    for (size_t i = std::min(m_lastFound, n); i <= std::min(m_lastFound + 1, n); ++i) {
        if ((i == n || m_entries[i].line >= line) && (i == 0 || m_entries[i - 1].line < line)) {
            m_lastFound = i;
            return i;
        }
    }
    m_lastFound = size_t(std::lower_bound(m_entries.begin(), m_entries.end(), line,
                                          [](const TStructureEntry& e, int value) { return e.line < value; }) -
                         m_entries.begin());
    return m_lastFound;
}

size_t TLineStructures::Count() const
{
    Settle();
    return m_entries.size();
}

const TStructureEntry& TLineStructures::At(size_t index) const
{
    Settle();
    return m_entries[index];
}

std::span<const TStructureEntry> TLineStructures::Entries() const
{
    Settle();
    return m_entries;
}

void TLineStructures::Clear()
{
    m_entries.clear();
    m_events.clear();
    m_garbage = 0;
    m_spliceAt = -1;
}

void TLineStructures::Swap(TLineStructures& other)
{
    Settle();
    other.Settle();
    m_entries.swap(other.m_entries);
    m_events.swap(other.m_events);
    std::swap(m_garbage, other.m_garbage);
}

size_t TLineStructures::Bytes() const
{
    return m_entries.capacity() * sizeof(TStructureEntry) + m_events.capacity() * sizeof(TStructureEvent);
}

void TLineStructures::Append(int line, const TStructureBuilder& builder)
{
    Q_ASSERT(m_spliceAt < 0 && (m_entries.empty() || m_entries.back().line < line));
    appendIfAny(line, builder, m_entries, m_events);
}

void TLineStructures::TakeFrom(TLineStructures& other, int firstLine)
{
    Settle();
    other.Settle();
    Q_ASSERT(m_entries.empty() || m_entries.back().line < firstLine);
    // The pages of other's lists are given back piece by piece as the copy
    // goes on, so that the lines taken are never held twice in full.
    constexpr size_t kPiece = 1 << 12;
    size_t givenEntries = 0;
    size_t givenEvents = 0;
    for (size_t i = other.LowerBound(firstLine); i < other.m_entries.size(); ++i) {
        const TStructureEntry& entry = other.m_entries[i];
        m_entries.push_back(withEventsIn(entry, other.Events(entry), m_events));
        if (i - givenEntries >= kPiece) {
            const size_t eventsDone = size_t(entry.first) + entry.PlacesIn(other.m_events.data());
            LargePages::GiveBack(other.m_entries.data() + givenEntries, (i - givenEntries) * sizeof(TStructureEntry));
            LargePages::GiveBack(other.m_events.data() + givenEvents, (eventsDone - givenEvents) * sizeof(TStructureEvent));
            givenEntries = i;
            givenEvents = eventsDone;
        }
    }
    TLineStructures().Swap(other);
}

void TLineStructures::Reserve(double scale)
{
    reserveScaled(m_entries, m_events, scale);
}

void TLineStructures::LinesInserted(int index, int count)
{
    // Inside or at the end of the lines a pending splice put in: the
    // splice grows.
    if (m_spliceAt >= 0 && index >= m_spliceAt && index <= m_spliceAt + m_inserted) {
        m_inserted += count;
        return;
    }
    Settle();
    m_spliceAt = index;
    m_removed = 0;
    m_inserted = count;
}

void TLineStructures::LinesDeleted(int index, int count)
{
    if (m_spliceAt >= 0) {
        // Lines the splice put in (they have no entries yet), or the old
        // lines right behind them.
        if (index >= m_spliceAt && index + count <= m_spliceAt + m_inserted) {
            m_inserted -= count;
            return;
        }
        if (index == m_spliceAt + m_inserted) {
            m_removed += count;
            return;
        }
    }
    Settle();
    m_spliceAt = index;
    m_removed = count;
    m_inserted = 0;
}

TLineStructures::TDifference TLineStructures::Compare(const TStructureEntry& a, std::span<const TStructureEvent> aEvents,
                                                     const TStructureEntry& b, std::span<const TStructureEvent> bEvents)
{
    using Structure::skBrace;
    // Columns move with every keystroke in front of an event; what is
    // opened and closed is what counts.
    const bool sameEvents = std::equal(aEvents.begin(), aEvents.end(), bEvents.begin(), bEvents.end(),
                                       [](const TStructureEvent& x, const TStructureEvent& y) {
                                           return x.kind == y.kind && x.action == y.action && x.name == y.name &&
                                                  x.label == y.label;
                                       });
    if (a.fold != b.fold || !sameEvents || a.closes[skBrace] != b.closes[skBrace] || a.opens[skBrace] != b.opens[skBrace])
        return tdFolds;
    if (!std::equal(a.closes, a.closes + Structure::kBracketKinds, b.closes) ||
        !std::equal(a.opens, a.opens + Structure::kBracketKinds, b.opens))
        return tdBrackets;
    return tdNone;
}

// -- passes -------------------------------------------------------------------------------

quint8 TStructureSummaries::Add(int line, const TStructureBuilder& builder)
{
    TStructureEntry entry;
    if (!builder.Events().empty())
        builder.Summarize(entry, m_events);
    entry.line = line;
    m_entries.push_back(entry);
    return entry.fold;
}

quint8 TStructureSummaries::AddIfAny(int line, const TStructureBuilder& builder)
{
    return appendIfAny(line, builder, m_entries, m_events);
}

void TStructureSummaries::Clear()
{
    m_entries.clear();
    m_events.clear();
}

void TStructureSummaries::Reserve(double scale)
{
    reserveScaled(m_entries, m_events, scale);
}

void TLineStructures::TPass::Take(const TStructureSummaries& lines, int first, int end)
{
    const int offset = int(m_lines.m_events.size());
    m_lines.m_events.insert(m_lines.m_events.end(), lines.m_events.begin(), lines.m_events.end());
    // (Nothing changes the owner while a pass runs.) The owner's entries
    // among the lines are merged in by line, as empty ones where the other
    // thread found nothing.
    const size_t ownerEnd = m_owner.LowerBound(end);
    size_t owned = m_owner.LowerBound(first);
    // The owner's entries before line (and at it, which the other thread's
    // entry replaces).
    auto passOwned = [&](int line) {
        for (; owned < ownerEnd && m_owner.At(owned).line <= line; ++owned) {
            if (m_owner.At(owned).line < line) {
                TStructureEntry lost;
                lost.line = m_owner.At(owned).line;
                m_lines.m_entries.push_back(lost);
            }
        }
    };
    for (TStructureEntry entry : lines.m_entries) {
        passOwned(entry.line);
        entry.first += offset;
        m_lines.m_entries.push_back(entry);
    }
    passOwned(end);
    m_last = std::max(m_last, end - 1);
}

std::vector<std::pair<int, bool>> TLineStructures::TPass::Commit()
{
    std::vector<std::pair<int, bool>> changed;
    const std::vector<TStructureEntry>& added = m_lines.m_entries;
    const std::vector<TStructureEvent>& addedEvents = m_lines.m_events;
    if (added.empty())
        return changed;
    TLineStructures& owner = m_owner;
    owner.Settle();
    const bool sorted = std::adjacent_find(added.begin(), added.end(), [](const TStructureEntry& a, const TStructureEntry& b) {
                            return a.line >= b.line;
                        }) == added.end();
    std::vector<TStructureEntry>& entries = owner.m_entries;
    if (sorted && (entries.empty() || entries.back().line < added.front().line)) {
        // Lines behind every entry (a text parsed for the first time, down
        // from the top): their entries are appended, nothing is replaced.
        changed.reserve(added.size());
        bool anyEmpty = false;
        for (const TStructureEntry& fresh : added) {
            anyEmpty = anyEmpty || fresh.Empty();
            if (!fresh.Empty()) {
                const std::span<const TStructureEvent> freshEvents = fresh.EventsIn(addedEvents.data());
                changed.emplace_back(fresh.line, Compare(TStructureEntry(), {}, fresh, freshEvents) == tdFolds);
            }
        }
        if (entries.empty() && owner.m_events.empty() && !anyEmpty) {
            // The pass's pool becomes the owner's as it is.
            entries.swap(m_lines.m_entries);
            owner.m_events.swap(m_lines.m_events);
            m_lines.Clear();
            return changed;
        }
        for (const TStructureEntry& fresh : added) {
            if (!fresh.Empty())
                entries.push_back(withEventsIn(fresh, fresh.EventsIn(addedEvents.data()), owner.m_events));
        }
        m_lines.Clear();
        return changed;
    }
    // By line, the later of two adds of one line holding.
    std::vector<size_t> order(added.size());
    std::iota(order.begin(), order.end(), size_t(0));
    if (!sorted) {
        std::stable_sort(order.begin(), order.end(),
                         [&added](size_t a, size_t b) { return added[a].line < added[b].line; });
        std::vector<size_t> last;
        for (size_t i : order) {
            if (!last.empty() && added[last.back()].line == added[i].line)
                last.back() = i;
            else
                last.push_back(i);
        }
        order.swap(last);
    }
    const int firstLine = added[order.front()].line;
    const int lastLine = added[order.back()].line;
    const auto lo = std::lower_bound(entries.begin(), entries.end(), firstLine,
                                     [](const TStructureEntry& e, int value) { return e.line < value; });
    const auto hi = std::lower_bound(lo, entries.end(), lastLine + 1,
                                     [](const TStructureEntry& e, int value) { return e.line < value; });
    // The span [lo, hi) anew: old entries of lines not parsed stay, the
    // parsed lines get their new ones.
    std::vector<TStructureEntry> span;
    span.reserve(size_t(hi - lo) + order.size());
    auto old = lo;
    for (size_t i : order) {
        const TStructureEntry& fresh = added[i];
        while (old != hi && old->line < fresh.line)
            span.push_back(*old++);
        const std::span<const TStructureEvent> freshEvents = fresh.EventsIn(addedEvents.data());
        const bool hadOld = old != hi && old->line == fresh.line;
        if (hadOld) {
            const TDifference difference = Compare(*old, owner.Events(*old), fresh, freshEvents);
            if (difference != tdNone)
                changed.emplace_back(fresh.line, difference == tdFolds);
            owner.m_garbage += old->PlacesIn(owner.m_events.data());
            ++old;
        } else if (!fresh.Empty()) {
            const TDifference difference = Compare(TStructureEntry(), {}, fresh, freshEvents);
            changed.emplace_back(fresh.line, difference == tdFolds);
        }
        if (!fresh.Empty())
            span.push_back(withEventsIn(fresh, freshEvents, owner.m_events));
    }
    span.insert(span.end(), old, hi);
    const auto at = size_t(lo - entries.begin());
    const auto removed = size_t(hi - lo);
    if (span.size() == removed) {
        std::copy(span.begin(), span.end(), entries.begin() + std::ptrdiff_t(at));
    } else {
        entries.erase(entries.begin() + std::ptrdiff_t(at), entries.begin() + std::ptrdiff_t(at + removed));
        entries.insert(entries.begin() + std::ptrdiff_t(at), span.begin(), span.end());
    }
    // Events of replaced entries are dropped once they are half the pool.
    if (owner.m_garbage > 4096 && owner.m_garbage * 2 > owner.m_events.size()) {
        std::vector<TStructureEvent> events;
        events.reserve(owner.m_events.size() - owner.m_garbage);
        for (TStructureEntry& entry : entries)
            entry = withEventsIn(entry, owner.Events(entry), events);
        owner.m_events.swap(events);
        owner.m_garbage = 0;
    }
    m_lines.Clear();
    return changed;
}
