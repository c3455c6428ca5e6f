#include "componentstream.h"

#include "ansi.h"
#include "collection.h"
#include "color.h"
#include "component.h"
#include "streamlexer.h"
#include "streamprops.h"

#include <QMetaEnum>
#include <QObject>

#include <limits>
#include <memory>
#include <vector>

using namespace StreamProps;

namespace {

// Collections inside collection items may nest this deep; deeper text is
// refused rather than parsed on an ever deeper stack.
constexpr int kMaxDepth = 64;

struct TAssignment;

struct TItem {
    int line = 0;
    std::vector<TAssignment> properties;
};

struct TValue {
    enum TKind { vkNumber, vkString, vkIdent, vkSet, vkBinary, vkCollection };
    TKind kind = vkIdent;
    int line = 0;
    QByteArray text; // number or identifier
    QString string;
    QByteArray bytes;
    std::vector<QByteArray> set;
    std::vector<TItem> items;
};

struct TAssignment {
    int line = 0;
    QByteArray name; // dotted path
    TValue value;
};

struct TObjectNode {
    QString name;
    QByteArray className;
    int classLine = 1;
    std::vector<TAssignment> properties;
};

// ---- Parsing: text to a tree, before anything is touched ----

class TParser {
public:
    explicit TParser(const QByteArray& text) : m_lexer(text) {}

    TObjectNode ParseObject()
    {
        TObjectNode node;
        if (!m_lexer.PeekKeyword("object"))
            Fail(m_lexer.Peek().line, QStringLiteral("the text does not start with 'object'"));
        m_lexer.Next();
        TStreamLexer::TToken first = Expect(TStreamLexer::tkIdent, "a class name");
        node.classLine = first.line;
        if (m_lexer.PeekSymbol(':')) {
            m_lexer.Next();
            node.name = QString::fromLatin1(first.text);
            node.className = Expect(TStreamLexer::tkIdent, "a class name").text;
        } else {
            node.className = first.text;
        }
        node.properties = ParseProperties(0);
        const TStreamLexer::TToken& rest = m_lexer.Peek();
        if (rest.kind != TStreamLexer::tkEnd)
            Fail(rest.line, QStringLiteral("text after the end of the object"));
        return node;
    }

private:
    [[noreturn]] static void Fail(int line, const QString& message) { throw TStreamError{line, message}; }

    TStreamLexer::TToken Expect(TStreamLexer::TTokenKind kind, const char* what)
    {
        TStreamLexer::TToken token = m_lexer.Next();
        if (token.kind == TStreamLexer::tkEnd)
            Fail(token.line, QStringLiteral("unexpected end of text, %1 expected").arg(QLatin1String(what)));
        if (token.kind != kind)
            Fail(token.line, QStringLiteral("%1 expected").arg(QLatin1String(what)));
        return token;
    }

    void ExpectSymbol(char symbol)
    {
        TStreamLexer::TToken token = m_lexer.Next();
        if (token.kind == TStreamLexer::tkSymbol && token.text[0] == symbol)
            return;
        if (token.kind == TStreamLexer::tkEnd)
            Fail(token.line, QStringLiteral("unexpected end of text, '%1' expected").arg(QChar(symbol)));
        Fail(token.line, QStringLiteral("'%1' expected").arg(QChar(symbol)));
    }

    // Properties up to and including the "end" that closes them.
    std::vector<TAssignment> ParseProperties(int depth)
    {
        std::vector<TAssignment> properties;
        for (;;) {
            TStreamLexer::TToken token = m_lexer.Next();
            if (token.kind == TStreamLexer::tkEnd)
                Fail(token.line, QStringLiteral("unexpected end of text, 'end' expected"));
            if (token.kind != TStreamLexer::tkIdent)
                Fail(token.line, QStringLiteral("a property name expected"));
            if (token.text.compare("end", Qt::CaseInsensitive) == 0)
                return properties;
            if (token.text.compare("object", Qt::CaseInsensitive) == 0
                || token.text.compare("item", Qt::CaseInsensitive) == 0)
                Fail(token.line, QStringLiteral("'%1' is not expected here").arg(QString::fromLatin1(token.text)));
            TAssignment assignment;
            assignment.line = token.line;
            assignment.name = token.text;
            ExpectSymbol('=');
            assignment.value = ParseValue(depth);
            properties.push_back(std::move(assignment));
        }
    }

    TValue ParseValue(int depth)
    {
        TStreamLexer::TToken token = m_lexer.Next();
        TValue value;
        value.line = token.line;
        switch (token.kind) {
        case TStreamLexer::tkEnd:
            Fail(token.line, QStringLiteral("unexpected end of text, a value expected"));
        case TStreamLexer::tkNumber:
            value.kind = TValue::vkNumber;
            value.text = token.text;
            return value;
        case TStreamLexer::tkIdent:
            value.kind = TValue::vkIdent;
            value.text = token.text;
            return value;
        case TStreamLexer::tkBinary:
            value.kind = TValue::vkBinary;
            value.bytes = token.bytes;
            return value;
        case TStreamLexer::tkString:
            value.kind = TValue::vkString;
            value.string = token.string;
            while (m_lexer.PeekSymbol('+')) {
                m_lexer.Next();
                value.string += Expect(TStreamLexer::tkString, "a string").string;
            }
            return value;
        case TStreamLexer::tkSymbol:
            break;
        }
        if (token.text[0] == '[') {
            value.kind = TValue::vkSet;
            if (m_lexer.PeekSymbol(']')) {
                m_lexer.Next();
                return value;
            }
            for (;;) {
                value.set.push_back(Expect(TStreamLexer::tkIdent, "a set member").text);
                if (m_lexer.PeekSymbol(',')) {
                    m_lexer.Next();
                    continue;
                }
                ExpectSymbol(']');
                return value;
            }
        }
        if (token.text[0] == '<') {
            if (depth >= kMaxDepth)
                Fail(token.line, QStringLiteral("collections nest too deep"));
            value.kind = TValue::vkCollection;
            while (!m_lexer.PeekSymbol('>')) {
                TStreamLexer::TToken item = Expect(TStreamLexer::tkIdent, "'item'");
                if (item.text.compare("item", Qt::CaseInsensitive) != 0)
                    Fail(item.line, QStringLiteral("'item' expected"));
                TItem parsed;
                parsed.line = item.line;
                parsed.properties = ParseProperties(depth + 1);
                value.items.push_back(std::move(parsed));
            }
            m_lexer.Next();
            return value;
        }
        Fail(token.line, QStringLiteral("a value expected"));
    }

    TStreamLexer m_lexer;
};

// ---- Applying a parsed tree to an object ----

QString Name(const QByteArray& name)
{
    return QString::fromLatin1(name);
}

class TApplier {
public:
    explicit TApplier(const TReferenceResolver& resolver) : m_resolver(resolver) {}

    void ApplyProperties(QObject& object, const std::vector<TAssignment>& properties)
    {
        for (const TAssignment& assignment : properties)
            Apply(object, assignment);
    }

private:
    [[noreturn]] static void Fail(int line, const QString& message) { throw TStreamError{line, message}; }

    static QString Where(const QMetaProperty& property, const QMetaObject& owner)
    {
        return QStringLiteral("property '%1' of %2")
            .arg(QLatin1String(property.name()), QLatin1String(owner.className()));
    }

    void Apply(QObject& object, const TAssignment& assignment)
    {
        const QList<QByteArray> path = assignment.name.split('.');
        QObject* current = &object;
        for (qsizetype i = 0; i < path.size(); ++i) {
            const QMetaObject& meta = *current->metaObject();
            const QMetaProperty property = FindProperty(meta, path[i], false);
            if (!property.isValid())
                Fail(assignment.line, QStringLiteral("unknown property '%1' of %2")
                                          .arg(Name(path[i]), QLatin1String(meta.className())));
            const TKind kind = KindOf(property);
            if (i + 1 == path.size()) {
                SetProperty(*current, property, kind, assignment.value);
                return;
            }
            if (kind == TKind::Gadget) {
                QVariant value = property.read(current);
                ApplyToGadget(value, path, i + 1, assignment);
                if (!property.write(current, value))
                    Fail(assignment.line, QStringLiteral("%1 cannot be written").arg(Where(property, meta)));
                return;
            }
            QObject* child = kind == TKind::Object ? ReadPointer(*current, property) : nullptr;
            if (!child || child->parent() != current)
                Fail(assignment.line, QStringLiteral("%1 has no properties to set").arg(Where(property, meta)));
            current = child;
        }
    }

    // Sets path[at...] inside a gadget value: the caller writes it back.
    void ApplyToGadget(QVariant& gadget, const QList<QByteArray>& path, qsizetype at, const TAssignment& assignment)
    {
        const QMetaObject& meta = *gadget.metaType().metaObject();
        const QMetaProperty property = FindProperty(meta, path[at], true);
        if (!property.isValid())
            Fail(assignment.line, QStringLiteral("unknown property '%1' of %2")
                                      .arg(Name(path[at]), QLatin1String(meta.className())));
        const TKind kind = KindOf(property);
        QVariant value;
        if (at + 1 < path.size()) {
            if (kind != TKind::Gadget)
                Fail(assignment.line, QStringLiteral("%1 has no properties to set").arg(Where(property, meta)));
            value = property.readOnGadget(gadget.constData());
            ApplyToGadget(value, path, at + 1, assignment);
        } else {
            value = Convert(property, kind, meta, assignment.value);
        }
        if (!property.writeOnGadget(gadget.data(), value))
            Fail(assignment.line, QStringLiteral("%1 cannot be written").arg(Where(property, meta)));
    }

    void SetProperty(QObject& object, const QMetaProperty& property, TKind kind, const TValue& value)
    {
        const QMetaObject& meta = *object.metaObject();
        switch (kind) {
        case TKind::Collection:
            ReadCollection(object, property, value);
            return;
        case TKind::Object:
            SetReference(object, property, value);
            return;
        case TKind::Gadget:
            Fail(value.line, QStringLiteral("%1 takes its values one by one (%2.Name = ...)")
                                 .arg(Where(property, meta), QLatin1String(property.name())));
        default:
            break;
        }
        if (!property.isWritable())
            Fail(value.line, QStringLiteral("%1 cannot be written").arg(Where(property, meta)));
        if (!property.write(&object, Convert(property, kind, meta, value)))
            Fail(value.line, QStringLiteral("%1 cannot be written").arg(Where(property, meta)));
    }

    void ReadCollection(QObject& object, const QMetaProperty& property, const TValue& value)
    {
        const QMetaObject& meta = *object.metaObject();
        if (value.kind != TValue::vkCollection)
            Fail(value.line, QStringLiteral("a collection <...> expected for %1").arg(Where(property, meta)));
        auto* collection = qobject_cast<TCollection*>(ReadPointer(object, property));
        if (!collection)
            Fail(value.line, QStringLiteral("%1 holds no collection").arg(Where(property, meta)));
        // One notice for the whole collection, also when an item fails.
        struct TUpdate {
            TCollection* collection;
            ~TUpdate() { collection->EndUpdate(); }
        } update{collection};
        collection->BeginUpdate();
        collection->Clear();
        for (const TItem& item : value.items)
            ApplyProperties(*collection->Add(), item.properties);
    }

    void SetReference(QObject& object, const QMetaProperty& property, const TValue& value)
    {
        const QMetaObject& meta = *object.metaObject();
        QObject* current = ReadPointer(object, property);
        if (current && current->parent() == &object)
            Fail(value.line, QStringLiteral("%1 is an object of its own; set its properties").arg(Where(property, meta)));
        if (!property.isWritable())
            Fail(value.line, QStringLiteral("%1 cannot be written").arg(Where(property, meta)));
        QString name;
        if (value.kind == TValue::vkString)
            name = value.string;
        else if (value.kind == TValue::vkIdent)
            name = value.text.compare("nil", Qt::CaseInsensitive) == 0 ? QString() : Name(value.text);
        else
            Fail(value.line, QStringLiteral("an object name expected for %1").arg(Where(property, meta)));
        QObject* target = nullptr;
        if (!name.isEmpty()) {
            const QMetaObject* type = property.metaType().metaObject();
            if (m_resolver && type)
                target = m_resolver(name, *type);
            if (!target)
                Fail(value.line, QStringLiteral("no object '%1' for %2").arg(name, Where(property, meta)));
            if (type && !target->metaObject()->inherits(type))
                Fail(value.line, QStringLiteral("object '%1' is not a %2 for %3")
                                     .arg(name, QLatin1String(type->className()), Where(property, meta)));
        }
        if (!property.write(&object, PointerVariant(property.metaType(), target)))
            Fail(value.line, QStringLiteral("%1 cannot be written").arg(Where(property, meta)));
    }

    // The value as a QVariant of exactly the property's type.
    static QVariant Convert(const QMetaProperty& property, TKind kind, const QMetaObject& owner, const TValue& value)
    {
        const QString where = Where(property, owner);
        QString shown;
        switch (value.kind) {
        case TValue::vkString: shown = QStringLiteral("'%1'").arg(value.string.left(40)); break;
        case TValue::vkSet: shown = QStringLiteral("a set"); break;
        case TValue::vkBinary: shown = QStringLiteral("a binary value"); break;
        case TValue::vkCollection: shown = QStringLiteral("a collection"); break;
        default: shown = Name(value.text.left(40)); break;
        }
        auto bad = [&](const char* what) -> QVariant {
            Fail(value.line, QStringLiteral("%1 is not %2 for %3").arg(shown, QLatin1String(what), where));
        };
        switch (kind) {
        case TKind::Bool:
            if (value.kind == TValue::vkIdent && value.text.compare("True", Qt::CaseInsensitive) == 0)
                return QVariant(true);
            if (value.kind == TValue::vkIdent && value.text.compare("False", Qt::CaseInsensitive) == 0)
                return QVariant(false);
            return bad("a valid boolean");
        case TKind::Integer:
            return ConvertInteger(property.metaType(), value, [&] { bad("a valid integer"); });
        case TKind::Float: {
            bool ok = false;
            const double number = value.kind == TValue::vkNumber ? value.text.toDouble(&ok) : 0.0;
            if (!ok)
                return bad("a valid number");
            QVariant result(number);
            result.convert(property.metaType());
            return result;
        }
        case TKind::Char: {
            uchar byte = 0;
            if (value.kind != TValue::vkString || value.string.size() != 1
                || !Ansi::FromUnicode(value.string[0].unicode(), byte))
                return bad("a single character");
            return QVariant::fromValue(char(byte));
        }
        case TKind::String:
            if (value.kind != TValue::vkString)
                return bad("a string");
            return QVariant(value.string);
        case TKind::Bytes:
            if (value.kind == TValue::vkBinary)
                return QVariant(value.bytes);
            if (value.kind == TValue::vkString)
                return QVariant(Ansi::FromQString(value.string));
            return bad("a binary value");
        case TKind::Color: {
            TColor color;
            if ((value.kind != TValue::vkIdent && value.kind != TValue::vkNumber)
                || !IdentToColor(QString::fromLatin1(value.text), color))
                return bad("a valid colour");
            return QVariant::fromValue(color);
        }
        case TKind::Enum: {
            if (value.kind == TValue::vkIdent) {
                const int member = FindMember(property.enumerator(), value.text);
                if (member < 0)
                    Fail(value.line, QStringLiteral("unknown value '%1' for %2").arg(Name(value.text), where));
                return EnumVariant(property.metaType(), property.enumerator().value(member));
            }
            [[fallthrough]];
        }
        case TKind::RawEnum: {
            bool ok = false;
            const qint64 number = value.kind == TValue::vkNumber ? value.text.toLongLong(&ok) : 0;
            if (!ok)
                return bad("a valid value");
            return EnumVariant(property.metaType(), number);
        }
        case TKind::Flags: {
            if (value.kind != TValue::vkSet)
                return bad("a set [...]");
            const QMetaEnum meta = property.enumerator();
            quint64 bits = 0;
            for (const QByteArray& name : value.set) {
                const int member = FindMember(meta, name);
                if (member < 0)
                    Fail(value.line, QStringLiteral("unknown value '%1' for %2").arg(Name(name), where));
                bits |= quint32(meta.value(member));
            }
            return EnumVariant(property.metaType(), qint64(bits));
        }
        default:
            Fail(value.line, QStringLiteral("%1 has a type the stream cannot read").arg(where));
        }
    }

    template <class BadFn>
    static QVariant ConvertInteger(QMetaType type, const TValue& value, BadFn bad)
    {
        if (value.kind != TValue::vkNumber)
            bad();
        const QByteArray& text = value.text;
        bool ok = false;
        const bool negative = text.startsWith('-');
        const QByteArray digits = negative ? text.mid(1) : text;
        quint64 magnitude = digits.startsWith('$') ? digits.mid(1).toULongLong(&ok, 16) : digits.toULongLong(&ok, 10);
        if (!ok)
            bad();
        auto fits = [&](qint64 low, quint64 high) {
            return negative ? magnitude <= quint64(-(low + 1)) + 1 : magnitude <= high;
        };
        auto make = [&](auto sample) {
            using T = decltype(sample);
            if (!fits(qint64(std::numeric_limits<T>::min()), quint64(std::numeric_limits<T>::max())))
                bad();
            const T number = negative ? T(-qint64(magnitude - 1) - 1) : T(magnitude);
            return QVariant::fromValue(number);
        };
        switch (type.id()) {
        case QMetaType::Int: return make(int());
        case QMetaType::UInt: return make(uint());
        case QMetaType::Long: return make(long());
        case QMetaType::ULong: return make(ulong());
        case QMetaType::LongLong: return make(qlonglong());
        case QMetaType::ULongLong: return make(qulonglong());
        case QMetaType::Short: return make(short());
        case QMetaType::UShort: return make(ushort());
        case QMetaType::SChar: return make((signed char)0);
        case QMetaType::UChar: return make(uchar());
        default: bad();
        }
        return {};
    }

    static int FindMember(const QMetaEnum& meta, const QByteArray& name)
    {
        for (int i = 0; i < meta.keyCount(); ++i) {
            const char* key = meta.key(i);
            if (qstrlen(key) == size_t(name.size()) && Ansi::SameTextAscii(key, name.constData(), int(name.size())))
                return i;
        }
        return -1;
    }

    const TReferenceResolver& m_resolver;
};

bool InheritsClassNamed(const QMetaObject* meta, const QByteArray& name)
{
    for (; meta; meta = meta->superClass()) {
        if (name.compare(meta->className(), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// Reads node into object; a TComponent is loading meanwhile, also when a
// property fails.
void Load(QObject& object, const TObjectNode& node, const TReferenceResolver& resolver)
{
    auto* component = qobject_cast<TComponent*>(&object);
    struct TLoading {
        TComponent* component;
        ~TLoading()
        {
            if (component)
                component->EndLoading();
        }
    } loading{component};
    if (component)
        component->BeginLoading();
    if (!node.name.isEmpty())
        object.setObjectName(node.name);
    TApplier(resolver).ApplyProperties(object, node.properties);
}

} // namespace

bool ReadComponent(const QByteArray& text, QObject& target, QString* error, const TReferenceResolver& resolver)
{
    try {
        const TObjectNode node = TParser(text).ParseObject();
        const QMetaObject* meta = target.metaObject();
        if (!InheritsClassNamed(meta, node.className))
            throw TStreamError{node.classLine, QStringLiteral("the text holds a %1, not a %2")
                                                   .arg(Name(node.className), QLatin1String(meta->className()))};
        // Every value is first tried on a fresh instance, so that a fault
        // found late leaves the target untouched.
        std::unique_ptr<QObject> trial(meta->newInstance());
        if (!trial)
            throw TStreamError{node.classLine, QStringLiteral("a %1 cannot be created to read into")
                                                   .arg(QLatin1String(meta->className()))};
        Load(*trial, node, resolver);
        trial.reset();
        Load(target, node, resolver);
        return true;
    } catch (const TStreamError& fault) {
        if (error)
            *error = QStringLiteral("Line %1: %2").arg(fault.line).arg(fault.message);
        return false;
    }
}
