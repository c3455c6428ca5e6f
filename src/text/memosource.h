#pragma once

#include "charset.h"
#include "codetemplates.h"
#include "component.h"
#include "internalstrings.h"
#include "memosearch.h"
#include "memosourcefolds.h"
#include "memotypes.h"
#include "notifierlist.h"
#include "position.h"
#include "simpleparser.h"
#include "tabstops.h"
#include "textsnapshot.h"
#include "undolist.h"

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QString>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

class QFile;
class QIODevice;
class TExternalStrings;
class TProgress;
class TLoadStatePass;
class TLoadWatch;
struct TDetectedEncoding;
class TSelectionStrings;

// The text of one document, independent of any window: its lines with their
// per-line data, the caret and the selection, the editing operations, undo
// and redo, bookmarks, the lazily computed syntax attributes, and the change
// notices sent to every view attached to it.
//
// Every change runs inside an update bracket. At the end of the outermost
// bracket the store sends its views one change mask with the changed lines.
// All editing happens at the caret, which is what lets undo records replay
// relative to it. Folding and matching (memosourcefolds.h) and searching
// (memosearch.h) are parts of the store of their own.
class TCustomMemoSource : public TComponent, public TParserListener, public TMemoFolding,
                          public TMemoSearch {
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
    // Changing the encoding leaves the bytes as they are and redraws them.
    TTextEncoding Encoding() const { return m_encoding; }
    void SetEncoding(TTextEncoding encoding);
    // Whether the file starts with a UTF-8 byte order mark; the mark is not
    // part of the first line and is written back on save.
    bool ByteOrderMark() const { return m_byteOrderMark; }
    void SetByteOrderMark(bool mark) { m_byteOrderMark = mark; }
    // The encoding a loaded file takes when it holds no byte >= 0x80 and
    // declares nothing: such bytes read alike in both, so the choice only
    // decides what is typed into it later. Windows-1252 unless set.
    TTextEncoding AsciiEncoding() const { return m_asciiEncoding; }
    void SetAsciiEncoding(TTextEncoding encoding) { m_asciiEncoding = encoding; }
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
    // Setting it takes over the global options at once.
    void SetUseGlobalOptions(bool use);
    // Takes Options, TabStops, Delimeters, BlockIndent and KeepTrailingBlanks
    // from the global options (called whenever they change).
    void ApplyGlobalOptions();
    TCodeTemplates* CodeTemplates() const { return m_codeTemplates; }
    // Copies the templates.
    void SetCodeTemplates(TCodeTemplates* templates);
    bool KeepTrailingBlanks() const { return m_keepTrailingBlanks; }
    void SetKeepTrailingBlanks(bool keep) { m_keepTrailingBlanks = keep; }
    // What typing by structure does (structuretyping.h): close a start tag
    // (on unless set), close brackets and quotes (off unless set).
    bool CloseTags() const { return m_closeTags; }
    void SetCloseTags(bool on) { m_closeTags = on; }
    bool CloseBrackets() const { return m_closeBrackets; }
    void SetCloseBrackets(bool on) { m_closeBrackets = on; }
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
    // The tab-expanded text of the display columns [from, to) of a line,
    // shorter where the line ends: what a view shows of a long line costs
    // the span, not the line.
    QByteArray LineSpan(int line, int from, int to) const;
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
    // Holds a bracket open for the life of a scope (optionally keeping the
    // selection and the caret).
    class TUpdate {
    public:
        TUpdate(TCustomMemoSource& source, int reason, bool keepSelection = false) : m_source(source)
        {
            if (keepSelection)
                source.BeginUpdateKeepSelection(reason);
            else
                source.BeginUpdate(reason);
        }
        ~TUpdate() { m_source.EndUpdate(); }
        TUpdate(const TUpdate&) = delete;
        TUpdate& operator=(const TUpdate&) = delete;

    private:
        TCustomMemoSource& m_source;
    };
    int UpdateReason() const { return m_updateReason; }
    // Everything recorded inside one compound bracket is undone in one step.
    void BeginCompound();
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

    // -- characters and cells ---------------------------------------------------
    // Columns are bytes of the tab-expanded line. In a UTF-8 document a
    // character may take several of them and 0 to 2 display cells (see
    // Utf8Cells); in any other every column is one character of one cell,
    // and these answer without looking at the line.
    // The display cell a column starts at.
    int CellOfColumn(int line, int column) const;
    // The column at offset units, one cell being cellWidth units: the start
    // of the character under it, or with nearest the nearest boundary.
    int ColumnAtOffset(int line, int offset, int cellWidth, bool nearest) const;
    // The characters before a column (what the status bar counts).
    int CharsBeforeColumn(int line, int column) const;
    // The start of the character holding column, and where the character
    // starting at column ends; past the line's end every column is one.
    int CharStartColumn(int line, int column) const;
    int NextCharColumn(int line, int column) const;
    // A column moved onto a character start: back to the start of the
    // character it falls in, or with forward on to its end.
    int SnapToChar(int line, int column, bool forward) const;

    // The raw index (byte of the line) of a display column of a line, and
    // the display column of a raw index: they differ where tabs expand.
    int RawIndex(int line, int column) const;
    int DisplayColumn(int line, int index) const;

    // -- words -----------------------------------------------------------------
    // A word character is one above a blank that is not a delimiter.
    // In a UTF-8 document every byte of a multi-byte character is one, so
    // that word boundaries fall between characters.
    bool IsWordChar(uchar c) const
    {
        return c > 32 && ((c >= 0x80 && m_encoding == teUtf8) || !m_delimiterSet.Has(c));
    }
    // Where a wrapped row may end: after a blank (or control character) or
    // a delimiter.
    bool IsWordBreak(uchar c) const { return !IsWordChar(c); }
    // The columns [start, end) of the word at or just before pos; false when
    // there is none.
    bool WordAt(TTextPos pos, int& start, int& end) const;
    QByteArray WordAtCaret() const;

    // -- typing and deleting (each one operation and one undo step) ------------
    // Overwrite mode is one setting for every text store.
    static bool OverwriteMode();
    static void SetOverwriteMode(bool on);
    // Inserts ch at the caret and steps behind it; in overwrite mode it
    // takes the place of the character at the caret, and with
    // soOverwriteBlocks it replaces the selection.
    void TypeChar(char ch);
    // As TypeChar, for one character written in the document's encoding
    // (several bytes in UTF-8), which goes in as one piece.
    void TypeChar(const QByteArray& character);
    // Breaks the line at the caret and indents the new one (soAutoIndent);
    // in overwrite mode only steps to the start of the next line.
    void NewLine();
    // Indents a selection over several lines by one tab; otherwise inserts a
    // tab character or blanks up to the next tab stop (soSmartTab: to the
    // next word of the previous non-empty line), or in overwrite mode only
    // moves the caret there.
    void Tab();
    // Outdents a selection over several lines by one tab; otherwise moves the
    // caret back to the previous tab stop.
    void BackTab();
    void Backspace();
    // Deletes the character at the caret; at or behind the line's end joins
    // the next line (padding the line up to the caret first).
    void DeleteChar();
    void DeleteWordLeft();
    void DeleteWordRight();
    void DeleteLine();
    void DeleteToLineEnd();
    // Inserts text at the caret, its line breaks making new lines; the caret
    // ends behind it and the selection marks stay with their text.
    void InsertText(const QByteArray& text);
    // Deletes the selection (if any) and inserts text in its place.
    void ReplaceSelection(const QByteArray& text);
    // Inserts a new GUID as ['{...}'].
    void InsertGuid();
    // Replaces the word before the caret by the code template it names
    // (only when TemplatesType is not "None"); false when none matched.
    bool ExpandCodeTemplate();

    // -- caret movement ------------------------------------------------------------
    // `extend` is smNone, or the selection mode the movement extends the
    // selection in. Without it a movement ends the selection, unless
    // soPersistentBlocks is set.
    void MoveCaretBy(int dLines, int dColumns, int extend = smNone);
    // To an absolute position (clamped by soBeyondFileEnd and soLimitEOL).
    void MoveCaretTo(TTextPos pos, int extend = smNone);
    void WordLeft(int extend = smNone);
    void WordRight(int extend = smNone);
    void LineStart(int extend = smNone);
    void LineEnd(int extend = smNone);
    void TextStart(int extend = smNone);
    void TextEnd(int extend = smNone);
    // From "(", "[" or "{" at (or just before) the caret to its partner, and
    // back from ")", "]" or "}"; false when there is none.
    bool MatchingBracket(int extend = smNone);
    void GotoBlockBegin();
    void GotoBlockEnd();
    // Caret to column 0 of line number (counted from 1); false, and nothing
    // changes, outside the text.
    bool GotoLineNumber(int number);

    // -- selection commands ------------------------------------------------------
    void SelectWord(TWordSelection kind = TWordSelection::WordOnly);
    void SelectLine();
    void SelectAll();
    void MarkBlockBegin();
    void MarkBlockEnd();
    // Extends the selection from the caret back to the start of the word
    // before it.
    void SelectPreviousWord();

    // -- block commands (nothing without a selection) --------------------------------
    // Copies / moves the selection to the caret; the copy becomes the selection.
    void CopyBlock();
    void MoveBlock();
    void DeleteBlock();
    // By BlockIndent blanks.
    void IndentBlock();
    void UnindentBlock();
    void BlockToUpperCase();
    void BlockToLowerCase();
    void BlockToggleCase();
    // Prefixes every line of the block with ">".
    void QuoteBlock();
    // The word at the caret, and the caret's line; caret and selection stay.
    void WordToUpperCase();
    void WordToLowerCase();
    void LineToUpperCase();
    void LineToLowerCase();
    void LineToggleCase();
    // The whole text from Windows-1252 to the OEM code page and back.
    void ConvertToOem();
    void ConvertFromOem();

    // -- clipboard ------------------------------------------------------------------
    // Without a selection, soForceCutCopy makes cut and copy take the caret line.
    bool CanCutCopy() const;
    void CopyToClipboard();
    void CutToClipboard();
    // Inserts the clipboard's text at the caret, a column block as columns;
    // OnPasteFromClipboard may change the lines first.
    void PasteFromClipboard();

    // -- state ---------------------------------------------------------------
    bool Modified() const { return m_modified; }
    void SetModified(bool modified);
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& fileName);
    // How a line ends when saved (a TStringItem::LineEnd; kEndDocument
    // means the document's OutFormat).
    int LineEnd(int line) const { return InRealLine(line) ? int(m_strings.Item(line).lineEnd) : int(TStringItem::kEndNone); }
    // Changes how a line ends, as one recorded edit.
    void SetLineEnd(int line, quint8 end);
    // Counts the changes of the text: equal numbers mean the same text.
    quint64 TextVersion() const { return m_textVersion; }
    // Whether the text last loaded held a NUL byte (a sign of binary data).
    bool LoadedNulBytes() const { return m_loadedNulBytes; }

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
    // Folding and matching are in memosourcefolds.h.
    bool IsLineVisible(int line) const { return !m_strings.Folds().IsHidden(line); }
    const TFoldRanges& Folds() const { return m_strings.Folds(); }

    // -- attributes -----------------------------------------------------------
    // The attribute bytes of a line (one per displayed character), parsing
    // lazily; null without a parser and URL highlighting.
    const uchar* LineAttributes(int line, int* length = nullptr);
    // The attributes of at least the columns [from, to) of a line: the
    // returned bytes hold those of the columns [*first, *first + *length).
    // A very long line is parsed for the span only (from a resume point
    // near it), so showing part of it costs what is shown.
    const uchar* LineAttributes(int line, int from, int to, int* first, int* length);
    // Lines of at least threshold bytes get resume points spacing bytes
    // apart and are parsed again only around an edit.
    void SetLongLineLimits(int threshold, int spacing);
    // Parses every line up to line + 100 that is not yet parsed.
    void ParseTo(int line);
    // The structure of the parsed lines (linestructures.h).
    const TLineStructures& Structures() const { return m_strings.Structures(); }
    // Every structure event of one line as its parse reports it (all of
    // them, with their columns), parsing the line once more; false without
    // a parser that reports structure.
    bool LineEvents(int line, std::vector<TStructureEvent>& events);
    int ParsedUpTo() const { return m_parsedUpTo; }
    quint32 InitialState() const { return m_initialState; }
    void SetInitialState(quint32 state) { m_initialState = state; }
    // Drops every line's state and attributes (reason 57).
    void ResetAttributes();

    // -- loading and saving ----------------------------------------------------------
    // The longest line and the most lines a text may have: a file beyond
    // them is refused when loaded. Lengths and display columns are 32-bit,
    // so a line stops well short of that, leaving room for its edits and
    // for its tabs to widen it.
    static constexpr qint64 kMaxLineLength = qint64(1) << 28;
    static constexpr qint64 kMaxLines = 0x7ffffff0;
    // Replaces every line by text, every byte kept; false (and the text as
    // it was) when the store cannot hold it.
    bool SetTextStr(const QByteArray& text, QString* error = nullptr);
    // Loads a file, keeping every byte: tabs, trailing blanks, control
    // characters and each line's own line end. False with a message in
    // error, and the text as it was, when it cannot be read or held. A long
    // load shows its progress through the services; cancelled, it gives
    // false with an empty error and the text as it was. The encoding is
    // found from the bytes (encodingdetect.h) unless one is given; a UTF-8
    // byte order mark is taken off the first line and remembered.
    bool LoadFromFile(const QString& path, QString* error = nullptr,
                      std::optional<TTextEncoding> encoding = std::nullopt);
    // Loads a file into a new store the way LoadFromFile does, but shows it
    // as it comes in: the lines read so far are in the store each time the
    // watch is told, so that views show the part already read while the
    // rest loads. Editing waits for the end (the store is read-only until
    // then). A NUL byte ends the load at once with LoadedNulBytes set: the
    // file is binary and nothing more of it is worth reading. On failure or
    // Cancel the store holds part of the file and is to be thrown away.
    bool LoadFromFile(const QString& path, QString* error, std::optional<TTextEncoding> encoding, TLoadWatch& watch);
    // True while a watched load fills the store.
    bool Loading() const { return m_loading; }
    bool LoadFromStream(QIODevice& device, QString* error = nullptr);
    // A file is read in pieces of this many bytes; the line states of the
    // pieces already in are established on another thread meanwhile.
    static constexpr qint64 kReadPiece = qint64(8) << 20;
    void SetReadPiece(qint64 bytes) { m_readPiece = std::max<qint64>(1, bytes); }
    // Saves so that the old file survives every failure (see SaveFileSafely);
    // false, with the system's reason, and still modified on failure.
    bool SaveToFile(const QString& path, QString* error = nullptr);
    bool SaveToStream(QIODevice& device, QString* error = nullptr) const;
    // The file's bytes as saving writes them.
    QByteArray SavedBytes() const;
    // The whole text, every line with its end (read-only lines too), taken
    // cheaply enough for the interface thread and readable from any other
    // (textsnapshot.h).
    TTextSnapshot Snapshot() const;

    // -- views -------------------------------------------------------------------
    // Adds a change listener (a view): all lines are marked changed and every
    // listener gets the attach mask. Returns the handle to remove it with.
    int AttachView(std::function<void(const TMemoChange&)> listener);
    void DetachView(int handle);
    int ViewCount() const { return m_views.Count(); }
    QObject* View() const { return m_view; }
    void SetView(QObject* view) { m_view = view; }
    // A place of a caller's that edits shift as they shift the caret: a view
    // that hands the caret to another view of the same store keeps its own
    // caret and selection this way. The store owns the position until it is
    // removed or the store goes; a load resets it with the caret.
    TPosition* AddPosition(TTextPos pos);
    void RemovePosition(TPosition* position);

    // The process-wide list of text stores.
    static const std::vector<TCustomMemoSource*>& Instances();

    // -- events ------------------------------------------------------------------
    std::function<void(TCustomMemoSource& source, int& selectionType)> OnGetSelectionType;
    std::function<QString(TCustomMemoSource& source, const QString& fileName)> OnGetBackupName;
    std::function<void(TCustomMemoSource& source, TStrings& lines)> OnPasteFromClipboard;
    TCreateDialogEvent OnCreateDialog;
    // A failing search (an invalid expression); unhandled, the message is shown.
    std::function<void(TCustomMemoSource& source, const QString& message, bool& handled)> OnSearchException;
    // Hooks of the attached view: before every caret move (may change the
    // deltas), after a line's attributes are computed, and after a parse pass
    // with the range of lines whose attributes were recomputed.
    std::function<void(int& dLines, int& dColumns)> OnBeforeCaretMove;
    std::function<void(int line)> OnLineParsed;
    std::function<void(int firstLine, int lastLine)> OnLinesParsed;
    // The attached view's dialog hook (empty: none), asked after the store's
    // own OnCreateDialog and before the one set for every store.
    std::function<TCreateDialogEvent()> OnViewCreateDialog;
    // Lets the attached view change a code template's text before it goes
    // in place of its name.
    std::function<void(const TCodeTemplate& found, QString& text)> OnViewTemplateInsert;

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
    // After every line was replaced: positions at (0,0), no selection, no
    // bookmarks, every line to parse and draw again, and no undo record left
    // (none could be replayed on the new text); the state on disk is
    // unreachable until a load sets the save point.
    void LinesReplaced();
    // Makes sure the caret line exists (lines below the text are added).
    void MaterializeCaretLine();
    // The column index of a long line with tabs (null for any other line).
    const TTabColumns::TIndex* TabIndex(int line) const;

private:
    friend class TExternalStrings;
    friend class TMemoFolding;
    friend class TMemoSearch;

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

    // Pieces the commands are built from; all edit through the five
    // operations. The caret moves with MoveCaretExactly (no view hook).
    void CaretExactlyTo(TTextPos pos);
    // A caret jump of a command: trims the line it leaves like a caret move.
    void JumpCaret(TTextPos pos);
    TTextPos ClampToText(TTextPos pos) const;
    void EndMovement(TTextPos oldCaret, int extend);
    // Inserts raw text at the caret and moves the caret behind it.
    bool InsertAtCaret(const QByteArray& text);
    void InsertPieces(const QList<QByteArray>& pieces);
    // Pieces of a column block, one per line from the caret down.
    void InsertColumns(const QList<QByteArray>& pieces);
    // A tab whose blanks column cuts in two becomes those blanks.
    void SplitTabAt(int line, int column);
    // Deletes the columns [from, to) of a line; the caret ends at from.
    void DeleteColumns(int line, int from, int to);
    void DeleteRange(TTextPos from, TTextPos to);
    bool DeleteSelectedText();
    bool SelectionWritable() const;
    bool SelectedLines(int& first, int& last) const;
    bool CaretInSelection() const;
    // Replaces raw bytes [from, to) of a line where they differ from text.
    void ReplaceRaw(int line, int from, const QByteArray& text);
    using TCaseConvert = QByteArray (*)(QByteArray);
    enum class TCaseKind { Upper, Lower, Toggle };
    // The case conversion of the document's encoding.
    TCaseConvert CaseConvert(TCaseKind kind) const;
    void ConvertLines(int first, int last, QByteArray (*convert)(QByteArray));
    void ConvertBlock(QByteArray (*convert)(QByteArray));
    void ConvertWord(QByteArray (*convert)(QByteArray));
    void ConvertCaretLine(QByteArray (*convert)(QByteArray));
    // After a join or a deletion: the caret back to the start of the
    // character it is in.
    void KeepCaretOffSequence();
    void ShiftLines(bool outdent, int columns, const QByteArray& unit);
    void JoinWithPrevious();
    void JoinNextPadded();
    // Splits text at its line breaks; a final break gives a final empty piece.
    static QList<QByteArray> SplitPieces(const QByteArray& text);
    QByteArray IndentText(int columns) const;
    int LineIndent(int line) const;
    int SmartTabColumn(int line, int column) const;
    int WordLeftColumn(const QByteArray& text, int column) const;
    int WordRightColumn(const QByteArray& text, int column) const;
    // A position that edits shift, for following a place through an edit.
    int AddMarker(TTextPos pos);
    TTextPos TakeMarker(int index);

    // Tells the views what changed so far without closing the bracket.
    void FlushUpdate();

    void ReplayRecord(const TUndoRecord& record);
    void UndoFrom(int listIndex);
    void TrimUndo(TUndoList& list, int physicalIndex);
    bool TextDiffersFromSave() const;
    void ClearRedo();
    // Takes back every record written since the undo list held count, as a
    // cancelled operation must, leaving nothing of it to redo.
    void RollBack(int count);

    // The tab-expanded text of a line, in expanded when it needed expanding.
    std::string_view DisplayOf(int line, QByteArray& expanded) const;
    // Parses display (line's text) from state into attrs; the end state.
    quint32 ParseInto(int line, std::string_view display, uchar* attrs, quint32 state);
    // The state at the end of line, its attributes not kept.
    quint32 StateAfter(int line, std::string_view display, quint32 state);
    // Marks URL runs; recordUndo keeps the old bytes for undo inside an
    // operation.
    void MarkUrls(int line, uchar* attrs, int length, bool recordUndo);
    // Whether a line is parsed as a long line (longlines.h): long enough,
    // without tabs, and with a parser that can start inside a line.
    bool ParsedAsLong(int line) const;
    // Parses a long line from state, again only around its edits where its
    // points allow; the state at its end.
    quint32 ParseLong(int line, std::string_view text, quint32 state);
    // Fills the line's attribute window to cover [from, to).
    void FillWindow(int line, std::string_view text, TLongLine& entry, int from, int to);
    // The attributes the cache holds for a line as they are (perhaps not
    // yet parsed again after an edit); null and 0 when none are kept.
    uchar* CachedAttributes(int line, int& length);
    // Takes the lines of a loaded block; reports to progress (when given)
    // and stops, changing nothing, when it is cancelled.
    bool LoadBytes(std::shared_ptr<char[]> block, qint64 size, QString* error, TProgress* progress = nullptr,
                   TLoadStatePass* states = nullptr);
    // A pass establishing the line states of a file as it is read in the
    // encoding guessed from its start; null when the parser cannot be copied.
    std::unique_ptr<TLoadStatePass> StartLoadStates(const TDetectedEncoding& guess) const;
    // Once every byte of a file is in, establishes here the states of the
    // far half of the lines the pass has still to walk, while the pass
    // walks up to them and stops there; false when the load was cancelled
    // meanwhile (report is asked now and then).
    bool ParseLoadTail(TLoadStatePass& pass, const std::function<bool()>& report);
    // Takes the states of a finished pass as those of the loaded lines, and
    // its tail's as those of the lines after them.
    void TakeLoadedStates(TLoadStatePass& pass);
    // Loads a file, shown as it comes in when a watch is given.
    bool LoadFile(const QString& path, QString* error, std::optional<TTextEncoding> encoding, TLoadWatch* watch);
    // Loads an opened file into block, shown as it comes in.
    bool LoadShown(QFile& file, const QString& path, std::shared_ptr<char[]> block,
                   std::optional<TTextEncoding> encoding, TLoadWatch& watch, QString* error);
    // Reads an opened file of size bytes into block, piece by piece,
    // establishing line states meanwhile; progress (when given) is told of
    // each piece, and so is the watch of an arrival, once its lines are in.
    struct TArrival;
    bool ReadPieces(QFile& file, const QString& path, char* block, qint64 size, std::optional<TTextEncoding> encoding,
                    std::unique_ptr<TLoadStatePass>& states, TProgress* progress, TArrival* arrival, QString* error);
    // Puts the lines complete among the first available bytes of a watched
    // load into the store; false with a message in error when the store
    // cannot hold them.
    bool ShowArrived(TArrival& arrival, qint64 available, bool final, QString* error);
    // Waits for the states a load established while reading; false when
    // the load was cancelled meanwhile.
    bool WaitForLoadStates(TLoadStatePass& states, const std::function<bool()>& report);

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
    TTextEncoding m_encoding = teWindows1252;
    TTextEncoding m_asciiEncoding = teWindows1252;
    bool m_byteOrderMark = false;
    bool m_allowUndo = true;
    int m_undoLimit = 0;
    QString m_templatesType = QStringLiteral("None");
    bool m_highlightUrls = false;
    QString m_delimeters;
    TCharSet m_delimiterSet;
    TSimpleParser* m_parser = nullptr;
    bool m_useGlobalOptions = false;
    bool m_keepTrailingBlanks = false;
    bool m_closeTags = true;
    bool m_closeBrackets = false;

    bool m_modified = false;
    QString m_fileName;
    // The end that the head of a line break gets.
    quint8 m_breakLineEnd = TStringItem::kEndDocument;
    bool m_loadedNulBytes = false;
    bool m_loading = false;

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
    int m_compoundSerial = 0;
    int m_keepSelectionDepth = 0;
    KeptSelection m_kept;
    quint64 m_foldGenerationAtStart = 0;

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
    // The pass establishing line states while a file loads, if any.
    TLoadStatePass* m_loadPass = nullptr;
    qint64 m_readPiece = kReadPiece;
    quint32 m_initialState = 0;
    // Where a pass that only establishes line states lets the parser write.
    std::vector<uchar> m_scratch;

    mutable int m_longestLength = 0;
    mutable int m_longestLine = 0;
    mutable bool m_longestDirty = true;

    TCodeTemplates* m_codeTemplates = nullptr;

    quint64 m_textVersion = 0;

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
    Q_PROPERTY(MemoTypes::TTextEncoding Encoding READ Encoding WRITE SetEncoding STORED false)
    Q_PROPERTY(bool AllowUndo READ AllowUndo WRITE SetAllowUndo)
    Q_PROPERTY(int UndoLimit READ UndoLimit WRITE SetUndoLimit)
    Q_PROPERTY(QString TemplatesType READ TemplatesType WRITE SetTemplatesType)
    Q_PROPERTY(bool HighlightUrls READ HighlightUrls WRITE SetHighlightUrls)
    Q_PROPERTY(QString Delimeters READ Delimeters WRITE SetDelimeters)
    Q_PROPERTY(TSimpleParser* SyntaxParser READ SyntaxParser WRITE SetSyntaxParser)
    Q_PROPERTY(bool UseGlobalOptions READ UseGlobalOptions WRITE SetUseGlobalOptions)
    Q_PROPERTY(TCodeTemplates* CodeTemplates READ CodeTemplates WRITE SetCodeTemplates)
    Q_PROPERTY(QString Version READ Version STORED false)

public:
    explicit TMemoSource(TComponent* owner = nullptr) : TCustomMemoSource(owner) {}
};
