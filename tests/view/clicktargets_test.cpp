// What a click reaches besides the text: URLs, the gutter and its images,
// collapse boxes, and the cursor shown over each.

#include "mousefixture.h"

#include "gutterimages.h"
#include "memomouse.h"

class UrlClickTest : public MouseTest {
protected:
    void SetUp() override
    {
        MouseTest::SetUp();
        memo->SetHighlightUrls(true);
        memo->OnJumpToUrl = [this](TCustomDCMemo&, const QString& url, bool& handled) {
            jumps.append(url);
            handled = handle;
        };
    }

    QStringList jumps;
    bool handle = false;
};

TEST_F(UrlClickTest, ClickingAUrlOpensItThroughTheShell)
{
    SetText("see http://example.com/a?b=1 and www.example.org.");
    Click(Pixel(0, 8));
    EXPECT_EQ(jumps, QStringList{"http://example.com/a?b=1"});
    EXPECT_EQ(services.Opened(), QStringList{"http://example.com/a?b=1"});
    Click(Pixel(0, 36));
    EXPECT_EQ(jumps.last(), "www.example.org");
    EXPECT_EQ(services.Opened().last(), "http://www.example.org") << "a bare host is opened as a web address";

    // A handler that takes the jump keeps the shell out.
    handle = true;
    Click(Pixel(0, 8));
    EXPECT_EQ(services.Opened().size(), 2);
}

TEST_F(UrlClickTest, ABareMailAddressJumpsWithMailto)
{
    SetText("write to someone@example.com or MAILTO:other@example.com");
    Click(Pixel(0, 12));
    ASSERT_EQ(jumps.size(), 1);
    EXPECT_EQ(jumps[0], "mailto:someone@example.com");
    EXPECT_EQ(services.Opened(), QStringList{"mailto:someone@example.com"});
    Click(Pixel(0, 40));
    EXPECT_EQ(jumps.last(), "MAILTO:other@example.com") << "an address with its scheme stays as written";
}

TEST_F(UrlClickTest, TextNamingALocalFileOrProgramOpensNothing)
{
    SetText("run C:\\Windows\\system32\\calc.exe or file:///etc/passwd or /usr/bin/xterm");
    for (int column : {6, 20, 36, 52, 62})
        Click(Pixel(0, column));
    EXPECT_TRUE(jumps.isEmpty());
    EXPECT_TRUE(services.Opened().isEmpty());
    EXPECT_TRUE(services.Started().isEmpty());
}

TEST_F(UrlClickTest, OnlyAPlainClickOnAHighlightedUrlJumps)
{
    SetText("go to http://example.com now");
    // A drag that starts on the address selects text instead.
    Drag(Pixel(0, 8), Pixel(0, 27));
    EXPECT_TRUE(Source().HasSelection());
    // Released on other text.
    QTest::mousePress(Port(), Qt::LeftButton, {}, Pixel(0, 8));
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, Pixel(0, 1));
    // Without URL highlighting the address is plain text.
    memo->SetHighlightUrls(false);
    Click(Pixel(0, 8));
    EXPECT_TRUE(jumps.isEmpty());
    EXPECT_TRUE(services.Opened().isEmpty());
}

TEST_F(MouseTest, CursorShowsWhatIsUnderThePointer)
{
    SetText("text http://example.com\nmore");
    memo->SetHighlightUrls(true);
    Hover(Pixel(0, 1));
    EXPECT_EQ(Port()->cursor().shape(), Qt::IBeamCursor);
    Hover(GutterPixel(0));
    EXPECT_EQ(Port()->cursor().shape(), Qt::ArrowCursor);
    Hover(Pixel(0, 10));
    EXPECT_EQ(Port()->cursor().shape(), Qt::PointingHandCursor);
    Hover(Pixel(1, 1));
    EXPECT_EQ(Port()->cursor().shape(), Qt::IBeamCursor);

    // Over the selection while dragging it: the drag cursor.
    Source().SetSelection({1, 0}, {1, 4});
    QTest::mousePress(Port(), Qt::LeftButton, {}, Pixel(1, 1));
    QTest::mouseMove(Port(), Pixel(0, 2));
    EXPECT_EQ(Port()->cursor().shape(), Qt::DragMoveCursor);
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, Pixel(0, 2));
    EXPECT_EQ(Port()->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(MouseTest, GutterClickNamesLineImageAndButton)
{
    SetText(Lines(5));
    memo->SetOptions(memo->Options() & ~TMemoOptions(moLineNumbers));
    Source().SetBookmark(2, {3, 0});
    struct TGutterClick {
        int line, image, shift;
    };
    std::vector<TGutterClick> clicks;
    memo->OnClickGutter = [&](TCustomDCMemo&, int line, int image, TShiftState shift) { clicks.push_back({line, image, shift}); };
    int imageClicks = 0;
    const int bookmark = memo->GutterImages()->Slot(2) - 1;
    ASSERT_GE(bookmark, 0);
    memo->GutterImages()->At(bookmark)->OnClick = [&](TGutterImage&, int line) { imageClicks += line == 3; };

    Click(GutterPixel(1));
    Click(GutterPixel(3, 3), Qt::ShiftModifier);
    Click(GutterPixel(4), {}, Qt::RightButton);
    Click(GutterPixel(0), Qt::ControlModifier, Qt::MiddleButton);
    ASSERT_EQ(clicks.size(), 4u);
    EXPECT_EQ(clicks[0].line, 1);
    EXPECT_EQ(clicks[0].image, -1);
    EXPECT_EQ(clicks[0].shift, ssLeft);
    EXPECT_EQ(clicks[1].line, 3);
    EXPECT_EQ(clicks[1].image, bookmark);
    EXPECT_EQ(clicks[1].shift, ssLeft | ssShift);
    EXPECT_EQ(clicks[2].shift, ssRight);
    EXPECT_EQ(clicks[3].shift, ssMiddle | ssCtrl);
    EXPECT_EQ(imageClicks, 1);

    // Pressed in the gutter, released on the text: no gutter click.
    QTest::mousePress(Port(), Qt::LeftButton, {}, GutterPixel(1));
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, Pixel(1, 2));
    EXPECT_EQ(clicks.size(), 4u);
}

TEST_F(MouseTest, CollapseBoxSwitchesTheLineUnlessRefused)
{
    SetText("head\n  body 1\n  body 2\ntail\n");
    memo->SetOptions(memo->Options() | moHideInvisibleLines);
    Source().SetCollapseState(0, 0);
    Source().SetCollapseState(3, 0);
    Source().SetCaret({2, 3});
    const QPoint box(memo->TextLeft() - memo->LineHeight() / 2, memo->LineHeight() / 2);
    std::vector<std::pair<int, int>> changing, changed;
    bool allow = false;
    memo->OnCollapseStateChanging = [&](TCustomDCMemo&, int line, int state, bool& ok) {
        changing.push_back({line, state});
        ok = allow;
    };
    memo->OnCollapseStateChanged = [&](TCustomDCMemo&, int line, int state) { changed.push_back({line, state}); };

    Click(box);
    ASSERT_EQ(changing.size(), 1u);
    EXPECT_EQ(changing[0], std::make_pair(0, 1));
    EXPECT_EQ(Source().CollapseState(0), 0) << "the handler refused";
    EXPECT_EQ(Source().Caret(), (TTextPos{2, 3})) << "a press on the box is no click into the text";

    allow = true;
    Click(box);
    EXPECT_EQ(Source().CollapseState(0), 1);
    EXPECT_FALSE(Source().IsLineVisible(1));
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], std::make_pair(0, 1));
    EXPECT_EQ(Source().Caret().line, 0);
    // The next row shows line 3 now, and its box too.
    EXPECT_EQ(memo->PixelToPosition(Pixel(1, 0)).line, 3);

    Click(box);
    EXPECT_EQ(Source().CollapseState(0), 0);
    EXPECT_EQ(changed.back(), std::make_pair(0, 0));

    // Released off the box, or with a selection: nothing.
    QTest::mousePress(Port(), Qt::LeftButton, {}, box);
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, Pixel(0, 2));
    Source().SetSelection({1, 0}, {2, 1});
    Click(box);
    EXPECT_EQ(changed.size(), 2u);
}
