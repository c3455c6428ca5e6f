#pragma once

#include "viewtypes.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TCustomDCMemo;

// The print dialog of the editor control: the file to print, the print
// options, the left margin, the printer set-up. "Ok" takes the options into
// the control (PrintOptions, PrintIndent) and the caller prints.
// "&Print selected block" can be ticked only while the store has a
// selection, and is ticked whenever it can be.
class TMemoPrintForm : public QDialog {
    Q_OBJECT

public:
    explicit TMemoPrintForm(TCustomDCMemo& memo, QWidget* parent = nullptr);

    // Opens the dialog on memo (through the modal dialog hook) and prints
    // when it is confirmed. Returns the pages printed.
    static int Execute(TCustomDCMemo& memo, std::function<void()> help = {});

    // The options the check boxes stand for.
    TDCPrintOptions Options() const;
    // "Left &margin:" as a number; text that is not one counts as 0.
    int Margin() const;

    QCheckBox* Check(TDCPrintOption option) const;
    QLineEdit* MarginEdit() const { return m_margin; }
    QLabel* FileLabel() const { return m_file; }
    QPushButton* SetupButton() const { return m_setup; }
    QPushButton* HelpButton() const { return m_help; }
    QPushButton* OkButton() const { return m_ok; }

private:
    void UpdateCaption();

    std::vector<std::pair<TDCPrintOption, QCheckBox*>> m_checks;
    QLabel* m_file = nullptr;
    QLineEdit* m_margin = nullptr;
    QPushButton* m_setup = nullptr;
    QPushButton* m_help = nullptr;
    QPushButton* m_ok = nullptr;
    std::function<void()> m_onHelp;
};
