#include "recentlist.h"

#include "documentnames.h"
#include "services.h"
#include "settingsstore.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include <algorithm>

TRecentList::TRecentList(QMenu* menu, QObject* parent) : QObject(parent), m_menu(menu)
{
    Rebuild();
}

QString TRecentList::Key()
{
    return QStringLiteral("Software\\TARNEL\\RecentItems\\MRUList");
}

void TRecentList::Add(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.path == path; });
    if (it != m_entries.end())
        m_entries.erase(it);
    m_entries.insert(m_entries.begin(), Entry{path, DocumentNames::WithoutFolder(path)});
    if (int(m_entries.size()) > kMaxEntries)
        m_entries.resize(kMaxEntries);
    Rebuild();
    if (OnChange && !m_loading)
        OnChange();
}

void TRecentList::Rebuild()
{
    for (QAction* action : m_actions) {
        m_menu->removeAction(action);
        action->deleteLater();
    }
    m_actions.clear();
    if (m_entries.empty()) {
        if (m_separator) {
            m_menu->removeAction(m_separator);
            m_separator->deleteLater();
            m_separator = nullptr;
        }
        if (!m_none) {
            m_none = m_menu->addAction(QStringLiteral("(none)"));
            m_none->setEnabled(false);
        }
        return;
    }
    if (m_none) {
        m_menu->removeAction(m_none);
        m_none->deleteLater();
        m_none = nullptr;
    }
    // Other items of the submenu stay apart from the entries.
    if (!m_separator && !m_menu->actions().isEmpty())
        m_separator = m_menu->addSeparator();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        QAction* action = m_menu->addAction(m_entries[i].caption);
        action->setData(m_entries[i].path);
        action->setStatusTip(m_entries[i].path);
        connect(action, &QAction::triggered, this, [this, i] { Clicked(int(i)); });
        m_actions.push_back(action);
    }
}

void TRecentList::Clicked(int index)
{
    if (index < 0 || index >= int(m_entries.size()))
        return;
    const QString path = m_entries[size_t(index)].path;
    if (!QFileInfo(path).isFile()) {
        Services().ShowMessage(QStringLiteral("File does not exist"));
        return;
    }
    if (OnOpen)
        OnOpen(path);
}

void TRecentList::Load(const TSettingsStore& store)
{
    std::vector<Entry> stored;
    for (int n = 0;; ++n) {
        bool okFile = false;
        bool okName = false;
        const QString path = store.ReadString(Key(), QStringLiteral("File%1").arg(n), &okFile);
        store.ReadString(Key(), QStringLiteral("Name%1").arg(n), &okName);
        if (!okFile || !okName)
            break;
        stored.push_back({path, {}});
    }
    // From the last to the first, so that entry 0 ends on top.
    m_loading = true;
    for (auto it = stored.rbegin(); it != stored.rend(); ++it)
        Add(it->path);
    m_loading = false;
}

void TRecentList::Save(TSettingsStore& store) const
{
    if (m_entries.empty())
        return;
    for (size_t n = 0; n < m_entries.size(); ++n) {
        store.WriteString(Key(), QStringLiteral("File%1").arg(n), m_entries[n].path);
        store.WriteString(Key(), QStringLiteral("Name%1").arg(n), m_entries[n].caption);
    }
    for (int n = int(m_entries.size()); store.ValueExists(Key(), QStringLiteral("File%1").arg(n)); ++n) {
        store.DeleteValue(Key(), QStringLiteral("File%1").arg(n));
        store.DeleteValue(Key(), QStringLiteral("Name%1").arg(n));
    }
}
