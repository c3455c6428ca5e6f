#include "syntaxtokens.h"

#include "ansi.h"

TToken::TToken(TCollection* collection) : TCollectionItem(collection) {}

TLineToken::TLineToken(TCollection* collection) : TToken(collection) {}

QString TLineToken::LeftDelimiter() const { return Ansi::ToQString(m_left); }
void TLineToken::SetLeftDelimiter(const QString& text) { m_left = Ansi::FromQString(text); }

TBlockToken::TBlockToken(TCollection* collection) : TLineToken(collection) {}

QString TBlockToken::RightDelimiter() const { return Ansi::ToQString(m_right); }
void TBlockToken::SetRightDelimiter(const QString& text) { m_right = Ansi::FromQString(text); }

TKeywordSet::TKeywordSet(TCollection* collection) : TToken(collection) {}

QString TKeywordSet::Keywords() const { return Ansi::ToQString(m_keywords); }
void TKeywordSet::SetKeywords(const QString& text) { m_keywords = Ansi::FromQString(text); }

TDelimiters::TDelimiters(TCollection* collection) : TCollectionItem(collection) {}

QString TDelimiters::LeftDelimiter() const { return Ansi::ToQString(m_left); }
void TDelimiters::SetLeftDelimiter(const QString& text) { m_left = Ansi::FromQString(text); }
QString TDelimiters::RightDelimiter() const { return Ansi::ToQString(m_right); }
void TDelimiters::SetRightDelimiter(const QString& text) { m_right = Ansi::FromQString(text); }
QString TDelimiters::OpenInTokensOf() const { return Ansi::ToQString(m_inTokensOf); }
void TDelimiters::SetOpenInTokensOf(const QString& text) { m_inTokensOf = Ansi::FromQString(text); }
