#pragma once

#include "color.h"
#include "component.h"
#include "font.h"
#include "memolineparts.h"
#include "memooption.h"
#include "notifierlist.h"
#include "penbrush.h"
#include "textstyle.h"

#include <QString>

#include <functional>

// The global editor options: the settings every editor control with
// UseGlobalOptions copies (kCopiedFields), and the process-wide text styles
// the syntax parsers with UseGlobalOptions take their colours from. Every
// change is announced to the listeners (those controls, the parsers, the
// application's own editor); changes made inside BeginUpdate / EndUpdate,
// or read from a stream, are announced once at the end.
//
// The options own their styles as an editor owns its own: a style that
// follows the editor's colour shows Color here, so that a new editor colour
// reaches every parser's backgrounds.
class TMemoEnvOptions : public TComponent, public TTextStylesOwner {
    Q_OBJECT
    Q_PROPERTY(MemoOptionTypes::TMemoOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(QString KeyMapping READ KeyMapping WRITE SetKeyMapping)
    Q_PROPERTY(int MarginPos READ MarginPos WRITE SetMarginPos)
    Q_PROPERTY(int GutterWidth READ GutterWidth WRITE SetGutterWidth)
    Q_PROPERTY(TBrush GutterBrush READ GutterBrush WRITE SetGutterBrush)
    Q_PROPERTY(TPen MarginPen READ MarginPen WRITE SetMarginPen)
    Q_PROPERTY(TLineSeparator* LineSeparator READ LineSeparator)
    Q_PROPERTY(TLineHighlight* LineHighlight READ LineHighlight)
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(TTextStyles* TextStyles READ TextStyles WRITE SetTextStyles)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool UseMonoFont READ UseMonoFont WRITE SetUseMonoFont)
    Q_PROPERTY(TColor ReadOnlyColor READ ReadOnlyColor WRITE SetReadOnlyColor)
    Q_PROPERTY(TSpecialSymbols* SpecialSymbols READ SpecialSymbols)
    Q_PROPERTY(QString ColorSchema READ ColorSchema WRITE SetColorSchema)

public:
    // What an editor control with UseGlobalOptions copies from the options.
    // "UseReadOnlyColor" is the option moUseReadOnlyColor, copied with
    // Options.
    static inline const QString kCopiedFields =
        QStringLiteral("KeyMapping,Options,MarginPos,GutterWidth,GutterBrush,MarginPen,LineSeparator,LineHighlight,"
                       "Font,Color,TextStyles,UseMonoFont,UseReadOnlyColor,ReadOnlyColor,SpecialSymbols");
    // Where the options are kept in the settings store, beside the text
    // stores' shared options ("VodaRedu\MemoSource\").
    static inline const QString kKey = QStringLiteral("VodaRedu\\MemoEnv\\");
    static inline const QString kValueName = QStringLiteral("Options");

    // The defaults: a new editor control's settings, with the key mapping
    // "Default" and the special symbols "¶" and "_".
    Q_INVOKABLE explicit TMemoEnvOptions(TComponent* owner = nullptr);
    ~TMemoEnvOptions() override;

    // The one instance of the process. It lives until the process ends, so
    // a listener may still remove itself while static objects are freed.
    static TMemoEnvOptions& Global();

    TMemoOptions Options() const { return m_options; }
    void SetOptions(TMemoOptions options);
    QString KeyMapping() const { return m_keyMapping; }
    void SetKeyMapping(const QString& name);
    int MarginPos() const { return m_marginPos; }
    // Columns; negative values are stored as 0.
    void SetMarginPos(int column);
    int GutterWidth() const { return m_gutterWidth; }
    // Pixels; negative values are stored as 0.
    void SetGutterWidth(int width);
    TBrush GutterBrush() const { return m_gutterBrush; }
    void SetGutterBrush(const TBrush& brush);
    TPen MarginPen() const { return m_marginPen; }
    // A width above 2 is stored as 2, as an editor control does.
    void SetMarginPen(const TPen& pen);
    TLineSeparator* LineSeparator() const { return m_lineSeparator; }
    TLineHighlight* LineHighlight() const { return m_lineHighlight; }
    TFont Font() const { return m_font; }
    void SetFont(const TFont& font);
    // Filled with the default styles.
    TTextStyles* TextStyles() const { return m_textStyles; }
    // Copies the styles.
    void SetTextStyles(TTextStyles* styles);
    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    bool UseMonoFont() const { return m_useMonoFont; }
    void SetUseMonoFont(bool use);
    TColor ReadOnlyColor() const { return m_readOnlyColor; }
    void SetReadOnlyColor(TColor color);
    TSpecialSymbols* SpecialSymbols() const { return m_specialSymbols; }
    // The name of the colour set last chosen as a whole ("Color
    // SpeedSetting"); empty when none was.
    QString ColorSchema() const { return m_colorSchema; }
    void SetColorSchema(const QString& name);

    // Copies every setting, announced as one change.
    void Assign(const TMemoEnvOptions& source);
    // Every setting equal, the styles item by item.
    bool operator==(const TMemoEnvOptions& other) const;

    // Several changes announced once, at the end of the outermost bracket.
    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate();

    int AddListener(std::function<void()> listener) { return m_listeners.Add(std::move(listener)); }
    void RemoveListener(int handle) { m_listeners.Remove(handle); }
    // Announces a change of the options to every listener.
    void Changed();

    // The settings store holds the options as the text form of the
    // component stream, one value under kKey. HasStored: whether it holds
    // them at all. Load replaces every setting by the stored one (a
    // setting the text leaves out takes its default); a value that cannot
    // be read changes nothing and is described in error.
    static bool HasStored();
    bool Load(QString* error = nullptr);
    void Save() const;

    // TTextStylesOwner: the styles that follow the editor follow these
    // options' Color and Font.
    TColor MemoColor() const override { return m_color; }
    TFont MemoFont() const override { return m_font; }
    void SetMemoColors(TUpdateMemoColors which, TColor fontColor, TColor backColor) override;
    // Announced through the collection's update notice instead.
    void TextStylesChanged() override {}

protected:
    void Loaded() override;

private:
    TMemoOptions m_options = kDefaultMemoOptions;
    QString m_keyMapping = QStringLiteral("Default");
    int m_marginPos = 80;
    int m_gutterWidth = 32;
    TBrush m_gutterBrush;
    TPen m_marginPen;
    TLineSeparator* m_lineSeparator;
    TLineHighlight* m_lineHighlight;
    TFont m_font;
    TTextStyles* m_textStyles = nullptr;
    TColor m_color = clWindow;
    bool m_useMonoFont = true;
    TColor m_readOnlyColor = clWindow;
    TSpecialSymbols* m_specialSymbols;
    QString m_colorSchema;
    int m_updateCount = 0;
    bool m_changedDuringUpdate = false;
    TNotifierList<> m_listeners;
};

// Whether two style collections hold the same styles in the same order,
// every setting alike.
bool SameTextStyles(const TTextStyles& a, const TTextStyles& b);
