// Search and replace with random texts, patterns and settings, plain and
// with regular expressions: never a crash, never a hang, and a replace is
// one step that undo takes back exactly.

#include "fuzzcommon.h"

#include "memosource.h"
#include "searchoptions.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    TSearchOptions options;
    options.caseSensitive = input.ConsumeBool();
    options.wholeWordsOnly = input.ConsumeBool();
    options.regularExpressions = input.ConsumeBool();
    options.promptOnReplace = false;
    options.replaceAll = input.ConsumeBool();
    options.direction = input.ConsumeBool() ? sdBackward : sdForward;
    options.scope = input.ConsumeBool() ? ssSelectedText : ssGlobal;
    options.origin = input.ConsumeBool() ? soEntireScope : soFromCursor;
    options.wrapAround = input.ConsumeBool();
    const std::string pattern = input.ConsumeRandomLengthString(40);
    const std::string replacement = input.ConsumeRandomLengthString(20);
    options.textToFind = QString::fromLatin1(pattern.data(), qsizetype(pattern.size()));
    options.replaceText = QString::fromLatin1(replacement.data(), qsizetype(replacement.size()));
    const TTextPos caret{input.ConsumeIntegralInRange(0, 4), input.ConsumeIntegralInRange(0, 12)};
    const TTextPos selectionEnd{input.ConsumeIntegralInRange(0, 6), input.ConsumeIntegralInRange(0, 12)};
    const bool select = input.ConsumeBool();
    const bool replace = input.ConsumeBool();
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray text = QByteArray::fromStdString(rest);

    TMemoSource source;
    source.SetTextStr(text);
    source.SetSavePoint();
    source.SetCaret(caret);
    if (select)
        source.SetSelection(caret, selectionEnd, 1);
    if (!replace) {
        source.FindText(options);
        return 0;
    }
    source.ReplaceText(options);
    while (source.CanUndo())
        source.Undo();
    FUZZ_CHECK(source.SavedBytes() == text);
    return 0;
}
