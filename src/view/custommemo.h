#pragma once

#include "dccustomcontrol.h"
#include "font.h"
#include "memomouse.h"
#include "memorenderer.h"
#include "memowrap.h"
#include "memoscroll.h"
#include "memotypes.h"
#include "paintfont.h"
#include "parkedplace.h"
#include "penbrush.h"
#include "position.h"
#include "positionstore.h"
#include "rowmap.h"
#include "searchoptions.h"
#include "textstyle.h"
#include "viewtypes.h"

#include <QBasicTimer>
#include <QPointer>
#include <QRegion>

#include <functional>
#include <memory>
#include <vector>

class QMenu;
class TControlBackground;
class TCustomMemoSource;
class TDCGutterImages;
class TExternalStrings;
class TGutterBackground;
class TLineHighlight;
class TLineSeparator;
class TCodeTemplate;
class TMemoEnvOptions;
class TMemoHints;
class TMemoSource;
class TSearchMarks;
class TMemoStructure;
class TSimpleParser;
class TSpecialSymbols;
class TStrings;
struct TGutterConfig;
struct TKeyStroke;

// The editor control: shows one text store at a time (its own internal one
// when none is attached) with a gutter, line numbers, a left-indent strip,
// an outline column and the text with a right margin, and repaints what the
// store reports changed.
//
// Layout, from the left edge of the client area: the gutter (GutterWidth,
// wider when the line numbers sit on it and need more), the left-indent
// strip, the line-number column when the numbers are not on the gutter, the
// outline column, then the text from TextLeft(). Rows are LineHeight() high;
// the top row shows TopLine(); columns start at LeftColumn().
class TCustomDCMemo : public TDCCustomControl, public TTextStylesOwner {
    Q_OBJECT

public:
    explicit TCustomDCMemo(QWidget* parent = nullptr);
    ~TCustomDCMemo() override;

    // The settings the application gives its editor (fonts, colours, options,
    // scroll bars, the text-store settings).
    void ApplyApplicationDefaults();

    // Every editor control alive.
    static const std::vector<TCustomDCMemo*>& Instances();
    // Overwrite mode is one flag for the whole program.
    static bool Overwrite();
    static void SetOverwrite(bool on);

    // -- options and layout ------------------------------------------------------
    TMemoOptions Options() const { return m_options; }
    void SetOptions(TMemoOptions options);
    int GutterWidth() const { return m_gutterWidth; }
    void SetGutterWidth(int width);
    int MarginPos() const { return m_marginPos; }
    void SetMarginPos(int column);
    int HorzMaxPos() const { return m_horzMaxPos; }
    void SetHorzMaxPos(int columns);
    int LeftIndent() const { return m_leftIndent; }
    void SetLeftIndent(int pixels);
    int GutterLineIndent() const { return m_gutterLineIndent; }
    void SetGutterLineIndent(int pixels);
    TGutterImgsAlign GutterImgsAlign() const { return m_gutterImgsAlign; }
    void SetGutterImgsAlign(TGutterImgsAlign align);

    // -- colours, pens and fonts -----------------------------------------------------
    TBrush GutterBrush() const { return m_gutterBrush; }
    void SetGutterBrush(const TBrush& brush);
    TColor GutterBackColor() const { return m_gutterBackColor; }
    void SetGutterBackColor(TColor color);
    TColor GutterLineColor() const { return m_gutterLineColor; }
    void SetGutterLineColor(TColor color);
    TPen MarginPen() const { return m_marginPen; }
    void SetMarginPen(const TPen& pen);
    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    TFont Font() const { return m_font; }
    void SetFont(const TFont& font);
    TFont PrinterFont() const { return m_printerFont; }
    void SetPrinterFont(const TFont& font) { m_printerFont = font; }
    bool UsePrinterFont() const { return m_usePrinterFont; }
    void SetUsePrinterFont(bool use) { m_usePrinterFont = use; }
    TFont TemplateFont() const { return m_templateFont; }
    void SetTemplateFont(const TFont& font) { m_templateFont = font; }
    bool UseMonoFont() const { return m_useMonoFont; }
    void SetUseMonoFont(bool use);
    TColor LineNumColor() const { return m_lineNumColor; }
    void SetLineNumColor(TColor color);
    TColor LineNumBackColor() const { return m_lineNumBackColor; }
    void SetLineNumBackColor(TColor color);
    TAlignment LineNumAlign() const { return m_lineNumAlign; }
    void SetLineNumAlign(TAlignment align);
    TColor SelColor() const { return m_selColor; }
    void SetSelColor(TColor color);
    TColor SelBackColor() const { return m_selBackColor; }
    void SetSelBackColor(TColor color);
    TColor MatchColor() const { return m_matchColor; }
    void SetMatchColor(TColor color);
    TColor MatchBackColor() const { return m_matchBackColor; }
    void SetMatchBackColor(TColor color);
    TColor LineBookmarkColor() const { return m_lineBookmarkColor; }
    void SetLineBookmarkColor(TColor color);
    TColor DisabledColor() const { return m_disabledColor; }
    void SetDisabledColor(TColor color);
    TColor ReadOnlyColor() const { return m_readOnlyColor; }
    void SetReadOnlyColor(TColor color);

    // -- behaviour kept for the mouse, keyboard, wrap and printing ------------------
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle style);
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool hide);
    bool HideScrollBars() const { return m_hideScrollBars; }
    void SetHideScrollBars(bool hide);
    bool HideCaret() const { return m_hideCaret; }
    void SetHideCaret(bool hide);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wrap);
    bool WantTabs() const { return m_wantTabs; }
    void SetWantTabs(bool want) { m_wantTabs = want; }
    bool WantReturns() const { return m_wantReturns; }
    void SetWantReturns(bool want) { m_wantReturns = want; }
    TWordSelectionType WordSelectionType() const { return m_wordSelectionType; }
    void SetWordSelectionType(TWordSelectionType type) { m_wordSelectionType = type; }
    TClipboardType ClipboardType() const { return m_clipboardType; }
    void SetClipboardType(TClipboardType type) { m_clipboardType = type; }
    bool PlainText() const { return m_plainText; }
    void SetPlainText(bool plain) { m_plainText = plain; }
    TDCPrintOptions PrintOptions() const { return m_printOptions; }
    void SetPrintOptions(TDCPrintOptions options) { m_printOptions = options; }
    int PrintIndent() const { return m_printIndent; }
    void SetPrintIndent(int indent) { m_printIndent = indent; }
    bool UseDefaultMenu() const { return m_useDefaultMenu; }
    void SetUseDefaultMenu(bool use) { m_useDefaultMenu = use; }
    // On: the control takes the global editor options now and after every
    // change of them (custommemoenv.cpp).
    bool UseGlobalOptions() const { return m_useGlobalOptions; }
    void SetUseGlobalOptions(bool use);
    // Takes the settings TMemoEnvOptions::kCopiedFields names from env; of
    // its Options only the bits in optionBits, the others keeping their
    // values. A change of font or styles re-measures lazily; the rest only
    // repaints.
    void TakeEnvOptions(const TMemoEnvOptions& env, TMemoOptions optionBits = kAllMemoOptions);
    // Gives env the same settings from this control.
    void GiveEnvOptions(TMemoEnvOptions& env) const;

    // -- the parts --------------------------------------------------------------------
    TLineSeparator* LineSeparator() const { return m_lineSeparator; }
    TLineHighlight* LineHighlight() const { return m_lineHighlight; }
    TSpecialSymbols* SpecialSymbols() const { return m_specialSymbols; }
    TControlBackground* Background() const { return m_background; }
    TGutterBackground* GutterBackground() const { return m_gutterBackground; }
    TBkgndOption BkgndOption() const;
    void SetBkgndOption(TBkgndOption option);
    TTextStyles* TextStyles() const { return m_textStyles; }
    // Copies styles.
    void SetTextStyles(TTextStyles* styles);
    TDCGutterImages* GutterImages() const { return m_gutterImages; }

    // -- forwarded to the attached text store ----------------------------------------
    QString TabStops() const;
    void SetTabStops(const QString& text);
    int SpacesInTab() const;
    void SetSpacesInTab(int spaces);
    int BlockIndent() const;
    void SetBlockIndent(int indent);
    QString Delimeters() const;
    void SetDelimeters(const QString& delimeters);
    TStringsOptions StringsOptions() const;
    void SetStringsOptions(TStringsOptions options);
    TBlockOption BlockOption() const;
    void SetBlockOption(TBlockOption option);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    bool AllowUndo() const;
    void SetAllowUndo(bool allow);
    int UndoLimit() const;
    void SetUndoLimit(int limit);
    TOutFormatType OutFormat() const;
    void SetOutFormat(TOutFormatType format);
    TSimpleParser* SyntaxParser() const;
    void SetSyntaxParser(TSimpleParser* parser);
    bool HighlightUrls() const;
    void SetHighlightUrls(bool on);
    QString TemplatesType() const;
    void SetTemplatesType(const QString& type);
    TExternalStrings& Lines() const;

    // -- the text store ---------------------------------------------------------------
    // The attached store; the internal one when none is attached.
    TCustomMemoSource* MemoSource() const { return m_source; }
    // Attaches source (null: the internal store), remembering where the view
    // stood in the old one and restoring where it stood in the new one.
    void SetMemoSource(TCustomMemoSource* source);
    TMemoSource* InternalSource() const { return m_internalSource.get(); }
    TMemoPostionStore& PositionStore() { return m_positions; }

    // -- view position and geometry ------------------------------------------------------
    // The line of the top row, and which of its rows that is (0 unless the
    // line is wrapped).
    int TopLine() const { return m_top.line; }
    TRowPos TopRow() const { return m_top; }
    void SetTopLine(int line);
    void SetTopRow(TRowPos top);
    int LeftColumn() const { return m_leftColumn; }
    void SetLeftColumn(int column);
    int LineHeight();
    int CharWidth();
    // The gutter width in effect (0 without moDrawGutter).
    int EffectiveGutterWidth();
    int LineNumberDigits();
    int NumberWidth();
    int TextLeft();
    // Rows that fit wholly / rows that are at least partly shown.
    int VisibleRows();
    int PaintedRows();
    int VisibleColumns();
    // The client rectangle of a line's first row (empty when not shown).
    QRect LineRect(int line);
    // The pixel of a text position (its row's top left), and the caret's
    // rectangle as it is drawn.
    QPoint PositionToPixel(TTextPos pos);
    QRect CaretRect();
    bool CaretShown() const { return m_caretShown; }
    // Scrolls just enough to show the caret.
    void MakeCaretVisible();
    // The wrap points and line info of the text (empty while WordWrap is
    // off), and the row capacity they were cut by.
    TMemoWordWrap& WordWrapper() { return m_wrap; }
    // The rows a line is shown on, and the row (from the top row) that
    // shows a text position.
    int RowsOfLine(int line) const { return m_rows.RowsOfLine(line); }
    int RowOfPosition(TTextPos pos) { return m_rows.RowOf(m_top, pos, PaintedRows() + 1); }
    // The line whose rows the vertical scroll bar's value stands for.
    int LineAtScrollValue(int value);
    // The text position at a client pixel: the caret place nearest to it, or
    // with cell the character it falls on. Left of the text area the first
    // shown column; rows and columns past the text count on.
    TTextPos PixelToPosition(QPoint pixel, bool cell = false);

    // -- mouse (memomouse.cpp) -------------------------------------------------------------
    // The menu shown when the right button comes up (not owned).
    QMenu* PopupMenu() const;
    void SetPopupMenu(QMenu* menu);
    TMouseMode MouseMode() const { return m_mouse->Mode(); }
    // Ends a mouse selection or a pending drag where it stands.
    void CancelMouseOperation() { m_mouse->Cancel(); }

    // -- keyboard (memokeys.cpp) ----------------------------------------------------------
    // Typed characters go through the OEM code page and back, so that only
    // characters it holds are typed.
    bool OemConvert() const { return m_oemConvert; }
    void SetOemConvert(bool convert) { m_oemConvert = convert; }
    // The view's commands that key mappings bind (the store's own commands
    // are bound directly). extend is smNone or the selection mode the
    // movement extends, as for the store's movements.
    // Left at column 0 with moNotePadCursorStyle goes to the end of the
    // previous line.
    void CaretLeft(int extend = smNone);
    void CaretRight(int extend = smNone);
    // With HideCaret these scroll by one line instead.
    void CaretUp(int extend = smNone);
    void CaretDown(int extend = smNone);
    // The start / end of the caret's row (its line unless wrapped); with
    // HideCaret the start also scrolls to column 0.
    void RowStart(int extend = smNone);
    void RowEnd(int extend = smNone);
    // A window height up / down: the view scrolls and the caret keeps its row.
    void PageUp(int extend = smNone);
    void PageDown(int extend = smNone);
    // The caret to the top / bottom row of the window, in its column.
    void WindowTop(int extend = smNone);
    void WindowBottom(int extend = smNone);
    // The view by one line; the caret stays.
    void ScrollLineUp();
    void ScrollLineDown();
    // Flips the overwrite mode of every text store and raises OnStateChange
    // with kInsertModeChanged.
    void ToggleOverwrite();
    // Enter and Backspace, by the structure of the text where it applies
    // (structuretyping.h), else the text store's own.
    void TypeNewLine();
    void TypeBackspace();
    // A bit of the state change mask that the text store's masks leave free.
    static constexpr int kInsertModeChanged = 0x1000;
    // The toolkit's key events: OnKeyDown before the key list sees the key
    // (a key set to 0 is not looked up), OnKeyPress before a character is
    // typed (a character set to 0 is not typed).
    std::function<void(TCustomDCMemo& sender, quint16& key, TShiftState shift)> OnKeyDown;
    std::function<void(TCustomDCMemo& sender, char& key)> OnKeyPress;
    std::function<void(TCustomDCMemo& sender, quint16 key, TShiftState shift)> OnKeyUp;

    // -- hints and popups (memohints.cpp) -----------------------------------------------
    // The hint timer, the hint and list windows and the word typed since.
    TMemoHints& Hints() const { return *m_hints; }

    // Ranges shown in the match colours (search match, matched brackets).
    void SetMatches(std::vector<TMatchRange> matches);
    const std::vector<TMatchRange>& Matches() const { return m_matches; }
    // Whether the store's last search shows: its match in the match colours,
    // the others on screen lighter (searchmarks.h). On unless switched off
    // (a print).
    bool ShowSearchMatches() const { return m_showSearchMatches; }
    void SetShowSearchMatches(bool show);

    // Paints what of the client area lies in rect into painter, as a paint
    // event would (without the caret).
    void PaintRect(QPainter& painter, const QRect& rect);
    // Paints the whole client area as it is into an image of its size.
    QImage RenderToImage();
    // Printing: paints rows rows from top at the painter's origin, as the
    // client area would show them with top at its top, without scrolling
    // (a last page stands past the lowest top a scroll may reach).
    void PaintRowsFrom(QPainter& painter, TRowPos top, int rows);
    // The row rows rows below from, counting rows past the text's end.
    TRowPos RowBelow(TRowPos from, int rows);

    // TTextStylesOwner
    TColor MemoColor() const override { return m_color; }
    TFont MemoFont() const override { return m_font; }
    void SetMemoColors(TUpdateMemoColors which, TColor fontColor, TColor backColor) override;
    void TextStylesChanged() override;

    // -- events -------------------------------------------------------------------------
    std::function<void(TCustomDCMemo& sender)> OnChange;
    std::function<void(TCustomDCMemo& sender, int state)> OnStateChange;
    std::function<void(TCustomDCMemo& sender)> OnSelectionChange;
    // Asked for the text of each line number (line 0-based); asked once more
    // with the highest number shown, whose text length sets the digit count.
    std::function<void(TCustomDCMemo& sender, QString& text, int line)> OnGetLineNumber;
    std::function<void(TCustomDCMemo& sender, int line, QByteArray& text, QByteArray& attrs)> OnCustomString;
    // Raised after every scroll with the rows (vertical) or columns scrolled.
    std::function<void(TCustomDCMemo& sender, Qt::Orientation kind, int delta)> OnMemoScroll;
    // A click in the gutter: the line, the index of the gutter image under
    // the pointer (-1: none) and the modifier set with the button.
    std::function<void(TCustomDCMemo& sender, int line, int imageIndex, TShiftState shift)> OnClickGutter;
    // A click on a highlighted URL; unhandled, a web, ftp or mail address is
    // opened by the system.
    std::function<void(TCustomDCMemo& sender, const QString& url, bool& handled)> OnJumpToUrl;
    // A collapse box clicked: the line and the state it is about to take
    // (0 expanded, 1 collapsed); clearing allow keeps the old one.
    std::function<void(TCustomDCMemo& sender, int line, int state, bool& allow)> OnCollapseStateChanging;
    std::function<void(TCustomDCMemo& sender, int line, int state)> OnCollapseStateChanged;
    // While the vertical thumb is dragged with moShowScrollHint: may change
    // the hint shown for the top line (0-based).
    std::function<void(TCustomDCMemo& sender, int topLine, QString& hint)> OnVerticalScroll;
    // The toolkit's mouse events, after the control's own handling (shift as
    // for OnClickGutter).
    std::function<void(TCustomDCMemo& sender, Qt::MouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
    std::function<void(TCustomDCMemo& sender, TShiftState shift, int x, int y)> OnMouseMove;
    std::function<void(TCustomDCMemo& sender, Qt::MouseButton button, TShiftState shift, int x, int y)> OnMouseUp;
    // Not published: may change the font and background an attribute is
    // painted in.
    std::function<void(TCustomDCMemo& sender, int attr, TFont& font, TColor& backColor)> OnGetAttrColors;
    // May change the line style a line is painted in (0: none), after the
    // text store gave its own.
    std::function<void(TCustomDCMemo& sender, int line, int& style)> OnGetColorStyle;
    // Draws over the painted client area (rect: the part being painted),
    // before the caret.
    std::function<void(TCustomDCMemo& sender, QPainter& painter, const QRect& rect)> OnCustomDraw;
    // Asked when the caret has rested Hints().Delay() ms behind a typed
    // character: the handler fills strings, may clear allowPopup, and sets
    // popupType 1 to offer the strings as a list; any other type shows the
    // first string as a one-line hint below the caret.
    std::function<void(TCustomDCMemo& sender, TStrings& strings, int& popupType, bool& allowPopup)> OnHintPopup;
    // The item chosen from the list, before it replaces the word typed since
    // the list was asked for.
    std::function<void(TCustomDCMemo& sender, QByteArray& text)> OnHintInsert;
    // Finds the item of the open list that the word typed selects; found
    // false selects none. Unassigned, the first item the word begins
    // (without regard to case) is selected.
    std::function<void(TCustomDCMemo& sender, const TStrings& items, const QByteArray& text, bool& found, int& index)>
        OnFindStringInPopup;
    // A code template about to go in place of its name: may change its text.
    std::function<void(TCustomDCMemo& sender, const TCodeTemplate& found, QString& text)> OnTemplateInsert;
    // The find, replace and go-to-line dialogs of this control's keys, asked
    // when the text store has no OnCreateDialog of its own (as that hook:
    // false when the user cancelled).
    std::function<bool(TCustomDCMemo& sender, TDialogKind kind, TSearchOptions& options, int& line)> OnCreateDialog;
    // The toolkit's focus events: after the control gained / lost the focus.
    std::function<void(TCustomDCMemo& sender)> OnEnter;
    std::function<void(TCustomDCMemo& sender)> OnExit;
    // Raised by the export for each line it writes (line 0-based): may
    // change the text written.
    std::function<void(TCustomDCMemo& sender, int line, QByteArray& text)> OnExportString;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void FillBuiltInKeyMapping(TKeyList& list) override;
    QObject* KeyCommandObject(TKeyTarget target) override;

    // Lets the view adjust a caret move before the store makes it.
    virtual void AdjustCaretMove(int& dLines, int& dColumns);

private:
    friend class TMemoMouse;
    friend class TMemoScroller;
    friend class TMemoStructure;

    // -- the store link ---------------------------------------------------------------------
    void Attach(TCustomMemoSource* source);
    void Detach();
    void BecomeView();
    // Another control of the store takes the caret over: this one keeps its
    // own caret, selection and top line parked.
    void Park();
    void SourceChanged(const TMemoChange& change);
    void LinesParsed(int firstLine, int lastLine);
    void SourceDestroyed(QObject* source);

    // -- keyboard ---------------------------------------------------------------------------
    // Whether the window's shortcuts leave a key to the control.
    bool TakesShortcut(QKeyEvent* event);
    // A key press: the key list, then the characters it types. True when
    // the control took it.
    bool KeyDown(QKeyEvent* event);
    // The key list, then the characters it types (key and shift as
    // OnKeyDown left them).
    bool KeyDownInText(QKeyEvent* event, const TKeyStroke& stroke, quint16 key, TShiftState shift, bool prefixPending);
    // Types text as key presses do (OnKeyPress, OemConvert, the characters
    // Windows-1252 holds); insert false runs only OnKeyPress.
    bool TypeText(const QString& text, bool insert);
    // Scrolls ahead before a character is typed at the window's right edge.
    void MakeRoomToType();
    // The row that shows the caret.
    TRow CaretRow();

    // -- word wrap (custommemowrap.cpp) -----------------------------------------------------
    // Cuts the rows anew when the row capacity, the font or the text area's
    // width changed (force: also when they did not).
    void UpdateWrap(bool force = false);
    // Re-wraps lines changed by an edit and repaints what moved.
    void RewrapChanged(int firstLine, int lastLine);
    // New attributes give measured lines new fonts: their rows are cut
    // again (nothing with a monospaced layout).
    void RewrapMeasured(int firstLine, int lastLine);
    TWrapLayout WrapLayout();
    // The advance of every character of a line as painted (measured fonts).
    void LineAdvances(int line, std::vector<qreal>& advances);
    // The x of a column on a row, from the row's first column.
    int ColumnOffset(const TRow& row, int column);
    // The column at x (from the row's first column) on a row: the caret
    // place nearest to it, or with cell the character it falls on; always
    // one of the row's own columns.
    int ColumnAt(const TRow& row, int x, bool cell);
    // The place in a row at x (from its first column), for moves that keep
    // the caret's x.
    TTextPos PositionInRow(TRowPos pos, int x);
    // The row index the scroll bar shows for a row: exact for wrapped
    // lines, estimated for the others.
    qint64 ScrollIndex(TRowPos pos);
    TRowPos RowAtScrollIndex(qint64 index);

    // -- layout and invalidation ------------------------------------------------------------
    void Measure();
    // Drops the cached metrics: after a font, style, parser or option change.
    void ResetMetrics();
    // Recomputes digits and gutter; repaints everything when the text left
    // moved.
    void UpdateLayout();
    void UpdateScrollBars();
    void InvalidateLines(int firstLine, int lastLine);
    void InvalidateSelection();
    void InvalidateCaret();
    void Changed();
    // The lowest top row: the last row of the text (or of the caret line
    // below it) at the window's bottom.
    TRowPos MaxTop();
    int LastViewLine();
    void ScrollTo(TRowPos top, int leftColumn);
    TGutterConfig GutterConfig();
    TRenderConfig RenderConfig();
    TRenderConfig MeasureConfig();
    void PaintArea(QPainter& painter, const QRect& rect);
    // Repaints the lines the paint had parsed, but not where it painted.
    void FlushParsedLines(const QRegion& painted);
    void ShowCaret(bool show);
    int BreakPointStyle() const;

    // Settings.
    TMemoOptions m_options;
    int m_gutterWidth = 32;
    int m_marginPos = 80;
    int m_horzMaxPos = 512;
    int m_leftIndent = 0;
    int m_gutterLineIndent = 0;
    TGutterImgsAlign m_gutterImgsAlign = iaLeft;
    TBrush m_gutterBrush;
    TColor m_gutterBackColor = clWindow;
    TColor m_gutterLineColor = clGray;
    TPen m_marginPen;
    TColor m_color = clWindow;
    TFont m_font;
    TFont m_printerFont;
    bool m_usePrinterFont = false;
    TFont m_templateFont;
    bool m_useMonoFont = true;
    TColor m_lineNumColor = clWindowText;
    TColor m_lineNumBackColor = clWindow;
    TAlignment m_lineNumAlign = taRightJustify;
    TColor m_selColor = clHighlightText;
    TColor m_selBackColor = clHighlight;
    TColor m_matchColor = clLime;
    TColor m_matchBackColor = clWindowText;
    TColor m_lineBookmarkColor = clRed;
    TColor m_disabledColor = clGrayText;
    TColor m_readOnlyColor = clWindow;
    TScrollStyle m_scrollBars = ssNone;
    bool m_hideSelection = false;
    bool m_hideScrollBars = false;
    bool m_hideCaret = false;
    bool m_wordWrap = false;
    bool m_wantTabs = false;
    bool m_wantReturns = true;
    bool m_oemConvert = false;
    TWordSelectionType m_wordSelectionType = wsWordOnly;
    TClipboardType m_clipboardType = cbNormal;
    bool m_plainText = true;
    TDCPrintOptions m_printOptions = poShowProgress;
    int m_printIndent = 0;
    bool m_useDefaultMenu = false;
    bool m_useGlobalOptions = false;
    // The listener handle while the control follows the global options.
    int m_globalListener = 0;

    // The store link. The internal store is made first and dies last.
    std::unique_ptr<TMemoSource> m_internalSource;
    TCustomMemoSource* m_source = nullptr;
    int m_listener = 0;
    QMetaObject::Connection m_destroyedLink;
    TMemoPostionStore m_positions;
    // This control's place while another control of its store has the caret.
    TParkedPlace m_parked;

    // Parts.
    TLineSeparator* m_lineSeparator = nullptr;
    TLineHighlight* m_lineHighlight = nullptr;
    TSpecialSymbols* m_specialSymbols = nullptr;
    TControlBackground* m_background = nullptr;
    TGutterBackground* m_gutterBackground = nullptr;
    TDCGutterImages* m_gutterImages = nullptr;
    TTextStyles* m_textStyles = nullptr;

    // Cached metrics (0: not measured yet) and layout.
    int m_lineHeight = 0;
    int m_charWidth = 0;
    int m_ascent = 0;
    int m_digits = 1;
    int m_layoutTextLeft = -1;
    TFontCache m_fonts;
    TMemoWordWrap m_wrap;
    TRowMap m_rows;
    std::unique_ptr<TMemoRenderer> m_renderer;

    // View state.
    TRowPos m_top;
    int m_leftColumn = 0;
    bool m_painting = false;
    // Lines whose attributes a paint recomputed (first > last: none).
    int m_parsedFirst = 0;
    int m_parsedLast = -1;
    bool m_settingScrollBars = false;
    // The vertical bar's value as last set (rows while wrapping), to tell a
    // step of the bar from a jump of its thumb.
    int m_barValue = 0;
    // The x a run of vertical moves keeps, and where the last one left the
    // caret (the run ends when the caret is found elsewhere).
    TTextPos m_goalCaret{-1, -1};
    int m_goalX = 0;
    bool m_constructed = false;
    bool m_restoring = false;
    std::vector<TMatchRange> m_matches;
    bool m_showSearchMatches = true;
    std::unique_ptr<TSearchMarks> m_searchMarks;
    // The selection as last drawn, to repaint its lines when it changes.
    int m_drawnSelectionFirst = 0;
    int m_drawnSelectionLast = -1;
    int m_drawnCaretLine = -1;

    // The caret: shown while focused, blinking.
    QBasicTimer m_caretTimer;
    bool m_caretShown = false;
    bool m_caretBlinkOn = false;
    QRect m_drawnCaret;

    // The mouse and the scroll bars; made last, they go first.
    QPointer<QMenu> m_popupMenu;
    std::unique_ptr<TMemoMouse> m_mouse;
    std::unique_ptr<TMemoScroller> m_scroller;
    std::unique_ptr<TMemoHints> m_hints;
    std::unique_ptr<TMemoStructure> m_structure;
};
