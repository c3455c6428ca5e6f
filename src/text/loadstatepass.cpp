// The line walk here follows the store's own split exactly (a CR LF pair, a
// lone CR, a LF, or the end of the text ends a line; a text ending in a line
// end has no empty line after it), so that state i belongs to line i. Like
// the store, it finds line ends with memchr and remembers the next CR and LF
// it found, so a text of one kind of line end is not searched twice.

#include "loadstatepass.h"

#include "encodingdetect.h"

#include <algorithm>
#include <cstring>
#include <string_view>

TLoadStatePass::TLoadStatePass(std::unique_ptr<TSimpleParser> parser, const TTabStops& tabs, int longLine,
                               bool structure)
    : m_parser(std::move(parser)), m_tabs(tabs), m_longLine(longLine), m_structure(structure),
      m_started(std::chrono::steady_clock::now())
{
    if (m_structure)
        m_parser->SetStructureSink(&m_builder);
}

TLoadStatePass::~TLoadStatePass()
{
    Stop();
    if (m_thread.joinable())
        m_thread.join();
}

void TLoadStatePass::Arrived(const char* data, qint64 available, qint64 size)
{
    {
        std::lock_guard lock(m_mutex);
        m_size = size;
    }
    Announce(data, available, false);
}

void TLoadStatePass::Finished(const char* data, qint64 size)
{
    Announce(data, size, true);
}

void TLoadStatePass::Announce(const char* data, qint64 available, bool final)
{
    {
        std::lock_guard lock(m_mutex);
        m_data = data;
        m_available = available;
        m_final = final;
    }
    m_arrived.notify_one();
    if (!m_thread.joinable())
        m_thread = std::thread([this] { Run(); });
}

void TLoadStatePass::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_arrived.notify_one();
}

qint64 TLoadStatePass::Age() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_started).count();
}

bool TLoadStatePass::WaitFor(int ms)
{
    if (!m_thread.joinable())
        return true;
    std::unique_lock lock(m_mutex);
    return m_ended.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_done; });
}

TStateRuns& TLoadStatePass::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
    return m_states;
}

namespace {

template <char c>
qint64 findByte(const char* data, qint64 size)
{
    const void* hit = std::memchr(data, c, size_t(size));
    return hit ? static_cast<const char*>(hit) - data : size;
}

} // namespace

qint64 TLoadStatePass::Next(TFound& found, TFind find, qint64 pos, qint64 available) const
{
    if (found.at >= pos)
        return found.at;
    const qint64 from = found.at < 0 ? std::max(pos, found.clearTo) : pos;
    if (from < available) {
        const qint64 hit = find(m_data + from, available - from);
        if (hit < available - from) {
            found.at = from + hit;
            return found.at;
        }
    }
    found.at = -1;
    found.clearTo = std::max(from, available);
    return -1;
}

void TLoadStatePass::Run()
{
    quint32 end = 0;
    Walk(end);
    // The end state of the last line reached closes the list.
    if (!m_states.Empty())
        m_states.Push(end);
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_ended.notify_all();
}

void TLoadStatePass::Walk(quint32& state)
{
    std::vector<uchar> scratch;
    QByteArray expanded;
    qint64 pos = 0;
    // The next line end, tab and byte above 0x7F, each searched for over
    // the bytes in, not line by line.
    TFound cr, lf, tab, high;
    bool plain = true;
    qint64 seen = 0;
    qint64 size = 0;
    for (;;) {
        qint64 available;
        bool final;
        {
            std::unique_lock lock(m_mutex);
            m_arrived.wait(lock, [&] { return m_stop || m_final || m_available > seen; });
            if (m_stop)
                return;
            available = seen = m_available;
            final = m_final;
            size = m_size;
        }
        // Every complete line among the bytes in.
        const size_t linesBefore = m_states.Size();
        for (;;) {
            if (m_stop)
                return;
            const qint64 atCr = Next(cr, findByte<'\r'>, pos, available);
            const qint64 atLf = Next(lf, findByte<'\n'>, pos, available);
            qint64 stop = atCr < 0 ? atLf : atLf < 0 ? atCr : std::min(atCr, atLf);
            qint64 next;
            if (stop < 0) {
                if (!final || pos >= available)
                    break;
                stop = next = available;
            } else if (stop == atLf) {
                next = stop + 1;
            } else if (stop + 1 < available) {
                next = m_data[stop + 1] == '\n' ? stop + 2 : stop + 1;
            } else if (final) {
                next = stop + 1;
            } else {
                // A CR as the last byte in: whether a LF follows is not known yet.
                break;
            }
            const qint64 length = stop - pos;
            const int line = int(m_states.Size());
            if ((m_longLine > 0 && length >= m_longLine) || line >= m_stopAt.load(std::memory_order_relaxed))
                return;
            std::string_view display(m_data + pos, size_t(length));
            if (plain) {
                const qint64 atHigh = Next(high, EncodingDetect::FirstHighByte, pos, available);
                plain = atHigh < 0 || atHigh >= stop;
            }
            if (plain)
                ++m_plainLines;
            const qint64 atTab = Next(tab, findByte<'\t'>, pos, available);
            if (atTab >= 0 && atTab < stop) {
                expanded = m_tabs.Expand(display);
                display = {expanded.constData(), size_t(expanded.size())};
            }
            m_states.Push(state);
            m_builder.Reset();
            state = m_parser->ParseLineState(line, display, state, scratch);
            if (m_structure)
                m_structures.Append(line, m_builder);
            m_reached.store(line + 1, std::memory_order_relaxed);
            pos = next;
        }
        if (final)
            return;
        // The lists of states and structure are made once for the whole
        // text, at the rate of the first piece, so that they are not copied
        // as they grow: pages of room never written cost no memory.
        if (linesBefore == 0 && pos > 0 && size > available) {
            const double scale = double(size) / double(pos);
            m_states.Reserve(size_t(double(m_states.Changes()) * scale * 1.05) + 16);
            if (m_structure)
                m_structures.Reserve(scale * 1.2);
        }
    }
}
