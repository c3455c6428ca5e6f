#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QWidget;

// The published values a form keeps in its settings section, each named
// "Component.Property" ("ToolHTML.Visible", "JavacPath.Text") and held as
// text.
class TStoredProperties {
public:
    virtual ~TStoredProperties() = default;

    // Every stored name, in the order the values are written.
    virtual QStringList StoredNames() const = 0;
    // The current value of every stored name.
    virtual QList<QPair<QString, QString>> StoredValues() const = 0;
    // Takes the stored values found (names missing from the section are
    // absent and keep their design values). Returns the names whose values
    // were refused; those keep their design values too.
    virtual QStringList RestoreValues(const QHash<QString, QString>& values) = 0;
};

// A form settings store: binds a window to its section of the settings
// store, under "Software\" + the executable's name. It restores the
// window's placement and then its stored properties when the window is
// shown, and writes them back when the window closes, or when it is
// destroyed after a show that no close followed.
//
// Placement values (as the Windows window placement has them):
//   "Flags"          2 when a minimised window goes back to maximised, else 0
//   "ShowCmd"        1 normal, 2 minimised, 3 maximised
//   "PixelsPerInch"  the screen's logical pixels per inch
//   "MinMaxPos"      "x,y,x,y": minimised position (never kept here: -1,-1)
//                    and maximised position (-1,-1 unless maximised)
//   "NormPos"        "left,top,right,bottom" of the normal (not maximised)
//                    window, right and bottom exclusive
//   "Visible"        1 when written as the window is destroyed, 0 on close
//
// A bad value (unreadable, out of range, of the wrong kind) keeps the design
// value; the first restore that meets bad values says so once, naming them
// (once for all the stores that share their reports).
// A restored window that would lie off every screen is moved onto the
// primary screen, and one larger than its screen is cut to it.
class TFormStorage {
public:
    // section: "Tarnel\MainWindow".
    TFormStorage(QWidget& form, const QString& section, TStoredProperties& properties);

    // "Software\" + the executable's file name without folder and extension.
    static QString RootKey();
    // The full key of a section.
    static QString Key(const QString& section);
    QString Key() const { return Key(m_section); }
    const QString& Section() const { return m_section; }
    // "JavacPath.Text" is stored as "JavacPath_Text".
    static QString ValueName(const QString& property);

    // Reads the section: placement first, then every stored property.
    void Restore();
    // Writes the placement values and, with properties, every stored one.
    void Save(bool destroying, bool properties = true);
    // From now on bad values found by either store are told of once in all.
    void ShareReports(TFormStorage& other) { m_reported = other.m_reported; }
    // True between a restore and the next save: a destroy then saves.
    bool SavePending() const { return m_pending; }

    // One string value of a section, read from the store at this call;
    // fallback when it is missing.
    static QString ReadValue(const QString& section, const QString& name, const QString& fallback = QString());
    QString ReadString(const QString& name, const QString& fallback = QString()) const
    {
        return ReadValue(m_section, name, fallback);
    }

    // The range of a stored coordinate or size: the 16-bit range window
    // positions have always had.
    static constexpr int kMaxCoordinate = 32767;
    // Stored text of a number within [min, max], of a flag ("True" /
    // "False", also "1" / "0"); nothing when it is not one.
    static std::optional<int> ParseInt(const QString& text, int min, int max);
    static std::optional<bool> ParseBool(const QString& text);
    // How a flag property is stored: "True" or "False".
    static QString BoolText(bool value);

    // Where a window of this rectangle is shown: moved onto the primary
    // screen when no screen shows enough of it to grab, and cut to the
    // screen it is on when larger.
    static QRect PlaceOnScreen(const QRect& rect);

private:
    void RestorePlacement(QStringList& refused);
    bool FixedSize() const;
    QRect NormalRect() const;

    QWidget& m_form;
    QString m_section;
    TStoredProperties& m_properties;
    bool m_pending = false;
    std::shared_ptr<bool> m_reported = std::make_shared<bool>(false);
    bool m_writeReported = false;
    // The last normal rectangle known, for a window that never was normal
    // (started maximised): Qt then has no normal geometry to give.
    QRect m_normal;
};
