// A save survives a kill at any moment. A child process saves a large
// document through the real saver (tarnel_savechild) and is killed with
// SIGKILL at every step of each way of saving: replacing the file, writing
// it in place because of a second hard link or because its folder takes no
// new file, each with and without a backup. After each kill the file holds
// its old or its new text whole, or the next start offers the old text back
// in the recovery dialog and Restore puts it in place byte for byte; and
// nothing the save made is left behind once the start is over.

#include "shellfixture.h"

#include "recoveryform.h"

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>

#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

QByteArray Lines(const char* word, qsizetype bytes)
{
    QByteArray text;
    text.reserve(bytes + 64);
    for (int n = 0; text.size() < bytes; ++n)
        text += word + QByteArray::number(n) + " of the text that is being saved\n";
    return text;
}

struct Way {
    const char* name;
    bool hardLink;
    bool lockedFolder;
    bool backup;
};

class SaveKillTest : public ShellTest {
protected:
    void SetUp() override
    {
        // Every folder is open to the unprivileged user the child may run
        // as, except the locked one.
        ASSERT_TRUE(base.isValid());
        ::chmod(QFile::encodeName(base.path()).constData(), 0755);
        for (const char* folder : {"journal", "docs", "backups", "locked"}) {
            ASSERT_TRUE(QDir(base.path()).mkdir(QString::fromLatin1(folder)));
            ::chmod(QFile::encodeName(base.filePath(QString::fromLatin1(folder))).constData(), 0777);
        }
        journalRoot = base.filePath(QStringLiteral("journal"));
        ShellTest::SetUp();
        WriteFile(base.filePath(QStringLiteral("new.txt")), newText);
    }

    void TearDown() override
    {
        ::chmod(QFile::encodeName(base.filePath(QStringLiteral("locked"))).constData(), 0777);
        ShellTest::TearDown();
    }

    // The file, its twin, its backup and the text to save, as before a save.
    void Prepare(const Way& way)
    {
        for (const char* name : {"docs", "locked", "backups"}) {
            const QString emptied = base.filePath(QString::fromLatin1(name));
            ::chmod(QFile::encodeName(emptied).constData(), 0777);
            QDir(emptied).removeRecursively();
            QDir(base.path()).mkdir(QString::fromLatin1(name));
            ::chmod(QFile::encodeName(emptied).constData(), 0777);
        }
        const QString folder = base.filePath(QString::fromLatin1(way.lockedFolder ? "locked" : "docs"));
        target = folder + QStringLiteral("/doc.txt");
        twin = folder + QStringLiteral("/twin.txt");
        backup = way.backup ? base.filePath(QString::fromLatin1(way.lockedFolder ? "backups" : "docs")) +
                                  QStringLiteral("/doc.txt.bak")
                            : QString();
        WriteFile(target, oldText);
        if (way.hardLink) {
            ASSERT_EQ(::link(QFile::encodeName(target).constData(), QFile::encodeName(twin).constData()), 0);
        }
        if (way.backup)
            WriteFile(backup, "older backup\n");
        ::chmod(QFile::encodeName(target).constData(), 0666);
        if (way.lockedFolder) {
            if (::geteuid() == 0) {
                ASSERT_EQ(::chown(QFile::encodeName(target).constData(), kNobody, kNobody), 0);
            }
            ::chmod(QFile::encodeName(folder).constData(), 0555);
        }
    }

    // Runs the child; with stop, until it reports that step and is killed.
    QString RunChild(const Way& way, const QStringList& extra, QByteArray* output)
    {
        QStringList arguments{journalRoot, target, base.filePath(QStringLiteral("new.txt"))};
        if (way.backup)
            arguments << QStringLiteral("--backup") << backup;
        // Root adds files anywhere: the folder stops only another user.
        if (way.lockedFolder && ::geteuid() == 0)
            arguments << QStringLiteral("--user") << QString::number(kNobody);
        arguments += extra;
        QProcess child;
        child.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tarnel_savechild"), arguments);
        if (!child.waitForStarted(10000))
            return QStringLiteral("not started: ") + child.errorString();
        const bool stopping = extra.contains(QStringLiteral("--stop"));
        QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired() && child.state() == QProcess::Running
               && !(stopping && output->contains("stopped\n"))) {
            child.waitForReadyRead(50);
            *output += child.readAllStandardOutput();
        }
        if (stopping && output->contains("stopped\n")) {
            ::kill(pid_t(child.processId()), SIGKILL);
            child.waitForFinished(10000);
            return QStringLiteral("killed");
        }
        child.waitForFinished(10000);
        *output += child.readAllStandardOutput();
        return child.exitStatus() == QProcess::NormalExit ? QStringLiteral("ended") : QStringLiteral("crashed");
    }

    // What a start does with the journal of a run that died: an interrupted
    // save it offers is restored, through its row's button or by Recover.
    // Returns the rows offered. A new window costs a tenth of a second, so
    // only a file left half written gets one; otherwise the test's window
    // runs the same steps of the start.
    QStringList Restart(bool newWindow, bool byRow)
    {
        QStringList rows;
        if (newWindow) {
            form.reset();
            form = std::make_unique<TMainForm>(programDir.path());
            form->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        }
        ScriptDialog([&rows, byRow](QDialog& dialog) {
            auto& recovery = dynamic_cast<TRecoveryForm&>(dialog);
            rows = recovery.RowTexts();
            for (int row = 0; row < recovery.List()->topLevelItemCount() && byRow; ++row) {
                if (QPushButton* restore = recovery.RowRestoreButton(row))
                    QTest::mouseClick(restore, Qt::LeftButton);
            }
            QTest::mouseClick(recovery.RecoverButton(), Qt::LeftButton);
        });
        form->RestoreSession();
        dialogScripts.clear();
        return rows;
    }

    // Every file under the test's folders but the ones a save leaves.
    QString Leftovers() const
    {
        QStringList found;
        QDirIterator it(base.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString name = it.fileName();
            if (path == target || path == twin || path == backup || name == QLatin1String("new.txt"))
                continue;
            // The live window's own journal.
            if (path.startsWith(journalRoot) && name.endsWith(QLatin1String(".lock")))
                continue;
            found.append(path.mid(base.path().size() + 1));
        }
        return found.join(u' ');
    }

    QTemporaryDir base;
    // Written in pieces of a megabyte: a kill lands between pieces.
    const QByteArray oldText = Lines("old line ", 4 << 20);
    const QByteArray newText = Lines("new line ", 3 << 20);
    QString target;
    QString twin;
    QString backup;
};

// The steps a save reaches, from a run to the end; of steps that repeat
// (a piece written) the first, one in the middle and the last.
QStringList KillPoints(const QByteArray& listing)
{
    QStringList steps;
    QMap<QString, int> repeats;
    for (const QByteArray& line : listing.split('\n')) {
        if (!line.startsWith("step "))
            continue;
        const QString step = QString::fromLatin1(line.mid(5));
        steps.append(step);
        repeats[step.section(u'#', 0, 0)] = step.section(u'#', 1).toInt();
    }
    QStringList points;
    for (const QString& step : steps) {
        const int n = step.section(u'#', 1).toInt();
        const int count = repeats.value(step.section(u'#', 0, 0));
        if (n == 1 || n == count || n == (count + 1) / 2)
            points.append(step);
    }
    return points;
}

} // namespace

TEST_F(SaveKillTest, AKillAtAnyStepLeavesTheOldOrNewTextOrOffersTheOldTextBack)
{
    const std::vector<Way> ways{
        {"replacing", false, false, false},
        {"replacing with a backup", false, false, true},
        {"in place for a hard link", true, false, false},
        {"in place for a hard link with a backup", true, false, true},
        {"in place in a folder that takes no new file", false, true, false},
        {"in place in a folder that takes no new file, backup elsewhere", false, true, true},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        Prepare(way);
        QByteArray listing;
        ASSERT_EQ(RunChild(way, {QStringLiteral("--list")}, &listing), QStringLiteral("ended"));
        ASSERT_TRUE(listing.endsWith("saved\n")) << listing.toStdString();
        EXPECT_EQ(ReadFile(target), newText);
        if (way.hardLink) {
            EXPECT_EQ(ReadFile(twin), newText);
        }
        if (way.backup) {
            EXPECT_EQ(ReadFile(backup), oldText);
        }
        EXPECT_EQ(Leftovers().toStdString(), "");
        // The way was taken: in place when it must be.
        EXPECT_EQ(listing.contains("step kept#1"), way.hardLink || way.lockedFolder) << listing.toStdString();

        const QStringList points = KillPoints(listing);
        ASSERT_GE(points.size(), 8) << listing.toStdString();
        for (const QString& point : points) {
            SCOPED_TRACE(point.toStdString());
            Prepare(way);
            QByteArray output;
            ASSERT_EQ(RunChild(way, {QStringLiteral("--stop"), point}, &output), QStringLiteral("killed"))
                << output.toStdString();
            const QByteArray left = ReadFile(target);
            const bool whole = left == oldText || left == newText;

            const QStringList rows = Restart(!whole, !way.lockedFolder);
            const QStringList offered = rows.filter(QStringLiteral("Interrupted save of ") + target);
            if (!whole) {
                EXPECT_EQ(offered.size(), 1) << "a half-written file was not offered back: " << rows.join(u'\n').toStdString();
            }
            EXPECT_EQ(offered.size(), rows.size()) << rows.join(u'\n').toStdString();
            EXPECT_EQ(ReadFile(target), offered.isEmpty() ? left : oldText);
            if (way.hardLink) {
                EXPECT_EQ(ReadFile(twin), ReadFile(target));
            }
            if (way.backup) {
                const QByteArray kept = ReadFile(backup);
                EXPECT_TRUE(kept == "older backup\n" || kept == oldText) << kept.left(40).toStdString();
            }
            EXPECT_EQ(Leftovers().toStdString(), "");
            EXPECT_TRUE(services.Messages().isEmpty()) << services.Messages().join(u'\n').toStdString();
        }
    }
}
