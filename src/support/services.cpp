#include "services.h"

#include "settingsstore.h"

#include <QHash>

namespace {

// Keeps settings in memory and answers every question with Cancel, so that
// nothing is lost when no platform is installed.
class TMemorySettings : public TSettingsStore {
public:
    bool KeyExists(const QString& key) const override { return m_values.contains(key.toLower()); }
    bool ValueExists(const QString& key, const QString& name) const override
    {
        auto it = m_values.constFind(key.toLower());
        return it != m_values.constEnd() && it->contains(name.toLower());
    }
    QString ReadString(const QString& key, const QString& name, bool* ok) const override
    {
        auto it = m_values.constFind(key.toLower());
        bool found = it != m_values.constEnd() && it->contains(name.toLower());
        if (ok)
            *ok = found;
        return found ? it->value(name.toLower()) : QString();
    }
    void WriteString(const QString& key, const QString& name, const QString& value) override
    {
        m_values[key.toLower()][name.toLower()] = value;
    }
    void DeleteValue(const QString& key, const QString& name) override
    {
        auto it = m_values.find(key.toLower());
        if (it != m_values.end())
            it->remove(name.toLower());
    }
    void DeleteKey(const QString& key) override { m_values.remove(key.toLower()); }
    QStringList ValueNames(const QString& key) const override { return m_values.value(key.toLower()).keys(); }

private:
    QHash<QString, QHash<QString, QString>> m_values;
};

class TSilentServices : public TServices {
public:
    void ShowError(const QString&) override {}
    void ShowMessage(const QString&) override {}
    TAnswer Ask(const QString&, TButtons) override { return anCancel; }
    bool OpenFileDialog(TFileDialog&) override { return false; }
    bool SaveFileDialog(TFileDialog&) override { return false; }
    bool FolderDialog(TFileDialog&) override { return false; }
    bool ColorDialog(TColor&) override { return false; }
    bool ShellOpen(const QString&) override { return false; }
    std::shared_ptr<TProcessRun> RunProcess(const QString&, const QStringList&, const QString&, const TProcessWatch&,
                                            QString& error) override
    {
        error = QStringLiteral("No process can be started here.");
        return nullptr;
    }
    bool ClipboardHasText() const override { return !m_clipboard.isEmpty(); }
    QString ClipboardText(bool* column) const override
    {
        if (column)
            *column = m_column;
        return m_clipboard;
    }
    bool PrintSetupDialog(QPrinter&) override { return false; }
    void SetClipboardText(const QString& text, bool column, const QByteArray&, const QByteArray&) override
    {
        m_clipboard = text;
        m_column = column;
    }
    TSettingsStore& Settings() override { return m_settings; }
    quint32 ResolveColor(TColor color) const override
    {
        if (color.IsSystem())
            return color == clWindow ? 0xffffffffu : 0xff000000u;
        return 0xff000000u | (quint32(color.Red()) << 16) | (quint32(color.Green()) << 8) | quint32(color.Blue());
    }

private:
    QString m_clipboard;
    bool m_column = false;
    TMemorySettings m_settings;
};

TSilentServices& silent()
{
    static TSilentServices instance;
    return instance;
}

TServices* g_services = nullptr;

} // namespace

const QString TServices::kStopped = QStringLiteral("Stopped.");

TServices& Services()
{
    return g_services ? *g_services : silent();
}

void SetServices(TServices* services)
{
    g_services = services;
}

bool ShellOpenOrReport(const QString& target)
{
    if (Services().ShellOpen(target))
        return true;
    Services().ShowError(QStringLiteral("Cannot open %1. No program on this system is set up to open it.").arg(target));
    return false;
}

TProgress::TProgress(const QString& caption)
{
    Services().BeginProgress(caption);
}

TProgress::~TProgress()
{
    Services().EndProgress();
}

bool TProgress::Step(qint64 done, qint64 total)
{
    if (!m_cancelled && !Services().Progress(done, total))
        m_cancelled = true;
    return !m_cancelled;
}
