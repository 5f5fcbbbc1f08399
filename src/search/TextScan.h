#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringView>

#include <optional>

// Plain text scanning over fetched pages. Markers are ASCII and are compared
// without regard to letter case; positions are 0-based indexes into the text.
namespace TextScan {

// Start of the first occurrence of `marker` at or after `from`; -1 when there is none.
qsizetype Find(QStringView text, QLatin1String marker, qsizetype from);

// The first occurrence of either marker at or after `from`: its start and
// whether it is `second`; start -1 when there is none. One pass over the text.
struct Either {
    qsizetype position = -1;
    bool second = false;
};
Either FindEither(QStringView text, QLatin1String first, QLatin1String second, qsizetype from);

// Start of the last occurrence of `marker` lying wholly before `end`; -1 when there is none.
qsizetype FindBack(QStringView text, QLatin1String marker, qsizetype end);

// The text from `from` up to `end` (exclusive). Nothing when `end` lies before
// `from`: an end marker closer than its fixed offset reads as a missing one.
std::optional<QStringView> Cut(QStringView text, qsizetype from, qsizetype end);

// Removes leading and trailing space characters only (tabs and line breaks stay).
QString TrimBlanks(QStringView text);

// Removes every "<b>", then every "</b>", without regard to letter case.
QString Unbold(QString text);

} // namespace TextScan
