#pragma once

#include <QByteArray>
#include <QMetaProperty>
#include <QString>
#include <QVariant>

#include <vector>

class QObject;

// What the component stream's reader and writer share: how a property is
// classified, how enumeration values are taken out of and put into a
// QVariant whatever their size, and the quoted-string form of text.
namespace StreamProps {

enum class TKind {
    Unsupported,
    Bool,
    Integer,   // any built-in integer type but char
    Float,
    Char,      // one character, written as a one-character string
    String,
    Bytes,     // QByteArray, written as {hex}
    Color,
    Enum,      // an enumeration with known members
    Flags,     // a set of flags with known members
    RawEnum,   // an enumeration moc knows no members of: written as a number
    Gadget,    // a Q_GADGET value, written dotted
    Collection,
    Object,    // a pointer to a QObject: nested when owned, else a reference
};

TKind KindOf(const QMetaProperty& property);

// The first published property after QObject's own ones (objectName).
int FirstStoredProperty(const QMetaObject& meta);

// The property named name: exact spelling first, then without regard to
// ASCII case. Invalid when there is none (QObject's own never match).
QMetaProperty FindProperty(const QMetaObject& meta, const QByteArray& name, bool gadget);

// Whether the writer writes the property now: STORED true and, when the
// class declares Is<Name>Stored(), that method's answer.
bool IsStored(const QObject& object, const QMetaProperty& property);

// The QObject a pointer property holds (null when none).
QObject* ReadPointer(const QObject& object, const QMetaProperty& property);
// A QVariant of the property's pointer type holding object.
QVariant PointerVariant(QMetaType type, QObject* object);

// Enumerations and flags of any underlying size, as a 64-bit integer.
qint64 EnumValue(const QVariant& value);
QVariant EnumVariant(QMetaType type, qint64 value);

// Quoted form: printable ASCII in single quotes (a quote doubled), other
// characters as #nn, the Windows-1252 byte when it has one, else the
// Unicode code point. The text comes back in pieces of about maxPiece
// characters, each a complete string expression, to be joined with " + ".
std::vector<QByteArray> QuoteString(const QString& text, int maxPiece = 64);

// Upper-case hex digits of bytes.
QByteArray HexOf(const QByteArray& bytes);

bool IsIdentifier(const QByteArray& text);

} // namespace StreamProps
