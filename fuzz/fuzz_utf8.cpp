// Caret movements, deletions and typing in a UTF-8 document made of the
// fuzzer's bytes (valid or not): the caret never stops inside a sequence,
// a movement never between a letter and its marks (inserted text starting
// with a mark may put one there: the caret stays where the text went in),
// Delete and Backspace remove exactly the bytes of one character, and
// undoing everything gives back the loaded bytes.

#include "fuzzcommon.h"

#include "memosource.h"
#include "sourcestrings.h"
#include "utf8cells.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <string_view>

namespace {

void CheckCaret(const TMemoSource& source, bool moved)
{
    const TTextPos caret = source.Caret();
    if (caret.line >= source.LineCount())
        return;
    const QByteArray text = source.LineText(caret.line);
    const std::string_view view(text.constData(), size_t(text.size()));
    if (moved)
        FUZZ_CHECK(Utf8Cells::CharStart(view, caret.column) == caret.column);
    int at = 0;
    while (at < caret.column && at < int(view.size()))
        at += Utf8Cells::CodePointAt(view, at).length;
    FUZZ_CHECK(at == caret.column || caret.column > int(view.size()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QByteArray loaded = QByteArray::fromStdString(WithoutTabs(input.ConsumeRandomLengthString(300)));
    TMemoSource source;
    // Backspace in an indent would unindent several blanks at once.
    source.SetOptions(source.Options() & ~TStringsOptions(soBackUnindents));
    source.Lines().SetText(loaded);
    source.SetEncoding(teUtf8);
    source.SetSavePoint();
    const QByteArray start = source.SavedBytes();

    for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
        const TTextPos caret = source.Caret();
        const bool inLine = caret.line < source.LineCount() && caret.column < source.LineLength(caret.line);
        const QByteArray before = source.LineText(caret.line);
        const std::string_view view(before.constData(), size_t(before.size()));
        const int operation = input.ConsumeIntegralInRange(0, 9);
        switch (operation) {
        case 0: source.MoveCaretBy(0, 1); break;
        case 1: source.MoveCaretBy(0, -1); break;
        case 2: source.MoveCaretBy(input.ConsumeIntegralInRange(-2, 2), 0); break;
        case 3: source.MoveCaretTo({input.ConsumeIntegralInRange(0, 4), input.ConsumeIntegralInRange(0, 40)}); break;
        case 4: source.WordRight(); break;
        case 5: source.WordLeft(); break;
        case 6:
            source.DeleteChar();
            if (inLine) {
                const int end = Utf8Cells::NextChar(view, caret.column);
                FUZZ_CHECK(source.LineText(caret.line) == before.left(caret.column) + before.mid(end));
                // Further left only where a stray lead byte met a stray
                // continuation byte.
                FUZZ_CHECK(source.Caret().line == caret.line && source.Caret().column <= caret.column);
            }
            break;
        case 7:
            source.Backspace();
            if (caret.column > 0 && caret.column <= before.size()) {
                const int previous = Utf8Cells::PreviousChar(view, caret.column);
                FUZZ_CHECK(source.LineText(caret.line) == before.left(previous) + before.mid(caret.column));
                FUZZ_CHECK(source.Caret().line == caret.line && source.Caret().column <= previous);
            }
            break;
        case 8: {
            // A character typed as the bytes of its valid sequence.
            static const char* const kTyped[] = {"a", "\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x98\x80", "\xCC\x81", " "};
            source.InsertString(QByteArray(kTyped[input.ConsumeIntegralInRange(0, 5)]));
            break;
        }
        case 9:
            source.Undo();
            break;
        }
        CheckCaret(source, operation <= 5);
    }

    while (source.CanUndo())
        source.Undo();
    FUZZ_CHECK(source.SavedBytes() == start);
    return 0;
}
