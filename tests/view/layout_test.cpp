// The horizontal layout: gutter, line numbers, left indent, outline column
// and margin, by geometry and by the pixels they leave.

#include "viewfixture.h"

namespace {

constexpr quint32 kSilver = 0xc0c0c0; // clBtnFace of the test palette
constexpr quint32 kGray = 0x808080;   // clGray and clGrayText
constexpr quint32 kWhite = 0xffffff;

QByteArray numberedLines(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += "line " + QByteArray::number(i) + '\n';
    return text;
}

} // namespace

TEST_F(ViewTest, GutterGrowsToHoldFiveDigitLineNumbers)
{
    SetText(numberedLines(12345));
    ASSERT_EQ(memo->MemoSource()->LineCount(), 12345);
    const int cw = memo->CharWidth();
    EXPECT_EQ(memo->LineNumberDigits(), 5);
    EXPECT_EQ(memo->EffectiveGutterWidth(), 6 * cw + 2);
    memo->SetGutterLineIndent(3);
    EXPECT_EQ(memo->EffectiveGutterWidth(), 6 * cw + 3 + 2);
    EXPECT_EQ(memo->TextLeft(), memo->EffectiveGutterWidth());

    // The brush up to G - 2, then a line in GutterBackColor and one in
    // GutterLineColor, then the text area.
    const int g = memo->EffectiveGutterWidth();
    const QImage image = Render();
    const int y = image.height() - 2;
    EXPECT_EQ(Rgb(image, 0, y), kSilver);
    EXPECT_EQ(Rgb(image, g - 3, y), kSilver);
    EXPECT_EQ(Rgb(image, g - 2, y), kWhite);
    EXPECT_EQ(Rgb(image, g - 1, y), kGray);
    EXPECT_EQ(Rgb(image, g, y), kWhite);
}

TEST_F(ViewTest, NarrowNumbersKeepTheGutterWidth)
{
    SetText(numberedLines(3));
    EXPECT_EQ(memo->EffectiveGutterWidth(), 32);
    memo->SetOptions(memo->Options() & ~TMemoOptions(moDrawGutter));
    EXPECT_EQ(memo->EffectiveGutterWidth(), 0);
    // Without a gutter the numbers get their own column.
    EXPECT_EQ(memo->TextLeft(), memo->NumberWidth());
}

TEST_F(ViewTest, DigitCountFollowsTheWindowUnlessLimited)
{
    SetText("a\nb\nc");
    memo->resize(400, 40 * memo->LineHeight());
    QTest::qWait(0);
    ASSERT_EQ(memo->VisibleRows(), 40);

    memo->SetOptions(memo->Options() & ~TMemoOptions(moLimitLineNumbers));
    EXPECT_EQ(memo->LineNumberDigits(), 2);
    EXPECT_EQ(memo->NumberWidth(), 3 * memo->CharWidth());
    QImage image = Render();
    const QRect belowText(1, 5 * memo->LineHeight(), memo->EffectiveGutterWidth() - 4, memo->LineHeight());
    EXPECT_TRUE(Has(image, belowText, 0x000000)) << "rows past the text are numbered";

    memo->SetOptions(memo->Options() | moLimitLineNumbers);
    EXPECT_EQ(memo->LineNumberDigits(), 1);
    image = Render();
    EXPECT_FALSE(Has(image, belowText, 0x000000)) << "numbering stops after the last line";
    const QRect lastLine(1, 2 * memo->LineHeight(), memo->EffectiveGutterWidth() - 4, memo->LineHeight());
    EXPECT_TRUE(Has(image, lastLine, 0x000000));
}

TEST_F(ViewTest, LineNumberHandlerSetsTextAndDigitCount)
{
    SetText("a\nb\nc");
    std::vector<int> asked;
    memo->OnGetLineNumber = [&](TCustomDCMemo&, QString& text, int line) {
        asked.push_back(line);
        text = u'#' + text.trimmed();
    };
    EXPECT_EQ(memo->LineNumberDigits(), 2);
    asked.clear();
    Render();
    // Asked for the three numbers, and once more for the digit count.
    EXPECT_NE(std::find(asked.begin(), asked.end(), 0), asked.end());
    EXPECT_NE(std::find(asked.begin(), asked.end(), 2), asked.end());
    EXPECT_EQ(std::find(asked.begin(), asked.end(), 3), asked.end());
}

TEST_F(ViewTest, NumbersInTheirOwnColumnUseTheirBackground)
{
    SetText("a\nb");
    memo->SetOptions(memo->Options() & ~TMemoOptions(moLineNumbersOnGutter));
    memo->SetLineNumBackColor(clYellow);
    const int g = memo->EffectiveGutterWidth();
    EXPECT_EQ(g, 32);
    EXPECT_EQ(memo->TextLeft(), g + memo->NumberWidth());
    const QImage image = Render();
    const int y = image.height() - 2;
    EXPECT_EQ(Rgb(image, g, y), 0xffff00u);
    EXPECT_EQ(Rgb(image, memo->TextLeft() - 1, y), 0xffff00u);
    EXPECT_EQ(Rgb(image, memo->TextLeft(), y), kWhite);
}

TEST_F(ViewTest, MarginLineSitsAtItsColumn)
{
    SetText("short");
    memo->SetMarginPos(10);
    const int cw = memo->CharWidth();
    const int y = memo->LineHeight() * 3;
    QImage image = Render();
    const int x = memo->TextLeft() + 10 * cw;
    EXPECT_EQ(Rgb(image, x, y), kGray);
    EXPECT_EQ(Rgb(image, x - 1, y), kWhite);
    EXPECT_EQ(Rgb(image, x + 1, y), kWhite);

    memo->SetLeftColumn(3);
    image = Render();
    EXPECT_EQ(Rgb(image, x - 3 * cw, y), kGray);
    EXPECT_EQ(Rgb(image, x, y), kWhite);

    // A wide pen is held at two pixels.
    memo->SetMarginPen(TPen(clRed, 5));
    EXPECT_EQ(memo->MarginPen().Width(), 2);
    image = Render();
    EXPECT_EQ(Rgb(image, x - 3 * cw, y), 0xff0000u);
    EXPECT_EQ(Rgb(image, x - 3 * cw + 1, y), 0xff0000u);
    EXPECT_EQ(Rgb(image, x - 3 * cw + 2, y), kWhite);

    // Off, or scrolled left of the text area, no line.
    memo->SetLeftColumn(20);
    image = Render();
    EXPECT_FALSE(Has(image, QRect(memo->TextLeft(), y, 400 - memo->TextLeft(), 1), 0xff0000u));
}

TEST_F(ViewTest, LeftIndentAndOutlineColumnMoveTheText)
{
    SetText("a");
    const int base = memo->TextLeft();
    memo->SetLeftIndent(7);
    EXPECT_EQ(memo->TextLeft(), base) << "the indent needs moLeftIndent";
    memo->SetOptions(memo->Options() | moLeftIndent);
    EXPECT_EQ(memo->TextLeft(), base + 7);
    memo->SetLeftIndent(-4);
    EXPECT_EQ(memo->LeftIndent(), 0);
    EXPECT_EQ(memo->TextLeft(), base);

    memo->SetOptions(memo->Options() | moHideInvisibleLines);
    EXPECT_EQ(memo->TextLeft(), base + memo->LineHeight());
    memo->SetWordWrap(true);
    EXPECT_EQ(memo->TextLeft(), base) << "no outline column while wrapping";
}

TEST_F(ViewTest, CollapsedLinesAreSkippedBesideTheOutlineColumn)
{
    SetText("head\nhidden 1\nhidden 2\nnext\ntail");
    TCustomMemoSource& source = *memo->MemoSource();
    source.SetCollapseState(3, 0);
    source.SetCollapseState(0, 1);
    memo->SetOptions(memo->Options() | moHideInvisibleLines);
    // Row 1 shows line 3, "next", numbered 4.
    EXPECT_EQ(memo->LineRect(3).top(), memo->LineHeight());
    EXPECT_TRUE(memo->LineRect(1).isEmpty());

    const QImage image = Render();
    const int lh = memo->LineHeight();
    const QRect box(memo->TextLeft() - lh, 0, lh, lh);
    EXPECT_TRUE(Has(image, box, 0x000000)) << "a collapse box on the first line";
    EXPECT_FALSE(Has(image, box.translated(0, 2 * lh), 0x000000)) << "none on line 5, no collapse point";
}
