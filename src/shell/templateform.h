#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// "Load Template...": lists the templates ("*.tpl") of a folder by the
// listing rule of FolderListing; picking one puts its name in "Selected
// Item:", which OK needs. A double click or Enter on the list picks and
// confirms at once.
class TTemplateForm : public QDialog {
    Q_OBJECT

public:
    explicit TTemplateForm(QWidget* parent = nullptr);

    // Clears the field, disables OK, lists folder and shows the dialog
    // modally (through ModalDialog); true when confirmed with a name.
    bool Execute(const QString& folder);
    // The picked entry's name (no folder).
    QString SelectedItem() const;

    QListWidget* List() const { return m_list; }
    QLineEdit* SelectedField() const { return m_selected; }
    QPushButton* OkButton() const { return m_ok; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Pick(QListWidgetItem* item);
    void PickAndConfirm(QListWidgetItem* item);

    QListWidget* m_list = nullptr;
    QLineEdit* m_selected = nullptr;
    QPushButton* m_ok = nullptr;
};
