// Handlers of the commands that have their menu items, shortcuts, buttons
// and enabling already but do nothing yet: export and print.

#include "mainform.h"

void TMainForm::FileItemsExportClick() {}
void TMainForm::FileItemsPrintClick() {}
