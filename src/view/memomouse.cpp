// The editor control's mouse: clicks, drags, double and triple clicks,
// drag-and-drop of the selection, gutter, collapse-box and URL clicks, the
// popup menu and the cursor shape.

#include "memomouse.h"

#include "ansi.h"
#include "custommemo.h"
#include "gutterimages.h"
#include "gutterpainter.h"
#include "memohints.h"
#include "memosource.h"
#include "services.h"
#include "textcodec.h"
#include "urls.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QMouseEvent>
#include <QStyleHints>

#include <algorithm>

namespace {

// Milliseconds since start-up, the clock of the triple click.
qint64 millisecondsSinceStart()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}

constexpr int kAutoScrollPeriod = 30;

} // namespace

TShiftState MouseShift(Qt::KeyboardModifiers modifiers, Qt::MouseButton button)
{
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= ssShift;
    if (modifiers & Qt::AltModifier)
        shift |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        shift |= ssCtrl;
    switch (button) {
    case Qt::LeftButton: shift |= ssLeft; break;
    case Qt::RightButton: shift |= ssRight; break;
    case Qt::MiddleButton: shift |= ssMiddle; break;
    default: break;
    }
    return shift;
}

// -- the control's side ---------------------------------------------------------------

void TCustomDCMemo::mousePressEvent(QMouseEvent* event)
{
    // A click ends the word a list was offered for.
    m_hints->CloseAll();
    m_mouse->Press(event, false);
}

void TCustomDCMemo::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_hints->CloseAll();
    m_mouse->Press(event, event->button() == Qt::LeftButton);
}

void TCustomDCMemo::mouseMoveEvent(QMouseEvent* event)
{
    m_mouse->Move(event);
}

void TCustomDCMemo::mouseReleaseEvent(QMouseEvent* event)
{
    m_mouse->Release(event);
}

void TCustomDCMemo::contextMenuEvent(QContextMenuEvent* event)
{
    // The mouse's menu comes with the right button's release; the menu key
    // shows it at the caret.
    event->accept();
    if (event->reason() == QContextMenuEvent::Mouse || !m_popupMenu)
        return;
    const QRect caret = CaretRect();
    const QPoint at = caret.left() < TextLeft() || caret.top() < 0 ? QPoint(TextLeft(), 0) : caret.bottomLeft();
    m_popupMenu->popup(viewport()->mapToGlobal(at));
}

QMenu* TCustomDCMemo::PopupMenu() const
{
    return m_popupMenu;
}

void TCustomDCMemo::SetPopupMenu(QMenu* menu)
{
    m_popupMenu = menu;
}

TTextPos TCustomDCMemo::PixelToPosition(QPoint pixel, bool cell)
{
    const int lh = LineHeight();
    const int rowIndex = pixel.y() >= 0 ? pixel.y() / lh : -((lh - 1 - pixel.y()) / lh);
    // A continuation row of a wrapped line starts at its own column.
    TRow row = m_rows.RowAt(m_rows.Step(m_top, rowIndex));
    // Below the text while its last lines are folded away: the last shown
    // line, not the hidden last one (which would open the fold).
    if (m_rows.Folding() && row.line >= m_source->LineCount() && !m_source->Options().testFlag(soBeyondFileEnd))
        row.line = std::max(0, m_source->Folds().ShownBefore(m_source->LineCount() - 1));
    const int dx = pixel.x() - TextLeft();
    if (dx < 0) {
        if (m_source && m_source->Encoding() == teUtf8)
            return {row.line, ColumnAt(row, m_leftColumn * CharWidth(), cell)};
        return {row.line, row.startColumn + m_leftColumn};
    }
    return {row.line, ColumnAt(row, dx + m_leftColumn * CharWidth(), cell)};
}

// -- the mouse ----------------------------------------------------------------------------

TMemoMouse::TMemoMouse(TCustomDCMemo& memo) : m_memo(memo)
{
    m_scrollTimer.setInterval(kAutoScrollPeriod);
    connect(&m_scrollTimer, &QTimer::timeout, this, [this] { AutoScroll(); });
    // The cursor follows the pointer also while no button is held.
    memo.viewport()->setMouseTracking(true);
}

void TMemoMouse::Press(QMouseEvent* event, bool doubleClick)
{
    event->accept();
    const QPoint pixel = event->position().toPoint();
    const Qt::MouseButton button = event->button();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    // A click first takes the focus; when the focus ends up elsewhere it
    // does nothing more.
    if (!m_memo.hasFocus() && (m_memo.focusPolicy() & Qt::ClickFocus))
        m_memo.setFocus(Qt::MouseFocusReason);
    TCustomMemoSource* source = m_memo.MemoSource();
    if (!m_memo.hasFocus() || !source)
        return;
    m_lastPixel = pixel;
    const bool inGutter = pixel.x() >= 0 && pixel.x() < m_memo.EffectiveGutterWidth();
    m_collapseLine = -1;
    if (button == Qt::LeftButton)
        m_downOnUrl = false;
    const bool inText = pixel.x() >= m_memo.TextLeft();
    const TMemoOptions options = m_memo.Options();

    if (button == Qt::RightButton && (m_mode == mmSelecting || m_mode == mmDragPending)) {
        // The right button ends a running selection or drag.
        Cancel();
    } else if (button == Qt::LeftButton && (m_collapseLine = CollapseBoxAt(pixel)) >= 0) {
        // Acted on when the button comes up on the same box.
    } else if (button == Qt::LeftButton) {
        TCustomMemoSource::TUpdate update(*source, Reason::kCaretMove);
        const TTextPos oldCaret = source->Caret();
        const TTextPos cell = m_memo.PixelToPosition(pixel, true);
        const bool inSelection = inText && source->IsSelected(cell.line, cell.column);
        PlaceCaret(m_memo.PixelToPosition(pixel));
        if (doubleClick) {
            m_doubleClickTime = millisecondsSinceStart();
            m_doubleClickPixel = pixel;
            if (inText) {
                m_mode = mmWordSelected;
                if (options.testFlag(moDblClickLine))
                    source->SelectLine();
                else
                    source->SelectWord(TWordSelection(int(m_memo.WordSelectionType())));
            }
        } else if (inText && IsTripleClick(pixel)) {
            m_doubleClickTime = -1;
            m_mode = mmWordSelected;
            source->SelectLine();
        } else {
            QByteArray url;
            m_downOnUrl = inText && source->HighlightUrls() && UrlAt(pixel, m_urlStart, url);
            m_selectKind = modifiers & Qt::AltModifier ? smBlock : smStream;
            if (inSelection && !options.testFlag(moDisableDrag) && !source->ReadOnly()) {
                m_mode = mmDragPending;
                m_anchor = source->Caret();
            } else {
                StartSelecting(oldCaret, modifiers & Qt::ShiftModifier);
            }
            m_scrollTimer.start();
        }
    } else if (button == Qt::RightButton && !options.testFlag(moDisableRightClickMove)) {
        PlaceCaret(m_memo.PixelToPosition(pixel));
    }
    m_downInGutter = inGutter;
    UpdateCursor(pixel, modifiers);
    if (m_memo.OnMouseDown)
        m_memo.OnMouseDown(m_memo, button, MouseShift(modifiers, button), pixel.x(), pixel.y());
}

void TMemoMouse::StartSelecting(TTextPos oldCaret, bool extend)
{
    TCustomMemoSource& source = *m_memo.MemoSource();
    m_mode = mmSelecting;
    if (extend)
        source.ExtendSelection(oldCaret, source.Caret(), m_selectKind);
    else
        source.ClearSelection();
    // The end of the selection that stays while the pointer moves: the
    // caret, or after Shift the corner opposite it.
    const TTextPos caret = source.Caret();
    m_anchor = caret;
    if (extend && source.HasSelection()) {
        const TTextPos begin = source.BlockBegin();
        const TTextPos end = source.BlockEnd();
        if (source.SelectionMode() == smBlock)
            m_anchor = {caret.line == begin.line ? end.line : begin.line,
                        caret.column == begin.column ? end.column : begin.column};
        else
            m_anchor = caret == begin ? end : begin;
    }
}

bool TMemoMouse::IsTripleClick(QPoint pixel) const
{
    const TMemoOptions options = m_memo.Options();
    if (!options.testFlag(moTripleClick) || options.testFlag(moDblClickLine) || m_doubleClickTime < 0)
        return false;
    if (millisecondsSinceStart() - m_doubleClickTime >= QGuiApplication::styleHints()->mouseDoubleClickInterval())
        return false;
    // The double-click rectangle: the distance a press may wander before it
    // counts as a drag.
    const int distance = QApplication::startDragDistance();
    return std::abs(pixel.x() - m_doubleClickPixel.x()) <= distance
           && std::abs(pixel.y() - m_doubleClickPixel.y()) <= distance;
}

void TMemoMouse::PlaceCaret(TTextPos pos)
{
    // A click is a jump to a place, not a move by lines: the view's caret
    // hook (which counts rows) stays out of it, and the selection is left
    // for the mouse rules to decide.
    TCustomMemoSource& source = *m_memo.MemoSource();
    auto hook = std::move(source.OnBeforeCaretMove);
    source.OnBeforeCaretMove = nullptr;
    source.SetCaret(pos);
    source.OnBeforeCaretMove = std::move(hook);
}

TTextPos TMemoMouse::DragPosition(QPoint pixel)
{
    TTextPos pos = m_memo.PixelToPosition(pixel);
    // Left of the window the columns before the shown ones; a wrapped row
    // shows all of its own.
    if (pixel.x() < 0 && !m_memo.WordWrap())
        pos.column = std::max(0, m_memo.LeftColumn() - 1);
    // A drag scrolls no further right than the scroll bar reaches.
    pos.column = std::min(pos.column, std::max(m_memo.HorzMaxPos(), m_memo.LeftColumn() + m_memo.VisibleColumns()));
    return pos;
}

void TMemoMouse::Move(QMouseEvent* event)
{
    const QPoint pixel = event->position().toPoint();
    m_lastPixel = pixel;
    const bool dragging = m_mode == mmSelecting || m_mode == mmDragPending;
    // The button came up where the control did not see it.
    if (dragging && !(event->buttons() & Qt::LeftButton))
        Cancel();
    else if (dragging)
        FollowPointer(pixel);
    UpdateCursor(pixel, event->modifiers());
    if (m_memo.OnMouseMove)
        m_memo.OnMouseMove(m_memo, MouseShift(event->modifiers()), pixel.x(), pixel.y());
}

void TMemoMouse::FollowPointer(QPoint pixel)
{
    TCustomMemoSource* source = m_memo.MemoSource();
    if (!source)
        return;
    TCustomMemoSource::TUpdate update(*source, Reason::kCaretMove);
    PlaceCaret(DragPosition(pixel));
    // A pending drag only shows where the text would go.
    if (m_mode == mmSelecting)
        source->SetSelection(m_anchor, source->Caret(), m_selectKind);
}

void TMemoMouse::AutoScroll()
{
    if (m_mode != mmSelecting && m_mode != mmDragPending) {
        StopAutoScroll();
        return;
    }
    // Inside the window the pointer's own moves do the work.
    if (!m_memo.viewport()->rect().contains(m_lastPixel))
        FollowPointer(m_lastPixel);
}

void TMemoMouse::StopAutoScroll()
{
    m_scrollTimer.stop();
}

void TMemoMouse::Release(QMouseEvent* event)
{
    event->accept();
    const QPoint pixel = event->position().toPoint();
    const Qt::MouseButton button = event->button();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    TCustomMemoSource* source = m_memo.MemoSource();
    if (button == Qt::LeftButton && source) {
        StopAutoScroll();
        const TMouseMode mode = m_mode;
        m_mode = mmNone;
        if (mode == mmDragPending)
            Drop(modifiers & Qt::ControlModifier);
        // A plain click on a URL (not one that selected text) jumps to it.
        TTextPos start;
        QByteArray url;
        if (m_downOnUrl && source->HighlightUrls() && !source->HasSelection() && UrlAt(pixel, start, url)
            && start == m_urlStart)
            JumpToUrl(url);
        if (m_collapseLine >= 0 && CollapseBoxAt(pixel) == m_collapseLine && !source->HasSelection())
            ToggleCollapse(m_collapseLine);
        m_downOnUrl = false;
        m_collapseLine = -1;
    }
    if (m_downInGutter && m_memo.viewport()->rect().contains(pixel) && pixel.x() < m_memo.EffectiveGutterWidth())
        ClickGutter(pixel, button, modifiers);
    m_downInGutter = false;
    UpdateCursor(pixel, modifiers);
    if (button == Qt::RightButton && m_memo.PopupMenu())
        m_memo.PopupMenu()->popup(m_memo.viewport()->mapToGlobal(pixel));
    if (m_memo.OnMouseUp)
        m_memo.OnMouseUp(m_memo, button, MouseShift(modifiers, button), pixel.x(), pixel.y());
}

void TMemoMouse::Cancel()
{
    StopAutoScroll();
    const bool dragged = m_mode == mmDragPending;
    m_mode = mmNone;
    m_collapseLine = -1;
    m_downOnUrl = false;
    m_downInGutter = false;
    if (dragged)
        m_memo.viewport()->setCursor(Qt::IBeamCursor);
}

// -- drag and drop of the selection -----------------------------------------------------

bool TMemoMouse::CanDrop(bool copy) const
{
    const TCustomMemoSource& source = *m_memo.MemoSource();
    const TTextPos caret = source.Caret();
    if (!source.HasSelection() || source.ReadOnly() || source.IsLineReadOnly(caret.line))
        return false;
    // Dropped onto itself (or right at its edge) the text would land inside
    // its own selection: a copy would double it, a move does nothing.
    const TTextPos begin = source.BlockBegin();
    const TTextPos end = source.BlockEnd();
    const bool inside = source.SelectionMode() == smBlock
                            ? caret.line >= begin.line && caret.line <= end.line && caret.column >= begin.column
                                  && caret.column <= end.column + 1
                            : begin <= caret && caret <= end;
    if (inside)
        return false;
    if (!copy) {
        const int last = std::min(end.line, source.LineCount() - 1);
        for (int line = begin.line; line <= last; ++line) {
            if (source.IsLineReadOnly(line))
                return false;
        }
    }
    return true;
}

void TMemoMouse::Drop(bool copy)
{
    TCustomMemoSource& source = *m_memo.MemoSource();
    if (!CanDrop(copy))
        source.ClearSelection();
    else if (copy)
        source.CopyBlock();
    else
        source.MoveBlock();
}

// -- collapse boxes, URLs and the gutter --------------------------------------------------

int TMemoMouse::CollapseBoxAt(QPoint pixel)
{
    // The outline column is shown only while collapsed lines are skipped.
    if (!m_memo.m_rows.SkipHidden() || pixel.y() < 0)
        return -1;
    const int lh = m_memo.LineHeight();
    const int right = m_memo.TextLeft();
    if (pixel.x() < right - lh || pixel.x() >= right)
        return -1;
    const int line = m_memo.m_rows.LineAtRow(m_memo.m_top, pixel.y() / lh);
    const int state = m_memo.MemoSource()->CollapseState(line);
    return state == 0 || state == 1 ? line : -1;
}

void TMemoMouse::ToggleCollapse(int line)
{
    TCustomMemoSource& source = *m_memo.MemoSource();
    const int state = source.CollapseState(line) == 1 ? 0 : 1;
    bool allow = true;
    if (m_memo.OnCollapseStateChanging)
        m_memo.OnCollapseStateChanging(m_memo, line, state, allow);
    if (!allow)
        return;
    source.SetCollapseState(line, state);
    if (m_memo.OnCollapseStateChanged)
        m_memo.OnCollapseStateChanged(m_memo, line, state);
    source.MoveCaretTo({line, 0});
}

bool TMemoMouse::UrlAt(QPoint pixel, TTextPos& start, QByteArray& url)
{
    TCustomMemoSource& source = *m_memo.MemoSource();
    if (pixel.x() < m_memo.TextLeft() || pixel.y() < 0)
        return false;
    const TTextPos cell = m_memo.PixelToPosition(pixel, true);
    if (cell.line >= source.LineCount())
        return false;
    const QByteArray text = source.LineText(cell.line);
    Urls::TUrlRun run;
    if (!Urls::At(std::string_view(text.constData(), size_t(text.size())), cell.column, run))
        return false;
    start = {cell.line, run.start};
    url = text.mid(run.start, run.length);
    return true;
}

void TMemoMouse::JumpToUrl(const QByteArray& url)
{
    // The hook sees the address as written, minus what no handler should
    // pass on: attachment fields of a mail address.
    const QByteArray target = Urls::WithoutAttachments(Urls::IsBareEmail(url) ? "mailto:" + url : url);
    const TCustomMemoSource* source = m_memo.MemoSource();
    const TTextEncoding encoding = source ? source->Encoding() : MemoTypes::teWindows1252;
    bool handled = false;
    if (m_memo.OnJumpToUrl)
        m_memo.OnJumpToUrl(m_memo, TextCodec::Decode(target, encoding), handled);
    if (handled)
        return;
    // Only web, ftp and mail addresses go to the system: text in a document
    // must never make it open or run a local file.
    const QByteArray openable = Urls::ToOpenable(target);
    if (Urls::IsSafeToOpen(openable))
        ShellOpenOrReport(TextCodec::Decode(openable, encoding));
}

void TMemoMouse::ClickGutter(QPoint pixel, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    const int lh = m_memo.LineHeight();
    const int row = pixel.y() / lh;
    const TRow shown = m_memo.m_rows.RowAt(m_memo.m_rows.Step(m_memo.m_top, row));
    const int line = shown.line;
    int imageIndex = -1;
    // Images are drawn on a line's first row only.
    if (shown.firstOfLine) {
        for (const TGutterPainter::TImagePlace& place : TGutterPainter::ImagePlaces(line, row * lh, m_memo.GutterConfig())) {
            if (place.rect.contains(pixel))
                imageIndex = place.index;
        }
    }
    if (imageIndex >= 0) {
        TGutterImage* image = m_memo.GutterImages()->At(imageIndex);
        if (image->OnClick)
            image->OnClick(*image, line);
    }
    if (m_memo.OnClickGutter)
        m_memo.OnClickGutter(m_memo, line, imageIndex, MouseShift(modifiers, button));
}

void TMemoMouse::UpdateCursor(QPoint pixel, Qt::KeyboardModifiers modifiers)
{
    TCustomMemoSource* source = m_memo.MemoSource();
    Qt::CursorShape shape = Qt::IBeamCursor;
    TTextPos start;
    QByteArray url;
    if (m_mode == mmDragPending)
        shape = modifiers & Qt::ControlModifier ? Qt::DragCopyCursor : Qt::DragMoveCursor;
    else if (pixel.x() < m_memo.TextLeft())
        shape = Qt::ArrowCursor;
    else if (m_mode == mmNone && source && source->HighlightUrls() && UrlAt(pixel, start, url))
        shape = Qt::PointingHandCursor;
    if (m_memo.viewport()->cursor().shape() != shape)
        m_memo.viewport()->setCursor(shape);
}
