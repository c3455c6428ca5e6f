// Options, Editor Options: the dialog's three pages driven by clicks and
// keys, what "Ok" writes (and when it writes nothing), how it shows in the
// open document, colour files, and the settings after a restart.

#include "shellfixture.h"

#include "colorbutton.h"
#include "envcolorspage.h"
#include "envdisplaypage.h"
#include "enveditorpage.h"
#include "envform.h"
#include "memoenvoptions.h"
#include "memosourceoptions.h"
#include "modaldialogs.h"
#include "settingsstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>

#include <functional>

namespace {

constexpr quint32 kWhite = 0xffffff;
constexpr quint32 kBlack = 0x000000;
constexpr quint32 kRed = 0xff0000;
constexpr quint32 kLime = 0x00ff00;

quint32 Rgb(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xffffffu;
}

bool Has(const QImage& image, const QRect& rect, quint32 rgb)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (Rgb(image, x, y) == rgb)
                return true;
        }
    }
    return false;
}

class EditorOptionsTest : public ShellTest {
protected:
    void SetUp() override
    {
        FreshGlobals();
        ShellTest::SetUp();
    }

    void TearDown() override
    {
        ModalDialogs::SetHook({});
        ShellTest::TearDown();
        FreshGlobals();
    }

    // The global options as a new process has them.
    static void FreshGlobals()
    {
        TMemoEnvOptions::Global().Assign(TMemoEnvOptions());
        TMemoSourceOptions::Global().Assign(TMemoSourceOptions());
    }

    // Options, Editor Options... with act run on the dialog while it shows.
    // False when no dialog showed.
    bool RunDialog(const std::function<void(TEnvForm&)>& act)
    {
        int shown = 0;
        ModalDialogs::THook scripted = ModalDialogs::SetHook([&](QDialog& dialog) {
            ++shown;
            auto* form = qobject_cast<TEnvForm*>(&dialog);
            ASSERT_NE(form, nullptr);
            act(*form);
        });
        Item("OptionItemsEditor")->trigger();
        ModalDialogs::SetHook(scripted);
        return shown == 1;
    }

    static QPushButton* Button(TEnvForm& form, const QString& text)
    {
        for (QPushButton* button : form.findChildren<QPushButton*>()) {
            if (button->text() == text)
                return button;
        }
        ADD_FAILURE() << "no button " << text.toStdString();
        return nullptr;
    }

    // Near the left end, where a tick box has its box whatever the length
    // of its caption.
    static void Click(QWidget* widget)
    {
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(std::min(8, widget->width() / 2), widget->height() / 2));
    }

    // Clicks the page's tab and returns the page.
    template <class Page>
    static Page& ShowPage(TEnvForm& form, const char* caption)
    {
        QTabBar* tabs = form.Pages()->tabBar();
        auto* page = static_cast<Page*>(form.Page(QString::fromLatin1(caption)));
        EXPECT_NE(page, nullptr) << caption;
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(form.Pages()->indexOf(page)).center());
        EXPECT_EQ(form.Pages()->currentWidget(), page);
        return *page;
    }

    static void Type(QWidget* field, const QString& text)
    {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

    // Picks an item of a list box by keys, as the user would.
    static void Choose(QComboBox* combo, const QString& text)
    {
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < combo->count() && combo->currentText() != text; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        EXPECT_EQ(combo->currentText(), text);
    }

    TDCMemo* Editor() const { return form->TarnelEditor(); }
};

// What each tick of the editor page stands for.
struct TTickRow {
    const char* caption;
    TMemoOption view;
    TStringsOption source;
    // Ticked means the option is off.
    bool inverted;
};

constexpr TMemoOption kNoView = TMemoOption(0);
constexpr TStringsOption kNoSource = TStringsOption(0);

const TTickRow kTicks[] = {
    {"Show &line numbers", moLineNumbers, kNoSource, false},
    {"S&how line numbers on gutter", moLineNumbersOnGutter, kNoSource, false},
    {"&Selection beyond EOL", moSelectOnlyText, kNoSource, true},
    {"&Double click line", moDblClickLine, kNoSource, false},
    {"Use &syntax highlight", moColorSyntax, kNoSource, false},
    {"&Overwrite cursor as block", moOverwriteCaret, kNoSource, false},
    {"Disable dra&gging", moDisableDrag, kNoSource, false},
    {"&Auto indent mode", kNoView, soAutoIndent, false},
    {"S&mart tab", kNoView, soSmartTab, false},
    {"&Use tab character", kNoView, soUseTabCharacter, false},
    {"Backspace &unindents", kNoView, soBackUnindents, false},
    {"&Group undo", kNoView, soGroupUndo, false},
    {"Cursor beyond &EOF", kNoView, soBeyondFileEnd, false},
    {"&Cursor beyond EOL", kNoView, soLimitEOL, true},
    {"&Persistent blocks", kNoView, soPersistentBlocks, false},
    {"Over&write blocks", kNoView, soOverwriteBlocks, false},
    {"Find te&xt at cursor", kNoView, soFindTextAtCursor, false},
    {"&Force cut and copy enabled", kNoView, soForceCutCopy, false},
    {"&Keep trailing blanks", kNoView, kNoSource, false},
};

} // namespace

TEST_F(EditorOptionsTest, EveryTickOfTheEditorPageWritesItsOwnBitOnly)
{
    TMemoEnvOptions& env = TMemoEnvOptions::Global();
    TMemoSourceOptions& source = TMemoSourceOptions::Global();
    for (const TTickRow& row : kTicks) {
        const QString caption = QString::fromLatin1(row.caption);
        // Once on and once off (or the other way round).
        for (int round = 0; round < 2; ++round) {
            SCOPED_TRACE(caption.toStdString() + (round ? " back" : ""));
            const TMemoOptions viewBefore = env.Options();
            const TStringsOptions sourceBefore = source.Options();
            const bool keepBefore = source.KeepTrailingBlanks();
            bool ticked = false;
            ASSERT_TRUE(RunDialog([&](TEnvForm& form) {
                auto& page = ShowPage<TEnvEditorPage>(form, "Editor");
                QCheckBox* box = page.Tick(caption);
                ASSERT_NE(box, nullptr);
                const bool set = row.view ? viewBefore.testFlag(row.view)
                                          : row.source ? sourceBefore.testFlag(row.source) : keepBefore;
                EXPECT_EQ(box->isChecked(), set != row.inverted) << "the page shows the setting";
                Click(box);
                ticked = box->isChecked();
                EXPECT_NE(ticked, set != row.inverted);
                Click(Button(form, "Ok"));
                EXPECT_FALSE(form.isVisible());
            }));

            TMemoOptions viewExpected = viewBefore;
            TStringsOptions sourceExpected = sourceBefore;
            bool keepExpected = keepBefore;
            if (row.view)
                viewExpected.setFlag(row.view, ticked != row.inverted);
            else if (row.source)
                sourceExpected.setFlag(row.source, ticked != row.inverted);
            else
                keepExpected = ticked;
            // The two tab settings never hold together: the one ticked wins.
            if (ticked && row.source == soUseTabCharacter)
                sourceExpected &= ~TStringsOptions(soSmartTab);
            if (ticked && row.source == soSmartTab)
                sourceExpected &= ~TStringsOptions(soUseTabCharacter);
            EXPECT_EQ(env.Options(), viewExpected);
            EXPECT_EQ(source.Options(), sourceExpected);
            EXPECT_EQ(source.KeepTrailingBlanks(), keepExpected);
            // The editor and the open document follow at once.
            EXPECT_EQ(Editor()->Options() & TEnvEditorPage::kEditedOptions,
                      viewExpected & TEnvEditorPage::kEditedOptions);
            EXPECT_EQ(form->ActiveDocument()->Options(), sourceExpected);
            EXPECT_EQ(form->ActiveDocument()->KeepTrailingBlanks(), keepExpected);
        }
    }
    // Bits no page shows stay as they were in both.
    EXPECT_TRUE(env.Options().testFlag(moDisableRightClickMove));
    EXPECT_TRUE(Editor()->Options().testFlag(moThumbTracking));
    EXPECT_FALSE(Editor()->Options().testFlag(moDisableRightClickMove)) << "the editor keeps its own right click";
}

TEST_F(EditorOptionsTest, AWrongFieldIsNamedAndFocusedAndNothingIsWritten)
{
    TMemoEnvOptions envBefore;
    envBefore.Assign(TMemoEnvOptions::Global());
    TMemoSourceOptions sourceBefore;
    sourceBefore.Assign(TMemoSourceOptions::Global());
    const struct {
        const char* indent;
        const char* stops;
        const char* message; // how the error begins
    } cases[] = {
        {"abc", "9,17", "Block indent: 'abc'"}, {"-1", "9,17", "Block indent: '-1'"},
        {"65", "9,17", "Block indent: '65'"},   {"", "9,17", "Block indent: ''"},
        {"2", "9,9", "Tab stops: '9,9'"},        {"2", "0", "Tab stops: '0'"},
        {"2", "a", "Tab stops: 'a'"},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(std::string(bad.indent) + " / " + bad.stops);
        services.ClearCalls();
        ASSERT_TRUE(RunDialog([&](TEnvForm& form) {
            // Changes on every page first, then the wrong field.
            auto& display = ShowPage<TEnvDisplayPage>(form, "Display");
            Type(display.MarginPosition(), QStringLiteral("5"));
            auto& colors = ShowPage<TEnvColorsPage>(form, "Colors");
            Choose(colors.SpeedSetting(), QStringLiteral("Dark"));
            auto& editor = ShowPage<TEnvEditorPage>(form, "Editor");
            Click(editor.Tick(QStringLiteral("Show &line numbers")));
            Type(editor.BlockIndentEdit(), QString::fromLatin1(bad.indent));
            Type(editor.TabStopsEdit(), QString::fromLatin1(bad.stops));
            ShowPage<TEnvDisplayPage>(form, "Display");

            Click(Button(form, "Ok"));
            EXPECT_TRUE(form.isVisible()) << "the dialog stays open";
            ASSERT_EQ(services.Messages().size(), 1);
            EXPECT_TRUE(services.Messages()[0].startsWith(QString::fromLatin1(bad.message)))
                << services.Messages()[0].toStdString();
            EXPECT_EQ(form.Pages()->currentWidget(), &editor);
            const bool indentWrong = QString::fromLatin1(bad.message).startsWith("Block");
            EXPECT_EQ(form.focusWidget(), indentWrong ? editor.BlockIndentEdit() : editor.TabStopsEdit());
            EXPECT_TRUE(TMemoEnvOptions::Global() == envBefore);
            Click(Button(form, "Cancel"));
        }));
        EXPECT_TRUE(TMemoEnvOptions::Global() == envBefore);
        EXPECT_TRUE(TMemoSourceOptions::Global() == sourceBefore);
        EXPECT_EQ(Editor()->MarginPos(), 80);
        EXPECT_TRUE(Editor()->Options().testFlag(moLineNumbers));
        EXPECT_FALSE(TMemoEnvOptions::HasStored());
    }

    // Put right, the same dialog applies everything.
    ASSERT_TRUE(RunDialog([&](TEnvForm& form) {
        auto& editor = ShowPage<TEnvEditorPage>(form, "Editor");
        Type(editor.BlockIndentEdit(), QStringLiteral("x"));
        Click(Button(form, "Ok"));
        Type(editor.BlockIndentEdit(), QStringLiteral(" 4 "));
        Type(editor.TabStopsEdit(), QStringLiteral("4,8"));
        Click(Button(form, "Ok"));
        EXPECT_FALSE(form.isVisible());
    }));
    EXPECT_EQ(TMemoSourceOptions::Global().BlockIndent(), 4);
    EXPECT_EQ(form->ActiveDocument()->BlockIndent(), 4);
    EXPECT_EQ(form->ActiveDocument()->TabStops(), "4,8");
    EXPECT_TRUE(TMemoEnvOptions::HasStored()) << "Ok stores the settings";
}

TEST_F(EditorOptionsTest, TheDisplayPageShowsInTheOpenDocumentOnOk)
{
    Open(MakeFile(QStringLiteral("plain.txt"), "ab\ncd"));
    TDCMemo* editor = Editor();
    const int cw = editor->CharWidth();
    const int lh = editor->LineHeight();
    const int below = 4 * lh + lh / 2; // a row under the text
    ASSERT_TRUE(RunDialog([&](TEnvForm& form) {
        auto& page = ShowPage<TEnvDisplayPage>(form, "Display");
        Type(page.MarginPosition(), QStringLiteral("5"));
        services.ChooseColor(clRed);
        Click(page.MarginColor());
        Type(page.GutterWidth(), QStringLiteral("60"));
        services.ChooseColor(clLime);
        Click(page.GutterColor());
        Click(page.DrawSpecialSymbols());
        Type(page.EOLString(), QStringLiteral("#"));
        EXPECT_EQ(page.MarginColor()->Color(), clRed);

        // The dialog's own sample shows it; the document not yet.
        TDCMemo* sample = static_cast<TEnvColorsPage*>(form.Page(QStringLiteral("Colors")))->Sample();
        EXPECT_EQ(sample->EffectiveGutterWidth(), 60);
        const QImage before = editor->RenderToImage();
        EXPECT_NE(Rgb(before, 2, below), kLime);
        EXPECT_FALSE(Has(before, QRect(editor->TextLeft() + 5 * cw - 1, below, 3, 1), kRed));
        Click(Button(form, "Ok"));
    }));

    const QImage image = editor->RenderToImage();
    ASSERT_EQ(editor->EffectiveGutterWidth(), 60);
    ASSERT_EQ(editor->TextLeft(), 60);
    EXPECT_EQ(Rgb(image, 2, below), kLime);
    EXPECT_EQ(Rgb(image, 57, below), kLime);
    EXPECT_EQ(Rgb(image, 59, below), 0x808080u) << "the gutter's edge line";
    const int margin = editor->TextLeft() + 5 * cw;
    EXPECT_TRUE(Has(image, QRect(margin - 1, below, 3, 1), kRed));
    EXPECT_EQ(Rgb(image, margin + 3 * cw, below), kWhite);

    // "#" ends the first line and "_" the text, where blanks were.
    auto inked = [&](int row, int column) {
        const QRect cell(editor->TextLeft() + column * cw, row * lh, cw, lh);
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x < cell.right(); ++x) {
                if (qGray(image.pixel(x, y)) < 160)
                    return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(inked(0, 2));
    EXPECT_TRUE(inked(1, 2));
    EXPECT_FALSE(inked(0, 3));
    EXPECT_EQ(editor->SpecialSymbols()->EOLString(), "#");
}

TEST_F(EditorOptionsTest, ColourSetsPreviewInTheSampleAndApplyOnOk)
{
    const struct {
        const char* name;
        quint32 background;
    } sets[] = {{"Dark", 0x1e1e1e}, {"High contrast", kBlack}, {"Default", kWhite}};
    // The background right of the first line's text.
    auto background = [](TDCMemo* memo) {
        const QImage image = memo->RenderToImage();
        return Rgb(image, image.width() - 10, 2);
    };
    for (const auto& set : sets) {
        SCOPED_TRACE(set.name);
        const quint32 shown = background(Editor());
        ASSERT_TRUE(RunDialog([&](TEnvForm& form) {
            auto& page = ShowPage<TEnvColorsPage>(form, "Colors");
            Choose(page.SpeedSetting(), QString::fromLatin1(set.name));
            EXPECT_EQ(background(page.Sample()), set.background);
            EXPECT_EQ(background(Editor()), shown);
            Click(Button(form, "Ok"));
        }));
        EXPECT_EQ(TMemoEnvOptions::Global().ColorSchema(), QString::fromLatin1(set.name));
        EXPECT_EQ(background(Editor()), set.background);
    }
}

TEST_F(EditorOptionsTest, ASavedColourFileLoadsBackEqualAndBadFilesChangeNothing)
{
    const QString saved = files.filePath(QStringLiteral("mine.RGB"));
    const QString notStyles = MakeFile(QStringLiteral("notes.rgb"), "just some text\n");
    const QString huge = files.filePath(QStringLiteral("huge.RGB"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize((16 << 20) + 1));
    }
    TTextStyles written;
    ASSERT_TRUE(RunDialog([&](TEnvForm& form) {
        auto& page = ShowPage<TEnvColorsPage>(form, "Colors");
        TTextStyles& styles = *form.Settings().env.TextStyles();
        QListWidget* elements = page.Elements();
        const QList<QListWidgetItem*> found = elements->findItems(QStringLiteral("Comment"), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        QTest::mouseClick(elements->viewport(), Qt::LeftButton, {}, elements->visualItemRect(found[0]).center());
        services.ChooseColor(clRed);
        Click(page.ForegroundColor());
        Click(page.Bold());
        Click(page.DefaultBackground());
        const TTextStyle& comment = *styles.Find(QStringLiteral("Comment"));
        EXPECT_EQ(comment.Font().Color(), clRed);
        EXPECT_EQ(comment.Font().Style(), TFont::fsBold | TFont::fsItalic);
        EXPECT_FALSE(comment.UseMemoColor());

        services.ChooseFile(files.filePath(QStringLiteral("mine.txt")));
        Click(page.SaveButton());
        ASSERT_TRUE(QFile::exists(saved)) << "the extension becomes .RGB";
        written.Assign(styles);

        Choose(page.SpeedSetting(), QStringLiteral("High contrast"));
        EXPECT_FALSE(SameTextStyles(styles, written));
        TTextStyles before;
        before.Assign(styles);
        for (const QString& bad : {files.filePath(QStringLiteral("missing.RGB")), notStyles, huge}) {
            services.ChooseFile(bad);
            Click(page.OpenButton());
            EXPECT_TRUE(services.Messages().last().contains(QDir::toNativeSeparators(bad)))
                << services.Messages().last().toStdString();
            EXPECT_TRUE(SameTextStyles(styles, before)) << bad.toStdString();
        }
        EXPECT_EQ(services.Messages().size(), 3);

        services.ChooseFile(saved);
        Click(page.OpenButton());
        EXPECT_TRUE(SameTextStyles(styles, written));
        EXPECT_EQ(page.Elements()->currentItem()->text(), "Comment");
        Click(Button(form, "Ok"));
    }));
    EXPECT_TRUE(SameTextStyles(*TMemoEnvOptions::Global().TextStyles(), written));
    const QList<TServices::TFileDialog> dialogs = services.FileDialogs();
    ASSERT_GE(dialogs.size(), 2);
    EXPECT_EQ(dialogs[0].title, "Save color styles");
    EXPECT_EQ(dialogs[1].title, "Load color styles");
    EXPECT_EQ(dialogs[1].filter, "Color scheme (*.rgb)|*.RGB");
}

TEST_F(EditorOptionsTest, TheSettingsSurviveARestartAndADamagedStoreIsReported)
{
    ASSERT_TRUE(RunDialog([&](TEnvForm& form) {
        auto& editor = ShowPage<TEnvEditorPage>(form, "Editor");
        Click(editor.Tick(QStringLiteral("Show &line numbers")));
        Click(editor.Tick(QStringLiteral("&Keep trailing blanks")));
        Choose(editor.KeyMappingBox(), QStringLiteral("Brief"));
        Type(editor.BlockIndentEdit(), QStringLiteral("3"));
        Type(editor.TabStopsEdit(), QStringLiteral("5,10"));
        auto& display = ShowPage<TEnvDisplayPage>(form, "Display");
        Type(display.MarginPosition(), QStringLiteral("66"));
        auto& colors = ShowPage<TEnvColorsPage>(form, "Colors");
        Choose(colors.SpeedSetting(), QStringLiteral("Dark"));
        Click(Button(form, "Ok"));
    }));
    TMemoEnvOptions env;
    env.Assign(TMemoEnvOptions::Global());
    TMemoSourceOptions source;
    source.Assign(TMemoSourceOptions::Global());
    EXPECT_EQ(env.KeyMapping(), "Brief");

    // A new process on the same settings store.
    auto restart = [&] {
        form.reset();
        FreshGlobals();
        form = std::make_unique<TMainForm>(programDir.path());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    };
    restart();
    EXPECT_TRUE(TMemoEnvOptions::Global() == env);
    EXPECT_TRUE(TMemoSourceOptions::Global() == source);
    EXPECT_EQ(Editor()->MarginPos(), 66);
    EXPECT_FALSE(Editor()->Options().testFlag(moLineNumbers));
    EXPECT_EQ(Editor()->KeyMapping(), "Brief");
    EXPECT_EQ(Editor()->Color(), TColor::FromRgb(0x1e, 0x1e, 0x1e));
    EXPECT_EQ(form->ActiveDocument()->BlockIndent(), 3);
    EXPECT_EQ(form->ActiveDocument()->TabStops(), "5,10");
    EXPECT_TRUE(form->ActiveDocument()->KeepTrailingBlanks());
    EXPECT_TRUE(services.Messages().filter("editor options").isEmpty());

    // A damaged value is reported once and the application's settings hold.
    services.Settings().WriteString(TMemoEnvOptions::kKey, TMemoEnvOptions::kValueName,
                                    QStringLiteral("object TMemoEnvOptions\n  Options = [moNoSuchThing]\nend"));
    restart();
    const QStringList reported = services.Messages().filter("editor options");
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported[0].contains("Line 2")) << reported[0].toStdString();
    EXPECT_EQ(Editor()->MarginPos(), 80);
    EXPECT_TRUE(Editor()->Options().testFlag(moLineNumbers));
    EXPECT_EQ(Editor()->KeyMapping(), "Default");
}

TEST_F(EditorOptionsTest, TheDialogOpensOnceAtATimeAndHelpOpensTheHelpPage)
{
    int inner = 0;
    ASSERT_TRUE(RunDialog([&](TEnvForm& form) {
        EXPECT_EQ(form.windowTitle(), "Properties");
        QStringList tabs;
        for (int i = 0; i < form.Pages()->count(); ++i)
            tabs.append(form.Pages()->tabText(i));
        EXPECT_EQ(tabs, (QStringList{"Editor", "Display", "Colors"}));
        QStringList buttons;
        for (QAbstractButton* button : form.findChild<QDialogButtonBox*>()->buttons())
            buttons.append(button->text());
        buttons.sort();
        EXPECT_EQ(buttons, (QStringList{"&Help", "Cancel", "Ok"}));

        // A second open while it shows does nothing.
        ModalDialogs::SetHook([&](QDialog&) { ++inner; });
        Item("OptionItemsEditor")->trigger();
        Click(Button(form, "&Help"));
        Click(Button(form, "Cancel"));
    }));
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(services.Opened(), QStringList{programDir.path() + QStringLiteral("/tarnel.htm")});
    EXPECT_FALSE(TMemoEnvOptions::HasStored()) << "Cancel stores nothing";
}
