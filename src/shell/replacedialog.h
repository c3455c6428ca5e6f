#pragma once

#include "searchoptions.h"

#include <QDialog>

class TDCHistoryEditor;
class TSearchFields;

// "Replace Text": the text to find and the text to replace it with, the
// search settings with "&Prompt on replace", and "&OK", "Replace &All",
// "Cancel" and "&Help" (Help only when the program has a help page).
class TReplaceDialog : public QDialog {
    Q_OBJECT

public:
    // The result "Replace &All" closes the dialog with.
    static constexpr int kAll = 2;

    explicit TReplaceDialog(const QString& helpFile = QString(), QWidget* parent = nullptr);

    // Shows the dialog filled from options. On "&OK" copies the fields back
    // with replace-all off and adds both texts to their histories; on
    // "Replace &All" copies them with replace-all on and leaves the
    // histories as they were. False when cancelled (options unchanged).
    bool Execute(TSearchOptions& options);

    TDCHistoryEditor* TextToFind() const { return m_text; }
    TDCHistoryEditor* ReplaceWith() const { return m_replacement; }

private:
    TDCHistoryEditor* m_text;
    TDCHistoryEditor* m_replacement;
    TSearchFields* m_fields;
};
