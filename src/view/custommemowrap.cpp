// The editor control's word wrap: when the rows are cut anew, what an edit
// re-wraps and repaints, and the x of columns on rows (by cells, or by
// measured advances with a proportional font) that the caret, the mouse and
// the wrap itself share.

#include "custommemo.h"

#include "memosource.h"

#include <QScrollBar>

TWrapLayout TCustomDCMemo::WrapLayout()
{
    TWrapLayout layout;
    layout.on = m_wordWrap && m_constructed && m_source;
    if (!layout.on)
        return layout;
    const int cw = CharWidth();
    const bool atMargin = m_options.testFlag(moBreakWordAtMargin);
    const int width = viewport()->width();
    const int left = TextLeft();
    layout.capacity = std::max(2, atMargin ? m_marginPos : (width - cw - left) / cw + 1);
    // A UTF-8 document is laid out in cells with either font.
    if (!m_useMonoFont && m_source->Encoding() != teUtf8) {
        layout.width = atMargin ? m_marginPos * cw : std::max(cw, width - left);
        layout.capacity = std::max(2, layout.width / cw);
        // The renderer is set up for measuring once per range, in prepare.
        layout.measure = [this](int line, std::vector<qreal>& advances) { m_renderer->Advances(line, advances); };
        // The fonts of a line come with its attributes: they are computed
        // before the line is measured.
        layout.prepare = [this](int, int last) {
            m_renderer->SetConfig(MeasureConfig());
            if (m_renderer->WantsAttributes())
                m_source->ParseTo(last);
        };
    }
    return layout;
}

void TCustomDCMemo::UpdateWrap(bool force)
{
    if (!m_constructed || !m_source)
        return;
    TWrapLayout layout = WrapLayout();
    if (!force && layout.SameCut(m_wrap.Layout()))
        return;
    // The top row keeps the text it shows as far as it can: the row that
    // now holds its first column goes to the top.
    const int topColumn = m_rows.RowAt(m_top).startColumn;
    m_wrap.SetLayout(std::move(layout));
    m_wrap.Rewrap(0, TMemoWordWrap::kToEnd, m_top.line);
    m_top.row = m_rows.RowPosOf({m_top.line, topColumn}).row;
    if (m_wrap.On())
        m_leftColumn = 0;
    m_goalCaret = {-1, -1};
    UpdateScrollBars();
    InvalidateCaret();
    viewport()->update();
}

void TCustomDCMemo::RewrapChanged(int firstLine, int lastLine)
{
    if (!m_wrap.On())
        return;
    const TRewrapResult result = m_wrap.Rewrap(firstLine, lastLine, m_top.line);
    m_top.row = std::min(m_top.row, m_rows.RowsOfLine(m_top.line) - 1);
    // The lines themselves are repainted with every change; rows that moved
    // take everything below them along.
    if (result.full)
        viewport()->update();
    else if (result.rowsChanged)
        InvalidateLines(result.first, TMemoChange::kToEnd);
    if (result.rowsChanged)
        UpdateScrollBars();
}

void TCustomDCMemo::RewrapMeasured(int firstLine, int lastLine)
{
    if (m_wrap.On() && m_wrap.Layout().measure)
        RewrapChanged(firstLine, lastLine);
}

void TCustomDCMemo::LineAdvances(int line, std::vector<qreal>& advances)
{
    m_renderer->SetConfig(MeasureConfig());
    m_renderer->Advances(line, advances);
}

int TCustomDCMemo::ColumnOffset(const TRow& row, int column)
{
    const int cw = CharWidth();
    if (m_source && (m_useMonoFont || m_source->Encoding() == teUtf8))
        return (m_source->CellOfColumn(row.line, column) - m_source->CellOfColumn(row.line, row.startColumn)) * cw;
    if (m_useMonoFont || !m_source || row.line >= m_source->LineCount())
        return (column - row.startColumn) * cw;
    // Measured advances along the line; past its end, cells of the average
    // width.
    std::vector<qreal> advances;
    LineAdvances(row.line, advances);
    const int n = std::min(int(advances.size()), m_source->LineLength(row.line));
    qreal x = 0;
    for (int i = row.startColumn; i < std::min(column, n); ++i)
        x += advances[size_t(i)];
    if (column > n)
        x += qreal(column - std::max(n, row.startColumn)) * cw;
    return int(x);
}

int TCustomDCMemo::ColumnAt(const TRow& row, int x, bool cell)
{
    const int cw = CharWidth();
    int column = row.startColumn;
    if (x > 0) {
        if (m_source && m_source->Encoding() == teUtf8) {
            const int origin = m_source->CellOfColumn(row.line, row.startColumn) * cw;
            column = m_source->ColumnAtOffset(row.line, origin + x, cw, !cell);
        } else if (m_useMonoFont || !m_source || row.line >= m_source->LineCount()) {
            column += cell ? x / cw : (x + cw / 2) / cw;
        } else {
            std::vector<qreal> advances;
            LineAdvances(row.line, advances);
            const int n = std::min(int(advances.size()), m_source->LineLength(row.line));
            qreal rest = x;
            for (; column < n; ++column) {
                const qreal advance = advances[size_t(column)];
                if (rest < (cell ? advance : advance / 2))
                    break;
                rest -= advance;
            }
            if (column >= n)
                column += std::max(0, int(cell ? rest / cw : (rest + cw / 2.0) / cw));
        }
    }
    // The next row's first column is shown on the next row.
    if (!row.LastOfLine()) {
        column = std::min(column, std::max(row.startColumn, row.endColumn - 1));
        if (m_source)
            column = std::max(row.startColumn, m_source->SnapToChar(row.line, column, false));
    }
    return column;
}

TTextPos TCustomDCMemo::PositionInRow(TRowPos pos, int x)
{
    const TRow row = m_rows.RowAt(pos);
    return {row.line, ColumnAt(row, x, false)};
}

qint64 TCustomDCMemo::ScrollIndex(TRowPos pos)
{
    return m_rows.Wrapping() ? m_wrap.RowIndex(pos.line) + pos.row : m_rows.ShownIndex(pos.line);
}

TRowPos TCustomDCMemo::RowAtScrollIndex(qint64 index)
{
    if (!m_rows.Wrapping())
        return {m_rows.LineOfShownIndex(index), 0};
    TRowPos pos;
    m_wrap.LineAtRowIndex(index, LastViewLine() + 1, pos.line, pos.row);
    return pos;
}
