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
    // A search through files is not offered: its page stays hidden.
    m_pages->addTab(new QWidget(m_pages), QStringLiteral("Find in Files"));
    m_pages->setTabVisible(1, false);

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

bool TFindDialog::Execute(TSearchOptions& options)
{
    m_text->SetText(options.textToFind);
    m_text->lineEdit()->selectAll();
    m_fields->Load(options);
    m_text->setFocus();
    if (ModalDialogs::Execute(*this) != QDialog::Accepted)
        return false;
    options.textToFind = m_text->Text();
    m_fields->Store(options);
    m_text->AddText();
    m_text->SaveHistory();
    return true;
}
