#include "searchresultspane.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// What a row of the tree is, and what it points at.
enum TRole {
    kKindRole = Qt::UserRole,
    kFileRole,
    kLineRole,
    kMatchRole,
    // The marked spans of the row's text: QPoint(start, length) each.
    kMarksRole,
    kPathRole,
};
enum TKind { kFileGroup, kResult, kSkippedGroup, kSkippedRow };

QString skipReason(const FileSearch::TSkipped& skipped)
{
    switch (skipped.reason) {
    case FileSearch::TSkipReason::Binary: return QStringLiteral("binary file");
    case FileSearch::TSkipReason::TooLarge:
        return QStringLiteral("over %1 MB").arg(FileSearch::kMaxFileSize >> 20);
    case FileSearch::TSkipReason::Unreadable:
        return skipped.detail.isEmpty() ? QStringLiteral("cannot be read")
                                        : QStringLiteral("cannot be read: %1").arg(skipped.detail);
    }
    return QString();
}

// Paints a row's text with its matches marked in the match colours; rows
// without marks are painted as usual.
class TMarkedTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QColor fore = Qt::green;
    QColor back = Qt::black;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QVariantList marks = index.data(kMarksRole).toList();
        if (marks.isEmpty()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        const QWidget* widget = item.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget).adjusted(margin, 0, -margin, 0);
        const QFontMetrics metrics(item.font);
        const bool selected = item.state & QStyle::State_Selected;
        const QColor plain = item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        const int baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
        painter->save();
        painter->setClipRect(area);
        painter->setFont(item.font);
        int x = area.left();
        int at = 0;
        auto draw = [&](int from, int to, bool marked) {
            if (to <= from)
                return;
            const QString piece = text.mid(from, to - from);
            const int width = metrics.horizontalAdvance(piece);
            if (marked)
                painter->fillRect(QRect(x, area.top(), width, area.height()), back);
            painter->setPen(marked ? fore : plain);
            painter->drawText(x, baseline, piece);
            x += width;
        };
        for (const QVariant& mark : marks) {
            const QPoint span = mark.toPoint();
            const int start = std::clamp(span.x(), at, int(text.size()));
            const int end = std::clamp(span.x() + span.y(), start, int(text.size()));
            draw(at, start, false);
            draw(start, end, true);
            at = end;
        }
        draw(at, int(text.size()), false);
        painter->restore();
    }
};

} // namespace

TSearchResultsPane::TSearchResultsPane(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("SearchResultsPane"));
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    auto* title = new QHBoxLayout;
    m_title = new QLabel(QStringLiteral("Search Results"), this);
    title->addWidget(m_title);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("SearchResultsStatus"));
    title->addWidget(m_status, 1);
    m_stop = new QPushButton(QStringLiteral("S&top"), this);
    m_stop->setObjectName(QStringLiteral("SearchResultsStop"));
    title->addWidget(m_stop);
    m_replace = new QPushButton(QStringLiteral("&Replace"), this);
    m_replace->setObjectName(QStringLiteral("SearchResultsReplace"));
    m_replace->setToolTip(QStringLiteral("Replace the checked matches"));
    title->addWidget(m_replace);
    m_close = new QToolButton(this);
    m_close->setObjectName(QStringLiteral("SearchResultsClose"));
    m_close->setAutoRaise(true);
    m_close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_close->setToolTip(QStringLiteral("Close"));
    title->addWidget(m_close);
    layout->addLayout(title);

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("SearchResultsTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setUniformRowHeights(true);
    m_tree->setItemDelegate(new TMarkedTextDelegate(m_tree));
    m_tree->installEventFilter(this);
    layout->addWidget(m_tree);

    connect(m_stop, &QPushButton::clicked, this, [this] {
        if (OnStop)
            OnStop();
    });
    connect(m_replace, &QPushButton::clicked, this, [this] {
        if (OnReplace)
            OnReplace();
    });
    connect(m_close, &QToolButton::clicked, this, [this] {
        hide();
        if (OnClose)
            OnClose();
    });
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { Activate(item); });
    m_replace->hide();
    m_stop->hide();
    hide();
}

void TSearchResultsPane::SetMatchColors(const QColor& fore, const QColor& back)
{
    auto* delegate = static_cast<TMarkedTextDelegate*>(m_tree->itemDelegate());
    delegate->fore = fore;
    delegate->back = back;
    m_tree->viewport()->update();
}

void TSearchResultsPane::Begin(const QString& title, bool checkable)
{
    m_tree->clear();
    m_skipped = nullptr;
    m_files = 0;
    m_checkable = checkable;
    m_title->setText(title);
    m_status->clear();
    m_replace->setVisible(checkable);
    m_replace->setEnabled(false);
    show();
    // Under the editor in a splitter, the pane takes room of its own the
    // first time it shows.
    if (auto* split = qobject_cast<QSplitter*>(parentWidget())) {
        QList<int> sizes = split->sizes();
        const int at = split->indexOf(this);
        const int wanted = std::max(sizeHint().height(), 160);
        if (at > 0 && sizes[at] < minimumSizeHint().height()) {
            const int taken = std::min(wanted, std::max(0, sizes[0] - 100));
            sizes[0] -= taken;
            sizes[at] += taken;
            split->setSizes(sizes);
        }
    }
}

void TSearchResultsPane::SetStatus(const QString& text)
{
    m_status->setText(text);
}

void TSearchResultsPane::SetRunning(bool running)
{
    m_stop->setVisible(running);
}

void TSearchResultsPane::SetReplaceEnabled(bool enabled)
{
    m_replace->setEnabled(enabled);
}

void TSearchResultsPane::AddFile(int file, const FileSearch::TFileHits& hits)
{
    const int count = hits.MatchCount();
    auto* group = new QTreeWidgetItem;
    group->setText(0, QStringLiteral("%1 (%2)").arg(QDir::toNativeSeparators(hits.path),
                                                     count == 1 ? QStringLiteral("1 match")
                                                                : QStringLiteral("%1 matches").arg(count)));
    group->setData(0, kKindRole, kFileGroup);
    group->setData(0, kFileRole, file);
    group->setData(0, kPathRole, hits.path);
    if (m_checkable) {
        group->setFlags(group->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
        group->setCheckState(0, Qt::Checked);
    }
    for (int i = 0; i < int(hits.lines.size()); ++i) {
        const FileSearch::TLine& line = hits.lines[size_t(i)];
        const QString prefix = QStringLiteral("%1: ").arg(line.line + 1);
        auto addRow = [&](int match, const std::vector<int>& marked) {
            auto* row = new QTreeWidgetItem(group);
            row->setText(0, prefix + line.shown);
            row->setData(0, kKindRole, kResult);
            row->setData(0, kFileRole, file);
            row->setData(0, kLineRole, i);
            row->setData(0, kMatchRole, match);
            QVariantList marks;
            for (int m : marked) {
                const FileSearch::TMatch& shown = line.matches[size_t(m)];
                if (shown.shownStart >= 0 && shown.shownLength > 0)
                    marks.append(QPoint(int(prefix.size()) + shown.shownStart, shown.shownLength));
            }
            row->setData(0, kMarksRole, marks);
            if (m_checkable) {
                row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
                row->setCheckState(0, Qt::Checked);
            }
        };
        if (m_checkable) {
            for (int m = 0; m < int(line.matches.size()); ++m)
                addRow(m, {m});
        } else {
            std::vector<int> all(line.matches.size());
            for (int m = 0; m < int(all.size()); ++m)
                all[size_t(m)] = m;
            addRow(0, all);
        }
    }
    // Files in the order of their paths, whatever order the workers finish
    // them in; the skipped ones stay last.
    int place = 0;
    int end = m_tree->topLevelItemCount() - (m_skipped ? 1 : 0);
    while (place < end) {
        const int middle = (place + end) / 2;
        if (m_tree->topLevelItem(middle)->data(0, kPathRole).toString() < hits.path)
            place = middle + 1;
        else
            end = middle;
    }
    m_tree->insertTopLevelItem(place, group);
    group->setExpanded(true);
    ++m_files;
}

QTreeWidgetItem* TSearchResultsPane::SkippedGroup()
{
    if (!m_skipped) {
        m_skipped = new QTreeWidgetItem(m_tree);
        m_skipped->setData(0, kKindRole, kSkippedGroup);
        m_skipped->setExpanded(false);
    }
    return m_skipped;
}

void TSearchResultsPane::AddSkipped(const FileSearch::TSkipped& skipped)
{
    QTreeWidgetItem* group = SkippedGroup();
    auto* row = new QTreeWidgetItem(group);
    row->setText(0, QStringLiteral("%1 - %2").arg(QDir::toNativeSeparators(skipped.path), skipReason(skipped)));
    row->setData(0, kKindRole, kSkippedRow);
    group->setText(0, QStringLiteral("Skipped (%1)").arg(group->childCount()));
}

std::vector<TSearchResultsPane::TPick> TSearchResultsPane::CheckedMatches() const
{
    std::vector<TPick> picks;
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        const QTreeWidgetItem* group = m_tree->topLevelItem(g);
        for (int r = 0; r < group->childCount(); ++r) {
            const QTreeWidgetItem* row = group->child(r);
            if (row->data(0, kKindRole).toInt() == kResult && row->checkState(0) == Qt::Checked)
                picks.push_back({row->data(0, kFileRole).toInt(), row->data(0, kLineRole).toInt(),
                                 row->data(0, kMatchRole).toInt()});
        }
    }
    return picks;
}

int TSearchResultsPane::ResultCount() const
{
    int count = 0;
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        const QTreeWidgetItem* group = m_tree->topLevelItem(g);
        if (group->data(0, kKindRole).toInt() == kFileGroup)
            count += group->childCount();
    }
    return count;
}

bool TSearchResultsPane::Step(bool forward)
{
    std::vector<QTreeWidgetItem*> rows;
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = m_tree->topLevelItem(g);
        if (group->data(0, kKindRole).toInt() != kFileGroup)
            continue;
        for (int r = 0; r < group->childCount(); ++r)
            rows.push_back(group->child(r));
    }
    if (rows.empty())
        return false;
    QTreeWidgetItem* current = m_tree->currentItem();
    const auto it = std::find(rows.begin(), rows.end(), current);
    size_t next;
    if (it == rows.end()) {
        // From a group row: its first result (forward) or the one before it.
        next = forward ? 0 : rows.size() - 1;
        if (current && current->data(0, kKindRole).toInt() == kFileGroup && current->childCount() > 0) {
            const auto first = std::find(rows.begin(), rows.end(), current->child(0));
            next = size_t(first - rows.begin());
            if (!forward)
                next = (next + rows.size() - 1) % rows.size();
        }
    } else {
        const size_t at = size_t(it - rows.begin());
        next = forward ? (at + 1) % rows.size() : (at + rows.size() - 1) % rows.size();
    }
    QTreeWidgetItem* row = rows[next];
    row->parent()->setExpanded(true);
    m_tree->setCurrentItem(row);
    m_tree->scrollToItem(row);
    Activate(row);
    return true;
}

void TSearchResultsPane::Activate(QTreeWidgetItem* item)
{
    if (!item || item->data(0, kKindRole).toInt() != kResult || !OnOpen)
        return;
    OnOpen({item->data(0, kFileRole).toInt(), item->data(0, kLineRole).toInt(), item->data(0, kMatchRole).toInt()});
}

bool TSearchResultsPane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        QTreeWidgetItem* current = m_tree->currentItem();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && current
            && current->data(0, kKindRole).toInt() == kResult) {
            Activate(current);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

QStringList TSearchResultsPane::Lines() const
{
    QStringList lines;
    auto add = [&](const QTreeWidgetItem* item, const QString& indent) {
        QString mark;
        if (item->data(0, Qt::CheckStateRole).isValid())
            mark = item->checkState(0) == Qt::Checked ? QStringLiteral("[x] ") : QStringLiteral("[ ] ");
        lines.append(indent + mark + item->text(0));
    };
    for (int g = 0; g < m_tree->topLevelItemCount(); ++g) {
        const QTreeWidgetItem* group = m_tree->topLevelItem(g);
        add(group, QString());
        for (int r = 0; r < group->childCount(); ++r)
            add(group->child(r), QStringLiteral("  "));
    }
    return lines;
}
