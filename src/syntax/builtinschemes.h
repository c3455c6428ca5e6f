#pragma once

#include "syntaxparser.h"

#include <QByteArray>
#include <QPointer>
#include <QString>

// The three parsers the program ships. Their schemes are stored in the text
// form of the component stream and compiled in as resources.
enum class TBuiltInScheme {
    None = 0,  // plain text
    Jsp = 1,   // TarnelParser, "ASP in HTML": JSP and HTML files
    Java = 2,  // JavaParser, "Java"
    Batch = 3, // BatParser, "MS-DOS Batch Language"
};

namespace BuiltInSchemes {

// The component name of a built-in parser ("TarnelParser"); empty for None.
QString ComponentName(TBuiltInScheme which);
// The stored text of a built-in parser; empty for None.
QByteArray StreamText(TBuiltInScheme which);
// The scheme for a file name by its extension, lower-cased and compared
// exactly: ".jsp", ".htm", ".html", ".shtm", ".shtml", ".htx" JSP; ".java"
// Java; ".bat" Batch; anything else None.
TBuiltInScheme ForFileName(const QString& fileName);
// The scheme of a "Syntax Highlight" menu tag: 0 None, 1 JSP, 2 Java,
// 3 Batch; other tags None.
TBuiltInScheme ForTag(int tag);
int Tag(TBuiltInScheme which);

} // namespace BuiltInSchemes

// A new parser read from the stored text of which, owned by owner; null for
// None, or (with a message in error) when the stored text cannot be read.
TSyntaxParser* CreateBuiltInParser(TBuiltInScheme which, TComponent* owner, QString* error = nullptr);

// The three built-in parsers of a window, created together, and the choice
// among them by file name or menu tag.
class TBuiltInParsers {
public:
    explicit TBuiltInParsers(TComponent* owner);

    TSyntaxParser* Parser(TBuiltInScheme which) const;
    TSyntaxParser* ForFileName(const QString& fileName) const { return Parser(BuiltInSchemes::ForFileName(fileName)); }
    TSyntaxParser* ForTag(int tag) const { return Parser(BuiltInSchemes::ForTag(tag)); }
    // Which of the three parser is; None for null or any other parser.
    TBuiltInScheme SchemeOf(const TSyntaxParser* parser) const;

private:
    // The owner frees them.
    QPointer<TSyntaxParser> m_jsp;
    QPointer<TSyntaxParser> m_java;
    QPointer<TSyntaxParser> m_batch;
};
