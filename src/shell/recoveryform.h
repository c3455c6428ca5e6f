#pragma once

#include "journal.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTreeWidget;

// "Recover Unsaved Documents": the documents a run that did not end cleanly
// left unsaved, one row each (its file name or "Untitled", when its entry
// was written, the size of its text), and one row for each file of the
// journal that could not be read. "Recover" opens them, "Discard" throws
// them away, "Decide later" (and closing the dialog) leaves them for the
// next start.
class TRecoveryForm : public QDialog {
    Q_OBJECT

public:
    enum TChoice { chLater = 0, chRecover = 1, chDiscard = 2 };

    explicit TRecoveryForm(const std::vector<TJournal::TLeftEntry>& entries, QWidget* parent = nullptr);

    // Shows the dialog modally (through ModalDialogs) and returns the choice.
    TChoice Execute();

    // The text of each row, columns joined by " | ".
    QStringList RowTexts() const;
    QTreeWidget* List() const { return m_list; }
    QPushButton* RecoverButton() const { return m_recover; }
    QPushButton* DiscardButton() const { return m_discard; }
    QPushButton* LaterButton() const { return m_later; }

private:
    QTreeWidget* m_list = nullptr;
    QPushButton* m_recover = nullptr;
    QPushButton* m_discard = nullptr;
    QPushButton* m_later = nullptr;
};
