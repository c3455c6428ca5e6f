#include "gutterimages.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// Digits 0 to 9 as 3 x 5 pixel masks, one row per entry (bit 2 leftmost),
// so the bookmark pictures look the same whatever fonts the machine has.
constexpr quint8 kDigitRows[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

constexpr int kGlyphHeight = 14;
constexpr int kBookmarkWidth = 12;

} // namespace

void TGutterImage::SetGlyph(const QImage& glyph)
{
    m_glyph = glyph;
    if (glyph.isNull() || glyph.hasAlphaChannel()) {
        m_paintGlyph = glyph.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    } else {
        m_paintGlyph = glyph.convertToFormat(QImage::Format_ARGB32);
        const QRgb transparent = m_paintGlyph.pixel(0, m_paintGlyph.height() - 1);
        for (int y = 0; y < m_paintGlyph.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(m_paintGlyph.scanLine(y));
            for (int x = 0; x < m_paintGlyph.width(); ++x) {
                if (line[x] == transparent)
                    line[x] = 0;
            }
        }
        m_paintGlyph.convertTo(QImage::Format_ARGB32_Premultiplied);
    }
    Changed();
}

void TGutterImage::SetBookmarkIndex(int index)
{
    if (m_bookmarkIndex == index)
        return;
    m_bookmarkIndex = index;
    Changed();
}

TDCGutterImages::TDCGutterImages(QObject* owner) : TNamedCollection(owner) {}

TGutterImage* TDCGutterImages::AddImage(const QString& name, const QImage& glyph, int bookmarkIndex)
{
    BeginUpdate();
    auto* image = static_cast<TGutterImage*>(Add());
    image->SetName(name);
    image->SetGlyph(glyph);
    image->SetBookmarkIndex(bookmarkIndex);
    EndUpdate();
    return image;
}

void TDCGutterImages::AddDefaults()
{
    BeginUpdate();
    Clear();
    AddImage(QStringLiteral("BreakPoint"), BreakPointGlyph(), -1);
    for (int n = 0; n < kSlotCount; ++n)
        AddImage(QStringLiteral("Bookmark%1").arg(n), BookmarkGlyph(n), n);
    EndUpdate();
}

void TDCGutterImages::Update(TCollectionItem* item)
{
    m_slots.fill(0);
    // The first picture of a number wins, as a look-up in collection order
    // would find it.
    for (int i = Count() - 1; i >= 0; --i) {
        const int n = At(i)->BookmarkIndex();
        if (n >= 0 && n < kSlotCount)
            m_slots[size_t(n)] = i + 1;
    }
    TNamedCollection::Update(item);
    if (OnChange)
        OnChange();
}

QImage TDCGutterImages::BreakPointGlyph()
{
    QImage image(kGlyphHeight, kGlyphHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x80, 0, 0), 1.0));
    painter.setBrush(QColor(0xE0, 0x10, 0x10));
    painter.drawEllipse(QRectF(1.5, 1.5, kGlyphHeight - 3, kGlyphHeight - 3));
    return image;
}

QImage TDCGutterImages::BookmarkGlyph(int n)
{
    QImage image(kBookmarkWidth, kGlyphHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0x00, 0x20, 0x70), 1.0));
        painter.setBrush(QColor(0x20, 0x60, 0xD0));
        painter.drawRoundedRect(QRectF(0.5, 0.5, kBookmarkWidth - 1, kGlyphHeight - 1), 2, 2);
    }
    // The number, each mask pixel as a 2 x 2 block, centred.
    const quint8(&rows)[5] = kDigitRows[((n % 10) + 10) % 10];
    const int left = (kBookmarkWidth - 6) / 2;
    const int top = (kGlyphHeight - 10) / 2;
    const QRgb white = qRgba(255, 255, 255, 255);
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 3; ++col) {
            if (!(rows[row] & (4 >> col)))
                continue;
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx)
                    image.setPixel(left + col * 2 + dx, top + row * 2 + dy, white);
            }
        }
    }
    return image;
}
