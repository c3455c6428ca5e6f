#include "builtinschemes.h"

#include "componentstream.h"
#include "syntaxparser.h"

#include <QFile>
#include <QFileInfo>

// The resources of a static library are registered only when asked for.
static void InitSchemeResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(builtinschemes);
        return true;
    }();
    (void)done;
}

namespace {

struct TSchemeEntry {
    const char* component;
    const char* caption;
    // The extensions that choose it, lower case, space-separated.
    const char* extensions;
};

// By tag less one. An extension that an earlier entry names stays with it.
// JSP tag files (".tag") and fragments (".jspf") are written in JSP's own
// syntax; the XML form of tag files is ".tagx".
constexpr TSchemeEntry kSchemes[BuiltInSchemes::kCount] = {
    {"TarnelParser", "JSP", ".jsp .htm .html .shtm .shtml .htx .jspf .tag"},
    {"JavaParser", "Java", ".java"},
    {"BatParser", "Batch", ".bat"},
    {"XmlParser", "XML", ".xml .xsd .xsl .xslt .tld .tagx .jspx .pom .wsdl .svg"},
    {"CssParser", "CSS", ".css"},
    {"JavaScriptParser", "JavaScript", ".js .mjs .cjs"},
    {"JsonParser", "JSON", ".json .jsonc"},
    {"PropertiesParser", "Properties", ".properties"},
    {"SqlParser", "SQL", ".sql"},
    {"ShellParser", "Shell", ".sh .bash"},
};

const TSchemeEntry* Entry(TBuiltInScheme which)
{
    const int tag = int(which);
    return tag >= 1 && tag <= BuiltInSchemes::kCount ? &kSchemes[tag - 1] : nullptr;
}

// The shells whose scripts the Shell scheme reads.
bool IsBourneShell(std::string_view name)
{
    return name == "sh" || name == "bash" || name == "dash" || name == "ksh";
}

} // namespace

namespace BuiltInSchemes {

QString ComponentName(TBuiltInScheme which)
{
    const TSchemeEntry* entry = Entry(which);
    return entry ? QString::fromLatin1(entry->component) : QString();
}

QString Caption(TBuiltInScheme which)
{
    const TSchemeEntry* entry = Entry(which);
    return entry ? QString::fromLatin1(entry->caption) : QStringLiteral("None");
}

QByteArray StreamText(TBuiltInScheme which)
{
    const QString name = ComponentName(which);
    if (name.isEmpty())
        return {};
    InitSchemeResources();
    QFile file(QStringLiteral(":/schemes/%1.txt").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

TBuiltInScheme ForFileName(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.isEmpty())
        return TBuiltInScheme::None;
    const QString extension = "." + suffix.toLower();
    for (int tag = 1; tag <= kCount; ++tag) {
        const QStringList extensions = QString::fromLatin1(kSchemes[tag - 1].extensions).split(u' ');
        if (extensions.contains(extension))
            return TBuiltInScheme(tag);
    }
    return TBuiltInScheme::None;
}

TBuiltInScheme ForFirstLine(std::string_view line)
{
    // A UTF-8 byte order mark may come first.
    if (line.substr(0, 3) == "\xEF\xBB\xBF")
        line.remove_prefix(3);
    if (line.substr(0, 5) == "<?xml" && (line.size() == 5 || uchar(line[5]) <= 32))
        return TBuiltInScheme::Xml;
    if (line.substr(0, 2) != "#!")
        return TBuiltInScheme::None;
    // "#!/bin/sh -e", "#! /usr/bin/env bash": the program's last path
    // component, or with env the program env starts.
    auto word = [&line](size_t& at) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
            ++at;
        const size_t start = at;
        while (at < line.size() && uchar(line[at]) > 32)
            ++at;
        return line.substr(start, at - start);
    };
    size_t at = 2;
    std::string_view program = word(at);
    program.remove_prefix(program.rfind('/') == std::string_view::npos ? 0 : program.rfind('/') + 1);
    if (program == "env") {
        program = word(at);
        while (program.substr(0, 1) == "-" || program.find('=') != std::string_view::npos)
            program = word(at);
    }
    return IsBourneShell(program) ? TBuiltInScheme::Shell : TBuiltInScheme::None;
}

TBuiltInScheme ForFile(const QString& fileName, std::string_view firstLine)
{
    const TBuiltInScheme byName = ForFileName(fileName);
    return byName != TBuiltInScheme::None ? byName : ForFirstLine(firstLine);
}

TBuiltInScheme ForTag(int tag)
{
    return tag >= 1 && tag <= kCount ? TBuiltInScheme(tag) : TBuiltInScheme::None;
}

int Tag(TBuiltInScheme which) { return int(which); }

} // namespace BuiltInSchemes

TSyntaxParser* CreateBuiltInParser(TBuiltInScheme which, TComponent* owner, QString* error)
{
    const QByteArray text = BuiltInSchemes::StreamText(which);
    if (text.isEmpty()) {
        if (error)
            *error = which == TBuiltInScheme::None ? QString() : QStringLiteral("The stored scheme is missing");
        return nullptr;
    }
    auto* parser = new TSyntaxParser(owner);
    if (!ReadComponent(text, *parser, error)) {
        delete parser;
        return nullptr;
    }
    parser->SetName(BuiltInSchemes::ComponentName(which));
    return parser;
}

TBuiltInParsers::TBuiltInParsers(TComponent* owner) : m_owner(owner) {}

TSyntaxParser* TBuiltInParsers::Parser(TBuiltInScheme which) const
{
    const int tag = int(which);
    if (tag < 1 || tag > BuiltInSchemes::kCount)
        return nullptr;
    const size_t i = size_t(tag - 1);
    // A scheme that cannot be read is not tried again.
    if (!m_created[i]) {
        m_created[i] = true;
        m_parsers[i] = CreateBuiltInParser(which, m_owner);
    }
    return m_parsers[i].data();
}

TBuiltInScheme TBuiltInParsers::SchemeOf(const TSyntaxParser* parser) const
{
    // A parser not created yet is not the one asked about.
    for (int tag = 1; parser && tag <= BuiltInSchemes::kCount; ++tag) {
        if (m_parsers[size_t(tag - 1)] == parser)
            return TBuiltInScheme(tag);
    }
    return TBuiltInScheme::None;
}
