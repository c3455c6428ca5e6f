// The editor control's paint: it lays out the client area and hands the
// gutter to the gutter painter and the rows to the renderer.

#include "custommemo.h"

#include "ansi.h"
#include "gutterimages.h"
#include "gutterpainter.h"
#include "memoparts.h"
#include "memostructure.h"
#include "memosource.h"
#include "searchmarks.h"

#include <QPaintEvent>
#include <QPainter>

namespace {

char symbolByte(const QString& text, char fallback)
{
    const QByteArray bytes = Ansi::FromQString(text.left(1));
    return bytes.isEmpty() ? fallback : bytes[0];
}

} // namespace

int TCustomDCMemo::BreakPointStyle() const
{
    return m_textStyles ? m_textStyles->IndexOfName(QStringLiteral("BreakPoint")) : -1;
}

TGutterConfig TCustomDCMemo::GutterConfig()
{
    TGutterConfig config;
    config.source = m_source;
    config.options = m_options;
    config.gutterWidth = EffectiveGutterWidth();
    config.digits = LineNumberDigits();
    config.charWidth = CharWidth();
    config.numberWidth = config.charWidth * (config.digits + 1);
    config.lineHeight = LineHeight();
    config.ascent = m_ascent;
    config.leftIndent = m_options.testFlag(moLeftIndent) ? m_leftIndent : 0;
    config.gutterLineIndent = m_gutterLineIndent;
    config.gutterBrush = m_gutterBrush;
    config.gutterBackColor = m_gutterBackColor;
    config.gutterLineColor = m_gutterLineColor;
    config.lineNumColor = m_lineNumColor;
    config.lineNumBackColor = m_lineNumBackColor;
    config.lineNumAlign = m_lineNumAlign;
    config.imgsAlign = m_gutterImgsAlign;
    config.images = m_gutterImages;
    config.background = m_gutterBackground->IsActive() ? m_gutterBackground : nullptr;
    config.font = m_font;
    config.breakPointStyle = BreakPointStyle();
    if (OnGetLineNumber)
        config.lineNumberText = [this](QString& text, int line) { OnGetLineNumber(*this, text, line); };
    return config;
}

TRenderConfig TCustomDCMemo::MeasureConfig()
{
    // What decides the fonts and the text of a row, nothing of the layout:
    // measuring must not ask for the layout it is part of.
    TRenderConfig config;
    config.source = m_source;
    config.styles = m_textStyles;
    config.options = m_options;
    config.font = m_font;
    config.color = m_color;
    config.eolString = Ansi::FromQString(m_specialSymbols->EOLString());
    config.eofString = Ansi::FromQString(m_specialSymbols->EOFString());
    config.spaceChar = symbolByte(m_specialSymbols->SpaceChar(), ' ');
    config.tabChar = symbolByte(m_specialSymbols->TabChar(), ' ');
    config.useMonoFont = m_useMonoFont;
    if (OnCustomString)
        config.customString = [this](int line, QByteArray& text, QByteArray& attrs) {
            OnCustomString(*this, line, text, attrs);
        };
    if (OnGetAttrColors)
        config.attrColors = [this](int attr, TFont& font, TColor& back) { OnGetAttrColors(*this, attr, font, back); };
    if (OnGetColorStyle)
        config.lineStyle = [this](int line, int& style) { OnGetColorStyle(*this, line, style); };
    return config;
}

TRenderConfig TCustomDCMemo::RenderConfig()
{
    TRenderConfig config = MeasureConfig();
    config.selColor = m_selColor;
    config.selBackColor = m_selBackColor;
    config.matchColor = m_matchColor;
    config.matchBackColor = m_matchBackColor;
    config.readOnlyColor = m_readOnlyColor;
    config.disabledColor = m_disabledColor;
    config.lineBookmarkColor = m_lineBookmarkColor;
    config.marginPen = m_marginPen;
    config.marginPos = m_marginPos;
    config.separatorOptions = m_lineSeparator->Options();
    config.separatorPen = m_lineSeparator->Pen();
    // A control parked beside the one with the store's caret shows none.
    config.showSelection = !(m_hideSelection && !hasFocus()) && !m_parked.Parked();
    config.enabled = isEnabled();
    config.background = m_background->IsActive() ? m_background : nullptr;
    config.lineHeight = LineHeight();
    config.charWidth = CharWidth();
    config.ascent = m_ascent;
    config.textLeft = TextLeft();
    config.textRight = viewport()->width();
    config.leftColumn = m_leftColumn;
    config.outlineLeft = m_rows.SkipHidden() ? config.textLeft - config.lineHeight : -1;
    if (m_lineHighlight->Visible() && hasFocus()) {
        config.highlightLine = m_source->CaretLine();
        config.highlightPen = m_lineHighlight->Pen();
        config.highlightBrush = m_lineHighlight->Brush();
    }
    config.matches = m_matches;
    config.foldMarkers = m_rows.SkipHidden();
    m_structure->AddMarks(config);
    return config;
}

void TCustomDCMemo::PaintArea(QPainter& painter, const QRect& rect)
{
    if (!m_source || rect.isEmpty())
        return;
    const int lh = LineHeight();
    const int firstRow = std::max(0, rect.top() / lh);
    const int lastRow = std::max(firstRow, rect.bottom() / lh);
    const std::vector<TRow> rows = m_rows.Rows(m_top, firstRow, lastRow - firstRow + 1);
    const int y = firstRow * lh;

    const TGutterConfig gutter = GutterConfig();
    const int textLeft = TextLeft();
    m_layoutTextLeft = textLeft;

    // The left-indent strip and the gaps the layout leaves are the control's
    // colour; the outline column is painted with its rows.
    const QRect strip = QRect(gutter.gutterWidth, rect.top(), std::max(0, textLeft - gutter.gutterWidth), rect.height())
                            .intersected(rect);
    if (!strip.isEmpty())
        painter.fillRect(strip, ToQColor(m_color));

    TGutterPainter(m_fonts).Paint(painter, rect, rows, y, gutter);

    TRenderConfig config = RenderConfig();
    if (m_showSearchMatches && m_source->FoundMatch().Valid()) {
        if (!m_searchMarks)
            m_searchMarks = std::make_unique<TSearchMarks>();
        const int columns = std::max(1, (viewport()->width() - textLeft) / CharWidth() + 1);
        m_searchMarks->Collect(*m_source, rows, m_leftColumn, columns, config.matches);
    }
    m_renderer->SetConfig(config);
    m_renderer->PaintRows(painter, rect, rows, y);

    if (OnCustomDraw) {
        painter.save();
        painter.setClipRect(rect);
        OnCustomDraw(*this, painter, rect);
        painter.restore();
    }
}

void TCustomDCMemo::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    m_painting = true;
    PaintArea(painter, event->rect());
    m_painting = false;
    FlushParsedLines(event->region());
    m_structure->AfterPaint();

    // The caret, drawn over the text by inverting it while it blinks on. A
    // paint that covers the old caret has wiped it.
    if (!m_drawnCaret.isNull() && event->rect().contains(m_drawnCaret))
        m_drawnCaret = QRect();
    if (m_caretShown && m_caretBlinkOn && !m_hideCaret && m_source) {
        const QRect caret = CaretRect();
        if (caret.intersects(event->rect()) && caret.left() >= TextLeft()) {
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            painter.fillRect(caret, Qt::white);
            m_drawnCaret = m_drawnCaret.united(caret);
        }
    }
}

void TCustomDCMemo::FlushParsedLines(const QRegion& painted)
{
    const int first = m_parsedFirst;
    const int last = m_parsedLast;
    m_parsedFirst = 0;
    m_parsedLast = -1;
    if (last < first)
        return;
    RewrapMeasured(first, last);
    if (last < m_top.line)
        return;
    const int rows = PaintedRows();
    const int firstRow = std::max(0, m_rows.RowOfLine(m_top, first, rows));
    int lastRow = m_rows.RowOfLine(m_top, last, rows);
    if (lastRow < rows)
        lastRow += std::max(1, m_rows.RowsOfLine(last)) - 1;
    lastRow = std::min(rows - 1, lastRow);
    if (lastRow < firstRow)
        return;
    const int lh = LineHeight();
    const QRegion stale = QRegion(0, firstRow * lh, viewport()->width(), (lastRow - firstRow + 1) * lh) - painted;
    if (!stale.isEmpty())
        viewport()->update(stale);
}

void TCustomDCMemo::PaintRect(QPainter& painter, const QRect& rect)
{
    m_painting = true;
    PaintArea(painter, rect);
    m_painting = false;
    // Painted into something else than the window: what the window shows of
    // the lines just parsed is stale.
    FlushParsedLines(QRegion());
}

void TCustomDCMemo::PaintRowsFrom(QPainter& painter, TRowPos top, int rows)
{
    UpdateWrap();
    const TRowPos kept = m_top;
    m_top = top;
    PaintRect(painter, QRect(0, 0, viewport()->width(), std::max(0, rows) * LineHeight()));
    m_top = kept;
}

TRowPos TCustomDCMemo::RowBelow(TRowPos from, int rows)
{
    UpdateWrap();
    return m_rows.Step(from, rows);
}

QImage TCustomDCMemo::RenderToImage()
{
    QImage image(viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PaintRect(painter, image.rect());
    return image;
}
