#pragma once

#include "memotypes.h"

#include <QByteArray>
#include <QLabel>
#include <QListWidget>

#include <functional>
#include <vector>

// The two windows an editor control pops up at its caret: the one-line hint
// and the list to choose a completion from. Both are tool-tip windows: they
// never take the activation or the keyboard focus, so the editor goes on
// receiving the keys typed while they are shown, and the control hands them
// the keys that move in the list.

// A one-line hint shown at once where it is asked for. With AutoHide the
// control hides it at the next key press or click.
class TPopupHint : public QLabel {
public:
    explicit TPopupHint(QWidget* owner);

    bool AutoHide() const { return m_autoHide; }
    void SetAutoHide(bool autoHide) { m_autoHide = autoHide; }
    // Shows text with its top left at pos (screen coordinates), moved left
    // or up as far as it takes to stay on the screen.
    void ActivateHint(QPoint pos, const QString& text);

private:
    bool m_autoHide = true;
};

// The completion list. Its items are Windows-1252 byte strings, kept as
// given so that the one chosen goes into the text byte for byte.
class TPopupListBox : public QListWidget {
public:
    explicit TPopupListBox(QWidget* owner);

    // Fills the list and shows it under caretRow (a row of text in screen
    // coordinates): left-aligned with the row's left edge, or above the row
    // when there is no room below it on the screen, and moved left when it
    // would pass the screen's right edge.
    // The items are text as the document holds it, shown in its encoding.
    void Popup(const std::vector<QByteArray>& items, const QRect& caretRow,
               TTextEncoding encoding = MemoTypes::teWindows1252);
    const std::vector<QByteArray>& Items() const { return m_items; }
    // Selects the first item that begins with word, without regard to case
    // (every item begins with an empty word); none when no item does.
    // Returns the index selected, -1 for none.
    int SelectPrefix(const QByteArray& word);
    // Selects index (-1: none) and scrolls it into view.
    void SelectIndex(int index);
    int Selected() const;
    // Moves the selection by delta items (a page is the rows shown), from
    // the first item when none is selected; it stops at either end.
    void MoveSelection(int delta);
    int PageRows() const;

    // A double click on an item.
    std::function<void(int index)> OnChoose;

private:
    std::vector<QByteArray> m_items;
};
