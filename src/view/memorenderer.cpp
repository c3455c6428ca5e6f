#include "memorenderer.h"

#include "foldmarker.h"
#include "memoparts.h"
#include "memosource.h"
#include "textstyle.h"
#include "ansi.h"
#include "utf8cells.h"

#include <QPainter>

#include <algorithm>

namespace {

QPen ToQPen(const TPen& pen, int maxWidth = 0)
{
    if (pen.Style() == TPen::psClear)
        return Qt::NoPen;
    int width = std::max(1, pen.Width());
    if (maxWidth > 0)
        width = std::min(width, maxWidth);
    QPen qpen(ToQColor(pen.Color()), width);
    switch (pen.Style()) {
    case TPen::psDash: qpen.setStyle(Qt::DashLine); break;
    case TPen::psDot: qpen.setStyle(Qt::DotLine); break;
    case TPen::psDashDot: qpen.setStyle(Qt::DashDotLine); break;
    case TPen::psDashDotDot: qpen.setStyle(Qt::DashDotDotLine); break;
    default: break;
    }
    qpen.setCapStyle(Qt::FlatCap);
    return qpen;
}

// The attribute URL highlighting marks its runs with.
constexpr int kUrlAttribute = 12;

// What a UTF-8 line shows in place of a special symbol above 0x7F: a byte
// that is part of no UTF-8 sequence, so that it stays one column of one
// cell, as the blank or line end it stands for, and never joins a byte next
// to it into a character. The symbol itself is drawn from the marks.
constexpr char kSymbolPlaceholder = char(0xFF);

// 2 when a full range holds column, 1 when only a light one does, else 0.
int InRanges(const std::vector<TMatchRange>& ranges, int column)
{
    int level = 0;
    for (const TMatchRange& range : ranges) {
        if (column >= range.left && column < range.right) {
            if (!range.light)
                return 2;
            level = 1;
        }
    }
    return level;
}

// A third of the way from back towards tint.
TColor Tinted(TColor back, TColor tint)
{
    const QColor a = ToQColor(back);
    const QColor b = ToQColor(tint);
    auto mix = [](int from, int to) { return (2 * from + to) / 3; };
    return TColor::FromRgb(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

} // namespace

void TMemoRenderer::SetConfig(const TRenderConfig& config)
{
    m_config = config;
    m_config.lineHeight = std::max(1, m_config.lineHeight);
    m_config.charWidth = std::max(1, m_config.charWidth);
    m_readOnly = m_config.source && m_config.source->ReadOnly();
    m_resolved.reset();
    m_plainStyle = TRunStyle{&m_fonts.Get(m_config.font), m_config.font.Color(), m_config.color, true};
}

bool TMemoRenderer::WantsAttributes() const
{
    // Without syntax colouring and URL highlighting no attribute string is
    // fetched, so a plain view never makes the store parse.
    return m_config.options.testFlag(moColorSyntax) || (m_config.source && m_config.source->HighlightUrls());
}

QByteArray TMemoRenderer::DisplayText(int line, QByteArray* marks) const
{
    const TCustomMemoSource& source = *m_config.source;
    if (marks)
        marks->clear();
    if (!m_config.options.testFlag(moDrawSpecialSymbols))
        return source.LineText(line);
    const std::string_view raw = source.Strings().RawText(line);
    const TTabStops& tabs = source.TabRack();
    // The symbols are Windows-1252 bytes. A document in another encoding
    // would read one above 0x7F as something else (UTF-8 as no character
    // at all): there its column is marked, and the symbol drawn as such.
    const TTextEncoding encoding = source.Encoding();
    QByteArray out;
    out.reserve(qsizetype(raw.size()) + 16);
    auto symbol = [&](char c) {
        if (encoding == teWindows1252 || uchar(c) < 0x80) {
            out.append(c);
            return;
        }
        if (marks) {
            marks->resize(out.size(), '\0');
            marks->append(c);
        }
        out.append(encoding == teUtf8 ? kSymbolPlaceholder : c);
    };
    for (char c : raw) {
        if (c == '\t') {
            // The tab's first column shows the tab mark, the rest stays blank.
            const int column = int(out.size());
            symbol(m_config.tabChar);
            out.append(std::max(0, tabs.NextStop(column) - column - 1), ' ');
        } else if (c == ' ') {
            symbol(m_config.spaceChar);
        } else {
            out.append(c);
        }
    }
    for (char c : line == source.LineCount() - 1 ? m_config.eofString : m_config.eolString)
        symbol(c);
    if (marks && !marks->isEmpty())
        marks->resize(out.size(), '\0');
    return out;
}

void TMemoRenderer::DrawUtf8Bytes(QPainter& painter, const TPaintFont& font, int from, int to, QPointF origin,
                                  int cellWidth)
{
    const QByteArray& text = m_line.text;
    const QByteArray& marks = m_line.marks;
    if (marks.isEmpty()) {
        DrawUtf8(painter, font, text.constData() + from, to - from, origin, cellWidth);
        return;
    }
    int cells = 0;
    for (int i = from; i < to;) {
        const QPointF at = origin + QPointF(qreal(cells) * cellWidth, 0);
        if (marks[i] != '\0') {
            DrawBytes(painter, font, marks.constData() + i, 1, at, cellWidth);
            ++cells;
            ++i;
            continue;
        }
        int end = i + 1;
        while (end < to && marks[end] == '\0')
            ++end;
        cells += DrawUtf8(painter, font, text.constData() + i, end - i, at, cellWidth);
        i = end;
    }
}

void TMemoRenderer::CutRuns(const uchar* attrs, int attrCount, bool urlsOnly, int start, int end, int selLeft,
                            int selRight, const std::vector<TMatchRange>& matches, std::vector<TRun>& runs,
                            int attrFirst)
{
    runs.clear();
    if (!attrs)
        attrCount = 0;
    TRun run;
    for (int column = start; column < end; ++column) {
        int attr = column < attrCount && column >= attrFirst ? attrs[column - attrFirst] : -1;
        if (urlsOnly && attr != kUrlAttribute)
            attr = -1;
        const bool selected = column >= selLeft && column < selRight;
        const int level = matches.empty() ? 0 : InRanges(matches, column);
        const bool matched = level == 2;
        const bool light = level == 1;
        if (run.length > 0
            && (attr != run.attr || selected != run.selected || matched != run.matched || light != run.lightMatch
                || run.length >= kMaxRun)) {
            runs.push_back(run);
            run.length = 0;
        }
        if (run.length == 0)
            run = TRun{column, 0, attr, selected, matched, light};
        ++run.length;
    }
    if (run.length > 0)
        runs.push_back(run);
}

TMemoRenderer::TRunStyle TMemoRenderer::AttrStyle(int attr)
{
    if (attr < 0 || attr > 255)
        return m_plainStyle;
    if (m_resolved.test(size_t(attr)))
        return m_styles[size_t(attr)];
    TSimpleParser* parser = m_config.source ? m_config.source->SyntaxParser() : nullptr;
    const TTextStyle* style = m_config.styles && attr < m_config.styles->Count() ? m_config.styles->At(attr) : nullptr;
    const TFont* parserFont = parser ? parser->GetAttrFont(attr) : nullptr;
    TFont font = parserFont ? *parserFont : style ? style->EffectiveFont() : m_config.font;
    TColor back = m_config.color;
    TColor parserBack;
    if (parser && parser->GetAttrBackColor(attr, parserBack))
        back = parserBack == TColor(-1) ? m_config.color : parserBack;
    else if (style)
        back = style->EffectiveColor();
    if (m_config.attrColors)
        m_config.attrColors(attr, font, back);
    TRunStyle result{&m_fonts.Get(font), font.Color(), back, back == m_config.color};
    m_styles[size_t(attr)] = result;
    m_resolved.set(size_t(attr));
    return result;
}

TMemoRenderer::TRunStyle TMemoRenderer::LineStyle(int attr, int lineStyle)
{
    // A line style gives the whole line its font and colours; the parser's
    // fonts do not apply on such a line.
    const TTextStyle* style = m_config.styles->At(lineStyle);
    const TFont font = style->EffectiveFont();
    const TColor back = style->EffectiveColor();
    TRunStyle result{&m_fonts.Get(font), font.Color(), back, back == m_config.color};
    if (m_config.options.testFlag(moColoredLineStyle))
        result.fore = AttrStyle(attr).fore;
    return result;
}

TColor TMemoRenderer::MemoBack(int line) const
{
    if (line == m_config.highlightLine && m_config.highlightBrush.Style() == TBrush::bsSolid)
        return m_config.highlightBrush.Color();
    if (m_readOnly && m_config.options.testFlag(moUseReadOnlyColor))
        return m_config.readOnlyColor;
    return m_config.color;
}

TMemoRenderer::TRunStyle TMemoRenderer::RunStyle(const TRun& run, int lineStyle)
{
    const bool styledLine = lineStyle > 0 && m_config.styles && lineStyle < m_config.styles->Count();
    TRunStyle style = styledLine ? LineStyle(run.attr, lineStyle) : AttrStyle(run.attr);
    if (run.selected) {
        const int attr = styledLine ? lineStyle : run.attr;
        if (styledLine && m_config.options.testFlag(moColoredLineStyle)) {
            // The line style's own foreground, not the attribute's, is what
            // an inverted selection shows.
            style.fore = m_config.styles->At(lineStyle)->EffectiveFont().Color();
        }
        if (attr > 0 && !m_config.options.testFlag(moDisableInvertedSel)) {
            std::swap(style.fore, style.back);
        } else {
            style.fore = m_config.selColor;
            style.back = m_config.selBackColor;
        }
        style.backIsMemo = false;
    }
    if (run.matched) {
        const bool error = !m_lineErrors.empty() && InRanges(m_lineErrors, run.start);
        style.fore = error ? m_config.errorColor : m_config.matchColor;
        style.back = error ? m_config.errorBackColor : m_config.matchBackColor;
        style.backIsMemo = false;
    } else if (run.lightMatch && !run.selected) {
        style.back = Tinted(style.backIsMemo ? MemoBack(m_rowLine) : style.back, m_config.matchBackColor);
        style.backIsMemo = false;
    }
    if (!m_config.enabled)
        style.fore = m_config.disabledColor;
    return style;
}

void TMemoRenderer::Fill(QPainter& painter, int left, int right, int y, TColor color, bool isMemo)
{
    if (right <= left)
        return;
    // Over a background picture the control's own colour is left out.
    if (isMemo && m_config.background)
        return;
    painter.fillRect(QRect(left, y, right - left, m_config.lineHeight), ToQColor(color));
}

void TMemoRenderer::PaintBackground(QPainter& painter, const QRect& area)
{
    const QRect full(m_config.textLeft, 0, std::max(0, m_config.textRight - m_config.textLeft),
                     painter.device()->height());
    m_config.background->Paint(painter, area, full, ToQColor(m_config.color));
}

void TMemoRenderer::PaintRows(QPainter& painter, const QRect& area, const std::vector<TRow>& rows, int y)
{
    if (!m_config.source)
        return;
    const int lh = m_config.lineHeight;
    const QRect textArea = area.intersected(QRect(m_config.textLeft, area.top(),
                                                  std::max(0, m_config.textRight - m_config.textLeft), area.height()));
    painter.save();
    if (!textArea.isEmpty()) {
        painter.setClipRect(textArea);
        if (m_config.background)
            PaintBackground(painter, textArea);
        int rowY = y;
        for (const TRow& row : rows) {
            if (rowY + lh > textArea.top() && rowY <= textArea.bottom())
                PaintRow(painter, textArea, row, rowY);
            rowY += lh;
        }
    }
    if (m_config.outlineLeft >= 0) {
        const QRect outline(m_config.outlineLeft, area.top(), lh, area.height());
        if (outline.intersects(area)) {
            painter.setClipRect(outline.intersected(area));
            int rowY = y;
            for (const TRow& row : rows) {
                if (rowY + lh > area.top() && rowY <= area.bottom())
                    PaintOutline(painter, row.firstOfLine ? row.line : -1, rowY);
                rowY += lh;
            }
        }
    }
    painter.restore();
}

bool TMemoRenderer::SpanLoads() const
{
    // Special symbols and the custom string hook work on whole lines.
    return !m_config.customString && !m_config.options.testFlag(moDrawSpecialSymbols);
}

void TMemoRenderer::LoadLine(int line, TLineContent& content, bool span, int from, int to)
{
    const TCustomMemoSource& source = *m_config.source;
    content = TLineContent();
    if (line < 0 || line >= source.LineCount())
        return;
    const bool spanned = span && SpanLoads();
    if (spanned) {
        content.length = source.LineLength(line);
        content.first = std::clamp(from, 0, content.length);
        content.text = source.LineSpan(line, content.first, to);
    } else {
        content.text = DisplayText(line, &content.marks);
        content.length = int(content.text.size());
    }
    content.lineStyle = source.LineStyle(line);
    if (m_config.lineStyle)
        m_config.lineStyle(line, content.lineStyle);
    if (WantsAttributes() && spanned) {
        int count = 0;
        content.attrs = m_config.source->LineAttributes(line, content.first, content.first + int(content.text.size()),
                                                        &content.attrFirst, &count);
        content.attrCount = content.attrFirst + count;
    } else if (WantsAttributes()) {
        content.attrs = m_config.source->LineAttributes(line, &content.attrCount);
    }
    if (m_config.customString) {
        content.attrCopy =
            QByteArray(reinterpret_cast<const char*>(content.attrs), content.attrs ? content.attrCount : 0);
        m_config.customString(line, content.text, content.attrCopy);
        // The hook may have changed the text the marks were made for.
        if (content.marks.size() != content.text.size())
            content.marks.clear();
        content.attrs = reinterpret_cast<const uchar*>(content.attrCopy.constData());
        content.attrCount = int(content.attrCopy.size());
    }
    content.attrCount = std::min(content.attrCount, content.length);
    if (content.lineStyle <= 0 || !m_config.styles || content.lineStyle >= m_config.styles->Count())
        content.lineStyle = 0;
}

void TMemoRenderer::Advances(int line, std::vector<qreal>& advances)
{
    advances.clear();
    if (!m_config.source)
        return;
    TLineContent content;
    LoadLine(line, content);
    const int length = int(content.text.size());
    advances.reserve(size_t(length));
    // The runs' fonts as painted; selection and matches change colours only.
    CutRuns(content.attrs, content.attrCount, !m_config.options.testFlag(moColorSyntax), 0, length, 0, 0, {}, m_runs);
    for (const TRun& run : m_runs) {
        const TPaintFont& font = *RunStyle(run, content.lineStyle).font;
        for (int i = run.start; i < run.start + run.length; ++i)
            advances.push_back(font.Advance(uchar(content.text[i])));
    }
}

void TMemoRenderer::PaintRow(QPainter& painter, const QRect& area, const TRow& row, int y)
{
    const TCustomMemoSource& source = *m_config.source;
    const int line = row.line;
    m_rowLine = line;
    const bool inText = line >= 0 && line < source.LineCount();
    const int lh = m_config.lineHeight;
    const int cw = m_config.charWidth;
    const int textLeft = m_config.textLeft;

    // A wrapped line shows the columns [segStart, segEnd) on this row; its
    // last row takes the rest, and only there does the line end.
    auto segment = [&row](int length, int& segStart, int& segEnd) {
        segStart = std::min(row.startColumn, length);
        segEnd = row.LastOfLine() ? length : std::clamp(row.endColumn, segStart, length);
    };
    // In a UTF-8 document columns are bytes and characters cover 0 to 2
    // cells: the store maps between them.
    const bool utf8 = inText && source.Encoding() == teUtf8;
    // With a monospaced font the visible columns follow by division; nothing
    // left or right of them is looked at, not even loaded.
    auto visible = [&](int segStart, int segEnd, int& start, int& end) {
        if (utf8) {
            const int origin = (source.CellOfColumn(line, segStart) + m_config.leftColumn) * cw;
            start = std::clamp(source.ColumnAtOffset(line, origin + area.left() - textLeft, cw, false), segStart, segEnd);
            const int last = source.ColumnAtOffset(line, origin + area.right() - textLeft, cw, false);
            end = std::clamp(source.NextCharColumn(line, last), start, segEnd);
            return;
        }
        const int origin = segStart + m_config.leftColumn;
        const int firstColumn = std::max(segStart, origin + (area.left() - textLeft) / cw);
        const int lastColumn = origin + (area.right() - textLeft) / cw + 1;
        start = std::min(firstColumn, segEnd);
        end = std::min(lastColumn, segEnd);
    };

    TLineContent& content = m_line;
    if ((m_config.useMonoFont || utf8) && SpanLoads() && inText) {
        int segStart, segEnd, start, end;
        segment(source.LineLength(line), segStart, segEnd);
        visible(segStart, segEnd, start, end);
        LoadLine(line, content, true, start, end);
    } else {
        LoadLine(line, content);
    }
    if (inText && source.Encoding() == teOem) {
        // OEM bytes are shown through the Windows-1252 glyphs they stand for;
        // the special symbols already are such glyphs.
        for (qsizetype i = 0; i < content.text.size(); ++i) {
            if (content.marks.isEmpty() || content.marks[i] == '\0')
                content.text[i] = char(Ansi::FromOem(uchar(content.text[i])));
        }
    }
    const QByteArray& text = content.text;
    // The text of column c.
    auto at = [&](int column) { return text.constData() + (column - content.first); };
    const uchar* attrs = content.attrs;
    const int attrFirst = content.attrFirst;
    const int attrCount = content.attrCount;
    const int lineStyle = content.lineStyle;
    // Without syntax colouring only URL runs keep their attribute.
    const bool urlsOnly = !m_config.options.testFlag(moColorSyntax);
    const int length = content.length;
    const bool styledLine = lineStyle > 0;
    int segStart, segEnd;
    segment(length, segStart, segEnd);

    int selLeft = 0;
    int selRight = 0;
    if (!m_config.showSelection || !source.SelectedColumns(line, selLeft, selRight))
        selLeft = selRight = 0;
    m_lineMatches.clear();
    for (const TMatchRange& match : m_config.matches) {
        if (match.line == line)
            m_lineMatches.push_back(match);
    }
    m_lineErrors.clear();
    AddBracketMarks(m_config, line, m_lineMatches, m_lineErrors);

    const int baseline = y + m_config.ascent;
    int xEnd = 0;
    auto columnX = [&](int column) { return textLeft + (column - segStart - m_config.leftColumn) * cw; };
    if (utf8) {
        // In cells with either font: a proportional one's average width
        // is the cell.
        int start, end;
        visible(segStart, segEnd, start, end);
        CutRuns(attrs, attrCount, urlsOnly, start, end, selLeft, selRight, m_lineMatches, m_runs, attrFirst);
        const std::string_view shown(text.constData(), size_t(text.size()));
        const int segCell = source.CellOfColumn(line, segStart);
        int cell = source.CellOfColumn(line, start);
        // A character whose bytes fall in two runs is drawn with the first.
        int drawnTo = start;
        for (const TRun& run : m_runs) {
            const int from = std::max(run.start, drawnTo) - content.first;
            int to = run.start + run.length - content.first;
            if (from >= to)
                continue;
            const int charStart = Utf8Cells::CharStart(shown, to);
            if (charStart < to && charStart >= from)
                to = std::min(int(shown.size()), Utf8Cells::NextChar(shown, charStart));
            const TRunStyle style = RunStyle(run, styledLine ? lineStyle : 0);
            const int x = textLeft + (cell - segCell - m_config.leftColumn) * cw;
            const int cells = Utf8Cells::CellOf(shown.substr(size_t(from), size_t(to - from)), to - from);
            Fill(painter, x, x + cells * cw, y, style.backIsMemo ? MemoBack(line) : style.back, style.backIsMemo);
            painter.setPen(ToQColor(style.fore));
            DrawUtf8Bytes(painter, *style.font, from, to, QPointF(x, baseline), cw);
            cell += cells;
            drawnTo = to + content.first;
        }
        xEnd = end == segEnd ? textLeft + (cell - segCell - m_config.leftColumn) * cw : area.right() + 1;
    } else if (m_config.useMonoFont) {
        int start, end;
        visible(segStart, segEnd, start, end);
        CutRuns(attrs, attrCount, urlsOnly, start, end, selLeft, selRight, m_lineMatches, m_runs, attrFirst);
        for (const TRun& run : m_runs) {
            const TRunStyle style = RunStyle(run, styledLine ? lineStyle : 0);
            const int x = columnX(run.start);
            Fill(painter, x, x + run.length * cw, y, style.backIsMemo ? MemoBack(line) : style.back, style.backIsMemo);
            painter.setPen(ToQColor(style.fore));
            DrawBytes(painter, *style.font, at(run.start), run.length, QPointF(x, baseline), cw);
        }
        xEnd = columnX(segEnd);
    } else {
        // Measured advances: the left column scrolls by whole character
        // widths, and the row stops at the client edge.
        qreal x = textLeft - qreal(m_config.leftColumn) * cw;
        CutRuns(attrs, attrCount, urlsOnly, segStart, segEnd, selLeft, selRight, m_lineMatches, m_runs, attrFirst);
        for (const TRun& run : m_runs) {
            const TRunStyle style = RunStyle(run, styledLine ? lineStyle : 0);
            const qreal width = BytesWidth(*style.font, at(run.start), run.length);
            if (x + width >= area.left()) {
                Fill(painter, int(x), int(std::ceil(x + width)), y, style.backIsMemo ? MemoBack(line) : style.back,
                     style.backIsMemo);
                painter.setPen(ToQColor(style.fore));
                DrawBytes(painter, *style.font, at(run.start), run.length, QPointF(x, baseline), 0);
            }
            x += width;
            if (x > area.right())
                break;
        }
        xEnd = int(std::ceil(x));
    }

    // The rest of the row: the line style's or the control's background, and
    // the selection where it runs past the line end.
    const int restLeft = std::max(xEnd, area.left());
    const int right = area.right() + 1;
    TColor restBack = MemoBack(line);
    bool restIsMemo = true;
    if (styledLine) {
        restBack = m_config.styles->At(lineStyle)->EffectiveColor();
        restIsMemo = restBack == m_config.color;
        if (restIsMemo)
            restBack = MemoBack(line);
    }
    auto restX = [&](int column) {
        if (column == TMemoChange::kToEnd)
            return right;
        return std::clamp(xEnd + (column - length) * cw, restLeft, right);
    };
    if (row.LastOfLine() && selRight > std::max(selLeft, length) && !m_config.options.testFlag(moSelectOnlyText)) {
        const int selStart = restX(std::max(selLeft, length));
        const int selEnd = restX(selRight);
        Fill(painter, restLeft, selStart, y, restBack, restIsMemo);
        Fill(painter, selStart, selEnd, y, m_config.selBackColor, false);
        Fill(painter, selEnd, right, y, restBack, restIsMemo);
    } else {
        Fill(painter, restLeft, right, y, restBack, restIsMemo);
    }

    if (m_config.foldMarkers && inText && row.LastOfLine() && source.CollapseState(line) == 1)
        PaintFoldMarker(painter, m_config, *m_plainStyle.font, source.FoldMarker(line), xEnd + cw, y);
    if (m_config.options.testFlag(moDrawMargin)) {
        const int x = cw * (m_config.marginPos - m_config.leftColumn) + textLeft;
        if (x >= textLeft && x >= area.left() && x <= area.right()) {
            QPen pen = ToQPen(m_config.marginPen, 2);
            if (pen.style() != Qt::NoPen) {
                painter.setPen(pen);
                const qreal half = pen.widthF() / 2;
                painter.drawLine(QPointF(x + half, y), QPointF(x + half, y + lh));
            }
        }
    }
    if (inText && m_config.options.testFlag(moDrawLineBookmarks) && source.BookmarksOnLine(line)) {
        painter.setPen(ToQColor(m_config.lineBookmarkColor));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(textLeft, y, m_config.textRight - textLeft - 1, lh - 1));
    }
    // Under every row, or under the last row of every line.
    const bool separator = m_config.separatorOptions.testFlag(moWrappedLineSeparator)
                           || (m_config.separatorOptions.testFlag(moDrawLineSeparator) && row.LastOfLine());
    if (separator) {
        QPen pen = ToQPen(m_config.separatorPen, 1);
        if (pen.style() != Qt::NoPen) {
            painter.setPen(pen);
            painter.drawLine(QPoint(area.left(), y + lh - 1), QPoint(right, y + lh - 1));
        }
    }
    if (line == m_config.highlightLine) {
        QPen pen = ToQPen(m_config.highlightPen, 1);
        if (pen.style() != Qt::NoPen) {
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRect(textLeft, y, m_config.textRight - textLeft - 1, lh - 1));
        }
    }
}

void TMemoRenderer::PaintOutline(QPainter& painter, int line, int y)
{
    const int a = m_config.lineHeight;
    const int x = m_config.outlineLeft;
    painter.fillRect(QRect(x, y, a, a), ToQColor(m_config.color));
    if (line < 0)
        return;
    const int state = m_config.source->CollapseState(line);
    if (state != 0 && state != 1)
        return;
    // The box keeps this much room to the cell's edges.
    const int inset = a <= 16 ? std::max(1, a / 8) : std::max((a - 16) / 2, a / 8);
    const int side = std::max(5, a - 2 * inset - 2) | 1; // odd, so the sign is centred
    const int left = x + (a - side) / 2;
    const int top = y + (a - side) / 2;
    const QColor fore = ToQColor(m_config.font.Color());
    painter.setPen(fore);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(left, top, side - 1, side - 1));
    const int middle = side / 2;
    painter.drawLine(left + 2, top + middle, left + side - 3, top + middle);
    if (state == 1)
        painter.drawLine(left + middle, top + 2, left + middle, top + side - 3);
}
