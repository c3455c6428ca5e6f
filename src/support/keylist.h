#pragma once

#include <QStringList>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

struct QMetaObject;
class QObject;

// Key codes in key lists are 16-bit virtual-key codes: letters and digits
// are their upper-case ASCII codes ('A', '0'), the other keys these.
namespace Vk {
constexpr quint16 Back = 8;
constexpr quint16 Tab = 9;
constexpr quint16 Return = 13;
constexpr quint16 Shift = 16;
constexpr quint16 Control = 17;
constexpr quint16 Menu = 18; // Alt
constexpr quint16 Pause = 19;
constexpr quint16 Capital = 20;
constexpr quint16 Escape = 27;
constexpr quint16 Space = 32;
constexpr quint16 Prior = 33; // Page Up
constexpr quint16 Next = 34;  // Page Down
constexpr quint16 End = 35;
constexpr quint16 Home = 36;
constexpr quint16 Left = 37;
constexpr quint16 Up = 38;
constexpr quint16 Right = 39;
constexpr quint16 Down = 40;
constexpr quint16 Snapshot = 44;
constexpr quint16 Insert = 45;
constexpr quint16 Delete = 46;
constexpr quint16 LWin = 91;
constexpr quint16 Apps = 93;
constexpr quint16 Numpad0 = 96; // to Numpad9 = 105
constexpr quint16 Multiply = 106;
constexpr quint16 Add = 107;
constexpr quint16 Subtract = 109;
constexpr quint16 Decimal = 110;
constexpr quint16 Divide = 111;
constexpr quint16 F1 = 112; // to F24 = 135
constexpr quint16 F2 = 113;
constexpr quint16 F3 = 114;
constexpr quint16 F4 = 115;
constexpr quint16 F5 = 116;
constexpr quint16 F6 = 117;
constexpr quint16 F7 = 118;
constexpr quint16 F8 = 119;
constexpr quint16 F9 = 120;
constexpr quint16 F10 = 121;
constexpr quint16 F11 = 122;
constexpr quint16 F12 = 123;
constexpr quint16 NumLock = 144;
constexpr quint16 Scroll = 145;
// The punctuation keys, named by what they type on a US layout.
constexpr quint16 Oem1 = 186;      // ";" ":"
constexpr quint16 OemPlus = 187;   // "=" "+"
constexpr quint16 OemComma = 188;  // "," "<"
constexpr quint16 OemMinus = 189;  // "-" "_"
constexpr quint16 OemPeriod = 190; // "." ">"
constexpr quint16 Oem2 = 191;      // "/" "?"
constexpr quint16 Oem3 = 192;      // "`" "~"
constexpr quint16 Oem4 = 219;      // "[" "{"
constexpr quint16 Oem5 = 220;      // "\" "|"
constexpr quint16 Oem6 = 221;      // "]" "}"
constexpr quint16 Oem7 = 222;      // "'" '"'
} // namespace Vk

// The modifier set of a key stroke.
using TShiftState = quint8;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;

// The object a key command runs on, found when the key is pressed: the
// control itself, or the text store it shows at that moment (a control
// changes its store on every tab switch, so a binding cannot hold one).
enum TKeyTarget : quint8 { ktControl, ktSource };

using TKeyCommand = std::function<void(QObject& object)>;

// One binding. A prefix key has no command and a non-zero next state.
struct TKeyData {
    static constexpr quint8 kAnyState = 255;

    quint8 startState = 0;
    quint8 nextState = 0;
    quint16 keyCode = 0;
    TShiftState shift = 0;
    TKeyCommand command;
    TKeyTarget object = ktControl;

    bool Matches(quint16 key, TShiftState keyShift, quint8 state) const
    {
        return keyCode == key && shift == keyShift && (startState == state || startState == kAnyState);
    }
};

// The bindings of a control, looked up from the last added to the first, so
// that a later binding overrides an earlier one for the same key, modifiers
// and state.
class TKeyList {
public:
    // Start state 0, next state 0.
    void Add(quint16 key, TShiftState shift, TKeyCommand command, TKeyTarget object);
    // Any start state, next state 0.
    void AddAnyState(quint16 key, TShiftState shift, TKeyCommand command, TKeyTarget object);
    // Explicit states; without a command the entry is a prefix.
    void AddState(quint8 startState, quint8 nextState, quint16 key, TShiftState shift, TKeyCommand command = {},
                  TKeyTarget object = ktControl);

    // The binding of a key stroke in a key state; null when none.
    const TKeyData* Find(quint16 key, TShiftState shift, quint8 state) const;

    void Clear();
    int Count() const { return int(m_items.size()); }
    const TKeyData& At(int index) const { return m_items[size_t(index)]; }

private:
    void Append(TKeyData item);

    std::vector<TKeyData> m_items;
    // The last lookup and its answer. It answers only the very same stroke
    // in the very same state: an any-state binding found in one state must
    // not hide a later binding of the same key in another.
    struct TCache {
        bool valid = false;
        quint16 key = 0;
        TShiftState shift = 0;
        quint8 state = 0;
        int index = -1;
    };
    mutable TCache m_cache;
};

// A named procedure that fills a key list.
using TKeyMappingProc = std::function<void(TKeyList& list)>;

// The process-wide registry of key mappings: (control class, name, fill
// procedure). A control finds the mappings registered for its own class and
// for every class it derives from, its own first; names are compared
// without regard to case.
namespace KeyMappings {

// Registers (or replaces) the mapping name of controlClass.
void Register(const QMetaObject& controlClass, const QString& name, TKeyMappingProc fill);
// The fill procedure a control of class controlClass uses for name; empty
// when none is registered.
TKeyMappingProc Find(const QMetaObject& controlClass, const QString& name);
// The names a control of class controlClass can choose, in the order they
// were registered.
QStringList Names(const QMetaObject& controlClass);

} // namespace KeyMappings
