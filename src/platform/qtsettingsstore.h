#pragma once

#include "settingsstore.h"

#include <QSettings>

#include <memory>

// The settings store on top of QSettings: the registry of the current user on
// Windows, an INI file elsewhere. It keeps the registry's meaning on every
// system: key paths ("Software\TARNEL\RecentItems") and value names match
// without regard to case, every value is found whatever spelling wrote it,
// and a key has one spelling, the one it was first written with.
//
// An INI file is case-sensitive, and files written by earlier versions hold
// one key in two spellings ("TARNEL\RecentItems" beside "tarnel\Tarnel\...").
// Opening such a file merges the spellings: at every level of a key path the
// spelling that holds the most values beneath it takes in the others (on a
// tie, the one that sorts last, lower case before upper case), and a value
// present under both keeps the winner's. Nothing is dropped but duplicates.
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
    // Every stored spelling of a key path ('/'-separated), the preferred
    // first; empty when there is none.
    QStringList FindGroups(const QString& key) const;
    // The stored spellings of a value name in one group, the one spelled as
    // asked first.
    QStringList FindValues(const QString& group, const QString& name) const;
    // The spelling a write of key goes to: the preferred stored one, level by
    // level, and key's own below what is stored.
    QString WriteGroup(const QString& key) const;
    // The children of group matching part, the preferred first.
    QStringList MatchingChildren(const QString& group, const QString& part) const;
    // Folds the spellings of an INI file into one (see above).
    void MergeSpellings();
    static QString ToGroup(const QString& key);

    std::unique_ptr<QSettings> m_settings;
};
