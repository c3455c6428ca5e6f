// The "Default" key mapping, the one the application uses: the common
// Windows keys together with the two-stroke sequences of Ctrl+K (state 1),
// Ctrl+Q (state 2) and Ctrl+O (state 5). The order of adding matters only
// where two bindings share a key, modifiers and state: the later one wins.

#include "keymappings.h"

#include "custommemo.h"
#include "keystroke.h"
#include "memosource.h"

namespace {

constexpr quint8 kBlock = 1;  // after Ctrl+K
constexpr quint8 kQuick = 2;  // after Ctrl+Q
constexpr quint8 kOther = 5;  // after Ctrl+O
constexpr quint8 kAny = TKeyData::kAnyState;
constexpr TShiftState kCtrlShift = ssCtrl | ssShift;

using S = TCustomMemoSource;
using V = TCustomDCMemo;

void ownKeys(TKeyBinder& b)
{
    // Clipboard and search.
    b.Store('X', ssCtrl, [](S& s) { s.CutToClipboard(); });
    b.Store('C', ssCtrl, [](S& s) { s.CopyToClipboard(); });
    b.Store('V', ssCtrl, [](S& s) { s.PasteFromClipboard(); });
    b.Store('F', ssCtrl, [](S& s) { s.Find(); });
    b.Store('R', ssCtrl, [](S& s) { s.Replace(); });
    b.Store(Vk::F3, 0, [](S& s) { s.SearchAgain(); });
    b.Store('E', ssCtrl, [](S& s) { s.SearchAgain(); });
    b.Store('L', ssCtrl, [](S& s) { s.SearchAgain(); });
    // Text start and end, window top and bottom, line scrolling.
    b.Move(kAny, 0, Vk::Home, ssCtrl, TMove::TextStart, smNone);
    b.Move(kAny, 0, Vk::End, ssCtrl, TMove::TextEnd, smNone);
    b.Move(kAny, 0, Vk::Prior, ssCtrl, TMove::WindowTop, smNone);
    b.Move(kAny, 0, Vk::Next, ssCtrl, TMove::WindowBottom, smNone);
    b.View(Vk::Up, ssCtrl, [](V& v) { v.ScrollLineUp(); });
    b.View(Vk::Down, ssCtrl, [](V& v) { v.ScrollLineDown(); });
    // Undo and redo, line deletion, tab.
    b.Store('Z', ssCtrl, [](S& s) { s.Undo(); });
    b.Store(Vk::Back, ssAlt, [](S& s) { s.Undo(); });
    b.Store('Z', kCtrlShift, [](S& s) { s.Redo(); });
    b.Store(Vk::Back, ssShift | ssAlt, [](S& s) { s.Redo(); });
    b.Store('Y', ssCtrl, [](S& s) { s.DeleteLine(); });
    b.Store('Y', kCtrlShift, [](S& s) { s.DeleteToLineEnd(); });
    b.TabKeys();
    b.Store('I', ssCtrl, [](S& s) { s.Tab(); });
    // Bookmarks.
    b.Digits(0, 0, ssCtrl, [](S& s, int n) { s.GotoBookmark(n); });
    b.Digits(0, 0, kCtrlShift, [](S& s, int n) { s.ToggleBookmark(n); });
}

void alternativeKeys(TKeyBinder& b)
{
    b.Store(Vk::Delete, ssShift, [](S& s) { s.CutToClipboard(); });
    b.Store(Vk::Insert, ssCtrl, [](S& s) { s.CopyToClipboard(); });
    b.Store(Vk::Insert, ssShift, [](S& s) { s.PasteFromClipboard(); });
    b.Store(Vk::Delete, ssCtrl, [](S& s) { s.DeleteBlock(); });
    b.StoreIn(kQuick, 0, 'F', ssCtrl, [](S& s) { s.Find(); });
    b.StoreIn(kQuick, 0, 'A', ssCtrl, [](S& s) { s.Replace(); });
    b.StoreIn(kOther, 0, 'G', ssCtrl, [](S& s) { s.GotoLine(); });
}

void cursorAndEditingKeys(TKeyBinder& b)
{
    b.CursorMoves(kAny, 0, 0, smNone);
    b.Move(0, 0, Vk::Left, ssCtrl, TMove::WordLeft, smNone);
    b.Move(0, 0, Vk::Right, ssCtrl, TMove::WordRight, smNone);
    b.EditingKeys();
    b.Store(Vk::Back, ssCtrl, [](S& s) { s.DeleteWordLeft(); });
    b.Store('T', ssCtrl, [](S& s) { s.DeleteWordRight(); });
    b.Store('N', ssCtrl, [](S& s) { s.InsertLineBreak(); });
    b.Store('A', ssCtrl, [](S& s) { s.SelectAll(); });
    b.Store('J', ssCtrl, [](S& s) { s.ExpandCodeTemplate(); });
    b.Store(KeyStrokes::KeyOfChar('['), ssCtrl, [](S& s) { s.MatchingBracket(); });
    // Folding, with the keys the main keyboard and the number pad give.
    b.Store(KeyStrokes::KeyOfChar('['), kCtrlShift, [](S& s) { s.FoldAtCaret(); });
    b.Store(KeyStrokes::KeyOfChar(']'), kCtrlShift, [](S& s) { s.UnfoldAtCaret(); });
    b.Store(Vk::Subtract, ssCtrl, [](S& s) { s.FoldAtCaret(); });
    b.Store(Vk::Add, ssCtrl, [](S& s) { s.UnfoldAtCaret(); });
    b.Store(KeyStrokes::KeyOfChar('-'), kCtrlShift, [](S& s) { s.FoldAll(); });
    b.Store(Vk::Subtract, kCtrlShift, [](S& s) { s.FoldAll(); });
    b.Store(KeyStrokes::KeyOfChar('='), kCtrlShift, [](S& s) { s.UnfoldAll(); });
    b.Store(Vk::Add, kCtrlShift, [](S& s) { s.UnfoldAll(); });
    b.Store(KeyStrokes::KeyOfChar('/'), kCtrlShift, [](S& s) { s.FoldAllComments(); });
    b.Store('G', kCtrlShift, [](S& s) { s.InsertGuid(); });
    b.Store('I', kCtrlShift, [](S& s) { s.IndentBlock(); });
    b.Store('U', kCtrlShift, [](S& s) { s.UnindentBlock(); });
    b.Store('Q', ssCtrl | ssAlt, [](S& s) { s.QuoteBlock(); });
    b.View(Vk::Escape, 0, [](V& v) { v.CancelMouseOperation(); });
    b.Prefix(0, kBlock, 'K', ssCtrl);
    b.Prefix(0, kQuick, 'Q', ssCtrl);
    b.Prefix(0, kOther, 'O', ssCtrl);
}

void blockSequences(TKeyBinder& b)
{
    // B only without Ctrl: Ctrl+K Ctrl+B means nothing.
    b.StoreIn(kBlock, 0, 'B', 0, [](S& s) { s.MarkBlockBegin(); });
    b.StoreInEither(kBlock, 'K', [](S& s) { s.MarkBlockEnd(); });
    b.StoreInEither(kBlock, 'C', [](S& s) { s.CopyBlock(); });
    b.StoreInEither(kBlock, 'V', [](S& s) { s.MoveBlock(); });
    b.StoreInEither(kBlock, 'Y', [](S& s) { s.DeleteBlock(); });
    b.StoreInEither(kBlock, 'I', [](S& s) { s.IndentBlock(); });
    b.StoreInEither(kBlock, 'U', [](S& s) { s.UnindentBlock(); });
    b.StoreInEither(kBlock, 'N', [](S& s) { s.BlockToUpperCase(); });
    b.StoreInEither(kBlock, 'O', [](S& s) { s.BlockToLowerCase(); });
    b.StoreInEither(kBlock, 'E', [](S& s) { s.WordToLowerCase(); });
    b.StoreInEither(kBlock, 'F', [](S& s) { s.WordToUpperCase(); });
    b.StoreInEither(kBlock, 'T', [](S& s) { s.SelectWord(); });
    b.StoreInEither(kBlock, 'L', [](S& s) { s.SelectLine(); });
    b.StoreIn(kOther, 0, 'U', ssCtrl, [](S& s) { s.BlockToggleCase(); });
    b.StoreIn(kOther, 0, 'L', ssCtrl, [](S& s) { s.SelectLine(); });
}

void bookmarkSequences(TKeyBinder& b)
{
    auto toggle = [](S& s, int n) { s.ToggleBookmark(n); };
    auto go = [](S& s, int n) { s.GotoBookmark(n); };
    b.Digits(kBlock, 0, 0, toggle);
    b.Digits(kBlock, 0, ssCtrl, toggle);
    b.Digits(kQuick, 0, 0, go);
    b.Digits(kQuick, 0, ssCtrl, go);
    b.Digits(kQuick, 0, kCtrlShift, toggle);
}

void quickSequences(TKeyBinder& b)
{
    b.StoreIn(kQuick, 0, 'B', ssCtrl, [](S& s) { s.GotoBlockBegin(); });
    b.StoreIn(kQuick, 0, 'K', ssCtrl, [](S& s) { s.GotoBlockEnd(); });
    b.Move(kQuick, 0, 'R', ssCtrl, TMove::TextStart, smNone);
    b.Move(kQuick, 0, 'C', ssCtrl, TMove::TextEnd, smNone);
    b.StoreIn(kQuick, 0, 'S', ssCtrl, [](S& s) { s.LineStart(); });
    b.StoreIn(kQuick, 0, 'D', ssCtrl, [](S& s) { s.LineEnd(); });
    b.Move(kQuick, 0, 'E', ssCtrl, TMove::WindowTop, smNone);
    b.Move(kQuick, 0, 'T', ssCtrl, TMove::WindowTop, smNone);
    b.Move(kQuick, 0, 'U', ssCtrl, TMove::WindowBottom, smNone);
    b.Move(kQuick, 0, 'X', ssCtrl, TMove::WindowBottom, smNone);
    b.StoreIn(kQuick, 0, 'Y', ssCtrl, [](S& s) { s.DeleteToLineEnd(); });
}

} // namespace

void MemoKeyMappings::FillDefault(TKeyList& list)
{
    TKeyBinder b(list);
    ownKeys(b);
    alternativeKeys(b);
    cursorAndEditingKeys(b);
    b.SelectionMoves();
    blockSequences(b);
    bookmarkSequences(b);
    quickSequences(b);
}
