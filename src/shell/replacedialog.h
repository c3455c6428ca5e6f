#pragma once

#include "findinfilespage.h"
#include "searchoptions.h"

#include <QDialog>

class QPushButton;
class QTabWidget;
class TDCHistoryEditor;
class TSearchFields;

// "Replace Text": a page control with the "Replace" page (the text to find
// and the text to replace it with, the search settings with "&Prompt on
// replace") and the "Replace in Files" page (findinfilespage.h), and "&OK",
// "Replace &All", "Cancel" and "&Help" (Help only when the program has a
// help page). On the files page OK lists the matches to replace; Replace
// All belongs to the text alone. Going from one page to the other carries
// both texts and the case, whole-word and expression switches along.
class TReplaceDialog : public QDialog {
    Q_OBJECT

public:
    // The result "Replace &All" closes the dialog with.
    static constexpr int kAll = 2;

    explicit TReplaceDialog(const QString& helpFile = QString(), QWidget* parent = nullptr);

    // Shows the dialog filled from options and files, on the files page
    // when filesPage is set. On "&OK" copies the fields of the page shown
    // back (replace-all off) and adds its texts to their histories; on
    // "Replace &All" copies them with replace-all on and leaves the
    // histories as they were. None when cancelled (both unchanged).
    TSearchTarget Execute(TSearchOptions& options, TFileSearchSettings& files, bool filesPage = false);

    TDCHistoryEditor* TextToFind() const { return m_text; }
    TDCHistoryEditor* ReplaceWith() const { return m_replacement; }
    QTabWidget* Pages() const { return m_pages; }
    TFindInFilesPage* FilesPage() const { return m_files; }

private:
    void PageChanged(int page);

    QTabWidget* m_pages;
    TDCHistoryEditor* m_text;
    TDCHistoryEditor* m_replacement;
    TSearchFields* m_fields;
    TFindInFilesPage* m_files;
    QPushButton* m_all;
};
