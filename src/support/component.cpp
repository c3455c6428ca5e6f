#include "component.h"

TComponent::TComponent(TComponent* owner) : QObject(owner) {}

void TComponent::EndLoading()
{
    if (m_loading > 0 && --m_loading == 0)
        Loaded();
}
