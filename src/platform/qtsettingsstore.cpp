#include "qtsettingsstore.h"

namespace {

// Runs f with the settings positioned in group, and back at the root after.
template <class F>
auto inGroup(QSettings& settings, const QString& group, F f)
{
    if (!group.isEmpty())
        settings.beginGroup(group);
    auto result = f();
    if (!group.isEmpty())
        settings.endGroup();
    return result;
}

} // namespace

TQtSettingsStore::TQtSettingsStore()
{
#ifdef Q_OS_WIN
    m_settings = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER"), QSettings::NativeFormat);
#else
    m_settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tarnel"),
                                             QStringLiteral("Tarnel"));
#endif
}

TQtSettingsStore::TQtSettingsStore(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

TQtSettingsStore::~TQtSettingsStore()
{
    m_settings->sync();
}

QString TQtSettingsStore::ToGroup(const QString& key)
{
    QString group = key;
    group.replace(u'\\', u'/');
    while (group.contains(QLatin1String("//")))
        group.replace(QLatin1String("//"), QLatin1String("/"));
    while (group.startsWith(u'/'))
        group.remove(0, 1);
    while (group.endsWith(u'/'))
        group.chop(1);
    return group;
}

QString TQtSettingsStore::FindGroup(const QString& key) const
{
    const QStringList parts = ToGroup(key).split(u'/', Qt::SkipEmptyParts);
    QString found;
    for (const QString& part : parts) {
        const QStringList children = inGroup(*m_settings, found, [&] { return m_settings->childGroups(); });
        QString match;
        for (const QString& child : children) {
            if (child.compare(part, Qt::CaseInsensitive) == 0) {
                match = child;
                break;
            }
        }
        if (match.isEmpty())
            return {};
        found = found.isEmpty() ? match : found + u'/' + match;
    }
    return found;
}

QString TQtSettingsStore::FindValue(const QString& group, const QString& name) const
{
    const QStringList keys = inGroup(*m_settings, group, [&] { return m_settings->childKeys(); });
    for (const QString& key : keys) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return key;
    }
    return {};
}

bool TQtSettingsStore::KeyExists(const QString& key) const
{
    return !FindGroup(key).isEmpty();
}

bool TQtSettingsStore::ValueExists(const QString& key, const QString& name) const
{
    const QString group = FindGroup(key);
    return !group.isEmpty() && !FindValue(group, name).isEmpty();
}

QString TQtSettingsStore::ReadString(const QString& key, const QString& name, bool* ok) const
{
    if (ok)
        *ok = false;
    const QString group = FindGroup(key);
    const QString value = group.isEmpty() ? QString() : FindValue(group, name);
    if (value.isEmpty())
        return {};
    // The INI form reads an unquoted value with commas as a list, and the
    // "@Rect(...)", "@Variant(...)" forms as values of other types: a list
    // written by hand reads as the text it shows, and a value that is no
    // text reads as missing.
    const QVariant stored = m_settings->value(group + u'/' + value);
    QString text;
    if (stored.typeId() == QMetaType::QStringList)
        text = stored.toStringList().join(u',');
    else if (stored.isValid() && stored.canConvert<QString>())
        text = stored.toString();
    else
        return {};
    if (ok)
        *ok = true;
    return text;
}

void TQtSettingsStore::WriteString(const QString& key, const QString& name, const QString& value)
{
    QString group = FindGroup(key);
    if (group.isEmpty())
        group = ToGroup(key);
    QString stored = FindValue(group, name);
    if (stored.isEmpty())
        stored = name;
    m_settings->setValue(group + u'/' + stored, value);
}

void TQtSettingsStore::DeleteValue(const QString& key, const QString& name)
{
    const QString group = FindGroup(key);
    const QString value = group.isEmpty() ? QString() : FindValue(group, name);
    if (!value.isEmpty())
        m_settings->remove(group + u'/' + value);
}

void TQtSettingsStore::DeleteKey(const QString& key)
{
    const QString group = FindGroup(key);
    if (!group.isEmpty())
        m_settings->remove(group);
}

QStringList TQtSettingsStore::ValueNames(const QString& key) const
{
    const QString group = FindGroup(key);
    if (group.isEmpty())
        return {};
    return inGroup(*m_settings, group, [&] { return m_settings->childKeys(); });
}

bool TQtSettingsStore::Flush()
{
    // A file that read with format errors lost only its unreadable lines
    // and is written back whole; only a failed write is a failure here.
    m_settings->sync();
    return m_settings->status() != QSettings::AccessError && m_settings->isWritable();
}
