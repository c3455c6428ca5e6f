// Settings kept between runs: the main window's placement and tool bars, and
// the preferences dialog. Every test ends a run and starts another one on
// the INI file the first one wrote, as the program does from one start to
// the next.

#include "common/fakeservices.h"
#include "formstorage.h"
#include "mainform.h"
#include "memosource.h"
#include "outputpane.h"
#include "preferenceform.h"
#include "qtsettingsstore.h"
#include "toolbarstate.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QSplitter>
#include <QStyle>
#include <QStyleOptionToolBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kMainSection = QStringLiteral("Tarnel\\MainWindow");
const QStringList kKeptBars = {"ToolHTML", "ToolForm", "ToolTable", "ToolBook"};
const QRect kDesign(30, 40, 700, 500);

// The scripted services over a real INI file. Reopen drops the store and
// opens the file again, as the next start of the program does.
class TIniServices : public TFakeServices {
public:
    explicit TIniServices(QString path) : m_path(std::move(path)) { Reopen(); }
    TSettingsStore& Settings() override { return *m_store; }
    void Reopen()
    {
        m_store.reset();
        m_store = std::make_unique<TQtSettingsStore>(m_path);
    }

private:
    QString m_path;
    std::unique_ptr<TQtSettingsStore> m_store;
};

QPoint handleCenter(QToolBar* bar)
{
    QStyleOptionToolBar option;
    option.initFrom(bar);
    option.features = QStyleOptionToolBar::Movable;
    if (bar->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    return bar->style()->subElementRect(QStyle::SE_ToolBarHandle, &option, bar).center();
}

// Drags a bar by its handle to a point of the screen, as the mouse does.
void dragBar(QToolBar* bar, QPoint target)
{
    const QPoint start = bar->mapToGlobal(handleCenter(bar));
    auto send = [bar](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(bar->mapFromGlobal(global)), QPointF(global), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(bar, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    constexpr int kSteps = 12;
    for (int i = 1; i <= kSteps; ++i)
        send(QEvent::MouseMove, start + (target - start) * i / kSteps, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, target, Qt::NoButton);
    QApplication::processEvents();
}

} // namespace

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(programDir.isValid() && settingsDir.isValid());
        ASSERT_TRUE(QDir(programDir.path()).mkpath(QStringLiteral("Dat")));
        QFile tags(programDir.filePath(QStringLiteral("Dat/Tags.txt")));
        ASSERT_TRUE(tags.open(QIODevice::WriteOnly));
    }

    void TearDown() override
    {
        TPreferenceForm::ExecHook = nullptr;
        form.reset();
    }

    // One start of the program: the window made and shown where the design
    // puts it, the stored settings then taking over.
    void Start(bool maximized = false)
    {
        form = std::make_unique<TMainForm>(programDir.path());
        form->setGeometry(kDesign);
        if (maximized)
            form->showMaximized();
        else
            form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::processEvents();
    }

    // The user closes the window; the next start reads what it wrote.
    void Stop()
    {
        for (int i = 0; i < form->DocumentCount(); ++i)
            form->Document(i)->SetModified(false);
        EXPECT_TRUE(form->close());
        form.reset();
        services.Reopen();
    }

    void Restart()
    {
        Stop();
        Start();
    }

    QToolBar* Bar(const QString& name) const { return form->ToolBar(name); }

    // Opens Options, Preferences... with hook driving the dialog.
    void Preferences(std::function<void(TPreferenceForm&)> hook)
    {
        TPreferenceForm::ExecHook = std::move(hook);
        form->Action(QStringLiteral("OptionItemsPreferens"))->trigger();
        TPreferenceForm::ExecHook = nullptr;
    }

    static QStringList Fields(const TPreferenceForm& dialog)
    {
        return {dialog.JavacPath()->text(), dialog.ParamEdit()->text(), dialog.AppWidthEdit()->text(),
                dialog.AppHeightEdit()->text(), dialog.ProgramArgsEdit()->text()};
    }

    static QStringList Stored()
    {
        const TPreferenceForm::TJavaSettings s = TPreferenceForm::StoredSettings();
        return {s.javacPath, s.parameters, s.appletWidth, s.appletHeight, s.programArguments};
    }

    static void Retype(QWidget* field, const QString& text)
    {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

    QString IniPath() const { return settingsDir.filePath(QStringLiteral("Tarnel.ini")); }

    void WriteIni(const QByteArray& bytes) const
    {
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // A line of the "[Software]" part of the INI file for a value of one of
    // this program's sections.
    static QByteArray Line(const QString& section, const QString& name, const QByteArray& value)
    {
        const QString key = TFormStorage::Key(section).mid(QStringLiteral("Software\\").size()) + u'\\' + name;
        return key.toUtf8() + '=' + value + '\n';
    }

    QTemporaryDir programDir;
    QTemporaryDir settingsDir;
    TIniServices services{settingsDir.filePath(QStringLiteral("Tarnel.ini"))};
    std::unique_ptr<TMainForm> form;
};

TEST_F(SettingsTest, AFirstRunShowsTheDesignAndStoresEveryValueOnClose)
{
    Start();
    for (const QString& name : kKeptBars) {
        EXPECT_TRUE(Bar(name)->isVisible()) << name.toStdString();
        EXPECT_EQ(form->toolBarArea(Bar(name)), Qt::TopToolBarArea);
    }
    EXPECT_EQ(form->geometry(), kDesign);

    QStringList shown;
    QStringList labels;
    Preferences([&](TPreferenceForm& dialog) {
        shown = Fields(dialog);
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            labels.append(label->text());
        EXPECT_EQ(dialog.windowTitle(), "Preferences...");
        EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
        QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    });
    EXPECT_EQ(shown, (QStringList{"", "", "480", "360", ""}));
    labels.sort();
    EXPECT_EQ(labels, (QStringList{"Compiler Path (Locate Javac.exe):", "Default Applet Size (pixels):", "Height:",
                                   "Only for Javac and parameters right now.", "Parameters:", "Program arguments:",
                                   "Width:"}));
    // What a compile started now would use: no compiler, so it reports one
    // missing.
    EXPECT_EQ(Stored(), (QStringList{"", "", "480", "360", ""}));
    Stop();

    // The window's section holds its placement, the six values of each
    // kept bar and the Output pane's height; the preferences, cancelled,
    // only their placement.
    QStringList expected = {"Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos", "NormPos", "Visible"};
    const QStringList placement = expected;
    expected.append(QStringLiteral("OutputPane_Height"));
    for (const QString& bar : kKeptBars) {
        for (const char* property : {"Visible", "DockedTo", "DockRow", "DockPos", "Left", "Top"})
            expected.append(bar + u'_' + QLatin1String(property));
    }
    TSettingsStore& store = services.Settings();
    const QString key = TFormStorage::Key(kMainSection);
    QStringList names = store.ValueNames(key);
    names.sort();
    expected.sort();
    EXPECT_EQ(names, expected);
    names = store.ValueNames(TFormStorage::Key(TPreferenceForm::kSection));
    names.sort();
    QStringList sortedPlacement = placement;
    sortedPlacement.sort();
    EXPECT_EQ(names, sortedPlacement);
    EXPECT_EQ(store.ReadString(key, "NormPos", QString()), "30,40,730,540");
    EXPECT_EQ(store.ReadString(key, "ShowCmd", QString()), "1");
    EXPECT_EQ(store.ReadString(key, "Visible", QString()), "0");
    EXPECT_EQ(store.ReadString(key, "ToolForm_Visible", QString()), "True");
    EXPECT_EQ(store.ReadString(key, "ToolForm_DockedTo", QString()), "TopDock");
    EXPECT_EQ(store.ReadString(key, "ToolForm_DockRow", QString()), "0");

    // The next start puts everything back where it was.
    Start();
    EXPECT_EQ(form->geometry(), kDesign);
    EXPECT_TRUE(services.Messages().isEmpty()) << services.Messages().join('\n').toStdString();
}

TEST_F(SettingsTest, AHiddenBarStaysHiddenAfterARestart)
{
    Start();
    QAction* close = form->findChild<QAction*>(QStringLiteral("ToolFormClose"));
    ASSERT_NE(close, nullptr);
    QTest::mouseClick(Bar("ToolForm")->widgetForAction(close), Qt::LeftButton);
    ASSERT_TRUE(Bar("ToolForm")->isHidden());
    Restart();
    EXPECT_TRUE(Bar("ToolForm")->isHidden());
    EXPECT_FALSE(form->Action("ToolItemsVisibleForm")->isChecked());
    for (const char* other : {"ToolHTML", "ToolTable", "ToolBook", "ToolJSP"})
        EXPECT_TRUE(Bar(other)->isVisible()) << other;

    // Shown again from the menu, it comes back shown.
    form->Action("ToolItemsVisibleForm")->trigger();
    Restart();
    EXPECT_TRUE(Bar("ToolForm")->isVisible());
    EXPECT_TRUE(form->Action("ToolItemsVisibleForm")->isChecked());
}

TEST_F(SettingsTest, BarsComeBackOnTheirSideRowAndPosition)
{
    Start();
    // The Bookmark bar goes to the left side, the Table bar starts a second
    // row, and the Form bar is dragged along the first row, away from the
    // HTML bar. (Moving a bar to another side is done as a drop there ends
    // it; the drag along the row is a real one.)
    form->addToolBar(Qt::LeftToolBarArea, Bar("ToolBook"));
    form->insertToolBarBreak(Bar("ToolTable"));
    QApplication::processEvents();
    QToolBar* bar = Bar("ToolForm");
    const int before = bar->x();
    dragBar(bar, bar->mapToGlobal(handleCenter(bar)) + QPoint(120, 0));
    // Qt keeps the gap by widening the bar before.
    ASSERT_EQ(bar->x(), before + 120);
    ASSERT_GT(Bar("ToolTable")->y(), Bar("ToolForm")->y());

    QHash<QString, QPoint> corners;
    for (const QString& name : kKeptBars)
        corners.insert(name, Bar(name)->pos());
    Restart();

    EXPECT_EQ(form->toolBarArea(Bar("ToolBook")), Qt::LeftToolBarArea);
    EXPECT_EQ(Bar("ToolBook")->orientation(), Qt::Vertical);
    for (const char* name : {"ToolHTML", "ToolForm", "ToolTable"})
        EXPECT_EQ(form->toolBarArea(Bar(name)), Qt::TopToolBarArea) << name;
    for (const QString& name : kKeptBars)
        EXPECT_EQ(Bar(name)->pos(), corners.value(name)) << name.toStdString();

    // What the codec reads of the window's state and writes back is, byte
    // for byte, the tool-bar part Qt itself saves.
    QList<ToolBarState::TLine> lines;
    const QByteArray state = form->saveState();
    ASSERT_TRUE(ToolBarState::Decode(state, lines));
    const QByteArray encoded = ToolBarState::Encode(lines);
    constexpr int kHeader = 8; // version marker and version
    EXPECT_EQ(state.right(encoded.size() - kHeader), encoded.mid(kHeader));
}

TEST_F(SettingsTest, AFloatingBarFloatsAgainWhereItWasLeft)
{
    Start();
    QToolBar* book = Bar("ToolBook");
    dragBar(book, QPoint(300, 700));
    ASSERT_TRUE(book->isFloating());
    const QPoint corner = book->pos();
    Restart();
    book = Bar("ToolBook");
    EXPECT_TRUE(book->isFloating());
    EXPECT_TRUE(book->isVisible());
    EXPECT_EQ(book->pos(), corner);
    EXPECT_EQ(services.Settings().ReadString(TFormStorage::Key(kMainSection), "ToolBook_DockedTo", "?"), "");
}

TEST_F(SettingsTest, PreferencesKeepWhatOkStoredAndCancelThrowsAway)
{
    Start();
    const QString javac = QDir::toNativeSeparators(QStringLiteral("/opt/jdk/bin/javac"));
    services.ChooseFile(QStringLiteral("/opt/jdk/bin/javac"));
    // The enabling rule runs on OK: Paste follows a clipboard filled behind
    // the window's back only then.
    services.SetClipboardText("x");
    ASSERT_FALSE(form->Action("EditItemsPaste")->isEnabled());
    Preferences([&](TPreferenceForm& dialog) {
        QTest::mouseClick(dialog.JavacBrowse(), Qt::LeftButton);
        Retype(dialog.ParamEdit(), " -g");
        Retype(dialog.AppWidthEdit(), "640");
        Retype(dialog.ProgramArgsEdit(), "in.txt \"two words\"");
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    });
    ASSERT_EQ(services.FileDialogs().size(), 1);
    EXPECT_EQ(services.FileDialogs().first().title, "Browse Javac");
    EXPECT_EQ(services.FileDialogs().first().filter, TPreferenceForm::kBrowseFilter);
    EXPECT_EQ(Stored(), (QStringList{javac, " -g", "640", "360", "in.txt \"two words\""}));
    EXPECT_TRUE(form->Action("EditItemsPaste")->isEnabled());

    Restart();
    QStringList shown;
    Preferences([&](TPreferenceForm& dialog) {
        shown = Fields(dialog);
        Retype(dialog.JavacPath(), "/tmp/typed/javac");
        Retype(dialog.AppHeightEdit(), "100");
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(shown, (QStringList{javac, " -g", "640", "360", "in.txt \"two words\""}));
    // A compile now uses the path stored before, and so does the next start.
    EXPECT_EQ(Stored(), (QStringList{javac, " -g", "640", "360", "in.txt \"two words\""}));
    Preferences([&](TPreferenceForm& dialog) { shown = Fields(dialog); });
    EXPECT_EQ(shown, (QStringList{javac, " -g", "640", "360", "in.txt \"two words\""}));
    Restart();
    EXPECT_EQ(Stored(), (QStringList{javac, " -g", "640", "360", "in.txt \"two words\""}));
    EXPECT_TRUE(services.Messages().isEmpty()) << services.Messages().join('\n').toStdString();
}

TEST_F(SettingsTest, TheOutputPaneKeepsItsHeightAcrossARestart)
{
    // The pane appears with a run (here one of the scripted services, which
    // runs until stopped); the user drags it taller by the splitter.
    QTemporaryDir files;
    const QString java = files.filePath(QStringLiteral("Hello.java"));
    {
        QFile file(java);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("class Hello {}\n");
    }
    auto run = [&] {
        form->OpenFile(java);
        form->Action(QStringLiteral("ToolItemsJavaRunProgram"))->trigger();
        EXPECT_TRUE(form->OutputPane()->isVisible());
    };
    Start();
    run();
    auto* split = qobject_cast<QSplitter*>(form->OutputPane()->parentWidget());
    ASSERT_NE(split, nullptr);
    QSplitterHandle* handle = split->handle(1);
    const QPoint start = handle->mapToGlobal(handle->rect().center());
    const QPoint target = start - QPoint(0, 80);
    auto send = [handle](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(handle->mapFromGlobal(global)), QPointF(global), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(handle, &event);
    };
    const int before = form->OutputPane()->height();
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    send(QEvent::MouseMove, target, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, target, Qt::NoButton);
    const int height = form->OutputPane()->height();
    EXPECT_GT(height, before);
    QTest::mouseClick(form->OutputPane()->StopButton(), Qt::LeftButton);

    Restart();
    EXPECT_TRUE(form->OutputPane()->isHidden()) << "the pane waits for a run";
    run();
    EXPECT_EQ(form->OutputPane()->height(), height);
    // Closed, it keeps the height it had.
    QTest::mouseClick(form->OutputPane()->StopButton(), Qt::LeftButton);
    QTest::mouseClick(form->OutputPane()->CloseButton(), Qt::LeftButton);
    Restart();
    run();
    EXPECT_EQ(form->OutputPane()->height(), height);
    QTest::mouseClick(form->OutputPane()->StopButton(), Qt::LeftButton);
    EXPECT_TRUE(services.Messages().isEmpty()) << services.Messages().join('\n').toStdString();
}

TEST_F(SettingsTest, TheWindowComesBackOnAScreenInItsStateAndSize)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // The system may shift a window by its frame's width.
    constexpr int kFrame = 8;
    enum Expect { Exactly, Centred, FillsTheScreen, Maximized };
    struct Row {
        const char* normPos;
        const char* showCmd;
        const char* flags;
        Expect expect;
        bool startMaximized = false; // as the program starts
    };
    const QRect stored(120, 80, 500, 400);
    const Row rows[] = {
        {"120,80,620,480", "1", "0", Exactly},
        {"120,80,620,480", "1", "0", Exactly, true},
        {"120,80,620,480", "3", "0", Maximized, true},
        // Off every screen (a monitor since removed): moved onto the primary.
        {"5000,5000,5500,5400", "1", "0", Centred},
        {"-3000,-2000,-2500,-1600", "1", "0", Centred},
        // Larger than the screen: cut to it, and within it.
        {"10,20,4010,3020", "1", "0", FillsTheScreen},
        {"9000,9000,19000,19000", "1", "0", FillsTheScreen},
        // Maximised, and minimised ones come back as they were before.
        {"120,80,620,480", "3", "0", Maximized},
        {"120,80,620,480", "2", "2", Maximized},
        {"120,80,620,480", "2", "0", Exactly},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.normPos) + " show " + row.showCmd + (row.startMaximized ? " from maximised" : ""));
        WriteIni("[Software]\n" + Line(kMainSection, "NormPos", QByteArray("\"") + row.normPos + '"') +
                 Line(kMainSection, "ShowCmd", row.showCmd) + Line(kMainSection, "Flags", row.flags));
        services.Reopen();
        Start(row.startMaximized);
        const QRect got = form->geometry();
        EXPECT_EQ(form->windowState(), row.expect == Maximized ? Qt::WindowMaximized : Qt::WindowNoState);
        switch (row.expect) {
        case Exactly:
            EXPECT_EQ(got, stored);
            break;
        case Centred:
            EXPECT_EQ(got.size(), stored.size());
            EXPECT_LE((got.center() - screen.center()).manhattanLength(), kFrame);
            break;
        case FillsTheScreen:
            EXPECT_EQ(got.size(), screen.size());
            EXPECT_LE((got.topLeft() - screen.topLeft()).manhattanLength(), kFrame);
            break;
        case Maximized:
            EXPECT_EQ(form->normalGeometry(), stored);
            break;
        }
        EXPECT_TRUE(services.Messages().isEmpty()) << services.Messages().join('\n').toStdString();
        Stop();
    }
}

TEST_F(SettingsTest, ADamagedSettingsFileKeepsTheDesignWithOneMessage)
{
    const QString prefs = TPreferenceForm::kSection;
    // named: the message names it (a value that is not text at all reads
    // as missing and keeps the design silently).
    struct Row {
        QString section;
        const char* name;
        QByteArray value;
        bool named = true;
    };
    const QByteArray huge(1 << 20, '7');
    const Row rows[] = {
        {kMainSection, "Flags", "lots"},
        {kMainSection, "ShowCmd", "99"},
        {kMainSection, "PixelsPerInch", "-96"},
        {kMainSection, "MinMaxPos", "\"1,2,3\""},
        {kMainSection, "NormPos", "\"700,500,30,40\""},
        {kMainSection, "Visible", "maybe"},
        {kMainSection, "ToolForm_Visible", "@Rect(0 0 10 10)", false},
        {kMainSection, "ToolForm_DockedTo", "MiddleDock"},
        {kMainSection, "ToolHTML_DockedTo", "@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x7QWidget)", false},
        {kMainSection, "ToolTable_DockRow", "-1"},
        {kMainSection, "ToolBook_DockPos", "99999999999"},
        {kMainSection, "ToolBook_DockedTo", "LeftDock, RightDock"},
        {kMainSection, "ToolHTML_Top", huge},
        {prefs, "JavacPath_Text", QByteArray(40000, 'j')},
        {prefs, "AppWidthEdit_Text", "0"},
        {prefs, "AppHeightEdit_Text", "wide"},
    };
    // Bad values amid lines of no form at all, the file cut short.
    QByteArray ini = "garbage without a section\n\x01\x02\xff\xfe\n[Software]\n=no name\n[unclosed\n[Software]\n";
    for (const Row& row : rows)
        ini += Line(row.section, row.name, row.value);
    ini += Line(prefs, "ParamEdit_Text", "\"cut short");
    ini.chop(1);
    WriteIni(ini);
    services.Reopen();

    Start();
    ASSERT_EQ(services.Messages().size(), 1);
    const QString message = services.Messages().first();
    for (const Row& row : rows) {
        if (row.section == kMainSection) {
            EXPECT_EQ(message.contains(QLatin1String(row.name)), row.named) << row.name;
        }
    }
    EXPECT_EQ(form->geometry(), kDesign);
    EXPECT_EQ(form->windowState(), Qt::WindowNoState);
    for (const QString& bar : kKeptBars) {
        EXPECT_TRUE(Bar(bar)->isVisible()) << bar.toStdString();
        EXPECT_EQ(form->toolBarArea(Bar(bar)), Qt::TopToolBarArea) << bar.toStdString();
    }

    // The preferences show their defaults where values were bad, and a
    // compile reads the same; the damage is not told of twice.
    QStringList shown;
    Preferences([&](TPreferenceForm& dialog) { shown = Fields(dialog); });
    EXPECT_EQ(shown, (QStringList{"", "cut short", "480", "360", ""}));
    EXPECT_EQ(Stored(), shown);
    EXPECT_EQ(services.Messages().size(), 1);

    // Closing writes good values over the bad ones: the next start is clean.
    Restart();
    EXPECT_EQ(form->geometry(), kDesign);
    EXPECT_TRUE(Bar("ToolForm")->isVisible());
    EXPECT_EQ(services.Messages().size(), 1) << services.Messages().join('\n').toStdString();
}
