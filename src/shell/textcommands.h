#pragma once

#include "color.h"

#include <QByteArray>

class TCustomMemoSource;

// The text commands of the Edit and Tools menus that are more than a snippet:
// the colour as HTML text, selected lines as Java print statements, the case
// of the selection, and the OEM conversion of the whole text. Each command
// is one undo step of the document it works on.
namespace TextCommands {

// "#RRGGBB", two upper-case hexadecimal digits per component.
QByteArray ColorText(TColor color);

// Inserts text at the caret as one undo step (the colour, a template).
void InsertAtCaret(TCustomMemoSource& document, const QByteArray& text);

// Replaces the selection by one out.println("L"); statement per selected
// line L, each on a line of its own and indented as L was; the text of L
// goes into the string with its quotes and backslashes escaped. The caret
// ends behind the last statement; nothing happens without a selection.
void ConvertLinesToPrintln(TCustomMemoSource& document);

// The selection in lower or upper case. The text is converted where it
// stands (a column block stays a column block); afterwards no text is
// selected and the caret is at the selection's end.
void SelectionToLowerCase(TCustomMemoSource& document);
void SelectionToUpperCase(TCustomMemoSource& document);

// The whole text, not only the selection, from Windows-1252 to the OEM
// code page or back, edited line by line so that one Undo brings the text
// back; caret and selection stay.
void ConvertToOem(TCustomMemoSource& document);
void ConvertFromOem(TCustomMemoSource& document);

// Runs a text store command as exactly one undo step (never folded into a
// neighbouring command's step by undo grouping).
void AsOneStep(TCustomMemoSource& document, void (TCustomMemoSource::*command)());

} // namespace TextCommands
