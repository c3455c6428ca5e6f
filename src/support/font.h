#pragma once

#include "color.h"

#include <QMetaType>
#include <QObject>
#include <QString>

// A font as the model keeps it: plain values. Only the view turns it into a
// QFont. Height is the stored measure (negative: character height in pixels
// at 96 dpi); Size in points is derived from it.
class TFont {
    Q_GADGET
    Q_PROPERTY(TFontCharset Charset READ Charset WRITE SetCharset)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(TFontStyles Style READ Style WRITE SetStyle)

public:
    enum TFontStyle { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };
    Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
    Q_FLAG(TFontStyles)

    enum TFontCharset {
        ANSI_CHARSET = 0,
        DEFAULT_CHARSET = 1,
        SYMBOL_CHARSET = 2,
        OEM_CHARSET = 255,
    };
    Q_ENUM(TFontCharset)

    static constexpr int kPixelsPerInch = 96;

    TFont() = default;
    TFont(const QString& name, int height, TColor color = clWindowText, TFontStyles style = {});

    TFontCharset Charset() const { return m_charset; }
    void SetCharset(TFontCharset charset) { m_charset = charset; }
    TColor Color() const { return m_color; }
    void SetColor(TColor color) { m_color = color; }
    int Height() const { return m_height; }
    void SetHeight(int height) { m_height = height; }
    int Size() const;
    void SetSize(int points);
    const QString& Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }
    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles style) { m_style = style; }

    bool operator==(const TFont& other) const = default;

private:
    TFontCharset m_charset = DEFAULT_CHARSET;
    TColor m_color = clWindowText;
    int m_height = -11;
    QString m_name = QStringLiteral("MS Sans Serif");
    TFontStyles m_style;
};
Q_DECLARE_OPERATORS_FOR_FLAGS(TFont::TFontStyles)
Q_DECLARE_METATYPE(TFont)
