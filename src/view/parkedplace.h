#pragma once

#include "position.h"

#include <QPointer>

class TCustomMemoSource;

// Where an editor control stands in a text store it shares with another
// control while that one has the store's caret.
//
// A store has one caret and one selection, and every editing operation
// works at them; the control with the focus drives them. When another
// control of the same store takes them over, this one parks its caret, its
// selection and its top line here as positions of the store, so that the
// edits made through the other control shift them as they shift the
// store's own (typing above the parked caret moves it down with its text).
// Taking the store back puts the caret and the selection back.
class TParkedPlace {
public:
    TParkedPlace() = default;
    ~TParkedPlace();
    TParkedPlace(const TParkedPlace&) = delete;
    TParkedPlace& operator=(const TParkedPlace&) = delete;

    bool Parked() const { return m_caret != nullptr; }
    // Parks the store's caret and selection as they are now, with the
    // control's top line.
    void Park(TCustomMemoSource& source, int topLine);
    // Parks a caret without a selection (a control that comes to a store
    // whose caret another control holds).
    void Park(TCustomMemoSource& source, TTextPos caret, int topLine);
    // The caret and the selection go back into the store; nothing is parked
    // afterwards. Lines that went meanwhile pull the places onto the last
    // line.
    void Restore();
    // Drops what is parked without touching the store's caret.
    void Drop();

    TTextPos Caret() const;
    int TopLine() const;
    // The control scrolled while parked.
    void SetTopLine(int line);

private:
    void Release();

    QPointer<TCustomMemoSource> m_source;
    TPosition* m_caret = nullptr;
    TPosition* m_begin = nullptr;
    TPosition* m_end = nullptr;
    TPosition* m_top = nullptr;
    int m_mode = 0;
};
