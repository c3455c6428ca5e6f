#include "commandline.h"

#include <QCommandLineParser>
#include <QDir>

TCommandLine TCommandLine::Parse(const QStringList& arguments, const QString& currentDir)
{
    TCommandLine result;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Parsed without an application object, so that --help and --version
    // answer also where no display can be opened.
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption newWindow(QStringLiteral("new-window"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(newWindow);

    if (!parser.parse(arguments)) {
        result.done = true;
        result.exitCode = 2;
        result.output = parser.errorText() + QStringLiteral("\nTry --help.\n");
        return result;
    }
    if (parser.isSet(help)) {
        result.done = true;
        result.output = QStringLiteral(
            "Usage: tarnel [options] [files...]\n"
            "Tarnel, an editor for HTML, JSP, Java and batch files.\n\n"
            "Each file opens in a tab of its own. When Tarnel already runs on this\n"
            "display, the files go to its window.\n\n"
            "Options:\n"
            "  -h, --help        Shows this help and ends.\n"
            "  -v, --version     Shows the version and ends.\n"
            "  --new-window      Opens a window of its own instead of handing the\n"
            "                    files to a running one.\n");
        return result;
    }
    if (parser.isSet(version)) {
        result.done = true;
        result.output = QStringLiteral("Tarnel 0.9.1\n");
        return result;
    }
    result.newWindow = parser.isSet(newWindow);
    const QDir dir(currentDir);
    for (const QString& file : parser.positionalArguments())
        result.files.append(QDir::cleanPath(dir.absoluteFilePath(file)));
    return result;
}
