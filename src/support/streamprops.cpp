#include "streamprops.h"

#include "ansi.h"
#include "collection.h"
#include "color.h"

#include <QMetaMethod>
#include <QObject>

#include <cstring>

namespace StreamProps {

TKind KindOf(const QMetaProperty& property)
{
    const QMetaType type = property.metaType();
    if (type == QMetaType::fromType<TColor>())
        return TKind::Color;
    if (property.isEnumType())
        return property.isFlagType() ? TKind::Flags : TKind::Enum;
    const QMetaType::TypeFlags flags = type.flags();
    if (flags & QMetaType::IsEnumeration)
        return TKind::RawEnum;
    if (flags & QMetaType::PointerToQObject) {
        const QMetaObject* pointee = type.metaObject();
        if (pointee && pointee->inherits(&TCollection::staticMetaObject))
            return TKind::Collection;
        return TKind::Object;
    }
    if ((flags & QMetaType::IsGadget) && type.metaObject())
        return TKind::Gadget;
    switch (type.id()) {
    case QMetaType::Bool:
        return TKind::Bool;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return TKind::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return TKind::Float;
    case QMetaType::Char:
        return TKind::Char;
    case QMetaType::QString:
        return TKind::String;
    case QMetaType::QByteArray:
        return TKind::Bytes;
    default:
        return TKind::Unsupported;
    }
}

int FirstStoredProperty(const QMetaObject& meta)
{
    return meta.inherits(&QObject::staticMetaObject) ? QObject::staticMetaObject.propertyCount() : 0;
}

QMetaProperty FindProperty(const QMetaObject& meta, const QByteArray& name, bool gadget)
{
    const int first = gadget ? 0 : FirstStoredProperty(meta);
    int index = meta.indexOfProperty(name.constData());
    if (index >= first)
        return meta.property(index);
    for (int i = first; i < meta.propertyCount(); ++i) {
        QMetaProperty property = meta.property(i);
        const char* candidate = property.name();
        if (qstrlen(candidate) == size_t(name.size())
            && Ansi::SameTextAscii(candidate, name.constData(), int(name.size())))
            return property;
    }
    return {};
}

bool IsStored(const QObject& object, const QMetaProperty& property)
{
    if (!property.isStored())
        return false;
    const QMetaObject* meta = object.metaObject();
    const QByteArray signature = "Is" + QByteArray(property.name()) + "Stored()";
    const int index = meta->indexOfMethod(signature.constData());
    if (index < 0)
        return true;
    QMetaMethod method = meta->method(index);
    if (method.returnMetaType() != QMetaType::fromType<bool>())
        return true;
    bool stored = true;
    method.invoke(const_cast<QObject*>(&object), Qt::DirectConnection, Q_RETURN_ARG(bool, stored));
    return stored;
}

QObject* ReadPointer(const QObject& object, const QMetaProperty& property)
{
    const QVariant value = property.read(&object);
    if (!value.isValid() || !(value.metaType().flags() & QMetaType::PointerToQObject))
        return nullptr;
    QObject* pointer = nullptr;
    std::memcpy(&pointer, value.constData(), sizeof pointer);
    return pointer;
}

QVariant PointerVariant(QMetaType type, QObject* object)
{
    // Qt requires QObject to be the first base of every QObject class, so the
    // address of the QObject part is the address of the object itself.
    return QVariant(type, &object);
}

qint64 EnumValue(const QVariant& value)
{
    const QMetaType type = value.metaType();
    const bool isUnsigned = type.flags() & QMetaType::IsUnsignedEnumeration;
    const void* data = value.constData();
    switch (type.sizeOf()) {
    case 1: {
        quint8 v;
        std::memcpy(&v, data, 1);
        return isUnsigned ? qint64(v) : qint64(qint8(v));
    }
    case 2: {
        quint16 v;
        std::memcpy(&v, data, 2);
        return isUnsigned ? qint64(v) : qint64(qint16(v));
    }
    case 4: {
        quint32 v;
        std::memcpy(&v, data, 4);
        return isUnsigned ? qint64(v) : qint64(qint32(v));
    }
    case 8: {
        qint64 v;
        std::memcpy(&v, data, 8);
        return v;
    }
    default:
        return 0;
    }
}

QVariant EnumVariant(QMetaType type, qint64 value)
{
    QVariant result(type, nullptr);
    void* data = result.data();
    switch (type.sizeOf()) {
    case 1: {
        quint8 v = quint8(value);
        std::memcpy(data, &v, 1);
        break;
    }
    case 2: {
        quint16 v = quint16(value);
        std::memcpy(data, &v, 2);
        break;
    }
    case 4: {
        quint32 v = quint32(value);
        std::memcpy(data, &v, 4);
        break;
    }
    case 8:
        std::memcpy(data, &value, 8);
        break;
    default:
        break;
    }
    return result;
}

std::vector<QByteArray> QuoteString(const QString& text, int maxPiece)
{
    std::vector<QByteArray> pieces;
    QByteArray piece;
    bool quoted = false;
    auto closeQuote = [&] {
        if (quoted) {
            piece += '\'';
            quoted = false;
        }
    };
    const char16_t* data = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        char32_t ch = data[i];
        if (QChar::isHighSurrogate(ch) && i + 1 < length && QChar::isLowSurrogate(data[i + 1]))
            ch = QChar::surrogateToUcs4(char16_t(ch), data[++i]);
        if (piece.size() >= maxPiece) {
            closeQuote();
            pieces.push_back(piece);
            piece.clear();
        }
        if (ch >= 32 && ch <= 126) {
            if (!quoted) {
                piece += '\'';
                quoted = true;
            }
            piece += char(ch);
            if (ch == '\'')
                piece += '\'';
            continue;
        }
        closeQuote();
        uchar byte = 0;
        piece += '#';
        if (ch <= 0xFFFF && Ansi::FromUnicode(ch, byte))
            piece += QByteArray::number(byte);
        else
            piece += QByteArray::number(quint32(ch));
    }
    closeQuote();
    if (piece.isEmpty() && pieces.empty())
        piece = "''";
    if (!piece.isEmpty())
        pieces.push_back(piece);
    return pieces;
}

QByteArray HexOf(const QByteArray& bytes)
{
    return bytes.toHex().toUpper();
}

bool IsIdentifier(const QByteArray& text)
{
    if (text.isEmpty())
        return false;
    bool segmentStart = true;
    for (char c : text) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        const bool digit = c >= '0' && c <= '9';
        if (c == '.') {
            if (segmentStart)
                return false;
            segmentStart = true;
            continue;
        }
        if (segmentStart ? !letter : !(letter || digit))
            return false;
        segmentStart = false;
    }
    return !segmentStart;
}

} // namespace StreamProps
