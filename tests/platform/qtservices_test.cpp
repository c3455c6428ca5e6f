#include "qtservices.h"
#include "qtsettingsstore.h"
#include "systemcolors.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(SettingsStore, KeysAndNamesMatchWithoutRegardToCaseAndPersist)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    {
        TQtSettingsStore store(path);
        store.WriteString("Software\\TARNEL\\RecentItems\\MRUList", "File0", "/tmp/a.jsp");
        store.WriteString("software\\tarnel\\recentitems\\mrulist", "name0", "a.jsp");
        store.WriteInteger("Software\\TARNEL\\RecentItems\\MRUList", "Count", 2);
        EXPECT_TRUE(store.Flush());
    }
    TQtSettingsStore store(path);
    EXPECT_TRUE(store.KeyExists("SOFTWARE\\Tarnel\\RecentItems\\MRUList"));
    EXPECT_FALSE(store.KeyExists("Software\\Other"));
    EXPECT_EQ(store.ReadString("Software\\TARNEL\\RecentItems\\MRUList", "file0", QString()), "/tmp/a.jsp");
    EXPECT_EQ(store.ReadString("Software\\TARNEL\\RecentItems\\MRUList", "Name0", QString()), "a.jsp");
    EXPECT_EQ(store.ReadInteger("Software\\TARNEL\\RecentItems\\MRUList", "Count", 0), 2);
    EXPECT_EQ(store.ValueNames("Software\\TARNEL\\RecentItems\\MRUList").size(), 3);
    store.DeleteValue("Software\\TARNEL\\RecentItems\\MRUList", "FILE0");
    EXPECT_FALSE(store.ValueExists("Software\\TARNEL\\RecentItems\\MRUList", "File0"));
    store.DeleteKey("Software\\TARNEL");
    EXPECT_FALSE(store.KeyExists("Software\\TARNEL\\RecentItems"));
}

// Files holding one key or value in several spellings, as earlier versions
// wrote them (the recent files and the PDF name under "TARNEL", the
// program's sections under "tarnel") or as a hand edit leaves them: every
// value is found under any spelling, none is lost but a duplicate, and the
// file is written back in one spelling, a new value included.
TEST(SettingsStore, EverySpellingOfAKeyReadsAsOneAndIsWrittenAsOne)
{
    struct Row {
        const char* what;
        QByteArray ini;                                       // below "[Software]"
        std::vector<std::array<const char*, 3>> reads;        // key, name, value
        QStringList keysAfter;                                // "Software/" left out
    };
    const std::vector<Row> rows = {
        {"today's file, each value in one spelling",
         "TARNEL\\RecentItems\\MRUList\\File0=/a.jsp\nTARNEL\\Print\\PdfFile=/p.pdf\n"
         "tarnel\\Tarnel\\Preference\\JavacPath_Text=/javac\ntarnel\\Tarnel\\MainWindow\\ToolForm_Visible=False\n",
         {{"Software\\tarnel\\Tarnel\\Preference", "JavacPath_Text", "/javac"},
          {"Software\\TARNEL\\RecentItems\\MRUList", "File0", "/a.jsp"},
          {"software\\tarnel\\print", "PDFFILE", "/p.pdf"},
          {"Software\\tarnel\\Tarnel\\MainWindow", "toolform_visible", "False"}},
         {"tarnel/Print/PdfFile", "tarnel/RecentItems/MRUList/File0", "tarnel/Tarnel/MainWindow/ToolForm_Visible",
          "tarnel/Tarnel/Preference/JavacPath_Text", "tarnel/Tarnel/Preference/Written"}},
        {"one value in both spellings: the spelling holding more wins",
         "TARNEL\\Tarnel\\Preference\\JavacPath_Text=/upper\ntarnel\\Tarnel\\Preference\\JavacPath_Text=/lower\n"
         "tarnel\\Tarnel\\Preference\\ParamEdit_Text=-g\n",
         {{"Software\\TARNEL\\Tarnel\\Preference", "JavacPath_Text", "/lower"},
          {"Software\\TARNEL\\Tarnel\\Preference", "ParamEdit_Text", "-g"}},
         {"tarnel/Tarnel/Preference/JavacPath_Text", "tarnel/Tarnel/Preference/ParamEdit_Text",
          "tarnel/Tarnel/Preference/Written"}},
        {"the upper-case spelling holding more", "TARNEL\\A\\X=1\nTARNEL\\A\\Y=2\ntarnel\\a\\x=3\n",
         {{"Software\\tarnel\\a", "x", "1"}, {"Software\\Tarnel\\A", "Y", "2"}},
         {"TARNEL/A/X", "TARNEL/A/Y", "TARNEL/Tarnel/Preference/Written"}},
        {"a tie deeper down, and value names differing in case",
         "tarnel\\Tarnel\\Session\\File0=a\ntarnel\\TARNEL\\session\\File1=b\n"
         "tarnel\\Tarnel\\Session\\NAME=two\ntarnel\\Tarnel\\Session\\Name=one\n",
         {{"Software\\tarnel\\TARNEL\\Session", "File0", "a"}, {"Software\\tarnel\\Tarnel\\session", "FILE1", "b"},
          {"Software\\tarnel\\Tarnel\\Session", "Name", "two"}, {"Software\\tarnel\\Tarnel\\Session", "name", "two"}},
         {"tarnel/Tarnel/Preference/Written", "tarnel/Tarnel/Session/File0", "tarnel/Tarnel/Session/File1",
          "tarnel/Tarnel/Session/NAME"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir;
        const QString path = dir.filePath("Tarnel.ini");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Software]\n" + row.ini);
        file.close();
        for (const char* pass : {"as found", "as written back"}) {
            SCOPED_TRACE(pass);
            TQtSettingsStore store(path);
            for (const auto& [key, name, value] : row.reads)
                EXPECT_EQ(store.ReadString(key, name, QStringLiteral("<missing>")), value) << key << " " << name;
            store.WriteString("software\\TARNEL\\Tarnel\\Preference", "Written", "w");
        }
        QSettings written(path, QSettings::IniFormat);
        written.beginGroup("Software");
        QStringList keys = written.allKeys();
        keys.sort();
        EXPECT_EQ(keys, row.keysAfter);
    }
}

TEST(SettingsStore, MissingOrMalformedValuesGiveTheFallback)
{
    QTemporaryDir dir;
    TQtSettingsStore store(dir.filePath("s.ini"));
    store.WriteString("Key", "Width", "wide");
    bool ok = true;
    store.ReadString("Key", "Missing", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(store.ReadInteger("Key", "Width", 480), 480);
    EXPECT_EQ(store.ReadInteger("Nowhere", "Width", 360), 360);
    EXPECT_TRUE(store.ReadBool("Key", "Width", true));
}

TEST(FileDialogFilters, TheProgramsFilterStringsBecomeNameFilters)
{
    EXPECT_EQ(TQtServices::NameFilters("Supported Files (*.jsp;*.java;*.ht*)|*.jsp;*.java;*.ht*|Any Files (*.*)|*.*"),
              (QStringList{"Supported Files (*.jsp *.java *.ht*)", "Any Files (*.*)"}));
    EXPECT_EQ(TQtServices::NameFilters("Color scheme (*.rgb)|*.RGB"), QStringList{"Color scheme (*.RGB)"});
    EXPECT_EQ(TQtServices::NameFilters("Template Files|*.tpl"), QStringList{"Template Files (*.tpl)"});
    EXPECT_TRUE(TQtServices::NameFilters("").isEmpty());
}

TEST(SystemColours, StandardColoursKeepTheirBytesAndSystemColoursFollowThePalette)
{
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(10, 20, 30));
    EXPECT_EQ(SystemColors::Resolve(clRed, palette), 0xffff0000u);
    EXPECT_EQ(SystemColors::Resolve(clNavy, palette), 0xff000080u);
    EXPECT_EQ(SystemColors::Resolve(TColor::FromRgb(0x12, 0x34, 0x56), palette), 0xff123456u);
    EXPECT_EQ(SystemColors::Resolve(clWindow, palette), QColor(1, 2, 3).rgba());
    EXPECT_EQ(SystemColors::Resolve(clHighlight, palette), QColor(10, 20, 30).rgba());
    EXPECT_EQ(SystemColors::ToQColor(clNone, palette).alpha(), 0);
}

TEST(Clipboard, TextTravelsAsUnicodeAndColumnBlocksAreMarked)
{
    QTemporaryDir dir;
    TQtServices services(std::make_unique<TQtSettingsStore>(dir.filePath("s.ini")));
    const QString text = QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac \xe6\x97\xa5\xf0\x9f\x98\x80");
    services.SetClipboardText(text, true);
    EXPECT_EQ(QApplication::clipboard()->text(), text);
    bool column = false;
    EXPECT_EQ(services.ClipboardText(&column), text);
    EXPECT_TRUE(column);
    EXPECT_TRUE(services.ClipboardHasText());

    QApplication::clipboard()->setText(QString::fromUtf8("\xe2\x98\x83 snow"));
    EXPECT_EQ(services.ClipboardText(&column), QString::fromUtf8("\xe2\x98\x83 snow"));
    EXPECT_FALSE(column);

    // Another program taking the clipboard is noticed without asking it.
    QApplication::clipboard()->clear();
    EXPECT_FALSE(services.ClipboardHasText());
    QApplication::clipboard()->setText("back");
    EXPECT_TRUE(services.ClipboardHasText());
}

// Rich text goes beside the plain text under the registered "Rich Text
// Format" name and as HTML, so a word processor pastes it highlighted.
TEST(Clipboard, RichTextTravelsBesideThePlainText)
{
    QTemporaryDir dir;
    TQtServices services(std::make_unique<TQtSettingsStore>(dir.filePath("s.ini")));
    services.SetClipboardText("int", false, "{\\rtf1 {\\cf1 int}}", "<pre><span style=\"color:#000080\">int</span></pre>");
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QStringLiteral("int"));
    QString rtfFormat;
    for (const QString& format : data->formats())
        if (format.contains(QStringLiteral("Rich Text Format")))
            rtfFormat = format;
    ASSERT_FALSE(rtfFormat.isEmpty()) << data->formats().join(' ').toStdString();
    EXPECT_EQ(data->data(rtfFormat), QByteArray("{\\rtf1 {\\cf1 int}}"));
    EXPECT_TRUE(data->html().contains(QStringLiteral("color:#000080")));
    EXPECT_EQ(services.ClipboardText(), "int");
}

// Takes the URLs the desktop services would hand to the system, by scheme.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void Open(const QUrl& url) { urls.append(url); }
};

class ShellOpenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        previousDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        QDesktopServices::setUrlHandler("http", &web, "Open");
        QDesktopServices::setUrlHandler("file", &files, "Open");
    }

    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler("http");
        QDesktopServices::unsetUrlHandler("file");
        QDir::setCurrent(previousDir);
    }

    QTemporaryDir dir;
    QString previousDir;
    UrlCatcher web;
    UrlCatcher files;
    TQtServices services{std::make_unique<TQtSettingsStore>(dir.filePath("s.ini"))};
};

TEST_F(ShellOpenTest, AnAddressIsNeverTakenForALocalFileOfTheSameName)
{
    // "http://evil.example/x" read as a relative path names this file.
    ASSERT_TRUE(QDir().mkpath("http:/evil.example"));
    QFile planted("http:/evil.example/x");
    ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    planted.close();
    ASSERT_TRUE(QFileInfo::exists("http://evil.example/x"));

    EXPECT_TRUE(services.ShellOpen("http://evil.example/x"));
    EXPECT_EQ(web.urls, QList<QUrl>{QUrl("http://evil.example/x")});
    EXPECT_TRUE(files.urls.isEmpty());
}

TEST_F(ShellOpenTest, APathWithoutSchemeIsALocalFile)
{
    QFile page(dir.filePath("help.htm"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    EXPECT_TRUE(services.ShellOpen(dir.filePath("help.htm")));
    // Relative to the current folder.
    EXPECT_TRUE(services.ShellOpen("help.htm"));
    EXPECT_EQ(files.urls, (QList<QUrl>{QUrl::fromLocalFile(dir.filePath("help.htm")),
                                       QUrl::fromLocalFile(QDir::current().absoluteFilePath("help.htm"))}));
    EXPECT_TRUE(web.urls.isEmpty());
}

} // namespace

#include "qtservices_test.moc"
