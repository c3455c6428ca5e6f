#pragma once

#include "memoenvoptions.h"
#include "memosourceoptions.h"

#include <QString>
#include <QWidget>

// What the pages of the editor options dialog edit: copies of the global
// editor options and of the text stores' shared options. The pages write
// into the copies (the display and colours pages at once, so that the
// dialog's sample shows them); only "Ok" copies them back to the global
// objects, once every page found its fields valid. So "Cancel", and "Ok"
// with a wrong field, leave the global settings as they were.
struct TEnvSettings {
    TMemoEnvOptions env;
    TMemoSourceOptions source;
};

// One page of the options dialog.
class TEnvPage : public QWidget {
    Q_OBJECT

public:
    explicit TEnvPage(TEnvSettings& settings, QWidget* parent = nullptr) : QWidget(parent), m_settings(settings) {}

    // The caption of the page's tab.
    virtual QString Caption() const = 0;
    // The field holding a wrong value, with message saying what is wrong
    // with it; null when every field is right.
    virtual QWidget* Check(QString& message) { return nullptr; }
    // Writes what the page's fields hold into the settings (only after
    // every page passed Check).
    virtual void Apply() {}
    // The settings changed outside the page (another page, a colour set):
    // the page shows them.
    virtual void Refresh() {}

protected:
    TEnvSettings& m_settings;
};
