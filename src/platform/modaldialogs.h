#pragma once

#include <functional>

class QDialog;

// Every modal dialog of the program is shown through here. The program runs
// the dialog's own modal loop; a test installs a hook instead, which gets
// the dialog already shown (modal, but with no loop of its own), drives it
// with real clicks and key presses, and returns. So no test ever waits in a
// modal loop, and what the test did is what the dialog's result says.
namespace ModalDialogs {

using THook = std::function<void(QDialog& dialog)>;

// Shows dialog modally and returns its result (QDialog::Accepted or
// Rejected). Under a hook, a dialog the hook left open is rejected.
int Execute(QDialog& dialog);

// Installs hook (empty: the real modal loop again). Returns the hook it
// replaces, so that a test can put it back.
THook SetHook(THook hook);

} // namespace ModalDialogs
