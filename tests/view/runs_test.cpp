// How rows are cut into runs, the text a row shows, and the gutter
// pictures' slot table.

#include "viewfixture.h"

#include "gutterimages.h"
#include "memorenderer.h"

namespace {

using TRun = TMemoRenderer::TRun;

std::vector<TRun> cut(const QByteArray& attrs, int end, int selLeft = 0, int selRight = 0,
                      std::vector<TMatchRange> matches = {}, bool urlsOnly = false)
{
    std::vector<TRun> runs;
    TMemoRenderer::CutRuns(reinterpret_cast<const uchar*>(attrs.constData()), int(attrs.size()), urlsOnly, 0, end,
                           selLeft, selRight, matches, runs);
    return runs;
}

} // namespace

TEST(RowRuns, EndWhereAttributeSelectionOrMatchChange)
{
    const QByteArray attrs("\x01\x01\x01\x02\x02\x02\x02\x02", 8);
    auto runs = cut(attrs, 8);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].start, 0);
    EXPECT_EQ(runs[0].length, 3);
    EXPECT_EQ(runs[1].attr, 2);

    runs = cut(attrs, 8, 2, 5);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ((std::vector<int>{runs[0].length, runs[1].length, runs[2].length, runs[3].length}),
              (std::vector<int>{2, 1, 2, 3}));
    EXPECT_TRUE(runs[1].selected && runs[2].selected);
    EXPECT_FALSE(runs[3].selected);

    runs = cut(attrs, 8, 0, 0, {{0, 4, 6}});
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_TRUE(runs[2].matched);
    EXPECT_EQ(runs[2].start, 4);
    EXPECT_EQ(runs[2].length, 2);
}

TEST(RowRuns, AreCappedAt512CharactersAndColumnsPastTheAttributesHaveNone)
{
    const QByteArray attrs(1200, '\x03');
    auto runs = cut(attrs, 1300);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].length, 512);
    EXPECT_EQ(runs[1].length, 512);
    EXPECT_EQ(runs[2].length, 176);
    EXPECT_EQ(runs[3].attr, -1);
    EXPECT_EQ(runs[3].length, 100);

    runs = cut(QByteArray(), 10);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].attr, -1);
}

TEST(RowRuns, WithoutSyntaxColouringOnlyUrlCharactersKeepTheirAttribute)
{
    const QByteArray attrs("\x06\x06\x0c\x0c\x00", 5);
    const auto runs = cut(attrs, 5, 0, 0, {}, true);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].attr, -1);
    EXPECT_EQ(runs[1].attr, 12);
    EXPECT_EQ(runs[2].attr, -1);
}

TEST(RowText, SpecialSymbolsReplaceBlanksAndTabsAndEndTheLines)
{
    TMemoSource source;
    source.SetOptions(source.Options() | soUseTabCharacter);
    source.SetTextStr("a\tb c\nlast");
    TFontCache fonts;
    TMemoRenderer renderer(fonts);
    TRenderConfig config;
    config.source = &source;
    config.eolString = "\xB6";
    config.eofString = "_";
    config.spaceChar = '\xB7';
    config.tabChar = '\xBB';
    renderer.SetConfig(config);
    EXPECT_EQ(renderer.DisplayText(0), source.LineText(0)) << "plain without moDrawSpecialSymbols";

    config.options = moDrawSpecialSymbols;
    renderer.SetConfig(config);
    // The tab from column 1 to the stop at 9: its mark, then blanks.
    EXPECT_EQ(renderer.DisplayText(0), QByteArray("a\xBB       b\xB7" "c\xB6"));
    EXPECT_EQ(renderer.DisplayText(0).size(), source.LineLength(0) + 1);
    EXPECT_EQ(renderer.DisplayText(1), QByteArray("last_"));
}

TEST(GutterImages, SlotTableFollowsTheCollection)
{
    TDCGutterImages images;
    images.AddDefaults();
    ASSERT_EQ(images.Count(), 11);
    EXPECT_EQ(images.At(0)->Name(), QStringLiteral("BreakPoint"));
    EXPECT_EQ(images.At(0)->BookmarkIndex(), -1);
    for (int n = 0; n < 10; ++n) {
        EXPECT_EQ(images.At(n + 1)->Name(), QStringLiteral("Bookmark%1").arg(n));
        EXPECT_EQ(images.Slot(n), n + 2);
    }
    int changes = 0;
    images.OnChange = [&] { ++changes; };
    // Indexes outside 0 to 9 are left out of the table.
    images.At(4)->SetBookmarkIndex(12);
    EXPECT_EQ(images.Slot(3), 0);
    EXPECT_EQ(images.Slot(12), 0);
    EXPECT_EQ(changes, 1);
    images.Delete(0);
    EXPECT_EQ(images.Slot(0), 1);
}

TEST(GutterImages, PictureWithoutAlphaLeavesOutItsTransparentColour)
{
    QImage glyph(4, 4, QImage::Format_RGB32);
    glyph.fill(Qt::magenta);
    glyph.setPixel(1, 1, qRgb(0, 0, 255));
    TGutterImage image;
    image.SetGlyph(glyph);
    EXPECT_EQ(qAlpha(image.PaintGlyph().pixel(0, 0)), 0);
    EXPECT_EQ(image.PaintGlyph().pixel(1, 1), qRgb(0, 0, 255));
}
