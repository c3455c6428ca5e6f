#pragma once

#include "filesearch.h"

#include <QColor>
#include <QFrame>
#include <QString>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// The bottom "Search Results" pane of Find in Files: one group per file
// (its path and how many matches it holds), one row per matching line (its
// number and its text, the matches marked), or, when replacing, one row per
// match with a check box; the files skipped, with why, in a group of their
// own at the end; and a line saying how far the search got. It stays hidden
// until the first search and can be closed; Enter or a double click on a
// row asks for that match, and Next / Previous walk the rows.
//
// The pane shows; it keeps nothing of the search itself. Rows name their
// file and match by the indices the caller gave the file.
class TSearchResultsPane : public QFrame {
    Q_OBJECT

public:
    explicit TSearchResultsPane(QWidget* parent = nullptr);

    // Empties the pane for a new search (checkable: rows per match with
    // check boxes) and shows it.
    void Begin(const QString& title, bool checkable);
    // A file's matches; file is the caller's index for it.
    void AddFile(int file, const FileSearch::TFileHits& hits);
    void AddSkipped(const FileSearch::TSkipped& skipped);
    // The line under the title: progress, then the outcome.
    void SetStatus(const QString& text);
    // Whether the search runs (Stop shown) and whether replacing can start.
    void SetRunning(bool running);
    void SetReplaceEnabled(bool enabled);

    // One checked match: the caller's file index, the line's index among
    // the file's lines and the match's among the line's.
    struct TPick {
        int file = 0;
        int line = 0;
        int match = 0;
    };
    std::vector<TPick> CheckedMatches() const;
    // Moves to the next (previous) result row, round the end, and asks for
    // it. False when there is none.
    bool Step(bool forward);
    int ResultCount() const;

    void SetMatchColors(const QColor& fore, const QColor& back);

    QTreeWidget* Tree() const { return m_tree; }
    QLabel* Status() const { return m_status; }
    QPushButton* StopButton() const { return m_stop; }
    QPushButton* ReplaceButton() const { return m_replace; }
    QToolButton* CloseButton() const { return m_close; }
    // The rows' texts as shown, groups first, rows indented by two blanks
    // and "[x] " / "[ ] " before a check box (for tests and for copying).
    QStringList Lines() const;

    // A row was activated: its file index and pick.
    std::function<void(const TPick& pick)> OnOpen;
    std::function<void()> OnStop;
    std::function<void()> OnReplace;
    // The pane was closed.
    std::function<void()> OnClose;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Activate(QTreeWidgetItem* item);
    QTreeWidgetItem* SkippedGroup();

    QLabel* m_title = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_replace = nullptr;
    QToolButton* m_close = nullptr;
    QTreeWidget* m_tree = nullptr;
    QTreeWidgetItem* m_skipped = nullptr;
    bool m_checkable = false;
    int m_files = 0;
};
