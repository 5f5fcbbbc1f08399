#pragma once

#include <QString>

// The status words the lists store ("Queued", "Wait 30 Seconds", ...) stay
// English, because the program compares them; the grids show them in the
// user's language (context "Status" in the translations).
namespace StatusText {

// `stored` in the user's language when it is one of the status words;
// anything else (a percentage, "??") as it is.
QString Shown(const QString &stored);

} // namespace StatusText
