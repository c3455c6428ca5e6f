#include "pickfileform.h"

#include "modaldialogs.h"
#include "folderlisting.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TPickFileForm::TPickFileForm(QWidget* parent, const QString& name, const QString& title,
                             const QString& listCaption, const QString& listName)
    : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(title);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* listLabel = new QLabel(listCaption, this);
    layout->addWidget(listLabel);
    m_list = new QListWidget(this);
    m_list->setObjectName(listName);
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

    m_extraRows = new QVBoxLayout;
    m_extraRows->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(m_extraRows);

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

    connect(m_list, &QListWidget::itemClicked, this, &TPickFileForm::Pick);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &TPickFileForm::PickAndConfirm);
}

bool TPickFileForm::Run(const QString& folder, const QString& pattern)
{
    m_selected->clear();
    m_ok->setEnabled(false);
    FolderListing::Fill(*m_list, folder, pattern);
    m_list->setFocus();
    return ModalDialogs::Execute(*this) == QDialog::Accepted;
}

void TPickFileForm::Pick(QListWidgetItem* item)
{
    if (item)
        m_selected->setText(item->text());
    if (m_selected->text().isEmpty())
        return;
    m_ok->setEnabled(true);
    Picked();
}

void TPickFileForm::PickAndConfirm(QListWidgetItem* item)
{
    Pick(item);
    if (!m_selected->text().isEmpty())
        accept();
}

bool TPickFileForm::eventFilter(QObject* watched, QEvent* event)
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
