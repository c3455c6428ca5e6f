// What the user sets comes back: the real program is started, worked
// through its menus and dialogs by the scripted user (app/scriptedstart.h),
// ended or killed, and started again on the same settings file.

#include "qtsettingsstore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RestartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("config/Tarnel")));
        ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("docs")));
        for (const auto& [name, text] : {std::pair<QString, QByteArray>{"page.jsp", "<p>page</p>\n"},
                                         {"Hello.java", "class Hello {}\n"},
                                         {"index.html", "<h1>index</h1>\n"}}) {
            files.append(Doc(name));
            WriteFile(files.last(), text);
        }
    }

    QString Doc(const QString& name) const { return home.filePath(QStringLiteral("docs/") + name); }
    QString IniPath() const { return home.filePath(QStringLiteral("config/Tarnel/Tarnel.ini")); }

    static void WriteFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes);
    }

    // Starts the program on the settings and data folders of the test, with
    // a script for the scripted user.
    void Start(QProcess& program, const QStringList& arguments, const QString& script) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
        // No printer of the machine: printing goes to a PDF file.
        environment.insert(QStringLiteral("CUPS_SERVER"), home.filePath(QStringLiteral("no-cups")));
        environment.insert(QStringLiteral("TARNEL_KEYS_AFTER_START"), script);
        environment.remove(QStringLiteral("TARNEL_QUIT_AFTER_START"));
        program.setProcessEnvironment(environment);
        program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tarnel"),
                      QStringList{QStringLiteral("--new-window")} + arguments);
        ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();
    }

    // One run of the program, ended by its script or, with kill, killed once
    // the script is over; its output lines.
    QStringList Run(const QStringList& arguments, const QString& script, bool kill = false) const
    {
        QProcess program;
        Start(program, arguments, script);
        QString out;
        QDeadlineTimer deadline(60000);
        while (!(kill && out.contains(QStringLiteral("keys typed"))) && !deadline.hasExpired()
               && program.state() == QProcess::Running) {
            program.waitForReadyRead(100);
            out += QString::fromUtf8(program.readAllStandardOutput());
        }
        if (program.state() == QProcess::Running) {
            program.kill();
            EXPECT_TRUE(program.waitForFinished(10000));
        }
        out += QString::fromUtf8(program.readAllStandardOutput());
        EXPECT_TRUE(out.contains(QStringLiteral("keys typed"))) << out.toStdString();
        return out.split(u'\n', Qt::SkipEmptyParts);
    }

    // The lines of out that start with prefix, one text; with report, only
    // those of the report'th "{Report}" (from 0).
    static std::string Lines(const QStringList& out, const QString& prefix, int report = -1)
    {
        QStringList lines;
        int reports = -1;
        for (const QString& line : out) {
            reports += line.startsWith(QLatin1String("title: "));
            if (line.startsWith(prefix) && (report < 0 || report == reports))
                lines.append(line);
        }
        return lines.join(u'\n').toStdString();
    }

    // What Lines gives for these paths, each after prefix.
    static std::string Listed(const QString& prefix, const QStringList& paths)
    {
        QStringList lines;
        for (const QString& path : paths)
            lines.append(prefix + path);
        return lines.join(u'\n').toStdString();
    }

    // The spellings of the program's key in the INI file.
    QStringList SoftwareRoots() const
    {
        QSettings ini(IniPath(), QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("Software"));
        return ini.childGroups();
    }

    QTemporaryDir home;
    QStringList files;
};

} // namespace

TEST_F(RestartTest, EverythingTheUserSetComesBackAtTheNextStart)
{
    const QString pdf = Doc(QStringLiteral("printed.pdf"));
    const QStringList first = Run(
        files, QStringLiteral("{OptionItemsPreferens}<JavacPath=/opt/jdk/bin/javac;ParamEdit= -g -Xlint;"
                              "AppWidthEdit=640;AppHeightEdit=400;ReopenCheck=True;Utf8Check=False;"
                              "KeepUndoCheck=True;OkButton>"
                              "{Report}{ToolItemsVisibleForm}{ToolBook>120,0}"
                              "{FileItemsPrint}<accept><fileNameEdit=%1;accept>"
                              "{Report}{FileItemsExit}")
                   .arg(pdf));
    EXPECT_EQ(Lines(first, QStringLiteral("script:")), "");
    const std::string opened = Listed(QStringLiteral("document: "), files);
    EXPECT_EQ(Lines(first, QStringLiteral("document: "), 1), opened);
    // The bars as the start left them, then as the user did: one hidden,
    // one dragged along its row. The "JSP and Java Items" bar is not kept.
    EXPECT_NE(Lines(first, QStringLiteral("bar: ToolBook"), 0), Lines(first, QStringLiteral("bar: ToolBook"), 1));
    EXPECT_NE(Lines(first, QStringLiteral("bar: ToolForm visible"), 0), "");
    EXPECT_NE(Lines(first, QStringLiteral("bar: ToolForm hidden"), 1), "");
    EXPECT_TRUE(QFile::exists(pdf));

    const QStringList second = Run({}, QStringLiteral("{Report}{OptionItemsPreferens}<?JavacPath;?ParamEdit;"
                                                      "?AppWidthEdit;?AppHeightEdit;?ReopenCheck;?Utf8Check;"
                                                      "?KeepUndoCheck;CancelButton>{FileItemsExit}"));
    EXPECT_EQ(Lines(second, QStringLiteral("document: ")), opened);
    EXPECT_EQ(Lines(second, QStringLiteral("recent: ")), Listed(QStringLiteral("recent: "), {files[2], files[1], files[0]}));
    for (const char* bar : {"bar: ButtonBar", "bar: ToolHTML", "bar: ToolForm", "bar: ToolTable", "bar: ToolBook"})
        EXPECT_EQ(Lines(second, QLatin1String(bar)), Lines(first, QLatin1String(bar), 1));
    EXPECT_EQ(Lines(second, QStringLiteral("dialog: ")), "dialog: Preferences...");
    for (const char* field : {"JavacPath: /opt/jdk/bin/javac", "ParamEdit:  -g -Xlint", "AppWidthEdit: 640",
                              "AppHeightEdit: 400", "ReopenCheck: True", "Utf8Check: False", "KeepUndoCheck: True"})
        EXPECT_EQ(Lines(second, QLatin1String(field)), field);

    // One spelling of the program's key, and the PDF's name kept in it.
    EXPECT_EQ(SoftwareRoots(), QStringList{"tarnel"});
    TQtSettingsStore store(IniPath());
    EXPECT_EQ(store.ReadString(QStringLiteral("Software\\TARNEL\\Print"), QStringLiteral("PdfFile"), QString()), pdf);
}

TEST_F(RestartTest, AKilledRunKeepsItsRecentFilesAndOpenDocuments)
{
    // A settings file as earlier versions wrote it, both spellings of the
    // program's key in it: a recent file, and the session of an earlier exit
    // with five files, none of which is open this time.
    QStringList stale;
    for (int n = 0; n < 5; ++n) {
        stale.append(Doc(QStringLiteral("stale%1.txt").arg(n)));
        WriteFile(stale.last(), "stale\n");
    }
    QByteArray ini = "[Software]\n"
                     "TARNEL\\RecentItems\\MRUList\\File0=" + stale[0].toUtf8() + "\n"
                     "TARNEL\\RecentItems\\MRUList\\Name0=stale0.txt\n";
    for (int n = 0; n < 5; ++n)
        ini += "tarnel\\Tarnel\\Session\\File" + QByteArray::number(n) + "=" + stale[n].toUtf8() + "\n";
    WriteFile(IniPath(), ini);

    const QStringList first =
        Run(files, QStringLiteral("{OptionItemsPreferens}<ReopenCheck=True;OkButton>"), true);
    EXPECT_EQ(Lines(first, QStringLiteral("script:")), "");

    const QStringList second = Run({}, QStringLiteral("{Report}"), true);
    EXPECT_EQ(Lines(second, QStringLiteral("document: ")), Listed(QStringLiteral("document: "), files));
    EXPECT_EQ(Lines(second, QStringLiteral("recent: ")),
              Listed(QStringLiteral("recent: "), {files[2], files[1], files[0], stale[0]}));
    EXPECT_EQ(SoftwareRoots(), QStringList{"tarnel"});
}

TEST_F(RestartTest, TheTabOrderAndTheFolderPanelComeBack)
{
    const QString folder = home.filePath(QStringLiteral("docs"));
    const QStringList first =
        Run(files, QStringLiteral("{OptionItemsPreferens}<ReopenCheck=True;OkButton>"
                                  "{FileItemsOpenFolder}<fileNameEdit=%1;accept>"
                                  "{EditorTab>0,2}{FolderSplit>80,0}{Report}{FileItemsExit}")
                       .arg(folder));
    EXPECT_EQ(Lines(first, QStringLiteral("script:")), "");
    // The first tab was dragged to the end.
    const std::string order = Listed(QStringLiteral("document: "), {files[1], files[2], files[0]});
    EXPECT_EQ(Lines(first, QStringLiteral("document: ")), order);
    const std::string panel = Lines(first, QStringLiteral("panel: "));
    EXPECT_EQ(panel, QStringLiteral("panel: %1 320").arg(folder).toStdString());

    const QStringList second = Run({}, QStringLiteral("{Report}"), true);
    EXPECT_EQ(Lines(second, QStringLiteral("document: ")), order);
    EXPECT_EQ(Lines(second, QStringLiteral("panel: ")), panel);
}
