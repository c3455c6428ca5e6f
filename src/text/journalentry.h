#pragma once

#include "memotypes.h"
#include "position.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

class QIODevice;
class TCustomMemoSource;
class TTextSnapshot;

// One entry of the autosave journal: the unsaved text of one document and
// what is needed to give it back after a crash.
//
// On disk an entry is a short header of "key: value" lines, an empty line,
// the text's bytes exactly as saving would write them, and a trailer with a
// checksum of those bytes:
//
//   Tarnel journal 1
//   name: /home/ann/page.jsp        (percent-encoded UTF-8; "Untitled3" for a new text)
//   encoding: windows-1252          (how the bytes are read back: windows-1252, utf-8,
//                                    utf-8-bom or ibm437; see RestoreInto)
//   format: unix                    (windows, mac or unix: the document's line ends)
//   caret: 12 5                     (line and column, from 0)
//   written: 2026-12-09T01:40:00.123Z
//   disk: 1 2048 1765243200000000000 2049 131077   (percent-encoded; the state of the
//                                    file when last loaded or saved, kept for the shell)
//   size: 2048                      (bytes of text)
//
//   <text>
//   \nchecksum: 0123456789abcdef\n
//
// A reader takes only an entry that is whole: the first line, a size that
// accounts for every byte of the file, and a matching checksum; anything
// else (a write cut short, a damaged disk, a file that is no entry) is
// refused with a reason. Unknown keys are skipped, so that later versions
// may add some.
struct TJournalEntry {
    static const QByteArray kMagic;
    static const QString kWindows1252;
    // The header's name of a document's encoding (and byte order mark).
    static QString EncodingName(TTextEncoding encoding, bool byteOrderMark);

    QString fileName;
    QString encoding = kWindows1252;
    TOutFormatType outFormat = ofWindows;
    TTextPos caret;
    QDateTime written;
    QString diskState;
    qint64 size = 0;
    // The text, once read.
    QByteArray text;

    // Writes the entry with text as its bytes (size is taken from text).
    bool Write(QIODevice& device, const TTextSnapshot& text, QString* error = nullptr) const;
    // Reads a whole entry; nothing, with the reason in problem, otherwise.
    static std::optional<TJournalEntry> Read(const QString& path, QString* problem = nullptr);
    static std::optional<TJournalEntry> Read(QIODevice& device, QString* problem = nullptr);

    // Gives store the entry's text as loading the file that saving would
    // have written gives it (every byte, each line's own end), its caret,
    // and the modified flag. The one place that reads the bytes through
    // the entry's encoding; false, with the reason, for an encoding this
    // program does not know, and the store as it was.
    bool RestoreInto(TCustomMemoSource& store, QString* error = nullptr) const;
};
