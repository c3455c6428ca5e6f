// Lazily computed syntax attributes. Every line keeps the parser state at its
// start and end; lines are parsed on demand from the first one not yet parsed
// up to the requested line plus 100. A line whose stored start state equals
// the previous line's end state is not parsed again, so a change of state
// travels forward exactly as far as the line states differ.

#include "memosource.h"

#include "urls.h"

#include <algorithm>
#include <cstring>

namespace {

// Lines parsed beyond the one asked for, so that scrolling down a little
// finds them ready.
constexpr int kParseAhead = 100;
constexpr uchar kUrlAttribute = 12;

} // namespace

const uchar* TCustomMemoSource::LineAttributes(int line, int* length)
{
    if (length)
        *length = 0;
    if (!InRealLine(line) || (!m_parser && !m_highlightUrls))
        return nullptr;
    if (line >= m_parsedUpTo)
        ParseTo(line);
    const TStringItem& item = m_strings.Item(line);
    if (length)
        *length = item.AttrLength();
    return item.AttrData();
}

void TCustomMemoSource::ParseTo(int line)
{
    if ((!m_parser && !m_highlightUrls) || line < m_parsedUpTo)
        return;
    const int last = std::min(LineCount() - 1, line + kParseAhead);
    int firstParsed = -1;
    int lastParsed = -1;
    quint32 state = m_parsedUpTo == 0 ? m_initialState : m_strings.Item(m_parsedUpTo - 1).endState;
    std::string expanded;
    for (int i = m_parsedUpTo; i <= last; ++i) {
        TStringItem& item = m_strings.Item(i);
        if (item.Has(TStringItem::kAttrsValid) && item.startState == state) {
            state = item.endState;
            continue;
        }
        std::string_view display = item.Text();
        if (item.Has(TStringItem::kHasTab)) {
            const QByteArray text = m_tabStops.Expand(display);
            expanded.assign(text.constData(), size_t(text.size()));
            display = expanded;
        }
        const int n = int(display.size());
        uchar* attrs = nullptr;
        if (n > 0)
            attrs = item.ResizeAttrs(n);
        else
            item.FreeAttrs();
        item.startState = state;
        if (m_parser) {
            m_parser->InitLineAttributes(i, display, attrs);
            m_parser->SetCurrentLine(i);
            state = m_parser->ParseLine(display, state, attrs);
        } else if (n > 0) {
            std::memset(attrs, 0, size_t(n));
        }
        item.endState = state;
        item.Set(TStringItem::kAttrsValid, true);
        if (m_highlightUrls && n > 0)
            MarkUrls(i, attrs, n);
        if (OnLineParsed)
            OnLineParsed(i);
        if (firstParsed < 0)
            firstParsed = i;
        lastParsed = i;
    }
    m_parsedUpTo = std::max(m_parsedUpTo, last + 1);
    if (firstParsed >= 0 && OnLinesParsed)
        OnLinesParsed(firstParsed, lastParsed);
}

void TCustomMemoSource::MarkUrls(int line, uchar* attrs, int length)
{
    QByteArray expanded;
    std::string_view display = m_strings.RawText(line);
    if (m_strings.Item(line).Has(TStringItem::kHasTab)) {
        expanded = LineText(line);
        display = std::string_view(expanded.constData(), size_t(expanded.size()));
    }
    for (const Urls::TUrlRun& run : Urls::Find(display)) {
        const int end = std::min(length, run.start + run.length);
        if (run.start >= end)
            continue;
        // Inside an operation the old attributes are kept for undo.
        if (m_updateCount > 0)
            AddUndo(ukAttributes, line, run.start,
                    QByteArray(reinterpret_cast<const char*>(attrs) + run.start, end - run.start));
        std::memset(attrs + run.start, kUrlAttribute, size_t(end - run.start));
    }
}

void TCustomMemoSource::ResetAttributes()
{
    BeginUpdate(Reason::kAttributesReset);
    const bool keep = m_parser != nullptr;
    for (int i = 0; i < LineCount(); ++i) {
        TStringItem& item = m_strings.Item(i);
        item.Set(TStringItem::kAttrsValid, false);
        item.startState = item.endState = 0;
        item.displayLength = 0;
        if (!keep)
            item.FreeAttrs();
    }
    m_parsedUpTo = 0;
    m_changeFlags |= Change::kAttributesReset;
    MarkChanged(0, TMemoChange::kToEnd);
    EndUpdate();
}
