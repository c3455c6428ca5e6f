// Entries of the autosave journal: written from a snapshot on the journal's
// worker thread, read back at the next start. The checksum (checksum.h)
// guards against damage, not against forgery.

#include "journalentry.h"

#include "checksum.h"
#include "memosource.h"
#include "regularfile.h"
#include "textsnapshot.h"

#include <QFile>
#include <QUrl>

#include <cstring>

const QByteArray TJournalEntry::kMagic = QByteArrayLiteral("Tarnel journal 1");
const QString TJournalEntry::kWindows1252 = QStringLiteral("windows-1252");

namespace {

const QString kUtf8 = QStringLiteral("utf-8");
const QString kUtf8Bom = QStringLiteral("utf-8-bom");
const QString kIbm437 = QStringLiteral("ibm437");

} // namespace

QString TJournalEntry::EncodingName(TTextEncoding encoding, bool byteOrderMark)
{
    switch (encoding) {
    case teUtf8:
        return byteOrderMark ? kUtf8Bom : kUtf8;
    case teOem:
        return kIbm437;
    default:
        return kWindows1252;
    }
}

namespace {

constexpr qint64 kMaxHeaderLine = 64 * 1024;
constexpr int kMaxHeaderLines = 64;
constexpr char kTrailerKey[] = "\nchecksum: ";
constexpr qint64 kTrailerSize = sizeof(kTrailerKey) - 1 + 16 + 1;

QByteArray formatName(TOutFormatType format)
{
    return format == ofUnix ? "unix" : format == ofMac ? "mac" : "windows";
}

std::optional<TOutFormatType> formatOf(const QByteArray& name)
{
    if (name == "unix")
        return ofUnix;
    if (name == "mac")
        return ofMac;
    if (name == "windows")
        return ofWindows;
    return std::nullopt;
}

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

bool TJournalEntry::Write(QIODevice& device, const TTextSnapshot& text, QString* error) const
{
    QByteArray header = kMagic + '\n';
    header += "name: " + QUrl::toPercentEncoding(fileName) + '\n';
    header += "encoding: " + encoding.toLatin1() + '\n';
    header += "format: " + formatName(outFormat) + '\n';
    header += "caret: " + QByteArray::number(caret.line) + ' ' + QByteArray::number(caret.column) + '\n';
    header += "written: " + written.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\n';
    header += "disk: " + QUrl::toPercentEncoding(diskState) + '\n';
    header += "size: " + QByteArray::number(text.Size()) + "\n\n";
    auto put = [&device](const char* data, qint64 length) { return device.write(data, length) == length; };
    TChecksum checksum;
    const bool written = put(header.constData(), header.size()) && text.ForEachPiece([&](const char* data, qint64 length) {
        checksum.Add(data, length);
        return put(data, length);
    });
    const QByteArray trailer = kTrailerKey + checksum.Hex() + '\n';
    if (!written || !put(trailer.constData(), trailer.size()))
        return fail(error, device.errorString());
    return true;
}

std::optional<TJournalEntry> TJournalEntry::Read(const QString& path, QString* problem)
{
    QFile file(path);
    QString refusal;
    if (!RegularFile::Open(file, path, &refusal)) {
        fail(problem, refusal);
        return std::nullopt;
    }
    return Read(file, problem);
}

std::optional<TJournalEntry> TJournalEntry::Read(QIODevice& device, QString* problem)
{
    auto refuse = [problem](const QString& reason) -> std::optional<TJournalEntry> {
        fail(problem, reason);
        return std::nullopt;
    };
    if (device.readLine(kMagic.size() + 2) != kMagic + '\n')
        return refuse(QStringLiteral("It is not a journal entry."));
    TJournalEntry entry;
    bool haveName = false, haveSize = false;
    for (int lines = 0;; ++lines) {
        QByteArray line = device.readLine(kMaxHeaderLine);
        if (lines >= kMaxHeaderLines || !line.endsWith('\n'))
            return refuse(QStringLiteral("Its header is damaged."));
        line.chop(1);
        if (line.isEmpty())
            break;
        const qsizetype colon = line.indexOf(": ");
        if (colon <= 0)
            return refuse(QStringLiteral("Its header is damaged."));
        const QByteArray key = line.left(colon);
        const QByteArray value = line.mid(colon + 2);
        bool ok = true;
        if (key == "name") {
            entry.fileName = QUrl::fromPercentEncoding(value);
            haveName = !entry.fileName.isEmpty();
        } else if (key == "encoding") {
            entry.encoding = QString::fromLatin1(value);
        } else if (key == "format") {
            const auto format = formatOf(value);
            ok = format.has_value();
            entry.outFormat = format.value_or(ofWindows);
        } else if (key == "caret") {
            const QList<QByteArray> parts = value.split(' ');
            bool lineOk = false, columnOk = false;
            if (parts.size() == 2) {
                entry.caret = {parts[0].toInt(&lineOk), parts[1].toInt(&columnOk)};
            }
            ok = lineOk && columnOk && entry.caret.line >= 0 && entry.caret.column >= 0;
        } else if (key == "written") {
            entry.written = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs);
            ok = entry.written.isValid();
        } else if (key == "disk") {
            entry.diskState = QUrl::fromPercentEncoding(value);
        } else if (key == "size") {
            entry.size = value.toLongLong(&ok);
            ok = ok && entry.size >= 0;
            haveSize = ok;
        }
        if (!ok)
            return refuse(QStringLiteral("Its header is damaged."));
    }
    if (!haveName || !haveSize)
        return refuse(QStringLiteral("Its header is damaged."));
    // The size accounts for every byte of the file, so that a write cut
    // short is told from a whole entry before anything is allocated.
    if (!device.isSequential() && device.size() - device.pos() != entry.size + kTrailerSize)
        return refuse(QStringLiteral("It was cut short or is damaged."));
    entry.text = device.read(entry.size);
    const QByteArray trailer = device.read(kTrailerSize);
    TChecksum checksum;
    checksum.Add(entry.text.constData(), entry.text.size());
    const QByteArray expected = kTrailerKey + checksum.Hex() + '\n';
    if (entry.text.size() != entry.size || trailer != expected || !device.atEnd())
        return refuse(QStringLiteral("It was cut short or is damaged."));
    return entry;
}

bool TJournalEntry::RestoreInto(TCustomMemoSource& store, QString* error) const
{
    // The bytes are taken as they are whatever the encoding; the encoding
    // only says how the restored document reads them.
    std::optional<TTextEncoding> textEncoding;
    for (TTextEncoding known : {teWindows1252, teUtf8, teOem}) {
        for (bool mark : {false, true}) {
            if (encoding == EncodingName(known, mark))
                textEncoding = known;
        }
    }
    if (!textEncoding)
        return fail(error, QStringLiteral("It is in an encoding this program does not know (%1).").arg(encoding));
    // A text with no line end keeps the document's format; any other takes
    // the format of its first line, as loading its file would.
    const TOutFormatType format = store.OutFormat();
    store.SetOutFormat(outFormat);
    if (!store.SetTextStr(text, error)) {
        store.SetOutFormat(format);
        return false;
    }
    store.SetEncoding(*textEncoding);
    store.SetByteOrderMark(encoding == kUtf8Bom);
    store.SetCaret(caret);
    store.SetModified(true);
    return true;
}
