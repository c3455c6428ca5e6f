// Options, Editor Options: the editor options dialog on the global editor
// settings, written to the settings store when "Ok" applied them.

#include "mainform.h"

#include "editorsettings.h"
#include "envform.h"

void TMainForm::OptionItemsEditorClick()
{
    if (TEnvForm::Execute(this, [this] { HelpItemsHelpClick(); }))
        m_editorSettings->Save();
}
