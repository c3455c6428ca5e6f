// Lazily computed syntax attributes. Every line keeps the parser state at its
// start and end; lines are parsed on demand from the first one not yet parsed
// up to the requested line plus 100. A line whose stored start state equals
// the previous line's end state is not parsed again, so a change of state
// travels forward exactly as far as the line states differ.
//
// Only the states are kept for every line. A pass that reaches a requested
// line from far above it establishes the states of the lines on the way
// without writing attribute bytes (the scanner then skips its writes and the
// keyword look-ups), so it runs faster than a parse that keeps attributes. The attributes of the requested line and
// the lines after it go to the attribute cache; a line whose attributes were
// dropped from there is parsed again from its stored start state when it is
// asked for, which gives exactly the bytes a full parse gives.
//
// A very long line (longlines.h) keeps no attributes for the whole line in
// the pass: it keeps resume points, is parsed again only around its edits,
// and a view asks for the attributes of the columns it shows, which are
// parsed from the nearest point. Asking for the whole line still works, at
// the cost of parsing it.

#include "memosource.h"

#include "loadstatepass.h"
#include "urls.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace {

// Lines parsed beyond the one asked for, so that scrolling down a little
// finds them ready.
constexpr int kParseAhead = 100;
constexpr uchar kUrlAttribute = 12;
// A scratch buffer larger than this is given back after a pass.
constexpr size_t kScratchKeep = size_t(1) << 20;
// A pass that must establish the states of at least this many lines above
// the one asked for hands the far half of them to a worker thread.
constexpr int kWorkerLines = 100'000;
// The worker starts this many lines before its half, in the state of a
// line with nothing open: by its first line it has most likely fallen into
// step with the true states.
constexpr int kWorkerLeadIn = 2'000;
// A load pass with at least this many lines still to walk once the file is
// in shares them with the reading thread.
constexpr int kLoadTailLines = 20'000;
// A pass's first lines, whose structure tells how much room the rest needs.
constexpr int kSampleLines = 4'096;
// Lines the reading thread parses between two progress reports.
constexpr int kTailLinesPerReport = 1 << 16;

// Once a pass of total lines has summed up the structure of its first
// kSampleLines (done of them), makes room in list for all of them at that
// rate, and some: growing the lists would copy them.
template <typename TList>
void reserveAtSample(TList& list, int done, int total)
{
    if (done == kSampleLines)
        list.Reserve(double(total) / double(kSampleLines + 1) * 1.2);
}

// Points a parser's structure reports at sink for a scope, and back where
// they went before at its end: a parse that interrupts another (a paint
// while a file's far lines are parsed) leaves the other's sink in place.
class TSinkScope {
public:
    TSinkScope(TSimpleParser* parser, TStructureSink* sink)
        : m_parser(parser), m_outer(parser ? parser->StructureSink() : nullptr)
    {
        if (m_parser)
            m_parser->SetStructureSink(sink);
    }
    ~TSinkScope()
    {
        if (m_parser)
            m_parser->SetStructureSink(m_outer);
    }
    TSinkScope(const TSinkScope&) = delete;
    TSinkScope& operator=(const TSinkScope&) = delete;

private:
    TSimpleParser* const m_parser;
    TStructureSink* const m_outer;
};

// Gives lines [from, to) of strings the states held for the lines from
// first on: their start states, and as end state the start of the next.
void setStates(TInternalStrings& strings, const TStateRuns& states, int first, int from, int to)
{
    // A state is looked up in the shared table once per run of lines that
    // start in it, not once per line.
    TStoredState stored;
    states.ForEachRun(size_t(from - first), size_t(to - first), [&](size_t begin, size_t end, quint32 state) {
        stored = state;
        for (size_t i = begin; i < end; ++i) {
            TStringItem& item = strings.Item(first + int(i));
            item.startState = stored;
            item.Set(TStringItem::kAttrsValid, true);
        }
    });
    states.ForEachRun(size_t(from - first) + 1, size_t(to - first) + 1, [&](size_t begin, size_t end, quint32 state) {
        stored = state;
        for (size_t i = begin; i < end; ++i)
            strings.Item(first + int(i) - 1).endState = stored;
    });
}

// Establishes the line states of [first, end) on a thread of its own, with
// a private copy of the parser, while the interface thread parses the lines
// above. It reads only the texts of the lines (which nothing changes while
// the pass runs) and writes only into its own array, so the two threads
// share nothing that is written.
//
// Its states start from a guess, so they are taken only as the stored
// states of lines not yet parsed: the pass going on from first keeps a
// line's states only where its start state equals the true one, exactly as
// it keeps the states of lines parsed before an edit, and parses the others
// again. The attributes are therefore those of a parse in one go.
class TStateWorker {
public:
    TStateWorker(const TInternalStrings& strings, const TTabStops& tabs, std::unique_ptr<TSimpleParser> parser, int first,
                 int end, bool structure)
        : m_strings(strings), m_tabs(tabs), m_parser(std::move(parser)), m_first(first), m_end(end)
    {
        if (structure)
            m_parser->SetStructureSink(&m_builder);
        m_thread = std::thread([this] { Run(); });
    }
    ~TStateWorker()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    TStateWorker(const TStateWorker&) = delete;
    TStateWorker& operator=(const TStateWorker&) = delete;

    int First() const { return m_first; }
    // Waits for the worker, then stores its states as those of its lines in
    // the parser's own numbering, unless they cannot be had in it. The
    // stored attributes of those lines are dropped. Returns the lines
    // written, 0 for none.
    int Deliver(TSimpleParser& parser, TInternalStrings& strings, TLineStructures::TPass& pass)
    {
        m_thread.join();
        const std::span<quint32> values = m_states.Values();
        if (!parser.TakeWorkerStates(*m_parser, values.data(), values.size()))
            return 0;
        setStates(strings, m_states, m_first, m_first, m_end);
        if (m_parser->StructureSink())
            pass.Take(m_summaries, m_first, m_end);
        strings.Attributes().DropRange(m_first, m_end - 1);
        return m_end - m_first;
    }

private:
    void Run()
    {
        std::vector<uchar> scratch;
        quint32 state = 0;
        for (int i = std::max(0, m_first - kWorkerLeadIn); i < m_end; ++i) {
            // The tab flag is not read: the other thread sets flags.
            const TStringItem& item = m_strings.Item(i);
            std::string_view display(item.text, size_t(item.length));
            QByteArray expanded;
            if (item.length > 0 && std::memchr(item.text, '\t', size_t(item.length))) {
                expanded = m_tabs.Expand(display);
                display = {expanded.constData(), size_t(expanded.size())};
            }
            if (i >= m_first)
                m_states.Push(state);
            m_builder.Reset();
            state = m_parser->ParseLineState(i, display, state, scratch);
            if (i >= m_first && m_parser->StructureSink()) {
                // The store puts back what lines without structure lose.
                m_summaries.AddIfAny(i, m_builder);
                reserveAtSample(m_summaries, i - m_first, m_end - m_first);
            }
        }
        m_states.Push(state);
    }

    const TInternalStrings& m_strings;
    const TTabStops& m_tabs;
    std::unique_ptr<TSimpleParser> m_parser;
    const int m_first;
    const int m_end;
    // The start state of every line of the half and, last, the end state of
    // its last line; the copy's numbering.
    TStateRuns m_states;
    // The structure of its lines.
    TStructureBuilder m_builder;
    TStructureSummaries m_summaries;
    std::thread m_thread;
};
// Columns a long line's window holds beyond those asked for, so that a
// caret moving or the view scrolling a little finds them ready.
constexpr int kWindowSlack = 4096;
// How far the search for addresses around a window reaches for the blank
// that starts or ends the word at its edge.
constexpr int kUrlReach = 1 << 16;

} // namespace

std::string_view TCustomMemoSource::DisplayOf(int line, QByteArray& expanded) const
{
    const TStringItem& item = m_strings.Item(line);
    if (!item.Has(TStringItem::kHasTab))
        return item.Text();
    expanded = m_tabStops.Expand(item.Text());
    return {expanded.constData(), size_t(expanded.size())};
}

quint32 TCustomMemoSource::ParseInto(int line, std::string_view display, uchar* attrs, quint32 state)
{
    if (m_parser) {
        m_parser->InitLineAttributes(line, display, attrs);
        m_parser->SetCurrentLine(line);
        m_parser->SetUtf8Text(m_encoding == teUtf8);
        return m_parser->ParseLine(display, state, attrs);
    }
    if (!display.empty())
        std::memset(attrs, 0, display.size());
    return state;
}

quint32 TCustomMemoSource::StateAfter(int line, std::string_view display, quint32 state)
{
    if (!m_parser)
        return state;
    m_parser->SetUtf8Text(m_encoding == teUtf8);
    return m_parser->ParseLineState(line, display, state, m_scratch);
}

const uchar* TCustomMemoSource::LineAttributes(int line, int* length)
{
    if (length)
        *length = 0;
    if (!InRealLine(line) || (!m_parser && !m_highlightUrls))
        return nullptr;
    if (line >= m_parsedUpTo)
        ParseTo(line);
    TAttributeCache& cache = m_strings.Attributes();
    uchar* attrs = nullptr;
    int n = 0;
    if (!cache.Find(line, attrs, n)) {
        // Dropped from the cache (or never kept): the line's stored start
        // state gives its attributes again.
        QByteArray expanded;
        const std::string_view display = DisplayOf(line, expanded);
        n = int(display.size());
        attrs = cache.Store(line, n, line);
        ParseInto(line, display, attrs, m_strings.Item(line).startState);
        if (m_highlightUrls && n > 0)
            MarkUrls(line, attrs, n, false);
        if (n == 0)
            attrs = nullptr;
    }
    if (length)
        *length = n;
    return attrs;
}

void TCustomMemoSource::ParseTo(int line)
{
    if ((!m_parser && !m_highlightUrls) || line < m_parsedUpTo)
        return;
    const int last = std::min(LineCount() - 1, line + kParseAhead);
    int firstParsed = -1;
    int lastParsed = -1;
    quint32 state = m_parsedUpTo == 0 ? m_initialState : m_strings.Item(m_parsedUpTo - 1).endState;
    TAttributeCache& cache = m_strings.Attributes();
    QByteArray expanded;
    // The structure of each line parsed comes from the same pass.
    const bool structure = m_parser && m_parser->ReportsStructure();
    TStructureBuilder builder;
    TLineStructures::TPass pass(m_strings.Structures());
    std::optional<TSinkScope> sink;
    if (structure)
        sink.emplace(m_parser, &builder);
    // Far above the line asked for, the states of the lower half of the way
    // are established on a worker thread meanwhile. A listener to single
    // lines is told of each in order, so it gets none.
    std::unique_ptr<TStateWorker> worker;
    if (m_parser && !OnLineParsed && line - m_parsedUpTo >= kWorkerLines) {
        if (std::unique_ptr<TSimpleParser> copy = m_parser->CreateWorkerCopy()) {
            copy->SetUtf8Text(m_encoding == teUtf8);
            const int first = m_parsedUpTo + (line - m_parsedUpTo) / 2;
            worker = std::make_unique<TStateWorker>(m_strings, m_tabStops, std::move(copy), first, line, structure);
        }
    }
    const int start = m_parsedUpTo;
    for (int i = start; i <= last; ++i) {
        if (worker && i == worker->First()) {
            if (const int written = worker->Deliver(*m_parser, m_strings, pass)) {
                if (firstParsed < 0)
                    firstParsed = i;
                lastParsed = std::max(lastParsed, i + written - 1);
            }
            worker.reset();
        }
        TStringItem& item = m_strings.Item(i);
        if (item.Has(TStringItem::kAttrsValid) && item.startState == state) {
            state = item.endState;
            continue;
        }
        item.startState = state;
        builder.Reset();
        if (ParsedAsLong(i)) {
            cache.Drop(i);
            state = ParseLong(i, item.Text(), state);
        } else {
            if (m_strings.LongLines().Count() > 0)
                m_strings.LongLines().Drop(i);
            const std::string_view display = DisplayOf(i, expanded);
            const int n = int(display.size());
            // The lines from the one asked for on are about to be shown:
            // their attributes are kept. Above it only the states are wanted.
            if (i >= line) {
                uchar* attrs = cache.Store(i, n, line);
                state = ParseInto(i, display, attrs, state);
                if (m_highlightUrls && n > 0)
                    MarkUrls(i, attrs, n, true);
            } else {
                cache.Drop(i);
                state = StateAfter(i, display, state);
            }
        }
        item.endState = state;
        item.Set(TStringItem::kAttrsValid, true);
        if (structure) {
            pass.Add(i, builder);
            // For every line of a long pass, the worker's included.
            if (last - start > 4 * kSampleLines)
                reserveAtSample(pass, i - start, last + 1 - start);
        }
        if (OnLineParsed)
            OnLineParsed(i);
        if (firstParsed < 0)
            firstParsed = i;
        lastParsed = std::max(lastParsed, i);
    }
    sink.reset();
    if (m_scratch.size() > kScratchKeep)
        std::vector<uchar>().swap(m_scratch);
    m_parsedUpTo = std::max(m_parsedUpTo, last + 1);
    if (structure && !pass.Empty()) {
        // A text without structure and folds so far (a text just read) has
        // no fold to open, and every entry is new.
        const bool fresh = m_strings.Structures().Count() == 0 && m_strings.Folds().Empty();
        const std::vector<std::pair<int, bool>> changed = pass.Commit();
        if (fresh)
            PlaceFoldPoints();
        else
            StructureChanged(changed);
    }
    if (firstParsed >= 0 && OnLinesParsed)
        OnLinesParsed(firstParsed, lastParsed);
}

bool TCustomMemoSource::ParsedAsLong(int line) const
{
    const TStringItem& item = m_strings.Item(line);
    return m_parser && item.length >= m_strings.LongLines().Threshold() && !item.Has(TStringItem::kHasTab) &&
           m_parser->Resumable();
}

void TCustomMemoSource::SetLongLineLimits(int threshold, int spacing)
{
    TLongLines& longLines = m_strings.LongLines();
    longLines.SetThreshold(threshold);
    longLines.SetSpacing(spacing);
    ResetAttributes();
}

quint32 TCustomMemoSource::ParseLong(int line, std::string_view text, quint32 state)
{
    TLongLines& longLines = m_strings.LongLines();
    TLongLine& entry = longLines.Get(line);
    entry.windowValid = false;
    m_parser->SetCurrentLine(line);
    m_parser->SetUtf8Text(m_encoding == teUtf8);
    std::vector<TResumePoint> found;
    TResumablePass pass;
    pass.spacing = longLines.Spacing();
    pass.points = &found;
    std::vector<TResumePoint>& points = entry.points;
    auto byPos = [](const TResumePoint& p, int value) { return p.pos < value; };
    if (entry.valid && entry.startState == state && entry.Dirty()) {
        // From the last point the edit cannot have reached back to, up to
        // the first old point behind it that the pass meets in the same
        // state. A point at the edit's start came from behind the replaced
        // text: it may end the pass but not start it.
        const int reach = m_parser->ResumeReach();
        const int kept =
            int(std::lower_bound(points.begin(), points.end(), entry.dirtyFrom - reach, byPos) - points.begin());
        const TResumePoint from = kept > 0 ? points[size_t(kept - 1)] : TResumePoint{0, state, 0};
        pass.stopFrom = entry.dirtyTo + reach;
        const int old = int(std::lower_bound(points.begin() + kept, points.end(), pass.stopFrom, byPos) - points.begin());
        pass.old = points.data() + old;
        pass.oldCount = int(points.size()) - old;
        const quint32 end = m_parser->ParseFrom(text, from, pass);
        int resumed = int(points.size());
        if (pass.converged) {
            resumed = int(std::lower_bound(points.begin() + old, points.end(), pass.stoppedAt, byPos) - points.begin());
        } else {
            entry.endState = end;
        }
        points.erase(points.begin() + kept, points.begin() + resumed);
        points.insert(points.begin() + kept, found.begin(), found.end());
    } else {
        entry.endState = m_parser->ParseFrom(text, TResumePoint{0, state, 0}, pass);
        points = std::move(found);
    }
    entry.valid = true;
    entry.startState = state;
    entry.dirtyFrom = INT_MAX;
    entry.dirtyTo = INT_MIN;
    return entry.endState;
}

void TCustomMemoSource::FillWindow(int line, std::string_view text, TLongLine& entry, int from, int to)
{
    const int n = int(text.size());
    const int wantFrom = std::max(0, from - kWindowSlack);
    const int wantTo = int(std::min<qint64>(n, qint64(to) + kWindowSlack));
    const std::vector<TResumePoint>& points = entry.points;
    auto after = std::upper_bound(points.begin(), points.end(), wantFrom,
                                  [](int value, const TResumePoint& p) { return value < p.pos; });
    const TResumePoint start = after == points.begin() ? TResumePoint{0, entry.startState, 0} : *(after - 1);
    entry.windowFrom = start.pos;
    entry.window.assign(size_t(std::max(0, wantTo - start.pos)), 0);
    TResumablePass pass;
    pass.limit = wantTo;
    pass.attrs = entry.window.data();
    pass.attrFrom = start.pos;
    pass.attrTo = wantTo;
    m_parser->SetCurrentLine(line);
    m_parser->SetUtf8Text(m_encoding == teUtf8);
    m_parser->ParseFrom(text, start, pass);
    if (m_highlightUrls && !entry.window.empty()) {
        // Addresses are words: the search starts and ends at blanks, so an
        // address across the window's edge is found whole.
        int a = entry.windowFrom;
        const int floor = std::max(0, a - kUrlReach);
        while (a > floor && uchar(text[size_t(a - 1)]) > 32)
            --a;
        int b = wantTo;
        const int ceiling = int(std::min<qint64>(n, qint64(b) + kUrlReach));
        while (b < ceiling && uchar(text[size_t(b)]) > 32)
            ++b;
        for (const Urls::TUrlRun& run : Urls::Find(text.substr(size_t(a), size_t(b - a)))) {
            const int runFrom = std::max(a + run.start, entry.windowFrom);
            const int runTo = std::min(a + run.start + run.length, wantTo);
            if (runFrom < runTo)
                std::memset(entry.window.data() + (runFrom - entry.windowFrom), kUrlAttribute, size_t(runTo - runFrom));
        }
    }
    entry.windowValid = true;
}

const uchar* TCustomMemoSource::LineAttributes(int line, int from, int to, int* first, int* length)
{
    *first = 0;
    *length = 0;
    if (!InRealLine(line) || (!m_parser && !m_highlightUrls))
        return nullptr;
    if (line >= m_parsedUpTo)
        ParseTo(line);
    TLongLine* entry = m_strings.LongLines().Find(line);
    if (!entry || !entry->valid || entry->Dirty() || !ParsedAsLong(line))
        return LineAttributes(line, length);
    const std::string_view text = m_strings.Item(line).Text();
    const int n = int(text.size());
    from = std::clamp(from, 0, n);
    to = std::clamp(to, from, n);
    if (!entry->windowValid || from < entry->windowFrom || to > entry->windowFrom + int(entry->window.size()))
        FillWindow(line, text, *entry, from, to);
    *first = entry->windowFrom;
    *length = int(entry->window.size());
    return entry->window.empty() ? nullptr : entry->window.data();
}

void TCustomMemoSource::MarkUrls(int line, uchar* attrs, int length, bool recordUndo)
{
    QByteArray expanded;
    const std::string_view display = DisplayOf(line, expanded);
    for (const Urls::TUrlRun& run : Urls::Find(display)) {
        const int end = std::min(length, run.start + run.length);
        if (run.start >= end)
            continue;
        // Inside an operation the old attributes are kept for undo.
        if (recordUndo && m_updateCount > 0)
            AddUndo(ukAttributes, line, run.start,
                    QByteArray(reinterpret_cast<const char*>(attrs) + run.start, end - run.start));
        std::memset(attrs + run.start, kUrlAttribute, size_t(end - run.start));
    }
}

uchar* TCustomMemoSource::CachedAttributes(int line, int& length)
{
    uchar* attrs = nullptr;
    length = 0;
    if (!InRealLine(line) || !m_strings.Attributes().Find(line, attrs, length))
        return nullptr;
    return attrs;
}

bool TCustomMemoSource::ParseLoadTail(TLoadStatePass& pass, const std::function<bool()>& report)
{
    // The lines the pass has left are shared so that both halves take as
    // long: the pass walks up to the first line of the far half, and this
    // thread parses that half, from a lead-in before it in the state of a
    // line with nothing open, as a far pass's worker does.
    const int count = LineCount();
    const int reached = pass.Reached();
    if (!m_parser || count - reached < kLoadTailLines || m_parsedUpTo > reached)
        return true;
    const int first = reached + (count - reached + kWorkerLeadIn) / 2;
    pass.StopAt(first);
    TLoadTail& tail = pass.Tail();
    tail.first = first;
    const bool structure = m_parser->ReportsStructure();
    TStructureBuilder builder;
    const TSinkScope sink(m_parser, structure ? &builder : nullptr);
    QByteArray expanded;
    quint32 state = 0;
    const int start = std::max(reached, first - kWorkerLeadIn);
    for (int i = start; i < count && !ParsedAsLong(i); ++i) {
        if ((i - start) % kTailLinesPerReport == 0 && !report())
            return false;
        const std::string_view display = DisplayOf(i, expanded);
        if (i >= first)
            tail.states.Push(state);
        builder.Reset();
        state = StateAfter(i, display, state);
        if (structure && i >= first) {
            tail.structures.Append(i, builder);
            reserveAtSample(tail.structures, i - first, count - first);
        }
    }
    if (!tail.states.Empty())
        tail.states.Push(state);
    return true;
}

void TCustomMemoSource::TakeLoadedStates(TLoadStatePass& pass)
{
    TStateRuns& states = pass.Wait();
    if (pass.Discarded() || !m_parser || states.Empty())
        return;
    size_t lines = std::min(states.Size() - 1, size_t(LineCount()));
    // Read in the wrong encoding, the lines agree up to the first byte the
    // encodings read differently.
    if (pass.Parser().Utf8Text() != (m_encoding == teUtf8))
        lines = std::min(lines, size_t(pass.PlainLines()));
    const std::span<quint32> values = states.Values();
    if (lines == 0 || !m_parser->TakeWorkerStates(pass.Parser(), values.data(), values.size()))
        return;
    // Lines parsed here meanwhile (the first screen, shown as the file came
    // in) have the same states and structure; lines parsed beyond the pass
    // know more than it does.
    const int parsedHere = m_parsedUpTo;
    setStates(m_strings, states, 0, 0, int(lines));
    m_parsedUpTo = std::max(m_parsedUpTo, int(lines));
    if (parsedHere >= int(lines))
        return;
    // The structure of the lines comes with their states, taken whole: a
    // new text has no other.
    const bool structure = m_parser->ReportsStructure();
    TLineStructures& structures = m_strings.Structures();
    if (structure) {
        TLineStructures& taken = pass.Structures();
        if (lines + 1 < states.Size())
            taken.LinesDeleted(int(lines), int(states.Size() - 1 - lines));
        structures.Swap(taken);
    }
    // The tail's lines behind the pass's keep their states and structure
    // as those of lines parsed before an edit above them: they count as
    // parsed from where the states above lead into them on, and are parsed
    // again where they do not.
    TLoadTail& tail = pass.Tail();
    const int tailEnd = tail.first + int(tail.states.Size()) - 1;
    const int from = std::max(tail.first, int(lines));
    if (tail.states.Size() > 1 && from < tailEnd && tailEnd <= LineCount()) {
        setStates(m_strings, tail.states, tail.first, from, tailEnd);
        if (structure)
            structures.TakeFrom(tail.structures, from);
        quint32 state = m_strings.Item(m_parsedUpTo - 1).endState;
        for (; m_parsedUpTo < LineCount(); ++m_parsedUpTo) {
            const TStringItem& item = m_strings.Item(m_parsedUpTo);
            if (!item.Has(TStringItem::kAttrsValid) || item.startState != state)
                break;
            state = item.endState;
        }
    }
    if (structure)
        PlaceFoldPoints();
}

void TCustomMemoSource::ResetAttributes()
{
    // States established for a text still loading belong to the old parser.
    if (m_loadPass)
        m_loadPass->Discard();
    BeginUpdate(Reason::kAttributesReset);
    for (int i = 0; i < LineCount(); ++i) {
        TStringItem& item = m_strings.Item(i);
        item.Set(TStringItem::kAttrsValid, false);
        item.startState = item.endState = 0;
    }
    // Without a parser there is nothing to show them for; with one, a line
    // is parsed again before its attributes are handed out.
    if (!m_parser)
        m_strings.Attributes().Clear();
    // Points found with another parser or other settings say nothing.
    m_strings.LongLines().Clear();
    // Without a parser that reports it there is no structure, and nothing
    // folds.
    if (!m_parser || !m_parser->ReportsStructure())
        DropStructure();
    m_parsedUpTo = 0;
    m_changeFlags |= Change::kAttributesReset;
    MarkChanged(0, TMemoChange::kToEnd);
    EndUpdate();
}

bool TCustomMemoSource::LineEvents(int line, std::vector<TStructureEvent>& events)
{
    events.clear();
    if (!m_parser || !m_parser->ReportsStructure() || !KnowStructureOf(line))
        return false;
    QByteArray expanded;
    const std::string_view display = DisplayOf(line, expanded);
    TStructureBuilder builder;
    m_scratch.resize(std::max(m_scratch.size(), display.size()));
    {
        const TSinkScope sink(m_parser, &builder);
        m_parser->SetUtf8Text(m_encoding == teUtf8);
        m_parser->InitLineAttributes(line, display, m_scratch.data());
        m_parser->SetCurrentLine(line);
        m_parser->ParseLine(display, m_strings.Item(line).startState, m_scratch.data());
    }
    events = builder.Events();
    return true;
}
