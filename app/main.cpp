#include "commandline.h"
#include "instancechannel.h"
#include "mainform.h"
#include "memosource.h"
#include "qtservices.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

namespace {

// For checks of an installed program: once the files of the command line
// are open, the window's title and every document are printed and the
// program ends.
void reportAndQuit(const TMainForm& form)
{
    std::printf("title: %s\n", qUtf8Printable(form.windowTitle()));
    for (int i = 0; i < form.DocumentCount(); ++i)
        std::printf("document: %s\n", qUtf8Printable(form.Document(i)->FileName()));
    std::fflush(stdout);
    QCoreApplication::quit();
}

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

    TQtServices services;
    SetServices(&services);
    TMainForm mainForm;
    mainForm.showMaximized();
    // A start with --new-window answers second starts only when no other
    // window does.
    channel.Listen();
    QObject::connect(&channel, &TInstanceChannel::FilesReceived, &mainForm, [&mainForm](const QStringList& files) {
        mainForm.OpenFiles(files);
        mainForm.BringToFront();
    });
    QTimer::singleShot(0, &mainForm, [&mainForm, &commandLine] {
        mainForm.OpenFiles(commandLine.files);
        if (qEnvironmentVariableIsSet("TARNEL_QUIT_AFTER_START"))
            reportAndQuit(mainForm);
    });
    const int result = app.exec();
    SetServices(nullptr);
    return result;
}
