// Reading and writing the tool-bar part of a saved main-window state.
//
// Layout of a state: int 0xff, int version, then sections, each opening
// with a one-byte marker. The dock-widget section (0xfd) holds a count of
// occupied dock areas, the central widget's size and the four corners; the
// window has no dock widgets, so that count is 0. The tool-bar section
// (0xfc) holds the number of rows, then per row its area and item count,
// and per item: name, flags (bit 0 shown, bit 1 vertical), pos, preferred
// size, and a floating rectangle packed into two words.

#include "toolbarstate.h"

#include <QDataStream>
#include <QIODevice>
#include <QSize>

#include <algorithm>

namespace ToolBarState {

namespace {

constexpr int kVersionMarker = 0xff;
constexpr uchar kDockWidgetMarker = 0xfd;
constexpr uchar kToolBarMarker = 0xfe; // rows without floating rectangles
constexpr uchar kToolBarMarkerEx = 0xfc; // rows with them
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_5_0;

constexpr uchar kShownBit = 1;
constexpr uchar kVerticalBit = 2;

// A floating rectangle in two words. First word: bit 0 set for a floating
// bar, bits 1-16 x + kOrigin, bits 17-31 the width; second word: bits 0-15
// y + kOrigin, bits 16-31 the height. The origin shift lets rectangles on
// screens left of or above the primary one be kept.
constexpr int kOrigin = 0x7fff;
constexpr int kFieldMask = 0xffff;

void packRect(const TItem& item, quint32& first, quint32& second)
{
    first = 0;
    second = 0;
    if (!item.floating)
        return;
    auto field = [](int value) { return quint32(std::clamp(value, 0, kFieldMask)); };
    first = ((field(item.rect.width()) << 16) | field(item.rect.x() + kOrigin)) << 1 | 1u;
    second = (field(item.rect.height()) << 16) | field(item.rect.y() + kOrigin);
}

void unpackRect(quint32 first, quint32 second, TItem& item)
{
    item.floating = (first & 1u) != 0;
    if (!item.floating)
        return;
    first >>= 1;
    item.rect = QRect(int(first & kFieldMask) - kOrigin, int(second & kFieldMask) - kOrigin,
                      int((first >> 16) & kFieldMask), int((second >> 16) & kFieldMask));
}

bool skipDockWidgets(QDataStream& stream)
{
    qint32 occupied = 0;
    stream >> occupied;
    if (occupied != 0)
        return false;
    QSize central;
    qint32 corner = 0;
    stream >> central;
    for (int i = 0; i < 4; ++i)
        stream >> corner;
    return stream.status() == QDataStream::Ok;
}

bool readToolBars(QDataStream& stream, uchar marker, QList<TLine>& lines)
{
    qint32 lineCount = 0;
    stream >> lineCount;
    if (lineCount < 0)
        return false;
    for (qint32 l = 0; l < lineCount && stream.status() == QDataStream::Ok; ++l) {
        qint32 area = 0, itemCount = 0;
        stream >> area >> itemCount;
        if (area < 0 || area >= kAreaCount || itemCount < 0)
            return false;
        TLine line;
        line.area = TArea(area);
        for (qint32 i = 0; i < itemCount && stream.status() == QDataStream::Ok; ++i) {
            TItem item;
            uchar flags = 0;
            qint32 pos = 0, preferred = 0;
            quint32 first = 0, second = 0;
            stream >> item.name >> flags >> pos >> preferred >> first;
            if (marker == kToolBarMarkerEx)
                stream >> second;
            item.shown = (flags & kShownBit) != 0;
            item.vertical = (flags & kVerticalBit) != 0;
            item.pos = pos;
            item.preferredSize = preferred;
            if (marker == kToolBarMarkerEx)
                unpackRect(first, second, item);
            line.items.append(item);
        }
        lines.append(line);
    }
    return stream.status() == QDataStream::Ok;
}

} // namespace

bool Decode(const QByteArray& state, QList<TLine>& lines)
{
    lines.clear();
    QDataStream stream(state);
    stream.setVersion(kStreamVersion);
    qint32 marker = 0, version = 0;
    stream >> marker >> version;
    if (stream.status() != QDataStream::Ok || marker != kVersionMarker)
        return false;
    bool sawToolBars = false;
    while (!stream.atEnd()) {
        uchar section = 0;
        stream >> section;
        if (section == kDockWidgetMarker) {
            if (!skipDockWidgets(stream))
                return false;
        } else if (section == kToolBarMarker || section == kToolBarMarkerEx) {
            if (!readToolBars(stream, section, lines))
                return false;
            sawToolBars = true;
        } else {
            return false;
        }
    }
    return sawToolBars && stream.status() == QDataStream::Ok;
}

QByteArray Encode(const QList<TLine>& lines, int version)
{
    QByteArray state;
    QDataStream stream(&state, QIODevice::WriteOnly);
    stream.setVersion(kStreamVersion);
    stream << qint32(kVersionMarker) << qint32(version) << kToolBarMarkerEx << qint32(lines.size());
    for (const TLine& line : lines) {
        stream << qint32(line.area) << qint32(line.items.size());
        for (const TItem& item : line.items) {
            quint32 first = 0, second = 0;
            packRect(item, first, second);
            const uchar flags = (item.shown ? kShownBit : 0) | (item.vertical ? kVerticalBit : 0);
            stream << item.name << flags << qint32(item.pos) << qint32(item.preferredSize) << first << second;
        }
    }
    return state;
}

} // namespace ToolBarState
