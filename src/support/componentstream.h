#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QMetaObject;
class QObject;

// The component text stream: components are persisted as the text form of
// their published property values, read and written through the meta-object
// system.
//
//   object TarnelParser: TSyntaxParser
//     SyntaxScheme.Name = 'Java'
//     SyntaxScheme.SyntaxBlocks = <
//       item
//         Name = 'Default'
//         ID = 0
//       end>
//     DefaultAttr.Font.Height = -13
//   end
//
// What a stored class declares:
// - Every stored property is a Q_PROPERTY; they are written in declaration
//   order, base class first. QObject's own objectName is never written: a
//   component's name is the name on its object line.
// - A property pointing to a TCollection descendant is a collection. The
//   reader clears it and adds its items with TCollection::Add(). A property
//   pointing to a QObject whose parent is the property's owner is a nested
//   object, written dotted ("SyntaxScheme.Name"). A pointer to an object the
//   owner does not own is a reference, written as that object's name and read
//   back through a TReferenceResolver. A Q_GADGET value (TFont) is written
//   dotted like a nested object.
// - "STORED false" properties are never written. A property stored only
//   under a condition declares the condition as an invokable method named
//   Is<Property>Stored, because moc accepts only true or false after STORED:
//       Q_INVOKABLE bool IsMetaSymbolStored() const;
//   The writer skips the property while it returns false.
// - A property whose value equals that of a fresh instance of its class is
//   not written, so every stored class has a Q_INVOKABLE constructor callable
//   without arguments (a fresh collection item is created outside any
//   collection). "USER true" marks a property that is written even then.
//
// Values: integers in decimal; True / False; enumeration members by name;
// sets as [fsBold, fsItalic]; colours by identifier (clWindow) when they have
// one, else in decimal; strings in single quotes with a doubled quote inside
// and #nn for control characters and characters above 126 (#nn up to 255 is
// a Windows-1252 byte, above it a Unicode code point); a char as a
// one-character string; QByteArray as {hex}; collections as
// < item ... end item ... end>; a reference as a name, or nil.

// Finds the object a reference property names while a stream is read;
// nullptr when there is none. type is the class the property points to.
using TReferenceResolver = std::function<QObject*(const QString& name, const QMetaObject& type)>;

// The text form of object and of every stored property below it.
QByteArray WriteComponent(const QObject& object);

// Reads text into target. On any error returns false with a message naming
// the line ("Line 12: unknown property 'Foo' of TSyntaxBlock") and leaves
// target as it was: the text is first parsed and tried on a fresh instance
// of the target's class, and only then applied to target. Properties the
// text does not mention keep their values. A TComponent target is loading
// (BeginLoading / EndLoading, which runs its Loaded) while its properties
// are set. Without a resolver, a reference to a non-empty name is an error.
bool ReadComponent(const QByteArray& text, QObject& target, QString* error = nullptr,
                   const TReferenceResolver& resolver = {});
