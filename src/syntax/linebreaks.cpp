// Where the scanner stops inside a comment or string, and what it does
// there: the closing text of a block that closes inside its tokens
// (CloseInTokens) ends the block and its comment or string; an opening
// looked for inside tokens (OpenInTokens) opens the child, whose path keeps
// the comment or string to go on with when the child closes. Tables narrow
// the characters looked at to those that can start or end such a text.

#include "linescanner.h"

#include <algorithm>

using namespace LineScan;

namespace {

// The token kind a comment or string that a child block interrupts is
// reported as.
TTokenKind ConstructKind(quint32 construct)
{
    switch (construct) {
    case LineState::ocMultiLineComment:
        return tkMultiLineComment;
    case LineState::ocSingleLineString:
        return tkSingleLineString;
    case LineState::ocMultiLineString:
        return tkMultiLineString;
    case LineState::ocSingleLineComment:
        return tkSingleLineComment;
    case LineState::ocFullLineComment:
        return tkFullLineComment;
    default:
        return tkText;
    }
}

} // namespace

bool TLineScanner::ClosingAt(int b) const
{
    const std::string& right = *m_closing;
    if (m_n - b < m_closeLength)
        return false;
    // Compared as the end test compares: by the block when it reads the
    // text, else as the root block compares.
    if (m_info->closeEscape && Escaped(b, m_info->closeEscape))
        return false;
    if (m_partOfBlock)
        return SameText(m_text + b, right, m_block->caseSensitive) && !RefusedBefore(b, right);
    return SameText(m_text + b, right, m_blocks[0].caseSensitive) && !RefusedAfter(b, right);
}

TBreak TLineScanner::BreakAt(int b, bool at, bool before) const
{
    if (at && m_info->closesInTokens && m_path != 0 && ClosingAt(b))
        return {b, nullptr};
    const TCompiledBlock& block = *m_block;
    TBreak found;
    if (before) {
        ForCandidates(block.tokenOpenAfter, block.tokenAfterIndex, m_text[b - 1], m_text[b > 1 ? b - 2 : b - 1],
                      [&](const TOpening& opening) {
                          const int start = b - int(opening.text.size());
                          if (start < m_openFrom || !SameText(m_text + start, opening.text, block.caseSensitive) ||
                              RefusedBefore(start, opening.text) || OpeningRefused(opening, start, b) ||
                              (opening.rules && !opening.rules->inTokensOf.empty() && !InTokenOf(opening.rules->inTokensOf)))
                              return false;
                          found = {b, &opening};
                          return true;
                      });
        if (found.pos >= 0)
            return found;
    }
    if (at) {
        ForCandidates(block.tokenOpenHere, block.tokenHereIndex, m_text[b], m_text[b + 1 < m_n ? b + 1 : b],
                      [&](const TOpening& opening) {
                          if (!At(b, opening.text) || RefusedAfter(b, opening.text) ||
                              OpeningRefused(opening, b, b + int(opening.text.size())) ||
                              (opening.rules && !opening.rules->inTokensOf.empty() && !InTokenOf(opening.rules->inTokensOf)))
                              return false;
                          found = {b, &opening};
                          return true;
                      });
    }
    return found;
}

TBreak TLineScanner::FindBreak(int from, int end) const
{
    // Character by character, one set test each: a character of breakAt may
    // be a break where it stands, one of breakBefore just behind it.
    const bool* any = m_info->breakAny.data();
    const uchar* text = m_text;
    for (int i = std::max(from - 1, 0); i < end; ++i) {
        while (i < end && !any[text[i]])
            ++i;
        if (i >= end)
            break;
        for (int b = std::max(i, from); b <= i + 1 && b <= end; ++b) {
            const bool at = b < end && m_info->breakAt.Has(m_text[b]);
            const bool before = b > 0 && m_info->breakBefore.Has(m_text[b - 1]);
            if (at || before) {
                const TBreak found = BreakAt(b, at, before);
                if (found.pos >= 0)
                    return found;
            }
        }
    }
    return {};
}

TLineScanner::TBreakTaken TLineScanner::TakeBreak(const TBreak& found)
{
    using namespace LineState;
    if (!found.opening) {
        // The block ends here, and its comment or string with it. When it
        // reads its closing text itself, it reads it as one token, so that
        // no comment or string can start inside it.
        m_construct = ocNone;
        if (m_partOfBlock) {
            m_construct = kForcedToken;
            m_forced = m_closeLength;
        }
        return tbTaken;
    }
    const quint32 construct = m_construct;
    const int token = m_token;
    if (!Push(*found.opening, construct, token))
        return tbLost;
    m_construct = ocNone;
    if (m_parser.OnGetToken && !m_parser.m_collected.empty()) {
        // What the interrupted comment or string had so far.
        const QByteArray text(m_parser.m_collected.data(), qsizetype(m_parser.m_collected.size()));
        m_parser.m_collected.clear();
        m_parser.OnGetToken(&m_parser, ConstructKind(construct), text);
    }
    // A child that reads its opening text is left to read it; one opened
    // behind text its parent read gets the transitions of a new block.
    return found.opening->partOfBlock ? tbTakenRead : tbTaken;
}
