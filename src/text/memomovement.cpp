// Caret movement and the selection commands. A movement either extends the
// selection (in stream or column mode) or, unless soPersistentBlocks is set,
// ends it.

#include "memosource.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool isBlank(char c)
{
    return uchar(c) <= 32;
}

bool isOpening(char c)
{
    return c == '(' || c == '[' || c == '{';
}

char partner(char c)
{
    switch (c) {
    case '(': return ')';
    case '[': return ']';
    case '{': return '}';
    case ')': return '(';
    case ']': return '[';
    case '}': return '{';
    default: return '\0';
    }
}

} // namespace

// -- words -------------------------------------------------------------------------

bool TCustomMemoSource::WordAt(TTextPos pos, int& start, int& end) const
{
    if (!InRealLine(pos.line))
        return false;
    const QByteArray text = LineText(pos.line);
    const int n = int(text.size());
    int at = pos.column;
    if (at >= n || !IsWordChar(uchar(text[at]))) {
        // The word just before the position counts as well.
        if (at <= 0 || at > n || !IsWordChar(uchar(text[at - 1])))
            return false;
        --at;
    }
    start = at;
    while (start > 0 && IsWordChar(uchar(text[start - 1])))
        --start;
    end = at + 1;
    while (end < n && IsWordChar(uchar(text[end])))
        ++end;
    return true;
}

QByteArray TCustomMemoSource::WordAtCaret() const
{
    int start, end;
    if (!WordAt(Caret(), start, end))
        return {};
    return LineText(CaretLine()).mid(start, end - start);
}

int TCustomMemoSource::WordLeftColumn(const QByteArray& text, int column) const
{
    // Blanks, then one run of word characters or of other characters.
    int c = std::min(column, int(text.size()));
    while (c > 0 && isBlank(text[c - 1]))
        --c;
    if (c == 0)
        return 0;
    const bool word = IsWordChar(uchar(text[c - 1]));
    while (c > 0 && !isBlank(text[c - 1]) && IsWordChar(uchar(text[c - 1])) == word)
        --c;
    return c;
}

int TCustomMemoSource::WordRightColumn(const QByteArray& text, int column) const
{
    const int n = int(text.size());
    int c = column;
    if (c >= n)
        return n;
    if (!isBlank(text[c])) {
        const bool word = IsWordChar(uchar(text[c]));
        while (c < n && !isBlank(text[c]) && IsWordChar(uchar(text[c])) == word)
            ++c;
    }
    while (c < n && isBlank(text[c]))
        ++c;
    return c;
}

// -- movement ------------------------------------------------------------------------

void TCustomMemoSource::EndMovement(TTextPos oldCaret, int extend)
{
    if (extend != smNone)
        ExtendSelection(oldCaret, Caret(), extend);
    else if (HasSelection() && !m_options.testFlag(soPersistentBlocks))
        ClearSelection();
}

void TCustomMemoSource::MoveCaretBy(int dLines, int dColumns, int extend)
{
    TUpdate update(*this, Reason::kCaretMove);
    const TTextPos old = Caret();
    MoveCaret(dLines, dColumns);
    EndMovement(old, extend);
}

void TCustomMemoSource::MoveCaretTo(TTextPos pos, int extend)
{
    TUpdate update(*this, Reason::kCaretMove);
    const TTextPos old = Caret();
    JumpCaret(ClampToText(pos));
    EndMovement(old, extend);
}

void TCustomMemoSource::WordLeft(int extend)
{
    const int line = CaretLine();
    const int column = CaretColumn();
    if (column == 0) {
        if (line > 0)
            MoveCaretTo({line - 1, LineLength(line - 1)}, extend);
        return;
    }
    MoveCaretTo({line, WordLeftColumn(LineText(line), column)}, extend);
}

void TCustomMemoSource::WordRight(int extend)
{
    const int line = CaretLine();
    const QByteArray text = LineText(line);
    if (CaretColumn() < text.size()) {
        MoveCaretTo({line, WordRightColumn(text, CaretColumn())}, extend);
    } else if (line + 1 < LineCount()) {
        // From the line's end to the first word of the next line.
        MoveCaretTo({line + 1, std::max(0, LineIndent(line + 1))}, extend);
    }
}

void TCustomMemoSource::LineStart(int extend)
{
    MoveCaretTo({CaretLine(), 0}, extend);
}

void TCustomMemoSource::LineEnd(int extend)
{
    MoveCaretTo({CaretLine(), LineLength(CaretLine())}, extend);
}

void TCustomMemoSource::TextStart(int extend)
{
    MoveCaretTo({0, 0}, extend);
}

void TCustomMemoSource::TextEnd(int extend)
{
    const int last = std::max(0, LineCount() - 1);
    MoveCaretTo({last, LineLength(last)}, extend);
}

bool TCustomMemoSource::MatchingBracket(int extend)
{
    const int line = CaretLine();
    if (!InRealLine(line))
        return false;
    if (m_parser && m_parser->ReportsStructure()) {
        // By the structure: brackets in strings and comments do not count,
        // and a tag goes to its partner too.
        const TStructureMatch match = MatchAt(Caret());
        if (match.result != TStructureMatch::mrMatched)
            return false;
        MoveCaretTo({match.partnerLine, match.partnerColumn}, extend);
        return true;
    }
    const std::string_view raw = m_strings.RawText(line);
    int index = RawIndex(line, CaretColumn());
    if (index >= int(raw.size()) || !partner(raw[size_t(index)])) {
        if (index <= 0 || index > int(raw.size()) || !partner(raw[size_t(index - 1)]))
            return false;
        --index;
    }
    const char bracket = raw[size_t(index)];
    const char other = partner(bracket);
    const int step = isOpening(bracket) ? 1 : -1;
    int depth = 0;
    for (int l = line; l >= 0 && l < LineCount() && std::abs(l - line) <= kMatchReach; l += step) {
        const std::string_view text = m_strings.RawText(l);
        int i = l == line ? index : (step > 0 ? 0 : int(text.size()) - 1);
        for (; i >= 0 && i < int(text.size()); i += step) {
            if (text[size_t(i)] == bracket) {
                ++depth;
            } else if (text[size_t(i)] == other && --depth == 0) {
                MoveCaretTo({l, DisplayColumn(l, i)}, extend);
                return true;
            }
        }
    }
    return false;
}

void TCustomMemoSource::GotoBlockBegin()
{
    if (!HasSelection())
        return;
    TUpdate update(*this, Reason::kCaretMove);
    JumpCaret(BlockBegin());
}

void TCustomMemoSource::GotoBlockEnd()
{
    if (!HasSelection())
        return;
    TUpdate update(*this, Reason::kCaretMove);
    JumpCaret(BlockEnd());
}

bool TCustomMemoSource::GotoLineNumber(int number)
{
    if (number < 1 || number > std::max(1, LineCount()))
        return false;
    MoveCaretTo({number - 1, 0});
    return true;
}

// -- selection -------------------------------------------------------------------------

void TCustomMemoSource::SelectWord(TWordSelection kind)
{
    const int line = CaretLine();
    const int column = CaretColumn();
    if (!InRealLine(line))
        return;
    const QByteArray text = LineText(line);
    const int n = int(text.size());
    int start, end;
    if (!WordAt(Caret(), start, end)) {
        // On a run of blanks or of other characters: that run.
        if (column >= n)
            return;
        const bool blank = isBlank(text[column]);
        auto same = [&](int i) { return isBlank(text[i]) == blank && IsWordChar(uchar(text[i])) == IsWordChar(uchar(text[column])); };
        start = end = column;
        while (start > 0 && same(start - 1))
            --start;
        while (end < n && same(end))
            ++end;
    }
    if (kind == TWordSelection::WordWithSpace) {
        while (end < n && isBlank(text[end]))
            ++end;
    } else if (kind == TWordSelection::UntilNextWord) {
        while (end < n && !IsWordChar(uchar(text[end])))
            ++end;
    }
    TUpdate update(*this, Reason::kSelection);
    JumpCaret({line, end});
    SetSelection({line, start}, {line, end}, smStream);
}

void TCustomMemoSource::SelectLine()
{
    const int line = CaretLine();
    if (!InRealLine(line))
        return;
    const TTextPos end = line + 1 < LineCount() ? TTextPos{line + 1, 0} : TTextPos{line, LineLength(line)};
    TUpdate update(*this, Reason::kSelection);
    JumpCaret(end);
    SetSelection({line, 0}, end, smStream);
}

void TCustomMemoSource::SelectAll()
{
    if (LineCount() == 0)
        return;
    const TTextPos end{LineCount() - 1, LineLength(LineCount() - 1)};
    TUpdate update(*this, Reason::kSelection);
    JumpCaret(end);
    SetSelection({0, 0}, end, smStream);
}

void TCustomMemoSource::MarkBlockBegin()
{
    // Without a block both marks go to the caret (an empty block is not
    // shown); marking the end then spans from here.
    const TTextPos caret = Caret();
    const TTextPos end = HasSelection() && BlockEnd() > caret ? BlockEnd() : caret;
    SetSelection(caret, end);
}

void TCustomMemoSource::MarkBlockEnd()
{
    // The begin mark is kept while no block shows.
    const TTextPos caret = Caret();
    const TTextPos begin = BlockBegin() < caret ? BlockBegin() : caret;
    SetSelection(begin, caret);
}

void TCustomMemoSource::SelectPreviousWord()
{
    const int line = CaretLine();
    const QByteArray text = LineText(line);
    int start = std::min(CaretColumn(), int(text.size()));
    while (start > 0 && isBlank(text[start - 1]))
        --start;
    const int end = start;
    while (start > 0 && IsWordChar(uchar(text[start - 1])))
        --start;
    if (start == end)
        return;
    TUpdate update(*this, Reason::kSelection);
    const TTextPos old = Caret();
    JumpCaret({line, start});
    ExtendSelection(old, Caret(), smStream);
}
