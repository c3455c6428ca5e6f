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

#include "memosourcefolds.h"

#include "memosource.h"

#include "htmlelements.h"
#include "structurewalk.h"

#include <algorithm>

namespace {

// Lines a walk for the end of a block has parsed ahead in one go, at first.
constexpr int kWalkChunk = 4096;

} // namespace

TCustomMemoSource& TMemoFolding::Source()
{
    return static_cast<TCustomMemoSource&>(*this);
}

const TCustomMemoSource& TMemoFolding::Source() const
{
    return static_cast<const TCustomMemoSource&>(*this);
}

TInternalStrings& TMemoFolding::Strings()
{
    return Source().m_strings;
}

const TInternalStrings& TMemoFolding::Strings() const
{
    return Source().m_strings;
}

int TMemoFolding::CollapseState(int line) const
{
    if (!Source().InRealLine(line))
        return 2;
    switch (Strings().Item(line).collapse) {
    case TStringItem::kExpanded: return 0;
    case TStringItem::kCollapsed: return 1;
    default: return 2;
    }
}

void TMemoFolding::SetCollapseState(int line, int state)
{
    if (!Source().InRealLine(line))
        return;
    TStringItem& item = Strings().Item(line);
    if (state == 2) {
        UnfoldLine(line);
        TCustomMemoSource::TUpdate update(Source(), 0);
        item.collapse = TStringItem::kNoCollapsePoint;
        Source().MarkChanged(line, line);
        return;
    }
    if (item.collapse == TStringItem::kNoCollapsePoint) {
        // A point by hand. It ends a collapsed fold by hand that reached
        // over it, which folds up to the next point.
        m_manualFolds = true;
        TCustomMemoSource::TUpdate update(Source(), 0);
        item.collapse = TStringItem::kExpanded;
        TFoldRanges& folds = Strings().Folds();
        for (TFoldRanges::TFold fold : std::vector<TFoldRanges::TFold>(folds.Folds())) {
            if (fold.kind < 0 && fold.header < line && line <= fold.last) {
                fold.last = line - 1;
                folds.Expand(fold.header);
                folds.Collapse(fold);
                if (!folds.Find(fold.header))
                    Strings().Item(fold.header).collapse = TStringItem::kExpanded;
            }
        }
        Source().MarkChanged(0, TMemoChange::kToEnd);
    }
    if (state == 1)
        FoldLine(line);
    else
        UnfoldLine(line);
}

bool TMemoFolding::HasOutline() const
{
    return (Source().m_parser && Source().m_parser->ReportsStructure()) || m_manualFolds;
}

bool TMemoFolding::KnowStructureOf(int line)
{
    if (!Source().InRealLine(line))
        return false;
    if (line >= Source().m_parsedUpTo)
        Source().ParseTo(line);
    return line < Source().m_parsedUpTo;
}

// -- fold points ------------------------------------------------------------------

int TMemoFolding::RunNeighbour(int line, int step) const
{
    // A run goes on over lines that open and close nothing (blank lines,
    // comments on one line).
    const TLineStructures& structures = Strings().Structures();
    const size_t i = structures.LowerBound(line);
    if (step < 0)
        return i > 0 ? structures.At(i - 1).line : -1;
    const size_t next = i < structures.Count() && structures.At(i).line == line ? i + 1 : i;
    return next < structures.Count() ? structures.At(next).line : -1;
}

bool TMemoFolding::IsRunLine(int line) const
{
    const TStructureEntry* entry = Strings().Structures().Find(line);
    return entry && IsRun(*entry);
}

bool TMemoFolding::IsRun(const TStructureEntry& entry) const
{
    for (const TStructureEvent& event : Strings().Structures().Events(entry)) {
        if (event.kind == Structure::skRun)
            return true;
    }
    return false;
}

bool TMemoFolding::EndsOnItsLine(const TStructureEntry& entry, const TStructureEntry* next) const
{
    // The element the line opens, when it is one whose end tag may be left
    // out.
    const TLineStructures& structures = Strings().Structures();
    quint32 name = 0;
    for (const TStructureEvent& event : structures.Events(entry)) {
        if (event.kind == Structure::skTag && event.IsOpen()) {
            name = event.name;
            break;
        }
    }
    if (!name || !HtmlElements::EndsWithoutTag(name) || !next)
        return false;
    // The next line starts with a tag that ends it: a sibling (<li> after
    // <li>) or the end of something around it (</ul>).
    for (const TStructureEvent& event : structures.Events(*next)) {
        if (event.kind != Structure::skTag)
            continue;
        return event.IsOpen() ? HtmlElements::OpenEnds(event.name, name)
                              : event.action == Structure::saClose && event.name != name;
    }
    return false;
}

bool TMemoFolding::FoldsAt(const TStructureEntry& entry, const TStructureEntry* before,
                           const TStructureEntry* after) const
{
    switch (entry.FoldKind()) {
    case -1:
        return false;
    case Structure::skRun:
        // A run folds from its first line, when another follows it.
        return !(before && IsRun(*before)) && after && IsRun(*after);
    case Structure::skTag:
        // An element ended by the next line's first tag holds one line only.
        return !EndsOnItsLine(entry, after && after->line == entry.line + 1 ? after : nullptr);
    default:
        return true;
    }
}

void TMemoFolding::UpdateCollapsePoint(int line)
{
    if (!Source().InRealLine(line))
        return;
    const TLineStructures& structures = Strings().Structures();
    const size_t i = structures.LowerBound(line);
    const size_t count = structures.Count();
    const bool found = i < count && structures.At(i).line == line;
    const bool point = found && FoldsAt(structures.At(i), i > 0 ? &structures.At(i - 1) : nullptr,
                                        i + 1 < count ? &structures.At(i + 1) : nullptr);
    TStringItem& item = Strings().Item(line);
    if (!point)
        item.collapse = TStringItem::kNoCollapsePoint;
    else if (item.collapse == TStringItem::kNoCollapsePoint)
        item.collapse = TStringItem::kExpanded;
}

void TMemoFolding::StructureChanged(const std::vector<std::pair<int, bool>>& lines)
{
    TFoldRanges& folds = Strings().Folds();
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
        if (Source().InRealLine(line) && Strings().Item(line).collapse == TStringItem::kCollapsed && !folds.Find(line))
            Strings().Item(line).collapse = TStringItem::kExpanded;
    }
}

void TMemoFolding::PlaceFoldPoints()
{
    // Each line with an entry is a point or none by its entry and its
    // neighbours in the list; a line without one is none.
    TInternalStrings& strings = Strings();
    const std::span<const TStructureEntry> entries = strings.Structures().Entries();
    const int lines = Source().LineCount();
    int previous = -1;
    for (size_t i = 0; i < entries.size(); ++i) {
        const TStructureEntry& entry = entries[i];
        const int above = entry.line - 1;
        if (above > previous && above >= 0 && above < lines)
            strings.Item(above).collapse = TStringItem::kNoCollapsePoint;
        previous = entry.line;
        if (entry.line < 0 || entry.line >= lines)
            continue;
        const bool point =
            FoldsAt(entry, i > 0 ? &entries[i - 1] : nullptr, i + 1 < entries.size() ? &entries[i + 1] : nullptr);
        strings.Item(entry.line).collapse = point ? TStringItem::kExpanded : TStringItem::kNoCollapsePoint;
    }
}

void TMemoFolding::DropStructure()
{
    Strings().Structures().Clear();
    for (const TFoldRanges::TFold& fold : Strings().Folds().Folds()) {
        if (Source().InRealLine(fold.header))
            Strings().Item(fold.header).collapse = TStringItem::kNoCollapsePoint;
    }
    Strings().Folds().Clear();
    for (int i = 0; i < Source().LineCount(); ++i)
        Strings().Item(i).collapse = TStringItem::kNoCollapsePoint;
    m_manualFolds = false;
}

// -- where blocks end -------------------------------------------------------------

int TMemoFolding::RunEnd(int line)
{
    int last = line;
    for (int next = RunNeighbour(line, 1); next >= 0 && IsRunLine(next); next = RunNeighbour(next, 1))
        last = next;
    return last;
}

int TMemoFolding::FoldEnd(int line)
{
    if (!Source().InRealLine(line) || Strings().Item(line).collapse == TStringItem::kNoCollapsePoint)
        return -1;
    if (!Source().m_parser || !Source().m_parser->ReportsStructure() || !KnowStructureOf(line) ||
        !Strings().Structures().Find(line)) {
        // A point by hand folds up to the next point.
        int last = line + 1;
        while (last < Source().LineCount() && Strings().Item(last).collapse == TStringItem::kNoCollapsePoint)
            ++last;
        return last - 1 > line ? last - 1 : -1;
    }
    if (Strings().Structures().Find(line)->FoldKind() == Structure::skRun)
        return RunEnd(line);
    int end = -1;
    TStructureWalk walk(Strings().Structures(), 0);
    walk.OnEnded = [&end, line](int header, int last) {
        if (header == line && end < 0)
            end = last;
    };
    for (int chunk = kWalkChunk; end < 0;) {
        walk.WalkTo(Source().m_parsedUpTo);
        if (end >= 0 || Source().m_parsedUpTo >= Source().LineCount())
            break;
        // The structure further on is not known yet: parse on, in larger
        // and larger steps.
        Source().ParseTo(std::min(Source().LineCount() - 1, Source().m_parsedUpTo + chunk));
        chunk = std::min(chunk * 2, 1 << 20);
    }
    if (end < 0)
        walk.Finish(Source().LineCount() - 1);
    return end > line ? end : -1;
}

TFoldRanges::TFold TMemoFolding::FoldOf(int line, int last) const
{
    const TStructureEntry* entry = Strings().Structures().Find(line);
    return entry ? FoldOf(*entry, last) : TFoldRanges::TFold{line, last, -1, 0};
}

TFoldRanges::TFold TMemoFolding::FoldOf(const TStructureEntry& entry, int last) const
{
    using namespace Structure;
    TFoldRanges::TFold fold{entry.line, last, entry.FoldKind(), 0};
    if (fold.kind == skBrace || fold.kind < 0)
        return fold;
    // The marker names the first open of the fold's kind the line has.
    for (const TStructureEvent& event : Strings().Structures().Events(entry)) {
        if (event.kind == fold.kind && (event.IsOpen() || event.kind == skRun)) {
            fold.name = event.kind == skTag ? event.name : event.label;
            break;
        }
    }
    return fold;
}

QByteArray TMemoFolding::FoldMarker(int line) const
{
    const TFoldRanges::TFold* fold = Strings().Folds().Find(line);
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

void TMemoFolding::CollapseFolds(std::vector<TFoldRanges::TFold> folds, bool replace)
{
    TFoldRanges& ranges = Strings().Folds();
    if (folds.empty() && !replace)
        return;
    TCustomMemoSource::TUpdate update(Source(), 0);
    if (replace) {
        for (const TFoldRanges::TFold& fold : ranges.Folds())
            Strings().Item(fold.header).collapse = TStringItem::kExpanded;
        ranges.Assign(std::move(folds));
    } else {
        for (const TFoldRanges::TFold& fold : folds)
            ranges.Collapse(fold);
    }
    for (const TFoldRanges::TFold& fold : ranges.Folds())
        Strings().Item(fold.header).collapse = TStringItem::kCollapsed;
    // A fold over the caret keeps it on its first line.
    if (ranges.IsHidden(Source().CaretLine())) {
        const int header = ranges.ShownBefore(Source().CaretLine());
        Source().JumpCaret({header, std::min(Source().CaretColumn(), Source().LineLength(header))});
    }
    Source().m_changeFlags |= Change::kFolding;
    Source().MarkChanged(0, TMemoChange::kToEnd);
}

bool TMemoFolding::FoldLine(int line)
{
    if (Strings().Folds().Find(line))
        return false;
    const int last = FoldEnd(line);
    if (last <= line)
        return false;
    CollapseFolds({FoldOf(line, last)}, false);
    return true;
}

bool TMemoFolding::UnfoldLine(int line)
{
    TFoldRanges& folds = Strings().Folds();
    if (!folds.Find(line))
        return false;
    TCustomMemoSource::TUpdate update(Source(), 0);
    folds.Expand(line);
    Strings().Item(line).collapse = TStringItem::kExpanded;
    Source().m_changeFlags |= Change::kFolding;
    Source().MarkChanged(line, TMemoChange::kToEnd);
    return true;
}

bool TMemoFolding::FoldAtCaret()
{
    const int caretLine = Source().CaretLine();
    if (!Source().InRealLine(caretLine) || !KnowStructureOf(caretLine))
        return false;
    if (CollapseState(caretLine) == 0 && FoldLine(caretLine))
        return true;
    // The innermost fold point whose block holds the caret line and is
    // still open where that line starts.
    TStructureWalk walk(Strings().Structures(), 0);
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

bool TMemoFolding::UnfoldAtCaret()
{
    return UnfoldLine(Source().CaretLine());
}

std::vector<TFoldRanges::TFold> TMemoFolding::EveryFold()
{
    if (Source().LineCount() > 0)
        Source().ParseTo(Source().LineCount() - 1);
    std::vector<TFoldRanges::TFold> folds;
    TStructureWalk walk(Strings().Structures(), 0);
    walk.OnEnded = [&folds](int header, int last) {
        if (last > header)
            folds.push_back({header, last, -1, 0});
    };
    walk.WalkTo(Source().LineCount());
    walk.Finish(Source().LineCount() - 1);
    // Runs: from the first line of each, over the lines of the run.
    const TLineStructures& structures = Strings().Structures();
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

void TMemoFolding::FoldAll()
{
    if (!Source().m_parser || !Source().m_parser->ReportsStructure()) {
        // Points by hand: each folds up to the next.
        std::vector<TFoldRanges::TFold> folds;
        for (int line = 0; m_manualFolds && line < Source().LineCount(); ++line) {
            if (CollapseState(line) != 2)
                folds.push_back(FoldOf(line, FoldEnd(line)));
        }
        CollapseFolds(std::move(folds), true);
        return;
    }
    CollapseFolds(EveryFold(), true);
}

void TMemoFolding::FoldAllComments()
{
    if (!Source().m_parser || !Source().m_parser->ReportsStructure())
        return;
    std::vector<TFoldRanges::TFold> folds = EveryFold();
    std::erase_if(folds, [](const TFoldRanges::TFold& fold) { return fold.kind != Structure::skComment; });
    CollapseFolds(std::move(folds), false);
}

void TMemoFolding::UnfoldAll()
{
    if (Strings().Folds().Empty())
        return;
    CollapseFolds({}, true);
}

std::vector<int> TMemoFolding::CollapsedLines() const
{
    std::vector<int> lines;
    for (const TFoldRanges::TFold& fold : Strings().Folds().Folds())
        lines.push_back(fold.header);
    return lines;
}

void TMemoFolding::CollapseLines(const std::vector<int>& lines)
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

void TMemoFolding::KeepCaretShown()
{
    TFoldRanges& folds = Strings().Folds();
    const int line = Source().CaretLine();
    if (folds.Empty() || !folds.IsHidden(line))
        return;
    for (int header : folds.ExpandAround(line)) {
        if (Source().InRealLine(header))
            Strings().Item(header).collapse = TStringItem::kExpanded;
    }
    Source().m_changeFlags |= Change::kFolding;
    Source().MarkChanged(0, TMemoChange::kToEnd);
}
