#include "booksform.h"

#include "modaldialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TBooksForm::TBooksForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("BooksForm"));
    setWindowTitle(QStringLiteral("Go to Book Mark..."));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Write Book Mark Number:"), this);
    layout->addWidget(label);
    m_number = new QSpinBox(this);
    m_number->setObjectName(QStringLiteral("BookNumber"));
    m_number->setRange(0, 9);
    m_number->setWrapping(false);
    m_number->setValue(0);
    label->setBuddy(m_number);
    layout->addWidget(m_number);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->setDefault(true);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TBooksForm::Execute()
{
    m_number->setFocus();
    m_number->selectAll();
    return ModalDialogs::Execute(*this) == QDialog::Accepted;
}

int TBooksForm::Number() const
{
    return m_number->value();
}
