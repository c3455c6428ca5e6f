#pragma once

#include "viewtypes.h"

#include <QAbstractScrollArea>

// The keyboard-aware control base of the editor: a scrollable window that
// takes the focus by click and by tab and has a border. The key list that
// turns key presses into commands, and the key state of two-stroke
// sequences, belong here: every keyboard-driven control of the program shares
// them.
class TDCCustomControl : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TDCCustomControl(QWidget* parent = nullptr);

    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);

private:
    TBorderStyle m_borderStyle = bsSingle;
};
