#include "componentstream.h"
#include "streamsamples.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

// Fills every kind of property with a value that differs from its default.
void Fill(TSample& sample, TSample* partner = nullptr)
{
    sample.setObjectName(QStringLiteral("Sample1"));
    sample.SetCount(-42);
    sample.SetBig(Q_INT64_C(-9000000000));
    sample.SetUnsigned(4000000000u);
    sample.SetEnabled(false);
    sample.SetText(QString::fromUtf8("it's\ta \"test\"\r\n\xc3\xa9\xe2\x82\xac\xd0\x96") + QChar(0) + u'x');
    sample.SetSymbol('\'');
    QByteArray data;
    for (int b = 0; b < 256; ++b)
        data += char(b);
    sample.SetData(data);
    sample.SetRatio(0.1);
    sample.SetShade(shDark);
    sample.SetMarks(mkFirst | mkThird);
    sample.SetColor(TColor::FromRgb(1, 2, 3));
    sample.SetFont(TFont(QStringLiteral("Arial"), -16, clBlue, TFont::fsBold | TFont::fsItalic));
    sample.SetPartner(partner);
    sample.SetSecret(99);
    sample.SetVersion(3);
    sample.SetHidden(QStringLiteral("0-9A-Z_a-z"));
    sample.Inner()->SetTitle(QStringLiteral("Java"));
    TFont innerFont = sample.Inner()->Font();
    innerFont.SetHeight(-20);
    sample.Inner()->SetFont(innerFont);
    TBranch* branch = sample.Inner()->Branches()->AddItem();
    branch->SetName(QStringLiteral("Root"));
    branch->Leaves()->AddItem()->SetValue(1);
    TBranch* second = sample.Branches()->AddItem();
    second->SetName(QStringLiteral("Second"));
    second->SetWeight(5);
    second->SetUseExtra(true);
    second->SetExtra(QStringLiteral("kept"));
    TLeaf* leaf = second->Leaves()->AddItem();
    leaf->SetLabel(QStringLiteral("a"));
    second->Leaves()->AddItem();
    sample.Branches()->AddItem(); // an item with nothing but defaults
}

TReferenceResolver ResolveTo(QObject* object)
{
    return [object](const QString& name, const QMetaObject& type) -> QObject* {
        return object && object->objectName() == name && object->metaObject()->inherits(&type) ? object : nullptr;
    };
}

TEST(ComponentStream, EveryKindOfPropertyReadsBackEqual)
{
    TSample partner;
    partner.setObjectName(QStringLiteral("Partner1"));
    TSample sample;
    Fill(sample, &partner);
    const QByteArray text = WriteComponent(sample);

    TSample copy;
    QString error;
    ASSERT_TRUE(ReadComponent(text, copy, &error, ResolveTo(&partner))) << error.toStdString();
    EXPECT_EQ(WriteComponent(copy), text);
    EXPECT_EQ(copy.objectName(), QStringLiteral("Sample1"));
    EXPECT_EQ(copy.Count(), -42);
    EXPECT_EQ(copy.Big(), Q_INT64_C(-9000000000));
    EXPECT_EQ(copy.Unsigned(), 4000000000u);
    EXPECT_FALSE(copy.Enabled());
    EXPECT_EQ(copy.Text(), sample.Text());
    EXPECT_EQ(copy.Symbol(), '\'');
    EXPECT_EQ(copy.Data(), sample.Data());
    EXPECT_DOUBLE_EQ(copy.Ratio(), 0.1);
    EXPECT_EQ(copy.Shade(), shDark);
    EXPECT_EQ(copy.Marks(), mkFirst | mkThird);
    EXPECT_EQ(copy.Color(), TColor::FromRgb(1, 2, 3));
    EXPECT_EQ(copy.Font(), sample.Font());
    EXPECT_EQ(copy.Partner(), &partner);
    EXPECT_EQ(copy.Secret(), 0) << "a STORED false property is never written";
    EXPECT_EQ(copy.Version(), 3);
    EXPECT_EQ(copy.Hidden(), QStringLiteral("0-9A-Z_a-z"));
    EXPECT_EQ(copy.Inner()->Title(), QStringLiteral("Java"));
    EXPECT_EQ(copy.Inner()->Font().Height(), -20);
    EXPECT_EQ(copy.Inner()->Font().Name(), QStringLiteral("Courier New"));
    ASSERT_EQ(copy.Inner()->Branches()->Count(), 1);
    EXPECT_EQ(copy.Inner()->Branches()->At(0)->Leaves()->At(0)->Value(), 1);
    ASSERT_EQ(copy.Branches()->Count(), 2);
    TBranch* second = copy.Branches()->At(0);
    EXPECT_EQ(second->Weight(), 5);
    EXPECT_EQ(second->Extra(), QStringLiteral("kept"));
    ASSERT_EQ(second->Leaves()->Count(), 2);
    EXPECT_EQ(second->Leaves()->At(0)->Label(), QStringLiteral("a"));
    EXPECT_EQ(second->Leaves()->At(1)->Value(), 7);
}

TEST(ComponentStream, TextFormOfEachKindOfValue)
{
    TSample sample;
    sample.setObjectName(QStringLiteral("S"));
    sample.SetCount(-13);
    sample.SetText(QString::fromUtf8("it's\ta\xc3\xa9\xe2\x82\xac\xd0\x96"));
    sample.SetSymbol('\x01');
    sample.SetData(QByteArray("\x01\xab", 2));
    sample.SetRatio(0.1);
    sample.SetShade(shLight);
    sample.SetMarks(mkSecond | mkThird);
    sample.SetColor(clBlue);
    TFont font;
    font.SetStyle(TFont::fsUnderline);
    font.SetColor(TColor::FromRgb(0, 0, 1));
    sample.SetFont(font);
    sample.Inner()->Branches()->AddItem()->SetName(QStringLiteral("B"));
    EXPECT_EQ(WriteComponent(sample),
              "object S: TSample\n"
              "  Count = -13\n"
              "  Text = 'it''s'#9'a'#233#128#1046\n"
              "  Symbol = #1\n"
              "  Data = {01AB}\n"
              "  Ratio = 0.1\n"
              "  Shade = shLight\n"
              "  Marks = [mkSecond, mkThird]\n"
              "  Color = clBlue\n"
              "  Font.Color = 65536\n"
              "  Font.Style = [fsUnderline]\n"
              "  Inner.Branches = <\n"
              "    item\n"
              "      Name = 'B'\n"
              "    end>\n"
              "  Version = 1\n"
              "end\n");
}

TEST(ComponentStream, DefaultsAreLeftOutButAlwaysWrittenPropertiesStay)
{
    TSample sample;
    EXPECT_EQ(WriteComponent(sample), "object TSample\n  Version = 1\nend\n");

    // Emptied and default-only collections differ from the fresh ones only
    // when their items do.
    sample.Branches()->AddItem();
    EXPECT_EQ(WriteComponent(sample), "object TSample\n  Branches = <\n    item\n    end>\n  Version = 1\nend\n");
}

TEST(ComponentStream, ANameTheTextCannotHoldIsLeftOut)
{
    TSample sample;
    sample.setObjectName(QStringLiteral("two words"));
    const QByteArray text = WriteComponent(sample);
    EXPECT_TRUE(text.startsWith("object TSample\n")) << text.constData();
    TSample copy;
    EXPECT_TRUE(ReadComponent(text, copy));
}

TEST(ComponentStream, StoredOnlyWhenItsConditionHolds)
{
    TSample sample;
    TBranch* branch = sample.Branches()->AddItem();
    branch->SetExtra(QStringLiteral("secret"));
    sample.SetSecret(5);
    QByteArray text = WriteComponent(sample);
    EXPECT_FALSE(text.contains("Extra")) << text.constData();
    EXPECT_FALSE(text.contains("Secret"));

    branch->SetUseExtra(true);
    text = WriteComponent(sample);
    EXPECT_TRUE(text.contains("Extra = 'secret'")) << text.constData();
}

TEST(ComponentStream, DefinedPropertiesFollowThePublishedOnes)
{
    TSample sample;
    sample.SetHidden(QStringLiteral("h"));
    sample.SetCount(1);
    const QByteArray text = WriteComponent(sample);
    EXPECT_LT(text.indexOf("Count"), text.indexOf("Version"));
    EXPECT_LT(text.indexOf("Version"), text.indexOf("Hidden"));
}

TEST(ComponentStream, LongStringsAndBinariesSpanLinesAndReadBack)
{
    TSample sample;
    QString text;
    for (int i = 0; i < 300; ++i)
        text += QStringLiteral("word%1,").arg(i);
    text += u'\'';
    sample.SetText(text);
    sample.SetData(QByteArray(1000, '\x5a'));
    const QByteArray written = WriteComponent(sample);
    EXPECT_TRUE(written.contains("  Text =\n    'word0,")) << written.left(200).constData();
    EXPECT_TRUE(written.contains("' +\n    '"));
    EXPECT_TRUE(written.contains("  Data = {\n    5A5A"));
    for (const QByteArray& line : written.split('\n'))
        EXPECT_LE(line.size(), 80);

    TSample copy;
    QString error;
    ASSERT_TRUE(ReadComponent(written, copy, &error)) << error.toStdString();
    EXPECT_EQ(copy.Text(), text);
    EXPECT_EQ(copy.Data(), sample.Data());
}

TEST(ComponentStream, ReadingIsOneLoadingPhaseAndKeepsWhatTheTextDoesNotMention)
{
    TSample target;
    target.SetRatio(2.5);
    target.SetShade(shDark);
    target.Branches()->AddItem()->SetName(QStringLiteral("Old"));
    QString error;
    ASSERT_TRUE(ReadComponent("object Loaded: TSample\r\n  Count = 3\r\n  Branches = <\r\n    item\r\n"
                              "      Name = 'New'\r\n    end\r\n    item\r\n    end>\r\nend\r\n",
                              target, &error))
        << error.toStdString();
    EXPECT_EQ(target.objectName(), QStringLiteral("Loaded"));
    EXPECT_EQ(target.loadedCount, 1);
    EXPECT_FALSE(target.IsLoading());
    EXPECT_TRUE(target.SetWhileLoading());
    EXPECT_EQ(target.Count(), 3);
    EXPECT_DOUBLE_EQ(target.Ratio(), 2.5);
    EXPECT_EQ(target.Shade(), shDark);
    ASSERT_EQ(target.Branches()->Count(), 2) << "a collection is replaced, not merged";
    EXPECT_EQ(target.Branches()->At(0)->Name(), QStringLiteral("New"));
}

TEST(ComponentStream, NamesAndKeywordsIgnoreCase)
{
    TSample target;
    QString error;
    ASSERT_TRUE(ReadComponent("OBJECT x: tsample\n count = 4\n shade = SHLIGHT\n enabled = false\n"
                              " marks = [MKFIRST]\n color = CLRED\n font.name = 'A'\nEND\n",
                              target, &error))
        << error.toStdString();
    EXPECT_EQ(target.Count(), 4);
    EXPECT_EQ(target.Shade(), shLight);
    EXPECT_FALSE(target.Enabled());
    EXPECT_EQ(target.Marks(), StreamSamples::TMarks(mkFirst));
    EXPECT_EQ(target.Color(), clRed);
    EXPECT_EQ(target.Font().Name(), QStringLiteral("A"));
}

TEST(ComponentStream, ValueSpellingsTheWriterDoesNotUseStillRead)
{
    TSample target;
    QString error;
    ASSERT_TRUE(ReadComponent("object TSample\n  Count = $1F\n  Text = 'a' +\n 'b'#$41\n  Color = -2147483643\n"
                              "  Font.Color = 255\n  Data = {0a 0B\n 0c}\n  Symbol = #0\n  Marks = []\nend",
                              target, &error))
        << error.toStdString();
    EXPECT_EQ(target.Count(), 31);
    EXPECT_EQ(target.Text(), QStringLiteral("abA"));
    EXPECT_EQ(target.Color(), clWindow);
    EXPECT_EQ(target.Font().Color(), clRed);
    EXPECT_EQ(target.Data(), QByteArray("\x0a\x0b\x0c"));
    EXPECT_EQ(target.Symbol(), '\0');
}

TEST(ComponentStream, ReferencesGoThroughTheResolver)
{
    TSample partner;
    partner.setObjectName(QStringLiteral("Other"));
    TSample target;
    QString error;

    EXPECT_TRUE(ReadComponent("object TSample\n  Partner = Other\nend", target, &error, ResolveTo(&partner)));
    EXPECT_EQ(target.Partner(), &partner);
    EXPECT_TRUE(ReadComponent("object TSample\n  Partner = nil\nend", target, &error));
    EXPECT_EQ(target.Partner(), nullptr);

    target.SetPartner(&partner);
    EXPECT_FALSE(ReadComponent("object TSample\n  Count = 1\n  Partner = Other\nend", target, &error));
    EXPECT_EQ(error, QStringLiteral("Line 3: no object 'Other' for property 'Partner' of TSample"));
    EXPECT_FALSE(ReadComponent("object TSample\n  Partner = Missing\nend", target, &error, ResolveTo(&partner)));
    EXPECT_EQ(target.Count(), 0);

    // A resolver that answers with an object of the wrong class is refused.
    QObject stranger;
    auto anything = [&stranger](const QString&, const QMetaObject&) -> QObject* { return &stranger; };
    EXPECT_FALSE(ReadComponent("object TSample\n  Partner = X\nend", target, &error, anything));
    EXPECT_TRUE(error.contains(QLatin1String("is not a TSample"))) << error.toStdString();
    EXPECT_EQ(target.Partner(), &partner);

    // An owned object is not a reference to be replaced.
    EXPECT_FALSE(ReadComponent("object TSample\n  Inner = nil\nend", target, &error));
}

struct TBadText {
    const char* what;
    QByteArray text;
    QString error;
};

TEST(ComponentStream, FaultsNameTheirLineAndLeaveTheTargetAsItWas)
{
    const TBadText cases[] = {
        {"unknown property", "object TSample\n  Count = 1\n  Foo = 2\nend", "Line 3: unknown property 'Foo' of TSample"},
        {"word for a number", "object TSample\n  Count = many\nend",
         "Line 2: many is not a valid integer for property 'Count' of TSample"},
        {"real for an integer", "object TSample\n  Count = 1.5\nend",
         "Line 2: 1.5 is not a valid integer for property 'Count' of TSample"},
        {"integer overflow", "object TSample\n  Count = 2147483648\nend",
         "Line 2: 2147483648 is not a valid integer for property 'Count' of TSample"},
        {"negative unsigned", "object TSample\n  Unsigned = -1\nend",
         "Line 2: -1 is not a valid integer for property 'Unsigned' of TSample"},
        {"unknown enum member", "object TSample\n  Shade = shBright\nend",
         "Line 2: unknown value 'shBright' for property 'Shade' of TSample"},
        {"unknown set member", "object TSample\n  Marks = [mkFirst,\n mkFourth]\nend",
         "Line 2: unknown value 'mkFourth' for property 'Marks' of TSample"},
        {"string for a boolean", "object TSample\n  Enabled = 'yes'\nend",
         "Line 2: 'yes' is not a valid boolean for property 'Enabled' of TSample"},
        {"unterminated string", "object TSample\n  Count = 1\n  Text = 'abc\n  Count = 2\nend",
         "Line 3: unterminated string"},
        {"bad colour", "object TSample\n  Color = clMauve\nend",
         "Line 2: clMauve is not a valid colour for property 'Color' of TSample"},
        {"bad font colour", "object TSample\n  Font.Color = clMauve\nend",
         "Line 2: clMauve is not a valid colour for property 'Color' of TFont"},
        {"unknown font property", "object TSample\n  Font.Weight = 3\nend",
         "Line 2: unknown property 'Weight' of TFont"},
        {"two characters for a char", "object TSample\n  Symbol = 'ab'\nend",
         "Line 2: 'ab' is not a single character for property 'Symbol' of TSample"},
        {"truncated", "object TSample\n  Count = 1\n  Branches = <\n    item\n      Weight = 2\n",
         "Line 6: unexpected end of text, 'end' expected"},
        {"truncated after equals", "object TSample\n  Count =", "Line 2: unexpected end of text, a value expected"},
        {"empty text", "", "Line 1: the text does not start with 'object'"},
        {"missing equals", "object TSample\n  Count 1\nend", "Line 2: '=' expected"},
        {"text after the end", "object TSample\nend\nend\n", "Line 3: text after the end of the object"},
        {"other class", "object X: TInner\nend", "Line 1: the text holds a TInner, not a TSample"},
        {"unknown item property", "object TSample\n  Branches = <\n    item\n      Weight = 2\n    end\n    item\n"
                                  "      Colour = 1\n    end>\nend",
         "Line 7: unknown property 'Colour' of TBranch"},
        {"bad value in a nested collection", "object TSample\n  Branches = <\n    item\n      Leaves = <\n"
                                             "        item\n          Value = x\n        end>\n    end>\nend",
         "Line 6: x is not a valid integer for property 'Value' of TLeaf"},
        {"NUL byte", QByteArray("object TSample\n  Count = 1\n") + '\0' + "  Count = 2\nend",
         "Line 3: unexpected character #0"},
        {"bad hex", "object TSample\n  Data = {0G}\nend", "Line 2: bad hex digit 'G' in a binary value"},
        {"odd hex", "object TSample\n  Data = {\n  012}\nend", "Line 2: odd number of hex digits in a binary value"},
        {"unterminated hex", "object TSample\n  Data = {0102\n", "Line 2: unterminated binary value"},
        {"bad character code", "object TSample\n  Text = 'a'#99999999999\nend",
         "Line 2: bad character code '#99999999999'"},
        {"collection for a number", "object TSample\n  Count = <>\nend",
         "Line 2: a collection is not a valid integer for property 'Count' of TSample"},
        {"number for a collection", "object TSample\n  Branches = 3\nend",
         "Line 2: a collection <...> expected for property 'Branches' of TSample"},
        {"dotted into a number", "object TSample\n  Count.Value = 3\nend",
         "Line 2: property 'Count' of TSample has no properties to set"},
        {"item outside a collection", "object TSample\n  item\nend", "Line 2: 'item' is not expected here"},
        {"lone CR ends a line", "object TSample\r  Count = 1\r  Foo = 2\rend", "Line 3: unknown property 'Foo' of TSample"},
    };
    for (const TBadText& bad : cases) {
        TSample target;
        Fill(target);
        const QByteArray before = WriteComponent(target);
        QString error;
        EXPECT_FALSE(ReadComponent(bad.text, target, &error)) << bad.what;
        EXPECT_EQ(error, bad.error) << bad.what;
        EXPECT_EQ(WriteComponent(target), before) << bad.what;
        EXPECT_EQ(target.loadedCount, 0) << bad.what;
    }
}

TEST(ComponentStream, AFaultLateInTheTextLeavesEarlierPropertiesUntouched)
{
    TSample target;
    Fill(target);
    const QByteArray before = WriteComponent(target);
    QString error;
    EXPECT_FALSE(ReadComponent("object TSample\n  Count = 5\n  Branches = <>\n  Inner.Title = 'new'\n"
                               "  Inner.Branches = <\n    item\n    end>\n  Shade = shMissing\nend",
                               target, &error));
    EXPECT_EQ(error, QStringLiteral("Line 8: unknown value 'shMissing' for property 'Shade' of TSample"));
    EXPECT_EQ(WriteComponent(target), before);
    EXPECT_EQ(target.Branches()->Count(), 2);
}

TEST(ComponentStream, HostileTextIsRefusedWithoutHarm)
{
    TSample target;
    QString error;

    // Collections nested far deeper than any class has.
    QByteArray deep = "object TSample\n";
    for (int i = 0; i < 100000; ++i)
        deep += "Branches = < item ";
    EXPECT_FALSE(ReadComponent(deep, target, &error));
    EXPECT_TRUE(error.contains(QLatin1String("nest too deep"))) << error.toStdString();

    // A 20 MB string, NUL bytes inside quotes and a long dotted path.
    QByteArray huge = "object TSample\n  Text = '" + QByteArray(20 << 20, 'q') + QByteArray("\0\0'", 3) + "\nend\n";
    ASSERT_TRUE(ReadComponent(huge, target, &error)) << error.toStdString();
    EXPECT_EQ(target.Text().size(), (20 << 20) + 2);
    EXPECT_EQ(target.Text().back(), QChar(0));
    QByteArray path = "object TSample\n  Inner";
    for (int i = 0; i < 10000; ++i)
        path += ".Font";
    EXPECT_FALSE(ReadComponent(path + " = 1\nend", target, &error));

    // Every prefix of a valid text, and random damage to it, either reads
    // or leaves the target as it was.
    TSample source;
    Fill(source);
    const QByteArray valid = WriteComponent(source);
    const QByteArray before = valid;
    for (qsizetype length = 0; length < valid.size() - 1; length += 7) {
        TSample victim;
        Fill(victim);
        ASSERT_FALSE(ReadComponent(valid.left(length), victim, &error)) << length;
        ASSERT_TRUE(error.startsWith(QLatin1String("Line "))) << error.toStdString();
        ASSERT_EQ(WriteComponent(victim), before) << length;
    }
    QRandomGenerator random(1234);
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = valid;
        for (int hits = random.bounded(1, 6); hits > 0; --hits)
            damaged[random.bounded(int(damaged.size()))] = char(random.bounded(256));
        TSample victim;
        Fill(victim);
        if (!ReadComponent(damaged, victim, &error)) {
            ASSERT_EQ(WriteComponent(victim), before) << damaged.constData();
        }
    }
}

} // namespace
