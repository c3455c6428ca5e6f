// The shared editing options: stores that use them follow every change, and
// they survive a round trip through the settings store, bad values included.

#include "commandfixture.h"

#include "settingsstore.h"

#include <gtest/gtest.h>

namespace {

// Puts the global options back as a fresh object has them.
struct FreshGlobalOptions {
    FreshGlobalOptions() { Reset(); }
    ~FreshGlobalOptions() { Reset(); }
    static void Reset()
    {
        TMemoSourceOptions fresh;
        TMemoSourceOptions& global = TMemoSourceOptions::Global();
        global.BeginUpdate();
        global.SetOptions(fresh.Options());
        global.SetTabStops(fresh.TabStops());
        global.SetDelimeters(fresh.Delimeters());
        global.SetBlockIndent(fresh.BlockIndent());
        global.SetKeepTrailingBlanks(fresh.KeepTrailingBlanks());
        global.EndUpdate();
    }
};

TEST(SharedOptions, DefaultsMatchAFreshStore)
{
    TMemoSourceOptions options;
    TMemoSource store;
    EXPECT_EQ(options.Options(), store.Options());
    EXPECT_EQ(options.TabStops(), "9,17");
    EXPECT_EQ(options.Delimeters(), "/{}+-*():=,;><$.#[]^@&~|%'");
    EXPECT_EQ(options.BlockIndent(), store.BlockIndent());
    EXPECT_FALSE(options.KeepTrailingBlanks());
}

TEST(SharedOptions, StoresUsingThemFollowEveryChange)
{
    FreshGlobalOptions fresh;
    TMemoSourceOptions& global = TMemoSourceOptions::Global();
    global.SetBlockIndent(4);
    TMemoSource following;
    TMemoSource own;
    following.SetUseGlobalOptions(true);
    EXPECT_EQ(following.BlockIndent(), 4);
    EXPECT_EQ(own.BlockIndent(), 1);

    int told = 0;
    const int listener = global.AddListener([&] { ++told; });
    global.BeginUpdate();
    global.SetOptions(global.Options() | soUseTabCharacter);
    global.SetTabStops("4,8");
    global.SetDelimeters("+-");
    global.SetKeepTrailingBlanks(true);
    global.EndUpdate();
    global.RemoveListener(listener);
    EXPECT_EQ(told, 1);
    EXPECT_TRUE(following.Options().testFlag(soUseTabCharacter));
    EXPECT_FALSE(following.Options().testFlag(soSmartTab));
    EXPECT_EQ(following.TabStops(), "4,8");
    EXPECT_EQ(following.Delimeters(), "+-");
    EXPECT_TRUE(following.KeepTrailingBlanks());
    EXPECT_EQ(own.TabStops(), "9,17");
    EXPECT_FALSE(own.Options().testFlag(soUseTabCharacter));

    EXPECT_THROW(global.SetTabStops("9,9"), EInvalidTabRack);
    EXPECT_EQ(following.TabStops(), "4,8");
}

TEST(SharedOptions, SaveAndLoadRoundTrip)
{
    FreshGlobalOptions fresh;
    TFakeServices services;
    TMemoSourceOptions saved;
    saved.SetOptions(soAutoIndent | soPersistentBlocks | soUsePrevIndent);
    saved.SetTabStops("3,6");
    saved.SetDelimeters("()");
    saved.SetBlockIndent(3);
    saved.SetKeepTrailingBlanks(true);
    saved.Save();
    EXPECT_TRUE(services.Store().KeyExists(TMemoSourceOptions::kKey));

    TMemoSourceOptions loaded;
    loaded.Load();
    EXPECT_EQ(loaded.Options(), saved.Options());
    EXPECT_EQ(loaded.TabStops(), "3,6");
    EXPECT_EQ(loaded.Delimeters(), "()");
    EXPECT_EQ(loaded.BlockIndent(), 3);
    EXPECT_TRUE(loaded.KeepTrailingBlanks());
}

TEST(SharedOptions, MissingOrDamagedValuesKeepTheDefaults)
{
    TFakeServices services;
    TMemoSourceOptions missing;
    missing.Load();
    EXPECT_EQ(missing.TabStops(), "9,17");

    TSettingsStore& store = services.Settings();
    const QString key = TMemoSourceOptions::kKey;
    store.WriteString(key, "Options", "soAutoIndent");
    store.WriteString(key, "TabStops", "9,9");
    store.WriteString(key, "BlockIndent", "-3");
    store.WriteString(key, "KeepTrailingBlanks", "perhaps");
    TMemoSourceOptions damaged;
    damaged.Load();
    const TMemoSourceOptions fresh;
    EXPECT_EQ(damaged.Options(), fresh.Options());
    EXPECT_EQ(damaged.TabStops(), "9,17");
    EXPECT_EQ(damaged.BlockIndent(), 1);
    EXPECT_FALSE(damaged.KeepTrailingBlanks());
    store.WriteString(key, "Options", QString::number(1u << 20));
    damaged.Load();
    EXPECT_EQ(damaged.Options(), fresh.Options());
}

} // namespace
