#include "componentstream.h"

#include "ansi.h"
#include "collection.h"
#include "color.h"
#include "streamprops.h"

#include <QLocale>
#include <QMetaEnum>
#include <QObject>

#include <climits>
#include <map>
#include <memory>
#include <optional>

using namespace StreamProps;

namespace {

// Hex digits per line of a long {hex} value.
constexpr int kHexPerLine = 64;

QByteArray Indent(int level)
{
    return QByteArray(2 * level, ' ');
}

QByteArray EnumText(const QMetaProperty& property, const QVariant& value)
{
    const qint64 number = EnumValue(value);
    const QMetaEnum meta = property.enumerator();
    for (int i = 0; i < meta.keyCount(); ++i) {
        if (meta.value(i) == number)
            return meta.key(i);
    }
    return QByteArray::number(number);
}

QByteArray FlagsText(const QMetaProperty& property, const QVariant& value)
{
    const quint64 bits = quint64(EnumValue(value));
    const QMetaEnum meta = property.enumerator();
    QByteArray text = "[";
    for (int i = 0; i < meta.keyCount(); ++i) {
        const quint64 member = quint64(quint32(meta.value(i)));
        // Only single-bit members name set elements; combinations would
        // repeat them.
        if (member == 0 || (member & (member - 1)) != 0 || !(bits & member))
            continue;
        if (text.size() > 1)
            text += ", ";
        text += meta.key(i);
    }
    return text + ']';
}

QByteArray ColorText(const QVariant& value)
{
    const TColor color = value.value<TColor>();
    const QString ident = ColorToIdent(color);
    return ident.isEmpty() ? QByteArray::number(color.value) : ident.toLatin1();
}

class TWriter {
public:
    QByteArray Write(const QObject& object)
    {
        // A name the reader could not take back (a space, a dot) is left
        // out rather than making the whole text unreadable.
        const QByteArray name = object.objectName().toUtf8();
        m_out += "object ";
        if (IsIdentifier(name) && !name.contains('.'))
            m_out += name + ": ";
        m_out += QByteArray(object.metaObject()->className()) + '\n';
        WriteProperties(object, Fresh(*object.metaObject()), {}, 1);
        m_out += "end\n";
        return m_out;
    }

private:
    // A fresh instance of a class, the source of its default values; null
    // when the class has no invokable constructor (then everything is
    // written).
    const QObject* Fresh(const QMetaObject& meta)
    {
        auto it = m_fresh.find(&meta);
        if (it == m_fresh.end())
            it = m_fresh.emplace(&meta, std::unique_ptr<QObject>(meta.newInstance())).first;
        return it->second.get();
    }

    // One scalar value as text; nothing for types the stream cannot hold.
    // Long strings come in several pieces.
    static std::optional<std::vector<QByteArray>> ValueText(const QMetaProperty& property, const QVariant& value)
    {
        switch (KindOf(property)) {
        case TKind::Bool:
            return {{value.toBool() ? "True" : "False"}};
        case TKind::Integer:
            if (value.metaType().id() == QMetaType::ULongLong || value.metaType().id() == QMetaType::ULong)
                return {{QByteArray::number(value.toULongLong())}};
            return {{QByteArray::number(value.toLongLong())}};
        case TKind::Float:
            return {{QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest)}};
        case TKind::Char:
            return QuoteString(QString(QChar(Ansi::ToUnicode(uchar(value.value<char>())))));
        case TKind::String:
            return QuoteString(value.toString());
        case TKind::Bytes:
            return {{'{' + HexOf(value.toByteArray()) + '}'}};
        case TKind::Color:
            return {{ColorText(value)}};
        case TKind::Enum:
            return {{EnumText(property, value)}};
        case TKind::Flags:
            return {{FlagsText(property, value)}};
        case TKind::RawEnum:
            return {{QByteArray::number(EnumValue(value))}};
        default:
            return std::nullopt;
        }
    }

    void WriteLine(int level, const QByteArray& name, const std::vector<QByteArray>& value)
    {
        m_out += Indent(level) + name + " =";
        if (value.size() == 1 && !(value[0].startsWith('{') && value[0].size() > kHexPerLine + 2)) {
            m_out += ' ' + value[0] + '\n';
            return;
        }
        if (value.size() == 1) {
            // A long {hex} value: the digits on lines of their own.
            const QByteArray digits = value[0].mid(1, value[0].size() - 2);
            m_out += " {";
            for (qsizetype at = 0; at < digits.size(); at += kHexPerLine)
                m_out += '\n' + Indent(level + 1) + digits.mid(at, kHexPerLine);
            m_out += "}\n";
            return;
        }
        for (size_t i = 0; i < value.size(); ++i)
            m_out += '\n' + Indent(level + 1) + value[i] + (i + 1 < value.size() ? " +" : "");
        m_out += '\n';
    }

    void WriteProperties(const QObject& object, const QObject* fresh, const QByteArray& prefix, int level)
    {
        const QMetaObject* meta = object.metaObject();
        for (int i = FirstStoredProperty(*meta); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            if (!IsStored(object, property))
                continue;
            const QByteArray name = prefix + property.name();
            const bool always = property.isUser();
            switch (KindOf(property)) {
            case TKind::Collection:
                WriteCollection(object, fresh, property, name, level, always);
                break;
            case TKind::Object:
                WriteObjectProperty(object, fresh, property, name, level, always);
                break;
            case TKind::Gadget:
                WriteGadget(property.metaType(), property.read(&object),
                            fresh ? property.read(fresh) : QVariant(), name + '.', level, always);
                break;
            default: {
                const auto text = ValueText(property, property.read(&object));
                if (!text)
                    break;
                if (!always && fresh && ValueText(property, property.read(fresh)) == text)
                    break;
                WriteLine(level, name, *text);
            }
            }
        }
    }

    void WriteGadget(QMetaType type, const QVariant& value, const QVariant& fresh, const QByteArray& prefix,
                     int level, bool always)
    {
        const QMetaObject* meta = type.metaObject();
        const bool haveFresh = fresh.isValid() && fresh.metaType() == type;
        for (int i = 0; i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            if (!property.isStored())
                continue;
            const QVariant sub = property.readOnGadget(value.constData());
            const QVariant freshSub = haveFresh ? property.readOnGadget(fresh.constData()) : QVariant();
            if (KindOf(property) == TKind::Gadget) {
                WriteGadget(property.metaType(), sub, freshSub, prefix + property.name() + '.', level, always);
                continue;
            }
            const auto text = ValueText(property, sub);
            if (!text || (!always && haveFresh && ValueText(property, freshSub) == text))
                continue;
            WriteLine(level, prefix + property.name(), *text);
        }
    }

    void WriteObjectProperty(const QObject& object, const QObject* fresh, const QMetaProperty& property,
                             const QByteArray& name, int level, bool always)
    {
        QObject* value = ReadPointer(object, property);
        if (value && value->parent() == &object) {
            QObject* freshValue = fresh ? ReadPointer(*fresh, property) : nullptr;
            if (freshValue && freshValue->parent() != fresh)
                freshValue = nullptr;
            WriteProperties(*value, freshValue ? freshValue : Fresh(*value->metaObject()), name + '.', level);
            return;
        }
        const QByteArray text = ReferenceText(value);
        if (!always && fresh) {
            QObject* freshValue = ReadPointer(*fresh, property);
            if ((!freshValue || freshValue->parent() != fresh) && ReferenceText(freshValue) == text)
                return;
        }
        WriteLine(level, name, {text});
    }

    static QByteArray ReferenceText(const QObject* value)
    {
        const QByteArray name = value ? value->objectName().toUtf8() : QByteArray();
        if (name.isEmpty() || name.compare("nil", Qt::CaseInsensitive) == 0)
            return "nil";
        if (IsIdentifier(name))
            return name;
        return QuoteString(value->objectName(), INT_MAX).front();
    }

    void WriteCollection(const QObject& object, const QObject* fresh, const QMetaProperty& property,
                         const QByteArray& name, int level, bool always)
    {
        auto* collection = qobject_cast<TCollection*>(ReadPointer(object, property));
        if (!collection)
            return;
        const QByteArray items = ItemsText(*collection, level + 1);
        if (!always && fresh) {
            auto* freshCollection = qobject_cast<TCollection*>(ReadPointer(*fresh, property));
            if (freshCollection && ItemsText(*freshCollection, level + 1) == items)
                return;
        }
        m_out += Indent(level) + name + " = <" + items + ">\n";
    }

    // The items of a collection, each "item" ... "end" on lines of their own;
    // the closing "end" is left open for the ">" that follows it.
    QByteArray ItemsText(const TCollection& collection, int level)
    {
        QByteArray saved;
        saved.swap(m_out);
        for (int i = 0; i < collection.Count(); ++i) {
            const TCollectionItem* item = collection.Item(i);
            m_out += '\n' + Indent(level) + "item\n";
            WriteProperties(*item, Fresh(*item->metaObject()), {}, level + 1);
            m_out += Indent(level) + "end";
        }
        saved.swap(m_out);
        return saved;
    }

    QByteArray m_out;
    std::map<const QMetaObject*, std::unique_ptr<QObject>> m_fresh;
};

} // namespace

QByteArray WriteComponent(const QObject& object)
{
    return TWriter().Write(object);
}
