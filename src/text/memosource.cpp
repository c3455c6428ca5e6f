#include "memosource.h"

#include "ansi.h"
#include "sourcestrings.h"

#include <algorithm>

namespace {

std::vector<TCustomMemoSource*>& instances()
{
    static std::vector<TCustomMemoSource*> list;
    return list;
}

} // namespace

TCustomMemoSource::TCustomMemoSource(TComponent* owner)
    : TComponent(owner),
      m_lines(std::make_unique<TExternalStrings>(*this)),
      m_selectionLines(std::make_unique<TSelectionStrings>(*this)),
      m_options(Defaults::kOptions)
{
    // Caret, block begin, block end and the two snapshots of the block.
    for (int i = 0; i < 5; ++i)
        m_positions.Add();
    // The block carries the shift permission: both coordinates follow edits
    // unless the selection is a column block.
    auto allowBlock = [this](const TPosition&, bool& column, bool& line) {
        column = line = m_selectionMode != smBlock;
    };
    Position(kBlockBeginIndex)->OnAllowUpdate = allowBlock;
    Position(kBlockEndIndex)->OnAllowUpdate = allowBlock;

    m_strings.OnGetTransform = [this](int, std::string_view raw) { return m_tabStops.Expand(raw); };
    SetDelimeters(Defaults::kDelimeters);
    m_codeTemplates = new TCodeTemplates(this);
    instances().push_back(this);
}

TCustomMemoSource::~TCustomMemoSource()
{
    auto& list = instances();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (m_parser)
        m_parser->RemoveListener(this);
}

const std::vector<TCustomMemoSource*>& TCustomMemoSource::Instances()
{
    return instances();
}

void TCustomMemoSource::Loaded()
{
    BeginUpdate(Reason::kLoaded);
    ClearUndo();
    SetPosition(kCaretIndex, {0, 0});
    EndUpdate();
}

// -- settings ------------------------------------------------------------------

void TCustomMemoSource::SetOptions(TStringsOptions options)
{
    // Tab characters and smart tabs never hold together: the one newly
    // asked for wins.
    if (options.testFlag(soUseTabCharacter) && !m_options.testFlag(soUseTabCharacter))
        options &= ~TStringsOptions(soSmartTab);
    else if (m_options.testFlag(soUseTabCharacter) && options.testFlag(soSmartTab))
        options &= ~TStringsOptions(soUseTabCharacter);
    const bool beyondEndDropped = m_options.testFlag(soBeyondFileEnd) && !options.testFlag(soBeyondFileEnd);
    m_options = options;
    if (beyondEndDropped && CaretLine() > std::max(0, LineCount() - 1))
        SetCaret({std::max(0, LineCount() - 1), CaretColumn()});
}

void TCustomMemoSource::SetTabStops(const QString& text)
{
    m_tabStops.Set(text);
    if (m_options.testFlag(soUseTabCharacter)) {
        m_longestDirty = true;
        BeginUpdate(Reason::kAttributesReset);
        MarkChanged(0, TMemoChange::kToEnd);
        ResetAttributes();
        EndUpdate();
    }
}

void TCustomMemoSource::SetSpacesInTab(int spaces)
{
    m_spacesInTab = (spaces <= 0 || spaces > 10) ? 8 : spaces;
}

void TCustomMemoSource::SetBlockIndent(int indent)
{
    m_blockIndent = std::max(0, indent);
}

void TCustomMemoSource::SetReadOnly(bool readOnly)
{
    if (m_readOnly == readOnly)
        return;
    BeginUpdate(Reason::kReadOnly);
    m_readOnly = readOnly;
    m_changeFlags |= Change::kReadOnly;
    EndUpdate();
}

void TCustomMemoSource::SetBlockOption(TBlockOption option)
{
    if (m_blockOption == option)
        return;
    m_blockOption = option;
    ConvertSelectionForBlockOption();
}

void TCustomMemoSource::ConvertSelectionForBlockOption()
{
    int mode = m_selectionMode;
    if (mode == smStream && m_blockOption == bkBlockSel)
        mode = smBlock;
    else if (mode == smBlock && m_blockOption == bkStreamSel)
        mode = smStream;
    else if (m_blockOption == bkNone)
        mode = smNone;
    if (mode != m_selectionMode)
        SetSelectionMode(mode);
}

void TCustomMemoSource::SetAllowUndo(bool allow)
{
    if (!allow)
        ClearUndo();
    m_allowUndo = allow;
}

void TCustomMemoSource::SetUndoLimit(int limit)
{
    m_undoLimit = std::max(0, limit);
}

void TCustomMemoSource::SetHighlightUrls(bool on)
{
    if (m_highlightUrls == on)
        return;
    m_highlightUrls = on;
    ResetAttributes();
}

void TCustomMemoSource::SetDelimeters(const QString& delimeters)
{
    m_delimeters = delimeters;
    m_delimiterSet = TCharSet();
    for (char c : Ansi::FromQString(delimeters))
        m_delimiterSet.Add(uchar(c));
}

void TCustomMemoSource::SetSyntaxParser(TSimpleParser* parser)
{
    if (m_parser == parser)
        return;
    if (m_parser)
        m_parser->RemoveListener(this);
    m_parser = parser;
    if (m_parser)
        m_parser->AddListener(this);
    ResetAttributes();
}

void TCustomMemoSource::ParserChanged(TSimpleParser* parser)
{
    if (parser == m_parser)
        ResetAttributes();
}

void TCustomMemoSource::ParserDestroyed(TSimpleParser* parser)
{
    if (parser != m_parser)
        return;
    m_parser = nullptr;
    ResetAttributes();
}

// -- lines ---------------------------------------------------------------------

QByteArray TCustomMemoSource::LineText(int line) const
{
    if (!InRealLine(line))
        return {};
    return m_tabStops.Expand(m_strings.RawText(line));
}

int TCustomMemoSource::LineLength(int line) const
{
    if (!InRealLine(line))
        return 0;
    const TStringItem& item = m_strings.Item(line);
    return item.Has(TStringItem::kHasTab) ? m_tabStops.ExpandedLength(item.Text()) : item.length;
}

int TCustomMemoSource::LongestLineLength() const
{
    if (m_longestDirty) {
        m_longestLength = 0;
        m_longestLine = 0;
        for (int i = 0; i < LineCount(); ++i) {
            int length = LineLength(i);
            if (length > m_longestLength) {
                m_longestLength = length;
                m_longestLine = i;
            }
        }
        m_longestDirty = false;
    }
    return m_longestLength;
}

int TCustomMemoSource::LongestLine() const
{
    LongestLineLength();
    return m_longestLine;
}

QByteArray TCustomMemoSource::ConvertText(const QByteArray& text) const
{
    if (m_options.testFlag(soUseTabCharacter) || !text.contains('\t'))
        return text;
    QByteArray converted = text;
    converted.replace('\t', QByteArray(m_spacesInTab, ' '));
    return converted;
}

int TCustomMemoSource::RawIndex(int line, int column) const
{
    if (!InRealLine(line))
        return column;
    const TStringItem& item = m_strings.Item(line);
    if (!item.Has(TStringItem::kHasTab))
        return column;
    return m_tabStops.ColumnToIndex(item.Text(), column);
}

int TCustomMemoSource::DisplayColumn(int line, int index) const
{
    if (!InRealLine(line))
        return index;
    const TStringItem& item = m_strings.Item(line);
    if (!item.Has(TStringItem::kHasTab))
        return index;
    return m_tabStops.IndexToColumn(item.Text(), index);
}

// -- update brackets -----------------------------------------------------------

void TCustomMemoSource::BeginUpdate(int reason)
{
    if (m_updateCount++ > 0)
        return;
    m_updateReason = reason;
    m_changeFlags = 0;
    m_linesAtStart = LineCount();
    m_changedFirst = TMemoChange::kToEnd;
    m_changedLast = -1;
    m_savedModeAtStart = m_selectionMode;
    m_modifiedAtStart = m_modified;
    m_groupStartPending = true;
    Position(kSavedBeginIndex)->Assign(*Position(kBlockBeginIndex));
    Position(kSavedEndIndex)->Assign(*Position(kBlockEndIndex));
}

void TCustomMemoSource::BeginUpdateKeepSelection(int reason)
{
    BeginUpdate(reason);
    if (m_keepSelectionDepth++ == 0)
        m_kept = {m_selectionMode, BlockBegin(), BlockEnd(), Caret()};
}

void TCustomMemoSource::EndUpdate()
{
    if (m_updateCount == 0)
        return;
    if (m_updateCount == 1 && m_keepSelectionDepth > 0) {
        // Put caret and selection back as they were; the caret goes back by a
        // recorded move so that undo replays from where the edits ended.
        m_keepSelectionDepth = 0;
        const TTextPos caret = Caret();
        if (caret != m_kept.caret)
            MoveCaretExactly(m_kept.caret.line - caret.line, m_kept.caret.column - caret.column);
        m_selectionMode = quint8(m_kept.mode);
        SetPosition(kBlockBeginIndex, m_kept.begin);
        SetPosition(kBlockEndIndex, m_kept.end);
    }
    if (--m_updateCount > 0)
        return;

    if (m_selectionMode != smNone && BlockBegin() == BlockEnd())
        m_selectionMode = smNone;
    if (m_selectionMode != m_savedModeAtStart || BlockBegin() != Position(kSavedBeginIndex)->Pos()
        || BlockEnd() != Position(kSavedEndIndex)->Pos())
        m_changeFlags |= Change::kSelection;
    if (m_changeFlags & Change::kText) {
        m_modified = true;
        m_parsedUpTo = std::min(m_parsedUpTo, std::max(0, m_changedFirst));
        m_longestDirty = true;
    }
    if (m_changeFlags & Change::kUndoRedo)
        m_modified = TextDiffersFromSave();
    if (LineCount() != m_linesAtStart)
        m_changeFlags |= Change::kLineCount;
    if (m_modified != m_modifiedAtStart)
        m_changeFlags |= Change::kModified;
    if (m_changedLast >= m_changedFirst)
        m_changeFlags |= Change::kRepaint;
    if (m_changeFlags == 0)
        return;
    TMemoChange change;
    change.flags = m_changeFlags;
    change.firstLine = m_changedLast >= m_changedFirst ? m_changedFirst : 0;
    change.lastLine = m_changedLast >= m_changedFirst ? m_changedLast : -1;
    m_changeFlags = 0;
    m_views.Notify(change);
}

void TCustomMemoSource::EndCompound()
{
    if (m_compoundCount > 0)
        --m_compoundCount;
}

void TCustomMemoSource::MarkChanged(int first, int last)
{
    m_changedFirst = std::min(m_changedFirst, first);
    m_changedLast = std::max(m_changedLast, last);
}

// -- views ---------------------------------------------------------------------

int TCustomMemoSource::AttachView(std::function<void(const TMemoChange&)> listener)
{
    int handle = m_views.Add(std::move(listener));
    // Every view is told that all lines changed, so that the new one draws
    // everything.
    TMemoChange change;
    change.flags = Change::kAttach;
    change.firstLine = 0;
    change.lastLine = TMemoChange::kToEnd;
    m_views.Notify(change);
    return handle;
}

void TCustomMemoSource::DetachView(int handle)
{
    m_views.Remove(handle);
}

// -- state ---------------------------------------------------------------------

void TCustomMemoSource::SetModified(bool modified)
{
    if (m_modified == modified)
        return;
    BeginUpdate(m_updateCount > 0 ? m_updateReason : 0);
    m_modified = modified;
    EndUpdate();
}

void TCustomMemoSource::SetFileName(const QString& fileName)
{
    BeginUpdate(Reason::kFileName);
    if (m_fileName != fileName) {
        m_fileName = fileName;
        m_changeFlags |= Change::kFileName;
    }
    EndUpdate();
}

// -- positions -----------------------------------------------------------------

void TCustomMemoSource::ResetPositions()
{
    BeginUpdate(Reason::kResetPositions);
    for (int i = 0; i < m_positions.Count(); ++i)
        m_positions.At(i)->SetPos({0, 0});
    if (m_selectionMode != smNone || m_positions.At(kCaretIndex)->Pos() != TTextPos{0, 0})
        m_changeFlags |= Change::kCaretMoved;
    m_selectionMode = smNone;
    EndUpdate();
}

bool TCustomMemoSource::MayShift(const TPosition& position, bool& column, bool& line) const
{
    if (!position.OnAllowUpdate)
        return false;
    column = line = true;
    position.OnAllowUpdate(position, column, line);
    return column || line;
}

void TCustomMemoSource::ShiftForInsert(int count)
{
    const TTextPos caret = Caret();
    for (int i = 0; i < m_positions.Count(); ++i) {
        TPosition& p = *m_positions.At(i);
        bool column, line;
        if (p.Line() != caret.line || !MayShift(p, column, line) || !column)
            continue;
        // The block begin moves only when strictly behind the caret, so that
        // text typed at the start of a block stays outside it.
        const bool behind = i == kBlockBeginIndex ? p.Column() > caret.column : p.Column() >= caret.column;
        if (behind)
            p.SetColumn(p.Column() + count);
    }
    for (int n = 0; n < kBookmarkCount; ++n) {
        if (m_bookmarkSet[n] && m_bookmarks[n].line == caret.line && m_bookmarks[n].column > caret.column)
            m_bookmarks[n].column += count;
    }
}

void TCustomMemoSource::ShiftForDelete(int count)
{
    const TTextPos caret = Caret();
    for (int i = 0; i < m_positions.Count(); ++i) {
        TPosition& p = *m_positions.At(i);
        bool column, line;
        if (p.Line() != caret.line || !MayShift(p, column, line) || !column)
            continue;
        if (p.Column() > caret.column)
            p.SetColumn(std::max(caret.column, p.Column() - count));
    }
    for (int n = 0; n < kBookmarkCount; ++n) {
        TTextPos& b = m_bookmarks[n];
        if (m_bookmarkSet[n] && b.line == caret.line && b.column > caret.column)
            b.column = std::max(caret.column, b.column - count);
    }
}

void TCustomMemoSource::ShiftForLineBreak(int column)
{
    const TTextPos caret = Caret();
    for (int i = 0; i < m_positions.Count(); ++i) {
        TPosition& p = *m_positions.At(i);
        bool mayColumn, mayLine;
        if (p.Line() < caret.line || !MayShift(p, mayColumn, mayLine))
            continue;
        if (p.Line() > caret.line) {
            if (mayLine)
                p.SetLine(p.Line() + 1);
            continue;
        }
        const bool behind = i == kBlockBeginIndex ? p.Column() > column : p.Column() >= column;
        if (behind && mayLine) {
            p.SetLine(p.Line() + 1);
            if (mayColumn)
                p.SetColumn(p.Column() - column);
        }
    }
    for (int n = 0; n < kBookmarkCount; ++n) {
        TTextPos& b = m_bookmarks[n];
        if (!m_bookmarkSet[n] || b.line < caret.line)
            continue;
        if (b.line > caret.line) {
            ++b.line;
        } else if (b.column >= column && (column == 0 || b.column > column)) {
            // A bookmark at the start of a line that is pushed down follows
            // its text.
            ++b.line;
            b.column -= column;
        }
    }
}

void TCustomMemoSource::ShiftForJoin(int joinColumn)
{
    const int line = CaretLine();
    for (int i = 0; i < m_positions.Count(); ++i) {
        TPosition& p = *m_positions.At(i);
        bool mayColumn, mayLine;
        if (p.Line() <= line || !MayShift(p, mayColumn, mayLine) || !mayLine)
            continue;
        if (p.Line() == line + 1) {
            p.SetLine(line);
            if (mayColumn)
                p.SetColumn(p.Column() + joinColumn);
        } else {
            p.SetLine(p.Line() - 1);
        }
    }
    for (int n = 0; n < kBookmarkCount; ++n) {
        TTextPos& b = m_bookmarks[n];
        if (!m_bookmarkSet[n] || b.line <= line)
            continue;
        if (b.line == line + 1) {
            b.line = line;
            b.column += joinColumn;
        } else {
            --b.line;
        }
    }
}

bool TCustomMemoSource::IsLineReadOnly(int line) const
{
    if (m_readOnly)
        return true;
    // A line below the text can only come by breaking the last line at its
    // end, so it is as writable as the last line.
    if (line >= LineCount() && LineCount() > 0)
        line = LineCount() - 1;
    return InRealLine(line) && m_strings.Item(line).Has(TStringItem::kReadOnly);
}

void TCustomMemoSource::SetLineReadOnly(int line, bool readOnly)
{
    if (!InRealLine(line))
        return;
    BeginUpdate(Reason::kReadOnly);
    m_strings.Item(line).Set(TStringItem::kReadOnly, readOnly);
    MarkChanged(line, line);
    EndUpdate();
}

// -- caret -----------------------------------------------------------------------

void TCustomMemoSource::MoveCaret(int dLines, int dColumns)
{
    if (OnBeforeCaretMove && !m_replaying)
        OnBeforeCaretMove(dLines, dColumns);
    const TTextPos caret = Caret();
    dLines = std::max(dLines, -caret.line);
    dColumns = std::max(dColumns, -caret.column);
    if (!m_options.testFlag(soBeyondFileEnd) && caret.line + dLines >= LineCount())
        dLines = std::max(0, LineCount() - 1) - caret.line;
    const int targetLine = caret.line + dLines;
    if (m_options.testFlag(soLimitEOL))
        dColumns = std::min(caret.column + dColumns, LineLength(targetLine)) - caret.column;
    if (m_options.testFlag(soCursorAlwaysOnTabs) && InRealLine(targetLine)) {
        // A column inside the blanks of a tab moves onto the tab.
        const std::string_view raw = m_strings.RawText(targetLine);
        const int target = caret.column + dColumns;
        const int index = m_tabStops.ColumnToIndex(raw, target);
        if (index > 0 && index <= int(raw.size()) && raw[size_t(index - 1)] == '\t') {
            const int tabStart = m_tabStops.IndexToColumn(raw, index - 1);
            if (tabStart < target && m_tabStops.IndexToColumn(raw, index) > target)
                dColumns = tabStart - caret.column;
        }
    }
    if (dLines == 0 && dColumns == 0)
        return;
    BeginUpdate(Reason::kCaretMove);
    if (dLines != 0 && !m_keepTrailingBlanks && !m_replaying)
        TrimTrailingBlanks(caret.line);
    MoveCaretExactly(dLines, dColumns);
    EndUpdate();
}

void TCustomMemoSource::MoveCaretExactly(int dLines, int dColumns)
{
    if (dLines == 0 && dColumns == 0)
        return;
    BeginUpdate(Reason::kCaretMove);
    AddUndo(ukCaretMoved, dLines, dColumns);
    TPosition* caret = Position(kCaretIndex);
    caret->SetPos({caret->Line() + dLines, caret->Column() + dColumns});
    m_changeFlags |= Change::kCaretMoved;
    EndUpdate();
}

void TCustomMemoSource::TrimTrailingBlanks(int line)
{
    if (!InRealLine(line) || IsLineReadOnly(line) || line != CaretLine())
        return;
    const std::string_view raw = m_strings.RawText(line);
    int length = int(raw.size());
    while (length > 0 && uchar(raw[size_t(length - 1)]) <= 32)
        --length;
    if (length == int(raw.size()))
        return;
    // The blanks are deleted as recorded edits: undo must be able to put
    // them back, or undoing a line break made before them would lose them.
    const int column = CaretColumn();
    const int blanksColumn = DisplayColumn(line, length);
    MoveCaretExactly(0, blanksColumn - column);
    DeleteChars(int(raw.size()) - length);
    MoveCaretExactly(0, column - blanksColumn);
}

void TCustomMemoSource::MaterializeCaretLine()
{
    if (LineCount() == 0) {
        // An empty text gets its first line silently: it reads the same.
        m_strings.InsertRaw(0, {});
        MarkChanged(0, 0);
    }
    const TTextPos caret = Caret();
    if (caret.line < LineCount())
        return;
    // Lines below the text are added by recorded line breaks at the end of
    // the last line, so that undo removes them again.
    const int last = LineCount() - 1;
    MoveCaretExactly(last - caret.line, LineLength(last) - caret.column);
    while (CaretLine() < caret.line) {
        InsertLineBreak();
        MoveCaretExactly(1, -CaretColumn());
    }
    MoveCaretExactly(0, caret.column - CaretColumn());
}

// -- selection -------------------------------------------------------------------

int TCustomMemoSource::SelectionType(int requested)
{
    switch (m_blockOption) {
    case bkStreamSel: requested = smStream; break;
    case bkBlockSel: requested = smBlock; break;
    case bkNone: requested = smNone; break;
    case bkBoth: break;
    }
    if (OnGetSelectionType)
        OnGetSelectionType(*this, requested);
    return std::clamp(requested, int(smNone), int(smBlock));
}

void TCustomMemoSource::SetSelectionMode(int mode)
{
    mode = std::clamp(mode, 0, 2);
    if (mode == m_selectionMode)
        return;
    BeginUpdate(Reason::kSelection);
    m_selectionMode = quint8(mode);
    NormalizeSelection();
    EndUpdate();
}

void TCustomMemoSource::NormalizeSelection()
{
    TTextPos begin = BlockBegin();
    TTextPos end = BlockEnd();
    if (m_selectionMode == smBlock) {
        TTextPos topLeft{std::min(begin.line, end.line), std::min(begin.column, end.column)};
        TTextPos bottomRight{std::max(begin.line, end.line), std::max(begin.column, end.column)};
        begin = topLeft;
        end = bottomRight;
    } else if (end < begin) {
        std::swap(begin, end);
    }
    SetPosition(kBlockBeginIndex, begin);
    SetPosition(kBlockEndIndex, end);
}

void TCustomMemoSource::SetSelection(TTextPos begin, TTextPos end, int mode)
{
    BeginUpdate(Reason::kSetSelection);
    if (mode == smNone)
        mode = m_selectionMode == smNone ? int(smStream) : int(m_selectionMode);
    m_selectionMode = quint8(SelectionType(mode));
    SetPosition(kBlockBeginIndex, begin);
    SetPosition(kBlockEndIndex, end);
    NormalizeSelection();
    EndUpdate();
}

void TCustomMemoSource::ExtendSelection(TTextPos oldCaret, TTextPos newCaret, int mode)
{
    BeginUpdate(Reason::kSelection);
    mode = SelectionType(mode);
    if (mode == smNone) {
        m_selectionMode = smNone;
        EndUpdate();
        return;
    }
    TTextPos anchor = oldCaret;
    if (m_selectionMode != smNone) {
        const TTextPos begin = BlockBegin();
        const TTextPos end = BlockEnd();
        if (m_selectionMode == smBlock) {
            // Any corner of the rectangle may be the one at the caret; the
            // opposite corner stays.
            const bool top = oldCaret.line == begin.line;
            const bool bottom = oldCaret.line == end.line;
            const bool left = oldCaret.column == begin.column;
            const bool right = oldCaret.column == end.column;
            if ((top || bottom) && (left || right))
                anchor = {top ? end.line : begin.line, left ? end.column : begin.column};
        } else if (oldCaret == begin) {
            anchor = end;
        } else if (oldCaret == end) {
            anchor = begin;
        }
    }
    m_selectionMode = quint8(mode);
    SetPosition(kBlockBeginIndex, anchor);
    SetPosition(kBlockEndIndex, newCaret);
    NormalizeSelection();
    EndUpdate();
}

bool TCustomMemoSource::SelectedColumns(int line, int& left, int& right) const
{
    if (m_selectionMode == smNone)
        return false;
    const TTextPos begin = BlockBegin();
    const TTextPos end = BlockEnd();
    if (line < begin.line || line > end.line)
        return false;
    if (m_selectionMode == smBlock) {
        // A column block takes its right edge column too.
        left = begin.column;
        right = end.column + 1;
        return true;
    }
    left = line == begin.line ? begin.column : 0;
    right = line == end.line ? end.column : TMemoChange::kToEnd;
    return right > left || line != end.line;
}

bool TCustomMemoSource::IsSelected(int line, int column) const
{
    int left, right;
    return SelectedColumns(line, left, right) && column >= left && column < right;
}

QByteArray TCustomMemoSource::SelectedPart(int line) const
{
    int left, right;
    if (!SelectedColumns(line, left, right))
        return {};
    const QByteArray text = LineText(line);
    if (left >= text.size())
        return {};
    return text.mid(left, right == TMemoChange::kToEnd ? -1 : right - left);
}

QByteArray TCustomMemoSource::SelectedText() const
{
    if (m_selectionMode == smNone)
        return {};
    QByteArray text;
    const TTextPos begin = BlockBegin();
    const TTextPos end = BlockEnd();
    for (int line = begin.line; line <= end.line; ++line) {
        if (line > begin.line)
            text += "\r\n";
        text += SelectedPart(line);
    }
    return text;
}

// -- bookmarks -----------------------------------------------------------------

namespace {

int bookmarkSlot(int n)
{
    if (n == 0)
        n = 10;
    return (n >= 1 && n <= 10) ? n - 1 : -1;
}

} // namespace

void TCustomMemoSource::ToggleBookmark(int n)
{
    const int slot = bookmarkSlot(n);
    if (slot < 0)
        return;
    if (m_bookmarkSet[slot] && m_bookmarks[slot].line == CaretLine())
        ClearBookmark(n);
    else
        SetBookmark(n, Caret());
}

void TCustomMemoSource::SetBookmark(int n, TTextPos pos)
{
    const int slot = bookmarkSlot(n);
    if (slot < 0)
        return;
    BeginUpdate(0);
    if (m_bookmarkSet[slot])
        MarkChanged(m_bookmarks[slot].line, m_bookmarks[slot].line);
    m_bookmarkSet[slot] = true;
    m_bookmarks[slot] = pos;
    MarkChanged(pos.line, pos.line);
    EndUpdate();
}

void TCustomMemoSource::ClearBookmark(int n)
{
    const int slot = bookmarkSlot(n);
    if (slot < 0 || !m_bookmarkSet[slot])
        return;
    BeginUpdate(0);
    m_bookmarkSet[slot] = false;
    MarkChanged(m_bookmarks[slot].line, m_bookmarks[slot].line);
    EndUpdate();
}

bool TCustomMemoSource::IsBookmarkSet(int n) const
{
    const int slot = bookmarkSlot(n);
    return slot >= 0 && m_bookmarkSet[slot];
}

TTextPos TCustomMemoSource::BookmarkPos(int n) const
{
    const int slot = bookmarkSlot(n);
    return slot >= 0 && m_bookmarkSet[slot] ? m_bookmarks[slot] : TTextPos{};
}

bool TCustomMemoSource::GotoBookmark(int n)
{
    if (!IsBookmarkSet(n))
        return false;
    // A jump to a place, not a move by lines: the view's caret hook (which
    // counts wrapped rows) stays out of it.
    TUpdate update(*this, Reason::kCaretMove);
    JumpCaret(ClampToText(BookmarkPos(n)));
    return true;
}

quint16 TCustomMemoSource::BookmarksOnLine(int line) const
{
    quint16 set = 0;
    for (int slot = 0; slot < kBookmarkCount; ++slot) {
        if (m_bookmarkSet[slot] && m_bookmarks[slot].line == line)
            set |= quint16(1u << slot);
    }
    return set;
}

std::vector<int> TCustomMemoSource::BookmarkedLines() const
{
    std::vector<int> lines;
    for (int slot = 0; slot < kBookmarkCount; ++slot) {
        if (m_bookmarkSet[slot])
            lines.push_back(m_bookmarks[slot].line);
    }
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

// -- per-line view data ----------------------------------------------------------

int TCustomMemoSource::LineStyle(int line) const
{
    return InRealLine(line) ? m_strings.Item(line).lineStyle : 0;
}

void TCustomMemoSource::SetLineStyle(int line, int style)
{
    if (!InRealLine(line))
        return;
    BeginUpdate(0);
    m_strings.Item(line).lineStyle = quint8(std::clamp(style, 0, 255));
    MarkChanged(line, line);
    EndUpdate();
}

int TCustomMemoSource::CollapseState(int line) const
{
    if (!InRealLine(line))
        return 2;
    switch (m_strings.Item(line).collapse) {
    case TStringItem::kExpanded: return 0;
    case TStringItem::kCollapsed: return 1;
    default: return 2;
    }
}

void TCustomMemoSource::SetCollapseState(int line, int state)
{
    if (!InRealLine(line))
        return;
    BeginUpdate(0);
    m_strings.Item(line).collapse = state == 0 ? TStringItem::kExpanded
                                    : state == 1 ? TStringItem::kCollapsed
                                                 : TStringItem::kNoCollapsePoint;
    // A collapsed point hides the lines up to the next collapse point.
    for (int i = line + 1; i < LineCount() && m_strings.Item(i).collapse == TStringItem::kNoCollapsePoint; ++i)
        m_strings.Item(i).Set(TStringItem::kHidden, state == 1);
    MarkChanged(line, TMemoChange::kToEnd);
    EndUpdate();
}

bool TCustomMemoSource::IsLineVisible(int line) const
{
    return !InRealLine(line) || !m_strings.Item(line).Has(TStringItem::kHidden);
}
