#include "encodingcommands.h"

#include "diskwatch.h"
#include "memosource.h"
#include "services.h"
#include "textcodec.h"
#include "utf8.h"

#include <algorithm>

namespace EncodingCommands {

const std::array<TChoiceItem, 4> kChoices = {{
    {TEncodingChoice::Utf8, "Utf8", "UTF-8"},
    {TEncodingChoice::Utf8WithBom, "Utf8Bom", "UTF-8 with BOM"},
    {TEncodingChoice::Windows1252, "Windows1252", "Windows-1252"},
    {TEncodingChoice::Oem437, "Oem437", "OEM 437"},
}};

namespace {

QString captionOf(TEncodingChoice choice)
{
    for (const TChoiceItem& item : kChoices) {
        if (item.choice == choice)
            return QString::fromLatin1(item.caption);
    }
    return {};
}

// Where a character the target cannot hold stands, and what it is.
struct TMisfit {
    int line = -1;
    QString character;
    bool invalidBytes = false;
};

TMisfit firstMisfit(const TCustomMemoSource& document, TTextEncoding target)
{
    const TTextEncoding source = document.Encoding();
    for (int line = 0; line < document.LineCount(); ++line) {
        const std::string_view raw = document.Strings().RawText(line);
        // ASCII reads and writes the same in every encoding offered here.
        if (std::all_of(raw.begin(), raw.end(), [](char c) { return uchar(c) < 0x80; }))
            continue;
        const QString text = TextCodec::Decode(raw.data(), qsizetype(raw.size()), source);
        qsizetype at = -1;
        TextCodec::Encode(text, target, &at);
        if (at < 0)
            continue;
        TMisfit misfit;
        misfit.line = line;
        const bool pair = text[at].isHighSurrogate() && at + 1 < text.size();
        misfit.character = text.mid(at, pair ? 2 : 1);
        misfit.invalidBytes = source == MemoTypes::teUtf8 && text[at] == QChar(0xFFFD)
                              && !Utf8::IsValid(raw.data(), raw.data() + raw.size());
        return misfit;
    }
    return {};
}

} // namespace

TTextEncoding EncodingOf(TEncodingChoice choice)
{
    switch (choice) {
    case TEncodingChoice::Windows1252:
        return MemoTypes::teWindows1252;
    case TEncodingChoice::Oem437:
        return MemoTypes::teOem;
    default:
        return MemoTypes::teUtf8;
    }
}

QString DocumentEncodingName(const TCustomMemoSource& document)
{
    return TextCodec::Name(document.Encoding());
}

bool Reopen(TCustomMemoSource& document, TEncodingChoice choice)
{
    const QString path = document.FileName();
    if (document.Modified()
        && Services().Ask(QStringLiteral("%1 has unsaved changes. Reopen it as %2 and lose them?")
                              .arg(path, captionOf(choice)),
                          TServices::bsYesNo)
               != TServices::anYes)
        return false;
    if (!ReloadFromFile(document, EncodingOf(choice)))
        return false;
    // A mark the file lacks is written by the next save: until then the
    // document differs from its file.
    const bool addsMark = choice == TEncodingChoice::Utf8WithBom && !document.ByteOrderMark();
    if (addsMark)
        document.SetByteOrderMark(true);
    document.SetModified(addsMark);
    return true;
}

bool Transcode(TCustomMemoSource& document, TEncodingChoice choice)
{
    const TTextEncoding target = EncodingOf(choice);
    const bool mark = choice == TEncodingChoice::Utf8WithBom;
    const TTextEncoding source = document.Encoding();
    if (source != target) {
        const TMisfit misfit = firstMisfit(document, target);
        if (misfit.line >= 0) {
            const QString what =
                misfit.invalidBytes
                    ? QStringLiteral("line %1 holds bytes that are not valid UTF-8").arg(misfit.line + 1)
                    : QStringLiteral("the character \"%1\" (U+%2) on line %3 has no place in it")
                          .arg(misfit.character,
                               QString::number(misfit.character.toUcs4().value(0), 16).toUpper().rightJustified(4, u'0'))
                          .arg(misfit.line + 1);
            Services().ShowError(QStringLiteral("Cannot save %1 as %2: %3. Nothing was saved.")
                                     .arg(document.FileName(), captionOf(choice), what));
            return false;
        }
        const int caretLine = document.CaretLine();
        const QByteArray text =
            TextCodec::Encode(TextCodec::Decode(document.Snapshot().Bytes(), source), target);
        QString error;
        if (!document.SetTextStr(text, &error)) {
            Services().ShowError(QStringLiteral("Cannot save %1 as %2. %3").arg(document.FileName(), captionOf(choice), error));
            return false;
        }
        document.SetEncoding(target);
        document.SetCaret({std::clamp(caretLine, 0, std::max(0, document.LineCount() - 1)), 0});
        document.SetModified(true);
    }
    if (document.ByteOrderMark() != (mark && target == MemoTypes::teUtf8)) {
        document.SetByteOrderMark(mark && target == MemoTypes::teUtf8);
        document.SetModified(true);
    }
    return true;
}

} // namespace EncodingCommands
