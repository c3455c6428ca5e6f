#include "toolruns.h"

#include "documentnames.h"
#include "outputpane.h"
#include "preferenceform.h"
#include "regularfile.h"
#include "services.h"
#include "toolfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

namespace {

const QString kBuildFile = QStringLiteral("Commando/build.bat");
const QString kPreviewFile = QStringLiteral("preview.htm");
// Enough of an existing page to see whether it begins with HTMLHead.
constexpr qint64 kPageHeadBytes = 4096;

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

const QString TToolRuns::kNoCompiler = QStringLiteral(
    "Javac.exe does not exists or path is not correct!\r\n"
    "Choose Menu -> Options - > Preferences\r\n"
    "and check if the path is given correct.");

TToolRuns::TToolRuns(const QString& programDir, TOutputPane* output, QObject* parent)
    : QObject(parent), m_programDir(programDir), m_output(output)
{
}

QString TToolRuns::BuildFilePath() const
{
    return ToolFiles::WritablePlace(m_programDir, kBuildFile);
}

bool TToolRuns::WriteBuildFile(const QString& documentPath, QString& buildFile, QString& buildLine)
{
    const TPreferenceForm::TJavaSettings settings = TPreferenceForm::StoredSettings();
    if (settings.javacPath.isEmpty() || !QFileInfo(settings.javacPath).isFile()) {
        Services().ShowMessage(kNoCompiler);
        return false;
    }
    // The shipped build file must be there, even when the line goes to the
    // user's copy: a missing one means a damaged installation.
    const QString shipped = m_programDir + kBuildFile;
    QFile file(shipped);
    QString refusal;
    if (!RegularFile::Open(file, shipped, &refusal)) {
        Services().ShowError(QStringLiteral("Cannot open file \"%1\". %2").arg(native(shipped), refusal));
        return false;
    }
    file.close();
    buildFile = BuildFilePath();
    buildLine = ToolFiles::BuildLine(settings.javacPath, settings.parameters, documentPath);
    QString error;
    if (!ToolFiles::Write(buildFile, ToolFiles::BuildFile(buildLine), error)) {
        Services().ShowError(error);
        return false;
    }
    return true;
}

bool TToolRuns::StartBuild(const QString& documentPath, const QString& buildFile, const QString& buildLine,
                           std::function<void(bool succeeded)> finished)
{
    // The compiler runs in the document's folder, so that the classes beside
    // it are found; an untitled document has none and the program's own is
    // kept.
    const QString folder =
        DocumentNames::HasFolder(documentPath) ? QFileInfo(documentPath).absolutePath() : QString();
    QPointer<TOutputPane> output = m_output;
    const int run = output ? output->Begin(buildLine, folder.isEmpty() ? QDir::currentPath() : folder) : 0;
    TServices::TProcessWatch watch;
    watch.OnOutput = [output, run](const QByteArray& bytes) {
        if (output)
            output->Append(run, bytes);
    };
    watch.OnFinished = [output, run, finished](int exitCode, const QString& failure) {
        if (output)
            output->Finish(run, exitCode, failure);
        if (finished)
            finished(exitCode == 0 && failure.isEmpty());
    };
    QString error;
    if (!Services().RunProcess(buildFile, {}, folder, watch, error)) {
        if (output)
            output->Finish(run, -1, QStringLiteral("Cannot start \"%1\". %2").arg(native(buildFile), error));
        ReportStartFailure(buildFile, error);
        return false;
    }
    return true;
}

void TToolRuns::ReportStartFailure(const QString& program, const QString& reason)
{
    Services().ShowMessage(QStringLiteral("Cannot start \"%1\". %2").arg(native(program), reason));
}

bool TToolRuns::Compile(const QString& documentPath)
{
    QString buildFile, buildLine;
    return WriteBuildFile(documentPath, buildFile, buildLine) && StartBuild(documentPath, buildFile, buildLine, {});
}

void TToolRuns::Run(const QString& documentPath)
{
    const TPreferenceForm::TJavaSettings settings = TPreferenceForm::StoredSettings();
    QString buildFile, buildLine;
    if (!WriteBuildFile(documentPath, buildFile, buildLine))
        return;

    const QString pagePath = ToolFiles::AppletPagePath(documentPath);
    if (QFileInfo::exists(pagePath)) {
        // A page that cannot even be read is not known to be ours either.
        QFile old(pagePath);
        if (!RegularFile::Open(old, pagePath, nullptr) || !ToolFiles::IsAppletPage(old.read(kPageHeadBytes))) {
            const QString question =
                QStringLiteral("File %1 was not written by Applet Run. Would you like to overwrite?")
                    .arg(native(pagePath));
            if (Services().Ask(question, TServices::bsYesNo) != TServices::anYes)
                return;
        }
    }

    const QByteArray page =
        ToolFiles::AppletPage(settings.appletWidth, settings.appletHeight, DocumentNames::WithoutFolder(documentPath));
    QPointer<TToolRuns> self = this;
    StartBuild(documentPath, buildFile, buildLine, [self, pagePath, page, documentPath](bool succeeded) {
        if (!self)
            return;
        if (!succeeded) {
            Services().ShowMessage(
                QStringLiteral("The compile of \"%1\" failed; the applet is not run. The Output pane shows why.")
                    .arg(native(documentPath)));
            return;
        }
        QString error;
        if (!ToolFiles::Write(pagePath, page, error)) {
            Services().ShowError(error);
            return;
        }
        ShellOpenOrReport(pagePath);
    });
}

void TToolRuns::Preview(const QString& documentPath, const QByteArray& text)
{
    const QString extension = DocumentNames::LowerExtension(documentPath);
    if (DocumentNames::HasFolder(documentPath)
        && (extension == QLatin1String(".htm") || extension == QLatin1String(".html"))) {
        ShellOpenOrReport(documentPath);
        return;
    }
    const QString preview = ToolFiles::WritablePlace(m_programDir, kPreviewFile);
    QString error;
    if (!ToolFiles::Write(preview, text, error)) {
        Services().ShowError(error);
        return;
    }
    ShellOpenOrReport(preview);
}

void TToolRuns::StartBatch(const QString& path)
{
    QString error;
    if (!Services().StartProcess(path, {}, error))
        ReportStartFailure(path, error);
}
