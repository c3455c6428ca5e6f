// Long lines with tabs keep an index of their display columns: every
// question about a place on them must answer as a walk of the whole line
// would, also after the line is edited, lines come and go around it, and
// the tab stops change.

#include "memosource.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <vector>

namespace {

// The start column of each byte of raw and, last, the line's length, by the
// plain rule: a tab goes to the next stop, anything else takes one column.
std::vector<int> ModelColumns(const QByteArray& raw, const TTabStops& stops)
{
    std::vector<int> columns;
    int column = 0;
    for (char c : raw) {
        columns.push_back(column);
        column = c == '\t' ? stops.NextStop(column) : column + 1;
    }
    columns.push_back(column);
    return columns;
}

QByteArray ModelSpan(const QByteArray& raw, const std::vector<int>& columns, int from, int to)
{
    QByteArray out;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        for (int c = std::max(columns[size_t(i)], from); c < std::min(columns[size_t(i) + 1], to); ++c)
            out += raw[i] == '\t' ? ' ' : raw[i];
    }
    return out;
}

QByteArray RandomLine(QRandomGenerator& random, int bytes)
{
    static const char kBytes[] = "\t\t\tab c.";
    QByteArray line(bytes, Qt::Uninitialized);
    for (char& c : line)
        c = kBytes[random.bounded(int(sizeof kBytes - 1))];
    return line;
}

} // namespace

TEST(LongTabLines, ColumnsLengthsAndSpansMatchAWalkOfTheWholeLineThroughEdits)
{
    QRandomGenerator random(33);
    TMemoSource source;
    source.SetOptions(source.Options() | soUseTabCharacter);
    source.SetTextStr("short\n" + RandomLine(random, 3 * TTabColumns::kThreshold) + "\nend\n");
    int line = 1;
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        const QByteArray raw(source.Strings().RawText(line).data(), qsizetype(source.Strings().RawText(line).size()));
        const std::vector<int> columns = ModelColumns(raw, source.TabRack());
        ASSERT_EQ(source.LineLength(line), columns.back());
        for (int probe = 0; probe < 5; ++probe) {
            const int from = random.bounded(columns.back() + 20);
            const int to = from + random.bounded(300);
            ASSERT_EQ(source.LineSpan(line, from, to), ModelSpan(raw, columns, from, to)) << from << ".." << to;
        }
        // A character typed at the start of a random character lands there.
        const int at = random.bounded(int(raw.size()));
        source.MoveCaretTo({line, columns[size_t(at)]});
        switch (round % 4) {
        case 0:
            source.InsertString("Q");
            ASSERT_EQ(source.Strings().RawText(line)[size_t(at)], 'Q');
            break;
        case 1:
            source.InsertString(RandomLine(random, 50));
            break;
        case 2:
            source.MoveCaretTo({0, 0});
            source.InsertLineBreak();
            ++line;
            break;
        default:
            source.SetTabStops(round % 8 == 3 ? QStringLiteral("4") : QStringLiteral("3,5,11"));
            break;
        }
    }
}

TEST(TabStops, ExpandingALineGivesEveryColumnOfTheWalk)
{
    struct TCase {
        const char* stops;
        QByteArray raw;
        QByteArray expanded;
    };
    const TCase cases[] = {
        {"9,17", "", ""},
        {"9,17", "no tabs at all", "no tabs at all"},
        {"9,17", "\t", QByteArray(9, ' ')},
        {"9,17", "ab\tc", "ab" + QByteArray(7, ' ') + "c"},
        {"9,17", "\t\tx", QByteArray(17, ' ') + "x"},
        {"9,17", "12345678\tx", "12345678 x"},
        {"9,17", "123456789\tx", "123456789" + QByteArray(8, ' ') + "x"},
        {"9,17", "abc\t", "abc" + QByteArray(6, ' ')},
        {"4", "a\tbcdef\tg\t", "a   bcdef   g   "},
        {"3,5,11", "x\ty\tz\tw\tv", "x  y z     w     v"},
    };
    TTabStops stops;
    for (const TCase& c : cases) {
        stops.Set(QString::fromLatin1(c.stops));
        EXPECT_EQ(stops.Expand({c.raw.constData(), size_t(c.raw.size())}), c.expanded) << c.stops << " " << c.raw.constData();
    }
    // Runs of every length between tabs, against the plain rule.
    QRandomGenerator random(39);
    for (const char* list : {"9,17", "4", "3,5,11", "1,2"}) {
        stops.Set(QString::fromLatin1(list));
        for (int round = 0; round < 200; ++round) {
            const QByteArray raw = RandomLine(random, random.bounded(120));
            const std::vector<int> columns = ModelColumns(raw, stops);
            ASSERT_EQ(stops.Expand({raw.constData(), size_t(raw.size())}), ModelSpan(raw, columns, 0, columns.back()))
                << list << " " << raw.constData();
        }
    }
}
