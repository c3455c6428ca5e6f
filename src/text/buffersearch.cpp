#include "buffersearch.h"

#include "textsnapshot.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The literal is looked for this many bytes at a time (the parts overlapping
// by its length), so that a cancel is seen within a millisecond or so.
constexpr qint64 kScanStep = qint64(1) << 20;

// The next CR and the next LF from a place on, each found once and kept
// until the search passes it: a text without CRs is searched for one once,
// not once per line.
class TLineEnds {
public:
    TLineEnds(const char* data, const char* end) : m_data(data), m_end(end) {}

    // The first CR or LF at or after p (the end when there is none).
    const char* Next(const char* p)
    {
        if (m_cr < p - m_data)
            m_cr = find('\r', p);
        if (m_lf < p - m_data)
            m_lf = find('\n', p);
        return m_data + std::min(m_cr, m_lf);
    }

    // Where the line after the line end at p starts.
    const char* After(const char* p) const { return *p == '\r' && p + 1 < m_end && p[1] == '\n' ? p + 2 : p + 1; }

private:
    qint64 find(char c, const char* from) const
    {
        const void* hit = std::memchr(from, c, size_t(m_end - from));
        return (hit ? static_cast<const char*>(hit) : m_end) - m_data;
    }

    const char* m_data;
    const char* m_end;
    qint64 m_cr = -1;
    qint64 m_lf = -1;
};

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

} // namespace

bool TBufferSearch::Prepare(const TSearchOptions& options, const TCharSet& delimiters, TTextEncoding encoding,
                            QString* error)
{
    m_literal = nullptr;
    if (!m_matcher.Prepare(options, delimiters, error, encoding))
        return false;
    // A literal holding a line break never lies inside a line: lines are then
    // tried one by one, where it is not found either.
    const TLiteralScanner* literal = m_matcher.Literal();
    if (literal && !literal->Folded().contains('\n') && !literal->Folded().contains('\r'))
        m_literal = literal;
    return true;
}

QByteArray TBufferSearch::Literal() const
{
    return m_literal ? m_literal->Folded() : QByteArray();
}

bool TBufferSearch::MayMatch(const char* data, qint64 size, const std::atomic<bool>* cancel) const
{
    if (m_matcher.Unmatchable())
        return false;
    if (!m_literal)
        return true;
    const qint64 n = m_literal->Length();
    for (const char* pos = data; data + size - pos >= n;) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return false;
        const qint64 span = std::min<qint64>(data + size - pos, kScanStep);
        if (m_literal->Find(pos, 0, int(span)) >= 0)
            return true;
        if (span == data + size - pos)
            break;
        pos += span - n + 1;
    }
    return false;
}

qint64 TBufferSearch::CountLineEnds(const char* begin, const char* end)
{
    qint64 count = 0;
    const char* p = begin;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        count += __builtin_popcount(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf))));
    }
#endif
    for (; p < end; ++p)
        count += *p == '\n';
    // A CR ends a line of its own only when no LF follows it.
    for (const char* cr = begin; cr < end;) {
        const void* hit = std::memchr(cr, '\r', size_t(end - cr));
        if (!hit)
            break;
        cr = static_cast<const char*>(hit) + 1;
        count += cr == end || *cr != '\n';
    }
    return count;
}

bool TBufferSearch::SearchLine(qint64 line, const char* begin, const char* end, qint64 offset, const TOnLine& onLine)
{
    const int length = int(end - begin);
    m_matcher.SetLine(std::string_view(begin, size_t(length)), length);
    m_matches.clear();
    TLineMatch match;
    int from = 0;
    bool skipEmpty = false;
    while (m_matcher.FindForward(from, skipEmpty, match)) {
        m_matches.push_back(match);
        from = match.End();
        skipEmpty = true;
    }
    if (m_matcher.GaveUp())
        m_gaveUp = true;
    if (m_matches.empty())
        return true;
    TLineHits hits;
    hits.line = line;
    hits.text = std::string_view(begin, size_t(length));
    hits.offset = offset;
    hits.matches = &m_matches;
    return onLine(hits);
}

bool TBufferSearch::Search(const char* data, qint64 size, qint64 firstLine, const TOnLine& onLine,
                           const std::atomic<bool>* cancel)
{
    m_gaveUp = false;
    if (m_matcher.Unmatchable() || size <= 0)
        return true;
    const char* const end = data + size;
    TLineEnds ends(data, end);
    auto cancelled = [cancel] { return cancel && cancel->load(std::memory_order_relaxed); };
    qint64 line = firstLine;
    if (!m_literal) {
        // Looked at before every line: one line of an expression may take
        // long.
        for (const char* p = data; p < end; ++line) {
            if (cancelled())
                return false;
            const char* stop = ends.Next(p);
            if (!SearchLine(line, p, stop, p - data, onLine))
                return false;
            if (stop == end)
                break;
            p = ends.After(stop);
        }
        return true;
    }

    // The literal is looked for from pos on; lineStart is where line begins,
    // and nothing between them holds it.
    const qint64 n = m_literal->Length();
    const char* lineStart = data;
    const char* pos = data;
    while (end - pos >= n) {
        if (cancelled())
            return false;
        const qint64 span = std::min<qint64>(end - pos, kScanStep);
        const int hit = m_literal->Find(pos, 0, int(span));
        if (hit < 0) {
            if (span == end - pos)
                break;
            pos += span - n + 1;
            continue;
        }
        const char* at = pos + hit;
        const char* start = at;
        while (start > lineStart && !isLineEnd(start[-1]))
            --start;
        line += CountLineEnds(lineStart, start);
        const char* stop = ends.Next(at);
        if (!SearchLine(line, start, stop, start - data, onLine))
            return false;
        if (stop == end)
            break;
        lineStart = pos = ends.After(stop);
        ++line;
    }
    return true;
}

bool TBufferSearch::Search(const TTextSnapshot& text, const TOnLine& onLine, const std::atomic<bool>* cancel)
{
    // Pieces are searched where they lie, cut after their last certain line
    // end; the line they end inside is carried over and completed from the
    // next piece. A CR at a piece's end is not certain: a LF may follow.
    qint64 line = 0;
    bool gaveUp = false;
    QByteArray carry;
    auto run = [&](const char* data, qint64 size) {
        const bool goOn = Search(data, size, line, onLine, cancel);
        gaveUp = gaveUp || m_gaveUp;
        line += CountLineEnds(data, data + size);
        return goOn;
    };
    const bool complete = text.ForEachPiece([&](const char* data, qint64 length) {
        const char* p = data;
        const char* const end = data + length;
        if (!carry.isEmpty() && p < end) {
            if (carry.back() == '\r') {
                if (*p == '\n') {
                    carry.append('\n');
                    ++p;
                }
            } else {
                const char* e = p;
                while (e < end && !isLineEnd(*e))
                    ++e;
                if (e == end || (*e == '\r' && e + 1 == end)) {
                    carry.append(p, end - p);
                    return true;
                }
                const char* after = *e == '\r' && e[1] == '\n' ? e + 2 : e + 1;
                carry.append(p, after - p);
                p = after;
            }
            if (!run(carry.constData(), carry.size()))
                return false;
            carry.clear();
        }
        const char* cut = end;
        while (cut > p && !isLineEnd(cut[-1]))
            --cut;
        if (cut == end && cut > p && cut[-1] == '\r') {
            for (--cut; cut > p && !isLineEnd(cut[-1]);)
                --cut;
        }
        if (cut > p && !run(p, cut - p))
            return false;
        carry.append(cut, end - cut);
        return true;
    });
    if (!complete)
        return false;
    const bool goOn = carry.isEmpty() || Search(carry.constData(), carry.size(), line, onLine, cancel);
    m_gaveUp = gaveUp || m_gaveUp;
    return goOn;
}
