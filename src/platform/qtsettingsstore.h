#pragma once

#include "settingsstore.h"

#include <QSettings>

#include <memory>

// The settings store on top of QSettings: the registry of the current user on
// Windows, an INI file elsewhere. Key paths ("Software\TARNEL\RecentItems")
// and value names are matched without regard to case, as the registry does.
class TQtSettingsStore : public TSettingsStore {
public:
    // The user's own store.
    TQtSettingsStore();
    // An INI file at path (tests point this at a temporary folder).
    explicit TQtSettingsStore(const QString& iniPath);
    ~TQtSettingsStore() override;

    bool KeyExists(const QString& key) const override;
    bool ValueExists(const QString& key, const QString& name) const override;
    QString ReadString(const QString& key, const QString& name, bool* ok = nullptr) const override;
    void WriteString(const QString& key, const QString& name, const QString& value) override;
    void DeleteValue(const QString& key, const QString& name) override;
    void DeleteKey(const QString& key) override;
    QStringList ValueNames(const QString& key) const override;
    bool Flush() override;
    using TSettingsStore::ReadString;

    QString FileName() const { return m_settings->fileName(); }

private:
    // The stored spelling of a key path ('/'-separated), matched without
    // regard to case; empty when there is none.
    QString FindGroup(const QString& key) const;
    QString FindValue(const QString& group, const QString& name) const;
    static QString ToGroup(const QString& key);

    std::unique_ptr<QSettings> m_settings;
};
