// The "Visual Studio" key mapping: the common Windows keys with the IDE's
// own: Ctrl+Y redo, Ctrl+H replace, Ctrl+G go to line, Ctrl+L cut line,
// Ctrl+] matching bracket, Ctrl+U / Ctrl+Shift+U case, and unnumbered
// bookmarks (Ctrl+F2 or Ctrl+K Ctrl+K toggles one on the caret line, F2 and
// Shift+F2 or Ctrl+K Ctrl+N / Ctrl+P step through them, Ctrl+Shift+F2 or
// Ctrl+K Ctrl+L clears them). Ctrl+K starts state 1.

#include "keymappings.h"

#include "custommemo.h"
#include "keystroke.h"
#include "memosource.h"

namespace {

constexpr quint8 kChord = 1; // after Ctrl+K
constexpr quint8 kAny = TKeyData::kAnyState;
constexpr TShiftState kCtrlShift = ssCtrl | ssShift;

using S = TCustomMemoSource;
using V = TCustomDCMemo;
namespace C = MemoKeyCommands;

void movementKeys(TKeyBinder& b)
{
    b.CursorMoves(kAny, 0, 0, smNone);
    b.WideMoves(kAny, 0, 0, smNone);
    b.View(Vk::Up, ssCtrl, [](V& v) { v.ScrollLineUp(); });
    b.View(Vk::Down, ssCtrl, [](V& v) { v.ScrollLineDown(); });
    b.SelectionMoves();
    const quint16 closing = KeyStrokes::KeyOfChar(']');
    b.Store(closing, ssCtrl, [](S& s) { s.MatchingBracket(); });
    b.Store(closing, kCtrlShift, [](S& s) { s.MatchingBracket(smStream); });
    b.Store('A', ssCtrl, [](S& s) { s.SelectAll(); });
}

void editingKeys(TKeyBinder& b)
{
    b.EditingKeys();
    b.TabKeys();
    b.Store(Vk::Back, ssCtrl, [](S& s) { s.DeleteWordLeft(); });
    b.Store(Vk::Delete, ssCtrl, [](S& s) { s.DeleteWordRight(); });
    b.Store('L', kCtrlShift, [](S& s) { s.DeleteLine(); });
    b.Store('L', ssCtrl, C::CutLine);
    b.Store('U', ssCtrl, [](S& s) { s.BlockToLowerCase(); });
    b.Store('U', kCtrlShift, [](S& s) { s.BlockToUpperCase(); });
    b.View(Vk::Escape, 0, [](V& v) { v.CancelMouseOperation(); });
    // Clipboard, undo and redo.
    b.Store('X', ssCtrl, [](S& s) { s.CutToClipboard(); });
    b.Store('C', ssCtrl, [](S& s) { s.CopyToClipboard(); });
    b.Store('V', ssCtrl, [](S& s) { s.PasteFromClipboard(); });
    b.Store(Vk::Delete, ssShift, [](S& s) { s.CutToClipboard(); });
    b.Store(Vk::Insert, ssCtrl, [](S& s) { s.CopyToClipboard(); });
    b.Store(Vk::Insert, ssShift, [](S& s) { s.PasteFromClipboard(); });
    b.Store('Z', ssCtrl, [](S& s) { s.Undo(); });
    b.Store(Vk::Back, ssAlt, [](S& s) { s.Undo(); });
    b.Store('Y', ssCtrl, [](S& s) { s.Redo(); });
    b.Store('Z', kCtrlShift, [](S& s) { s.Redo(); });
    b.Store(Vk::Back, ssShift | ssAlt, [](S& s) { s.Redo(); });
    // Search.
    b.Store('F', ssCtrl, [](S& s) { s.Find(); });
    b.Store('I', ssCtrl, [](S& s) { s.Find(); });
    b.Store('H', ssCtrl, [](S& s) { s.Replace(); });
    b.Store(Vk::F3, 0, [](S& s) { s.SearchAgain(); });
    b.Store('G', ssCtrl, [](S& s) { s.GotoLine(); });
}

void bookmarkKeys(TKeyBinder& b)
{
    b.Store(Vk::F2, ssCtrl, C::ToggleLineBookmark);
    b.Store(Vk::F2, 0, C::NextBookmark);
    b.Store(Vk::F2, ssShift, C::PreviousBookmark);
    b.Store(Vk::F2, kCtrlShift, C::ClearBookmarks);
    b.Prefix(0, kChord, 'K', ssCtrl);
    b.StoreIn(kChord, 0, 'K', ssCtrl, C::ToggleLineBookmark);
    b.StoreIn(kChord, 0, 'N', ssCtrl, C::NextBookmark);
    b.StoreIn(kChord, 0, 'P', ssCtrl, C::PreviousBookmark);
    b.StoreIn(kChord, 0, 'L', ssCtrl, C::ClearBookmarks);
}

} // namespace

void MemoKeyMappings::FillVisualStudio(TKeyList& list)
{
    TKeyBinder b(list);
    movementKeys(b);
    editingKeys(b);
    bookmarkKeys(b);
}
