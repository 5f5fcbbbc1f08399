#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The direct-link block of a details page: the text strictly between the end of
// the first "<pre" tag after "Direct links:" and the next "<", unchanged.
// Nothing when the page has no such block (no marker, no "<pre", or a pre tag
// without its ">" or without a "<" after its content).
std::optional<QString> CutDirectLinks(QStringView page);
