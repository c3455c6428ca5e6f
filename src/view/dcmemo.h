#pragma once

#include "custommemo.h"
#include "gutterimages.h"
#include "memoparts.h"
#include "memosource.h"
#include "simpleparser.h"

#include <QMenu>

// The editor control with its settings published.
class TDCMemo : public TCustomDCMemo {
    Q_OBJECT
    Q_PROPERTY(MemoOptionTypes::TMemoOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(int GutterWidth READ GutterWidth WRITE SetGutterWidth)
    Q_PROPERTY(int MarginPos READ MarginPos WRITE SetMarginPos)
    Q_PROPERTY(int HorzMaxPos READ HorzMaxPos WRITE SetHorzMaxPos)
    Q_PROPERTY(int LeftIndent READ LeftIndent WRITE SetLeftIndent)
    Q_PROPERTY(int GutterLineIndent READ GutterLineIndent WRITE SetGutterLineIndent)
    Q_PROPERTY(ViewTypes::TGutterImgsAlign GutterImgsAlign READ GutterImgsAlign WRITE SetGutterImgsAlign)
    Q_PROPERTY(TBrush GutterBrush READ GutterBrush WRITE SetGutterBrush)
    Q_PROPERTY(TColor GutterBackColor READ GutterBackColor WRITE SetGutterBackColor)
    Q_PROPERTY(TColor GutterLineColor READ GutterLineColor WRITE SetGutterLineColor)
    Q_PROPERTY(TPen MarginPen READ MarginPen WRITE SetMarginPen)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(TFont PrinterFont READ PrinterFont WRITE SetPrinterFont)
    Q_PROPERTY(bool UsePrinterFont READ UsePrinterFont WRITE SetUsePrinterFont)
    Q_PROPERTY(TFont TemplateFont READ TemplateFont WRITE SetTemplateFont)
    Q_PROPERTY(bool UseMonoFont READ UseMonoFont WRITE SetUseMonoFont)
    Q_PROPERTY(TColor LineNumColor READ LineNumColor WRITE SetLineNumColor)
    Q_PROPERTY(TColor LineNumBackColor READ LineNumBackColor WRITE SetLineNumBackColor)
    Q_PROPERTY(ViewTypes::TAlignment LineNumAlign READ LineNumAlign WRITE SetLineNumAlign)
    Q_PROPERTY(TColor SelColor READ SelColor WRITE SetSelColor)
    Q_PROPERTY(TColor SelBackColor READ SelBackColor WRITE SetSelBackColor)
    Q_PROPERTY(TColor MatchColor READ MatchColor WRITE SetMatchColor)
    Q_PROPERTY(TColor MatchBackColor READ MatchBackColor WRITE SetMatchBackColor)
    Q_PROPERTY(TColor LineBookmarkColor READ LineBookmarkColor WRITE SetLineBookmarkColor)
    Q_PROPERTY(TColor DisabledColor READ DisabledColor WRITE SetDisabledColor)
    Q_PROPERTY(TColor ReadOnlyColor READ ReadOnlyColor WRITE SetReadOnlyColor)
    Q_PROPERTY(ViewTypes::TScrollStyle ScrollBars READ ScrollBars WRITE SetScrollBars)
    Q_PROPERTY(ViewTypes::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
    Q_PROPERTY(bool HideScrollBars READ HideScrollBars WRITE SetHideScrollBars)
    Q_PROPERTY(bool HideCaret READ HideCaret WRITE SetHideCaret)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool WantTabs READ WantTabs WRITE SetWantTabs)
    Q_PROPERTY(bool WantReturns READ WantReturns WRITE SetWantReturns)
    Q_PROPERTY(QString TabStops READ TabStops WRITE SetTabStops STORED false)
    Q_PROPERTY(int SpacesInTab READ SpacesInTab WRITE SetSpacesInTab STORED false)
    Q_PROPERTY(int BlockIndent READ BlockIndent WRITE SetBlockIndent STORED false)
    Q_PROPERTY(QString Delimeters READ Delimeters WRITE SetDelimeters STORED false)
    Q_PROPERTY(MemoTypes::TStringsOptions StringsOptions READ StringsOptions WRITE SetStringsOptions STORED false)
    Q_PROPERTY(MemoTypes::TBlockOption BlockOption READ BlockOption WRITE SetBlockOption STORED false)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly STORED false)
    Q_PROPERTY(bool AllowUndo READ AllowUndo WRITE SetAllowUndo STORED false)
    Q_PROPERTY(int UndoLimit READ UndoLimit WRITE SetUndoLimit STORED false)
    Q_PROPERTY(MemoTypes::TOutFormatType OutFormat READ OutFormat WRITE SetOutFormat STORED false)
    Q_PROPERTY(TSimpleParser* SyntaxParser READ SyntaxParser WRITE SetSyntaxParser STORED false)
    Q_PROPERTY(bool HighlightUrls READ HighlightUrls WRITE SetHighlightUrls STORED false)
    Q_PROPERTY(QString TemplatesType READ TemplatesType WRITE SetTemplatesType STORED false)
    Q_PROPERTY(QString KeyMapping READ KeyMapping WRITE SetKeyMapping)
    Q_PROPERTY(ViewTypes::TWordSelectionType WordSelectionType READ WordSelectionType WRITE SetWordSelectionType)
    Q_PROPERTY(ViewTypes::TClipboardType ClipboardType READ ClipboardType WRITE SetClipboardType)
    Q_PROPERTY(bool PlainText READ PlainText WRITE SetPlainText)
    Q_PROPERTY(ViewTypes::TDCPrintOptions PrintOptions READ PrintOptions WRITE SetPrintOptions)
    Q_PROPERTY(int PrintIndent READ PrintIndent WRITE SetPrintIndent)
    Q_PROPERTY(TLineSeparator* LineSeparator READ LineSeparator)
    Q_PROPERTY(TLineHighlight* LineHighlight READ LineHighlight)
    Q_PROPERTY(TSpecialSymbols* SpecialSymbols READ SpecialSymbols)
    Q_PROPERTY(TControlBackground* Background READ Background)
    Q_PROPERTY(TGutterBackground* GutterBackground READ GutterBackground)
    Q_PROPERTY(ViewTypes::TBkgndOption BkgndOption READ BkgndOption WRITE SetBkgndOption)
    Q_PROPERTY(TTextStyles* TextStyles READ TextStyles WRITE SetTextStyles)
    Q_PROPERTY(TDCGutterImages* GutterImages READ GutterImages)
    Q_PROPERTY(bool UseDefaultMenu READ UseDefaultMenu WRITE SetUseDefaultMenu)
    Q_PROPERTY(bool UseGlobalOptions READ UseGlobalOptions WRITE SetUseGlobalOptions)
    Q_PROPERTY(TCustomMemoSource* MemoSource READ MemoSource WRITE SetMemoSource STORED false)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu STORED false)

public:
    explicit TDCMemo(QWidget* parent = nullptr) : TCustomDCMemo(parent) {}
};
