// Fold points and the folds collapsed at them. A line's fold point comes
// from the structure the parse of the line reported (linestructures.h): it
// is kept in the line item's collapse byte, set when the line is parsed, so
// that a view finds it without asking anything else. Where the block ends is
// found only when it is needed (to collapse it) by a walk over the structure
// entries (structurewalk.h), which passes over the lines that open or close
// nothing at no cost; the last line of a collapsed block is kept with the
// fold (foldranges.h).
//
// The caret never stays on a hidden line: the outermost update that leaves
// it there expands the folds around it, whatever moved it (a search, a
// bookmark, going to a line, undo).

#include "memosource.h"

#include "htmlelements.h"
#include "structurewalk.h"

#include <algorithm>

namespace {

// Lines a walk for the end of a block has parsed ahead in one go, at first.
constexpr int kWalkChunk = 4096;

} // namespace

int TCustomMemoSource::CollapseState(int line) const
{
    if (!InRealLine(line))
        return 2;
    switch (m_strings.Item(line).collapse) {
    case TStringItem::kExpanded: return 0;
    case TStringItem::kCollapsed: return 1;
    default: return 2;
    }
}

void TCustomMemoSource::SetCollapseState(int line, int state)
{
    if (!InRealLine(line))
        return;
    TStringItem& item = m_strings.Item(line);
    if (state == 2) {
        UnfoldLine(line);
        TUpdate update(*this, 0);
        item.collapse = TStringItem::kNoCollapsePoint;
        MarkChanged(line, line);
        return;
    }
    if (item.collapse == TStringItem::kNoCollapsePoint) {
        // A point by hand. It ends a collapsed fold by hand that reached
        // over it, which folds up to the next point.
        m_manualFolds = true;
        TUpdate update(*this, 0);
        item.collapse = TStringItem::kExpanded;
        TFoldRanges& folds = m_strings.Folds();
        for (TFoldRanges::TFold fold : std::vector<TFoldRanges::TFold>(folds.Folds())) {
            if (fold.kind < 0 && fold.header < line && line <= fold.last) {
                fold.last = line - 1;
                folds.Expand(fold.header);
                folds.Collapse(fold);
                if (!folds.Find(fold.header))
                    m_strings.Item(fold.header).collapse = TStringItem::kExpanded;
            }
        }
        MarkChanged(0, TMemoChange::kToEnd);
    }
    if (state == 1)
        FoldLine(line);
    else
        UnfoldLine(line);
}

bool TCustomMemoSource::HasOutline() const
{
    return (m_parser && m_parser->ReportsStructure()) || m_manualFolds;
}

bool TCustomMemoSource::KnowStructureOf(int line)
{
    if (!InRealLine(line))
        return false;
    if (line >= m_parsedUpTo)
        ParseTo(line);
    return line < m_parsedUpTo;
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
    m_parser->SetStructureSink(&builder);
    m_parser->SetUtf8Text(m_encoding == teUtf8);
    m_parser->InitLineAttributes(line, display, m_scratch.data());
    m_parser->SetCurrentLine(line);
    m_parser->ParseLine(display, m_strings.Item(line).startState, m_scratch.data());
    m_parser->SetStructureSink(nullptr);
    events = builder.Events();
    return true;
}

// -- fold points ------------------------------------------------------------------

int TCustomMemoSource::RunNeighbour(int line, int step) const
{
    // A run goes on over lines that open and close nothing (blank lines,
    // comments on one line).
    const TLineStructures& structures = m_strings.Structures();
    const size_t i = structures.LowerBound(line);
    if (step < 0)
        return i > 0 ? structures.At(i - 1).line : -1;
    const size_t next = i < structures.Count() && structures.At(i).line == line ? i + 1 : i;
    return next < structures.Count() ? structures.At(next).line : -1;
}

bool TCustomMemoSource::IsRunLine(int line) const
{
    const TStructureEntry* entry = m_strings.Structures().Find(line);
    if (!entry)
        return false;
    for (const TStructureEvent& event : m_strings.Structures().Events(*entry)) {
        if (event.kind == Structure::skRun)
            return true;
    }
    return false;
}

bool TCustomMemoSource::EndsOnItsLine(int line, const TStructureEntry& entry) const
{
    // The element the line opens, when it is one whose end tag may be left
    // out.
    const TLineStructures& structures = m_strings.Structures();
    quint32 name = 0;
    for (const TStructureEvent& event : structures.Events(entry)) {
        if (event.kind == Structure::skTag && event.IsOpen()) {
            name = event.name;
            break;
        }
    }
    if (!name || !HtmlElements::EndsWithoutTag(name))
        return false;
    // The next line starts with a tag that ends it: a sibling (<li> after
    // <li>) or the end of something around it (</ul>).
    const TStructureEntry* next = structures.Find(line + 1);
    if (!next)
        return false;
    for (const TStructureEvent& event : structures.Events(*next)) {
        if (event.kind != Structure::skTag)
            continue;
        return event.IsOpen() ? HtmlElements::OpenEnds(event.name, name)
                              : event.action == Structure::saClose && event.name != name;
    }
    return false;
}

void TCustomMemoSource::UpdateCollapsePoint(int line)
{
    if (!InRealLine(line))
        return;
    const TStructureEntry* entry = m_strings.Structures().Find(line);
    bool point = entry && entry->fold != TStructureEntry::kNoFold;
    // A run folds from its first line, when another follows it.
    if (point && entry->FoldKind() == Structure::skRun)
        point = !IsRunLine(RunNeighbour(line, -1)) && IsRunLine(RunNeighbour(line, 1));
    // An element ended by the next line's first tag holds one line only.
    if (point && entry->FoldKind() == Structure::skTag)
        point = !EndsOnItsLine(line, *entry);
    TStringItem& item = m_strings.Item(line);
    if (!point)
        item.collapse = TStringItem::kNoCollapsePoint;
    else if (item.collapse == TStringItem::kNoCollapsePoint)
        item.collapse = TStringItem::kExpanded;
}

void TCustomMemoSource::StructureChanged(const std::vector<std::pair<int, bool>>& lines)
{
    TFoldRanges& folds = m_strings.Folds();
    for (const auto& [line, foldsMoved] : lines) {
        // Runs and elements that may end without their tag are fold points
        // by their neighbours too.
        UpdateCollapsePoint(line);
        UpdateCollapsePoint(line - 1);
        UpdateCollapsePoint(RunNeighbour(line, -1));
        UpdateCollapsePoint(RunNeighbour(line, 1));
        if (!foldsMoved || folds.Empty())
            continue;
        // What a collapsed fold hides, or where it starts, now opens or
        // closes something else: it may end elsewhere, so it opens.
        folds.ExpandAround(line);
        folds.Expand(line);
    }
    for (const auto& [line, moved] : lines) {
        if (InRealLine(line) && m_strings.Item(line).collapse == TStringItem::kCollapsed && !folds.Find(line))
            m_strings.Item(line).collapse = TStringItem::kExpanded;
    }
}

void TCustomMemoSource::DropStructure()
{
    m_strings.Structures().Clear();
    for (const TFoldRanges::TFold& fold : m_strings.Folds().Folds()) {
        if (InRealLine(fold.header))
            m_strings.Item(fold.header).collapse = TStringItem::kNoCollapsePoint;
    }
    m_strings.Folds().Clear();
    for (int i = 0; i < LineCount(); ++i)
        m_strings.Item(i).collapse = TStringItem::kNoCollapsePoint;
    m_manualFolds = false;
}

// -- where blocks end -------------------------------------------------------------

int TCustomMemoSource::RunEnd(int line)
{
    int last = line;
    for (int next = RunNeighbour(line, 1); next >= 0 && IsRunLine(next); next = RunNeighbour(next, 1))
        last = next;
    return last;
}

int TCustomMemoSource::FoldEnd(int line)
{
    if (!InRealLine(line) || m_strings.Item(line).collapse == TStringItem::kNoCollapsePoint)
        return -1;
    if (!m_parser || !m_parser->ReportsStructure() || !KnowStructureOf(line) ||
        !m_strings.Structures().Find(line)) {
        // A point by hand folds up to the next point.
        int last = line + 1;
        while (last < LineCount() && m_strings.Item(last).collapse == TStringItem::kNoCollapsePoint)
            ++last;
        return last - 1 > line ? last - 1 : -1;
    }
    if (m_strings.Structures().Find(line)->FoldKind() == Structure::skRun)
        return RunEnd(line);
    int end = -1;
    TStructureWalk walk(m_strings.Structures(), 0);
    walk.OnEnded = [&end, line](int header, int last) {
        if (header == line && end < 0)
            end = last;
    };
    for (int chunk = kWalkChunk; end < 0;) {
        walk.WalkTo(m_parsedUpTo);
        if (end >= 0 || m_parsedUpTo >= LineCount())
            break;
        // The structure further on is not known yet: parse on, in larger
        // and larger steps.
        ParseTo(std::min(LineCount() - 1, m_parsedUpTo + chunk));
        chunk = std::min(chunk * 2, 1 << 20);
    }
    if (end < 0)
        walk.Finish(LineCount() - 1);
    return end > line ? end : -1;
}

TFoldRanges::TFold TCustomMemoSource::FoldOf(int line, int last) const
{
    const TStructureEntry* entry = m_strings.Structures().Find(line);
    return entry ? FoldOf(*entry, last) : TFoldRanges::TFold{line, last, -1, 0};
}

TFoldRanges::TFold TCustomMemoSource::FoldOf(const TStructureEntry& entry, int last) const
{
    using namespace Structure;
    TFoldRanges::TFold fold{entry.line, last, entry.FoldKind(), 0};
    if (fold.kind == skBrace || fold.kind < 0)
        return fold;
    // The marker names the first open of the fold's kind the line has.
    for (const TStructureEvent& event : m_strings.Structures().Events(entry)) {
        if (event.kind == fold.kind && (event.IsOpen() || event.kind == skRun)) {
            fold.name = event.kind == skTag ? event.name : event.label;
            break;
        }
    }
    return fold;
}

QByteArray TCustomMemoSource::FoldMarker(int line) const
{
    const TFoldRanges::TFold* fold = m_strings.Folds().Find(line);
    if (!fold)
        return {};
    switch (fold->kind) {
    case Structure::skBrace:
        return QByteArrayLiteral("{...}");
    case Structure::skTag: {
        const QByteArray name = TStructureNames::Shared().Text(fold->name);
        return '<' + name + ">...</" + name + '>';
    }
    case -1:
        return QByteArrayLiteral("...");
    default: {
        const QByteArray label = TStructureNames::Shared().Text(fold->name);
        return label.isEmpty() ? QByteArrayLiteral("...") : label;
    }
    }
}

// -- collapsing and expanding ---------------------------------------------------------

void TCustomMemoSource::CollapseFolds(std::vector<TFoldRanges::TFold> folds, bool replace)
{
    TFoldRanges& ranges = m_strings.Folds();
    if (folds.empty() && !replace)
        return;
    TUpdate update(*this, 0);
    if (replace) {
        for (const TFoldRanges::TFold& fold : ranges.Folds())
            m_strings.Item(fold.header).collapse = TStringItem::kExpanded;
        ranges.Assign(std::move(folds));
    } else {
        for (const TFoldRanges::TFold& fold : folds)
            ranges.Collapse(fold);
    }
    for (const TFoldRanges::TFold& fold : ranges.Folds())
        m_strings.Item(fold.header).collapse = TStringItem::kCollapsed;
    // A fold over the caret keeps it on its first line.
    if (ranges.IsHidden(CaretLine())) {
        const int header = ranges.ShownBefore(CaretLine());
        JumpCaret({header, std::min(CaretColumn(), LineLength(header))});
    }
    m_changeFlags |= Change::kFolding;
    MarkChanged(0, TMemoChange::kToEnd);
}

bool TCustomMemoSource::FoldLine(int line)
{
    if (m_strings.Folds().Find(line))
        return false;
    const int last = FoldEnd(line);
    if (last <= line)
        return false;
    CollapseFolds({FoldOf(line, last)}, false);
    return true;
}

bool TCustomMemoSource::UnfoldLine(int line)
{
    TFoldRanges& folds = m_strings.Folds();
    if (!folds.Find(line))
        return false;
    TUpdate update(*this, 0);
    folds.Expand(line);
    m_strings.Item(line).collapse = TStringItem::kExpanded;
    m_changeFlags |= Change::kFolding;
    MarkChanged(line, TMemoChange::kToEnd);
    return true;
}

bool TCustomMemoSource::FoldAtCaret()
{
    const int caretLine = CaretLine();
    if (!InRealLine(caretLine) || !KnowStructureOf(caretLine))
        return false;
    if (CollapseState(caretLine) == 0 && FoldLine(caretLine))
        return true;
    // The innermost fold point whose block holds the caret line and is
    // still open where that line starts.
    TStructureWalk walk(m_strings.Structures(), 0);
    walk.WalkTo(caretLine);
    int header = -1;
    for (const TStructureWalk::TBrace& brace : walk.Braces())
        header = std::max(header, brace.header);
    for (const TStructureStack::TItem& item : walk.Stack().Items())
        header = std::max(header, int(item.mark));
    if (header < 0 && m_manualFolds) {
        for (header = caretLine - 1; header >= 0 && CollapseState(header) != 0; --header) {
        }
    }
    return header >= 0 && FoldLine(header);
}

bool TCustomMemoSource::UnfoldAtCaret()
{
    return UnfoldLine(CaretLine());
}

std::vector<TFoldRanges::TFold> TCustomMemoSource::EveryFold()
{
    if (LineCount() > 0)
        ParseTo(LineCount() - 1);
    std::vector<TFoldRanges::TFold> folds;
    TStructureWalk walk(m_strings.Structures(), 0);
    walk.OnEnded = [&folds](int header, int last) {
        if (last > header)
            folds.push_back({header, last, -1, 0});
    };
    walk.WalkTo(LineCount());
    walk.Finish(LineCount() - 1);
    // Runs: from the first line of each, over the lines of the run.
    const TLineStructures& structures = m_strings.Structures();
    for (size_t i = 0; i < structures.Count(); ++i) {
        const TStructureEntry& entry = structures.At(i);
        if (entry.FoldKind() == Structure::skRun && CollapseState(entry.line) != 2)
            folds.push_back({entry.line, RunEnd(entry.line), -1, 0});
    }
    // What each folds, from its header's entry: both in the order of their
    // lines, so one pass over the entries finds them all.
    std::sort(folds.begin(), folds.end(), [](const auto& a, const auto& b) { return a.header < b.header; });
    size_t i = 0;
    for (TFoldRanges::TFold& fold : folds) {
        while (i < structures.Count() && structures.At(i).line < fold.header)
            ++i;
        if (i < structures.Count() && structures.At(i).line == fold.header)
            fold = FoldOf(structures.At(i), fold.last);
    }
    return folds;
}

void TCustomMemoSource::FoldAll()
{
    if (!m_parser || !m_parser->ReportsStructure()) {
        // Points by hand: each folds up to the next.
        std::vector<TFoldRanges::TFold> folds;
        for (int line = 0; m_manualFolds && line < LineCount(); ++line) {
            if (CollapseState(line) != 2)
                folds.push_back(FoldOf(line, FoldEnd(line)));
        }
        CollapseFolds(std::move(folds), true);
        return;
    }
    CollapseFolds(EveryFold(), true);
}

void TCustomMemoSource::FoldAllComments()
{
    if (!m_parser || !m_parser->ReportsStructure())
        return;
    std::vector<TFoldRanges::TFold> folds = EveryFold();
    std::erase_if(folds, [](const TFoldRanges::TFold& fold) { return fold.kind != Structure::skComment; });
    CollapseFolds(std::move(folds), false);
}

void TCustomMemoSource::UnfoldAll()
{
    if (m_strings.Folds().Empty())
        return;
    CollapseFolds({}, true);
}

std::vector<int> TCustomMemoSource::CollapsedLines() const
{
    std::vector<int> lines;
    for (const TFoldRanges::TFold& fold : m_strings.Folds().Folds())
        lines.push_back(fold.header);
    return lines;
}

void TCustomMemoSource::CollapseLines(const std::vector<int>& lines)
{
    std::vector<TFoldRanges::TFold> folds;
    for (int line : lines) {
        if (!KnowStructureOf(line))
            continue;
        const int last = FoldEnd(line);
        if (last > line)
            folds.push_back(FoldOf(line, last));
    }
    CollapseFolds(std::move(folds), false);
}

void TCustomMemoSource::KeepCaretShown()
{
    TFoldRanges& folds = m_strings.Folds();
    const int line = CaretLine();
    if (folds.Empty() || !folds.IsHidden(line))
        return;
    for (int header : folds.ExpandAround(line)) {
        if (InRealLine(header))
            m_strings.Item(header).collapse = TStringItem::kExpanded;
    }
    m_changeFlags |= Change::kFolding;
    MarkChanged(0, TMemoChange::kToEnd);
}
