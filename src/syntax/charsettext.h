#pragma once

#include "charset.h"

#include <QByteArray>

// The compact text form of a character set, as blocks store their identifier
// characters: runs of consecutive members as "first-last", a single member as
// itself, a backslash or minus sign that starts a run escaped by a backslash.
// The set '0'..'9', 'A'..'Z', '_', 'a'..'z' reads "0-9A-Z_a-z".
namespace CharSetText {

QByteArray Write(const TCharSet& set);
// Never fails: a backslash takes the next character as a member, a minus
// sign adds the range from the previous member to the next character (none
// when that is below it); anything else is a member.
TCharSet Read(const QByteArray& text);

} // namespace CharSetText
