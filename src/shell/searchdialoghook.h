#pragma once

#include "findinfilespage.h"
#include "memosource.h"

#include <QString>

#include <functional>

class QWidget;

// What the files pages of the search dialogs need from the window: the
// folder they propose, and what to do with a confirmed search of files.
struct TFileSearchHooks {
    std::function<QString()> defaultFolder;
    // replace: Replace in Files (the matches are listed for replacing).
    std::function<void(const TFileSearchSettings& settings, bool replace)> start;
};

// Runs the find (dkFind) or replace dialog over parent, opened on its files
// page when filesPage is set. A confirmed search of files goes to
// hooks.start; true when a search of the text was confirmed instead, with
// options holding it.
bool RunSearchDialog(TDialogKind kind, bool filesPage, QWidget* parent, const QString& helpFile,
                     const TFileSearchHooks& hooks, TSearchOptions& options);

// The dialog hook the text stores open their find, replace and go-to-line
// dialogs through: each dialog is made over parent when asked for, edits
// the record or the line the store hands it, and is gone when it closes.
// helpFile is the program's help page (empty when there is none). A search
// of files confirmed in them goes to hooks, and the store does nothing.
TCustomMemoSource::TCreateDialogEvent SearchDialogHook(QWidget* parent, const QString& helpFile,
                                                       TFileSearchHooks hooks = {});
