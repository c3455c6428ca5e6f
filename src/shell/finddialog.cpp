#include "finddialog.h"

#include "dialogbuttons.h"
#include "modaldialogs.h"
#include "historyeditor.h"
#include "searchfields.h"
#include "services.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TFindDialog::TFindDialog(const QString& helpFile, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(QStringLiteral("Find Text"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    layout->addWidget(m_pages);

    auto* page = new QWidget(m_pages);
    auto* pageLayout = new QVBoxLayout(page);
    auto* label = new QLabel(QStringLiteral("&Text to find:"), page);
    m_text = new TDCHistoryEditor(objectName(), QStringLiteral("TextToFind"), page);
    label->setBuddy(m_text);
    pageLayout->addWidget(label);
    pageLayout->addWidget(m_text);
    m_fields = new TSearchFields(QStringLiteral("&Regular expressions"), false, page);
    pageLayout->addWidget(m_fields);
    m_pages->addTab(page, QStringLiteral("Find"));
    m_files = new TFindInFilesPage(objectName(), false, QStringLiteral("&Regular expressions"), m_pages);
    m_pages->addTab(m_files, QStringLiteral("Find in Files"));
    connect(m_pages, &QTabWidget::currentChanged, this, &TFindDialog::PageChanged);

    auto* buttons = new TDialogButtonRow(this);
    QPushButton* ok = buttons->Add(QStringLiteral("OK"), QStringLiteral("OK"));
    QPushButton* cancel = buttons->Add(QStringLiteral("Cancel"), QStringLiteral("Cancel"));
    QPushButton* help = buttons->Add(QStringLiteral("Help"), QStringLiteral("Help"));
    ok->setDefault(true);
    buttons->SetButtonVisible(help, !helpFile.isEmpty());
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [helpFile] { Services().ShellOpen(helpFile); });
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFindDialog::PageChanged(int page)
{
    if (page == 1)
        m_files->CarryIn(m_text, nullptr, *m_fields);
    else
        m_files->CarryOut(m_text, nullptr, *m_fields);
}

TSearchTarget TFindDialog::Execute(TSearchOptions& options, TFileSearchSettings& files, bool filesPage)
{
    m_text->SetText(options.textToFind);
    m_fields->Load(options);
    m_files->Load(files);
    {
        // Filled, not carried: the page shown first keeps what it was given.
        const QSignalBlocker quiet(m_pages);
        m_pages->setCurrentIndex(filesPage ? 1 : 0);
    }
    TDCHistoryEditor* first = filesPage ? m_files->Text() : m_text;
    first->lineEdit()->selectAll();
    first->setFocus();
    if (ModalDialogs::Execute(*this) != QDialog::Accepted)
        return TSearchTarget::None;
    if (m_pages->currentIndex() == 1) {
        m_files->Store(files);
        m_files->KeepHistories();
        m_text->RevertHistory();
        return TSearchTarget::Files;
    }
    options.textToFind = m_text->Text();
    m_fields->Store(options);
    m_text->AddText();
    m_text->SaveHistory();
    m_files->RevertHistories();
    return TSearchTarget::Text;
}
