#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QVBoxLayout;

// The window's pick-a-file dialogs: the entries of a folder that match a
// pattern, listed by the rule of FolderListing as icons; picking one puts its
// name in "Selected Item:", which OK needs. A double click or Enter on the
// list picks and confirms at once. A dialog with more to offer adds its rows
// between the field and the buttons.
class TPickFileForm : public QDialog {
    Q_OBJECT

public:
    QListWidget* List() const { return m_list; }
    QLineEdit* SelectedField() const { return m_selected; }
    QPushButton* OkButton() const { return m_ok; }

protected:
    TPickFileForm(QWidget* parent, const QString& name, const QString& title, const QString& listCaption,
                  const QString& listName);

    // Clears the field, disables OK, lists folder and runs the dialog
    // modally (through ModalDialogs); true when confirmed.
    bool Run(const QString& folder, const QString& pattern);
    // Where a derived dialog puts its own rows.
    QVBoxLayout* ExtraRows() const { return m_extraRows; }
    // After an item was picked; the field already holds its name.
    virtual void Picked() {}

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Pick(QListWidgetItem* item);
    void PickAndConfirm(QListWidgetItem* item);

    QListWidget* m_list = nullptr;
    QLineEdit* m_selected = nullptr;
    QVBoxLayout* m_extraRows = nullptr;
    QPushButton* m_ok = nullptr;
};
