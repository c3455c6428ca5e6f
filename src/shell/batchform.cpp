#include "batchform.h"

#include "folderlisting.h"
#include "dialogrunner.h"
#include "services.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

const QString TBatchForm::kBrowseFilter = QStringLiteral("Batch Files (*.bat)|*.bat");
const QString TBatchForm::kBrowseTitle = QStringLiteral("Browse batch files...");

TBatchForm::TBatchForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("BatchForm"));
    setWindowTitle(QStringLiteral("Run Batch File..."));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* listLabel = new QLabel(QStringLiteral("Select an item:"), this);
    layout->addWidget(listLabel);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("BatchList"));
    m_list->setViewMode(QListView::IconMode);
    m_list->setIconSize(QSize(32, 32));
    m_list->setGridSize(QSize(96, 64));
    m_list->setMovement(QListView::Static);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setWordWrap(true);
    m_list->setFixedSize(400, 220);
    m_list->installEventFilter(this);
    listLabel->setBuddy(m_list);
    layout->addWidget(m_list);

    layout->addWidget(new QLabel(QStringLiteral("Selected Item:"), this));
    m_selected = new QLineEdit(this);
    m_selected->setObjectName(QStringLiteral("SelectedItem"));
    m_selected->setReadOnly(true);
    // Grey, as a field the user cannot type into.
    QPalette grey = m_selected->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Window));
    m_selected->setPalette(grey);
    layout->addWidget(m_selected);

    m_browseCheck = new QCheckBox(QStringLiteral("Browse directory"), this);
    m_browseCheck->setObjectName(QStringLiteral("BrowseCheck"));
    layout->addWidget(m_browseCheck);
    auto* browseRow = new QHBoxLayout;
    m_browseField = new QLineEdit(this);
    m_browseField->setObjectName(QStringLiteral("BrowseField"));
    browseRow->addWidget(m_browseField);
    m_browseButton = new QPushButton(QStringLiteral("..."), this);
    m_browseButton->setObjectName(QStringLiteral("BrowseButton"));
    m_browseButton->setAutoDefault(false);
    m_browseButton->setFixedWidth(32);
    browseRow->addWidget(m_browseButton);
    layout->addLayout(browseRow);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_list, &QListWidget::itemClicked, this, &TBatchForm::Pick);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &TBatchForm::PickAndConfirm);
    connect(m_browseCheck, &QCheckBox::toggled, this, &TBatchForm::SetBrowsing);
    connect(m_browseButton, &QPushButton::clicked, this, &TBatchForm::Browse);
    connect(m_browseField, &QLineEdit::textEdited, this, &TBatchForm::AcceptBrowsed);
}

bool TBatchForm::Execute(const QString& folder)
{
    m_folder = folder;
    m_selected->clear();
    m_browseCheck->setChecked(false);
    SetBrowsing(false);
    m_ok->setEnabled(false);
    FolderListing::Fill(*m_list, folder, QStringLiteral("*.bat"));
    m_list->setFocus();
    return RunDialog(*this) == QDialog::Accepted && !Command().isEmpty();
}

QString TBatchForm::Command() const
{
    if (!m_selected->text().isEmpty())
        return m_folder + m_selected->text();
    return m_browseField->text();
}

void TBatchForm::Pick(QListWidgetItem* item)
{
    if (item)
        m_selected->setText(item->text());
    if (m_selected->text().isEmpty())
        return;
    m_ok->setEnabled(true);
    // One source at a time: the browse side goes empty and still.
    m_browseCheck->setChecked(false);
    SetBrowsing(false);
}

void TBatchForm::PickAndConfirm(QListWidgetItem* item)
{
    Pick(item);
    if (!m_selected->text().isEmpty())
        accept();
}

void TBatchForm::SetBrowsing(bool on)
{
    if (!on)
        m_browseField->clear();
    m_browseField->setEnabled(on);
    m_browseButton->setEnabled(on);
    // A browsed name counts only while its side is on.
    if (m_selected->text().isEmpty())
        m_ok->setEnabled(on && QFileInfo(m_browseField->text()).isFile());
}

void TBatchForm::Browse()
{
    if (!m_browseField->isEnabled())
        return;
    m_selected->clear();
    m_list->clearSelection();
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
    m_ok->setEnabled(m_selected->text().isEmpty() && QFileInfo(m_browseField->text()).isFile());
}

bool TBatchForm::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on the list picks the current entry and confirms; the list does
    // not pass the key on to the default button, which might still be
    // disabled.
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            PickAndConfirm(m_list->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
