// The mappings other than "Default": each one's moving, selecting, editing,
// clipboard, undo, search and bookmark keys, through real key events.

#include "keysfixture.h"

#include "keymappings.h"

namespace {

class MappingTest : public KeysTest {
protected:
    void Use(const QString& name)
    {
        memo->SetKeyMapping(name);
        SetText("alpha beta gamma\nsecond line\nthird");
        HookDialogs(3);
    }
};

TEST_F(MappingTest, ClassicMovesWithTheControlDiamond)
{
    Use(MemoKeyMappings::kClassic);
    Key(Qt::Key_D, kCtrl);
    Key(Qt::Key_X, kCtrl);
    EXPECT_EQ(Caret(), (TTextPos{1, 1}));
    Key(Qt::Key_S, kCtrl);
    Key(Qt::Key_E, kCtrl);
    EXPECT_EQ(Caret(), (TTextPos{0, 0}));
    Key(Qt::Key_F, kCtrl);
    EXPECT_EQ(Caret(), (TTextPos{0, 6}));
    Keys({{Qt::Key_Q, kCtrl}, {Qt::Key_D, kNone}});
    EXPECT_EQ(Caret(), (TTextPos{0, 16}));
    Keys({{Qt::Key_Q, kCtrl}, {Qt::Key_C, kCtrl}});
    EXPECT_EQ(Caret(), (TTextPos{2, 5}));
}

TEST_F(MappingTest, ClassicBlocksClipboardUndoSearchAndBookmarks)
{
    Use(MemoKeyMappings::kClassic);
    // Blocks stay where they are marked while the caret moves on.
    Source().SetOptions(Source().Options() | soPersistentBlocks);
    SetCaret(0, 6);
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_B, kCtrl}});
    SetCaret(0, 10);
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_K, kNone}});
    EXPECT_EQ(Selected(), "beta");
    Key(Qt::Key_Insert, kCtrl);
    EXPECT_EQ(services.ClipboardText(), "beta");
    SetCaret(2, 0);
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_C, kNone}});
    EXPECT_EQ(Source().LineText(2), "betathird");
    Key(Qt::Key_U, kCtrl);
    EXPECT_EQ(Source().LineText(2), "third");
    SetCaret(1, 0);
    Key(Qt::Key_Y, kCtrl);
    EXPECT_EQ(Text(), "alpha beta gamma\nthird");
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_1, kNone}});
    SetCaret(0, 0);
    Keys({{Qt::Key_Q, kCtrl}, {Qt::Key_1, kNone}});
    EXPECT_EQ(Caret().line, 1);
    Keys({{Qt::Key_Q, kCtrl}, {Qt::Key_F, kNone}});
    Keys({{Qt::Key_Q, kCtrl}, {Qt::Key_I, kCtrl}});
    EXPECT_EQ(dialogs, (std::vector<TDialogKind>{dkFind, dkGotoLine}));
}

TEST_F(MappingTest, BriefMarksWithAltMAndCopiesWithKeypadPlus)
{
    Use(MemoKeyMappings::kBrief);
    SetCaret(0, 6);
    Key(Qt::Key_M, kAlt);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right, kCtrl);
    EXPECT_EQ(Selected(), "beta ");
    Key(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(services.ClipboardText(), "beta ");
    EXPECT_EQ(memo->KeyState(), 0);
    // Out of the mark the arrows only move, and Ins pastes the scrap.
    Key(Qt::Key_End);
    EXPECT_FALSE(Source().HasSelection());
    Key(Qt::Key_Insert);
    EXPECT_EQ(Source().LineText(0), "alpha beta gammabeta ");
}

TEST_F(MappingTest, BriefColumnMarkCutsAColumnAndEscEndsAMark)
{
    Use(MemoKeyMappings::kBrief);
    Key(Qt::Key_C, kAlt);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    EXPECT_EQ(Source().SelectionMode(), smBlock);
    Key(Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(Text(), "pha beta gamma\ncond line\nthird");
    Key(Qt::Key_U, kAlt);
    EXPECT_EQ(Text(), "alpha beta gamma\nsecond line\nthird");
    Key(Qt::Key_U, kCtrl);
    EXPECT_EQ(Text(), "pha beta gamma\ncond line\nthird");
    Key(Qt::Key_M, kAlt);
    Key(Qt::Key_Right);
    ASSERT_TRUE(Source().HasSelection());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Source().HasSelection());
    EXPECT_EQ(memo->KeyState(), 0);
}

TEST_F(MappingTest, BriefBookmarksSearchAndLineKeys)
{
    Use(MemoKeyMappings::kBrief);
    SetCaret(2, 1);
    Key(Qt::Key_2, kAlt);
    SetCaret(0, 0);
    Keys({{Qt::Key_J, kAlt}, {Qt::Key_2, kNone}});
    EXPECT_EQ(Caret(), (TTextPos{2, 1}));
    Key(Qt::Key_K, kAlt);
    EXPECT_EQ(Source().LineText(2), "t");
    SetCaret(1, 1);
    Key(Qt::Key_D, kAlt);
    EXPECT_EQ(Text(), "alpha beta gamma\nt");
    Key(Qt::Key_S, kAlt);
    Key(Qt::Key_T, kAlt);
    Key(Qt::Key_G, kAlt);
    EXPECT_EQ(dialogs, (std::vector<TDialogKind>{dkFind, dkReplace, dkGotoLine}));
}

TEST_F(MappingTest, EpsilonMovesAndKillsLikeEmacs)
{
    Use(MemoKeyMappings::kEpsilon);
    Key(Qt::Key_F, kAlt);
    EXPECT_EQ(Caret(), (TTextPos{0, 6}));
    Key(Qt::Key_N, kCtrl);
    Key(Qt::Key_E, kCtrl);
    EXPECT_EQ(Caret(), (TTextPos{1, 11}));
    Key(Qt::Key_A, kCtrl);
    Key(Qt::Key_K, kCtrl);
    EXPECT_EQ(Source().LineText(1), "");
    EXPECT_EQ(services.ClipboardText(), "second line");
    // At the line's end the kill takes the line break.
    Key(Qt::Key_K, kCtrl);
    EXPECT_EQ(Text(), "alpha beta gamma\nthird");
    EXPECT_EQ(services.ClipboardText(), "\r\n");
    Key(Qt::Key_Y, kCtrl);
    EXPECT_EQ(Text(), "alpha beta gamma\n\nthird");
    Keys({{Qt::Key_X, kCtrl}, {Qt::Key_U, kNone}});
    EXPECT_EQ(Text(), "alpha beta gamma\nthird");
    Key(Qt::Key_Slash, kCtrl);
    EXPECT_EQ(Text(), "alpha beta gamma\n\nthird");
}

TEST_F(MappingTest, EpsilonRegionFromTheMarkAndItsBookmarksAndSearch)
{
    Use(MemoKeyMappings::kEpsilon);
    Key(Qt::Key_Space, kCtrl);
    Key(Qt::Key_F, kAlt);
    Key(Qt::Key_F, kCtrl);
    EXPECT_EQ(Selected(), "alpha b");
    Key(Qt::Key_W, kAlt);
    EXPECT_EQ(services.ClipboardText(), "alpha b");
    EXPECT_EQ(memo->KeyState(), 0);
    Key(Qt::Key_Space, kCtrl);
    Key(Qt::Key_N, kCtrl);
    Key(Qt::Key_G, kCtrl);
    EXPECT_FALSE(Source().HasSelection());
    Keys({{Qt::Key_X, kCtrl}, {Qt::Key_7, kNone}});
    SetCaret(0, 0);
    Keys({{Qt::Key_X, kCtrl}, {Qt::Key_J, kNone}, {Qt::Key_7, kNone}});
    EXPECT_EQ(Caret().line, 1);
    Key(Qt::Key_R, kCtrl);
    EXPECT_EQ(TSearchOptions::Global().direction, sdBackward);
    Key(Qt::Key_S, kCtrl);
    EXPECT_EQ(TSearchOptions::Global().direction, sdForward);
    Key(Qt::Key_G, kAlt);
    EXPECT_EQ(dialogs, (std::vector<TDialogKind>{dkFind, dkFind, dkGotoLine}));
}

TEST_F(MappingTest, VisualStudioEditingUndoRedoAndSearch)
{
    Use(MemoKeyMappings::kVisualStudio);
    SetCaret(1, 3);
    Key(Qt::Key_L, kCtrl);
    EXPECT_EQ(Text(), "alpha beta gamma\nthird");
    EXPECT_EQ(services.ClipboardText(), "second line\r\n");
    Key(Qt::Key_Z, kCtrl);
    EXPECT_EQ(Text(), "alpha beta gamma\nsecond line\nthird");
    Key(Qt::Key_Y, kCtrl);
    EXPECT_EQ(Text(), "alpha beta gamma\nthird");
    Key(Qt::Key_Right, kCtrlShift);
    Key(Qt::Key_U, kCtrlShift);
    EXPECT_EQ(Source().LineText(1), "THIRD");
    Key(Qt::Key_F, kCtrl);
    Key(Qt::Key_H, kCtrl);
    Key(Qt::Key_G, kCtrl);
    EXPECT_EQ(dialogs, (std::vector<TDialogKind>{dkFind, dkReplace, dkGotoLine}));
}

TEST_F(MappingTest, VisualStudioStepsThroughUnnumberedBookmarks)
{
    Use(MemoKeyMappings::kVisualStudio);
    SetCaret(2, 0);
    Key(Qt::Key_F2, kCtrl);
    SetCaret(1, 0);
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_K, kCtrl}});
    EXPECT_EQ(Source().BookmarkedLines().size(), 2u);
    SetCaret(0, 0);
    Key(Qt::Key_F2);
    EXPECT_EQ(Caret().line, 1);
    Key(Qt::Key_F2);
    EXPECT_EQ(Caret().line, 2);
    Key(Qt::Key_F2);
    EXPECT_EQ(Caret().line, 1);
    Keys({{Qt::Key_K, kCtrl}, {Qt::Key_P, kCtrl}});
    EXPECT_EQ(Caret().line, 2);
    // Toggling on a bookmarked line removes it; Ctrl+Shift+F2 removes all.
    Key(Qt::Key_F2, kCtrl);
    EXPECT_EQ(Source().BookmarkedLines(), std::vector<int>{1});
    Key(Qt::Key_F2, kCtrlShift);
    EXPECT_TRUE(Source().BookmarkedLines().empty());
}

} // namespace
