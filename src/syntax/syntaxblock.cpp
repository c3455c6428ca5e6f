#include "syntaxblock.h"

#include "ansi.h"
#include "charsettext.h"
#include "commatext.h"

TSyntaxBlock::TSyntaxBlock(TCollection* collection)
    : TNamedItem(collection),
      m_blockDelimiters(new TDelimitersList(this)),
      m_singleLineComments(new TLineTokenList(this)),
      m_multiLineComments(new TBlockTokenList(this)),
      m_fullLineComments(new TLineTokenList(this)),
      m_singleLineStrings(new TBlockTokenList(this)),
      m_multiLineStrings(new TBlockTokenList(this)),
      m_numPrefixes(new TLineTokenList(this)),
      m_numSuffixes(new TLineTokenList(this)),
      m_numPrefixesSuffixes(new TBlockTokenList(this)),
      m_identPrefixes(new TLineTokenList(this)),
      m_identSuffixes(new TLineTokenList(this)),
      m_identPrefixesSuffixes(new TBlockTokenList(this)),
      m_keywordSets(new TKeywordSetList(this)),
      m_firstIdentChars(DefaultFirstIdentChars()),
      m_otherIdentChars(DefaultOtherIdentChars())
{
}

TCharSet TSyntaxBlock::DefaultFirstIdentChars()
{
    TCharSet set = TCharSet::Range('A', 'Z');
    set.Add('_');
    set.AddRange('a', 'z');
    return set;
}

TCharSet TSyntaxBlock::DefaultOtherIdentChars()
{
    TCharSet set = DefaultFirstIdentChars();
    set.AddRange('0', '9');
    return set;
}

QString TSyntaxBlock::LineDirectivePrefix() const { return Ansi::ToQString(m_lineDirectivePrefix); }
void TSyntaxBlock::SetLineDirectivePrefix(const QString& prefix) { m_lineDirectivePrefix = Ansi::FromQString(prefix); }

QString TSyntaxBlock::FirstIdentChars() const { return Ansi::ToQString(CharSetText::Write(m_firstIdentChars)); }
void TSyntaxBlock::SetFirstIdentChars(const QString& text) { m_firstIdentChars = CharSetText::Read(Ansi::FromQString(text)); }
QString TSyntaxBlock::OtherIdentChars() const { return Ansi::ToQString(CharSetText::Write(m_otherIdentChars)); }
void TSyntaxBlock::SetOtherIdentChars(const QString& text) { m_otherIdentChars = CharSetText::Read(Ansi::FromQString(text)); }

QList<int> TSyntaxBlock::MoreParentIDList() const
{
    QList<int> ids;
    for (const QByteArray& item : CommaText::Split(Ansi::FromQString(m_moreParentIds))) {
        bool ok = false;
        const int id = item.trimmed().toInt(&ok);
        if (ok)
            ids.append(id);
    }
    return ids;
}

bool TSyntaxBlock::OpensIn(int parentId) const
{
    return m_parentId == parentId || (!m_moreParentIds.isEmpty() && MoreParentIDList().contains(parentId));
}

QList<int> TSyntaxBlock::TokenFontIDs() const
{
    QList<int> ids;
    auto add = [&ids](const TCollection* list) {
        for (int i = 0; i < list->Count(); ++i)
            ids.append(static_cast<const TToken*>(list->Item(i))->FontID());
    };
    add(m_singleLineComments);
    add(m_multiLineComments);
    add(m_fullLineComments);
    add(m_singleLineStrings);
    add(m_multiLineStrings);
    add(m_numPrefixes);
    add(m_numSuffixes);
    add(m_numPrefixesSuffixes);
    add(m_identPrefixes);
    add(m_identSuffixes);
    add(m_identPrefixesSuffixes);
    add(m_keywordSets);
    return ids;
}

void TSyntaxBlock::Assign(const TCollectionItem& source)
{
    TNamedItem::Assign(source);
    if (auto* block = qobject_cast<const TSyntaxBlock*>(&source)) {
        m_firstIdentChars = block->m_firstIdentChars;
        m_otherIdentChars = block->m_otherIdentChars;
    }
}

TSyntaxBlock* TSyntaxBlockList::FindID(int id) const
{
    const int index = IndexOfID(id);
    return index < 0 ? nullptr : At(index);
}

int TSyntaxBlockList::IndexOfID(int id) const
{
    for (int i = 0; i < Count(); ++i) {
        if (At(i)->ID() == id)
            return i;
    }
    return -1;
}
