#pragma once

#include "syntaxparser.h"

#include <QByteArray>
#include <QPointer>
#include <QString>

#include <array>
#include <string_view>

// The parsers the program ships. Their schemes are stored in the text form
// of the component stream and compiled in as resources.
enum class TBuiltInScheme {
    None = 0,       // plain text
    Jsp = 1,        // TarnelParser, "ASP in HTML": JSP and HTML files
    Java = 2,       // JavaParser, "Java"
    Batch = 3,      // BatParser, "MS-DOS Batch Language"
    Xml = 4,        // XmlParser, "XML"
    Css = 5,        // CssParser, "CSS"
    JavaScript = 6, // JavaScriptParser, "JavaScript"
    Json = 7,       // JsonParser, "JSON"
    Properties = 8, // PropertiesParser, "Properties"
    Sql = 9,        // SqlParser, "SQL"
    Shell = 10,     // ShellParser, "Shell"
};

namespace BuiltInSchemes {

// How many schemes there are besides None; their tags are 1 to kCount.
constexpr int kCount = 10;

// The component name of a built-in parser ("TarnelParser"); empty for None.
QString ComponentName(TBuiltInScheme which);
// What the "Syntax Highlight" menus call it ("None", "JSP", "XML"...).
QString Caption(TBuiltInScheme which);
// The stored text of a built-in parser; empty for None.
QByteArray StreamText(TBuiltInScheme which);
// The scheme for a file name by its extension, lower-cased and compared
// exactly (".jsp", ".htm", ".html" ... JSP; ".java" Java; ".bat" Batch;
// ".xml", ".pom" ... XML; and so on); anything else None.
TBuiltInScheme ForFileName(const QString& fileName);
// The scheme a file's first line names when its extension names none: a
// "#!" line of a Bourne-style shell Shell, an XML declaration XML.
TBuiltInScheme ForFirstLine(std::string_view line);
// By the extension, else by the first line.
TBuiltInScheme ForFile(const QString& fileName, std::string_view firstLine);
// The scheme of a "Syntax Highlight" menu tag: 0 None, 1 JSP, 2 Java,
// 3 Batch, 4 XML ... 10 Shell; other tags None.
TBuiltInScheme ForTag(int tag);
int Tag(TBuiltInScheme which);

} // namespace BuiltInSchemes

// A new parser read from the stored text of which, owned by owner; null for
// None, or (with a message in error) when the stored text cannot be read.
TSyntaxParser* CreateBuiltInParser(TBuiltInScheme which, TComponent* owner, QString* error = nullptr);

// The built-in parsers of a window, each created when first asked for (a
// window starts with one of them), and the choice among them by file name
// or menu tag.
class TBuiltInParsers {
public:
    explicit TBuiltInParsers(TComponent* owner);

    TSyntaxParser* Parser(TBuiltInScheme which) const;
    TSyntaxParser* ForFileName(const QString& fileName) const { return Parser(BuiltInSchemes::ForFileName(fileName)); }
    TSyntaxParser* ForFile(const QString& fileName, std::string_view firstLine) const
    {
        return Parser(BuiltInSchemes::ForFile(fileName, firstLine));
    }
    TSyntaxParser* ForTag(int tag) const { return Parser(BuiltInSchemes::ForTag(tag)); }
    // Which of the parsers parser is; None for null or any other parser.
    TBuiltInScheme SchemeOf(const TSyntaxParser* parser) const;

private:
    TComponent* m_owner = nullptr;
    // The owner frees them. Index: the tag less one.
    mutable std::array<QPointer<TSyntaxParser>, BuiltInSchemes::kCount> m_parsers;
    mutable std::array<bool, BuiltInSchemes::kCount> m_created{};
};
