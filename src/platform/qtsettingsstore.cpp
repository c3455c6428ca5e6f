// Key paths are looked up one level at a time among the stored children, so
// that any spelling finds a key; a key that the file holds in several
// spellings (only a file from an earlier version or edited by hand can) is
// read through all of them, the preferred first, and written in one.

#include "qtsettingsstore.h"

#include <QHash>
#include <QSet>

#include <algorithm>

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

QString joined(const QString& group, const QString& child)
{
    return group.isEmpty() ? child : group + u'/' + child;
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
    MergeSpellings();
}

TQtSettingsStore::TQtSettingsStore(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
    MergeSpellings();
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

QStringList TQtSettingsStore::MatchingChildren(const QString& group, const QString& part) const
{
    const QStringList children = inGroup(*m_settings, group, [&] { return m_settings->childGroups(); });
    QStringList matches;
    for (const QString& child : children) {
        if (child.compare(part, Qt::CaseInsensitive) == 0)
            matches.append(child);
    }
    if (matches.size() < 2)
        return matches;
    // The spelling holding the most values is the key's; on a tie the one
    // that sorts last, which puts lower case before upper case.
    QHash<QString, qsizetype> held;
    for (const QString& match : std::as_const(matches))
        held.insert(match, inGroup(*m_settings, joined(group, match), [&] { return m_settings->allKeys().size(); }));
    std::sort(matches.begin(), matches.end(), [&held](const QString& a, const QString& b) {
        if (held.value(a) != held.value(b))
            return held.value(a) > held.value(b);
        return a.compare(b, Qt::CaseSensitive) > 0;
    });
    return matches;
}

QStringList TQtSettingsStore::FindGroups(const QString& key) const
{
    const QStringList parts = ToGroup(key).split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return {};
    QStringList found{QString()};
    for (const QString& part : parts) {
        QStringList next;
        for (const QString& group : std::as_const(found)) {
            for (const QString& child : MatchingChildren(group, part))
                next.append(joined(group, child));
        }
        if (next.isEmpty())
            return {};
        found = next;
    }
    return found;
}

QStringList TQtSettingsStore::FindValues(const QString& group, const QString& name) const
{
    const QStringList keys = inGroup(*m_settings, group, [&] { return m_settings->childKeys(); });
    QStringList found;
    for (const QString& key : keys) {
        if (key.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (key == name)
            found.prepend(key);
        else
            found.append(key);
    }
    return found;
}

QString TQtSettingsStore::WriteGroup(const QString& key) const
{
    QString group;
    for (const QString& part : ToGroup(key).split(u'/', Qt::SkipEmptyParts)) {
        const QStringList matches = MatchingChildren(group, part);
        group = joined(group, matches.isEmpty() ? part : matches.first());
    }
    return group;
}

void TQtSettingsStore::MergeSpellings()
{
    // The registry is case-insensitive by itself, and its root is far too
    // large to walk.
    if (m_settings->format() != QSettings::IniFormat)
        return;
    const QStringList keys = m_settings->allKeys();
    QHash<QString, QString> spellingOf;
    bool mixed = false;
    for (const QString& key : keys) {
        for (qsizetype end = key.indexOf(u'/'); !mixed; end = key.indexOf(u'/', end + 1)) {
            const QString prefix = end < 0 ? key : key.left(end);
            auto it = spellingOf.constFind(prefix.toLower());
            if (it == spellingOf.constEnd())
                spellingOf.insert(prefix.toLower(), prefix);
            else if (*it != prefix)
                mixed = true;
            if (end < 0)
                break;
        }
    }
    if (!mixed)
        return;
    // Values move only towards the preferred spelling, which so only gains:
    // the choice made for one key holds for the keys after it.
    for (const QString& key : keys) {
        const qsizetype slash = key.lastIndexOf(u'/');
        const QString name = key.mid(slash + 1);
        const QString group = slash < 0 ? QString() : WriteGroup(key.left(slash));
        const QStringList names = inGroup(*m_settings, group, [&] { return m_settings->childKeys(); });
        const auto stored = std::find_if(names.begin(), names.end(), [&name](const QString& n) {
            return n.compare(name, Qt::CaseInsensitive) == 0;
        });
        const QString target = joined(group, stored == names.end() ? name : *stored);
        if (target == key)
            continue;
        if (!m_settings->contains(target))
            m_settings->setValue(target, m_settings->value(key));
        m_settings->remove(key);
    }
}

bool TQtSettingsStore::KeyExists(const QString& key) const
{
    return !FindGroups(key).isEmpty();
}

bool TQtSettingsStore::ValueExists(const QString& key, const QString& name) const
{
    const QStringList groups = FindGroups(key);
    return std::any_of(groups.begin(), groups.end(),
                       [&](const QString& group) { return !FindValues(group, name).isEmpty(); });
}

QString TQtSettingsStore::ReadString(const QString& key, const QString& name, bool* ok) const
{
    if (ok)
        *ok = false;
    QString path;
    for (const QString& group : FindGroups(key)) {
        const QStringList values = FindValues(group, name);
        if (!values.isEmpty()) {
            path = joined(group, values.first());
            break;
        }
    }
    if (path.isEmpty())
        return {};
    // The INI form reads an unquoted value with commas as a list, and the
    // "@Rect(...)", "@Variant(...)" forms as values of other types: a list
    // written by hand reads as the text it shows, and a value that is no
    // text reads as missing.
    const QVariant stored = m_settings->value(path);
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
    const QString group = WriteGroup(key);
    const QStringList names = FindValues(group, name);
    const QString target = joined(group, names.isEmpty() ? name : names.first());
    // Any other spelling of the value would shadow or be shadowed by this one.
    for (const QString& other : FindGroups(key)) {
        for (const QString& stored : FindValues(other, name)) {
            if (joined(other, stored) != target)
                m_settings->remove(joined(other, stored));
        }
    }
    m_settings->setValue(target, value);
}

void TQtSettingsStore::DeleteValue(const QString& key, const QString& name)
{
    for (const QString& group : FindGroups(key)) {
        for (const QString& stored : FindValues(group, name))
            m_settings->remove(joined(group, stored));
    }
}

void TQtSettingsStore::DeleteKey(const QString& key)
{
    for (const QString& group : FindGroups(key))
        m_settings->remove(group);
}

QStringList TQtSettingsStore::ValueNames(const QString& key) const
{
    QStringList names;
    QSet<QString> seen;
    for (const QString& group : FindGroups(key)) {
        for (const QString& name : inGroup(*m_settings, group, [&] { return m_settings->childKeys(); })) {
            if (!seen.contains(name.toLower())) {
                seen.insert(name.toLower());
                names.append(name);
            }
        }
    }
    return names;
}

bool TQtSettingsStore::Flush()
{
    // A file that read with format errors lost only its unreadable lines
    // and is written back whole; only a failed write is a failure here.
    m_settings->sync();
    return m_settings->status() != QSettings::AccessError && m_settings->isWritable();
}
