#pragma once

#include <QByteArray>
#include <QString>

// Templates are plain text files "*.tpl" in the "Templates" folder of the
// program directory. A new document is filled from one; a document can be
// saved as one.
namespace TemplateFiles {

// The folder, with a trailing separator, of a program directory given with one.
QString Folder(const QString& programDir);
// The template the HTML Template command opens.
QString HtmlTemplate(const QString& programDir);

// A template's text as lines, each ending in CR LF (a last line without a
// line end gets one), ready to be inserted at a caret. False, with the
// standard file error in error, when the file is missing, a folder or
// cannot be read.
bool Read(const QString& path, QByteArray& text, QString& error);

} // namespace TemplateFiles
