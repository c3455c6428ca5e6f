#include "componentstream.h"
#include "memoenvoptions.h"
#include "persholder.h"
#include "textstyle.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

// An editor as the styles see it: its colour and font, and what they asked.
class TFakeOwner : public TTextStylesOwner {
public:
    TColor color = clYellow;
    TFont font{QStringLiteral("Courier New"), -13, clBlack};
    int changes = 0;
    std::vector<std::tuple<TUpdateMemoColors, TColor, TColor>> memoColors;

    TColor MemoColor() const override { return color; }
    TFont MemoFont() const override { return font; }
    void SetMemoColors(TUpdateMemoColors which, TColor fontColor, TColor backColor) override
    {
        memoColors.emplace_back(which, fontColor, backColor);
    }
    void TextStylesChanged() override { ++changes; }
};

using TMemoColors = std::tuple<TUpdateMemoColors, TColor, TColor>;

QString Describe(const TTextStyle& style)
{
    QStringList styles;
    if (style.Font().Style() & TFont::fsBold)
        styles << QStringLiteral("bold");
    if (style.Font().Style() & TFont::fsItalic)
        styles << QStringLiteral("italic");
    if (style.Font().Style() & TFont::fsUnderline)
        styles << QStringLiteral("underline");
    static const char* const kUpdate[] = {"mcNone", "mcText", "mcSelection", "mcSearchMatch"};
    return QStringLiteral("%1|%2|%3|%4|%5|%6|[%7]")
        .arg(style.Name(), ColorToIdent(style.Font().Color()), ColorToIdent(style.Color()),
             style.UseMemoColor() ? QStringLiteral("T") : QStringLiteral("F"),
             style.UseMemoFont() ? QStringLiteral("T") : QStringLiteral("F"),
             QLatin1String(kUpdate[style.UpdateMemoColors()]), styles.join(u','));
}

QByteArray Text(const TTextStyles& styles)
{
    TPersHolder holder;
    holder.SetP(const_cast<TTextStyles*>(&styles));
    return WriteComponent(holder);
}

TEST(TextStyles, DefaultTableInItsOrder)
{
    const QStringList expected = {
        "Whitespace|clBlack|clWindow|T|F|mcNone|[]",
        "String|clMaroon|clWindow|T|F|mcNone|[]",
        "Comment|clGray|clWindow|T|F|mcNone|[italic]",
        "Identifier|clBlack|clWindow|T|F|mcNone|[]",
        "Integer|clGreen|clWindow|T|F|mcNone|[]",
        "Float|clGreen|clWindow|T|F|mcNone|[]",
        "Reserved words|clBlue|clWindow|T|F|mcNone|[bold]",
        "Delimiters|clBlack|clWindow|T|F|mcNone|[]",
        "Defines|clGreen|clWindow|T|F|mcNone|[]",
        "Assembler|clGreen|clWindow|T|F|mcNone|[]",
        "Html tags|clBlue|clWindow|T|F|mcNone|[]",
        "Html params|clBlue|clWindow|T|F|mcNone|[]",
        "Url|clBlue|clWindow|T|F|mcNone|[underline]",
        "BreakPoint|clWindow|clRed|F|F|mcNone|[]",
        "Error line|clWindow|clMaroon|F|F|mcNone|[]",
        "Marked Block|clWhite|clNavy|F|F|mcSelection|[]",
        "Search Match|clLime|clBlack|F|F|mcSearchMatch|[]",
        "Emphasis|clBlack|clWindow|T|F|mcNone|[bold]",
        "System Variable|clBlue|clWindow|T|F|mcNone|[]",
        "Script Whitespace|clTeal|clWindow|T|F|mcNone|[]",
        "Script Delimiters|clBlack|clWindow|T|F|mcNone|[]",
        "Script Comment|clGray|clWindow|T|F|mcNone|[italic]",
        "Script String|clMaroon|clWindow|T|F|mcNone|[]",
        "Script Number|clBlue|clWindow|T|F|mcNone|[]",
        "Script ResWord|clBlack|clWindow|T|F|mcNone|[bold]",
        "Newer keywords|clBlue|clWindow|T|F|mcNone|[bold]",
        "Annotation|clOlive|clWindow|T|F|mcNone|[]",
        "Text Block|clMaroon|clWindow|T|F|mcNone|[]",
        "JSP Comment|clGray|clWindow|T|F|mcNone|[italic]",
        "JSP Directive|clNavy|clWindow|T|F|mcNone|[bold]",
        "JSP Directive Attribute|clBlue|clWindow|T|F|mcNone|[]",
        "JSP Directive Value|clMaroon|clWindow|T|F|mcNone|[]",
        "Expression Language|clPurple|clWindow|T|F|mcNone|[]",
        "JSP Tag Prefix|clNavy|clWindow|T|F|mcNone|[]",
        "Html entities|clTeal|clWindow|T|F|mcNone|[]",
        "Html doctype|clGray|clWindow|T|F|mcNone|[]",
        "Html CDATA|clOlive|clWindow|T|F|mcNone|[]",
        "JavaScript Keyword|clBlue|clWindow|T|F|mcNone|[bold]",
        "JavaScript String|clMaroon|clWindow|T|F|mcNone|[]",
        "JavaScript Template|clMaroon|clWindow|T|F|mcNone|[]",
        "JavaScript Comment|clGray|clWindow|T|F|mcNone|[italic]",
        "JavaScript Number|clGreen|clWindow|T|F|mcNone|[]",
        "CSS Selector|clNavy|clWindow|T|F|mcNone|[bold]",
        "CSS Property|clBlue|clWindow|T|F|mcNone|[]",
        "CSS Value|clTeal|clWindow|T|F|mcNone|[]",
        "CSS Number|clGreen|clWindow|T|F|mcNone|[]",
        "CSS Colour|clOlive|clWindow|T|F|mcNone|[]",
        "CSS String|clMaroon|clWindow|T|F|mcNone|[]",
        "CSS Comment|clGray|clWindow|T|F|mcNone|[italic]",
        "JavaScript RegExp|clPurple|clWindow|T|F|mcNone|[]",
        "CSS Class|clNavy|clWindow|T|F|mcNone|[]",
        "CSS Id|clNavy|clWindow|T|F|mcNone|[italic]",
        "CSS Pseudo-class|clPurple|clWindow|T|F|mcNone|[]",
        "CSS At-rule|clBlue|clWindow|T|F|mcNone|[bold]",
        "CSS Custom Property|clFuchsia|clWindow|T|F|mcNone|[]",
        "CSS Url|clMaroon|clWindow|T|F|mcNone|[underline]",
        "CSS Attribute Selector|clNavy|clWindow|T|F|mcNone|[]",
        "XML Element|clBlue|clWindow|T|F|mcNone|[]",
        "XML Attribute|clRed|clWindow|T|F|mcNone|[]",
        "XML Value|clMaroon|clWindow|T|F|mcNone|[]",
        "XML Processing Instruction|clTeal|clWindow|T|F|mcNone|[bold]",
        "JSON Key|clNavy|clWindow|T|F|mcNone|[]",
        "Properties Key|clNavy|clWindow|T|F|mcNone|[]",
        "Properties Value|clMaroon|clWindow|T|F|mcNone|[]",
        "Properties Escape|clTeal|clWindow|T|F|mcNone|[]",
        "SQL Type|clTeal|clWindow|T|F|mcNone|[bold]",
        "SQL Quoted Identifier|clNavy|clWindow|T|F|mcNone|[]",
        "Shell Builtin|clTeal|clWindow|T|F|mcNone|[bold]",
        "Shell Variable|clPurple|clWindow|T|F|mcNone|[]",
        "Shell Here Document|clOlive|clWindow|T|F|mcNone|[]",
        "Shell Arithmetic|clNavy|clWindow|T|F|mcNone|[]",
    };
    TTextStyles styles;
    QStringList actual;
    for (int i = 0; i < styles.Count(); ++i) {
        actual << Describe(*styles.At(i));
        EXPECT_FALSE(styles.At(i)->UpperCase());
    }
    EXPECT_EQ(actual, expected);

    // Reset brings the table back over any change.
    styles.At(0)->SetColor(clRed);
    styles.Delete(3);
    styles.ResetToDefaults();
    actual.clear();
    for (int i = 0; i < styles.Count(); ++i)
        actual << Describe(*styles.At(i));
    EXPECT_EQ(actual, expected);
}

TEST(TextStyles, FindComparesAsciiCaseOnlyAndTakesTheFirstMatch)
{
    TTextStyles styles;
    EXPECT_EQ(styles.Find(QStringLiteral("script resword")), styles.At(24));
    EXPECT_EQ(styles.Find(QStringLiteral("MARKED BLOCK")), styles.At(15));
    EXPECT_EQ(styles.Find(QStringLiteral("Script")), nullptr);
    EXPECT_EQ(styles.Find(QString()), nullptr);

    auto* twin = static_cast<TTextStyle*>(styles.Add());
    twin->SetName(QStringLiteral("WHITESPACE"));
    EXPECT_EQ(styles.Find(QStringLiteral("whitespace")), styles.At(0));

    auto* accented = static_cast<TTextStyle*>(styles.Add());
    accented->SetName(QString::fromUtf8("\xc3\x89tat"));
    EXPECT_EQ(styles.Find(QString::fromUtf8("\xc3\xa9tat")), nullptr);
    EXPECT_EQ(styles.Find(QString::fromUtf8("\xc3\x89TAT")), accented);
}

TEST(TextStyles, FollowingTheEditorIsRefusedWhileAStyleSetsEditorColours)
{
    TTextStyles styles;
    TTextStyle* marked = styles.Find(QStringLiteral("Marked Block"));
    marked->SetUseMemoColor(true);
    marked->SetUseMemoFont(true);
    EXPECT_FALSE(marked->UseMemoColor());
    EXPECT_FALSE(marked->UseMemoFont());
    EXPECT_EQ(marked->Color(), clNavy);

    marked->SetUpdateMemoColors(mcNone);
    marked->SetUseMemoColor(true);
    EXPECT_TRUE(marked->UseMemoColor());
    EXPECT_EQ(marked->EffectiveColor(), clWindow);
}

TEST(TextStyles, SettingAColourStopsFollowingTheEditorSoItIsStored)
{
    TTextStyles styles;
    TTextStyle* whitespace = styles.At(0);
    ASSERT_TRUE(whitespace->UseMemoColor());
    EXPECT_FALSE(Text(styles).contains("\n      Color = clWindow"));

    whitespace->SetColor(clWindow); // the same value: nothing changes
    EXPECT_TRUE(whitespace->UseMemoColor());

    whitespace->SetColor(clAqua);
    EXPECT_FALSE(whitespace->UseMemoColor());
    const QByteArray text = Text(styles);
    EXPECT_TRUE(text.contains("      Name = 'Whitespace'\n      Color = clAqua\n")) << text.constData();

    whitespace->SetUseMemoFont(true);
    ASSERT_TRUE(whitespace->UseMemoFont());
    TFont font = whitespace->Font();
    font.SetStyle(TFont::fsBold);
    whitespace->SetFont(font);
    EXPECT_FALSE(whitespace->UseMemoFont());
}

TEST(TextStyles, EditorColoursFollowTheirStyleWheneverItsColourChangesOrTheValueIsSet)
{
    TFakeOwner owner;
    TTextStyles styles(&owner);
    EXPECT_TRUE(owner.memoColors.empty()) << "building the collection leaves the editor alone";
    EXPECT_EQ(owner.changes, 0);

    TTextStyle* match = styles.Find(QStringLiteral("Search Match"));
    match->SetColor(clYellow);
    TFont font = match->Font();
    font.SetColor(clRed);
    match->SetFont(font);
    match->SetUpdateMemoColors(mcSearchMatch);
    TTextStyle* plain = styles.At(1);
    plain->SetColor(clSilver); // mcNone: the editor is not touched
    plain->SetUpdateMemoColors(mcText);
    EXPECT_EQ(owner.memoColors, (std::vector<TMemoColors>{
                                    {mcSearchMatch, clLime, clYellow},
                                    {mcSearchMatch, clRed, clYellow},
                                    {mcSearchMatch, clRed, clYellow},
                                    {mcText, clMaroon, clSilver},
                                }));

    owner.memoColors.clear();
    styles.ResetToDefaults();
    EXPECT_EQ(owner.memoColors, (std::vector<TMemoColors>{{mcSelection, clWhite, clNavy},
                                                          {mcSearchMatch, clLime, clBlack}}));
}

TEST(TextStyles, AChangeDuringAnUpdateReachesTheEditorOnceAtTheEndOfTheOutermost)
{
    TFakeOwner owner;
    TTextStyles styles(&owner);
    styles.At(0)->SetUpperCase(true);
    EXPECT_EQ(owner.changes, 1);
    styles.At(0)->SetUpperCase(true);
    EXPECT_EQ(owner.changes, 1) << "no change, no re-highlight";

    owner.changes = 0;
    styles.BeginUpdate();
    styles.At(1)->SetColor(clRed);
    styles.BeginUpdate();
    styles.At(2)->SetUpperCase(true);
    TFont font = styles.At(3)->Font();
    font.SetStyle(TFont::fsStrikeOut);
    styles.At(3)->SetFont(font);
    styles.Delete(4);
    styles.EndUpdate();
    EXPECT_EQ(owner.changes, 0);
    styles.EndUpdate();
    EXPECT_EQ(owner.changes, 1);

    owner.changes = 0;
    styles.ResetToDefaults();
    EXPECT_EQ(owner.changes, 1);

    owner.changes = 0;
    TTextStyles other;
    styles.Assign(other);
    EXPECT_EQ(owner.changes, 1);
}

TEST(TextStyles, PaintedColourAndFontComeFromTheEditorWhereTheStyleFollowsIt)
{
    TFakeOwner owner;
    TTextStyles styles(&owner);
    TTextStyle* comment = styles.Find(QStringLiteral("Comment"));
    EXPECT_EQ(comment->EffectiveColor(), clYellow);
    TFont painted = comment->EffectiveFont();
    EXPECT_EQ(painted.Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(painted.Height(), -13);
    EXPECT_EQ(painted.Color(), clGray);
    EXPECT_EQ(painted.Style(), TFont::TFontStyles(TFont::fsItalic));
    EXPECT_EQ(styles.Find(QStringLiteral("BreakPoint"))->EffectiveColor(), clRed);

    comment->SetUseMemoFont(true);
    EXPECT_EQ(comment->EffectiveFont(), owner.font);

    TTextStyles alone;
    EXPECT_EQ(alone.At(0)->EffectiveColor(), clWindow);
    EXPECT_EQ(alone.At(0)->EffectiveFont().Name(), TFont().Name());
}

TEST(TextStyles, RefreshTakesTheEditorsColourAndFontWhereStylesFollowThem)
{
    TFakeOwner owner;
    TTextStyles styles(&owner);
    TTextStyle* whitespace = styles.At(0);
    TTextStyle* url = styles.Find(QStringLiteral("Url"));
    url->SetUseMemoFont(true);
    owner.color = TColor::FromRgb(0xF0, 0xFB, 0xFF);
    owner.font = TFont(QStringLiteral("Liberation Mono"), -16, clNavy);
    owner.changes = 0;
    styles.RefreshFromEditor();
    EXPECT_EQ(owner.changes, 1);
    EXPECT_EQ(whitespace->Color(), owner.color);
    EXPECT_TRUE(whitespace->UseMemoColor());
    EXPECT_EQ(whitespace->Font().Name(), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(whitespace->Font().Height(), -16);
    EXPECT_EQ(whitespace->Font().Color(), clBlack);
    EXPECT_EQ(url->Font(), owner.font);
    EXPECT_EQ(styles.Find(QStringLiteral("Error line"))->Color(), clMaroon);

    owner.changes = 0;
    styles.RefreshFromEditor();
    EXPECT_EQ(owner.changes, 0) << "nothing new to take";
}

class StyleFiles : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(StyleFiles, ASavedFileLoadsBackToEqualStyles)
{
    TTextStyles styles;
    styles.At(0)->SetColor(TColor::FromRgb(10, 20, 30));
    styles.At(1)->SetUpperCase(true);
    styles.At(2)->SetUseMemoFont(true);
    TFont font = styles.At(3)->Font();
    font.SetName(QStringLiteral("Arial"));
    font.SetStyle(TFont::fsBold | TFont::fsUnderline);
    styles.At(3)->SetFont(font);
    styles.Find(QStringLiteral("Marked Block"))->SetUpdateMemoColors(mcText);
    styles.Delete(5);
    static_cast<TTextStyle*>(styles.Add())->SetName(QString::fromUtf8("Mine's \xc3\xa9\t"));

    QString error;
    ASSERT_TRUE(styles.SaveToFile(Path(QStringLiteral("colors.txt")), &error)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("colors.txt"))));
    QFile file(Path(QStringLiteral("colors.RGB")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    EXPECT_TRUE(saved.startsWith("object PersHolder: TPersHolder\n  P = <\n    item\n      Name = 'Whitespace'\n"))
        << saved.left(120).constData();

    TFakeOwner owner;
    TTextStyles loaded(&owner);
    ASSERT_TRUE(loaded.LoadFromFile(file.fileName(), &error)) << error.toStdString();
    EXPECT_EQ(Text(loaded), Text(styles));
    ASSERT_EQ(loaded.Count(), styles.Count());
    for (int i = 0; i < styles.Count(); ++i)
        EXPECT_EQ(Describe(*loaded.At(i)), Describe(*styles.At(i))) << i;
    EXPECT_TRUE(loaded.At(1)->UpperCase());
    EXPECT_EQ(loaded.At(3)->Font(), styles.At(3)->Font());
    EXPECT_EQ(owner.changes, 1);

    // The default styles, saved and loaded, are the default styles.
    TTextStyles defaults;
    ASSERT_TRUE(defaults.SaveToFile(Path(QStringLiteral("defaults")), &error));
    ASSERT_TRUE(loaded.LoadFromFile(Path(QStringLiteral("defaults.RGB")), &error)) << error.toStdString();
    EXPECT_EQ(Text(loaded), Text(defaults));
}

TEST_F(StyleFiles, TheExtensionIsForcedToRGB)
{
    EXPECT_EQ(TTextStyles::StyleFileName(QStringLiteral("/a.b/styles")), QStringLiteral("/a.b/styles.RGB"));
    EXPECT_EQ(TTextStyles::StyleFileName(QStringLiteral("/a/my.styles.rgb")), QStringLiteral("/a/my.styles.RGB"));
    EXPECT_EQ(TTextStyles::StyleFileName(QStringLiteral("x.txt")), QStringLiteral("x.RGB"));
}

TEST_F(StyleFiles, ACorruptOrTruncatedFileIsReportedAndChangesNothing)
{
    TTextStyles styles;
    QString error;
    ASSERT_TRUE(styles.SaveToFile(Path(QStringLiteral("good.RGB")), &error));
    QFile good(Path(QStringLiteral("good.RGB")));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray text = good.readAll();

    const std::vector<std::pair<QByteArray, QString>> bad = {
        {text.left(text.indexOf("    item", text.size() / 2)), QStringLiteral("unexpected end of text")},
        {text.left(text.indexOf("clMaroon") + 3) + "\nend>\nend\n", QStringLiteral("not a valid colour")},
        {QByteArray(text).replace("mcSelection", "mcEverything"), QStringLiteral("unknown value 'mcEverything'")},
        {QByteArray(text).replace("Font.Color", "Font.Colour"), QStringLiteral("unknown property 'Colour' of TFont")},
        {QByteArray(text).replace("TPersHolder", "TSomethingElse"), QStringLiteral("not a TPersHolder")},
        {QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), QStringLiteral("Line 1")},
        {QByteArray(), QStringLiteral("Line 1")},
    };
    TFakeOwner owner;
    TTextStyles target(&owner);
    target.At(0)->SetColor(clFuchsia);
    const QByteArray before = Text(target);
    owner.changes = 0;
    owner.memoColors.clear();
    int index = 0;
    for (const auto& [content, expected] : bad) {
        const QString path = Path(QStringLiteral("bad%1.RGB").arg(index++));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        EXPECT_FALSE(target.LoadFromFile(path, &error)) << path.toStdString();
        EXPECT_TRUE(error.contains(expected)) << error.toStdString();
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path))) << error.toStdString();
        EXPECT_EQ(Text(target), before);
    }
    EXPECT_FALSE(target.LoadFromFile(Path(QStringLiteral("missing.RGB")), &error));
    EXPECT_TRUE(error.startsWith(QLatin1String("Cannot open file"))) << error.toStdString();
    EXPECT_EQ(owner.changes, 0);
    EXPECT_TRUE(owner.memoColors.empty());
}

TEST(MemoEnvOptions, TheGlobalOptionsHoldTheDefaultStyles)
{
    TMemoEnvOptions& global = TMemoEnvOptions::Global();
    EXPECT_EQ(&global, &TMemoEnvOptions::Global());
    ASSERT_EQ(global.TextStyles()->Count(), TTextStyles().Count());
    // The options own their styles, as an editor does.
    EXPECT_EQ(global.TextStyles()->Owner(), static_cast<TTextStylesOwner*>(&global));
    EXPECT_EQ(global.TextStyles()->Find(QStringLiteral("reserved words"))->Font().Color(), clBlue);
}

TEST(MemoEnvOptions, ListenersHearOfEveryChangeOnceAndStopWhenRemoved)
{
    TMemoEnvOptions options;
    int heard = 0;
    const int handle = options.AddListener([&heard] { ++heard; });

    options.TextStyles()->At(0)->SetColor(clRed);
    EXPECT_EQ(heard, 1);

    options.TextStyles()->BeginUpdate();
    options.TextStyles()->At(1)->SetColor(clRed);
    options.TextStyles()->At(2)->SetUpperCase(true);
    options.TextStyles()->EndUpdate();
    EXPECT_EQ(heard, 2);

    TTextStyles replacement;
    replacement.Delete(0);
    options.SetTextStyles(&replacement);
    EXPECT_EQ(heard, 3);
    EXPECT_NE(options.TextStyles(), &replacement) << "the styles are copied, not shared";
    EXPECT_EQ(options.TextStyles()->Count(), replacement.Count());
    replacement.At(0)->SetColor(clLime);
    EXPECT_EQ(heard, 3);

    options.Changed();
    EXPECT_EQ(heard, 4);

    EXPECT_EQ(options.Options(), moThumbTracking | moColorSyntax);
    options.SetOptions(options.Options() | moDisableRightClickMove);
    EXPECT_EQ(heard, 5);
    options.SetOptions(options.Options());
    EXPECT_EQ(heard, 5) << "setting the same options is no change";

    // Reading the options from a stream is one change, and brings the
    // options back.
    QString error;
    const auto stream = WriteComponent(options);
    ASSERT_TRUE(ReadComponent(stream, options, &error)) << error.toStdString();
    EXPECT_EQ(heard, 6);
    TMemoEnvOptions copy;
    ASSERT_TRUE(ReadComponent(stream, copy, &error)) << error.toStdString();
    EXPECT_EQ(copy.Options(), moThumbTracking | moColorSyntax | moDisableRightClickMove);

    options.RemoveListener(handle);
    options.Changed();
    EXPECT_EQ(heard, 6);
}

} // namespace
