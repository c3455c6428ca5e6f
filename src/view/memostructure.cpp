// The editor control's side of the text's structure (see memostructure.h).

#include "memostructure.h"

#include "custommemo.h"
#include "memosource.h"
#include "textstyle.h"

#include <QTimer>

#include <cctype>

namespace {

// Lines this long are parsed in pieces (longlines.h): nothing on them is
// looked for at the caret, which would parse all of it.
constexpr int kLongestMarkedLine = 1 << 16;

bool isBracket(char c)
{
    return c && std::strchr("()[]{}", c);
}

bool isNameChar(char c)
{
    return std::isalnum(uchar(c)) || c == ':' || c == '_' || c == '-' || c == '.';
}

} // namespace

bool TMemoStructure::UpdateOutline()
{
    const bool shown = m_memo.m_options.testFlag(moHideInvisibleLines) && !m_memo.m_wordWrap;
    if (shown == m_memo.m_rows.SkipHidden())
        return false;
    m_memo.m_rows.SetSkipHidden(shown);
    return true;
}

void TMemoStructure::Attached()
{
    m_matched.clear();
    m_unmatched.clear();
    m_relayoutAfterPaint = false;
    m_foldGeneration = m_memo.m_source ? m_memo.m_source->Folds().Generation() : 0;
    UpdateOutline();
}

void TMemoStructure::SourceChanged(const TMemoChange& change)
{
    TCustomMemoSource* source = m_memo.m_source;
    if (!source)
        return;
    if ((change.flags & (Change::kAttributesReset | Change::kFolding)) && UpdateOutline())
        m_memo.ResetMetrics();
    if (source->Folds().Generation() != m_foldGeneration)
        FoldsChanged();
    if (change.flags & (Change::kCaretMoved | Change::kText | Change::kAttributesReset))
        UpdateMarks();
}

void TMemoStructure::LinesParsed()
{
    if (!m_memo.m_source || m_memo.m_source->Folds().Generation() == m_foldGeneration)
        return;
    if (m_memo.m_painting)
        m_relayoutAfterPaint = true;
    else
        FoldsChanged();
}

void TMemoStructure::AfterPaint()
{
    if (!m_relayoutAfterPaint)
        return;
    m_relayoutAfterPaint = false;
    // Not inside the paint: laying out scrolls.
    QTimer::singleShot(0, &m_memo, [this] {
        if (m_memo.m_source && m_memo.m_source->Folds().Generation() != m_foldGeneration)
            FoldsChanged();
    });
}

void TMemoStructure::FoldsChanged()
{
    TCustomDCMemo& memo = m_memo;
    m_foldGeneration = memo.m_source->Folds().Generation();
    if (memo.m_painting) {
        m_relayoutAfterPaint = true;
        return;
    }
    // The top row must be a shown line; every row below it may have moved.
    memo.ScrollTo(memo.m_top, memo.m_leftColumn);
    memo.UpdateLayout();
    memo.UpdateScrollBars();
    memo.InvalidateCaret();
    memo.viewport()->update();
}

// -- marks at the caret ----------------------------------------------------------------

void TMemoStructure::InvalidateMarks()
{
    for (const auto* marks : {&m_matched, &m_unmatched}) {
        for (const TMatchRange& mark : *marks)
            m_memo.InvalidateLines(mark.line, mark.line);
    }
}

void TMemoStructure::UpdateMarks()
{
    InvalidateMarks();
    m_matched.clear();
    m_unmatched.clear();
    TCustomMemoSource* source = m_memo.m_source;
    if (!source || !source->SyntaxParser() || !source->SyntaxParser()->ReportsStructure())
        return;
    const TTextPos caret = source->Caret();
    if (caret.line >= source->LineCount() || source->LineLength(caret.line) > kLongestMarkedLine)
        return;
    // Most places have no bracket next to them and are in no tag name: those
    // are told from the text around the caret, without a parse.
    const int from = std::max(0, caret.column - 64);
    const QByteArray around = source->LineSpan(caret.line, from, caret.column + 1);
    const int at = caret.column - from;
    auto charAt = [&around](int i) { return i >= 0 && i < around.size() ? around[i] : '\0'; };
    bool candidate = isBracket(charAt(at)) || isBracket(charAt(at - 1));
    if (!candidate) {
        int start = at;
        while (start > 0 && isNameChar(charAt(start - 1)))
            --start;
        if (charAt(start - 1) == '/')
            --start;
        candidate = charAt(start - 1) == '<';
    }
    if (!candidate)
        return;
    const TStructureMatch match = source->MatchAt(caret);
    if (match.line < 0 || match.result == TStructureMatch::mrNone)
        return;
    const TMatchRange mark{match.line, match.column, match.column + match.length};
    if (match.result == TStructureMatch::mrUnmatched) {
        m_unmatched.push_back(mark);
    } else {
        m_matched.push_back(mark);
        m_matched.push_back({match.partnerLine, match.partnerColumn, match.partnerColumn + match.partnerLength});
    }
    InvalidateMarks();
}

void TMemoStructure::AddMarks(TRenderConfig& config) const
{
    config.brackets = m_matched;
    config.unmatchedBrackets = m_unmatched;
    const TTextStyles* styles = m_memo.m_textStyles;
    const int error = styles ? styles->IndexOfName(QStringLiteral("Error line")) : -1;
    if (error >= 0) {
        config.errorColor = styles->At(error)->EffectiveFont().Color();
        config.errorBackColor = styles->At(error)->EffectiveColor();
    }
}
