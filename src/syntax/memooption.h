#pragma once

#include <QObject>

// The editor control's options and separator options. They live below the
// view because the global editor options hold sets of them too; the member
// order is also the bit order of their stored sets.
namespace MemoOptionTypes {
Q_NAMESPACE

enum TMemoOption : quint32 {
    moDrawMargin = 1u << 0,
    moDrawGutter = 1u << 1,
    moThumbTracking = 1u << 2,
    moDblClickLine = 1u << 3,
    moColorSyntax = 1u << 4,
    moLineNumbers = 1u << 5,
    moOverwriteCaret = 1u << 6,
    moLeftIndent = 1u << 7,
    moDisableDrag = 1u << 8,
    moSelectOnlyText = 1u << 9,
    moLineNumbersOnGutter = 1u << 10,
    moNotePadCursorStyle = 1u << 11,
    moBreakWordAtMargin = 1u << 12,
    moDrawSpecialSymbols = 1u << 13,
    moDisableRightClickMove = 1u << 14,
    moColoredLineStyle = 1u << 15,
    moDisableInvertedSel = 1u << 16,
    moHideInvisibleLines = 1u << 17,
    moDrawLineBookmarks = 1u << 18,
    moShowScrollHint = 1u << 19,
    moUseReadOnlyColor = 1u << 20,
    moExtendedSel = 1u << 21,
    moCenterOnBookmark = 1u << 22,
    moTripleClick = 1u << 23,
    moLimitLineNumbers = 1u << 24,
};
Q_DECLARE_FLAGS(TMemoOptions, TMemoOption)
Q_FLAG_NS(TMemoOptions)

// Where separator lines are drawn: under each text line, or under each
// wrapped row.
enum TSeparatorOption : quint32 {
    moDrawLineSeparator = 1u << 0,
    moWrappedLineSeparator = 1u << 1,
};
Q_DECLARE_FLAGS(TSeparatorOptions, TSeparatorOption)
Q_FLAG_NS(TSeparatorOptions)

} // namespace MemoOptionTypes

Q_DECLARE_OPERATORS_FOR_FLAGS(MemoOptionTypes::TMemoOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(MemoOptionTypes::TSeparatorOptions)

using MemoOptionTypes::TMemoOption;
using MemoOptionTypes::TMemoOptions;
using enum MemoOptionTypes::TMemoOption;
using MemoOptionTypes::TSeparatorOption;
using MemoOptionTypes::TSeparatorOptions;
using enum MemoOptionTypes::TSeparatorOption;

// What a new editor control starts with.
inline constexpr TMemoOptions kDefaultMemoOptions{moThumbTracking | moColorSyntax};
// Every option there is.
inline constexpr TMemoOptions kAllMemoOptions{(1u << 25) - 1};
