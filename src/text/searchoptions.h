#pragma once

#include <QObject>
#include <QString>

// The settings of a search: one global record remembers the last search, so
// that the dialogs open with it and Search Again repeats it.
namespace SearchTypes {
Q_NAMESPACE

enum TSearchDirection { sdForward, sdBackward };
Q_ENUM_NS(TSearchDirection)

enum TSearchScope { ssGlobal, ssSelectedText };
Q_ENUM_NS(TSearchScope)

enum TSearchOrigin { soFromCursor, soEntireScope };
Q_ENUM_NS(TSearchOrigin)

// The dialogs a text store opens through its dialog hook.
enum TDialogKind { dkFind, dkReplace, dkGotoLine };
Q_ENUM_NS(TDialogKind)

} // namespace SearchTypes

using SearchTypes::TDialogKind;
using SearchTypes::TSearchDirection;
using SearchTypes::TSearchOrigin;
using SearchTypes::TSearchScope;
using enum SearchTypes::TDialogKind;
using enum SearchTypes::TSearchDirection;
using enum SearchTypes::TSearchScope;
using enum SearchTypes::TSearchOrigin;

struct TSearchOptions {
    QString textToFind;
    QString replaceText;
    bool caseSensitive = false;
    bool wholeWordsOnly = false;
    bool regularExpressions = false;
    bool promptOnReplace = true;
    TSearchDirection direction = sdForward;
    TSearchScope scope = ssGlobal;
    TSearchOrigin origin = soFromCursor;
    bool replaceAll = false;
    // A search from the cursor that passes the end of its scope (the start,
    // going backward) goes on from the other end up to where it began.
    bool wrapAround = false;

    bool operator==(const TSearchOptions&) const = default;

    // The one record of the last search, shared by every text store.
    static TSearchOptions& Global();
};

// The match a search found last in a text store, which the views show until
// the text changes or another search runs. Offsets are bytes of the line.
struct TFoundMatch {
    TSearchOptions options; // the search that found it
    int line = -1;          // -1: nothing found
    int start = 0;
    int end = 0;
    // Found after the search passed the end of its scope (the start, going
    // backward) and went on from the other end.
    bool wrapped = false;
    // A new number for every match found, so that a view or a status bar
    // can tell one search from the next even when they find the same place.
    quint64 serial = 0;

    bool Valid() const { return line >= 0; }
};
