// Editing, undo and redo driven by the fuzzer's bytes, replayed on a plain
// model of the lines as the random edit test does: after every operation the
// store reads and saves as the model, undoing everything gives back the
// loaded bytes exactly and redoing everything the edited ones.

#include "fuzzcommon.h"

#include "memosource.h"
#include "sourcestrings.h"
#include "textmodel.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

namespace {

// Tabs widen display columns past raw ones, which the model does not follow.
std::string TextWithoutTabs(FuzzedDataProvider& input, size_t maxLength)
{
    return WithoutTabs(input.ConsumeRandomLengthString(maxLength));
}

void CheckSame(TMemoSource& source, const TextModel& model)
{
    FUZZ_CHECK(source.Lines().Text() == model.Text());
    FUZZ_CHECK(source.SavedBytes() == model.Saved());
    FUZZ_CHECK(source.Caret() == (TTextPos{model.line, model.column}));
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
    const bool keepTrailing = input.ConsumeBool();
    const bool groupUndo = input.ConsumeBool();
    const std::string file = TextWithoutTabs(input, 200);
    TextModel model;
    model.Load(file);
    const QByteArray loaded = QByteArray::fromStdString(file);

    TMemoSource source;
    source.SetOptions(groupUndo ? source.Options() | soGroupUndo : source.Options() & ~TStringsOptions(soGroupUndo));
    source.SetKeepTrailingBlanks(keepTrailing);
    source.Lines().SetText(loaded);
    source.SetSavePoint();
    CheckSame(source, model);

    for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
        source.BeginUpdate(20 + input.ConsumeIntegralInRange(0, 2));
        switch (input.ConsumeIntegralInRange(0, 10)) {
        case 0: {
            const std::string s = TextWithoutTabs(input, 8);
            source.InsertString(QByteArray::fromStdString(s));
            model.Insert(s);
            break;
        }
        case 1: {
            const int n = input.ConsumeIntegralInRange(1, 5);
            source.DeleteChars(n);
            model.Delete(n);
            break;
        }
        case 2:
            source.InsertLineBreak();
            model.LineBreak();
            break;
        case 3:
            source.JoinLines();
            model.Join();
            break;
        case 4: {
            const int dLines = input.ConsumeIntegralInRange(-3, 3);
            const int dColumns = input.ConsumeIntegralInRange(-6, 8);
            source.MoveCaret(dLines, dColumns);
            model.Move(dLines, dColumns, keepTrailing);
            break;
        }
        case 5: {
            const TTextPos a{input.ConsumeIntegralInRange(0, 5), input.ConsumeIntegralInRange(0, 9)};
            const TTextPos b{input.ConsumeIntegralInRange(0, 5), input.ConsumeIntegralInRange(0, 9)};
            source.SetSelection(a, b, input.ConsumeIntegralInRange(1, 2));
            break;
        }
        case 6:
            if (model.Count() > 0) {
                const int i = input.ConsumeIntegralInRange(0, model.Count() - 1);
                const std::string s = TextWithoutTabs(input, 8);
                source.Lines().Put(i, QByteArray::fromStdString(s));
                model.PutLine(i, s);
            }
            break;
        case 7: {
            const int i = input.ConsumeIntegralInRange(0, model.Count());
            const std::string s = TextWithoutTabs(input, 8);
            source.Lines().Insert(i, QByteArray::fromStdString(s));
            model.InsertLine(i, s);
            break;
        }
        case 8:
            if (model.Count() > 0) {
                const int i = input.ConsumeIntegralInRange(0, model.Count() - 1);
                source.Lines().Delete(i);
                model.DeleteLine(i);
            }
            break;
        case 9:
            source.Undo();
            source.Redo();
            break;
        case 10:
            source.ExtendSelection(source.Caret(), {input.ConsumeIntegralInRange(0, 5), input.ConsumeIntegralInRange(0, 9)},
                                   input.ConsumeIntegralInRange(1, 2));
            break;
        }
        source.EndUpdate();
        CheckSame(source, model);
    }

    const QByteArray edited = source.SavedBytes();
    while (source.CanUndo())
        source.Undo();
    FUZZ_CHECK(source.SavedBytes() == loaded);
    FUZZ_CHECK(!source.Modified());
    while (source.CanRedo())
        source.Redo();
    FUZZ_CHECK(source.SavedBytes() == edited);
    return 0;
}
