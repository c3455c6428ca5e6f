#pragma once

#include "matchcount.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QLabel;
class QStatusBar;
class QTimer;
class TCustomMemoSource;

// The status bar's word on the last search in the active document: which
// match it found of how many ("3 of 17", "3 of ..." while a long text is
// still being counted), and, after a search went on from the other end of
// the text, that it did. The count runs on a worker thread for a large
// text (matchcount.h), so the panel is brought up to date by a short timer
// while it runs; nothing here ever waits for it.
class TSearchStatus : public QObject {
    Q_OBJECT

public:
    // Puts its panel into bar before the permanent panels; firstPermanent
    // is how many widgets the bar holds before them.
    TSearchStatus(QStatusBar* bar, int firstPermanent, QObject* parent = nullptr);

    // Follows the active document's last search (null: none open). Cheap
    // when nothing changed: the window calls it at every state change.
    void Update(const TCustomMemoSource* active);

    QLabel* Panel() const { return m_panel; }
    // The words for a place: "3 of 17", "3 of ...", "... of ...".
    static QString Describe(const TMatchCount::TPlace& place);
    static const QString kWrappedForward;
    static const QString kWrappedBackward;

private:
    void Refresh();

    QLabel* m_panel;
    QTimer* m_timer;
    TMatchCount m_count;
    // Gone with its document.
    QPointer<const TCustomMemoSource> m_source;
    quint64 m_serial = 0;
    quint64 m_version = 0;
    TMatchCount::TPlace m_place;
};
