// The collapsed folds of a text and the lines they hide: nested and
// overlapping folds give one run of hidden lines, the shown index of a line
// and its inverse agree, and edits move folds or drop those they reach
// into.

#include "foldranges.h"

#include <gtest/gtest.h>

namespace {

TFoldRanges::TFold fold(int header, int last)
{
    return {header, last, -1, 0};
}

TEST(FoldRanges, NestedFoldsHideOneRunAndIndexesRoundTrip)
{
    TFoldRanges folds;
    folds.Collapse(fold(2, 9));
    folds.Collapse(fold(4, 6)); // inside the first
    folds.Collapse(fold(20, 22));
    folds.Collapse(fold(30, 30)); // hides nothing: not kept
    EXPECT_EQ(folds.Folds().size(), 3u);
    EXPECT_FALSE(folds.IsHidden(2));
    EXPECT_TRUE(folds.IsHidden(3));
    EXPECT_TRUE(folds.IsHidden(9));
    EXPECT_FALSE(folds.IsHidden(10));
    EXPECT_EQ(folds.ShownFrom(3), 10);
    EXPECT_EQ(folds.ShownFrom(10), 10);
    EXPECT_EQ(folds.ShownBefore(21), 20);
    EXPECT_EQ(folds.HiddenBefore(10), 7);
    EXPECT_EQ(folds.HiddenBefore(25), 9);
    EXPECT_EQ(folds.HiddenCount(), 9);
    for (int line = 0; line < 40; ++line) {
        if (!folds.IsHidden(line))
            EXPECT_EQ(folds.LineOfShownIndex(line - folds.HiddenBefore(line)), line) << line;
    }
    // The inner fold keeps its state when the outer one opens.
    EXPECT_TRUE(folds.Expand(2));
    EXPECT_TRUE(folds.IsHidden(5));
    EXPECT_FALSE(folds.IsHidden(3));
}

TEST(FoldRanges, EditsMoveFoldsOrDropThoseTheyReachInto)
{
    struct Case {
        const char* what;
        int kind; // 0 insert, 1 delete, 2 change
        int line;
        int count;
        int header; // where the fold at 10..15 ends up, -1 dropped
    };
    const Case cases[] = {
        {"lines inserted above", 0, 3, 2, 12},  {"lines inserted at the header", 0, 10, 1, 11},
        {"a line inserted inside", 0, 12, 1, -1}, {"a line inserted right behind", 0, 16, 1, 10},
        {"lines deleted above", 1, 2, 3, 7},    {"the header deleted", 1, 10, 1, -1},
        {"a hidden line deleted", 1, 15, 1, -1}, {"a line deleted behind", 1, 16, 2, 10},
        {"the header changed", 2, 10, 0, 10},   {"a hidden line changed", 2, 11, 0, -1},
    };
    for (const Case& c : cases) {
        TFoldRanges folds;
        folds.Collapse(fold(10, 15));
        const quint64 generation = folds.Generation();
        const bool dropped = c.kind == 0   ? folds.LinesInserted(c.line, c.count)
                             : c.kind == 1 ? folds.LinesDeleted(c.line, c.count)
                                           : folds.LineChanged(c.line);
        EXPECT_EQ(dropped, c.header < 0) << c.what;
        if (c.header < 0) {
            EXPECT_TRUE(folds.Empty()) << c.what;
            EXPECT_NE(folds.Generation(), generation) << c.what;
        } else {
            ASSERT_EQ(folds.Folds().size(), 1u) << c.what;
            EXPECT_EQ(folds.Folds()[0].header, c.header) << c.what;
            EXPECT_EQ(folds.Folds()[0].last - folds.Folds()[0].header, 5) << c.what;
        }
    }
}

} // namespace
