#pragma once

#include <QIcon>
#include <QString>

// The pictures of the main window's buttons, drawn in code at 16 by 16
// pixels, by button name ("cmdSave", "cmdHTMLBold"...). An unknown name
// gets an empty picture.
namespace BarImages {

QIcon Icon(const QString& name);

} // namespace BarImages
