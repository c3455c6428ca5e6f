#pragma once

#include "memotypes.h"

#include <QString>

#include <array>

class TCustomMemoSource;

// The File menu's "Reopen with Encoding" and "Save with Encoding" and the
// status bar's name of a document's encoding.
//
// Reopening reads the file again as the chosen encoding: the bytes do not
// change, only what they are read as. Saving with an encoding transcodes the
// text into it first: every character is read in the document's encoding
// and written in the chosen one, as a fresh state (the undo history starts
// again from the transcoded text, which is what the saved file then holds).
// A text with a character the target cannot hold is refused before
// anything changes, with a message naming the first such character and its
// line.
enum class TEncodingChoice { Utf8, Utf8WithBom, Windows1252, Oem437 };

namespace EncodingCommands {

struct TChoiceItem {
    TEncodingChoice choice;
    const char* name; // the end of the menu items' names
    const char* caption;
};
// The items of both submenus, in menu order.
extern const std::array<TChoiceItem, 4> kChoices;

TTextEncoding EncodingOf(TEncodingChoice choice);

// "UTF-8", "Windows-1252" or "OEM 437".
QString DocumentEncodingName(const TCustomMemoSource& document);

// Reads the document's file again in the chosen encoding, keeping the
// caret's line. Unsaved changes are given up only when the user says so.
// False, with any error shown, when nothing was done.
bool Reopen(TCustomMemoSource& document, TEncodingChoice choice);

// Transcodes the text into the chosen encoding (and byte order mark);
// false, with a message and nothing changed, when a character does not fit.
bool Transcode(TCustomMemoSource& document, TEncodingChoice choice);

} // namespace EncodingCommands
