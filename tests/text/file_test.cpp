#include "memosource.h"
#include "sourcestrings.h"
#include "textfixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

class FileTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    void Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray Read(const QString& name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_dir;
};

TEST_F(FileTest, AnyLineEndLoadsAsTheSameLinesAndSavesBackAsItWas)
{
    const QList<QByteArray> lines{"one", "two", "", "four"};
    for (const QByteArray& eol : {QByteArray("\r\n"), QByteArray("\n"), QByteArray("\r")}) {
        const QByteArray bytes = "one" + eol + "two" + eol + eol + "four" + eol;
        Write("f.txt", bytes);
        TMemoSource source;
        ASSERT_TRUE(source.LoadFromFile(Path("f.txt")));
        EXPECT_EQ(Lines(source), lines);
        ASSERT_TRUE(source.SaveToFile(Path("g.txt")));
        EXPECT_EQ(Read("g.txt"), bytes);
    }
}

TEST_F(FileTest, TheFirstLineEndNamesTheFormat)
{
    Write("mixed.txt", "a\nb\r\nc\rd");
    TMemoSource source;
    ASSERT_TRUE(source.LoadFromFile(Path("mixed.txt")));
    EXPECT_EQ(source.OutFormat(), ofUnix);
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"a", "b", "c", "d"}));
    ASSERT_TRUE(source.SaveToFile(Path("out.txt")));
    EXPECT_EQ(Read("out.txt"), "a\nb\nc\nd");
}

TEST_F(FileTest, HighBytesAndNulBytesInsideLinesSurvive)
{
    QByteArray bytes;
    for (int b = 128; b < 256; ++b)
        bytes.append(char(b));
    bytes += QByteArray("x\0y", 3) + "\r\n" + QByteArray("\0\0z", 3) + "\r\n";
    Write("bin.dat", bytes);
    TMemoSource source;
    ASSERT_TRUE(source.LoadFromFile(Path("bin.dat")));
    EXPECT_TRUE(source.LoadedNulBytes());
    ASSERT_TRUE(source.SaveToFile(Path("bin2.dat")));
    EXPECT_EQ(Read("bin2.dat"), bytes);
}

TEST_F(FileTest, LoadingClearsUndoAndModified)
{
    Write("a.txt", "abc\n");
    TMemoSource source;
    source.Lines().SetText(QByteArray("x\0y", 3));
    ASSERT_TRUE(source.LoadedNulBytes());
    source.InsertString("typed");
    ASSERT_TRUE(source.Modified());
    ASSERT_TRUE(source.LoadFromFile(Path("a.txt")));
    EXPECT_FALSE(source.Modified());
    EXPECT_FALSE(source.CanUndo());
    EXPECT_FALSE(source.LoadedNulBytes());
    EXPECT_EQ(source.Caret(), (TTextPos{0, 0}));
}

TEST_F(FileTest, SavingSetsTheSavePoint)
{
    TMemoSource source;
    source.SetOptions(source.Options() & ~TStringsOptions(soGroupUndo));
    source.InsertString("abc");
    ASSERT_TRUE(source.SaveToFile(Path("s.txt")));
    EXPECT_FALSE(source.Modified());
    source.InsertString("x");
    EXPECT_TRUE(source.Modified());
    source.Undo();
    EXPECT_FALSE(source.Modified());
}

TEST_F(FileTest, ReadOnlyLinesAreLeftOutWhenAsked)
{
    TMemoSource source;
    source.SetOutFormat(ofUnix);
    source.Lines().SetText("keep\nhidden\nkeep too\nlast hidden\n");
    source.SetLineReadOnly(1, true);
    source.SetLineReadOnly(3, true);
    source.SetOptions(source.Options() | soExcludeReadOnlyLines);
    EXPECT_EQ(source.SavedBytes(), "keep\nkeep too\n");
}

TEST_F(FileTest, BackupsKeepThePreviousFile)
{
    Write("doc.jsp", "old\n");
    TMemoSource source;
    ASSERT_TRUE(source.LoadFromFile(Path("doc.jsp")));
    source.InsertString("new ");
    source.SetOptions(source.Options() | soCreateBackups);
    ASSERT_TRUE(source.SaveToFile(Path("doc.jsp")));
    EXPECT_EQ(Read("doc.jsp"), "new old\n");
    EXPECT_EQ(Read("doc.jsp.bak"), "old\n");

    source.OnGetBackupName = [](TCustomMemoSource&, const QString& name) { return name + "~"; };
    source.InsertString("newer ");
    ASSERT_TRUE(source.SaveToFile(Path("doc.jsp")));
    EXPECT_EQ(Read("doc.jsp~"), "new old\n");
}

TEST_F(FileTest, ABackupThatCannotBeReplacedIsReportedAndNothingChanges)
{
    Write("doc.txt", "old\n");
    QDir(m_dir.path()).mkdir("doc.txt.bak");
    Write("doc.txt.bak/inside", "x");
    TMemoSource source;
    ASSERT_TRUE(source.LoadFromFile(Path("doc.txt")));
    source.InsertString("new ");
    source.SetOptions(source.Options() | soCreateBackups);
    QString error;
    EXPECT_FALSE(source.SaveToFile(Path("doc.txt"), &error));
    EXPECT_EQ(error, "Can't delete file " + Path("doc.txt.bak"));
    EXPECT_EQ(Read("doc.txt"), "old\n");
    EXPECT_TRUE(source.Modified());
}

// Makes a folder refuse new files: by its permissions, and for root (whom
// permissions do not stop) by the immutable attribute where the file system
// has one. Undone when the guard ends.
class LockedFolder {
public:
    explicit LockedFolder(const QString& path) : m_path(path)
    {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
        if (geteuid() == 0)
            m_immutable = QProcess::execute("chattr", {"+i", path}) == 0;
    }
    ~LockedFolder()
    {
        if (m_immutable)
            QProcess::execute("chattr", {"-i", m_path});
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool Locked() const { return geteuid() != 0 || m_immutable; }

private:
    QString m_path;
    bool m_immutable = false;
};

TEST_F(FileTest, AFailedSaveLeavesTheOldFileAndTheDocumentModified)
{
    Write("keep.txt", "precious\n");
    TMemoSource source;
    ASSERT_TRUE(source.LoadFromFile(Path("keep.txt")));
    source.InsertString("edit ");
    QString error;
    bool saved = false;
    {
        LockedFolder lock(m_dir.path());
        if (!lock.Locked())
            GTEST_SKIP() << "no way to make the folder refuse files here";
        saved = source.SaveToFile(Path("keep.txt"), &error);
    }
    EXPECT_FALSE(saved);
    EXPECT_TRUE(error.startsWith("Cannot create file")) << error.toStdString();
    EXPECT_EQ(Read("keep.txt"), "precious\n");
    EXPECT_TRUE(source.Modified());
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"keep.txt"});
}

TEST_F(FileTest, SavingIntoAFolderNameFailsCleanly)
{
    QDir(m_dir.path()).mkdir("folder");
    TMemoSource source;
    source.InsertString("x");
    QString error;
    EXPECT_FALSE(source.SaveToFile(Path("folder"), &error));
    EXPECT_TRUE(error.contains("folder"));
    EXPECT_TRUE(source.Modified());
}

TEST_F(FileTest, AMissingFileIsReportedAndTheStoreIsUntouched)
{
    TMemoSource source;
    source.Lines().SetText("kept");
    QString error;
    EXPECT_FALSE(source.LoadFromFile(Path("nothing.txt"), &error));
    EXPECT_TRUE(error.startsWith("Cannot open file"));
    EXPECT_EQ(Lines(source), (QList<QByteArray>{"kept"}));
}

TEST_F(FileTest, AnEmptyFileRoundTrips)
{
    Write("empty.txt", "");
    TMemoSource source;
    ASSERT_TRUE(source.LoadFromFile(Path("empty.txt")));
    EXPECT_EQ(source.LineCount(), 0);
    source.InsertString("x");
    source.Undo();
    ASSERT_TRUE(source.SaveToFile(Path("empty2.txt")));
    EXPECT_EQ(Read("empty2.txt"), "");
}

} // namespace
