#pragma once

#include <QComboBox>
#include <QString>
#include <QStringList>

// An editable drop-down field that remembers what was entered in it: the
// entries, newest first, persist between runs in the settings store, under
// "EditHistory" with the name of the owning dialog followed by the field's
// own ("Default" when both are empty), as one text with one entry per line.
//
// Enter with the list closed, or leaving the field for another one of the
// dialog, moves the text to the top of the list; an entry equal to it
// without regard to case goes, and an empty text is not added. Enter with
// the list open only closes it; Escape with the list closed is left to the
// dialog (its Cancel).
// The list is loaded when the field is made and saved when it is destroyed
// and on SaveHistory.
class TDCHistoryEditor : public QComboBox {
    Q_OBJECT

public:
    // The list stops at this many entries, the oldest dropping out: a list
    // without an end would grow the settings for ever.
    static constexpr int kMaxEntries = 25;
    static inline const QString kKey = QStringLiteral("EditHistory");

    TDCHistoryEditor(const QString& ownerName, const QString& name, QWidget* parent = nullptr);
    ~TDCHistoryEditor() override;

    // The name of the list's value under kKey.
    QString HistoryName() const { return m_historyName; }
    QStringList History() const;

    QString Text() const { return currentText(); }
    void SetText(const QString& text);
    // Moves the text to the top of the list (see above).
    void AddText();
    void LoadHistory();
    void SaveHistory() const;
    // Forgets what was entered since the list was loaded or saved, and takes
    // no more entries: a dialog that leaves its histories untouched.
    void RevertHistory();

    bool PopupVisible() const { return m_popupVisible; }
    void showPopup() override;
    void hidePopup() override;

protected:
    // The field, not its line edit, has the focus (the line edit hands it
    // on), so keys and focus changes come here first.
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QString m_historyName;
    bool m_popupVisible = false;
    bool m_reverted = false;
};
