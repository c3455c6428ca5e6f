#include "bookmarkmenus.h"

#include <QAction>

TBookmarkMenus::TBookmarkMenus(QList<QAction*> addItems, QList<QAction*> goItems)
    : m_addItems(std::move(addItems)), m_goItems(std::move(goItems))
{
    // Nothing is marked yet, so nothing can be gone to.
    for (QAction* item : std::as_const(m_goItems))
        item->setEnabled(false);
}

int TBookmarkMenus::BookmarkOfTag(int tag)
{
    if (tag < 1 || tag > 10)
        return 0;
    return tag == 1 ? 10 : tag - 1;
}

int TBookmarkMenus::BookmarkOfDigit(int digit)
{
    return digit == 0 ? 10 : digit;
}

void TBookmarkMenus::Added(int tag)
{
    const int bookmark = BookmarkOfTag(tag);
    if (bookmark == 0)
        return;
    const int position = bookmark == 10 ? 0 : bookmark;
    if (position >= m_goItems.size() || position >= m_addItems.size())
        return;
    QAction* go = m_goItems[position];
    go->setEnabled(!go->isEnabled());
    m_addItems[position]->setChecked(go->isEnabled());
}

void TBookmarkMenus::SyncGoItems()
{
    for (qsizetype i = 0; i < m_goItems.size() && i < m_addItems.size(); ++i)
        m_goItems[i]->setEnabled(m_addItems[i]->isChecked());
}
