#pragma once

#include <QString>
#include <QStringList>

class TMemoEnvOptions;

// The colour sets that "Color SpeedSetting" of the options dialog offers.
// A set gives, at once, the editor's colour and text colour, the gutter,
// margin and read-only colours, and the colours of every text style: the
// default table of styles recoloured through the set's palette, so that
// styles added to that table later get a colour of the set too. Font names, sizes and styles stay as they are.
namespace ColorSpeedSettings {

inline const QString kDefault = QStringLiteral("Default");
inline const QString kDark = QStringLiteral("Dark");
inline const QString kHighContrast = QStringLiteral("High contrast");

// The sets, in the order they are offered.
QStringList Names();

// Applies the set named name (compared without regard to case) to options
// as one change and records it as their ColorSchema. False, changing
// nothing, for a name that is none of the sets.
bool Apply(const QString& name, TMemoEnvOptions& options);

} // namespace ColorSpeedSettings
