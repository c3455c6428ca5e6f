// A window's section of the settings store: its placement and its stored
// properties. Reading never trusts the store: a value may have been edited
// by hand, cut short or written by another program, so each one is checked
// before it touches the window, and a bad one keeps the design value.

#include "formstorage.h"

#include "services.h"
#include "settingsstore.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// Show commands and placement flags as the Windows window placement keeps
// them, so that the section reads the same on every system.
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;
constexpr int kMinimize = 6;
constexpr int kShowMinNoActive = 7;
constexpr int kMaxShowCommand = 11;
constexpr int kRestoreToMaximized = 2;
constexpr int kMaxFlags = 0xffff;
constexpr int kMinPixelsPerInch = 24;
constexpr int kMaxPixelsPerInch = 2400;

// A window counts as reachable when a screen shows this much of it (or all
// of it, when smaller): enough to see it and grab it.
constexpr int kMinShown = 40;

// Reads the placement values of one section, collecting the names of those
// present but unusable.
class TPlacementReader {
public:
    TPlacementReader(const TSettingsStore& store, const QString& key, QStringList& refused)
        : m_store(store), m_key(key), m_refused(refused)
    {
    }

    std::optional<int> Int(const QString& name, int min, int max)
    {
        bool found = false;
        const QString text = m_store.ReadString(m_key, name, &found);
        if (!found)
            return std::nullopt;
        std::optional<int> value = TFormStorage::ParseInt(text, min, max);
        if (!value)
            m_refused.append(name);
        return value;
    }

    // "a,b,c,d" with each number within +-kMaxCoordinate.
    std::optional<QList<int>> Ints(const QString& name, int count)
    {
        bool found = false;
        const QString text = m_store.ReadString(m_key, name, &found);
        if (!found)
            return std::nullopt;
        const QStringList parts = text.split(u',');
        QList<int> values;
        for (const QString& part : parts) {
            std::optional<int> value =
                TFormStorage::ParseInt(part, -TFormStorage::kMaxCoordinate, TFormStorage::kMaxCoordinate);
            if (!value)
                break;
            values.append(*value);
        }
        if (parts.size() != count || values.size() != count) {
            m_refused.append(name);
            return std::nullopt;
        }
        return values;
    }

    // "left,top,right,bottom", right and bottom exclusive, not empty.
    std::optional<QRect> Rect(const QString& name)
    {
        std::optional<QList<int>> v = Ints(name, 4);
        if (!v)
            return std::nullopt;
        const QList<int>& e = *v;
        if (e[2] <= e[0] || e[3] <= e[1]) {
            m_refused.append(name);
            return std::nullopt;
        }
        return QRect(QPoint(e[0], e[1]), QPoint(e[2] - 1, e[3] - 1));
    }

    void Flag(const QString& name)
    {
        bool found = false;
        const QString text = m_store.ReadString(m_key, name, &found);
        if (found && !TFormStorage::ParseBool(text))
            m_refused.append(name);
    }

private:
    const TSettingsStore& m_store;
    const QString m_key;
    QStringList& m_refused;
};

QString joinPoint(QPoint point)
{
    return QStringLiteral("%1,%2").arg(point.x()).arg(point.y());
}

} // namespace

TFormStorage::TFormStorage(QWidget& form, const QString& section, TStoredProperties& properties)
    : m_form(form), m_section(section), m_properties(properties)
{
}

QString TFormStorage::RootKey()
{
    QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (name.isEmpty())
        name = QStringLiteral("Tarnel");
    return QStringLiteral("Software\\") + name;
}

QString TFormStorage::Key(const QString& section)
{
    return RootKey() + u'\\' + section;
}

QString TFormStorage::ValueName(const QString& property)
{
    return QString(property).replace(u'.', u'_');
}

std::optional<int> TFormStorage::ParseInt(const QString& text, int min, int max)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return int(value);
}

std::optional<bool> TFormStorage::ParseBool(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || t == QLatin1String("1"))
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || t == QLatin1String("0"))
        return false;
    return std::nullopt;
}

QString TFormStorage::BoolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString TFormStorage::ReadValue(const QString& section, const QString& name, const QString& fallback)
{
    return Services().Settings().ReadString(Key(section), name, fallback);
}

bool TFormStorage::FixedSize() const
{
    return m_form.minimumSize() == m_form.maximumSize();
}

void TFormStorage::Restore()
{
    QStringList refused;
    RestorePlacement(refused);

    const TSettingsStore& store = Services().Settings();
    const QString key = Key();
    QHash<QString, QString> values;
    for (const QString& name : m_properties.StoredNames()) {
        bool found = false;
        const QString value = store.ReadString(key, ValueName(name), &found);
        if (found)
            values.insert(name, value);
    }
    for (const QString& name : m_properties.RestoreValues(values))
        refused.append(ValueName(name));
    m_pending = true;

    if (refused.isEmpty() || *m_reported)
        return;
    *m_reported = true;
    Services().ShowError(QStringLiteral("Some stored settings in \"%1\" cannot be used and keep their default "
                                        "values: %2.")
                             .arg(key, refused.join(QStringLiteral(", "))));
}

void TFormStorage::RestorePlacement(QStringList& refused)
{
    TPlacementReader read(Services().Settings(), Key(), refused);
    const std::optional<int> flags = read.Int(QStringLiteral("Flags"), 0, kMaxFlags);
    const std::optional<int> showCommand = read.Int(QStringLiteral("ShowCmd"), 0, kMaxShowCommand);
    const std::optional<int> pixelsPerInch =
        read.Int(QStringLiteral("PixelsPerInch"), kMinPixelsPerInch, kMaxPixelsPerInch);
    // Qt has no minimised position and maximises onto the window's screen,
    // so MinMaxPos is only checked.
    read.Ints(QStringLiteral("MinMaxPos"), 4);
    const std::optional<QRect> normal = read.Rect(QStringLiteral("NormPos"));
    read.Flag(QStringLiteral("Visible"));

    m_normal = m_form.geometry();
    if (normal) {
        QRect rect = *normal;
        // A window keeps its size in inches on a screen of another density.
        const QScreen* screen = m_form.screen();
        const int current = screen ? qRound(screen->logicalDotsPerInch()) : 0;
        if (pixelsPerInch && current > 0 && *pixelsPerInch != current)
            rect.setSize(QSize(int(qint64(rect.width()) * current / *pixelsPerInch),
                               int(qint64(rect.height()) * current / *pixelsPerInch)));
        rect = PlaceOnScreen(rect);
        // The rectangle is the normal one: it is set on the normal window,
        // whatever state the design shows it in.
        const Qt::WindowStates designState = m_form.windowState();
        const Qt::WindowStates sized = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
        if (designState & sized)
            m_form.setWindowState(designState & ~sized);
        if (FixedSize())
            m_form.move(rect.topLeft());
        else
            m_form.setGeometry(rect);
        if (designState & sized)
            m_form.setWindowState(designState);
        m_normal = rect;
    }

    // A dialog of fixed size is never maximised or minimised.
    if (!showCommand || FixedSize())
        return;
    Qt::WindowStates state = m_form.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    switch (*showCommand) {
    case kShowMaximized:
        state |= Qt::WindowMaximized;
        break;
    case kShowMinimized:
    case kMinimize:
    case kShowMinNoActive:
        // A program that starts minimised looks like one that did not
        // start: it comes back as it would from the task bar.
        if (flags && (*flags & kRestoreToMaximized))
            state |= Qt::WindowMaximized;
        break;
    default:
        break;
    }
    m_form.setWindowState(state);
}

QRect TFormStorage::NormalRect() const
{
    if (m_form.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
        const QRect normal = m_form.normalGeometry();
        return normal.isValid() ? normal : m_normal;
    }
    return m_form.geometry();
}

void TFormStorage::Save(bool destroying, bool properties)
{
    TSettingsStore& store = Services().Settings();
    const QString key = Key();
    const Qt::WindowStates state = m_form.windowState();
    const bool minimized = state & Qt::WindowMinimized;
    const bool maximized = state & Qt::WindowMaximized;
    const QRect normal = NormalRect();
    const QScreen* screen = m_form.screen();

    store.WriteInteger(key, QStringLiteral("Flags"), minimized && maximized ? kRestoreToMaximized : 0);
    store.WriteInteger(key, QStringLiteral("ShowCmd"),
                       minimized ? kShowMinimized : (maximized ? kShowMaximized : kShowNormal));
    store.WriteInteger(key, QStringLiteral("PixelsPerInch"), screen ? qRound(screen->logicalDotsPerInch()) : 96);
    store.WriteString(key, QStringLiteral("MinMaxPos"),
                      joinPoint(QPoint(-1, -1)) + u',' +
                          joinPoint(maximized ? m_form.frameGeometry().topLeft() : QPoint(-1, -1)));
    store.WriteString(key, QStringLiteral("NormPos"),
                      QStringLiteral("%1,%2,%3,%4")
                          .arg(normal.left())
                          .arg(normal.top())
                          .arg(normal.left() + normal.width())
                          .arg(normal.top() + normal.height()));
    store.WriteBool(key, QStringLiteral("Visible"), destroying);
    if (properties) {
        for (const auto& [name, value] : m_properties.StoredValues())
            store.WriteString(key, ValueName(name), value);
    }
    m_pending = false;

    if (!store.Flush() && !m_writeReported) {
        m_writeReported = true;
        Services().ShowError(QStringLiteral("The settings \"%1\" cannot be written.").arg(key));
    }
}

QRect TFormStorage::PlaceOnScreen(const QRect& rect)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* home = nullptr;
    qint64 best = 0;
    for (QScreen* screen : screens) {
        const QRect shown = rect.intersected(screen->availableGeometry());
        if (shown.width() < std::min(kMinShown, rect.width()) || shown.height() < std::min(kMinShown, rect.height()))
            continue;
        const qint64 area = qint64(shown.width()) * shown.height();
        if (area > best) {
            best = area;
            home = screen;
        }
    }
    const bool lost = home == nullptr;
    if (lost)
        home = QGuiApplication::primaryScreen();
    if (!home)
        return rect;
    const QRect available = home->availableGeometry();
    QRect placed(rect.topLeft(), rect.size().boundedTo(available.size()));
    if (lost) {
        placed.moveCenter(available.center());
    } else if (placed.size() != rect.size()) {
        // Cut to the screen, the window also lies within it.
        placed.moveLeft(std::clamp(placed.left(), available.left(), available.right() - placed.width() + 1));
        placed.moveTop(std::clamp(placed.top(), available.top(), available.bottom() - placed.height() + 1));
    }
    return placed;
}
