#include "qtservices.h"

#include "ansi.h"
#include "processes.h"
#include "qtsettingsstore.h"
#include "modaldialogs.h"
#include "systemcolors.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QUrl>

namespace {

const QString kColumnMime = QStringLiteral("application/x-tarnel-column-block");
const QString kRtfMime = QStringLiteral("text/rtf");
// The name under which rich text is registered on the system clipboard.
const QString kRtfFormatName = QStringLiteral("application/x-qt-windows-mime;value=\"Rich Text Format\"");

QString title()
{
    const QString name = QApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Tarnel") : name;
}

// True when target starts with a URL scheme and its colon ("http:",
// "mailto:"). A single letter before the colon is a drive ("C:\x"), not a
// scheme.
bool hasUrlScheme(const QString& target)
{
    auto isLetter = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    if (target.isEmpty() || !isLetter(target[0]))
        return false;
    for (qsizetype i = 1; i < target.size(); ++i) {
        const QChar c = target[i];
        if (c == u':')
            return i > 1;
        if (!isLetter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.')
            return false;
    }
    return false;
}

} // namespace

TQtServices::TQtServices(std::unique_ptr<TSettingsStore> settings) : m_settings(std::move(settings))
{
    if (!m_settings)
        m_settings = std::make_unique<TQtSettingsStore>();
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto update = [this, clipboard] {
        const QMimeData* data = clipboard->mimeData();
        m_clipboardHasText = data && data->hasText();
    };
    update();
    m_clipboardWatch = QObject::connect(clipboard, &QClipboard::dataChanged, update);
}

TQtServices::~TQtServices()
{
    QObject::disconnect(m_clipboardWatch);
}

QWidget* TQtServices::DialogParent()
{
    return QApplication::activeWindow();
}

void TQtServices::ShowError(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, title(), text, QMessageBox::Ok, DialogParent());
    ModalDialogs::Execute(box);
}

void TQtServices::ShowMessage(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Ok, DialogParent());
    ModalDialogs::Execute(box);
}

TServices::TAnswer TQtServices::Ask(const QString& text, TButtons buttons)
{
    QMessageBox box(QMessageBox::Question, title(), text, QMessageBox::NoButton, DialogParent());
    switch (buttons) {
    case bsYesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case bsYesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case bsYesNoCancelAll:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::YesToAll);
        box.button(QMessageBox::YesToAll)->setText(QStringLiteral("&All"));
        break;
    case bsOkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case bsYesNoDefaultNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        break;
    }
    switch (ModalDialogs::Execute(box)) {
    case QMessageBox::Yes: return anYes;
    case QMessageBox::No: return anNo;
    case QMessageBox::YesToAll: return anAll;
    case QMessageBox::Ok: return anOk;
    default: return anCancel;
    }
}

QStringList TQtServices::NameFilters(const QString& filter)
{
    QStringList filters;
    const QStringList parts = filter.split(u'|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts).join(u' ');
        // A description that names its patterns in parentheses gets them in
        // the form the dialog reads.
        const qsizetype open = description.lastIndexOf(u'(');
        if (open > 0 && description.endsWith(u')'))
            description = description.left(open).trimmed();
        filters.append(QStringLiteral("%1 (%2)").arg(description, patterns));
    }
    return filters;
}

bool TQtServices::RunFileDialog(TFileDialog& request, bool save)
{
    QFileDialog dialog(DialogParent(), request.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // A name typed into the open dialog may leave out the default extension:
    // the program decides what it means (a file of exactly that name comes
    // first), so the dialog takes any name and appends nothing.
    dialog.setFileMode(save || !request.multiSelect ? QFileDialog::AnyFile : QFileDialog::ExistingFiles);
    // Overwriting is asked by the program itself, with its own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = NameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(std::clamp(request.filterIndex, 1, int(filters.size())) - 1));
    }
    QString ext = request.defaultExt;
    ext.remove(QLatin1String("*"));
    while (ext.startsWith(u'.'))
        ext.remove(0, 1);
    // Choosing several files, a typed name must name files that exist: one
    // without its extension is taken with the default one.
    if (save || request.multiSelect)
        dialog.setDefaultSuffix(ext);
    const QString dir = request.initialDir.isEmpty() ? QDir::currentPath() : request.initialDir;
    dialog.setDirectory(dir);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (ModalDialogs::Execute(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    request.fileNames = dialog.selectedFiles();
    request.fileName = request.fileNames.first();
    request.filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return true;
}

bool TQtServices::OpenFileDialog(TFileDialog& dialog)
{
    return RunFileDialog(dialog, false);
}

bool TQtServices::SaveFileDialog(TFileDialog& dialog)
{
    return RunFileDialog(dialog, true);
}

bool TQtServices::FolderDialog(TFileDialog& request)
{
    QFileDialog dialog(DialogParent(), request.title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setDirectory(request.initialDir.isEmpty() ? QDir::currentPath() : request.initialDir);
    if (ModalDialogs::Execute(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    request.fileName = dialog.selectedFiles().first();
    request.fileNames = QStringList{request.fileName};
    return true;
}

bool TQtServices::ColorDialog(TColor& color)
{
    const quint32 rgb = ResolveColor(color);
    const QColor chosen = QColorDialog::getColor(QColor::fromRgb(rgb), DialogParent());
    if (!chosen.isValid())
        return false;
    color = TColor::FromRgb(chosen.red(), chosen.green(), chosen.blue());
    return true;
}

bool TQtServices::PrintSetupDialog(QPrinter& printer)
{
    // Qt's dialog lists the system's printers and "Print to File (PDF)",
    // so a machine without a printer can still print.
    QPrintDialog dialog(&printer, DialogParent());
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return ModalDialogs::Execute(dialog) == QDialog::Accepted;
}

bool TQtServices::ShellOpen(const QString& target)
{
    // An address is only ever an address: were a local file looked for first,
    // a folder "http:" in the current folder could turn a web link into
    // a file of someone else's choosing. Only a target without a scheme (a
    // path, as the help command passes) names a local file.
    const QUrl url = hasUrlScheme(target) ? QUrl(target) : QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
    return QDesktopServices::openUrl(url);
}

std::shared_ptr<TServices::TProcessRun> TQtServices::RunProcess(const QString& program, const QStringList& arguments,
                                                                const QString& workingDir,
                                                                const TProcessWatch& watch, QString& error)
{
    return Processes::Run(program, arguments, workingDir, watch, error);
}

bool TQtServices::ClipboardHasText() const
{
    return m_clipboardHasText;
}

QString TQtServices::ClipboardText(bool* column) const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (column)
        *column = data && data->hasFormat(kColumnMime);
    return data ? data->text() : QString();
}

void TQtServices::SetClipboardText(const QString& text, bool column, const QByteArray& rtf, const QByteArray& html)
{
    auto* data = new QMimeData;
    data->setText(text);
    if (column)
        data->setData(kColumnMime, "1");
    if (!rtf.isEmpty()) {
        data->setData(kRtfMime, rtf);
        data->setData(kRtfFormatName, rtf);
    }
    if (!html.isEmpty())
        data->setHtml(QString::fromUtf8(html));
    QGuiApplication::clipboard()->setMimeData(data);
}

quint32 TQtServices::ResolveColor(TColor color) const
{
    return SystemColors::Resolve(color, QGuiApplication::palette());
}
