#include "templateform.h"

#include <QLineEdit>

TTemplateForm::TTemplateForm(QWidget* parent)
    : TPickFileForm(parent, QStringLiteral("TemplateForm"), QStringLiteral("Load Template..."),
                    QStringLiteral("Select a template:"), QStringLiteral("TemplateList"))
{
}

bool TTemplateForm::Execute(const QString& folder)
{
    return Run(folder, QStringLiteral("*.tpl")) && !SelectedItem().isEmpty();
}

QString TTemplateForm::SelectedItem() const
{
    return SelectedField()->text();
}
