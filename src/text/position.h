#pragma once

#include "collection.h"

#include <functional>

// A text position: a line index and a column in the tab-expanded line (a
// column equal to the line's length is just behind its last character).
struct TTextPos {
    int line = 0;
    int column = 0;

    auto operator<=>(const TTextPos&) const = default;
};

// A position the text store keeps up to date. Positions whose OnAllowUpdate
// is assigned are shifted by edits; the event may forbid either shift.
class TPosition : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(int Line READ Line WRITE SetLine)
    Q_PROPERTY(int Column READ Column WRITE SetColumn)

public:
    using AllowUpdateEvent = std::function<void(const TPosition& position, bool& allowColumn, bool& allowLine)>;

    explicit TPosition(TCollection* collection = nullptr) : TCollectionItem(collection) {}

    int Line() const { return m_pos.line; }
    void SetLine(int line) { m_pos.line = line < 0 ? 0 : line; }
    int Column() const { return m_pos.column; }
    void SetColumn(int column) { m_pos.column = column < 0 ? 0 : column; }
    TTextPos Pos() const { return m_pos; }
    void SetPos(TTextPos pos)
    {
        SetLine(pos.line);
        SetColumn(pos.column);
    }

    // Copies line and column only.
    void Assign(const TCollectionItem& source) override;

    AllowUpdateEvent OnAllowUpdate;

private:
    TTextPos m_pos;
};

using TPositions = TOwnedCollection<TPosition>;
