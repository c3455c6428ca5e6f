#include "processes.h"

#include <QFileInfo>
#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Fills process with what to start for program, or says why nothing can be.
bool prepare(QProcess& process, const QString& program, const QStringList& arguments, QString& error)
{
    const bool batch = program.endsWith(QLatin1String(".bat"), Qt::CaseInsensitive);
    if (batch) {
        // /bin/sh would start happily and only then fail on a missing
        // script, where nobody hears of it.
        const QFileInfo file(program);
        if (file.isDir()) {
            error = QStringLiteral("It is a folder.");
            return false;
        }
        if (!file.exists()) {
            error = QStringLiteral("No such file or directory.");
            return false;
        }
    }
#ifdef Q_OS_WIN
    process.setProgram(program);
    process.setArguments(arguments);
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_HIDE;
        args->flags |= CREATE_NO_WINDOW;
    });
#else
    if (batch) {
        process.setProgram(QStringLiteral("/bin/sh"));
        process.setArguments(QStringList{program} + arguments);
    } else {
        process.setProgram(program);
        process.setArguments(arguments);
    }
#endif
    // Nothing is ever typed into a hidden program: one that asks would wait
    // for ever.
    process.setStandardInputFile(QProcess::nullDevice());
    return true;
}

QString reason(const QProcess& process)
{
    const QString text = process.errorString();
    return text.isEmpty() || text == QLatin1String("Unknown error") ? QStringLiteral("The program could not be started.")
                                                                     : text;
}

} // namespace

bool Processes::Start(const QString& program, const QStringList& arguments, QString& error)
{
    QProcess process;
    if (!prepare(process, program, arguments, error))
        return false;
    if (!process.startDetached()) {
        error = reason(process);
        return false;
    }
    return true;
}

bool Processes::Run(const QString& program, const QStringList& arguments, const QString& workingDir,
                    const TServices::TProcessWatch& watch, QString& error)
{
    auto* process = new QProcess;
    if (!prepare(*process, program, arguments, error)) {
        delete process;
        return false;
    }
    process->setProcessChannelMode(QProcess::MergedChannels);
    if (!workingDir.isEmpty())
        process->setWorkingDirectory(workingDir);
    process->start();
    if (!process->waitForStarted(kStartTimeoutMs)) {
        error = reason(*process);
        // A start that only timed out may still come: it must not run on
        // unwatched.
        process->kill();
        process->deleteLater();
        return false;
    }
    // The signals are connected only now, so nothing is reported from inside
    // this call.
    QObject::connect(process, &QProcess::readyReadStandardOutput, process, [process, watch] {
        const QByteArray output = process->readAllStandardOutput();
        if (watch.OnOutput && !output.isEmpty())
            watch.OnOutput(output);
    });
    QObject::connect(process, &QProcess::finished, process, [process, watch](int exitCode, QProcess::ExitStatus status) {
        const QByteArray rest = process->readAllStandardOutput();
        if (watch.OnOutput && !rest.isEmpty())
            watch.OnOutput(rest);
        if (watch.OnFinished)
            watch.OnFinished(exitCode, status == QProcess::CrashExit ? QStringLiteral("The program crashed.") : QString());
        process->deleteLater();
    });
    return true;
}
