#include "ansi.h"
#include "charset.h"
#include "collection.h"
#include "color.h"
#include "font.h"
#include "largepages.h"
#include "notifierlist.h"
#include "stringlist.h"
#include "utf8.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A block holds every byte asked for, whatever its size against the large
// pages it may be made of, and is given back whole (a wrong length there
// would fault on the next block's bytes).
TEST(LargePages, BlocksHoldEveryByteAskedFor)
{
    constexpr size_t kMiB = size_t(1) << 20;
    for (const size_t size : {size_t(1), 4 * kMiB - 1, 4 * kMiB, 5 * kMiB + 3, 6 * kMiB}) {
        for (int round = 0; round < 2; ++round) {
            std::shared_ptr<char[]> block = LargePages::AllocateBlock(size);
            ASSERT_TRUE(block) << size;
            std::memset(block.get(), 'x', size);
            block[size - 1] = 'y';
            EXPECT_EQ(block[size / 2], size > 1 ? 'x' : 'y') << size;
            EXPECT_EQ(block[size - 1], 'y') << size;
        }
    }
}

TEST(Ansi, CaseTablesFollowWindows1252)
{
    EXPECT_EQ(Ansi::Lower('A'), 'a');
    EXPECT_EQ(Ansi::Upper(0xE9), 0xC9);  // é
    EXPECT_EQ(Ansi::Lower(0x8A), 0x9A);  // Š
    EXPECT_EQ(Ansi::Upper(0xFF), 0x9F);  // ÿ
    EXPECT_EQ(Ansi::Upper(0xD7), 0xD7);  // × has no case
    EXPECT_EQ(Ansi::Upper(0xDF), 0xDF);  // ß stays
    EXPECT_EQ(Ansi::ToggleCase("aB\xe9\xc9"), "Ab\xc9\xe9");
}

TEST(Ansi, UnicodeRoundTripsAndRefusesWhatTheCodePageLacks)
{
    for (int b = 0; b < 256; ++b) {
        uchar back = 0;
        ASSERT_TRUE(Ansi::FromUnicode(Ansi::ToUnicode(uchar(b)), back)) << b;
        EXPECT_EQ(back, b);
    }
    uchar byte = 0;
    EXPECT_TRUE(Ansi::FromUnicode(0x20AC, byte));
    EXPECT_EQ(byte, 0x80);
    EXPECT_FALSE(Ansi::FromUnicode(0x0416, byte)); // Cyrillic Zhe
    EXPECT_EQ(Ansi::FromQString(QString::fromUtf8("a\xd0\x96z")), "a?z");
}

TEST(Ansi, OemConversionRoundTripsEveryCharacterBothPagesHold)
{
    int shared = 0;
    for (int b = 0; b < 256; ++b) {
        const uchar oem = Ansi::ToOem(uchar(b));
        if (Ansi::FromOem(oem) == b)
            ++shared;
    }
    // ASCII plus the Latin-1 letters and signs code page 437 also holds.
    EXPECT_GE(shared, 128 + 40);
    EXPECT_EQ(Ansi::ToOem(0xE9), 0x82);   // é
    EXPECT_EQ(Ansi::FromOem(0x82), 0xE9);
    EXPECT_EQ(Ansi::ToOem(0xC0), 'A');    // À falls back to its letter
    EXPECT_EQ(Ansi::FromOem(0xB3), '|');  // a box line to a bar
}

TEST(Utf8, SequenceLengthsAcceptOnlyShortestWellFormedSequences)
{
    struct Case {
        const char* bytes;
        int length;
        char32_t code;
    } cases[] = {
        {"a", 1, U'a'},
        {"\xC3\xA9", 2, U'\u00E9'},
        {"\xE6\x97\xA5", 3, U'\u65E5'},
        {"\xF0\x9F\x98\x80", 4, U'\U0001F600'},
        {"\xC0\xAF", 0, 0},             // overlong '/'
        {"\xE0\x80\xAF", 0, 0},         // overlong
        {"\xED\xA0\x80", 0, 0},         // surrogate
        {"\xF4\x90\x80\x80", 0, 0},     // above U+10FFFF
        {"\x80", 0, 0},                 // stray continuation
        {"\xE6\x97", 0, 0},             // cut short
        {"\xFF", 0, 0},
    };
    for (const Case& c : cases) {
        const char* end = c.bytes + qstrlen(c.bytes);
        EXPECT_EQ(Utf8::SequenceLength(c.bytes, end), c.length) << c.bytes;
        if (c.length) {
            EXPECT_EQ(Utf8::Decode(c.bytes, c.length), c.code) << c.bytes;
        }
        EXPECT_EQ(Utf8::IsValid(c.bytes, end), c.length != 0) << c.bytes;
    }
}

TEST(CharSet, MembersRangesAndSetOperations)
{
    TCharSet set = TCharSet::Range('a', 'c');
    set.Add(uchar(255));
    EXPECT_TRUE(set.Has('b'));
    EXPECT_TRUE(set.Has(255));
    EXPECT_FALSE(set.Has('d'));
    set.Remove(TCharSet("ab"));
    EXPECT_FALSE(set.Has('a'));
    EXPECT_TRUE(set.Has('c'));
    EXPECT_FALSE(set.IsEmpty());
}

TEST(StringList, SplitsAtEveryKindOfLineEnd)
{
    EXPECT_EQ(TStrings::SplitLines("a\r\nb\nc\rd"), (QList<QByteArray>{"a", "b", "c", "d"}));
    EXPECT_EQ(TStrings::SplitLines("a\n\n"), (QList<QByteArray>{"a", ""}));
    EXPECT_TRUE(TStrings::SplitLines("").isEmpty());
    TStringList list{"x", "y"};
    EXPECT_EQ(list.Text(), "x\r\ny\r\n");
    list.Insert(5, "out of range");
    list.Delete(-1);
    EXPECT_EQ(list.Count(), 2);
}

TEST(Colors, NamedColoursReadAndWriteByTheirIdentifiers)
{
    EXPECT_EQ(ColorToIdent(clWindow), "clWindow");
    EXPECT_EQ(ColorToIdent(clBlue), "clBlue");
    EXPECT_EQ(ColorToIdent(TColor(0x123456)), "");
    TColor color;
    ASSERT_TRUE(IdentToColor("clwindow", color));
    EXPECT_EQ(color, clWindow);
    EXPECT_EQ(qint32(clWindow), -2147483643);
    ASSERT_TRUE(IdentToColor("$0000FF", color));
    EXPECT_EQ(color, clRed);
    ASSERT_TRUE(IdentToColor("-2147483643", color));
    EXPECT_EQ(color, clWindow);
    EXPECT_FALSE(IdentToColor("clPink", color));
    EXPECT_FALSE(IdentToColor("99999999999", color));
}

TEST(Fonts, SizeFollowsHeightAtNinetySixDpi)
{
    TFont font("Courier New", -13);
    EXPECT_EQ(font.Size(), 10);
    font.SetSize(8);
    EXPECT_EQ(font.Height(), -11);
}

class TestItem : public TNamedItem {
    Q_OBJECT
    Q_PROPERTY(int Value READ Value WRITE SetValue)

public:
    explicit TestItem(TCollection* collection = nullptr) : TNamedItem(collection) {}
    int Value() const { return m_value; }
    void SetValue(int value) { m_value = value; }

private:
    int m_value = 0;
};

class Items : public TNamedCollection {
public:
    std::vector<TCollectionItem*> updates;

protected:
    TCollectionItem* CreateItem() override { return new TestItem(this); }
    void Update(TCollectionItem* item) override { updates.push_back(item); }
};

TEST(Collections, AssignCopiesItemsAndFindIgnoresCase)
{
    Items source;
    auto* a = static_cast<TestItem*>(source.Add());
    a->SetName("Script ResWord");
    a->SetValue(7);
    Items copy;
    copy.Add();
    copy.Assign(source);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_NE(copy.Item(0), a);
    EXPECT_EQ(static_cast<TestItem*>(copy.Find("script resword"))->Value(), 7);
    EXPECT_EQ(copy.Find("missing"), nullptr);
}

TEST(Collections, ChangesDuringAnUpdateAreAnnouncedOnceAtItsEnd)
{
    Items items;
    items.BeginUpdate();
    items.Add();
    items.Add();
    items.Delete(0);
    EXPECT_TRUE(items.updates.empty());
    items.EndUpdate();
    EXPECT_EQ(items.updates, std::vector<TCollectionItem*>{nullptr});
    delete items.Item(0);
    EXPECT_EQ(items.Count(), 0);
}

TEST(NotifierList, ListenersMayRemoveThemselvesWhileNotified)
{
    TNotifierList<int> list;
    std::vector<int> seen;
    int second = 0;
    list.Add([&](int v) {
        seen.push_back(v);
        list.Remove(second);
    });
    second = list.Add([&](int v) { seen.push_back(v * 10); });
    list.Notify(1);
    list.Notify(2);
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
}

} // namespace

#include "support_test.moc"
