// The line parser over random lines in each built-in scheme, and over
// schemes mutated from the shipped ones and read through the stream: no
// crash, an attribute for every character, and highlighting line by line
// from a stored start state gives what highlighting from the top gives.

#include "fuzzcommon.h"

#include "builtinschemes.h"
#include "componentstream.h"
#include "memosource.h"
#include "syntaxparser.h"

#include <QByteArray>

#include <memory>

namespace {

std::unique_ptr<TSyntaxParser> g_builtIn[BuiltInSchemes::kCount];

void Highlight(TSyntaxParser& parser, const QByteArray& text)
{
    TMemoSource source;
    source.SetSyntaxParser(&parser);
    source.SetTextStr(text);
    std::vector<QByteArray> whole;
    for (int i = 0; i < source.LineCount(); ++i) {
        int length = 0;
        const uchar* attrs = source.LineAttributes(i, &length);
        FUZZ_CHECK(length == source.LineLength(i));
        whole.emplace_back(reinterpret_cast<const char*>(attrs), length);
    }
    // A line parsed alone from the state the text gave it comes out the same.
    for (int i = 0; i < source.LineCount(); ++i) {
        const TStringItem& item = source.Strings().Item(i);
        QByteArray attrs(whole[size_t(i)].size(), '\0');
        const QByteArray line = source.LineText(i);
        parser.ParseLine(std::string_view(line.constData(), size_t(line.size())), item.startState,
                         reinterpret_cast<uchar*>(attrs.data()));
        FUZZ_CHECK(attrs == whole[size_t(i)]);
    }
    source.SetSyntaxParser(nullptr);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSetUp();
    for (int i = 0; i < BuiltInSchemes::kCount; ++i) {
        g_builtIn[i].reset(CreateBuiltInParser(BuiltInSchemes::ForTag(i + 1), nullptr));
        FUZZ_CHECK(g_builtIn[i]);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray rest(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const int mode = data[0] % (BuiltInSchemes::kCount + 1);
    if (mode < BuiltInSchemes::kCount) {
        Highlight(*g_builtIn[mode], rest);
        return 0;
    }
    // A scheme of its own: its stream text, a NUL, then the text to
    // highlight with it.
    const qsizetype split = rest.indexOf('\0');
    const QByteArray scheme = split < 0 ? rest : rest.left(split);
    const QByteArray text = split < 0 ? QByteArray("<p>a</p> x = 1; // c\n\"s\" 'c' <% y %>\n") : rest.mid(split + 1);
    TSyntaxParser parser;
    if (ReadComponent(scheme, parser))
        Highlight(parser, text);
    return 0;
}
