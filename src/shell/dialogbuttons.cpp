#include "dialogbuttons.h"

#include <QPushButton>

TDialogButtonRow::TDialogButtonRow(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QPushButton* TDialogButtonRow::Add(const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    m_buttons.push_back(button);
    Place();
    updateGeometry();
    return button;
}

void TDialogButtonRow::SetButtonVisible(QPushButton* button, bool visible)
{
    button->setVisible(visible);
    Place();
    updateGeometry();
}

QSize TDialogButtonRow::sizeHint() const
{
    return {int(m_buttons.size()) * kPitch, kButtonHeight};
}

void TDialogButtonRow::resizeEvent(QResizeEvent*)
{
    Place();
}

void TDialogButtonRow::Place()
{
    // From the right: every place stays where the full row has it, and a
    // hidden button's place goes to the buttons left of it.
    int x = width() - kButtonWidth;
    for (auto it = m_buttons.rbegin(); it != m_buttons.rend(); ++it) {
        if ((*it)->isHidden())
            continue;
        (*it)->setGeometry(x, 0, kButtonWidth, kButtonHeight);
        x -= kPitch;
    }
}
