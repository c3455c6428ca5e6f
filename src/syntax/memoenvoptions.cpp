#include "memoenvoptions.h"

TMemoEnvOptions::TMemoEnvOptions(TComponent* owner) : TComponent(owner), m_textStyles(new TTextStyles(nullptr, this))
{
    // While the options are read from a stream, Loaded announces the whole
    // load once.
    m_textStyles->OnUpdate = [this](TCollectionItem*) {
        if (!IsLoading())
            Changed();
    };
}

TMemoEnvOptions& TMemoEnvOptions::Global()
{
    static TMemoEnvOptions* const global = new TMemoEnvOptions;
    return *global;
}

void TMemoEnvOptions::SetOptions(TMemoOptions options)
{
    if (options == m_options)
        return;
    m_options = options;
    if (!IsLoading())
        Changed();
}

void TMemoEnvOptions::SetTextStyles(TTextStyles* styles)
{
    if (styles && styles != m_textStyles)
        m_textStyles->Assign(*styles);
}

void TMemoEnvOptions::Changed()
{
    m_listeners.Notify();
}

void TMemoEnvOptions::Loaded()
{
    Changed();
}
