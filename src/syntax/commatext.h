#pragma once

#include <QByteArray>
#include <QList>

// Comma text: items separated by commas and/or characters 1..32; an item may
// be enclosed in double quotes, a doubled quote inside standing for one.
// "abstract,boolean" and "\"abstract\",\"boolean\"" are the same list.
namespace CommaText {

QList<QByteArray> Split(const QByteArray& text);

} // namespace CommaText
