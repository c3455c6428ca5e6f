#include "common/fakeservices.h"
#include "memosource.h"
#include "saverecord.h"
#include "sourcestrings.h"
#include "textfixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

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

// Every kind of file comes back byte for byte, and one edited on one line
// differs from the original on that line alone, after the caret has passed
// through every line (which must not trim the lines it merely visits).
TEST_F(FileTest, FilesComeBackExactlyAndAnEditChangesOnlyItsLine)
{
    auto typeAt = [](int line, const QByteArray& text) {
        return [line, text](TMemoSource& source) {
            source.SetCaret({line, 0});
            source.InsertString(text);
        };
    };
    auto breakAtEndOf = [](int line, const QByteArray& text) {
        return [line, text](TMemoSource& source) {
            source.SetCaret({line, source.LineLength(line)});
            source.InsertLineBreak();
            source.SetCaret({line + 1, 0});
            source.InsertString(text);
        };
    };
    struct Case {
        const char* name;
        QByteArray file;
        std::function<void(TMemoSource&)> edit;
        QByteArray expected;
    };
    const Case cases[] = {
        {"tabs", "a\tb\r\n\tc\r\n", typeAt(1, "X"), "a\tb\r\nX\tc\r\n"},
        {"trailing blanks", "one  \r\ntwo \t\r\nthree\r\n", typeAt(2, "X"), "one  \r\ntwo \t\r\nXthree\r\n"},
        {"edited line loses its blanks", "keep  \nedit  \n", typeAt(1, "X"), "keep  \nXedit\n"},
        {"form feed and control bytes", "page\r\n\f\r\nx\x01\r\n", typeAt(0, "X"), "Xpage\r\n\f\r\nx\x01\r\n"},
        {"NUL bytes", QByteArray("a\0b\nc\0d\n", 8), typeAt(1, "X"), QByteArray("a\0b\nXc\0d\n", 9)},
        {"mixed line ends", "a\r\nb\nc\r\nd\n", typeAt(3, "X"), "a\r\nb\nc\r\nXd\n"},
        {"lone CR in a LF file", "a\nb\rc\nd\n", typeAt(0, "X"), "Xa\nb\rc\nd\n"},
        {"no final line end", "a\nb", typeAt(1, "X"), "a\nXb"},
        {"CR only", "a\rb\rc\r", typeAt(1, "X"), "a\rXb\rc\r"},
        {"empty", "", typeAt(0, "X"), "X"},
        {"new line takes the document's end", "a\r\nb\nc", breakAtEndOf(1, "new"), "a\r\nb\r\nnew\nc"},
        {"new last line", "a\nb", breakAtEndOf(1, "c"), "a\nb\nc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write("in.txt", c.file);
        TMemoSource source;
        ASSERT_TRUE(source.LoadFromFile(Path("in.txt")));
        ASSERT_TRUE(source.SaveToFile(Path("same.txt")));
        EXPECT_EQ(Read("same.txt"), c.file);

        c.edit(source);
        for (int line = 0; line < source.LineCount(); ++line)
            source.SetCaret({line, 1});
        source.SetCaret({0, 0});
        ASSERT_TRUE(source.SaveToFile(Path("edited.txt")));
        EXPECT_EQ(Read("edited.txt"), c.expected);
        while (source.CanUndo())
            source.Undo();
        EXPECT_EQ(source.SavedBytes(), c.file);
    }
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

TEST_F(FileTest, AWritableFileInALockedFolderIsWrittenInPlace)
{
    Write("keep.txt", "precious\n");
    TMemoSource source;
    ASSERT_TRUE(source.LoadFromFile(Path("keep.txt")));
    source.InsertString("edit ");
    // The copy of the old text goes where the save records are kept.
    QTemporaryDir records;
    SaveRecords::SetFolderProvider([&records](QString*) { return records.path(); });
    QString error;
    bool saved = false;
    {
        LockedFolder lock(m_dir.path());
        if (!lock.Locked())
            GTEST_SKIP() << "no way to make the folder refuse files here";
        saved = source.SaveToFile(Path("keep.txt"), &error);
    }
    SaveRecords::SetFolderProvider({});
    EXPECT_TRUE(saved) << error.toStdString();
    EXPECT_EQ(Read("keep.txt"), "edit precious\n");
    EXPECT_FALSE(source.Modified());
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.txt"});
    EXPECT_TRUE(QDir(records.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
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

TEST_F(FileTest, AFileTheStoreCannotHoldIsRefusedAndTheTextStays)
{
    {
        QFile file(Path("long.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const QByteArray piece(1 << 20, 'x');
        for (qint64 written = 0; written <= TCustomMemoSource::kMaxLineLength; written += piece.size())
            ASSERT_EQ(file.write(piece), piece.size());
        file.write("\nshort\n");
    }
    TMemoSource source;
    source.Lines().SetText("kept\n");
    source.InsertString("typed ");
    QString error;
    EXPECT_FALSE(source.LoadFromFile(Path("long.txt"), &error));
    EXPECT_TRUE(error.startsWith("Cannot open file \"" + Path("long.txt") + "\". It holds a line of")) << error.toStdString();
    EXPECT_EQ(source.SavedBytes(), "typed kept\n");
    EXPECT_TRUE(source.CanUndo());
}

TEST_F(FileTest, ACancelledLoadChangesNothingAndReportsNothing)
{
    // Cancel while the file is read, while its lines are counted and while
    // they are taken; the load that is let run reports through all three.
    QByteArray bytes;
    for (int i = 0; i < 200'000; ++i)
        bytes += "line " + QByteArray::number(i) + "\r\n";
    Write("big.txt", bytes);
    TFakeServices services;
    SetServices(&services);
    for (int report = 0; report < 3; ++report) {
        TMemoSource source;
        source.Lines().SetText("kept\n");
        source.InsertString("typed ");
        services.CancelNextProgress(report);
        QString error = "untouched";
        EXPECT_FALSE(source.LoadFromFile(Path("big.txt"), &error)) << report;
        EXPECT_TRUE(error.isEmpty()) << report;
        EXPECT_EQ(source.SavedBytes(), "typed kept\n") << report;
        EXPECT_TRUE(source.Modified() && source.CanUndo()) << report;
        EXPECT_EQ(services.ProgressOpen(), 0) << report;
    }
    TMemoSource source;
    ASSERT_TRUE(source.LoadFromFile(Path("big.txt")));
    EXPECT_EQ(source.LineCount(), 200'000);
    EXPECT_EQ(services.ProgressCaptions().size(), 4);
    EXPECT_EQ(services.ProgressCaptions().last(), "Loading big.txt");
    EXPECT_TRUE(services.Calls().isEmpty());
    SetServices(nullptr);
}

} // namespace
