#pragma once

#include "envpage.h"

#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;

// The editor page: ticks for view options (moLineNumbers...) and text-store
// options (soAutoIndent...), the key mapping, the block indent and the tab
// stops. "Ok" writes only the option bits the page shows; the others keep
// their values. "&Selection beyond EOL" and "&Cursor beyond EOL" are ticked
// when their options (moSelectOnlyText, soLimitEOL) are off.
class TEnvEditorPage : public TEnvPage {
    Q_OBJECT

public:
    static constexpr TMemoOptions kEditedOptions = moLineNumbers | moLineNumbersOnGutter | moSelectOnlyText
                                                   | moDblClickLine | moColorSyntax | moOverwriteCaret
                                                   | moDisableDrag;
    // The block indents "Block i&ndent:" accepts.
    static constexpr int kMaxBlockIndent = 64;

    explicit TEnvEditorPage(TEnvSettings& settings, QWidget* parent = nullptr);

    QString Caption() const override { return QStringLiteral("Editor"); }
    QWidget* Check(QString& message) override;
    void Apply() override;

    QCheckBox* Tick(const QString& caption) const;
    QComboBox* KeyMappingBox() const { return m_keyMapping; }
    QLineEdit* BlockIndentEdit() const { return m_blockIndent; }
    QLineEdit* TabStopsEdit() const { return m_tabStops; }

private:
    // What one tick stands for: a bit of the view options or of the
    // text-store options (neither: keep trailing blanks).
    struct TTick {
        QCheckBox* box;
        TMemoOptions viewBit;
        TStringsOptions sourceBit;
        bool inverted;
    };

    void ShowSettings();
    // The block indent typed; false when it is no whole number from 0 to
    // kMaxBlockIndent.
    bool ReadBlockIndent(int& indent) const;

    std::vector<TTick> m_ticks;
    QCheckBox* m_keepTrailingBlanks = nullptr;
    QCheckBox* m_closeTags = nullptr;
    QCheckBox* m_closeBrackets = nullptr;
    QCheckBox* m_smartTab = nullptr;
    QCheckBox* m_useTabCharacter = nullptr;
    QComboBox* m_keyMapping = nullptr;
    QLineEdit* m_blockIndent = nullptr;
    QLineEdit* m_tabStops = nullptr;
};
