// The component stream reader over any bytes, as a colour-style file or a
// scheme someone shared: it never crashes, and what it accepts it writes
// back in a form that reads back to the same objects (read, write, read,
// write gives the same text twice).

#include "fuzzcommon.h"

#include "componentstream.h"
#include "persholder.h"
#include "syntaxparser.h"

#include <QByteArray>

#include <memory>

namespace {

template <typename T>
void RoundTrip(const QByteArray& text)
{
    T first;
    if (!ReadComponent(text, first))
        return;
    const QByteArray written = WriteComponent(first);
    T second;
    QString error;
    FUZZ_CHECK(ReadComponent(written, second, &error));
    FUZZ_CHECK(WriteComponent(second) == written);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks what the text is read into: a colour-style file
    // or a parser with its scheme.
    const QByteArray text(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    if (data[0] & 1)
        RoundTrip<TPersHolder>(text);
    else
        RoundTrip<TSyntaxParser>(text);
    return 0;
}
