#pragma once

#include <QString>
#include <QStringList>

// Where a line of a tool's output points into a source file: a compiler's
// message ("Hello.java:12: error: ...", also the launcher's when it
// compiles a source itself) or a frame of a stack trace
// ("at pkg.Good.main(Good.java:12)", module and loader prefixes allowed).
//
// A message names its file (relative to the folder the tool ran in), so it
// is a link whatever is on disk; opening says so when the file has gone. A
// frame names only the class and the file's name, so it is a link only when
// that file is found: under a class root in the package's folders, or
// beside the run. Frames of the platform's own classes so stay plain text.
namespace OutputLinks {

struct TLocation {
    QString path; // with folder, cleaned
    int line = 0; // counted from 1
};

// The location line points to; false for any other line. folder: where the
// tool ran; roots: the class roots a frame's package folders start in.
bool Find(const QString& line, const QString& folder, const QStringList& roots, TLocation& location);

} // namespace OutputLinks
