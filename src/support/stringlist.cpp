#include "stringlist.h"

QByteArray TStrings::Text() const
{
    QByteArray text;
    for (int i = 0; i < Count(); ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(const QByteArray& text)
{
    BeginUpdate();
    Clear();
    for (const QByteArray& line : SplitLines(text))
        Add(line);
    EndUpdate();
}

void TStrings::Assign(const TStrings& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    Clear();
    for (int i = 0; i < source.Count(); ++i)
        Add(source.Get(i));
    EndUpdate();
}

QList<QByteArray> TStrings::ToList() const
{
    QList<QByteArray> lines;
    lines.reserve(Count());
    for (int i = 0; i < Count(); ++i)
        lines.append(Get(i));
    return lines;
}

QList<QByteArray> TStrings::SplitLines(const QByteArray& text)
{
    QList<QByteArray> lines;
    const char* data = text.constData();
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] != '\r' && data[i] != '\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}

QByteArray TStringList::Get(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return m_lines[size_t(index)];
}

void TStringList::Put(int index, const QByteArray& text)
{
    if (index >= 0 && index < Count())
        m_lines[size_t(index)] = text;
}

void TStringList::Insert(int index, const QByteArray& text)
{
    if (index >= 0 && index <= Count())
        m_lines.insert(m_lines.begin() + index, text);
}

void TStringList::Delete(int index)
{
    if (index >= 0 && index < Count())
        m_lines.erase(m_lines.begin() + index);
}
