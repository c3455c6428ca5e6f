#pragma once

#include "builtinschemes.h"
#include "memosource.h"
#include "sourcestrings.h"
#include "syntaxparser.h"

#include <QByteArray>
#include <QList>

#include <gtest/gtest.h>

#include <memory>

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

// Attribute bytes written out: one value per character.
inline QByteArray Bytes(std::initializer_list<std::pair<int, int>> runs)
{
    QByteArray bytes;
    for (auto [attr, count] : runs)
        bytes.append(count, char(attr));
    return bytes;
}
