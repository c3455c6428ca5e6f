// Files of open documents changed, replaced or removed by other programs:
// noticed when the window becomes active again and before a save.

#include "shellfixture.h"

#include <QDateTime>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace {

const QString kChanged = QStringLiteral("File %1 was changed by another program. Reload it?");
const QString kChangedLosing =
    QStringLiteral("File %1 was changed by another program. Reload it and lose the changes made here?");
const QString kRemoved =
    QStringLiteral("File %1 was deleted or moved by another program. The document is kept open.");
const QString kSaveChangedLosing = QStringLiteral(
    "File %1 was changed by another program since it was opened or last saved here. Overwrite the changes made "
    "there?\n\nYes saves this document over them. No reloads the file and loses the changes made here. Cancel does "
    "not save.");
const QString kSaveRemoved = QStringLiteral("File %1 no longer exists. Save it again?");

class DiskWatchTest : public ShellTest {
protected:
    // The user goes to another window and comes back.
    void Focus()
    {
        QWidget elsewhere;
        elsewhere.resize(50, 50);
        elsewhere.show();
        elsewhere.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        // The check runs once the activation is over.
        QCoreApplication::processEvents();
    }

    // Another program writes the file; its time is set apart from every
    // earlier one rather than waited for.
    void ChangeOutside(const QString& path, const QByteArray& bytes)
    {
        WriteFile(path, bytes);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(0, ++m_minutes)), QFileDevice::FileModificationTime));
    }

    TMemoSource* OpenDocument(const QString& name, const QByteArray& bytes)
    {
        Open(MakeFile(name, bytes));
        return form->ActiveDocument();
    }

private:
    int m_minutes = 0;
};

TEST_F(DiskWatchTest, YesOnFocusReloadsKeepingSchemeNameAndTheCaretLineAsFarAsItReaches)
{
    TMemoSource* document = OpenDocument("Main.java", "one\ntwo\nthree\n");
    const QString path = document->FileName();
    document->SetCaret({2, 1});
    document->InsertText("x");
    ChangeOutside(path, "new one\nnew two\n");

    services.AnswerNext(TServices::anYes);
    Focus();
    EXPECT_EQ(services.Questions(), QStringList{kChangedLosing.arg(path)});
    EXPECT_EQ(document->SavedBytes(), "new one\nnew two\n");
    EXPECT_EQ(document->CaretLine(), 1);
    EXPECT_EQ(document->FileName(), path);
    EXPECT_EQ(SchemeOf(document), form->JavaParser());
    EXPECT_FALSE(document->Modified());
    EXPECT_FALSE(document->CanUndo());

    // The reload's own stamp is no change.
    Focus();
    EXPECT_EQ(services.Questions().size(), 1);
}

TEST_F(DiskWatchTest, NoKeepsTheTextAndTheSameStateIsNotAskedAgainOnFocus)
{
    TMemoSource* document = OpenDocument("page.txt", "mine\n");
    const QString path = document->FileName();
    ChangeOutside(path, "theirs\n");

    services.AnswerNext(TServices::anNo);
    Focus();
    EXPECT_EQ(services.Questions(), QStringList{kChanged.arg(path)});
    EXPECT_EQ(document->SavedBytes(), "mine\n");
    // It no longer matches its file: it can be saved and is not dropped on close.
    EXPECT_TRUE(document->Modified());
    Focus();
    EXPECT_EQ(services.Questions().size(), 1);

    // A save still asks; another change is another state.
    form->FileItemsSaveClick();
    EXPECT_EQ(services.Questions().last(), kSaveChangedLosing.arg(path));
    EXPECT_EQ(ReadFile(path), "theirs\n");
    ChangeOutside(path, "theirs again\n");
    Focus();
    EXPECT_EQ(services.Questions().size(), 3);
    EXPECT_EQ(services.Questions().last(), kChangedLosing.arg(path));
}

#ifdef Q_OS_UNIX
TEST_F(DiskWatchTest, AFileRenamedIntoPlaceWithTheSameSizeAndTimeIsNoticed)
{
    TMemoSource* document = OpenDocument("same.txt", "abc\n");
    const QString path = document->FileName();
    const QString other = MakeFile("other.tmp", "xyz\n");
    struct stat before;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(other).constData(), times, 0), 0);
    ASSERT_EQ(std::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()), 0);
    struct stat after;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    ASSERT_EQ(after.st_size, before.st_size);
    ASSERT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    ASSERT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);

    services.AnswerNext(TServices::anYes);
    Focus();
    EXPECT_EQ(services.Questions(), QStringList{kChanged.arg(path)});
    EXPECT_EQ(document->SavedBytes(), "xyz\n");
}

TEST_F(DiskWatchTest, AChangeOfTheSameSizeWithItsTimePutBackIsCaughtBeforeASave)
{
    TMemoSource* document = OpenDocument("same.txt", "abc\n");
    const QString path = document->FileName();
    struct stat before;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    // Another program writes the same file (same inode, same size) and puts
    // its time back: no stamp can tell.
    WriteFile(path, "xyz\n");
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    struct stat after;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    ASSERT_EQ(after.st_ino, before.st_ino);
    ASSERT_EQ(after.st_size, before.st_size);
    ASSERT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);

    QTest::keyClicks(form->TarnelEditor(), "1");
    services.AnswerNext(TServices::anCancel);
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(services.Questions(), QStringList{kSaveChangedLosing.arg(path)});
    EXPECT_EQ(ReadFile(path), "xyz\n");
    EXPECT_TRUE(document->Modified());
}
#endif

TEST_F(DiskWatchTest, SavingOverAChangedFileDoesWhatTheAnswerSays)
{
    struct TCase {
        TServices::TAnswer answer;
        QByteArray onDisk;
        QByteArray text;
        bool modified;
    };
    const TCase cases[] = {
        {TServices::anYes, "mine one\n", "mine one\n", false},
        {TServices::anNo, "theirs\n", "theirs\n", false},
        {TServices::anCancel, "theirs\n", "mine one\n", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.answer));
        services.ClearCalls();
        TMemoSource* document = OpenDocument(QStringLiteral("save%1.txt").arg(int(c.answer)), "one\n");
        const QString path = document->FileName();
        document->InsertText("mine ");
        ChangeOutside(path, "theirs\n");

        services.AnswerNext(c.answer);
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(services.Questions(), QStringList{kSaveChangedLosing.arg(path)});
        EXPECT_EQ(ReadFile(path), c.onDisk);
        EXPECT_EQ(document->SavedBytes(), c.text);
        EXPECT_EQ(document->Modified(), c.modified);
        // Whatever the answer, coming back asks nothing more about it.
        Focus();
        EXPECT_EQ(services.Questions().size(), 1);
    }

    // A cancelled save stops the close question.
    services.AnswerNext(TServices::anYes);
    services.AnswerNext(TServices::anCancel);
    const int count = form->DocumentCount();
    form->FileItemsCloseClick();
    EXPECT_EQ(form->DocumentCount(), count);
    EXPECT_EQ(ReadFile(form->ActiveDocument()->FileName()), "theirs\n");
}

TEST_F(DiskWatchTest, SaveAsOverItsOwnChangedFileAsksOnlyTheSaveQuestion)
{
    TMemoSource* document = OpenDocument("own.txt", "one\n");
    const QString path = document->FileName();
    document->InsertText("mine ");
    ChangeOutside(path, "theirs\n");
    services.ChooseFile(path);
    services.AnswerNext(TServices::anYes);
    form->FileItemsSaveAsClick();
    EXPECT_EQ(services.Questions(), QStringList{kSaveChangedLosing.arg(path)});
    EXPECT_EQ(ReadFile(path), "mine one\n");
}

TEST_F(DiskWatchTest, ARemovedFileIsReportedOnceAndSavedAgainOnlyOnYes)
{
    TMemoSource* document = OpenDocument("gone.txt", "keep me\n");
    const QString path = document->FileName();
    ASSERT_TRUE(QFile::remove(path));

    Focus();
    Focus();
    EXPECT_EQ(services.Messages(), QStringList{kRemoved.arg(path)});
    EXPECT_TRUE(services.Questions().isEmpty());
    EXPECT_TRUE(document->Modified());

    for (TServices::TAnswer answer : {TServices::anNo, TServices::anCancel}) {
        services.AnswerNext(answer);
        form->FileItemsSaveClick();
        EXPECT_EQ(services.Questions().last(), kSaveRemoved.arg(path));
        EXPECT_FALSE(QFileInfo::exists(path));
        EXPECT_TRUE(document->Modified());
    }
    services.AnswerNext(TServices::anYes);
    form->FileItemsSaveClick();
    EXPECT_EQ(ReadFile(path), "keep me\n");
    EXPECT_FALSE(document->Modified());
    Focus();
    EXPECT_EQ(services.Questions().size(), 3);
}

TEST_F(DiskWatchTest, AFileOnlyThisProgramWroteNeverBringsAQuestion)
{
    // Save All then reaches every document without stopping at Untitled1.
    form->FileItemsCloseClick();
    TMemoSource* document = OpenDocument("quiet.txt", "one\n");
    Focus();
    document->InsertText("two ");
    form->FileItemsSaveClick();
    Focus();
    form->FileItemsSaveAllClick();
    // An untitled document saved under a name is watched from then on.
    form->FileItemsNewClick();
    form->ActiveDocument()->InsertText("new");
    services.ChooseFile(files.filePath("new.txt"));
    form->FileItemsSaveClick();
    Focus();
    form->FileItemsSaveAllClick();
    EXPECT_TRUE(services.Questions().isEmpty());
    EXPECT_TRUE(services.Messages().isEmpty());
    EXPECT_EQ(ReadFile(document->FileName()), "two one\n");
}

TEST_F(DiskWatchTest, AReloadThatFindsBinaryDataKeepsTheText)
{
    TMemoSource* document = OpenDocument("data.txt", "text\n");
    const QString path = document->FileName();
    ChangeOutside(path, QByteArray("bin\0ary\n", 8));
    services.AnswerNext(TServices::anYes);
    Focus();
    EXPECT_EQ(services.Messages(),
              QStringList{QStringLiteral("Cannot reload file \"%1\". It holds binary data, not text. The document is "
                                         "kept as it was.")
                              .arg(path)});
    EXPECT_EQ(document->SavedBytes(), "text\n");
    EXPECT_TRUE(document->Modified());
}

} // namespace
