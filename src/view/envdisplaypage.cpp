// The display page of the options dialog. Its controls write into the
// dialog's copy of the options as they change; Refresh shows the copy
// without writing back.

#include "envdisplaypage.h"

#include "colorbutton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The pen and brush styles offered, by their names in the lists.
const std::pair<const char*, TPen::TPenStyle> kPenStyles[] = {
    {"Solid", TPen::psSolid},
    {"Dash", TPen::psDash},
    {"Dot", TPen::psDot},
    {"Dash dot", TPen::psDashDot},
    {"Dash dot dot", TPen::psDashDotDot},
    {"Clear", TPen::psClear},
};
const std::pair<const char*, TBrush::TBrushStyle> kBrushStyles[] = {
    {"Solid", TBrush::bsSolid},
    {"Clear", TBrush::bsClear},
    {"Horizontal", TBrush::bsHorizontal},
    {"Vertical", TBrush::bsVertical},
    {"Diagonal", TBrush::bsFDiagonal},
    {"Back diagonal", TBrush::bsBDiagonal},
    {"Cross", TBrush::bsCross},
    {"Diagonal cross", TBrush::bsDiagCross},
};

QLabel* label(const char* text, QWidget* buddy, QWidget* parent)
{
    auto* result = new QLabel(QString::fromUtf8(text), parent);
    result->setBuddy(buddy);
    return result;
}

QSpinBox* spinBox(int low, int high, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setRange(low, high);
    return box;
}

// The item of combo whose data is value.
void selectData(QComboBox* combo, int value)
{
    combo->setCurrentIndex(combo->findData(value));
}

void setText(QLineEdit* edit, const QString& text)
{
    // Only when it differs, so that typing keeps its cursor.
    if (edit->text() != text)
        edit->setText(text);
}

} // namespace

TEnvDisplayPage::TEnvDisplayPage(TEnvSettings& settings, QWidget* parent) : TEnvPage(settings, parent)
{
    TMemoEnvOptions& env = m_settings.env;

    // Font, colour, mono font, read-only colour.
    auto* editorGroup = new QGroupBox(QStringLiteral("Editor"), this);
    auto* editorLayout = new QGridLayout(editorGroup);
    m_fontName = new QFontComboBox(editorGroup);
    m_fontSize = spinBox(4, 72, editorGroup);
    m_color = new TColorButton(editorGroup);
    m_useMonoFont = new QCheckBox(QStringLiteral("Use mono font"), editorGroup);
    m_useReadOnlyColor = new QCheckBox(QStringLiteral("Read-only color"), editorGroup);
    m_readOnlyColor = new TColorButton(editorGroup);
    editorLayout->addWidget(label("Editor &font:", m_fontName, editorGroup), 0, 0);
    editorLayout->addWidget(m_fontName, 0, 1);
    editorLayout->addWidget(label("&Size:", m_fontSize, editorGroup), 0, 2);
    editorLayout->addWidget(m_fontSize, 0, 3);
    editorLayout->addWidget(label("Editor Color", m_color, editorGroup), 1, 0);
    editorLayout->addWidget(m_color, 1, 1);
    editorLayout->addWidget(m_useMonoFont, 1, 2, 1, 2);
    editorLayout->addWidget(m_useReadOnlyColor, 2, 0);
    editorLayout->addWidget(m_readOnlyColor, 2, 1);

    // Special symbols.
    auto* symbolsGroup = new QGroupBox(QStringLiteral("Special symbols"), this);
    auto* symbolsLayout = new QHBoxLayout(symbolsGroup);
    m_drawSymbols = new QCheckBox(QStringLiteral("Show special symbols"), symbolsGroup);
    symbolsLayout->addWidget(m_drawSymbols);
    m_eof = new QLineEdit(symbolsGroup);
    m_eol = new QLineEdit(symbolsGroup);
    m_space = new QLineEdit(symbolsGroup);
    m_tab = new QLineEdit(symbolsGroup);
    const std::pair<const char*, QLineEdit*> symbols[] = {{"EOF:", m_eof}, {"EOL:", m_eol}, {"Space:", m_space},
                                                          {"Tab:", m_tab}};
    for (const auto& [caption, edit] : symbols) {
        edit->setMaxLength(edit == m_eof || edit == m_eol ? 4 : 1);
        edit->setMaximumWidth(fontMetrics().averageCharWidth() * 8);
        symbolsLayout->addWidget(label(caption, edit, symbolsGroup));
        symbolsLayout->addWidget(edit);
    }
    symbolsLayout->addStretch(1);

    // Margin.
    auto* marginGroup = new QGroupBox(QStringLiteral("Editor margin:"), this);
    auto* marginLayout = new QFormLayout(marginGroup);
    m_marginVisible = new QCheckBox(QStringLiteral("&Visible"), marginGroup);
    m_marginColor = new TColorButton(marginGroup);
    m_marginStyle = new QComboBox(marginGroup);
    for (const auto& [name, style] : kPenStyles)
        m_marginStyle->addItem(QString::fromLatin1(name), int(style));
    m_marginWidth = spinBox(1, 2, marginGroup);
    m_marginPos = spinBox(0, 1000, marginGroup);
    marginLayout->addRow(m_marginVisible);
    marginLayout->addRow(label("Color:", m_marginColor, marginGroup), m_marginColor);
    marginLayout->addRow(label("Style:", m_marginStyle, marginGroup), m_marginStyle);
    marginLayout->addRow(label("&Width:", m_marginWidth, marginGroup), m_marginWidth);
    marginLayout->addRow(label("Position:", m_marginPos, marginGroup), m_marginPos);

    // Gutter.
    auto* gutterGroup = new QGroupBox(QStringLiteral("Editor gutter:"), this);
    auto* gutterLayout = new QFormLayout(gutterGroup);
    m_gutterVisible = new QCheckBox(QStringLiteral("Visible"), gutterGroup);
    m_gutterColor = new TColorButton(gutterGroup);
    m_gutterStyle = new QComboBox(gutterGroup);
    for (const auto& [name, style] : kBrushStyles)
        m_gutterStyle->addItem(QString::fromLatin1(name), int(style));
    m_gutterWidth = spinBox(0, 500, gutterGroup);
    gutterLayout->addRow(m_gutterVisible);
    gutterLayout->addRow(label("Color:", m_gutterColor, gutterGroup), m_gutterColor);
    gutterLayout->addRow(label("Style:", m_gutterStyle, gutterGroup), m_gutterStyle);
    gutterLayout->addRow(label("&Width:", m_gutterWidth, gutterGroup), m_gutterWidth);
    m_foldColumn = new QCheckBox(QStringLiteral("Fold column"), gutterGroup);
    gutterLayout->addRow(m_foldColumn);

    auto* layout = new QGridLayout(this);
    layout->addWidget(editorGroup, 0, 0, 1, 2);
    layout->addWidget(symbolsGroup, 1, 0, 1, 2);
    layout->addWidget(marginGroup, 2, 0);
    layout->addWidget(gutterGroup, 2, 1);
    layout->setRowStretch(3, 1);

    Refresh();

    // Every control writes through to the dialog's copy of the options.
    connect(m_fontName, &QComboBox::currentTextChanged, this, [this, &env](const QString& name) {
        Write([&] {
            TFont font = env.Font();
            font.SetName(name);
            env.SetFont(font);
        });
    });
    connect(m_fontSize, &QSpinBox::valueChanged, this, [this, &env](int points) {
        Write([&] {
            TFont font = env.Font();
            font.SetSize(points);
            env.SetFont(font);
        });
    });
    connect(m_color, &TColorButton::ColorChanged, this, [this, &env](TColor color) {
        Write([&] { env.SetColor(color); });
    });
    connect(m_useMonoFont, &QCheckBox::toggled, this, [this, &env](bool on) {
        Write([&] { env.SetUseMonoFont(on); });
    });
    connect(m_useReadOnlyColor, &QCheckBox::toggled, this, [this](bool on) { SetOption(moUseReadOnlyColor, on); });
    connect(m_readOnlyColor, &TColorButton::ColorChanged, this, [this, &env](TColor color) {
        Write([&] { env.SetReadOnlyColor(color); });
    });
    connect(m_drawSymbols, &QCheckBox::toggled, this, [this](bool on) { SetOption(moDrawSpecialSymbols, on); });
    connect(m_eof, &QLineEdit::textChanged, this, [this, &env](const QString& text) {
        Write([&] { env.SpecialSymbols()->SetEOFString(text); });
    });
    connect(m_eol, &QLineEdit::textChanged, this, [this, &env](const QString& text) {
        Write([&] { env.SpecialSymbols()->SetEOLString(text); });
    });
    connect(m_space, &QLineEdit::textChanged, this, [this, &env](const QString& text) {
        Write([&] { env.SpecialSymbols()->SetSpaceChar(text); });
    });
    connect(m_tab, &QLineEdit::textChanged, this, [this, &env](const QString& text) {
        Write([&] { env.SpecialSymbols()->SetTabChar(text); });
    });
    connect(m_marginVisible, &QCheckBox::toggled, this, [this](bool on) { SetOption(moDrawMargin, on); });
    auto marginPen = [this, &env] {
        Write([&] {
            TPen pen = env.MarginPen();
            pen.SetColor(m_marginColor->Color());
            pen.SetStyle(TPen::TPenStyle(m_marginStyle->currentData().toInt()));
            pen.SetWidth(m_marginWidth->value());
            env.SetMarginPen(pen);
        });
    };
    connect(m_marginColor, &TColorButton::ColorChanged, this, marginPen);
    connect(m_marginStyle, &QComboBox::currentIndexChanged, this, marginPen);
    connect(m_marginWidth, &QSpinBox::valueChanged, this, marginPen);
    connect(m_marginPos, &QSpinBox::valueChanged, this, [this, &env](int column) {
        Write([&] { env.SetMarginPos(column); });
    });
    connect(m_gutterVisible, &QCheckBox::toggled, this, [this](bool on) { SetOption(moDrawGutter, on); });
    connect(m_foldColumn, &QCheckBox::toggled, this, [this](bool on) { SetOption(moHideInvisibleLines, on); });
    auto gutterBrush = [this, &env] {
        Write([&] {
            const auto style = TBrush::TBrushStyle(m_gutterStyle->currentData().toInt());
            env.SetGutterBrush(TBrush(m_gutterColor->Color(), style));
        });
    };
    connect(m_gutterColor, &TColorButton::ColorChanged, this, gutterBrush);
    connect(m_gutterStyle, &QComboBox::currentIndexChanged, this, gutterBrush);
    connect(m_gutterWidth, &QSpinBox::valueChanged, this, [this, &env](int width) {
        Write([&] { env.SetGutterWidth(width); });
    });
}

template <class F>
void TEnvDisplayPage::Write(F change)
{
    if (m_refreshing)
        return;
    change();
}

void TEnvDisplayPage::SetOption(TMemoOption option, bool on)
{
    Write([&] {
        TMemoOptions options = m_settings.env.Options();
        options.setFlag(option, on);
        m_settings.env.SetOptions(options);
    });
}

void TEnvDisplayPage::Refresh()
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    const TMemoEnvOptions& env = m_settings.env;
    const TMemoOptions options = env.Options();
    if (m_fontName->currentText() != env.Font().Name())
        m_fontName->setEditText(env.Font().Name());
    m_fontSize->setValue(env.Font().Size());
    m_color->SetColor(env.Color());
    m_useMonoFont->setChecked(env.UseMonoFont());
    m_useReadOnlyColor->setChecked(options.testFlag(moUseReadOnlyColor));
    m_readOnlyColor->SetColor(env.ReadOnlyColor());
    m_drawSymbols->setChecked(options.testFlag(moDrawSpecialSymbols));
    setText(m_eof, env.SpecialSymbols()->EOFString());
    setText(m_eol, env.SpecialSymbols()->EOLString());
    setText(m_space, env.SpecialSymbols()->SpaceChar());
    setText(m_tab, env.SpecialSymbols()->TabChar());
    m_marginVisible->setChecked(options.testFlag(moDrawMargin));
    m_marginColor->SetColor(env.MarginPen().Color());
    selectData(m_marginStyle, int(env.MarginPen().Style()));
    m_marginWidth->setValue(env.MarginPen().Width());
    m_marginPos->setValue(env.MarginPos());
    m_gutterVisible->setChecked(options.testFlag(moDrawGutter));
    m_foldColumn->setChecked(options.testFlag(moHideInvisibleLines));
    m_gutterColor->SetColor(env.GutterBrush().Color());
    selectData(m_gutterStyle, int(env.GutterBrush().Style()));
    m_gutterWidth->setValue(env.GutterWidth());
    m_refreshing = false;
}
