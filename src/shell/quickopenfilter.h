#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The ranking of Quick Open: which files a typed text picks, best first.
//
// A file matches when the typed characters appear in its name (the folder
// does not count) in order, not necessarily together, without regard to
// case: "usi" picks "UserServiceImpl.java". Among the matches, a name that
// holds the text in one piece comes first (at its start before elsewhere),
// then names whose characters fall on word starts ("U", "S", "I" of the
// camel case, or after ".", "_", "-", " ") and run together; then shorter
// names, recent files, and the path in alphabetical order.
//
// Typing on (a text that extends the last one) only looks through what the
// last text matched, so each key costs the matches, not the whole list: it
// is built for tens of thousands of files filtered at every key.
class TQuickOpenFilter {
public:
    struct TEntry {
        QString path;  // full path
        QString shown; // what is shown beside the name (the folder)
        bool recent = false;
    };

    // Replaces the list (recent files first, in their order, then the rest
    // in the order given; a path given twice is listed once).
    void SetEntries(std::vector<TEntry> entries);
    int Count() const { return int(m_entries.size()); }
    const TEntry& Entry(int index) const { return m_entries[size_t(index)].entry; }
    QString Name(int index) const { return m_entries[size_t(index)].name; }

    // The entries text picks, best first, at most limit of them. An empty
    // text picks every entry in list order.
    std::vector<int> Filter(const QString& text, int limit);

    // How well a typed text (lower case) matches a name: -1 when it does
    // not, otherwise higher for a better match.
    static int Score(const QString& name, const QString& lowerName, const QString& lowerText);

private:
    struct TItem {
        TEntry entry;
        QString name;
        QString lowerName;
    };

    std::vector<TItem> m_entries;
    // The last text and the entries it matched, for the next key.
    QString m_lastText;
    std::vector<int> m_lastMatches;
    bool m_lastValid = false;
};
