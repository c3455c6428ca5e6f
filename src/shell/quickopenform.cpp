// The Quick Open box: the field's text goes through TQuickOpenFilter at
// every change, and the list shows the best matches with their folders.

#include "quickopenform.h"

#include "quickopenindex.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kPathRole = Qt::UserRole;

} // namespace

TQuickOpenForm::TQuickOpenForm(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("QuickOpen"));
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("QuickOpenField"));
    m_field->setPlaceholderText(QStringLiteral("File name"));
    m_field->installEventFilter(this);
    layout->addWidget(m_field);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("QuickOpenList"));
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setUniformItemSizes(true);
    layout->addWidget(m_list);
    m_index = new TQuickOpenIndex(this);

    connect(m_field, &QLineEdit::textChanged, this, [this] { Refilter(); });
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { Choose(m_list->row(item)); });
    connect(m_index, &TQuickOpenIndex::Ready, this, [this] {
        if (!isVisible())
            return;
        Rebuild();
        Refilter();
    });
    // A click anywhere else closes the box.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (isVisible() && now && now != this && !isAncestorOf(now))
            Close();
    });
    hide();
}

void TQuickOpenForm::Popup(const QString& folder, const QStringList& recentFiles)
{
    m_folder = folder;
    m_recent = recentFiles;
    Rebuild();
    m_field->clear();
    Refilter();
    Place();
    show();
    raise();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_index->Rebuild(folder);
}

void TQuickOpenForm::Close()
{
    hide();
}

QStringList TQuickOpenForm::ListedPaths() const
{
    QStringList paths;
    for (int row = 0; row < m_list->count(); ++row)
        paths.append(m_list->item(row)->data(kPathRole).toString());
    return paths;
}

void TQuickOpenForm::Rebuild()
{
    std::vector<TQuickOpenFilter::TEntry> entries;
    const QString root = QDir::cleanPath(QDir::fromNativeSeparators(m_folder));
    const QString prefix = root.endsWith(u'/') ? root : root + u'/';
    auto shownFolder = [&](const QString& path) {
        const QString folder = QFileInfo(path).path();
        if (!m_folder.isEmpty() && (path.startsWith(prefix)))
            return folder.size() > root.size() ? folder.mid(prefix.size()) : QString();
        return QDir::toNativeSeparators(folder);
    };
    for (const QString& path : std::as_const(m_recent))
        entries.push_back({QDir::fromNativeSeparators(path), shownFolder(QDir::fromNativeSeparators(path)), true});
    if (!m_folder.isEmpty() && m_index->Root() == m_folder) {
        entries.reserve(entries.size() + size_t(m_index->Files().size()));
        for (const QString& path : m_index->Files())
            entries.push_back({path, shownFolder(path), false});
    }
    m_filter.SetEntries(std::move(entries));
}

void TQuickOpenForm::Refilter()
{
    const QString selected = m_list->currentItem() ? m_list->currentItem()->data(kPathRole).toString() : QString();
    const std::vector<int> matches = m_filter.Filter(m_field->text().trimmed(), kShownMatches);
    m_list->setUpdatesEnabled(false);
    m_list->clear();
    int keep = 0;
    for (int index : matches) {
        const TQuickOpenFilter::TEntry& entry = m_filter.Entry(index);
        const QString name = m_filter.Name(index);
        auto* item = new QListWidgetItem(entry.shown.isEmpty() ? name : name + QStringLiteral("   ") + entry.shown,
                                         m_list);
        item->setData(kPathRole, entry.path);
        item->setToolTip(QDir::toNativeSeparators(entry.path));
        if (entry.path == selected)
            keep = m_list->count() - 1;
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(keep);
    m_list->setUpdatesEnabled(true);
}

void TQuickOpenForm::Choose(int row)
{
    QListWidgetItem* item = m_list->item(row);
    if (!item)
        return;
    const QString path = item->data(kPathRole).toString();
    Close();
    if (OnOpen)
        OnOpen(path);
}

void TQuickOpenForm::Place()
{
    QWidget* window = parentWidget();
    if (!window)
        return;
    int top = 0;
    if (auto* main = qobject_cast<QMainWindow*>(window); main && main->centralWidget())
        top = main->centralWidget()->geometry().top();
    const int width = std::min(window->width() - 16, std::max(420, window->width() * 3 / 5));
    const int rows = 12;
    const int height = m_field->sizeHint().height() + rows * m_list->fontMetrics().height() + 24;
    setGeometry((window->width() - width) / 2, top + 4, width, std::min(height, window->height() - top - 8));
}

bool TQuickOpenForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_field || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        QApplication::sendEvent(m_list, key);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Choose(m_list->currentRow());
        return true;
    case Qt::Key_Escape:
        Close();
        if (OnCancel)
            OnCancel();
        return true;
    default:
        return QFrame::eventFilter(watched, event);
    }
}
