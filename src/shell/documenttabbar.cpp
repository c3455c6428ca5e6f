// The document tabs: each follows its text store through a change listener,
// so that the caption, the tool tip and the modified mark are right however
// the document changed (typing, undo back to the save point, Save All, a
// reload, a rename in the folder panel).

#include "documenttabbar.h"

#include "documentnames.h"
#include "memosource.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

// The mark of unsaved changes: a dot in the caption's colour.
QIcon modifiedMark(const QColor& color)
{
    constexpr int kSize = 16;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QRectF(4, 4, 8, 8));
    return QIcon(pixmap);
}

} // namespace

TDocumentTabBar::TDocumentTabBar(QWidget* parent) : QTabBar(parent)
{
    setTabsClosable(true);
    setMovable(true);
    setExpanding(false);
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideNone);
    setFocusPolicy(Qt::NoFocus);
}

TDocumentTabBar::~TDocumentTabBar()
{
    for (TFollowed& followed : m_followed)
        Unfollow(followed);
}

void TDocumentTabBar::Follow(int index, TCustomMemoSource* document)
{
    if (index < 0 || index >= count() || !document)
        return;
    setTabData(index, QVariant::fromValue(static_cast<QObject*>(document)));
    const auto known = std::find_if(m_followed.begin(), m_followed.end(),
                                    [document](const TFollowed& each) { return each.document == document; });
    if (known == m_followed.end()) {
        TFollowed followed;
        followed.document = document;
        followed.listener = document->AttachView([this, document](const TMemoChange& change) {
            if (change.flags & (Change::kModified | Change::kFileName))
                Refresh(document);
        });
        m_followed.push_back(followed);
    }
    Refresh(document);
}

TCustomMemoSource* TDocumentTabBar::DocumentAt(int index) const
{
    return qobject_cast<TCustomMemoSource*>(tabData(index).value<QObject*>());
}

int TDocumentTabBar::IndexOf(const TCustomMemoSource* document) const
{
    for (int i = 0; i < count(); ++i) {
        if (document && DocumentAt(i) == document)
            return i;
    }
    return -1;
}

void TDocumentTabBar::Refresh(const TCustomMemoSource* document)
{
    const int index = IndexOf(document);
    if (index < 0)
        return;
    const QString name = document->FileName();
    if (tabText(index) != DocumentNames::WithoutFolder(name))
        setTabText(index, DocumentNames::WithoutFolder(name));
    QString tip = name;
    if (DocumentNames::HasFolder(name) && !QFileInfo::exists(name))
        tip += QStringLiteral("\n(no longer on disk)");
    setTabToolTip(index, tip);
    if (document->Modified() != ShowsModifiedMark(index))
        setTabIcon(index, document->Modified() ? modifiedMark(palette().color(QPalette::WindowText)) : QIcon());
}

bool TDocumentTabBar::ShowsModifiedMark(int index) const
{
    return !tabIcon(index).isNull();
}

void TDocumentTabBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        m_middlePressed = tabAt(event->position().toPoint());
        event->accept();
        return;
    }
    QTabBar::mousePressEvent(event);
}

void TDocumentTabBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        const int index = tabAt(event->position().toPoint());
        const bool same = index >= 0 && index == m_middlePressed;
        m_middlePressed = -1;
        event->accept();
        if (same)
            emit tabCloseRequested(index);
        return;
    }
    QTabBar::mouseReleaseEvent(event);
}

void TDocumentTabBar::tabRemoved(int index)
{
    QTabBar::tabRemoved(index);
    // A document no tab shows any more is no longer followed.
    for (TFollowed& followed : m_followed) {
        if (IndexOf(followed.document) < 0)
            Unfollow(followed);
    }
    m_followed.erase(std::remove_if(m_followed.begin(), m_followed.end(),
                                    [](const TFollowed& each) { return each.listener == 0; }),
                     m_followed.end());
}

void TDocumentTabBar::Unfollow(TFollowed& followed)
{
    if (followed.document && followed.listener)
        followed.document->DetachView(followed.listener);
    followed.listener = 0;
}
