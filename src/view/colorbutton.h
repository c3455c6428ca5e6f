#pragma once

#include "color.h"

#include <QPushButton>

// A button that shows a colour (a swatch and its name) and lets the user
// choose another through the services' colour dialog. Used by the option
// pages for every colour setting.
class TColorButton : public QPushButton {
    Q_OBJECT

public:
    explicit TColorButton(QWidget* parent = nullptr);

    TColor Color() const { return m_color; }
    // Shows color; no ColorChanged.
    void SetColor(TColor color);

signals:
    // The user chose a colour (also when it equals the old one).
    void ColorChanged(TColor color);

private:
    void Choose();
    void UpdateLook();

    TColor m_color = clBlack;
};
