// The tool bars' stored places, read from and put back through the main
// window's saved state (toolbarstate.h), the only road Qt gives to a pixel
// position in a row and to a floating place.
//
// Restoring starts from the design layout and moves only what the stored
// values say: each value that is missing or refused leaves that part of the
// design place alone. Rows are renumbered in order (rows 0 and 7 become the
// first and second row), so no stored number can make empty rows.

#include "toolbarlayout.h"

#include "toolbarstate.h"

#include <QMainWindow>
#include <QToolBar>

#include <algorithm>
#include <map>
#include <optional>

using namespace ToolBarState;

namespace {

const char* const kProperties[] = {"Visible", "DockedTo", "DockRow", "DockPos", "Left", "Top"};

// A row number beyond any screen's worth of rows is not a place.
constexpr int kMaxRow = 255;

struct TAreaName {
    Qt::ToolBarArea area;
    TArea stateArea;
    const char* name;
};

constexpr TAreaName kAreas[] = {
    {Qt::LeftToolBarArea, taLeft, "LeftDock"},
    {Qt::RightToolBarArea, taRight, "RightDock"},
    {Qt::TopToolBarArea, taTop, "TopDock"},
    {Qt::BottomToolBarArea, taBottom, "BottomDock"},
};

// What the stored values of one bar say; each part absent when missing or
// refused.
struct TStoredPlace {
    std::optional<bool> visible;
    std::optional<bool> floating;
    std::optional<TArea> area;
    std::optional<int> row;
    std::optional<int> pos;
    std::optional<int> left;
    std::optional<int> top;
};

TStoredPlace parsePlace(const QString& bar, const QHash<QString, QString>& values, QStringList& refused)
{
    TStoredPlace place;
    auto value = [&](const char* property) -> std::optional<QString> {
        auto it = values.constFind(bar + u'.' + QLatin1String(property));
        if (it == values.constEnd())
            return std::nullopt;
        return *it;
    };
    auto refuse = [&](const char* property) { refused.append(bar + u'.' + QLatin1String(property)); };
    auto number = [&](const char* property, int min, int max) -> std::optional<int> {
        std::optional<QString> text = value(property);
        if (!text)
            return std::nullopt;
        std::optional<int> parsed = TFormStorage::ParseInt(*text, min, max);
        if (!parsed)
            refuse(property);
        return parsed;
    };

    if (std::optional<QString> text = value("Visible")) {
        place.visible = TFormStorage::ParseBool(*text);
        if (!place.visible)
            refuse("Visible");
    }
    if (std::optional<QString> text = value("DockedTo")) {
        const QString dock = text->trimmed();
        if (dock.isEmpty())
            place.floating = true;
        for (const TAreaName& area : kAreas) {
            if (dock.compare(QLatin1String(area.name), Qt::CaseInsensitive) == 0) {
                place.floating = false;
                place.area = area.stateArea;
            }
        }
        if (!place.floating)
            refuse("DockedTo");
    }
    place.row = number("DockRow", 0, kMaxRow);
    place.pos = number("DockPos", 0, TFormStorage::kMaxCoordinate);
    place.left = number("Left", -TFormStorage::kMaxCoordinate, TFormStorage::kMaxCoordinate);
    place.top = number("Top", -TFormStorage::kMaxCoordinate, TFormStorage::kMaxCoordinate);
    return place;
}

// A bar's place while the layout is rebuilt.
struct TPlace {
    TItem item;
    TArea area = taTop;
    int row = 0; // among the counted rows of its area
    int order = 0; // design order, to keep ties stable
    // A bar whose place is kept; the others keep the design's row and come
    // after the kept ones in it (before the first show the design has no
    // positions to go by).
    bool kept = false;
};

} // namespace

TToolBarLayout::TToolBarLayout(QMainWindow& window, const QStringList& bars) : m_window(window), m_bars(bars) {}

QString TToolBarLayout::DockName(Qt::ToolBarArea area)
{
    for (const TAreaName& entry : kAreas) {
        if (entry.area == area)
            return QLatin1String(entry.name);
    }
    return {};
}

QToolBar* TToolBarLayout::Bar(const QString& name) const
{
    return m_window.findChild<QToolBar*>(name, Qt::FindDirectChildrenOnly);
}

QStringList TToolBarLayout::StoredNames() const
{
    QStringList names;
    for (const QString& bar : m_bars) {
        for (const char* property : kProperties)
            names.append(bar + u'.' + QLatin1String(property));
    }
    return names;
}

QList<QPair<QString, QString>> TToolBarLayout::StoredValues() const
{
    // Rows are counted as restoring numbers them: a row counts when a
    // movable bar is docked in it.
    QList<TLine> lines;
    const bool decoded = Decode(m_window.saveState(), lines);
    QHash<QString, QPair<int, int>> rowAndPos;
    int rows[kAreaCount] = {};
    for (const TLine& line : std::as_const(lines)) {
        bool counted = false;
        for (const TItem& item : line.items) {
            const QToolBar* bar = Bar(item.name);
            counted = counted || (!item.floating && bar && bar->isMovable());
        }
        for (const TItem& item : line.items)
            rowAndPos.insert(item.name, {rows[line.area], item.pos});
        if (counted)
            ++rows[line.area];
    }

    QList<QPair<QString, QString>> values;
    for (const QString& name : m_bars) {
        const QToolBar* bar = Bar(name);
        if (!bar)
            continue;
        QPair<int, int> place = rowAndPos.value(name, {0, 0});
        if (!decoded) {
            const bool horizontal = bar->orientation() == Qt::Horizontal;
            place = {0, horizontal ? bar->x() : bar->y()};
        }
        auto add = [&](const char* property, const QString& value) {
            values.append({name + u'.' + QLatin1String(property), value});
        };
        add("Visible", TFormStorage::BoolText(!bar->isHidden()));
        add("DockedTo", bar->isFloating() ? QString() : DockName(m_window.toolBarArea(bar)));
        add("DockRow", QString::number(place.first));
        add("DockPos", QString::number(place.second));
        add("Left", QString::number(bar->geometry().x()));
        add("Top", QString::number(bar->geometry().y()));
    }
    return values;
}

QStringList TToolBarLayout::RestoreValues(const QHash<QString, QString>& values)
{
    QStringList refused;
    QList<TLine> design;
    if (!Decode(m_window.saveState(), design)) {
        RestoreByArea(values, refused);
        return refused;
    }

    // The design places: counted rows (a movable bar docked in them) and the
    // other lines, which stay first in their area (the button bar's row).
    std::vector<TPlace> places;
    QList<TLine> fixedLines;
    int rows[kAreaCount] = {};
    for (const TLine& line : std::as_const(design)) {
        bool counted = false;
        TLine fixed{line.area, {}};
        for (const TItem& item : line.items) {
            const QToolBar* bar = Bar(item.name);
            const bool movable = bar && bar->isMovable();
            counted = counted || (!item.floating && movable);
            if (movable)
                places.push_back({item, line.area, rows[line.area], int(places.size()), m_bars.contains(item.name)});
            else
                fixed.items.append(item);
        }
        if (!fixed.items.isEmpty())
            fixedLines.append(fixed);
        if (counted)
            ++rows[line.area];
    }

    for (const QString& name : m_bars) {
        auto place = std::find_if(places.begin(), places.end(), [&](const TPlace& p) { return p.item.name == name; });
        QToolBar* bar = Bar(name);
        if (place == places.end() || !bar)
            continue;
        const TStoredPlace stored = parsePlace(name, values, refused);
        TItem& item = place->item;
        if (stored.visible)
            item.shown = *stored.visible;
        if (stored.floating)
            item.floating = *stored.floating;
        if (stored.area)
            place->area = *stored.area;
        if (stored.row)
            place->row = *stored.row;
        if (stored.pos)
            item.pos = *stored.pos;
        if (item.floating) {
            QPoint corner = item.rect.isValid() ? item.rect.topLeft() : bar->mapToGlobal(QPoint(0, 0));
            corner = QPoint(stored.left.value_or(corner.x()), stored.top.value_or(corner.y()));
            const QSize size = bar->orientation() == Qt::Horizontal ? bar->sizeHint() : bar->sizeHint().transposed();
            item.rect = TFormStorage::PlaceOnScreen(QRect(corner, size));
            item.vertical = false;
        }
    }

    // Rows in order, each bar by its position along the row; a position
    // beyond the end of the bar before it is kept as that bar's preferred
    // length, which is how Qt keeps a gap.
    QList<TLine> lines;
    TLine floating{taTop, {}};
    for (const TAreaName& area : kAreas) {
        for (const TLine& line : std::as_const(fixedLines)) {
            if (line.area == area.stateArea)
                lines.append(line);
        }
        std::map<int, std::vector<TPlace*>> byRow;
        for (TPlace& place : places) {
            if (place.item.floating) {
                if (area.stateArea == taTop)
                    floating.items.append(place.item);
            } else if (place.area == area.stateArea) {
                byRow[place.row].push_back(&place);
            }
        }
        for (auto& [row, members] : byRow) {
            std::stable_sort(members.begin(), members.end(), [](const TPlace* a, const TPlace* b) {
                if (a->kept != b->kept)
                    return a->kept;
                return a->kept && a->item.pos != b->item.pos ? a->item.pos < b->item.pos : a->order < b->order;
            });
            TLine line{area.stateArea, {}};
            qsizetype previous = -1; // the last shown bar of the row so far
            for (TPlace* place : members) {
                place->item.preferredSize = -1;
                if (previous >= 0 && place->kept && place->item.shown) {
                    TItem& before = line.items[previous];
                    // The bar's length along its own orientation is about
                    // its length along any row.
                    const QToolBar* bar = Bar(before.name);
                    const QSize hint = bar ? bar->sizeHint() : QSize();
                    const int length = bar && bar->orientation() == Qt::Vertical ? hint.height() : hint.width();
                    const int gap = place->item.pos - before.pos;
                    if (gap > length)
                        before.preferredSize = gap;
                }
                line.items.append(place->item);
                if (place->item.shown)
                    previous = line.items.size() - 1;
            }
            lines.append(line);
        }
    }
    if (!floating.items.isEmpty())
        lines.append(floating);

    if (!m_window.restoreState(Encode(lines)))
        RestoreByArea(values, refused);
    return refused;
}

void TToolBarLayout::RestoreByArea(const QHash<QString, QString>& values, QStringList& refused)
{
    for (const QString& name : m_bars) {
        QToolBar* bar = Bar(name);
        if (!bar)
            continue;
        const TStoredPlace stored = parsePlace(name, values, refused);
        if (stored.area && stored.floating == false) {
            for (const TAreaName& area : kAreas) {
                if (area.stateArea == *stored.area && (bar->allowedAreas() & area.area))
                    m_window.addToolBar(area.area, bar);
            }
        }
        if (stored.visible)
            bar->setVisible(*stored.visible);
    }
    refused.removeDuplicates();
}
