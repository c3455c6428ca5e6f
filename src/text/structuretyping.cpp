// Typing by structure (see structuretyping.h). Each rule runs inside one
// update bracket of the typing reason, so that the key and what the rule
// added are recorded as one operation: one undo step, as every key is.

#include "structuretyping.h"

#include "htmlelements.h"
#include "memosource.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

char closerOf(char ch)
{
    switch (ch) {
    case '(': return ')';
    case '[': return ']';
    case '{': return '}';
    case '"': return '"';
    case '\'': return '\'';
    default: return 0;
    }
}

bool isBlank(char c)
{
    return uchar(c) <= 32;
}

bool isWordChar(char c)
{
    return std::isalnum(uchar(c)) || c == '_' || uchar(c) >= 0x80;
}

// The character at column of a (display) line, 0 past its end.
char charAt(const QByteArray& text, int column)
{
    return column >= 0 && column < text.size() ? text[column] : '\0';
}

bool onlyBlanks(const QByteArray& text, int to)
{
    for (int i = 0; i < std::min(to, int(text.size())); ++i) {
        if (!isBlank(text[i]))
            return false;
    }
    return true;
}

bool structured(const TCustomMemoSource& source)
{
    return source.SyntaxParser() && source.SyntaxParser()->ReportsStructure();
}

} // namespace

void TStructureTyping::Forget(const TCustomMemoSource& source)
{
    const TTextPos caret = source.Caret();
    std::erase_if(m_pending, [&caret](const TPending& pending) {
        return pending.at.line != caret.line || pending.at.column < caret.column;
    });
}

QByteArray TStructureTyping::Indent(TCustomMemoSource& source, int line)
{
    const std::string_view raw = source.Strings().RawText(line);
    size_t n = 0;
    while (n < raw.size() && (raw[n] == ' ' || raw[n] == '\t'))
        ++n;
    return QByteArray(raw.data(), qsizetype(n));
}

void TStructureTyping::SetIndent(TCustomMemoSource& source, int line, const QByteArray& indent)
{
    const QByteArray old = Indent(source, line);
    if (old == indent)
        return;
    // The caret keeps its place in the text after the indent.
    const TTextPos caret = source.Caret();
    const int before = source.LineLength(line) - caret.column;
    source.MoveCaretTo({line, 0});
    source.DeleteChars(int(old.size()));
    source.InsertText(indent);
    source.MoveCaretTo({line, std::max(0, source.LineLength(line) - before)});
}

bool TStructureTyping::Type(TCustomMemoSource& source, char ch)
{
    if (source.ReadOnly() || source.HasSelection() || TCustomMemoSource::OverwriteMode())
        return false;
    Forget(source);
    if (source.CloseBrackets() && StepOver(source, ch))
        return true;
    if (!structured(source)) {
        return source.CloseBrackets() && OpenPair(source, ch);
    }
    switch (ch) {
    case '/':
        return CompleteEndTag(source);
    case '>':
        return CloseStartTag(source);
    case '}':
        return AlignCloser(source, ch);
    default:
        return source.CloseBrackets() && OpenPair(source, ch);
    }
}

bool TStructureTyping::StepOver(TCustomMemoSource& source, char ch)
{
    const TTextPos caret = source.Caret();
    if (m_pending.empty() || m_pending.back().closer != ch || m_pending.back().at != caret ||
        charAt(source.LineText(caret.line), caret.column) != ch)
        return false;
    m_pending.pop_back();
    TCustomMemoSource::TUpdate update(source, Reason::kTypeChar);
    source.MoveCaretTo({caret.line, caret.column + 1});
    return true;
}

bool TStructureTyping::OpenPair(TCustomMemoSource& source, char ch)
{
    const char closer = closerOf(ch);
    if (!closer)
        return false;
    const TTextPos caret = source.Caret();
    const QByteArray text = source.LineText(caret.line);
    // Only where nothing goes on behind the caret, and a quote not inside
    // or right behind a word ("don't").
    const char next = charAt(text, caret.column);
    if (next && !isBlank(next) && !std::strchr(")]};,", next))
        return false;
    if ((ch == '"' || ch == '\'') && isWordChar(charAt(text, caret.column - 1)))
        return false;
    TCustomMemoSource::TUpdate update(source, Reason::kTypeChar);
    source.TypeChar(ch);
    const TTextPos inside = source.Caret();
    source.InsertText(QByteArray(1, closer));
    source.MoveCaretTo(inside);
    for (TPending& pending : m_pending) {
        if (pending.at.line == inside.line && pending.at.column >= caret.column)
            pending.at.column += 2;
    }
    m_pending.push_back({inside, closer});
    return true;
}

bool TStructureTyping::Backspace(TCustomMemoSource& source)
{
    if (source.ReadOnly() || source.HasSelection() || !source.CloseBrackets())
        return false;
    Forget(source);
    const TTextPos caret = source.Caret();
    if (m_pending.empty() || m_pending.back().at != caret)
        return false;
    const QByteArray text = source.LineText(caret.line);
    if (closerOf(charAt(text, caret.column - 1)) != m_pending.back().closer ||
        charAt(text, caret.column) != m_pending.back().closer)
        return false;
    m_pending.pop_back();
    TCustomMemoSource::TUpdate update(source, Reason::kBackspace);
    source.MoveCaretTo({caret.line, caret.column - 1});
    source.DeleteChars(2);
    return true;
}

bool TStructureTyping::CompleteEndTag(TCustomMemoSource& source)
{
    const TTextPos caret = source.Caret();
    const QByteArray text = source.LineText(caret.line);
    if (charAt(text, caret.column - 1) != '<')
        return false;
    QByteArray name;
    int openLine = 0;
    if (!source.OpenElementAt({caret.line, caret.column - 1}, name, openLine))
        return false;
    TCustomMemoSource::TUpdate update(source, Reason::kTypeChar);
    source.TypeChar('/');
    source.InsertText(name + '>');
    if (source.Options().testFlag(soAutoIndent) && onlyBlanks(text, caret.column - 1))
        SetIndent(source, caret.line, Indent(source, openLine));
    return true;
}

bool TStructureTyping::CloseStartTag(TCustomMemoSource& source)
{
    if (!source.CloseTags())
        return false;
    const TTextPos caret = source.Caret();
    if (charAt(source.LineText(caret.line), caret.column - 1) == '/')
        return false;
    TCustomMemoSource::TUpdate update(source, Reason::kTypeChar);
    source.TypeChar('>');
    // The ">" ended a start tag when the line's structure has the end of a
    // tag there, and the tag it ends is the start tag of an element.
    std::vector<TStructureEvent> events;
    if (!source.LineEvents(caret.line, events))
        return true;
    const TStructureEvent* start = nullptr;
    for (const TStructureEvent& event : events) {
        if (event.column >= caret.column + 1)
            break;
        if (event.kind != Structure::skTag)
            continue;
        if (event.action == Structure::saTagEnd && event.column == caret.column) {
            if (start && start->IsOpen() && !HtmlElements::IsVoid(start->name)) {
                const QByteArray name = TStructureNames::Shared().Text(start->name);
                const QByteArray end = "</" + name + '>';
                const TTextPos inside = source.Caret();
                if (!source.LineText(inside.line).mid(inside.column).startsWith(end)) {
                    source.InsertText(end);
                    source.MoveCaretTo(inside);
                }
            }
            return true;
        }
        start = &event;
    }
    return true;
}

bool TStructureTyping::AlignCloser(TCustomMemoSource& source, char ch)
{
    const TTextPos caret = source.Caret();
    const QByteArray text = source.LineText(caret.line);
    if (source.CloseBrackets() && StepOver(source, ch))
        return true;
    if (!source.Options().testFlag(soAutoIndent) || !onlyBlanks(text, caret.column))
        return false;
    TCustomMemoSource::TUpdate update(source, Reason::kTypeChar);
    source.TypeChar(ch);
    const TStructureMatch match = source.MatchAt({caret.line, source.CaretColumn() - 1});
    if (match.result == TStructureMatch::mrMatched && match.partnerLine != caret.line)
        SetIndent(source, caret.line, Indent(source, match.partnerLine));
    return true;
}

bool TStructureTyping::NewLine(TCustomMemoSource& source)
{
    if (source.ReadOnly() || source.HasSelection() || TCustomMemoSource::OverwriteMode() ||
        !source.Options().testFlag(soAutoIndent) || !structured(source))
        return false;
    Forget(source);
    const TTextPos caret = source.Caret();
    const QByteArray text = source.LineText(caret.line);
    // The text in front of the caret ends with "{" or with the ">" of a
    // start tag that is still open.
    int last = std::min(caret.column, int(text.size())) - 1;
    while (last >= 0 && isBlank(text[last]))
        --last;
    if (last < 0)
        return false;
    std::vector<TStructureEvent> events;
    if (!source.LineEvents(caret.line, events))
        return false;
    QByteArray closer;
    bool opens = false;
    const TStructureEvent* start = nullptr;
    for (const TStructureEvent& event : events) {
        if (event.column > last)
            break;
        if (event.kind == Structure::skBrace && event.IsOpen() && event.column == last) {
            opens = true;
            closer = "}";
        } else if (event.kind == Structure::skTag && event.action == Structure::saTagEnd && event.column == last &&
                   start && start->IsOpen() && !HtmlElements::IsVoid(start->name)) {
            opens = true;
            closer = "</" + TStructureNames::Shared().Text(start->name) + '>';
        }
        if (event.kind == Structure::skTag && event.action != Structure::saTagEnd)
            start = &event;
    }
    if (!opens)
        return false;
    const QByteArray base = Indent(source, caret.line);
    const QByteArray unit = source.Options().testFlag(soUseTabCharacter)
                                ? QByteArray("\t")
                                : QByteArray(std::max(1, source.BlockIndent()), ' ');
    TCustomMemoSource::TUpdate update(source, Reason::kNewLine);
    const bool closerFollows = text.mid(caret.column).trimmed().startsWith(closer);
    if (closerFollows) {
        // "{|}": the closer goes down on a line of its own, at the base.
        for (char c = charAt(text, caret.column); c && isBlank(c); c = charAt(source.LineText(caret.line), caret.column))
            source.DeleteChars(1);
    }
    source.InsertText("\n" + base + unit);
    if (closerFollows) {
        const TTextPos inside = source.Caret();
        source.InsertText("\n" + base);
        source.MoveCaretTo(inside);
    }
    return true;
}
