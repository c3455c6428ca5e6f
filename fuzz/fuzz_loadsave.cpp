// Any bytes loaded into a text store and saved come back byte for byte: no
// line end, blank, tab or control character changes on the way.

#include "fuzzcommon.h"

#include "memosource.h"

#include <QBuffer>
#include <QByteArray>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSetUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TMemoSource source;
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    FUZZ_CHECK(source.LoadFromStream(in));
    FUZZ_CHECK(source.SavedBytes() == bytes);
    FUZZ_CHECK(!source.Modified());
    return 0;
}
