#include "gotolinedialog.h"

#include "dialogbuttons.h"
#include "modaldialogs.h"
#include "memosource.h"
#include "services.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TGotoLineDialog::TGotoLineDialog(const QString& helpFile, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("GotoLineDialog"));
    setWindowTitle(QStringLiteral("Go to line Number"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Enter new line number:"), this);
    m_number = new QLineEdit(this);
    m_number->setObjectName(QStringLiteral("LineNumber"));
    label->setBuddy(m_number);
    layout->addWidget(label);
    layout->addWidget(m_number);

    auto* buttons = new TDialogButtonRow(this);
    QPushButton* ok = buttons->Add(QStringLiteral("OK"), QStringLiteral("Ok"));
    QPushButton* cancel = buttons->Add(QStringLiteral("Cancel"), QStringLiteral("Cancel"));
    QPushButton* help = buttons->Add(QStringLiteral("Help"), QStringLiteral("&Help"));
    ok->setDefault(true);
    buttons->SetButtonVisible(help, !helpFile.isEmpty());
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [helpFile] { Services().ShellOpen(helpFile); });
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TGotoLineDialog::Execute(int& line)
{
    m_number->setText(QString::number(line));
    m_number->selectAll();
    m_number->setFocus();
    if (ModalDialogs::Execute(*this) != QDialog::Accepted)
        return false;
    bool ok = false;
    const int typed = m_number->text().trimmed().toInt(&ok);
    line = ok ? typed : TCustomMemoSource::kNotALineNumber;
    return true;
}
