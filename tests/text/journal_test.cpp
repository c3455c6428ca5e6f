// Snapshots and journal entries: a snapshot is the text saving would write,
// unchanged by later edits; an entry gives that text back byte for byte
// into a new store, and anything short of a whole entry is refused.

#include "journalentry.h"
#include "memosource.h"
#include "textsnapshot.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <functional>

namespace {

QByteArray entryBytes(const TJournalEntry& header, const TTextSnapshot& text)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(header.Write(buffer, text));
    return bytes;
}

std::optional<TJournalEntry> readEntry(QByteArray bytes, QString* problem = nullptr)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return TJournalEntry::Read(buffer, problem);
}

struct SnapshotCase {
    const char* name;
    QByteArray text;
    std::function<void(TMemoSource&)> edit;
};

} // namespace

TEST(JournalTest, SnapshotsAreTheSavedBytesAndEntriesGiveThemBack)
{
    const SnapshotCase cases[] = {
        {"unedited, no final line end", "a\r\nb\r\nc", [](TMemoSource&) {}},
        {"mixed line ends, middle line edited", "one\nTWO\r\nthree\rfour\n",
         [](TMemoSource& s) {
             s.MoveCaretTo({1, 1});
             s.InsertText("xx");
         }},
        {"format changed after loading", "a\r\nb\nc\r\n", [](TMemoSource& s) { s.SetOutFormat(ofMac); }},
        {"all ends alike, format changed after loading", "a\nb\nc\n", [](TMemoSource& s) { s.SetOutFormat(ofMac); }},
        {"all ends alike, one line's end changed and one deleted", "a\nb\nc\nd\n",
         [](TMemoSource& s) {
             s.SetLineEnd(0, TStringItem::kEndCr);
             s.MoveCaretTo({2, 0});
             s.DeleteLine();
         }},
        {"line broken and joined", "first line\nsecond line\nthird\n",
         [](TMemoSource& s) {
             s.MoveCaretTo({0, 5});
             s.InsertText("\r\n");
             s.MoveCaretTo({2, 0});
             s.InsertText("\xe9\x80");
         }},
        {"empty text", "", [](TMemoSource& s) { s.InsertText("typed"); }},
        {"empty lines and high bytes", "\n\n\xff\xfe\n\n", [](TMemoSource& s) {
             s.MoveCaretTo({3, 0});
             s.InsertText("z");
         }},
    };
    for (const SnapshotCase& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoSource store;
        store.SetOutFormat(ofUnix);
        ASSERT_TRUE(store.SetTextStr(c.text));
        c.edit(store);
        const QByteArray saved = store.SavedBytes();
        const TTextSnapshot snapshot = store.Snapshot();
        EXPECT_EQ(snapshot.Bytes(), saved);
        EXPECT_EQ(snapshot.Size(), saved.size());

        TJournalEntry header;
        header.fileName = QStringLiteral("/tmp/d\u00e9j\u00e0 vu\nx.jsp");
        header.outFormat = store.OutFormat();
        header.caret = store.Caret();
        header.written = QDateTime::currentDateTimeUtc();
        header.diskState = QStringLiteral("1 2 3 4 5");
        const std::optional<TJournalEntry> read = readEntry(entryBytes(header, snapshot));
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(read->fileName, header.fileName);
        EXPECT_EQ(read->diskState, header.diskState);
        EXPECT_EQ(read->written, header.written.toUTC());
        TMemoSource restored;
        ASSERT_TRUE(read->RestoreInto(restored));
        EXPECT_EQ(restored.SavedBytes(), saved);
        EXPECT_EQ(restored.Caret(), store.Caret());
        EXPECT_TRUE(restored.Modified());
    }
}

TEST(JournalTest, ASnapshotKeepsItsTextWhateverHappensToTheStore)
{
    TMemoSource store;
    QByteArray text;
    for (int i = 0; i < 2000; ++i)
        text += "line " + QByteArray::number(i) + "\r\n";
    ASSERT_TRUE(store.SetTextStr(text));
    store.MoveCaretTo({1000, 2});
    store.InsertText("edited");
    const QByteArray before = store.SavedBytes();
    const TTextSnapshot snapshot = store.Snapshot();
    // Lines edited again and the loaded block itself replaced.
    store.InsertText("again");
    ASSERT_TRUE(store.SetTextStr("something else entirely"));
    EXPECT_EQ(snapshot.Bytes(), before);
}

TEST(JournalTest, OnlyAWholeEntryIsTaken)
{
    TMemoSource store;
    ASSERT_TRUE(store.SetTextStr("<p>some text</p>\r\nand more\r\n"));
    TJournalEntry header;
    header.fileName = QStringLiteral("Untitled2");
    header.written = QDateTime::currentDateTimeUtc();
    const QByteArray whole = entryBytes(header, store.Snapshot());
    ASSERT_TRUE(readEntry(whole).has_value());

    const qsizetype textStart = whole.indexOf("\n\n") + 2;
    QByteArray flipped = whole;
    flipped[textStart + 3] = 'X';
    const struct {
        const char* name;
        QByteArray bytes;
    } damaged[] = {
        {"cut in the header", whole.left(textStart - 5)},
        {"cut in the text", whole.left(textStart + 4)},
        {"last byte missing", whole.chopped(1)},
        {"a byte too many", whole + "\n"},
        {"a text byte changed", flipped},
        {"no entry at all", QByteArray("PK\x03\x04 some archive", 19)},
        {"empty file", QByteArray()},
        {"size beyond the file", QByteArray(whole).replace("size: 28", "size: 99999999999")},
    };
    for (const auto& d : damaged) {
        SCOPED_TRACE(d.name);
        QString problem;
        EXPECT_FALSE(readEntry(d.bytes, &problem).has_value());
        EXPECT_FALSE(problem.isEmpty());
    }

    // An encoding this program does not know leaves the store as it was.
    std::optional<TJournalEntry> foreign = readEntry(QByteArray(whole).replace("windows-1252", "x-unknown"));
    ASSERT_TRUE(foreign.has_value());
    TMemoSource other;
    ASSERT_TRUE(other.SetTextStr("kept\n"));
    QString error;
    EXPECT_FALSE(foreign->RestoreInto(other, &error));
    EXPECT_TRUE(error.contains(QLatin1String("x-unknown")));
    EXPECT_EQ(other.SavedBytes(), "kept\n");
}
