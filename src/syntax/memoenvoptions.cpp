// The global editor options: settings with their announcements, copying
// and comparing, and the settings store.

#include "memoenvoptions.h"

#include "componentstream.h"
#include "services.h"
#include "settingsstore.h"

#include <algorithm>

TMemoEnvOptions::TMemoEnvOptions(TComponent* owner)
    : TComponent(owner),
      m_lineSeparator(new TLineSeparator(this)),
      m_lineHighlight(new TLineHighlight(this)),
      m_textStyles(new TTextStyles(this, this)),
      m_specialSymbols(new TSpecialSymbols(this))
{
    // While the options are read from a stream, Loaded announces the whole
    // load once.
    auto changed = [this] {
        if (!IsLoading())
            Changed();
    };
    m_textStyles->OnUpdate = [changed](TCollectionItem*) { changed(); };
    m_lineSeparator->OnChange = changed;
    m_lineHighlight->OnChange = changed;
    m_specialSymbols->OnChange = changed;
}

TMemoEnvOptions::~TMemoEnvOptions()
{
    // The styles know these options as their owner: they go first.
    delete m_textStyles;
    m_textStyles = nullptr;
}

TMemoEnvOptions& TMemoEnvOptions::Global()
{
    static TMemoEnvOptions* const global = new TMemoEnvOptions;
    return *global;
}

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

void TMemoEnvOptions::SetOptions(TMemoOptions options)
{
    if (assign(m_options, options & kAllMemoOptions) && !IsLoading())
        Changed();
}

void TMemoEnvOptions::SetKeyMapping(const QString& name)
{
    if (assign(m_keyMapping, name) && !IsLoading())
        Changed();
}

void TMemoEnvOptions::SetMarginPos(int column)
{
    if (assign(m_marginPos, std::max(0, column)) && !IsLoading())
        Changed();
}

void TMemoEnvOptions::SetGutterWidth(int width)
{
    if (assign(m_gutterWidth, std::max(0, width)) && !IsLoading())
        Changed();
}

void TMemoEnvOptions::SetGutterBrush(const TBrush& brush)
{
    if (assign(m_gutterBrush, brush) && !IsLoading())
        Changed();
}

void TMemoEnvOptions::SetMarginPen(const TPen& pen)
{
    TPen capped = pen;
    capped.SetWidth(std::min(pen.Width(), 2));
    if (assign(m_marginPen, capped) && !IsLoading())
        Changed();
}

void TMemoEnvOptions::SetFont(const TFont& font)
{
    if (assign(m_font, font) && !IsLoading())
        Changed();
}

void TMemoEnvOptions::SetTextStyles(TTextStyles* styles)
{
    if (styles && styles != m_textStyles)
        m_textStyles->Assign(*styles);
}

void TMemoEnvOptions::SetColor(TColor color)
{
    if (assign(m_color, color) && !IsLoading())
        Changed();
}

void TMemoEnvOptions::SetUseMonoFont(bool use)
{
    if (assign(m_useMonoFont, use) && !IsLoading())
        Changed();
}

void TMemoEnvOptions::SetReadOnlyColor(TColor color)
{
    if (assign(m_readOnlyColor, color) && !IsLoading())
        Changed();
}

void TMemoEnvOptions::SetColorSchema(const QString& name)
{
    if (assign(m_colorSchema, name) && !IsLoading())
        Changed();
}

void TMemoEnvOptions::SetMemoColors(TUpdateMemoColors which, TColor fontColor, TColor backColor)
{
    // The options have no selection or match colours of their own: the
    // controls that copy the styles take those from them.
    if (which != mcText)
        return;
    m_font.SetColor(fontColor);
    m_color = backColor;
}

void TMemoEnvOptions::Assign(const TMemoEnvOptions& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    SetOptions(source.m_options);
    SetKeyMapping(source.m_keyMapping);
    SetMarginPos(source.m_marginPos);
    SetGutterWidth(source.m_gutterWidth);
    SetGutterBrush(source.m_gutterBrush);
    SetMarginPen(source.m_marginPen);
    if (!(*m_lineSeparator == *source.m_lineSeparator))
        m_lineSeparator->Assign(*source.m_lineSeparator);
    if (!(*m_lineHighlight == *source.m_lineHighlight))
        m_lineHighlight->Assign(*source.m_lineHighlight);
    // The font and colour first: styles that set them (mcText) come after.
    SetFont(source.m_font);
    SetColor(source.m_color);
    if (!SameTextStyles(*m_textStyles, *source.m_textStyles))
        m_textStyles->Assign(*source.m_textStyles);
    SetUseMonoFont(source.m_useMonoFont);
    SetReadOnlyColor(source.m_readOnlyColor);
    if (!(*m_specialSymbols == *source.m_specialSymbols))
        m_specialSymbols->Assign(*source.m_specialSymbols);
    SetColorSchema(source.m_colorSchema);
    EndUpdate();
}

bool TMemoEnvOptions::operator==(const TMemoEnvOptions& other) const
{
    return m_options == other.m_options && m_keyMapping == other.m_keyMapping && m_marginPos == other.m_marginPos
           && m_gutterWidth == other.m_gutterWidth && m_gutterBrush == other.m_gutterBrush
           && m_marginPen == other.m_marginPen && *m_lineSeparator == *other.m_lineSeparator
           && *m_lineHighlight == *other.m_lineHighlight && m_font == other.m_font
           && SameTextStyles(*m_textStyles, *other.m_textStyles) && m_color == other.m_color
           && m_useMonoFont == other.m_useMonoFont && m_readOnlyColor == other.m_readOnlyColor
           && *m_specialSymbols == *other.m_specialSymbols && m_colorSchema == other.m_colorSchema;
}

void TMemoEnvOptions::EndUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0 && m_changedDuringUpdate) {
        m_changedDuringUpdate = false;
        Changed();
    }
}

void TMemoEnvOptions::Changed()
{
    if (m_updateCount > 0) {
        m_changedDuringUpdate = true;
        return;
    }
    m_listeners.Notify();
}

void TMemoEnvOptions::Loaded()
{
    Changed();
}

// -- the settings store -------------------------------------------------------------

bool TMemoEnvOptions::HasStored()
{
    return Services().Settings().ValueExists(kKey, kValueName);
}

bool TMemoEnvOptions::Load(QString* error)
{
    bool ok = false;
    const QString text = Services().Settings().ReadString(kKey, kValueName, &ok);
    if (!ok)
        return true;
    // Read into fresh options, so that what the text leaves out (it holds
    // only what differs from the defaults) comes back as the default.
    TMemoEnvOptions stored;
    QString streamError;
    if (!ReadComponent(text.toUtf8(), stored, &streamError)) {
        if (error)
            *error = streamError;
        return false;
    }
    Assign(stored);
    return true;
}

void TMemoEnvOptions::Save() const
{
    Services().Settings().WriteString(kKey, kValueName, QString::fromUtf8(WriteComponent(*this)));
}

// -- comparing styles ---------------------------------------------------------------

bool SameTextStyles(const TTextStyles& a, const TTextStyles& b)
{
    if (a.Count() != b.Count())
        return false;
    for (int i = 0; i < a.Count(); ++i) {
        const TTextStyle& x = *a.At(i);
        const TTextStyle& y = *b.At(i);
        if (x.Name() != y.Name() || x.Color() != y.Color() || !(x.Font() == y.Font())
            || x.UpdateMemoColors() != y.UpdateMemoColors() || x.UseMemoColor() != y.UseMemoColor()
            || x.UseMemoFont() != y.UseMemoFont() || x.UpperCase() != y.UpperCase())
            return false;
    }
    return true;
}
