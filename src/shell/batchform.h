#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// "Run Batch File...": the batch files ("*.bat") of the program's "Command"
// folder, listed by the rule of FolderListing, or any batch file found
// through "Browse directory". Picking a listed item empties and locks the
// browse side; browsing empties the picked item. OK needs a picked item or
// a browsed file that exists.
class TBatchForm : public QDialog {
    Q_OBJECT

public:
    static const QString kBrowseFilter;    // "Batch Files (*.bat)|*.bat"
    static const QString kBrowseTitle;     // "Browse batch files..."

    explicit TBatchForm(QWidget* parent = nullptr);

    // Resets the dialog, lists folder and shows it modally (through
    // RunDialog); true when confirmed.
    bool Execute(const QString& folder);
    // The batch file to start: the picked item in the listed folder, else
    // the browsed path; empty when there is neither.
    QString Command() const;

    QListWidget* List() const { return m_list; }
    QLineEdit* SelectedField() const { return m_selected; }
    QCheckBox* BrowseCheck() const { return m_browseCheck; }
    QLineEdit* BrowseField() const { return m_browseField; }
    QPushButton* BrowseButton() const { return m_browseButton; }
    QPushButton* OkButton() const { return m_ok; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Pick(QListWidgetItem* item);
    void PickAndConfirm(QListWidgetItem* item);
    void SetBrowsing(bool on);
    void Browse();
    // OK for a browsed name: only a file that exists is accepted.
    void AcceptBrowsed();

    QString m_folder;
    QListWidget* m_list = nullptr;
    QLineEdit* m_selected = nullptr;
    QCheckBox* m_browseCheck = nullptr;
    QLineEdit* m_browseField = nullptr;
    QPushButton* m_browseButton = nullptr;
    QPushButton* m_ok = nullptr;
};
