#pragma once

#include "memolineparts.h"
#include "viewtypes.h"

#include <QImage>
#include <QObject>
#include <QString>

class QColor;
class QPainter;
class QRect;

// The parts of the editor control that only the view has: the background
// pictures. (Special symbols, separators and the line highlight are in
// memolineparts.h, shared with the global editor options.)
//
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
