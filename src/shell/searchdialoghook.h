#pragma once

#include "memosource.h"

#include <QString>

class QWidget;

// The dialog hook the text stores open their find, replace and go-to-line
// dialogs through: each dialog is made over parent when asked for, edits
// the record or the line the store hands it, and is gone when it closes.
// helpFile is the program's help page (empty when there is none).
TCustomMemoSource::TCreateDialogEvent SearchDialogHook(QWidget* parent, const QString& helpFile);
