#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>

// The tool-bar part of the state that QMainWindow::saveState writes and
// restoreState reads. Qt offers no other way to put a bar back at a pixel
// position in its row, or floating at a place on the screen, so the stored
// places of the main window's bars go through this form. It is the form Qt
// has written since 4.4 and keeps reading (old saved states must survive an
// upgrade); a test compares what this codec reads and writes with what Qt
// itself saves, so a change of form fails there first. Callers fall back to
// the public calls when Decode refuses a state.
namespace ToolBarState {

// The dock areas in the order the state numbers them.
enum TArea { taLeft = 0, taRight = 1, taTop = 2, taBottom = 3 };
constexpr int kAreaCount = 4;

struct TItem {
    QString name; // the bar's object name
    bool shown = true;
    bool vertical = false; // a floating bar's orientation
    int pos = 0; // offset from the row's start
    // The length along the row the bar asks for; -1 for its size hint. A
    // bar dragged away from its left neighbour widens that neighbour: the
    // gap is the neighbour's preferred length.
    int preferredSize = -1;
    bool floating = false;
    QRect rect; // a floating bar's window, in screen coordinates
};

// One row of one dock area; floating bars stay in the row they left (they
// take no room in it).
struct TLine {
    TArea area = taTop;
    QList<TItem> items;
};

// The rows of a saved main-window state, in the state's order: by area
// (left, right, top, bottom), in each from the window's edge inward. False
// for a state in another form, or one holding dock widgets.
bool Decode(const QByteArray& state, QList<TLine>& lines);

// A state holding only these rows, for QMainWindow::restoreState(state,
// version). Floating rectangles are kept within the range the form can
// hold (about +-32,000 pixels).
QByteArray Encode(const QList<TLine>& lines, int version = 0);

} // namespace ToolBarState
