#include "filereplace.h"

#include "encodingdetect.h"
#include "savebytes.h"
#include "filesearch.h"
#include "regularfile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace FileReplace {

namespace {

// Where the line after the one starting at p starts (end when none).
const char* nextLine(const char* p, const char* end)
{
    while (p < end && *p != '\n' && *p != '\r')
        ++p;
    if (p < end && *p == '\r' && p + 1 < end && p[1] == '\n')
        return p + 2;
    return p < end ? p + 1 : end;
}

int lineLength(const char* p, const char* end)
{
    const char* stop = p;
    while (stop < end && *stop != '\n' && *stop != '\r')
        ++stop;
    return int(stop - p);
}

} // namespace

TOutcome Apply(const QString& path, qint64 size, quint64 fingerprint, std::vector<TEdit> edits,
               const QString& backupPath, QString* error)
{
    QFile file(path);
    const QFileInfo info(path);
    if (!info.exists())
        return TOutcome::Changed;
    // A batch asks no one: a file without write permission stays as it is,
    // whatever this process could do to it.
    if (!(info.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther))) {
        if (error)
            *error = QStringLiteral("it is read-only");
        return TOutcome::Failed;
    }
    if (!RegularFile::Open(file, path, error))
        return TOutcome::Failed;
    const QByteArray old = file.readAll();
    file.close();
    if (old.size() != size || FileSearch::Fingerprint(old.constData(), old.size()) != fingerprint)
        return TOutcome::Changed;

    std::sort(edits.begin(), edits.end(), [](const TEdit& a, const TEdit& b) {
        return a.line != b.line ? a.line < b.line : a.start < b.start;
    });
    const char* const data = old.constData();
    const char* const end = data + old.size();
    const char* line = data;
    if (EncodingDetect::StartsWithByteOrderMark(data, old.size()))
        line += EncodingDetect::kByteOrderMarkLength;
    int number = 0;
    QByteArray text;
    text.reserve(old.size());
    const char* copied = data;
    for (const TEdit& edit : edits) {
        while (number < edit.line && line < end) {
            line = nextLine(line, end);
            ++number;
        }
        // The search found these bytes here: anything else means the edits
        // do not belong to this file.
        const char* at = line + edit.start;
        if (number != edit.line || edit.start < 0 || edit.length < 0 || at < copied
            || edit.start + edit.length > lineLength(line, end))
            return TOutcome::Changed;
        text.append(copied, at - copied);
        text.append(edit.text);
        copied = at + edit.length;
    }
    text.append(copied, end - copied);

    const bool saved = SaveBytesSafely(TSaveTarget{path, backupPath}, text, error);
    return saved ? TOutcome::Written : TOutcome::Failed;
}

} // namespace FileReplace
