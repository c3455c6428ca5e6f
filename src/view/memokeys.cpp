// The editor control's keyboard: key strokes through the key list, the
// characters keys type, the window's shortcuts, the insert mode, and the
// view's commands that the key mappings bind.

#include "custommemo.h"

#include "ansi.h"
#include "keymappings.h"
#include "keystroke.h"
#include "memohints.h"
#include "memostructure.h"
#include "memosource.h"
#include "textcodec.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <algorithm>

namespace {

// Modifier keys on their own never complete or break a sequence: holding
// Ctrl between Ctrl+K and Ctrl+C repeats its own key presses.
bool isModifierKey(quint16 key)
{
    switch (key) {
    case Vk::Shift:
    case Vk::Control:
    case Vk::Menu:
    case Vk::Capital:
    case Vk::LWin:
    case Vk::NumLock:
    case Vk::Scroll: return true;
    default: return false;
    }
}

} // namespace

// -- key events -------------------------------------------------------------------------------

bool TCustomDCMemo::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        if (TakesShortcut(static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        break;
    case QEvent::KeyPress:
        // Before the base, which would move the focus on Tab.
        if (KeyDown(static_cast<QKeyEvent*>(event)))
            return true;
        break;
    default: break;
    }
    return TDCCustomControl::event(event);
}

void TCustomDCMemo::keyPressEvent(QKeyEvent* event)
{
    // What the key list did not take is not the control's: no scrolling by
    // the scroll area, the key goes on to the parent.
    event->ignore();
}

void TCustomDCMemo::keyReleaseEvent(QKeyEvent* event)
{
    if (OnKeyUp && !event->isAutoRepeat()) {
        const TKeyStroke stroke = KeyStrokes::FromEvent(*event);
        OnKeyUp(*this, stroke.key, stroke.shift);
    }
    event->ignore();
}

bool TCustomDCMemo::TakesShortcut(QKeyEvent* event)
{
    // While a prefix is pending every key completes it or drops it. Keys
    // with Alt that the list binds come before the window menu. The window's
    // other shortcuts (the menus') take their keys first.
    if (KeyState() != 0)
        return true;
    const TKeyStroke stroke = KeyStrokes::FromEvent(*event);
    return (stroke.shift & ssAlt) && KeyList().Find(stroke.key, stroke.shift, 0);
}

bool TCustomDCMemo::KeyDown(QKeyEvent* event)
{
    const TKeyStroke stroke = KeyStrokes::FromEvent(*event);
    const bool prefixPending = KeyState() != 0;
    quint16 key = stroke.key;
    TShiftState shift = stroke.shift;
    if (!isModifierKey(key))
        m_hints->KeyOrClick();
    if (OnKeyDown)
        OnKeyDown(*this, key, shift);
    // The open list's keys are its own; the others go on to the text, and
    // the list follows what they did to the word.
    if (!prefixPending && key != 0 && m_hints->ListKey(key, shift)) {
        event->accept();
        return true;
    }
    const bool handled = KeyDownInText(event, stroke, key, shift, prefixPending);
    if (handled)
        m_hints->Follow();
    return handled;
}

bool TCustomDCMemo::KeyDownInText(QKeyEvent* event, const TKeyStroke& stroke, quint16 key, TShiftState shift,
                                  bool prefixPending)
{
    bool lookUp = key != 0 && !isModifierKey(key);
    // Enter and Tab that the control does not want are the dialog's, unless
    // Ctrl asks for them or they complete a pending sequence.
    if (!prefixPending && ((key == Vk::Return && !m_wantReturns) || (key == Vk::Tab && !m_wantTabs))) {
        if (shift & ssCtrl)
            shift = 0;
        else
            lookUp = false;
    }
    if (lookUp && ExecuteKey(key, shift)) {
        event->accept();
        return true;
    }
    // Ctrl or Alt alone make commands, not characters; both together are
    // AltGr on some systems.
    if (bool(stroke.shift & ssCtrl) != bool(stroke.shift & ssAlt))
        return false;
    // A key that ended a pending prefix without completing it types nothing.
    if (!TypeText(event->text(), !prefixPending))
        return false;
    event->accept();
    return true;
}

bool TCustomDCMemo::TypeText(const QString& text, bool insert)
{
    bool typed = false;
    const TTextEncoding encoding = m_source ? m_source->Encoding() : MemoTypes::teWindows1252;
    for (const char32_t ch : text.toUcs4()) {
        // A character the document's encoding cannot hold is not typed:
        // writing a stand-in would change the text behind the user's back.
        qsizetype unrepresentable = -1;
        QByteArray bytes = TextCodec::Encode(QString::fromUcs4(&ch, 1), encoding, &unrepresentable);
        if (unrepresentable >= 0 || bytes.isEmpty())
            continue;
        if (bytes.size() > 1) {
            // A multi-byte character is text by definition: no key hook
            // or control-code rule applies to it.
            if (!insert || !m_source)
                continue;
            MakeRoomToType();
            m_source->TypeChar(bytes);
            typed = true;
            continue;
        }
        char c = bytes[0];
        if (OnKeyPress)
            OnKeyPress(*this, c);
        if (m_oemConvert && encoding == MemoTypes::teWindows1252)
            c = char(Ansi::FromOem(Ansi::ToOem(uchar(c))));
        const uchar code = uchar(c);
        if (!insert || !m_source || code < 32 || code == 127)
            continue;
        m_hints->BeforeChar(code);
        MakeRoomToType();
        if (!m_structure->Typing().Type(*m_source, c))
            m_source->TypeChar(c);
        m_hints->CharTyped(code);
        typed = true;
    }
    return typed;
}

void TCustomDCMemo::MakeRoomToType()
{
    // Typing on past the right edge moves the view a quarter of its width
    // at once rather than a column per key: every horizontal scroll moves
    // the whole text area and repaints the scroll bar.
    if (m_wordWrap || !m_useMonoFont || m_hideCaret)
        return;
    const TTextPos caret = m_source->Caret();
    const int columns = VisibleColumns();
    const int rows = std::max(1, VisibleRows());
    const int row = m_rows.RowOfLine(m_top, caret.line, rows);
    // The left column counts cells, which a UTF-8 line's columns are not.
    const int cell = m_source->CellOfColumn(caret.line, caret.column);
    const bool shown = row >= 0 && row < rows && cell >= m_leftColumn && cell < m_leftColumn + columns;
    if (columns < 8 || !shown || cell + 1 < m_leftColumn + columns)
        return;
    SetLeftColumn(cell + 2 - columns + columns / 4);
}

void TCustomDCMemo::inputMethodEvent(QInputMethodEvent* event)
{
    // Composed characters arrive here instead of as key presses.
    if (!event->commitString().isEmpty()) {
        m_hints->KeyOrClick();
        if (TypeText(event->commitString(), KeyState() == 0))
            m_hints->Follow();
    }
    event->accept();
}

void TCustomDCMemo::FillBuiltInKeyMapping(TKeyList& list)
{
    MemoKeyMappings::FillDefault(list);
}

QObject* TCustomDCMemo::KeyCommandObject(TKeyTarget target)
{
    if (target == ktSource)
        return m_source;
    return this;
}

// -- the view's commands ---------------------------------------------------------------------

void TCustomDCMemo::CaretLeft(int extend)
{
    const TTextPos caret = m_source->Caret();
    if (caret.column == 0 && caret.line > 0 && m_options.testFlag(moNotePadCursorStyle)) {
        m_source->MoveCaretTo({caret.line - 1, m_source->LineLength(caret.line - 1)}, extend);
        return;
    }
    m_source->MoveCaretBy(0, -1, extend);
}

void TCustomDCMemo::CaretRight(int extend)
{
    m_source->MoveCaretBy(0, 1, extend);
}

void TCustomDCMemo::CaretUp(int extend)
{
    if (m_hideCaret)
        ScrollLineUp();
    else
        m_source->MoveCaretBy(-1, 0, extend);
}

void TCustomDCMemo::CaretDown(int extend)
{
    if (m_hideCaret)
        ScrollLineDown();
    else
        m_source->MoveCaretBy(1, 0, extend);
}

TRow TCustomDCMemo::CaretRow()
{
    return m_rows.RowAt(m_rows.RowPosOf(m_source->Caret()));
}

void TCustomDCMemo::RowStart(int extend)
{
    const TRow row = CaretRow();
    if (row.startColumn == 0)
        m_source->LineStart(extend);
    else
        m_source->MoveCaretTo({row.line, row.startColumn}, extend);
    if (m_hideCaret)
        SetLeftColumn(0);
}

void TCustomDCMemo::RowEnd(int extend)
{
    const TRow row = CaretRow();
    // A wrapped row's end column is where the next row starts: the last
    // place on this row is just before it.
    if (row.endColumn == TRow::kToEnd)
        m_source->LineEnd(extend);
    else
        m_source->MoveCaretTo({row.line, std::max(row.startColumn, row.endColumn - 1)}, extend);
}

void TCustomDCMemo::PageUp(int extend)
{
    const int rows = std::max(1, VisibleRows());
    // The view first, so that the caret keeps its row and the move scrolls
    // no further.
    SetTopRow(m_rows.Step(m_top, -rows));
    m_source->MoveCaretBy(-rows, 0, extend);
}

void TCustomDCMemo::PageDown(int extend)
{
    const int rows = std::max(1, VisibleRows());
    SetTopRow(m_rows.Step(m_top, rows));
    m_source->MoveCaretBy(rows, 0, extend);
}

void TCustomDCMemo::WindowTop(int extend)
{
    // The caret keeps its x on the top row.
    const TTextPos caret = m_source->Caret();
    const int x = ColumnOffset(CaretRow(), caret.column);
    m_source->MoveCaretTo(PositionInRow(m_top, x), extend);
}

void TCustomDCMemo::WindowBottom(int extend)
{
    const TTextPos caret = m_source->Caret();
    const int x = ColumnOffset(CaretRow(), caret.column);
    TRowPos bottom = m_rows.Step(m_top, std::max(1, VisibleRows()) - 1);
    const int last = std::max(0, m_source->LineCount() - 1);
    if (bottom.line > last)
        bottom = {last, m_rows.RowsOfLine(last) - 1};
    m_source->MoveCaretTo(PositionInRow(bottom, x), extend);
}

void TCustomDCMemo::ScrollLineUp()
{
    SetTopRow(m_rows.Step(m_top, -1));
}

void TCustomDCMemo::ScrollLineDown()
{
    SetTopRow(m_rows.Step(m_top, 1));
}

void TCustomDCMemo::TypeNewLine()
{
    if (m_source && !m_structure->Typing().NewLine(*m_source))
        m_source->NewLine();
}

void TCustomDCMemo::TypeBackspace()
{
    if (m_source && !m_structure->Typing().Backspace(*m_source))
        m_source->Backspace();
}

void TCustomDCMemo::ToggleOverwrite()
{
    SetOverwrite(!Overwrite());
    if (OnStateChange)
        OnStateChange(*this, kInsertModeChanged);
}
