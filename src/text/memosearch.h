#pragma once

#include "position.h"
#include "searchoptions.h"

#include <QByteArray>

#include <functional>
#include <limits>
#include <string_view>
#include <utility>
#include <vector>

class TCustomMemoSource;
class TInternalStrings;
class TLineMatcher;
struct TLineMatch;

// Find, replace and go to line in a text store. A part of the store itself
// (it is one of its bases), kept apart because a search reads the store
// through few of its insides.
class TMemoSearch {
public:
    // Open the find / replace / go-to-line dialog through the dialog hook and
    // run the operation with what it confirmed; without a hook they use the
    // global search record as it is. False when nothing was found or done.
    bool Find();
    bool Replace();
    bool GotoLine();
    // Repeats the last search from the caret, without a dialog.
    bool SearchAgain();
    // Runs a search or a replace with the given settings (no dialog).
    bool FindText(const TSearchOptions& options);
    bool ReplaceText(const TSearchOptions& options);
    // What the last search found (not Valid() when nothing, or once the text
    // changed since); a change of it is reported as Change::kSearchMatch.
    const TFoundMatch& FoundMatch() const { return m_found; }
    // Selects bytes [start, end) of a line with the caret behind them, and
    // makes them the match found by options (a result of a search elsewhere).
    void SelectMatch(int line, int start, int end, const TSearchOptions& options);
    // One replacement of bytes [start, start + length) of a line.
    struct TRangeReplacement {
        int line = 0;
        int start = 0;
        int length = 0;
        QByteArray text;
    };
    // Replaces the ranges (which must not overlap) as one undo step; false,
    // changing nothing, when the store is read-only or a range lies outside
    // its line or on a read-only line.
    bool ReplaceRanges(std::vector<TRangeReplacement> ranges);

    // A dialog hook: edits options (the search dialogs) or line (go to line,
    // 1-based; kNotALineNumber when what was typed is no number) and
    // returns whether the user confirmed. A store without its own
    // OnCreateDialog uses the one set for every store.
    static constexpr int kNotALineNumber = std::numeric_limits<int>::min();
    using TCreateDialogEvent =
        std::function<bool(TCustomMemoSource& source, TDialogKind kind, TSearchOptions& options, int& line)>;
    static void SetGlobalCreateDialog(TCreateDialogEvent hook);

protected:
    TMemoSearch() = default;
    ~TMemoSearch() = default;

private:
    friend class TCustomMemoSource;

    TCustomMemoSource& Source();
    const TCustomMemoSource& Source() const;
    const TInternalStrings& Strings() const;

    bool RunSearch(const TSearchOptions& options, bool fromCursor);
    // Searches lines [first, last] in the options' direction; the caret
    // bounds the search on its line when origin is set. The line of the
    // match, -1 when there is none and -2 when the expression gave up.
    int SearchLines(TLineMatcher& matcher, const TSearchOptions& options, const TTextPos* origin, int first, int last,
                    TLineMatch& match);
    void SetFoundMatch(const TFoundMatch& found);
    bool RunReplace(const TSearchOptions& options);
    struct TReplaceRun;
    void ReplacePass(TReplaceRun& run, TLineMatcher& matcher, int first, int last, bool wrapPass);
    struct TPendingReplacement;
    std::pair<int, int> ApplyReplacements(int line, std::string_view searched,
                                          std::vector<TPendingReplacement>& pending, int& shift);
    bool PrepareSearch(const TSearchOptions& options, TLineMatcher& matcher);
    bool ScopeLines(const TSearchOptions& options, bool fromCursor, int& first, int& last);
    void LineBounds(const TSearchOptions& options, const TTextPos* caret, int line, int& from, int& to) const;
    bool WholeLine(const TSearchOptions& options, const TTextPos* caret, int line) const;
    bool OpenDialog(TDialogKind kind, TSearchOptions& options, int& line);
    // The dialog hook in effect (empty: none).
    TCreateDialogEvent DialogHook() const;
    void ReportSearchError(const QString& message);

    TFoundMatch m_found;
    quint64 m_foundSerial = 0;
};
