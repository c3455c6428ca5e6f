// A UTF-8 document in the main window's editor: the caret, deletions,
// selection and word movement go over whole characters, clicks land on
// character boundaries by cells, and the status bar counts characters.

#include "shellfixture.h"

#include <QImage>
#include <QLabel>

namespace {

struct TKeyPress {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

// Each byte offset below is the start of a character:
// c0 a1 f2 é3 _5 日6 本9 語12 _15 😀16 _20 e+U+0301 21 x24 _25 <FF>26 z27 |28
const QByteArray kLine = "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x98\x80 e\xCC\x81x \xFFz";

class Utf8EditorTest : public ShellTest {
protected:
    // Opens text as a UTF-8 document with the caret at caret.
    TMemoSource* OpenUtf8(const QByteArray& text, TTextPos caret, const QString& name = QStringLiteral("text"))
    {
        Open(MakeFile(name + QStringLiteral(".txt"), text));
        TMemoSource* document = form->ActiveDocument();
        EXPECT_NE(document, nullptr);
        if (!document)
            return nullptr;
        document->SetEncoding(teUtf8);
        document->SetCaret(caret);
        return document;
    }

    TDCMemo* Editor() const { return form->TarnelEditor(); }
};

struct TKeyCase {
    const char* name;
    int column;                  // caret on the one line of kLine
    std::vector<TKeyPress> keys;
    int caret;                   // the column the keys lead to
    QByteArray text;             // the line afterwards (empty: unchanged)
    QByteArray selected;         // the selected text afterwards
};

TEST_F(Utf8EditorTest, KeysMoveAndDeleteWholeCharacters)
{
    const QByteArray lineBreak = "\r\n";
    const std::vector<TKeyCase> cases = {
        {"right over an accented letter", 3, {{Qt::Key_Right}}, 5, {}, {}},
        {"left over an accented letter", 5, {{Qt::Key_Left}}, 3, {}, {}},
        {"right over two CJK letters", 6, {{Qt::Key_Right}, {Qt::Key_Right}}, 12, {}, {}},
        {"right over an emoji", 16, {{Qt::Key_Right}}, 20, {}, {}},
        {"left over an emoji", 20, {{Qt::Key_Left}}, 16, {}, {}},
        {"right over a letter with its mark", 21, {{Qt::Key_Right}}, 24, {}, {}},
        {"left over a letter with its mark", 24, {{Qt::Key_Left}}, 21, {}, {}},
        {"right over an invalid byte", 26, {{Qt::Key_Right}}, 27, {}, {}},
        {"backspace deletes the accented letter", 5, {{Qt::Key_Backspace}}, 3,
         "caf \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x98\x80 e\xCC\x81x \xFFz", {}},
        {"delete deletes a CJK letter", 6, {{Qt::Key_Delete}}, 6,
         "caf\xC3\xA9 \xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x98\x80 e\xCC\x81x \xFFz", {}},
        {"delete deletes the emoji", 16, {{Qt::Key_Delete}}, 16,
         "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E  e\xCC\x81x \xFFz", {}},
        {"backspace deletes the letter with its mark", 24, {{Qt::Key_Backspace}}, 21,
         "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x98\x80 x \xFFz", {}},
        {"backspace deletes the invalid byte alone", 27, {{Qt::Key_Backspace}}, 26,
         "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x98\x80 e\xCC\x81x z", {}},
        {"shift+right selects the accented letter", 3, {{Qt::Key_Right, Qt::ShiftModifier}}, 5, {}, "\xC3\xA9"},
        {"shift+left selects the CJK letter", 15, {{Qt::Key_Left, Qt::ShiftModifier}}, 12, {}, "\xE8\xAA\x9E"},
        {"ctrl+right over a word with an accent", 0, {{Qt::Key_Right, Qt::ControlModifier}}, 6, {}, {}},
        {"ctrl+right over a CJK word", 6, {{Qt::Key_Right, Qt::ControlModifier}}, 16, {}, {}},
        {"ctrl+left back over a CJK word", 15, {{Qt::Key_Left, Qt::ControlModifier}}, 6, {}, {}},
        {"ctrl+shift+left selects a word with a mark", 25,
         {{Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier}}, 21, {}, "e\xCC\x81x"},
    };
    for (const TKeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoSource* document = OpenUtf8(kLine + lineBreak, {0, c.column}, QString::fromLatin1(c.name));
        ASSERT_NE(document, nullptr);
        for (const TKeyPress& press : c.keys)
            QTest::keyClick(Editor(), press.key, press.modifiers);
        EXPECT_EQ(document->Caret(), (TTextPos{0, c.caret}));
        EXPECT_EQ(document->LineText(0), c.text.isEmpty() ? kLine : c.text);
        EXPECT_EQ(document->SelectedText(), c.selected);
        if (!c.text.isEmpty()) {
            document->Undo();
            EXPECT_EQ(document->LineText(0), kLine) << "undo restores the bytes";
        }
    }
}

TEST_F(Utf8EditorTest, StatusBarCountsCharacters)
{
    // After "café 日本語 😀 e+U+0301x" the caret stands behind 13 characters.
    OpenUtf8(kLine + "\r\n", {0, 25});
    QTest::keyClick(Editor(), Qt::Key_Right);
    QTest::keyClick(Editor(), Qt::Key_Left);
    EXPECT_EQ(form->StatusPanel(0)->text(), QStringLiteral("1: 14"));
}

TEST_F(Utf8EditorTest, UpAndDownKeepTheDisplayCell)
{
    // Behind 日本 (cell 4) down onto a plain line and up again.
    TMemoSource* document = OpenUtf8("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\r\nabcdefgh\r\n", {0, 6});
    ASSERT_NE(document, nullptr);
    QTest::keyClick(Editor(), Qt::Key_Down);
    EXPECT_EQ(document->Caret(), (TTextPos{1, 4}));
    QTest::keyClick(Editor(), Qt::Key_Right);
    QTest::keyClick(Editor(), Qt::Key_Up);
    // Cell 5 is the middle of 語: the caret goes to the boundary behind it.
    EXPECT_EQ(document->Caret(), (TTextPos{0, 9}));
}

TEST_F(Utf8EditorTest, ClicksOnACjkLineLandOnCharacterBoundaries)
{
    // 日 cells 0-1, 本 2-3, 語 4-5, a 6, b 7.
    TMemoSource* document = OpenUtf8("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E" "ab\r\nplain\r\n", {1, 0});
    ASSERT_NE(document, nullptr);
    TDCMemo* editor = Editor();
    const int cw = editor->CharWidth();
    const int y = editor->LineHeight() / 2;
    const struct {
        int tenths; // the click's x in tenths of a cell
        int column;
    } clicks[] = {{3, 0}, {12, 3}, {26, 3}, {38, 6}, {54, 9}, {62, 9}, {68, 10}, {72, 10}};
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.tenths);
        const QPoint at(editor->TextLeft() + click.tenths * cw / 10, y);
        QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(document->Caret(), (TTextPos{0, click.column}));
        // The caret is drawn at the cell the column starts at.
        EXPECT_EQ(editor->PositionToPixel(document->Caret()).x() - editor->TextLeft(),
                  document->CellOfColumn(0, document->Caret().column) * cw);
    }
}

// Pixels of the text area that differ from the background in the cells
// [first, last) of a row.
int InkIn(const QImage& image, TDCMemo* editor, int row, int first, int last)
{
    const int cw = editor->CharWidth();
    const int lh = editor->LineHeight();
    const QRgb background = image.pixel(image.width() - 2, row * lh + lh / 2);
    int ink = 0;
    for (int y = row * lh; y < (row + 1) * lh; ++y) {
        for (int x = editor->TextLeft() + first * cw; x < editor->TextLeft() + last * cw; ++x)
            ink += image.pixel(x, y) != background;
    }
    return ink;
}

TEST_F(Utf8EditorTest, WideLettersTakeTwoCellsAndInvalidBytesAMark)
{
    // 日本語 covers cells 0-5 and nothing after it; byte by byte it would
    // show nine characters. The invalid byte shows a mark in one cell, and
    // an accented letter with its combining mark takes one cell.
    TMemoSource* document = OpenUtf8("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\r\n\xFF\r\ne\xCC\x81\r\n\r\n", {3, 0});
    ASSERT_NE(document, nullptr);
    TDCMemo* editor = Editor();
    const QImage image = editor->viewport()->grab().toImage();
    EXPECT_GT(InkIn(image, editor, 0, 0, 2), 0);
    EXPECT_GT(InkIn(image, editor, 0, 4, 6), 0) << "the third letter is in cells 4 and 5";
    EXPECT_EQ(InkIn(image, editor, 0, 6, 10), 0) << "nothing right of the three wide letters";
    EXPECT_GT(InkIn(image, editor, 1, 0, 1), 0) << "the invalid byte shows a mark";
    EXPECT_EQ(InkIn(image, editor, 1, 1, 4), 0);
    EXPECT_GT(InkIn(image, editor, 2, 0, 1), 0);
    EXPECT_EQ(InkIn(image, editor, 2, 1, 4), 0) << "the combining mark takes no cell of its own";
}

} // namespace
