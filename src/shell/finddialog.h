#pragma once

#include "findinfilespage.h"
#include "searchoptions.h"

#include <QDialog>

class QPushButton;
class QTabWidget;
class TDCHistoryEditor;
class TSearchFields;

// "Find Text": a page control with the "Find" page (the text to find and the
// search settings) and the "Find in Files" page (findinfilespage.h), and
// "OK", "Cancel" and "Help". Help is there only when the program has a help
// page (helpFile); without one the other buttons take its place. Going from
// one page to the other carries the text to find and the case, whole-word
// and expression switches along.
class TFindDialog : public QDialog {
    Q_OBJECT

public:
    explicit TFindDialog(const QString& helpFile = QString(), QWidget* parent = nullptr);

    // Shows the dialog filled from options and files, on the files page
    // when filesPage is set. OK copies the fields of the page shown back
    // (into options for the find page, into files for the other), adds its
    // texts to their histories and saves them. None when cancelled (both
    // unchanged).
    TSearchTarget Execute(TSearchOptions& options, TFileSearchSettings& files, bool filesPage = false);

    TDCHistoryEditor* TextToFind() const { return m_text; }
    QTabWidget* Pages() const { return m_pages; }
    TFindInFilesPage* FilesPage() const { return m_files; }

private:
    void PageChanged(int page);

    QTabWidget* m_pages;
    TDCHistoryEditor* m_text;
    TSearchFields* m_fields;
    TFindInFilesPage* m_files;
};
