#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// What a parse says about the structure of a line, besides its attributes:
// where brackets, block comments, blocks of the scheme and elements open and
// close. A parser reports these events in text order to the sink it was
// given while it parses, so that the text store learns the structure of a
// line from the same pass that gives its states, never from a second one.
//
// Only what the syntax sees is reported: a bracket inside a string or a
// comment is no event. Brackets are reported in every block (for matching);
// whether an open makes its line a fold point is the scheme's choice
// (`folds`).
namespace Structure {

enum TKind : quint8 {
    skBrace = 0,   // { }
    skParen = 1,   // ( )
    skBracket = 2, // [ ]
    skComment = 3, // a comment over several lines
    skBlock = 4,   // a block of the scheme (a scriptlet, a script element)
    skTag = 5,     // an element, named by its tag
    skRun = 6,     // a line that starts with the scheme's run word (import)
};
constexpr int kBracketKinds = 3;

enum TAction : quint8 {
    saOpen = 0,
    saClose = 1,
    // "/>": ends the element the tag opened.
    saSelfClose = 2,
    // A run line: neither opens nor closes.
    saMark = 3,
    // The ">" that ends a start tag: the element stays open.
    saTagEnd = 4,
};

} // namespace Structure

// One event: column and length of its text in the displayed line (the
// bracket, a comment's or block's opening or closing text, a tag's name).
// name identifies what must match (a tag's name, a block's number); label
// is the text a folded block shows after its first line. Both are ids of
// TStructureNames (0: none). A text keeps one for most lines it has, so its
// kind, action and fold flag share a word with its length: 16 bytes.
struct TStructureEvent {
    // Longer texts (a name of millions of characters) count as this long.
    static constexpr int kMaxLength = (1 << 24) - 1;

    qint32 column = 0;
    quint32 length : 24 = 0;
    quint32 kind : 3 = Structure::skBrace;
    quint32 action : 3 = Structure::saOpen;
    quint32 folds : 1 = 0;
    quint32 name = 0;
    quint32 label = 0;

    bool IsOpen() const { return action == Structure::saOpen; }
    bool IsBracket() const { return kind < Structure::kBracketKinds; }
};
static_assert(sizeof(TStructureEvent) == 16);

// Where a parser reports the events of the line it parses.
class TStructureSink {
public:
    virtual ~TStructureSink() = default;
    virtual void Add(const TStructureEvent& event) = 0;
};

// The names and labels met in this process, each under an id that never
// changes (0 is the empty name), so that an event carries a number and two
// parsers (one on a worker thread) agree on them.
//
// Threads: ids may be taken and read from any thread.
class TStructureNames {
public:
    static TStructureNames& Shared()
    {
        // Never destroyed: a store living until the process ends may still
        // read its labels while static objects are torn down.
        static TStructureNames* const names = new TStructureNames;
        return *names;
    }

    quint32 Intern(std::string_view text);
    QByteArray Text(quint32 id) const;

private:
    TStructureNames();

    struct THash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    mutable std::mutex m_mutex;
    // Looked up by a view of the text, so that a name met again costs no
    // allocation.
    std::unordered_map<std::string, quint32, THash, std::equal_to<>> m_ids;
    std::vector<std::string> m_texts;
};
