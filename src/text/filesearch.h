#pragma once

#include "charset.h"
#include "memotypes.h"
#include "searchoptions.h"
#include "textsnapshot.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// Find in Files: searches the files of a folder (and its subfolders) whose
// names fit the masks, on worker threads, and hands over each file's
// matches as soon as the file is done. Nothing here waits for the window,
// and the window never waits for the search: it starts one, hears about it
// from the workers (each event on some worker thread) and may cancel it.
//
// Files are read as loading reads them: binary files (holding a NUL byte)
// are skipped, and so are files over kMaxFileSize and files and folders that
// cannot be read, each with its reason; the encoding is found the way loading finds it
// (encodingdetect.h), and the search runs in it, as the text store's would.
// A file that is open in the window is searched in the text it has there,
// unsaved edits included, from a snapshot taken when the search starts.
//
// The workers share one queue of folders and files: listing a folder puts
// its subfolders and its fitting files into the queue, so both cores list
// and search alike, and the search ends when the queue is empty and no
// worker is busy. Folders of version control (".git", ".svn", ".hg") are
// passed over, and so are links to folders (a link could lead back up).
namespace FileSearch {

constexpr qint64 kMaxFileSize = qint64(64) << 20;
// The most matching lines one search lists; it stops there and says so.
constexpr qint64 kMaxLines = 100000;
// A shown line is cut to about this many characters around its matches.
constexpr int kShownLength = 240;

// A document open in the window: its file, its text and encoding as they
// are now, and a tag the window finds it by again.
struct TOpenText {
    QString path;
    TTextSnapshot text;
    TTextEncoding encoding = MemoTypes::teWindows1252;
    quint64 tag = 0;
};

struct TRequest {
    // The text to find, the replacement and the case, whole-word and
    // expression switches (the rest of the record does not apply).
    TSearchOptions options;
    TCharSet delimiters;
    QString folder;
    // "*.jsp", "*.java"... (wildcards * and ?, without regard to case);
    // none: every file.
    QStringList masks;
    bool subfolders = true;
    // Replace in Files: every match's replacement is kept, and every file's
    // fingerprint, so that the replacing can tell whether it changed since.
    bool replacing = false;
    std::vector<TOpenText> openTexts;
};

// One match: its bytes in the line, where it shows in the line's text as
// listed (characters), and with replacing its replacement (in the file's
// encoding).
struct TMatch {
    int start = 0;
    int length = 0;
    int shownStart = 0;
    int shownLength = 0;
    QByteArray replacement;
};

struct TLine {
    int line = 0; // from 0
    // The line's text around its matches (blanks at its start left out,
    // tabs shown as blanks, "…" where it was cut).
    QString shown;
    std::vector<TMatch> matches;
};

struct TFileHits {
    QString path;
    TTextEncoding encoding = MemoTypes::teWindows1252;
    // An open document's text was searched: its tag. 0 for a file on disk.
    quint64 openTag = 0;
    // A file on disk: its size and fingerprint as searched.
    qint64 size = 0;
    quint64 fingerprint = 0;
    std::vector<TLine> lines;
    int MatchCount() const;
};

enum class TSkipReason { Binary, TooLarge, Unreadable };

struct TSkipped {
    QString path;
    TSkipReason reason = TSkipReason::Unreadable;
    QString detail; // the system's reason for an unreadable file
};

struct TTotals {
    qint64 searched = 0;
    qint64 matched = 0;
    qint64 skipped = 0;
    qint64 lines = 0;
    qint64 matches = 0;
    bool cancelled = false;
    // Stopped at kMaxLines.
    bool stoppedAtLimit = false;
    // The expression engine gave up on some line: its matches there are
    // missing.
    bool gaveUp = false;
};

// Called on worker threads (several at once): each file with matches, each
// file skipped, and once at the very end the totals.
struct TEvents {
    std::function<void(TFileHits&& hits)> onFile;
    std::function<void(TSkipped&& skipped)> onSkipped;
    std::function<void(const TTotals& totals)> onFinished;
};

// A fingerprint of a file's bytes, to tell whether it changed.
quint64 Fingerprint(const char* data, qint64 size);
// File name masks, without regard to case: "*.ext" is a plain comparison
// of the name's end, anything else a wildcard pattern (* and ?).
class TNameMasks {
public:
    // No masks (or "*"): every name fits.
    explicit TNameMasks(const QStringList& masks = {});
    bool Fits(const QString& name) const;

private:
    bool m_all = true;
    QStringList m_endings;
    std::vector<QRegularExpression> m_patterns;
};

// The masks of a "File masks" field: split at ";" (blanks around them
// dropped, empty ones left out).
QStringList SplitMasks(const QString& text);

// One search. Destroying it cancels it and waits for its workers.
class TSearch {
public:
    TSearch();
    ~TSearch();
    TSearch(const TSearch&) = delete;
    TSearch& operator=(const TSearch&) = delete;

    // Starts the search and returns at once. False, with the reason in
    // error, when it cannot start (an invalid expression, nothing to find,
    // a folder that is not there); then no event comes.
    bool Start(TRequest request, TEvents events, QString* error);
    // Asks the workers to stop; the totals still come, marked cancelled.
    void Cancel();
    // Waits until the workers are done (the totals were delivered).
    void Wait();
    bool Running() const;
    // Files searched so far.
    qint64 Searched() const;

    // What the workers share (filesearch.cpp).
    struct TState;

private:
    std::shared_ptr<TState> m_state;
};

} // namespace FileSearch
