#include "dccustomcontrol.h"

TDCCustomControl::TDCCustomControl(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    SetBorderStyle(bsSingle);
}

void TDCCustomControl::SetBorderStyle(TBorderStyle style)
{
    m_borderStyle = style;
    if (style == bsSingle) {
        setFrameShape(QFrame::StyledPanel);
        setFrameShadow(QFrame::Sunken);
    } else {
        setFrameShape(QFrame::NoFrame);
    }
}
