// Editor controls on the global editor options: what they copy, that they
// follow every change, and that they stop.

#include "viewfixture.h"

#include "memoenvoptions.h"
#include "memoparts.h"

namespace {

// The global options as they were, put back when the test ends.
class GlobalOptionsGuard {
public:
    GlobalOptionsGuard() { m_saved.Assign(TMemoEnvOptions::Global()); }
    ~GlobalOptionsGuard() { TMemoEnvOptions::Global().Assign(m_saved); }

private:
    TMemoEnvOptions m_saved;
};

} // namespace

TEST_F(ViewTest, AControlOnTheGlobalOptionsTakesEveryListedSettingAndFollowsUntilSwitchedOff)
{
    GlobalOptionsGuard guard;
    TMemoEnvOptions& global = TMemoEnvOptions::Global();
    global.BeginUpdate();
    global.SetOptions(moDrawGutter | moDrawMargin | moDrawSpecialSymbols | moUseReadOnlyColor | moDisableDrag);
    global.SetKeyMapping(QStringLiteral("Epsilon"));
    global.SetMarginPos(20);
    global.SetGutterWidth(50);
    global.SetGutterBrush(TBrush(clLime));
    global.SetMarginPen(TPen(clRed, 2));
    global.LineSeparator()->SetOptions(moDrawLineSeparator);
    global.LineHighlight()->SetVisible(true);
    global.SetFont(TFont(QStringLiteral("Courier New"), -20, clNavy));
    TTextStyle* marked = global.TextStyles()->Find(QStringLiteral("Marked Block"));
    marked->SetColor(clTeal);
    global.SetColor(clInfoBk);
    global.SetUseMonoFont(false);
    global.SetReadOnlyColor(clSilver);
    global.SpecialSymbols()->SetEOLString(QStringLiteral("<"));
    global.EndUpdate();

    const int smallHeight = memo->LineHeight();
    memo->SetUseGlobalOptions(true);
    TMemoEnvOptions taken;
    memo->GiveEnvOptions(taken);
    taken.SetColorSchema(global.ColorSchema());
    EXPECT_TRUE(taken == global);
    EXPECT_EQ(memo->SelBackColor(), clTeal) << "the selection style sets the selection colours";
    EXPECT_GT(memo->LineHeight(), smallHeight) << "the larger font is measured";
    EXPECT_EQ(memo->EffectiveGutterWidth(), 50);

    // Later changes reach it; only what changed is redone.
    TKeywordParser parser;
    memo->SetSyntaxParser(&parser);
    memo->MemoSource()->SetTextStr("int a;");
    memo->MemoSource()->LineAttributes(0);
    const int parsed = memo->MemoSource()->ParsedUpTo();
    ASSERT_GT(parsed, 0);
    global.SetMarginPos(30);
    EXPECT_EQ(memo->MarginPos(), 30);
    EXPECT_EQ(memo->MemoSource()->ParsedUpTo(), parsed) << "unchanged styles are not highlighted again";

    // An application editor takes only the bits it is given.
    TDCMemo own;
    own.ApplyApplicationDefaults();
    const TMemoOptions before = own.Options();
    own.TakeEnvOptions(global, moDrawSpecialSymbols | moDrawGutter);
    EXPECT_EQ(own.Options(), before | moDrawSpecialSymbols) << "moDrawGutter was already set, nothing else moves";
    EXPECT_EQ(own.MarginPos(), 30);

    memo->SetUseGlobalOptions(false);
    global.SetMarginPos(40);
    EXPECT_EQ(memo->MarginPos(), 30);

    // A control that is gone is not told.
    {
        TDCMemo passing;
        passing.SetUseGlobalOptions(true);
        EXPECT_EQ(passing.MarginPos(), 40);
    }
    global.SetMarginPos(41);
    memo->SetSyntaxParser(nullptr);
}
