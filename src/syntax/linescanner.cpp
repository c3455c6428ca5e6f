// The line parser proper: one pass over the bytes of a line, token by token,
// with the block transitions between tokens. A line is text of a given
// length; a NUL byte in it is an ordinary (blank) character. Every token
// consumes at least one character and the transitions at one position are
// capped, so no scheme, however built, can stall a line or read past its end.
//
// Inside a comment or string the scanner stops only where the scheme asks it
// to (a "break"): at the closing text of a block that closes inside its
// tokens, or at an opening that is looked for inside tokens. A break that
// opens a block keeps the comment or string in the block's path, and it goes
// on where the block closes; a break that closes the block ends it.

#include "linescanner.h"

#include "ansi.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

using namespace LineScan;

void TSyntaxParser::InitLineAttributes(int line, std::string_view text, uchar* attrs)
{
    if (IsLoading() || !m_scheme->IsCompiled())
        TSimpleParser::InitLineAttributes(line, text, attrs);
}

quint32 TSyntaxParser::ParseLine(std::string_view text, quint32 state, uchar* attrs)
{
    if (text.empty() || !attrs || IsLoading() || !m_scheme->IsCompiled())
        return text.empty() ? EmptyLineState(state) : state;
    return TLineScanner(*this, text, attrs).Run(state);
}


quint32 TSyntaxParser::ParseLineState(int line, std::string_view text, quint32 state, std::vector<uchar>& scratch)
{
    if (OnGetToken)
        return TSimpleParser::ParseLineState(line, text, state, scratch);
    SetCurrentLine(line);
    if (text.empty() || IsLoading() || !m_scheme->IsCompiled())
        return text.empty() ? EmptyLineState(state) : state;
    return TLineScanner(*this, text, nullptr).Run(state);
}

void TLineScanner::SelectPath(int path)
{
    const std::vector<TBlockInfo>& paths = m_scheme.BlockPaths();
    if (path < 0 || path >= int(paths.size()) || paths[size_t(path)].blockIndex >= int(m_blocks.size()))
        path = 0;
    const TBlockInfo& info = paths[size_t(path)];
    m_path = path;
    m_block = &m_blocks[size_t(path == 0 ? 0 : info.blockIndex)];
    m_caseFlag = path == 0 ? m_block->caseSensitive : info.caseSensitive;
    m_delimiter = path == 0 ? -1 : info.delimiterIndex;
    m_partOfBlock = path != 0 && info.partOfBlock;
    m_closing = path == 0 ? nullptr : info.closing;
    m_closeLength = info.closeLength;
    m_trigger = info.trigger.data();
    m_info = &info;
    m_hasBreaks = info.hasBreaks;
}

bool TLineScanner::Push(const TOpening& opening, quint32 resumeConstruct, int resumeToken)
{
    // A path entered between tokens is usually known already.
    const bool quick = resumeConstruct == LineState::ocNone && opening.quickSlot >= 0;
    int path = quick ? m_info->quick[size_t(opening.quickSlot)] : -1;
    if (path < 0) {
        path = m_scheme.PushPath(m_path, opening.childBlock, opening.delimiter, opening.partOfBlock,
                                 opening.caseSensitive, resumeConstruct, resumeToken);
        if (path < 0)
            return false; // every path the line state can name is taken
        if (quick)
            m_scheme.RememberPath(m_path, opening.quickSlot, path);
    }
    SelectPath(path);
    if (m_sink)
        ReportOpening(opening);
    // A block opened inside a comment or string reads only what follows;
    // nothing opens inside the opening text a block reads itself ("{" in
    // "${").
    m_openFrom = resumeConstruct != LineState::ocNone ? m_pos : 0;
    m_guardFrom = m_guardTo = 0;
    m_ownOpeningStart = opening.partOfBlock ? m_pos : -1;
    m_ownOpeningEnd = opening.partOfBlock ? m_pos + int(opening.text.size()) : 0;
    return true;
}

void TLineScanner::Pop()
{
    const TBlockInfo& info = *m_info;
    const quint32 resume = info.resumeConstruct;
    const int token = info.resumeToken;
    const bool hardClosing = info.closesInTokens && !info.partOfBlock;
    const int closeLength = m_closeLength;
    if (m_sink)
        ReportClosing();
    SelectPath(info.next < 0 ? 0 : info.next);
    m_openFrom = 0;
    m_guardFrom = m_guardTo = 0;
    m_ownOpeningStart = -1;
    m_ownOpeningEnd = 0;
    if (Q_LIKELY(!hardClosing && resume == LineState::ocNone))
        return;
    if (hardClosing) {
        m_openFrom = m_pos + closeLength;
        m_guardFrom = m_pos;
        m_guardTo = m_pos + closeLength;
    }
    if (resume != LineState::ocNone && ValidConstruct(resume, token)) {
        m_openFrom = std::max(m_openFrom, m_pos);
        // The comment or string the block opened in goes on.
        m_construct = resume;
        m_token = token;
        m_parser.m_collected.clear();
    }
}

void TLineScanner::LeaveBlock()
{
    Pop();
}

bool TLineScanner::ValidConstruct(quint32 construct, int token) const
{
    using namespace LineState;
    const TCompiledBlock& b = *m_block;
    switch (construct) {
    case ocMultiLineComment:
        return size_t(token) < b.multiLineComments.items.size();
    case ocSingleLineString:
        return size_t(token) < b.singleLineStrings.items.size();
    case ocMultiLineString:
        return size_t(token) < b.multiLineStrings.items.size();
    case ocSingleLineComment:
        return size_t(token) < b.singleLineComments.items.size();
    case ocFullLineComment:
        return size_t(token) < b.fullLineComments.items.size();
    case ocLineDirective:
        return true;
    default:
        return false;
    }
}

void TLineScanner::EnterState(quint32 state)
{
    using namespace LineState;
    const TFields in = Unpack(state);
    // The path knows the block, how it was opened and its case; the state's
    // copies of those are only written for whoever reads states.
    SelectPath(in.path);
    m_construct = in.construct;
    m_token = in.token;
    if (m_construct & kHereWordBit) {
        m_hereWord = m_block->hereDocument ? (m_construct & ~kHereWordBit) << 8 | quint32(m_token) : 0;
        m_construct = ocNone;
    }
    if (m_construct != ocNone && !ValidConstruct(m_construct, m_token))
        m_construct = ocNone;
    // A directive continued from the line before is as good as one seen on
    // this line.
    m_directiveSeen = m_construct == ocLineDirective;
}

quint32 TLineScanner::Run(quint32 state)
{
    EnterState(state);
    if (Q_UNLIKELY(m_hereWord != 0) && m_n > 0 && HereDocumentEnds<false>())
        return StateHere();
    return Loop<false>();
}

quint32 TLineScanner::RunPass()
{
    return Loop<true>();
}

template <bool kPass>
quint32 TLineScanner::Loop()
{
    using namespace LineState;
    const bool reportTokens = bool(m_parser.OnGetToken);
    int tokenStart = m_pos;
    for (;;) {
        if (m_construct == ocNone) {
            if (MayTransition())
                Transition();
        } else if (m_hasBreaks && m_pos != m_noBreakAt && m_construct != kForcedToken) {
            const bool at = m_pos < m_n && m_info->breakAt.Has(m_text[m_pos]);
            const bool before = m_pos > 0 && m_info->breakBefore.Has(m_text[m_pos - 1]);
            if (at || before) {
                const TBreak found = BreakAt(m_pos, at, before);
                if (found.pos >= 0) {
                    const TBreakTaken taken = TakeBreak(found);
                    if (taken == tbTaken)
                        continue;
                    if (taken == tbLost)
                        m_noBreakAt = m_pos;
                }
            }
        }
        if (m_pos >= m_n)
            break;
        const quint32 constructBefore = m_construct;
        const bool lineStartBefore = m_lineStart;
        NextToken();
        if (m_pos <= tokenStart)
            m_pos = tokenStart + 1;
        if (m_directiveAllowed) {
            m_directiveAllowed = m_kind <= tkDirective;
            m_lineStart = m_lineStart && m_kind == tkText;
        }
        Fill<kPass>(tokenStart);
        if constexpr (!kPass) {
            // Only symbols, comments and a line's first word may report.
            if (m_sink && (m_kind == tkSymbol || m_kind == tkMultiLineComment || lineStartBefore))
                ReportToken(tokenStart, constructBefore, lineStartBefore);
        }
        if (reportTokens) {
            const char* begin = reinterpret_cast<const char*>(m_text) + tokenStart;
            if (constructBefore != ocNone)
                m_parser.m_collected.append(begin, size_t(m_pos - tokenStart));
            else
                m_parser.m_collected.assign(begin, size_t(m_pos - tokenStart));
            if (m_construct == ocNone) {
                const QByteArray token(m_parser.m_collected.data(), qsizetype(m_parser.m_collected.size()));
                m_parser.OnGetToken(&m_parser, m_kind, token);
            }
        }
        tokenStart = m_pos;
        if (kPass && PassBoundary())
            return 0;
    }
    if (kPass)
        m_pass->stoppedAt = m_n;

    // Line comments and single-line strings end with their line, also when a
    // block they hold closed just at its end.
    if (m_construct == ocSingleLineComment || m_construct == ocFullLineComment || m_construct == kForcedToken ||
        (m_construct == ocSingleLineString && !(m_block->metaWrapsLines && m_text[m_n - 1] == m_block->metaSymbol)))
        m_construct = ocNone;
    if (Q_UNLIKELY(m_block->endsWithLine))
        EndLineBlocks();
    if (Q_UNLIKELY(m_herePending != nullptr))
        EnterHereDocument();
    return StateHere();
}

// -- block transitions ----------------------------------------------------------

bool TLineScanner::EndTest()
{
    if (!m_closing)
        return false;
    const std::string& right = *m_closing;
    const int length = m_closeLength;
    if (m_partOfBlock) {
        // The block read its closing text itself: it ends just behind it.
        // Not where its own opening text starts ('"' ... '"').
        const int start = m_pos - length;
        if (start < 0 || start == m_ownOpeningStart || !SameText(m_text + start, right, m_block->caseSensitive) ||
            RefusedBefore(start, right) ||
            (start > m_guardFrom && start < m_guardTo) || (m_info->closeEscape && Escaped(start, m_info->closeEscape)))
            return false;
    } else {
        // The parent reads the closing text: the block ends in front of it.
        if (m_n - m_pos < length || !SameText(m_text + m_pos, right, m_blocks[0].caseSensitive) ||
            RefusedAfter(m_pos, right) || (m_info->closeEscape && Escaped(m_pos, m_info->closeEscape)))
            return false;
    }
    Pop();
    return true;
}

void TLineScanner::Transition()
{
    using LineState::ocNone;
    bool skipEnd = false;
    for (int step = 0; step < kMaxTransitionSteps; ++step) {
        const bool skipped = skipEnd;
        skipEnd = skipped ? false : EndTest();
        // A block that closed back into its parent's comment or string: that
        // goes on here, and nothing opens inside it but through a break.
        if (m_construct != ocNone)
            return;
        const TCompiledBlock* block = m_block;
        bool pushedAfter = false;
        bool pushedHere = false;
        // Openings whose text the parent has just read.
        if (!block->openAfter.empty() && m_pos > 0 && block->openAfterLast.Has(m_text[m_pos - 1])) {
            for (const TOpening& opening : block->openAfter) {
                const int start = m_pos - int(opening.text.size());
                if (start >= std::max(m_openFrom, m_ownOpeningEnd) &&
                    SameText(m_text + start, opening.text, block->caseSensitive) &&
                    !RefusedBefore(start, opening.text) && !OpeningRefused(opening, start, m_pos)) {
                    pushedAfter = Push(opening);
                    break;
                }
            }
        }
        // Openings whose text the child reads.
        if (!pushedAfter && !block->openHere.empty() && m_pos < m_n && m_pos >= m_ownOpeningEnd &&
            block->openHereFirst.Has(m_text[m_pos])) {
            // (At the line's end the second character is taken as the first:
            // an opening of two characters cannot match there anyway.)
            ForCandidates(block->openHere, block->hereIndex, m_text[m_pos], m_text[m_pos + 1 < m_n ? m_pos + 1 : m_pos],
                          [&](const TOpening& opening) {
                              if (!At(m_pos, opening.text) || RefusedAfter(m_pos, opening.text) ||
                                  OpeningRefused(opening, m_pos, m_pos + int(opening.text.size())))
                                  return false;
                              pushedHere = Push(opening);
                              return true;
                          });
        }
        if (pushedAfter) {
            // The new block may end right here; if not, its end is not
            // tested again at this position.
            if (skipEnd || !EndTest()) {
                skipEnd = true;
                continue;
            }
            return;
        }
        if (pushedHere)
            return;
        // Nothing opened. When (a) tested the end here and found none, the
        // same test would find none again; only a skipped test is due.
        if (!skipped)
            return;
        skipEnd = EndTest();
        if (!skipEnd || m_construct != ocNone)
            return;
    }
}

// -- tokens ----------------------------------------------------------------------

void TLineScanner::NextToken()
{
    using namespace LineState;
    switch (m_construct) {
    case kForcedToken:
        m_pos = std::min(m_n, m_pos + std::max(m_forced, 1));
        m_construct = ocNone;
        m_kind = tkSymbol;
        m_attr = m_block->kindAttr[tkSymbol];
        return;
    case ocMultiLineComment:
        ReadComment(m_block->multiLineComments);
        return;
    case ocSingleLineComment:
    case ocFullLineComment:
        ReadLineComment();
        return;
    case ocSingleLineString:
    case ocMultiLineString:
        ReadString();
        return;
    case ocLineDirective:
        if (m_block->useComments && m_block->commentStart.Has(m_text[m_pos]) && TryComment()) {
            // A comment that runs to the line's end ends the directive too.
            if (m_kind != tkMultiLineComment)
                m_construct = ocNone;
            return;
        }
        ReadDirectiveText();
        return;
    default:
        break;
    }

    const uchar c = m_text[m_pos];
    const quint16* starts = m_block->starts.data();
    quint16 flags = starts[c];
    // In UTF-8 a byte >= 0x80 is part of a character the tables cannot
    // describe: only an identifier can start there.
    if (m_utf8 && c >= 0x80)
        flags = WideIdentChar(m_pos, true) > 0 ? quint16(sfAny | sfIdent) : quint16(0);
    if (flags & sfBlank) {
        // Blanks, control characters and NUL.
        do
            ++m_pos;
        while (m_pos < m_n && m_text[m_pos] <= 32);
        m_kind = tkText;
        m_attr = m_block->kindAttr[tkText];
        return;
    }
    if (flags & m_freeFlag) {
        do
            ++m_pos;
        while (m_pos < m_n && (starts[m_text[m_pos]] & m_freeFlag));
        m_kind = tkSymbol;
        m_attr = m_block->kindAttr[tkSymbol];
        return;
    }
    if (Q_UNLIKELY(flags & (sfHereDocument | sfEscapable))) {
        if ((flags & sfHereDocument) && TryHereDocument())
            return;
        if ((flags & sfEscapable) && Escaped(m_pos, m_block->escapeSymbol))
            flags &= quint16(~(sfComment | sfString));
    }
    if (!(flags & sfAny)) {
        // Nothing can start here: the character is a token of its own.
        ++m_pos;
        m_kind = kSymbolChars.Has(c) ? tkSymbol : tkText;
        m_attr = m_block->kindAttr[m_kind];
        return;
    }
    if ((flags & sfComment) && TryComment())
        return;
    if ((flags & sfString) && TryString())
        return;
    if ((flags & sfNumber) && TryNumber())
        return;
    if ((flags & sfDirective) && m_directiveAllowed && TryDirective())
        return;
    if ((flags & sfIdent) && TryIdentifier())
        return;
    ++m_pos;
    m_kind = kSymbolChars.Has(c) ? tkSymbol : tkText;
    m_attr = m_block->kindAttr[m_kind];
}

// The rest of an open multi-line comment, up to and including its end.
void TLineScanner::ReadComment(const TTokenTable& table)
{
    const TCompiledToken& item = table.items[size_t(m_token)];
    m_kind = tkMultiLineComment;
    m_attr = item.attr;
    int at = Find(item.right);
    if (at >= 0 && RefusedEnd(at, item.right))
        at = -1;
    if (m_hasBreaks) {
        const TBreak found = FindBreak(m_pos + 1, at < 0 ? m_n : at);
        if (found.pos >= 0) {
            m_pos = found.pos;
            return;
        }
    }
    if (at < 0) {
        m_pos = m_n;
        return;
    }
    m_pos = at + int(item.right.size());
    m_construct = m_directiveSeen && m_pos < m_n ? LineState::ocLineDirective : LineState::ocNone;
}

// The rest of a line comment a child block interrupted.
void TLineScanner::ReadLineComment()
{
    const bool full = m_construct == LineState::ocFullLineComment;
    const TTokenTable& table = full ? m_block->fullLineComments : m_block->singleLineComments;
    m_kind = full ? tkFullLineComment : tkSingleLineComment;
    m_attr = table.items[size_t(m_token)].attr;
    if (m_hasBreaks) {
        const TBreak found = FindBreak(m_pos + 1, m_n);
        if (found.pos >= 0) {
            m_pos = found.pos;
            return;
        }
    }
    m_pos = m_n;
    m_construct = LineState::ocNone;
}

// The rest of an open string, up to and including its end.
void TLineScanner::ReadString()
{
    const bool multiLine = m_construct == LineState::ocMultiLineString;
    const TTokenTable& table = multiLine ? m_block->multiLineStrings : m_block->singleLineStrings;
    const TCompiledToken& item = table.items[size_t(m_token)];
    m_kind = multiLine ? tkMultiLineString : tkSingleLineString;
    m_attr = item.attr;
    int at = Find(item.right);
    if (at >= 0 && RefusedEnd(at, item.right))
        at = -1;
    if (m_hasBreaks) {
        const TBreak found = FindBreak(m_pos + 1, at < 0 ? m_n : at);
        if (found.pos >= 0) {
            m_pos = found.pos;
            return;
        }
    }
    if (at < 0) {
        m_pos = m_n;
        const bool wraps = m_block->metaWrapsLines && m_text[m_n - 1] == m_block->metaSymbol;
        if (!multiLine && !wraps)
            m_construct = LineState::ocNone;
        return;
    }
    if (m_block->useMetaSymbol && at > m_pos && m_text[at - 1] == m_block->metaSymbol) {
        int metas = 0;
        for (int p = at - 1; p >= m_pos && m_text[p] == m_block->metaSymbol; --p)
            ++metas;
        if (metas % 2 == 1) {
            // An escaped closing character: the string goes on behind it.
            m_pos = at + 1;
            if (m_pos >= m_n && !multiLine)
                m_construct = LineState::ocNone;
            return;
        }
    }
    m_pos = at + int(item.right.size());
    m_construct = LineState::ocNone;
}

void TLineScanner::ReadDirectiveText()
{
    // One character after another; runs up to the next possible comment
    // start are read in one step, which colours them the same.
    m_kind = tkDirective;
    m_attr = m_block->kindAttr[tkDirective];
    const bool comments = m_block->useComments;
    do
        ++m_pos;
    while (m_pos < m_n && !(comments && m_block->commentStart.Has(m_text[m_pos])));
    if (m_pos >= m_n && !(m_block->metaWrapsLines && m_text[m_n - 1] == m_block->metaSymbol))
        m_construct = LineState::ocNone;
}

bool TLineScanner::TryComment()
{
    const TCompiledBlock& b = *m_block;
    const uchar c = m_text[m_pos];
    const auto& multi = b.multiLineComments.items;
    if (b.multiLineComments.firstChars.Has(c)) {
        for (size_t i = 0; i < multi.size(); ++i) {
            if (At(m_pos, multi[i].left) && !RefusedAfter(m_pos, multi[i].left)) {
                m_kind = tkMultiLineComment;
                m_attr = multi[i].attr;
                m_construct = LineState::ocMultiLineComment;
                m_token = int(i);
                m_pos += int(multi[i].left.size());
                return true;
            }
        }
    }
    // A line comment runs to the line's end, or to a break inside it.
    auto lineComment = [this](const TCompiledToken& item, int index, TTokenKind kind, quint32 construct) {
        m_kind = kind;
        m_attr = item.attr;
        if (m_hasBreaks) {
            const TBreak found = FindBreak(m_pos + int(item.left.size()), m_n);
            if (found.pos >= 0) {
                m_pos = found.pos;
                m_construct = construct;
                m_token = index;
                return;
            }
        }
        m_pos = m_n;
    };
    if (m_lineStart && b.fullLineComments.firstChars.Has(c)) {
        const auto& full = b.fullLineComments.items;
        for (size_t i = 0; i < full.size(); ++i) {
            if (At(m_pos, full[i].left) && !RefusedAfter(m_pos, full[i].left)) {
                lineComment(full[i], int(i), tkFullLineComment, LineState::ocFullLineComment);
                return true;
            }
        }
    }
    if (!b.singleLineComments.firstChars.Has(c))
        return false;
    const auto& single = b.singleLineComments.items;
    for (size_t i = 0; i < single.size(); ++i) {
        if (At(m_pos, single[i].left) && !RefusedAfter(m_pos, single[i].left)) {
            lineComment(single[i], int(i), tkSingleLineComment, LineState::ocSingleLineComment);
            return true;
        }
    }
    return false;
}

bool TLineScanner::TryString()
{
    const TCompiledBlock& b = *m_block;
    const auto& multi = b.multiLineStrings.items;
    for (size_t i = 0; i < multi.size() && b.multiLineStrings.firstChars.Has(m_text[m_pos]); ++i) {
        if (At(m_pos, multi[i].left) && !RefusedAfter(m_pos, multi[i].left)) {
            m_kind = tkMultiLineString;
            m_attr = multi[i].attr;
            m_construct = LineState::ocMultiLineString;
            m_token = int(i);
            m_pos += int(multi[i].left.size());
            return true;
        }
    }
    const auto& single = b.singleLineStrings.items;
    for (size_t i = 0; i < single.size(); ++i) {
        const std::string& left = single[i].left;
        if (!At(m_pos, left))
            continue;
        if (single[i].regex) {
            if (TryRegex(single[i]))
                return true;
            continue;
        }
        const int end = m_pos + int(left.size());
        // A delimiter that is a word itself must not run into one.
        if (b.first.Has(uchar(left.front())) && b.other.Has(uchar(left.back())) && end < m_n &&
            b.other.Has(m_text[end]))
            continue;
        if (b.hasKeys && i == 0 && TryKeyString(single[i]))
            return true;
        m_kind = tkSingleLineString;
        m_attr = single[i].attr;
        m_token = int(i);
        m_pos = end;
        m_construct = m_pos < m_n ? LineState::ocSingleLineString : LineState::ocNone;
        return true;
    }
    return false;
}

bool TLineScanner::TryDirective()
{
    const std::string& prefix = m_block->directivePrefix;
    if (prefix.empty() || !At(m_pos, prefix))
        return false;
    m_pos += int(prefix.size());
    m_kind = tkDirective;
    m_attr = m_block->kindAttr[tkDirective];
    m_directiveSeen = true;
    m_construct = m_pos < m_n ? LineState::ocLineDirective : LineState::ocNone;
    return true;
}

bool TLineScanner::TryIdentifier()
{
    const TCompiledBlock& b = *m_block;
    const int start = m_pos;
    int p = start;
    bool matched = false;
    // The affix item whose FontID paints the word (UseAffixFonts).
    const TCompiledToken* affix = nullptr;
    // Most words start with no prefix: one test passes over both lists.
    const bool mayAffix = b.identAffixStart.Has(m_text[start]);
    if (mayAffix && b.usePrefixedSuffixedIdentifiers) {
        for (const TCompiledToken& item : b.identPrefixesSuffixes.items) {
            if (!At(start, item.left))
                continue;
            const int word = start + int(item.left.size());
            const int end = IdentifierEnd(word);
            if (end > word && At(end, item.right)) {
                p = end + int(item.right.size());
                matched = true;
                affix = &item;
                break;
            }
        }
    }
    if (!matched) {
        for (size_t i = 0; mayAffix && i < b.identPrefixes.items.size(); ++i) {
            const TCompiledToken& item = b.identPrefixes.items[i];
            if (!At(p, item.left))
                continue;
            p += int(item.left.size());
            const int end = IdentifierEnd(p);
            if (end > p) {
                p = end;
                matched = true;
                affix = &item;
                break;
            }
        }
        if (!matched) {
            const int end = IdentifierEnd(p);
            matched = end > p;
            p = end;
        }
        if (matched && b.useSuffixedIdentifiers && p < m_n && b.identSuffixes.firstChars.Has(m_text[p])) {
            for (const TCompiledToken& item : b.identSuffixes.items) {
                if (At(p, item.left)) {
                    p += int(item.left.size());
                    if (item.hasFont || !affix)
                        affix = &item;
                    break;
                }
            }
        }
    }
    if (!matched)
        return false;
    m_pos = p;
    uchar attr = 0;
    if (b.useKeywords && m_attrs && IsKeyword(start, p, attr)) {
        m_kind = tkKeyword;
        m_attr = attr;
    } else {
        m_kind = tkIdentifier;
        m_attr = b.useAffixFonts && affix && affix->hasFont ? affix->attr : b.kindAttr[tkIdentifier];
    }
    return true;
}

bool TLineScanner::IsKeyword(int start, int end, uchar& attr)
{
    const TCompiledBlock& b = *m_block;
    const size_t length = size_t(end - start);
    if (length == 0 || length > b.longestKeyword)
        return false;
    const char* text = reinterpret_cast<const char*>(m_text) + start;
    // Without commas in the keywords and in the word, ",word," is in a
    // bucket exactly when the word equals one of the bucket's keywords. In a
    // case-sensitive block the word is then compared where it stands.
    const bool exact = !b.keywordWithComma && !b.wordWithComma;
    char local[64];
    const char* word = text;
    if (!exact || !b.caseSensitive) {
        // ",word," in a buffer on the stack, or in the parser's for long
        // words; lowercased unless the block is case-sensitive.
        char* buffer = local;
        if (length + 2 > sizeof local) {
            m_parser.m_word.resize(length + 2);
            buffer = m_parser.m_word.data();
        }
        buffer[0] = ',';
        buffer[length + 1] = ',';
        if (b.caseSensitive) {
            std::memcpy(buffer + 1, text, length);
        } else {
            const uchar* lower = Ansi::LowerTable();
            for (size_t i = 0; i < length; ++i)
                buffer[i + 1] = char(lower[uchar(text[i])]);
        }
        word = buffer + 1;
    }
    const uchar first = uchar(word[0]);
    const std::uint64_t lengthBit = std::uint64_t(1) << std::min<size_t>(length, 63);
    for (const TKeywordTable& set : b.keywords) {
        if (!(set.lengths[first] & lengthBit))
            continue;
        const std::string& bucket = set.buckets[first];
        if (exact) {
            for (const auto& [offset, size] : set.words[first]) {
                if (size == length && std::memcmp(bucket.data() + offset, word, length) == 0) {
                    if (set.hasContext && !ContextHolds(set, start, end))
                        break;
                    attr = set.attr;
                    return true;
                }
            }
        } else if (std::string_view(bucket).find(std::string_view(word - 1, length + 2)) != std::string_view::npos &&
                   (!set.hasContext || ContextHolds(set, start, end))) {
            attr = set.attr;
            return true;
        }
    }
    return false;
}

