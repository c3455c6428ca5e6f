#pragma once

#include "color.h"
#include "font.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class TCustomMemoSource;

// The highlighted text of a text store as RTF or HTML: every run of equal
// attributes in the font, size, style and colours its parser gives it, so
// that a word processor or a mail shows the text as the editor does. Used by
// File, Export and by the rich part of a copy.
//
// The formats of all 256 attributes are settled before the first line is
// written (the RTF font and colour tables precede the text), so a document
// is written in one pass over its lines, a line's bytes going out as soon as
// they are formatted. RTF writes a format's control words only where the
// format changes, and blanks between two runs keep the format before them
// when they look the same in it; so a run costs its text and at most one
// set of control words. Text is Windows-1252: RTF writes the bytes above 127
// as \'hh and escapes "\", "{" and "}"; HTML gets the characters as UTF-8
// with "&", "<" and ">" escaped.
class TRichTextWriter {
public:
    enum TFormat { rfRtf, rfHtml };

    // plainFont and plainColor: the look of text without an attribute
    // font (the control's Font and Color).
    TRichTextWriter(TCustomMemoSource& source, TFormat format, const TFont& plainFont, TColor plainColor);

    // Appends columns [left, right) of a line (right -1: to its end; columns
    // of the tab-expanded text); lines after the first begin a new paragraph.
    void AddLine(int line, int left = 0, int right = -1);
    // The text so far, and the closing part once Finish was called.
    QByteArray& Buffer() { return m_out; }
    void Finish();

    // The whole of a document written into device, flushed in large pieces
    // (the saver's device is unbuffered). False with the device's reason in
    // *error when a write fails.
    static bool WriteDocument(TCustomMemoSource& source, const TFont& plainFont, TColor plainColor,
                              QIODevice& device, QString* error);
    // The document as an RTF file at path, through the failure-safe save:
    // on any failure the old file is left as it was and *error says why.
    static bool ExportFile(TCustomMemoSource& source, const TFont& plainFont, TColor plainColor, const QString& path,
                           QString* error);
    // Lines [firstLine, lastLine], the first from firstColumn, the last up
    // to lastColumn (exclusive), as one piece of the format.
    static QByteArray Range(TCustomMemoSource& source, TFormat format, const TFont& plainFont, TColor plainColor,
                            int firstLine, int firstColumn, int lastLine, int lastColumn);

private:
    // How one attribute is written: the ready-made opening of its run.
    struct TRunFormat {
        QByteArray open;  // RTF: \plain and control words; HTML: the <span ...> tag
        QByteArray close; // HTML: "</span>"; RTF: empty
        int back = 0;     // the background's colour index
        bool marksBlanks = false; // underlined or struck out: blanks show it
    };

    int FontIndex(const QString& name);
    int ColorIndex(TColor color);
    TRunFormat MakeFormat(const TFont& font, TColor back);
    void WriteText(const char* data, int length);
    // A run of a UTF-8 or OEM document, read as characters: RTF takes a
    // character Windows-1252 lacks as \uN (with '?' for readers that do not
    // know it), HTML as UTF-8.
    void WriteCharacters(const QString& text);

    TCustomMemoSource& m_source;
    TFormat m_format;
    TFont m_plainFont;
    TColor m_plainColor;
    QStringList m_fonts;
    std::vector<quint32> m_colors; // 0xRRGGBB as resolved
    std::array<TRunFormat, 256> m_attrFormats;
    TRunFormat m_plainFormat;
    QByteArray m_out;
    // RTF: the format in effect (it lasts across runs and lines until
    // another is written), null before the first run.
    const TRunFormat* m_current = nullptr;
    bool m_firstLine = true;
    bool m_finished = false;
};
