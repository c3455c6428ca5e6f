#pragma once

#include "paintfont.h"
#include "penbrush.h"
#include "rowmap.h"
#include "viewtypes.h"

#include <QByteArray>
#include <QPointF>
#include <QRect>

#include <array>
#include <bitset>
#include <functional>
#include <vector>

class QPainter;
class TControlBackground;
class TCustomMemoSource;
class TTextStyles;

// A range of one line shown in the match colours: a search match or a
// matched bracket. Columns [left, right). A light range (another match of
// the last search) is shown in a lighter form of them: its own text colour
// on a background tinted by the match background.
struct TMatchRange {
    int line = 0;
    int left = 0;
    int right = 0;
    bool light = false;
};

// Everything the text area is painted from. The control fills one for every
// paint; printing fills its own.
struct TRenderConfig {
    TCustomMemoSource* source = nullptr;
    const TTextStyles* styles = nullptr;
    TMemoOptions options;
    TFont font;
    TColor color = clWindow;
    TColor selColor = clHighlightText;
    TColor selBackColor = clHighlight;
    TColor matchColor = clLime;
    TColor matchBackColor = clWindowText;
    TColor readOnlyColor = clWindow;
    TColor disabledColor = clGrayText;
    TColor lineBookmarkColor = clRed;
    TPen marginPen;
    int marginPos = 80;
    TSeparatorOptions separatorOptions;
    TPen separatorPen;
    // With moDrawSpecialSymbols, as bytes.
    QByteArray eolString;
    QByteArray eofString;
    char spaceChar = ' ';
    char tabChar = ' ';
    bool useMonoFont = true;
    bool showSelection = true; // false while HideSelection hides it
    bool enabled = true;
    const TControlBackground* background = nullptr; // an active one is drawn behind the text

    int lineHeight = 1;
    int charWidth = 1;
    int ascent = 0;
    int textLeft = 0;
    int textRight = 0;    // the client width
    int leftColumn = 0;
    int outlineLeft = -1; // the outline column's x, -1 when it is not shown

    // The caret line's frame and fill, -1 for none.
    int highlightLine = -1;
    TPen highlightPen;
    TBrush highlightBrush;

    std::vector<TMatchRange> matches;
    // The bracket or tag at the caret and its partner, in the match colours;
    // one without a partner in errorColor on errorBackColor.
    std::vector<TMatchRange> brackets;
    std::vector<TMatchRange> unmatchedBrackets;
    TColor errorColor = clWindow;
    TColor errorBackColor = clMaroon;
    // A collapsed fold point shows its marker behind its line (while the
    // outline column is shown).
    bool foldMarkers = false;
    // May change a line's text and attributes before it is drawn.
    std::function<void(int line, QByteArray& text, QByteArray& attrs)> customString;
    // May change the font and background an attribute is painted in.
    std::function<void(int attr, TFont& font, TColor& backColor)> attrColors;
    // May change the line style a line is painted in.
    std::function<void(int line, int& style)> lineStyle;
};

// Paints text rows into any QPainter: the runs of each row in their fonts
// and colours, the rest of the row, the margin line, line separators, line
// bookmarks and the outline column. It keeps no state between paints but a
// table of the styles it resolved during the current one.
class TMemoRenderer {
public:
    // A piece of a row drawn with one text call: equal attribute, selection
    // and match state, at most kMaxRun characters.
    struct TRun {
        int start = 0;
        int length = 0;
        int attr = -1; // -1: no attribute (the control's own font and colour)
        bool selected = false;
        bool matched = false;
        bool lightMatch = false;
    };
    static constexpr int kMaxRun = 512;

    explicit TMemoRenderer(TFontCache& fonts) : m_fonts(fonts) {}

    void SetConfig(const TRenderConfig& config);
    const TRenderConfig& Config() const { return m_config; }

    // Paints the rows that meet area (in painter coordinates), the first row
    // at y; rows are lineHeight pixels high.
    void PaintRows(QPainter& painter, const QRect& area, const std::vector<TRow>& rows, int y);

    // Whether the row of a line needs the line's attribute string.
    bool WantsAttributes() const;
    // The advance of every character a line shows, in the font of its run
    // as painted with a proportional font (measured fonts).
    void Advances(int line, std::vector<qreal>& advances);
    // The text a row shows (special symbols included). In a document that
    // is not Windows-1252, marks (when given) gets the symbols above 0x7F
    // at their columns and 0 elsewhere, or nothing when there are none; in
    // UTF-8 the text holds a placeholder byte there.
    QByteArray DisplayText(int line, QByteArray* marks = nullptr) const;

    // Cuts columns [start, end) into runs. attrs holds the attributes of
    // the columns [attrFirst, attrCount) from its first byte on (the
    // columns outside have no attribute; with urlsOnly neither have those
    // that are not URL characters); selection [selLeft, selRight); matches
    // are the ranges of this line.
    static void CutRuns(const uchar* attrs, int attrCount, bool urlsOnly, int start, int end, int selLeft,
                        int selRight, const std::vector<TMatchRange>& matches, std::vector<TRun>& runs,
                        int attrFirst = 0);

private:
    // What a line shows: its text (special symbols and hooks applied), its
    // attributes (indexed by column) and its line style (0: none or not a
    // valid style). text holds the columns [first, first + text.size()) of
    // the length columns the line shows; attrs those of the columns
    // [attrFirst, attrCount).
    struct TLineContent {
        QByteArray text;
        int first = 0;
        int length = 0;
        const uchar* attrs = nullptr;
        int attrFirst = 0;
        int attrCount = 0;
        int lineStyle = 0;
        QByteArray attrCopy;
        QByteArray marks; // see DisplayText
    };
    // Loads the whole line, or with span only the columns [from, to) of it,
    // so that a row of a long line costs what it shows. A span is possible
    // only where the shown text is the line's own text (SpanLoads).
    void LoadLine(int line, TLineContent& content, bool span = false, int from = 0, int to = 0);
    bool SpanLoads() const;

    struct TRunStyle {
        const TPaintFont* font = nullptr;
        TColor fore;
        TColor back;
        bool backIsMemo = true; // the background is the control's Color
    };

    TRunStyle AttrStyle(int attr);
    TRunStyle LineStyle(int attr, int lineStyle);
    TRunStyle RunStyle(const TRun& run, int lineStyle);
    TColor MemoBack(int line) const;
    void PaintRow(QPainter& painter, const QRect& area, const TRow& row, int y);
    // Draws the bytes [from, to) of the loaded UTF-8 line, each special
    // symbol as its Windows-1252 glyph.
    void DrawUtf8Bytes(QPainter& painter, const TPaintFont& font, int from, int to, QPointF origin, int cellWidth);
    void PaintOutline(QPainter& painter, int line, int y);
    void Fill(QPainter& painter, int left, int right, int y, TColor color, bool isMemo);
    void PaintBackground(QPainter& painter, const QRect& area);

    TFontCache& m_fonts;
    TRenderConfig m_config;
    bool m_readOnly = false;
    std::array<TRunStyle, 256> m_styles;
    std::bitset<256> m_resolved;
    TRunStyle m_plainStyle;
    std::vector<TRun> m_runs;
    TLineContent m_line;
    std::vector<TMatchRange> m_lineMatches;
    // The line of the row being painted.
    int m_rowLine = -1;
    std::vector<TMatchRange> m_lineErrors;
};
