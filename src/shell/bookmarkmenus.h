#pragma once

#include <QList>

class QAction;
class QMenu;

// The state of the "Bookmark" tool bar's two drop-down menus: the add menu's
// check marks and the go menu's enabled flags. It belongs to the window, not
// to a document: switching or closing documents leaves it alone, and so do
// bookmarks the editor's own keys set or move. Only an add item flips it.
//
// Items are tagged 1 to 10 for "Book Mark 0" to "Book Mark 9"; the text
// store numbers the bookmark behind "Book Mark 0" 10.
class TBookmarkMenus {
public:
    // The items of both menus, in the order "Book Mark 0" to "Book Mark 9".
    TBookmarkMenus(QList<QAction*> addItems, QList<QAction*> goItems);

    // The text store's bookmark number of an item's tag (0 for a tag
    // outside 1 to 10).
    static int BookmarkOfTag(int tag);
    // The number a user sees ("Book Mark n", the go-to dialog) as the text
    // store's bookmark number.
    static int BookmarkOfDigit(int digit);

    // After the add item of a tag toggled its bookmark: the go item at the
    // same place flips its enabled flag and the add item's check mark
    // follows it. (A bookmark moved to another line therefore ends
    // unchecked, though it is set.)
    void Added(int tag);
    // As the go menu opens: a go item is enabled exactly when its add item
    // is checked.
    void SyncGoItems();

private:
    QList<QAction*> m_addItems;
    QList<QAction*> m_goItems;
};
