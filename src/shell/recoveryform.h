#pragma once

#include "journal.h"

#include <QDialog>

#include <functional>
#include <vector>

class QPushButton;
class QTreeWidget;

// "Recover Unsaved Documents": the documents a run that did not end cleanly
// left unsaved, one row each (its file name or "Untitled", when its entry
// was written, the size of its text); one row "Interrupted save of <file>"
// for each file it was writing in place when it stopped, which may hold
// part of the new text, with the size of its whole old text and the buttons
// "Restore" (the old text goes back into the file) and "Discard" (it is
// dropped); and one row for each file of the journal that could not be
// read. "Recover" opens the documents and restores the interrupted saves
// not yet decided, "Discard" throws them all away, "Decide later" (and
// closing the dialog) leaves them for the next start.
class TRecoveryForm : public QDialog {
    Q_OBJECT

public:
    enum TChoice { chLater = 0, chRecover = 1, chDiscard = 2 };

    explicit TRecoveryForm(const std::vector<TJournal::TLeftEntry>& entries, QWidget* parent = nullptr);

    // What a row's own buttons do to its interrupted save; false when it
    // failed (the handler says why), and the row stays undecided.
    std::function<bool(const TSaveRecord& record)> OnRestore;
    std::function<bool(const TSaveRecord& record)> OnDiscard;

    // Shows the dialog modally (through ModalDialogs) and returns the choice.
    TChoice Execute();

    // The text of each row, columns joined by " | ".
    QStringList RowTexts() const;
    QTreeWidget* List() const { return m_list; }
    QPushButton* RecoverButton() const { return m_recover; }
    QPushButton* DiscardButton() const { return m_discard; }
    QPushButton* LaterButton() const { return m_later; }
    // The row's own buttons (null for a row without them, or once decided).
    QPushButton* RowRestoreButton(int row) const;
    QPushButton* RowDiscardButton(int row) const;

private:
    void AddSaveButtons(int row, const TSaveRecord& record);
    // Replaces a decided row's buttons by what was done.
    void Decided(int row, const QString& outcome);

    QTreeWidget* m_list = nullptr;
    QPushButton* m_recover = nullptr;
    QPushButton* m_discard = nullptr;
    QPushButton* m_later = nullptr;
};
