// Matching by structure: the partner of the bracket at a place, and of the
// tag whose name holds it. Both read the structure the parse keeps
// (linestructures.h): a bracket's partner is found by counting over the
// lines' bracket counts, which passes over a line that leaves none open
// without looking at it, and only the line that holds the partner is parsed
// once more for its columns; a tag's partner by walking the elements from a
// little before it. Neither goes further than kMatchReach lines: past that
// the answer is "nothing", not "unmatched".

#include "memosource.h"

#include "structurewalk.h"

#include <algorithm>

namespace {

constexpr int kParseChunk = 4096;
// The mark of the item whose end is looked for.
constexpr qint64 kMine = -2;

// The index of the count-th open of kind among events that no close after
// it on the line closes, counted from the end; -1 when there are fewer.
int unmatchedOpenFromEnd(const std::vector<TStructureEvent>& events, int kind, int count)
{
    int closes = 0;
    for (int i = int(events.size()) - 1; i >= 0; --i) {
        const TStructureEvent& event = events[size_t(i)];
        if (event.kind != kind)
            continue;
        if (!event.IsOpen())
            ++closes;
        else if (closes > 0)
            --closes;
        else if (--count == 0)
            return i;
    }
    return -1;
}

// The index of the count-th close of kind that no open before it on the
// line opened.
int unmatchedClose(const std::vector<TStructureEvent>& events, int kind, int count)
{
    int opens = 0;
    for (size_t i = 0; i < events.size(); ++i) {
        const TStructureEvent& event = events[i];
        if (event.kind != kind)
            continue;
        if (event.IsOpen())
            ++opens;
        else if (opens > 0)
            --opens;
        else if (--count == 0)
            return int(i);
    }
    return -1;
}

} // namespace

TStructureMatch TMemoFolding::MatchAt(TTextPos pos)
{
    TStructureMatch match;
    std::vector<TStructureEvent> events;
    if (!Source().LineEvents(pos.line, events))
        return match;
    // The bracket at the place, else the one just before it, else the tag
    // name the place is in.
    auto find = [&](auto&& test) {
        const auto it = std::find_if(events.begin(), events.end(), test);
        return it == events.end() ? -1 : int(it - events.begin());
    };
    int index = find([&](const TStructureEvent& e) { return e.IsBracket() && e.column == pos.column; });
    if (index < 0)
        index = find([&](const TStructureEvent& e) { return e.IsBracket() && e.column == pos.column - 1; });
    if (index < 0) {
        index = find([&](const TStructureEvent& e) {
            return e.kind == Structure::skTag && e.action != Structure::saSelfClose && e.action != Structure::saTagEnd &&
                   e.column <= pos.column && pos.column <= e.column + e.length;
        });
    }
    if (index < 0)
        return match;
    const TStructureEvent& event = events[size_t(index)];
    match.line = pos.line;
    match.column = event.column;
    match.length = event.length;
    if (event.IsBracket())
        MatchBracket(pos.line, events, index, match);
    else
        MatchTag(pos.line, events, index, match);
    return match;
}

void TMemoFolding::MatchBracket(int line, const std::vector<TStructureEvent>& events, int index,
                                     TStructureMatch& match)
{
    const TStructureEvent& bracket = events[size_t(index)];
    const int kind = bracket.kind;
    auto found = [&match](int partnerLine, const TStructureEvent& partner) {
        match.result = TStructureMatch::mrMatched;
        match.partnerLine = partnerLine;
        match.partnerColumn = partner.column;
        match.partnerLength = partner.length;
    };
    const TLineStructures& structures = Strings().Structures();
    std::vector<TStructureEvent> other;
    int depth = 1;
    if (!bracket.IsOpen()) {
        for (int i = index - 1; i >= 0; --i) {
            const TStructureEvent& event = events[size_t(i)];
            if (event.kind != kind)
                continue;
            depth += event.IsOpen() ? -1 : 1;
            if (depth == 0)
                return found(line, event);
        }
        for (size_t i = structures.LowerBound(line); i-- > 0;) {
            const TStructureEntry& entry = structures.At(i);
            if (line - entry.line > kMatchReach)
                return;
            if (entry.opens[kind] >= depth) {
                const int at = Source().LineEvents(entry.line, other) ? unmatchedOpenFromEnd(other, kind, depth) : -1;
                if (at >= 0)
                    found(entry.line, other[size_t(at)]);
                return;
            }
            depth += entry.closes[kind] - entry.opens[kind];
        }
        match.result = TStructureMatch::mrUnmatched;
        return;
    }
    for (size_t i = size_t(index) + 1; i < events.size(); ++i) {
        const TStructureEvent& event = events[i];
        if (event.kind != kind)
            continue;
        depth += event.IsOpen() ? 1 : -1;
        if (depth == 0)
            return found(line, event);
    }
    // The lines below, as far as they are parsed, then parsing on.
    int from = line + 1;
    for (int chunk = kParseChunk;; chunk = std::min(chunk * 2, 1 << 20)) {
        for (size_t i = structures.LowerBound(from); i < structures.Count(); ++i) {
            const TStructureEntry& entry = structures.At(i);
            if (entry.line >= Source().m_parsedUpTo)
                break;
            if (entry.line - line > kMatchReach)
                return;
            if (entry.closes[kind] >= depth) {
                const int at = Source().LineEvents(entry.line, other) ? unmatchedClose(other, kind, depth) : -1;
                if (at >= 0)
                    found(entry.line, other[size_t(at)]);
                return;
            }
            depth += entry.opens[kind] - entry.closes[kind];
        }
        if (Source().m_parsedUpTo >= Source().LineCount()) {
            match.result = TStructureMatch::mrUnmatched;
            return;
        }
        if (Source().m_parsedUpTo - line > kMatchReach)
            return;
        from = Source().m_parsedUpTo;
        Source().ParseTo(std::min(Source().LineCount() - 1, Source().m_parsedUpTo + chunk));
    }
}

void TMemoFolding::MatchTag(int line, const std::vector<TStructureEvent>& events, int index,
                                 TStructureMatch& match)
{
    using namespace Structure;
    const TStructureEvent& tag = events[size_t(index)];
    // What is open in front of the line, from a little before it.
    const int start = std::max(0, line - kMatchReach);
    TStructureWalk walk(Strings().Structures(), start);
    walk.WalkTo(line);
    TStructureStack& stack = walk.Stack();
    if (tag.action == saClose) {
        for (int i = 0; i < index; ++i)
            stack.Apply(events[size_t(i)], line, -1, nullptr);
        const auto& items = stack.Items();
        for (auto it = items.rbegin(); it != items.rend(); ++it) {
            if (it->kind == skTag && it->name == tag.name) {
                match.result = TStructureMatch::mrMatched;
                match.partnerLine = it->line;
                match.partnerColumn = it->column;
                match.partnerLength = tag.length;
                return;
            }
        }
        if (start == 0)
            match.result = TStructureMatch::mrUnmatched;
        return;
    }
    if (HtmlElements::IsVoid(tag.name))
        return;
    bool ended = false;
    const TStructureStack::TEnded onEnded = [&](const TStructureStack::TItem& item, bool explicitEnd, int at,
                                                const TStructureEvent& by) {
        if (item.mark != kMine || ended)
            return;
        ended = true;
        // Ended by its own end tag: that is the partner. Ended by "/>" or by
        // what ends it around it: nothing to show.
        if (explicitEnd && by.action == saClose) {
            match.result = TStructureMatch::mrMatched;
            match.partnerLine = at;
            match.partnerColumn = by.column;
            match.partnerLength = by.length;
        }
    };
    for (size_t i = 0; i < events.size() && !ended; ++i)
        stack.Apply(events[i], line, int(i) == index ? kMine : -1, onEnded);
    const TLineStructures& structures = Strings().Structures();
    for (int from = line + 1, chunk = kParseChunk; !ended; chunk = std::min(chunk * 2, 1 << 20)) {
        for (size_t i = structures.LowerBound(from); i < structures.Count() && !ended; ++i) {
            const TStructureEntry& entry = structures.At(i);
            if (entry.line >= Source().m_parsedUpTo)
                break;
            if (entry.line - line > kMatchReach)
                return;
            for (const TStructureEvent& event : structures.Events(entry)) {
                stack.Apply(event, entry.line, -1, onEnded);
                if (ended)
                    break;
            }
        }
        if (ended)
            return;
        if (Source().m_parsedUpTo >= Source().LineCount()) {
            // Never ended: an element whose end tag may be left out ends
            // with the text, any other lacks its end tag.
            if (!HtmlElements::EndsWithoutTag(tag.name))
                match.result = TStructureMatch::mrUnmatched;
            return;
        }
        if (Source().m_parsedUpTo - line > kMatchReach)
            return;
        from = Source().m_parsedUpTo;
        Source().ParseTo(std::min(Source().LineCount() - 1, Source().m_parsedUpTo + chunk));
    }
}

bool TMemoFolding::OpenElementAt(TTextPos pos, QByteArray& name, int& line)
{
    std::vector<TStructureEvent> events;
    if (!Source().LineEvents(pos.line, events))
        return false;
    TStructureWalk walk(Strings().Structures(), std::max(0, pos.line - kMatchReach));
    walk.WalkTo(pos.line);
    for (const TStructureEvent& event : events) {
        if (event.column + event.length > pos.column)
            break;
        walk.Stack().Apply(event, pos.line, -1, nullptr);
    }
    const auto& items = walk.Stack().Items();
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (it->kind == Structure::skTag) {
            name = TStructureNames::Shared().Text(it->name);
            line = it->line;
            return true;
        }
    }
    return false;
}
