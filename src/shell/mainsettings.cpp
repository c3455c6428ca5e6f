// The main window's stored settings: its placement and the places of its
// tool bars ("Tarnel\MainWindow"), restored on the first show and saved on
// close; and the preferences dialog, which keeps its own section.

#include "mainform.h"

#include "formstorage.h"
#include "preferenceform.h"
#include "toolbarlayout.h"

void TMainForm::CreateSettings()
{
    // The "JSP and Java Items" bar is not kept: it always starts where it
    // was designed. The button bar is fixed.
    m_toolBarLayout = std::make_unique<TToolBarLayout>(
        *this, QStringList{QStringLiteral("ToolHTML"), QStringLiteral("ToolForm"), QStringLiteral("ToolTable"),
                           QStringLiteral("ToolBook")});
    m_formStore = std::make_unique<TFormStorage>(*this, QStringLiteral("Tarnel\\MainWindow"), *m_toolBarLayout);
    m_preferences = new TPreferenceForm(this);
    // A damaged settings file is told of once, not once per window.
    m_preferences->PreferenceFormStorage().ShareReports(*m_formStore);
}

void TMainForm::setVisible(bool visible)
{
    // Before the window is first mapped, so that it appears where it was
    // left rather than jumping there.
    if (visible && !m_settingsRestored) {
        m_settingsRestored = true;
        m_formStore->Restore();
    }
    QMainWindow::setVisible(visible);
}

void TMainForm::OptionItemsPreferensClick()
{
    if (m_preferences->Execute())
        UpdateEnabling();
}
