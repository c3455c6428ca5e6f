#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QPushButton;
class TDCHistoryEditor;
class TSearchFields;

// Where a confirmed find or replace dialog searches: the text it was opened
// for, or files (its second page).
enum class TSearchTarget { None, Text, Files };

// What Find in Files and Replace in Files were last asked in this run; the
// dialogs open with it.
struct TFileSearchSettings {
    static const QString kDefaultMasks;

    QString text;
    QString replaceText;
    QString folder;
    QString masks = kDefaultMasks;
    bool subfolders = true;
    bool caseSensitive = false;
    bool wholeWords = false;
    bool regular = false;

    static TFileSearchSettings& Last();
};

// The "Find in Files" page of the find dialog and the "Replace in Files" page
// of the replace dialog: "&Text to find:" (and "&Replace with:"), "In
// &folder:" with a browse button, "File &masks:", "Include &subfolders" and
// the case, whole-word and expression switches. Each text is a history
// field; the folder and mask lists are one for both dialogs.
class TFindInFilesPage : public QWidget {
    Q_OBJECT

public:
    // dialogName names the text fields' histories; regularCaption is the
    // expression box's caption, which differs between the dialogs.
    TFindInFilesPage(const QString& dialogName, bool withReplace, const QString& regularCaption,
                     QWidget* parent = nullptr);

    void Load(const TFileSearchSettings& settings);
    void Store(TFileSearchSettings& settings) const;
    // On OK: every field's text goes to the top of its list, which is saved.
    void KeepHistories();
    // Leaves every list as it was loaded.
    void RevertHistories();

    // Going from the dialog's first page to this one (CarryIn) and back
    // (CarryOut): the texts come along (an empty one leaves the field it
    // would go to as it is), and so do the case, whole-word and expression
    // switches. replacement is null in the find dialog.
    void CarryIn(const TDCHistoryEditor* text, const TDCHistoryEditor* replacement, const TSearchFields& fields);
    void CarryOut(TDCHistoryEditor* text, TDCHistoryEditor* replacement, TSearchFields& fields) const;

    TDCHistoryEditor* Text() const { return m_text; }

private:
    void Browse();

    TDCHistoryEditor* m_text = nullptr;
    TDCHistoryEditor* m_replacement = nullptr;
    TDCHistoryEditor* m_folder = nullptr;
    TDCHistoryEditor* m_masks = nullptr;
    QPushButton* m_browse = nullptr;
    QCheckBox* m_subfolders = nullptr;
    QCheckBox* m_case = nullptr;
    QCheckBox* m_words = nullptr;
    QCheckBox* m_regular = nullptr;
};
