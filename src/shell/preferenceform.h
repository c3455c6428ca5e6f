#pragma once

#include "formstorage.h"

#include <QDialog>
#include <QHash>

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The preferences dialog ("Preferences..."): the compiler path and its
// parameters, the default applet size and the arguments of Run Java
// Program (the configuration of the Java tool runs), whether a start
// reopens the documents open at the last exit, whether new documents are
// UTF-8, and whether saving keeps the undo history. Its settings section
// keeps the eight fields; OK stores them,
// Cancel leaves the stored values as they were (the fields go back to them
// too), and either stores where the dialog stood.
class TPreferenceForm : public QDialog, private TStoredProperties {
    Q_OBJECT

public:
    static const QString kSection; // "Tarnel\Preference"
    static constexpr int kDefaultWidth = 480;
    static constexpr int kDefaultHeight = 360;
    // The applet size fields take 1 to this many pixels.
    static constexpr int kMaxAppletSize = TFormStorage::kMaxCoordinate;

    explicit TPreferenceForm(QWidget* parent = nullptr);
    ~TPreferenceForm() override;

    // Shows the dialog modally, restored from its section; true on OK.
    bool Execute();
    // When set, Execute shows the dialog without a modal loop and calls
    // this instead; a dialog still open when it returns is cancelled.
    // Tests drive the dialog from here.
    static std::function<void(TPreferenceForm&)> ExecHook;

    // What the Java tool runs use, read from the section at each call as the
    // dialog would show it: a missing or unusable value gives the default
    // (empty path, parameters and program arguments, 480 and 360).
    struct TJavaSettings {
        QString javacPath;
        QString parameters;
        QString appletWidth;
        QString appletHeight;
        QString programArguments;
    };
    static TJavaSettings StoredSettings();
    // "Reopen the documents that were open at exit", as stored; off unless set.
    static bool StoredReopen();
    // "New documents use UTF-8", as stored; on unless set off.
    static bool StoredNewUtf8();
    // "Keep undo history after saving", as stored; off unless set, so that
    // a save starts a fresh history as it always did.
    static bool StoredKeepUndo();

    TFormStorage& PreferenceFormStorage() { return m_storage; }
    QLineEdit* JavacPath() const { return m_javacPath; }
    QPushButton* JavacBrowse() const { return m_browse; }
    QLineEdit* ParamEdit() const { return m_params; }
    QSpinBox* AppWidthEdit() const { return m_width; }
    QSpinBox* AppHeightEdit() const { return m_height; }
    QLineEdit* ProgramArgsEdit() const { return m_programArgs; }
    QCheckBox* ReopenCheck() const { return m_reopen; }
    QCheckBox* Utf8Check() const { return m_utf8; }
    QCheckBox* KeepUndoCheck() const { return m_keepUndo; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    // The compiler field's browse dialog: "Executable (*.exe)|*.exe" on
    // Windows; elsewhere compilers carry no extension, so every file shows.
    static const QString kBrowseFilter;
    static const QString kBrowseDefaultExt;

protected:
    void done(int result) override;

private:
    void BrowseJavac();

    // TStoredProperties: the fields' values.
    QStringList StoredNames() const override;
    QList<QPair<QString, QString>> StoredValues() const override;
    QStringList RestoreValues(const QHash<QString, QString>& values) override;

    QLineEdit* m_javacPath = nullptr;
    QPushButton* m_browse = nullptr;
    QLineEdit* m_params = nullptr;
    QSpinBox* m_width = nullptr;
    QSpinBox* m_height = nullptr;
    QLineEdit* m_programArgs = nullptr;
    QCheckBox* m_reopen = nullptr;
    QCheckBox* m_utf8 = nullptr;
    QCheckBox* m_keepUndo = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    TFormStorage m_storage;
    // The fields as shown, for Cancel to put back.
    QList<QPair<QString, QString>> m_shown;
};
