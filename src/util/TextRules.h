#pragma once

#include <QString>

// Text rules shared by the readers of links, replies and pages.
namespace TextRules {

// Removes the space character (only that) from both ends.
QString TrimBlanks(const QString &text);

} // namespace TextRules
