#pragma once

#include <functional>

class QDialog;

// Every modal dialog of the window is run through here. The program runs it
// in its own modal loop; a test installs a runner that opens the dialog
// without one, fills it in through real key presses and clicks, and returns
// the result the dialog closed with, so that no test ever waits in a loop.
using TDialogRunner = std::function<int(QDialog& dialog)>;

// Runs dialog modally and returns the result it closed with.
int RunDialog(QDialog& dialog);
// Installs runner; null brings back the modal loop.
void SetDialogRunner(TDialogRunner runner);
