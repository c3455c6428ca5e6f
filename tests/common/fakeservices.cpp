#include "fakeservices.h"

namespace {

QString answerName(TServices::TAnswer answer)
{
    switch (answer) {
    case TServices::anYes: return QStringLiteral("Yes");
    case TServices::anNo: return QStringLiteral("No");
    case TServices::anCancel: return QStringLiteral("Cancel");
    case TServices::anAll: return QStringLiteral("All");
    case TServices::anOk: return QStringLiteral("Ok");
    }
    return {};
}

} // namespace

bool TMemorySettingsStore::KeyExists(const QString& key) const
{
    return m_values.contains(key.toLower());
}

bool TMemorySettingsStore::ValueExists(const QString& key, const QString& name) const
{
    auto it = m_values.constFind(key.toLower());
    return it != m_values.constEnd() && it->contains(name.toLower());
}

QString TMemorySettingsStore::ReadString(const QString& key, const QString& name, bool* ok) const
{
    const bool found = ValueExists(key, name);
    if (ok)
        *ok = found;
    return found ? m_values.value(key.toLower()).value(name.toLower()) : QString();
}

void TMemorySettingsStore::WriteString(const QString& key, const QString& name, const QString& value)
{
    m_values[key.toLower()][name.toLower()] = value;
}

void TMemorySettingsStore::DeleteValue(const QString& key, const QString& name)
{
    auto it = m_values.find(key.toLower());
    if (it != m_values.end())
        it->remove(name.toLower());
}

void TMemorySettingsStore::DeleteKey(const QString& key)
{
    m_values.remove(key.toLower());
}

QStringList TMemorySettingsStore::ValueNames(const QString& key) const
{
    return m_values.value(key.toLower()).keys();
}

TFakeServices::TFakeServices()
{
    SetServices(this);
}

TFakeServices::~TFakeServices()
{
    SetServices(nullptr);
}

QStringList TFakeServices::Filter(const QString& prefix) const
{
    QStringList out;
    for (const QString& call : m_calls) {
        if (call.startsWith(prefix))
            out.append(call.mid(prefix.size()));
    }
    return out;
}

QStringList TFakeServices::Messages() const
{
    QStringList out;
    for (const QString& call : m_calls) {
        if (call.startsWith(QLatin1String("error: ")))
            out.append(call.mid(7));
        else if (call.startsWith(QLatin1String("message: ")))
            out.append(call.mid(9));
    }
    return out;
}

QStringList TFakeServices::Questions() const
{
    QStringList out;
    for (const QString& call : Filter(QStringLiteral("ask: ")))
        out.append(call.section(QStringLiteral(" -> "), 0, 0));
    return out;
}

QStringList TFakeServices::Opened() const
{
    return Filter(QStringLiteral("open: "));
}

QStringList TFakeServices::Started() const
{
    return Filter(QStringLiteral("start: "));
}

void TFakeServices::ShowError(const QString& text)
{
    m_calls.append(QStringLiteral("error: ") + text);
}

void TFakeServices::ShowMessage(const QString& text)
{
    m_calls.append(QStringLiteral("message: ") + text);
}

TServices::TAnswer TFakeServices::Ask(const QString& text, TButtons)
{
    TAnswer answer = anCancel;
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    }
    m_calls.append(QStringLiteral("ask: ") + text + QStringLiteral(" -> ") + answerName(answer));
    return answer;
}

bool TFakeServices::FileDialog(const char* kind, TFileDialog& dialog)
{
    bool confirmed = false;
    if (OnFileDialog) {
        confirmed = OnFileDialog(dialog);
    } else if (!m_files.empty()) {
        dialog.fileName = m_files.front();
        m_files.pop_front();
        confirmed = !dialog.fileName.isEmpty();
        if (confirmed)
            dialog.fileNames = QStringList{dialog.fileName};
    }
    m_fileDialogs.append(dialog);
    m_calls.append(QStringLiteral("%1: %2 -> %3").arg(QLatin1String(kind), dialog.title,
                                                      confirmed ? dialog.fileName : QStringLiteral("Cancel")));
    return confirmed;
}

bool TFakeServices::OpenFileDialog(TFileDialog& dialog)
{
    return FileDialog("open dialog", dialog);
}

bool TFakeServices::SaveFileDialog(TFileDialog& dialog)
{
    return FileDialog("save dialog", dialog);
}

bool TFakeServices::FolderDialog(TFileDialog& dialog)
{
    return FileDialog("folder dialog", dialog);
}

bool TFakeServices::ColorDialog(TColor& color)
{
    bool confirmed = false;
    if (!m_colors.empty()) {
        const qint64 next = m_colors.front();
        m_colors.pop_front();
        confirmed = next >= 0;
        if (confirmed)
            color = TColor(qint32(next));
    }
    m_calls.append(QStringLiteral("color dialog -> %1").arg(confirmed ? QString::number(color.value) : QStringLiteral("Cancel")));
    return confirmed;
}

bool TFakeServices::ShellOpen(const QString& target)
{
    m_calls.append(QStringLiteral("open: ") + target);
    return !m_shellOpenFails;
}

namespace {

// A run that goes on until it is stopped, recording what it is given.
class TScriptedRun : public TServices::TProcessRun {
public:
    TScriptedRun(QStringList& calls, const TServices::TProcessWatch& watch) : m_calls(calls), m_watch(watch) {}
    bool Running() const override { return m_running; }
    bool Write(const QByteArray& bytes) override
    {
        m_calls.append(QStringLiteral("input: ") + QString::fromUtf8(bytes).chopped(bytes.endsWith('\n') ? 1 : 0));
        return m_running;
    }
    void Stop() override
    {
        if (!m_running)
            return;
        m_running = false;
        m_calls.append(QStringLiteral("stop"));
        if (m_watch.OnFinished)
            m_watch.OnFinished(-1, TServices::kStopped);
    }

private:
    QStringList& m_calls;
    TServices::TProcessWatch m_watch;
    bool m_running = true;
};

} // namespace

std::shared_ptr<TServices::TProcessRun> TFakeServices::RunProcess(const QString& program, const QStringList& arguments,
                                                                  const QString& workingDir,
                                                                  const TProcessWatch& watch, QString& error)
{
    m_calls.append(QStringLiteral("start: ") + (QStringList{program} + arguments).join(u' '));
    if (OnRunProcess)
        return OnRunProcess(program, arguments, workingDir, watch, error);
    return std::make_shared<TScriptedRun>(m_calls, watch);
}

QString TFakeServices::ClipboardText(bool* column) const
{
    if (column)
        *column = m_clipboardColumn;
    return m_clipboard;
}

bool TFakeServices::PrintSetupDialog(QPrinter& printer)
{
    const bool confirmed = OnPrintSetup && OnPrintSetup(printer);
    m_calls.append(QStringLiteral("print setup -> %1").arg(confirmed ? QStringLiteral("Ok") : QStringLiteral("Cancel")));
    return confirmed;
}

void TFakeServices::SetClipboardText(const QString& text, bool column, const QByteArray& rtf, const QByteArray& html)
{
    m_clipboard = text;
    m_clipboardColumn = column;
    m_clipboardRtf = rtf;
    m_clipboardHtml = html;
    m_clipboardSet = true;
}

quint32 TFakeServices::ResolveColor(TColor color) const
{
    if (color.IsSystem()) {
        // A fixed, light palette, so that pixel tests do not depend on the
        // machine's theme.
        switch (color.value - kSystemColorBase) {
        case 5: return 0xffffffffu;   // clWindow
        case 8: return 0xff000000u;   // clWindowText
        case 13: return 0xff000080u;  // clHighlight
        case 14: return 0xffffffffu;  // clHighlightText
        case 15: return 0xffc0c0c0u;  // clBtnFace
        case 17: return 0xff808080u;  // clGrayText
        default: return 0xff000000u;
        }
    }
    return 0xff000000u | (quint32(color.Red()) << 16) | (quint32(color.Green()) << 8) | quint32(color.Blue());
}

void TFakeServices::BeginProgress(const QString& caption)
{
    m_progressCaptions << caption;
    ++m_progressOpen;
    m_reports = 0;
    m_cancelCurrent = m_cancelAt;
    m_cancelAt = 0;
}

bool TFakeServices::Progress(qint64, qint64)
{
    ++m_reports;
    return m_cancelCurrent == 0 || m_reports < m_cancelCurrent;
}
