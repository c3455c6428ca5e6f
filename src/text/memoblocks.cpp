// Block commands: copy, move and delete the selection, indent and outdent
// its lines, change the case of the block, the word or the line, and the
// OEM conversion of the whole text. All need a selection except the word,
// line and OEM commands; the case commands leave caret and selection as they
// were.

#include "memosource.h"

#include "ansi.h"
#include "utf8.h"

#include <QString>

#include <algorithm>
#include <cstring>

bool TCustomMemoSource::SelectedLines(int& first, int& last) const
{
    if (!HasSelection())
        return false;
    first = BlockBegin().line;
    last = BlockEnd().line;
    // A stream block ending at a line's start takes nothing of that line.
    if (m_selectionMode == smStream && BlockEnd().column == 0 && last > first)
        --last;
    last = std::min(last, LineCount() - 1);
    return first <= last;
}

bool TCustomMemoSource::CaretInSelection() const
{
    if (!HasSelection())
        return false;
    const TTextPos caret = Caret();
    const TTextPos begin = BlockBegin();
    const TTextPos end = BlockEnd();
    if (m_selectionMode == smBlock)
        return caret.line >= begin.line && caret.line <= end.line && caret.column >= begin.column
               && caret.column <= end.column + 1;
    return begin <= caret && caret <= end;
}

// -- copy, move, delete ------------------------------------------------------------------

void TCustomMemoSource::CopyBlock()
{
    if (!HasSelection() || IsLineReadOnly(CaretLine()))
        return;
    TUpdate update(*this, Reason::kCopyBlock);
    const TTextPos at = Caret();
    if (m_selectionMode == smBlock) {
        const TTextPos begin = BlockBegin();
        const TTextPos end = BlockEnd();
        QList<QByteArray> pieces;
        for (int line = begin.line; line <= end.line; ++line)
            pieces.append(SelectedPart(line));
        InsertColumns(pieces);
        CaretExactlyTo(at);
        SetSelection(at, {at.line + end.line - begin.line, at.column + end.column - begin.column}, smBlock);
    } else {
        InsertPieces(SplitPieces(SelectedText()));
        const TTextPos end = Caret();
        CaretExactlyTo(at);
        SetSelection(at, end, smStream);
    }
}

void TCustomMemoSource::MoveBlock()
{
    if (!SelectionWritable() || CaretInSelection() || IsLineReadOnly(CaretLine()))
        return;
    TUpdate update(*this, Reason::kMoveBlock);
    const int mode = m_selectionMode;
    const TTextPos begin = BlockBegin();
    const TTextPos end = BlockEnd();
    QList<QByteArray> pieces;
    if (mode == smBlock) {
        for (int line = begin.line; line <= end.line; ++line)
            pieces.append(SelectedPart(line));
    } else {
        pieces = SplitPieces(SelectedText());
    }
    // The caret's place is followed through the deletion.
    const int marker = AddMarker(Caret());
    DeleteSelectedText();
    const TTextPos at = TakeMarker(marker);
    CaretExactlyTo(at);
    if (mode == smBlock) {
        InsertColumns(pieces);
        CaretExactlyTo(at);
        SetSelection(at, {at.line + end.line - begin.line, at.column + end.column - begin.column}, smBlock);
    } else {
        InsertPieces(pieces);
        const TTextPos stop = Caret();
        CaretExactlyTo(at);
        SetSelection(at, stop, smStream);
    }
}

void TCustomMemoSource::DeleteBlock()
{
    if (!SelectionWritable())
        return;
    TUpdate update(*this, Reason::kDeleteBlock);
    DeleteSelectedText();
}

// -- indent ------------------------------------------------------------------------------

void TCustomMemoSource::ShiftLines(bool outdent, int columns, const QByteArray& unit)
{
    int first, last;
    if (columns <= 0 || !SelectedLines(first, last))
        return;
    // A column block shifts the text right of its left edge.
    const int edge = m_selectionMode == smBlock ? BlockBegin().column : 0;
    const int marker = AddMarker(Caret());
    for (int line = first; line <= last; ++line) {
        if (IsLineReadOnly(line))
            continue;
        if (outdent) {
            const QByteArray text = LineText(line);
            int count = 0;
            while (count < columns && edge + count < text.size() && text[edge + count] == ' ')
                ++count;
            if (count > 0)
                DeleteColumns(line, edge, edge + count);
        } else if (LineLength(line) > edge) {
            CaretExactlyTo({line, edge});
            InsertString(unit);
        }
    }
    CaretExactlyTo(TakeMarker(marker));
}

void TCustomMemoSource::IndentBlock()
{
    if (m_readOnly || !HasSelection())
        return;
    TUpdate update(*this, Reason::kIndentBlock);
    ShiftLines(false, m_blockIndent, QByteArray(m_blockIndent, ' '));
}

void TCustomMemoSource::UnindentBlock()
{
    if (m_readOnly || !HasSelection())
        return;
    TUpdate update(*this, Reason::kUnindentBlock);
    ShiftLines(true, m_blockIndent, {});
}

void TCustomMemoSource::QuoteBlock()
{
    int first, last;
    if (m_readOnly || !SelectedLines(first, last))
        return;
    TUpdate update(*this, Reason::kQuoteBlock);
    const int marker = AddMarker(Caret());
    for (int line = first; line <= last; ++line) {
        if (IsLineReadOnly(line))
            continue;
        CaretExactlyTo({line, 0});
        InsertString(">");
    }
    CaretExactlyTo(TakeMarker(marker));
}

// -- case --------------------------------------------------------------------------------

namespace {

// The case tables of UTF-8 text. Each character maps to one character of
// the same byte length or stays as it is, so that a converted run keeps its
// length and the selection around it stays where it was; the bytes of an
// invalid sequence stay as they are.
template <char32_t (*Map)(char32_t)>
QByteArray utf8Case(QByteArray text)
{
    char* p = text.data();
    char* const end = p + text.size();
    while (p < end) {
        if (uchar(*p) < 0x80) {
            *p = char(Map(char32_t(uchar(*p))));
            ++p;
            continue;
        }
        const int n = std::max(1, Utf8::SequenceLength(p, end));
        if (n > 1) {
            const char32_t mapped = Map(Utf8::Decode(p, n));
            const QByteArray bytes = QString::fromUcs4(&mapped, 1).toUtf8();
            if (bytes.size() == n)
                std::memcpy(p, bytes.constData(), size_t(n));
        }
        p += n;
    }
    return text;
}

char32_t toUpper(char32_t ch) { return QChar::toUpper(ch); }
char32_t toLower(char32_t ch) { return QChar::toLower(ch); }
char32_t toggle(char32_t ch)
{
    const char32_t upper = QChar::toUpper(ch);
    return upper != ch ? upper : QChar::toLower(ch);
}

} // namespace

TCustomMemoSource::TCaseConvert TCustomMemoSource::CaseConvert(TCaseKind kind) const
{
    const bool utf8 = m_encoding == teUtf8;
    switch (kind) {
    case TCaseKind::Upper:
        return utf8 ? &utf8Case<toUpper> : static_cast<TCaseConvert>(&Ansi::Upper);
    case TCaseKind::Lower:
        return utf8 ? &utf8Case<toLower> : static_cast<TCaseConvert>(&Ansi::Lower);
    default:
        return utf8 ? &utf8Case<toggle> : static_cast<TCaseConvert>(&Ansi::ToggleCase);
    }
}

void TCustomMemoSource::ReplaceRaw(int line, int from, const QByteArray& text)
{
    // Only the bytes that differ are replaced, so that an unchanged line
    // writes no record at all.
    const std::string_view raw = m_strings.RawText(line);
    const int n = std::min(int(text.size()), int(raw.size()) - from);
    int first = 0;
    while (first < n && raw[size_t(from + first)] == text[first])
        ++first;
    if (first == n)
        return;
    int last = n;
    while (last > first && raw[size_t(from + last - 1)] == text[last - 1])
        --last;
    CaretExactlyTo({line, DisplayColumn(line, from + first)});
    DeleteChars(last - first);
    InsertString(text.mid(first, last - first));
}

void TCustomMemoSource::ConvertLines(int first, int last, QByteArray (*convert)(QByteArray))
{
    for (int line = std::max(first, 0); line <= last && line < LineCount(); ++line) {
        if (IsLineReadOnly(line))
            continue;
        const std::string_view raw = m_strings.RawText(line);
        ReplaceRaw(line, 0, convert(QByteArray(raw.data(), qsizetype(raw.size()))));
    }
}

void TCustomMemoSource::ConvertBlock(QByteArray (*convert)(QByteArray))
{
    if (m_readOnly || !HasSelection())
        return;
    TUpdate update(*this, Reason::kChangeCase, true);
    const int last = std::min(BlockEnd().line, LineCount() - 1);
    for (int line = BlockBegin().line; line <= last; ++line) {
        int left, right;
        if (IsLineReadOnly(line) || !SelectedColumns(line, left, right))
            continue;
        const std::string_view raw = m_strings.RawText(line);
        const int size = int(raw.size());
        const int from = std::min(RawIndex(line, left), size);
        const int to = right == TMemoChange::kToEnd ? size : std::min(RawIndex(line, right), size);
        if (to > from)
            ReplaceRaw(line, from, convert(QByteArray(raw.data() + from, to - from)));
    }
}

void TCustomMemoSource::BlockToUpperCase()
{
    ConvertBlock(CaseConvert(TCaseKind::Upper));
}

void TCustomMemoSource::BlockToLowerCase()
{
    ConvertBlock(CaseConvert(TCaseKind::Lower));
}

void TCustomMemoSource::BlockToggleCase()
{
    ConvertBlock(CaseConvert(TCaseKind::Toggle));
}

void TCustomMemoSource::ConvertWord(QByteArray (*convert)(QByteArray))
{
    int start, end;
    const int line = CaretLine();
    if (m_readOnly || IsLineReadOnly(line) || !WordAt(Caret(), start, end))
        return;
    TUpdate update(*this, Reason::kChangeCase, true);
    const int from = RawIndex(line, start);
    const std::string_view raw = m_strings.RawText(line);
    ReplaceRaw(line, from, convert(QByteArray(raw.data() + from, RawIndex(line, end) - from)));
}

void TCustomMemoSource::WordToUpperCase()
{
    ConvertWord(CaseConvert(TCaseKind::Upper));
}

void TCustomMemoSource::WordToLowerCase()
{
    ConvertWord(CaseConvert(TCaseKind::Lower));
}

void TCustomMemoSource::ConvertCaretLine(QByteArray (*convert)(QByteArray))
{
    if (m_readOnly || !InRealLine(CaretLine()))
        return;
    TUpdate update(*this, Reason::kChangeCase, true);
    ConvertLines(CaretLine(), CaretLine(), convert);
}

void TCustomMemoSource::LineToUpperCase()
{
    ConvertCaretLine(CaseConvert(TCaseKind::Upper));
}

void TCustomMemoSource::LineToLowerCase()
{
    ConvertCaretLine(CaseConvert(TCaseKind::Lower));
}

void TCustomMemoSource::LineToggleCase()
{
    ConvertCaretLine(CaseConvert(TCaseKind::Toggle));
}

// -- OEM ---------------------------------------------------------------------------------

void TCustomMemoSource::ConvertToOem()
{
    // The OEM tables map single bytes: in UTF-8 they would break characters.
    if (m_readOnly || m_encoding == teUtf8)
        return;
    TUpdate update(*this, Reason::kOemConvert, true);
    ConvertLines(0, LineCount() - 1, &Ansi::ToOem);
}

void TCustomMemoSource::ConvertFromOem()
{
    if (m_readOnly || m_encoding == teUtf8)
        return;
    TUpdate update(*this, Reason::kOemConvert, true);
    ConvertLines(0, LineCount() - 1, &Ansi::FromOem);
}
