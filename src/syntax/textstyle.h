#pragma once

#include "collection.h"
#include "color.h"
#include "font.h"

#include <QObject>
#include <QString>

namespace StyleTypes {
Q_NAMESPACE

// Which colours of the owning editor a style also sets.
enum TUpdateMemoColors { mcNone, mcText, mcSelection, mcSearchMatch };
Q_ENUM_NS(TUpdateMemoColors)

} // namespace StyleTypes

using StyleTypes::TUpdateMemoColors;
using enum StyleTypes::TUpdateMemoColors;

// What a style collection asks of the editor control that owns it. A
// collection without an owner uses clWindow and a default font instead.
class TTextStylesOwner {
public:
    virtual ~TTextStylesOwner() = default;
    // The editor's Color.
    virtual TColor MemoColor() const = 0;
    // The editor's Font.
    virtual TFont MemoFont() const = 0;
    // A style with UpdateMemoColors sets the editor's colours: mcText the
    // font colour and Color, mcSelection SelColor / SelBackColor,
    // mcSearchMatch MatchColor / MatchBackColor.
    virtual void SetMemoColors(TUpdateMemoColors which, TColor fontColor, TColor backColor) = 0;
    // Re-highlight, then re-layout and repaint. Called once at the end of
    // the outermost update of the collection.
    virtual void TextStylesChanged() = 0;
};

class TTextStyles;

// A named font and background that every scheme can share.
class TTextStyle : public TNamedItem {
    Q_OBJECT
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(StyleTypes::TUpdateMemoColors UpdateMemoColors READ UpdateMemoColors WRITE SetUpdateMemoColors)
    Q_PROPERTY(bool UseMemoColor READ UseMemoColor WRITE SetUseMemoColor)
    Q_PROPERTY(bool UseMemoFont READ UseMemoFont WRITE SetUseMemoFont)
    Q_PROPERTY(bool UpperCase READ UpperCase WRITE SetUpperCase)

public:
    // A new style follows the editor's colour and font. It starts the same
    // inside a collection as outside one, so that a stream read into a
    // collection gives back what was written.
    Q_INVOKABLE explicit TTextStyle(TCollection* collection = nullptr);

    // The background. Setting a new value stops following the editor.
    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    // Name, size, colour and style of the text. A change stops following
    // the editor's font.
    const TFont& Font() const { return m_font; }
    void SetFont(const TFont& font);
    TUpdateMemoColors UpdateMemoColors() const { return m_updateMemoColors; }
    void SetUpdateMemoColors(TUpdateMemoColors which);
    // Both are refused while UpdateMemoColors is not mcNone.
    bool UseMemoColor() const { return m_useMemoColor; }
    void SetUseMemoColor(bool use);
    bool UseMemoFont() const { return m_useMemoFont; }
    void SetUseMemoFont(bool use);
    bool UpperCase() const { return m_upperCase; }
    void SetUpperCase(bool upperCase);

    // Color is stored only while it does not follow the editor; so is Font.
    Q_INVOKABLE bool IsColorStored() const { return !m_useMemoColor; }
    Q_INVOKABLE bool IsFontStored() const { return !m_useMemoFont; }

    // The background as painted: the owner's colour when UseMemoColor
    // (clWindow without owner), else Color.
    TColor EffectiveColor() const;
    // The font as painted: the owner's font when UseMemoFont, else name and
    // size of the owner's font with colour and style of the style's own.
    TFont EffectiveFont() const;

    TTextStyles* Styles() const;
    TTextStylesOwner* Owner() const;

    // Copies every setting of another style exactly.
    void Assign(const TCollectionItem& source) override;

    // Sets the owner's colours named by UpdateMemoColors from this style.
    void ApplyMemoColors() const;
    // Takes the owner's colour and font where the style follows them, and
    // the owner font's name and size in any case.
    void RefreshFromOwner();

private:
    friend class TTextStyles;

    TColor m_color = clWindow;
    TFont m_font;
    TUpdateMemoColors m_updateMemoColors = mcNone;
    bool m_useMemoColor = true;
    bool m_useMemoFont = true;
    bool m_upperCase = false;
};

// The styles of an editor control, or the global ones. Changes made between
// BeginUpdate and EndUpdate reach the owner as one TextStylesChanged at the
// end of the outermost update.
class TTextStyles : public TNamedCollection {
    Q_OBJECT

public:
    // Filled with the default styles. The owner is not called while the
    // collection is built, so an editor may create its styles in its own
    // constructor.
    explicit TTextStyles(TTextStylesOwner* owner = nullptr, QObject* parent = nullptr);

    TTextStylesOwner* Owner() const { return m_owner; }
    TTextStyle* At(int index) const { return static_cast<TTextStyle*>(Item(index)); }
    // The first style whose name equals name without regard to ASCII case.
    TTextStyle* Find(const QString& name) const;

    // Replaces every style by the default table.
    void ResetToDefaults();
    // Every style takes the owner's colour and font where it follows them.
    void RefreshFromEditor();

    // Colour-style files (".RGB"): the collection as the text form of the
    // component stream, wrapped as the property P of a TPersHolder. A file
    // that cannot be read leaves the styles as they were.
    bool LoadFromFile(const QString& path, QString* error = nullptr);
    // Writes to path with its extension changed to ".RGB".
    bool SaveToFile(const QString& path, QString* error = nullptr);
    // The name SaveToFile writes for path.
    static QString StyleFileName(const QString& path);

protected:
    TCollectionItem* CreateItem() override;
    void Update(TCollectionItem* item) override;

private:
    TTextStylesOwner* m_owner = nullptr;
};
