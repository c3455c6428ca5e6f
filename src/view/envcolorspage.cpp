// The colours page of the options dialog: the styles one element at a time,
// colour sets, colour files and the sample that shows them.

#include "envcolorspage.h"

#include "colorbutton.h"
#include "colorspeedsettings.h"
#include "dcmemo.h"
#include "services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

namespace {

// The sample shows the name of style n on line n, painted in style n: the
// attribute of every character of line n is n.
class TStyleSampleParser : public TSimpleParser {
public:
    quint32 ParseLine(std::string_view text, quint32 state, uchar* attrs) override
    {
        std::memset(attrs, std::clamp(CurrentLine(), 0, 255), text.size());
        return state;
    }
};

QLabel* label(const char* text, QWidget* buddy, QWidget* parent)
{
    auto* result = new QLabel(QString::fromLatin1(text), parent);
    result->setBuddy(buddy);
    return result;
}

QByteArray sampleText(const TTextStyles& styles)
{
    QByteArray text;
    for (int i = 0; i < styles.Count(); ++i) {
        if (i > 0)
            text += '\n';
        text += styles.At(i)->Name().toLatin1();
    }
    return text;
}

} // namespace

TEnvColorsPage::TEnvColorsPage(TEnvSettings& settings, QWidget* parent)
    : TEnvPage(settings, parent), m_sampleParser(std::make_unique<TStyleSampleParser>())
{
    m_elements = new QListWidget(this);
    m_back = new TColorButton(this);
    m_fore = new TColorButton(this);

    auto* defaults = new QGroupBox(QStringLiteral("Use defaults for:"), this);
    m_defaultBack = new QCheckBox(QStringLiteral("Back&ground"), defaults);
    m_defaultFore = new QCheckBox(QStringLiteral("&Foreground"), defaults);
    auto* defaultsLayout = new QVBoxLayout(defaults);
    defaultsLayout->addWidget(m_defaultBack);
    defaultsLayout->addWidget(m_defaultFore);

    auto* attributes = new QGroupBox(QStringLiteral("Text attributes:"), this);
    m_bold = new QCheckBox(QStringLiteral("&Bold"), attributes);
    m_italic = new QCheckBox(QStringLiteral("&Italic"), attributes);
    m_underline = new QCheckBox(QStringLiteral("&Underline"), attributes);
    auto* attributesLayout = new QVBoxLayout(attributes);
    attributesLayout->addWidget(m_bold);
    attributesLayout->addWidget(m_italic);
    attributesLayout->addWidget(m_underline);

    m_speed = new QComboBox(this);
    m_speed->addItems(ColorSpeedSettings::Names());
    m_open = new QPushButton(QStringLiteral("&Open"), this);
    m_save = new QPushButton(QStringLiteral("&Save"), this);

    m_sample = new TDCMemo(this);
    m_sample->ApplyApplicationDefaults();
    m_sample->SetScrollBars(ssVertical);
    m_sample->setFocusPolicy(Qt::NoFocus);
    m_sample->setAcceptDrops(false);
    m_sample->SetSyntaxParser(m_sampleParser.get());
    m_sample->setMinimumHeight(120);

    auto* side = new QGridLayout;
    side->addWidget(label("Ba&ckground color:", m_back, this), 0, 0);
    side->addWidget(m_back, 0, 1);
    side->addWidget(label("&Foreground color:", m_fore, this), 1, 0);
    side->addWidget(m_fore, 1, 1);
    side->addWidget(defaults, 2, 0, 1, 2);
    side->addWidget(attributes, 3, 0, 1, 2);
    side->addWidget(label("Color &SpeedSetting:", m_speed, this), 4, 0);
    side->addWidget(m_speed, 4, 1);
    auto* files = new QHBoxLayout;
    files->addWidget(m_open);
    files->addWidget(m_save);
    files->addStretch(1);
    side->addLayout(files, 5, 0, 1, 2);
    side->setRowStretch(6, 1);

    auto* list = new QVBoxLayout;
    list->addWidget(label("&Element:", m_elements, this));
    list->addWidget(m_elements, 1);

    auto* top = new QHBoxLayout;
    top->addLayout(list, 1);
    top->addLayout(side, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 3);
    layout->addWidget(m_sample, 2);

    Refresh();
    if (m_elements->count() > 0)
        m_elements->setCurrentRow(0);

    TMemoEnvOptions& env = m_settings.env;
    connect(m_elements, &QListWidget::currentRowChanged, this, [this] { ShowCurrent(); });
    connect(m_back, &TColorButton::ColorChanged, this, [this](TColor color) {
        Write([&](TTextStyle& style) { style.SetColor(color); });
    });
    connect(m_fore, &TColorButton::ColorChanged, this, [this](TColor color) {
        Write([&](TTextStyle& style) {
            TFont font = style.Font();
            font.SetColor(color);
            style.SetFont(font);
        });
    });
    connect(m_defaultBack, &QCheckBox::toggled, this, [this](bool on) {
        Write([&](TTextStyle& style) { style.SetUseMemoColor(on); });
    });
    connect(m_defaultFore, &QCheckBox::toggled, this, [this](bool on) {
        Write([&](TTextStyle& style) { style.SetUseMemoFont(on); });
    });
    connect(m_bold, &QCheckBox::toggled, this, [this](bool on) { SetFontStyle(TFont::fsBold, on); });
    connect(m_italic, &QCheckBox::toggled, this, [this](bool on) { SetFontStyle(TFont::fsItalic, on); });
    connect(m_underline, &QCheckBox::toggled, this, [this](bool on) { SetFontStyle(TFont::fsUnderline, on); });
    connect(m_speed, &QComboBox::activated, this,
            [this, &env](int index) { ColorSpeedSettings::Apply(m_speed->itemText(index), env); });
    connect(m_open, &QPushButton::clicked, this, &TEnvColorsPage::OpenClick);
    connect(m_save, &QPushButton::clicked, this, &TEnvColorsPage::SaveClick);
    m_sample->OnMouseDown = [this](TCustomDCMemo& sample, Qt::MouseButton, TShiftState, int x, int y) {
        const int line = sample.PixelToPosition(QPoint(x, y)).line;
        if (line >= 0 && line < m_elements->count())
            m_elements->setCurrentRow(line);
    };
}

TEnvColorsPage::~TEnvColorsPage()
{
    // The sample lets go of its parser before the parser goes.
    m_sample->SetSyntaxParser(nullptr);
}

TTextStyle* TEnvColorsPage::Current() const
{
    const int row = m_elements->currentRow();
    const TTextStyles& styles = *m_settings.env.TextStyles();
    return row >= 0 && row < styles.Count() ? styles.At(row) : nullptr;
}

void TEnvColorsPage::Refresh()
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    const TMemoEnvOptions& env = m_settings.env;
    const TTextStyles& styles = *env.TextStyles();
    QStringList names;
    for (int i = 0; i < styles.Count(); ++i)
        names.append(styles.At(i)->Name());
    QStringList shown;
    for (int i = 0; i < m_elements->count(); ++i)
        shown.append(m_elements->item(i)->text());
    if (names != shown) {
        const int row = m_elements->currentRow();
        m_elements->clear();
        m_elements->addItems(names);
        m_elements->setCurrentRow(std::min(std::max(row, 0), int(names.size()) - 1));
        m_sample->MemoSource()->SetTextStr(sampleText(styles));
    }
    m_speed->setCurrentIndex(m_speed->findText(env.ColorSchema(), Qt::MatchFixedString));
    // The sample shows every setting of the dialog; it is never dragged
    // from.
    m_sample->TakeEnvOptions(env);
    m_sample->SetOptions(m_sample->Options() | moDisableDrag);
    m_refreshing = false;
    ShowCurrent();
}

void TEnvColorsPage::ShowCurrent()
{
    if (m_refreshing)
        return;
    const TTextStyle* style = Current();
    for (QWidget* control : std::initializer_list<QWidget*>{m_back, m_fore, m_defaultBack, m_defaultFore, m_bold,
                                                           m_italic, m_underline})
        control->setEnabled(style != nullptr);
    if (!style)
        return;
    m_refreshing = true;
    // A style that sets the editor's colours cannot follow them.
    const bool free = style->UpdateMemoColors() == mcNone;
    m_back->SetColor(style->EffectiveColor());
    m_fore->SetColor(style->EffectiveFont().Color());
    m_defaultBack->setChecked(style->UseMemoColor());
    m_defaultBack->setEnabled(free);
    m_defaultFore->setChecked(style->UseMemoFont());
    m_defaultFore->setEnabled(free);
    const TFont::TFontStyles fontStyle = style->EffectiveFont().Style();
    m_bold->setChecked(fontStyle.testFlag(TFont::fsBold));
    m_italic->setChecked(fontStyle.testFlag(TFont::fsItalic));
    m_underline->setChecked(fontStyle.testFlag(TFont::fsUnderline));
    m_refreshing = false;
}

template <class F>
void TEnvColorsPage::Write(F change)
{
    TTextStyle* style = Current();
    if (m_refreshing || !style)
        return;
    change(*style);
    // What the change did to the other controls (a colour chosen stops
    // following the editor).
    ShowCurrent();
}

void TEnvColorsPage::SetFontStyle(TFont::TFontStyle fontStyle, bool on)
{
    Write([&](TTextStyle& style) {
        // The style's own font from now on, with the look it had.
        TFont font = style.EffectiveFont();
        TFont::TFontStyles styles = font.Style();
        styles.setFlag(fontStyle, on);
        font.SetStyle(styles);
        style.SetFont(font);
    });
}

void TEnvColorsPage::OpenClick()
{
    TServices::TFileDialog dialog;
    dialog.title = QStringLiteral("Load color styles");
    dialog.filter = kFileFilter;
    dialog.defaultExt = QStringLiteral("RGB");
    if (!Services().OpenFileDialog(dialog))
        return;
    QString error;
    if (!m_settings.env.TextStyles()->LoadFromFile(dialog.fileName, &error))
        Services().ShowError(error);
}

void TEnvColorsPage::SaveClick()
{
    TServices::TFileDialog dialog;
    dialog.title = QStringLiteral("Save color styles");
    dialog.filter = kFileFilter;
    dialog.defaultExt = QStringLiteral("RGB");
    if (!Services().SaveFileDialog(dialog))
        return;
    QString error;
    if (!m_settings.env.TextStyles()->SaveToFile(dialog.fileName, &error))
        Services().ShowError(error);
}
