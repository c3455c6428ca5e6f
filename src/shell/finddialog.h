#pragma once

#include "searchoptions.h"

#include <QDialog>

class QPushButton;
class QTabWidget;
class TDCHistoryEditor;
class TSearchFields;

// "Find Text": the "Find" page of a page control (the second page, "Find in
// Files", is hidden) with the text to find and the search settings, and
// "OK", "Cancel" and "Help". Help is there only when the program has a help
// page (helpFile); without one the other buttons take its place.
class TFindDialog : public QDialog {
    Q_OBJECT

public:
    explicit TFindDialog(const QString& helpFile = QString(), QWidget* parent = nullptr);

    // Shows the dialog filled from options; on OK copies the fields back,
    // adds the text to find to its history and saves it. False when
    // cancelled (options unchanged).
    bool Execute(TSearchOptions& options);

    TDCHistoryEditor* TextToFind() const { return m_text; }

private:
    QTabWidget* m_pages;
    TDCHistoryEditor* m_text;
    TSearchFields* m_fields;
};
