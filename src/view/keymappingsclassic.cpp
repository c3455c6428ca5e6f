// The "Classic" key mapping: the WordStar control-key diamond (Ctrl+E, S, D,
// X and their neighbours) and its Ctrl+K block (state 1) and Ctrl+Q quick
// (state 2) sequences, whose second strokes work with and without Ctrl;
// with the cursor keys, Shift selections and the Ctrl+Insert clipboard keys
// of the same era.

#include "keymappings.h"

#include "custommemo.h"
#include "keystroke.h"
#include "memosource.h"

namespace {

constexpr quint8 kBlock = 1; // after Ctrl+K
constexpr quint8 kQuick = 2; // after Ctrl+Q
constexpr quint8 kAny = TKeyData::kAnyState;

using S = TCustomMemoSource;
using V = TCustomDCMemo;

// A second stroke with and without Ctrl.
void quickMove(TKeyBinder& b, quint16 key, TMove move)
{
    b.Move(kQuick, 0, key, 0, move, smNone);
    b.Move(kQuick, 0, key, ssCtrl, move, smNone);
}

void diamond(TKeyBinder& b)
{
    b.Move(0, 0, 'E', ssCtrl, TMove::Up, smNone);
    b.Move(0, 0, 'X', ssCtrl, TMove::Down, smNone);
    b.Move(0, 0, 'S', ssCtrl, TMove::Left, smNone);
    b.Move(0, 0, 'D', ssCtrl, TMove::Right, smNone);
    b.Move(0, 0, 'A', ssCtrl, TMove::WordLeft, smNone);
    b.Move(0, 0, 'F', ssCtrl, TMove::WordRight, smNone);
    b.Move(0, 0, 'R', ssCtrl, TMove::PageUp, smNone);
    b.Move(0, 0, 'C', ssCtrl, TMove::PageDown, smNone);
    b.View('W', ssCtrl, [](V& v) { v.ScrollLineUp(); });
    b.View('Z', ssCtrl, [](V& v) { v.ScrollLineDown(); });
}

void cursorKeys(TKeyBinder& b)
{
    b.CursorMoves(kAny, 0, 0, smNone);
    b.WideMoves(kAny, 0, 0, smNone);
    b.SelectionMoves();
}

void editingKeys(TKeyBinder& b)
{
    b.EditingKeys();
    b.TabKeys();
    b.Store('I', ssCtrl, [](S& s) { s.Tab(); });
    b.Store('G', ssCtrl, [](S& s) { s.DeleteChar(); });
    b.Store('H', ssCtrl, [](S& s) { s.Backspace(); });
    b.Store('T', ssCtrl, [](S& s) { s.DeleteWordRight(); });
    b.Store(Vk::Back, ssCtrl, [](S& s) { s.DeleteWordLeft(); });
    b.Store('Y', ssCtrl, [](S& s) { s.DeleteLine(); });
    b.Store('N', ssCtrl, [](S& s) { s.InsertLineBreak(); });
    b.View('V', ssCtrl, [](V& v) { v.ToggleOverwrite(); });
    b.View(Vk::Escape, 0, [](V& v) { v.CancelMouseOperation(); });
    // Clipboard, undo and redo, search again.
    b.Store(Vk::Delete, ssShift, [](S& s) { s.CutToClipboard(); });
    b.Store(Vk::Insert, ssCtrl, [](S& s) { s.CopyToClipboard(); });
    b.Store(Vk::Insert, ssShift, [](S& s) { s.PasteFromClipboard(); });
    b.Store(Vk::Delete, ssCtrl, [](S& s) { s.DeleteBlock(); });
    b.Store('U', ssCtrl, [](S& s) { s.Undo(); });
    b.Store(Vk::Back, ssAlt, [](S& s) { s.Undo(); });
    b.Store(Vk::Back, ssShift | ssAlt, [](S& s) { s.Redo(); });
    b.Store('L', ssCtrl, [](S& s) { s.SearchAgain(); });
}

void blockSequences(TKeyBinder& b)
{
    b.Prefix(0, kBlock, 'K', ssCtrl);
    b.StoreInEither(kBlock, 'B', [](S& s) { s.MarkBlockBegin(); });
    b.StoreInEither(kBlock, 'K', [](S& s) { s.MarkBlockEnd(); });
    b.StoreInEither(kBlock, 'C', [](S& s) { s.CopyBlock(); });
    b.StoreInEither(kBlock, 'V', [](S& s) { s.MoveBlock(); });
    b.StoreInEither(kBlock, 'Y', [](S& s) { s.DeleteBlock(); });
    b.StoreInEither(kBlock, 'H', [](S& s) { s.ClearSelection(); });
    b.StoreInEither(kBlock, 'T', [](S& s) { s.SelectWord(); });
    b.StoreInEither(kBlock, 'L', [](S& s) { s.SelectLine(); });
    b.StoreInEither(kBlock, 'I', [](S& s) { s.IndentBlock(); });
    b.StoreInEither(kBlock, 'U', [](S& s) { s.UnindentBlock(); });
    b.StoreInEither(kBlock, 'N', [](S& s) { s.BlockToUpperCase(); });
    b.StoreInEither(kBlock, 'O', [](S& s) { s.BlockToLowerCase(); });
    b.StoreInEither(kBlock, 'R', [](S& s) { s.Redo(); });
    b.Digits(kBlock, 0, 0, [](S& s, int n) { s.ToggleBookmark(n); });
    b.Digits(kBlock, 0, ssCtrl, [](S& s, int n) { s.ToggleBookmark(n); });
}

void quickSequences(TKeyBinder& b)
{
    b.Prefix(0, kQuick, 'Q', ssCtrl);
    quickMove(b, 'S', TMove::RowStart);
    quickMove(b, 'D', TMove::RowEnd);
    quickMove(b, 'E', TMove::WindowTop);
    quickMove(b, 'X', TMove::WindowBottom);
    quickMove(b, 'R', TMove::TextStart);
    quickMove(b, 'C', TMove::TextEnd);
    b.StoreInEither(kQuick, 'B', [](S& s) { s.GotoBlockBegin(); });
    b.StoreInEither(kQuick, 'K', [](S& s) { s.GotoBlockEnd(); });
    b.StoreInEither(kQuick, 'Y', [](S& s) { s.DeleteToLineEnd(); });
    b.StoreInEither(kQuick, 'F', [](S& s) { s.Find(); });
    b.StoreInEither(kQuick, 'A', [](S& s) { s.Replace(); });
    b.StoreInEither(kQuick, 'I', [](S& s) { s.GotoLine(); });
    b.StoreInEither(kQuick, KeyStrokes::KeyOfChar('['), [](S& s) { s.MatchingBracket(); });
    b.StoreInEither(kQuick, KeyStrokes::KeyOfChar(']'), [](S& s) { s.MatchingBracket(); });
    b.Digits(kQuick, 0, 0, [](S& s, int n) { s.GotoBookmark(n); });
    b.Digits(kQuick, 0, ssCtrl, [](S& s, int n) { s.GotoBookmark(n); });
}

} // namespace

void MemoKeyMappings::FillClassic(TKeyList& list)
{
    TKeyBinder b(list);
    cursorKeys(b);
    diamond(b);
    editingKeys(b);
    blockSequences(b);
    quickSequences(b);
}
