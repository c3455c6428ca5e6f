#pragma once

#include "builtinschemes.h"
#include "memosource.h"
#include "sourcestrings.h"
#include "syntaxparser.h"

#include <QByteArray>
#include <QList>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

// A built-in parser read from its stored text; fails the test when it cannot
// be read.
inline std::unique_ptr<TSyntaxParser> BuiltIn(TBuiltInScheme which)
{
    QString error;
    std::unique_ptr<TSyntaxParser> parser(CreateBuiltInParser(which, nullptr, &error));
    EXPECT_TRUE(parser) << qPrintable(error);
    return parser;
}

// The attributes a store gives a line.
inline QByteArray Attrs(TCustomMemoSource& source, int line)
{
    int length = 0;
    const uchar* attrs = source.LineAttributes(line, &length);
    return QByteArray(reinterpret_cast<const char*>(attrs), length);
}

// The state a store recorded at the end of a line (after parsing it).
inline quint32 EndState(TCustomMemoSource& source, int line)
{
    source.LineAttributes(line);
    return source.Strings().Item(line).endState;
}

// What a store keeps of the structure of its lines, written out.
inline std::string StructureDump(TCustomMemoSource& source)
{
    std::string out;
    const TLineStructures& structures = source.Structures();
    for (size_t i = 0; i < structures.Count(); ++i) {
        const TStructureEntry& entry = structures.At(i);
        out += std::to_string(entry.line) + " f" + std::to_string(entry.fold) + " p" +
               std::to_string(source.CollapseState(entry.line));
        for (int k = 0; k < Structure::kBracketKinds; ++k)
            out += " " + std::to_string(entry.closes[k]) + "/" + std::to_string(entry.opens[k]);
        for (const TStructureEvent& event : structures.Events(entry))
            out += " " + std::to_string(event.kind) + ":" + std::to_string(event.action) + "@" +
                   std::to_string(event.column) + "#" + std::to_string(event.name);
        out += "\n";
    }
    return out;
}

// The first line where two long dumps differ, for a message of some length.
inline std::string FirstDifference(const std::string& a, const std::string& b)
{
    const size_t at = size_t(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
    const size_t from = a.rfind('\n', at) == std::string::npos ? 0 : a.rfind('\n', at) + 1;
    return "\n" + a.substr(from, 200) + "\nvs\n" + b.substr(from, 200);
}

// Parses one line directly; the end state goes to *end.
inline QByteArray ParseOne(TSyntaxParser& parser, const QByteArray& text, quint32 state = 0, quint32* end = nullptr)
{
    QByteArray attrs(text.size(), char(0x7F));
    const quint32 result = parser.ParseLine(std::string_view(text.constData(), size_t(text.size())), state,
                                            reinterpret_cast<uchar*>(attrs.data()));
    if (end)
        *end = result;
    return attrs;
}

// Attributes written one character each: 0-9, a-z, A-Z for 0..61, "{hh}"
// for any other value.
inline std::string Codes(const QByteArray& attrs)
{
    static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string line;
    for (char a : attrs) {
        const uchar v = uchar(a);
        if (v < 62)
            line += kDigits[v];
        else
            line += "{" + QByteArray::number(v, 16).rightJustified(2, '0').toStdString() + "}";
    }
    return line;
}

// Attribute bytes written out: one value per character.
inline QByteArray Bytes(std::initializer_list<std::pair<int, int>> runs)
{
    QByteArray bytes;
    for (auto [attr, count] : runs)
        bytes.append(count, char(attr));
    return bytes;
}

// Building schemes in code, item by item.
inline TLineToken* AddToken(TLineTokenList* list, const QByteArray& left, int fontId = -1)
{
    TLineToken* token = list->AddItem();
    token->SetLeft(left);
    token->SetFontID(fontId);
    return token;
}

inline TBlockToken* AddPair(TBlockTokenList* list, const QByteArray& left, const QByteArray& right, int fontId = -1)
{
    TBlockToken* token = list->AddItem();
    token->SetLeft(left);
    token->SetRight(right);
    token->SetFontID(fontId);
    return token;
}

inline TKeywordSet* AddKeywords(TSyntaxBlock* block, const QByteArray& words, int fontId)
{
    block->SetUseKeywords(true);
    TKeywordSet* set = block->KeywordSets()->AddItem();
    set->SetKeywordBytes(words);
    set->SetFontID(fontId);
    return set;
}

inline TDelimiters* AddOpening(TSyntaxBlock* block, const QByteArray& left, const QByteArray& right, bool partOfBlock)
{
    TDelimiters* delimiters = block->BlockDelimiters()->AddItem();
    delimiters->SetLeft(left);
    delimiters->SetRight(right);
    delimiters->SetDelimitersArePartOfBlock(partOfBlock);
    return delimiters;
}

inline TSyntaxBlock* AddBlock(TSyntaxParser& parser, const QString& name, int id, int parentId, int textFont)
{
    TSyntaxBlock* block = parser.SyntaxScheme()->SyntaxBlocks()->AddItem();
    block->SetName(name);
    block->SetID(id);
    block->SetParentID(parentId);
    block->SetFIText(textFont);
    return block;
}

// A parser whose root block has text attribute 0 and symbol attribute 9.
struct TestParser {
    TestParser()
    {
        root = parser.SyntaxScheme()->SyntaxBlocks()->At(0);
        root->SetFIText(0);
        root->SetFISymbol(9);
        root->SetUseSymbols(true);
        parser.SyntaxScheme()->SetSyntaxVersion(3);
    }
    // Compiles the scheme as edited so far.
    TSyntaxParser& Built()
    {
        parser.RebuildScheme();
        return parser;
    }
    QByteArray Parse(const QByteArray& text, quint32 state = 0, quint32* end = nullptr)
    {
        return ParseOne(Built(), text, state, end);
    }

    TSyntaxParser parser;
    TSyntaxBlock* root;
};
