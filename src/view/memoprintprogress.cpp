#include "memoprintprogress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TMemoPrintProgress::TMemoPrintProgress(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("MemoPrintProgress"));
    setWindowTitle(QStringLiteral("Printing Status"));
    m_printer = new QLabel(QStringLiteral("Searching printers ..."), this);
    m_file = new QLabel(this);
    m_progress = new QLabel(QStringLiteral("Printing pages:    calculation ..."), this);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        m_cancel->setEnabled(false);
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_printer);
    layout->addWidget(m_file);
    layout->addWidget(m_progress);
    layout->addWidget(m_bar);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    setMinimumWidth(320);
}

void TMemoPrintProgress::SetPrinterName(const QString& name)
{
    m_printer->setText(QStringLiteral("Printing on printer %1").arg(name));
}

void TMemoPrintProgress::SetFileName(const QString& name)
{
    m_file->setText(name);
}

void TMemoPrintProgress::SetPage(int page, const QString& pages)
{
    m_progress->setText(QStringLiteral("Printing page %1 from %2").arg(page).arg(pages));
}
