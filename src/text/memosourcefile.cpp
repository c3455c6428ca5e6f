// Loading and saving. A file is read in one piece into a block the lines
// then point into, so that loading costs one pass and one line item per line.
// Saving goes through a temporary file that replaces the target only once
// the whole text was written.

#include "memosource.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>

namespace {

constexpr qint64 kWriteChunk = 1 << 20;

QString describe(const QFileDevice& file)
{
    return file.errorString();
}

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

} // namespace

void TCustomMemoSource::LoadBytes(std::shared_ptr<char[]> block, qint64 size)
{
    BeginUpdate(Reason::kSetText);
    m_strings.Clear();
    char* const data = block.get();
    const char* const end = data + size;

    // The first line end names the file's format, so that saving writes
    // back the line ends it had.
    for (const char* p = data; p < end; ++p) {
        if (*p == '\n') {
            m_outFormat = ofUnix;
            break;
        }
        if (*p == '\r') {
            m_outFormat = (p + 1 < end && p[1] == '\n') ? ofWindows : ofMac;
            break;
        }
    }
    m_finalLineEnd = size > 0 && isLineEnd(end[-1]);
    m_loadedNulBytes = size > 0 && std::memchr(data, 0, size_t(size)) != nullptr;

    // Count the lines first: the item array is allocated once.
    qint64 lines = 1;
    for (const char* p = data; (p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)))); ++p)
        ++lines;
    if (m_outFormat == ofMac) {
        for (const char* p = data; (p = static_cast<const char*>(std::memchr(p, '\r', size_t(end - p)))); ++p)
            ++lines;
    }
    m_strings.Reserve(int(std::min<qint64>(lines, 0x7fffffff)));

    const bool convertTabs = !m_options.testFlag(soUseTabCharacter);
    const QByteArray tabBlanks(m_spacesInTab, ' ');
    char* lineStart = data;
    bool tab = false;
    auto addLine = [&](char* lineEnd) {
        // Lines lose their trailing blanks and control characters.
        int length = int(lineEnd - lineStart);
        while (length > 0 && uchar(lineStart[length - 1]) <= 32)
            --length;
        if (tab && convertTabs && std::memchr(lineStart, '\t', size_t(length))) {
            QByteArray converted(lineStart, length);
            converted.replace('\t', tabBlanks);
            m_strings.InsertRaw(m_strings.Count(), std::string_view(converted.constData(), size_t(converted.size())));
        } else {
            TStringItem& item = m_strings.AppendBorrowed(lineStart, length);
            if (tab && std::memchr(lineStart, '\t', size_t(length)))
                item.Set(TStringItem::kHasTab, true);
        }
        tab = false;
    };
    for (char* p = data; p < end; ++p) {
        const uchar c = uchar(*p);
        if (c > '\r')
            continue;
        if (c == '\t') {
            tab = true;
        } else if (c == '\n' || c == '\r') {
            addLine(p);
            if (c == '\r' && p + 1 < end && p[1] == '\n')
                ++p;
            lineStart = p + 1;
        }
    }
    if (lineStart < end)
        addLine(const_cast<char*>(end));
    m_strings.AdoptBlock(std::move(block));
    LinesReplaced();
    EndUpdate();
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

void TCustomMemoSource::SetTextStr(const QByteArray& text)
{
    std::shared_ptr<char[]> block(new char[size_t(text.size()) + 1]);
    std::memcpy(block.get(), text.constData(), size_t(text.size()));
    LoadBytes(std::move(block), text.size());
}

bool TCustomMemoSource::LoadFromStream(QIODevice& device, QString* error)
{
    if (!device.isReadable()) {
        if (error)
            *error = device.errorString();
        return false;
    }
    SetTextStr(device.readAll());
    SetSavePoint();
    return true;
}

bool TCustomMemoSource::LoadFromFile(const QString& path, QString* error)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open file \"%1\". %2")
                         .arg(path, QFileInfo(path).isDir() ? QStringLiteral("It is a folder.") : describe(file));
        return false;
    }
    const qint64 size = file.size();
    std::shared_ptr<char[]> block;
    try {
        block.reset(new char[size_t(size) + 1]);
    } catch (const std::bad_alloc&) {
        if (error)
            *error = QStringLiteral("Cannot open file \"%1\". It is too large to load.").arg(path);
        return false;
    }
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(block.get() + done, size - done);
        if (got <= 0)
            break;
        done += got;
    }
    if (done != size) {
        if (error)
            *error = QStringLiteral("Cannot read file \"%1\". %2").arg(path, describe(file));
        return false;
    }
    LoadBytes(std::move(block), size);
    SetSavePoint();
    return true;
}

bool TCustomMemoSource::SaveToStream(QIODevice& device, QString* error) const
{
    const char* eol = m_outFormat == ofWindows ? "\r\n" : m_outFormat == ofMac ? "\r" : "\n";
    const qsizetype eolLength = qsizetype(std::strlen(eol));
    const bool skipReadOnly = m_options.testFlag(soExcludeReadOnlyLines);
    int lastWritten = LineCount() - 1;
    if (skipReadOnly) {
        while (lastWritten >= 0 && m_strings.Item(lastWritten).Has(TStringItem::kReadOnly))
            --lastWritten;
    }
    QByteArray chunk;
    chunk.reserve(kWriteChunk + 4096);
    auto flush = [&]() {
        if (chunk.isEmpty())
            return true;
        const bool ok = device.write(chunk) == chunk.size();
        chunk.clear();
        return ok;
    };
    for (int i = 0; i <= lastWritten; ++i) {
        const TStringItem& item = m_strings.Item(i);
        if (skipReadOnly && item.Has(TStringItem::kReadOnly))
            continue;
        chunk.append(item.text, item.length);
        if (i < lastWritten || m_finalLineEnd)
            chunk.append(eol, eolLength);
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
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    const QFileInfo target(path);
    if (target.isDir())
        return fail(QStringLiteral("Cannot create file \"%1\". It is a folder.").arg(path));
    const bool existed = target.exists();
    const QFile::Permissions permissions = existed ? QFile::permissions(path) : QFile::Permissions();

    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    QString writeError;
    if (!SaveToStream(file, &writeError)) {
        file.cancelWriting();
        return fail(QStringLiteral("Cannot write file \"%1\". %2").arg(path, writeError));
    }

    // The previous file becomes the backup only once the new text is safely
    // written beside it.
    QString backup;
    if (existed && m_options.testFlag(soCreateBackups)) {
        backup = OnGetBackupName ? OnGetBackupName(*this, path) : path + QStringLiteral(".bak");
        if (QFileInfo::exists(backup) && !QFile::remove(backup)) {
            file.cancelWriting();
            return fail(QStringLiteral("Can't delete file %1").arg(backup));
        }
        if (!QFile::rename(path, backup)) {
            file.cancelWriting();
            return fail(QStringLiteral("Can't rename file %1 to file %2").arg(path, backup));
        }
    }
    if (!file.commit()) {
        if (!backup.isEmpty())
            QFile::rename(backup, path);
        return fail(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
    }
    if (existed)
        QFile::setPermissions(path, permissions);
    SetSavePoint();
    return true;
}
