#include "aboutform.h"

#include "mainform.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("Tarnel About..."));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(QStringLiteral("Tarnel"), this);
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);

    const QString home = TMainForm::kHomePage;
    const QString mail = QString(TMainForm::kAuthorMail).remove(QStringLiteral("mailto:"));
    auto* text = new QLabel(QStringLiteral("Version 0.9.1 - beta<br><br>"
                                           "An editor for HTML, JSP, Java and MS-DOS batch files.<br><br>"
                                           "Ostrevin<br>%1<br>%2")
                                .arg(home.toHtmlEscaped(), mail.toHtmlEscaped()),
                            this);
    text->setObjectName(QStringLiteral("AboutText"));
    text->setAlignment(Qt::AlignCenter);
    text->setTextFormat(Qt::RichText);
    layout->addWidget(text);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
