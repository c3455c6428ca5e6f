#include "settingsstore.h"

QString TSettingsStore::ReadString(const QString& key, const QString& name, const QString& fallback) const
{
    bool ok = false;
    QString value = ReadString(key, name, &ok);
    return ok ? value : fallback;
}

int TSettingsStore::ReadInteger(const QString& key, const QString& name, int fallback) const
{
    bool ok = false;
    QString text = ReadString(key, name, &ok);
    if (!ok)
        return fallback;
    int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

void TSettingsStore::WriteInteger(const QString& key, const QString& name, int value)
{
    WriteString(key, name, QString::number(value));
}

bool TSettingsStore::ReadBool(const QString& key, const QString& name, bool fallback) const
{
    bool ok = false;
    QString text = ReadString(key, name, &ok).trimmed();
    if (!ok)
        return fallback;
    if (text == QLatin1String("1") || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text == QLatin1String("0") || text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return fallback;
}

void TSettingsStore::WriteBool(const QString& key, const QString& name, bool value)
{
    WriteString(key, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}
