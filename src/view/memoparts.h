#pragma once

#include "penbrush.h"
#include "viewtypes.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>

class QColor;
class QPainter;
class QRect;

// The small persistent parts of the editor control: each holds a few
// published values and tells its control when one of them changes, so that
// the control repaints.
class TMemoPersistent : public QObject {
    Q_OBJECT

public:
    explicit TMemoPersistent(QObject* parent = nullptr) : QObject(parent) {}

    std::function<void()> OnChange;

protected:
    void Changed()
    {
        if (OnChange)
            OnChange();
    }
};

// How line ends, the text end, blanks and tabs are shown with
// moDrawSpecialSymbols.
class TSpecialSymbols : public TMemoPersistent {
    Q_OBJECT
    Q_PROPERTY(QString EOLString READ EOLString WRITE SetEOLString)
    Q_PROPERTY(QString EOFString READ EOFString WRITE SetEOFString)
    Q_PROPERTY(QString SpaceChar READ SpaceChar WRITE SetSpaceChar)
    Q_PROPERTY(QString TabChar READ TabChar WRITE SetTabChar)

public:
    explicit TSpecialSymbols(QObject* parent = nullptr);

    QString EOLString() const { return m_eol; }
    void SetEOLString(const QString& text);
    QString EOFString() const { return m_eof; }
    void SetEOFString(const QString& text);
    // One character each; an empty text keeps the character as it is.
    QString SpaceChar() const { return m_space; }
    void SetSpaceChar(const QString& text);
    QString TabChar() const { return m_tab; }
    void SetTabChar(const QString& text);

    void Assign(const TSpecialSymbols& source);

private:
    QString m_eol;
    QString m_eof;
    QString m_space;
    QString m_tab;
};

// The lines drawn under text lines or wrapped rows.
class TLineSeparator : public TMemoPersistent {
    Q_OBJECT
    Q_PROPERTY(ViewTypes::TSeparatorOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(TPen Pen READ Pen WRITE SetPen)

public:
    explicit TLineSeparator(QObject* parent = nullptr) : TMemoPersistent(parent) {}

    TSeparatorOptions Options() const { return m_options; }
    void SetOptions(TSeparatorOptions options);
    TPen Pen() const { return m_pen; }
    void SetPen(const TPen& pen);

    void Assign(const TLineSeparator& source);

private:
    TSeparatorOptions m_options;
    TPen m_pen;
};

// The frame and fill of the caret line while the control has the focus.
class TLineHighlight : public TMemoPersistent {
    Q_OBJECT
    Q_PROPERTY(TPen Pen READ Pen WRITE SetPen)
    Q_PROPERTY(TBrush Brush READ Brush WRITE SetBrush)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    explicit TLineHighlight(QObject* parent = nullptr);

    TPen Pen() const { return m_pen; }
    void SetPen(const TPen& pen);
    TBrush Brush() const { return m_brush; }
    void SetBrush(const TBrush& brush);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);

    void Assign(const TLineHighlight& source);

private:
    TPen m_pen;
    TBrush m_brush;
    bool m_visible = false;
};

// A background picture of the text area or of the gutter. It is active when
// BkgndOption is not boNone and there is something to draw: a picture, or
// for the gradients none is needed (they run from the area's colour to
// GradientColor).
class TControlBackground : public TMemoPersistent {
    Q_OBJECT
    Q_PROPERTY(QImage Bitmap READ Bitmap WRITE SetBitmap)
    Q_PROPERTY(ViewTypes::TBkgndOption BkgndOption READ BkgndOption WRITE SetBkgndOption)
    Q_PROPERTY(TColor GradientColor READ GradientColor WRITE SetGradientColor)

public:
    explicit TControlBackground(QObject* parent = nullptr) : TMemoPersistent(parent) {}

    QImage Bitmap() const { return m_bitmap; }
    void SetBitmap(const QImage& bitmap);
    TBkgndOption BkgndOption() const { return m_option; }
    void SetBkgndOption(TBkgndOption option);
    TColor GradientColor() const { return m_gradientColor; }
    void SetGradientColor(TColor color);

    bool IsActive() const;
    void Assign(const TControlBackground& source);
    // Paints what of the picture falls in fill, laid out over full; base is
    // the area's own colour (where the picture leaves room, and the start of
    // a gradient).
    void Paint(QPainter& painter, const QRect& fill, const QRect& full, const QColor& base) const;

private:
    QImage m_bitmap;
    TBkgndOption m_option = boNone;
    TColor m_gradientColor = clBtnFace;
};

class TGutterBackground : public TControlBackground {
    Q_OBJECT

public:
    explicit TGutterBackground(QObject* parent = nullptr) : TControlBackground(parent) {}
};
