// Handlers of the commands that have their menu items, shortcuts, buttons
// and enabling already but do nothing yet: export and print, the search
// dialogs, the Java runs, preview, batch commands and the option dialogs.

#include "mainform.h"

void TMainForm::FileItemsExportClick() {}
void TMainForm::FileItemsPrintClick() {}

void TMainForm::SearchItemsFindClick() {}
void TMainForm::SearchItemsFindAgainClick() {}
void TMainForm::SearchItemsReplaceClick() {}
void TMainForm::SearchItemsLineClick() {}

void TMainForm::ToolItemsJavaCompileClick() {}
void TMainForm::ToolItemsJavaRunClick() {}
void TMainForm::cmdBrowseClick() {}
void TMainForm::ToolItemsRunBatchClick() {}

void TMainForm::OptionItemsEditorClick() {}
void TMainForm::OptionItemsPreferensClick() {}
