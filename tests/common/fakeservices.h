#pragma once

#include "services.h"
#include "settingsstore.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

// A settings store kept in memory, keyed case-insensitively as the real one.
class TMemorySettingsStore : public TSettingsStore {
public:
    bool KeyExists(const QString& key) const override;
    bool ValueExists(const QString& key, const QString& name) const override;
    QString ReadString(const QString& key, const QString& name, bool* ok = nullptr) const override;
    void WriteString(const QString& key, const QString& name, const QString& value) override;
    void DeleteValue(const QString& key, const QString& name) override;
    void DeleteKey(const QString& key) override;
    QStringList ValueNames(const QString& key) const override;
    using TSettingsStore::ReadString;

private:
    QMap<QString, QMap<QString, QString>> m_values;
};

// The scripted services of a test: every call is recorded as one line of
// Calls() ("message: Search string 'x' not found"); questions and dialogs are
// answered from the script, in order. An unscripted question answers Cancel
// and an unscripted dialog is cancelled, and both are recorded as such.
class TFakeServices : public TServices {
public:
    TFakeServices();
    ~TFakeServices() override;

    // Script.
    void AnswerNext(TAnswer answer) { m_answers.push_back(answer); }
    // The next open / save dialog confirms with path (an empty path cancels).
    void ChooseFile(const QString& path) { m_files.push_back(path); }
    void ChooseColor(TColor color) { m_colors.push_back(color); }
    void CancelColor() { m_colors.push_back(-1); }
    // Shell open fails from now on, as on a system with no browser or mail
    // program set up.
    void FailShellOpen() { m_shellOpenFails = true; }
    // Lets a test answer a dialog by looking at it (for file dialogs).
    std::function<bool(TFileDialog&)> OnFileDialog;
    // Process runs go here when set (a test that runs real programs
    // installs the platform's own); otherwise a run is only recorded, and it
    // never ends by itself: what is written to it is recorded ("input:
    // line"), and Stop ends it ("stop") with the watch hearing it at once.
    std::function<std::shared_ptr<TProcessRun>(const QString&, const QStringList&, const QString&,
                                               const TProcessWatch&, QString&)>
        OnRunProcess;
    // The next long work is cancelled at its report number reports + 1
    // (the first report with 0). Progress is recorded apart from Calls().
    void CancelNextProgress(int reports = 0) { m_cancelAt = reports + 1; }

    // Record.
    const QStringList& Calls() const { return m_calls; }
    QStringList Messages() const; // texts of errors and messages, in order
    QStringList Questions() const;
    QStringList Opened() const;   // shell-open targets
    QStringList Started() const;  // programs run, with their arguments
    QList<TFileDialog> FileDialogs() const { return m_fileDialogs; }
    void ClearCalls() { m_calls.clear(); }
    TMemorySettingsStore& Store() { return m_settings; }
    // Captions of the long work begun, and how many pieces are still open.
    QStringList ProgressCaptions() const { return m_progressCaptions; }
    int ProgressOpen() const { return m_progressOpen; }
    // Settings go to store (not owned) instead of the one in memory; null
    // goes back to that.
    void UseSettings(TSettingsStore* store) { m_otherSettings = store; }

    // TServices
    void ShowError(const QString& text) override;
    void ShowMessage(const QString& text) override;
    TAnswer Ask(const QString& text, TButtons buttons) override;
    bool OpenFileDialog(TFileDialog& dialog) override;
    bool SaveFileDialog(TFileDialog& dialog) override;
    bool FolderDialog(TFileDialog& dialog) override;
    bool ColorDialog(TColor& color) override;
    bool ShellOpen(const QString& target) override;
    std::shared_ptr<TProcessRun> RunProcess(const QString& program, const QStringList& arguments,
                                            const QString& workingDir, const TProcessWatch& watch,
                                            QString& error) override;
    bool ClipboardHasText() const override { return m_clipboardSet; }
    QString ClipboardText(bool* column = nullptr) const override;
    void SetClipboardText(const QString& text, bool column = false, const QByteArray& rtf = {},
                          const QByteArray& html = {}) override;
    bool PrintSetupDialog(QPrinter& printer) override;
    TSettingsStore& Settings() override { return m_otherSettings ? *m_otherSettings : m_settings; }
    quint32 ResolveColor(TColor color) const override;
    void BeginProgress(const QString& caption) override;
    bool Progress(qint64 done, qint64 total) override;
    void EndProgress() override { --m_progressOpen; }

    QByteArray ClipboardRtf() const { return m_clipboardRtf; }
    QByteArray ClipboardHtml() const { return m_clipboardHtml; }
    // Answers the printer set-up dialog (unset: it is cancelled).
    std::function<bool(QPrinter&)> OnPrintSetup;

private:
    QStringList Filter(const QString& prefix) const;
    bool FileDialog(const char* kind, TFileDialog& dialog);

    QStringList m_calls;
    std::deque<TAnswer> m_answers;
    std::deque<QString> m_files;
    std::deque<qint64> m_colors;
    bool m_shellOpenFails = false;
    QList<TFileDialog> m_fileDialogs;
    QString m_clipboard;
    QByteArray m_clipboardRtf;
    QByteArray m_clipboardHtml;
    bool m_clipboardColumn = false;
    bool m_clipboardSet = false;
    TMemorySettingsStore m_settings;
    TSettingsStore* m_otherSettings = nullptr;
    QStringList m_progressCaptions;
    int m_progressOpen = 0;
    int m_cancelAt = 0;      // for the next work begun; 0: never
    int m_cancelCurrent = 0; // for the work under way
    int m_reports = 0;
};
