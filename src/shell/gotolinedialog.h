#pragma once

#include <QDialog>

class QLineEdit;

// "Go to line Number": one field for the line number, counted from 1, and
// "Ok", "Cancel" and "&Help" (Help only when the program has a help page).
// The number is checked by the text store, which has the text to check it
// against.
class TGotoLineDialog : public QDialog {
    Q_OBJECT

public:
    explicit TGotoLineDialog(const QString& helpFile = QString(), QWidget* parent = nullptr);

    // Shows line in the field; on "Ok" line becomes the number typed
    // (TCustomMemoSource::kNotALineNumber when it is none). False when
    // cancelled (line unchanged).
    bool Execute(int& line);

    QLineEdit* LineNumber() const { return m_number; }

private:
    QLineEdit* m_number;
};
