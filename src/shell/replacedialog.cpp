#include "replacedialog.h"

#include "dialogbuttons.h"
#include "modaldialogs.h"
#include "historyeditor.h"
#include "searchfields.h"
#include "services.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TReplaceDialog::TReplaceDialog(const QString& helpFile, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ReplaceDialog"));
    setWindowTitle(QStringLiteral("Replace Text"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    layout->addWidget(m_pages);

    auto* page = new QWidget(m_pages);
    auto* pageLayout = new QVBoxLayout(page);
    auto* texts = new QGridLayout;
    auto* findLabel = new QLabel(QStringLiteral("&Text to find:"), page);
    m_text = new TDCHistoryEditor(objectName(), QStringLiteral("TextToFind"), page);
    findLabel->setBuddy(m_text);
    auto* replaceLabel = new QLabel(QStringLiteral("&Replace with:"), page);
    m_replacement = new TDCHistoryEditor(objectName(), QStringLiteral("ReplaceWith"), page);
    replaceLabel->setBuddy(m_replacement);
    texts->addWidget(findLabel, 0, 0);
    texts->addWidget(m_text, 0, 1);
    texts->addWidget(replaceLabel, 1, 0);
    texts->addWidget(m_replacement, 1, 1);
    texts->setColumnStretch(1, 1);
    pageLayout->addLayout(texts);
    m_fields = new TSearchFields(QStringLiteral("Regular e&xpressions"), true, page);
    pageLayout->addWidget(m_fields);
    m_pages->addTab(page, QStringLiteral("Replace"));
    m_files = new TFindInFilesPage(objectName(), true, QStringLiteral("Regular e&xpressions"), m_pages);
    m_pages->addTab(m_files, QStringLiteral("Replace in Files"));
    connect(m_pages, &QTabWidget::currentChanged, this, &TReplaceDialog::PageChanged);

    auto* buttons = new TDialogButtonRow(this);
    QPushButton* ok = buttons->Add(QStringLiteral("OK"), QStringLiteral("&OK"));
    m_all = buttons->Add(QStringLiteral("ReplaceAll"), QStringLiteral("Replace &All"));
    QPushButton* cancel = buttons->Add(QStringLiteral("Cancel"), QStringLiteral("Cancel"));
    QPushButton* help = buttons->Add(QStringLiteral("Help"), QStringLiteral("&Help"));
    ok->setDefault(true);
    buttons->SetButtonVisible(help, !helpFile.isEmpty());
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_all, &QPushButton::clicked, this, [this] { done(kAll); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [helpFile] { Services().ShellOpen(helpFile); });
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TReplaceDialog::PageChanged(int page)
{
    // Replace All belongs to the text alone.
    m_all->setEnabled(page == 0);
    if (page == 1)
        m_files->CarryIn(m_text, m_replacement, *m_fields);
    else
        m_files->CarryOut(m_text, m_replacement, *m_fields);
}

TSearchTarget TReplaceDialog::Execute(TSearchOptions& options, TFileSearchSettings& files, bool filesPage)
{
    m_text->SetText(options.textToFind);
    m_replacement->SetText(options.replaceText);
    m_fields->Load(options);
    m_files->Load(files);
    {
        // Filled, not carried: the page shown first keeps what it was given.
        const QSignalBlocker quiet(m_pages);
        m_pages->setCurrentIndex(filesPage ? 1 : 0);
    }
    m_all->setEnabled(!filesPage);
    TDCHistoryEditor* first = filesPage ? m_files->Text() : m_text;
    first->lineEdit()->selectAll();
    first->setFocus();
    const int result = ModalDialogs::Execute(*this);
    if (result != QDialog::Accepted && result != kAll)
        return TSearchTarget::None;
    if (m_pages->currentIndex() == 1) {
        m_files->Store(files);
        m_files->KeepHistories();
        m_text->RevertHistory();
        m_replacement->RevertHistory();
        return TSearchTarget::Files;
    }
    m_files->RevertHistories();
    options.textToFind = m_text->Text();
    options.replaceText = m_replacement->Text();
    m_fields->Store(options);
    options.replaceAll = result == kAll;
    if (result == kAll) {
        // Leaving a field for the button may have added its text: that is
        // taken back.
        m_text->RevertHistory();
        m_replacement->RevertHistory();
        return TSearchTarget::Text;
    }
    for (TDCHistoryEditor* field : {m_text, m_replacement}) {
        field->AddText();
        field->SaveHistory();
    }
    return TSearchTarget::Text;
}
