#include "findinfilespage.h"

#include "historyeditor.h"
#include "searchfields.h"
#include "services.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

const QString TFileSearchSettings::kDefaultMasks =
    QStringLiteral("*.jsp;*.jspf;*.java;*.htm;*.html;*.css;*.js;*.xml;*.properties;*.bat;*.txt");

TFileSearchSettings& TFileSearchSettings::Last()
{
    static TFileSearchSettings settings;
    return settings;
}

namespace {

// The folder and mask lists belong to neither dialog alone.
const QString kSharedHistory = QStringLiteral("FindInFiles");

} // namespace

TFindInFilesPage::TFindInFilesPage(const QString& dialogName, bool withReplace, const QString& regularCaption,
                                   QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    int row = 0;
    auto addField = [&](const QString& caption, TDCHistoryEditor* field) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        fields->addWidget(label, row, 0);
        fields->addWidget(field, row, 1);
        ++row;
    };
    m_text = new TDCHistoryEditor(dialogName, QStringLiteral("FilesTextToFind"), this);
    addField(QStringLiteral("&Text to find:"), m_text);
    if (withReplace) {
        m_replacement = new TDCHistoryEditor(dialogName, QStringLiteral("FilesReplaceWith"), this);
        addField(QStringLiteral("&Replace with:"), m_replacement);
    }
    m_folder = new TDCHistoryEditor(kSharedHistory, QStringLiteral("Folder"), this);
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_browse->setObjectName(QStringLiteral("BrowseFolder"));
    m_browse->setToolTip(QStringLiteral("Choose the folder"));
    m_browse->setFixedWidth(m_browse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    fields->addWidget(m_browse, row, 2);
    addField(QStringLiteral("In &folder:"), m_folder);
    m_masks = new TDCHistoryEditor(kSharedHistory, QStringLiteral("Masks"), this);
    addField(QStringLiteral("File &masks:"), m_masks);
    fields->setColumnStretch(1, 1);
    // A long folder or mask list in a history does not widen the dialog.
    for (TDCHistoryEditor* field : {m_text, m_replacement, m_folder, m_masks}) {
        if (field) {
            field->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            field->setMinimumContentsLength(24);
        }
    }
    layout->addLayout(fields);

    m_subfolders = new QCheckBox(QStringLiteral("Include &subfolders"), this);
    m_subfolders->setObjectName(QStringLiteral("IncludeSubfolders"));
    layout->addWidget(m_subfolders);

    auto* options = new QGroupBox(QStringLiteral("Options"), this);
    auto* optionsLayout = new QVBoxLayout(options);
    auto addCheck = [&](const char* name, const QString& caption) {
        auto* box = new QCheckBox(caption, options);
        box->setObjectName(QString::fromLatin1(name));
        optionsLayout->addWidget(box);
        return box;
    };
    m_case = addCheck("FilesCaseSensitive", QStringLiteral("&Case sensitive"));
    m_words = addCheck("FilesWholeWordsOnly", QStringLiteral("&Whole words only"));
    m_regular = addCheck("FilesRegularExpressions", regularCaption);
    layout->addWidget(options);
    layout->addStretch(1);

    connect(m_browse, &QPushButton::clicked, this, &TFindInFilesPage::Browse);
}

void TFindInFilesPage::Load(const TFileSearchSettings& settings)
{
    m_text->SetText(settings.text);
    if (m_replacement)
        m_replacement->SetText(settings.replaceText);
    m_folder->SetText(QDir::toNativeSeparators(settings.folder));
    m_masks->SetText(settings.masks);
    m_subfolders->setChecked(settings.subfolders);
    m_case->setChecked(settings.caseSensitive);
    m_words->setChecked(settings.wholeWords);
    m_regular->setChecked(settings.regular);
}

void TFindInFilesPage::Store(TFileSearchSettings& settings) const
{
    settings.text = m_text->Text();
    if (m_replacement)
        settings.replaceText = m_replacement->Text();
    settings.folder = QDir::fromNativeSeparators(m_folder->Text().trimmed());
    settings.masks = m_masks->Text();
    settings.subfolders = m_subfolders->isChecked();
    settings.caseSensitive = m_case->isChecked();
    settings.wholeWords = m_words->isChecked();
    settings.regular = m_regular->isChecked();
}

void TFindInFilesPage::KeepHistories()
{
    for (TDCHistoryEditor* field : {m_text, m_replacement, m_folder, m_masks}) {
        if (!field)
            continue;
        field->AddText();
        field->SaveHistory();
    }
}

void TFindInFilesPage::RevertHistories()
{
    for (TDCHistoryEditor* field : {m_text, m_replacement, m_folder, m_masks}) {
        if (field)
            field->RevertHistory();
    }
}

void TFindInFilesPage::Browse()
{
    TServices::TFileDialog dialog;
    dialog.title = QStringLiteral("Choose the folder to search");
    dialog.initialDir = QDir::fromNativeSeparators(m_folder->Text().trimmed());
    if (Services().FolderDialog(dialog))
        m_folder->SetText(QDir::toNativeSeparators(dialog.fileName));
    m_folder->setFocus();
}

void TFindInFilesPage::CarryIn(const TDCHistoryEditor* text, const TDCHistoryEditor* replacement,
                               const TSearchFields& fields)
{
    if (!text->Text().isEmpty())
        m_text->SetText(text->Text());
    if (replacement && m_replacement && !replacement->Text().isEmpty())
        m_replacement->SetText(replacement->Text());
    TSearchOptions options;
    fields.Store(options);
    m_case->setChecked(options.caseSensitive);
    m_words->setChecked(options.wholeWordsOnly);
    m_regular->setChecked(options.regularExpressions);
    m_text->setFocus();
    m_text->lineEdit()->selectAll();
}

void TFindInFilesPage::CarryOut(TDCHistoryEditor* text, TDCHistoryEditor* replacement, TSearchFields& fields) const
{
    if (!m_text->Text().isEmpty())
        text->SetText(m_text->Text());
    if (replacement && m_replacement && !m_replacement->Text().isEmpty())
        replacement->SetText(m_replacement->Text());
    TSearchOptions options;
    fields.Store(options);
    options.caseSensitive = m_case->isChecked();
    options.wholeWordsOnly = m_words->isChecked();
    options.regularExpressions = m_regular->isChecked();
    fields.Load(options);
    text->setFocus();
    text->lineEdit()->selectAll();
}
