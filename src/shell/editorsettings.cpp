// The main window's side of the global editor settings: reading them at
// start-up, the window's editor following them, writing them.

#include "editorsettings.h"

#include "custommemo.h"
#include "envform.h"
#include "memoenvoptions.h"
#include "memosource.h"
#include "memosourceoptions.h"
#include "services.h"

TEditorSettings::TEditorSettings(TCustomDCMemo& editor) : m_editor(editor)
{
    TMemoEnvOptions& global = TMemoEnvOptions::Global();
    bool loaded = false;
    if (TMemoEnvOptions::HasStored()) {
        QString error;
        loaded = global.Load(&error);
        if (!loaded)
            Services().ShowError(
                QStringLiteral("The stored editor options cannot be read and are not used. %1").arg(error));
    }
    if (!loaded) {
        editor.GiveEnvOptions(global);
        // The fold column is on unless set off.
        global.SetOptions(global.Options() | moHideInvisibleLines);
    }
    TMemoSourceOptions::Global().Load();
    m_listener = global.AddListener([this] { Follow(); });
    Follow();
}

void TEditorSettings::FollowDocument()
{
    // The fold column is for texts that can fold: a document without a
    // scheme keeps its room for text.
    const TCustomMemoSource* document = m_editor.MemoSource();
    const bool column = TMemoEnvOptions::Global().Options().testFlag(moHideInvisibleLines) && document &&
                        document->HasOutline();
    TMemoOptions options = m_editor.Options();
    options.setFlag(moHideInvisibleLines, column);
    m_editor.SetOptions(options);
}

TEditorSettings::~TEditorSettings()
{
    TMemoEnvOptions::Global().RemoveListener(m_listener);
}

void TEditorSettings::Save() const
{
    TMemoEnvOptions::Global().Save();
    TMemoSourceOptions::Global().Save();
}

void TEditorSettings::Follow()
{
    const TMemoEnvOptions& global = TMemoEnvOptions::Global();
    m_editor.TakeEnvOptions(global, TEnvForm::kEditedOptions & ~TMemoOptions(moHideInvisibleLines));
    FollowDocument();
    // The window's own colours around the text go with the editor colours.
    m_editor.SetLineNumColor(global.Font().Color());
    m_editor.SetGutterBackColor(global.Color());
}
