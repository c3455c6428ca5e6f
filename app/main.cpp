#include "commandline.h"
#include "instancechannel.h"
#include "mainform.h"
#include "memosource.h"
#include "qtservices.h"

#include "dcmemo.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
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

// For tests that run the program as a user would and then stop it hard:
// TARNEL_KEYS_AFTER_START is typed into the editor once the start is over,
// each character as a key press of its own; "{Name}" runs the menu item or
// button of that name ("{FileItemsNew}"), "{Return}" presses Enter.
void typeKeys(TMainForm& form, const QString& keys)
{
    auto press = [&form](int key, const QString& text) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(form.TarnelEditor(), &down);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(form.TarnelEditor(), &up);
    };
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QChar c = keys.at(i);
        const qsizetype close = c == u'{' ? keys.indexOf(u'}', i) : -1;
        if (close > i) {
            const QString name = keys.mid(i + 1, close - i - 1);
            if (name == QLatin1String("Return"))
                press(Qt::Key_Return, QStringLiteral("\r"));
            else if (QAction* action = form.Action(name))
                action->trigger();
            i = close;
            continue;
        }
        press(c.isLetter() ? c.toUpper().unicode() : c.unicode(), QString(c));
    }
    std::printf("keys typed\n");
    std::fflush(stdout);
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
        const bool quitAfterStart = qEnvironmentVariableIsSet("TARNEL_QUIT_AFTER_START");
        // A check that only starts the program never waits on the
        // recovery question.
        if (!quitAfterStart)
            mainForm.RestoreSession();
        mainForm.OpenFiles(commandLine.files);
        if (qEnvironmentVariableIsSet("TARNEL_KEYS_AFTER_START"))
            typeKeys(mainForm, qEnvironmentVariable("TARNEL_KEYS_AFTER_START"));
        if (quitAfterStart)
            reportAndQuit(mainForm);
    });
    const int result = app.exec();
    SetServices(nullptr);
    return result;
}
