#include "simpleparser.h"

#include <algorithm>
#include <cstring>

TSimpleParser::TSimpleParser(TComponent* owner) : TComponent(owner) {}

TSimpleParser::~TSimpleParser()
{
    std::vector<TParserListener*> listeners;
    listeners.swap(m_listeners);
    for (TParserListener* listener : listeners)
        listener->ParserDestroyed(this);
}

void TSimpleParser::InitLineAttributes(int, std::string_view text, uchar* attrs)
{
    if (!text.empty())
        std::memset(attrs, 0, text.size());
}

void TSimpleParser::AddListener(TParserListener* listener)
{
    if (std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void TSimpleParser::RemoveListener(TParserListener* listener)
{
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
}

void TSimpleParser::NotifyListeners()
{
    std::vector<TParserListener*> listeners = m_listeners;
    for (TParserListener* listener : listeners) {
        if (std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end())
            listener->ParserChanged(this);
    }
}

quint32 TSimpleParser::ParseLineState(int line, std::string_view text, quint32 state, std::vector<uchar>& scratch)
{
    if (scratch.size() < text.size())
        scratch.resize(text.size());
    InitLineAttributes(line, text, scratch.data());
    SetCurrentLine(line);
    return ParseLine(text, state, scratch.data());
}
