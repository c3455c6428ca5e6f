// Find, replace and go to line. The dialogs are reached through a hook (the
// store's own OnCreateDialog, else its view's, else the one set for every
// store); each works on a copy of the global search record, which becomes
// the record when the user confirms. A search looks at one line at a time,
// never beyond the text or the block, and always ends: every retry starts
// further on.

#include "memosource.h"

#include "ansi.h"
#include "linematcher.h"
#include "services.h"
#include "textcodec.h"

#include <algorithm>
#include <optional>

namespace {

// Lines searched between two progress reports of Replace All.
constexpr int kLinesPerProgress = 4096;

TCustomMemoSource::TCreateDialogEvent& globalCreateDialog()
{
    static TCustomMemoSource::TCreateDialogEvent hook;
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

void TCustomMemoSource::SetGlobalCreateDialog(TCreateDialogEvent hook)
{
    globalCreateDialog() = std::move(hook);
}

TCustomMemoSource::TCreateDialogEvent TCustomMemoSource::DialogHook() const
{
    if (OnCreateDialog)
        return OnCreateDialog;
    if (OnViewCreateDialog) {
        if (TCreateDialogEvent hook = OnViewCreateDialog())
            return hook;
    }
    return globalCreateDialog();
}

bool TCustomMemoSource::OpenDialog(TDialogKind kind, TSearchOptions& options, int& line)
{
    const TCreateDialogEvent hook = DialogHook();
    if (!hook)
        return true;
    if (kind != dkGotoLine && m_options.testFlag(soFindTextAtCursor)) {
        const QByteArray word = WordAtCaret();
        if (!word.isEmpty())
            TSearchOptions::Global().textToFind = TextCodec::Decode(word, m_encoding);
    }
    options = TSearchOptions::Global();
    line = CaretLine() + 1;
    if (!hook(*this, kind, options, line))
        return false;
    if (kind != dkGotoLine)
        TSearchOptions::Global() = options;
    return true;
}

bool TCustomMemoSource::Find()
{
    TSearchOptions options;
    int line = 0;
    if (!OpenDialog(dkFind, options, line))
        return false;
    return FindText(TSearchOptions::Global());
}

bool TCustomMemoSource::Replace()
{
    TSearchOptions options;
    int line = 0;
    if (!OpenDialog(dkReplace, options, line))
        return false;
    return ReplaceText(TSearchOptions::Global());
}

bool TCustomMemoSource::GotoLine()
{
    if (!DialogHook())
        return false;
    TSearchOptions options;
    int line = 0;
    if (!OpenDialog(dkGotoLine, options, line))
        return false;
    if (GotoLineNumber(line))
        return true;
    const int count = std::max(1, LineCount());
    if (line == kNotALineNumber)
        Services().ShowMessage(QStringLiteral("The line number must be a whole number from 1 to %1").arg(count));
    else
        Services().ShowMessage(QStringLiteral("Line number %1 is out of range (1 to %2)").arg(line).arg(count));
    return false;
}

bool TCustomMemoSource::SearchAgain()
{
    // Repeating a search always goes on from the caret: from the start of
    // the scope it would find the same place every time.
    return RunSearch(TSearchOptions::Global(), true);
}

bool TCustomMemoSource::FindText(const TSearchOptions& options)
{
    return RunSearch(options, options.origin == soFromCursor);
}

bool TCustomMemoSource::ReplaceText(const TSearchOptions& options)
{
    return RunReplace(options);
}

// -- the search itself -----------------------------------------------------------------

void TCustomMemoSource::ReportSearchError(const QString& message)
{
    bool handled = false;
    if (OnSearchException)
        OnSearchException(*this, message, handled);
    if (!handled)
        Services().ShowError(message);
}

bool TCustomMemoSource::PrepareSearch(const TSearchOptions& options, TLineMatcher& matcher)
{
    QString error;
    if (matcher.Prepare(options, m_delimiterSet, &error, m_encoding))
        return true;
    if (!error.isEmpty())
        ReportSearchError(error);
    return false;
}

bool TCustomMemoSource::ScopeLines(const TSearchOptions& options, bool fromCursor, int& first, int& last)
{
    first = 0;
    last = LineCount() - 1;
    if (options.scope == ssSelectedText) {
        if (!HasSelection()) {
            Services().ShowMessage(QStringLiteral("Tried to search marked block but it is invalid"));
            return false;
        }
        if (fromCursor && !CaretInSelection()) {
            Services().ShowMessage(QStringLiteral("Tried to search marked block from cursor but cursor is outside block"));
            return false;
        }
        first = BlockBegin().line;
        last = std::min(last, BlockEnd().line);
    }
    if (fromCursor) {
        if (options.direction == sdForward)
            first = std::max(first, CaretLine());
        else
            last = std::min(last, CaretLine());
    }
    return true;
}

void TCustomMemoSource::LineBounds(const TSearchOptions& options, const TTextPos* caret, int line, int& from,
                                   int& to) const
{
    const int size = int(m_strings.RawText(line).size());
    auto rawAt = [&](int column) { return std::min(RawIndex(line, column), size); };
    from = 0;
    to = size;
    if (options.scope == ssSelectedText) {
        int left, right;
        if (!SelectedColumns(line, left, right)) {
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

bool TCustomMemoSource::WholeLine(const TSearchOptions& options, const TTextPos* caret, int line) const
{
    // Only lines searched from end to end may be passed over by the
    // matcher: a bounded range changes where an expression's $ matches.
    return options.scope == ssGlobal && !(caret && caret->line == line);
}

bool TCustomMemoSource::RunSearch(const TSearchOptions& options, bool fromCursor)
{
    TLineMatcher matcher;
    int first, last;
    if (!PrepareSearch(options, matcher) || !ScopeLines(options, fromCursor, first, last))
        return false;
    const bool forward = options.direction == sdForward;
    const TTextPos caret = Caret();
    const TTextPos* origin = fromCursor ? &caret : nullptr;
    TLineMatch match;
    int found = -1;
    for (int line = forward ? first : last; line >= first && line <= last; line += forward ? 1 : -1) {
        if (WholeLine(options, origin, line)) {
            line = matcher.NextCandidate(m_strings, line, forward ? last : first, forward);
            if (line < first || line > last)
                break;
        }
        int from, to;
        LineBounds(options, origin, line, from, to);
        matcher.SetLine(m_strings.RawText(line), to);
        const bool atCaret = fromCursor && line == caret.line;
        if (forward ? matcher.FindForward(from, atCaret, match) : matcher.FindBackward(from, to, atCaret, match)) {
            found = line;
            break;
        }
        if (matcher.GaveUp()) {
            ReportSearchError(stoppedAt(options, line));
            return false;
        }
    }
    if (found < 0) {
        Services().ShowMessage(notFound(options));
        return false;
    }
    // Forward the caret ends behind the match, backward before it, so that
    // the next search in the same direction goes on from there.
    TUpdate update(*this, Reason::kSearch);
    const TTextPos start{found, DisplayColumn(found, match.start)};
    const TTextPos end{found, DisplayColumn(found, match.End())};
    JumpCaret(forward ? end : start);
    if (m_options.testFlag(soSelectFoundText))
        SetSelection(start, end, smStream);
    return true;
}

struct TCustomMemoSource::TPendingReplacement {
    int start;
    int length;
    QByteArray text;
};

// Puts the pending replacements of a line in as one edit: the span from the
// first to the last of them is deleted and inserted again replaced. shift
// maps the line as it was searched to the line as it is now (the edits made
// so far lie left of every pending one). Returns the raw span now holding
// the replacements.
std::pair<int, int> TCustomMemoSource::ApplyReplacements(int line, std::string_view searched,
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
    CaretExactlyTo({line, DisplayColumn(line, start)});
    DeleteChars(spanEnd - spanStart);
    InsertString(text);
    shift += int(text.size()) - (spanEnd - spanStart);
    return {start, start + int(text.size())};
}

bool TCustomMemoSource::RunReplace(const TSearchOptions& options)
{
    TLineMatcher matcher;
    int first, last;
    const bool fromCursor = options.origin == soFromCursor;
    if (m_readOnly || !PrepareSearch(options, matcher) || !ScopeLines(options, fromCursor, first, last))
        return false;
    const bool forward = options.direction == sdForward;
    const bool prompt = options.promptOnReplace;
    // Answering "All" to a question replaces the rest without asking.
    bool answeredAll = false;
    const TTextPos caret = Caret();
    const TTextPos* origin = fromCursor ? &caret : nullptr;
    const QString question = QStringLiteral("Replace this occurence of '%1'?").arg(options.textToFind);

    // One bracket for the whole run: one undo step. Each line is searched
    // as it was and its replacements go in as one edit, so a run costs the
    // length of the text once, however many matches a line holds.
    TUpdate update(*this, Reason::kReplace);
    // Replace All without questions runs as long work with Cancel, which
    // takes back what it replaced (through its undo records, so only where
    // undo is kept): the records must all stay until then, so the undo
    // limit waits for the end.
    const bool cancellable = options.replaceAll && !prompt && m_allowUndo;
    std::optional<TProgress> progress;
    const int undoLimit = m_undoLimit;
    const int undoStart = UndoList().Count();
    if (cancellable) {
        progress.emplace(QStringLiteral("Replacing"));
        m_undoLimit = 0;
    }
    int found = 0;
    int replaced = 0;
    TTextPos lastPlace = caret;
    TTextPos lastEnd = caret;
    bool stop = false;
    int gaveUpAt = -1;
    std::vector<TPendingReplacement> pending;
    int linesSearched = 0;
    for (int line = forward ? first : last; !stop && line >= first && line <= last; line += forward ? 1 : -1) {
        if (progress && linesSearched++ % kLinesPerProgress == 0
            && !progress->Step(forward ? line - first : last - line, qint64(last) - first + 1)) {
            break;
        }
        if (WholeLine(options, origin, line)) {
            line = matcher.NextCandidate(m_strings, line, forward ? last : first, forward);
            if (line < first || line > last)
                break;
        }
        if (IsLineReadOnly(line))
            continue;
        int from, to;
        LineBounds(options, origin, line, from, to);
        // The line is searched as it is. Its replacements go in at the end,
        // after the last search; only a question in between shows the views
        // the line replaced so far, so then the search goes on in a copy.
        std::string_view searched = m_strings.RawText(line);
        QByteArray copy;
        matcher.SetLine(searched, to);
        bool skipEmpty = fromCursor && line == caret.line;
        // Edits made on this line so far lie left of what is still to come
        // going forward, and right of it going backward.
        int shift = 0;
        auto apply = [&] {
            if (pending.empty())
                return;
            const bool lastIsLeftmost = !forward;
            const QByteArray lastText = forward ? pending.back().text : pending.front().text;
            int backwardShift = 0;
            const auto [spanStart, spanEnd] = ApplyReplacements(line, searched, pending, forward ? shift : backwardShift);
            const int start = lastIsLeftmost ? spanStart : spanEnd - int(lastText.size());
            lastPlace = {line, DisplayColumn(line, start)};
            lastEnd = {line, DisplayColumn(line, start + int(lastText.size()))};
        };
        TLineMatch match;
        while (!stop && (forward ? matcher.FindForward(from, skipEmpty, match)
                                 : matcher.FindBackward(from, to, skipEmpty, match))) {
            ++found;
            bool replace = true;
            if (prompt && !answeredAll) {
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
                const TTextPos occurrence{line, DisplayColumn(line, at)};
                const quint8 keptMode = m_selectionMode;
                const TTextPos keptBegin = BlockBegin();
                const TTextPos keptEnd = BlockEnd();
                CaretExactlyTo(occurrence);
                SetSelection(occurrence, {line, DisplayColumn(line, at + match.length)}, smStream);
                FlushUpdate();
                const TServices::TAnswer answer = Services().Ask(question, TServices::bsYesNoCancelAll);
                m_selectionMode = keptMode;
                SetPosition(kBlockBeginIndex, keptBegin);
                SetPosition(kBlockEndIndex, keptEnd);
                switch (answer) {
                case TServices::anYes: break;
                case TServices::anAll: answeredAll = true; break;
                case TServices::anNo: replace = false; break;
                default: stop = true; replace = false; break;
                }
            }
            if (replace) {
                pending.push_back({match.start, match.length, ConvertText(matcher.Replacement(match))});
                ++replaced;
            }
            if (forward)
                from = match.End();
            else
                to = match.start;
            skipEmpty = true;
            // Without "replace all" only the first occurrence is taken.
            if (!options.replaceAll && !answeredAll)
                stop = true;
        }
        apply();
        if (matcher.GaveUp()) {
            // What is replaced so far stays, as one step that undo takes back.
            gaveUpAt = line;
            break;
        }
    }
    m_undoLimit = undoLimit;
    if (progress && progress->Cancelled()) {
        RollBack(undoStart);
        return false;
    }
    if (gaveUpAt >= 0)
        ReportSearchError(stoppedAt(options, gaveUpAt));
    if (found == 0) {
        if (gaveUpAt < 0)
            Services().ShowMessage(notFound(options));
        return false;
    }
    if (replaced == 0) {
        CaretExactlyTo(caret);
        return false;
    }
    CaretExactlyTo(forward ? lastEnd : lastPlace);
    if (!options.replaceAll && replaced == 1 && m_options.testFlag(soSelectFoundText))
        SetSelection(lastPlace, lastEnd, smStream);
    return true;
}

void TCustomMemoSource::FlushUpdate()
{
    // Only a plain bracket can be flushed: one that keeps the selection puts
    // it back at its end.
    if (m_updateCount == 0 || m_keepSelectionDepth > 0)
        return;
    const int depth = m_updateCount;
    const int reason = m_updateReason;
    const bool groupStartPending = m_groupStartPending;
    m_updateCount = 1;
    EndUpdate();
    BeginUpdate(reason);
    // Still the same operation: the records go on in the same undo group.
    m_updateCount = depth;
    m_groupStartPending = groupStartPending;
}
