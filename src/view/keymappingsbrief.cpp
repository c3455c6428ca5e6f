// The "Brief" key mapping: Alt-key commands and marking modes. Alt+M (or
// Alt+L, which starts with the caret line) and Alt+C start a stream or a
// column mark (states 10 and 11) in which the movement keys extend the
// block; the block keys (keypad +, keypad -, Del, Ins, Tab) act on it and end
// the mark, as do Esc and the marking keys themselves. Any other key ends the
// mark and does nothing else. Alt+J then a digit (state 12) jumps to a
// bookmark.

#include "keymappings.h"

#include "custommemo.h"
#include "keystroke.h"
#include "memosource.h"

namespace {

constexpr quint8 kStreamMark = 10;
constexpr quint8 kColumnMark = 11;
constexpr quint8 kJump = 12;
constexpr quint8 kAny = TKeyData::kAnyState;

using S = TCustomMemoSource;
using V = TCustomDCMemo;

void cursorKeys(TKeyBinder& b)
{
    b.CursorMoves(kAny, 0, 0, smNone);
    b.WideMoves(kAny, 0, 0, smNone);
    b.View('E', ssCtrl, [](V& v) { v.ScrollLineUp(); });
    b.View('D', ssCtrl, [](V& v) { v.ScrollLineDown(); });
    b.SelectionMoves();
}

void commandKeys(TKeyBinder& b)
{
    b.EditingKeys();
    b.TabKeys();
    b.View('I', ssAlt, [](V& v) { v.ToggleOverwrite(); });
    b.View(Vk::Escape, 0, [](V& v) { v.CancelMouseOperation(); });
    b.Store('D', ssAlt, [](S& s) { s.DeleteLine(); });
    b.Store('K', ssAlt, [](S& s) { s.DeleteToLineEnd(); });
    b.Store(Vk::Back, ssCtrl, [](S& s) { s.DeleteWordLeft(); });
    b.Store(Vk::Back, ssAlt, [](S& s) { s.DeleteWordRight(); });
    b.Store(KeyStrokes::KeyOfChar(']'), ssCtrl, [](S& s) { s.MatchingBracket(); });
    // The scrap: keypad + copies, keypad - cuts, Ins pastes (the line
    // without a block).
    b.Store(Vk::Add, 0, [](S& s) { s.CopyToClipboard(); });
    b.Store(Vk::Subtract, 0, [](S& s) { s.CutToClipboard(); });
    b.Store(Vk::Insert, 0, [](S& s) { s.PasteFromClipboard(); });
    b.Store(Vk::Insert, ssCtrl, [](S& s) { s.CopyToClipboard(); });
    b.Store(Vk::Delete, ssShift, [](S& s) { s.CutToClipboard(); });
    b.Store(Vk::Insert, ssShift, [](S& s) { s.PasteFromClipboard(); });
    b.Store('U', ssAlt, [](S& s) { s.Undo(); });
    b.Store(Vk::Multiply, 0, [](S& s) { s.Undo(); });
    b.Store('U', ssCtrl, [](S& s) { s.Redo(); });
    // Search and go to line.
    b.Store('S', ssAlt, [](S& s) { s.Find(); });
    b.Store(Vk::F5, 0, [](S& s) { s.Find(); });
    b.Store(Vk::F5, ssShift, [](S& s) { s.SearchAgain(); });
    b.Store('T', ssAlt, [](S& s) { s.Replace(); });
    b.Store(Vk::F6, 0, [](S& s) { s.Replace(); });
    b.Store('G', ssAlt, [](S& s) { s.GotoLine(); });
    // Bookmarks: Alt+digit drops one, Alt+J then the digit jumps to it.
    b.Digits(0, 0, ssAlt, [](S& s, int n) { s.ToggleBookmark(n); });
    b.Prefix(0, kJump, 'J', ssAlt);
    b.Digits(kJump, 0, 0, [](S& s, int n) { s.GotoBookmark(n); });
}

// The keys of one marking state; extend is the selection the movements grow.
void markingKeys(TKeyBinder& b, quint8 mark, int extend)
{
    b.CursorMoves(mark, mark, 0, extend);
    b.WideMoves(mark, mark, 0, extend);
    for (const quint16 key : {quint16('M'), quint16('C'), quint16('L'), quint16('A')})
        b.StoreIn(mark, 0, key, ssAlt, [](S& s) { s.ClearSelection(); });
    b.StoreIn(mark, 0, Vk::Escape, 0, [](S& s) { s.ClearSelection(); });
    b.StoreIn(mark, 0, Vk::Add, 0, [](S& s) { s.CopyToClipboard(); });
    b.StoreIn(mark, 0, Vk::Insert, ssCtrl, [](S& s) { s.CopyToClipboard(); });
    b.StoreIn(mark, 0, Vk::Subtract, 0, [](S& s) { s.CutToClipboard(); });
    b.StoreIn(mark, 0, Vk::Delete, ssShift, [](S& s) { s.CutToClipboard(); });
    b.StoreIn(mark, 0, Vk::Delete, 0, [](S& s) { s.DeleteBlock(); });
    b.StoreIn(mark, 0, Vk::Insert, 0, [](S& s) { s.PasteFromClipboard(); });
    b.StoreIn(mark, 0, Vk::Tab, 0, [](S& s) { s.IndentBlock(); });
    b.StoreIn(mark, 0, Vk::Tab, ssShift, [](S& s) { s.UnindentBlock(); });
    b.StoreIn(mark, 0, 'U', ssAlt, [](S& s) { s.Undo(); });
}

void markingModes(TKeyBinder& b)
{
    // A mark starts empty at the caret; the first movement opens it.
    b.StoreIn(0, kStreamMark, 'M', ssAlt, [](S& s) { s.ClearSelection(); });
    b.StoreIn(0, kStreamMark, 'A', ssAlt, [](S& s) { s.ClearSelection(); });
    b.StoreIn(0, kStreamMark, 'L', ssAlt, [](S& s) { s.SelectLine(); });
    b.StoreIn(0, kColumnMark, 'C', ssAlt, [](S& s) { s.ClearSelection(); });
    markingKeys(b, kStreamMark, smStream);
    markingKeys(b, kColumnMark, smBlock);
}

} // namespace

void MemoKeyMappings::FillBrief(TKeyList& list)
{
    TKeyBinder b(list);
    cursorKeys(b);
    commandKeys(b);
    markingModes(b);
}
