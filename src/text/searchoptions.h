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

    bool operator==(const TSearchOptions&) const = default;

    // The one record of the last search, shared by every text store.
    static TSearchOptions& Global();
};
