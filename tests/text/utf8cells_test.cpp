// Walks along UTF-8 lines that begin at a character start found earlier must
// give what a walk from the line start gives, and so must the store, which
// goes on from the last walk of any line that begins with the same bytes.

#include "memosource.h"
#include "sourcestrings.h"
#include "utf8cells.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const QByteArray kLines[] = {
    "caf\xC3\xA9 au lait",
    "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E and \xF0\x9F\x98\x80 x",
    "e\xCC\x81\xCC\x81 a\xCC\x80 \xCE\x95\xCE\xBB \xD0\x96",
    "bad \xE6\x97 bytes \xFF\xC3 end",
    "\xE6\x97\xA5\xE6\x9C\xAC" "e\xCC\x81 tail",
    "\xE6\x97\xA5\xE6\x9C\xAC" "ex tail",
};

std::string_view View(const QByteArray& text) { return {text.constData(), size_t(text.size())}; }

} // namespace

TEST(Utf8Cells, AWalkFromAnyCharacterStartMatchesOneFromTheLineStart)
{
    constexpr int kWidth = 7;
    for (const QByteArray& line : kLines) {
        SCOPED_TRACE(line.toStdString());
        const std::string_view text = View(line);
        const int n = int(text.size());
        const int totalCells = Utf8Cells::CellOf(text, n);
        for (int start = 0; start < n; start = Utf8Cells::NextChar(text, start)) {
            const Utf8Cells::TCellMark mark{start, Utf8Cells::CellOf(text, start)};
            for (int column = 0; column <= n + 2; ++column)
                ASSERT_EQ(Utf8Cells::CellOf(text, column, mark), Utf8Cells::CellOf(text, column)) << start << " " << column;
            for (int offset = 0; offset <= (totalCells + 2) * kWidth; ++offset) {
                for (bool nearest : {false, true}) {
                    const int expected = Utf8Cells::ColumnAt(text, offset, kWidth, nearest);
                    int cells = -1;
                    const int found = Utf8Cells::ColumnAt(text, offset, kWidth, nearest, mark, &cells);
                    ASSERT_EQ(found, expected) << start << " " << offset << " " << nearest;
                    ASSERT_EQ(cells, Utf8Cells::CellOf(text, found)) << start << " " << offset << " " << nearest;
                }
            }
        }
    }
}

TEST(Utf8Cells, TheStoreAnswersAlikeWhateverLineItWalkedLast)
{
    TMemoSource source;
    QByteArray text;
    for (const QByteArray& line : kLines)
        text += line + "\n";
    source.Lines().SetText(text);
    source.SetEncoding(teUtf8);
    constexpr int kWidth = 5;
    // Lines 4 and 5 share their first bytes; between them every line is
    // asked, at every offset, in turn.
    for (int offset = 0; offset < 20 * kWidth; offset += 3) {
        for (int line = 0; line < int(std::size(kLines)); ++line) {
            const std::string_view view = View(kLines[line]);
            const int column = source.ColumnAtOffset(line, offset, kWidth, false);
            ASSERT_EQ(column, Utf8Cells::ColumnAt(view, offset, kWidth, false)) << line << " " << offset;
            ASSERT_EQ(source.CellOfColumn(line, column), Utf8Cells::CellOf(view, column)) << line << " " << offset;
            ASSERT_EQ(source.CellOfColumn(line, column + 1), Utf8Cells::CellOf(view, column + 1)) << line << " " << offset;
        }
    }
}
