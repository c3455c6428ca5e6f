// The editor control's construction, its settings and the settings it
// forwards to the attached text store.

#include "custommemo.h"

#include "gutterimages.h"
#include "keymappings.h"
#include "memohints.h"
#include "memoenvoptions.h"
#include "memoparts.h"
#include "memostructure.h"
#include "memosource.h"
#include "searchmarks.h"
#include "sourcestrings.h"

#include <QScrollBar>

#include <algorithm>

namespace {

std::vector<TCustomDCMemo*>& instances()
{
    static std::vector<TCustomDCMemo*> list;
    return list;
}

constexpr TMemoOptions kApplicationOptions = moDrawMargin | moDrawGutter | moThumbTracking | moDblClickLine
                                             | moColorSyntax | moLineNumbers | moLineNumbersOnGutter
                                             | moLimitLineNumbers;

const QString kApplicationDelimeters = QStringLiteral("/{}+-*():=,;><$.#[]^@&~|%'");

} // namespace

TCustomDCMemo::TCustomDCMemo(QWidget* parent)
    : TDCCustomControl(parent), m_internalSource(std::make_unique<TMemoSource>())
{
    m_structure = std::make_unique<TMemoStructure>(*this);
    m_options = kDefaultMemoOptions;
    m_templateFont.SetSize(8);
    m_lineNumColor = m_font.Color();
    m_gutterBackColor = m_color;
    m_lineNumBackColor = m_color;

    auto repaint = [this] { Changed(); };
    m_lineSeparator = new TLineSeparator(this);
    m_lineSeparator->OnChange = repaint;
    m_lineHighlight = new TLineHighlight(this);
    m_lineHighlight->OnChange = repaint;
    m_specialSymbols = new TSpecialSymbols(this);
    m_specialSymbols->OnChange = repaint;
    m_background = new TControlBackground(this);
    m_background->OnChange = repaint;
    m_gutterBackground = new TGutterBackground(this);
    m_gutterBackground->OnChange = repaint;
    m_gutterImages = new TDCGutterImages(this);
    m_gutterImages->AddDefaults();
    m_gutterImages->OnChange = repaint;
    m_textStyles = new TTextStyles(this, this);
    MemoKeyMappings::RegisterAll();
    m_renderer = std::make_unique<TMemoRenderer>(m_fonts);
    m_rows.SetWrap(&m_wrap);

    instances().push_back(this);
    resize(185, 89);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_mouse = std::make_unique<TMemoMouse>(*this);
    m_scroller = std::make_unique<TMemoScroller>(*this);
    m_hints = std::make_unique<TMemoHints>(*this);
    m_constructed = true;
    UpdateScrollBars();
    Attach(m_internalSource.get());
}

TCustomDCMemo::~TCustomDCMemo()
{
    m_constructed = false;
    if (m_globalListener)
        TMemoEnvOptions::Global().RemoveListener(m_globalListener);
    Detach();
    // The styles know this control as their owner: they go before it does.
    delete m_textStyles;
    m_textStyles = nullptr;
    auto& list = instances();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

const std::vector<TCustomDCMemo*>& TCustomDCMemo::Instances()
{
    return instances();
}

bool TCustomDCMemo::Overwrite()
{
    return TCustomMemoSource::OverwriteMode();
}

void TCustomDCMemo::SetOverwrite(bool on)
{
    // The text stores type by the same flag the caret shows.
    if (TCustomMemoSource::OverwriteMode() == on)
        return;
    TCustomMemoSource::SetOverwriteMode(on);
    for (TCustomDCMemo* memo : instances())
        memo->InvalidateCaret();
}

void TCustomDCMemo::ApplyApplicationDefaults()
{
    SetOptions(kApplicationOptions);
    SetGutterWidth(32);
    SetMarginPos(80);
    SetHorzMaxPos(512);
    SetLeftIndent(0);
    SetGutterLineIndent(0);
    SetGutterBrush(TBrush(clBtnFace));
    SetGutterBackColor(clWindow);
    SetGutterLineColor(clGray);
    SetMarginPen(TPen(clGrayText));
    SetColor(clWindow);
    const TFont courier(QStringLiteral("Courier New"), -13, clBlack);
    SetFont(courier);
    SetPrinterFont(courier);
    SetUsePrinterFont(false);
    SetTemplateFont(TFont(QStringLiteral("MS Sans Serif"), -11));
    SetUseMonoFont(true);
    SetLineNumColor(clBlack);
    SetLineNumAlign(taRightJustify);
    SetSelColor(clWhite);
    SetSelBackColor(clNavy);
    SetMatchBackColor(clBlack);
    SetScrollBars(ssBoth);
    SetHideCaret(false);
    SetWantTabs(true);
    SetWantReturns(true);
    SetKeyMapping(QStringLiteral("Default"));
    SetPrintOptions(poShowProgress);
    m_lineSeparator->SetOptions({});
    m_lineSeparator->SetPen(TPen(clGrayText));
    m_lineHighlight->SetVisible(false);
    m_specialSymbols->SetEOLString(QString(QChar(0x00B6)));
    m_specialSymbols->SetEOFString(QStringLiteral("_"));
    SetBkgndOption(boNone);
    SetUseDefaultMenu(false);
    SetUseGlobalOptions(false);
    SetTabStops(QStringLiteral("9,17"));
    SetSpacesInTab(8);
    SetBlockIndent(1);
    SetDelimeters(kApplicationDelimeters);
    SetTemplatesType(QStringLiteral("None"));
}

void TCustomDCMemo::Changed()
{
    if (m_constructed)
        viewport()->update();
}

// -- options and layout ------------------------------------------------------------

void TCustomDCMemo::SetOptions(TMemoOptions options)
{
    if (m_options == options)
        return;
    m_options = options;
    m_structure->UpdateOutline();
    ResetMetrics();
}

void TCustomDCMemo::SetGutterWidth(int width)
{
    width = std::max(0, width);
    if (m_gutterWidth == width)
        return;
    m_gutterWidth = width;
    UpdateLayout();
    Changed();
}

void TCustomDCMemo::SetMarginPos(int column)
{
    if (m_marginPos == column)
        return;
    m_marginPos = column;
    if (m_options.testFlag(moBreakWordAtMargin))
        UpdateWrap();
    Changed();
}

void TCustomDCMemo::SetHorzMaxPos(int columns)
{
    columns = std::clamp(columns, 0, 0x7fff);
    if (m_horzMaxPos == columns)
        return;
    m_horzMaxPos = columns;
    UpdateScrollBars();
}

void TCustomDCMemo::SetLeftIndent(int pixels)
{
    pixels = std::max(0, pixels);
    if (m_leftIndent == pixels)
        return;
    m_leftIndent = pixels;
    UpdateLayout();
    Changed();
}

void TCustomDCMemo::SetGutterLineIndent(int pixels)
{
    if (m_gutterLineIndent == pixels)
        return;
    m_gutterLineIndent = pixels;
    UpdateLayout();
    Changed();
}

void TCustomDCMemo::SetGutterImgsAlign(TGutterImgsAlign align)
{
    if (m_gutterImgsAlign == align)
        return;
    m_gutterImgsAlign = align;
    Changed();
}

// -- colours, pens and fonts ---------------------------------------------------------

namespace {

template <class T>
bool assign(T& member, const T& value)
{
    if (member == value)
        return false;
    member = value;
    return true;
}

} // namespace

void TCustomDCMemo::SetGutterBrush(const TBrush& brush)
{
    if (assign(m_gutterBrush, brush))
        Changed();
}

void TCustomDCMemo::SetGutterBackColor(TColor color)
{
    if (assign(m_gutterBackColor, color))
        Changed();
}

void TCustomDCMemo::SetGutterLineColor(TColor color)
{
    if (assign(m_gutterLineColor, color))
        Changed();
}

void TCustomDCMemo::SetMarginPen(const TPen& pen)
{
    TPen capped = pen;
    capped.SetWidth(std::min(pen.Width(), 2));
    if (assign(m_marginPen, capped))
        Changed();
}

void TCustomDCMemo::SetColor(TColor color)
{
    if (assign(m_color, color))
        Changed();
}

void TCustomDCMemo::SetFont(const TFont& font)
{
    if (!assign(m_font, font))
        return;
    ResetMetrics();
}

void TCustomDCMemo::SetUseMonoFont(bool use)
{
    if (!assign(m_useMonoFont, use))
        return;
    ResetMetrics();
}

void TCustomDCMemo::SetLineNumColor(TColor color)
{
    if (assign(m_lineNumColor, color))
        Changed();
}

void TCustomDCMemo::SetLineNumBackColor(TColor color)
{
    if (assign(m_lineNumBackColor, color))
        Changed();
}

void TCustomDCMemo::SetLineNumAlign(TAlignment align)
{
    if (assign(m_lineNumAlign, align))
        Changed();
}

void TCustomDCMemo::SetSelColor(TColor color)
{
    if (assign(m_selColor, color))
        Changed();
}

void TCustomDCMemo::SetSelBackColor(TColor color)
{
    if (assign(m_selBackColor, color))
        Changed();
}

void TCustomDCMemo::SetMatchColor(TColor color)
{
    if (assign(m_matchColor, color))
        Changed();
}

void TCustomDCMemo::SetMatchBackColor(TColor color)
{
    if (assign(m_matchBackColor, color))
        Changed();
}

void TCustomDCMemo::SetLineBookmarkColor(TColor color)
{
    if (assign(m_lineBookmarkColor, color))
        Changed();
}

void TCustomDCMemo::SetDisabledColor(TColor color)
{
    if (assign(m_disabledColor, color))
        Changed();
}

void TCustomDCMemo::SetReadOnlyColor(TColor color)
{
    if (assign(m_readOnlyColor, color))
        Changed();
}

// -- behaviour ---------------------------------------------------------------------------

void TCustomDCMemo::SetScrollBars(TScrollStyle style)
{
    if (assign(m_scrollBars, style))
        UpdateScrollBars();
}

void TCustomDCMemo::SetHideSelection(bool hide)
{
    if (assign(m_hideSelection, hide))
        Changed();
}

void TCustomDCMemo::SetHideScrollBars(bool hide)
{
    if (assign(m_hideScrollBars, hide))
        UpdateScrollBars();
}

void TCustomDCMemo::SetHideCaret(bool hide)
{
    if (assign(m_hideCaret, hide))
        InvalidateCaret();
}

void TCustomDCMemo::SetWordWrap(bool wrap)
{
    if (!assign(m_wordWrap, wrap))
        return;
    // Collapsed lines stay shown while wrapping.
    m_structure->UpdateOutline();
    ResetMetrics();
}

// -- parts ---------------------------------------------------------------------------------

TBkgndOption TCustomDCMemo::BkgndOption() const
{
    return m_background->BkgndOption();
}

void TCustomDCMemo::SetBkgndOption(TBkgndOption option)
{
    m_background->SetBkgndOption(option);
}

void TCustomDCMemo::SetTextStyles(TTextStyles* styles)
{
    if (styles && styles != m_textStyles)
        m_textStyles->Assign(*styles);
}

void TCustomDCMemo::SetMemoColors(TUpdateMemoColors which, TColor fontColor, TColor backColor)
{
    // The default styles made with the collection must not override the
    // control's own defaults.
    if (!m_constructed)
        return;
    switch (which) {
    case mcText:
        m_font.SetColor(fontColor);
        m_color = backColor;
        break;
    case mcSelection:
        m_selColor = fontColor;
        m_selBackColor = backColor;
        break;
    case mcSearchMatch:
        m_matchColor = fontColor;
        m_matchBackColor = backColor;
        break;
    case mcNone: return;
    }
    Changed();
}

void TCustomDCMemo::TextStylesChanged()
{
    if (!m_constructed)
        return;
    ResetMetrics();
    if (m_source)
        m_source->ResetAttributes();
}

// -- forwarded to the text store --------------------------------------------------------------

QString TCustomDCMemo::TabStops() const { return m_source->TabStops(); }
void TCustomDCMemo::SetTabStops(const QString& text)
{
    // Tabs show as blanks up to the stops: rows are cut by those columns.
    m_source->SetTabStops(text);
    UpdateWrap(true);
}
int TCustomDCMemo::SpacesInTab() const { return m_source->SpacesInTab(); }
void TCustomDCMemo::SetSpacesInTab(int spaces) { m_source->SetSpacesInTab(spaces); }
int TCustomDCMemo::BlockIndent() const { return m_source->BlockIndent(); }
void TCustomDCMemo::SetBlockIndent(int indent) { m_source->SetBlockIndent(indent); }
QString TCustomDCMemo::Delimeters() const { return m_source->Delimeters(); }
void TCustomDCMemo::SetDelimeters(const QString& delimeters)
{
    // Rows end at delimiters.
    m_source->SetDelimeters(delimeters);
    UpdateWrap(true);
}
TStringsOptions TCustomDCMemo::StringsOptions() const { return m_source->Options(); }
void TCustomDCMemo::SetStringsOptions(TStringsOptions options) { m_source->SetOptions(options); }
TBlockOption TCustomDCMemo::BlockOption() const { return m_source->BlockOption(); }
void TCustomDCMemo::SetBlockOption(TBlockOption option) { m_source->SetBlockOption(option); }
bool TCustomDCMemo::ReadOnly() const { return m_source->ReadOnly(); }
void TCustomDCMemo::SetReadOnly(bool readOnly) { m_source->SetReadOnly(readOnly); }
bool TCustomDCMemo::AllowUndo() const { return m_source->AllowUndo(); }
void TCustomDCMemo::SetAllowUndo(bool allow) { m_source->SetAllowUndo(allow); }
int TCustomDCMemo::UndoLimit() const { return m_source->UndoLimit(); }
void TCustomDCMemo::SetUndoLimit(int limit) { m_source->SetUndoLimit(limit); }
TOutFormatType TCustomDCMemo::OutFormat() const { return m_source->OutFormat(); }
void TCustomDCMemo::SetOutFormat(TOutFormatType format) { m_source->SetOutFormat(format); }
TSimpleParser* TCustomDCMemo::SyntaxParser() const { return m_source->SyntaxParser(); }
void TCustomDCMemo::SetSyntaxParser(TSimpleParser* parser) { m_source->SetSyntaxParser(parser); }
bool TCustomDCMemo::HighlightUrls() const { return m_source->HighlightUrls(); }
void TCustomDCMemo::SetHighlightUrls(bool on) { m_source->SetHighlightUrls(on); }
QString TCustomDCMemo::TemplatesType() const { return m_source->TemplatesType(); }
void TCustomDCMemo::SetTemplatesType(const QString& type) { m_source->SetTemplatesType(type); }
TExternalStrings& TCustomDCMemo::Lines() const { return m_source->Lines(); }
