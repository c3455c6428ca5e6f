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
#include <QVBoxLayout>

TReplaceDialog::TReplaceDialog(const QString& helpFile, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ReplaceDialog"));
    setWindowTitle(QStringLiteral("Replace Text"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* texts = new QGridLayout;
    auto* findLabel = new QLabel(QStringLiteral("&Text to find:"), this);
    m_text = new TDCHistoryEditor(objectName(), QStringLiteral("TextToFind"), this);
    findLabel->setBuddy(m_text);
    auto* replaceLabel = new QLabel(QStringLiteral("&Replace with:"), this);
    m_replacement = new TDCHistoryEditor(objectName(), QStringLiteral("ReplaceWith"), this);
    replaceLabel->setBuddy(m_replacement);
    texts->addWidget(findLabel, 0, 0);
    texts->addWidget(m_text, 0, 1);
    texts->addWidget(replaceLabel, 1, 0);
    texts->addWidget(m_replacement, 1, 1);
    texts->setColumnStretch(1, 1);
    layout->addLayout(texts);
    m_fields = new TSearchFields(QStringLiteral("Regular e&xpressions"), true, this);
    layout->addWidget(m_fields);

    auto* buttons = new TDialogButtonRow(this);
    QPushButton* ok = buttons->Add(QStringLiteral("OK"), QStringLiteral("&OK"));
    QPushButton* all = buttons->Add(QStringLiteral("ReplaceAll"), QStringLiteral("Replace &All"));
    QPushButton* cancel = buttons->Add(QStringLiteral("Cancel"), QStringLiteral("Cancel"));
    QPushButton* help = buttons->Add(QStringLiteral("Help"), QStringLiteral("&Help"));
    ok->setDefault(true);
    buttons->SetButtonVisible(help, !helpFile.isEmpty());
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(all, &QPushButton::clicked, this, [this] { done(kAll); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [helpFile] { Services().ShellOpen(helpFile); });
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TReplaceDialog::Execute(TSearchOptions& options)
{
    m_text->SetText(options.textToFind);
    m_replacement->SetText(options.replaceText);
    m_text->lineEdit()->selectAll();
    m_fields->Load(options);
    m_text->setFocus();
    const int result = ModalDialogs::Execute(*this);
    if (result != QDialog::Accepted && result != kAll)
        return false;
    options.textToFind = m_text->Text();
    options.replaceText = m_replacement->Text();
    m_fields->Store(options);
    options.replaceAll = result == kAll;
    if (result == kAll) {
        // Leaving a field for the button may have added its text: that is
        // taken back.
        m_text->RevertHistory();
        m_replacement->RevertHistory();
        return true;
    }
    for (TDCHistoryEditor* field : {m_text, m_replacement}) {
        field->AddText();
        field->SaveHistory();
    }
    return true;
}
