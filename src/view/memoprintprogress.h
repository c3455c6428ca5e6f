#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The window shown while a document prints ("Printing Status"): the
// printer, the file, which page goes out of how many, a bar and "Cancel".
// It is not modal: the printing loop lets events through between pages,
// and "Cancel" only raises a flag that the loop reads at the next page
// boundary, so a page is never cut in half.
class TMemoPrintProgress : public QDialog {
    Q_OBJECT

public:
    explicit TMemoPrintProgress(QWidget* parent = nullptr);

    void SetPrinterName(const QString& name);
    void SetFileName(const QString& name);
    // "Printing page %d from %s"; pages empty while they are being counted.
    void SetPage(int page, const QString& pages);
    QProgressBar* Bar() const { return m_bar; }
    QPushButton* CancelButton() const { return m_cancel; }
    QLabel* PrinterLabel() const { return m_printer; }
    QLabel* ProgressLabel() const { return m_progress; }

    bool Cancelled() const { return m_cancelled; }

private:
    QLabel* m_printer = nullptr;
    QLabel* m_file = nullptr;
    QLabel* m_progress = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_cancelled = false;
};
