// Lazily computed syntax attributes. Every line keeps the parser state at its
// start and end; lines are parsed on demand from the first one not yet parsed
// up to the requested line plus 100. A line whose stored start state equals
// the previous line's end state is not parsed again, so a change of state
// travels forward exactly as far as the line states differ.
//
// Only the states are kept for every line. A pass that reaches a requested
// line from far above it establishes the states of the lines on the way,
// parsing them into one scratch buffer and keeping no attribute bytes, so it
// runs at the parser's own speed. The attributes of the requested line and
// the lines after it go to the attribute cache; a line whose attributes were
// dropped from there is parsed again from its stored start state when it is
// asked for, which gives exactly the bytes a full parse gives.

#include "memosource.h"

#include "urls.h"

#include <algorithm>
#include <cstring>

namespace {

// Lines parsed beyond the one asked for, so that scrolling down a little
// finds them ready.
constexpr int kParseAhead = 100;
constexpr uchar kUrlAttribute = 12;
// A scratch buffer larger than this is given back after a pass.
constexpr size_t kScratchKeep = size_t(1) << 20;

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
        return m_parser->ParseLine(display, state, attrs);
    }
    if (!display.empty())
        std::memset(attrs, 0, display.size());
    return state;
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
    for (int i = m_parsedUpTo; i <= last; ++i) {
        TStringItem& item = m_strings.Item(i);
        if (item.Has(TStringItem::kAttrsValid) && item.startState == state) {
            state = item.endState;
            continue;
        }
        const std::string_view display = DisplayOf(i, expanded);
        const int n = int(display.size());
        // The lines from the one asked for on are about to be shown: their
        // attributes are kept. Above it only the states are wanted.
        const bool keep = i >= line;
        uchar* attrs;
        if (keep) {
            attrs = cache.Store(i, n, line);
        } else {
            cache.Drop(i);
            if (m_scratch.size() < size_t(n))
                m_scratch.resize(size_t(n));
            attrs = m_scratch.data();
        }
        item.startState = state;
        state = ParseInto(i, display, attrs, state);
        item.endState = state;
        item.Set(TStringItem::kAttrsValid, true);
        if (keep && m_highlightUrls && n > 0)
            MarkUrls(i, attrs, n, true);
        if (OnLineParsed)
            OnLineParsed(i);
        if (firstParsed < 0)
            firstParsed = i;
        lastParsed = i;
    }
    if (m_scratch.size() > kScratchKeep)
        std::vector<uchar>().swap(m_scratch);
    m_parsedUpTo = std::max(m_parsedUpTo, last + 1);
    if (firstParsed >= 0 && OnLinesParsed)
        OnLinesParsed(firstParsed, lastParsed);
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

void TCustomMemoSource::ResetAttributes()
{
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
    m_parsedUpTo = 0;
    m_changeFlags |= Change::kAttributesReset;
    MarkChanged(0, TMemoChange::kToEnd);
    EndUpdate();
}
