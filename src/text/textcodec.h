#pragma once

#include "memotypes.h"

#include <QByteArray>
#include <QString>

// Text crosses the store's edge here: whatever comes in as Unicode (typed,
// pasted, found, inserted from a snippet) becomes the bytes of the
// document's encoding, and whatever goes out (clipboard, hints, addresses,
// exports) is read from them. The store itself only ever holds bytes.
//
// Reading never fails: in UTF-8 every byte that is not part of a valid
// sequence reads as one U+FFFD, so that characters and bytes stay in step
// with the editor's positions. Writing reports the first character the
// encoding cannot hold, so that a caller can refuse rather than damage.
namespace TextCodec {

QString Decode(const char* data, qsizetype length, TTextEncoding encoding);
QString Decode(const QByteArray& bytes, TTextEncoding encoding);

// The bytes of text in the encoding. A character the encoding cannot hold
// is written as '?'; the index of the first one goes to unrepresentable
// (-1 when every character fits).
QByteArray Encode(const QString& text, TTextEncoding encoding, qsizetype* unrepresentable = nullptr);

// How the status bar and the menus name an encoding.
QString Name(TTextEncoding encoding);

} // namespace TextCodec
