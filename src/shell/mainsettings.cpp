// The main window's stored settings: its placement, the places of its
// tool bars and the Output pane's height ("Tarnel\MainWindow"), restored on
// the first show and saved on close; and the preferences dialog, which
// keeps its own section.

#include "mainform.h"

#include "formstorage.h"
#include "outputpane.h"
#include "preferenceform.h"
#include "toolbarlayout.h"

#include <vector>

namespace {

// The stored values of several parts of one window, in one section.
class TStoredParts : public TStoredProperties {
public:
    explicit TStoredParts(std::vector<TStoredProperties*> parts) : m_parts(std::move(parts)) {}

    QStringList StoredNames() const override
    {
        QStringList names;
        for (const TStoredProperties* part : m_parts)
            names += part->StoredNames();
        return names;
    }
    QList<QPair<QString, QString>> StoredValues() const override
    {
        QList<QPair<QString, QString>> values;
        for (const TStoredProperties* part : m_parts)
            values += part->StoredValues();
        return values;
    }
    QStringList RestoreValues(const QHash<QString, QString>& values) override
    {
        QStringList refused;
        for (TStoredProperties* part : m_parts)
            refused += part->RestoreValues(values);
        return refused;
    }

private:
    std::vector<TStoredProperties*> m_parts;
};

} // namespace

void TMainForm::CreateSettings()
{
    // The "JSP and Java Items" bar is not kept: it always starts where it
    // was designed. The button bar is fixed.
    m_toolBarLayout = std::make_unique<TToolBarLayout>(
        *this, QStringList{QStringLiteral("ToolHTML"), QStringLiteral("ToolForm"), QStringLiteral("ToolTable"),
                           QStringLiteral("ToolBook")});
    m_windowValues = std::make_unique<TStoredParts>(std::vector<TStoredProperties*>{m_toolBarLayout.get(), m_output});
    m_formStore = std::make_unique<TFormStorage>(*this, QStringLiteral("Tarnel\\MainWindow"), *m_windowValues);
}

TPreferenceForm* TMainForm::PreferenceForm()
{
    // Made when first asked for: the first screen does not show it, and it
    // reads its section only when it is shown.
    if (!m_preferences) {
        m_preferences = new TPreferenceForm(this);
        // A damaged settings file is told of once, not once per window.
        m_preferences->PreferenceFormStorage().ShareReports(*m_formStore);
    }
    return m_preferences;
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
    if (PreferenceForm()->Execute())
        UpdateEnabling();
}
