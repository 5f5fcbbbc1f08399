#pragma once

#include <QString>

// Display texts for byte counts, durations and the numbers written into rows.
namespace Formatting {

// "1023 Bytes", "1.5 KB", "1.25 MB", "2 GB": two decimals, ties to even, shortest form.
QString FormatFileSize(qint64 size);

// "00:00:05", "01:59:30", "100:00:00"; empty text for a value that is not a number.
QString FormatDuration(double seconds);

// The shortest decimal text of a value with up to 15 significant digits and the
// user's decimal separator: 37.5, 1.1, 0, -1.
QString NumberText(double value);

// Parses what NumberText wrote; false when the text is not such a number.
bool ParseNumberText(const QString &text, double *value);

// Rounds to the given number of decimals, halves to the even neighbour.
double RoundHalfEven(double value, int decimals);

} // namespace Formatting
