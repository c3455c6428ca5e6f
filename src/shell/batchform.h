#pragma once

#include "pickfileform.h"

class QCheckBox;

// "Run Batch File...": the batch files ("*.bat") of the program's "Command"
// folder, or any batch file found through "Browse directory". Picking a
// listed item empties and locks the browse side; browsing empties the picked
// item. OK needs a picked item or a browsed file that exists.
class TBatchForm : public TPickFileForm {
    Q_OBJECT

public:
    static const QString kBrowseFilter;    // "Batch Files (*.bat)|*.bat"
    static const QString kBrowseTitle;     // "Browse batch files..."

    explicit TBatchForm(QWidget* parent = nullptr);

    // Resets the dialog, lists folder and shows it modally (through
    // ModalDialogs); true when confirmed.
    bool Execute(const QString& folder);
    // The batch file to start: the picked item in the listed folder, else
    // the browsed path; empty when there is neither.
    QString Command() const;

    QCheckBox* BrowseCheck() const { return m_browseCheck; }
    QLineEdit* BrowseField() const { return m_browseField; }
    QPushButton* BrowseButton() const { return m_browseButton; }

protected:
    void Picked() override;

private:
    void SetBrowsing(bool on);
    void Browse();
    // OK for a browsed name: only a file that exists is accepted.
    void AcceptBrowsed();

    QString m_folder;
    QCheckBox* m_browseCheck = nullptr;
    QLineEdit* m_browseField = nullptr;
    QPushButton* m_browseButton = nullptr;
};
