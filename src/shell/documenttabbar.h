#pragma once

#include <QPointer>
#include <QTabBar>

#include <vector>

class TCustomMemoSource;

// The row of document tabs. Each tab carries its document's text store and
// follows it: the caption is the file name without its folder, the tool tip
// the full path (noting a file that is no longer on disk), and a modified
// document shows a dot before its caption. Every tab has a close button,
// a middle click closes a tab too (both ask through tabCloseRequested, so
// that closing takes the path of File, Close), and tabs are dragged into
// another order (tabMoved tells the window).
class TDocumentTabBar : public QTabBar {
    Q_OBJECT

public:
    explicit TDocumentTabBar(QWidget* parent = nullptr);
    ~TDocumentTabBar() override;

    // Makes tab index show document from now on.
    void Follow(int index, TCustomMemoSource* document);
    // The store a tab shows; null for a tab that follows none.
    TCustomMemoSource* DocumentAt(int index) const;
    int IndexOf(const TCustomMemoSource* document) const;
    // Caption, tool tip and mark of the document's tab, as it stands now.
    void Refresh(const TCustomMemoSource* document);
    bool ShowsModifiedMark(int index) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void tabRemoved(int index) override;

private:
    struct TFollowed {
        QPointer<TCustomMemoSource> document;
        int listener = 0;
    };

    void Unfollow(TFollowed& followed);

    std::vector<TFollowed> m_followed;
    // The tab a middle button went down on: it closes when the button comes
    // up over the same tab.
    int m_middlePressed = -1;
};
