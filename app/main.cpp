#include "commandline.h"
#include "instancechannel.h"
#include "mainform.h"
#include "qtservices.h"
#include "scriptedstart.h"
#include "startwarmup.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// For the start-up benchmark (TARNEL_EXIT_AT_FIRST_PAINT): ends the process
// as soon as the main window was painted and shown for the first time, so
// that the process's run time is the time to the first painted window. The
// window's own paint event comes before its children's, so the exit is
// queued: it comes after the whole paint and its flush to the screen.
class TExitAtFirstPaint : public QObject {
public:
    explicit TExitAtFirstPaint(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, [] {
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const TCommandLine commandLine = TCommandLine::Parse(arguments, QDir::currentPath());
    if (commandLine.done) {
        std::fputs(qUtf8Printable(commandLine.output), commandLine.exitCode == 0 ? stdout : stderr);
        return commandLine.exitCode;
    }

    QApplication app(argc, argv);
    // No display name: the toolkit would add it to the window's title.
    QApplication::setApplicationName(QStringLiteral("Tarnel"));

    TInstanceChannel channel;
    if (!commandLine.newWindow && channel.HandOver(commandLine.files))
        return 0;
    // From here on this start is the editor: the fonts and image plugins
    // are made ready on a second thread while the window is built.
    const TStartWarmUp warmUp;

    TQtServices services;
    SetServices(&services);
    TMainForm mainForm;
    if (qEnvironmentVariableIsSet("TARNEL_EXIT_AT_FIRST_PAINT"))
        new TExitAtFirstPaint(mainForm);
    mainForm.showMaximized();
    // A start with --new-window answers second starts only when no other
    // window does.
    channel.Listen();
    QObject::connect(&channel, &TInstanceChannel::FilesReceived, &mainForm, [&mainForm](const QStringList& files) {
        mainForm.OpenFiles(files);
        mainForm.BringToFront();
    });
    QTimer::singleShot(0, &mainForm, [&mainForm, &commandLine] {
        const bool quitAfterStart = qEnvironmentVariableIsSet("TARNEL_QUIT_AFTER_START");
        // A check that only starts the program never waits on the
        // recovery question.
        if (!quitAfterStart)
            mainForm.RestoreSession();
        mainForm.OpenFiles(commandLine.files);
        // For tests that run the program as a user would (see
        // scriptedstart.h), and for checks of an installed program, which
        // end once the files of the command line are open.
        if (qEnvironmentVariableIsSet("TARNEL_KEYS_AFTER_START"))
            ScriptedStart::Run(mainForm, qEnvironmentVariable("TARNEL_KEYS_AFTER_START"));
        if (quitAfterStart) {
            ScriptedStart::Report(mainForm);
            QCoreApplication::quit();
        }
    });
    const int result = app.exec();
    SetServices(nullptr);
    return result;
}
