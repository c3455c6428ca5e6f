#include "codetemplates.h"

#include "ansi.h"
#include "memosource.h"
#include "textcodec.h"

#include <algorithm>

void TCodeTemplate::SetText(const QString& text)
{
    if (m_text == text)
        return;
    m_text = text;
    Changed(false);
}

void TCodeTemplate::SetDescription(const QString& description)
{
    if (m_description == description)
        return;
    m_description = description;
    Changed(false);
}

TCodeTemplate* TCodeTemplates::Add(const QString& name, const QString& text)
{
    auto* item = static_cast<TCodeTemplate*>(TCollection::Add());
    item->SetName(name);
    item->SetText(text);
    return item;
}

TCodeTemplate* TCodeTemplates::Match(const QString& word) const
{
    if (word.isEmpty())
        return nullptr;
    if (auto* exact = static_cast<TCodeTemplate*>(Find(word)))
        return exact;
    for (int i = 0; i < Count(); ++i) {
        if (At(i)->Name().startsWith(word, Qt::CaseInsensitive))
            return At(i);
    }
    return nullptr;
}

// -- the text store's side -------------------------------------------------------

void TCustomMemoSource::SetCodeTemplates(TCodeTemplates* templates)
{
    if (templates == m_codeTemplates)
        return;
    if (templates)
        m_codeTemplates->Assign(*templates);
    else
        m_codeTemplates->Clear();
}

bool TCustomMemoSource::ExpandCodeTemplate()
{
    const int line = CaretLine();
    if (m_templatesType.compare(QLatin1String("None"), Qt::CaseInsensitive) == 0 || !InRealLine(line)
        || IsLineReadOnly(line))
        return false;
    // The word is what stands right before the caret.
    const QByteArray text = LineText(line);
    const int end = CaretColumn();
    if (end > text.size())
        return false;
    int start = end;
    while (start > 0 && IsWordChar(uchar(text[start - 1])))
        --start;
    const TCodeTemplate* found = m_codeTemplates->Match(TextCodec::Decode(text.mid(start, end - start), m_encoding));
    if (!found)
        return false;

    // Lines after the first are indented like the line the template goes in.
    const QByteArray indent(std::max(0, LineIndent(line)), ' ');
    // The view's word on the text comes before anything changes.
    QString templateText = found->Text();
    if (OnViewTemplateInsert)
        OnViewTemplateInsert(*found, templateText);
    TUpdate update(*this, Reason::kExpandTemplate);
    DeleteColumns(line, start, end);
    const QByteArray body = TextCodec::Encode(templateText, m_encoding);
    QList<QByteArray> pieces = SplitPieces(body);
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        if (!pieces[i].isEmpty())
            pieces[i].prepend(indent);
    }
    // The first '|' marks where the caret ends up.
    qsizetype markPiece = -1;
    qsizetype markAt = -1;
    for (qsizetype i = 0; i < pieces.size() && markPiece < 0; ++i) {
        markAt = pieces[i].indexOf('|');
        if (markAt >= 0)
            markPiece = i;
    }
    if (markPiece < 0) {
        InsertPieces(pieces);
        return true;
    }
    QList<QByteArray> before = pieces.mid(0, markPiece + 1);
    QList<QByteArray> after = pieces.mid(markPiece);
    before.last().truncate(markAt);
    after.first().remove(0, markAt + 1);
    InsertPieces(before);
    const TTextPos mark = Caret();
    InsertPieces(after);
    CaretExactlyTo(mark);
    return true;
}
