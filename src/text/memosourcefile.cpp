// Loading and saving. A file is read in one piece into a block the lines
// then point into, so that loading costs one pass and one line item per line.
// Every byte is kept, each line remembering how it ended, so that a file
// loaded and saved comes back byte for byte and an edited one differs only
// where it was edited. Saving leaves the old file intact on any failure.

#include "memosource.h"

#include "encodingdetect.h"
#include "filesaver.h"
#include "largepages.h"
#include "loadstatepass.h"
#include "loadwatch.h"
#include "regularfile.h"
#include "services.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr qint64 kWriteChunk = 1 << 20;
// A file is read in pieces (TCustomMemoSource::kReadPiece), and its lines
// are walked this many at a time, between two progress reports: a report
// costs little against the work between two of them, and comes often enough
// for Cancel to answer at once.
constexpr qint64 kLinesPerReport = 1 << 16;
// How long the wait for the states established while reading goes between
// two progress reports.
constexpr int kStateWaitMs = 20;
// The most the load waits for those states: this share (in percent) of the
// time it took, or the floor, whichever is longer.
constexpr qint64 kStateWaitShare = 25;
constexpr qint64 kStateWaitFloorMs = 250;
// The first piece of a file shown as it comes in: small, so that its first
// screen is painted at once.
constexpr qint64 kFirstShownPiece = qint64(1) << 20;

QString describe(const QFileDevice& file)
{
    return file.errorString();
}

// Walks the lines of a loaded block: each line's bytes and how it ends (a
// CR LF pair, a lone CR, a LF, or nothing at the end of the block). Finding
// the next line end costs two memchr calls, not a test per byte; whether a
// line holds a tab is told from the next tab found, so that a text without
// tabs is searched for one once.
class TLineCursor {
public:
    TLineCursor(char* data, qint64 size) : m_p(data), m_end(data + size)
    {
        m_nextCr = find('\r', m_p);
        m_nextLf = find('\n', m_p);
    }

    bool Next(char*& start, qint64& length, quint8& ending)
    {
        if (m_p >= m_end)
            return false;
        start = m_p;
        char* stop = std::min(m_nextCr, m_nextLf);
        length = stop - m_p;
        if (stop == m_end) {
            ending = TStringItem::kEndNone;
            m_p = m_end;
        } else if (*stop == '\n') {
            ending = TStringItem::kEndLf;
            m_p = stop + 1;
            m_nextLf = find('\n', m_p);
        } else if (stop + 1 < m_end && stop[1] == '\n') {
            ending = TStringItem::kEndCrLf;
            m_p = stop + 2;
            m_nextCr = find('\r', m_p);
            m_nextLf = find('\n', m_p);
        } else {
            ending = TStringItem::kEndCr;
            m_p = stop + 1;
            m_nextCr = find('\r', m_p);
        }
        return true;
    }

    // Whether the line [start, start + length) just walked holds a tab.
    bool TabIn(char* start, qint64 length)
    {
        if (m_nextTab < start)
            m_nextTab = find('\t', start);
        return m_nextTab < start + length;
    }

private:
    char* find(char c, char* from) const
    {
        void* hit = std::memchr(from, c, size_t(m_end - from));
        return hit ? static_cast<char*>(hit) : m_end;
    }

    char* m_p;
    char* m_end;
    char* m_nextCr;
    char* m_nextLf;
    char* m_nextTab = nullptr;
};

TOutFormatType formatOf(quint8 ending)
{
    return ending == TStringItem::kEndLf ? ofUnix : ending == TStringItem::kEndCr ? ofMac : ofWindows;
}

quint8 endingOf(TOutFormatType format)
{
    return format == ofUnix ? TStringItem::kEndLf : format == ofMac ? TStringItem::kEndCr : TStringItem::kEndCrLf;
}

// Why a text with a line of length characters cannot be held.
QString lineTooLong(qint64 length)
{
    return QStringLiteral("It holds a line of %1 characters; lines longer than %2 characters cannot be edited.")
        .arg(length)
        .arg(TCustomMemoSource::kMaxLineLength);
}

// Appends one line of a loaded text to lines, its text left in the block.
// A line that ends otherwise than the document keeps its own end; uniform
// stays true while only the last line (which may have none) does.
void appendLoaded(TInternalStrings& lines, char* start, qint64 length, quint8 ending, bool tab, quint8 documentEnding,
                  bool& uniform)
{
    TStringItem& item = lines.AppendBorrowed(start, int(length));
    if (tab)
        item.Set(TStringItem::kHasTab, true);
    if (ending != documentEnding) {
        item.lineEnd = ending;
        uniform = uniform && ending == TStringItem::kEndNone;
    }
}

const char* lineEndBytes(quint8 ending)
{
    switch (ending) {
    case TStringItem::kEndCrLf:
        return "\r\n";
    case TStringItem::kEndCr:
        return "\r";
    case TStringItem::kEndLf:
        return "\n";
    default:
        return "";
    }
}

} // namespace

bool TCustomMemoSource::LoadBytes(std::shared_ptr<char[]> block, qint64 size, QString* error, TProgress* progress,
                                  TLoadStatePass* states)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    char* const data = block.get();
    // Reading the file was the first third of the work; the two walks over
    // its lines are the other two.
    auto report = [&](int pass, const char* at) {
        return !progress || progress->Step(size * pass + (at - data), size * 3);
    };

    // Everything is checked before the old text goes: a file the store
    // cannot hold is refused with the text left as it was.
    qint64 lines = 0;
    qint64 longest = 0;
    quint8 firstEnding = TStringItem::kEndNone;
    {
        TLineCursor cursor(data, size);
        char* start;
        qint64 length;
        quint8 ending;
        while (cursor.Next(start, length, ending)) {
            if (lines % kLinesPerReport == 0 && !report(1, start))
                return fail({});
            ++lines;
            longest = std::max(longest, length);
            if (firstEnding == TStringItem::kEndNone)
                firstEnding = ending;
        }
    }
    if (longest > kMaxLineLength)
        return fail(lineTooLong(longest));
    if (lines > kMaxLines)
        return fail(QStringLiteral("It holds %1 lines; files of more than %2 lines cannot be edited.").arg(lines).arg(kMaxLines));
    TInternalStrings loaded;
    if (!loaded.Reserve(int(lines)))
        return fail(QStringLiteral("It is too large to load."));

    // The first line end names the document's format; lines that end
    // another way keep their own end, so that saving writes back exactly
    // the bytes that were loaded.
    const TOutFormatType format = firstEnding == TStringItem::kEndNone ? m_outFormat : formatOf(firstEnding);
    const quint8 documentEnding = endingOf(format);
    TLineCursor cursor(data, size);
    char* start;
    qint64 length;
    quint8 ending;
    bool uniform = true;
    for (qint64 line = 0; cursor.Next(start, length, ending); ++line) {
        if (line % kLinesPerReport == 0 && !report(2, start))
            return fail({});
        appendLoaded(loaded, start, length, ending, cursor.TabIn(start, length), documentEnding, uniform);
    }
    // The states established meanwhile are waited for here, where Cancel
    // still leaves the text as it was.
    if (states && !WaitForLoadStates(*states, [&]() { return report(3, data); }))
        return fail({});
    loaded.AdoptBlock(std::move(block));
    loaded.SetBlockEnding(uniform ? documentEnding : quint8(TStringItem::kEndNone));

    BeginUpdate(Reason::kSetText);
    m_strings.Swap(loaded);
    m_outFormat = format;
    m_loadedNulBytes = size > 0 && std::memchr(data, 0, size_t(size)) != nullptr;
    LinesReplaced();
    EndUpdate();
    // After the update, which counts every line as changed and so unparsed.
    if (states)
        TakeLoadedStates(*states);
    return true;
}

void TCustomMemoSource::LinesReplaced()
{
    for (bool& set : m_bookmarkSet)
        set = false;
    m_selectionMode = smNone;
    for (int i = 0; i < m_positions.Count(); ++i)
        m_positions.At(i)->SetPos({0, 0});
    m_parsedUpTo = 0;
    m_longestDirty = true;
    m_changeFlags |= Change::kText | Change::kCaretMoved;
    MarkChanged(0, TMemoChange::kToEnd);
    m_undoLists[0].Clear();
    m_undoLists[1].Clear();
    m_saveList = -1;
}

bool TCustomMemoSource::SetTextStr(const QByteArray& text, QString* error)
{
    std::shared_ptr<char[]> block(new (std::nothrow) char[size_t(text.size()) + 1]);
    if (!block) {
        if (error)
            *error = QStringLiteral("It is too large to load.");
        return false;
    }
    std::memcpy(block.get(), text.constData(), size_t(text.size()));
    return LoadBytes(std::move(block), text.size(), error);
}

bool TCustomMemoSource::LoadFromStream(QIODevice& device, QString* error)
{
    if (!device.isReadable()) {
        if (error)
            *error = device.errorString();
        return false;
    }
    if (!SetTextStr(device.readAll(), error))
        return false;
    SetSavePoint();
    return true;
}

bool TCustomMemoSource::WaitForLoadStates(TLoadStatePass& states, const std::function<bool()>& report)
{
    // On a machine with no core to spare the pass may lag behind the
    // reading: then the load waits a quarter of the time it took (a quarter
    // of a second at least), the lines reached keep their states, and the
    // others are parsed when they are shown.
    const qint64 spent = states.Age();
    const qint64 patience = spent + std::max(spent * kStateWaitShare / 100, kStateWaitFloorMs);
    while (!states.WaitFor(kStateWaitMs)) {
        if (!report())
            return false;
        if (states.Age() > patience) {
            states.Stop();
            states.Wait();
            break;
        }
    }
    return true;
}

namespace {

// Opens a file to be loaded and makes the block it is read into; false with
// the reason otherwise.
bool openForLoad(QFile& file, const QString& path, std::shared_ptr<char[]>& block, QString& reason)
{
    if (!RegularFile::Open(file, path, &reason))
        return false;
    const qint64 size = file.size();
    if (size >= 0 && quint64(size) < std::numeric_limits<size_t>::max())
        block = LargePages::AllocateBlock(size_t(size) + 1);
    if (!block)
        reason = QStringLiteral("It is too large to load.");
    return bool(block);
}

TDetectedEncoding guessEncoding(const char* data, qint64 size, std::optional<TTextEncoding> encoding, bool markup,
                                TTextEncoding asciiEncoding)
{
    if (!encoding)
        return EncodingDetect::Detect(data, size, markup, asciiEncoding);
    TDetectedEncoding given;
    given.encoding = *encoding;
    given.byteOrderMark = *encoding == teUtf8 && EncodingDetect::StartsWithByteOrderMark(data, size);
    return given;
}

} // namespace

// A watched load: the lines already shown, and how they ended.
struct TCustomMemoSource::TArrival {
    TLoadWatch& watch;
    std::shared_ptr<char[]> block; // the whole file; the lines point into it
    char* text = nullptr;          // where the text starts, after a byte order mark
    qint64 textSize = 0;
    qint64 shown = 0;   // text bytes whose lines are in the store
    qint64 scanned = 0; // text bytes searched for a line end
    qint64 lines = 0;
    bool started = false; // the first lines took the place of the new store's text
    quint8 documentEnding = TStringItem::kEndNone;
    bool uniform = true;
};

bool TCustomMemoSource::ReadPieces(QFile& file, const QString& path, char* block, qint64 size,
                                   std::optional<TTextEncoding> encoding, std::unique_ptr<TLoadStatePass>& states,
                                   TProgress* progress, TArrival* arrival, QString* error)
{
    // The line states are established on the second core as the pieces come
    // in; the text starts after a byte order mark, which is no character.
    qint64 textStart = 0;
    bool startTried = false;
    qint64 done = 0;
    while (done < size) {
        if (progress && !progress->Step(done, size * 3)) {
            // Cancelled: there is nothing to report.
            if (error)
                error->clear();
            return false;
        }
        // A shown load reads a small first piece, so that its first screen
        // comes at once.
        const qint64 piece = arrival && done == 0 ? std::min(m_readPiece, kFirstShownPiece) : m_readPiece;
        const qint64 got = file.read(block + done, std::min(size - done, piece));
        if (got <= 0)
            break;
        done += got;
        if (!startTried && (done >= EncodingDetect::kByteOrderMarkLength || done == size)) {
            startTried = true;
            const TDetectedEncoding guess =
                guessEncoding(block, done, encoding, EncodingDetect::IsMarkupFile(path), m_asciiEncoding);
            textStart = guess.byteOrderMark ? EncodingDetect::kByteOrderMarkLength : 0;
            states = StartLoadStates(guess);
            m_loadPass = states.get();
            if (arrival) {
                // Shown as it comes in, the text is read in the encoding
                // guessed from its start until the whole file tells.
                m_encoding = guess.encoding;
                m_byteOrderMark = guess.byteOrderMark;
                arrival->text = block + textStart;
                arrival->textSize = size - textStart;
            }
        }
        if (states)
            states->Arrived(block + textStart, done - textStart, size - textStart);
        if (arrival && startTried) {
            QString reason;
            if (!ShowArrived(*arrival, done - textStart, done == size, &reason)) {
                if (error)
                    *error = QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason);
                return false;
            }
            // Binary data: nothing more of it is read.
            if (m_loadedNulBytes)
                return true;
            if (!arrival->watch.Arrived(done, size)) {
                if (error)
                    error->clear();
                return false;
            }
        }
    }
    if (done != size) {
        if (error)
            *error = QStringLiteral("Cannot read file \"%1\". %2").arg(path, describe(file));
        return false;
    }
    if (states)
        states->Finished(block + textStart, size - textStart);
    return true;
}

bool TCustomMemoSource::LoadFromFile(const QString& path, QString* error, std::optional<TTextEncoding> encoding)
{
    return LoadFile(path, error, encoding, nullptr);
}

bool TCustomMemoSource::LoadFromFile(const QString& path, QString* error, std::optional<TTextEncoding> encoding,
                                     TLoadWatch& watch)
{
    return LoadFile(path, error, encoding, &watch);
}

bool TCustomMemoSource::LoadFile(const QString& path, QString* error, std::optional<TTextEncoding> encoding,
                                 TLoadWatch* watch)
{
    auto fail = [&](const QString& message) {
        if (error)
            *error = QStringLiteral("Cannot open file \"%1\". %2").arg(path, message);
        return false;
    };
    QFile file(path);
    std::shared_ptr<char[]> block;
    QString reason;
    if (!openForLoad(file, path, block, reason))
        return fail(reason);
    const qint64 size = file.size();
    // A file that fits in the first piece is in before anything could be
    // shown.
    if (watch && size > std::min(m_readPiece, kFirstShownPiece))
        return LoadShown(file, path, std::move(block), encoding, *watch, error);
    TProgress progress(QStringLiteral("Loading %1").arg(QFileInfo(path).fileName()));
    // A parser changed while the file loads makes the pass's states useless
    // (ResetAttributes tells it); the pass ends with the load.
    struct TPassGuard {
        TLoadStatePass*& pass;
        ~TPassGuard() { pass = nullptr; }
    } guard{m_loadPass};
    std::unique_ptr<TLoadStatePass> states;
    if (!ReadPieces(file, path, block.get(), size, encoding, states, &progress, nullptr, error))
        return false;
    const TDetectedEncoding detected =
        guessEncoding(block.get(), size, encoding, EncodingDetect::IsMarkupFile(path), m_asciiEncoding);
    qint64 textSize = size;
    if (detected.byteOrderMark) {
        // The mark is no character of the first line: the lines start after
        // it (the block is kept whole), and saving puts it back.
        textSize -= EncodingDetect::kByteOrderMarkLength;
        block = std::shared_ptr<char[]>(block, block.get() + EncodingDetect::kByteOrderMarkLength);
    }
    if (states && block.get() != states->Text()) {
        m_loadPass = nullptr;
        states.reset();
    }
    // The lines are read in their encoding from the first one parsed on;
    // a load that fails leaves the document as it was.
    const TTextEncoding previous = m_encoding;
    const bool previousMark = m_byteOrderMark;
    m_encoding = detected.encoding;
    m_byteOrderMark = detected.byteOrderMark;
    if (!LoadBytes(std::move(block), textSize, &reason, &progress, states.get())) {
        m_encoding = previous;
        m_byteOrderMark = previousMark;
        if (progress.Cancelled()) {
            if (error)
                error->clear();
            return false;
        }
        return fail(reason);
    }
    SetSavePoint();
    return true;
}

bool TCustomMemoSource::LoadShown(QFile& file, const QString& path, std::shared_ptr<char[]> block,
                                  std::optional<TTextEncoding> encoding, TLoadWatch& watch, QString* error)
{
    const qint64 size = file.size();
    // Nothing edits the text while it comes in; the pass ends with the load.
    struct TLoadingGuard {
        TCustomMemoSource& store;
        const bool readOnly;
        ~TLoadingGuard()
        {
            store.m_loading = false;
            store.m_readOnly = readOnly;
            store.m_loadPass = nullptr;
        }
    } guard{*this, m_readOnly};
    m_loading = true;
    m_readOnly = true;
    TArrival arrival{watch, block};
    std::unique_ptr<TLoadStatePass> states;
    if (!ReadPieces(file, path, block.get(), size, encoding, states, nullptr, &arrival, error))
        return false;
    if (m_loadedNulBytes)
        return true;
    // The whole file may prove the encoding guessed from its start wrong:
    // the lines are then read (and parsed, but for the plain ones the pass
    // reached) anew.
    const TTextEncoding guessed = m_encoding;
    m_encoding = guessEncoding(block.get(), size, encoding, EncodingDetect::IsMarkupFile(path), m_asciiEncoding).encoding;
    const std::function<bool()> report = [&]() { return watch.Arrived(size, size); };
    // While the pass walks on, this thread takes the far half of what it
    // has left.
    if (states && m_encoding == guessed && !ParseLoadTail(*states, report)) {
        if (error)
            error->clear();
        return false;
    }
    if (states && !WaitForLoadStates(*states, report)) {
        if (error)
            error->clear();
        return false;
    }
    m_strings.SetBlockEnding(arrival.uniform ? arrival.documentEnding : quint8(TStringItem::kEndNone));
    if (m_encoding != guessed) {
        m_loadPass = nullptr;
        ResetAttributes();
    }
    if (states)
        TakeLoadedStates(*states);
    SetSavePoint();
    return true;
}

bool TCustomMemoSource::ShowArrived(TArrival& arrival, qint64 available, bool final, QString* error)
{
    char* const text = arrival.text;
    if (std::memchr(text + arrival.scanned, 0, size_t(available - arrival.scanned))) {
        m_loadedNulBytes = true;
        return true;
    }
    // Only whole lines are shown: up to the last line end whose kind is
    // known (a CR read last may be the first half of a CR LF).
    qint64 end = arrival.shown;
    if (final) {
        end = available;
    } else {
        const qint64 limit = available > 0 && text[available - 1] == '\r' ? available - 1 : available;
        for (qint64 i = limit; i > arrival.scanned; --i) {
            if (text[i - 1] == '\n' || text[i - 1] == '\r') {
                end = i;
                break;
            }
        }
    }
    arrival.scanned = available;
    if (end <= arrival.shown)
        return true;

    // A piece with a line too long or too many lines is refused before its
    // lines go in. Each line takes a byte at least (its end) and none is
    // longer than the bytes shown: most pieces can hold neither, and their
    // lines are counted only as they go in.
    char* start;
    qint64 length;
    quint8 ending;
    const qint64 bytes = end - arrival.shown;
    const bool bounded = bytes <= kMaxLineLength && arrival.lines + bytes + 1 <= kMaxLines;
    qint64 count = -1;
    if (!bounded || !arrival.started) {
        count = 0;
        for (TLineCursor cursor(text + arrival.shown, bytes); cursor.Next(start, length, ending);) {
            if (length > kMaxLineLength) {
                *error = lineTooLong(length);
                return false;
            }
            if (arrival.documentEnding == TStringItem::kEndNone)
                arrival.documentEnding = ending == TStringItem::kEndNone ? endingOf(m_outFormat) : ending;
            ++count;
        }
        if (arrival.lines + count > kMaxLines) {
            *error = QStringLiteral("It holds %1 lines or more; files of more than %2 lines cannot be edited.")
                         .arg(arrival.lines + count)
                         .arg(kMaxLines);
            return false;
        }
    }
    // The line array is made for as many lines as the whole file holds at
    // the rate of the lines counted so far, so that it is not copied as it
    // grows.
    TInternalStrings fresh;
    TInternalStrings& lines = arrival.started ? m_strings : fresh;
    const qint64 counted = count >= 0 ? arrival.lines + count : arrival.lines;
    const qint64 expected =
        std::min<qint64>(kMaxLines, counted * arrival.textSize / (count >= 0 ? end : arrival.shown) + 16);
    if (expected > lines.Capacity() && !lines.Reserve(int(expected)) && !lines.Reserve(int(counted))) {
        *error = QStringLiteral("It is too large to load.");
        return false;
    }
    const int before = arrival.started ? LineCount() : 0;
    bool roomy = true;
    for (TLineCursor cursor(text + arrival.shown, bytes); cursor.Next(start, length, ending);) {
        if (lines.Count() == lines.Capacity() &&
            !lines.Reserve(int(std::min<qint64>(kMaxLines, qint64(lines.Capacity()) * 3 / 2 + 64)))) {
            // What went in is shown; the load ends here.
            roomy = false;
            *error = QStringLiteral("It is too large to load.");
            break;
        }
        appendLoaded(lines, start, length, ending, cursor.TabIn(start, length), arrival.documentEnding,
                     arrival.uniform);
    }
    arrival.lines = lines.Count();
    arrival.shown = end;
    if (!arrival.started) {
        // The first lines take the place of the new store's text.
        arrival.started = true;
        fresh.AdoptBlock(arrival.block);
        BeginUpdate(Reason::kSetText);
        m_strings.Swap(fresh);
        m_outFormat = formatOf(arrival.documentEnding);
        LinesReplaced();
        EndUpdate();
        // Nothing was edited: the text is as the file holds it.
        SetSavePoint();
        return roomy;
    }
    BeginUpdate(Reason::kLoaded);
    MarkChanged(before, TMemoChange::kToEnd);
    m_longestDirty = true;
    ++m_textVersion;
    EndUpdate();
    return roomy;
}

std::unique_ptr<TLoadStatePass> TCustomMemoSource::StartLoadStates(const TDetectedEncoding& guess) const
{
    // A listener to single lines is told of each as it is parsed here, and
    // a text starting in another state than the top's is parsed here too.
    if (!m_parser || m_initialState != 0 || OnLineParsed)
        return nullptr;
    std::unique_ptr<TSimpleParser> copy = m_parser->CreateWorkerCopy();
    if (!copy)
        return nullptr;
    // The encoding is guessed from the first piece; the rest of the file
    // may prove it wrong, which TakeLoadedStates allows for.
    copy->SetUtf8Text(guess.encoding == teUtf8);
    const int longLine = m_parser->Resumable() ? m_strings.LongLines().Threshold() : 0;
    return std::make_unique<TLoadStatePass>(std::move(copy), m_tabStops, longLine, m_parser->ReportsStructure());
}

bool TCustomMemoSource::SaveToStream(QIODevice& device, QString* error) const
{
    const quint8 documentEnding = endingOf(m_outFormat);
    const bool skipReadOnly = m_options.testFlag(soExcludeReadOnlyLines);
    const int last = LineCount() - 1;
    // The text goes out in pieces of about kWriteChunk bytes; the piece
    // grows to that size only for a text that long.
    QByteArray chunk;
    if (m_byteOrderMark && m_encoding == teUtf8)
        chunk.append("\xEF\xBB\xBF");
    bool written = true;
    auto flush = [&]() {
        if (written && !chunk.isEmpty())
            written = device.write(chunk) == chunk.size();
        chunk.truncate(0);
        return written;
    };
    for (int i = 0; i <= last; ++i) {
        const TStringItem& item = m_strings.Item(i);
        if (skipReadOnly && item.Has(TStringItem::kReadOnly))
            continue;
        chunk.append(item.text, item.length);
        // Every line ends as it was loaded or as the document's lines do;
        // only the last may end without one, since lines must stay lines.
        quint8 ending = item.lineEnd == TStringItem::kEndDocument ? documentEnding : item.lineEnd;
        if (ending == TStringItem::kEndNone && i < last)
            ending = documentEnding;
        chunk.append(lineEndBytes(ending));
        if (chunk.size() >= kWriteChunk && !flush())
            break;
    }
    if (!flush()) {
        if (error)
            *error = device.errorString();
        return false;
    }
    return true;
}

QByteArray TCustomMemoSource::SavedBytes() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    SaveToStream(buffer);
    return bytes;
}

bool TCustomMemoSource::SaveToFile(const QString& path, QString* error)
{
    TSaveTarget target{path, {}};
    if (m_options.testFlag(soCreateBackups))
        target.backupPath = OnGetBackupName ? OnGetBackupName(*this, path) : path + QStringLiteral(".bak");
    const bool saved = SaveFileSafely(
        target, [this](QIODevice& device, QString* reason) { return SaveToStream(device, reason); }, error);
    if (saved)
        SetSavePoint();
    return saved;
}
