#pragma once

#include "keylist.h"
#include "viewtypes.h"

#include <QAbstractScrollArea>

// The keyboard-aware control base of the editor: a scrollable window that
// takes the focus by click and by tab and has a border. The key list that
// turns key presses into commands, and the key state of two-stroke
// sequences, belong here: every keyboard-driven control of the program shares
// them.
class TDCCustomControl : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TDCCustomControl(QWidget* parent = nullptr);

    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);

    // -- keys ----------------------------------------------------------------------------
    // The mapping that fills the key list, looked up among those registered
    // for the control's class; a name nobody registered gives the control's
    // built-in mapping. Setting a different name rebuilds the list.
    QString KeyMapping() const { return m_keyMapping; }
    void SetKeyMapping(const QString& name);
    // The bindings in effect (filled on first use).
    TKeyList& KeyList();
    // The pending prefix of a key sequence; 0 when none. Focus changes keep it.
    quint8 KeyState() const { return m_keyState; }
    void SetKeyState(quint8 state) { m_keyState = state; }
    // Looks a key stroke up in the current key state. When a binding takes
    // it, the state becomes the binding's next state, its command runs and
    // the answer is true; otherwise the pending prefix is dropped.
    bool ExecuteKey(quint16 key, TShiftState shift);

protected:
    // The bindings of a name nobody registered.
    virtual void FillBuiltInKeyMapping(TKeyList& list) {}
    // The object a binding's command runs on; null skips the command.
    virtual QObject* KeyCommandObject(TKeyTarget target) { return this; }

private:
    void FillKeyList();

    TBorderStyle m_borderStyle = bsSingle;
    QString m_keyMapping = QStringLiteral("Default");
    TKeyList m_keyList;
    bool m_keyListFilled = false;
    quint8 m_keyState = 0;
};
