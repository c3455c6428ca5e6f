#include "sourcestrings.h"

#include "memosource.h"

int TExternalStrings::Count() const
{
    return m_source.LineCount();
}

QByteArray TExternalStrings::Get(int index) const
{
    return m_source.LineText(index);
}

void TExternalStrings::Put(int index, const QByteArray& text)
{
    if (index < 0 || index >= Count())
        return;
    TCustomMemoSource& s = m_source;
    s.BeginUpdateKeepSelection(Reason::kPutLine);
    s.MoveCaretExactly(index - s.CaretLine(), -s.CaretColumn());
    s.DeleteChars(int(s.Strings().RawText(index).size()));
    s.InsertString(s.ConvertText(text));
    s.EndUpdate();
}

void TExternalStrings::Insert(int index, const QByteArray& text)
{
    if (index < 0 || index > Count())
        return;
    TCustomMemoSource& s = m_source;
    s.BeginUpdateKeepSelection(Reason::kInsertLine);
    if (Count() == 0) {
        s.MoveCaretExactly(-s.CaretLine(), -s.CaretColumn());
        s.MaterializeCaretLine();
    } else if (index < Count()) {
        s.MoveCaretExactly(index - s.CaretLine(), -s.CaretColumn());
        s.InsertLineBreak();
    } else {
        // Appending: break the last line at its end and step onto the new one.
        const int last = Count() - 1;
        s.MoveCaretExactly(last - s.CaretLine(), s.LineLength(last) - s.CaretColumn());
        s.InsertLineBreak();
        s.MoveCaretExactly(1, -s.CaretColumn());
    }
    s.InsertString(s.ConvertText(text));
    s.EndUpdate();
}

void TExternalStrings::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    TCustomMemoSource& s = m_source;
    s.BeginUpdateKeepSelection(Reason::kDeleteLine);
    s.MoveCaretExactly(index - s.CaretLine(), -s.CaretColumn());
    s.DeleteChars(int(s.Strings().RawText(index).size()));
    if (index + 1 < Count()) {
        s.JoinLines();
    } else if (index > 0) {
        // The last line goes by joining it to the one above.
        s.MoveCaretExactly(-1, s.LineLength(index - 1) - s.CaretColumn());
        s.JoinLines();
    } else {
        // The only line: the text becomes empty, its line end going as a
        // recorded edit (even when it ended nowhere) so that undo brings the
        // line back and redo takes it away again.
        if (s.m_strings.Item(0).lineEnd == TStringItem::kEndNone)
            s.AddUndo(ukLineEnd, 0, TStringItem::kEndNone);
        else
            s.SetLineEnd(0, TStringItem::kEndNone);
        s.m_strings.Delete(0);
        s.MarkChanged(0, TMemoChange::kToEnd);
        s.AddChangeFlags(Change::kText);
    }
    s.EndUpdate();
}

void TExternalStrings::Clear()
{
    TCustomMemoSource& s = m_source;
    s.BeginUpdateKeepSelection(Reason::kClear);
    s.m_strings.Clear();
    // The bracket puts back the cleared state, not the old one.
    s.m_kept = {};
    s.LinesReplaced();
    s.EndUpdate();
}

void TExternalStrings::BeginUpdate()
{
    m_source.BeginUpdate(Reason::kSetText);
}

void TExternalStrings::EndUpdate()
{
    m_source.EndUpdate();
}

QByteArray TExternalStrings::Text() const
{
    return m_source.Strings().Text();
}

void TExternalStrings::SetText(const QByteArray& text)
{
    m_source.SetTextStr(text);
}

void TExternalStrings::Assign(const TStrings& source)
{
    if (&source == this)
        return;
    TCustomMemoSource& s = m_source;
    s.BeginUpdate(Reason::kSetText);
    s.m_strings.Clear();
    for (int i = 0; i < source.Count(); ++i) {
        const QByteArray line = s.ConvertText(source.Get(i));
        s.m_strings.InsertRaw(i, std::string_view(line.constData(), size_t(line.size())));
    }
    s.LinesReplaced();
    s.EndUpdate();
}

bool TExternalStrings::LoadFromStream(QIODevice& device)
{
    return m_source.LoadFromStream(device);
}

bool TExternalStrings::SaveToStream(QIODevice& device) const
{
    return m_source.SaveToStream(device);
}

int TSelectionStrings::Count() const
{
    if (!m_source.HasSelection())
        return 0;
    return m_source.BlockEnd().line - m_source.BlockBegin().line + 1;
}

QByteArray TSelectionStrings::Get(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return m_source.SelectedPart(m_source.BlockBegin().line + index);
}
