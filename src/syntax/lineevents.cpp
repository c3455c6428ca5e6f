// The structure of a line, reported while the scanner reads it (see
// linestructure.h): only a full run with a sink reports, so a parse for
// attributes or states alone, and a resumed pass, pay one test of a null
// pointer per token and per block entered or left.
//
// Brackets are the symbol characters of the tokens that are neither comment
// nor string, and the bracket a block's opening text ends with or its
// closing text starts with ("${", "}"). A tag's name is read straight
// behind the opening text, as the characters a name may hold.

#include "linescanner.h"

#include "linestate.h"

#include <algorithm>

using namespace LineScan;

namespace {

int bracketKind(uchar c, bool& open)
{
    switch (c) {
    case '{': open = true; return Structure::skBrace;
    case '}': open = false; return Structure::skBrace;
    case '(': open = true; return Structure::skParen;
    case ')': open = false; return Structure::skParen;
    case '[': open = true; return Structure::skBracket;
    case ']': open = false; return Structure::skBracket;
    default: return -1;
    }
}

// Tag names are ASCII: letters, digits and ":_-.", whatever the locale.
bool nameChar(uchar c)
{
    return unsigned((c | 0x20) - 'a') < 26u || unsigned(c - '0') < 10u || c == ':' || c == '_' || c == '-' || c == '.';
}

} // namespace

void TLineScanner::Report(int column, int length, quint8 kind, quint8 action, bool folds, quint32 name, quint32 label)
{
    TStructureEvent event;
    event.column = column;
    event.length = quint32(std::clamp(length, 0, TStructureEvent::kMaxLength));
    event.kind = kind;
    event.action = action;
    event.folds = folds;
    event.name = name;
    event.label = label;
    m_sink->Add(event);
}

void TLineScanner::ReportToken(int start, quint32 constructBefore, bool atLineStart)
{
    using namespace Structure;
    using LineState::ocMultiLineComment;
    if (m_kind == tkSymbol) {
        for (int i = start; i < m_pos; ++i) {
            bool open = false;
            const int kind = bracketKind(m_text[i], open);
            if (kind >= 0)
                Report(i, 1, quint8(kind), open ? saOpen : saClose, kind == skBrace && open && m_block->foldBraces);
        }
        return;
    }
    if (m_kind == tkMultiLineComment) {
        const TTokenTable& table = m_block->multiLineComments;
        if (size_t(m_token) >= table.items.size())
            return;
        const TCompiledToken& item = table.items[size_t(m_token)];
        if (constructBefore != ocMultiLineComment && m_construct == ocMultiLineComment)
            Report(start, int(item.left.size()), skComment, saOpen, m_block->foldComments, 0, item.foldLabel);
        else if (constructBefore == ocMultiLineComment && m_construct != ocMultiLineComment)
            Report(m_pos - int(item.right.size()), int(item.right.size()), skComment, saClose, m_block->foldComments);
        return;
    }
    if (atLineStart && (m_kind == tkKeyword || m_kind == tkIdentifier) && !m_block->foldRunWord.empty()) {
        const std::string& word = m_block->foldRunWord;
        if (size_t(m_pos - start) == word.size() && SameText(m_text + start, word, true))
            Report(start, m_pos - start, skRun, saMark, true, 0, m_block->foldRunLabel);
    }
}

void TLineScanner::ReportOpening(const TOpening& opening)
{
    using namespace Structure;
    // A child that reads its opening text starts at the position; one opened
    // behind text its parent read ends there.
    const int length = int(opening.text.size());
    const int start = opening.partOfBlock ? m_pos : m_pos - length;
    if (length > 0) {
        bool open = false;
        const int kind = bracketKind(uchar(opening.text.back()), open);
        if (kind >= 0 && open)
            Report(start + length - 1, 1, quint8(kind), saOpen, false);
    }
    const TCompiledBlock& child = *m_block;
    if (child.foldBlock)
        Report(start, length, skBlock, saOpen, true, quint32(opening.childBlock + 1), opening.foldLabel);
    if (!child.foldTags)
        return;
    // An end tag is opened by a text ending in "/", or by one the "/"
    // follows.
    int from = start + length;
    bool endTag = size_t(opening.delimiter) < child.closings.size() && child.closings[size_t(opening.delimiter)].endTag;
    if (!endTag && from < m_n && m_text[from] == '/') {
        endTag = true;
        ++from;
    }
    int end = from;
    while (end < m_n && nameChar(m_text[end]))
        ++end;
    char lower[64];
    const int nameLength = end - from;
    if (nameLength == 0 || size_t(nameLength) > sizeof lower)
        return;
    for (int i = 0; i < nameLength; ++i) {
        const uchar c = m_text[from + i];
        lower[i] = char(unsigned(c - 'A') < 26u ? c | 0x20 : c);
    }
    const quint32 name = TStructureNames::Shared().Intern(std::string_view(lower, size_t(nameLength)));
    Report(from, nameLength, skTag, endTag ? saClose : saOpen, true, name);
}

void TLineScanner::ReportClosing()
{
    using namespace Structure;
    const TCompiledBlock& block = *m_block;
    const int length = m_closeLength;
    const int start = m_partOfBlock ? m_pos - length : m_pos;
    if (length > 0 && m_closing) {
        bool open = true;
        const int kind = bracketKind(uchar((*m_closing)[0]), open);
        if (kind >= 0 && !open)
            Report(start, 1, quint8(kind), saClose, false);
    }
    if (block.foldBlock)
        Report(start, length, skBlock, saClose, true, quint32(m_info->blockIndex + 1));
    if (!block.foldTags || size_t(m_delimiter) >= block.closings.size() || block.closings[size_t(m_delimiter)].endTag)
        return;
    // A start tag: "/>" ends the element it opened, ">" leaves it open.
    if (start > 0 && m_text[start - 1] == '/')
        Report(start - 1, 1, skTag, saSelfClose, true);
    else
        Report(start, length, skTag, saTagEnd, true);
}
