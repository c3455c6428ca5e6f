#include "memosource.h"

#include "ansi.h"
#include "sourcestrings.h"

#include <algorithm>

namespace {

// Never destroyed: a store that is a static of its own may be destroyed
// after any other static, and still unregisters itself.
std::vector<TCustomMemoSource*>& instances()
{
    static auto* list = new std::vector<TCustomMemoSource*>;
    return *list;
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
    m_strings.TabColumns().Clear();
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

void TCustomMemoSource::SetEncoding(TTextEncoding encoding)
{
    if (m_encoding == encoding)
        return;
    BeginUpdate(Reason::kEncoding);
    m_encoding = encoding;
    m_changeFlags |= Change::kRepaint;
    // The parser reads identifiers by the encoding: every line is parsed
    // again.
    if (m_parser)
        ResetAttributes();
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
    const TStringItem& item = m_strings.Item(line);
    if (!item.Has(TStringItem::kHasTab))
        return QByteArray(item.text, item.length);
    return m_tabStops.Expand(item.Text());
}

const TTabColumns::TIndex* TCustomMemoSource::TabIndex(int line) const
{
    const TStringItem& item = m_strings.Item(line);
    if (!item.Has(TStringItem::kHasTab) || item.length < TTabColumns::kThreshold)
        return nullptr;
    return &m_strings.TabColumns().Of(line, item.Text(), m_tabStops);
}

QByteArray TCustomMemoSource::LineSpan(int line, int from, int to) const
{
    if (!InRealLine(line) || to <= from)
        return {};
    const TStringItem& item = m_strings.Item(line);
    if (const TTabColumns::TIndex* index = TabIndex(line))
        return m_tabStops.ExpandSpan(item.Text(), from, to, TTabColumns::PlaceBeforeColumn(*index, from));
    if (item.Has(TStringItem::kHasTab))
        return m_tabStops.ExpandSpan(item.Text(), from, to);
    // Without tabs, columns are bytes.
    const int start = std::clamp(from, 0, item.length);
    return QByteArray(item.text + start, std::clamp(to, start, item.length) - start);
}

int TCustomMemoSource::LineLength(int line) const
{
    if (!InRealLine(line))
        return 0;
    const TStringItem& item = m_strings.Item(line);
    if (const TTabColumns::TIndex* index = TabIndex(line))
        return index->length;
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
    if (const TTabColumns::TIndex* index = TabIndex(line))
        return m_tabStops.ColumnToIndex(item.Text(), column, TTabColumns::PlaceBeforeColumn(*index, column));
    return m_tabStops.ColumnToIndex(item.Text(), column);
}

int TCustomMemoSource::DisplayColumn(int line, int index) const
{
    if (!InRealLine(line))
        return index;
    const TStringItem& item = m_strings.Item(line);
    if (!item.Has(TStringItem::kHasTab))
        return index;
    if (const TTabColumns::TIndex* kept = TabIndex(line))
        return m_tabStops.IndexToColumn(item.Text(), index, TTabColumns::PlaceBeforeIndex(*kept, index));
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
    m_foldGenerationAtStart = m_strings.Folds().Generation();
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

    KeepCaretShown();
    if (m_strings.Folds().Generation() != m_foldGenerationAtStart)
        m_changeFlags |= Change::kFolding;
    if (m_selectionMode != smNone && BlockBegin() == BlockEnd())
        m_selectionMode = smNone;
    if (m_selectionMode != m_savedModeAtStart || BlockBegin() != Position(kSavedBeginIndex)->Pos()
        || BlockEnd() != Position(kSavedEndIndex)->Pos())
        m_changeFlags |= Change::kSelection;
    if (m_changeFlags & Change::kText) {
        ++m_textVersion;
        // A match found before the edit may be gone or elsewhere now.
        if (m_found.Valid()) {
            m_found = TFoundMatch();
            m_changeFlags |= Change::kSearchMatch;
        }
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

void TCustomMemoSource::BeginCompound()
{
    if (m_compoundCount++ == 0)
        ++m_compoundSerial;
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
    if (m_encoding == teUtf8) {
        // Never inside a character: a step right goes over all of it, any
        // other move stops at its start.
        const int target = caret.column + dColumns;
        dColumns = SnapToChar(targetLine, target, dLines == 0 && dColumns > 0) - caret.column;
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
    // Only a line the user edited loses its blanks: passing through a line
    // never changes it.
    if (!InRealLine(line) || IsLineReadOnly(line) || line != CaretLine()
        || !m_strings.Item(line).Has(TStringItem::kEdited))
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
        // An empty text gets its first line silently: one empty line that
        // ends nowhere reads and saves the same.
        m_strings.InsertRaw(0, {});
        m_strings.Item(0).lineEnd = TStringItem::kEndNone;
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

void TCustomMemoSource::FlushUpdate()
{
    // Only a plain bracket can be flushed: one that keeps the selection puts
    // it back at its end.
    if (m_updateCount == 0 || m_keepSelectionDepth > 0)
        return;
    const int depth = m_updateCount;
    const int reason = m_updateReason;
    const bool groupStartPending = m_groupStartPending;
    m_updateCount = 1;
    EndUpdate();
    BeginUpdate(reason);
    // Still the same operation: the records go on in the same undo group.
    m_updateCount = depth;
    m_groupStartPending = groupStartPending;
}
