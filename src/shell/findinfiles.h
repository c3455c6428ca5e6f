#pragma once

#include "filesearch.h"
#include "findinfilespage.h"
#include "searchresultspane.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QTimer;
class TMemoSource;

// Find in Files and Replace in Files as the window runs them: starts the
// search engine (filesearch.h) with the open documents' texts, takes what
// its workers find into the Search Results pane as it comes (a second
// search cancels the first, and what a cancelled one still sends is
// dropped), opens a result in its document with the match selected, and
// replaces the matches checked in the pane: in an open document through
// its own undoable replace, in a file on disk through the failure-safe
// save, never in a text that changed since the search. One message sums
// the replacing up.
class TFindInFiles : public QObject {
    Q_OBJECT

public:
    explicit TFindInFiles(TSearchResultsPane* pane, QObject* parent = nullptr);
    ~TFindInFiles() override;

    // What it needs of the window.
    std::function<std::vector<TMemoSource*>()> Documents;
    // Opens a file as File, Open does (or selects its tab) and gives its
    // document; null when it could not be opened (the window said why).
    std::function<TMemoSource*(const QString& path)> OpenDocument;
    // After a result was opened: the editor takes the focus.
    std::function<void()> AfterOpen;
    // The results listed changed (a search began, found a file or ended).
    std::function<void()> OnChanged;

    void Start(const TFileSearchSettings& settings, bool replace);
    void Cancel();
    bool Running() const;
    // The next / previous result, opened (F4 / Shift+F4). False when the
    // pane lists none.
    bool Step(bool forward);
    // Replaces the matches checked in the pane.
    void ReplaceChecked();

    const std::vector<FileSearch::TFileHits>& Files() const { return m_files; }
    TSearchResultsPane* Pane() const { return m_pane; }

private:
    struct TOpenDocument {
        QPointer<TMemoSource> document;
        quint64 version = 0;
    };

    void Received(quint64 run, FileSearch::TFileHits&& hits);
    void Skipped(quint64 run, FileSearch::TSkipped&& skipped);
    void Finished(quint64 run, const FileSearch::TTotals& totals);
    void ShowProgress();
    void Open(const TSearchResultsPane::TPick& pick);
    // The open document of a path, or null.
    TMemoSource* DocumentOf(const QString& path) const;

    TSearchResultsPane* m_pane;
    QTimer* m_progress;
    std::unique_ptr<FileSearch::TSearch> m_search;
    quint64 m_run = 0;
    FileSearch::TRequest m_request;
    bool m_replacing = false;
    std::vector<FileSearch::TFileHits> m_files;
    // The documents searched in their own text, by the tag given them.
    std::map<quint64, TOpenDocument> m_open;
};
