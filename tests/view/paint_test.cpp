// What the rows look like: fonts and colours of runs, selection, matches,
// special symbols, line styles and the gutter pictures.

#include "viewfixture.h"

#include "builtinschemes.h"
#include "gutterimages.h"

#include <QPainter>

namespace {

constexpr quint32 kBlue = 0x0000ff;   // clBlue, the "Reserved words" colour
constexpr quint32 kNavy = 0x000080;   // clNavy, the application's selection background
constexpr quint32 kWhite = 0xffffff;
constexpr quint32 kBlack = 0x000000;
constexpr quint32 kSilver = 0xc0c0c0;

} // namespace

TEST_F(ViewTest, SpecialSymbolsEndEveryLineAndTheText)
{
    // Lines shown with the symbols look exactly like the same lines with the
    // symbols typed in.
    SetText("ab\ncd\nef");
    memo->SetOptions(memo->Options() | moDrawSpecialSymbols);
    const QImage withSymbols = Render();

    TDCMemo typed;
    typed.ApplyApplicationDefaults();
    typed.SetBorderStyle(bsNone);
    typed.SetScrollBars(ssNone);
    typed.resize(400, 300);
    typed.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&typed));
    typed.MemoSource()->SetTextStr("ab\xB6\ncd\xB6\nef_");
    EXPECT_EQ(withSymbols, typed.RenderToImage());

    // And the two symbols are drawn and differ.
    const QRect pilcrow = Cell(1, 2);
    const QRect underscore = Cell(2, 2);
    EXPECT_TRUE(HasInk(withSymbols, pilcrow, kBlack, kWhite));
    EXPECT_TRUE(HasInk(withSymbols, underscore, kBlack, kWhite));
    EXPECT_NE(withSymbols.copy(pilcrow), withSymbols.copy(underscore));
    EXPECT_FALSE(HasInk(withSymbols, Cell(0, 3), kBlack, kWhite)) << "one symbol per line end";
}

TEST_F(ViewTest, SpecialSymbolsOfUtf8AndOemDocumentsAreThoseOfWindows1252Ones)
{
    // Blanks, a tab, line ends and the text's end, beside an accented letter
    // (two bytes in UTF-8, another byte in code page 437): the same cells,
    // the same marks.
    memo->SetOptions(memo->Options() | moDrawSpecialSymbols);
    memo->SpecialSymbols()->SetSpaceChar(QString(QChar(0x00B7)));
    memo->SpecialSymbols()->SetTabChar(QString(QChar(0x00BB)));
    SetText("a b\tc\n\xE9 x\nend");
    const int c = int(memo->MemoSource()->LineText(0).indexOf('c'));
    const QImage windows1252 = Render();
    const QRect marks[] = {Cell(0, 1), Cell(0, 3), Cell(0, c + 1), Cell(1, 1), Cell(1, 3), Cell(2, 3)};
    for (const auto& [encoding, text] : {std::pair<TTextEncoding, QByteArray>{teUtf8, "a b\tc\n\xC3\xA9 x\nend"},
                                         {teOem, "a b\tc\n\x82 x\nend"}}) {
        SCOPED_TRACE(encoding == teUtf8 ? "UTF-8" : "OEM");
        memo->MemoSource()->SetEncoding(encoding);
        SetText(text);
        const QImage image = Render();
        for (const QRect& cell : marks) {
            EXPECT_TRUE(HasInk(image, cell, kBlack, kWhite)) << cell.x() << "," << cell.y();
            EXPECT_EQ(image.copy(cell), windows1252.copy(cell)) << cell.x() << "," << cell.y();
        }
        // The first row holds nothing beyond ASCII: it is the same to the pixel.
        const QRect firstRow = Cell(0, 0).united(Cell(0, c + 4));
        EXPECT_EQ(image.copy(firstRow), windows1252.copy(firstRow));
    }
}

TEST_F(ViewTest, KeywordIsPaintedInItsStyle)
{
    SetText("int value");
    TKeywordParser parser;
    memo->SetSyntaxParser(&parser);
    const QImage image = Render();
    const QRect keyword = Cell(0, 0).united(Cell(0, 2));
    const QRect identifier = Cell(0, 4).united(Cell(0, 8));
    EXPECT_TRUE(Has(image, keyword, kBlue));
    EXPECT_FALSE(Has(image, keyword, kBlack));
    EXPECT_TRUE(Has(image, identifier, kBlack));
    EXPECT_FALSE(Has(image, identifier, kBlue));
}

TEST_F(ViewTest, AFarColumnOfALongLineShowsItsOwnTextAndStyle)
{
    // Only the visible columns are fetched: a tab in front widens the line
    // (a tab at column 0 runs to column 9), and the span shown starts in the
    // middle of a second tab, far along the line.
    SetText("\t" + QByteArray(100'000, '.') + "\tint x");
    TKeywordParser parser;
    memo->SetSyntaxParser(&parser);
    const int keyword = 9 + 100'000 + 8;
    ASSERT_EQ(memo->MemoSource()->LineText(0).mid(keyword, 3), "int");
    for (int left : {keyword - 3, keyword - 10}) {
        memo->SetLeftColumn(left);
        const QImage image = Render();
        EXPECT_TRUE(Has(image, Cell(0, keyword).united(Cell(0, keyword + 2)), kBlue)) << left;
        EXPECT_FALSE(Has(image, Cell(0, keyword + 4), kBlue)) << left;
        EXPECT_TRUE(HasInk(image, Cell(0, keyword + 4), kBlack, kWhite)) << left;
        EXPECT_FALSE(HasInk(image, Cell(0, keyword - 1), kBlack, kWhite)) << "the tab's blanks " << left;
    }
}

TEST_F(ViewTest, ChangedTextStyleRepaintsInItsNewColour)
{
    SetText("int value");
    TKeywordParser parser;
    memo->SetSyntaxParser(&parser);
    TTextStyle* reserved = memo->TextStyles()->Find(QStringLiteral("reserved words"));
    ASSERT_NE(reserved, nullptr);
    TFont font = reserved->Font();
    font.SetColor(clRed);
    parser.parsedLines = 0;
    reserved->SetFont(font);
    EXPECT_EQ(memo->MemoSource()->ParsedUpTo(), 0) << "the text is highlighted again";
    const QImage image = Render();
    EXPECT_GT(parser.parsedLines, 0);
    EXPECT_TRUE(HasInk(image, Cell(0, 0).united(Cell(0, 2)), 0xff0000, kWhite));
    EXPECT_FALSE(HasInk(image, Cell(0, 0).united(Cell(0, 2)), kBlue, kWhite));
}

TEST_F(ViewTest, JavaSchemeColoursReservedWordsCommentsAndStrings)
{
    SetText("public class A { // note\n    String s = \"text\";\n}");
    std::unique_ptr<TSyntaxParser> parser(CreateBuiltInParser(TBuiltInScheme::Java, nullptr));
    ASSERT_TRUE(parser);
    memo->SetSyntaxParser(parser.get());
    const QImage image = Render();
    const auto span = [&](int row, int first, int last) { return Cell(row, first).united(Cell(row, last)); };
    EXPECT_TRUE(HasInk(image, span(0, 0, 5), kBlue, kWhite)) << "public";
    EXPECT_TRUE(HasInk(image, span(0, 7, 11), kBlue, kWhite)) << "class";
    EXPECT_FALSE(HasInk(image, span(0, 13, 13), kBlue, kWhite)) << "A";
    EXPECT_TRUE(HasInk(image, span(0, 17, 23), 0x808080, kWhite)) << "the comment, clGray";
    EXPECT_TRUE(HasInk(image, span(1, 15, 20), 0x800000, kWhite)) << "the string, clMaroon";
    memo->SetSyntaxParser(nullptr);
}

TEST_F(ViewTest, SelectedRunsInvertStyledTextAndUseSelectionColoursOtherwise)
{
    SetText("int value");
    TKeywordParser parser;
    memo->SetSyntaxParser(&parser);
    memo->MemoSource()->SetSelection({0, 0}, {0, 6});

    QImage image = Render();
    // The keyword: its style's colours swapped, white on blue.
    EXPECT_EQ(Rgb(image, Cell(0, 1).left(), Cell(0, 1).top()), kBlue);
    EXPECT_TRUE(HasInk(image, Cell(0, 1), kWhite, kBlue));
    // Plain text: SelColor on SelBackColor.
    EXPECT_EQ(Rgb(image, Cell(0, 4).left(), Cell(0, 4).top()), kNavy);
    EXPECT_TRUE(HasInk(image, Cell(0, 4), kWhite, kNavy));
    // Unselected text keeps its colours.
    EXPECT_EQ(Rgb(image, Cell(0, 7).left(), Cell(0, 7).top()), kWhite);

    memo->SetOptions(memo->Options() | moDisableInvertedSel);
    image = Render();
    EXPECT_EQ(Rgb(image, Cell(0, 1).left(), Cell(0, 1).top()), kNavy);

    // Hidden while the control has no focus.
    memo->SetHideSelection(true);
    ASSERT_FALSE(memo->hasFocus());
    image = Render();
    EXPECT_EQ(Rgb(image, Cell(0, 1).left(), Cell(0, 1).top()), kWhite);
    EXPECT_EQ(Rgb(image, Cell(0, 4).left(), Cell(0, 4).top()), kWhite);
}

TEST_F(ViewTest, SelectionPastTheLineEndFillsTheRowUnlessOnlyTextIsSelected)
{
    SetText("ab\ncd");
    memo->MemoSource()->SetSelection({0, 1}, {1, 1});
    const int lh = memo->LineHeight();
    QImage image = Render();
    EXPECT_EQ(Rgb(image, Cell(0, 10).left(), 1), kNavy);
    EXPECT_EQ(Rgb(image, Cell(1, 10).left(), lh + 1), kWhite) << "the last line ends at the block end";

    memo->SetOptions(memo->Options() | moSelectOnlyText);
    image = Render();
    EXPECT_EQ(Rgb(image, Cell(0, 10).left(), 1), kWhite);
    EXPECT_EQ(Rgb(image, Cell(0, 1).left(), 1), kNavy);
}

TEST_F(ViewTest, MatchedRunsTakeTheMatchColours)
{
    SetText("find me");
    memo->SetMatches({{0, 5, 7}});
    const QImage image = Render();
    EXPECT_EQ(Rgb(image, Cell(0, 5).left(), Cell(0, 5).top()), kBlack);
    EXPECT_TRUE(HasInk(image, Cell(0, 5), 0x00ff00, kBlack));
    EXPECT_EQ(Rgb(image, Cell(0, 0).left(), Cell(0, 0).top()), kWhite);
}

TEST_F(ViewTest, ReadOnlyStoreTakesTheReadOnlyColour)
{
    SetText("text");
    memo->SetReadOnlyColor(clYellow);
    memo->SetReadOnly(true);
    const QPoint background(Cell(3, 20).center());
    EXPECT_EQ(Rgb(Render(), background.x(), background.y()), kWhite) << "needs moUseReadOnlyColor";
    memo->SetOptions(memo->Options() | moUseReadOnlyColor);
    QImage image = Render();
    EXPECT_EQ(Rgb(image, background.x(), background.y()), 0xffff00u);
    EXPECT_EQ(Rgb(image, Cell(0, 0).left(), 0), 0xffff00u);
    memo->SetReadOnly(false);
    EXPECT_EQ(Rgb(Render(), background.x(), background.y()), kWhite);
}

TEST_F(ViewTest, DisabledControlPaintsTextInTheDisabledColour)
{
    SetText("text");
    memo->SetDisabledColor(clRed);
    EXPECT_FALSE(HasInk(Render(), Cell(0, 0), 0xff0000, kWhite));
    memo->setEnabled(false);
    const QImage image = Render();
    EXPECT_TRUE(HasInk(image, Cell(0, 0), 0xff0000, kWhite));
    EXPECT_FALSE(HasInk(image, Cell(0, 0), kBlack, kWhite));
}

TEST_F(ViewTest, LineStyleColoursTheWholeLine)
{
    SetText("int a\nint b");
    TKeywordParser parser;
    memo->SetSyntaxParser(&parser);
    const int error = memo->TextStyles()->IndexOfName(QStringLiteral("Error line"));
    ASSERT_GT(error, 0);
    memo->MemoSource()->SetLineStyle(1, error);
    const int lh = memo->LineHeight();
    QImage image = Render();
    const quint32 maroon = 0x800000;
    EXPECT_EQ(Rgb(image, Cell(1, 0).left(), lh), maroon);
    EXPECT_EQ(Rgb(image, Cell(1, 30).left(), lh), maroon) << "and the rest of its row";
    EXPECT_FALSE(HasInk(image, Cell(1, 0).united(Cell(1, 2)), kBlue, maroon));
    EXPECT_TRUE(HasInk(image, Cell(0, 0).united(Cell(0, 2)), kBlue, kWhite));

    // With moColoredLineStyle the text keeps its syntax colour.
    memo->SetOptions(memo->Options() | moColoredLineStyle);
    image = Render();
    EXPECT_EQ(Rgb(image, Cell(1, 0).left(), lh), maroon);
    EXPECT_TRUE(HasInk(image, Cell(1, 0).united(Cell(1, 2)), kBlue, maroon));
}

TEST_F(ViewTest, NoAttributesAreFetchedWithoutSyntaxColouring)
{
    SetText("int a\nint b\nint c");
    TKeywordParser parser;
    memo->SetSyntaxParser(&parser);
    memo->SetOptions(memo->Options() & ~TMemoOptions(moColorSyntax));
    parser.parsedLines = 0;
    QImage image = Render();
    EXPECT_EQ(parser.parsedLines, 0);
    EXPECT_EQ(memo->MemoSource()->ParsedUpTo(), 0);
    EXPECT_FALSE(Has(image, Cell(0, 0).united(Cell(0, 2)), kBlue));

    // URL highlighting fetches them, and only the URL keeps its style.
    memo->SetHighlightUrls(true);
    memo->MemoSource()->SetTextStr("int http://www.example.com/");
    image = Render();
    EXPECT_GT(parser.parsedLines, 0);
    EXPECT_FALSE(Has(image, Cell(0, 0).united(Cell(0, 2)), kBlue));
    EXPECT_TRUE(Has(image, Cell(0, 6).united(Cell(0, 12)), kBlue));
}

TEST_F(ViewTest, BookmarkPictureIsDrawnInTheGutter)
{
    SetText("one\ntwo\nthree");
    memo->MemoSource()->SetBookmark(3, {1, 0});
    memo->MemoSource()->SetBookmark(10, {2, 0});
    const int lh = memo->LineHeight();
    const QImage image = Render();

    // The picture of key number 3 on the second row, scaled to the row and
    // drawn over the gutter brush from x = 1.
    QImage glyph = TDCGutterImages::BookmarkGlyph(3);
    if (glyph.height() > lh - 1)
        glyph = glyph.scaledToHeight(lh - 1);
    QImage expected(glyph.size(), QImage::Format_ARGB32_Premultiplied);
    expected.fill(QColor::fromRgb(kSilver));
    QPainter(&expected).drawImage(0, 0, glyph);
    const int top = lh + (lh - glyph.height()) / 2;
    EXPECT_EQ(image.copy(1, top, glyph.width(), glyph.height()).convertToFormat(expected.format()), expected);

    // The tenth bookmark shows key number 0, which is another picture.
    EXPECT_NE(image.copy(1, 2 * lh, glyph.width(), lh - 1), image.copy(1, lh, glyph.width(), lh - 1));
    EXPECT_FALSE(Has(image, QRect(1, 0, 20, lh), 0x2060d0)) << "no picture on the first line";
    EXPECT_TRUE(Has(image, QRect(1, 2 * lh, 20, lh), 0x2060d0));
}

TEST_F(ViewTest, BreakPointLineGetsItsPicture)
{
    SetText("one\ntwo");
    const int style = memo->TextStyles()->IndexOfName(QStringLiteral("BreakPoint"));
    memo->MemoSource()->SetLineStyle(0, style);
    const QImage image = Render();
    EXPECT_TRUE(Has(image, QRect(1, 0, 16, memo->LineHeight()), 0xe01010));
    EXPECT_FALSE(Has(image, QRect(1, memo->LineHeight(), 16, memo->LineHeight()), 0xe01010));
}

TEST_F(ViewTest, ProportionalFontIsLaidOutByMeasuredWidths)
{
    SetText("iiii\nWWWW");
    memo->SetFont(TFont(QStringLiteral("MS Sans Serif"), -13, clBlack));
    auto rightmostDark = [&](const QImage& image, int row) {
        int right = -1;
        for (int y = row * memo->LineHeight(); y < (row + 1) * memo->LineHeight(); ++y) {
            for (int x = memo->TextLeft(); x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) < 128)
                    right = std::max(right, x);
            }
        }
        return right;
    };
    QImage image = Render();
    const int cells = memo->TextLeft() + 4 * memo->CharWidth();
    // In cells both lines end within four character widths.
    EXPECT_LE(rightmostDark(image, 1), cells);
    EXPECT_LE(rightmostDark(image, 0), cells);

    memo->SetUseMonoFont(false);
    image = Render();
    EXPECT_LT(rightmostDark(image, 0), memo->TextLeft() + 3 * memo->CharWidth());
    EXPECT_GT(rightmostDark(image, 1), cells);
}

TEST_F(ViewTest, SeparatorsAndLineBookmarksAreDrawnInTheirRows)
{
    SetText("one\ntwo\nthree");
    memo->MemoSource()->SetBookmark(1, {1, 0});
    const int lh = memo->LineHeight();
    const int x = Cell(0, 20).left();
    QImage image = Render();
    EXPECT_EQ(Rgb(image, x, lh - 1), kWhite);
    EXPECT_EQ(Rgb(image, x, lh), kWhite);

    memo->LineSeparator()->SetOptions(moDrawLineSeparator);
    memo->SetOptions(memo->Options() | moDrawLineBookmarks);
    image = Render();
    // Under every line, in the separator pen.
    EXPECT_EQ(Rgb(image, x, lh - 1), 0x808080u);
    EXPECT_EQ(Rgb(image, x, 2 * lh - 1), 0x808080u);
    EXPECT_EQ(Rgb(image, x, lh - 2), kWhite);
    // The bookmarked line framed in LineBookmarkColor.
    EXPECT_EQ(Rgb(image, x, lh), 0xff0000u);
    EXPECT_EQ(Rgb(image, memo->TextLeft(), lh + 1), 0xff0000u);
    EXPECT_EQ(Rgb(image, memo->TextLeft(), 1), kWhite);
}

TEST_F(ViewTest, BackgroundPicturesShowThroughTheText)
{
    SetText("text\nmore");
    memo->MemoSource()->SetSelection({1, 0}, {1, 2});
    QImage tile(4, 4, QImage::Format_RGB32);
    tile.fill(qRgb(255, 255, 0));
    memo->Background()->SetBitmap(tile);
    memo->SetBkgndOption(boTile);
    QImage green(8, 8, QImage::Format_RGB32);
    green.fill(qRgb(0, 128, 0));
    memo->GutterBackground()->SetBitmap(green);
    memo->GutterBackground()->SetBkgndOption(boStretch);
    memo->SetOptions(memo->Options() & ~TMemoOptions(moLineNumbers));

    const QImage image = Render();
    EXPECT_EQ(Rgb(image, Cell(5, 20).center().x(), Cell(5, 20).center().y()), 0xffff00u);
    // A run in the control's colour leaves the picture; a selected one not.
    EXPECT_EQ(Rgb(image, Cell(0, 0).left(), 0), 0xffff00u);
    EXPECT_EQ(Rgb(image, Cell(1, 0).left(), memo->LineHeight()), kNavy);
    EXPECT_EQ(Rgb(image, 5, 100), 0x008000u);
    EXPECT_EQ(Rgb(image, memo->EffectiveGutterWidth() - 1, 100), 0x808080u);

    memo->SetBkgndOption(boNone);
    EXPECT_EQ(Rgb(Render(), Cell(5, 20).center().x(), Cell(5, 20).center().y()), kWhite);
}

TEST_F(ViewTest, OddTextPaintsWithoutHarm)
{
    // An empty store, control bytes, NUL bytes and a very long line, with
    // every option that changes what a row shows.
    EXPECT_FALSE(Render().isNull());
    QByteArray text("\x01\x02\x7f\x81\xff tab\there\0end", 18);
    text += '\n' + QByteArray(200000, 'x') + "\n\n";
    SetText(text);
    TKeywordParser parser;
    memo->SetSyntaxParser(&parser);
    memo->SetHighlightUrls(true);
    memo->SetOptions(memo->Options() | moDrawSpecialSymbols | moHideInvisibleLines | moDrawLineBookmarks
                     | moLeftIndent | moColoredLineStyle | moUseReadOnlyColor);
    memo->MemoSource()->SetSelection({0, 3}, {1, 150010});
    memo->MemoSource()->SetLineStyle(1, 200);
    memo->SetMatches({{1, 149990, 400000}});
    for (bool mono : {true, false}) {
        memo->SetUseMonoFont(mono);
        for (int column : {0, 150000, 199990, 250000}) {
            memo->SetLeftColumn(column);
            const QImage image = Render();
            EXPECT_EQ(image.size(), memo->viewport()->size());
        }
    }
    memo->SetLeftColumn(149995);
    EXPECT_EQ(Rgb(Render(), Cell(1, 149995).left(), memo->LineHeight() + 1), kBlack) << "the match";
}
