#pragma once

#include "keylist.h"
#include "memotypes.h"
#include "position.h"
#include "stringlist.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

class TCustomDCMemo;
class TPopupHint;
class TPopupListBox;

// The hints and popups of an editor control: the hint timer, the one-line
// hint and the completion list at the caret, and putting the item chosen
// into the text. What to offer comes from the control's OnHintPopup.
//
// A character typed while the list is closed remembers the caret (after the
// character) and restarts the timer. When the timer runs out with the caret
// still there, OnHintPopup is asked. While the list is open the word typed
// since the remembered place selects its item, and the keys that move in
// the list are its own (ListKey). Choosing an item replaces the word by it
// in one text-store operation, one undo step.
class TMemoHints : public QObject {
public:
    static constexpr int kDefaultDelay = 500;

    explicit TMemoHints(TCustomDCMemo& memo);
    ~TMemoHints() override;

    int Delay() const { return m_timer.interval(); }
    void SetDelay(int ms) { m_timer.setInterval(ms); }
    bool TimerActive() const { return m_timer.isActive(); }
    // Runs out the timer now, as if the delay had passed (nothing when it
    // is not running): tests step through the delay with it.
    void ExpireTimer();
    TTextPos Remembered() const { return m_remembered; }

    bool ListShowing() const;
    bool HintShowing() const;
    TPopupListBox& ListBox() const { return *m_list; }
    TPopupHint& HintWindow() const { return *m_hint; }

    // -- what the control reports ---------------------------------------------------
    // A key press or mouse click, before the control acts on it: stops the
    // timer and hides an auto-hiding hint.
    void KeyOrClick();
    // Before a character goes into the text: "." closes the list first
    // (choosing nothing).
    void BeforeChar(uchar ch);
    // After a character went into the text: one above a blank arms the
    // timer (when there is a handler and the list is closed).
    void CharTyped(uchar ch);
    // A key while the list is open: Up, Down, Page Up and Page Down move in
    // it, Enter and Tab choose the selected item, Escape closes it. True
    // when the list took the key.
    bool ListKey(quint16 key, TShiftState shift);
    // After the control handled a key or a click while the list is open:
    // the typed word selects its item, or the list closes when the caret
    // left the word.
    void Follow();
    // Closes the list and hides the hint (focus lost, another text store,
    // the window moved).
    void CloseAll();
    // Closes the list without choosing ("." does that too: what was typed
    // stays as typed).
    void CloseList();
    // Puts item index of the list into the text (see the class comment) and
    // closes the list.
    void Choose(int index);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Expired();
    void ShowList();
    void ShowHint(const QByteArray& text);
    // The encoding the shown document reads its bytes in.
    TTextEncoding Encoding() const;
    // The text of the caret line from the remembered column to the caret,
    // or false when the caret is not on the remembered line at or right of
    // the remembered column.
    bool TypedWord(QByteArray& word) const;
    // The caret's row on the screen.
    QRect CaretRowOnScreen() const;
    void WatchWindow(bool watch);

    TCustomDCMemo& m_memo;
    // Timer 2 of the control: the hint delay.
    QTimer m_timer;
    TTextPos m_remembered{-1, -1};
    TStringList m_items;
    TPopupHint* m_hint = nullptr;
    TPopupListBox* m_list = nullptr;
    // The window whose moves close the list while it is open.
    QPointer<QWidget> m_watched;
};
