// Characters and display cells of the store's lines. Only a UTF-8 document
// looks at the bytes; a line is read in place unless it holds a tab, whose
// blanks are columns too.

#include "memosource.h"

#include "utf8cells.h"

template <typename F>
static auto WithExpandedLine(const TCustomMemoSource& source, int line, F f)
{
    const TStringItem& item = source.Strings().Item(line);
    if (!item.Has(TStringItem::kHasTab))
        return f(item.Text());
    const QByteArray expanded = source.LineText(line);
    return f(std::string_view(expanded.constData(), size_t(expanded.size())));
}

int TCustomMemoSource::CellOfColumn(int line, int column) const
{
    if (m_encoding != teUtf8 || !InRealLine(line))
        return column;
    return WithExpandedLine(*this, line, [&](std::string_view text) { return Utf8Cells::CellOf(text, column); });
}

int TCustomMemoSource::ColumnAtOffset(int line, int offset, int cellWidth, bool nearest) const
{
    if (m_encoding != teUtf8 || !InRealLine(line)) {
        cellWidth = std::max(1, cellWidth);
        offset = std::max(0, offset);
        return nearest ? (offset + cellWidth / 2) / cellWidth : offset / cellWidth;
    }
    return WithExpandedLine(*this, line,
                            [&](std::string_view text) { return Utf8Cells::ColumnAt(text, offset, cellWidth, nearest); });
}

int TCustomMemoSource::CharsBeforeColumn(int line, int column) const
{
    if (m_encoding != teUtf8 || !InRealLine(line))
        return column;
    return WithExpandedLine(*this, line, [&](std::string_view text) { return Utf8Cells::CharCount(text, column); });
}

int TCustomMemoSource::CharStartColumn(int line, int column) const
{
    if (m_encoding != teUtf8 || !InRealLine(line))
        return column;
    return WithExpandedLine(*this, line, [&](std::string_view text) { return Utf8Cells::CharStart(text, column); });
}

int TCustomMemoSource::NextCharColumn(int line, int column) const
{
    if (m_encoding != teUtf8 || !InRealLine(line))
        return column + 1;
    return WithExpandedLine(*this, line, [&](std::string_view text) { return Utf8Cells::NextChar(text, column); });
}

int TCustomMemoSource::SnapToChar(int line, int column, bool forward) const
{
    if (m_encoding != teUtf8 || !InRealLine(line))
        return column;
    return WithExpandedLine(*this, line, [&](std::string_view text) {
        const int start = Utf8Cells::CharStart(text, column);
        return start == column || !forward ? start : Utf8Cells::NextChar(text, start);
    });
}
