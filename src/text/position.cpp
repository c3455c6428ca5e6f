#include "position.h"

void TPosition::Assign(const TCollectionItem& source)
{
    if (auto* other = qobject_cast<const TPosition*>(&source))
        m_pos = other->m_pos;
}
