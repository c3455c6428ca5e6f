// A process that saves one file through the real saver and can be stopped
// at any step of the save, for a test to kill it there:
//
//   tarnel_savechild JOURNAL TARGET TEXT [--backup PATH] [--user UID]
//                    [--list | --stop STEP#N]
//
// It keeps an autosave journal in JOURNAL, as the editor does (its folder
// takes the save's record), loads TEXT into a text store and saves it to
// TARGET, with a backup at PATH when asked. --user drops to that user (and
// the group of the same number) first, for a folder that the user may not
// add files to. --list prints every step the save reaches ("step NAME#N",
// N counting from 1 for steps that repeat); --stop prints "stopped" when
// the save reaches that step and then waits to be killed. At the end it
// prints "saved", or "failed: " and the message.

#include "filesaver.h"
#include "journal.h"
#include "memosource.h"

#include <QCoreApplication>

#include <cstdio>
#include <map>
#include <string>

#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: %s JOURNAL TARGET TEXT [--backup PATH] [--user UID] [--list | --stop STEP#N]\n",
                     argv[0]);
        return 2;
    }
    QString backup;
    QString stop;
    bool list = false;
    for (qsizetype i = 4; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--backup") && i + 1 < args.size())
            backup = args[++i];
        else if (args[i] == QLatin1String("--stop") && i + 1 < args.size())
            stop = args[++i];
        else if (args[i] == QLatin1String("--list"))
            list = true;
        else if (args[i] == QLatin1String("--user") && i + 1 < args.size()) {
            const uid_t user = args[++i].toUInt();
            if (::setgid(user) != 0 || ::setuid(user) != 0) {
                std::perror("setuid");
                return 2;
            }
        }
    }

    TJournal journal(args[1]);
    TMemoSource document;
    QString error;
    if (!document.LoadFromFile(args[3], &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    if (!backup.isEmpty()) {
        document.SetOptions(document.Options() | soCreateBackups);
        document.OnGetBackupName = [backup](TCustomMemoSource&, const QString&) { return backup; };
    }

    std::map<std::string, int> reached;
    FileSaverFaults::SetStepHook([&](const char* step) {
        const std::string name = std::string(step) + '#' + std::to_string(++reached[step]);
        if (list)
            std::printf("step %s\n", name.c_str());
        if (QString::fromStdString(name) == stop) {
            std::printf("stopped\n");
            std::fflush(stdout);
            for (;;)
                ::pause();
        }
    });
    const bool saved = document.SaveToFile(args[2], &error);
    FileSaverFaults::SetStepHook({});
    if (saved)
        std::printf("saved\n");
    else
        std::printf("failed: %s\n", qPrintable(error));
    return 0;
}
