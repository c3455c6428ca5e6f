#include "memoprintform.h"

#include "custommemo.h"
#include "memoprinter.h"
#include "memosource.h"
#include "modaldialogs.h"
#include "services.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TMemoPrintForm::TMemoPrintForm(TCustomDCMemo& memo, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("MemoPrintForm"));
    const TDCPrintOptions options = memo.PrintOptions();
    const bool hasSelection = memo.MemoSource() && memo.MemoSource()->HasSelection();

    auto* fileCaption = new QLabel(QStringLiteral("File To Print:"), this);
    m_file = new QLabel(MemoPrinter::DocumentName(memo), this);

    auto* group = new QGroupBox(QStringLiteral("Options:"), this);
    auto* grid = new QGridLayout(group);
    const std::pair<TDCPrintOption, const char*> boxes[] = {
        {poPrintSel, "&Print selected block"}, {poPrintHeader, "Header/page &number"},
        {poLineNumbers, "&Line numbers"},      {poPrintSyntax, "&Syntax print"},
        {poInColor, "Use &color"},             {poShowProgress, "Show print &progress"},
        {poWrapLines, "&Wrap lines"},
    };
    int row = 0;
    for (const auto& [option, text] : boxes) {
        auto* box = new QCheckBox(QString::fromLatin1(text), group);
        box->setChecked(options.testFlag(option));
        grid->addWidget(box, row / 2, row % 2);
        m_checks.emplace_back(option, box);
        ++row;
    }
    QCheckBox* selected = Check(poPrintSel);
    selected->setEnabled(hasSelection);
    selected->setChecked(hasSelection);
    connect(selected, &QCheckBox::toggled, this, &TMemoPrintForm::UpdateCaption);

    auto* marginLabel = new QLabel(QStringLiteral("Left &margin:"), this);
    m_margin = new QLineEdit(QString::number(memo.PrintIndent()), this);
    marginLabel->setBuddy(m_margin);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    m_setup = buttons->addButton(QStringLiteral("Se&tup..."), QDialogButtonBox::ActionRole);
    m_ok = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    m_ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    m_help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    m_help->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
        if (m_onHelp)
            m_onHelp();
    });
    connect(m_setup, &QPushButton::clicked, this, [] { Services().PrintSetupDialog(MemoPrinter::Printer()); });

    auto* left = new QVBoxLayout;
    left->addWidget(fileCaption);
    left->addWidget(m_file);
    left->addWidget(group);
    auto* margin = new QHBoxLayout;
    margin->addWidget(marginLabel);
    margin->addWidget(m_margin);
    margin->addStretch(1);
    left->addLayout(margin);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(buttons);
    UpdateCaption();
}

QCheckBox* TMemoPrintForm::Check(TDCPrintOption option) const
{
    for (const auto& [each, box] : m_checks)
        if (each == option)
            return box;
    return nullptr;
}

TDCPrintOptions TMemoPrintForm::Options() const
{
    TDCPrintOptions options;
    for (const auto& [option, box] : m_checks)
        if (box->isChecked() && box->isEnabled())
            options |= option;
    return options;
}

int TMemoPrintForm::Margin() const
{
    bool ok = false;
    const int value = m_margin->text().trimmed().toInt(&ok);
    return ok ? value : 0;
}

void TMemoPrintForm::UpdateCaption()
{
    setWindowTitle(Check(poPrintSel)->isChecked() ? QStringLiteral("Print Selection") : QStringLiteral("Print"));
}

int TMemoPrintForm::Execute(TCustomDCMemo& memo, std::function<void()> help)
{
    TMemoPrintForm form(memo, memo.window());
    form.m_onHelp = std::move(help);
    form.m_help->setEnabled(bool(form.m_onHelp));
    if (ModalDialogs::Execute(form) != QDialog::Accepted)
        return 0;
    memo.SetPrintOptions(form.Options());
    memo.SetPrintIndent(form.Margin());
    return MemoPrinter::Print(memo, MemoPrinter::Printer());
}
