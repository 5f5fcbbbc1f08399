#pragma once

#include <QVariant>

#include <optional>

// How a download's status cell reads as a progress bar. While a transfer runs the
// cell holds a number of percent; any other time it holds a word.
namespace ProgressRules {

// The whole percentage a numeric status shows: rounded half to even, then held
// within 0..100. Empty for a word (or anything else that is not a number).
std::optional<int> Percent(const QVariant &status);

// The filled width of a bar `width` pixels wide at `percent`, to the nearest pixel.
int BarWidth(int percent, int width);

} // namespace ProgressRules
