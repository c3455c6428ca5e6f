#pragma once

#include "envpage.h"

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLineEdit;
class QSpinBox;
class TColorButton;

// The display page: the editor font and size, its colour, the mono-font
// layout, the read-only colour, the special symbols and the margin and
// gutter. Every control writes into the dialog's copy of the options at
// once (the sample on the colours page shows it); "Ok" only hands the copy
// on.
class TEnvDisplayPage : public TEnvPage {
    Q_OBJECT

public:
    static constexpr TMemoOptions kEditedOptions = moUseReadOnlyColor | moDrawSpecialSymbols | moDrawMargin
                                                   | moDrawGutter | moHideInvisibleLines;

    explicit TEnvDisplayPage(TEnvSettings& settings, QWidget* parent = nullptr);

    QString Caption() const override { return QStringLiteral("Display"); }
    void Refresh() override;

    QFontComboBox* FontName() const { return m_fontName; }
    QSpinBox* FontSize() const { return m_fontSize; }
    TColorButton* EditorColor() const { return m_color; }
    QCheckBox* UseMonoFont() const { return m_useMonoFont; }
    QCheckBox* UseReadOnlyColor() const { return m_useReadOnlyColor; }
    TColorButton* ReadOnlyColor() const { return m_readOnlyColor; }
    QCheckBox* DrawSpecialSymbols() const { return m_drawSymbols; }
    QLineEdit* EOFString() const { return m_eof; }
    QLineEdit* EOLString() const { return m_eol; }
    QLineEdit* SpaceChar() const { return m_space; }
    QLineEdit* TabChar() const { return m_tab; }
    QCheckBox* MarginVisible() const { return m_marginVisible; }
    TColorButton* MarginColor() const { return m_marginColor; }
    QComboBox* MarginStyle() const { return m_marginStyle; }
    QSpinBox* MarginWidth() const { return m_marginWidth; }
    QSpinBox* MarginPosition() const { return m_marginPos; }
    QCheckBox* GutterVisible() const { return m_gutterVisible; }
    QCheckBox* FoldColumn() const { return m_foldColumn; }
    TColorButton* GutterColor() const { return m_gutterColor; }
    QComboBox* GutterStyle() const { return m_gutterStyle; }
    QSpinBox* GutterWidth() const { return m_gutterWidth; }

private:
    // Runs change on the options unless the page is showing them.
    template <class F>
    void Write(F change);
    void SetOption(TMemoOption option, bool on);

    bool m_refreshing = false;
    QFontComboBox* m_fontName = nullptr;
    QSpinBox* m_fontSize = nullptr;
    TColorButton* m_color = nullptr;
    QCheckBox* m_useMonoFont = nullptr;
    QCheckBox* m_useReadOnlyColor = nullptr;
    TColorButton* m_readOnlyColor = nullptr;
    QCheckBox* m_drawSymbols = nullptr;
    QLineEdit* m_eof = nullptr;
    QLineEdit* m_eol = nullptr;
    QLineEdit* m_space = nullptr;
    QLineEdit* m_tab = nullptr;
    QCheckBox* m_marginVisible = nullptr;
    TColorButton* m_marginColor = nullptr;
    QComboBox* m_marginStyle = nullptr;
    QSpinBox* m_marginWidth = nullptr;
    QSpinBox* m_marginPos = nullptr;
    QCheckBox* m_gutterVisible = nullptr;
    QCheckBox* m_foldColumn = nullptr;
    TColorButton* m_gutterColor = nullptr;
    QComboBox* m_gutterStyle = nullptr;
    QSpinBox* m_gutterWidth = nullptr;
};
