// The hint and list windows of an editor control. They are owned by the
// control (deleted with it) but are windows of their own, flagged as tool
// tips so that showing or clicking them leaves the activation and the
// focus where they are.

#include "popupwindows.h"

#include "ansi.h"
#include "textcodec.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr Qt::WindowFlags kPopupFlags = Qt::ToolTip | Qt::FramelessWindowHint;
// The list shows at most this many rows at once and is never wider than
// this; longer items are cut at its edge.
constexpr int kMaxRows = 10;
constexpr int kMaxWidth = 480;

QRect screenArea(const QWidget* widget, QPoint at)
{
    QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen)
        screen = widget->screen();
    return screen ? screen->availableGeometry() : QRect(QPoint(0, 0), QSize(1 << 20, 1 << 20));
}

} // namespace

TPopupHint::TPopupHint(QWidget* owner) : QLabel(owner, kPopupFlags)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(2);
    setTextFormat(Qt::PlainText);
    hide();
}

void TPopupHint::ActivateHint(QPoint pos, const QString& text)
{
    setText(text);
    adjustSize();
    const QRect area = screenArea(this, pos);
    pos.setX(std::max(area.left(), std::min(pos.x(), area.right() + 1 - width())));
    pos.setY(std::max(area.top(), std::min(pos.y(), area.bottom() + 1 - height())));
    move(pos);
    show();
}

TPopupListBox::TPopupListBox(QWidget* owner) : QListWidget(owner)
{
    setWindowFlags(kPopupFlags);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (OnChoose)
            OnChoose(row(item));
    });
    hide();
}

void TPopupListBox::Popup(const std::vector<QByteArray>& items, const QRect& caretRow, TTextEncoding encoding)
{
    m_items = items;
    clear();
    QStringList texts;
    texts.reserve(qsizetype(items.size()));
    for (const QByteArray& item : items)
        texts.append(TextCodec::Decode(item, encoding));
    addItems(texts);

    // Sized to its items, within limits, before it is placed.
    const int rowHeight = std::max(1, sizeHintForRow(0));
    const int rows = std::min(count(), kMaxRows);
    const int frame = 2 * frameWidth();
    int width = sizeHintForColumn(0) + frame + 4;
    if (count() > rows)
        width += verticalScrollBar()->sizeHint().width();
    resize(std::min(width, kMaxWidth), rows * rowHeight + frame);

    const QRect area = screenArea(this, caretRow.bottomLeft());
    QPoint pos(caretRow.left(), caretRow.bottom() + 1);
    if (pos.y() + height() > area.bottom() + 1 && caretRow.top() - height() >= area.top())
        pos.setY(caretRow.top() - height());
    pos.setX(std::max(area.left(), std::min(pos.x(), area.right() + 1 - this->width())));
    pos.setY(std::max(area.top(), std::min(pos.y(), area.bottom() + 1 - height())));
    move(pos);
    SelectIndex(-1);
    show();
}

int TPopupListBox::SelectPrefix(const QByteArray& word)
{
    const QByteArray lower = Ansi::Lower(word);
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (Ansi::Lower(m_items[i].left(lower.size())) == lower) {
            SelectIndex(int(i));
            return int(i);
        }
    }
    SelectIndex(-1);
    return -1;
}

void TPopupListBox::SelectIndex(int index)
{
    if (index < 0 || index >= count()) {
        clearSelection();
        setCurrentRow(-1);
        return;
    }
    setCurrentRow(index);
    scrollToItem(item(index));
}

int TPopupListBox::Selected() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.first());
}

int TPopupListBox::PageRows() const
{
    const int rowHeight = std::max(1, sizeHintForRow(0));
    return std::max(1, viewport()->height() / rowHeight);
}

void TPopupListBox::MoveSelection(int delta)
{
    if (count() == 0)
        return;
    const int from = Selected();
    const int to = from < 0 ? 0 : std::clamp(from + delta, 0, count() - 1);
    SelectIndex(to);
}
