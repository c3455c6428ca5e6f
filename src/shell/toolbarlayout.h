#pragma once

#include "formstorage.h"

class QMainWindow;
class QToolBar;

// The stored places of a main window's movable tool bars. Each bar keeps
// six values, named "<bar>.<property>":
//   Visible   "True" or "False"
//   DockedTo  the dock the bar sits in: "TopDock", "BottomDock", "LeftDock"
//             or "RightDock"; empty while the bar floats
//   DockRow   its row in that dock, 0 nearest the window's edge; a row that
//             holds only fixed bars (the button bar) is not counted
//   DockPos   pixels from the start of the row to the bar
//   Left, Top the bar's corner: in the window while docked, on the screen
//             while floating (where it floats again after a restart)
// A floating bar is one whose DockedTo is empty; its DockRow and DockPos
// are written as Qt keeps them but not used when it is restored.
// Bars not named here (fixed ones, and movable ones left out) keep their
// design places, and the stored bars are fitted in around them.
class TToolBarLayout : public TStoredProperties {
public:
    // bars: the object names of the bars whose places are kept.
    TToolBarLayout(QMainWindow& window, const QStringList& bars);

    // The dock names of DockedTo.
    static QString DockName(Qt::ToolBarArea area);

    QStringList StoredNames() const override;
    QList<QPair<QString, QString>> StoredValues() const override;
    QStringList RestoreValues(const QHash<QString, QString>& values) override;

private:
    QToolBar* Bar(const QString& name) const;
    // Without a readable saved state only visibility and dock follow the
    // stored values.
    void RestoreByArea(const QHash<QString, QString>& values, QStringList& refused);

    QMainWindow& m_window;
    QStringList m_bars;
};
