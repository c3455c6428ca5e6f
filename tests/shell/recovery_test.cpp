// Unsaved work survives a crash: the program is run for real, typed into,
// killed, and started again on the same data folder; entries follow the
// unsaved state and a clean exit leaves none; the reopen preference; a
// journal that cannot be written.

#include "shellfixture.h"

#include "autosave.h"
#include "preferenceform.h"
#include "recoveryform.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDirIterator>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>

namespace {

class RecoveryTest : public ShellTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        if (journalRoot.isEmpty())
            journalRoot = home.filePath(QStringLiteral("data/Tarnel/journal"));
        ShellTest::SetUp();
    }

    void TearDown() override
    {
        ShellTest::TearDown();
        TAutosave::SetDelays(0, 0);
        TPreferenceForm::ExecHook = nullptr;
    }

    // Every file under the journal folder, with its path.
    QStringList JournalFiles() const
    {
        QStringList paths;
        QDirIterator it(journalRoot, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext())
            paths.append(it.next());
        paths.sort();
        return paths;
    }

    // The entries' files: a stand-in being written holds an entry's text
    // before it becomes the entry, and is no entry.
    QStringList EntryFiles() const { return JournalFiles().filter(QRegularExpression(QStringLiteral("/\\d+\\.tjn$"))); }
    // The texts of the readable entries, sorted.
    QList<QByteArray> EntryTexts() const
    {
        QList<QByteArray> texts;
        for (const QString& path : EntryFiles()) {
            if (std::optional<TJournalEntry> entry = TJournalEntry::Read(path))
                texts.append(entry->text);
        }
        std::sort(texts.begin(), texts.end());
        return texts;
    }

    int IndexOf(const QString& fileName) const { return int(FileNames().indexOf(fileName)); }

    // The window closes and a new one starts, as a restart of the program.
    void Restart()
    {
        form->close();
        form.reset();
        form = std::make_unique<TMainForm>(programDir.path());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->RestoreSession();
    }

    QTemporaryDir home;
};

class UnwritableJournalTest : public RecoveryTest {
protected:
    void SetUp() override
    {
        // A journal folder inside a file can never be made.
        ASSERT_TRUE(home.isValid());
        WriteFile(home.filePath(QStringLiteral("blocker")), "a file\n");
        journalRoot = home.filePath(QStringLiteral("blocker/journal"));
        RecoveryTest::SetUp();
    }
};

} // namespace

TEST_F(RecoveryTest, TheWorkOfAKilledProgramComesBackByteForByte)
{
    const QString saved = MakeFile(QStringLiteral("saved.jsp"), "<p>one</p>\r\n<p>two</p>\r\n");
    // The file is plain ASCII: it takes the encoding of new documents.
    const QByteArray fileText = "X\xC3\xA9<p>one</p>\r\n<p>two</p>\r\n";
    const QByteArray newText = "hello\nworld\n";

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("TARNEL_KEYS_AFTER_START"), QStringLiteral("X\u00e9{FileItemsNew}hello{Return}world"));
    environment.remove(QStringLiteral("TARNEL_QUIT_AFTER_START"));
    program.setProcessEnvironment(environment);
    program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tarnel"),
                  {QStringLiteral("--new-window"), saved});
    ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();

    // The entries come a pause after the typing: wait for them, not for a
    // fixed time.
    const QList<QByteArray> expected = {fileText, newText};
    QDeadlineTimer deadline(30000);
    while (EntryTexts() != expected && !deadline.hasExpired() && program.state() == QProcess::Running)
        QTest::qWait(50);
    ASSERT_EQ(EntryTexts(), expected) << program.readAllStandardError().toStdString();
    program.kill();
    ASSERT_TRUE(program.waitForFinished(10000));

    // The folder the dead run left also holds an entry cut short and a file
    // that is no entry at all.
    const QString entryPath = EntryFiles().first();
    const QString deadFolder = QFileInfo(entryPath).absolutePath();
    WriteFile(deadFolder + QStringLiteral("/cut.tjn"), ReadFile(entryPath).chopped(20));
    WriteFile(deadFolder + QStringLiteral("/notes.txt"), "not an entry\n");
    // And the stand-in of an entry write the kill cut short: nothing to
    // offer, nothing to keep.
    WriteFile(deadFolder + QStringLiteral("/.1.tjn.k3j2h1.saving"), ReadFile(entryPath).left(30));

    QStringList rows;
    ScriptDialog([&rows](QDialog& dialog) {
        auto& recovery = dynamic_cast<TRecoveryForm&>(dialog);
        rows = recovery.RowTexts();
        QTest::mouseClick(recovery.RecoverButton(), Qt::LeftButton);
    });
    form->RestoreSession();

    const QString time = QStringLiteral(" \\| \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\| ");
    const QStringList patterns = {
        QStringLiteral("^Skipped .*cut\\.tjn: It was cut short or is damaged\\.$"),
        QStringLiteral("^Skipped .*notes\\.txt: It is not a journal entry\\.$"),
        QStringLiteral("^") + QRegularExpression::escape(QDir::toNativeSeparators(saved)) + time + QStringLiteral("27 bytes$"),
        QStringLiteral("^Untitled") + time + QStringLiteral("12 bytes$"),
    };
    ASSERT_EQ(rows.size(), patterns.size()) << rows.join(u'\n').toStdString();
    for (const QString& pattern : patterns) {
        EXPECT_EQ(rows.filter(QRegularExpression(pattern)).size(), 1) << pattern.toStdString() << "\n"
                                                                       << rows.join(u'\n').toStdString();
    }

    // Each in a tab of its own, with its name, modified, at its caret; the
    // untouched new document of the start gave way.
    QStringList names = FileNames();
    names.sort();
    ASSERT_EQ(names, (QStringList{saved, QStringLiteral("Untitled1")}));
    const TMemoSource* file = form->Document(IndexOf(saved));
    const TMemoSource* untitled = form->Document(IndexOf(QStringLiteral("Untitled1")));
    EXPECT_EQ(file->SavedBytes(), fileText);
    EXPECT_EQ(untitled->SavedBytes(), newText);
    EXPECT_TRUE(file->Modified() && untitled->Modified());
    EXPECT_EQ(file->Caret(), (TTextPos{0, 3}));
    EXPECT_EQ(SchemeOf(file), form->TarnelParser());

    // Save writes the file where it belongs, with no question: it did not
    // change on disk since it was loaded.
    form->ActivateDocument(IndexOf(saved));
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadFile(saved), fileText);
    EXPECT_TRUE(services.Questions().isEmpty()) << services.Questions().join(u'\n').toStdString();

    // Nothing of the dead run is offered again; what could not be read is
    // kept aside.
    EXPECT_FALSE(QFileInfo::exists(deadFolder));
    EXPECT_EQ(QDir(journalRoot + u'/' + TJournal::kSetAside).entryList(QDir::Files).size(), 2);
    EXPECT_TRUE(services.Messages().isEmpty()) << services.Messages().join(u'\n').toStdString();
}

TEST_F(RecoveryTest, EntriesFollowTheUnsavedStateAndACleanExitLeavesNone)
{
    TAutosave::SetDelays(20, 100);
    const QString path = MakeFile(QStringLiteral("page.jsp"), "text\n");
    Open(path);
    QTest::keyClicks(form->TarnelEditor(), "abc");
    QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
    QTest::keyClicks(form->TarnelEditor(), "new");
    QTRY_COMPARE_WITH_TIMEOUT(EntryTexts(), (QList<QByteArray>{"abctext\n", "new\n"}), 10000);

    // Typing on rewrites the entry; saving removes it.
    QTest::keyClicks(form->TarnelEditor(), "er");
    QTRY_COMPARE_WITH_TIMEOUT(EntryTexts(), (QList<QByteArray>{"abctext\n", "newer\n"}), 10000);
    form->ActivateDocument(IndexOf(path));
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(EntryTexts(), (QList<QByteArray>{"newer\n"}), 10000);

    // Closed with "No", the window leaves no entry, folder or lock behind.
    services.AnswerNext(TServices::anNo);
    EXPECT_TRUE(form->close());
    form->Journal().Flush();
    EXPECT_EQ(JournalFiles(), QStringList());
    EXPECT_EQ(QDir(journalRoot).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

TEST_F(RecoveryTest, TheReopenPreferenceBringsBackTheFilesOpenAtExit)
{
    const QString page = MakeFile(QStringLiteral("a.jsp"), "1\n22\n333\n");
    const QString code = MakeFile(QStringLiteral("B.java"), "x\ny\n");
    auto openBoth = [&] {
        Open(page);
        form->ActiveDocument()->MoveCaretTo({2, 1});
        Open(code);
        form->ActiveDocument()->MoveCaretTo({1, 0});
    };

    // Off unless set: a start shows one new document, as it always did.
    openBoth();
    Restart();
    EXPECT_EQ(FileNames(), QStringList{QStringLiteral("Untitled1")});

    TPreferenceForm::ExecHook = [](TPreferenceForm& preferences) {
        QTest::mouseClick(preferences.ReopenCheck(), Qt::LeftButton, {}, QPoint(5, preferences.ReopenCheck()->height() / 2));
        QTest::mouseClick(preferences.OkButton(), Qt::LeftButton);
    };
    form->Action(QStringLiteral("OptionItemsPreferens"))->trigger();
    ASSERT_TRUE(TPreferenceForm::StoredReopen());
    openBoth();
    Restart();
    ASSERT_EQ(FileNames(), (QStringList{page, code}));
    EXPECT_EQ(form->Document(0)->Caret(), (TTextPos{2, 1}));
    EXPECT_EQ(form->Document(1)->Caret(), (TTextPos{1, 0}));
    EXPECT_EQ(SchemeOf(form->Document(1)), form->JavaParser());
}

TEST_F(UnwritableJournalTest, AJournalThatCannotBeWrittenIsReportedOnceAndEditingGoesOn)
{
    TAutosave::SetDelays(20, 100);
    QTest::keyClicks(form->TarnelEditor(), "one");
    QTRY_COMPARE_WITH_TIMEOUT(services.Messages().size(), 1, 10000);
    EXPECT_TRUE(services.Messages().first().contains(QLatin1String("cannot be written"))) << services.Messages().first().toStdString();
    QTest::keyClicks(form->TarnelEditor(), " two");
    form->Autosave().WriteAll();
    EXPECT_EQ(services.Messages().size(), 1);
    EXPECT_EQ(form->ActiveDocument()->SavedBytes(), "one two\n");
}
