// Folding in the main window: the Options, Folding commands act on the
// active document, each document keeps its own folds, and the folds come
// back with the session after a restart.

#include "shellfixture.h"

#include "preferenceform.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

const char kCode[] = "class Shop {\n"       // 0
                     "    int count() {\n"  // 1
                     "        return 0;\n"  // 2
                     "    }\n"              // 3
                     "    /* a note\n"      // 4
                     "       here */\n"     // 5
                     "}\n";                 // 6

class FoldingShellTest : public ShellTest {
protected:
    void Restart()
    {
        form->close();
        form.reset();
        form = std::make_unique<TMainForm>(programDir.path());
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->RestoreSession();
    }
};

TEST_F(FoldingShellTest, TheMenuCommandsFoldTheActiveDocumentAndEachKeepsItsOwn)
{
    const QString code = MakeFile(QStringLiteral("Shop.java"), kCode);
    const QString other = MakeFile(QStringLiteral("Other.java"), kCode);
    Open(code);
    TMemoSource* shop = form->ActiveDocument();
    ASSERT_TRUE(Item("OptionItemsFoldAll")->isEnabled());
    shop->SetCaret({2, 0});
    Item("OptionItemsFoldFold")->trigger();
    EXPECT_EQ(shop->CollapseState(1), 1);
    EXPECT_EQ(shop->Caret().line, 1);
    Item("OptionItemsFoldUnfold")->trigger();
    EXPECT_EQ(shop->CollapseState(1), 0);
    Item("OptionItemsFoldComments")->trigger();
    EXPECT_EQ(shop->CollapsedLines(), std::vector<int>{4});

    Open(other);
    EXPECT_TRUE(form->ActiveDocument()->Folds().Empty());
    Item("OptionItemsFoldAll")->trigger();
    EXPECT_EQ(form->ActiveDocument()->CollapsedLines(), (std::vector<int>{0, 1, 4}));
    for (int i = 0; i < form->DocumentCount(); ++i) {
        if (form->Document(i) == shop)
            form->ActivateDocument(i);
    }
    EXPECT_EQ(shop->CollapsedLines(), std::vector<int>{4}) << "the first document kept its own";
    Item("OptionItemsFoldUnfoldAll")->trigger();
    EXPECT_TRUE(shop->Folds().Empty());

    // A text without a scheme cannot fold.
    Open(MakeFile(QStringLiteral("notes.txt"), "a\nb\n"));
    EXPECT_FALSE(Item("OptionItemsFoldAll")->isEnabled());
}

TEST_F(FoldingShellTest, FoldsComeBackWithTheSession)
{
    TPreferenceForm::ExecHook = [](TPreferenceForm& preferences) {
        QTest::mouseClick(preferences.ReopenCheck(), Qt::LeftButton, {}, QPoint(5, preferences.ReopenCheck()->height() / 2));
        QTest::mouseClick(preferences.OkButton(), Qt::LeftButton);
    };
    Item("OptionItemsPreferens")->trigger();
    TPreferenceForm::ExecHook = nullptr;
    ASSERT_TRUE(TPreferenceForm::StoredReopen());
    const QString code = MakeFile(QStringLiteral("Shop.java"), kCode);
    Open(code);
    form->ActiveDocument()->SetCaret({6, 0});
    form->ActiveDocument()->FoldLine(1);
    form->ActiveDocument()->FoldLine(4);
    Restart();
    ASSERT_EQ(form->DocumentCount(), 1);
    TMemoSource* shop = form->ActiveDocument();
    EXPECT_EQ(shop->FileName(), code);
    EXPECT_EQ(shop->CollapsedLines(), (std::vector<int>{1, 4}));
    EXPECT_FALSE(shop->IsLineVisible(2));
    // Saving writes every line.
    EXPECT_EQ(shop->SavedBytes(), kCode);
}

} // namespace
