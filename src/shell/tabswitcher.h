#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

class QKeyEvent;
class TDocumentTabBar;
class TCustomMemoSource;

// Switching document tabs from the keyboard, anywhere in the window:
// Ctrl+Tab / Ctrl+Shift+Tab go through the documents in the order they were
// last used (pressed again while Ctrl is held they go further back, and the
// document reached counts as used once Ctrl comes up), Ctrl+PgDn / Ctrl+PgUp
// go to the next / previous tab in the row, both round the ends.
//
// A key the editor's key mapping binds stays the editor's while the editor
// has the focus (the "Default" mapping moves to the window's top and bottom
// row with Ctrl+PgUp and Ctrl+PgDn), and so does every key while a key
// sequence of the editor is pending.
class TTabSwitcher : public QObject {
    Q_OBJECT

public:
    TTabSwitcher(TDocumentTabBar& tabs, QWidget& window);

    // The documents from the most recently used on, as the tabs hold them.
    std::vector<TCustomMemoSource*> RecentOrder() const;
    bool Cycling() const { return m_cycling; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the key does here: 0 nothing, else the step through the recent
    // order (+1 / -1) or, with neighbour, through the tab row.
    int Step(const QKeyEvent& key, bool& neighbour) const;
    bool EditorTakes(const QKeyEvent& key) const;
    void Cycle(int step);
    void Neighbour(int step);
    // Ctrl came up: the document reached is the most recently used.
    void EndCycle();
    void Used(int index);

    TDocumentTabBar& m_tabs;
    QWidget& m_window;
    // Most recent first; documents closed since are dropped when read.
    std::vector<QPointer<TCustomMemoSource>> m_recent;
    bool m_cycling = false;
    // The order a cycle goes through, and where in it the cycle stands.
    std::vector<TCustomMemoSource*> m_cycleOrder;
    int m_cyclePos = 0;
};
