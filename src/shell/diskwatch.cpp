// Watching the files of open documents for changes made by other programs.
// Nothing polls: a file is looked at (one stat call) only when the window
// becomes active and before a save, the two moments a change made elsewhere
// can meet the user's text.

#include "diskwatch.h"

#include "checksum.h"
#include "documentnames.h"
#include "memosource.h"
#include "regularfile.h"
#include "services.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include <algorithm>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

const QString kChanged = QStringLiteral("File %1 was changed by another program. Reload it?");
const QString kChangedLosing =
    QStringLiteral("File %1 was changed by another program. Reload it and lose the changes made here?");
const QString kRemoved =
    QStringLiteral("File %1 was deleted or moved by another program. The document is kept open.");
const QString kSaveChanged = QStringLiteral(
    "File %1 was changed by another program since it was opened or last saved here. Overwrite the changes made "
    "there?\n\nYes saves this document over them. No reloads the file instead. Cancel does not save.");
const QString kSaveChangedLosing = QStringLiteral(
    "File %1 was changed by another program since it was opened or last saved here. Overwrite the changes made "
    "there?\n\nYes saves this document over them. No reloads the file and loses the changes made here. Cancel does "
    "not save.");
const QString kSaveRemoved = QStringLiteral("File %1 no longer exists. Save it again?");
const QString kBinary =
    QStringLiteral("Cannot reload file \"%1\". It holds binary data, not text. The document is kept as it was.");

// The same test opening a file applies: text with a NUL byte is binary data,
// and loading it would replace the document by lines it cannot write back.
bool holdsNulByte(const QString& path)
{
    QFile file(path);
    if (!RegularFile::Open(file, path, nullptr))
        return false; // the load itself reports why it cannot read the file
    QByteArray chunk;
    while (!(chunk = file.read(1 << 20)).isEmpty()) {
        if (std::memchr(chunk.constData(), 0, size_t(chunk.size())))
            return true;
    }
    return false;
}

// Takes the bytes a document saves into a checksum, holding none of them:
// a write past the limit fails, and with it the checksum.
class TChecksumDevice : public QIODevice {
public:
    explicit TChecksumDevice(qint64 limit) : m_limit(limit) { open(WriteOnly | Unbuffered); }
    quint64 Value() const { return m_checksum.Value(); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override
    {
        m_written += length;
        if (m_written > m_limit)
            return -1;
        m_checksum.Add(data, length);
        return length;
    }

private:
    TChecksum m_checksum;
    qint64 m_limit;
    qint64 m_written = 0;
};

// The checksum of a file of at most limit bytes; none when it cannot be
// read whole.
std::optional<quint64> fileChecksum(const QString& path, qint64 limit)
{
    QFile file(path);
    if (!RegularFile::Open(file, path, nullptr) || file.size() > limit)
        return std::nullopt;
    TChecksum checksum;
    QByteArray chunk;
    while (!(chunk = file.read(1 << 20)).isEmpty())
        checksum.Add(chunk);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return checksum.Value();
}

bool sameFile(const QString& a, const QString& b)
{
    if (DocumentNames::SamePath(a, b))
        return true;
    // Another spelling of the same file: through a link, "..", a relative path.
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace

TDiskStamp TDiskStamp::Of(const QString& path)
{
    TDiskStamp stamp;
    if (path.isEmpty())
        return stamp;
#ifdef Q_OS_UNIX
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return stamp;
#ifdef Q_OS_DARWIN
    const timespec& time = info.st_mtimespec;
#else
    const timespec& time = info.st_mtim;
#endif
    stamp.exists = true;
    stamp.size = qint64(info.st_size);
    stamp.modified = qint64(time.tv_sec) * 1000000000 + qint64(time.tv_nsec);
    stamp.device = quint64(info.st_dev);
    stamp.inode = quint64(info.st_ino);
#else
    const QFileInfo info(path);
    if (!info.exists())
        return stamp;
    stamp.exists = true;
    stamp.size = info.size();
    stamp.modified = info.lastModified().toMSecsSinceEpoch() * 1000000;
#endif
    return stamp;
}

TDiskStamp TDiskStamp::WithChecksumOf(const TCustomMemoSource& document) const
{
    TDiskStamp stamp = *this;
    stamp.checksum.reset();
    if (!exists || size > kChecksumLimit)
        return stamp;
    TChecksumDevice device(kChecksumLimit);
    if (document.SaveToStream(device))
        stamp.checksum = device.Value();
    return stamp;
}

bool TDiskStamp::operator==(const TDiskStamp& other) const
{
    if (!exists || !other.exists)
        return exists == other.exists;
    return size == other.size && modified == other.modified && device == other.device && inode == other.inode;
}

QString TDiskStamp::ToText() const
{
    QString text = QStringLiteral("%1 %2 %3 %4 %5").arg(int(exists)).arg(size).arg(modified).arg(device).arg(inode);
    if (checksum)
        text += u' ' + QString::number(*checksum, 16);
    return text;
}

std::optional<TDiskStamp> TDiskStamp::FromText(const QString& text)
{
    const QStringList parts = text.split(u' ');
    if (parts.size() != 5 && parts.size() != 6)
        return std::nullopt;
    TDiskStamp stamp;
    bool ok[5];
    stamp.exists = parts[0].toInt(&ok[0]) != 0;
    stamp.size = parts[1].toLongLong(&ok[1]);
    stamp.modified = parts[2].toLongLong(&ok[2]);
    stamp.device = parts[3].toULongLong(&ok[3]);
    stamp.inode = parts[4].toULongLong(&ok[4]);
    if (!std::all_of(std::begin(ok), std::end(ok), [](bool b) { return b; }))
        return std::nullopt;
    if (parts.size() == 6) {
        bool sum = false;
        stamp.checksum = parts[5].toULongLong(&sum, 16);
        if (!sum)
            return std::nullopt;
    }
    return stamp;
}

std::optional<TDiskStamp> TDiskWatch::Recorded(const TMemoSource* document) const
{
    auto it = m_entries.find(document);
    if (it == m_entries.end())
        return std::nullopt;
    return it->second.recorded;
}

TDiskWatch::TDiskWatch(TDocuments documents, QObject* parent) : QObject(parent), m_documents(std::move(documents))
{
}

void TDiskWatch::Record(const TMemoSource* document)
{
    if (document && !DocumentNames::IsUntitled(document->FileName()))
        Record(document, TDiskStamp::Of(document->FileName()).WithChecksumOf(*document));
}

void TDiskWatch::Record(const TMemoSource* document, const TDiskStamp& stamp)
{
    if (!document || DocumentNames::IsUntitled(document->FileName()))
        return;
    m_entries[document] = TEntry{stamp, std::nullopt};
}

void TDiskWatch::Renamed(const TMemoSource* document)
{
    if (!document || DocumentNames::IsUntitled(document->FileName()))
        return;
    TDiskStamp stamp = TDiskStamp::Of(document->FileName());
    const auto recorded = m_entries.find(document);
    if (recorded != m_entries.end())
        stamp.checksum = recorded->second.recorded.checksum;
    Record(document, stamp);
}

void TDiskWatch::Forget(const TMemoSource* document)
{
    m_entries.erase(document);
}

void TDiskWatch::WindowActivated()
{
    // Several activations in a row (a question box closing is one) make one
    // check.
    if (m_checkScheduled)
        return;
    m_checkScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_checkScheduled = false;
            // A dialog that took the focus meanwhile (a question of another
            // command) is not interrupted: the window's next activation,
            // when it closes, checks.
            const auto* window = qobject_cast<const QWidget*>(parent());
            if (!window || window->isActiveWindow())
                CheckAll();
        },
        Qt::QueuedConnection);
}

void TDiskWatch::BeginAsking()
{
    m_asking = true;
}

void TDiskWatch::EndAsking()
{
    m_asking = false;
    if (m_checkDeferred) {
        m_checkDeferred = false;
        WindowActivated();
    }
}

void TDiskWatch::CheckAll()
{
    if (m_asking) {
        m_checkDeferred = true;
        return;
    }
    BeginAsking();
    for (TMemoSource* document : m_documents()) {
        const auto it = m_entries.find(document);
        if (it == m_entries.end())
            continue;
        const TDiskStamp now = TDiskStamp::Of(document->FileName());
        if (now == it->second.recorded || it->second.asked == now)
            continue;
        it->second.asked = now;
        if (!now.exists) {
            Services().ShowMessage(kRemoved.arg(document->FileName()));
            document->SetModified(true);
            continue;
        }
        const QString& question = document->Modified() ? kChangedLosing : kChanged;
        // Kept without a reload, the text no longer matches its file: it is
        // modified, so that it can be saved and is not dropped on close.
        if (Services().Ask(question.arg(document->FileName()), TServices::bsYesNo) != TServices::anYes
            || !Reload(*document, now))
            document->SetModified(true);
    }
    EndAsking();
}

TDiskWatch::TSaveCheck TDiskWatch::CheckBeforeSave(TMemoSource* document)
{
    const auto it = m_entries.find(document);
    if (it == m_entries.end())
        return TSaveCheck::Unchanged;
    const TDiskStamp now = TDiskStamp::Of(document->FileName());
    const TDiskStamp& recorded = it->second.recorded;
    // Same stamp: the bytes tell, where they were kept.
    if (now == recorded
        && (!now.exists || !recorded.checksum || now.size > TDiskStamp::kChecksumLimit
            || fileChecksum(document->FileName(), TDiskStamp::kChecksumLimit).value_or(*recorded.checksum)
                   == *recorded.checksum))
        return TSaveCheck::Unchanged;
    // Whatever the answer, the next activation does not ask about this state
    // again.
    it->second.asked = now;
    BeginAsking();
    TSaveCheck check = TSaveCheck::Cancel;
    if (!now.exists) {
        if (Services().Ask(kSaveRemoved.arg(document->FileName()), TServices::bsYesNo) == TServices::anYes)
            check = TSaveCheck::Overwrite;
    } else {
        const QString& question = document->Modified() ? kSaveChangedLosing : kSaveChanged;
        switch (Services().Ask(question.arg(document->FileName()), TServices::bsYesNoCancel)) {
        case TServices::anYes:
            check = TSaveCheck::Overwrite;
            break;
        case TServices::anNo:
            if (Reload(*document, now))
                check = TSaveCheck::Reloaded;
            break;
        default:
            break;
        }
    }
    // Not saved: the text is the only copy of what it holds.
    if (check == TSaveCheck::Cancel)
        document->SetModified(true);
    EndAsking();
    return check;
}

bool ConfirmWriteReadOnly(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir()
        || (info.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther)))
        return true;
    return Services().Ask(QStringLiteral("%1 is read-only. Save anyway?").arg(path), TServices::bsYesNoDefaultNo)
           == TServices::anYes;
}

TDiskWatch::TSaveCheck TDiskWatch::CheckBeforeSaveAs(TMemoSource* document, const QString& path)
{
    if (!Watches(document) || !sameFile(document->FileName(), path))
        return TSaveCheck::Unchanged;
    return CheckBeforeSave(document);
}

bool ReloadFromFile(TCustomMemoSource& document, std::optional<TTextEncoding> encoding)
{
    const QString path = document.FileName();
    if (holdsNulByte(path)) {
        Services().ShowError(kBinary.arg(path));
        return false;
    }
    TSimpleParser* parser = document.SyntaxParser();
    const int caretLine = document.CaretLine();
    QString error;
    if (!document.LoadFromFile(path, &error, encoding)) {
        // A cancelled reload keeps the text as it was and says nothing.
        if (!error.isEmpty())
            Services().ShowError(error);
        return false;
    }
    if (document.SyntaxParser() != parser)
        document.SetSyntaxParser(parser);
    document.SetCaret({std::clamp(caretLine, 0, std::max(0, document.LineCount() - 1)), 0});
    return true;
}

bool TDiskWatch::Reload(TMemoSource& document, const TDiskStamp& stamp)
{
    if (!ReloadFromFile(document))
        return false;
    document.SetModified(false);
    document.ClearUndo();
    // Stamped before the read: a write that raced it shows as a change later.
    Record(&document, stamp.WithChecksumOf(document));
    return true;
}
