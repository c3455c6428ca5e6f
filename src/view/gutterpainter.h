#pragma once

#include "paintfont.h"
#include "penbrush.h"
#include "rowmap.h"
#include "viewtypes.h"

#include <QRect>
#include <QString>

#include <functional>
#include <vector>

class QPainter;
class TControlBackground;
class TCustomMemoSource;
class TDCGutterImages;

// Everything the gutter and the line numbers are painted from.
struct TGutterConfig {
    TCustomMemoSource* source = nullptr;
    TMemoOptions options;
    int gutterWidth = 0;  // 0: no gutter
    int numberWidth = 0;  // the width of the numbers, with one spare cell
    int digits = 1;
    int lineHeight = 1;
    int charWidth = 1;
    int ascent = 0;
    int leftIndent = 0;   // the left-indent strip as laid out (0: none)
    int gutterLineIndent = 0;
    TBrush gutterBrush;
    TColor gutterBackColor = clWindow;
    TColor gutterLineColor = clGray;
    TColor lineNumColor = clWindowText;
    TColor lineNumBackColor = clWindow;
    TAlignment lineNumAlign = taRightJustify;
    TGutterImgsAlign imgsAlign = iaLeft;
    const TDCGutterImages* images = nullptr;
    const TControlBackground* background = nullptr; // an active gutter picture, or null
    TFont font;
    // The line style that marks a breakpoint (its line gets the
    // "BreakPoint" picture); -1 for none.
    int breakPointStyle = -1;
    // May replace the text of a line's number.
    std::function<void(QString& text, int line)> lineNumberText;
};

// Paints the gutter (its fill, its two lines and its pictures) and the line
// numbers, on the gutter or in their own column.
class TGutterPainter {
public:
    explicit TGutterPainter(TFontCache& fonts) : m_fonts(fonts) {}

    // Paints what of the gutter and number column meets area; the first row
    // at y.
    void Paint(QPainter& painter, const QRect& area, const std::vector<TRow>& rows, int y, const TGutterConfig& config);

    // The x of the line numbers under config.
    static int NumbersLeft(const TGutterConfig& config);
    static bool NumbersOnGutter(const TGutterConfig& config);
    // The one-based number text of a line padded to the digit count.
    static QString NumberText(int line, const TGutterConfig& config);

    // Where the gutter images of a line go on its row at y: the image's
    // collection index and its rectangle, in painting order.
    struct TImagePlace {
        int index = -1;
        QRect rect;
    };
    static std::vector<TImagePlace> ImagePlaces(int line, int y, const TGutterConfig& config);

private:
    void PaintGutter(QPainter& painter, const QRect& area, const TGutterConfig& config);
    void PaintNumber(QPainter& painter, const TRow& row, int y, const TGutterConfig& config);
    void PaintImages(QPainter& painter, int line, int y, const TGutterConfig& config);

    TFontCache& m_fonts;
};
