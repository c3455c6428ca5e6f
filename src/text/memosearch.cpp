// Find, replace and go to line. The dialogs are reached through a hook (the
// store's own OnCreateDialog, else its view's, else the one set for every
// store); each works on a copy of the global search record, which becomes
// the record when the user confirms. A search looks at one line at a time,
// never beyond the text or the block, and always ends: every retry starts
// further on.

#include "memosearch.h"

#include "memosource.h"

#include "ansi.h"
#include "linematcher.h"
#include "services.h"
#include "textcodec.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace {

// Lines searched between two progress reports of Replace All.
constexpr int kLinesPerProgress = 4096;

TMemoSearch::TCreateDialogEvent& globalCreateDialog()
{
    static TMemoSearch::TCreateDialogEvent hook;
    return hook;
}

QString notFound(const TSearchOptions& options)
{
    return QStringLiteral("Search string '%1' not found").arg(options.textToFind);
}

// The expression engine stops a match that takes too many steps (nested
// repeats over a long line), so that a search never freezes the window.
QString stoppedAt(const TSearchOptions& options, int line)
{
    return QStringLiteral("Search for '%1' stopped at line %2: the regular expression needs too many steps on that "
                          "line. Try a simpler expression.")
        .arg(options.textToFind, QString::number(line + 1));
}

} // namespace

TCustomMemoSource& TMemoSearch::Source()
{
    return static_cast<TCustomMemoSource&>(*this);
}

const TCustomMemoSource& TMemoSearch::Source() const
{
    return static_cast<const TCustomMemoSource&>(*this);
}

const TInternalStrings& TMemoSearch::Strings() const
{
    return Source().m_strings;
}

void TMemoSearch::SetGlobalCreateDialog(TCreateDialogEvent hook)
{
    globalCreateDialog() = std::move(hook);
}

TMemoSearch::TCreateDialogEvent TMemoSearch::DialogHook() const
{
    if (Source().OnCreateDialog)
        return Source().OnCreateDialog;
    if (Source().OnViewCreateDialog) {
        if (TCreateDialogEvent hook = Source().OnViewCreateDialog())
            return hook;
    }
    return globalCreateDialog();
}

bool TMemoSearch::OpenDialog(TDialogKind kind, TSearchOptions& options, int& line)
{
    const TCreateDialogEvent hook = DialogHook();
    if (!hook)
        return true;
    if (kind != dkGotoLine && Source().m_options.testFlag(soFindTextAtCursor)) {
        const QByteArray word = Source().WordAtCaret();
        if (!word.isEmpty())
            TSearchOptions::Global().textToFind = TextCodec::Decode(word, Source().m_encoding);
    }
    options = TSearchOptions::Global();
    line = Source().CaretLine() + 1;
    if (!hook(Source(), kind, options, line))
        return false;
    if (kind != dkGotoLine)
        TSearchOptions::Global() = options;
    return true;
}

bool TMemoSearch::Find()
{
    TSearchOptions options;
    int line = 0;
    if (!OpenDialog(dkFind, options, line))
        return false;
    return FindText(TSearchOptions::Global());
}

bool TMemoSearch::Replace()
{
    TSearchOptions options;
    int line = 0;
    if (!OpenDialog(dkReplace, options, line))
        return false;
    return ReplaceText(TSearchOptions::Global());
}

bool TMemoSearch::GotoLine()
{
    if (!DialogHook())
        return false;
    TSearchOptions options;
    int line = 0;
    if (!OpenDialog(dkGotoLine, options, line))
        return false;
    if (Source().GotoLineNumber(line))
        return true;
    const int count = std::max(1, Source().LineCount());
    if (line == kNotALineNumber)
        Services().ShowMessage(QStringLiteral("The line number must be a whole number from 1 to %1").arg(count));
    else
        Services().ShowMessage(QStringLiteral("Line number %1 is out of range (1 to %2)").arg(line).arg(count));
    return false;
}

bool TMemoSearch::SearchAgain()
{
    // Repeating a search always goes on from the caret: from the start of
    // the scope it would find the same place every time.
    return RunSearch(TSearchOptions::Global(), true);
}

bool TMemoSearch::FindText(const TSearchOptions& options)
{
    return RunSearch(options, options.origin == soFromCursor);
}

bool TMemoSearch::ReplaceText(const TSearchOptions& options)
{
    return RunReplace(options);
}

// -- the search itself -----------------------------------------------------------------

void TMemoSearch::ReportSearchError(const QString& message)
{
    bool handled = false;
    if (Source().OnSearchException)
        Source().OnSearchException(Source(), message, handled);
    if (!handled)
        Services().ShowError(message);
}

bool TMemoSearch::PrepareSearch(const TSearchOptions& options, TLineMatcher& matcher)
{
    QString error;
    if (matcher.Prepare(options, Source().m_delimiterSet, &error, Source().m_encoding))
        return true;
    if (!error.isEmpty())
        ReportSearchError(error);
    return false;
}

bool TMemoSearch::ScopeLines(const TSearchOptions& options, bool fromCursor, int& first, int& last)
{
    first = 0;
    last = Source().LineCount() - 1;
    if (options.scope == ssSelectedText) {
        if (!Source().HasSelection()) {
            Services().ShowMessage(QStringLiteral("Tried to search marked block but it is invalid"));
            return false;
        }
        if (fromCursor && !Source().CaretInSelection()) {
            Services().ShowMessage(QStringLiteral("Tried to search marked block from cursor but cursor is outside block"));
            return false;
        }
        first = Source().BlockBegin().line;
        last = std::min(last, Source().BlockEnd().line);
    }
    if (fromCursor) {
        if (options.direction == sdForward)
            first = std::max(first, Source().CaretLine());
        else
            last = std::min(last, Source().CaretLine());
    }
    return true;
}

void TMemoSearch::LineBounds(const TSearchOptions& options, const TTextPos* caret, int line, int& from,
                                   int& to) const
{
    const int size = int(Strings().RawText(line).size());
    auto rawAt = [&](int column) { return std::min(Source().RawIndex(line, column), size); };
    from = 0;
    to = size;
    if (options.scope == ssSelectedText) {
        int left, right;
        if (!Source().SelectedColumns(line, left, right)) {
            from = 1;
            to = 0;
            return;
        }
        from = rawAt(left);
        to = right == TMemoChange::kToEnd ? size : rawAt(right);
    }
    if (caret && caret->line == line) {
        if (options.direction == sdForward)
            from = std::max(from, rawAt(caret->column));
        else
            to = std::min(to, rawAt(caret->column));
    }
}

bool TMemoSearch::WholeLine(const TSearchOptions& options, const TTextPos* caret, int line) const
{
    // Only lines searched from end to end may be passed over by the
    // matcher: a bounded range changes where an expression's $ matches.
    return options.scope == ssGlobal && !(caret && caret->line == line);
}

int TMemoSearch::SearchLines(TLineMatcher& matcher, const TSearchOptions& options, const TTextPos* origin,
                                   int first, int last, TLineMatch& match)
{
    const bool forward = options.direction == sdForward;
    for (int line = forward ? first : last; line >= first && line <= last; line += forward ? 1 : -1) {
        if (WholeLine(options, origin, line)) {
            line = matcher.NextCandidate(Strings(), line, forward ? last : first, forward);
            if (line < first || line > last)
                return -1;
        }
        int from, to;
        LineBounds(options, origin, line, from, to);
        matcher.SetLine(Strings().RawText(line), to);
        const bool atCaret = origin && line == origin->line;
        if (forward ? matcher.FindForward(from, atCaret, match) : matcher.FindBackward(from, to, atCaret, match))
            return line;
        if (matcher.GaveUp()) {
            ReportSearchError(stoppedAt(options, line));
            return -2;
        }
    }
    return -1;
}

void TMemoSearch::SetFoundMatch(const TFoundMatch& found)
{
    m_found = found;
    if (m_found.Valid())
        m_found.serial = ++m_foundSerial;
    Source().m_changeFlags |= Change::kSearchMatch;
}

bool TMemoSearch::RunSearch(const TSearchOptions& options, bool fromCursor)
{
    // Whatever the outcome, the last match found is no longer the one to
    // show; the views hear of it once, with what this search found.
    TCustomMemoSource::TUpdate update(Source(), Reason::kSearch);
    if (m_found.Valid())
        SetFoundMatch(TFoundMatch());
    TLineMatcher matcher;
    int first, last;
    if (!PrepareSearch(options, matcher) || !ScopeLines(options, fromCursor, first, last))
        return false;
    const bool forward = options.direction == sdForward;
    const TTextPos caret = Source().Caret();
    TLineMatch match;
    int found = SearchLines(matcher, options, fromCursor ? &caret : nullptr, first, last, match);
    bool wrapped = false;
    if (found == -1 && fromCursor && options.wrapAround) {
        // On from the other end of the scope, up to the caret's line, which
        // is searched whole: a match the caret stands inside is found there.
        const int wrapFirst = forward ? (options.scope == ssSelectedText ? Source().BlockBegin().line : 0) : caret.line;
        const int wrapLast = forward ? caret.line : std::min(Source().LineCount() - 1, options.scope == ssSelectedText
                                                                                  ? Source().BlockEnd().line
                                                                                  : Source().LineCount() - 1);
        // A fresh matcher: the first one has read ahead in its own direction.
        TLineMatcher again;
        PrepareSearch(options, again);
        found = SearchLines(again, options, nullptr, wrapFirst, wrapLast, match);
        wrapped = found >= 0;
    }
    if (found < 0) {
        if (found == -1)
            Services().ShowMessage(notFound(options));
        return false;
    }
    // Forward the caret ends behind the match, backward before it, so that
    // the next search in the same direction goes on from there.
    const TTextPos start{found, Source().DisplayColumn(found, match.start)};
    const TTextPos end{found, Source().DisplayColumn(found, match.End())};
    Source().JumpCaret(forward ? end : start);
    if (Source().m_options.testFlag(soSelectFoundText))
        Source().SetSelection(start, end, smStream);
    TFoundMatch result;
    result.options = options;
    result.line = found;
    result.start = match.start;
    result.end = match.End();
    result.wrapped = wrapped;
    SetFoundMatch(result);
    return true;
}

void TMemoSearch::SelectMatch(int line, int start, int end, const TSearchOptions& options)
{
    if (!Source().InRealLine(line))
        return;
    const int size = int(Strings().RawText(line).size());
    start = std::clamp(start, 0, size);
    end = std::clamp(end, start, size);
    TCustomMemoSource::TUpdate update(Source(), Reason::kSearch);
    const TTextPos from{line, Source().DisplayColumn(line, start)};
    const TTextPos to{line, Source().DisplayColumn(line, end)};
    Source().JumpCaret(to);
    Source().SetSelection(from, to, smStream);
    TFoundMatch result;
    result.options = options;
    result.line = line;
    result.start = start;
    result.end = end;
    SetFoundMatch(result);
}

struct TMemoSearch::TPendingReplacement {
    int start;
    int length;
    QByteArray text;
};

// Puts the pending replacements of a line in as one edit: the span from the
// first to the last of them is deleted and inserted again replaced. shift
// maps the line as it was searched to the line as it is now (the edits made
// so far lie left of every pending one). Returns the raw span now holding
// the replacements.
std::pair<int, int> TMemoSearch::ApplyReplacements(int line, std::string_view searched,
                                                         std::vector<TPendingReplacement>& pending, int& shift)
{
    std::sort(pending.begin(), pending.end(), [](const auto& a, const auto& b) { return a.start < b.start; });
    const int spanStart = pending.front().start;
    const int spanEnd = pending.back().start + pending.back().length;
    QByteArray text;
    int at = spanStart;
    for (const TPendingReplacement& replacement : pending) {
        text.append(searched.data() + at, replacement.start - at);
        text.append(replacement.text);
        at = replacement.start + replacement.length;
    }
    pending.clear();
    const int start = spanStart + shift;
    Source().CaretExactlyTo({line, Source().DisplayColumn(line, start)});
    Source().DeleteChars(spanEnd - spanStart);
    Source().InsertString(text);
    shift += int(text.size()) - (spanEnd - spanStart);
    return {start, start + int(text.size())};
}

// What one Replace carries from line to line, and from its first pass (from
// the caret on) to the second (from the other end of the scope back to the
// caret, with wrap around).
struct TMemoSearch::TReplaceRun {
    explicit TReplaceRun(const TSearchOptions& searched) : options(searched) {}

    const TSearchOptions& options;
    bool forward = true;
    bool fromCursor = true;
    TTextPos caret;
    QString question;
    TProgress* progress = nullptr;
    // Progress: the lines of both passes, those of the passes before this
    // one, and the lines looked at in this one.
    qint64 linesTotal = 0;
    qint64 linesBefore = 0;
    qint64 steps = 0;
    bool answeredAll = false;
    int found = 0;
    int replaced = 0;
    TTextPos lastPlace;
    TTextPos lastEnd;
    bool stop = false;
    int gaveUpAt = -1;
    // The caret's line as the first pass leaves it. Forward, the caret's byte
    // and the start of the first replacement made right of it (or -1). Going
    // backward every edit lies left of the caret, so the caret and the end of
    // the rightmost replacement are counted from the line's end (-1: none).
    int caretRaw = 0;
    int firstEditAt = -1;
    int caretFromEnd = 0;
    int lastEditFromEnd = -1;
};

bool TMemoSearch::RunReplace(const TSearchOptions& options)
{
    TLineMatcher matcher;
    int first, last;
    const bool fromCursor = options.origin == soFromCursor;
    if (Source().m_readOnly || !PrepareSearch(options, matcher) || !ScopeLines(options, fromCursor, first, last))
        return false;
    TReplaceRun run(options);
    run.forward = options.direction == sdForward;
    run.fromCursor = fromCursor;
    run.caret = Source().Caret();
    run.lastPlace = run.lastEnd = run.caret;
    run.question = QStringLiteral("Replace this occurence of '%1'?").arg(options.textToFind);
    if (Source().InRealLine(run.caret.line)) {
        const int size = int(Strings().RawText(run.caret.line).size());
        run.caretRaw = std::min(Source().RawIndex(run.caret.line, run.caret.column), size);
        run.caretFromEnd = size - run.caretRaw;
    }
    // With wrap around the lines from the other end of the scope up to the
    // caret's line come second.
    const bool wrap = fromCursor && options.wrapAround;
    int wrapFirst = run.caret.line, wrapLast = run.caret.line;
    if (wrap) {
        int scopeFirst, scopeLast;
        ScopeLines(options, false, scopeFirst, scopeLast);
        (run.forward ? wrapFirst : wrapLast) = run.forward ? scopeFirst : scopeLast;
    }

    // One bracket for the whole run: one undo step. Each line is searched
    // as it was and its replacements go in as one edit, so a run costs the
    // length of the text once, however many matches a line holds.
    TCustomMemoSource::TUpdate update(Source(), Reason::kReplace);
    // Replace All without questions runs as long work with Cancel, which
    // takes back what it replaced (through its undo records, so only where
    // undo is kept): the records must all stay until then, so the undo
    // limit waits for the end.
    const bool cancellable = options.replaceAll && !options.promptOnReplace && Source().m_allowUndo;
    std::optional<TProgress> progress;
    const int undoLimit = Source().m_undoLimit;
    const int undoStart = Source().UndoList().Count();
    if (cancellable) {
        progress.emplace(QStringLiteral("Replacing"));
        run.progress = &*progress;
        Source().m_undoLimit = 0;
    }
    run.linesTotal = qint64(last) - first + 1 + (wrap ? qint64(wrapLast) - wrapFirst + 1 : 0);
    ReplacePass(run, matcher, first, last, false);
    run.linesBefore = qint64(last) - first + 1;
    if (wrap && !run.stop && run.gaveUpAt < 0 && (options.replaceAll || run.replaced == 0)) {
        // A fresh matcher: the first one has read ahead in its own direction.
        TLineMatcher again;
        PrepareSearch(options, again);
        ReplacePass(run, again, wrapFirst, std::min(wrapLast, Source().LineCount() - 1), true);
    }
    Source().m_undoLimit = undoLimit;
    if (progress && progress->Cancelled()) {
        Source().RollBack(undoStart);
        return false;
    }
    if (run.gaveUpAt >= 0)
        ReportSearchError(stoppedAt(options, run.gaveUpAt));
    if (run.found == 0) {
        if (run.gaveUpAt < 0)
            Services().ShowMessage(notFound(options));
        return false;
    }
    if (run.replaced == 0) {
        Source().CaretExactlyTo(run.caret);
        return false;
    }
    Source().CaretExactlyTo(run.forward ? run.lastEnd : run.lastPlace);
    if (!options.replaceAll && run.replaced == 1 && Source().m_options.testFlag(soSelectFoundText))
        Source().SetSelection(run.lastPlace, run.lastEnd, smStream);
    return true;
}

void TMemoSearch::ReplacePass(TReplaceRun& run, TLineMatcher& matcher, int first, int last, bool wrapPass)
{
    const TSearchOptions& options = run.options;
    const bool forward = run.forward;
    const bool prompt = options.promptOnReplace;
    const TTextPos* origin = run.fromCursor && !wrapPass ? &run.caret : nullptr;
    for (int line = forward ? first : last; !run.stop && line >= first && line <= last; line += forward ? 1 : -1) {
        if (run.progress && run.steps++ % kLinesPerProgress == 0
            && !run.progress->Step(run.linesBefore + (forward ? line - first : last - line), run.linesTotal)) {
            run.stop = true;
            break;
        }
        if (WholeLine(options, origin, line)) {
            line = matcher.NextCandidate(Strings(), line, forward ? last : first, forward);
            if (line < first || line > last)
                break;
        }
        if (Source().IsLineReadOnly(line))
            continue;
        int from, to;
        LineBounds(options, origin, line, from, to);
        // The second pass takes on the caret's line what lies before the
        // caret (after it, going backward) and does not reach into what the
        // first pass replaced there.
        const bool caretLine = run.fromCursor && line == run.caret.line;
        const int lineSize = int(Strings().RawText(line).size());
        int acceptBefore = std::numeric_limits<int>::max();
        int acceptAfter = -1;
        if (wrapPass && caretLine) {
            if (forward) {
                acceptBefore = run.caretRaw;
                if (run.firstEditAt >= 0)
                    to = std::min(to, run.firstEditAt);
            } else {
                acceptAfter = lineSize - run.caretFromEnd;
                if (run.lastEditFromEnd >= 0)
                    from = std::max(from, lineSize - run.lastEditFromEnd);
            }
        }
        // The line is searched as it is. Its replacements go in at the end,
        // after the last search; only a question in between shows the views
        // the line replaced so far, so then the search goes on in a copy.
        std::string_view searched = Strings().RawText(line);
        QByteArray copy;
        matcher.SetLine(searched, to);
        bool skipEmpty = origin && line == origin->line;
        // Edits made on this line so far lie left of what is still to come
        // going forward, and right of it going backward.
        int shift = 0;
        std::vector<TPendingReplacement> pending;
        auto apply = [&] {
            if (pending.empty())
                return;
            const bool lastIsLeftmost = !forward;
            const QByteArray lastText = forward ? pending.back().text : pending.front().text;
            int backwardShift = 0;
            const auto [spanStart, spanEnd] = ApplyReplacements(line, searched, pending, forward ? shift : backwardShift);
            const int start = lastIsLeftmost ? spanStart : spanEnd - int(lastText.size());
            run.lastPlace = {line, Source().DisplayColumn(line, start)};
            run.lastEnd = {line, Source().DisplayColumn(line, start + int(lastText.size()))};
            if (caretLine && !wrapPass) {
                if (forward && run.firstEditAt < 0)
                    run.firstEditAt = spanStart;
                else if (!forward && run.lastEditFromEnd < 0)
                    run.lastEditFromEnd = int(Strings().RawText(line).size()) - spanEnd;
            }
        };
        TLineMatch match;
        while (!run.stop && (forward ? matcher.FindForward(from, skipEmpty, match)
                                     : matcher.FindBackward(from, to, skipEmpty, match))) {
            if (match.start >= acceptBefore || match.End() <= acceptAfter)
                break;
            ++run.found;
            bool replace = true;
            if (prompt && !run.answeredAll) {
                if (copy.isNull()) {
                    copy = QByteArray(searched.data(), qsizetype(searched.size()));
                    searched = std::string_view(copy.constData(), size_t(copy.size()));
                    matcher.SetLine(searched, to);
                }
                // The views are shown the line as replaced so far, and the
                // occurrence selected with the caret at its start (which
                // scrolls it into view), before the question about it. The
                // selection is put back after the answer: it may be the
                // block the search runs in.
                apply();
                const int at = match.start + (forward ? shift : 0);
                const TTextPos occurrence{line, Source().DisplayColumn(line, at)};
                const quint8 keptMode = Source().m_selectionMode;
                const TTextPos keptBegin = Source().BlockBegin();
                const TTextPos keptEnd = Source().BlockEnd();
                Source().CaretExactlyTo(occurrence);
                Source().SetSelection(occurrence, {line, Source().DisplayColumn(line, at + match.length)}, smStream);
                Source().FlushUpdate();
                const TServices::TAnswer answer = Services().Ask(run.question, TServices::bsYesNoCancelAll);
                Source().m_selectionMode = keptMode;
                Source().SetPosition(TCustomMemoSource::kBlockBeginIndex, keptBegin);
                Source().SetPosition(TCustomMemoSource::kBlockEndIndex, keptEnd);
                switch (answer) {
                case TServices::anYes: break;
                case TServices::anAll: run.answeredAll = true; break;
                case TServices::anNo: replace = false; break;
                default: run.stop = true; replace = false; break;
                }
            }
            if (replace) {
                pending.push_back({match.start, match.length, Source().ConvertText(matcher.Replacement(match))});
                ++run.replaced;
            }
            if (forward)
                from = match.End();
            else
                to = match.start;
            skipEmpty = true;
            // Without "replace all" only the first occurrence is taken.
            if (!options.replaceAll && !run.answeredAll)
                run.stop = true;
        }
        apply();
        if (matcher.GaveUp()) {
            // What is replaced so far stays, as one step that undo takes back.
            run.gaveUpAt = line;
            run.stop = true;
        }
    }
}

bool TMemoSearch::ReplaceRanges(std::vector<TRangeReplacement> ranges)
{
    if (Source().m_readOnly)
        return false;
    std::sort(ranges.begin(), ranges.end(), [](const TRangeReplacement& a, const TRangeReplacement& b) {
        return a.line != b.line ? a.line < b.line : a.start < b.start;
    });
    for (size_t i = 0; i < ranges.size(); ++i) {
        const TRangeReplacement& range = ranges[i];
        if (!Source().InRealLine(range.line) || Source().IsLineReadOnly(range.line) || range.start < 0 || range.length < 0
            || qint64(range.start) + range.length > qint64(Strings().RawText(range.line).size()))
            return false;
        if (i > 0 && ranges[i - 1].line == range.line && ranges[i - 1].start + ranges[i - 1].length > range.start)
            return false;
    }
    if (ranges.empty())
        return true;
    TCustomMemoSource::TUpdate update(Source(), Reason::kReplace);
    const int caret = Source().AddMarker(Source().Caret());
    // Line by line, each line's ranges as one edit; a line's edit leaves
    // the other lines where they are.
    for (size_t i = 0; i < ranges.size();) {
        const int line = ranges[i].line;
        std::vector<TPendingReplacement> pending;
        for (; i < ranges.size() && ranges[i].line == line; ++i)
            pending.push_back({ranges[i].start, ranges[i].length, Source().ConvertText(ranges[i].text)});
        const QByteArray searched(Strings().RawText(line).data(), qsizetype(Strings().RawText(line).size()));
        int shift = 0;
        ApplyReplacements(line, std::string_view(searched.constData(), size_t(searched.size())), pending, shift);
    }
    Source().CaretExactlyTo(Source().ClampToText(Source().TakeMarker(caret)));
    return true;
}
