// The main window's side of the global editor settings: reading them at
// start-up, the window's editor following them, writing them.

#include "editorsettings.h"

#include "custommemo.h"
#include "envform.h"
#include "memoenvoptions.h"
#include "memosource.h"
#include "memosourceoptions.h"
#include "services.h"

#include <algorithm>

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
    m_listener = global.AddListener([this] { ApplyAll(); });
    Apply(m_editor);
}

void TEditorSettings::FollowDocument()
{
    ShowFoldColumn(m_editor);
    for (const QPointer<TCustomDCMemo>& other : m_others) {
        if (other)
            ShowFoldColumn(*other);
    }
}

void TEditorSettings::ShowFoldColumn(TCustomDCMemo& editor) const
{
    // The fold column is for texts that can fold: a document without a
    // scheme keeps its room for text.
    const TCustomMemoSource* document = editor.MemoSource();
    const bool column = TMemoEnvOptions::Global().Options().testFlag(moHideInvisibleLines) && document &&
                        document->HasOutline();
    TMemoOptions options = editor.Options();
    options.setFlag(moHideInvisibleLines, column);
    editor.SetOptions(options);
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

void TEditorSettings::Follow(TCustomDCMemo& editor)
{
    m_others.erase(std::remove_if(m_others.begin(), m_others.end(), [](const auto& other) { return other.isNull(); }), m_others.end());
    m_others.emplace_back(&editor);
    Apply(editor);
}

void TEditorSettings::ApplyAll()
{
    Apply(m_editor);
    for (const QPointer<TCustomDCMemo>& other : m_others) {
        if (other)
            Apply(*other);
    }
}

void TEditorSettings::Apply(TCustomDCMemo& editor) const
{
    const TMemoEnvOptions& global = TMemoEnvOptions::Global();
    editor.TakeEnvOptions(global, TEnvForm::kEditedOptions & ~TMemoOptions(moHideInvisibleLines));
    ShowFoldColumn(editor);
    // The window's own colours around the text go with the editor colours.
    editor.SetLineNumColor(global.Font().Color());
    editor.SetGutterBackColor(global.Color());
}
