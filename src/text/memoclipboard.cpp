// Cut, copy and paste of plain text through the services' clipboard. A
// column block goes to the clipboard marked as one and comes back as columns.

#include "memosource.h"

#include "services.h"
#include "stringlist.h"

bool TCustomMemoSource::CanCutCopy() const
{
    return HasSelection() || (m_options.testFlag(soForceCutCopy) && InRealLine(CaretLine()));
}

void TCustomMemoSource::CopyToClipboard()
{
    if (HasSelection())
        Services().SetClipboardText(SelectedText(), m_selectionMode == smBlock);
    else if (CanCutCopy())
        Services().SetClipboardText(LineText(CaretLine()) + "\r\n", false);
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
    const QByteArray text = Services().ClipboardText(&column);
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
