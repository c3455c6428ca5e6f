#pragma once

#include "quickopenfilter.h"

#include <QFrame>
#include <QString>
#include <QStringList>

#include <functional>

class QLineEdit;
class QListWidget;
class TQuickOpenIndex;

// Quick Open: a small box over the top of the window with a field and the
// files it picks, the files under the open folder and the recent files,
// best first (TQuickOpenFilter), each with its folder. Up, Down, Page Up
// and Page Down move through the list, Enter (or a click) opens the chosen
// file, Escape or a click elsewhere closes the box.
//
// The box lives inside the window rather than as a window of its own, so
// that opening it never takes the window's activation away. Each opening
// walks the folder again on a worker thread; the list shows what the last
// walk found until the new one is in.
class TQuickOpenForm : public QFrame {
    Q_OBJECT

public:
    static constexpr int kShownMatches = 200;

    explicit TQuickOpenForm(QWidget* parent);

    // Shows the box with an empty field over the top of the parent and
    // starts the walk of folder (empty: recent files only).
    void Popup(const QString& folder, const QStringList& recentFiles);
    void Close();

    QLineEdit* Field() const { return m_field; }
    QListWidget* List() const { return m_list; }
    TQuickOpenIndex& Index() const { return *m_index; }
    // The full paths listed, top to bottom.
    QStringList ListedPaths() const;

    // The file chosen; the box is closed by then.
    std::function<void(const QString& path)> OnOpen;
    // The box closed without a choice.
    std::function<void()> OnCancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Rebuild();
    void Refilter();
    void Choose(int row);
    void Place();

    QLineEdit* m_field = nullptr;
    QListWidget* m_list = nullptr;
    TQuickOpenIndex* m_index = nullptr;
    TQuickOpenFilter m_filter;
    QString m_folder;
    QStringList m_recent;
};
