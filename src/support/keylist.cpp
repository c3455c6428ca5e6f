#include "keylist.h"

#include <QMetaObject>

// -- the key list -------------------------------------------------------------------

void TKeyList::Append(TKeyData item)
{
    m_items.push_back(std::move(item));
    m_cache.valid = false;
}

void TKeyList::Add(quint16 key, TShiftState shift, TKeyCommand command, TKeyTarget object)
{
    AddState(0, 0, key, shift, std::move(command), object);
}

void TKeyList::AddAnyState(quint16 key, TShiftState shift, TKeyCommand command, TKeyTarget object)
{
    AddState(TKeyData::kAnyState, 0, key, shift, std::move(command), object);
}

void TKeyList::AddState(quint8 startState, quint8 nextState, quint16 key, TShiftState shift, TKeyCommand command,
                        TKeyTarget object)
{
    Append(TKeyData{startState, nextState, key, shift, std::move(command), object});
}

const TKeyData* TKeyList::Find(quint16 key, TShiftState shift, quint8 state) const
{
    if (m_cache.valid && m_cache.key == key && m_cache.shift == shift && m_cache.state == state)
        return m_cache.index < 0 ? nullptr : &m_items[size_t(m_cache.index)];
    int found = -1;
    for (int i = int(m_items.size()) - 1; i >= 0; --i) {
        if (m_items[size_t(i)].Matches(key, shift, state)) {
            found = i;
            break;
        }
    }
    m_cache = TCache{true, key, shift, state, found};
    return found < 0 ? nullptr : &m_items[size_t(found)];
}

void TKeyList::Clear()
{
    m_items.clear();
    m_cache.valid = false;
}

// -- the registry of mappings ----------------------------------------------------------

namespace {

struct TRegisteredMapping {
    const QMetaObject* controlClass;
    QString name;
    TKeyMappingProc fill;
};

std::vector<TRegisteredMapping>& registry()
{
    static std::vector<TRegisteredMapping> mappings;
    return mappings;
}

bool sameClassOrBase(const QMetaObject& controlClass, const QMetaObject* registered)
{
    for (const QMetaObject* meta = &controlClass; meta; meta = meta->superClass()) {
        if (meta == registered)
            return true;
    }
    return false;
}

} // namespace

void KeyMappings::Register(const QMetaObject& controlClass, const QString& name, TKeyMappingProc fill)
{
    for (TRegisteredMapping& mapping : registry()) {
        if (mapping.controlClass == &controlClass && mapping.name.compare(name, Qt::CaseInsensitive) == 0) {
            mapping.fill = std::move(fill);
            return;
        }
    }
    registry().push_back({&controlClass, name, std::move(fill)});
}

TKeyMappingProc KeyMappings::Find(const QMetaObject& controlClass, const QString& name)
{
    // The class's own mapping before that of a class it derives from.
    for (const QMetaObject* meta = &controlClass; meta; meta = meta->superClass()) {
        for (const TRegisteredMapping& mapping : registry()) {
            if (mapping.controlClass == meta && mapping.name.compare(name, Qt::CaseInsensitive) == 0)
                return mapping.fill;
        }
    }
    return {};
}

QStringList KeyMappings::Names(const QMetaObject& controlClass)
{
    QStringList names;
    for (const TRegisteredMapping& mapping : registry()) {
        if (sameClassOrBase(controlClass, mapping.controlClass) && !names.contains(mapping.name, Qt::CaseInsensitive))
            names.append(mapping.name);
    }
    return names;
}
