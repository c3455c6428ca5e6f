// The registry entries of the editor control's key mappings, the binder the
// mappings are written with, and the commands several of them share.

#include "keymappings.h"

#include "custommemo.h"
#include "memosource.h"

#include <algorithm>

namespace {

TKeyCommand storeCommand(TKeyBinder::TStoreCommand command)
{
    return [command = std::move(command)](QObject& object) { command(static_cast<TCustomMemoSource&>(object)); };
}

TKeyCommand viewCommand(TKeyBinder::TViewCommand command)
{
    return [command = std::move(command)](QObject& object) { command(static_cast<TCustomDCMemo&>(object)); };
}

} // namespace

void MemoKeyMappings::RegisterAll()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    const QMetaObject& memo = TCustomDCMemo::staticMetaObject;
    KeyMappings::Register(memo, kDefault, FillDefault);
    KeyMappings::Register(memo, kClassic, FillClassic);
    KeyMappings::Register(memo, kBrief, FillBrief);
    KeyMappings::Register(memo, kEpsilon, FillEpsilon);
    KeyMappings::Register(memo, kVisualStudio, FillVisualStudio);
}

// -- the binder -------------------------------------------------------------------------

void TKeyBinder::Store(quint16 key, TShiftState shift, TStoreCommand command)
{
    m_list.Add(key, shift, storeCommand(std::move(command)), ktSource);
}

void TKeyBinder::StoreAny(quint16 key, TShiftState shift, TStoreCommand command)
{
    m_list.AddAnyState(key, shift, storeCommand(std::move(command)), ktSource);
}

void TKeyBinder::StoreIn(quint8 state, quint8 next, quint16 key, TShiftState shift, TStoreCommand command)
{
    m_list.AddState(state, next, key, shift, storeCommand(std::move(command)), ktSource);
}

void TKeyBinder::View(quint16 key, TShiftState shift, TViewCommand command)
{
    m_list.Add(key, shift, viewCommand(std::move(command)), ktControl);
}

void TKeyBinder::ViewAny(quint16 key, TShiftState shift, TViewCommand command)
{
    m_list.AddAnyState(key, shift, viewCommand(std::move(command)), ktControl);
}

void TKeyBinder::ViewIn(quint8 state, quint8 next, quint16 key, TShiftState shift, TViewCommand command)
{
    m_list.AddState(state, next, key, shift, viewCommand(std::move(command)), ktControl);
}

void TKeyBinder::Prefix(quint8 state, quint8 next, quint16 key, TShiftState shift)
{
    m_list.AddState(state, next, key, shift);
}

void TKeyBinder::StoreInEither(quint8 state, quint16 key, TStoreCommand command)
{
    StoreIn(state, 0, key, 0, command);
    StoreIn(state, 0, key, ssCtrl, std::move(command));
}

void TKeyBinder::Move(quint8 state, quint8 next, quint16 key, TShiftState shift, TMove move, int extend)
{
    // Word and text movements are the store's own; the others need the
    // view's rows and window.
    switch (move) {
    case TMove::WordLeft: StoreIn(state, next, key, shift, [extend](TCustomMemoSource& s) { s.WordLeft(extend); }); return;
    case TMove::WordRight: StoreIn(state, next, key, shift, [extend](TCustomMemoSource& s) { s.WordRight(extend); }); return;
    case TMove::TextStart: StoreIn(state, next, key, shift, [extend](TCustomMemoSource& s) { s.TextStart(extend); }); return;
    case TMove::TextEnd: StoreIn(state, next, key, shift, [extend](TCustomMemoSource& s) { s.TextEnd(extend); }); return;
    default: break;
    }
    ViewIn(state, next, key, shift, [move, extend](TCustomDCMemo& memo) {
        switch (move) {
        case TMove::Left: memo.CaretLeft(extend); break;
        case TMove::Right: memo.CaretRight(extend); break;
        case TMove::Up: memo.CaretUp(extend); break;
        case TMove::Down: memo.CaretDown(extend); break;
        case TMove::RowStart: memo.RowStart(extend); break;
        case TMove::RowEnd: memo.RowEnd(extend); break;
        case TMove::PageUp: memo.PageUp(extend); break;
        case TMove::PageDown: memo.PageDown(extend); break;
        case TMove::WindowTop: memo.WindowTop(extend); break;
        case TMove::WindowBottom: memo.WindowBottom(extend); break;
        default: break;
        }
    });
}

void TKeyBinder::CursorMoves(quint8 state, quint8 next, TShiftState shift, int extend)
{
    Move(state, next, Vk::Left, shift, TMove::Left, extend);
    Move(state, next, Vk::Right, shift, TMove::Right, extend);
    Move(state, next, Vk::Up, shift, TMove::Up, extend);
    Move(state, next, Vk::Down, shift, TMove::Down, extend);
    Move(state, next, Vk::Home, shift, TMove::RowStart, extend);
    Move(state, next, Vk::End, shift, TMove::RowEnd, extend);
    Move(state, next, Vk::Prior, shift, TMove::PageUp, extend);
    Move(state, next, Vk::Next, shift, TMove::PageDown, extend);
}

void TKeyBinder::WideMoves(quint8 state, quint8 next, TShiftState shift, int extend)
{
    shift |= ssCtrl;
    Move(state, next, Vk::Left, shift, TMove::WordLeft, extend);
    Move(state, next, Vk::Right, shift, TMove::WordRight, extend);
    Move(state, next, Vk::Home, shift, TMove::TextStart, extend);
    Move(state, next, Vk::End, shift, TMove::TextEnd, extend);
    Move(state, next, Vk::Prior, shift, TMove::WindowTop, extend);
    Move(state, next, Vk::Next, shift, TMove::WindowBottom, extend);
}

void TKeyBinder::SelectionMoves()
{
    CursorMoves(0, 0, ssShift, smStream);
    WideMoves(0, 0, ssShift, smStream);
    CursorMoves(0, 0, ssShift | ssAlt, smBlock);
    WideMoves(0, 0, ssShift | ssAlt, smBlock);
}

void TKeyBinder::Digits(quint8 state, quint8 next, TShiftState shift,
                        std::function<void(TCustomMemoSource&, int)> command)
{
    for (int digit = 0; digit <= 9; ++digit)
        StoreIn(state, next, quint16('0' + digit), shift, [command, digit](TCustomMemoSource& s) { command(s, digit); });
}

void TKeyBinder::EditingKeys()
{
    // Through the view: typing by structure may indent the new line, or
    // take a pair of brackets back at once.
    View(Vk::Return, 0, [](TCustomDCMemo& memo) { memo.TypeNewLine(); });
    View(Vk::Return, ssShift, [](TCustomDCMemo& memo) { memo.TypeNewLine(); });
    View(Vk::Back, 0, [](TCustomDCMemo& memo) { memo.TypeBackspace(); });
    View(Vk::Back, ssShift, [](TCustomDCMemo& memo) { memo.TypeBackspace(); });
    Store(Vk::Delete, 0, [](TCustomMemoSource& s) { s.DeleteChar(); });
    View(Vk::Insert, 0, [](TCustomDCMemo& memo) { memo.ToggleOverwrite(); });
}

void TKeyBinder::TabKeys()
{
    Store(Vk::Tab, 0, [](TCustomMemoSource& s) { s.Tab(); });
    Store(Vk::Tab, ssShift, [](TCustomMemoSource& s) { s.BackTab(); });
}

// -- commands of several mappings -------------------------------------------------------------

namespace MemoKeyCommands {

void CutToLineEnd(TCustomMemoSource& source)
{
    if (source.ReadOnly())
        return;
    const int line = source.CaretLine();
    const bool atEnd = source.CaretColumn() >= source.LineLength(line);
    // At the end of the last line nothing is left to take.
    if (atEnd && line + 1 >= source.LineCount())
        return;
    if (atEnd)
        source.MoveCaretTo({line + 1, 0}, smStream);
    else
        source.LineEnd(smStream);
    source.CutToClipboard();
}

void CutLine(TCustomMemoSource& source)
{
    if (source.ReadOnly())
        return;
    source.SelectLine();
    if (source.HasSelection())
        source.CutToClipboard();
}

void ToggleLineBookmark(TCustomMemoSource& source)
{
    const quint16 onLine = source.BookmarksOnLine(source.CaretLine());
    if (onLine != 0) {
        for (int n = 1; n <= TCustomMemoSource::kBookmarkCount; ++n) {
            if (onLine & (1u << (n - 1)))
                source.ClearBookmark(n);
        }
        return;
    }
    for (int n = 1; n <= TCustomMemoSource::kBookmarkCount; ++n) {
        if (!source.IsBookmarkSet(n)) {
            source.SetBookmark(n, source.Caret());
            return;
        }
    }
}

namespace {

// The bookmark on line, the lowest number first; 0 when none.
int bookmarkOn(const TCustomMemoSource& source, int line)
{
    const quint16 onLine = source.BookmarksOnLine(line);
    for (int n = 1; n <= TCustomMemoSource::kBookmarkCount; ++n) {
        if (onLine & (1u << (n - 1)))
            return n;
    }
    return 0;
}

void stepBookmark(TCustomMemoSource& source, bool forward)
{
    std::vector<int> lines = source.BookmarkedLines();
    if (lines.empty())
        return;
    std::sort(lines.begin(), lines.end());
    const int caret = source.CaretLine();
    int target = forward ? lines.front() : lines.back();
    if (forward) {
        const auto after = std::upper_bound(lines.begin(), lines.end(), caret);
        if (after != lines.end())
            target = *after;
    } else {
        const auto before = std::lower_bound(lines.begin(), lines.end(), caret);
        if (before != lines.begin())
            target = *(before - 1);
    }
    if (const int n = bookmarkOn(source, target))
        source.GotoBookmark(n);
}

} // namespace

void NextBookmark(TCustomMemoSource& source)
{
    stepBookmark(source, true);
}

void PreviousBookmark(TCustomMemoSource& source)
{
    stepBookmark(source, false);
}

void ClearBookmarks(TCustomMemoSource& source)
{
    for (int n = 1; n <= TCustomMemoSource::kBookmarkCount; ++n)
        source.ClearBookmark(n);
}

} // namespace MemoKeyCommands
