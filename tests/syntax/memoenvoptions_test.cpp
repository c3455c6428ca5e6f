// The global editor options in the settings store, the styles that follow
// their colour, and the colour sets of the options dialog.

#include "colorspeedsettings.h"
#include "common/fakeservices.h"
#include "globalstyles.h"
#include "memoenvoptions.h"
#include "settingsstore.h"

#include <gtest/gtest.h>

namespace {

// Options that differ from the defaults in every setting.
void ChangeEverything(TMemoEnvOptions& options)
{
    options.SetOptions(moDrawGutter | moLineNumbers | moDrawSpecialSymbols | moUseReadOnlyColor);
    options.SetKeyMapping(QStringLiteral("Brief"));
    options.SetMarginPos(72);
    options.SetGutterWidth(45);
    options.SetGutterBrush(TBrush(clBtnFace, TBrush::bsCross));
    options.SetMarginPen(TPen(clRed, 2, TPen::psDot));
    options.LineSeparator()->SetOptions(moDrawLineSeparator);
    options.LineSeparator()->SetPen(TPen(clGrayText));
    options.LineHighlight()->SetVisible(true);
    options.LineHighlight()->SetBrush(TBrush(clYellow));
    options.SetFont(TFont(QStringLiteral("Courier New"), -16, clNavy, TFont::fsBold));
    TFont comment = options.TextStyles()->Find(QStringLiteral("Comment"))->Font();
    comment.SetColor(clPurple);
    options.TextStyles()->Find(QStringLiteral("Comment"))->SetFont(comment);
    options.TextStyles()->Find(QStringLiteral("String"))->SetColor(clAqua);
    options.SetColor(clInfoBk);
    options.SetUseMonoFont(false);
    options.SetReadOnlyColor(clSilver);
    options.SpecialSymbols()->SetEOLString(QStringLiteral("<-"));
    options.SpecialSymbols()->SetEOFString(QStringLiteral("$"));
    options.SpecialSymbols()->SetSpaceChar(QStringLiteral("."));
    options.SpecialSymbols()->SetTabChar(QStringLiteral(">"));
    options.SetColorSchema(QStringLiteral("Dark"));
}

TEST(MemoEnvOptions, EverySettingSurvivesTheSettingsStoreAndWhatIsLeftOutTakesItsDefault)
{
    TFakeServices services;
    TMemoEnvOptions saved;
    ChangeEverything(saved);
    const TMemoEnvOptions fresh;
    EXPECT_FALSE(saved == fresh);
    EXPECT_FALSE(TMemoEnvOptions::HasStored());
    saved.Save();
    ASSERT_TRUE(TMemoEnvOptions::HasStored());

    // Read over other values, announced once.
    TMemoEnvOptions loaded;
    loaded.SetMarginPos(5);
    loaded.SpecialSymbols()->SetEOLString(QStringLiteral("x"));
    int heard = 0;
    loaded.AddListener([&heard] { ++heard; });
    QString error;
    ASSERT_TRUE(loaded.Load(&error)) << error.toStdString();
    EXPECT_TRUE(loaded == saved);
    EXPECT_EQ(heard, 1);

    // A stored text naming one setting gives every other its default.
    TSettingsStore& store = services.Settings();
    store.WriteString(TMemoEnvOptions::kKey, TMemoEnvOptions::kValueName,
                      QStringLiteral("object TMemoEnvOptions\n  MarginPos = 60\nend\n"));
    ASSERT_TRUE(loaded.Load(&error)) << error.toStdString();
    TMemoEnvOptions expected;
    expected.SetMarginPos(60);
    EXPECT_TRUE(loaded == expected);
    EXPECT_EQ(loaded.KeyMapping(), "Default");
    EXPECT_TRUE(loaded.UseMonoFont());
    EXPECT_EQ(loaded.SpecialSymbols()->EOLString(), QString(QChar(0x00B6)));
    EXPECT_EQ(loaded.SpecialSymbols()->EOFString(), "_");

    // A damaged value changes nothing and says where it is wrong.
    store.WriteString(TMemoEnvOptions::kKey, TMemoEnvOptions::kValueName,
                      QStringLiteral("object TMemoEnvOptions\n  MarginPos = 'wide'\nend\n"));
    heard = 0;
    EXPECT_FALSE(loaded.Load(&error));
    EXPECT_TRUE(error.startsWith("Line 2")) << error.toStdString();
    EXPECT_TRUE(loaded == expected);
    EXPECT_EQ(heard, 0);
}

TEST(MemoEnvOptions, StylesThatFollowTheEditorShowTheOptionsColourToTheParsers)
{
    TMemoEnvOptions& global = TMemoEnvOptions::Global();
    const TColor before = global.Color();
    int heard = 0;
    const int listener = global.AddListener([&heard] { ++heard; });
    global.SetColor(clYellow);
    GlobalStyles::TLook look;
    ASSERT_TRUE(GlobalStyles::Find(QStringLiteral("string"), look));
    EXPECT_EQ(look.backColor, clYellow) << "the style follows the editor's colour";
    ASSERT_TRUE(GlobalStyles::Find(QStringLiteral("Marked Block"), look));
    EXPECT_EQ(look.backColor, clNavy) << "a style with a colour of its own keeps it";
    EXPECT_EQ(heard, 1);
    global.SetColor(before);
    global.RemoveListener(listener);
}

TEST(ColorSpeedSettings, EverySetIsReadableAndDefaultGivesTheDefaultsBack)
{
    for (const QString& name : ColorSpeedSettings::Names()) {
        TMemoEnvOptions options;
        ASSERT_TRUE(ColorSpeedSettings::Apply(name.toUpper(), options)) << name.toStdString();
        EXPECT_EQ(options.ColorSchema(), name);
        const TTextStyles& styles = *options.TextStyles();
        EXPECT_EQ(styles.Count(), TTextStyles().Count());
        for (int i = 0; i < styles.Count(); ++i) {
            const TTextStyle& style = *styles.At(i);
            EXPECT_NE(style.EffectiveFont().Color(), style.EffectiveColor())
                << name.toStdString() << ": " << style.Name().toStdString();
            if (name != ColorSpeedSettings::kDefault) {
                EXPECT_NE(style.EffectiveColor(), clWindow) << name.toStdString() << ": " << style.Name().toStdString();
            }
        }
        EXPECT_NE(options.Font().Color(), options.Color());
    }

    TMemoEnvOptions options;
    ChangeEverything(options);
    ASSERT_TRUE(ColorSpeedSettings::Apply(ColorSpeedSettings::kDark, options));
    EXPECT_EQ(options.Color(), TColor::FromRgb(0x1e, 0x1e, 0x1e));
    EXPECT_EQ(options.Font().Name(), "Courier New") << "a set changes colours only";
    EXPECT_EQ(options.Font().Height(), -16);
    EXPECT_EQ(options.GutterBrush().Style(), TBrush::bsCross);
    ASSERT_TRUE(ColorSpeedSettings::Apply(ColorSpeedSettings::kDefault, options));
    EXPECT_TRUE(SameTextStyles(*options.TextStyles(), TTextStyles()));
    EXPECT_EQ(options.Color(), clWindow);
    EXPECT_EQ(options.Font().Color(), clWindowText);

    int heard = 0;
    options.AddListener([&heard] { ++heard; });
    EXPECT_FALSE(ColorSpeedSettings::Apply(QStringLiteral("Sepia"), options));
    EXPECT_EQ(heard, 0);
    EXPECT_EQ(options.ColorSchema(), ColorSpeedSettings::kDefault);
}

} // namespace
