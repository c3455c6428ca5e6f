#pragma once

#include <QString>

class TMainForm;

// A scripted user, for tests that run the real program as a user would and
// then end it or stop it hard. The script (TARNEL_KEYS_AFTER_START) runs
// once the start is over:
//   x             a character typed into the editor, as a key press of its own
//   {Name}        the menu item or button of that name ("{FileItemsNew}")
//   {Return}      Enter
//   {Report}      prints the window's state (see Report)
//   {Bar>dx,dy}   drags the tool bar Bar by its handle, dx, dy pixels; the
//                 same for a splitter's first handle ("FolderSplit")
//   {EditorTab>i,j} drags the tab at i onto the place of the tab at j
//   <item;item>   the next modal dialog, filled in by its items in order:
//                 Name=value sets the field of that object name (a text, a
//                 number, a check box as True or False), Name clicks that
//                 button, ?Name prints "Name: value", accept and reject end
//                 the dialog. The blocks after a {Name} serve the dialogs it
//                 opens; a dialog no block waits for is cancelled.
// Progress goes to the standard output, one line each ("dialog: Title"),
// ending with "keys typed" when the script is over.
namespace ScriptedStart {

void Run(TMainForm& form, const QString& script);

// Prints "title: ", then one line per document ("document: "), per recent
// file ("recent: "), the folder panel while it is open ("panel: folder
// width") and per tool bar ("bar: Name visible|hidden Area x,y").
void Report(const TMainForm& form);

} // namespace ScriptedStart
