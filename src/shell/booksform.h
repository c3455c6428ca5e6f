#pragma once

#include <QDialog>

class QPushButton;
class QSpinBox;

// "Go to Book Mark...": asks for the number of a bookmark as the user sees
// it, 0 to 9, starting at 0.
class TBooksForm : public QDialog {
    Q_OBJECT

public:
    explicit TBooksForm(QWidget* parent = nullptr);

    // Shows the dialog modally (through ModalDialogs); true when confirmed.
    bool Execute();
    // The number entered, 0 to 9.
    int Number() const;

    QSpinBox* NumberField() const { return m_number; }
    QPushButton* OkButton() const { return m_ok; }

private:
    QSpinBox* m_number = nullptr;
    QPushButton* m_ok = nullptr;
};
