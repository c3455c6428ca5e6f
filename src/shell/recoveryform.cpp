#include "recoveryform.h"

#include "modaldialogs.h"
#include "documentnames.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

TRecoveryForm::TRecoveryForm(const std::vector<TJournal::TLeftEntry>& entries, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("RecoveryForm"));
    setWindowTitle(QStringLiteral("Recover Unsaved Documents"));
    setModal(true);

    const bool saves = std::any_of(entries.begin(), entries.end(),
                                   [](const TJournal::TLeftEntry& left) { return left.interrupted.has_value(); });
    auto* text = new QLabel(
        saves ? QStringLiteral("Tarnel did not end cleanly last time. These documents had changes that were not saved, "
                               "or were being saved when it stopped. A file whose save was interrupted may hold only "
                               "part of its new text; Restore puts its previous text back:")
              : QStringLiteral("Tarnel did not end cleanly last time. These documents had changes that were not saved:"),
        this);
    text->setWordWrap(true);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("RecoveryList"));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setHeaderLabels({QStringLiteral("Document"), QStringLiteral("Time"), QStringLiteral("Size"), QString()});
    bool any = false;
    for (const TJournal::TLeftEntry& left : entries) {
        auto* row = new QTreeWidgetItem(m_list);
        if (left.interrupted) {
            any = true;
            const TSaveRecord& record = *left.interrupted;
            row->setText(0, QStringLiteral("Interrupted save of %1").arg(QDir::toNativeSeparators(record.target)));
            row->setToolTip(0, QStringLiteral("The previous text is kept in %1").arg(QDir::toNativeSeparators(record.previous)));
            row->setText(1, record.written.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
            row->setText(2, QLocale::c().formattedDataSize(record.size));
            row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
            AddSaveButtons(m_list->topLevelItemCount() - 1, record);
            continue;
        }
        if (!left.entry) {
            row->setText(0, QStringLiteral("Skipped %1: %2").arg(QDir::toNativeSeparators(left.path), left.problem));
            row->setFirstColumnSpanned(true);
            row->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
            continue;
        }
        any = true;
        const QString name = left.entry->fileName;
        row->setText(0, DocumentNames::IsUntitled(name) ? QStringLiteral("Untitled") : QDir::toNativeSeparators(name));
        row->setToolTip(0, row->text(0));
        row->setText(1, left.entry->written.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
        row->setText(2, QLocale::c().formattedDataSize(left.entry->size));
        row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(3, QHeaderView::ResizeToContents);

    m_recover = new QPushButton(QStringLiteral("Recover"), this);
    m_recover->setObjectName(QStringLiteral("RecoverButton"));
    m_recover->setEnabled(any);
    m_recover->setDefault(any);
    connect(m_recover, &QPushButton::clicked, this, [this] { done(chRecover); });
    m_discard = new QPushButton(QStringLiteral("Discard"), this);
    m_discard->setObjectName(QStringLiteral("DiscardButton"));
    m_discard->setAutoDefault(false);
    connect(m_discard, &QPushButton::clicked, this, [this] { done(chDiscard); });
    m_later = new QPushButton(QStringLiteral("Decide later"), this);
    m_later->setObjectName(QStringLiteral("LaterButton"));
    m_later->setAutoDefault(false);
    connect(m_later, &QPushButton::clicked, this, [this] { done(chLater); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_list, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_recover);
    buttons->addWidget(m_discard);
    buttons->addWidget(m_later);
    layout->addLayout(buttons);
    resize(620, 300);
}

TRecoveryForm::TChoice TRecoveryForm::Execute()
{
    const int result = ModalDialogs::Execute(*this);
    return result == chRecover || result == chDiscard ? TChoice(result) : chLater;
}

void TRecoveryForm::AddSaveButtons(int row, const TSaveRecord& record)
{
    auto* cell = new QWidget(m_list);
    auto* layout = new QHBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* restore = new QPushButton(QStringLiteral("Restore"), cell);
    restore->setObjectName(QStringLiteral("RowRestoreButton"));
    restore->setAutoDefault(false);
    auto* discard = new QPushButton(QStringLiteral("Discard"), cell);
    discard->setObjectName(QStringLiteral("RowDiscardButton"));
    discard->setAutoDefault(false);
    layout->addWidget(restore);
    layout->addWidget(discard);
    m_list->setItemWidget(m_list->topLevelItem(row), 3, cell);
    connect(restore, &QPushButton::clicked, this, [this, row, record] {
        if (OnRestore && OnRestore(record))
            Decided(row, QStringLiteral("Restored"));
    });
    connect(discard, &QPushButton::clicked, this, [this, row, record] {
        if (OnDiscard && OnDiscard(record))
            Decided(row, QStringLiteral("Discarded"));
    });
}

void TRecoveryForm::Decided(int row, const QString& outcome)
{
    QTreeWidgetItem* item = m_list->topLevelItem(row);
    // The view lets the buttons go later: this runs inside a click of one.
    m_list->removeItemWidget(item, 3);
    item->setText(3, outcome);
}

QPushButton* TRecoveryForm::RowRestoreButton(int row) const
{
    QWidget* cell = m_list->itemWidget(m_list->topLevelItem(row), 3);
    return cell ? cell->findChild<QPushButton*>(QStringLiteral("RowRestoreButton")) : nullptr;
}

QPushButton* TRecoveryForm::RowDiscardButton(int row) const
{
    QWidget* cell = m_list->itemWidget(m_list->topLevelItem(row), 3);
    return cell ? cell->findChild<QPushButton*>(QStringLiteral("RowDiscardButton")) : nullptr;
}

QStringList TRecoveryForm::RowTexts() const
{
    QStringList rows;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = m_list->topLevelItem(i);
        QStringList columns;
        for (int c = 0; c < m_list->columnCount(); ++c) {
            if (!row->text(c).isEmpty())
                columns.append(row->text(c));
        }
        rows.append(columns.join(QStringLiteral(" | ")));
    }
    return rows;
}
