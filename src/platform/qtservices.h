#pragma once

#include "progressbar.h"
#include "services.h"
#include "settingsstore.h"

#include <QMetaObject>

#include <memory>

class QWidget;

// The services implemented with Qt: message boxes, common dialogs, the
// clipboard, the desktop's default applications and detached processes.
class TQtServices : public TServices {
public:
    // settings: the store to use (owned); null for the user's own store.
    explicit TQtServices(std::unique_ptr<TSettingsStore> settings = nullptr);
    ~TQtServices() override;

    void ShowError(const QString& text) override;
    void ShowMessage(const QString& text) override;
    TAnswer Ask(const QString& text, TButtons buttons) override;
    bool OpenFileDialog(TFileDialog& dialog) override;
    bool SaveFileDialog(TFileDialog& dialog) override;
    bool FolderDialog(TFileDialog& dialog) override;
    bool ColorDialog(TColor& color) override;
    bool PrintSetupDialog(QPrinter& printer) override;
    bool ShellOpen(const QString& target) override;
    std::shared_ptr<TProcessRun> RunProcess(const QString& program, const QStringList& arguments,
                                            const QString& workingDir, const TProcessWatch& watch,
                                            QString& error) override;
    bool ClipboardHasText() const override;
    QString ClipboardText(bool* column = nullptr) const override;
    void SetClipboardText(const QString& text, bool column = false, const QByteArray& rtf = {},
                          const QByteArray& html = {}) override;
    TSettingsStore& Settings() override { return *m_settings; }
    quint32 ResolveColor(TColor color) const override;
    void BeginProgress(const QString& caption) override { m_progress.Begin(caption); }
    bool Progress(qint64 done, qint64 total) override { return m_progress.Report(done, total); }
    void EndProgress() override { m_progress.End(); }

    // "Text (*.txt)|*.txt|Any Files (*.*)|*.*" as Qt name filters.
    static QStringList NameFilters(const QString& filter);

private:
    bool RunFileDialog(TFileDialog& dialog, bool save);
    static QWidget* DialogParent();

    std::unique_ptr<TSettingsStore> m_settings;
    // Whether the clipboard holds text, kept up to date by the clipboard's
    // own change notice: asking the system clipboard is a round trip to its
    // owner, and the main window asks on every keystroke.
    bool m_clipboardHasText = false;
    QMetaObject::Connection m_clipboardWatch;
    TProgressBar m_progress;
};
