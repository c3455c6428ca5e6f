#pragma once

#include <QString>
#include <QStringList>

// The program's settings store (the "registry"): values grouped under key
// paths such as "Software\TARNEL\RecentItems\MRUList". Key paths use
// backslashes and are compared without regard to case.
class TSettingsStore {
public:
    virtual ~TSettingsStore() = default;

    virtual bool KeyExists(const QString& key) const = 0;
    virtual bool ValueExists(const QString& key, const QString& name) const = 0;
    // The value, or nothing (ok false) when it is missing or is not text.
    virtual QString ReadString(const QString& key, const QString& name, bool* ok = nullptr) const = 0;
    virtual void WriteString(const QString& key, const QString& name, const QString& value) = 0;
    virtual void DeleteValue(const QString& key, const QString& name) = 0;
    virtual void DeleteKey(const QString& key) = 0;
    virtual QStringList ValueNames(const QString& key) const = 0;
    // Writes pending values out; true when they reached the store.
    virtual bool Flush() { return true; }

    QString ReadString(const QString& key, const QString& name, const QString& fallback) const;
    // A missing or malformed value gives the fallback.
    int ReadInteger(const QString& key, const QString& name, int fallback) const;
    void WriteInteger(const QString& key, const QString& name, int value);
    bool ReadBool(const QString& key, const QString& name, bool fallback) const;
    void WriteBool(const QString& key, const QString& name, bool value);
};
