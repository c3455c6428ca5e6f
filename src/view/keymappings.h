#pragma once

#include "keylist.h"

#include <QString>

#include <functional>

class TCustomDCMemo;
class TCustomMemoSource;

// The key mappings of the editor control. They are registered for the
// control's class under these names; the control's built-in mapping (for a
// name nobody registered) is "Default".
namespace MemoKeyMappings {

inline const QString kDefault = QStringLiteral("Default");
inline const QString kClassic = QStringLiteral("Classic");
inline const QString kBrief = QStringLiteral("Brief");
inline const QString kEpsilon = QStringLiteral("Epsilon");
inline const QString kVisualStudio = QStringLiteral("Visual Studio");

// Registers the five mappings (once; later calls do nothing).
void RegisterAll();

void FillDefault(TKeyList& list);
void FillClassic(TKeyList& list);
void FillBrief(TKeyList& list);
void FillEpsilon(TKeyList& list);
void FillVisualStudio(TKeyList& list);

} // namespace MemoKeyMappings

// The caret movements a mapping can bind, each with or without extending the
// selection.
enum class TMove {
    Left,
    Right,
    Up,
    Down,
    RowStart,
    RowEnd,
    PageUp,
    PageDown,
    WordLeft,
    WordRight,
    TextStart,
    TextEnd,
    WindowTop,
    WindowBottom,
};

// Adds bindings whose commands run on the control (View...) or on the text
// store it shows when the key is pressed (Store...): in state 0, in any
// state, or between explicit states (...In).
class TKeyBinder {
public:
    using TStoreCommand = std::function<void(TCustomMemoSource& source)>;
    using TViewCommand = std::function<void(TCustomDCMemo& memo)>;

    explicit TKeyBinder(TKeyList& list) : m_list(list) {}

    void Store(quint16 key, TShiftState shift, TStoreCommand command);
    void StoreAny(quint16 key, TShiftState shift, TStoreCommand command);
    void StoreIn(quint8 state, quint8 next, quint16 key, TShiftState shift, TStoreCommand command);
    void View(quint16 key, TShiftState shift, TViewCommand command);
    void ViewAny(quint16 key, TShiftState shift, TViewCommand command);
    void ViewIn(quint8 state, quint8 next, quint16 key, TShiftState shift, TViewCommand command);
    // A prefix key: no command, on to state next.
    void Prefix(quint8 state, quint8 next, quint16 key, TShiftState shift);
    // A second stroke accepted with and without Ctrl held.
    void StoreInEither(quint8 state, quint16 key, TStoreCommand command);

    // A movement from state to next (TKeyData::kAnyState: any state);
    // extend is smNone or the selection mode the movement extends.
    void Move(quint8 state, quint8 next, quint16 key, TShiftState shift, TMove move, int extend);
    // Left, Right, Up, Down, Home, End, PgUp, PgDn with the modifiers shift.
    void CursorMoves(quint8 state, quint8 next, TShiftState shift, int extend);
    // With shift | Ctrl: Left / Right by words, Home / End to the text start
    // and end, PgUp / PgDn to the window's top and bottom row.
    void WideMoves(quint8 state, quint8 next, TShiftState shift, int extend);
    // The selecting movements shared by the mappings: Shift (stream),
    // Shift+Ctrl (stream), Shift+Alt (column), Shift+Ctrl+Alt (column).
    void SelectionMoves();
    // The digits 0 to 9 from state to next, each running command(digit).
    void Digits(quint8 state, quint8 next, TShiftState shift, std::function<void(TCustomMemoSource&, int)> command);
    // Enter, Shift+Enter, Backspace, Shift+Backspace, Delete and Insert, as
    // every mapping has them.
    void EditingKeys();
    // Tab and Shift+Tab.
    void TabKeys();

private:
    TKeyList& m_list;
};

// The commands of several mappings that are more than one store operation.
namespace MemoKeyCommands {

// Cuts from the caret to the line's end (the line break when the caret is at
// the end). Undo puts the text back first, then the caret.
void CutToLineEnd(TCustomMemoSource& source);
// Cuts the caret line.
void CutLine(TCustomMemoSource& source);
// Toggles a bookmark on the caret line: removes those on it, else sets the
// lowest free one. Nothing when all ten are in use elsewhere.
void ToggleLineBookmark(TCustomMemoSource& source);
// To the next / previous bookmarked line, wrapping around the text.
void NextBookmark(TCustomMemoSource& source);
void PreviousBookmark(TCustomMemoSource& source);
void ClearBookmarks(TCustomMemoSource& source);

} // namespace MemoKeyCommands
