// Taking a snapshot walks the line items once, comparing pointers: a run of
// borrowed lines whose texts follow each other in their block, separated by
// exactly the line ends saving would write, stays one piece. No text byte of
// a borrowed line is touched, and when the loaded file ended all its lines
// alike neither is a byte between them, so a 50 MB file costs a pass over
// its items and a few small copies.

#include "textsnapshot.h"

#include "memosource.h"

#include <cstring>

namespace {

const char* endBytes(quint8 ending, int& length)
{
    switch (ending) {
    case TStringItem::kEndCrLf:
        length = 2;
        return "\r\n";
    case TStringItem::kEndCr:
        length = 1;
        return "\r";
    case TStringItem::kEndLf:
        length = 1;
        return "\n";
    default:
        length = 0;
        return "";
    }
}

quint8 documentEnding(TOutFormatType format)
{
    return format == ofUnix ? TStringItem::kEndLf : format == ofMac ? TStringItem::kEndCr : TStringItem::kEndCrLf;
}

} // namespace

QByteArray TTextSnapshot::Bytes() const
{
    QByteArray bytes;
    bytes.reserve(m_size);
    ForEachPiece([&bytes](const char* data, qint64 length) {
        bytes.append(data, length);
        return true;
    });
    return bytes;
}

void TTextSnapshot::AddBorrowed(const char* data, qint64 length)
{
    if (length <= 0)
        return;
    m_size += length;
    if (!m_pieces.empty() && m_pieces.back().data && m_pieces.back().data + m_pieces.back().length == data) {
        m_pieces.back().length += length;
        return;
    }
    m_pieces.push_back({data, 0, length});
}

void TTextSnapshot::AddOwned(const char* data, qint64 length)
{
    if (length <= 0)
        return;
    m_size += length;
    if (!m_pieces.empty() && !m_pieces.back().data) {
        m_pieces.back().length += length;
    } else {
        m_pieces.push_back({nullptr, m_owned.size(), length});
    }
    m_owned.append(data, length);
}

TTextSnapshot TCustomMemoSource::Snapshot() const
{
    TTextSnapshot snapshot;
    snapshot.m_blocks = m_strings.Blocks();
    const quint8 ownEnding = documentEnding(m_outFormat);
    const quint8 blockEnding = m_strings.BlockEnding();
    const int last = LineCount() - 1;
    // The borrowed run being gathered, [runStart, runEnd) in one block.
    const char* runStart = nullptr;
    const char* runEnd = nullptr;
    auto endRun = [&] {
        if (runStart)
            snapshot.AddBorrowed(runStart, runEnd - runStart);
        runStart = nullptr;
    };
    for (int i = 0; i <= last; ++i) {
        const TStringItem& item = m_strings.Item(i);
        // Every line ends as saving ends it (SaveToStream).
        quint8 ending = item.lineEnd == TStringItem::kEndDocument ? ownEnding : item.lineEnd;
        if (ending == TStringItem::kEndNone && i < last)
            ending = ownEnding;
        int endLength = 0;
        const char* end = endBytes(ending, endLength);
        const bool borrowed = !item.Has(TStringItem::kOwnsText) && item.text;
        if (!borrowed) {
            endRun();
            snapshot.AddOwned(item.text, item.length);
            snapshot.AddOwned(end, endLength);
            continue;
        }
        if (runStart && item.text != runEnd)
            endRun();
        if (!runStart)
            runStart = item.text;
        runEnd = item.text + item.length;
        // The line end can stay in the run only when the next line starts
        // right behind it in the same block: then those bytes lie between
        // two lines of the block and may be read. When every line of the
        // block ended the way this one is to end, they need not be.
        bool inBlock = false;
        if (endLength > 0 && i < last) {
            const TStringItem& next = m_strings.Item(i + 1);
            inBlock = !next.Has(TStringItem::kOwnsText) && next.text == runEnd + endLength &&
                      (ending == blockEnding || std::memcmp(runEnd, end, size_t(endLength)) == 0);
        }
        if (inBlock) {
            runEnd += endLength;
        } else {
            endRun();
            snapshot.AddOwned(end, endLength);
        }
    }
    endRun();
    return snapshot;
}
