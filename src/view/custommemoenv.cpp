// The editor control and the global editor options: what it copies from
// them, and how it keeps following them.
//
// Copying goes through the control's own setters, each of which repaints
// (coalesced by the toolkit into one paint) or drops the cached metrics;
// nothing is measured or re-highlighted here. Settings equal to the
// control's are skipped, so that an unchanged font or style table costs no
// re-measuring and no re-highlighting of the attached text.

#include "custommemo.h"

#include "memoenvoptions.h"
#include "memoparts.h"
#include "memosource.h"

void TCustomDCMemo::SetUseGlobalOptions(bool use)
{
    m_useGlobalOptions = use;
    TMemoEnvOptions& global = TMemoEnvOptions::Global();
    if (use && !m_globalListener) {
        m_globalListener = global.AddListener([this] { TakeEnvOptions(TMemoEnvOptions::Global()); });
        TakeEnvOptions(global);
    } else if (!use && m_globalListener) {
        global.RemoveListener(m_globalListener);
        m_globalListener = 0;
    }
    if (m_source == m_internalSource.get())
        m_internalSource->SetUseGlobalOptions(use);
}

void TCustomDCMemo::TakeEnvOptions(const TMemoEnvOptions& env, TMemoOptions optionBits)
{
    SetKeyMapping(env.KeyMapping());
    SetOptions((m_options & ~optionBits) | (env.Options() & optionBits));
    SetMarginPos(env.MarginPos());
    SetGutterWidth(env.GutterWidth());
    SetGutterBrush(env.GutterBrush());
    SetMarginPen(env.MarginPen());
    if (!(*m_lineSeparator == *env.LineSeparator()))
        m_lineSeparator->Assign(*env.LineSeparator());
    if (!(*m_lineHighlight == *env.LineHighlight()))
        m_lineHighlight->Assign(*env.LineHighlight());
    SetFont(env.Font());
    SetColor(env.Color());
    // The styles may set the editor's colours (selection, search match):
    // they come after the font and colour.
    if (!SameTextStyles(*m_textStyles, *env.TextStyles()))
        m_textStyles->Assign(*env.TextStyles());
    SetUseMonoFont(env.UseMonoFont());
    SetReadOnlyColor(env.ReadOnlyColor());
    if (!(*m_specialSymbols == *env.SpecialSymbols()))
        m_specialSymbols->Assign(*env.SpecialSymbols());
}

void TCustomDCMemo::GiveEnvOptions(TMemoEnvOptions& env) const
{
    env.BeginUpdate();
    env.SetKeyMapping(KeyMapping());
    env.SetOptions(m_options);
    env.SetMarginPos(m_marginPos);
    env.SetGutterWidth(m_gutterWidth);
    env.SetGutterBrush(m_gutterBrush);
    env.SetMarginPen(m_marginPen);
    if (!(*env.LineSeparator() == *m_lineSeparator))
        env.LineSeparator()->Assign(*m_lineSeparator);
    if (!(*env.LineHighlight() == *m_lineHighlight))
        env.LineHighlight()->Assign(*m_lineHighlight);
    env.SetFont(m_font);
    env.SetColor(m_color);
    if (!SameTextStyles(*env.TextStyles(), *m_textStyles))
        env.SetTextStyles(m_textStyles);
    env.SetUseMonoFont(m_useMonoFont);
    env.SetReadOnlyColor(m_readOnlyColor);
    if (!(*env.SpecialSymbols() == *m_specialSymbols))
        env.SpecialSymbols()->Assign(*m_specialSymbols);
    env.EndUpdate();
}
