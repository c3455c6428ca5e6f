// The editor control's measuring, horizontal layout, scrolling, invalidation
// and caret.

#include "custommemo.h"

#include "memoparts.h"
#include "memosource.h"

#include <QApplication>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>

#include <climits>

namespace {

int decimalDigits(int n)
{
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

} // namespace

// -- measuring ----------------------------------------------------------------------------

void TCustomDCMemo::Measure()
{
    if (m_lineHeight > 0)
        return;
    // The line height is that of "Wg" and the character width the average
    // width, each the largest over the control's font, the styles' fonts
    // (with a monospaced layout) and the parser's default font.
    std::vector<TFont> candidates{m_font};
    if (m_useMonoFont && m_textStyles) {
        for (int i = 0; i < m_textStyles->Count(); ++i)
            candidates.push_back(m_textStyles->At(i)->EffectiveFont());
    }
    if (TSimpleParser* parser = m_source ? m_source->SyntaxParser() : nullptr) {
        if (const TFont* font = parser->GetAttrFont(0))
            candidates.push_back(*font);
    }
    int height = 1, width = 1, ascent = 0;
    for (const TFont& font : candidates) {
        const TPaintFont& paint = m_fonts.Get(font);
        height = std::max(height, paint.height);
        width = std::max(width, paint.averageWidth);
        ascent = std::max(ascent, paint.ascent);
    }
    m_lineHeight = height;
    m_charWidth = width;
    m_ascent = ascent;
}

void TCustomDCMemo::ResetMetrics()
{
    m_lineHeight = m_charWidth = 0;
    m_fonts.Clear();
    if (!m_constructed || !m_source)
        return;
    m_layoutTextLeft = -1;
    // Measured widths follow the fonts; monospaced rows only the capacity.
    UpdateWrap(!m_useMonoFont);
    UpdateScrollBars();
    InvalidateCaret();
    viewport()->update();
}

int TCustomDCMemo::LineHeight()
{
    Measure();
    return m_lineHeight;
}

int TCustomDCMemo::CharWidth()
{
    Measure();
    return m_charWidth;
}

int TCustomDCMemo::VisibleRows()
{
    return viewport()->height() / LineHeight();
}

int TCustomDCMemo::PaintedRows()
{
    const int lh = LineHeight();
    return (viewport()->height() + lh - 1) / lh;
}

int TCustomDCMemo::VisibleColumns()
{
    return std::max(0, viewport()->width() - TextLeft()) / CharWidth();
}

// -- horizontal layout -----------------------------------------------------------------------

int TCustomDCMemo::LineNumberDigits()
{
    int highest = m_source ? m_source->LineCount() : 0;
    // Without the limit the numbers run down the whole window.
    if (!m_options.testFlag(moLimitLineNumbers))
        highest = std::max(highest, m_rows.LineAtRow(m_top, std::max(1, PaintedRows()) - 1) + 1);
    highest = std::max(highest, 1);
    int digits = decimalDigits(highest);
    if (OnGetLineNumber) {
        QString text = QString::number(highest);
        OnGetLineNumber(*this, text, highest - 1);
        digits = std::max(1, int(text.size()));
    }
    return digits;
}

int TCustomDCMemo::NumberWidth()
{
    return CharWidth() * (LineNumberDigits() + 1);
}

int TCustomDCMemo::EffectiveGutterWidth()
{
    if (!m_options.testFlag(moDrawGutter))
        return 0;
    if (m_options.testFlag(moLineNumbers) && m_options.testFlag(moLineNumbersOnGutter))
        return std::max(m_gutterWidth, NumberWidth() + m_gutterLineIndent + 2);
    return m_gutterWidth;
}

int TCustomDCMemo::TextLeft()
{
    const int gutter = EffectiveGutterWidth();
    int left = gutter;
    if (m_options.testFlag(moLineNumbers) && (gutter == 0 || !m_options.testFlag(moLineNumbersOnGutter)))
        left += NumberWidth();
    if (m_options.testFlag(moLeftIndent) && m_leftIndent > 0)
        left += m_leftIndent;
    if (m_rows.SkipHidden())
        left += LineHeight();
    return left;
}

void TCustomDCMemo::UpdateLayout()
{
    if (!m_constructed || !m_source)
        return;
    const int left = TextLeft();
    if (left == m_layoutTextLeft)
        return;
    // The digit count or the gutter changed: everything moved, and the rows
    // are as wide as the text area.
    m_layoutTextLeft = left;
    UpdateWrap();
    InvalidateCaret();
    viewport()->update();
}

// -- positions -------------------------------------------------------------------------------

QPoint TCustomDCMemo::PositionToPixel(TTextPos pos)
{
    const int lh = LineHeight();
    const int row = m_rows.RowOf(m_top, pos, PaintedRows() + 1);
    const int x = TextLeft() - m_leftColumn * CharWidth() + ColumnOffset(m_rows.RowAt(m_rows.RowPosOf(pos)), pos.column);
    return QPoint(x, row < 0 ? -lh : row * lh);
}

QRect TCustomDCMemo::LineRect(int line)
{
    const int rows = PaintedRows();
    const int row = m_rows.RowOfLine(m_top, line, rows);
    if (row < 0 || row >= rows || m_rows.RowsOfLine(line) == 0)
        return {};
    return QRect(0, row * LineHeight(), viewport()->width(), LineHeight());
}

QRect TCustomDCMemo::CaretRect()
{
    if (m_hideCaret)
        return QRect(-5, -5, 1, 1);
    const QPoint pixel = PositionToPixel(m_source->Caret());
    // A block one character wide in overwrite mode, else a bar two border
    // widths wide (the style's frame width is the border width here).
    const int border = std::max(1, style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this));
    const int width = Overwrite() && m_options.testFlag(moOverwriteCaret) ? CharWidth() : 2 * border;
    if (pixel.x() < TextLeft() || pixel.y() < 0)
        return QRect(-CharWidth() - 10, -10, width, LineHeight());
    return QRect(pixel.x(), pixel.y(), width, LineHeight());
}

// -- invalidation ------------------------------------------------------------------------------

void TCustomDCMemo::InvalidateLines(int firstLine, int lastLine)
{
    if (!m_constructed || !m_source || lastLine < firstLine || lastLine < m_top.line)
        return;
    const int lh = LineHeight();
    const int rows = PaintedRows();
    const int first = std::max(0, m_rows.RowOfLine(m_top, firstLine, rows));
    if (first >= rows)
        return;
    int last = rows - 1;
    if (lastLine < TMemoChange::kToEnd) {
        const int row = m_rows.RowOfLine(m_top, lastLine, rows);
        if (row < rows)
            last = std::min(last, row + std::max(1, m_rows.RowsOfLine(lastLine)) - 1);
    }
    if (last < first)
        return;
    viewport()->update(QRect(0, first * lh, viewport()->width(), (last - first + 1) * lh));
}

void TCustomDCMemo::InvalidateSelection()
{
    int first = 0, last = -1;
    if (m_source && m_source->HasSelection()) {
        first = m_source->BlockBegin().line;
        last = m_source->BlockEnd().line;
    }
    // The lines of the old selection and of the new one.
    InvalidateLines(m_drawnSelectionFirst, m_drawnSelectionLast);
    InvalidateLines(first, last);
    m_drawnSelectionFirst = first;
    m_drawnSelectionLast = last;
}

void TCustomDCMemo::InvalidateCaret()
{
    if (!m_constructed || !m_source)
        return;
    if (!m_drawnCaret.isNull())
        viewport()->update(m_drawnCaret);
    const int line = m_source->CaretLine();
    if (m_lineHighlight->Visible() && hasFocus() && line != m_drawnCaretLine) {
        InvalidateLines(m_drawnCaretLine, m_drawnCaretLine);
        InvalidateLines(line, line);
    }
    m_drawnCaretLine = line;
    if (!m_caretShown)
        return;
    // A moved caret shows at once and blinks from there.
    m_caretBlinkOn = true;
    if (QApplication::cursorFlashTime() > 0)
        m_caretTimer.start(QApplication::cursorFlashTime() / 2, this);
    viewport()->update(CaretRect());
}

void TCustomDCMemo::ShowCaret(bool show)
{
    m_caretShown = show;
    if (!show)
        m_caretTimer.stop();
    InvalidateCaret();
}

void TCustomDCMemo::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_caretTimer.timerId()) {
        TDCCustomControl::timerEvent(event);
        return;
    }
    m_caretBlinkOn = !m_caretBlinkOn;
    viewport()->update(CaretRect());
}

void TCustomDCMemo::changeEvent(QEvent* event)
{
    TDCCustomControl::changeEvent(event);
    // System colours are resolved when painted: a new palette repaints.
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange)
        Changed();
}

void TCustomDCMemo::resizeEvent(QResizeEvent* event)
{
    TDCCustomControl::resizeEvent(event);
    UpdateLayout();
    UpdateWrap();
    UpdateScrollBars();
}

// -- scrolling --------------------------------------------------------------------------------

int TCustomDCMemo::LastViewLine()
{
    return m_source ? std::max(m_source->LineCount(), m_source->CaretLine() + 1) - 1 : -1;
}

TRowPos TCustomDCMemo::MaxTop()
{
    const int lines = LastViewLine() + 1;
    const int rows = std::max(1, VisibleRows());
    if (!m_rows.Wrapping() && !m_rows.Folding())
        return {std::max(0, lines - rows), 0};
    const int last = std::max(0, lines - 1);
    return m_rows.Step({last, m_rows.RowsOfLine(last) - 1}, -(rows - 1));
}

void TCustomDCMemo::SetTopLine(int line)
{
    ScrollTo({line, 0}, m_leftColumn);
}

void TCustomDCMemo::SetTopRow(TRowPos top)
{
    ScrollTo(top, m_leftColumn);
}

void TCustomDCMemo::SetLeftColumn(int column)
{
    ScrollTo(m_top, column);
}

void TCustomDCMemo::MakeCaretVisible()
{
    if (!m_source)
        return;
    const TTextPos caret = m_source->Caret();
    const int rows = std::max(1, VisibleRows());
    const int columns = std::max(1, VisibleColumns());
    TRowPos top = m_top;
    const TRowPos caretRow = m_rows.RowPosOf(caret);
    if (caretRow < top)
        top = caretRow;
    else if (m_rows.RowOf(top, caret, rows) >= rows)
        top = m_rows.Step(caretRow, -(rows - 1)); // rows, not lines: collapsed lines take none
    int left = m_leftColumn;
    if (m_rows.Wrapping()) {
        // Rows are never wider than the window.
        left = 0;
    } else if (m_useMonoFont || m_source->Encoding() == teUtf8) {
        const int cell = m_source->CellOfColumn(caret.line, caret.column);
        if (cell < left)
            left = cell;
        else if (cell >= left + columns)
            left = cell - columns + 1;
    } else {
        // Measured characters are no cells: the view steps by the average
        // width until the caret's pixel lies inside the text area.
        const int cw = CharWidth();
        const int x = PositionToPixel(caret).x() - TextLeft() + m_leftColumn * cw;
        const int width = std::max(cw, viewport()->width() - TextLeft());
        if (x < left * cw)
            left = x / cw;
        else if (x + cw > left * cw + width)
            left = (x + cw - width + cw - 1) / cw;
    }
    ScrollTo(top, left);
}

void TCustomDCMemo::ScrollTo(TRowPos top, int leftColumn)
{
    if (!m_source)
        return;
    const TRowPos maxTop = MaxTop();
    const int painted = PaintedRows();
    if (m_rows.Wrapping()) {
        top.line = std::max(0, top.line);
        top.row = std::clamp(top.row, 0, m_rows.RowsOfLine(top.line) - 1);
        top = std::min(top, maxTop);
        leftColumn = 0;
    } else {
        top = {m_rows.ShownLineFrom(std::clamp(top.line, 0, maxTop.line)), 0};
        leftColumn = std::max(0, leftColumn);
    }
    // The rows scrolled: counted near by, estimated far away.
    int dy = top.line - m_top.line;
    bool far = std::abs(dy) >= painted;
    if (m_rows.Wrapping() && top != m_top) {
        dy = m_top < top ? m_rows.Distance(m_top, top, painted) : -m_rows.Distance(top, m_top, painted);
        far = std::abs(dy) >= painted;
        if (far) {
            const qint64 estimate = ScrollIndex(top) - ScrollIndex(m_top);
            dy = int(std::clamp<qint64>(estimate, -INT_MAX, INT_MAX));
            if (dy == 0)
                dy = m_top < top ? painted : -painted;
        }
    }
    const int dx = leftColumn - m_leftColumn;
    if (top == m_top && dx == 0)
        return;
    const int lh = LineHeight();
    const int cw = CharWidth();
    // The caret moves with the contents; its old place is repainted where
    // the scroll takes it.
    if (!m_drawnCaret.isNull())
        viewport()->update(m_drawnCaret);
    m_drawnCaret = QRect();
    const bool pictures = m_background->IsActive() || m_gutterBackground->IsActive();
    m_top = top;
    m_leftColumn = leftColumn;
    m_parked.SetTopLine(top.line);
    if (dy != 0) {
        if (!pictures && !m_rows.SkipHidden() && !far)
            viewport()->scroll(0, -dy * lh);
        else
            viewport()->update();
    }
    if (dx != 0) {
        const int left = TextLeft();
        const QRect text(left, 0, std::max(0, viewport()->width() - left), viewport()->height());
        if (!pictures && std::abs(dx) * cw < text.width())
            viewport()->scroll(-dx * cw, 0, text);
        else
            viewport()->update(text);
    }
    UpdateLayout();
    UpdateScrollBars();
    InvalidateCaret();
    if (OnMemoScroll) {
        if (dy != 0)
            OnMemoScroll(*this, Qt::Vertical, dy);
        if (dx != 0)
            OnMemoScroll(*this, Qt::Horizontal, dx);
    }
}

void TCustomDCMemo::UpdateScrollBars()
{
    if (!m_constructed || m_settingScrollBars)
        return;
    m_settingScrollBars = true;
    const bool vertical = m_scrollBars == ssVertical || m_scrollBars == ssBoth;
    const bool horizontal = m_scrollBars == ssHorizontal || m_scrollBars == ssBoth;
    const Qt::ScrollBarPolicy shown = m_hideScrollBars ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    setVerticalScrollBarPolicy(vertical ? shown : Qt::ScrollBarAlwaysOff);
    // Wrapped rows never reach past the window: no horizontal bar.
    setHorizontalScrollBarPolicy(horizontal && !m_wordWrap ? shown : Qt::ScrollBarAlwaysOff);
    if (m_source) {
        QScrollBar* bar = verticalScrollBar();
        bar->setTracking(m_options.testFlag(moThumbTracking));
        // While its thumb is dragged over wrapped text the bar is left as it
        // is: wrapping the lines the view passes refines the estimate of the
        // rows, and the thumb must stay under the pointer.
        if (!(m_rows.Wrapping() && bar->isSliderDown())) {
            const qint64 top = ScrollIndex(m_top);
            const qint64 bottom = std::max(ScrollIndex(MaxTop()), top);
            bar->setRange(0, int(std::min<qint64>(bottom, INT_MAX)));
            bar->setPageStep(std::max(1, VisibleRows()));
            bar->setSingleStep(1);
            bar->setValue(int(std::min<qint64>(top, INT_MAX)));
            m_barValue = bar->value();
        }
        bar = horizontalScrollBar();
        bar->setTracking(m_options.testFlag(moThumbTracking));
        const int columns = std::max(1, VisibleColumns());
        bar->setRange(0, std::max(std::max(0, m_horzMaxPos - columns), m_leftColumn));
        bar->setPageStep(columns);
        bar->setSingleStep(1);
        bar->setValue(m_leftColumn);
    }
    m_settingScrollBars = false;
}

void TCustomDCMemo::scrollContentsBy(int, int)
{
    if (m_settingScrollBars)
        return;
    QScrollBar* bar = verticalScrollBar();
    const int value = bar->value();
    TRowPos top = RowAtScrollIndex(value);
    if (m_rows.Wrapping()) {
        // A step of the bar (arrows, page) moves by exact rows; the thumb
        // goes where its value stands among the estimated rows, and a drag
        // one way never moves the view the other way.
        const int delta = value - m_barValue;
        if (!bar->isSliderDown() && std::abs(delta) <= 2 * std::max(1, VisibleRows())) {
            top = m_rows.Step(m_top, delta);
        } else {
            top = RowAtScrollIndex(value);
            if ((delta > 0 && top < m_top) || (delta < 0 && m_top < top))
                top = m_top;
        }
        m_barValue = value;
    }
    ScrollTo(top, horizontalScrollBar()->value());
}

int TCustomDCMemo::LineAtScrollValue(int value)
{
    return RowAtScrollIndex(value).line;
}
