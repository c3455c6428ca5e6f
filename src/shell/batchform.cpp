#include "batchform.h"

#include "services.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

const QString TBatchForm::kBrowseFilter = QStringLiteral("Batch Files (*.bat)|*.bat");
const QString TBatchForm::kBrowseTitle = QStringLiteral("Browse batch files...");

TBatchForm::TBatchForm(QWidget* parent)
    : TPickFileForm(parent, QStringLiteral("BatchForm"), QStringLiteral("Run Batch File..."),
                    QStringLiteral("Select an item:"), QStringLiteral("BatchList"))
{
    m_browseCheck = new QCheckBox(QStringLiteral("Browse directory"), this);
    m_browseCheck->setObjectName(QStringLiteral("BrowseCheck"));
    ExtraRows()->addWidget(m_browseCheck);
    auto* browseRow = new QHBoxLayout;
    m_browseField = new QLineEdit(this);
    m_browseField->setObjectName(QStringLiteral("BrowseField"));
    browseRow->addWidget(m_browseField);
    m_browseButton = new QPushButton(QStringLiteral("..."), this);
    m_browseButton->setObjectName(QStringLiteral("BrowseButton"));
    m_browseButton->setAutoDefault(false);
    m_browseButton->setFixedWidth(32);
    browseRow->addWidget(m_browseButton);
    ExtraRows()->addLayout(browseRow);

    connect(m_browseCheck, &QCheckBox::toggled, this, &TBatchForm::SetBrowsing);
    connect(m_browseButton, &QPushButton::clicked, this, &TBatchForm::Browse);
    connect(m_browseField, &QLineEdit::textEdited, this, &TBatchForm::AcceptBrowsed);
}

bool TBatchForm::Execute(const QString& folder)
{
    m_folder = folder;
    m_browseCheck->setChecked(false);
    SetBrowsing(false);
    return Run(folder, QStringLiteral("*.bat")) && !Command().isEmpty();
}

QString TBatchForm::Command() const
{
    if (!SelectedField()->text().isEmpty())
        return m_folder + SelectedField()->text();
    return m_browseField->text();
}

void TBatchForm::Picked()
{
    // One source at a time: the browse side goes empty and still.
    m_browseCheck->setChecked(false);
    SetBrowsing(false);
}

void TBatchForm::SetBrowsing(bool on)
{
    if (!on)
        m_browseField->clear();
    m_browseField->setEnabled(on);
    m_browseButton->setEnabled(on);
    // A browsed name counts only while its side is on.
    if (SelectedField()->text().isEmpty())
        OkButton()->setEnabled(on && QFileInfo(m_browseField->text()).isFile());
}

void TBatchForm::Browse()
{
    if (!m_browseField->isEnabled())
        return;
    SelectedField()->clear();
    List()->clearSelection();
    TServices::TFileDialog dialog;
    dialog.title = kBrowseTitle;
    dialog.filter = kBrowseFilter;
    dialog.defaultExt = QStringLiteral("bat");
    dialog.initialDir = m_browseField->text().isEmpty() ? m_folder : QFileInfo(m_browseField->text()).absolutePath();
    dialog.fileName = m_browseField->text();
    if (Services().OpenFileDialog(dialog))
        m_browseField->setText(dialog.fileName);
    AcceptBrowsed();
}

void TBatchForm::AcceptBrowsed()
{
    OkButton()->setEnabled(SelectedField()->text().isEmpty() && QFileInfo(m_browseField->text()).isFile());
}
