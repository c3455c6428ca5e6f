// A file's line states are established on a second thread while it is read,
// piece by piece. Whatever the pieces, the states must be those of one parse
// from the top in one thread, and the attributes and fold points those that
// parse gives.

#include "syntaxfixture.h"

#include "loadwatch.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray Sample(const char* name)
{
    QFile file(QStringLiteral(TARNEL_SOURCE_DIR "/tests/syntax/data/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

// Checks, each time it is told, that the store holds whole lines of the
// file, never fewer than before.
class TGrowingLines : public TLoadWatch {
public:
    TGrowingLines(const TMemoSource& store, const QByteArray& text)
        : m_store(store), m_text(text), m_offset(text.startsWith("\xEF\xBB\xBF") ? 3 : 0)
    {
    }
    bool Arrived(qint64, qint64) override
    {
        ++calls;
        const int count = m_store.LineCount();
        if (count < m_lines || !m_store.Loading())
            faults.append(QStringLiteral("call %1: %2 lines after %3").arg(calls).arg(count).arg(m_lines));
        // Each new line is the next line of the file, up to a line end.
        for (; m_lines < count; ++m_lines) {
            const std::string_view raw = m_store.Strings().RawText(m_lines);
            const QByteArray expected = m_text.mid(m_offset, qsizetype(raw.size()));
            m_offset += qsizetype(raw.size());
            const bool ended = m_offset == m_text.size() || m_text[m_offset] == '\n' || m_text[m_offset] == '\r';
            if (expected != QByteArray(raw.data(), qsizetype(raw.size())) || !ended)
                faults.append(QStringLiteral("call %1: line %2 is not the file's").arg(calls).arg(m_lines));
            m_offset += m_text.mid(m_offset, 2) == "\r\n" ? 2 : 1;
        }
        return true;
    }
    int calls = 0;
    QStringList faults;

private:
    const TMemoSource& m_store;
    const QByteArray m_text;
    int m_lines = 0;
    qsizetype m_offset;
};

// The first line whose states, attributes or fold point (and, with
// foldEnds, where its fold ends) differ between two stores of one text
// once both are parsed to the end; -1 when none does.
int FirstDifferingLine(TMemoSource& loaded, TMemoSource& single, bool foldEnds)
{
    const int last = loaded.LineCount() - 1;
    single.ParseTo(last);
    loaded.ParseTo(last);
    for (int i = 0; i <= last; ++i) {
        if (loaded.Strings().Item(i).startState != single.Strings().Item(i).startState ||
            EndState(loaded, i) != single.Strings().Item(i).endState || Attrs(loaded, i) != Attrs(single, i) ||
            loaded.CollapseState(i) != single.CollapseState(i) || (foldEnds && loaded.FoldEnd(i) != single.FoldEnd(i)))
            return i;
    }
    return -1;
}

} // namespace

TEST(LoadStates, StatesEstablishedWhileReadingEqualAParseInOneThread)
{
    QByteArray tabbedCr = Sample("Shapes.java");
    tabbedCr.replace("    ", "\t").replace('\n', '\r');
    QByteArray crLf = Sample("catalog.jsp");
    crLf.replace("\n", "\r\n");
    // The pieces are a few bytes, so that they end inside comments,
    // strings, tags, between the CR and LF of a line end, and in the bytes
    // of the byte order mark.
    const struct {
        const char* name;
        TBuiltInScheme scheme;
        QByteArray text;
        qint64 piece;
        int established; // lines whose states the load established; -1: all
    } cases[] = {
        {"Java", TBuiltInScheme::Java, Sample("Inventory.java"), 7, -1},
        {"Java, tabs and lone CR ends", TBuiltInScheme::Java, tabbedCr, 5, -1},
        {"JSP, CR LF ends", TBuiltInScheme::Jsp, crLf, 7, -1},
        {"HTML", TBuiltInScheme::Jsp, Sample("gallery.html"), 13, -1},
        {"batch", TBuiltInScheme::Batch, Sample("build.bat"), 3, -1},
        {"JSP after a byte order mark", TBuiltInScheme::Jsp, "\xEF\xBB\xBF" + Sample("page.jsp"), 2, -1},
        // The first piece reads as plain ASCII, the file turns out to be
        // UTF-8: the lines before the first non-ASCII one are kept, the
        // others parsed when asked for.
        {"UTF-8 met after the first piece", TBuiltInScheme::Java,
         Sample("Shapes.java") + "String s = \"caf\xC3\xA9\"; /* a\n comment */\n" + Sample("Shapes.java"), 64,
         int(Sample("Shapes.java").count('\n'))},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.text.isEmpty());
        const QString path = dir.filePath(QStringLiteral("sample.txt"));
        ASSERT_TRUE(WriteFile(path, c.text));
        auto parser = BuiltIn(c.scheme);
        // Loaded whole, and shown as it comes in.
        for (const bool shown : {false, true}) {
        SCOPED_TRACE(shown ? "shown as it comes in" : "loaded whole");
        TMemoSource loaded;
        loaded.SetSyntaxParser(parser.get());
        loaded.SetReadPiece(c.piece);
        TGrowingLines watch(loaded, c.text);
        ASSERT_TRUE(shown ? loaded.LoadFromFile(path, nullptr, std::nullopt, watch) : loaded.LoadFromFile(path));
        EXPECT_EQ(watch.faults, QStringList());
        EXPECT_EQ(watch.calls > 1, shown);
        EXPECT_FALSE(loaded.Loading());
        EXPECT_FALSE(loaded.Modified());
        EXPECT_EQ(loaded.SavedBytes(), c.text);
        EXPECT_EQ(loaded.ParsedUpTo(), c.established < 0 ? loaded.LineCount() : c.established);
        // A listener to single lines keeps the load from establishing any
        // state: this store parses in one thread, from the top.
        TMemoSource single;
        single.SetSyntaxParser(parser.get());
        single.OnLineParsed = [](int) {};
        ASSERT_TRUE(single.LoadFromFile(path));
        EXPECT_EQ(single.ParsedUpTo(), 0);
        ASSERT_EQ(single.LineCount(), loaded.LineCount());
        EXPECT_EQ(single.Encoding(), loaded.Encoding());
        EXPECT_EQ(FirstDifferingLine(loaded, single, true), -1);
        loaded.SetSyntaxParser(nullptr);
        single.SetSyntaxParser(nullptr);
        }
    }
}

// A file read faster than its states are established: once it is in, the
// reading thread takes the far half of the lines the pass has left, from a
// few thousand lines before them in the state of a line with nothing open,
// while the pass walks up to them. In the middle of these texts (where
// that half starts, however far the pass got) is a comment longer than
// that lead-in, or none: inside one, the far lines start in the wrong state
// and are parsed again up to where the states agree. States, attributes,
// structure and fold points must be those of one parse from the top, and a
// load cancelled meanwhile must end.
TEST(LoadStates, TheFarLinesTheReaderTakesEqualAParseInOneThread)
{
    // 200,000 lines or so: a head of half the lines less 1,500, then the
    // comment (or more of the same) up to 5,000 lines before the end.
    const auto text = [](const QByteArray& sample, const QByteArray& open, const QByteArray& inside,
                         const QByteArray& close) {
        const int lines = int(sample.count('\n'));
        const QByteArray head = sample.repeated(98'500 / lines);
        const QByteArray body = open.isEmpty() ? sample.repeated(96'500 / lines)
                                               : open + inside.repeated(96'500 - 2) + close;
        return head + body + sample.repeated(5'000 / lines + 1);
    };
    const struct {
        const char* name;
        TBuiltInScheme scheme;
        QByteArray text;
    } cases[] = {
        {"Java, states agree", TBuiltInScheme::Java, text(Sample("Inventory.java"), {}, {}, {})},
        {"Java, inside a comment", TBuiltInScheme::Java,
         text(Sample("Inventory.java"), "/* the middle is a comment\n",
              "  class Hidden { int x = f(1, [2]); String s = \"quoted\"; } // <b>\n", "*/\n")},
        {"JSP, inside a comment", TBuiltInScheme::Jsp,
         text(Sample("catalog.jsp"), "<!-- the middle is a comment\n",
              "  <div class=\"box\"><p>text ( [ { </p></div> <script> var s = 'x';\n", "-->\n")},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QStringLiteral("far.txt"));
        ASSERT_TRUE(WriteFile(path, c.text));
        auto parser = BuiltIn(c.scheme);
        TMemoSource loaded;
        loaded.SetSyntaxParser(parser.get());
        // A watch that costs nothing, so that the reading ends long before
        // the pass does.
        struct : TLoadWatch {
            bool Arrived(qint64, qint64) override { return true; }
        } watch;
        ASSERT_TRUE(loaded.LoadFromFile(path, nullptr, std::nullopt, watch));
        TMemoSource single;
        single.SetSyntaxParser(parser.get());
        single.OnLineParsed = [](int) {};
        ASSERT_TRUE(single.LoadFromFile(path));
        ASSERT_EQ(single.LineCount(), loaded.LineCount());
        EXPECT_EQ(FirstDifferingLine(loaded, single, false), -1);
        const std::string found = StructureDump(loaded);
        const std::string expected = StructureDump(single);
        EXPECT_TRUE(found == expected) << FirstDifference(found, expected);
        // Cancelled once every byte is in (while the far lines are parsed,
        // or their states waited for): the load ends with nothing to say.
        struct : TLoadWatch {
            bool Arrived(qint64 done, qint64 total) override { return done < total || ++atEnd < 2; }
            int atEnd = 0;
        } cancelling;
        TMemoSource cancelled;
        cancelled.SetSyntaxParser(parser.get());
        QString error = QStringLiteral("unset");
        EXPECT_FALSE(cancelled.LoadFromFile(path, &error, std::nullopt, cancelling));
        EXPECT_EQ(cancelling.atEnd, 2);
        EXPECT_TRUE(error.isEmpty()) << qPrintable(error);
        EXPECT_FALSE(cancelled.Loading());
        cancelled.SetSyntaxParser(nullptr);
        loaded.SetSyntaxParser(nullptr);
        single.SetSyntaxParser(nullptr);
    }
}
