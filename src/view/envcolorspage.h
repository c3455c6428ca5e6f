#pragma once

#include "envpage.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;
class TColorButton;
class TDCMemo;
class TSimpleParser;

// The colours page: the text styles of the options, one element at a time
// (background and foreground, whether each follows the editor, bold, italic
// and underline), whole colour sets ("Color &SpeedSetting:"), and colour
// files (.RGB) to open and save. A sample editor below shows every element
// in its style and the editor settings of the whole dialog as they are;
// clicking a row of it picks that element. Every change goes into the
// dialog's copy of the options at once.
class TEnvColorsPage : public TEnvPage {
    Q_OBJECT

public:
    static inline const QString kFileFilter = QStringLiteral("Color scheme (*.rgb)|*.RGB");

    explicit TEnvColorsPage(TEnvSettings& settings, QWidget* parent = nullptr);
    ~TEnvColorsPage() override;

    QString Caption() const override { return QStringLiteral("Colors"); }
    void Refresh() override;

    QListWidget* Elements() const { return m_elements; }
    TColorButton* BackgroundColor() const { return m_back; }
    TColorButton* ForegroundColor() const { return m_fore; }
    QCheckBox* DefaultBackground() const { return m_defaultBack; }
    QCheckBox* DefaultForeground() const { return m_defaultFore; }
    QCheckBox* Bold() const { return m_bold; }
    QCheckBox* Italic() const { return m_italic; }
    QCheckBox* Underline() const { return m_underline; }
    QComboBox* SpeedSetting() const { return m_speed; }
    QPushButton* OpenButton() const { return m_open; }
    QPushButton* SaveButton() const { return m_save; }
    TDCMemo* Sample() const { return m_sample; }

    // "&Open": a colour file chosen in "Load color styles" replaces the
    // styles; one that cannot be read, is no colour file or is too large
    // is reported and changes nothing.
    void OpenClick();
    // "&Save": the styles go to the file chosen in "Save color styles",
    // its extension made ".RGB".
    void SaveClick();

private:
    TTextStyle* Current() const;
    void ShowCurrent();
    // Runs change on the current style unless the page is showing it.
    template <class F>
    void Write(F change);
    void SetFontStyle(TFont::TFontStyle style, bool on);

    bool m_refreshing = false;
    QListWidget* m_elements = nullptr;
    TColorButton* m_back = nullptr;
    TColorButton* m_fore = nullptr;
    QCheckBox* m_defaultBack = nullptr;
    QCheckBox* m_defaultFore = nullptr;
    QCheckBox* m_bold = nullptr;
    QCheckBox* m_italic = nullptr;
    QCheckBox* m_underline = nullptr;
    QComboBox* m_speed = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_save = nullptr;
    TDCMemo* m_sample = nullptr;
    std::unique_ptr<TSimpleParser> m_sampleParser;
};
