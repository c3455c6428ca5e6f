// Handlers of the commands that have their menu items, shortcuts, buttons
// and enabling already but do nothing yet: export and print, the Java runs,
// preview and batch commands.

#include "mainform.h"

void TMainForm::FileItemsExportClick() {}
void TMainForm::FileItemsPrintClick() {}

void TMainForm::ToolItemsJavaCompileClick() {}
void TMainForm::ToolItemsJavaRunClick() {}
void TMainForm::cmdBrowseClick() {}
void TMainForm::ToolItemsRunBatchClick() {}
