#include "linestructure.h"

#include <cstring>

TStructureNames::TStructureNames()
{
    m_texts.emplace_back();
    m_ids.emplace(std::string(), 0u);
}

quint32 TStructureNames::Intern(std::string_view text)
{
    // A page names few elements many times: each thread keeps the short
    // names it met last by their text, and finds those again without the
    // lock (an id, once given, stays its text's).
    struct TRecent {
        quint32 id;
        quint8 length;
        char text[27];
    };
    thread_local TRecent recent[64];
    TRecent* slot = nullptr;
    if (!text.empty() && text.size() <= sizeof recent[0].text) {
        slot = &recent[(text.size() * 31 + uchar(text.front()) * 7 + uchar(text.back())) & 63];
        if (slot->length == text.size() && std::memcmp(slot->text, text.data(), text.size()) == 0)
            return slot->id;
    }
    quint32 id = 0;
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_ids.find(text);
        if (found != m_ids.end()) {
            id = found->second;
        } else {
            id = quint32(m_texts.size());
            m_texts.emplace_back(text);
            m_ids.emplace(std::string(text), id);
        }
    }
    if (slot) {
        slot->id = id;
        slot->length = quint8(text.size());
        std::memcpy(slot->text, text.data(), text.size());
    }
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
