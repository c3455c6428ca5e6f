#include "processes.h"

#include <QFileInfo>
#include <QPointer>
#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
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
    return true;
}

// The run's side of a watched process. The process may be gone (it frees
// itself once ended); the run then only answers that it is not running.
class TRun : public TServices::TProcessRun {
public:
    explicit TRun(QProcess* process) : m_process(process), m_pid(process->processId()) {}

    bool Running() const override { return m_running; }

    bool Write(const QByteArray& bytes) override
    {
        return m_running && m_process && m_process->write(bytes) == bytes.size();
    }

    void Stop() override
    {
        if (!m_running || m_stopped)
            return;
        m_stopped = true;
#ifdef Q_OS_WIN
        QProcess::startDetached(QStringLiteral("taskkill"),
                                {QStringLiteral("/PID"), QString::number(m_pid), QStringLiteral("/T"), QStringLiteral("/F")});
#else
        // The whole group: the program and whatever it started that did not
        // leave it.
        ::kill(-pid_t(m_pid), SIGKILL);
#endif
        if (m_process)
            m_process->kill();
    }

    void Ended() { m_running = false; }
    bool Stopped() const { return m_stopped; }

private:
    QPointer<QProcess> m_process;
    qint64 m_pid;
    bool m_running = true;
    bool m_stopped = false;
};

QString reason(const QProcess& process)
{
    const QString text = process.errorString();
    return text.isEmpty() || text == QLatin1String("Unknown error") ? QStringLiteral("The program could not be started.")
                                                                     : text;
}

} // namespace

std::shared_ptr<TServices::TProcessRun> Processes::Run(const QString& program, const QStringList& arguments,
                                                       const QString& workingDir,
                                                       const TServices::TProcessWatch& watch, QString& error)
{
    auto* process = new QProcess;
    if (!prepare(*process, program, arguments, error)) {
        delete process;
        return nullptr;
    }
    if (!workingDir.isEmpty())
        process->setWorkingDirectory(workingDir);
#ifndef Q_OS_WIN
    // In the child, before the program is executed.
    process->setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
    process->start();
    if (!process->waitForStarted(kStartTimeoutMs)) {
        error = reason(*process);
        // A start that only timed out may still come: it must not run on
        // unwatched.
        process->kill();
        process->deleteLater();
        return nullptr;
    }
    auto run = std::make_shared<TRun>(process);
    // The signals are connected only now, so nothing is reported from inside
    // this call. Each holds the run, which so lives as long as the process.
    auto forward = [process, watch](QProcess::ProcessChannel channel) {
        process->setReadChannel(channel);
        const QByteArray output = process->readAll();
        if (watch.OnOutput && !output.isEmpty())
            watch.OnOutput(output, channel == QProcess::StandardError);
    };
    QObject::connect(process, &QProcess::readyReadStandardOutput, process,
                     [forward] { forward(QProcess::StandardOutput); });
    QObject::connect(process, &QProcess::readyReadStandardError, process,
                     [forward] { forward(QProcess::StandardError); });
    QObject::connect(process, &QProcess::finished, process,
                     [process, watch, run, forward](int exitCode, QProcess::ExitStatus status) {
                         forward(QProcess::StandardOutput);
                         forward(QProcess::StandardError);
                         run->Ended();
                         QString failure;
                         if (run->Stopped())
                             failure = TServices::kStopped;
                         else if (status == QProcess::CrashExit)
                             failure = QStringLiteral("The program crashed.");
                         if (watch.OnFinished)
                             watch.OnFinished(exitCode, failure);
                         process->deleteLater();
                     });
    return run;
}
