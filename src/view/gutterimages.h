#pragma once

#include "collection.h"

#include <QImage>

#include <array>
#include <functional>

class TGutterImage;

// One gutter picture. BookmarkIndex 0 to 9 ties it to the bookmark whose key
// number that is (0 standing for the tenth bookmark); -1 ties it to none.
class TGutterImage : public TNamedItem {
    Q_OBJECT
    Q_PROPERTY(QImage Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(int BookmarkIndex READ BookmarkIndex WRITE SetBookmarkIndex)

public:
    explicit TGutterImage(TCollection* collection = nullptr) : TNamedItem(collection) {}

    QImage Glyph() const { return m_glyph; }
    void SetGlyph(const QImage& glyph);
    // The glyph as painted: a picture without an alpha channel leaves out
    // its transparent colour, the colour of its bottom-left pixel.
    const QImage& PaintGlyph() const { return m_paintGlyph; }
    int BookmarkIndex() const { return m_bookmarkIndex; }
    void SetBookmarkIndex(int index);

    // Raised when the picture is clicked in the gutter.
    std::function<void(TGutterImage& image, int line)> OnClick;

private:
    QImage m_glyph;
    QImage m_paintGlyph;
    int m_bookmarkIndex = -1;
};

// The gutter pictures of an editor control. Whenever the collection changes,
// the slot table is rebuilt: for each bookmark key number 0 to 9 the index + 1
// of the picture that shows it (0: none).
class TDCGutterImages : public TNamedCollection {
    Q_OBJECT

public:
    static constexpr int kSlotCount = 10;

    explicit TDCGutterImages(QObject* owner = nullptr);

    TGutterImage* At(int index) const { return static_cast<TGutterImage*>(Item(index)); }
    TGutterImage* AddImage(const QString& name, const QImage& glyph, int bookmarkIndex);
    // Empties the collection and adds the eleven standard pictures:
    // "BreakPoint" and "Bookmark0" to "Bookmark9".
    void AddDefaults();

    // The collection index + 1 of the picture of bookmark key number n, 0
    // when there is none or n is not 0 to 9.
    int Slot(int n) const { return n >= 0 && n < kSlotCount ? m_slots[size_t(n)] : 0; }

    // Called after the slot table was rebuilt.
    std::function<void()> OnChange;

    // The standard pictures, drawn here rather than loaded: a red disc, and
    // a blue tag with its key number.
    static QImage BreakPointGlyph();
    static QImage BookmarkGlyph(int n);

protected:
    TCollectionItem* CreateItem() override { return new TGutterImage(this); }
    void Update(TCollectionItem* item) override;

private:
    std::array<int, kSlotCount> m_slots{};
};
