#pragma once

#include <QString>
#include <QStringList>

// Files that ship with the program (the empty list, the wait animation). An
// installation keeps them in `<prefix>/share/tidefetch/` beside `<prefix>/bin/`.
namespace ShippedFiles {

// Where the shipped file `name` may be, in the order tried: the share folder of
// the installation that holds `programDir`, then `tidefetch/<name>` under the
// user's and the system's data folders.
QStringList Candidates(const QString &programDir, const QString &name);

// The first candidate that is a file, or an empty text.
QString Locate(const QString &programDir, const QString &name);

} // namespace ShippedFiles
