// Resumed passes of the line scanner: a pass starts inside a line from a
// resume point (linepoints.h says what a point carries), records new points
// at token boundaries as it goes, and stops where it meets an old point in
// the same state, or at a limit. The token loop itself is the scanner's own
// (linescanner.cpp): a pass enters it through RunPass, so that a full run
// keeps its loop inlined and pays nothing for what a pass does at every
// token.

#include "linescanner.h"

#include "linepoints.h"

#include <algorithm>
#include <cstring>

using namespace LineScan;
using namespace LinePoint;

bool TLineScanner::PointHere(TResumePoint& point) const
{
    // A here-document opened on the line is entered at its end: a point
    // behind its opening would lose it.
    if (m_construct == kForcedToken || m_pos >= m_n || m_text[m_pos] > 32 || m_openFrom > m_pos || m_guardTo > m_pos ||
        m_herePending || m_ownOpeningEnd > m_pos)
        return false;
    TLocal local;
    local.directiveAllowed = m_directiveAllowed;
    local.lineStart = m_lineStart;
    local.directiveSeen = m_directiveSeen;
    local.open = m_openFrom == 0 || m_pos - m_openFrom >= kFar ? kFar : m_pos - m_openFrom;
    if (m_guardTo > 0 && m_pos - m_guardTo < kFar) {
        local.guard = m_pos - m_guardTo;
        local.guardLength = m_guardTo - m_guardFrom;
        if (local.guardLength < 0 || local.guardLength > kFar)
            return false;
    }
    point.pos = m_pos;
    point.state = StateHere();
    point.local = Pack(local);
    return true;
}

quint32 TLineScanner::Resume(const TResumePoint& from, TResumablePass& pass)
{
    m_pass = &pass;
    m_attrs = pass.attrs;
    // A pass covers part of a line: the line's structure is a full run's.
    m_sink = nullptr;
    pass.stoppedAt = from.pos;
    pass.converged = false;
    m_pos = std::clamp(int(from.pos), 0, m_n);
    m_lastPoint = m_pos;
    EnterState(from.state);
    const TLocal local = LinePoint::Unpack(from.local);
    if (m_pos == 0) {
        // The line's start: only the state counts, as in a full run.
        m_lastPoint = 0;
    } else {
        m_directiveAllowed = local.directiveAllowed;
        m_lineStart = local.lineStart;
        m_directiveSeen = m_directiveSeen || local.directiveSeen;
    }
    m_openFrom = local.open == kFar || m_pos == 0 ? 0 : std::max(0, m_pos - local.open);
    if (local.guard != kFar && m_pos > 0) {
        m_guardTo = std::max(0, m_pos - local.guard);
        m_guardFrom = std::max(0, m_guardTo - local.guardLength);
    }
    // The old points a pass may stop on.
    while (m_oldIndex < pass.oldCount && pass.old[m_oldIndex].pos < std::max(m_pos + 1, pass.stopFrom))
        ++m_oldIndex;
    if (m_pos >= pass.limit)
        return 0;
    if (m_pos == 0 && m_hereWord != 0 && m_n > 0 && HereDocumentEnds<true>()) {
        pass.stoppedAt = m_n;
        return StateHere();
    }
    return RunPass();
}

bool TLineScanner::PassBoundary()
{
    TResumablePass& pass = *m_pass;
    if (m_pos >= pass.limit) {
        pass.stoppedAt = m_pos;
        return true;
    }
    const bool wanted = (pass.points && m_pos - m_lastPoint >= pass.spacing) ||
                        (m_oldIndex < pass.oldCount && pass.old[m_oldIndex].pos <= m_pos);
    if (!wanted)
        return false;
    TResumePoint point;
    if (!PointHere(point))
        return false;
    while (m_oldIndex < pass.oldCount && pass.old[m_oldIndex].pos < m_pos)
        ++m_oldIndex;
    if (m_oldIndex < pass.oldCount && pass.old[m_oldIndex] == point) {
        pass.stoppedAt = m_pos;
        pass.converged = true;
        return true;
    }
    if (pass.points && m_pos - m_lastPoint >= pass.spacing) {
        pass.points->push_back(point);
        m_lastPoint = m_pos;
    }
    return false;
}

void TLineScanner::FillClipped(int start)
{
    const int from = std::max(start, m_pass->attrFrom);
    const int to = std::min(m_pos, m_pass->attrTo);
    if (from < to)
        std::memset(m_attrs + (from - m_pass->attrFrom), m_attr, size_t(to - from));
}

namespace {

// Whether every text a block opens, closes or reads as a comment, string,
// directive or affix is shorter than kFar.
bool TextsWithinReach(const std::vector<TCompiledBlock>& blocks)
{
    auto shortText = [](const std::string& text) { return text.size() < size_t(kFar); };
    for (const TCompiledBlock& b : blocks) {
        for (const TTokenTable* table :
             {&b.singleLineComments, &b.multiLineComments, &b.fullLineComments, &b.singleLineStrings,
              &b.multiLineStrings, &b.numPrefixes, &b.numSuffixes, &b.numPrefixesSuffixes, &b.identPrefixes,
              &b.identSuffixes, &b.identPrefixesSuffixes}) {
            for (const TCompiledToken& token : table->items) {
                if (!shortText(token.left) || !shortText(token.right))
                    return false;
            }
        }
        if (!shortText(b.directivePrefix))
            return false;
        for (const TClosing& closing : b.closings) {
            if (!shortText(closing.right))
                return false;
        }
        for (const std::vector<TOpening>* list : {&b.openHere, &b.openAfter, &b.tokenOpenHere, &b.tokenOpenAfter}) {
            for (const TOpening& opening : *list) {
                if (!shortText(opening.text))
                    return false;
            }
        }
    }
    return true;
}

} // namespace

bool TSyntaxParser::Resumable() const
{
    return !OnGetToken && m_scheme->IsCompiled() && TextsWithinReach(m_scheme->CompiledBlocks());
}

int TSyntaxParser::ResumeReach() const
{
    return kReach;
}

quint32 TSyntaxParser::ParseFrom(std::string_view text, const TResumePoint& from, TResumablePass& pass)
{
    pass.stoppedAt = int(text.size());
    pass.converged = false;
    if (text.empty() || IsLoading() || !m_scheme->IsCompiled() || OnGetToken)
        return from.state;
    return TLineScanner(*this, text, nullptr).Resume(from, pass);
}
