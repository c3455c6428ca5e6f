// The editor page of the options dialog: one table of ticks, each standing
// for one option bit (some inverted), and the key mapping, block indent and
// tab stops, checked before anything is written.

#include "enveditorpage.h"

#include "dcmemo.h"
#include "keylist.h"
#include "keymappings.h"
#include "tabstops.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

struct TTickRow {
    const char* caption;
    TMemoOption viewBit;
    TStringsOption sourceBit;
    bool inverted;
};

constexpr TMemoOption kNoView = TMemoOption(0);
constexpr TStringsOption kNoSource = TStringsOption(0);

// The ticks in the order they are shown; the first group edits the view
// options, the second the text-store options.
constexpr TTickRow kViewTicks[] = {
    {"Show &line numbers", moLineNumbers, kNoSource, false},
    {"S&how line numbers on gutter", moLineNumbersOnGutter, kNoSource, false},
    {"&Selection beyond EOL", moSelectOnlyText, kNoSource, true},
    {"&Double click line", moDblClickLine, kNoSource, false},
    {"Use &syntax highlight", moColorSyntax, kNoSource, false},
    {"&Overwrite cursor as block", moOverwriteCaret, kNoSource, false},
    {"Disable dra&gging", moDisableDrag, kNoSource, false},
};

constexpr TTickRow kSourceTicks[] = {
    {"&Auto indent mode", kNoView, soAutoIndent, false},
    {"S&mart tab", kNoView, soSmartTab, false},
    {"&Use tab character", kNoView, soUseTabCharacter, false},
    {"Backspace &unindents", kNoView, soBackUnindents, false},
    {"&Group undo", kNoView, soGroupUndo, false},
    {"Cursor beyond &EOF", kNoView, soBeyondFileEnd, false},
    {"&Cursor beyond EOL", kNoView, soLimitEOL, true},
    {"&Persistent blocks", kNoView, soPersistentBlocks, false},
    {"Over&write blocks", kNoView, soOverwriteBlocks, false},
    {"Find te&xt at cursor", kNoView, soFindTextAtCursor, false},
    {"&Force cut and copy enabled", kNoView, soForceCutCopy, false},
};

} // namespace

TEnvEditorPage::TEnvEditorPage(TEnvSettings& settings, QWidget* parent) : TEnvPage(settings, parent)
{
    auto* viewGroup = new QGroupBox(QStringLiteral("Editor options"), this);
    auto* viewLayout = new QVBoxLayout(viewGroup);
    for (const TTickRow& row : kViewTicks) {
        auto* box = new QCheckBox(QString::fromLatin1(row.caption), viewGroup);
        viewLayout->addWidget(box);
        m_ticks.push_back({box, row.viewBit, {}, row.inverted});
    }
    m_keyMapping = new QComboBox(viewGroup);
    m_keyMapping->addItems(KeyMappings::Names(TDCMemo::staticMetaObject));
    auto* keyLabel = new QLabel(QStringLiteral("&Keymapping:"), viewGroup);
    keyLabel->setBuddy(m_keyMapping);
    viewLayout->addSpacing(8);
    viewLayout->addWidget(keyLabel);
    viewLayout->addWidget(m_keyMapping);
    viewLayout->addStretch(1);

    auto* sourceGroup = new QGroupBox(QStringLiteral("Source options"), this);
    auto* sourceLayout = new QVBoxLayout(sourceGroup);
    for (const TTickRow& row : kSourceTicks) {
        auto* box = new QCheckBox(QString::fromLatin1(row.caption), sourceGroup);
        sourceLayout->addWidget(box);
        m_ticks.push_back({box, {}, row.sourceBit, row.inverted});
        if (row.sourceBit == soSmartTab)
            m_smartTab = box;
        if (row.sourceBit == soUseTabCharacter)
            m_useTabCharacter = box;
    }
    m_keepTrailingBlanks = new QCheckBox(QStringLiteral("&Keep trailing blanks"), sourceGroup);
    sourceLayout->addWidget(m_keepTrailingBlanks);
    m_closeTags = new QCheckBox(QStringLiteral("Close tags automatically"), sourceGroup);
    sourceLayout->addWidget(m_closeTags);
    m_closeBrackets = new QCheckBox(QStringLiteral("Close brackets and quotes automatically"), sourceGroup);
    sourceLayout->addWidget(m_closeBrackets);
    // A text store never holds both tab settings: ticking one clears the
    // other, so that the page shows what "Ok" will give.
    connect(m_smartTab, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_useTabCharacter->setChecked(false);
    });
    connect(m_useTabCharacter, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_smartTab->setChecked(false);
    });

    auto* fields = new QFormLayout;
    m_blockIndent = new QLineEdit(sourceGroup);
    m_tabStops = new QLineEdit(sourceGroup);
    auto* indentLabel = new QLabel(QStringLiteral("Block i&ndent:"), sourceGroup);
    indentLabel->setBuddy(m_blockIndent);
    auto* stopsLabel = new QLabel(QStringLiteral("&Tab stops:"), sourceGroup);
    stopsLabel->setBuddy(m_tabStops);
    fields->addRow(indentLabel, m_blockIndent);
    fields->addRow(stopsLabel, m_tabStops);
    sourceLayout->addSpacing(8);
    sourceLayout->addLayout(fields);

    auto* layout = new QGridLayout(this);
    layout->addWidget(viewGroup, 0, 0);
    layout->addWidget(sourceGroup, 0, 1);
    ShowSettings();
}

QCheckBox* TEnvEditorPage::Tick(const QString& caption) const
{
    for (const TTick& tick : m_ticks) {
        if (tick.box->text() == caption)
            return tick.box;
    }
    for (QCheckBox* box : {m_keepTrailingBlanks, m_closeTags, m_closeBrackets}) {
        if (box->text() == caption)
            return box;
    }
    return nullptr;
}

void TEnvEditorPage::ShowSettings()
{
    const TMemoOptions view = m_settings.env.Options();
    const TStringsOptions source = m_settings.source.Options();
    for (const TTick& tick : m_ticks) {
        const bool set = tick.viewBit.toInt() != 0 ? (view & tick.viewBit).toInt() != 0
                                                   : (source & tick.sourceBit).toInt() != 0;
        tick.box->setChecked(set != tick.inverted);
    }
    m_keepTrailingBlanks->setChecked(m_settings.source.KeepTrailingBlanks());
    m_closeTags->setChecked(m_settings.source.CloseTags());
    m_closeBrackets->setChecked(m_settings.source.CloseBrackets());
    const QString mapping = m_settings.env.KeyMapping();
    int index = m_keyMapping->findText(mapping, Qt::MatchFixedString);
    if (index < 0) {
        // A name no mapping is registered under still shows as it is.
        m_keyMapping->addItem(mapping);
        index = m_keyMapping->count() - 1;
    }
    m_keyMapping->setCurrentIndex(index);
    m_blockIndent->setText(QString::number(m_settings.source.BlockIndent()));
    m_tabStops->setText(m_settings.source.TabStops());
}

bool TEnvEditorPage::ReadBlockIndent(int& indent) const
{
    bool ok = false;
    indent = m_blockIndent->text().trimmed().toInt(&ok);
    return ok && indent >= 0 && indent <= kMaxBlockIndent;
}

QWidget* TEnvEditorPage::Check(QString& message)
{
    int indent = 0;
    if (!ReadBlockIndent(indent)) {
        message = QStringLiteral("Block indent: '%1' is not a whole number from 0 to %2.")
                      .arg(m_blockIndent->text())
                      .arg(kMaxBlockIndent);
        return m_blockIndent;
    }
    try {
        TTabStops().Set(m_tabStops->text().trimmed());
    } catch (const EInvalidTabRack&) {
        message = QStringLiteral("Tab stops: '%1' is not a valid tab rack: give increasing column numbers "
                                 "separated by commas, such as 9,17.")
                      .arg(m_tabStops->text());
        return m_tabStops;
    }
    return nullptr;
}

void TEnvEditorPage::Apply()
{
    // The view options, the key mapping, then the text-store options; of
    // each set only the bits of the page.
    TMemoOptions view = m_settings.env.Options() & ~kEditedOptions;
    TStringsOptions source = m_settings.source.Options();
    for (const TTick& tick : m_ticks) {
        const bool set = tick.box->isChecked() != tick.inverted;
        if (tick.viewBit.toInt() != 0)
            view.setFlag(TMemoOption(tick.viewBit.toInt()), set);
        else
            source.setFlag(TStringsOption(tick.sourceBit.toInt()), set);
    }
    m_settings.env.BeginUpdate();
    m_settings.env.SetOptions(view);
    m_settings.env.SetKeyMapping(m_keyMapping->currentText());
    m_settings.env.EndUpdate();

    int indent = 0;
    ReadBlockIndent(indent);
    m_settings.source.BeginUpdate();
    m_settings.source.SetKeepTrailingBlanks(m_keepTrailingBlanks->isChecked());
    m_settings.source.SetCloseTags(m_closeTags->isChecked());
    m_settings.source.SetCloseBrackets(m_closeBrackets->isChecked());
    m_settings.source.SetOptions(source);
    m_settings.source.SetTabStops(m_tabStops->text().trimmed());
    m_settings.source.SetBlockIndent(indent);
    m_settings.source.EndUpdate();
}
