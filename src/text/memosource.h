#pragma once

#include "charset.h"
#include "component.h"
#include "internalstrings.h"
#include "memotypes.h"
#include "notifierlist.h"
#include "position.h"
#include "simpleparser.h"
#include "tabstops.h"
#include "undolist.h"

#include <QByteArray>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;
class TExternalStrings;
class TSelectionStrings;

// The text of one document, independent of any window: its lines with their
// per-line data, the caret and the selection, the editing operations, undo
// and redo, bookmarks, the lazily computed syntax attributes, and the change
// notices sent to every view attached to it.
//
// Every change runs inside an update bracket. At the end of the outermost
// bracket the store sends its views one change mask with the changed lines.
// All editing happens at the caret, which is what lets undo records replay
// relative to it.
class TCustomMemoSource : public TComponent, public TParserListener {
    Q_OBJECT

public:
    static constexpr int kBookmarkCount = 10;

    explicit TCustomMemoSource(TComponent* owner = nullptr);
    ~TCustomMemoSource() override;

    // -- settings ----------------------------------------------------------
    TStringsOptions Options() const { return m_options; }
    void SetOptions(TStringsOptions options);
    QString TabStops() const { return m_tabStops.Text(); }
    // Throws EInvalidTabRack and keeps the old list on bad text.
    void SetTabStops(const QString& text);
    const TTabStops& TabRack() const { return m_tabStops; }
    int SpacesInTab() const { return m_spacesInTab; }
    void SetSpacesInTab(int spaces);
    int BlockIndent() const { return m_blockIndent; }
    void SetBlockIndent(int indent);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    TBlockOption BlockOption() const { return m_blockOption; }
    void SetBlockOption(TBlockOption option);
    TOutFormatType OutFormat() const { return m_outFormat; }
    void SetOutFormat(TOutFormatType format) { m_outFormat = format; }
    bool AllowUndo() const { return m_allowUndo; }
    void SetAllowUndo(bool allow);
    int UndoLimit() const { return m_undoLimit; }
    void SetUndoLimit(int limit);
    QString TemplatesType() const { return m_templatesType; }
    void SetTemplatesType(const QString& type) { m_templatesType = type; }
    bool HighlightUrls() const { return m_highlightUrls; }
    void SetHighlightUrls(bool on);
    QString Delimeters() const { return m_delimeters; }
    void SetDelimeters(const QString& delimeters);
    const TCharSet& DelimiterSet() const { return m_delimiterSet; }
    TSimpleParser* SyntaxParser() const { return m_parser; }
    void SetSyntaxParser(TSimpleParser* parser);
    bool UseGlobalOptions() const { return m_useGlobalOptions; }
    void SetUseGlobalOptions(bool use) { m_useGlobalOptions = use; }
    bool KeepTrailingBlanks() const { return m_keepTrailingBlanks; }
    void SetKeepTrailingBlanks(bool keep) { m_keepTrailingBlanks = keep; }
    QString Version() const { return QStringLiteral("0.9.1"); }

    // -- lines ---------------------------------------------------------------
    TExternalStrings& Lines() { return *m_lines; }
    TSelectionStrings& SelectionLines() { return *m_selectionLines; }
    // Raw access for the parser and the views.
    TInternalStrings& Strings() { return m_strings; }
    const TInternalStrings& Strings() const { return m_strings; }
    int LineCount() const { return m_strings.Count(); }
    // The tab-expanded text of a line (empty outside the text).
    QByteArray LineText(int line) const;
    // The displayed width of a line.
    int LineLength(int line) const;
    // The longest line's displayed width and index.
    int LongestLineLength() const;
    int LongestLine() const;
    // Text converted as everything put through Lines is: tabs to SpacesInTab
    // blanks unless soUseTabCharacter is on.
    QByteArray ConvertText(const QByteArray& text) const;

    // -- update brackets -----------------------------------------------------
    void BeginUpdate(int reason);
    // Also saves selection mode, block begin, block end and caret; the
    // outermost EndUpdate puts them back.
    void BeginUpdateKeepSelection(int reason);
    void EndUpdate();
    int UpdateCount() const { return m_updateCount; }
    int UpdateReason() const { return m_updateReason; }
    // Everything recorded inside one compound bracket is undone in one step.
    void BeginCompound() { ++m_compoundCount; }
    void EndCompound();

    // -- the editing operations, all at the caret ----------------------------
    virtual void MoveCaret(int dLines, int dColumns);
    virtual void InsertLineBreak();
    virtual void JoinLines();
    virtual void InsertString(const QByteArray& text);
    virtual void DeleteChars(int count);

    TTextPos Caret() const { return m_positions.At(kCaretIndex)->Pos(); }
    int CaretLine() const { return Caret().line; }
    int CaretColumn() const { return Caret().column; }
    // Moves the caret to pos (by the caret-move rules).
    void SetCaret(TTextPos pos) { MoveCaret(pos.line - CaretLine(), pos.column - CaretColumn()); }
    // Every position to (0,0), no selection.
    void ResetPositions();
    bool IsLineReadOnly(int line) const;
    void SetLineReadOnly(int line, bool readOnly);
    bool CaretLineReadOnly() const { return IsLineReadOnly(CaretLine()); }
    bool NextLineReadOnly() const { return IsLineReadOnly(CaretLine() + 1); }

    // -- selection -------------------------------------------------------------
    int SelectionMode() const { return m_selectionMode; }
    void SetSelectionMode(int mode);
    bool HasSelection() const { return m_selectionMode != smNone; }
    TTextPos BlockBegin() const { return m_positions.At(kBlockBeginIndex)->Pos(); }
    TTextPos BlockEnd() const { return m_positions.At(kBlockEndIndex)->Pos(); }
    // The selection type a request of mode (1 stream, 2 block) ends up as,
    // after BlockOption and OnGetSelectionType.
    int SelectionType(int requested);
    // Sets block begin and end; mode 0 keeps the current mode (stream when none).
    void SetSelection(TTextPos begin, TTextPos end, int mode = 0);
    void ClearSelection() { SetSelectionMode(smNone); }
    // Extends (or starts) the selection around a caret movement.
    void ExtendSelection(TTextPos oldCaret, TTextPos newCaret, int mode);
    bool IsSelected(int line, int column) const;
    // The selected columns [left, right) of a line, false when none.
    bool SelectedColumns(int line, int& left, int& right) const;
    // The selected text, lines joined by CR LF.
    QByteArray SelectedText() const;
    // The selected part of one line (empty outside the selection).
    QByteArray SelectedPart(int line) const;

    // -- state ---------------------------------------------------------------
    bool Modified() const { return m_modified; }
    void SetModified(bool modified);
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& fileName);
    // Whether the text ends with a line end when saved.
    bool FinalLineEnd() const { return m_finalLineEnd; }
    void SetFinalLineEnd(bool on) { m_finalLineEnd = on; }

    // -- undo ------------------------------------------------------------------
    bool CanUndo() const { return !UndoList().IsEmpty() && !m_readOnly; }
    bool CanRedo() const { return !RedoList().IsEmpty() && !m_readOnly; }
    void Undo();
    void Redo();
    void ClearUndo();
    // Marks the current state as the one on disk.
    void SetSavePoint();
    const TUndoList& UndoList() const { return m_undoLists[m_undoIndex]; }
    const TUndoList& RedoList() const { return m_undoLists[1 - m_undoIndex]; }
    bool IsUndoing() const { return m_replaying; }

    // -- bookmarks (1..10; 0 stands for 10) -----------------------------------
    // Removes bookmark n when it is on the caret line, else sets it there.
    void ToggleBookmark(int n);
    void SetBookmark(int n, TTextPos pos);
    void ClearBookmark(int n);
    bool IsBookmarkSet(int n) const;
    TTextPos BookmarkPos(int n) const;
    // Caret to the bookmark; an unset one does nothing.
    bool GotoBookmark(int n);
    // The bookmarks on a line, as a bit set (bit n-1 for bookmark n).
    quint16 BookmarksOnLine(int line) const;
    std::vector<int> BookmarkedLines() const;

    // -- per-line view data -------------------------------------------------------
    int LineStyle(int line) const;
    void SetLineStyle(int line, int style);
    // 0 expanded, 1 collapsed, 2 not a collapse point.
    int CollapseState(int line) const;
    void SetCollapseState(int line, int state);
    bool IsLineVisible(int line) const;

    // -- attributes -----------------------------------------------------------
    // The attribute bytes of a line (one per displayed character), parsing
    // lazily; null without a parser and URL highlighting.
    const uchar* LineAttributes(int line, int* length = nullptr);
    // Parses every line up to line + 100 that is not yet parsed.
    void ParseTo(int line);
    int ParsedUpTo() const { return m_parsedUpTo; }
    quint32 InitialState() const { return m_initialState; }
    void SetInitialState(quint32 state) { m_initialState = state; }
    // Drops every line's state and attributes (reason 57).
    void ResetAttributes();

    // -- loading and saving ----------------------------------------------------------
    // Replaces every line by text (as loaded: converted, right-trimmed).
    void SetTextStr(const QByteArray& text);
    // Loads a file; false with a message in error when it cannot be read.
    bool LoadFromFile(const QString& path, QString* error = nullptr);
    bool LoadFromStream(QIODevice& device, QString* error = nullptr);
    // Saves through a temporary file renamed over the target only after the
    // whole write succeeded; false (and still modified) on failure.
    bool SaveToFile(const QString& path, QString* error = nullptr);
    bool SaveToStream(QIODevice& device, QString* error = nullptr) const;
    // The file's bytes as saving writes them.
    QByteArray SavedBytes() const;

    // -- views -------------------------------------------------------------------
    // Adds a change listener (a view): all lines are marked changed and every
    // listener gets the attach mask. Returns the handle to remove it with.
    int AttachView(std::function<void(const TMemoChange&)> listener);
    void DetachView(int handle);
    int ViewCount() const { return m_views.Count(); }
    QObject* View() const { return m_view; }
    void SetView(QObject* view) { m_view = view; }

    // The process-wide list of text stores.
    static const std::vector<TCustomMemoSource*>& Instances();

    // -- events ------------------------------------------------------------------
    std::function<void(TCustomMemoSource& source, int& selectionType)> OnGetSelectionType;
    std::function<QString(TCustomMemoSource& source, const QString& fileName)> OnGetBackupName;
    std::function<void(TCustomMemoSource& source, TStrings& lines)> OnPasteFromClipboard;
    // Hooks of the attached view: before every caret move (may change the
    // deltas), after a line's attributes are computed, and after a parse pass
    // with the range of lines whose attributes were recomputed.
    std::function<void(int& dLines, int& dColumns)> OnBeforeCaretMove;
    std::function<void(int line)> OnLineParsed;
    std::function<void(int firstLine, int lastLine)> OnLinesParsed;

    // TParserListener
    void ParserChanged(TSimpleParser* parser) override;
    void ParserDestroyed(TSimpleParser* parser) override;

protected:
    void Loaded() override;

    // Marks lines changed for the notice of the current update.
    void MarkChanged(int first, int last);
    void AddChangeFlags(quint16 flags) { m_changeFlags |= flags; }
    // Writes an undo record to the list that is being recorded.
    void AddUndo(TUndoKind kind, int a = 0, int b = 0, const QByteArray& t = {}, const QByteArray& x = {});
    // Moves the caret exactly, writing a caret record but no hook, clamping
    // or blank trimming (used inside operations and by undo).
    void MoveCaretExactly(int dLines, int dColumns);
    // Makes sure the caret line exists (lines below the text are added).
    void MaterializeCaretLine();
    // The raw index of a display column of a line.
    int RawIndex(int line, int column) const;
    // The display column of a raw index of a line.
    int DisplayColumn(int line, int index) const;

private:
    friend class TExternalStrings;

    enum PositionIndex { kCaretIndex = 0, kBlockBeginIndex, kBlockEndIndex, kSavedBeginIndex, kSavedEndIndex };

    struct KeptSelection {
        int mode = 0;
        TTextPos begin, end, caret;
    };

    // Position shifting after an edit at the caret.
    void ShiftForInsert(int count);
    void ShiftForDelete(int count);
    void ShiftForLineBreak(int column);
    void ShiftForJoin(int joinColumn);
    bool MayShift(const TPosition& position, bool& column, bool& line) const;
    void SetPosition(PositionIndex index, TTextPos pos) { m_positions.At(index)->SetPos(pos); }
    TPosition* Position(PositionIndex index) const { return m_positions.At(index); }
    void ConvertSelectionForBlockOption();
    void NormalizeSelection();

    void TrimTrailingBlanks(int line);
    bool InRealLine(int line) const { return line >= 0 && line < LineCount(); }

    void ReplayRecord(const TUndoRecord& record);
    void UndoFrom(int listIndex);
    void TrimUndo(TUndoList& list, int physicalIndex);
    bool TextDiffersFromSave() const;
    void ClearRedo();

    void ParseLine(int line, std::string_view display, uchar* attrs, quint32 state);
    void MarkUrls(int line, uchar* attrs, int length);
    void LoadBytes(std::shared_ptr<char[]> block, qint64 size);

    TInternalStrings m_strings;
    std::unique_ptr<TExternalStrings> m_lines;
    std::unique_ptr<TSelectionStrings> m_selectionLines;
    TPositions m_positions;
    quint8 m_selectionMode = smNone;

    TStringsOptions m_options;
    TTabStops m_tabStops;
    int m_spacesInTab = 8;
    int m_blockIndent = 1;
    bool m_readOnly = false;
    TBlockOption m_blockOption = bkBoth;
    TOutFormatType m_outFormat = ofWindows;
    bool m_allowUndo = true;
    int m_undoLimit = 0;
    QString m_templatesType = QStringLiteral("None");
    bool m_highlightUrls = false;
    QString m_delimeters;
    TCharSet m_delimiterSet;
    TSimpleParser* m_parser = nullptr;
    bool m_useGlobalOptions = false;
    bool m_keepTrailingBlanks = false;

    bool m_modified = false;
    QString m_fileName;
    bool m_finalLineEnd = true;

    // Update state.
    int m_updateCount = 0;
    int m_updateReason = 0;
    quint16 m_changeFlags = 0;
    int m_linesAtStart = 0;
    int m_changedFirst = 0;
    int m_changedLast = -1;
    int m_savedModeAtStart = 0;
    bool m_modifiedAtStart = false;
    bool m_groupStartPending = false;
    int m_compoundCount = 0;
    int m_keepSelectionDepth = 0;
    KeptSelection m_kept;

    // Undo state: two lists, one recorded into, the other replayed from
    // while undoing; Redo swaps their roles.
    TUndoList m_undoLists[2];
    int m_undoIndex = 0;
    bool m_replaying = false;
    // The save point: physical list and record count at which the text is the
    // one on disk; list -1 when it can no longer be reached.
    int m_saveList = 0;
    int m_saveIndex = 0;

    // Attributes.
    int m_parsedUpTo = 0;
    quint32 m_initialState = 0;

    mutable int m_longestLength = 0;
    mutable int m_longestLine = 0;
    mutable bool m_longestDirty = true;

    TTextPos m_bookmarks[kBookmarkCount];
    bool m_bookmarkSet[kBookmarkCount] = {};

    TNotifierList<const TMemoChange&> m_views;
    QPointer<QObject> m_view;
};

// The published face of the text store.
class TMemoSource : public TCustomMemoSource {
    Q_OBJECT
    Q_PROPERTY(MemoTypes::TStringsOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(QString TabStops READ TabStops WRITE SetTabStops)
    Q_PROPERTY(int SpacesInTab READ SpacesInTab WRITE SetSpacesInTab)
    Q_PROPERTY(int BlockIndent READ BlockIndent WRITE SetBlockIndent)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(MemoTypes::TBlockOption BlockOption READ BlockOption WRITE SetBlockOption)
    Q_PROPERTY(MemoTypes::TOutFormatType OutFormat READ OutFormat WRITE SetOutFormat)
    Q_PROPERTY(bool AllowUndo READ AllowUndo WRITE SetAllowUndo)
    Q_PROPERTY(int UndoLimit READ UndoLimit WRITE SetUndoLimit)
    Q_PROPERTY(QString TemplatesType READ TemplatesType WRITE SetTemplatesType)
    Q_PROPERTY(bool HighlightUrls READ HighlightUrls WRITE SetHighlightUrls)
    Q_PROPERTY(QString Delimeters READ Delimeters WRITE SetDelimeters)
    Q_PROPERTY(TSimpleParser* SyntaxParser READ SyntaxParser WRITE SetSyntaxParser)
    Q_PROPERTY(bool UseGlobalOptions READ UseGlobalOptions WRITE SetUseGlobalOptions)
    Q_PROPERTY(QString Version READ Version STORED false)

public:
    explicit TMemoSource(TComponent* owner = nullptr) : TCustomMemoSource(owner) {}
};
