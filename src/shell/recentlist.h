#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class TSettingsStore;

// The recent-files list: at most eight entries at the end of a submenu, each
// captioned with the file name and remembering the full path, the newest on
// top; "(none)" while it is empty.
class TRecentList : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxEntries = 8;

    struct Entry {
        QString path;
        QString caption;
    };

    explicit TRecentList(QMenu* menu, QObject* parent = nullptr);

    // Puts path on top (moving it when it is there already); ignored when the
    // path is empty or names no existing file.
    void Add(const QString& path);
    const std::vector<Entry>& Entries() const { return m_entries; }

    // The list's place in the settings store.
    static QString Key();
    void Load(const TSettingsStore& store);
    void Save(TSettingsStore& store) const;

    // Called with the path of a clicked entry whose file exists.
    std::function<void(const QString& path)> OnOpen;
    // Called after Add changed the list (not while Load fills it), so that
    // the list can be stored at once: a run that never ends cleanly still
    // keeps it.
    std::function<void()> OnChange;

private:
    void Rebuild();
    void Clicked(int index);

    QMenu* m_menu;
    std::vector<Entry> m_entries;
    std::vector<QAction*> m_actions;
    QAction* m_none = nullptr;
    QAction* m_separator = nullptr;
    bool m_loading = false;
};
