// Typing and deleting. Every command is one operation of the store (one
// outermost bracket with its own reason, so one undo step and one notice)
// built from the five editing operations, so that undo replays it exactly.
// Internal caret steps go through MoveCaretExactly: the view's caret hook is
// for the user's own movements only.

#include "memosource.h"

#include "ansi.h"

#include <QUuid>

#include <algorithm>

namespace {

bool g_overwriteMode = false;

bool isBlank(char c)
{
    return uchar(c) <= 32;
}

QByteArray blanks(int count)
{
    return QByteArray(std::max(0, count), ' ');
}

} // namespace

bool TCustomMemoSource::OverwriteMode()
{
    return g_overwriteMode;
}

void TCustomMemoSource::SetOverwriteMode(bool on)
{
    g_overwriteMode = on;
}

// -- pieces ----------------------------------------------------------------------

void TCustomMemoSource::CaretExactlyTo(TTextPos pos)
{
    const TTextPos caret = Caret();
    MoveCaretExactly(pos.line - caret.line, pos.column - caret.column);
}

void TCustomMemoSource::JumpCaret(TTextPos pos)
{
    const TTextPos caret = Caret();
    if (pos == caret)
        return;
    TUpdate update(*this, Reason::kCaretMove);
    if (pos.line != caret.line && !m_keepTrailingBlanks)
        TrimTrailingBlanks(caret.line);
    CaretExactlyTo(pos);
}

TTextPos TCustomMemoSource::ClampToText(TTextPos pos) const
{
    pos.line = std::max(0, pos.line);
    pos.column = std::max(0, pos.column);
    if (!m_options.testFlag(soBeyondFileEnd))
        pos.line = std::min(pos.line, std::max(0, LineCount() - 1));
    if (m_options.testFlag(soLimitEOL))
        pos.column = std::min(pos.column, LineLength(pos.line));
    pos.column = SnapToChar(pos.line, pos.column, false);
    return pos;
}

QList<QByteArray> TCustomMemoSource::SplitPieces(const QByteArray& text)
{
    QList<QByteArray> pieces = TStrings::SplitLines(text);
    if (!text.isEmpty() && (text.endsWith('\n') || text.endsWith('\r')))
        pieces.append(QByteArray());
    return pieces;
}

bool TCustomMemoSource::InsertAtCaret(const QByteArray& text)
{
    const int line = CaretLine();
    const int column = CaretColumn();
    if (text.isEmpty() || IsLineReadOnly(line))
        return false;
    // Behind the line's end the index counts the blanks that pad it.
    const int index = RawIndex(line, column);
    InsertString(text);
    CaretExactlyTo({line, DisplayColumn(line, index + int(text.size()))});
    return true;
}

void TCustomMemoSource::InsertPieces(const QList<QByteArray>& pieces)
{
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            if (IsLineReadOnly(CaretLine()))
                return;
            InsertLineBreak();
            CaretExactlyTo({CaretLine() + 1, 0});
        }
        InsertAtCaret(ConvertText(pieces[i]));
    }
}

void TCustomMemoSource::InsertColumns(const QList<QByteArray>& pieces)
{
    const TTextPos at = Caret();
    int width = 0;
    for (const QByteArray& piece : pieces)
        width = std::max(width, int(ConvertText(piece).size()));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const int line = at.line + int(i);
        CaretExactlyTo({line, at.column});
        if (IsLineReadOnly(line))
            continue;
        QByteArray piece = ConvertText(pieces[i]);
        // Text right of the column moves by the block's full width, so that
        // the block stays a rectangle.
        if (LineLength(line) > at.column)
            piece += blanks(width - int(piece.size()));
        InsertAtCaret(piece);
    }
}

void TCustomMemoSource::SplitTabAt(int line, int column)
{
    if (!InRealLine(line) || !m_strings.Item(line).Has(TStringItem::kHasTab))
        return;
    const std::string_view raw = m_strings.RawText(line);
    const int index = m_tabStops.ColumnToIndex(raw, column);
    if (index <= 0 || index > int(raw.size()) || raw[size_t(index - 1)] != '\t')
        return;
    const int start = m_tabStops.IndexToColumn(raw, index - 1);
    const int end = m_tabStops.IndexToColumn(raw, index);
    if (column <= start || column >= end)
        return;
    // The blanks go in behind the tab before the tab goes, so that the
    // positions before and behind it keep their places; so does the caret.
    const TTextPos caret = Caret();
    CaretExactlyTo({line, end});
    InsertString(blanks(end - start));
    CaretExactlyTo({line, start});
    DeleteChars(1);
    CaretExactlyTo(caret);
}

void TCustomMemoSource::DeleteColumns(int line, int from, int to)
{
    if (!InRealLine(line)) {
        CaretExactlyTo({line, from});
        return;
    }
    to = std::min(to, LineLength(line));
    if (from < to) {
        SplitTabAt(line, from);
        SplitTabAt(line, to);
    }
    CaretExactlyTo({line, from});
    if (from >= to)
        return;
    DeleteChars(RawIndex(line, to) - RawIndex(line, from));
}

void TCustomMemoSource::DeleteRange(TTextPos from, TTextPos to)
{
    CaretExactlyTo(from);
    if (!InRealLine(from.line) || to <= from)
        return;
    if (from.line == to.line) {
        DeleteColumns(from.line, from.column, to.column);
        return;
    }
    const int lastLine = std::min(to.line, LineCount() - 1);
    const int firstLength = LineLength(from.line);
    if (from.column < firstLength) {
        DeleteColumns(from.line, from.column, firstLength);
    } else if (from.column > firstLength && lastLine > from.line) {
        // The rest of the last line is to land at the start column.
        CaretExactlyTo({from.line, firstLength});
        InsertString(blanks(from.column - firstLength));
        CaretExactlyTo(from);
    }
    // Each following line is joined and what it brought is deleted; the
    // caret stays at the join, so no caret step is recorded between them.
    for (int line = from.line + 1; line <= lastLine; ++line) {
        const int next = from.line + 1;
        int count = int(m_strings.RawText(next).size());
        if (line == to.line) {
            SplitTabAt(next, to.column);
            count = std::min(RawIndex(next, to.column), int(m_strings.RawText(next).size()));
            CaretExactlyTo(from);
        }
        JoinLines();
        CaretExactlyTo(from);
        DeleteChars(count);
    }
    CaretExactlyTo(from);
}

bool TCustomMemoSource::SelectionWritable() const
{
    if (m_readOnly || !HasSelection())
        return false;
    const int last = std::min(BlockEnd().line, LineCount() - 1);
    for (int line = BlockBegin().line; line <= last; ++line) {
        if (IsLineReadOnly(line))
            return false;
    }
    return true;
}

bool TCustomMemoSource::DeleteSelectedText()
{
    if (!SelectionWritable())
        return false;
    const TTextPos begin = BlockBegin();
    const TTextPos end = BlockEnd();
    if (m_selectionMode == smBlock) {
        const int last = std::min(end.line, LineCount() - 1);
        for (int line = begin.line; line <= last; ++line)
            DeleteColumns(line, begin.column, end.column + 1);
        CaretExactlyTo(begin);
    } else {
        DeleteRange(begin, end);
    }
    SetSelectionMode(smNone);
    return true;
}

int TCustomMemoSource::LineIndent(int line) const
{
    const QByteArray text = LineText(line);
    for (int i = 0; i < text.size(); ++i) {
        if (!isBlank(text[i]))
            return i;
    }
    return -1;
}

QByteArray TCustomMemoSource::IndentText(int columns) const
{
    QByteArray text;
    int column = 0;
    if (m_options.testFlag(soUseTabCharacter) && m_options.testFlag(soOptimalFill)) {
        for (int stop = m_tabStops.NextStop(0); stop <= columns; stop = m_tabStops.NextStop(stop)) {
            text += '\t';
            column = stop;
        }
    }
    return text + blanks(columns - column);
}

int TCustomMemoSource::SmartTabColumn(int line, int column) const
{
    // The nearest non-empty line above decides: the start of its next word
    // right of the column.
    for (int above = line - 1; above >= 0; --above) {
        if (LineIndent(above) < 0)
            continue;
        const QByteArray text = LineText(above);
        int i = column;
        while (i < text.size() && !isBlank(text[i]))
            ++i;
        while (i < text.size() && isBlank(text[i]))
            ++i;
        return i < text.size() ? i : -1;
    }
    return -1;
}

int TCustomMemoSource::AddMarker(TTextPos pos)
{
    auto* marker = static_cast<TPosition*>(m_positions.Add());
    marker->SetPos(pos);
    marker->OnAllowUpdate = [](const TPosition&, bool&, bool&) {};
    return marker->Index();
}

TTextPos TCustomMemoSource::TakeMarker(int index)
{
    const TTextPos pos = m_positions.At(index)->Pos();
    m_positions.Delete(index);
    return pos;
}

// -- typing ----------------------------------------------------------------------

void TCustomMemoSource::TypeChar(char ch)
{
    TypeChar(QByteArray(1, ch));
}

void TCustomMemoSource::TypeChar(const QByteArray& character)
{
    if (character.isEmpty())
        return;
    if (character == "\r" || character == "\n") {
        NewLine();
        return;
    }
    if (m_readOnly)
        return;
    TUpdate update(*this, Reason::kTypeChar);
    bool replacedBlock = false;
    if (m_options.testFlag(soOverwriteBlocks) && HasSelection()) {
        if (!DeleteSelectedText())
            return;
        replacedBlock = true;
    }
    const int line = CaretLine();
    const int column = CaretColumn();
    if (IsLineReadOnly(line))
        return;
    if (OverwriteMode() && !replacedBlock && InRealLine(line) && column < LineLength(line)) {
        SplitTabAt(line, column);
        DeleteChars(std::max(1, NextCharColumn(line, column) - column));
    }
    InsertAtCaret(ConvertText(character));
}

void TCustomMemoSource::NewLine()
{
    if (m_readOnly)
        return;
    TUpdate update(*this, Reason::kNewLine);
    if (m_options.testFlag(soOverwriteBlocks) && HasSelection() && !OverwriteMode() && !DeleteSelectedText())
        return;
    const int line = CaretLine();
    const int column = CaretColumn();
    int indent = 0;
    if (m_options.testFlag(soAutoIndent)) {
        indent = LineIndent(line);
        if (indent >= 0 && !OverwriteMode())
            indent = std::min(indent, column);
        for (int above = line - 1; indent < 0 && above >= 0 && m_options.testFlag(soUsePrevIndent); --above)
            indent = LineIndent(above);
        indent = std::max(indent, 0);
    }

    if (OverwriteMode()) {
        // Overwriting, Enter only steps to the next line; below the last
        // line one is added.
        if (line + 1 >= LineCount()) {
            const int last = std::max(0, std::max(line, LineCount() - 1));
            if (IsLineReadOnly(last))
                return;
            CaretExactlyTo({last, InRealLine(last) ? LineLength(last) : 0});
            InsertLineBreak();
            CaretExactlyTo({last, column});
        }
        JumpCaret({line + 1, indent});
        return;
    }

    if (IsLineReadOnly(line))
        return;
    InsertLineBreak();
    if (!m_keepTrailingBlanks)
        TrimTrailingBlanks(line);
    CaretExactlyTo({line + 1, 0});
    if (indent == 0)
        return;
    // Text carried down is indented; an empty new line only gets the caret
    // at the indent, unless the caret may not stand behind a line's end.
    if (!m_strings.RawText(line + 1).empty() || m_options.testFlag(soLimitEOL))
        InsertAtCaret(IndentText(indent));
    else
        CaretExactlyTo({line + 1, indent});
}

void TCustomMemoSource::Tab()
{
    if (m_readOnly)
        return;
    const int tabWidth = m_tabStops.NextStop(0);
    if (HasSelection() && BlockBegin().line != BlockEnd().line) {
        TUpdate update(*this, Reason::kTab);
        ShiftLines(false, tabWidth, m_options.testFlag(soUseTabCharacter) ? QByteArray("\t") : blanks(tabWidth));
        return;
    }
    const int line = CaretLine();
    const int column = CaretColumn();
    int target = m_options.testFlag(soSmartTab) ? SmartTabColumn(line, column) : -1;
    if (target <= column)
        target = m_tabStops.NextStop(column);
    TUpdate update(*this, Reason::kTab);
    if (OverwriteMode()) {
        JumpCaret(ClampToText({line, target}));
        return;
    }
    if (m_options.testFlag(soUseTabCharacter))
        InsertAtCaret("\t");
    else
        InsertAtCaret(blanks(target - column));
}

void TCustomMemoSource::BackTab()
{
    if (HasSelection() && BlockBegin().line != BlockEnd().line) {
        if (m_readOnly)
            return;
        TUpdate update(*this, Reason::kBackTab);
        ShiftLines(true, m_tabStops.NextStop(0), {});
        return;
    }
    if (CaretColumn() == 0)
        return;
    TUpdate update(*this, Reason::kBackTab);
    JumpCaret({CaretLine(), m_tabStops.PreviousStop(CaretColumn())});
}

// -- deleting ----------------------------------------------------------------------

void TCustomMemoSource::JoinWithPrevious()
{
    const int line = CaretLine();
    if (line == 0)
        return;
    if (line >= LineCount()) {
        // Below the text there is no line break to remove: the caret steps up.
        JumpCaret({line - 1, InRealLine(line - 1) ? LineLength(line - 1) : 0});
        return;
    }
    if (IsLineReadOnly(line) || IsLineReadOnly(line - 1))
        return;
    CaretExactlyTo({line - 1, LineLength(line - 1)});
    JoinLines();
    KeepCaretOffSequence();
}

void TCustomMemoSource::KeepCaretOffSequence()
{
    // Bytes that meet where a line break or a character went may form one
    // sequence in a UTF-8 document (a stray lead byte and a stray
    // continuation byte): the caret between them goes to its start.
    const TTextPos caret = Caret();
    const int start = SnapToChar(caret.line, caret.column, false);
    if (start != caret.column)
        MoveCaretExactly(0, start - caret.column);
}

void TCustomMemoSource::JoinNextPadded()
{
    const int line = CaretLine();
    const int column = CaretColumn();
    if (line + 1 >= LineCount() || IsLineReadOnly(line) || IsLineReadOnly(line + 1))
        return;
    const int length = LineLength(line);
    if (column > length) {
        // The next line's text lands where the caret stands.
        CaretExactlyTo({line, length});
        InsertString(blanks(column - length));
        CaretExactlyTo({line, column});
    }
    JoinLines();
    KeepCaretOffSequence();
}

void TCustomMemoSource::Backspace()
{
    if (m_readOnly)
        return;
    TUpdate update(*this, Reason::kBackspace);
    if (m_options.testFlag(soOverwriteBlocks) && HasSelection()) {
        DeleteSelectedText();
        return;
    }
    const int line = CaretLine();
    const int column = CaretColumn();
    if (column == 0) {
        JoinWithPrevious();
        return;
    }
    if (!InRealLine(line) || column > LineLength(line)) {
        // Behind the line's end there is nothing to delete: the caret steps left.
        MoveCaretExactly(0, -1);
        return;
    }
    if (IsLineReadOnly(line))
        return;
    // Blanks in the display text are blanks or tabs in the stored text: the
    // line is looked at where it stands, not copied.
    const std::string_view raw = m_strings.RawText(line);
    const size_t rawColumn = std::min(raw.size(), size_t(RawIndex(line, column)));
    const bool inIndent = std::all_of(raw.begin(), raw.begin() + ptrdiff_t(rawColumn), isBlank);
    if (m_options.testFlag(soBackUnindents) && inIndent) {
        // Back to the indent of the nearest line above that is indented less.
        int target = 0;
        for (int above = line - 1; above >= 0; --above) {
            const int indent = LineIndent(above);
            if (indent >= 0 && indent < column) {
                target = indent;
                break;
            }
        }
        DeleteColumns(line, target, column);
        return;
    }
    const int start = CharStartColumn(line, column - 1);
    if (column - start > 1) {
        // A multi-byte character (with its marks) goes as a whole; it holds
        // no tab, so its columns are its bytes.
        CaretExactlyTo({line, start});
        DeleteChars(column - start);
        KeepCaretOffSequence();
        return;
    }
    const int index = RawIndex(line, column);
    CaretExactlyTo({line, DisplayColumn(line, index - 1)});
    DeleteChars(1);
    KeepCaretOffSequence();
}

void TCustomMemoSource::DeleteChar()
{
    if (m_readOnly)
        return;
    TUpdate update(*this, Reason::kDeleteChar);
    if (m_options.testFlag(soOverwriteBlocks) && HasSelection()) {
        DeleteSelectedText();
        return;
    }
    const int line = CaretLine();
    const int column = CaretColumn();
    if (!InRealLine(line) || IsLineReadOnly(line))
        return;
    if (column < LineLength(line)) {
        SplitTabAt(line, column);
        DeleteChars(std::max(1, NextCharColumn(line, column) - column));
        KeepCaretOffSequence();
    } else {
        JoinNextPadded();
    }
}

void TCustomMemoSource::DeleteWordLeft()
{
    if (m_readOnly)
        return;
    TUpdate update(*this, Reason::kDeleteWordLeft);
    const int line = CaretLine();
    const int column = CaretColumn();
    if (column == 0) {
        JoinWithPrevious();
        return;
    }
    if (!InRealLine(line)) {
        CaretExactlyTo({line, 0});
        return;
    }
    if (IsLineReadOnly(line))
        return;
    const QByteArray text = LineText(line);
    const int end = std::min(column, int(text.size()));
    const int start = WordLeftColumn(text, end);
    DeleteColumns(line, start, end);
}

void TCustomMemoSource::DeleteWordRight()
{
    if (m_readOnly)
        return;
    TUpdate update(*this, Reason::kDeleteWordRight);
    const int line = CaretLine();
    const int column = CaretColumn();
    if (!InRealLine(line) || IsLineReadOnly(line))
        return;
    const QByteArray text = LineText(line);
    if (column >= text.size()) {
        JoinNextPadded();
        return;
    }
    DeleteColumns(line, column, WordRightColumn(text, column));
}

void TCustomMemoSource::DeleteLine()
{
    const int line = CaretLine();
    if (!InRealLine(line) || IsLineReadOnly(line))
        return;
    TUpdate update(*this, Reason::kDeleteCaretLine);
    const int column = CaretColumn();
    CaretExactlyTo({line, 0});
    DeleteChars(int(m_strings.RawText(line).size()));
    // The emptied line takes the next one's place; the last line stays, empty.
    if (line + 1 < LineCount() && !IsLineReadOnly(line + 1))
        JoinLines();
    CaretExactlyTo(ClampToText({line, column}));
}

void TCustomMemoSource::DeleteToLineEnd()
{
    const int line = CaretLine();
    if (!InRealLine(line) || IsLineReadOnly(line) || CaretColumn() >= LineLength(line))
        return;
    TUpdate update(*this, Reason::kDeleteToLineEnd);
    DeleteColumns(line, CaretColumn(), LineLength(line));
}

// -- inserting text ------------------------------------------------------------------

void TCustomMemoSource::InsertText(const QByteArray& text)
{
    if (text.isEmpty() || IsLineReadOnly(CaretLine()))
        return;
    TUpdate update(*this, Reason::kInsertTextAtCaret);
    InsertPieces(SplitPieces(text));
}

void TCustomMemoSource::ReplaceSelection(const QByteArray& text)
{
    if (m_readOnly)
        return;
    TUpdate update(*this, Reason::kReplaceSelection);
    if (HasSelection() && !DeleteSelectedText())
        return;
    if (!text.isEmpty() && !IsLineReadOnly(CaretLine()))
        InsertPieces(SplitPieces(text));
}

void TCustomMemoSource::InsertGuid()
{
    const QByteArray guid = QUuid::createUuid().toByteArray(QUuid::WithBraces).toUpper();
    TUpdate update(*this, Reason::kInsertGuid);
    InsertText("['" + guid + "']");
}
