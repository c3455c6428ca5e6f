#pragma once

#include "memooption.h"

#include <QObject>

// The enumerations of the editor control, in the member order that is also
// the bit order of their stored sets.
namespace ViewTypes {
Q_NAMESPACE

enum TBkgndOption { boNone, boStretch, boCenter, boTile, boHorzGradient, boVertGradient };
Q_ENUM_NS(TBkgndOption)

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
Q_ENUM_NS(TScrollStyle)

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)

enum TGutterImgsAlign { iaLeft, iaRight };
Q_ENUM_NS(TGutterImgsAlign)

enum TBorderStyle { bsNone, bsSingle };
Q_ENUM_NS(TBorderStyle)

enum TWordSelectionType { wsWordOnly, wsWordWithSpace, wsUntilNextWord };
Q_ENUM_NS(TWordSelectionType)

// cbRtf also offers the copied text as Rich Text Format.
enum TClipboardType { cbNormal, cbRtf };
Q_ENUM_NS(TClipboardType)

enum TDCPrintOption : quint32 {
    poWrapLines = 1u << 0,
    poInColor = 1u << 1,
    poPrintSel = 1u << 2,
    poPrintHeader = 1u << 3,
    poLineNumbers = 1u << 4,
    poPrintSyntax = 1u << 5,
    poShowProgress = 1u << 6,
};
Q_DECLARE_FLAGS(TDCPrintOptions, TDCPrintOption)
Q_FLAG_NS(TDCPrintOptions)

} // namespace ViewTypes

Q_DECLARE_OPERATORS_FOR_FLAGS(ViewTypes::TDCPrintOptions)

using ViewTypes::TAlignment;
using ViewTypes::TBkgndOption;
using ViewTypes::TBorderStyle;
using ViewTypes::TClipboardType;
using ViewTypes::TDCPrintOption;
using ViewTypes::TDCPrintOptions;
using ViewTypes::TGutterImgsAlign;
using ViewTypes::TScrollStyle;
using ViewTypes::TWordSelectionType;
using enum ViewTypes::TBkgndOption;
using enum ViewTypes::TScrollStyle;
using enum ViewTypes::TAlignment;
using enum ViewTypes::TGutterImgsAlign;
using enum ViewTypes::TBorderStyle;
using enum ViewTypes::TWordSelectionType;
using enum ViewTypes::TClipboardType;
using enum ViewTypes::TDCPrintOption;
