#pragma once

#include <functional>

class QDialog;

// How the window's own dialogs are shown modally. A modal loop would stop a
// test in its tracks, so every dialog goes through here, and tests put a hook
// in the loop's place that works the dialog's real widgets instead (clicks,
// keys) and answers with the dialog's result.
namespace ModalDialog {

// Shows the dialog modally; true when it was accepted.
bool Execute(QDialog& dialog);

// Replaces the modal loop; an empty hook brings it back. The hook gets the
// dialog already prepared for showing and returns whether it was accepted.
using THook = std::function<bool(QDialog& dialog)>;
void SetHook(THook hook);

} // namespace ModalDialog
