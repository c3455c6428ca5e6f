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

namespace BuiltInSchemes {

QString ComponentName(TBuiltInScheme which)
{
    switch (which) {
    case TBuiltInScheme::Jsp:
        return QStringLiteral("TarnelParser");
    case TBuiltInScheme::Java:
        return QStringLiteral("JavaParser");
    case TBuiltInScheme::Batch:
        return QStringLiteral("BatParser");
    case TBuiltInScheme::None:
        break;
    }
    return {};
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
    static const char* const kJsp[] = {".jsp", ".htm", ".html", ".shtm", ".shtml", ".htx"};
    for (const char* jsp : kJsp) {
        if (extension == QLatin1String(jsp))
            return TBuiltInScheme::Jsp;
    }
    if (extension == QLatin1String(".java"))
        return TBuiltInScheme::Java;
    if (extension == QLatin1String(".bat"))
        return TBuiltInScheme::Batch;
    return TBuiltInScheme::None;
}

TBuiltInScheme ForTag(int tag)
{
    switch (tag) {
    case 1:
        return TBuiltInScheme::Jsp;
    case 2:
        return TBuiltInScheme::Java;
    case 3:
        return TBuiltInScheme::Batch;
    default:
        return TBuiltInScheme::None;
    }
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

TBuiltInParsers::TBuiltInParsers(TComponent* owner)
    : m_jsp(CreateBuiltInParser(TBuiltInScheme::Jsp, owner)),
      m_java(CreateBuiltInParser(TBuiltInScheme::Java, owner)),
      m_batch(CreateBuiltInParser(TBuiltInScheme::Batch, owner))
{
}

TSyntaxParser* TBuiltInParsers::Parser(TBuiltInScheme which) const
{
    switch (which) {
    case TBuiltInScheme::Jsp:
        return m_jsp;
    case TBuiltInScheme::Java:
        return m_java;
    case TBuiltInScheme::Batch:
        return m_batch;
    case TBuiltInScheme::None:
        break;
    }
    return nullptr;
}

TBuiltInScheme TBuiltInParsers::SchemeOf(const TSyntaxParser* parser) const
{
    if (!parser)
        return TBuiltInScheme::None;
    if (parser == m_jsp)
        return TBuiltInScheme::Jsp;
    if (parser == m_java)
        return TBuiltInScheme::Java;
    if (parser == m_batch)
        return TBuiltInScheme::Batch;
    return TBuiltInScheme::None;
}
