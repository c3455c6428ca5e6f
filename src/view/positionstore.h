#pragma once

#include "position.h"

#include <QPointer>

#include <vector>

class TCustomMemoSource;

// Where the view stood in one text store when it last left it.
struct TStoredPosition {
    QPointer<TCustomMemoSource> source;
    const void* key = nullptr; // the store's address, the sort key
    int topLine = 0;
    int leftColumn = 0;
    TTextPos caret;
    int topRow = 0; // which row of a wrapped top line was at the top
};

using TPositionList = std::vector<TStoredPosition>;

// The positions an editor control remembers per text store, one item per
// store it has shown, sorted by store. A store that is destroyed loses its
// item; a new store at the same address never finds the old one, since the
// item's guard went null with the old store.
class TMemoPostionStore {
public:
    // Updates the store's item or adds one.
    void Save(TCustomMemoSource* source, int topLine, int leftColumn, TTextPos caret, int topRow = 0);
    // The item of source; null when there is none.
    const TStoredPosition* Find(const TCustomMemoSource* source);
    void Remove(const TCustomMemoSource* source);
    int Count();

private:
    void DropDead();
    TPositionList::iterator LowerBound(const void* key);

    TPositionList m_items;
};
