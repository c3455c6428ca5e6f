// The "Epsilon" key mapping, in the manner of the Emacs family: Ctrl and Alt
// letters move and edit, Ctrl+X starts two-stroke commands (state 1, and
// Ctrl+X J then a digit, state 21, jumps to a bookmark), and Ctrl+Space sets
// the mark (state 20): from there the movement keys grow the region until a
// region command (Ctrl+W, Alt+W, Del, Backspace) or Ctrl+G ends it. Any
// other key ends the region's growing and does nothing else. Killed text
// goes to the clipboard.

#include "keymappings.h"

#include "custommemo.h"
#include "memosource.h"
#include "searchoptions.h"

#include <algorithm>

namespace {

constexpr quint8 kCtrlX = 1;
constexpr quint8 kMark = 20;
constexpr quint8 kJump = 21;

using S = TCustomMemoSource;
using V = TCustomDCMemo;

// The movements, in state with next state next, growing extend.
void moves(TKeyBinder& b, quint8 state, int extend)
{
    b.CursorMoves(state, state, 0, extend);
    b.WideMoves(state, state, 0, extend);
    b.Move(state, state, 'F', ssCtrl, TMove::Right, extend);
    b.Move(state, state, 'B', ssCtrl, TMove::Left, extend);
    b.Move(state, state, 'N', ssCtrl, TMove::Down, extend);
    b.Move(state, state, 'P', ssCtrl, TMove::Up, extend);
    b.Move(state, state, 'F', ssAlt, TMove::WordRight, extend);
    b.Move(state, state, 'B', ssAlt, TMove::WordLeft, extend);
    b.Move(state, state, 'A', ssCtrl, TMove::RowStart, extend);
    b.Move(state, state, 'E', ssCtrl, TMove::RowEnd, extend);
    b.Move(state, state, Vk::OemComma, ssShift | ssAlt, TMove::TextStart, extend); // Alt+<
    b.Move(state, state, Vk::OemPeriod, ssShift | ssAlt, TMove::TextEnd, extend);  // Alt+>
    b.Move(state, state, 'V', ssCtrl, TMove::PageDown, extend);
    b.Move(state, state, 'V', ssAlt, TMove::PageUp, extend);
}

void find(S& source, TSearchDirection direction)
{
    TSearchOptions::Global().direction = direction;
    source.Find();
}

void editingKeys(TKeyBinder& b)
{
    b.EditingKeys();
    b.TabKeys();
    b.Store('D', ssCtrl, [](S& s) { s.DeleteChar(); });
    b.Store('D', ssAlt, [](S& s) { s.DeleteWordRight(); });
    b.Store(Vk::Back, ssAlt, [](S& s) { s.DeleteWordLeft(); });
    b.Store(Vk::Back, ssCtrl, [](S& s) { s.DeleteWordLeft(); });
    b.Store('K', ssCtrl, MemoKeyCommands::CutToLineEnd);
    b.Store('O', ssCtrl, [](S& s) { s.InsertLineBreak(); });
    b.Store('J', ssCtrl, [](S& s) { s.NewLine(); });
    b.Store('U', ssAlt, [](S& s) { s.WordToUpperCase(); });
    b.Store('L', ssAlt, [](S& s) { s.WordToLowerCase(); });
    b.View('L', ssCtrl, [](V& v) {
        // The caret line to the middle of the window.
        v.SetTopLine(std::max(0, v.MemoSource()->CaretLine() - v.VisibleRows() / 2));
    });
    b.View(Vk::Escape, 0, [](V& v) { v.CancelMouseOperation(); });
    b.StoreAny('G', ssCtrl, [](S& s) { s.ClearSelection(); });
    // The clipboard.
    b.Store('W', ssCtrl, [](S& s) { s.CutToClipboard(); });
    b.Store('W', ssAlt, [](S& s) { s.CopyToClipboard(); });
    b.Store('Y', ssCtrl, [](S& s) { s.PasteFromClipboard(); });
    // Undo: Ctrl+_ and Ctrl+/; redo: Ctrl+? (with Shift).
    b.Store(Vk::OemMinus, ssCtrl | ssShift, [](S& s) { s.Undo(); });
    b.Store(Vk::Oem2, ssCtrl, [](S& s) { s.Undo(); });
    b.Store(Vk::Oem2, ssCtrl | ssShift, [](S& s) { s.Redo(); });
    // Search: Ctrl+S forward, Ctrl+R backward, Alt+% replace.
    b.Store('S', ssCtrl, [](S& s) { find(s, sdForward); });
    b.Store('R', ssCtrl, [](S& s) { find(s, sdBackward); });
    b.Store(Vk::F3, 0, [](S& s) { s.SearchAgain(); });
    b.Store('5', ssShift | ssAlt, [](S& s) { s.Replace(); });
    b.Store('G', ssAlt, [](S& s) { s.GotoLine(); });
}

void ctrlXSequences(TKeyBinder& b)
{
    b.Prefix(0, kCtrlX, 'X', ssCtrl);
    b.StoreIn(kCtrlX, 0, 'U', 0, [](S& s) { s.Undo(); });
    b.StoreIn(kCtrlX, 0, 'R', 0, [](S& s) { s.Redo(); });
    b.StoreIn(kCtrlX, 0, 'H', 0, [](S& s) { s.SelectAll(); });
    b.StoreIn(kCtrlX, 0, 'N', 0, [](S& s) { s.SearchAgain(); });
    b.StoreIn(kCtrlX, 0, 'G', 0, [](S& s) { s.GotoLine(); });
    b.StoreIn(kCtrlX, 0, Vk::Tab, 0, [](S& s) { s.IndentBlock(); });
    b.StoreIn(kCtrlX, 0, Vk::Tab, ssShift, [](S& s) { s.UnindentBlock(); });
    b.StoreIn(kCtrlX, 0, 'U', ssCtrl, [](S& s) { s.BlockToUpperCase(); });
    b.StoreIn(kCtrlX, 0, 'L', ssCtrl, [](S& s) { s.BlockToLowerCase(); });
    b.Digits(kCtrlX, 0, 0, [](S& s, int n) { s.ToggleBookmark(n); });
    b.Prefix(kCtrlX, kJump, 'J', 0);
    b.Digits(kJump, 0, 0, [](S& s, int n) { s.GotoBookmark(n); });
}

void region(TKeyBinder& b)
{
    // Ctrl+Space, and Ctrl+@ where the layout gives it.
    b.StoreIn(0, kMark, Vk::Space, ssCtrl, [](S& s) { s.ClearSelection(); });
    b.StoreIn(0, kMark, '2', ssCtrl | ssShift, [](S& s) { s.ClearSelection(); });
    moves(b, kMark, smStream);
    b.StoreIn(kMark, 0, 'W', ssCtrl, [](S& s) { s.CutToClipboard(); });
    b.StoreIn(kMark, 0, 'W', ssAlt, [](S& s) { s.CopyToClipboard(); });
    b.StoreIn(kMark, 0, Vk::Delete, 0, [](S& s) { s.DeleteBlock(); });
    b.StoreIn(kMark, 0, Vk::Back, 0, [](S& s) { s.DeleteBlock(); });
}

} // namespace

void MemoKeyMappings::FillEpsilon(TKeyList& list)
{
    TKeyBinder b(list);
    moves(b, 0, smNone);
    b.SelectionMoves();
    editingKeys(b);
    ctrlXSequences(b);
    region(b);
}
