// Word wrap without a window: how lines are cut into rows, the lists that
// hold the cuts, the lazy wrap of long texts and the row estimate the
// scroll bar is built on.

#include "memosource.h"
#include "memowrap.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <vector>

namespace {

// A wrap of a store's text at a row capacity, wrapping every line.
struct Wrapped {
    Wrapped(const QByteArray& text, int capacity)
    {
        source.SetTextStr(text);
        wrap.SetSource(&source);
        TWrapLayout layout;
        layout.on = true;
        layout.capacity = capacity;
        wrap.SetLayout(layout);
        wrap.Rewrap(0, TMemoWordWrap::kToEnd, 0);
    }

    // The first column of each row of a line.
    std::vector<int> RowStarts(int line)
    {
        std::vector<int> starts;
        for (int row = 0; row < wrap.RowsOfLine(line); ++row)
            starts.push_back(wrap.SegmentAt(line, row).start);
        return starts;
    }

    TMemoSource source;
    TMemoWordWrap wrap;
};

QByteArray longLines(int count, int length)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray(length, 'x') + '\n';
    return text;
}

} // namespace

TEST(WordWrap, RowsEndAtTheLastBreakThatFits)
{
    const struct {
        const char* text;
        int capacity;
        std::vector<int> starts;
    } cases[] = {
        // Three four-letter words: the first row holds two words and the
        // blank after the second, ten characters.
        {"aaaa bbbb cccc", 10, {0, 10}},
        // No break at all: cut at the capacity.
        {"abcdefghijklmnopqrstuvwxy", 10, {0, 10, 20}},
        // Exactly one row's worth stays one row.
        {"abcdefghij", 10, {0}},
        // A delimiter is a break and stays on its row.
        {"alpha.beta.gamma", 8, {0, 6, 11}},
        // Tabs count as the blanks they show ("b" at column 9, "c" at 17).
        {"a\tb\tcdefgh", 10, {0, 9, 17}},
        // A break at the row's very start still ends the row there.
        {"a bcdefghijklmnop", 4, {0, 2, 6, 10, 14}},
        // The capacity is never below 2.
        {"abcde", 1, {0, 2, 4}},
    };
    for (const auto& c : cases) {
        Wrapped w(c.text, c.capacity);
        EXPECT_EQ(w.RowStarts(0), c.starts) << c.text;
    }
}

TEST(WordWrap, ListsHoldWrapPointsAndTheLastSegmentOfEachWrappedLine)
{
    Wrapped w("short\naaaa bbbb cccc dddd\nabcdefghijklmnopqrstuvwxy\nend", 10);
    const TWordWrapList& wraps = w.wrap.WrapList();
    const TLineInfoList& info = w.wrap.LineInfo();
    std::vector<std::pair<int, int>> points, lasts;
    for (int i = 0; i < wraps.Count(); ++i)
        points.emplace_back(wraps.At(i).line, wraps.At(i).column);
    for (int i = 0; i < info.Count(); ++i)
        lasts.emplace_back(info.At(i).line, info.At(i).column);
    EXPECT_EQ(points, (std::vector<std::pair<int, int>>{{1, 10}, {2, 10}, {2, 20}}));
    EXPECT_EQ(lasts, (std::vector<std::pair<int, int>>{{1, 10}, {2, 20}}));

    // The segment holding a position, and the position of a row's column;
    // the last row takes the columns past the line's end.
    const TRowSegment middle = w.wrap.SegmentOf({2, 15});
    EXPECT_EQ(middle.row, 1);
    EXPECT_EQ(middle.start, 10);
    EXPECT_EQ(middle.end, 20);
    EXPECT_EQ(w.wrap.SegmentOf({2, 10}).row, 1) << "a wrap point's column starts its row";
    EXPECT_EQ(w.wrap.SegmentOf({2, 40}).row, 2);
    EXPECT_EQ(w.wrap.SegmentOf({2, 40}).end, TRowSegment::kToEnd);
    EXPECT_EQ(w.wrap.PositionAt(1, 1, 3), (TTextPos{1, 13}));

    w.wrap.RemoveLines(1, 1);
    EXPECT_EQ(w.wrap.WrapList().Count(), 2);
    EXPECT_EQ(w.wrap.LineInfo().Count(), 1);
    w.wrap.RemoveLines(2, 1);
    EXPECT_EQ(w.wrap.WrapList().Count(), 2) << "an empty range removes nothing";
    EXPECT_EQ(w.wrap.RowsOfLine(1), 2) << "a removed line is wrapped again when looked up";
}

TEST(WordWrap, EditedLinesReportWhetherRowsBelowThemMove)
{
    Wrapped w("aaaa bbbb\nnext", 10);
    ASSERT_EQ(w.wrap.RowsOfLine(0), 1);
    TCustomMemoSource& source = w.source;
    source.MoveCaretTo({0, 9});
    source.TypeChar('c');
    TRewrapResult result = w.wrap.Rewrap(0, 0, 0);
    EXPECT_FALSE(result.rowsChanged) << "ten characters still fit";
    source.TypeChar('c');
    result = w.wrap.Rewrap(0, 0, 0);
    EXPECT_TRUE(result.rowsChanged);
    EXPECT_FALSE(result.full);
    EXPECT_EQ(w.RowStarts(0), (std::vector<int>{0, 5}));
}

TEST(WordWrap, LongTextsWrapLazilyAndEstimateTheRest)
{
    // 3,000 lines of 25 characters: three rows each at capacity 10.
    Wrapped w(longLines(3000, 25), 10);
    EXPECT_EQ(w.wrap.WrappedUpTo(), TMemoWordWrap::kLazyLines) << "only the top line and 255 below it";
    EXPECT_DOUBLE_EQ(w.wrap.ExtraRowsPerLine(), 2.0) << "the sample sees the rows of the lines below";
    EXPECT_EQ(w.wrap.RowIndex(3000), 9000) << "the estimate counts every row";

    // A look-up far below wraps a chunk there and nothing in between.
    EXPECT_EQ(w.wrap.RowsOfLine(2500), 3);
    EXPECT_TRUE(w.wrap.IsWrapped(2500 + TMemoWordWrap::kChunk - 1));
    EXPECT_FALSE(w.wrap.IsWrapped(2499));
    EXPECT_FALSE(w.wrap.IsWrapped(1000));
    EXPECT_EQ(w.wrap.WrappedRanges(), 2);

    // Row indices and their inverse agree on wrapped and estimated lines.
    for (qint64 index : {0, 7, 1500, 7502, 8999}) {
        int line = 0, row = 0;
        w.wrap.LineAtRowIndex(index, 3000, line, row);
        EXPECT_EQ(w.wrap.RowIndex(line) + row, index) << index;
    }
    // An edit that adds lines forgets the wrap below it; the lines from the
    // top down are wrapped again at once.
    w.wrap.Rewrap(2000, TMemoWordWrap::kToEnd, 1990);
    EXPECT_TRUE(w.wrap.IsWrapped(1990 + TMemoWordWrap::kLazyLines));
    EXPECT_FALSE(w.wrap.IsWrapped(2500 + TMemoWordWrap::kLazyLines + 1));
}

TEST(WordWrap, RowIndicesAboveALineStayWhileLinesBelowItAreWrapped)
{
    // Lines alternate between one and four rows; the estimate is the mean,
    // so wrapping lines changes the indices only below them.
    QByteArray text;
    for (int i = 0; i < 4000; ++i)
        text += (i % 2 ? QByteArray(35, 'y') : QByteArray("z")) + '\n';
    Wrapped w(text, 10);
    const qint64 before = w.wrap.RowIndex(2000);
    for (int line = 2000; line < 2300; ++line)
        w.wrap.RowsOfLine(line);
    EXPECT_EQ(w.wrap.RowIndex(2000), before);
    // Strictly increasing everywhere, estimated or not.
    for (int line = 1; line <= 4000; ++line)
        ASSERT_LT(w.wrap.RowIndex(line - 1), w.wrap.RowIndex(line)) << line;
}

TEST(WordWrap, LinesWithTabsAreCutWhereTheirShownTextWouldBe)
{
    // Rows are cut over the raw bytes; the expanded text, cut by the plain
    // rule, is the model.
    auto modelStarts = [](const TMemoSource& source, const QByteArray& shown, int capacity) {
        std::vector<int> starts{0};
        const int c = std::max(2, capacity);
        for (int p = 0; int(shown.size()) - p > c;) {
            int end = p + c - 1;
            for (int q = end; q >= p; --q) {
                if (source.IsWordBreak(uchar(shown[q]))) {
                    end = q;
                    break;
                }
            }
            p = end + 1;
            starts.push_back(p);
        }
        return starts;
    };
    QRandomGenerator random(7);
    static const char kBytes[] = "\t\tabcdefg .";
    for (int round = 0; round < 300; ++round) {
        QByteArray line(random.bounded(1, 400), Qt::Uninitialized);
        for (char& c : line)
            c = kBytes[random.bounded(int(sizeof kBytes - 1))];
        const int capacity = random.bounded(1, 40);
        Wrapped w(line, capacity);
        if (round % 3 == 1)
            w.source.SetTabStops(QStringLiteral("3,5,11"));
        else if (round % 3 == 2)
            w.source.SetTabStops(QStringLiteral("4"));
        w.wrap.Rewrap(0, TMemoWordWrap::kToEnd, 0);
        ASSERT_EQ(w.RowStarts(0), modelStarts(w.source, w.source.LineText(0), capacity))
            << line.replace('\t', "\\t").toStdString() << " at " << capacity;
    }
}
