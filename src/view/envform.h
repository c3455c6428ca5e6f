#pragma once

#include "envpage.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class QPushButton;
class QTabWidget;

// The editor options dialog ("Properties"): one tab per registered option
// page (the editor, display and colours pages come first), "Ok", "Cancel"
// and "&Help". It edits the global editor options and the text stores'
// shared options through copies (TEnvSettings).
//
// "Ok" first asks every page to check its fields; at the first wrong one it
// says what is wrong, shows that field's page, puts the focus on the field
// and stays open, having written nothing. Only when all are right does
// every page write its fields into the copies, and the copies go back to
// the global objects: the view options first, announced once, then the
// text-store options, announced once.
class TEnvForm : public QDialog {
    Q_OBJECT

public:
    using TPageFactory = std::function<TEnvPage*(TEnvSettings& settings)>;

    // The option bits the dialog's pages edit; no other bit changes.
    static const TMemoOptions kEditedOptions;

    TEnvForm(TMemoEnvOptions& env, TMemoSourceOptions& source, QWidget* parent = nullptr);
    ~TEnvForm() override;

    // Opens the dialog on the global options, modally (through the modal
    // dialog hook). A second open while it is showing does nothing and
    // answers false. True when "Ok" applied the settings.
    static bool Execute(QWidget* parent, std::function<void()> help = {});
    static bool Showing();

    // Adds a page to every dialog made from now on, after those there are.
    static void RegisterPage(TPageFactory factory);

    QTabWidget* Pages() const { return m_pages; }
    // The page whose tab has caption (with its "&"), or null.
    TEnvPage* Page(const QString& caption) const;
    TEnvSettings& Settings() { return *m_settings; }
    // Run by "&Help"; the button is disabled without one.
    void SetHelp(std::function<void()> help);

    // "Ok": checks, then applies and closes (see above).
    void OkClick();

private:
    TMemoEnvOptions& m_env;
    TMemoSourceOptions& m_source;
    std::unique_ptr<TEnvSettings> m_settings;
    std::vector<TEnvPage*> m_pageList;
    QTabWidget* m_pages = nullptr;
    QPushButton* m_help = nullptr;
    std::function<void()> m_onHelp;
    int m_listener = 0;
};
