// Attaching text stores: the view link, the remembered positions and the
// settings forwarded to the store.

#include "viewfixture.h"

#include "positionstore.h"

namespace {

QByteArray lines(int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += "line " + QByteArray::number(i) + " of the text\n";
    return text;
}

} // namespace

TEST_F(ViewTest, SwitchingStoresRemembersWhereTheViewStood)
{
    TMemoSource first, second;
    first.SetTextStr(lines(300));
    second.SetTextStr(lines(50));
    memo->SetMemoSource(&first);
    EXPECT_EQ(memo->MemoSource(), &first);
    EXPECT_EQ(first.View(), memo.get());
    first.SetCaret({120, 4});
    memo->SetTopLine(100);
    memo->SetLeftColumn(2);

    memo->SetMemoSource(&second);
    EXPECT_EQ(second.View(), memo.get());
    EXPECT_EQ(first.View(), nullptr);
    EXPECT_FALSE(bool(first.OnBeforeCaretMove));
    EXPECT_EQ(first.ViewCount(), 0);
    // A store never shown leaves the view where it was, inside the text.
    EXPECT_LE(memo->TopLine(), 50);
    second.SetCaret({3, 1});
    memo->SetTopLine(0);

    // Something moved the first store's caret while it was away: the view
    // puts it back where it left it.
    first.SetCaret({7, 0});
    memo->SetMemoSource(&first);
    EXPECT_EQ(memo->TopLine(), 100);
    EXPECT_EQ(memo->LeftColumn(), 2);
    EXPECT_EQ(first.Caret(), (TTextPos{120, 4}));
    memo->SetMemoSource(&second);
    EXPECT_EQ(memo->TopLine(), 0);
    EXPECT_EQ(second.Caret(), (TTextPos{3, 1}));

    memo->SetMemoSource(nullptr);
    EXPECT_EQ(memo->MemoSource(), memo->InternalSource());
}

TEST_F(ViewTest, SettingTheAttachedStoreAgainDoesNothing)
{
    TMemoSource store;
    store.SetTextStr("abc");
    memo->SetMemoSource(&store);
    int notices = 0;
    memo->OnStateChange = [&](TCustomDCMemo&, int) { ++notices; };
    memo->SetMemoSource(&store);
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(store.ViewCount(), 1);
}

TEST_F(ViewTest, DestroyedStoreIsDetached)
{
    auto store = std::make_unique<TMemoSource>();
    store->SetTextStr(lines(40));
    memo->SetMemoSource(store.get());
    memo->SetMemoSource(nullptr);
    memo->SetMemoSource(store.get());
    EXPECT_EQ(memo->PositionStore().Count(), 2);
    store.reset();
    EXPECT_EQ(memo->MemoSource(), memo->InternalSource());
    EXPECT_EQ(memo->InternalSource()->View(), memo.get());
    EXPECT_EQ(memo->PositionStore().Count(), 1) << "only the internal store's item is left";
    // Still paints, and the internal store is attached for real.
    Render();
    memo->InternalSource()->SetTextStr("after");
    EXPECT_EQ(memo->Lines().Get(0), QByteArray("after"));
}

TEST_F(ViewTest, FocusedControlStaysTheViewOfASharedStore)
{
    TMemoSource store;
    store.SetTextStr("shared");
    memo->SetMemoSource(&store);
    memo->activateWindow();
    memo->setFocus();
    for (int i = 0; i < 100 && !memo->hasFocus(); ++i)
        QTest::qWait(5);
    ASSERT_TRUE(memo->hasFocus());

    TDCMemo other;
    other.SetMemoSource(&store);
    EXPECT_EQ(store.View(), memo.get());
    EXPECT_EQ(store.ViewCount(), 2);
    other.SetMemoSource(nullptr);
    EXPECT_EQ(store.View(), memo.get());
}

TEST_F(ViewTest, StoreSettingsAreForwardedToTheAttachedStore)
{
    TMemoSource store;
    memo->SetMemoSource(&store);
    memo->SetTabStops(QStringLiteral("4,8"));
    memo->SetSpacesInTab(0);
    memo->SetReadOnly(true);
    memo->SetBlockOption(bkStreamSel);
    memo->SetHighlightUrls(true);
    EXPECT_EQ(store.TabStops(), QStringLiteral("4,8"));
    EXPECT_EQ(store.SpacesInTab(), 8);
    EXPECT_TRUE(store.ReadOnly());
    EXPECT_EQ(store.BlockOption(), bkStreamSel);
    EXPECT_TRUE(store.HighlightUrls());
    EXPECT_THROW(memo->SetTabStops(QStringLiteral("9,9")), EInvalidTabRack);
    EXPECT_EQ(memo->TabStops(), QStringLiteral("4,8"));
    EXPECT_EQ(memo->property("TabStops").toString(), QStringLiteral("4,8"));
    memo->SetMemoSource(nullptr);
    EXPECT_FALSE(memo->ReadOnly());
}

TEST_F(ViewTest, ConstructorDefaultsAndApplicationSettings)
{
    TDCMemo plain;
    EXPECT_EQ(plain.Options(), TMemoOptions(moThumbTracking | moColorSyntax));
    EXPECT_EQ(plain.size(), QSize(185, 89));
    EXPECT_EQ(plain.SelColor(), clHighlightText);
    EXPECT_EQ(plain.SelBackColor(), clHighlight);
    EXPECT_EQ(plain.MatchBackColor(), clWindowText);
    EXPECT_EQ(plain.ScrollBars(), ssNone);
    EXPECT_EQ(plain.KeyMapping(), QStringLiteral("Default"));
    EXPECT_EQ(plain.GutterImages()->Count(), 11);
    EXPECT_EQ(plain.property("GutterWidth").toInt(), 32);
    EXPECT_EQ(plain.property("HorzMaxPos").toInt(), 512);

    EXPECT_EQ(memo->Font().Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(memo->Font().Height(), -13);
    EXPECT_TRUE(memo->Options().testFlag(moLimitLineNumbers));
    EXPECT_EQ(memo->SelBackColor(), clNavy);
    EXPECT_EQ(memo->Delimeters(), QStringLiteral("/{}+-*():=,;><$.#[]^@&~|%'"));
    EXPECT_EQ(memo->LineSeparator()->Pen().Color(), clGrayText);
    EXPECT_EQ(memo->SpecialSymbols()->EOLString(), QString(QChar(0xB6)));
}

TEST_F(ViewTest, StylesThatDriveTheEditorSetItsColours)
{
    memo->SetMemoColors(mcSelection, clYellow, clGreen);
    EXPECT_EQ(memo->SelColor(), clYellow);
    EXPECT_EQ(memo->SelBackColor(), clGreen);
    memo->SetMemoColors(mcSearchMatch, clRed, clBlue);
    EXPECT_EQ(memo->MatchColor(), clRed);
    EXPECT_EQ(memo->MatchBackColor(), clBlue);
    memo->SetMemoColors(mcText, clMaroon, clSilver);
    EXPECT_EQ(memo->Font().Color(), clMaroon);
    EXPECT_EQ(memo->Color(), clSilver);
}

TEST(PositionStore, KeepsOneItemPerStoreUntilTheStoreDies)
{
    TMemoPostionStore positions;
    auto a = std::make_unique<TMemoSource>();
    auto b = std::make_unique<TMemoSource>();
    positions.Save(a.get(), 10, 1, {12, 3});
    positions.Save(b.get(), 20, 0, {25, 0});
    positions.Save(a.get(), 11, 2, {13, 4});
    EXPECT_EQ(positions.Count(), 2);
    const TStoredPosition* item = positions.Find(a.get());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->topLine, 11);
    EXPECT_EQ(item->leftColumn, 2);
    EXPECT_EQ(item->caret, (TTextPos{13, 4}));

    const void* address = b.get();
    b.reset();
    EXPECT_EQ(positions.Count(), 1);
    // A new store that happens to get the old address has no item.
    auto c = std::make_unique<TMemoSource>();
    EXPECT_EQ(positions.Find(c.get()), nullptr) << (c.get() == address ? "at the old address" : "elsewhere");
    positions.Remove(a.get());
    EXPECT_EQ(positions.Count(), 0);
}
