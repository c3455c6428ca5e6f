#include "toolruns.h"

#include "documentnames.h"
#include "javarun.h"
#include "outputpane.h"
#include "preferenceform.h"
#include "regularfile.h"
#include "services.h"
#include "toolfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

const QString kBuildFile = QStringLiteral("Commando/build.bat");
const QString kPreviewFile = QStringLiteral("preview.htm");
// Enough of an existing page to see whether it begins with HTMLHead.
constexpr qint64 kPageHeadBytes = 4096;

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A command as a user would type it: what holds blanks or quotes is quoted.
QString commandText(const QString& program, const QStringList& arguments)
{
    QStringList words;
    for (const QString& word : QStringList{native(program)} + arguments) {
        if (!word.isEmpty() && !word.contains(u' ') && !word.contains(u'"') && !word.contains(u'\t'))
            words.append(word);
        else
            words.append(u'"' + QString(word).replace(u'"', QStringLiteral("\\\"")) + u'"');
    }
    return words.join(u' ');
}

// The last line of a run: how it ended and after how long.
QString summary(int exitCode, const QString& failure, qint64 milliseconds)
{
    const QString time = QString::number(double(milliseconds) / 1000.0, 'f', 2);
    if (failure.isEmpty())
        return QStringLiteral("Finished with exit code %1 after %2 s.").arg(exitCode).arg(time);
    QString text = failure;
    if (text.endsWith(u'.'))
        text.chop(1);
    return QStringLiteral("%1 after %2 s.").arg(text, time);
}

#ifdef Q_OS_WIN
const QByteArray kInputLineEnd = "\r\n";
#else
const QByteArray kInputLineEnd = "\n";
#endif

} // namespace

const QString TToolRuns::kNoCompiler = QStringLiteral(
    "Javac.exe does not exists or path is not correct!\r\n"
    "Choose Menu -> Options - > Preferences\r\n"
    "and check if the path is given correct.");

TToolRuns::TToolRuns(const QString& programDir, TOutputPane* output, QObject* parent)
    : QObject(parent), m_programDir(programDir), m_output(output)
{
    if (output) {
        output->OnStop = [this] { Stop(); };
        output->OnInput = [this](const QString& line) { SendInput(line); };
    }
}

TToolRuns::~TToolRuns()
{
    if (m_output) {
        m_output->OnStop = nullptr;
        m_output->OnInput = nullptr;
    }
    // The user was asked when the window closed; a run must not outlive
    // the editor unseen.
    Stop();
}

bool TToolRuns::Running() const
{
    return m_run && m_run->Running();
}

void TToolRuns::Stop()
{
    if (Running())
        m_run->Stop();
}

bool TToolRuns::MayReplaceRun()
{
    if (!Running())
        return true;
    if (Services().Ask(QStringLiteral("\"%1\" is still running. Stop it?").arg(m_runCommand), TServices::bsYesNo)
        != TServices::anYes)
        return false;
    Stop();
    return true;
}

bool TToolRuns::MayClose()
{
    if (!Running())
        return true;
    if (Services().Ask(QStringLiteral("\"%1\" is still running. Stop it and close the window?").arg(m_runCommand),
                       TServices::bsYesNo)
        != TServices::anYes)
        return false;
    Stop();
    return true;
}

void TToolRuns::SendInput(const QString& line)
{
    if (Running() && m_run->Write(line.toLocal8Bit() + kInputLineEnd) && m_output)
        m_output->Echo(m_runNumber, line);
}

bool TToolRuns::StartRun(const TRequest& request, std::function<void(bool succeeded)> finished)
{
    QPointer<TOutputPane> output = m_output;
    const QString folder = request.folder.isEmpty() ? QDir::currentPath() : request.folder;
    const int run = output ? output->Begin(request.command, folder, request.roots) : 0;
    QElapsedTimer clock;
    clock.start();
    TServices::TProcessWatch watch;
    watch.OnOutput = [output, run](const QByteArray& bytes, bool error) {
        if (output)
            output->Append(run, bytes, error);
    };
    watch.OnFinished = [output, run, clock, finished](int exitCode, const QString& failure) {
        if (output)
            output->Finish(run, summary(exitCode, failure, clock.elapsed()));
        if (finished)
            finished(exitCode == 0 && failure.isEmpty());
    };
    QString error;
    std::shared_ptr<TServices::TProcessRun> started =
        Services().RunProcess(request.program, request.arguments, request.folder, watch, error);
    if (!started) {
        if (output)
            output->Finish(run, QStringLiteral("Cannot start \"%1\". %2").arg(native(request.program), error));
        ReportStartFailure(request.program, error);
        return false;
    }
    m_run = std::move(started);
    m_runCommand = request.command;
    m_runNumber = run;
    return true;
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
    return StartRun({buildFile, {}, folder, {folder}, buildLine}, std::move(finished));
}

void TToolRuns::ReportStartFailure(const QString& program, const QString& reason)
{
    Services().ShowMessage(QStringLiteral("Cannot start \"%1\". %2").arg(native(program), reason));
}

bool TToolRuns::Compile(const QString& documentPath)
{
    if (!MayReplaceRun())
        return false;
    QString buildFile, buildLine;
    return WriteBuildFile(documentPath, buildFile, buildLine) && StartBuild(documentPath, buildFile, buildLine, {});
}

void TToolRuns::Run(const QString& documentPath)
{
    if (!MayReplaceRun())
        return;
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
        ToolFiles::AppletPage(settings.appletWidth, settings.appletHeight, ToolFiles::AppletClassFile(documentPath));
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

void TToolRuns::RunBatch(const QString& path)
{
    if (!MayReplaceRun())
        return;
    // In its own folder: the names a batch file uses are its neighbours.
    const QString folder = QFileInfo(path).absolutePath();
    StartRun({path, {}, folder, {}, commandText(path, {})}, {});
}

void TToolRuns::RunJavaProgram(const QString& documentPath)
{
    // Everything that can stop the command is checked before a run still
    // going is asked about: it is not stopped for nothing.
    if (!documentPath.endsWith(QLatin1String(".java"), Qt::CaseInsensitive)) {
        Services().ShowMessage(
            QStringLiteral("\"%1\" is not a Java source file. Run Java Program runs a file whose name ends in \".java\".")
                .arg(native(documentPath)));
        return;
    }
    const TPreferenceForm::TJavaSettings settings = TPreferenceForm::StoredSettings();
    QStringList lookedFor;
    const QString launcher = JavaRun::FindLauncher(settings.javacPath, lookedFor);
    if (launcher.isEmpty()) {
        QStringList places;
        for (const QString& place : std::as_const(lookedFor))
            places.append(u'"' + native(place) + u'"');
        Services().ShowMessage(
            places.isEmpty()
                ? QStringLiteral("Cannot find the Java launcher: there is no \"%1\" on the PATH.\r\n"
                                 "Set the compiler in Options, Preferences to use the launcher beside it.")
                      .arg(JavaRun::LauncherName())
                : QStringLiteral("Cannot find the Java launcher: there is no %1 beside the compiler, "
                                 "and no \"%2\" on the PATH.")
                      .arg(places.join(QStringLiteral(" or ")), JavaRun::LauncherName()));
        return;
    }
    QFile file(documentPath);
    if (!file.open(QIODevice::ReadOnly)) {
        Services().ShowError(QStringLiteral("Cannot open file \"%1\". %2").arg(native(documentPath), file.errorString()));
        return;
    }
    const JavaRun::TCommand command =
        JavaRun::Command(documentPath, file.readAll(), QProcess::splitCommand(settings.programArguments));
    if (!MayReplaceRun())
        return;
    StartRun({launcher, command.arguments, command.folder, {command.classRoot}, commandText(launcher, command.arguments)},
             {});
}
