// The editor control's link to its text store: attaching and detaching,
// the change notices turned into repaints and events, the focus, and the
// caret call-back.

#include "custommemo.h"

#include "memohints.h"
#include "memoparts.h"
#include "memostructure.h"
#include "memosource.h"

#include <QFocusEvent>

namespace {

// What a control that gains the focus reports: caret, selection, line count,
// modified flag, repaint and file name, so that everything around it
// refreshes.
constexpr int kFocusState = 0x171;

} // namespace

void TCustomDCMemo::SetMemoSource(TCustomMemoSource* source)
{
    if (!source)
        source = m_internalSource.get();
    if (source == m_source)
        return;
    m_hints->CloseAll();
    // Where this control stood, before another control of the old store
    // takes the caret over: a parked caret is this control's own.
    if (TCustomMemoSource* old = m_source)
        m_positions.Save(old, m_top.line, m_leftColumn, m_parked.Parked() ? m_parked.Caret() : old->Caret(), m_top.row);
    Detach();
    Attach(source);
}

void TCustomDCMemo::Attach(TCustomMemoSource* source)
{
    m_source = source;
    m_rows.SetSource(source);
    m_wrap.SetSource(source);
    m_destroyedLink = connect(source, &QObject::destroyed, this, &TCustomDCMemo::SourceDestroyed);
    // Another control that shows the same store and has the focus stays its
    // view, and keeps the caret.
    auto* current = qobject_cast<TCustomDCMemo*>(source->View());
    const bool view = !current || current == this || !current->hasFocus();
    if (view)
        BecomeView();
    m_drawnSelectionFirst = 0;
    m_drawnSelectionLast = -1;
    m_drawnCaretLine = -1;
    m_matches.clear();
    if (m_useGlobalOptions && source == m_internalSource.get())
        m_internalSource->SetUseGlobalOptions(true);
    m_listener = source->AttachView([this](const TMemoChange& change) { SourceChanged(change); });

    const TStoredPosition* stored = m_positions.Find(source);
    if (!view) {
        // The caret is the focused control's: this one's waits parked, where
        // it was left or, new to the store, where the other one stands.
        if (stored) {
            m_top = {stored->topLine, stored->topRow};
            m_leftColumn = stored->leftColumn;
            m_parked.Park(*source, stored->caret, stored->topLine);
        } else {
            m_parked.Park(*source, m_top.line);
        }
    } else if (stored) {
        // The view comes back exactly as it was left, even when the caret
        // was scrolled out of sight.
        const TStoredPosition position = *stored;
        m_restoring = true;
        source->BeginUpdate(Reason::kCaretMove);
        m_top = {position.topLine, position.topRow};
        m_leftColumn = position.leftColumn;
        // A jump to the remembered place: the caret hook (which counts
        // rows) stays out of it.
        if (source->Caret() != position.caret)
            source->MoveCaretTo(position.caret);
        source->EndUpdate();
        m_restoring = false;
    }
    m_structure->Attached();
    ResetMetrics();
    // The new text is wrapped whatever the layout was.
    UpdateWrap(true);
    m_top.line = std::clamp(m_top.line, 0, MaxTop().line);
    m_top.row = std::clamp(m_top.row, 0, m_rows.RowsOfLine(m_top.line) - 1);
    UpdateScrollBars();
    viewport()->update();
}

void TCustomDCMemo::Detach()
{
    if (!m_source)
        return;
    disconnect(m_destroyedLink);
    m_source->DetachView(m_listener);
    m_parked.Drop();
    if (m_source->View() == this) {
        m_source->SetView(nullptr);
        m_source->OnBeforeCaretMove = nullptr;
        m_source->OnLinesParsed = nullptr;
        m_source->OnViewCreateDialog = nullptr;
        m_source->OnViewTemplateInsert = nullptr;
        // A store shown by another control keeps a view: that control takes
        // the caret over, with its own caret and selection.
        for (TCustomDCMemo* other : Instances()) {
            if (other != this && other->m_source == m_source) {
                other->BecomeView();
                break;
            }
        }
    }
    m_listener = 0;
    m_source = nullptr;
    m_rows.SetSource(nullptr);
    m_wrap.SetSource(nullptr);
}

void TCustomDCMemo::SourceDestroyed(QObject* source)
{
    // The store is past its own destructor: nothing of it may be called. Its
    // remembered position went with it (the item's guard is null now).
    if (source != m_source)
        return;
    m_source = nullptr;
    m_rows.SetSource(nullptr);
    m_wrap.SetSource(nullptr);
    m_listener = 0;
    m_parked.Drop();
    if (m_constructed)
        Attach(m_internalSource.get());
}

void TCustomDCMemo::BecomeView()
{
    // The control that had the store's caret keeps its own place parked.
    auto* previous = qobject_cast<TCustomDCMemo*>(m_source->View());
    if (previous && previous != this && previous->m_source == m_source)
        previous->Park();
    m_source->SetView(this);
    m_source->OnBeforeCaretMove = [this](int& dLines, int& dColumns) { AdjustCaretMove(dLines, dColumns); };
    // New attributes concern every control that shows the store.
    m_source->OnLinesParsed = [source = m_source](int firstLine, int lastLine) {
        for (TCustomDCMemo* memo : Instances()) {
            if (memo->m_source == source)
                memo->LinesParsed(firstLine, lastLine);
        }
    };
    if (m_parked.Parked()) {
        // Back to where this control left its caret; the view stays put.
        const bool restoring = m_restoring;
        m_restoring = true;
        m_parked.Restore();
        m_restoring = restoring;
    }
    // The control's own events are looked up when they are needed, so that
    // assigning one later still counts.
    m_source->OnViewCreateDialog = [this]() -> TCustomMemoSource::TCreateDialogEvent {
        if (!OnCreateDialog)
            return {};
        return [this](TCustomMemoSource&, TDialogKind kind, TSearchOptions& options, int& line) {
            return OnCreateDialog(*this, kind, options, line);
        };
    };
    m_source->OnViewTemplateInsert = [this](const TCodeTemplate& found, QString& text) {
        if (OnTemplateInsert)
            OnTemplateInsert(*this, found, text);
    };
}

void TCustomDCMemo::Park()
{
    m_parked.Park(*m_source, m_top.line);
    // Only the control with the caret shows the selection.
    InvalidateLines(m_drawnSelectionFirst, m_drawnSelectionLast);
}

void TCustomDCMemo::AdjustCaretMove(int& dLines, int& dColumns)
{
    const TTextPos caret = m_source->Caret();
    const int last = std::max(0, m_source->LineCount() - 1);
    const bool beyond = m_source->Options().testFlag(soBeyondFileEnd);
    // So do the characters of a UTF-8 document, which cover 0 to 2 cells.
    const bool cells = m_rows.Wrapping() || !m_useMonoFont || m_source->Encoding() == teUtf8 || m_rows.Folding();
    if (dLines != 0 && dColumns == 0 && cells) {
        // A vertical move counts rows and keeps the caret's x, through a run
        // of such moves even where a shorter row pulled the caret left.
        const TRowPos from = m_rows.RowPosOf(caret);
        const int x = caret == m_goalCaret ? m_goalX : ColumnOffset(m_rows.RowAt(from), caret.column);
        TRowPos to = m_rows.Step(from, dLines);
        if (!beyond && to.line > last)
            to = {last, m_rows.RowsOfLine(last) - 1};
        const TTextPos target = PositionInRow(to, x);
        dLines = target.line - caret.line;
        dColumns = target.column - caret.column;
        m_goalCaret = target;
        m_goalX = x;
        return;
    }
    // One line is one row and columns are cells, so only the end of the text
    // limits a vertical move.
    if (!beyond)
        dLines = std::min(dLines, last - caret.line);
}

void TCustomDCMemo::SourceChanged(const TMemoChange& change)
{
    const quint16 flags = change.flags;
    // The rows of the changed lines first: everything below counts them.
    if ((flags & (Change::kText | Change::kLineCount)) && change.lastLine >= change.firstLine)
        RewrapChanged(change.firstLine, change.lastLine);
    if (flags & Change::kAttributesReset)
        ResetMetrics();
    else if (flags & (Change::kLineCount | Change::kText))
        UpdateLayout();
    if (flags & Change::kLineCount)
        UpdateScrollBars();
    // Folds and the marks at the caret follow, before the caret is shown.
    m_structure->SourceChanged(change);
    if (change.lastLine >= change.firstLine)
        InvalidateLines(change.firstLine, change.lastLine);
    if (flags & Change::kSelection)
        InvalidateSelection();
    // The search's marks may stand on any line shown.
    if ((flags & Change::kSearchMatch) && m_showSearchMatches)
        viewport()->update();
    if ((flags & Change::kReadOnly) && m_options.testFlag(moUseReadOnlyColor))
        Changed();
    // A parked control keeps its text in place: its top line is shifted
    // by edits above it as its caret is.
    if (m_parked.Parked() && (flags & Change::kLineCount) && m_parked.TopLine() != m_top.line) {
        m_top = {std::clamp(m_parked.TopLine(), 0, MaxTop().line), 0};
        UpdateScrollBars();
        viewport()->update();
    }
    if (flags & Change::kCaretMoved) {
        // Only the control that moves the caret follows it.
        if (!m_restoring && m_source->View() == this)
            MakeCaretVisible();
        InvalidateCaret();
    }
    if (flags != 0 && OnStateChange)
        OnStateChange(*this, flags);
    if ((flags & Change::kSelection) && OnSelectionChange)
        OnSelectionChange(*this);
    if ((flags & Change::kText) && OnChange)
        OnChange(*this);
}

void TCustomDCMemo::LinesParsed(int firstLine, int lastLine)
{
    m_structure->LinesParsed();
    if (m_wrap.Busy()) {
        // Parsed ahead of measuring: the rows are being cut and cannot be
        // looked up; whatever is shown is repainted.
        if (!m_painting)
            viewport()->update();
        return;
    }
    if (!m_painting) {
        RewrapMeasured(firstLine, lastLine);
        InvalidateLines(firstLine, lastLine);
        return;
    }
    // A paint parses ahead of the row it draws: rows it paints later get the
    // new attributes, the others are repainted after it.
    if (m_parsedLast < m_parsedFirst) {
        m_parsedFirst = firstLine;
        m_parsedLast = lastLine;
    } else {
        m_parsedFirst = std::min(m_parsedFirst, firstLine);
        m_parsedLast = std::max(m_parsedLast, lastLine);
    }
}

void TCustomDCMemo::focusInEvent(QFocusEvent*)
{
    // No call to the base: it would repaint the whole control, where only
    // the caret, a hidden selection and the line highlight change.
    if (!m_source)
        return;
    BecomeView();
    if (m_hideSelection)
        InvalidateSelection();
    ShowCaret(true);
    if (m_lineHighlight->Visible())
        InvalidateLines(m_source->CaretLine(), m_source->CaretLine());
    if (OnStateChange)
        OnStateChange(*this, kFocusState);
    if (OnEnter)
        OnEnter(*this);
}

void TCustomDCMemo::focusOutEvent(QFocusEvent*)
{
    m_mouse->Cancel();
    m_hints->CloseAll();
    if (OnExit)
        OnExit(*this);
    if (!m_source)
        return;
    if (m_hideSelection)
        InvalidateSelection();
    ShowCaret(false);
    if (m_lineHighlight->Visible())
        InvalidateLines(m_source->CaretLine(), m_source->CaretLine());
    if (m_source->View() == this)
        m_source->OnBeforeCaretMove = nullptr;
}

void TCustomDCMemo::SetShowSearchMatches(bool show)
{
    if (m_showSearchMatches == show)
        return;
    m_showSearchMatches = show;
    viewport()->update();
}

void TCustomDCMemo::SetMatches(std::vector<TMatchRange> matches)
{
    for (const TMatchRange& match : m_matches)
        InvalidateLines(match.line, match.line);
    m_matches = std::move(matches);
    for (const TMatchRange& match : m_matches)
        InvalidateLines(match.line, match.line);
}
