#include "linestructure.h"

TStructureNames::TStructureNames()
{
    m_texts.emplace_back();
    m_ids.emplace(std::string(), 0u);
}

quint32 TStructureNames::Intern(std::string_view text)
{
    std::lock_guard lock(m_mutex);
    const auto found = m_ids.find(text);
    if (found != m_ids.end())
        return found->second;
    const auto id = quint32(m_texts.size());
    m_texts.emplace_back(text);
    m_ids.emplace(std::string(text), id);
    return id;
}

QByteArray TStructureNames::Text(quint32 id) const
{
    std::lock_guard lock(m_mutex);
    if (id >= m_texts.size())
        return {};
    const std::string& text = m_texts[id];
    return QByteArray(text.data(), qsizetype(text.size()));
}
