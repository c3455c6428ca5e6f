// Cut, copy and paste through the services' clipboard. A column block goes
// to the clipboard marked as one and comes back as columns. A copy puts the
// text highlighted as RTF and HTML beside the plain text, so that a paste
// into a word processor or a mail keeps the colours; a paste reads only the
// plain text.

#include "memosource.h"

#include "richtext.h"
#include "services.h"
#include "stringlist.h"
#include "textcodec.h"

bool TCustomMemoSource::CanCutCopy() const
{
    return HasSelection() || (m_options.testFlag(soForceCutCopy) && InRealLine(CaretLine()));
}

namespace {

// Text without an attribute font is copied in the program's editor font.
const TFont kRichPlainFont(QStringLiteral("Courier New"), -13, clWindowText);

} // namespace

void TCustomMemoSource::CopyToClipboard()
{
    if (HasSelection()) {
        TRichTextWriter rtf(*this, TRichTextWriter::rfRtf, kRichPlainFont, clWindow);
        TRichTextWriter html(*this, TRichTextWriter::rfHtml, kRichPlainFont, clWindow);
        for (int line = BlockBegin().line; line <= BlockEnd().line; ++line) {
            int left = 0, right = 0;
            if (!SelectedColumns(line, left, right))
                left = right = 0;
            if (right == TMemoChange::kToEnd)
                right = -1;
            rtf.AddLine(line, left, right);
            html.AddLine(line, left, right);
        }
        rtf.Finish();
        html.Finish();
        Services().SetClipboardText(TextCodec::Decode(SelectedText(), m_encoding), m_selectionMode == smBlock, rtf.Buffer(), html.Buffer());
    } else if (CanCutCopy()) {
        const int line = CaretLine();
        Services().SetClipboardText(
            TextCodec::Decode(LineText(line) + "\r\n", m_encoding), false,
            TRichTextWriter::Range(*this, TRichTextWriter::rfRtf, kRichPlainFont, clWindow, line, 0, line, -1),
            TRichTextWriter::Range(*this, TRichTextWriter::rfHtml, kRichPlainFont, clWindow, line, 0, line, -1));
    }
}

void TCustomMemoSource::CutToClipboard()
{
    if (m_readOnly)
        return;
    if (HasSelection()) {
        if (!SelectionWritable())
            return;
        CopyToClipboard();
        TUpdate update(*this, Reason::kCut);
        DeleteSelectedText();
    } else if (CanCutCopy() && !IsLineReadOnly(CaretLine())) {
        CopyToClipboard();
        TUpdate update(*this, Reason::kCut);
        DeleteLine();
    }
}

void TCustomMemoSource::PasteFromClipboard()
{
    if (m_readOnly)
        return;
    bool column = false;
    // A character the document's encoding cannot hold arrives as '?'.
    const QByteArray text = TextCodec::Encode(Services().ClipboardText(&column), m_encoding);
    if (text.isEmpty())
        return;
    QList<QByteArray> pieces = SplitPieces(text);
    if (column && pieces.size() > 1 && pieces.last().isEmpty())
        pieces.removeLast();
    if (OnPasteFromClipboard) {
        TStringList lines;
        for (const QByteArray& piece : pieces)
            lines.Add(piece);
        OnPasteFromClipboard(*this, lines);
        pieces = lines.ToList();
    }
    TUpdate update(*this, Reason::kPaste);
    if (m_options.testFlag(soOverwriteBlocks) && HasSelection() && !DeleteSelectedText())
        return;
    if (IsLineReadOnly(CaretLine()))
        return;
    if (column)
        InsertColumns(pieces);
    else
        InsertPieces(pieces);
}
