#include "linematcher.h"

#include "ansi.h"
#include "expressionsieve.h"
#include "internalstrings.h"
#include "textcodec.h"
#include "utf8.h"

#include <algorithm>

TLineMatcher::TLineMatcher() = default;
TLineMatcher::~TLineMatcher() = default;

QRegularExpressionMatch TLineMatcher::RunExpression(const QRegularExpression& expression, QStringView subject,
                                                    qsizetype offset)
{
    return expression.match(subject, offset);
}

void TLineMatcher::Decode(const char* bytes, int length, char16_t* out)
{
    static const auto table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = Ansi::ToUnicode(uchar(b));
        return t;
    }();
    for (int i = 0; i < length; ++i)
        out[i] = table[uchar(bytes[i])];
}

void TLineMatcher::Decode(const char* bytes, int length, QString& into)
{
    // resize keeps the room the buffer already has.
    into.resize(length);
    Decode(bytes, length, reinterpret_cast<char16_t*>(into.data()));
}

QString TLineMatcher::RequiredLiteral(const QString& pattern, bool& foldCase)
{
    // The runs of plain characters outside every group and class, in an
    // expression with no alternative at its top, each stand in every match.
    // Whatever this reading does not follow (quoting, code escapes, extended
    // mode, an unclosed brace) gives no literal, which only costs speed.
    QString best, run;
    int depth = 0;
    auto endRun = [&] {
        if (run.size() > best.size())
            best = run;
        run.clear();
    };
    // A quantifier that allows none makes the character before it optional.
    auto dropOptional = [&] {
        if (!run.isEmpty())
            run.chop(1);
        endRun();
    };
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = pattern[i];
        switch (c.unicode()) {
        case u'\\': {
            endRun();
            if (i + 1 >= n)
                return {};
            const QChar e = pattern[++i];
            if (e.isDigit()) {
                // A back reference or an octal code, of any length.
                while (i + 1 < n && pattern[i + 1].isDigit())
                    ++i;
            } else if (e.isLetterOrNumber() && !QStringView(u"dDwWsShHvVRXbBAzZGKE").contains(e)) {
                return {};
            }
            break;
        }
        case u'[': {
            endRun();
            qsizetype j = i + 1;
            if (j < n && pattern[j] == u'^')
                ++j;
            if (j < n && pattern[j] == u']')
                ++j;
            for (; j < n && pattern[j] != u']'; ++j) {
                if (pattern[j] == u'\\') {
                    if (j + 1 < n && pattern[j + 1] == u'Q')
                        return {};
                    ++j;
                } else if (pattern[j] == u'[' && j + 1 < n && QStringView(u":.=").contains(pattern[j + 1])) {
                    return {};
                }
            }
            if (j >= n)
                return {};
            i = j;
            break;
        }
        case u'(':
            endRun();
            if (i + 2 < n && pattern[i + 1] == u'?') {
                // Options set inside the expression: extended mode makes
                // blanks no characters, and a case option may fold the run.
                for (qsizetype j = i + 2; j < n && (pattern[j].isLetter() || pattern[j] == u'-' || pattern[j] == u'^');
                     ++j) {
                    if (pattern[j] == u'x')
                        return {};
                    foldCase = true;
                }
            }
            ++depth;
            break;
        case u')':
            endRun();
            --depth;
            break;
        case u'|':
            if (depth == 0)
                return {};
            endRun();
            break;
        case u'?':
        case u'*':
            dropOptional();
            break;
        case u'{': {
            dropOptional();
            const qsizetype close = pattern.indexOf(u'}', i);
            if (close < 0)
                return {};
            i = close;
            break;
        }
        case u'+':
        case u'^':
        case u'$':
        case u'.':
            endRun();
            break;
        default:
            if (depth == 0)
                run += c;
            break;
        }
    }
    endRun();
    return best;
}

bool TLineMatcher::Prepare(const TSearchOptions& options, const TCharSet& delimiters, QString* error,
                           TTextEncoding encoding)
{
    m_utf8 = encoding == MemoTypes::teUtf8;
    m_regular = options.regularExpressions;
    m_plainAsExpression = false;
    m_caseSensitive = options.caseSensitive;
    m_wholeWords = options.wholeWordsOnly;
    m_delimiters = delimiters;
    m_unmatchable = false;
    m_sieve.reset();
    // In UTF-8 a byte >= 0x80 is part of a sequence, never a letter alone.
    auto lower = [this](int c) { return m_utf8 && c >= 0x80 ? uchar(c) : Ansi::Lower(uchar(c)); };
    for (int c = 0; c < 256; ++c)
        m_fold[size_t(c)] = m_caseSensitive ? uchar(c) : lower(c);

    // Line breaks cannot go into a line: the replacement leaves them out.
    m_replacement = TextCodec::Encode(options.replaceText, encoding);
    m_replacement.replace('\r', QByteArray()).replace('\n', QByteArray());

    if (options.textToFind.isEmpty())
        return false;
    // In a Windows-1252 document the search text goes through the same
    // reading as the lines.
    const TTextEncoding searched = m_utf8 ? encoding : MemoTypes::teWindows1252;
    auto representable = [searched](const QString& text) {
        qsizetype unrepresentable = -1;
        TextCodec::Encode(text, searched, &unrepresentable);
        return unrepresentable < 0;
    };
    auto ascii = [](const QString& text) {
        return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    };
    QString pattern = options.textToFind;
    if (!m_regular && m_utf8 && !m_caseSensitive && !ascii(pattern)) {
        m_regular = true;
        m_plainAsExpression = true;
        pattern = QRegularExpression::escape(pattern);
    }
    if (m_regular) {
        QRegularExpression::PatternOptions flags = QRegularExpression::NoPatternOption;
        if (!m_caseSensitive)
            flags |= QRegularExpression::CaseInsensitiveOption;
        // Letters and digits beyond ASCII are word characters (\w, \b) in
        // a UTF-8 document, as the parser reads them too.
        if (m_utf8)
            flags |= QRegularExpression::UseUnicodePropertiesOption;
        m_expression = QRegularExpression(pattern, flags);
        if (!m_expression.isValid()) {
            // One pass of arg: a "%" in the expression stays as typed.
            if (error)
                *error = QStringLiteral("%1 is invalid mask at (%2): %3")
                             .arg(options.textToFind, QString::number(m_expression.patternErrorOffset() + 1),
                                  m_expression.errorString());
            return false;
        }
        m_expression.optimize();
        bool foldCase = !m_caseSensitive;
        const QString literal = RequiredLiteral(pattern, foldCase);
        std::array<uchar, 256> fold{};
        for (int c = 0; c < 256; ++c)
            fold[size_t(c)] = foldCase ? lower(c) : uchar(c);
        // Folded UTF-8 bytes cannot stand for a non-ASCII letter's other case.
        const bool usable = representable(literal) && !(m_utf8 && foldCase && !ascii(literal));
        m_literal.Prepare(usable ? TextCodec::Encode(literal, searched) : QByteArray(), fold);
        // The sieve reads a block byte for byte; UTF-8 lines are tried one
        // by one (still only those holding the literal).
        if (!m_utf8)
            m_sieve = std::make_unique<TExpressionSieve>(pattern, flags, m_literal);
        return true;
    }
    m_unmatchable = !representable(options.textToFind);
    m_literal.Prepare(TextCodec::Encode(options.textToFind, searched), m_fold);
    return true;
}

void TLineMatcher::SetLine(std::string_view line, int to)
{
    m_line = line;
    m_to = std::clamp(to, 0, int(line.size()));
    m_candidatesReady = false;
    m_subjectReady = false;
    m_gaveUp = false;
}

void TLineMatcher::DecodeLine()
{
    if (m_subjectReady)
        return;
    m_subjectReady = true;
    if (!m_utf8) {
        Decode(m_line.data(), m_to, m_subject);
        return;
    }
    m_subject = TextCodec::Decode(m_line.data(), m_to, MemoTypes::teUtf8);
    m_offsets.clear();
    m_offsets.reserve(size_t(m_subject.size()) + 1);
    const char* const begin = m_line.data();
    const char* const end = begin + m_to;
    for (const char* p = begin; p < end;) {
        const int n = uchar(*p) < 0x80 ? 1 : std::max(1, Utf8::SequenceLength(p, end));
        m_offsets.push_back(int(p - begin));
        // A character beyond U+FFFF takes two units; both start at its bytes.
        if (n == 4)
            m_offsets.push_back(int(p - begin));
        p += n;
    }
    m_offsets.push_back(m_to);
}

qsizetype TLineMatcher::SubjectIndex(int offset) const
{
    if (!m_utf8)
        return offset;
    return std::lower_bound(m_offsets.begin(), m_offsets.end(), offset) - m_offsets.begin();
}

int TLineMatcher::ByteOffset(qsizetype index) const
{
    if (!m_utf8 || index < 0)
        return int(index);
    return m_offsets[size_t(std::min<qsizetype>(index, qsizetype(m_offsets.size()) - 1))];
}

bool TLineMatcher::Qualifies(int start, int end) const
{
    if (!m_wholeWords)
        return true;
    auto wordChar = [this](char c) { return uchar(c) > 32 && !m_delimiters.Has(uchar(c)); };
    if (start > 0 && wordChar(m_line[size_t(start - 1)]))
        return false;
    return end >= int(m_line.size()) || !wordChar(m_line[size_t(end)]);
}

bool TLineMatcher::ExpressionAt(int offset, TLineMatch& match)
{
    DecodeLine();
    const QRegularExpressionMatch found = RunExpression(m_expression, m_subject, SubjectIndex(offset));
    if (!found.isValid())
        m_gaveUp = true;
    if (!found.hasMatch())
        return false;
    match.start = ByteOffset(found.capturedStart());
    match.length = ByteOffset(found.capturedEnd()) - match.start;
    match.groups.clear();
    for (int i = 0; i <= found.lastCapturedIndex(); ++i) {
        const int start = ByteOffset(found.capturedStart(i));
        match.groups.emplace_back(start, start < 0 ? 0 : ByteOffset(found.capturedEnd(i)) - start);
    }
    return true;
}

bool TLineMatcher::FindForward(int from, bool skipEmptyAtFrom, TLineMatch& match)
{
    from = std::max(from, 0);
    if (from > m_to || m_unmatchable)
        return false;
    if (!m_regular) {
        const int n = m_literal.Length();
        for (int at = m_literal.Find(m_line.data(), from, m_to); at >= 0;
             at = m_literal.Find(m_line.data(), at + 1, m_to)) {
            if (Qualifies(at, at + n)) {
                match.start = at;
                match.length = n;
                match.groups.clear();
                return true;
            }
        }
        return false;
    }
    for (int offset = from; offset <= m_to; offset = match.start + 1) {
        if (!ExpressionAt(offset, match))
            return false;
        const bool emptyAtFrom = match.length == 0 && match.start == from && skipEmptyAtFrom;
        if (!emptyAtFrom && Qualifies(match.start, match.End()))
            return true;
        // Every retry starts at least one character further on.
    }
    return false;
}

void TLineMatcher::FindCandidates()
{
    m_candidates.clear();
    TLineMatch match;
    // Matches do not overlap (an empty one steps a character on), so that a
    // line costs one pass however long its matches are.
    for (int offset = 0; offset <= m_to && ExpressionAt(offset, match);
         offset = match.length > 0 ? match.End() : match.start + 1)
        m_candidates.push_back(match);
    m_candidatesReady = true;
}

bool TLineMatcher::FindBackward(int from, int to, bool skipEmptyAtTo, TLineMatch& match)
{
    from = std::max(from, 0);
    to = std::min(to, m_to);
    if (from > to || m_unmatchable)
        return false;
    if (!m_regular) {
        const int n = m_literal.Length();
        for (int at = to - n; n > 0 && at >= from; --at) {
            if (m_literal.At(m_line.data() + at) && Qualifies(at, at + n)) {
                match.start = at;
                match.length = n;
                match.groups.clear();
                return true;
            }
        }
        return false;
    }
    if (!m_candidatesReady)
        FindCandidates();
    // The candidates are in order of their starts: begin with the last one
    // starting at or before to.
    auto it = std::upper_bound(m_candidates.begin(), m_candidates.end(), to,
                               [](int position, const TLineMatch& candidate) { return position < candidate.start; });
    while (it != m_candidates.begin()) {
        const TLineMatch& candidate = *--it;
        if (candidate.start < from)
            return false;
        const bool emptyAtTo = candidate.length == 0 && candidate.start == to && skipEmptyAtTo;
        if (candidate.End() <= to && !emptyAtTo && Qualifies(candidate.start, candidate.End())) {
            match = candidate;
            return true;
        }
    }
    return false;
}

int TLineMatcher::ScanForLiteral(const TInternalStrings& lines, int line, int limit, bool forward) const
{
    const int step = forward ? 1 : -1;
    for (; forward ? line <= limit : line >= limit; line += step) {
        const std::string_view text = lines.RawText(line);
        if (m_literal.Find(text.data(), 0, int(text.size())) >= 0)
            return line;
    }
    return line;
}

int TLineMatcher::NextCandidate(const TInternalStrings& lines, int line, int limit, bool forward)
{
    if (m_unmatchable)
        return forward ? std::max(line, limit + 1) : std::min(line, limit - 1);
    if (m_sieve && m_sieve->Usable())
        return m_sieve->NextCandidate(lines, line, limit, forward);
    if (m_literal.Length() > 0)
        return ScanForLiteral(lines, line, limit, forward);
    return line;
}

QByteArray TLineMatcher::Replacement(const TLineMatch& match) const
{
    if (!m_regular || m_plainAsExpression || !m_replacement.contains('\\'))
        return m_replacement;
    QByteArray text;
    for (qsizetype i = 0; i < m_replacement.size(); ++i) {
        const char c = m_replacement[i];
        const char next = i + 1 < m_replacement.size() ? m_replacement[i + 1] : '\0';
        if (c == '\\' && next >= '0' && next <= '9') {
            const size_t group = size_t(next - '0');
            if (group < match.groups.size() && match.groups[group].first >= 0) {
                const auto [start, length] = match.groups[group];
                text.append(m_line.data() + start, length);
            }
            ++i;
        } else if (c == '\\' && next == '\\') {
            text.append('\\');
            ++i;
        } else {
            text.append(c);
        }
    }
    return text;
}
